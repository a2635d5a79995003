// Prints the time to capture a 500 KB page in the old text form (snapshot in the page, decode,
// serialise) beside the engine's own outerHTML round trip on the same page. Figures only.
#include "app/options.h"
#include "browser/webenginebrowser.h"
#include "core/alerts.h"
#include "core/diagnosticlog.h"
#include "core/domtree.h"
#include "core/pagetext.h"
#include "session/pagecapture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvix;

namespace {

class QuietAlerts final : public Alerts {
public:
    void message(const QString&) override {}
    void warning(const QString&) override {}
};

// A game-like page: nested tables, links with queries, comments, Cyrillic text.
QByteArray bigPage(qsizetype bytes) {
    QByteArray html = "<html><head><meta charset=\"utf-8\"><title>Инвентарь</title></head>\n"
                      "<body bgcolor=\"#EEEEEE\">\n<table width=\"100%\" border=0>\n";
    for (int k = 0; html.size() < bytes; ++k)
        html += QStringLiteral("<tr><!--Шапка-->\n  <td width=80 valign=TOP nowrap><a "
                               "href=\"main.pl?set=item%1&n=%1&tmp=1\">надеть</a>\n  <td><a "
                               "href=\"/encicl/object/item%1.html\" target=\"_blank\">Вещь "
                               "№%1</a> (масса: 3)<br>\n   <font color=\"#555555\">Слот: "
                               "Шапка &amp; кольцо</font><br>\n")
                    .arg(k)
                    .toUtf8();
    return html + "</table>\n</body></html>\n";
}

double median(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    PrepareEngineForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("page.html")));
    const QByteArray html = bigPage(500 * 1024);
    if (!f.open(QIODevice::WriteOnly) || f.write(html) != html.size())
        return 2;
    f.close();

    WebEngineBrowser browser(QWebEngineProfile::defaultProfile(),
                             WebEngineBrowser::Visibility::Hidden);
    {
        QEventLoop wait;
        QObject::connect(&browser, &Browser::DocumentComplete, &wait, &QEventLoop::quit);
        browser.Navigate(QString::fromLatin1(QUrl::fromLocalFile(f.fileName()).toEncoded()));
        wait.exec();
    }
    QuietAlerts alerts;
    DiagnosticLog log(alerts);
    PageBuffer buffer;
    std::vector<double> outer, capture;
    qsizetype outerSize = 0, captureSize = 0;
    QString outerHtml;
    std::vector<double> parse, write;
    const int rounds = 21;
    for (int i = 0; i < rounds; ++i) {
        QEventLoop wait;
        QElapsedTimer t;
        t.start();
        browser.page()->runJavaScript(
            QStringLiteral("document.documentElement.outerHTML"), QWebEngineScript::ApplicationWorld,
            [&](const QVariant& v) {
                outerHtml = v.toString();
                outerSize = outerHtml.size();
                wait.quit();
            });
        wait.exec();
        outer.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        CapturePageHtml(browser, buffer, log, [&](const QString& text) {
            captureSize = text.size();
            wait.quit();
        });
        wait.exec();
        capture.push_back(double(t.nsecsElapsed()) / 1e6);

        // The program's own share of it, without the engine.
        t.restart();
        const auto tree = ParseSerializedHtml(QStringLiteral("HTML"), outerHtml);
        parse.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        const QString text = CapturedPageText(*tree);
        write.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double o = median(outer), c = median(capture);
    std::printf("page capture, %lld KB source, median of %d runs:\n",
                static_cast<long long>(html.size() / 1024), rounds);
    std::printf("  engine outerHTML round trip: %7.2f ms (%lld characters)\n", o,
                static_cast<long long>(outerSize));
    std::printf("  old-form capture:            %7.2f ms (%lld characters)\n", c,
                static_cast<long long>(captureSize));
    std::printf("    of which reading the serialisation: %6.2f ms, writing the old form: %6.2f ms\n",
                median(parse), median(write));
    std::printf("  ratio: %.2fx (goal: at most 1.50x)\n", c / o);
    return log.lines().isEmpty() ? 0 : 1;
}
