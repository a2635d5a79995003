#include "core/backpack.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvix;

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Item {
    QString id;
    int number;
    QString name;
    bool wearable;
};

// One item block as the game's backpack page captures.
QString block(const Item& i) {
    QString b = s("<TR><!--Шапка--><TD width=80 align=center vAlign=top bgColor=#d8d4d4>");
    if (i.wearable)
        b += s("<A href=\"main.pl?set=%1&amp;n=%2&amp;tmp=123\">надеть</A>").arg(i.id).arg(i.number);
    b += s("</TD><TD vAlign=top><A href=\"/encicl/object/%1.html\" target=_blank>%2</A> "
           "(масса: 3)<BR><FONT color=#555555>Слот: Шапка</FONT><BR></TD></TR>")
             .arg(i.id, i.name);
    return b;
}

QString page(const QList<Item>& items, const QString& weight = s("11/40")) {
    QString p = s("  <HTML><HEAD><TITLE>Инвентарь</TITLE></HEAD>\r\n<BODY><TABLE><TBODY><TR><TD>"
                  "<B>Рюкзак (масса: %1)</B></TD></TR></TBODY></TABLE><!--Рюкзак-->\r\n"
                  "<TABLE><TBODY>")
                    .arg(weight);
    for (const Item& i : items)
        p += block(i);
    return p + s("</TBODY></TABLE></BODY></HTML>\r\n");
}

QList<Item> wearable(int n, int from = 1) {
    QList<Item> items;
    for (int k = from; k < from + n; ++k)
        items.append({s("item%1").arg(k), 1000 + k, s("Вещь %1").arg(k), true});
    return items;
}

} // namespace

class TestBackpack : public QObject {
    Q_OBJECT
private slots:
    void readsThePutOnItems_data();
    void readsThePutOnItems();
    void putOnAddressJoinsWithoutSeparators();
    void brokenPagesNeverCrashOrHang();
};

void TestBackpack::readsThePutOnItems_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("backpack");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("two items")
        << page(wearable(2)) << true << s("11/40") << QStringList{s("Вещь 1"), s("Вещь 2")}
        << QStringList{s("item1"), s("item2")} << QStringList{s("1001"), s("1002")};
    QStringList first25;
    for (int k = 1; k <= 25; ++k)
        first25 << s("Вещь %1").arg(k);
    QStringList ids25, numbers25;
    for (int k = 1; k <= 25; ++k) {
        ids25 << s("item%1").arg(k);
        numbers25 << QString::number(1000 + k);
    }
    QTest::newRow("30 items show 25")
        << page(wearable(30)) << true << s("11/40") << first25 << ids25 << numbers25;
    QTest::newRow("nothing to put on")
        << page({{s("elixir"), 1, s("Эликсир"), false}}) << true << s("11/40") << QStringList()
        << QStringList() << QStringList();
    QTest::newRow("not a backpack page")
        << s("  <HTML><BODY><B>Рюкзак (масса: 1/2)</B>надеть</FONT><BR></BODY></HTML>\r\n")
        << false << QString() << QStringList() << QStringList() << QStringList();
    QList<Item> mixed = wearable(1);
    mixed.append({s("elixir"), 7, s("Эликсир"), false});
    mixed.append(wearable(1, 2));
    QTest::newRow("block without надеть skipped")
        << page(mixed) << true << s("11/40") << QStringList{s("Вещь 1"), s("Вещь 2")}
        << QStringList{s("item1"), s("item2")} << QStringList{s("1001"), s("1002")};
    QTest::newRow("надеть after the last block end")
        << page(wearable(1)) + s("<A href=\"x\">надеть</A>") << true << s("11/40")
        << QStringList{s("Вещь 1")} << QStringList{s("item1")} << QStringList{s("1001")};
    QTest::newRow("structure characters in the name")
        << page({{s("shield2"), 5, s("Рыцарь &amp; Дракон"), true}}) << true << s("11/40")
        << QStringList{s("Рыцарь &amp; Дракон")} << QStringList{s("shield2")}
        << QStringList{s("5")};
    // Missing markers count as position 0: a block without its links still fills a row.
    QTest::newRow("block without links")
        << s("<B>Рюкзак (масса: 1)</B><!--Рюкзак--> xx надеть</FONT><BR>") << true << s("1")
        << QStringList{QString()}
        << QStringList{QString()} << QStringList{QString()};
}

void TestBackpack::readsThePutOnItems() {
    QFETCH(QString, text);
    QFETCH(bool, backpack);
    QFETCH(QString, weight);
    QFETCH(QStringList, names);
    QFETCH(QStringList, ids);
    QFETCH(QStringList, numbers);
    const BackpackReading r = ReadBackpack(text);
    QCOMPARE(r.isBackpackPage, backpack);
    QCOMPARE(r.weight, weight);
    QStringList gotNames, gotIds, gotNumbers;
    for (const auto& item : r.items) {
        gotNames << item.name;
        gotIds << item.id;
        gotNumbers << item.number;
    }
    QCOMPARE(gotNames, names);
    QCOMPARE(gotIds, ids);
    QCOMPARE(gotNumbers, numbers);
}

void TestBackpack::putOnAddressJoinsWithoutSeparators() {
    QCOMPARE(PutOnAddress({s("Шлем"), s("helmet2"), s("1005")}, s("777")),
             s("main.pl?set=helmet2&n=1005&tmp=777"));
}

void TestBackpack::brokenPagesNeverCrashOrHang() {
    const QString real = page(wearable(6) + QList<Item>{{s("e"), 1, s("Эликсир"), false}});
    QRandomGenerator rng(1211);
    // Every prefix and suffix of a real page.
    for (qsizetype n = 0; n <= real.size(); ++n) {
        const BackpackReading head = ReadBackpack(QStringView(real).left(n));
        const BackpackReading tail = ReadBackpack(QStringView(real).sliced(n));
        QVERIFY(head.items.size() <= 6 && tail.items.size() <= 7);
    }
    // Markers in the wrong order and random slices of a page made of nothing but markers.
    const QStringList markers = {s("<!--Рюкзак-->"), s("Рюкзак (масса:"), s("</B>"),
                                 s("надеть"),        s("</FONT><BR>"),    s("amp"),
                                 s("n="),            s("<A href=\"/encicl/object/"),
                                 s(".html"),         s("_blank>"),        s("</A>"), s("x")};
    for (int round = 0; round < 3000; ++round) {
        QString junk;
        const int parts = int(rng.bounded(40));
        for (int k = 0; k < parts; ++k)
            junk += markers[rng.bounded(markers.size())];
        const qsizetype from = junk.isEmpty() ? 0 : rng.bounded(junk.size());
        const BackpackReading r = ReadBackpack(QStringView(junk).sliced(from));
        QVERIFY(r.items.size() <= kBackpackRows);
    }
}

QTEST_APPLESS_MAIN(TestBackpack)
#include "tst_backpack.moc"
