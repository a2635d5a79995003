#pragma once

#include <QNetworkAccessManager>
#include <QObject>

#include <functional>

class QWebEngineProfile;

namespace orvix {

// Plain GETs beside the browsers, with their login session, and a time-out so that a server
// that never answers can't hold anything up.
class HttpClient final : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 15000;
    using Done = std::function<void(bool ok, const QByteArray& body, const QString& error)>;

    explicit HttpClient(QWebEngineProfile* profile, QObject* parent = nullptr);

    void Get(const QUrl& url, Done done);
    void setTimeout(int ms) { m_manager.setTransferTimeout(ms); }
    QNetworkAccessManager& manager() { return m_manager; }

private:
    QNetworkAccessManager m_manager;
};

} // namespace orvix
