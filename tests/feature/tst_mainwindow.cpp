#include "actions/mappanel.h"
#include "actions/phrasespanel.h"
#include "app/floatingpanel.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebEngineProfile>

using namespace orvix;
using namespace Qt::StringLiterals;

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
    void menuBarLabelsOpenTheirPanels();
    void settingsSurviveARestart();

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

void TestMainWindow::menuBarLabelsOpenTheirPanels() {
    TempWorkDir dir;
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto label = [&](const QString& name) { return window.findChild<QLabel*>(name); };
    const auto panel = [&](const QString& name) { return window.findChild<QWidget*>(name); };
    const QList<std::tuple<QString, QString, int>> bar = {
        {u"XPLabel1"_s, u"Обновить"_s, 8},        {u"XPLabel6"_s, u"Фразы"_s, 62},
        {u"XPLabel13"_s, u"Одеть"_s, 106},        {u"XPLabel15"_s, u"\\"_s, 138},
        {u"XPLabel5"_s, u"Снять"_s, 145},         {u"XPLabel7"_s, u"Знакомых OnLine -"_s, 181},
        {u"XPLabel16"_s, u"Приват в бою"_s, 298}, {u"XPLabel2"_s, u"Мини-карта"_s, 377},
        {u"XPLabel3"_s, u"Окно W2"_s, 486}};
    const QColor navy(0, 0, 128);
    for (const auto& [name, caption, left] : bar) {
        QLabel* l = label(name);
        QVERIFY2(l, qPrintable(name));
        QCOMPARE(l->text(), caption);
        QCOMPARE(l->x(), left);
        const QColor rest = l->palette().color(QPalette::WindowText);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(l, &enter);
        const bool separator = name == u"XPLabel15"_s;
        QCOMPARE(l->palette().color(QPalette::WindowText) == navy, !separator);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(l, &leave);
        QCOMPARE(l->palette().color(QPalette::WindowText), rest);
        QCOMPARE(l->cursor().shape(), separator ? Qt::ArrowCursor : Qt::PointingHandCursor);
    }

    // Every panel hidden at start, at its place and size.
    const QList<std::pair<QString, QRect>> panels = {
        {u"PanelFr"_s, {3, 25, 254, 200}},      {u"PanFrRed"_s, {3, 226, 254, 66}},
        {u"PanelMap"_s, {264, 26, 241, 231}},   {u"PanelNtr"_s, {131, 25, 214, 248}},
        {u"PanelAutor"_s, {288, 136, 241, 89}}, {u"AutorizePanel"_s, {304, 152, 185, 89}}};
    for (const auto& [name, rect] : panels) {
        QVERIFY2(panel(name), qPrintable(name));
        QCOMPARE(panel(name)->geometry(), rect);
        QVERIFY(!panel(name)->isVisible());
    }

    // "Фразы" loads the phrases before showing them; a phrase click hides the panel, and the
    // next click on the label shows it again.
    window.configList().setLine(48, u"Привет"_s);
    QTest::mouseClick(label(u"XPLabel6"_s), Qt::LeftButton);
    QVERIFY(panel(u"PanelFr"_s)->isVisible());
    QCOMPARE(window.phrases().phrase(1)->text(), u"Привет"_s);
    QTest::mouseClick(window.phrases().phrase(1), Qt::LeftButton);
    QVERIFY(!panel(u"PanelFr"_s)->isVisible());
    QTest::mouseClick(label(u"XPLabel6"_s), Qt::LeftButton);
    QVERIFY(panel(u"PanelFr"_s)->isVisible());
    QTest::mouseClick(window.phrases().XPButton41(), Qt::LeftButton);
    QVERIFY(!panel(u"PanelFr"_s)->isVisible());

    // The map: label, then "X", then the label again in one click.
    QTest::mouseClick(label(u"XPLabel2"_s), Qt::LeftButton);
    QVERIFY(panel(u"PanelMap"_s)->isVisible());
    QTest::mouseClick(window.findChild<QPushButton*>(u"XPButton44"_s), Qt::LeftButton);
    QVERIFY(!panel(u"PanelMap"_s)->isVisible());
    QTest::mouseClick(label(u"XPLabel2"_s), Qt::LeftButton);
    QVERIFY(panel(u"PanelMap"_s)->isVisible());

    // About: "X" closes it and one menu click opens it again; the menu item also closes it.
    QAction* about = window.findChild<QAction*>(u"N38"_s);
    about->trigger();
    QVERIFY(panel(u"PanelAutor"_s)->isVisible());
    QCOMPARE(label(u"StaticText57"_s)->text(), u"http://www.orvix.test/"_s);
    QTest::mouseClick(window.findChild<QPushButton*>(u"StaticText56"_s), Qt::LeftButton);
    QVERIFY(!panel(u"PanelAutor"_s)->isVisible());
    about->trigger();
    QVERIFY(panel(u"PanelAutor"_s)->isVisible());
    about->trigger();
    QVERIFY(!panel(u"PanelAutor"_s)->isVisible());

    // The site link hides the panel and brings W2 forward with the makers' site.
    TForm2 w2(profile());
    window.setSecondWindow(&w2);
    about->trigger();
    QSignalSpy w2Loads(w2.WebB2(), &Browser::BeforeNavigate2);
    QTest::mouseClick(label(u"StaticText57"_s), Qt::LeftButton);
    QVERIFY(!panel(u"PanelAutor"_s)->isVisible());
    QVERIFY(w2.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!w2Loads.isEmpty(), 5000);
    QCOMPARE(w2Loads.first().first().toString(), u"http://www.orvix.test/"_s);
    about->trigger();
    QVERIFY(panel(u"PanelAutor"_s)->isVisible());

    // The separator reacts to nothing.
    QTest::mouseClick(label(u"XPLabel15"_s), Qt::LeftButton);
    for (const auto& [name, rect] : panels)
        if (name != u"PanelMap"_s && name != u"PanelAutor"_s)
            QVERIFY2(!panel(name)->isVisible(), qPrintable(name));
}

void TestMainWindow::settingsSurviveARestart() {
    TempWorkDir dir; // a first run: no config.ex
    {
        RecordingAlerts alerts;
        TForm1 window(profile(), m_hosts, &alerts);
        window.show();
        SettingsPanel& s = window.settings();
        window.findChild<QAction*>(u"N34"_s)->trigger();
        QVERIFY(s.isVisible());
        s.Check1->setChecked(true);
        s.Check3->setChecked(true);
        s.XPCheckBox1->setChecked(true);
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(s.XPLabel11, Qt::LeftButton);
        QTest::mouseClick(s.XPLabel9, Qt::LeftButton);
        QCOMPARE(s.XPLabel10->text(), u"6"_s);
        s.RB[2]->setChecked(true);
        QTest::mouseClick(s.XPButton45, Qt::LeftButton);
        QVERIFY(!s.isVisible());
        QVERIFY(window.close());
    }
    RecordingAlerts alerts;
    TForm1 window(profile(), m_hosts, &alerts);
    QVERIFY(alerts.warnings.isEmpty());
    SettingsPanel& s = window.settings();
    QVERIFY(s.Check1->isChecked());
    QVERIFY(!s.Check2->isChecked());
    QVERIFY(s.Check3->isChecked());
    QVERIFY(s.XPCheckBox1->isChecked());
    QCOMPARE(s.XPLabel10->text(), u"6"_s);
    QVERIFY(s.RB[2]->isChecked());
    QVERIFY(window.TimerEsc().isActive());
    QVERIFY(!s.isVisibleTo(&window));
}

ORVIX_ENGINE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
