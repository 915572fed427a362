#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makePerl() {
    LanguageRules r;
    r.name = QStringLiteral("Perl");
    r.filter = QStringLiteral("Perl Files (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Operator"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Pragma"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    r.lineComments = {"#"};
    r.strings = {{"\"", "\"", "String", '\\', false, true}, {"'", "'", "String", '\\', false, true}};
    r.hexPrefixes = {"0x"};
    r.variablePrefixes = "$@%";
    r.illegalAttribute = "Illegal Char";
    r.words = {{{"my", "sub", "if", "else", "elsif", "foreach", "while", "return", "print", "use", "split"}, "Reserved Word"}, {{"strict", "warnings"}, "Pragma"}, {{"eq", "ne", "lt", "gt", "and", "or", "not"}, "Operator"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
