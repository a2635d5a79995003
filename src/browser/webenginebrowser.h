#pragma once

#include "browser/browser.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QWebEngineView>

class QWebEnginePage;
class QWebEngineProfile;
class QWidget;

namespace orvix {

class GamePage;

// The browser on Qt WebEngine. A visible browser owns a view; a hidden one only a page, made on
// first use, so browsers that may never load anything cost nothing.
class WebEngineBrowser final : public Browser {
    Q_OBJECT
public:
    enum class Visibility { Shown, Hidden };

    WebEngineBrowser(QWebEngineProfile* profile, Visibility visibility, QObject* parent = nullptr);
    ~WebEngineBrowser() override;

    // The view to put into a layout; nullptr for a hidden browser.
    QWebEngineView* view() const { return m_view; }
    QWebEnginePage* page();

    void Navigate(const QString& address) override;
    void Navigate(const QString& address, int flags, const QString& frame) override;
    void Navigate2(const QString& address, const QString& frame,
                   const QByteArray& postData) override;
    Status GoBack() override;
    Status GoForward() override;
    Status Stop() override;
    QString LocationURL() const override;
    void Document(DocumentCallback done) override;
    void WhenFrameLoadsDone(std::function<void()> then) override;
    QString EngineVersion() const override { return QStringLiteral("6.0"); }

private:
    friend class GamePage;
    void loadInFrame(const QString& frame, const QString& address, const QByteArray* body);
    void pollFrameLoads(std::function<void()> then, QDeadlineTimer deadline);
    QWebEnginePage* openNewWindow();

    QWebEngineProfile* m_profile;
    QPointer<QWebEngineView> m_view;
    GamePage* m_page = nullptr;
    bool m_loading = false;
};

} // namespace orvix
