#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeJavaScript() {
    LanguageRules r;
    r.name = QStringLiteral("JavaScript");
    r.filter = QStringLiteral("Javascript Files (*.js)|*.js");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Event"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Non-reserved Keyword"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.lineComments = {"//"};
    r.blocks = {{"/*", "*/", "Comment"}};
    r.strings = {{"\"", "\"", "String", '\\'}, {"'", "'", "String", '\\'}};
    r.hexPrefixes = {"0x"};
    r.identifierStart = "_$";
    r.identifierPart = "_$";
    r.words = {{{"function", "var", "if", "else", "for", "while", "return", "new", "this", "true", "false", "null"}, "Reserved Word"}, {{"alert", "document", "window"}, "Non-reserved Keyword"}, {{"onclick", "onload"}, "Event"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
