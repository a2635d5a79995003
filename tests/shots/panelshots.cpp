// Runs the program's windows against the local world and saves one picture per panel, so
// layout and captions can be looked at. Not a test: it asserts nothing.
#include "actions/mappanel.h"
#include "actions/phrasespanel.h"
#include "app/mainwindow.h"
#include "app/options.h"
#include "app/settingspanel.h"
#include "core/configstore.h"
#include "core/cp1251.h"
#include "session/accounts.h"
#include "w2/form2.h"

#include "worldprocess.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <cstdio>
#include <functional>

using namespace orvix;
using namespace Qt::StringLiterals;

namespace {

void settle(int ms = 400) {
    QTest::qWait(ms);
}

bool save(QWidget& window, const QString& folder, const QString& name) {
    settle();
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    const QString file = QDir(folder).filePath(name + u".png"_s);
    const bool ok = shot.save(file);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(file));
    return ok;
}

QWidget* child(QWidget& window, const QString& name) {
    return window.findChild<QWidget*>(name);
}

void click(QWidget* widget) {
    if (widget)
        QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareEngineForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"shots"_s;
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 2;
    }

    WorldProcess world;
    if (!world.start()) {
        std::fprintf(stderr, "tarvo-world did not start\n");
        return 1;
    }
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, u"127.0.0.1"_s, world.port()));

    QTemporaryDir home;
    QDir::setCurrent(home.path());
    ConfigList seed;
    seed.setLine(0, u"Вася"_s);
    seed.setLine(1, u"vasya"_s);
    seed.setLine(2, u"Тестер"_s);
    seed.setLine(3, u"test123"_s);
    const QStringList phrases = {u"Всем привет!"_s, u"Кто в бой?"_s, u"Ищу пару на хаот"_s,
                                 u"Спасибо за бой"_s, u"Удачи!"_s};
    for (int i = 0; i < phrases.size(); ++i)
        seed.setLine(48 + i, phrases[i]);
    seed.setLine(58, u"Navy"_s);
    QFile config(u"config.ex"_s);
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(ConfigStore::EncodeFile(cp1251::encode(seed.text()))) < 0)
        return 2;
    config.close();

    Hosts hosts;
    TForm1 window(QWebEngineProfile::defaultProfile(), hosts);
    TForm2 w2(QWebEngineProfile::defaultProfile());
    window.setSecondWindow(&w2);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the main window was never shown\n");
    {
        QSignalSpy loaded(&window.WebB(), &Browser::DocumentComplete);
        window.accounts().LoginSaved(1);
        loaded.wait(15000);
        settle(1500);
    }

    const QList<std::pair<QString, std::function<void()>>> shots = {
        {u"main-window"_s, [] {}},
        {u"mini-map"_s, [&] { click(child(window, u"XPLabel2"_s)); }},
        {u"mini-map-beginners"_s,
         [&] {
             click(child(window, u"XPLabel2"_s));
             click(child(window, u"XPButton5"_s));
         }},
        {u"phrases-and-editor"_s,
         [&] {
             click(child(window, u"XPLabel6"_s));
             window.phrases().SelectPhrase(50);
             QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                    window.phrases().phrase(3)->mapToGlobal(QPoint(2, 2)));
             QCoreApplication::sendEvent(window.phrases().phrase(3), &menu);
         }},
        {u"backpack"_s,
         [&] {
             click(child(window, u"XPLabel13"_s));
             settle(2500);
         }},
        {u"take-off"_s, [&] { click(child(window, u"XPLabel5"_s)); }},
        {u"settings"_s, [&] { window.findChild<QAction*>(u"N34"_s)->trigger(); }},
        {u"login"_s, [&] { window.findChild<QAction*>(u"N2"_s)->trigger(); }},
        {u"about"_s, [&] { window.findChild<QAction*>(u"N38"_s)->trigger(); }},
    };
    bool allSaved = true;
    for (const auto& [name, open] : shots) {
        open();
        allSaved &= save(window, out, name);
        for (auto* panel : window.findChildren<FloatingPanel*>())
            if (!panel->isHidden() && !panel->hiddenFlag())
                panel->Toggle();
        for (auto* panel : window.findChildren<FloatingPanel*>())
            panel->hide();
    }
    return allSaved ? 0 : 1;
}
