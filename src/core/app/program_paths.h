#pragma once
// Where the program keeps its files.

#include <QString>

namespace tw {

struct ProgramPaths {
    QString settingsFile;  // Settings.ini
    QString programsDir;   // the applications folder "programs"
    QString helpFile;      // Help.chm

    // Beside the executable. Settings.ini moves to the user's configuration folder when
    // the executable's folder cannot be written (an installed program).
    static ProgramPaths standard();
    // Everything inside one folder (tests, portable use).
    static ProgramPaths inFolder(const QString& folder);
};

} // namespace tw
