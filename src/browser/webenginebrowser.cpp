#include "browser/webenginebrowser.h"

#include "core/domtree.h"
#include "core/wire.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QTimer>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

QString resourceScript(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

const QString& frameLoaderScript() {
    static const QString script = resourceScript(u":/browser/frameloader.js"_s);
    return script;
}

const QString& snapshotScript() {
    static const QString script = resourceScript(u":/browser/snapshot.js"_s);
    return script;
}

// Takes the first navigation of a page the engine wanted in a new window, refuses it, and
// loads that address where it belongs.
class RedirectPage final : public QWebEnginePage {
public:
    RedirectPage(QWebEngineProfile* profile, Browser* target)
        : QWebEnginePage(profile), m_target(target) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame && m_target) {
            const QPointer<Browser> target = m_target;
            m_target.clear();
            const QString address = QString::fromLatin1(url.toEncoded());
            QMetaObject::invokeMethod(
                target,
                [target, address] {
                    if (target)
                        target->Navigate(address);
                },
                Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<Browser> m_target;
};

} // namespace

class GamePage final : public QWebEnginePage {
public:
    GamePage(QWebEngineProfile* profile, WebEngineBrowser* owner)
        : QWebEnginePage(profile, owner), m_owner(owner) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        emit m_owner->BeforeNavigate2(QString::fromLatin1(url.toEncoded()));
        return true;
    }

    QWebEnginePage* createWindow(WebWindowType) override {
        emit m_owner->NewWindow2(QString());
        if (Browser* target = m_owner->newWindowTarget())
            return new RedirectPage(profile(), target);
        return m_owner->openNewWindow();
    }

private:
    WebEngineBrowser* m_owner;
};

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile* profile, Visibility visibility,
                                   QObject* parent)
    : Browser(parent), m_profile(profile) {
    if (visibility == Visibility::Shown) {
        m_view = new QWebEngineView();
        m_view->setPage(page());
    }
}

WebEngineBrowser::~WebEngineBrowser() {
    // The view belongs to whatever layout took it; the page must outlive nothing that uses it.
    if (m_view)
        m_view->setPage(nullptr);
    delete m_page;
}

QWebEnginePage* WebEngineBrowser::page() {
    if (m_page)
        return m_page;
    m_page = new GamePage(m_profile, this);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_loading = true; });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        emit NavigateComplete2(QString::fromLatin1(url.toEncoded()));
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        m_loading = false;
        emit DocumentComplete(LocationURL());
        emit DownloadComplete();
    });
    connect(m_page, &QWebEnginePage::linkHovered, this, &Browser::StatusTextChange);
    return m_page;
}

void WebEngineBrowser::Navigate(const QString& address) {
    page()->load(WireUrl(address));
}

void WebEngineBrowser::Navigate(const QString& address, int flags, const QString& frame) {
    Q_UNUSED(flags); // frame loads always bypass the cache
    if (frame.isEmpty())
        page()->load(WireUrl(address));
    else
        loadInFrame(frame, address, nullptr);
}

void WebEngineBrowser::Navigate2(const QString& address, const QString& frame,
                                 const QByteArray& postData) {
    if (!frame.isEmpty()) {
        loadInFrame(frame, address, &postData);
        return;
    }
    QWebEngineHttpRequest request(WireUrl(address), QWebEngineHttpRequest::Post);
    request.setHeader("Content-Type", "application/x-www-form-urlencoded");
    request.setPostData(postData);
    page()->load(request);
}

void WebEngineBrowser::loadInFrame(const QString& frame, const QString& address,
                                   const QByteArray* body) {
    QJsonObject job;
    job.insert(u"frame"_s, frame);
    // Percent-encoded Windows-1251, as the game reads its addresses; pure ASCII from here on.
    job.insert(u"url"_s, QString::fromLatin1(WireAddress(address)));
    job.insert(u"body"_s, body ? QJsonValue(QString::fromLatin1(body->toBase64())) : QJsonValue());
    const QString call = frameLoaderScript() + u'(' +
                         QString::fromUtf8(QJsonDocument(job).toJson(QJsonDocument::Compact)) +
                         u')';
    page()->runJavaScript(call, QWebEngineScript::ApplicationWorld);
}

Status WebEngineBrowser::GoBack() {
    if (!page()->history()->canGoBack())
        return Status::failure(u"There is no page to go back to."_s);
    page()->triggerAction(QWebEnginePage::Back);
    return Status::success();
}

Status WebEngineBrowser::GoForward() {
    if (!page()->history()->canGoForward())
        return Status::failure(u"There is no page to go forward to."_s);
    page()->triggerAction(QWebEnginePage::Forward);
    return Status::success();
}

Status WebEngineBrowser::Stop() {
    if (!m_loading)
        return Status::failure(u"Nothing is loading."_s);
    page()->triggerAction(QWebEnginePage::Stop);
    return Status::success();
}

QString WebEngineBrowser::LocationURL() const {
    return m_page ? QString::fromLatin1(m_page->url().toEncoded()) : QString();
}

void WebEngineBrowser::Document(DocumentCallback done) {
    if (!m_page) {
        done(nullptr);
        return;
    }
    m_page->runJavaScript(snapshotScript(), QWebEngineScript::ApplicationWorld,
                          [done](const QVariant& snapshot) {
                              // A plain string is the common case, kept lean for big pages.
                              if (snapshot.typeId() == QMetaType::QString) {
                                  done(ParseSerializedHtml(u"HTML"_s, snapshot.toString()));
                                  return;
                              }
                              const QVariantList parts = snapshot.toList();
                              if (parts.size() != 2 ||
                                  parts[0].typeId() != QMetaType::QString ||
                                  parts[1].typeId() != QMetaType::QString) {
                                  done(nullptr);
                                  return;
                              }
                              done(ParseSerializedHtml(parts[0].toString(), parts[1].toString()));
                          });
}

void WebEngineBrowser::WhenFrameLoadsDone(std::function<void()> then) {
    if (!m_page) {
        then();
        return;
    }
    pollFrameLoads(std::move(then), QDeadlineTimer(15000));
}

// Scripts run in the order given, so this sees every job queued before it.
void WebEngineBrowser::pollFrameLoads(std::function<void()> then, QDeadlineTimer deadline) {
    static const QString busy = u"(function () { const f = window.__orvixFrames;"
                                u" return !!f && (f.busy || f.queue.length > 0); })()"_s;
    m_page->runJavaScript(busy, QWebEngineScript::ApplicationWorld,
                          [this, then, deadline](const QVariant& pending) {
                              if (pending.toBool() && !deadline.hasExpired())
                                  QTimer::singleShot(50, this,
                                                     [this, then, deadline] {
                                                         pollFrameLoads(then, deadline);
                                                     });
                              else
                                  then();
                          });
}

QWebEnginePage* WebEngineBrowser::openNewWindow() {
    // A window of its own, sharing the profile and so the login session.
    auto* view = new QWebEngineView();
    view->setAttribute(Qt::WA_DeleteOnClose);
    auto* page = new QWebEnginePage(m_profile, view);
    view->setPage(page);
    view->resize(800, 600);
    view->show();
    return page;
}

} // namespace orvix
