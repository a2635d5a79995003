#include "app/httpclient.h"
#include "app/mainwindow.h"
#include "app/settingspanel.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "session/accounts.h"
#include "w2/form2.h"

#include "enginetestmain.h"
#include "recordingalerts.h"
#include "tempworkdir.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QWebEngineProfile>

using namespace orvix;

namespace {

void writeConfig(const TempWorkDir& dir, const QMap<int, QString>& lines) {
    ConfigList list;
    for (auto it = lines.begin(); it != lines.end(); ++it)
        list.setLine(it.key(), it.value());
    QFile f(dir.file(QStringLiteral("config.ex")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ConfigStore::EncodeFile(cp1251::encode(list.text())));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsTheShellAndWarns();
    void startUpAppliesSavedSettings_data();
    void startUpAppliesSavedSettings();
    void closeSavesAndForgetsAccountsWhenAsked();
    void newWindowsGoToW2UnlessSwitchedOff();
    void toolBarKeepsItsLabelAtTheRightEnd();
    void escBringsW2ForwardWhileSwitchedOn();
    void accountMenuAndLoginPanel();
    void httpGetsGiveUpOnASilentServer();

private:
    Hosts m_hosts;
    QWebEngineProfile* profile() { return QWebEngineProfile::defaultProfile(); }
};

void TestMainWindow::firstRunShowsTheShellAndWarns() {
    TempWorkDir dir;
    QFile(dir.file(QStringLiteral("BugsReport.txt"))).open(QIODevice::WriteOnly);
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvix - Dazu"));
    QCOMPARE(window.size(), QSize(602, 537));
    QCOMPARE(alerts.warnings, QStringList{QStringLiteral("I/O - config.ex")});
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("BugsReport.txt"))) ||
            QFile(dir.file(QStringLiteral("BugsReport.txt"))).size() > 0);
    QStringList menus;
    for (QAction* a : window.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("Авторизация"), QStringLiteral("Информация"),
                                 QStringLiteral("Tarvoовцы"), QStringLiteral("Настройки"),
                                 QStringLiteral("Об авторах")}));
    QCOMPARE(window.settings().XPGroupBox11->title(), QStringLiteral("System: IE version - 6.0"));
    QVERIFY(window.IEVersionOk());
    QVERIFY(!window.TimerEsc().isActive());
    QCOMPARE(window.settings().XPLabel10->text(), QStringLiteral("00"));
    for (const char* name : {"WebB", "ToolBar1", "PanelMenu", "XPLabel4", "MM"})
        QVERIFY2(window.findChild<QObject*>(QString::fromLatin1(name)), name);
}

void TestMainWindow::startUpAppliesSavedSettings_data() {
    QTest::addColumn<QString>("line62");
    QTest::addColumn<QString>("line63");
    QTest::addColumn<QString>("line65");
    QTest::addColumn<QString>("line66");
    QTest::addColumn<QString>("line67");
    QTest::addColumn<int>("radio"); // 0 = none
    QTest::newRow("all on") << "ok"
                            << "ok"
                            << "5"
                            << "ok"
                            << "2" << 2;
    QTest::newRow("exact texts only") << "OK"
                                      << "ok "
                                      << ""
                                      << "no"
                                      << "5" << 0;
    QTest::newRow("analyser 4") << "no"
                                << "no"
                                << "17"
                                << ""
                                << "4" << 4;
}

void TestMainWindow::startUpAppliesSavedSettings() {
    QFETCH(QString, line62);
    QFETCH(QString, line63);
    QFETCH(QString, line65);
    QFETCH(QString, line66);
    QFETCH(QString, line67);
    QFETCH(int, radio);
    TempWorkDir dir;
    writeConfig(dir, {{62, line62}, {63, line63}, {65, line65}, {66, line66}, {67, line67}});
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    QVERIFY(alerts.warnings.isEmpty());
    SettingsPanel& s = window.settings();
    QCOMPARE(s.Check1->isChecked(), line62 == QStringLiteral("ok"));
    QCOMPARE(s.Check2->isChecked(), line63 == QStringLiteral("ok"));
    QCOMPARE(s.XPLabel10->text(), line65.isEmpty() ? QStringLiteral("00") : line65);
    QCOMPARE(s.Check3->isChecked(), line66 == QStringLiteral("ok"));
    QCOMPARE(window.TimerEsc().isActive(), line66 == QStringLiteral("ok"));
    QCOMPARE(window.TimerEsc().interval(), 100);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s.RB[i]->isChecked(), radio == i + 1);

    // The check box switches the Esc poll at once.
    s.Check3->click();
    QCOMPARE(window.TimerEsc().isActive(), s.Check3->isChecked());
}

