#pragma once
// The applications list: entries of a description and an object (a program, document,
// folder or address the desktop can open), kept in section [Files] of Settings.ini as
// count, D0/F0, D1/F1, ...

#include "app/ini_file.h"

#include <QString>
#include <vector>

namespace tw {

struct AppEntry {
    QString description;
    QString object;
    bool operator==(const AppEntry&) const = default;
};

// Entries 0 .. count-1 whose D and F values are both non-empty, in index order; a pair
// with an empty half is skipped and leaves no gap. Only keys present in the file are
// visited, so a huge count costs nothing.
std::vector<AppEntry> readApplicationList(const IniFile& ini);
// count, then D i and F i of every entry. Keys of an earlier, longer list stay in the
// file; count keeps them from being read.
void writeApplicationList(IniFile& ini, const std::vector<AppEntry>& entries);

// A value as written to the file: line breaks become blanks (they would start new lines
// of the file), and a value with blanks at either end or in double quotes is put in double
// quotes so that its blanks survive the reading.
QString encodeEntryText(const QString& text);
// The value as read: one pair of enclosing double quotes removed.
QString decodeEntryText(const QString& value);

// True when the text holds only characters of code 32 or less (the test of the input boxes).
bool isBlankEntryText(const QString& text);

// Where a new entry's item goes in a menu of itemCount items whose last two items are a
// separator and "Редактировать список": at 0 in a menu of one item, otherwise just
// before those two.
int entryMenuPosition(int itemCount);

} // namespace tw
