#pragma once

#include "browser/browser.h"

#include <QList>

namespace orvix {

// Records every request handed to it, in order; tests drive its events by hand.
class FakeBrowser final : public Browser {
    Q_OBJECT
public:
    struct Request {
        enum class Kind { Navigate, NavigateInFrame, Post };
        Kind kind;
        QString address;
        QString frame;
        int flags = 0;
        QByteArray body;
        bool operator==(const Request&) const = default;
    };

    using Browser::Browser;

    void Navigate(const QString& address) override;
    void Navigate(const QString& address, int flags, const QString& frame) override;
    void Navigate2(const QString& address, const QString& frame,
                   const QByteArray& postData) override;
    Status GoBack() override;
    Status GoForward() override;
    Status Stop() override;
    QString LocationURL() const override { return location; }
    void Document(DocumentCallback done) override { done(document); }
    void WhenFrameLoadsDone(std::function<void()> then) override { then(); }
    QString EngineVersion() const override { return engineVersion; }

    // What a new-window request of the page would be handed to.
    Browser* requestNewWindow(const QString& address);

    QList<Request> requests;
    QString location;
    std::shared_ptr<const DomTree> document;
    QString engineVersion = QStringLiteral("6.0");
    bool canGoBack = false, canGoForward = false, loading = false;
};

} // namespace orvix
