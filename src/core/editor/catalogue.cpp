#include "editor/catalogue.h"

#include "editor/languages/languages.h"

#include <algorithm>

namespace tw {

const std::array<LanguageEntry, kLanguageCount>& languageCatalogue() {
    static const std::array<LanguageEntry, kLanguageCount> entries = {{
        {"Object Pascal", "Object Pascal"},
        {"C/C++", "C/C++"},
        {"Fortran", "Fortran"},
        {"Java", "Java"},
        {"Visual Basic", "Visual Basic"},
        {"COBOL", "Cobol"},
        {"C#", "C#"},
        {"Cascading Style Sheet", "CSS"},
        {"HTML", "HTML"},
        {"JavaScript", "JScript"},
        {"PHP", "PHP"},
        {"Perl", "Perl"},
        {"x86 Assembly", "x86 Assembly"},
        {"MS VBScript", "MS VBScript"},
        {"SQL", "SQL"},
    }};
    return entries;
}

std::unique_ptr<Highlighter> makeHighlighter(int position) {
    using Factory = std::unique_ptr<Highlighter> (*)();
    static const Factory factories[kLanguageCount] = {
        languages::makePascal, languages::makeCpp,   languages::makeFortran, languages::makeJava,
        languages::makeVisualBasic, languages::makeCobol, languages::makeCSharp, languages::makeCss,
        languages::makeHtml,   languages::makeJavaScript, languages::makePhp, languages::makePerl,
        languages::makeAsm,    languages::makeVbScript, languages::makeSql};
    if (position < 0 || position >= kLanguageCount) position = 0;
    return factories[position]();
}

HighlighterSet::HighlighterSet() {
    for (int p = 0; p < kLanguageCount; ++p) byPosition_.push_back(makeHighlighter(p));
    for (const auto& h : byPosition_) sorted_.push_back(h.get());
    std::sort(sorted_.begin(), sorted_.end(), [](const Highlighter* a, const Highlighter* b) {
        return a->languageName().compare(b->languageName(), Qt::CaseInsensitive) < 0;
    });
}

Highlighter& HighlighterSet::byPosition(int p) const {
    if (p < 0 || p >= kLanguageCount) p = 0;
    return *byPosition_[static_cast<size_t>(p)];
}

int HighlighterSet::positionOfName(const QString& name) {
    const auto& entries = languageCatalogue();
    for (int p = 0; p < kLanguageCount; ++p)
        if (name == QLatin1String(entries[static_cast<size_t>(p)].name)) return p;
    return 0;
}

Highlighter* HighlighterSet::forExtension(const QString& extension) const {
    const QString ext = extension.toLower();
    if (ext.isEmpty()) return nullptr;
    for (Highlighter* h : sorted_) {
        QString patterns = h->defaultFilter().toLower();
        const qsizetype bar = patterns.indexOf(u'|');
        if (bar >= 0) patterns = patterns.mid(bar + 1);
        // Only the first occurrence counts, and only when a pattern ends there.
        const qsizetype at = patterns.indexOf(ext);
        if (at < 0) continue;
        const qsizetype after = at + ext.size();
        if (after == patterns.size() || patterns[after] == u';') return h;
    }
    return nullptr;
}

int HighlighterSet::languageNumberForFile(const QString& fileName) const {
    const Highlighter* h = forExtension(fileExtension(fileName));
    return h ? positionOfName(h->languageName()) + 1 : 1;
}

QString fileExtension(const QString& fileName) {
    qsizetype start = 0;
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        if (fileName[i] == u'/' || fileName[i] == u'\\' || fileName[i] == u':') {
            start = i + 1;
            break;
        }
    }
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot >= start ? fileName.mid(dot) : QString();
}

} // namespace tw
