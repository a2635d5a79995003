#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvix-dazu"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvix - Dazu"));
    orvix::TForm1 window;
    window.show();
    return QApplication::exec();
}
