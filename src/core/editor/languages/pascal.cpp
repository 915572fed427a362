#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makePascal() {
    LanguageRules r;
    r.name = QStringLiteral("Object Pascal");
    r.filter = QStringLiteral("Pascal Files (*.pas;*.pp;*.dpr;*.dpk;*.inc)|*.pas;*.pp;*.dpr;*.dpk;*.inc");
    r.attributes = {{QStringLiteral("Assembler"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Character"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Float"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Hexadecimal"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Preprocessor"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"//"};
    r.blocks = {{"{$", "}", "Preprocessor"}, {"(*$", "*)", "Preprocessor"}, {"{", "}", "Comment"}, {"(*", "*)", "Comment"}};
    r.strings = {{"'", "'", "String", 0, true}};
    r.hexPrefixes = {"$"};
    r.floatAttribute = "Float";
    r.hexAttribute = "Hexadecimal";
    r.words = {{{"begin", "end", "procedure", "function", "var", "const", "type", "program", "unit", "uses", "if", "then", "else", "while", "do", "for", "to", "repeat", "until", "with", "case", "of", "record", "class", "interface", "implementation", "array", "string", "nil", "and", "or", "not", "div", "mod"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
