#pragma once

#include "app/options.h"

#include <QApplication>
#include <QTest>

// Qt WebEngine wants its switches set before the application exists.
#define ORVIX_ENGINE_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char* argv[]) {                                                             \
        orvix::PrepareEngineForRoot();                                                             \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        app.setQuitOnLastWindowClosed(false);                                                      \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
