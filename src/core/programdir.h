#pragma once

#include <QString>

namespace orvix {

// The folder of every file the program keeps: the process's current directory, looked up anew
// on every call (a shortcut's working folder wins over the executable's folder). Native
// separators, no trailing separator except for a root.
QString ProgramDirectory();

// The program directory joined with a bare file name ("config.ex") by the platform's separator.
QString ProgramFile(const QString& name);

} // namespace orvix
