#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeFortran() {
    LanguageRules r;
    r.name = QStringLiteral("Fortran");
    r.filter = QStringLiteral("Fortran Files (*.for)|*.for");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"!"};
    r.strings = {{"'", "'", "String", 0, true}, {"\"", "\"", "String", 0, true}};
    r.words = {{{"program", "end", "do", "if", "then", "else", "call", "subroutine", "function", "integer", "real", "return", "continue", "goto", "write", "read", "print", "stop"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
