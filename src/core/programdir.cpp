#include "core/programdir.h"

#include <QDir>

namespace orvix {

QString ProgramDirectory() {
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString ProgramFile(const QString& name) {
    QString dir = ProgramDirectory();
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return dir + name;
}

} // namespace orvix
