#include "browser/fakebrowser.h"
#include "core/configlist.h"
#include "core/configstore.h"
#include "core/diagnosticlog.h"
#include "session/accounts.h"
#include "session/gamenavigation.h"

#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QTest>

using namespace orvix;

namespace {

struct Rig {
    RecordingAlerts alerts;
    DiagnosticLog log{alerts};
    ConfigList config;
    ConfigStore store{config, log, alerts};
    FakeBrowser webB;
    Hosts hosts;
    GameNavigation nav{webB, hosts};
    bool ieOk = true;
    QStringList events;
    Accounts accounts{webB,
                      nav,
                      config,
                      store,
                      alerts,
                      {[this] { return ieOk; }, [this] { events << QStringLiteral("close"); },
                       [this] { events << QStringLiteral("menu"); },
                       [this] { events << QStringLiteral("hide"); }}};
};

} // namespace

class TestAccounts : public QObject {
    Q_OBJECT
private slots:
    void loginPostsTheEntryFormToTheMainServer_data();
    void loginPostsTheEntryFormToTheMainServer();
    void refusedWithoutTheAcceptedEngine();
    void newAccountsPushOutTheOldest();
    void failedSaveStopsBeforeTheLogin();
};

void TestAccounts::loginPostsTheEntryFormToTheMainServer_data() {
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("cyrillic") << QStringLiteral("Вася") << QStringLiteral("vasya")
                              << QByteArray(
                                     "login=\xC2\xE0\xF1\xFF&psw=vasya&enter=\xC7\xE0\xE9\xF2\xE8"
                                     "&lastlogin=\xC2\xE0\xF1\xFF");
    // Typed text can't add fields or cut the body short.
    QTest::newRow("structure characters")
        << QStringLiteral("a+b c") << QStringLiteral("p&s=1#%")
        << QByteArray(
               "login=a%2Bb c&psw=p%26s%3D1%23%25&enter=\xC7\xE0\xE9\xF2\xE8&lastlogin=a%2Bb c");
    QTest::newRow("empty") << QString() << QString()
                           << QByteArray("login=&psw=&enter=\xC7\xE0\xE9\xF2\xE8&lastlogin=");
}

void TestAccounts::loginPostsTheEntryFormToTheMainServer() {
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(QByteArray, body);
    Rig rig;
    rig.webB.location = QStringLiteral("http://krallcity.tarvo.test/main.pl");
    rig.accounts.Login(login, password);
    QCOMPARE(rig.webB.requests.size(), 1);
    const auto& r = rig.webB.requests[0];
    QCOMPARE(r.kind, FakeBrowser::Request::Kind::Post);
    QCOMPARE(r.address, QStringLiteral("http://www.tarvo.test/enter.pl"));
    QCOMPARE(r.frame, QString());
    QCOMPARE(r.body, body);
    QCOMPARE(rig.accounts.OwnLogin(), login);
}

void TestAccounts::refusedWithoutTheAcceptedEngine() {
    TempWorkDir dir;
    Rig rig;
    rig.ieOk = false;
    QVERIFY(rig.accounts.AddAccount(QStringLiteral("Вася"), QStringLiteral("x")).ok());
    QVERIFY(rig.webB.requests.isEmpty());
    QCOMPARE(rig.alerts.messages, QStringList{QStringLiteral("Не корректная версия IE")});
    QCOMPARE(rig.events.first(), QStringLiteral("close"));
    QCOMPARE(rig.accounts.OwnLogin(), QString());
    // The pair from the panel was stored before the refusal.
    Rig next;
    next.store.LoadConfiguration();
    QCOMPARE(next.config.line(0), QStringLiteral("Вася"));
}

void TestAccounts::newAccountsPushOutTheOldest() {
    TempWorkDir dir;
    Rig rig;
    for (int i = 1; i <= 6; ++i)
        QVERIFY(
            rig.accounts.AddAccount(QStringLiteral("user%1").arg(i), QStringLiteral("pw%1").arg(i))
                .ok());
    QCOMPARE(rig.accounts.Names(), (QStringList{"user6", "user5", "user4", "user3", "user2"}));
    QCOMPARE(rig.config.line(9), QStringLiteral("pw2"));
    QCOMPARE(rig.events.mid(0, 2), (QStringList{"menu", "hide"}));
    QCOMPARE(rig.webB.requests.size(), 6);

    Rig next;
    next.store.LoadConfiguration();
    QCOMPARE(next.accounts.Names(), rig.accounts.Names());
    next.accounts.LoginSaved(2);
    QCOMPARE(next.webB.requests.size(), 1);
    QVERIFY(next.webB.requests[0].body.startsWith("login=user5&psw=pw5&"));
}

void TestAccounts::failedSaveStopsBeforeTheLogin() {
    TempWorkDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.temp")));
    Rig rig;
    QVERIFY(!rig.accounts.AddAccount(QStringLiteral("a"), QStringLiteral("b")).ok());
    QVERIFY(rig.webB.requests.isEmpty());
    QCOMPARE(rig.config.line(0), QStringLiteral("a")); // the change in memory stays
    QVERIFY(rig.events.isEmpty());
}

QTEST_GUILESS_MAIN(TestAccounts)
#include "tst_accounts.moc"
