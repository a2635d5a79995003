#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QTest>

// The local game world for one test run: started on a free port, asked about what it saw.
class WorldProcess {
public:
    bool start() {
        m_process.setProgram(QStringLiteral(ORVIX_WORLD_BIN));
        m_process.setArguments(
            {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--exit-on-stdin-eof")});
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!m_process.canReadLine() && t.elapsed() < 10000)
            m_process.waitForReadyRead(200);
        const QByteArray line = m_process.readLine().trimmed();
        m_port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
        m_net.setProxy(QNetworkProxy::NoProxy); // inspection goes straight to the world
        return m_port != 0;
    }
    ~WorldProcess() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }

    quint16 port() const { return m_port; }

    // What the world received after entry `since`, less the engine's own favicon fetches.
    QJsonArray log(int since = 0) {
        QJsonArray out;
        const QJsonArray all =
            QJsonDocument::fromJson(get(QStringLiteral("/__world/log?since=%1").arg(since)))
                .array();
        for (const auto& e : all)
            if (!e.toObject()
                     .value(QStringLiteral("path"))
                     .toString()
                     .endsWith(QStringLiteral("/favicon.ico")))
                out.append(e);
        return out;
    }
    // The sequence number of the newest entry, for `since`.
    int lastSeq() {
        const QJsonArray all = QJsonDocument::fromJson(get(QStringLiteral("/__world/log"))).array();
        return all.isEmpty() ? 0 : all.last().toObject().value(QStringLiteral("seq")).toInt();
    }
    QJsonObject state() {
        return QJsonDocument::fromJson(get(QStringLiteral("/__world/state"))).object();
    }
    int roomOf(const QString& login) {
        for (const auto& c : state().value(QStringLiteral("characters")).toArray())
            if (c.toObject().value(QStringLiteral("login")).toString() == login)
                return c.toObject().value(QStringLiteral("room")).toInt();
        return -1;
    }
    void setRoom(const QString& login, int room) {
        request(QStringLiteral("/__world/set?login=%1&room=%2")
                    .arg(QString::fromLatin1(QUrl::toPercentEncoding(login)))
                    .arg(room),
                true);
    }
    // Every chat line the world took, oldest first.
    QJsonArray chat() {
        return QJsonDocument::fromJson(get(QStringLiteral("/__world/chat")))
            .object()
            .value(QStringLiteral("lines"))
            .toArray();
    }
    QJsonObject character(const QString& login) {
        for (const auto& c : state().value(QStringLiteral("characters")).toArray())
            if (c.toObject().value(QStringLiteral("login")).toString() == login)
                return c.toObject();
        return {};
    }
    bool isOnline(const QString& login) {
        for (const auto& c : state().value(QStringLiteral("characters")).toArray())
            if (c.toObject().value(QStringLiteral("login")).toString() == login)
                return c.toObject().value(QStringLiteral("online")).toBool();
        return false;
    }
    void clear() { request(QStringLiteral("/__world/clear"), true); }

    // Waits until the log holds at least n entries after `since`; returns those entries.
    QJsonArray waitForRequests(int n, int since = 0, int timeoutMs = 15000) {
        QElapsedTimer t;
        t.start();
        QJsonArray entries = log(since);
        while (entries.size() < n && t.elapsed() < timeoutMs) {
            QTest::qWait(50);
            entries = log(since);
        }
        return entries;
    }

private:
    QByteArray get(const QString& path) { return request(path, false); }
    QByteArray request(const QString& path, bool post) {
        QNetworkRequest req(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)));
        QNetworkReply* reply = post ? m_net.post(req, QByteArray()) : m_net.get(req);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return reply->readAll();
    }

    QProcess m_process;
    QNetworkAccessManager m_net;
    quint16 m_port = 0;
};
