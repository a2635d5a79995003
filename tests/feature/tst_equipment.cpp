#include "actions/backpackpanel.h"
#include "actions/takeoffpanel.h"
#include "browser/fakebrowser.h"
#include "core/cp1251.h"
#include "core/diagnosticlog.h"
#include "session/gamenavigation.h"

#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace orvix;
using Kind = FakeBrowser::Request::Kind;

namespace {

const QString kBase = QStringLiteral("http://ysmercity.tarvo.test/");

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

DomNode node(DomNode::Kind kind, const QString& name, const QString& text = {}) {
    DomNode n;
    n.kind = kind;
    n.name = name;
    n.text = text;
    return n;
}
DomNode element(const char* name, QList<std::pair<QString, QString>> attrs = {},
                QList<DomNode> children = {}) {
    DomNode n = node(DomNode::Kind::Element, QString::fromLatin1(name));
    n.attributes = std::move(attrs);
    n.children = std::move(children);
    return n;
}
DomNode text(const QString& t) {
    return node(DomNode::Kind::Text, {}, t);
}

// The live tree of a backpack page with `wearable` items that can be put on and one that can't.
std::shared_ptr<const DomTree> backpackPage(int wearable, bool marker = true) {
    DomNode body = element("BODY");
    body.children << element("B", {}, {text(s("Рюкзак (масса: 9/40)"))});
    if (marker)
        body.children << node(DomNode::Kind::Comment, {}, s("Рюкзак"));
    const auto item = [&](const QString& id, const QString& name, bool canPutOn) {
        if (canPutOn)
            body.children << element("A", {{s("href"), s("main.pl?set=%1&n=7%1&tmp=5").arg(id)}},
                                     {text(s("надеть"))});
        body.children << element("A",
                                 {{s("href"), s("/encicl/object/%1.html").arg(id)},
                                  {s("target"), s("_blank")}},
                                 {text(name)})
                      << element("FONT", {}, {text(s("Слот"))}) << element("BR");
    };
    item(s("0"), s("Эликсир"), false);
    for (int k = 1; k <= wearable; ++k)
        item(QString::number(k), s("Вещь %1").arg(k), true);
    return DomTree::fromNodes(element("HTML", {}, {element("HEAD"), body}));
}

struct Rig {
    TempWorkDir dir;
    FakeBrowser webB, webRuk;
    Hosts hosts;
    GameNavigation nav{webB, hosts};
    RecordingAlerts alerts;
    DiagnosticLog log{alerts};
    QWidget window;
    BackpackPanel backpack{webRuk, nav, log, &window};
    TakeOffPanel takeOff{nav,
                         [this] {
                             if (!backpack.isHidden())
                                 backpack.RefreshBackpack();
                         },
                         &window};
    Rig() {
        webB.location = kBase + s("main.pl");
        window.resize(602, 515);
        window.show();
    }
    void pageArrives(std::shared_ptr<const DomTree> page) {
        webRuk.document = std::move(page);
        emit webRuk.DocumentComplete(webRuk.location);
    }
    QStringList shownRows() const {
        QStringList rows;
        for (int k = 1; k <= kBackpackRows; ++k)
            if (!backpack.row(k)->isHidden())
                rows << backpack.row(k)->text();
        return rows;
    }
};

// The cache-buster at the end of an address or body, replaced by "#".
QString masked(QString text) {
    static const QRegularExpression buster(QStringLiteral("\\d+$"));
    return text.replace(buster, QStringLiteral("#"));
}

QStringList describe(const QList<FakeBrowser::Request>& requests) {
    QStringList out;
    for (const auto& r : requests) {
        if (r.kind == Kind::Post)
            out << s("post %1 %2 %3").arg(r.address, r.frame, masked(cp1251::decode(r.body)));
        else if (r.kind == Kind::NavigateInFrame)
            out << s("open %1 %2").arg(r.frame, masked(r.address));
        else
            out << s("load %1").arg(masked(r.address));
    }
    return out;
}

} // namespace

class TestEquipment : public QObject {
    Q_OBJECT
private slots:
    void refreshLoadsTheBackpackPage();
    void listFillsRowsAndSizesThePanel_data();
    void listFillsRowsAndSizesThePanel();
    void rowClickPutsTheItemOn();
    void failedCaptureLeavesTheRowsEmpty();
    void takeOffButtons_data();
    void takeOffButtons();
};

void TestEquipment::refreshLoadsTheBackpackPage() {
    Rig rig;
    rig.backpack.RefreshBackpack();
    QCOMPARE(describe(rig.webRuk.requests), QStringList{s("load ") + kBase + s("main.pl?edit=1&#")});
    QCOMPARE(rig.backpack.height(), 57);
    QCOMPARE(rig.backpack.XPButton49()->y(), 35);
    QCOMPARE(rig.backpack.row(1)->text(), s("Проверка..."));
    QVERIFY(rig.backpack.row(2)->isHidden() && rig.backpack.row(3)->isHidden());
    QVERIFY(rig.webB.requests.isEmpty());
}

void TestEquipment::listFillsRowsAndSizesThePanel_data() {
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("first");
    QTest::newRow("30 show 25") << 30 << true << 25 << 441 << s("Вещь 1");
    QTest::newRow("16") << 16 << true << 16 << 297 << s("Вещь 1");
    QTest::newRow("one") << 1 << true << 1 << 57 << s("Вещь 1");
    QTest::newRow("none to put on") << 0 << true << 1 << 57 << s("Пусто..");
    QTest::newRow("not a backpack page") << 3 << false << 1 << 57 << QString();
}

