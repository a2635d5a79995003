#include "app/mainwindow.h"

#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QFile>
#include <QTest>

using namespace orvix;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void opensLoadsAndSavesOnClose();
};

void TestMainWindow::opensLoadsAndSavesOnClose() {
    TempWorkDir dir;
    QFile(dir.file(QStringLiteral("BugsReport.txt"))).open(QIODevice::WriteOnly);
    RecordingAlerts alerts;
    {
        TForm1 window(&alerts);
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvix - Dazu"));
        QCOMPARE(window.size(), QSize(602, 537));
        // First run: the old log is gone and the missing config.ex was reported.
        QCOMPARE(alerts.warnings, QStringList{QStringLiteral("I/O - config.ex")});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.configList().setLine(62, QStringLiteral("ok"));
        QVERIFY(window.close());
    }
    QVERIFY(QFile::exists(dir.file(QStringLiteral("config.ex"))));

    RecordingAlerts second;
    TForm1 again(&second);
    QVERIFY(second.warnings.isEmpty());
    QCOMPARE(again.configList().line(62), QStringLiteral("ok"));
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("BugsReport.txt"))));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
