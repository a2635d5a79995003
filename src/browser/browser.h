#pragma once

#include "core/domtree.h"
#include "core/status.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace orvix {

// Every browser operation and event the program uses, so features can run on the real engine or
// on a recording fake.
class Browser : public QObject {
    Q_OBJECT
public:
    enum NavigateFlag { NoReadFromCache = 4, NoWriteToCache = 8 };

    using DocumentCallback = std::function<void(std::shared_ptr<const DomTree>)>;
    // Returns the browser that receives a page opening in a new window, or nullptr to let the
    // engine open a window of its own.
    using NewWindowHandler = std::function<Browser*()>;

    using QObject::QObject;

    // A plain GET of an absolute address.
    virtual void Navigate(const QString& address) = 0;
    // Loads a relative address into a named frame of the page, resolved against that frame's own
    // page; flags 12 bypass the cache.
    virtual void Navigate(const QString& address, int flags, const QString& frame) = 0;
    // Posts the body's exact bytes to an absolute address, into a named frame or, with no frame,
    // the whole browser.
    virtual void Navigate2(const QString& address, const QString& frame,
                           const QByteArray& postData) = 0;

    virtual Status GoBack() = 0;
    virtual Status GoForward() = 0;
    virtual Status Stop() = 0;

    // The top-level page's address.
    virtual QString LocationURL() const = 0;
    // The current document, or nullptr when there is none; delivered once it has been read.
    virtual void Document(DocumentCallback done) = 0;
    // Runs `then` once every frame load and post handed over so far has been answered (or after
    // a time-out), for work that must see their effect at the server.
    virtual void WhenFrameLoadsDone(std::function<void()> then) = 0;

    void setNewWindowHandler(NewWindowHandler handler) { m_newWindow = std::move(handler); }

    // The compatibility level of the page text form that this browser's captures produce.
    virtual QString EngineVersion() const = 0;

signals:
    void NewWindow2(const QString& address);
    void BeforeNavigate2(const QString& address);
    void StatusTextChange(const QString& text);
    void NavigateComplete2(const QString& address);
    void DocumentComplete(const QString& address);
    void DownloadComplete();

protected:
    Browser* newWindowTarget() const { return m_newWindow ? m_newWindow() : nullptr; }

private:
    NewWindowHandler m_newWindow;
};

} // namespace orvix
