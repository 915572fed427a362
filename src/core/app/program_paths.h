#pragma once
// Where the program keeps its files.

#include <QString>

namespace tw {

struct ProgramPaths {
    QString settingsFile;  // Settings.ini
    QString programsDir;   // the applications folder "programs"
    QString helpFile;      // Help.chm
    QString keysFile;      // keys.dat, the hotkey table, beside the settings file
    // The per-user folder of the lock files that hold the registered key combinations;
    // a second running copy finds them taken.
    QString hotkeyLocks;

    // Beside the executable. Settings.ini moves to the user's configuration folder when
    // the executable's folder cannot be written (an installed program).
    static ProgramPaths standard();
    // Everything inside one folder (tests, portable use); the key locks in a temporary
    // folder named after it.
    static ProgramPaths inFolder(const QString& folder);
};

} // namespace tw
