#pragma once
// The applications folder "programs" beside the executable: every program in it gets an
// item of the "Приложения" menu.

#include <QString>
#include <vector>

namespace tw {

struct ProgramFile {
    QString caption;  // the menu caption
    QString path;     // the file to start
};

// The programs of a folder: its regular files with the execute bit (and links to such
// files), sorted by name; folders are neither listed nor searched. A missing folder has none.
std::vector<ProgramFile> findPrograms(const QString& folder);

// A program's caption: its file name up to the first "." ("a.b.exe" gives "a"); the
// whole name when that would leave nothing (".hidden").
QString programCaption(const QString& fileName);

} // namespace tw
