#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

std::unique_ptr<Highlighter> makeAsm() {
    LanguageRules r;
    r.name = QStringLiteral("x86 Assembly");
    r.filter = QStringLiteral("x86 Assembly Files (*.asm)|*.asm");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {";"};
    r.strings = {{"\"", "\"", "String"}, {"'", "'", "String"}};
    r.hexPrefixes = {"0x"};
    r.numberSuffixes = "hHbB";
    r.words = {{{"mov", "xor", "int", "push", "pop", "add", "sub", "jmp", "call", "ret", "eax", "ebx", "ecx", "edx"}, "Reserved Word"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
