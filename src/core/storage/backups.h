#pragma once
// Backups of a collection file, kept just before the file is saved again.
//
// The newest backup is NAME.bak (NAME being the whole file name: "snippets.xml.bak").
// With count > 1 the older ones follow as NAME.bak.1 (the one before), NAME.bak.2, ...
// up to NAME.bak.<count - 1>; each backup moves one number up and the oldest is removed.
// Backups lie beside the file; when its folder takes no new file (read-only), they go
// into fallbackDir under the same names.

#include <QString>

namespace tw {

// The name of a backup: generation 0 is NAME.bak, generation k NAME.bak.k.
QString backupName(const QString& fileName, int generation);

// Keeps the file's present content as its newest backup. Does nothing and returns true
// for count <= 0 or when the file does not exist. False when no backup could be written
// in either folder (the older backups are then left as they were).
bool keepBackups(const QString& fileName, int count, const QString& fallbackDir);

} // namespace tw
