#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Makes a fresh temporary folder the current directory, the program directory, for one test.
class TempWorkDir {
public:
    TempWorkDir() : m_old(QDir::currentPath()) {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }
    ~TempWorkDir() { QDir::setCurrent(m_old); }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QString m_old;
    QTemporaryDir m_dir;
};
