#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeCobol() {
    LanguageRules r;
    r.name = QStringLiteral("COBOL");
    r.filter = QStringLiteral("COBOL Files (*.cbl;*.cob)|*.cbl;*.cob");
    r.attributes = {{QStringLiteral("Area A Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Boolean value"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Debugging Lines"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Indicator Area"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Sequence Number Area"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Tag Area"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.strings = {{"\"", "\"", "String", 0, true}, {"'", "'", "String", 0, true}};
    r.symbolAttribute = "Identifier";
    r.identifierPart = "_-";
    r.words = {{{"identification", "division", "program-id", "procedure", "display", "move", "to", "perform", "stop", "run"}, "Reserved Word"}, {{"true", "false"}, "Boolean value"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
