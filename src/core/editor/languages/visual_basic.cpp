#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeVisualBasic() {
    LanguageRules r;
    r.name = QStringLiteral("Visual Basic");
    r.filter = QStringLiteral("Visual Basic Files (*.bas)|*.bas");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"'", "rem "};
    r.strings = {{"\"", "\"", "String", 0, true}};
    r.hexPrefixes = {"&h"};
    r.words = {{{"sub", "end", "dim", "as", "integer", "string", "if", "then", "else", "for", "to", "next", "function", "private", "public", "do", "loop", "while"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
