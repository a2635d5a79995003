// The floor for this engine: one QWebEngineView loading one page through the same proxy.
#include <QApplication>
#include <QNetworkProxy>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: minimal_view PROXYPORT URL\n");
        return 2;
    }
    QNetworkProxy::setApplicationProxy(QNetworkProxy(
        QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), quint16(args[1].toUInt())));
    QWebEngineView view;
    bool reported = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&reported] {
        if (!reported) {
            reported = true;
            std::fprintf(stderr, "first-page-loaded\n");
            std::fflush(stderr);
        }
    });
    view.resize(602, 537);
    view.show();
    view.load(QUrl(args[2]));
    return QApplication::exec();
}
