#include "app/mainwindow.h"
#include "app/options.h"
#include "browser/browser.h"
#include "w2/form2.h"

#include <QApplication>
#include <QNetworkProxy>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    const bool rootSandboxOff = orvix::PrepareEngineForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"orvix-dazu"_s);
    QApplication::setApplicationDisplayName(u"Orvix - Dazu"_s);
    QApplication::setQuitOnLastWindowClosed(false);

    const orvix::Options options =
        orvix::Options::Parse(QApplication::arguments(), qEnvironmentVariable("ORVIX_PROXY"),
                              qEnvironmentVariable("ORVIX_HOSTS"));
    for (const QString& problem : options.problems)
        std::fprintf(stderr, "orvix-dazu: %s\n", qPrintable(problem));
    if (options.proxyPort)
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, options.proxyHost, options.proxyPort));

    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);

    orvix::TForm1 window(profile, options.hosts);
    orvix::TForm2 w2(profile);
    window.setSecondWindow(&w2);
    const QString sandboxNote = u"Запуск от root: песочница браузера отключена"_s;
    if (rootSandboxOff) {
        std::fprintf(stderr, "orvix-dazu: running as root, the browser engine's sandbox is off\n");
        window.log().LogError(sandboxNote);
    }
    if (qEnvironmentVariableIsSet("ORVIX_REPORT_FIRST_LOAD")) {
        // For the start-up benchmark: one line when the first game page is in.
        auto* once = new QObject(&window);
        QObject::connect(&window.WebB(), &orvix::Browser::DocumentComplete, once, [once] {
            std::fprintf(stderr, "first-page-loaded\n");
            std::fflush(stderr);
            delete once;
        });
    }
    window.show();
    window.ShowEntryPage();
    return QApplication::exec();
}
