#include "actions/phrasespanel.h"
#include "app/mainwindow.h"
#include "browser/browser.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "core/gameaddress.h"

#include "enginetestmain.h"
#include "recordingalerts.h"
#include "tempworkdir.h"
#include "worldprocess.h"

#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QLabel>
#include <QNetworkProxy>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QWebEngineProfile>

using namespace orvix;

namespace {

QString headerOf(const QJsonObject& entry, const QString& name) {
    for (const auto& h : entry.value(QStringLiteral("headers")).toArray())
        if (h.toArray().at(0).toString().compare(name, Qt::CaseInsensitive) == 0)
            return h.toArray().at(1).toString();
    return {};
}

QString str(const QJsonObject& o, const char* key) {
    return o.value(QLatin1String(key)).toString();
}

} // namespace

// The program against the real engine and the local world: what leaves it is what the game gets.
class TestSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void logsInAndLoadsTheFrameset();
    void frameLoadsResolveAgainstTheFrameAndSkipTheCache();
    void postsArriveAsExactBytesInOrder();
    void cyrillicAddressesArriveAsCodePageEscapes();
    void miniMapClickSendsTheTypicalRequest();
    void phrasesReachTheCityChatWhole();
    void loginPanelLogsInWithAStructureCharacterInThePassword();

private:
    bool waitForLoad(int timeoutMs = 20000);

    WorldProcess m_world;
    std::unique_ptr<TempWorkDir> m_dir;
    Hosts m_hosts;
    RecordingAlerts m_alerts;
    std::unique_ptr<TForm1> m_window;
};

void TestSession::initTestCase() {
    QVERIFY(m_world.start());
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_world.port()));
    m_dir = std::make_unique<TempWorkDir>();
    QFile f(m_dir->file(QStringLiteral("config.ex")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ConfigStore::EncodeFile(cp1251::encode(ConfigList().text())));
    f.close();
    m_window = std::make_unique<TForm1>(QWebEngineProfile::defaultProfile(), m_hosts, &m_alerts);
    m_window->show();
    QVERIFY(m_alerts.warnings.isEmpty());
}

void TestSession::cleanupTestCase() {
    m_window.reset();
    m_dir.reset();
}

bool TestSession::waitForLoad(int timeoutMs) {
    QSignalSpy done(&m_window->WebB(), &Browser::DocumentComplete);
    return done.wait(timeoutMs);
}

void TestSession::logsInAndLoadsTheFrameset() {
    m_window->ShowEntryPage();
    QVERIFY(waitForLoad());
    QCOMPARE(m_window->WebB().LocationURL(), QStringLiteral("http://www.tarvo.test/"));

    const int since = m_world.lastSeq();
    const QByteArray body =
        cp1251::encode(QStringLiteral("login=Вася&psw=vasya&enter=Зайти&lastlogin=Вася"));
    m_window->WebB().Navigate2(QStringLiteral("http://www.tarvo.test/enter.pl"), QString(), body);
    QVERIFY(waitForLoad());
    const QJsonArray entries = m_world.waitForRequests(3, since); // enter.pl and both frames
    QVERIFY(!entries.isEmpty());
    QStringList targets;
    for (const auto& e : entries)
        targets << str(e.toObject(), "method") + u' ' + str(e.toObject(), "target");
    const QJsonObject post = entries.at(0).toObject();
    QCOMPARE(str(post, "method"), QStringLiteral("POST"));
    QCOMPARE(str(post, "target"), QStringLiteral("http://www.tarvo.test/enter.pl"));
    QCOMPARE(str(post, "body_hex").toLatin1(), body.toHex());
    QVERIFY(headerOf(post, QStringLiteral("Content-Type"))
                .startsWith(QStringLiteral("application/x-www-form-urlencoded")));
    QStringList paths;
    for (const auto& e : entries)
        paths << str(e.toObject(), "path");
    QVERIFY2(paths.contains(QStringLiteral("/main.pl")) && paths.contains(QStringLiteral("/ch.pl")),
             qPrintable(targets.join(QStringLiteral(", "))));
}

