#include "actions/mappanel.h"
#include "browser/fakebrowser.h"
#include "session/gamenavigation.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QGroupBox>
#include <QTest>

using namespace orvix;

class TestMapPanel : public QObject {
    Q_OBJECT
private slots:
    void togglesAndCloses();
    void beginnersSubPanelStaysAsLeft();
    void buttonsHaveTheirCaptionsAndSizes();
    void dragsByItsFreeBackgroundOnly();
};

namespace {

struct Rig {
    QWidget window;
    FakeBrowser webB;
    Hosts hosts;
    GameNavigation nav{webB, hosts};
    MapPanel map{nav, &window};
    QPushButton* button(const char* name) {
        return map.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    Rig() {
        window.resize(602, 515);
        window.show();
    }
};

} // namespace

void TestMapPanel::togglesAndCloses() {
    Rig rig;
    QVERIFY(!rig.map.isVisible());
    rig.map.Toggle();
    QVERIFY(rig.map.isVisible());
    QCOMPARE(rig.map.geometry(), QRect(264, 26, 241, 231));
    rig.button("XPButton44")->click(); // "X"
    QVERIFY(!rig.map.isVisible());
    rig.map.Toggle(); // one click opens it again
    QVERIFY(rig.map.isVisible());

    rig.button("XPButton19")->click(); // "ЗАГС" does nothing
    QVERIFY(rig.map.isVisible());
    QVERIFY(rig.webB.requests.isEmpty());
    rig.button("XPButton13")->click(); // the square leaves the map open
    QVERIFY(rig.map.isVisible());
    QCOMPARE(rig.webB.requests.size(), 2);
    rig.button("XPButton14")->click();
    QVERIFY(!rig.map.isVisible());
    QVERIFY(rig.map.hiddenFlag());
}

void TestMapPanel::beginnersSubPanelStaysAsLeft() {
    Rig rig;
    rig.map.Toggle();
    FloatingPanel* msml = rig.map.PanelMsml();
    rig.button("XPButton5")->click();
    QVERIFY(msml->isVisible());
    QCOMPARE(msml->geometry(), QRect(8, 33, 97, 112));
    rig.button("XPButton22")->click(); // closes the whole map
    QVERIFY(!rig.map.isVisible());
    rig.map.Toggle();
    QVERIFY(msml->isVisible()); // still marked shown
    rig.button("XPButton5")->click();
    QVERIFY(!msml->isVisible());
}

void TestMapPanel::buttonsHaveTheirCaptionsAndSizes() {
    Rig rig;
    const QList<QPushButton*> buttons = rig.map.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1 + 22 + 1); // "Новички...", every room, "X"
    for (const QPushButton* b : buttons) {
        QVERIFY2(!b->text().isEmpty(), qPrintable(b->objectName()));
        if (b->objectName() != QStringLiteral("XPButton44"))
            QCOMPARE(b->size(), QSize(97, 17));
    }
    QCOMPARE(rig.button("XPButton38")->text(), QStringLiteral("Банк"));
    QCOMPARE(rig.button("XPButton5")->text(), QStringLiteral("Новички..."));
}

void TestMapPanel::dragsByItsFreeBackgroundOnly() {
    Rig rig;
    rig.map.Toggle();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    const QPoint start = rig.map.pos();
    const QPoint margin(200, 222); // below the groups, left of "X"
    QTest::mousePress(&rig.map, Qt::LeftButton, {}, margin);
    QMouseEvent move(QEvent::MouseMove, QPointF(margin + QPoint(-30, 10)), QPointF(), Qt::NoButton,
                     Qt::LeftButton, {});
    QCoreApplication::sendEvent(&rig.map, &move);
    QTest::mouseRelease(&rig.map, Qt::LeftButton, {}, margin + QPoint(-30, 10));
    QCOMPARE(rig.map.pos(), start + QPoint(-30, 10));

    // A press on a button goes to the button; the panel stays.
    const QPoint moved = rig.map.pos();
    QPushButton* hall = rig.button("XPButton19");
    QTest::mousePress(hall, Qt::LeftButton);
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 40), QPointF(), Qt::NoButton, Qt::LeftButton,
                     {});
    QCoreApplication::sendEvent(hall, &drag);
    QTest::mouseRelease(hall, Qt::LeftButton);
    QCOMPARE(rig.map.pos(), moved);

    // Nor does a press on a group box's frame or caption, which the box itself ignores.
    auto* group = rig.map.findChild<QGroupBox*>();
    QTest::mousePress(group, Qt::LeftButton, {}, QPoint(3, 3));
    QMouseEvent pull(QEvent::MouseMove, QPointF(50, 50), QPointF(), Qt::NoButton, Qt::LeftButton,
                     {});
    QCoreApplication::sendEvent(group, &pull);
    QCoreApplication::sendEvent(&rig.map, &pull);
    QTest::mouseRelease(group, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(rig.map.pos(), moved);
}

QTEST_MAIN(TestMapPanel)
#include "tst_mappanel.moc"
