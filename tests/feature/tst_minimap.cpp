#include "actions/minimap.h"
#include "browser/fakebrowser.h"
#include "session/gamenavigation.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace orvix;
using Kind = FakeBrowser::Request::Kind;

namespace {

const QString kMain = QStringLiteral("http://www.tarvo.test/");
const QString kKrall = QStringLiteral("http://krallcity.tarvo.test/main.pl");

// One line per request, the cache-buster shown as "#", and "hide" where the map closed.
struct Run {
    QStringList lines;
    QStringList busters;
};

Run click(const QString& button, const QString& location) {
    FakeBrowser webB;
    webB.location = location;
    Hosts hosts;
    GameNavigation nav(webB, hosts);
    QList<int> hiddenAt;
    MiniMap map(nav, [&] { hiddenAt << int(webB.requests.size()); });
    const MiniMap::Room* room = MiniMap::FindRoom(button);
    if (!room)
        return {{QStringLiteral("no such button")}, {}};
    map.Click(*room);

    static const QRegularExpression buster(QStringLiteral("(?<=[=&])(\\d+)$"));
    Run run;
    for (int i = 0; i <= webB.requests.size(); ++i) {
        for (int h : hiddenAt)
            if (h == i)
                run.lines << QStringLiteral("hide");
        if (i == webB.requests.size())
            break;
        const auto& r = webB.requests[i];
        QString text = r.kind == Kind::Post ? QString::fromLatin1(r.body) : r.address;
        if (const auto m = buster.match(text); m.hasMatch()) {
            run.busters << m.captured(1);
            text.replace(m.capturedStart(1), m.capturedLength(1), QStringLiteral("#"));
        }
        if (r.kind == Kind::Post)
            run.lines << QStringLiteral("post %1 %2 %3").arg(r.address, r.frame, text);
        else
            run.lines << QStringLiteral("open %1 %2 flags=%3").arg(r.frame, text).arg(r.flags);
    }
    return run;
}

QString post(const QString& base, const QString& page, const QString& body) {
    return QStringLiteral("post %1%2 main %3").arg(base, page, body);
}
QString open(const QString& address) {
    return QStringLiteral("open main %1 flags=12").arg(address);
}
const QString chat = QStringLiteral("open online ch.pl?online=1&n=&# flags=12");
const QString hide = QStringLiteral("hide");

} // namespace

class TestMiniMap : public QObject {
    Q_OBJECT
private slots:
    void everyButtonSendsItsMoves_data();
    void everyButtonSendsItsMoves();
};

void TestMiniMap::everyButtonSendsItsMoves_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QStringList>("expected");

    const auto building = [](int level) {
        return QStringList{
            post(kMain, QStringLiteral("city.pl"), QStringLiteral("setch=799&level1=#")),
            post(kMain, QStringLiteral("city.pl"),
                 QStringLiteral("setch=799&level%1=#").arg(level)),
            chat, hide};
    };
    const auto square = [](int level) {
        return QStringList{open(QStringLiteral("city.pl?level100=#")),
                           open(QStringLiteral("city.pl?level%1=#").arg(level)), chat, hide};
    };
    QTest::newRow("Новички 1") << "XPButton21" << kMain
                               << QStringList{post(kMain, QStringLiteral("city.pl"),
                                                   QStringLiteral("setch=799&level1=#")),
                                              open(QStringLiteral("main.pl?top=Вернуться")), chat,
                                              hide};
    QTest::newRow("Новички 2") << "XPButton22" << kMain << building(2);
    QTest::newRow("Новички 3") << "XPButton23" << kMain << building(3);
    QTest::newRow("Новички 4") << "XPButton24" << kMain << building(4);
    QTest::newRow("Зал войнов 1") << "XPButton6" << kMain << building(5);
    QTest::newRow("Зал войнов 2") << "XPButton7" << kMain << building(6);
    QTest::newRow("Зал войнов 3") << "XPButton8" << kMain << building(7);
    QTest::newRow("Рыцарский зал") << "XPButton9" << kMain << building(9);
    QTest::newRow("Торговый зал") << "XPButton10" << kMain << building(8);
    QTest::newRow("Башня рыц. маг.") << "XPButton12" << kMain << building(10);
    QTest::newRow("Зал войнов 1 in Krall")
        << "XPButton6" << kKrall
        << QStringList{post(QStringLiteral("http://krallcity.tarvo.test/"),
                            QStringLiteral("city.pl"), QStringLiteral("setch=799&level1=#")),
                       post(QStringLiteral("http://krallcity.tarvo.test/"),
                            QStringLiteral("city.pl"), QStringLiteral("setch=799&level5=#")),
                       chat, hide};
    QTest::newRow("Секретка on the main server")
        << "XPButton11" << kMain
        << QStringList{open(QStringLiteral("city.pl?level100=#")),
                       open(QStringLiteral("city.pl?level50=#")), hide, chat};
    QTest::newRow("Секретка in a city")
        << "XPButton11" << kKrall
        << QStringList{post(QStringLiteral("http://krallcity.tarvo.test/"),
                            QStringLiteral("city.pl"), QStringLiteral("setch=799&level1=#")),
                       post(QStringLiteral("http://krallcity.tarvo.test/"),
                            QStringLiteral("city.pl"), QStringLiteral("setch=799&level50=#")),
                       hide, chat};
    QTest::newRow("Магазин") << "XPButton14" << kMain << square(102);
    QTest::newRow("Рем. мастерская") << "XPButton15" << kMain << square(101);
    QTest::newRow("Комок") << "XPButton16" << kMain << square(105);
    QTest::newRow("КаZино") << "XPButton17" << kMain << square(104);
    QTest::newRow("Почта") << "XPButton18" << kMain << square(106);
    QTest::newRow("Вокзал") << "XPButton20" << kMain << square(103);
    QTest::newRow("ЗАГС does nothing") << "XPButton19" << kMain << QStringList{};
    QTest::newRow("Центральная пл. stays open")
        << "XPButton13" << kMain << QStringList{open(QStringLiteral("city.pl?level100=#")), chat};
    QTest::newRow("Страшилкин str. stays open")
        << "XPButton39" << kMain
        << QStringList{
               post(kMain, QStringLiteral("main.pl"), QStringLiteral("setch=190&level100=#")),
               open(QStringLiteral("city.pl?level100=#")),
               open(QStringLiteral("city.pl?level107=#")), chat};
    QTest::newRow("Башня смерти") << "XPButton40" << kMain
                                  << QStringList{open(QStringLiteral("city.pl?level107=#")),
                                                 open(QStringLiteral("city.pl?level109=#")), chat,
                                                 hide};
    QTest::newRow("Банк ends on the square")
        << "XPButton38" << kMain
        << QStringList{open(QStringLiteral("city.pl?level107=#")),
                       open(QStringLiteral("city.pl?level100=#")), chat, hide};
}

void TestMiniMap::everyButtonSendsItsMoves() {
    QFETCH(QString, button);
    QFETCH(QString, location);
    QFETCH(QStringList, expected);
    const Run run = click(button, location);
    QCOMPARE(run.lines, expected);
    // Every request that carries a cache-buster draws its own.
    QCOMPARE(QSet<QString>(run.busters.begin(), run.busters.end()).size(), run.busters.size());
    for (const QString& cb : run.busters)
        QVERIFY(cb.toULongLong() < 1333927250ULL);
}

QTEST_GUILESS_MAIN(TestMiniMap)
#include "tst_minimap.moc"
