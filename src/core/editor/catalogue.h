#pragma once
// The fixed catalogue of fifteen languages and the highlighters that colour them.
// A node's language number is its catalogue position + 1 (0: none).

#include "editor/highlighter.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace tw {

inline constexpr int kLanguageCount = 15;

struct LanguageEntry {
    const char* name;         // the name the highlighter reports, also its settings section
    const char* menuCaption;  // the caption of the language menu item
};

const std::array<LanguageEntry, kLanguageCount>& languageCatalogue();

// A new highlighter for a catalogue position (0..14).
std::unique_ptr<Highlighter> makeHighlighter(int position);

// The fifteen highlighters of the program, by catalogue position and in the sorted list
// that the extension lookup and the colour-scheme dialog share.
class HighlighterSet {
public:
    HighlighterSet();

    // The highlighter of position p; any p outside 0..14 gives "Object Pascal".
    Highlighter& byPosition(int p) const;
    // Sorted by language name ignoring case: "C#", "C/C++", ... "x86 Assembly".
    const std::vector<Highlighter*>& list() const { return sorted_; }
    // The catalogue position of a language name (exact, case-sensitive); 0 for any other text.
    static int positionOfName(const QString& name);
    // The highlighter whose default filter lists the extension (".pas", dot included,
    // any letter case); nullptr when none does or the extension is empty.
    Highlighter* forExtension(const QString& extension) const;
    // The language number for a file by its extension: the matching language + 1, or 1 when none matches.
    int languageNumberForFile(const QString& fileName) const;

private:
    std::vector<std::unique_ptr<Highlighter>> byPosition_;
    std::vector<Highlighter*> sorted_;
};

// The extension of a file name: from the last dot of its last component, dot included.
QString fileExtension(const QString& fileName);

} // namespace tw
