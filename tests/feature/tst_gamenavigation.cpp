#include "browser/fakebrowser.h"
#include "session/gamenavigation.h"

#include <QTest>

using namespace orvix;
using Request = FakeBrowser::Request;

class TestGameNavigation : public QObject {
    Q_OBJECT
private slots:
    void framesGetRelativeAddressesWithoutCache();
    void postsGoToTheCurrentCityAsCodePageBytes();
};

void TestGameNavigation::framesGetRelativeAddressesWithoutCache() {
    FakeBrowser webB;
    Hosts hosts;
    GameNavigation nav(webB, hosts);
    nav.NavigateInFrame(QStringLiteral("main"), QStringLiteral("city.pl?level100=42"));
    nav.NavigateInFrame(QStringLiteral("online"), QStringLiteral("ch.pl?online=1&n=&7"));
    QCOMPARE(webB.requests, (QList<Request>{{Request::Kind::NavigateInFrame,
                                             QStringLiteral("city.pl?level100=42"),
                                             QStringLiteral("main"),
                                             12,
                                             {}},
                                            {Request::Kind::NavigateInFrame,
                                             QStringLiteral("ch.pl?online=1&n=&7"),
                                             QStringLiteral("online"),
                                             12,
                                             {}}}));
}

void TestGameNavigation::postsGoToTheCurrentCityAsCodePageBytes() {
    FakeBrowser webB;
    Hosts hosts;
    GameNavigation nav(webB, hosts);
    QCOMPARE(nav.ServerBase(), QStringLiteral("http://www.tarvo.test/"));
    nav.PostInFrame(QStringLiteral("main.pl"), QStringLiteral("main"),
                    QStringLiteral("top=Вернуться"));
    webB.location = QStringLiteral("http://krallcity.tarvo.test/main.pl");
    nav.PostInFrame(QStringLiteral("city.pl"), QStringLiteral("main"),
                    QStringLiteral("setch=799&level1=5"));
    QCOMPARE(webB.requests.size(), 2);
    QCOMPARE(webB.requests[0].address, QStringLiteral("http://www.tarvo.test/main.pl"));
    QCOMPARE(webB.requests[0].body.toHex(), QByteArray("746f703dc2e5f0edf3f2fcf1ff"));
    QCOMPARE(webB.requests[1],
             (Request{Request::Kind::Post, QStringLiteral("http://krallcity.tarvo.test/city.pl"),
                      QStringLiteral("main"), 0, QByteArray("setch=799&level1=5")}));
}

QTEST_GUILESS_MAIN(TestGameNavigation)
#include "tst_gamenavigation.moc"