void TestEquipment::listFillsRowsAndSizesThePanel() {
    QFETCH(int, items);
    QFETCH(bool, marker);
    QFETCH(int, rows);
    QFETCH(int, height);
    QFETCH(QString, first);
    Rig rig;
    rig.backpack.show();
    rig.backpack.RefreshBackpack();
    rig.pageArrives(backpackPage(items, marker));
    QCOMPARE(rig.backpack.row(1)->text(), first);
    QCOMPARE(rig.backpack.height(), height);
    if (!marker) {
        // Not a backpack page: every caption empty, visibility as the refresh left it.
        for (int k = 1; k <= kBackpackRows; ++k)
            QCOMPARE(rig.backpack.row(k)->text(), QString());
        QCOMPARE(rig.backpack.XPLabel14()->text(), s("Рюкзак"));
        return;
    }
    QCOMPARE(rig.shownRows().size(), rows);
    QCOMPARE(rig.backpack.XPLabel14()->text(), s("Рюкзак: 9/40"));
    QCOMPARE(rig.backpack.XPButton49()->y(), height - 22);
    QCOMPARE(rig.backpack.XPButton50()->y(), height - 22);
    if (items >= 16) {
        QCOMPARE(rig.backpack.row(16)->text(), s("Вещь 16"));
        QCOMPARE(rig.backpack.row(16)->y(), 255);
        QCOMPARE(rig.backpack.row(16)->objectName(), s("XPPanel26"));
    }
    QCOMPARE(rig.backpack.MemoRuk().text().left(8), s("  <HTML>"));
}

void TestEquipment::rowClickPutsTheItemOn() {
    Rig rig;
    rig.backpack.show();
    // A row that was never filled sends nothing.
    QTest::mouseClick(rig.backpack.row(1), Qt::LeftButton);
    QVERIFY(rig.webRuk.requests.isEmpty() && rig.webB.requests.isEmpty());

    rig.backpack.RefreshBackpack();
    rig.pageArrives(backpackPage(3));
    const QString address = rig.backpack.putOnAddress(2);
    QVERIFY2(QRegularExpression(s("^main\\.pl\\?set=2&n=72&tmp=\\d+$")).match(address).hasMatch(),
             qPrintable(address));
    rig.webRuk.requests.clear();
    QTest::mouseClick(rig.backpack.row(2), Qt::LeftButton);
    QCOMPARE(rig.webRuk.requests.size(), 1);
    const QString sent = rig.webRuk.requests[0].address;
    QVERIFY2(sent.startsWith(kBase + address + u'&'), qPrintable(sent));
    QVERIFY(QRegularExpression(s("&\\d+$")).match(sent).hasMatch());
    QCOMPARE(describe(rig.webB.requests), QStringList{s("post ") + kBase + s("battle.pl main battle=#")});

    // The next reading overwrites the addresses; a shorter list keeps the older ones below it.
    rig.pageArrives(backpackPage(1));
    QCOMPARE(rig.shownRows(), QStringList{s("Вещь 1")});
    QCOMPARE(rig.backpack.putOnAddress(2), address);
}

void TestEquipment::failedCaptureLeavesTheRowsEmpty() {
    Rig rig;
    rig.backpack.RefreshBackpack();
    rig.pageArrives(nullptr);
    QCOMPARE(rig.backpack.row(1)->text(), QString());
    QCOMPARE(rig.log.lines().size(), 1);
    QVERIFY(rig.log.lines()[0].endsWith(s("Ошибка - Главный парсер")));
}

void TestEquipment::takeOffButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("open");
    const QList<std::tuple<const char*, const char*, const char*>> table = {
        {"XPButton25", "Шапка", "9"}, {"XPButton28", "Клипсы", "1"}, {"XPButton26", "Кулон", "2"},
        {"XPButton30", "Щит", "10"},  {"XPButton31", "Пушка", "3"},  {"XPButton27", "Бронь", "4"},
        {"XPButton37", "Перчи", "11"}, {"XPButton29", "Тапы", "12"}, {"XPButton32", "к1", "6"},
        {"XPButton33", "к2", "7"},    {"XPButton34", "к3", "8"}};
    for (const auto& [button, caption, code] : table)
        QTest::newRow(caption) << s(button) << s(caption)
                               << s("main.pl?setdown=w%1&#").arg(s(code));
    QTest::newRow("Все") << s("XPButton36") << s("Все") << s("main.pl?setdown=all");
}

void TestEquipment::takeOffButtons() {
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QString, open);
    Rig rig;
    rig.takeOff.Toggle();
    auto* b = rig.takeOff.findChild<QPushButton*>(button);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    const QStringList expected = {s("open main ") + open,
                                  s("post ") + kBase + s("main.pl main top=Вернуться")};
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(describe(rig.webB.requests), expected);
    QVERIFY(rig.webRuk.requests.isEmpty()); // the backpack panel is hidden
    QVERIFY(rig.takeOff.isVisible());
    QCOMPARE(rig.webB.requests[1].body, cp1251::encode(s("top=Вернуться")));

    // With the backpack shown, its list is loaded again after the take-off.
    rig.webB.requests.clear();
    rig.backpack.show();
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(describe(rig.webB.requests), expected);
    QCOMPARE(describe(rig.webRuk.requests), QStringList{s("load ") + kBase + s("main.pl?edit=1&#")});
    QVERIFY(rig.takeOff.isVisible());
}

QTEST_MAIN(TestEquipment)
#include "tst_equipment.moc"
