#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;
using scan::isAlnum;

namespace {

// Inside a COMMENT directive's text: kCommentBase + the delimiter byte.
constexpr int kCommentBase = 2000;

// Whether every byte of s (lower-cased) is in the digit set.
bool allIn(std::string_view s, std::string_view digits) {
    if (s.empty()) return false;
    for (char c : s)
        if (digits.find(c) == std::string_view::npos) return false;
    return true;
}

// A numeric constant: decimal, 0FFh / 0x1F hexadecimal, 1010b / 0b1010 binary, 17o / 17q octal,
// 10d / 10t decimal, reals such as 1.5 and 2.0e10.
bool isNumber(std::string_view lower) {
    constexpr std::string_view dec = "0123456789", hex = "0123456789abcdef", oct = "01234567", bin = "01";
    if (lower.size() > 2 && lower[0] == '0' && lower[1] == 'x') return allIn(lower.substr(2), hex);
    if (lower.size() > 2 && lower[0] == '0' && lower[1] == 'b' && allIn(lower.substr(2), bin)) return true;
    if (allIn(lower, dec)) return true;
    const std::string_view body = lower.substr(0, lower.size() - 1);
    switch (lower.back()) {
    case 'h':
        return allIn(body, hex);
    case 'b':
    case 'y':
        return allIn(body, bin);
    case 'o':
    case 'q':
        return allIn(body, oct);
    case 'd':
    case 't':
        return allIn(body, dec);
    default:
        return false;
    }
}

// Macro-processor directives written after a percent sign: %define, %macro ...
bool isPercentDirective(std::string_view lower) {
    for (std::string_view w :
         {"assign", "define", "elif",  "else",    "endif",  "endmacro", "endrep",  "error",   "idefine",
          "if",     "ifdef",  "ifidn", "ifmacro", "ifndef", "imacro",   "include", "line",    "macro",
          "out",    "pop",    "push",  "rep",     "repl",   "rotate",   "undef",   "warning", "xdefine"})
        if (lower == w) return true;
    return false;
}

class AsmHighlighter final : public RuleHighlighter {
public:
    using RuleHighlighter::RuleHighlighter;

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        if (state >= kCommentBase && state < kCommentBase + 256) {
            // The line that holds the closing delimiter is comment text to its end.
            const char delimiter = static_cast<char>(state - kCommentBase);
            if (line.find(delimiter) != std::string_view::npos) state = 0;
            push(out, 0, line.size(), comment_);
            return;
        }
        state = 0;
        size_t pos = 0;
        while (pos < line.size())
            pos = scan(line, pos, state, out);
    }

private:
    size_t word(std::string_view line, size_t pos) const {
        size_t i = pos;
        while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
            ++i;
        return i;
    }

    size_t scan(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        if (isDigit(c)) return number(line, pos, out);
        if (c == '.' && pos + 1 < line.size() &&
            isIdentifierPart(static_cast<unsigned char>(line[pos + 1]))) {
            // .model, .386p, .data? are directives; .label is a local label or a field name.
            const size_t end = word(line, pos + 1);
            const int attr = wordAttribute(line.substr(pos, end - pos));
            if (attr < 0 && isDigit(line[pos + 1]))
                return scanOne(line, pos, state, out); // "." then a number
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            return end;
        }
        if (c == '%' && pos + 1 < line.size() &&
            isIdentifierStart(static_cast<unsigned char>(line[pos + 1]))) {
            const size_t end = word(line, pos + 1);
            if (isPercentDirective(asciiLower(line.substr(pos + 1, end - pos - 1)))) {
                push(out, pos, end, reserved_);
                return end;
            }
        }
        if (isIdentifierStart(static_cast<unsigned char>(c))) {
            const size_t end = word(line, pos);
            if (line.substr(pos, end - pos).find_first_not_of("$?") == std::string_view::npos) {
                // $ is the location counter, ? an undefined value: each is a symbol of its own,
                // all of the run at once (a name read again from each of them would be quadratic).
                for (size_t i = pos; i < end; ++i)
                    push(out, i, i + 1, symbol_);
                return end;
            }
            const std::string lower = asciiLower(line.substr(pos, end - pos));
            const int attr = wordAttribute(lower);
            push(out, pos, end, attr >= 0 ? attr : identifier_);
            if (lower == "comment") return commentDirective(line, end, state, out);
            return end;
        }
        return scanOne(line, pos, state, out); // blanks, ; comments, strings, symbols
    }

