#include "core/configlist.h"

#include <QTest>

using namespace orvix;

class TestConfigList : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheWholeLayout();
    void splitsTextIntoLines_data();
    void splitsTextIntoLines();
    void readsAreCappedAndMissingLinesEmpty();
    void writesReplaceExistingLinesOnly();
    void keepsLinesBeyondTheLayout();
};

void TestConfigList::startsWithTheWholeLayout() {
    ConfigList list;
    QCOMPARE(list.lineCount(), 68);
    QCOMPARE(list.text(), QString(QStringLiteral("\r\n")).repeated(67));
    list.setLine(67, QStringLiteral("4")); // settings can be stored on a first run
    QCOMPARE(list.line(67), QStringLiteral("4"));
}

void TestConfigList::splitsTextIntoLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("firstLines");
    QTest::addColumn<QString>("normalised");

    const QString pad = QString(QStringLiteral("\r\n")).repeated(65);
    QTest::newRow("crlf") << QStringLiteral("a\r\nb\r\nc") + pad << QStringList{"a", "b", "c"}
                          << QStringLiteral("a\r\nb\r\nc") + pad;
    QTest::newRow("lone lf") << QStringLiteral("a\nb\nc") + pad << QStringList{"a", "b", "c"}
                             << QStringLiteral("a\r\nb\r\nc") + pad;
    QTest::newRow("lone cr") << QStringLiteral("a\rb\rc") + pad << QStringList{"a", "b", "c"}
                             << QStringLiteral("a\r\nb\r\nc") + pad;
    QTest::newRow("lf cr is two breaks")
        << QStringLiteral("a\n\rb") + pad << QStringList{"a", "", "b"}
        << QStringLiteral("a\r\n\r\nb") + pad;
    QTest::newRow("empty lines kept")
        << QStringLiteral("\r\n\r\nx") + pad << QStringList{"", "", "x"}
        << QStringLiteral("\r\n\r\nx") + pad;
    QTest::newRow("short text padded")
        << QStringLiteral("Вася\r\nпароль")
        << QStringList{QStringLiteral("Вася"), QStringLiteral("пароль"), ""}
        << QStringLiteral("Вася\r\nпароль") + QString(QStringLiteral("\r\n")).repeated(66);
    QTest::newRow("empty text") << QString() << QStringList{"", ""}
                                << QString(QStringLiteral("\r\n")).repeated(67);
}

void TestConfigList::splitsTextIntoLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, firstLines);
    QFETCH(QString, normalised);
    ConfigList list;
    list.setText(text);
    for (int i = 0; i < firstLines.size(); ++i)
        QCOMPARE(list.line(i), firstLines[i]);
    QCOMPARE(list.text(), normalised);
}

void TestConfigList::readsAreCappedAndMissingLinesEmpty() {
    ConfigList list;
    const QString longLine(5000, QLatin1Char('x'));
    list.setLine(3, longLine);
    QCOMPARE(list.line(3).size(), 4096);
    QVERIFY(list.text().contains(longLine)); // the stored text keeps it whole
    QCOMPARE(list.line(68), QString());
    QCOMPARE(list.line(200), QString());
    QCOMPARE(list.line(-1), QString());
}

void TestConfigList::writesReplaceExistingLinesOnly() {
    ConfigList list;
    const QString before = list.text();
    list.setLine(68, QStringLiteral("lost"));
    list.setLine(200, QStringLiteral("lost"));
    list.setLine(-1, QStringLiteral("lost"));
    QCOMPARE(list.text(), before);
    QCOMPARE(list.lineCount(), 68);

    // A text ending with a separator has an empty last line that works like any other.
    list.setText(QString(QStringLiteral("\r\n")).repeated(70));
    QCOMPARE(list.lineCount(), 71);
    list.setLine(70, QStringLiteral("last"));
    QCOMPARE(list.line(70), QStringLiteral("last"));
    list.setLine(71, QStringLiteral("beyond"));
    QVERIFY(list.text().endsWith(QStringLiteral("\r\nlast")));

    // A break inside a written line must not shift the lines after it.
    list.setLine(15, QStringLiteral("Петя\r\nВася\nКоля"));
    QCOMPARE(list.lineCount(), 71);
    QCOMPARE(list.line(15), QStringLiteral("Петя  Вася Коля"));
    QCOMPARE(list.line(16), QString());
}

void TestConfigList::keepsLinesBeyondTheLayout() {
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << QString::number(i);
    ConfigList list;
    list.setText(lines.join(QStringLiteral("\r\n")));
    QCOMPARE(list.lineCount(), 100);
    QCOMPARE(list.line(99), QStringLiteral("99"));
}

QTEST_GUILESS_MAIN(TestConfigList)
#include "tst_configlist.moc"
