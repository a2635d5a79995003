#include "app/httpclient.h"

#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

namespace orvix {

HttpClient::HttpClient(QWebEngineProfile* profile, QObject* parent) : QObject(parent) {
    m_manager.setTransferTimeout(kTimeoutMs);
    if (!profile)
        return;
    // The browsers hold the login session; mirror their cookies.
    QWebEngineCookieStore* store = profile->cookieStore();
    QNetworkCookieJar* jar = m_manager.cookieJar();
    connect(store, &QWebEngineCookieStore::cookieAdded, this,
            [jar](const QNetworkCookie& c) { jar->insertCookie(c); });
    connect(store, &QWebEngineCookieStore::cookieRemoved, this,
            [jar](const QNetworkCookie& c) { jar->deleteCookie(c); });
    store->loadAllCookies();
}

void HttpClient::Get(const QUrl& url, Done done) {
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    QNetworkReply* reply = m_manager.get(request);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        const bool ok = reply->error() == QNetworkReply::NoError;
        done(ok, ok ? reply->readAll() : QByteArray(), reply->errorString());
    });
}

} // namespace orvix