void TestSession::frameLoadsResolveAgainstTheFrameAndSkipTheCache() {
    const QString cb = CacheBuster();
    const QString address = QStringLiteral("city.pl?level100=") + cb;
    const int since = m_world.lastSeq();
    // The same address twice: the world's answer may be cached, so only a bypass reaches it twice.
    m_window->navigation().NavigateInFrame(QStringLiteral("main"), address);
    m_window->navigation().NavigateInFrame(QStringLiteral("main"), address);
    const QJsonArray entries = m_world.waitForRequests(2, since);
    QCOMPARE(entries.size(), 2);
    for (const auto& e : entries) {
        const QJsonObject entry = e.toObject();
        QCOMPARE(str(entry, "method"), QStringLiteral("GET"));
        QCOMPARE(str(entry, "target"),
                 QStringLiteral("http://www.tarvo.test/city.pl?level100=") + cb);
        QCOMPARE(headerOf(entry, QStringLiteral("Cache-Control")), QStringLiteral("no-cache"));
    }
    QCOMPARE(m_world.roomOf(QStringLiteral("Вася")), 100);
}

void TestSession::postsArriveAsExactBytesInOrder() {
    const QString cb1 = CacheBuster(), cb2 = CacheBuster();
    const int since = m_world.lastSeq();
    m_window->navigation().PostInFrame(QStringLiteral("city.pl"), QStringLiteral("main"),
                                       QStringLiteral("setch=799&level1=") + cb1);
    m_window->navigation().PostInFrame(QStringLiteral("city.pl"), QStringLiteral("main"),
                                       QStringLiteral("setch=799&level5=") + cb2);
    m_window->navigation().PostInFrame(QStringLiteral("main.pl"), QStringLiteral("main"),
                                       QStringLiteral("top=Вернуться"));
    const QJsonArray entries = m_world.waitForRequests(3, since);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(str(entries[0].toObject(), "body_hex").toLatin1(),
             ("setch=799&level1=" + cb1.toLatin1()).toHex());
    QCOMPARE(str(entries[1].toObject(), "body_hex").toLatin1(),
             ("setch=799&level5=" + cb2.toLatin1()).toHex());
    QCOMPARE(str(entries[2].toObject(), "body_hex"), QStringLiteral("746f703dc2e5f0edf3f2fcf1ff"));
    QCOMPARE(str(entries[0].toObject(), "target"), QStringLiteral("http://www.tarvo.test/city.pl"));
    QCOMPARE(str(entries[2].toObject(), "target"), QStringLiteral("http://www.tarvo.test/main.pl"));
    QCOMPARE(m_world.roomOf(QStringLiteral("Вася")), 5);
}

void TestSession::cyrillicAddressesArriveAsCodePageEscapes() {
    const int since = m_world.lastSeq();
    m_window->navigation().NavigateInFrame(QStringLiteral("main"),
                                           QStringLiteral("main.pl?top=Вернуться"));
    const QJsonArray entries = m_world.waitForRequests(1, since);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(str(entries[0].toObject(), "target"),
             QStringLiteral("http://www.tarvo.test/main.pl?top=%C2%E5%F0%ED%F3%F2%FC%F1%FF"));
}

