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
    // The start page of the user guide in HTML (its pictures lie beside it).
    QString helpGuide;
    // Where unsaved changes are written, to be offered back after a crash.
    QString recoveryDir;

    // Beside the executable while its folder can be written (portable use); otherwise
    // (an installed program) Settings.ini, keys.dat and programs/ live in the user's
    // configuration folder, created here. The guide is the one beside the program or
    // the installed one in ../share/tarnwick/help.
    static ProgramPaths standard();
    // The choice standard() makes, for a program in `programDir` whose folder is
    // `portable` (writable and not an installed copy), with `configDir` the user's
    // configuration folder. Creates nothing.
    static ProgramPaths choose(const QString& programDir, bool portable, const QString& configDir);
    // Whether a program in `programDir` keeps its settings beside itself: the folder (or
    // the Settings.ini already there) can be written and it is not an installed copy,
    // which has its data in ../share/tarnwick (root can write /usr/bin, yet an installed
    // program must not keep settings there).
    static bool isPortable(const QString& programDir);
    // Everything inside one folder (tests, portable use); the key locks in a temporary
    // folder named after it.
    static ProgramPaths inFolder(const QString& folder);
};

} // namespace tw
