#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeVbScript() {
    LanguageRules r;
    r.name = QStringLiteral("MS VBScript");
    r.filter = QStringLiteral("VBScript Files (*.vbs)|*.vbs");
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
    r.words = {{{"dim", "set", "if", "then", "else", "end", "sub", "function", "for", "next", "msgbox"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
