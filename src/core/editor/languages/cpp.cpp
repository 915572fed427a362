#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeCpp() {
    LanguageRules r;
    r.name = QStringLiteral("C/C++");
    r.filter = QStringLiteral("C/C++ Files (*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Character"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Float"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Hexadecimal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Octal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.lineComments = {"//"};
    r.blocks = {{"/*", "*/", "Comment"}, {"#", "", "Preprocessor", false, true}};
    r.strings = {{"\"", "\"", "String", '\\'}, {"'", "'", "Character", '\\'}};
    r.hexPrefixes = {"0x"};
    r.numberSuffixes = "uUlLfF";
    r.floatAttribute = "Float";
    r.hexAttribute = "Hexadecimal";
    r.octalAttribute = "Octal";
    r.illegalAttribute = "Illegal Char";
    r.symbols = "!%&()*+,-./:;<=>?[]^{|}~";
    r.words = {{{"int", "char", "void", "if", "else", "for", "while", "do", "return", "struct", "class", "const", "static", "switch", "case", "break", "continue", "typedef", "unsigned", "long", "short", "double", "float", "namespace", "template", "public", "private", "protected"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