    // COMMENT delimiter text ... delimiter: everything up to the line that holds the second
    // delimiter is comment.
    size_t commentDirective(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        size_t i = pos;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == pos || i >= line.size()) return pos; // not followed by a delimiter: an ordinary word
        push(out, pos, i, space_);
        const char delimiter = line[i];
        if (line.find(delimiter, i + 1) == std::string_view::npos)
            state = kCommentBase + static_cast<unsigned char>(delimiter);
        push(out, i, line.size(), comment_);
        return line.size();
    }

    size_t number(std::string_view line, size_t pos, std::vector<Token>& out) const {
        size_t end = pos;
        while (end < line.size() && isAlnum(line[end]))
            ++end;
        std::string lower = asciiLower(line.substr(pos, end - pos));
        if (allIn(lower, "0123456789") && end + 1 < line.size() && line[end] == '.' &&
            isDigit(line[end + 1])) {
            // A real: digits, point, digits and an optional exponent.
            end += 1;
            while (end < line.size() && isDigit(line[end]))
                ++end;
            if (end < line.size() && (line[end] == 'e' || line[end] == 'E')) {
                size_t j = end + 1;
                if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
                if (j < line.size() && isDigit(line[j])) {
                    end = j;
                    while (end < line.size() && isDigit(line[end]))
                        ++end;
                }
            }
            push(out, pos, end, number_);
            return end;
        }
        // Digits run into letters: a number when the whole run is one, a name otherwise.
        while (end < line.size() && isIdentifierPart(static_cast<unsigned char>(line[end])))
            ++end;
        lower = asciiLower(line.substr(pos, end - pos));
        std::erase(lower, '_'); // digit separators: 1_000_000
        push(out, pos, end, isNumber(lower) ? number_ : identifier_);
        return end;
    }

    int reserved_ = require(u"Reserved Word");
};

// Condition codes of Jcc, SETcc and CMOVcc.
const char* const kConditions[] = {"a",  "ae",  "b",  "be",  "c",  "e",  "g",  "ge",  "l",  "le",
                                   "na", "nae", "nb", "nbe", "nc", "ne", "ng", "nge", "nl", "nle",
                                   "no", "np",  "ns", "nz",  "o",  "p",  "pe", "po",  "s",  "z"};

