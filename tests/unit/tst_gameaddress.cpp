#include "core/gameaddress.h"
#include "core/hosts.h"
#include "core/wire.h"

#include <QSet>
#include <QTest>

using namespace orvix;

class TestGameAddress : public QObject {
    Q_OBJECT
private slots:
    void serverBaseFollowsTheCityToken_data();
    void serverBaseFollowsTheCityToken();
    void cacheBustersAreFreshNumbersInRange();
    void first50();
    void engineVersionRule_data();
    void engineVersionRule();
    void addressesGoOutAsCodePageBytes_data();
    void addressesGoOutAsCodePageBytes();
    void hostsComeFromKeyValueLines();
};

void TestGameAddress::serverBaseFollowsTheCityToken_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("base");
    const QString main = QStringLiteral("http://www.tarvo.test/");
    const QString ysmer = QStringLiteral("http://ysmercity.tarvo.test/");
    const QString krall = QStringLiteral("http://krallcity.tarvo.test/");
    const QString bruvik = QStringLiteral("http://bruvikcity.tarvo.test/");
    QTest::newRow("empty") << QString() << main;
    QTest::newRow("main server") << QStringLiteral("http://www.tarvo.test/enter.pl") << main;
    QTest::newRow("ysmer") << QStringLiteral("http://ysmercity.tarvo.test/main.pl") << ysmer;
    QTest::newRow("krall") << QStringLiteral("http://krallcity.tarvo.test/city.pl?x") << krall;
    QTest::newRow("bruvik") << QStringLiteral("http://bruvikcity.tarvo.test/") << bruvik;
    QTest::newRow("token in query")
        << QStringLiteral("http://www.tarvo.test/inf.pl?to=krallcity") << krall;
    QTest::newRow("two tokens: later wins")
        << QStringLiteral("http://bruvikcity.tarvo.test/?ysmercity") << bruvik;
    QTest::newRow("ysmer then krall")
        << QStringLiteral("http://krallcity.tarvo.test/?ysmercity") << krall;
    QTest::newRow("case-sensitive") << QStringLiteral("http://KRALLCITY.tarvo.test/") << main;
    QTest::newRow("other site") << QStringLiteral("http://www.orvix.test/") << main;
}

void TestGameAddress::serverBaseFollowsTheCityToken() {
    QFETCH(QString, address);
    QFETCH(QString, base);
    QCOMPARE(ServerBase(address, Hosts()), base);
}

void TestGameAddress::cacheBustersAreFreshNumbersInRange() {
    QSet<QString> seen;
    for (int i = 0; i < 2000; ++i) {
        const QString cb = CacheBuster();
        bool ok = false;
        const qulonglong n = cb.toULongLong(&ok);
        QVERIFY2(ok && n < 1333927250ULL, qPrintable(cb));
        QCOMPARE(cb, QString::number(n)); // digits only, no sign, no leading zeros
        seen.insert(cb);
    }
    QVERIFY(seen.size() > 1990);
}

void TestGameAddress::first50() {
    const QString sixty(60, QLatin1Char('x'));
    QCOMPARE(First50(sixty), sixty.left(50));
    QCOMPARE(First50(QStringLiteral("0123456789")), QStringLiteral("0123456789"));
    QCOMPARE(First50(QString()), QString());
}

void TestGameAddress::engineVersionRule_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("6.0.2900") << QStringLiteral("6.0.2900.2180") << QStringLiteral("6.0") << true;
    QTest::newRow("5.50") << QStringLiteral("5.50.4807.2300") << QStringLiteral("5.5") << true;
    QTest::newRow("7.0") << QStringLiteral("7.0.5730.13") << QStringLiteral("7.0") << false;
    QTest::newRow("5.00") << QStringLiteral("5.00.3700.1000") << QStringLiteral("5.0") << false;
    QTest::newRow("empty") << QString() << QString() << false;
    QTest::newRow("short") << QStringLiteral("6.") << QStringLiteral("6.") << false;
    QTest::newRow("exact 6.0") << QStringLiteral("6.0") << QStringLiteral("6.0") << true;
}

void TestGameAddress::engineVersionRule() {
    QFETCH(QString, version);
    QFETCH(QString, prefix);
    QFETCH(bool, accepted);
    QCOMPARE(EngineVersionPrefix(version), prefix);
    QCOMPARE(IsAcceptedEngineVersion(version), accepted);
}

void TestGameAddress::addressesGoOutAsCodePageBytes_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("ascii") << QStringLiteral("http://www.tarvo.test/city.pl?level100=5")
                           << QByteArray("http://www.tarvo.test/city.pl?level100=5");
    QTest::newRow("cyrillic") << QStringLiteral("main.pl?top=Вернуться")
                              << QByteArray("main.pl?top=%C2%E5%F0%ED%F3%F2%FC%F1%FF");
    QTest::newRow("blank") << QStringLiteral("inf.pl?login=Вася Пупкин")
                           << QByteArray("inf.pl?login=%C2%E0%F1%FF%20%CF%F3%EF%EA%E8%ED");
    QTest::newRow("escapes kept") << QStringLiteral("a?b=%26&c") << QByteArray("a?b=%26&c");
}

void TestGameAddress::addressesGoOutAsCodePageBytes() {
    QFETCH(QString, address);
    QFETCH(QByteArray, wire);
    QCOMPARE(WireAddress(address), wire);
    QCOMPARE(WireUrl(address).toEncoded(), wire);
}

void TestGameAddress::hostsComeFromKeyValueLines() {
    Hosts hosts;
    const QStringList unknown = hosts.apply(
        QStringLiteral("# local\nmain = game.example.test\nkrall=k2.example.test\r\nbogus=1\n\n"));
    QCOMPARE(hosts.main, QStringLiteral("game.example.test"));
    QCOMPARE(hosts.krall, QStringLiteral("k2.example.test"));
    QCOMPARE(hosts.ysmer, QStringLiteral("ysmercity.tarvo.test"));
    QCOMPARE(unknown, QStringList{QStringLiteral("bogus=1")});
    QCOMPARE(ServerBase(QStringLiteral("http://k2.example.test/x"), hosts),
             QStringLiteral("http://k2.example.test/"));
}

QTEST_GUILESS_MAIN(TestGameAddress)
#include "tst_gameaddress.moc"
