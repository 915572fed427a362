#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeCSharp() {
    LanguageRules r;
    r.name = QStringLiteral("C#");
    r.filter = QStringLiteral("C# Files (*.cs)|*.cs");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.lineComments = {"//"};
    r.blocks = {{"/*", "*/", "Comment"}, {"#", "", "Preprocessor", false, true}};
    r.strings = {{"@\"", "\"", "String", 0, true, true}, {"\"", "\"", "String", '\\'}, {"'", "'", "String", '\\'}};
    r.hexPrefixes = {"0x"};
    r.illegalAttribute = "Illegal Char";
    r.symbols = "!%&()*+,-./:;<=>?[]^{|}~";
    r.words = {{{"using", "namespace", "class", "public", "private", "static", "void", "int", "string", "if", "else", "for", "foreach", "while", "return", "new"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