std::vector<std::string> reservedWords() {
    std::vector<std::string> words = {
        // General-purpose, system and 64-bit instructions.
        "aaa", "aad", "aam", "aas", "adc", "add", "and", "arpl", "bound", "bsf", "bsr", "bswap", "bt", "btc",
        "btr", "bts", "call", "cbw", "cdq", "cdqe", "clc", "cld", "clflush", "cli", "clts", "cmc", "cmp",
        "cmpsb", "cmpsd", "cmpsq", "cmpsw", "cmpxchg", "cmpxchg8b", "cmpxchg16b", "cpuid", "cqo", "cwd",
        "cwde", "daa", "das", "dec", "div", "enter", "hlt", "idiv", "imul", "in", "inc", "insb", "insd",
        "insw", "int", "int3", "into", "invd", "invlpg", "iret", "iretd", "iretq", "jcxz", "jecxz", "jmp",
        "jrcxz", "lahf", "lar", "lds", "lea", "leave", "les", "lfence", "lfs", "lgdt", "lgs", "lidt", "lldt",
        "lmsw", "lock", "lodsb", "lodsd", "lodsq", "lodsw", "loop", "loope", "loopne", "loopnz", "loopz",
        "lsl", "lss", "ltr", "mfence", "mov", "movsb", "movsd", "movsq", "movsw", "movsx", "movsxd", "movzx",
        "mul", "neg", "nop", "not", "or", "out", "outsb", "outsd", "outsw", "pause", "pop", "popa", "popad",
        "popf", "popfd", "popfq", "push", "pusha", "pushad", "pushf", "pushfd", "pushfq", "rcl", "rcr",
        "rdmsr", "rdpmc", "rdtsc", "rdtscp", "rep", "repe", "repne", "repnz", "repz", "ret", "retf", "retn",
        "rol", "ror", "rsm", "sahf", "sal", "sar", "sbb", "scasb", "scasd", "scasq", "scasw", "sfence",
        "sgdt", "shl", "shld", "shr", "shrd", "sidt", "sldt", "smsw", "stc", "std", "sti", "stosb", "stosd",
        "stosq", "stosw", "str", "sub", "swapgs", "syscall", "sysenter", "sysexit", "sysret", "test", "ud2",
        "verr", "verw", "wait", "wbinvd", "wrmsr", "xadd", "xchg", "xlat", "xlatb", "xor",
        // x87 floating point.
        "f2xm1", "fabs", "fadd", "faddp", "fbld", "fbstp", "fchs", "fclex", "fcom", "fcomi", "fcomip",
        "fcomp", "fcompp", "fcos", "fdecstp", "fdiv", "fdivp", "fdivr", "fdivrp", "ffree", "fiadd", "ficom",
        "ficomp", "fidiv", "fidivr", "fild", "fimul", "fincstp", "finit", "fist", "fistp", "fisttp", "fisub",
        "fisubr", "fld", "fld1", "fldcw", "fldenv", "fldl2e", "fldl2t", "fldlg2", "fldln2", "fldpi", "fldz",
        "fmul", "fmulp", "fnclex", "fninit", "fnop", "fnsave", "fnstcw", "fnstenv", "fnstsw", "fpatan",
        "fprem", "fprem1", "fptan", "frndint", "frstor", "fsave", "fscale", "fsin", "fsincos", "fsqrt", "fst",
        "fstcw", "fstenv", "fstp", "fstsw", "fsub", "fsubp", "fsubr", "fsubrp", "ftst", "fucom", "fucomi",
        "fucomip", "fucomp", "fucompp", "fwait", "fxam", "fxch", "fxrstor", "fxsave", "fxtract", "fyl2x",
        "fyl2xp1",
        // MMX and SSE.
        "addpd", "addps", "addsd", "addss", "andnpd", "andnps", "andpd", "andps", "cmppd", "cmpps", "cmpss",
        "comisd", "comiss", "cvtdq2pd", "cvtdq2ps", "cvtpd2dq", "cvtpd2ps", "cvtps2dq", "cvtps2pd",
        "cvtsd2si", "cvtsd2ss", "cvtsi2sd", "cvtsi2ss", "cvtss2sd", "cvtss2si", "cvttsd2si", "cvttss2si",
        "divpd", "divps", "divsd", "divss", "emms", "ldmxcsr", "maxpd", "maxps", "maxsd", "maxss", "minpd",
        "minps", "minsd", "minss", "movapd", "movaps", "movd", "movdqa", "movdqu", "movhlps", "movhps",
        "movlhps", "movlps", "movmskps", "movntdq", "movnti", "movntps", "movq", "movss", "movupd", "movups",
        "mulpd", "mulps", "mulsd", "mulss", "orpd", "orps", "packssdw", "packsswb", "packuswb", "paddb",
        "paddd", "paddq", "paddsb", "paddsw", "paddusb", "paddusw", "paddw", "pand", "pandn", "pavgb",
        "pavgw", "pcmpeqb", "pcmpeqd", "pcmpeqw", "pcmpgtb", "pcmpgtd", "pcmpgtw", "pextrw", "pinsrw",
        "pmaddwd", "pmaxsw", "pmaxub", "pminsw", "pminub", "pmovmskb", "pmulhuw", "pmulhw", "pmullw",
        "pmuludq", "por", "prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2", "psadbw", "pshufd",
        "pshufhw", "pshuflw", "pshufw", "pslld", "pslldq", "psllq", "psllw", "psrad", "psraw", "psrld",
        "psrldq", "psrlq", "psrlw", "psubb", "psubd", "psubq", "psubsb", "psubsw", "psubusb", "psubusw",
        "psubw", "punpckhbw", "punpckhdq", "punpckhqdq", "punpckhwd", "punpcklbw", "punpckldq", "punpcklqdq",
        "punpcklwd", "pxor", "rcpps", "rcpss", "rsqrtps", "rsqrtss", "shufpd", "shufps", "sqrtpd", "sqrtps",
        "sqrtsd", "sqrtss", "stmxcsr", "subpd", "subps", "subsd", "subss", "ucomisd", "ucomiss", "unpckhpd",
        "unpckhps", "unpcklpd", "unpcklps", "xorpd", "xorps",
        // Registers.
        "ah", "al", "ax", "bh", "bl", "bp", "bpl", "bx", "ch", "cl", "cs", "cx", "dh", "di", "dil", "dl",
        "ds", "dx", "eax", "ebp", "ebx", "ecx", "edi", "edx", "eip", "es", "esi", "esp", "fs", "gs", "rax",
        "rbp", "rbx", "rcx", "rdi", "rdx", "rip", "rsi", "rsp", "si", "sil", "sp", "spl", "ss", "st", "cr0",
        "cr2", "cr3", "cr4", "cr8", "dr0", "dr1", "dr2", "dr3", "dr6", "dr7",
        // Directives, data definitions and operators.
        ".186", ".286", ".286p", ".386", ".386p", ".486", ".486p", ".586", ".586p", ".686", ".686p", ".8086",
        ".8087", ".287", ".387", ".break", ".code", ".const", ".continue", ".data", ".data?", ".else",
        ".elseif", ".endif", ".endw", ".exit", ".fardata", ".fardata?", ".if", ".k3d", ".list", ".mmx",
        ".model", ".nolist", ".radix", ".repeat", ".stack", ".startup", ".until", ".untilcxz", ".while",
        ".xmm", "addr", "align", "assume", "at", "bits", "byte", "catstr", "codeseg", "comm", "comment",
        "common", "dataseg", "db", "dd", "default", "df", "dosseg", "dq", "dt", "dup", "dw", "dword", "echo",
        "else", "elseif", "end", "endif", "endm", "endp", "ends", "endstruc", "eq", "equ", "even", "exitm",
        "extern", "externdef", "extrn", "far", "flat", "for", "forc", "fword", "ge", "global", "group", "gt",
        "high", "ideal", "if", "ifb", "ifdef", "ifdif", "ifdifi", "ife", "ifidn", "ifidni", "ifnb", "ifndef",
        "incbin", "include", "includelib", "instr", "invoke", "irp", "irpc", "istruc", "jumps", "label", "le",
        "length", "lengthof", "local", "low", "lt", "huge", "large", "macro", "masm", "medium", "mod",
        "model", "compact", "tiny", "ne", "near", "offset", "option", "org", "oword", "page", "pascal",
        "proc", "proto", "ptr", "public", "purge", "qword", "radix", "real10", "real4", "real8", "record",
        "rel", "rept", "resb", "resd", "resq", "rest", "resw", "sbyte", "sdword", "section", "seg", "segment",
        "short", "size", "sizeof", "sizestr", "small", "stdcall", "struc", "struct", "substr", "subtitle",
        "sword", "tbyte", "textequ", "this", "times", "title", "type", "typedef", "union", "use16", "use32",
        "use64", "uses", "while", "word"};
    for (const char* cc : kConditions) {
        words.push_back(std::string("j") + cc);
        words.push_back(std::string("set") + cc);
        words.push_back(std::string("cmov") + cc);
    }
    for (int i = 0; i < 16; ++i) {
        const std::string n = std::to_string(i);
        words.push_back("xmm" + n);
        words.push_back("ymm" + n);
        if (i < 8) {
            words.push_back("mm" + n);
            words.push_back("st" + n);
        } else {
            for (const char* suffix : {"", "b", "d", "w"})
                words.push_back("r" + n + suffix);
        }
    }
    return words;
}

} // namespace

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
    // A quote inside a string is written twice; backquoted strings take C escapes.
    r.strings = {{"\"", "\"", "String", 0, true}, {"'", "'", "String", 0, true}, {"`", "`", "String", '\\'}};
    // Names may hold _ $ @ ? (and start with them): @@, @F, ?var, $label.
    r.identifierStart = "_$@?";
    r.identifierPart = "_$@?";
    r.words = {{reservedWords(), "Reserved Word"}};
    return std::make_unique<AsmHighlighter>(std::move(r));
}

} // namespace tw::languages
