#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makePhp() {
    LanguageRules r;
    r.name = QStringLiteral("PHP");
    r.filter = QStringLiteral("PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"//", "#"};
    r.blocks = {{"/*", "*/", "Comment"}};
    r.strings = {{"\"", "\"", "String", '\\', false, true}, {"'", "'", "String", '\\', false, true}};
    r.hexPrefixes = {"0x"};
    r.variablePrefixes = "$";
    r.words = {{{"function", "echo", "if", "else", "foreach", "as", "return", "array", "class", "new", "while", "for"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