void TestSession::miniMapClickSendsTheTypicalRequest() {
    auto* label = m_window->findChild<QLabel*>(QStringLiteral("XPLabel2"));
    auto* map = m_window->findChild<QWidget*>(QStringLiteral("PanelMap"));
    QVERIFY(label && map);
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(map->isVisible());
    auto* hall = map->findChild<QPushButton*>(QStringLiteral("XPButton6"));
    QCOMPARE(hall->text(), QStringLiteral("Зал войнов 1"));

    m_world.setRoom(QStringLiteral("Вася"), 100); // so the move is seen to happen
    QCOMPARE(m_world.roomOf(QStringLiteral("Вася")), 100);
    const int since = m_world.lastSeq();
    QTest::mouseClick(hall, Qt::LeftButton);
    QVERIFY(!map->isVisible());
    const QJsonArray entries = m_world.waitForRequests(3, since);
    QCOMPARE(entries.size(), 3);
    const QRegularExpression body1(QStringLiteral("^setch=799&level1=(\\d+)$"));
    const QRegularExpression body2(QStringLiteral("^setch=799&level5=(\\d+)$"));
    const QRegularExpression chat(
        QStringLiteral("^http://www.tarvo.test/ch.pl\\?online=1&n=&(\\d+)$"));
    const auto bodyText = [&](int i) {
        return QString::fromLatin1(
            QByteArray::fromHex(str(entries[i].toObject(), "body_hex").toLatin1()));
    };
    const auto m1 = body1.match(bodyText(0));
    const auto m2 = body2.match(bodyText(1));
    const auto m3 = chat.match(str(entries[2].toObject(), "target"));
    QVERIFY2(m1.hasMatch(), qPrintable(bodyText(0)));
    QVERIFY2(m2.hasMatch(), qPrintable(bodyText(1)));
    QVERIFY2(m3.hasMatch(), qPrintable(str(entries[2].toObject(), "target")));
    QCOMPARE(str(entries[0].toObject(), "target"), QStringLiteral("http://www.tarvo.test/city.pl"));
    QCOMPARE(str(entries[1].toObject(), "target"), QStringLiteral("http://www.tarvo.test/city.pl"));
    // Each request drew its own cache-buster.
    const QSet<QString> busters{m1.captured(1), m2.captured(1), m3.captured(1)};
    QCOMPARE(busters.size(), 3);
    QCOMPARE(m_world.roomOf(QStringLiteral("Вася")), 5);
}

void TestSession::phrasesReachTheCityChatWhole() {
    ConfigList& config = m_window->configList();
    config.setLine(48, QStringLiteral("Всем привет, я Вася!"));
    config.setLine(49, QStringLiteral("ищу пару: 5&6 #1 100% a+b=c"));
    config.setLine(58, QStringLiteral("Orange"));
    auto* label = m_window->findChild<QLabel*>(QStringLiteral("XPLabel6"));
    const int before = m_world.chat().size();
    for (int phrase : {1, 2}) {
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(m_window->phrases().isVisible());
        QTest::mouseClick(m_window->phrases().phrase(phrase), Qt::LeftButton);
        QVERIFY(!m_window->phrases().isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(m_world.chat().size(), before + phrase, 15000);
    }
    const QJsonArray lines = m_world.chat();
    const QStringList texts{config.line(48), config.line(49)};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject line = lines[before + i].toObject();
        QCOMPARE(str(line, "text"), texts[i]);
        QCOMPARE(str(line, "color"), QStringLiteral("Orange"));
        QCOMPARE(str(line, "login"), QStringLiteral("Вася"));
        QCOMPARE(str(line, "host"), QStringLiteral("www.tarvo.test"));
    }
}

void TestSession::loginPanelLogsInWithAStructureCharacterInThePassword() {
    QAction* other = m_window->findChild<QAction*>(QStringLiteral("N2"));
    other->trigger();
    auto* login = m_window->findChild<QLineEdit*>(QStringLiteral("NewLogin"));
    auto* pass = m_window->findChild<QLineEdit*>(QStringLiteral("NewPass"));
    QTest::mouseClick(login, Qt::LeftButton);
    QTest::keyClicks(login, QStringLiteral("Knight"));
    QTest::mouseClick(pass, Qt::LeftButton);
    QTest::keyClicks(pass, QStringLiteral("sword&shield=1"));
    QVERIFY(!m_world.isOnline(QStringLiteral("Knight")));
    QTest::keyClick(pass, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(m_world.isOnline(QStringLiteral("Knight")), 15000);
    QCOMPARE(m_window->configList().line(0), QStringLiteral("Knight"));
    QCOMPARE(m_window->configList().line(1), QStringLiteral("sword&shield=1"));
    QCOMPARE(m_window->findChild<QAction*>(QStringLiteral("N01"))->text(),
             QStringLiteral("Knight"));
}

ORVIX_ENGINE_TEST_MAIN(TestSession)
#include "tst_e2e_session.moc"
