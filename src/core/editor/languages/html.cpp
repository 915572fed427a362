#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeHtml() {
    LanguageRules r;
    r.name = QStringLiteral("HTML");
    r.filter = QStringLiteral("HTML Documents (*.htm;*.html)|*.htm;*.html");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Escape Ampersand"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Text"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Unknown Word"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Value"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.blocks = {{"<!--", "-->", "Comment"}};
    r.identifierAttribute = "Text";
    r.numberAttribute = "Text";
    r.symbols = "<>/=";
    r.illegalAttribute = "Text";
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
