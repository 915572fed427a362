#pragma once
// The foreground colours of every attribute of every language, kept in Settings.ini:
// one section per language name, one key per attribute name, the colour as a signed
// decimal integer (536870911 = none).

#include "app/ini_file.h"
#include "editor/catalogue.h"

namespace tw {

// Every attribute of every language takes its colour from the file (none when absent).
void loadSchemeColours(const IniFile& ini, const HighlighterSet& set);
// Writes one key per attribute, languages in the order of the highlighter list.
void saveSchemeColours(IniFile& ini, const HighlighterSet& set);

} // namespace tw