void TestMainWindow::closeSavesAndForgetsAccountsWhenAsked() {
    TempWorkDir dir;
    writeConfig(
        dir,
        {{0, QStringLiteral("Вася")}, {1, QStringLiteral("секрет")}, {15, QStringLiteral("Друг")}});
    QFile(dir.file(QStringLiteral("clock.htm"))).open(QIODevice::WriteOnly);
    {
        RecordingAlerts alerts;
        TForm1 window(profile(), m_hosts, &alerts);
        window.show();
        window.settings().Check1->setChecked(true);
        QVERIFY(window.close());
    }
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("clock.htm"))));
    RecordingAlerts alerts;
    TForm1 again(profile(), m_hosts, &alerts);
    QCOMPARE(again.configList().line(0), QString());
    QCOMPARE(again.configList().line(1), QString());
    QCOMPARE(again.configList().line(15), QStringLiteral("Друг"));

    // A save that fails keeps the window open.
    QVERIFY(QFile::remove(dir.file(QStringLiteral("config.ex"))));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.temp")));
    again.show();
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    QVERIFY(!again.close());
    QVERIFY(again.isVisible());
}

void TestMainWindow::newWindowsGoToW2UnlessSwitchedOff() {
    TempWorkDir dir;
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    QCOMPARE(window.WebBNewWindow2(), nullptr); // no W2 yet
    TForm2 w2(profile());
    window.setSecondWindow(&w2);
    QCOMPARE(window.WebBNewWindow2(), static_cast<Browser*>(w2.WebB2()));
    window.settings().Check2->setChecked(true);
    QCOMPARE(window.WebBNewWindow2(), nullptr);
}

void TestMainWindow::toolBarKeepsItsLabelAtTheRightEnd() {
    TempWorkDir dir;
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int width : {602, 800}) {
        window.resize(width, 537);
        QCoreApplication::processEvents();
        QWidget& bar = window.ToolBar1();
        QCOMPARE(bar.height(), 22);
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("PanelMenu"))->width(), bar.width());
        QCOMPARE(window.findChild<QWidget*>(QStringLiteral("XPLabel4"))->x(), bar.width() - 60);
    }
}

void TestMainWindow::escBringsW2ForwardWhileSwitchedOn() {
    TempWorkDir dir;
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    TForm2 w2(profile());
    window.setSecondWindow(&w2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::keyPress(&window, Qt::Key_Escape);
    QTest::qWait(250);
    QVERIFY(!w2.isVisible()); // the poll is off
    QTest::keyRelease(&window, Qt::Key_Escape);

    window.settings().Check3->click();
    QVERIFY(window.TimerEsc().isActive());
    QTest::keyPress(&window, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(w2.isVisible(), 1000);
    QTest::keyRelease(&window, Qt::Key_Escape);
    w2.hide();
    QTest::qWait(250);
    QVERIFY(!w2.isVisible()); // released: no more ticks bring it back
}

void TestMainWindow::accountMenuAndLoginPanel() {
    TempWorkDir dir;
    writeConfig(
        dir,
        {{0, QStringLiteral("Вася")}, {1, QStringLiteral("vasya")}, {4, QStringLiteral("demo")}});
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    window.show();
    const auto item = [&](const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    };
    QCOMPARE(item("N2")->text(), QStringLiteral("Другой..."));
    QCOMPARE(item("N01")->text(), QStringLiteral("Вася"));
    QVERIFY(item("N01")->isVisible());
    QVERIFY(!item("N02")->isVisible()); // an empty slot has no entry
    QCOMPARE(item("N03")->text(), QStringLiteral("demo"));

    auto* panel = window.findChild<QWidget*>(QStringLiteral("AutorizePanel"));
    QVERIFY(!panel->isVisible());
    item("N2")->trigger();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->geometry(), QRect(304, 152, 185, 89));
    auto* login = window.findChild<QLineEdit*>(QStringLiteral("NewLogin"));
    auto* pass = window.findChild<QLineEdit*>(QStringLiteral("NewPass"));
    QCOMPARE(login->text(), QStringLiteral("Логин"));
    QTest::mouseClick(login, Qt::LeftButton);
    QCOMPARE(login->text(), QString());      // a click empties the field
    login->insert(QStringLiteral("Тестер")); // keyClicks only types ASCII
    QTest::mouseClick(pass, Qt::LeftButton);
    QTest::keyClicks(pass, QStringLiteral("test123"));
    QTest::keyClick(pass, Qt::Key_Return);
    QVERIFY(!panel->isVisible());
    QCOMPARE(item("N01")->text(), QStringLiteral("Тестер"));
    QCOMPARE(item("N02")->text(), QStringLiteral("Вася"));
    QCOMPARE(window.accounts().OwnLogin(), QStringLiteral("Тестер"));
    QCOMPARE(window.configList().line(1), QStringLiteral("test123"));
}

void TestMainWindow::httpGetsGiveUpOnASilentServer() {
    QTcpServer silent; // accepts and never answers
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    TempWorkDir dir;
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    window.HTTP().manager().setProxy(QNetworkProxy::NoProxy);
    window.HTTP().setTimeout(300);
    bool done = false, ok = true;
    window.HTTP().Get(QUrl(QStringLiteral("http://127.0.0.1:%1/inf.pl").arg(silent.serverPort())),
                      [&](bool success, const QByteArray&, const QString&) {
                          done = true;
                          ok = success;
                      });
    QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
    QVERIFY(!ok);
}

ORVIX_ENGINE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
