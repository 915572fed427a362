#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeCss() {
    LanguageRules r;
    r.name = QStringLiteral("Cascading Style Sheet");
    r.filter = QStringLiteral("Cascading Stylesheets (*.css)|*.css");
    r.attributes = {{QStringLiteral("Color Value"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Text"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Value"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.blocks = {{"/*", "*/", "Comment"}};
    r.strings = {{"\"", "\"", "String", '\\'}, {"'", "'", "String", '\\'}};
    r.identifierAttribute = "Text";
    r.identifierPart = "_-";
    r.words = {{{"color", "background", "font", "margin", "padding", "border", "width", "height", "display"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
