#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeJava() {
    LanguageRules r;
    r.name = QStringLiteral("Java");
    r.filter = QStringLiteral("Java Files (*.java)|*.java");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Documentation"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Invalid Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.lineComments = {"//"};
    r.blocks = {{"/**", "*/", "Documentation"}, {"/*", "*/", "Comment"}};
    r.strings = {{"\"", "\"", "String", '\\'}, {"'", "'", "String", '\\'}};
    r.hexPrefixes = {"0x"};
    r.numberSuffixes = "lLfFdD";
    r.illegalAttribute = "Invalid Symbol";
    r.identifierStart = "_$";
    r.identifierPart = "_$";
    r.symbols = "!%&()*+,-./:;<=>?@[]^{|}~";
    r.words = {{{"class", "public", "private", "protected", "static", "void", "int", "if", "else", "for", "while", "return", "new", "import", "package", "extends", "implements"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
