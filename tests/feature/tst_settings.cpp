#include "app/settingspanel.h"
#include "configfixture.h"
#include "tempworkdir.h"

#include <QFile>
#include <QTest>

using namespace orvix;

using Store = ConfigFixture;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void saveWritesLines62To67_data();
    void saveWritesLines62To67();
    void intervalThatIsNoNumberStopsTheSave();
    void arrowsStepTheIntervalWithinAnHour_data();
    void arrowsStepTheIntervalWithinAnHour();
};

void TestSettings::saveWritesLines62To67_data() {
    QTest::addColumn<bool>("checked"); // all four check boxes
    QTest::addColumn<QString>("interval");
    QTest::addColumn<int>("radio"); // 0 = none
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("all on") << true << "7" << 2 << QStringList{"ok", "ok", "ok", "7", "ok", "2"};
    QTest::newRow("all off, 00") << false << "00" << 0
                                 << QStringList{"no", "no", "no", "", "no", "old"};
    QTest::newRow("0 is empty") << false << "0" << 4
                                << QStringList{"no", "no", "no", "", "no", "4"};
    QTest::newRow("caption kept as typed")
        << true << "05" << 1 << QStringList{"ok", "ok", "ok", "05", "ok", "1"};
}

void TestSettings::saveWritesLines62To67() {
    QFETCH(bool, checked);
    QFETCH(QString, interval);
    QFETCH(int, radio);
    QFETCH(QStringList, lines);
    TempWorkDir dir;
    Store s;
    ConfigList& config = s.config;
    ConfigStore& store = s.store;
    config.setLine(67, QStringLiteral("old"));
    SettingsPanel panel;
    panel.Toggle();
    for (QCheckBox* box : {panel.Check1, panel.Check2, panel.XPCheckBox1, panel.Check3})
        box->setChecked(checked);
    panel.XPLabel10->setText(interval);
    if (radio)
        panel.RB[radio - 1]->setChecked(true);

    QVERIFY(panel.Save(config, store).ok());
    QVERIFY(!panel.isVisible());
    Store loaded;
    loaded.store.LoadConfiguration();
    for (int i = 0; i < 6; ++i)
        QCOMPARE(loaded.config.line(62 + i), lines[i]);
}

void TestSettings::intervalThatIsNoNumberStopsTheSave() {
    TempWorkDir dir;
    Store s;
    ConfigList& config = s.config;
    ConfigStore& store = s.store;
    config.setLine(65, QStringLiteral("kept"));
    SettingsPanel panel;
    panel.Toggle();
    panel.Check1->setChecked(true);
    panel.XPLabel10->setText(QStringLiteral("abc"));
    QVERIFY(!panel.Save(config, store).ok());
    QCOMPARE(config.line(62), QStringLiteral("ok"));
    QCOMPARE(config.line(65), QStringLiteral("kept"));
    QVERIFY(panel.isVisible());
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("config.ex"))));
}

void TestSettings::arrowsStepTheIntervalWithinAnHour_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("clicks"); // '<' and '>' in order
    QTest::addColumn<QString>("to");
    QTest::newRow("design 00 down") << "00" << "<" << "0";
    QTest::newRow("design 00 up") << "00" << ">" << "1";
    QTest::newRow("no wrap at 59") << "58" << ">>>" << "59";
    QTest::newRow("no leading zero") << "11" << "<<" << "9";
    QTest::newRow("stored text that is no number") << "abc" << ">" << "1";
}

void TestSettings::arrowsStepTheIntervalWithinAnHour() {
    QFETCH(QString, from);
    QFETCH(QString, clicks);
    QFETCH(QString, to);
    SettingsPanel panel;
    panel.XPLabel10->setText(from);
    for (QChar c : clicks)
        QTest::mouseClick(c == u'<' ? panel.XPLabel9 : panel.XPLabel11, Qt::LeftButton);
    QCOMPARE(panel.XPLabel10->text(), to);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
