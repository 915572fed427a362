#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <cstdint>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;
using scan::isAlpha;
using scan::startsWith;
using scan::isWordStart;
using scan::isWordPart;

namespace {

// Line state: a kind in bits 24..28 with its data in bits 0..23, and bit 29 set when the
// previous line ended with a value (so that a "/" or "%" opening the next line is an operator).
constexpr int kKindShift = 24;
constexpr int kDataMask = (1 << kKindShift) - 1;
constexpr int kOperandFlag = 1 << 29;
enum Kind : int {
    kCode = 0,
    kPod = 1,          // =pod ... =cut
    kDataSection = 2,  // after __END__ / __DATA__
    kQuote = 3,        // inside a quote-like literal; data: opener, depth, parts left, modifiers
    kHeredoc = 4,      // inside a here-document; data: hash of its terminator
    kHeredocIndent = 5 // the same for <<~ whose terminator may be indented
};
// Quote data: the opening delimiter (0 while a second part's opener is still awaited),
// the bracket nesting depth, the parts left including the current one, and whether
// modifier letters follow the last part.
constexpr int kDepthShift = 8;
constexpr int kPartsShift = 16;
constexpr int kModifiersFlag = 1 << 18;
constexpr int kMaxDepth = 255;

char closingOf(char open) {
    switch (open) {
    case '(':
        return ')';
    case '[':
        return ']';
    case '{':
        return '}';
    case '<':
        return '>';
    default:
        return open;
    }
}

int terminatorHash(std::string_view s) {
    return static_cast<int>(scan::fnv1a(s) & static_cast<std::uint32_t>(kDataMask));
}

const char* const kReserved[] = {
    // syntax
    "if", "elsif", "else", "unless", "until", "while", "for", "foreach", "do", "last", "next", "redo", "goto",
    "return", "my", "our", "local", "state", "sub", "package", "use", "no", "require", "BEGIN", "END", "INIT",
    "CHECK", "UNITCHECK", "DESTROY", "AUTOLOAD", "given", "when", "default", "continue", "eval", "defined",
    "undef", "wantarray", "__FILE__", "__LINE__", "__PACKAGE__", "__SUB__", "__DATA__", "__END__", "try",
    "catch", "finally", "class", "method", "field",
    // built-in functions
    "abs", "accept", "alarm", "atan2", "bind", "binmode", "bless", "caller", "chdir", "chmod", "chomp",
    "chop", "chown", "chr", "chroot", "close", "closedir", "connect", "cos", "crypt", "dbmclose", "dbmopen",
    "delete", "die", "dump", "each", "endgrent", "endhostent", "endnetent", "endprotoent", "endpwent",
    "endservent", "eof", "exec", "exists", "exit", "exp", "fc", "fcntl", "fileno", "flock", "fork", "format",
    "formline", "getc", "getgrent", "getgrgid", "getgrnam", "gethostbyaddr", "gethostbyname", "gethostent",
    "getlogin", "getnetbyaddr", "getnetbyname", "getnetent", "getpeername", "getpgrp", "getppid",
    "getpriority", "getprotobyname", "getprotobynumber", "getprotoent", "getpwent", "getpwnam", "getpwuid",
    "getservbyname", "getservbyport", "getservent", "getsockname", "getsockopt", "glob", "gmtime", "grep",
    "hex", "index", "int", "ioctl", "join", "keys", "kill", "lc", "lcfirst", "length", "link", "listen",
    "localtime", "lock", "log", "lstat", "map", "mkdir", "msgctl", "msgget", "msgrcv", "msgsnd", "oct",
    "open", "opendir", "ord", "pack", "pipe", "pop", "pos", "print", "printf", "prototype", "push",
    "quotemeta", "rand", "read", "readdir", "readline", "readlink", "readpipe", "recv", "ref", "rename",
    "reset", "reverse", "rewinddir", "rindex", "rmdir", "say", "scalar", "seek", "seekdir", "select",
    "semctl", "semget", "semop", "send", "setgrent", "sethostent", "setnetent", "setpgrp", "setpriority",
    "setprotoent", "setpwent", "setservent", "setsockopt", "shift", "shmctl", "shmget", "shmread", "shmwrite",
    "shutdown", "sin", "sleep", "socket", "socketpair", "sort", "splice", "split", "sprintf", "sqrt", "srand",
    "stat", "study", "substr", "symlink", "syscall", "sysopen", "sysread", "sysseek", "system", "syswrite",
    "tell", "telldir", "tie", "tied", "time", "times", "truncate", "uc", "ucfirst", "umask", "unlink",
    "unpack", "unshift", "untie", "utime", "values", "vec", "wait", "waitpid", "warn", "write"};

const char* const kPragmas[] = {
    "attributes", "autodie", "autouse", "base", "bigint", "bignum", "bigrat", "blib", "builtin", "bytes",
    "charnames", "constant", "deprecate", "diagnostics", "encoding", "experimental", "feature", "fields",
    "filetest", "if", "integer", "less", "lib", "locale", "mro", "ok", "open", "ops", "overload",
    "overloading", "parent", "re", "sigtrap", "sort", "strict", "subs", "threads", "utf8", "vars", "version",
    "vmsish", "warnings"};

const char* const kWordOperators[] = {
    "lt", "gt", "le", "ge", "eq", "ne", "cmp", "and", "or", "not", "xor"};

// Built-ins that are values themselves, so an operator may follow them: "shift // 0".
const char* const kTermWords[] = {
    "shift", "pop", "time", "times", "wait", "wantarray", "getppid", "fork", "__FILE__", "__LINE__",
    "__PACKAGE__", "__SUB__"};

// Longest first.
constexpr std::string_view kOperators[] = {
    "<=>", "**=", "||=", "&&=", "//=", "...", "<<=", ">>=", "=~", "!~", "->", "=>", "**", "..", "==", "!=",
    "<=", ">=", "&&", "||", "//", "++", "--", "+=", "-=", "*=", "/=", ".=", "%=", "<<", ">>", "^=", "|=",
    "&=", "::"};

template <size_t N> std::vector<std::string> wordsOf(const char* const (&list)[N]) {
    return {list, list + N};
}

class PerlHighlighter final : public RuleHighlighter {
public:
    explicit PerlHighlighter(LanguageRules rules)
        : RuleHighlighter(std::move(rules)), string_(require(u"String")), variableAttr_(require(u"Variable")),
          operator_(require(u"Operator")), pragma_(require(u"Pragma")), reserved_(require(u"Reserved Word")) {
    }

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

private:
    struct Quote {
        char open = 0; // 0: the opener of the next part is still to come
        int depth = 0;
        int parts = 1; // parts left, the current one included
        bool modifiers = false;
    };
    // Continues a quote-like literal from pos; returns its end, or npos when it goes on
    // past the line (q then holds where it stopped).
    static size_t scanQuote(std::string_view line, size_t pos, Quote& q);
    // The end of a variable starting with a sigil at pos, or pos when none starts there.
    // dollarsEnd is the end of the last run of "$" read on this line (0 at its start): a
    // later sigil within that run need not read it again.
    size_t scanVariable(std::string_view line, size_t pos, bool operandBefore, size_t& dollarsEnd) const;
    static size_t scanNumber(std::string_view line, size_t pos);

    int string_, variableAttr_, operator_, pragma_, reserved_;
};

size_t PerlHighlighter::scanQuote(std::string_view line, size_t pos, Quote& q) {
    size_t i = pos;
    while (q.parts > 0) {
        if (q.open == 0) { // a bracketed first part is over; the second opens after blanks
            while (i < line.size() && isBlank(line[i]))
                ++i;
            if (i >= line.size()) return std::string_view::npos;
            q.open = line[i++];
            q.depth = 0;
        }
        const char close = closingOf(q.open);
        bool closed = false;
        while (i < line.size()) {
            const char c = line[i];
            if (c == '\\') {
                i += 2;
                continue;
            }
            ++i;
            if (close != q.open && c == q.open) {
                if (q.depth < kMaxDepth) ++q.depth;
            } else if (c == close) {
                if (q.depth == 0) {
                    closed = true;
                    break;
                }
                --q.depth;
            }
        }
        if (!closed) {
            if (i > line.size()) i = line.size();
            return std::string_view::npos;
        }
        --q.parts;
        // s/a/b/: the middle delimiter closes one part and opens the next.
        if (q.parts > 0 && close != q.open) q.open = 0;
    }
    if (q.modifiers)
        while (i < line.size() && isAlpha(line[i]))
            ++i;
    return i;
}

size_t PerlHighlighter::scanVariable(std::string_view line, size_t pos, bool operandBefore,
                                     size_t& dollarsEnd) const {
    const char sigil = line[pos];
    size_t i = pos + 1;
    if (i >= line.size()) return pos;
    const char c = line[i];
    auto name = [&](size_t j) { // a name with package parts: Foo::Bar::baz, ::main
        while (j < line.size()) {
            if (isWordPart(line[j]))
                ++j;
            else if (line[j] == ':' && j + 2 < line.size() && line[j + 1] == ':' && isWordStart(line[j + 2]))
                j += 2;
            else
                break;
        }
        return j;
    };
    if (sigil == '%' && operandBefore) {
        // After a value "%" is the remainder operator unless it sticks to a name after a blank.
        if ((pos > 0 && !isBlank(line[pos - 1])) || !(isWordStart(c) || c == '$' || c == '{')) return pos;
    }
    // Dereferences: $$ref, @$ref, %$ref, $$$ref.
    size_t k = i;
    if (c == '$' && i < dollarsEnd) { // inside the run read before (scans only move forward)
        k = dollarsEnd;
    } else {
        while (k < line.size() && line[k] == '$')
            ++k;
        dollarsEnd = k;
    }
    if (k > i && k < line.size() && (isWordStart(line[k]) || line[k] == '{'))
        return line[k] == '{' ? k : name(k);
    if (isWordStart(c)) return name(i);
    if (c == ':' && i + 2 < line.size() && line[i + 1] == ':' && isWordStart(line[i + 2])) return name(i + 2);
    if (c == '{') {
        // ${name} and ${^NAME} as one; ${ expression } leaves the brace to the block.
        size_t j = i + 1;
        if (j < line.size() && line[j] == '^') ++j;
        const size_t nameStart = j;
        while (j < line.size() && isWordPart(line[j]))
            ++j;
        if (j > nameStart && j < line.size() && line[j] == '}') return j + 1;
        return i;
    }
    if (sigil == '$') {
        if (isDigit(c)) {
            while (i < line.size() && isDigit(line[i]))
                ++i;
            return i;
        }
        if (c == '#') { // $#array, $#{expr}, $#$ref; a lone $# is the old output format
            const size_t j = i + 1;
            if (j < line.size() && (isWordStart(line[j]) || line[j] == '$')) {
                size_t m = j;
                while (m < line.size() && line[m] == '$')
                    ++m;
                return name(m);
            }
            return j;
        }
        if (c == '^' && i + 1 < line.size() &&
            (std::isupper(static_cast<unsigned char>(line[i + 1])) ||
             std::string_view("[]\\^_?").find(line[i + 1]) != std::string_view::npos))
            return i + 2;
        if (std::string_view("&`'+!@/\\,;.<>0_:?-~=%\"|*]$").find(c) != std::string_view::npos) return i + 1;
        return pos;
    }
    // @- @+ %+ %- (match offsets and named captures), @_ is a name already.
    if ((c == '-' || c == '+') && !operandBefore) return i + 1;
    return pos;
}

size_t PerlHighlighter::scanNumber(std::string_view line, size_t pos) {
    size_t i = pos;
    auto digits = [&](auto accept) {
        while (i < line.size() && (accept(line[i]) || line[i] == '_'))
            ++i;
    };
    if (line[i] == '0' && i + 1 < line.size()) {
        const char p = asciiLowerByte(line[i + 1]);
        if (p == 'x' || p == 'b' || p == 'o') {
            i += 2;
            digits([p](char c) {
                return p == 'x'   ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                       : p == 'b' ? (c == '0' || c == '1')
                                  : (c >= '0' && c <= '7');
            });
            return i;
        }
    }
    digits(isDigit);
    if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1])) {
        ++i;
        digits(isDigit);
    }
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        if (j < line.size() && isDigit(line[j])) {
            i = j;
            digits(isDigit);
        }
    }
    return i;
}

void PerlHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    int kind = (state >> kKindShift) & 0x1F;
    const int data = state & kDataMask;
    bool operand = (state & kOperandFlag) != 0;
    size_t pos = 0;

    switch (kind) {
    case kPod:
        push(out, 0, line.size(), comment_);
        state = startsWith(line, 0, "=cut") && (line.size() == 4 || !isWordPart(line[4]))
                    ? 0
                    : kPod << kKindShift;
        return;
    case kDataSection:
        push(out, 0, line.size(), comment_);
        return;
    case kHeredoc:
    case kHeredocIndent: {
        size_t a = 0;
        if (kind == kHeredocIndent)
            while (a < line.size() && isBlank(line[a]))
                ++a;
        push(out, 0, a, space_);
        push(out, a, line.size(), string_);
        if (terminatorHash(line.substr(a)) == data) state = 0;
        return;
    }
    case kQuote: {
        Quote q{static_cast<char>(data & 0xFF), (data >> kDepthShift) & 0xFF, (data >> kPartsShift) & 3,
                (data & kModifiersFlag) != 0};
        if (q.parts == 0) q.parts = 1;
        const size_t end = scanQuote(line, 0, q);
        push(out, 0, end == std::string_view::npos ? line.size() : end, string_);
        if (end == std::string_view::npos) {
            state = kQuote << kKindShift | static_cast<unsigned char>(q.open) | q.depth << kDepthShift |
                    q.parts << kPartsShift | (q.modifiers ? kModifiersFlag : 0);
            return;
        }
        pos = end;
        operand = true;
        kind = kCode;
        break;
    }
    default:
        kind = kCode;
        break;
    }

    // POD and the end of the program start at the first column.
    if (pos == 0 && line.size() > 1 && line[0] == '=' && isAlpha(line[1])) {
        push(out, 0, line.size(), comment_);
        state = startsWith(line, 0, "=cut") && (line.size() == 4 || !isWordPart(line[4]))
                    ? 0
                    : kPod << kKindShift;
        return;
    }
    if (pos == 0 && (startsWith(line, 0, "__END__") || startsWith(line, 0, "__DATA__"))) {
        const size_t n = line[2] == 'E' ? 7 : 8;
        if (line.size() == n || !isWordPart(line[n])) {
            push(out, 0, n, reserved_);
            push(out, n, line.size(), comment_);
            state = kDataSection << kKindShift;
            return;
        }
    }

    int nextState = -1;          // a here-document or an open literal decides the next line
    size_t dollarsEnd = 0;       // the end of the last run of "$" that scanVariable read
    bool afterArrow = false;     // the last token was ->
    bool afterUse = false;       // the last token was use or no
    bool braceSubscript = false; // the last token was a { that subscripts a value: {key} is a string

    auto put = [&](size_t start, size_t end, int attr, bool isOperand) {
        push(out, start, end, attr);
        operand = isOperand;
        afterArrow = afterUse = braceSubscript = false;
    };
    // Opens a quote-like literal running from start, its first delimiter at open.
    auto quote = [&](size_t start, size_t open, int parts, bool modifiers) {
        Quote q{line[open], 0, parts, modifiers};
        const size_t end = scanQuote(line, open + 1, q);
        put(start, end == std::string_view::npos ? line.size() : end, string_, true);
        if (end == std::string_view::npos) {
            if (nextState < 0)
                nextState = kQuote << kKindShift | static_cast<unsigned char>(q.open) |
                            q.depth << kDepthShift | q.parts << kPartsShift |
                            (q.modifiers ? kModifiersFlag : 0);
            return line.size();
        }
        return end;
    };

    while (pos < line.size()) {
        const char c = line[pos];
        if (isBlank(c)) {
            size_t i = pos;
            while (i < line.size() && isBlank(line[i]))
                ++i;
            push(out, pos, i, space_);
            pos = i;
            continue;
        }
        // Sigils first: $# is a variable, not a comment.
        if (c == '$' || c == '@' || c == '%') {
            const size_t end = scanVariable(line, pos, operand, dollarsEnd);
            if (end > pos) {
                put(pos, end, variableAttr_, true);
                pos = end;
                continue;
            }
        }
        if (c == '#') {
            push(out, pos, line.size(), comment_);
            break;
        }
        if (c == '"' || c == '\'' || c == '`') {
            pos = quote(pos, pos, 1, false);
            continue;
        }
        // A here-document: <<"EOT", <<'EOT' and <<~EOT anywhere, <<EOT where a value may
        // start (after a value it is a left shift).
        if (c == '<' && startsWith(line, pos, "<<")) {
            size_t i = pos + 2;
            const bool indent = i < line.size() && line[i] == '~';
            if (indent) ++i;
            size_t j = i;
            while (j < line.size() && isBlank(line[j]))
                ++j;
            size_t nameStart = 0, nameEnd = 0, end = 0;
            if (j < line.size() && (line[j] == '"' || line[j] == '\'')) {
                const size_t close = line.find(line[j], j + 1);
                if (close != std::string_view::npos) {
                    nameStart = j + 1;
                    nameEnd = close;
                    end = close + 1;
                }
            } else if (i < line.size() && isWordStart(line[i]) && (!operand || indent)) {
                nameStart = i;
                nameEnd = i;
                while (nameEnd < line.size() && isWordPart(line[nameEnd]))
                    ++nameEnd;
                end = nameEnd;
            }
            if (end > 0) {
                put(pos, end, string_, true);
                if (nextState < 0 || (nextState >> kKindShift) == kQuote)
                    nextState = (indent ? kHeredocIndent : kHeredoc) << kKindShift |
                                terminatorHash(line.substr(nameStart, nameEnd - nameStart));
                pos = end;
                continue;
            }
        }
        // A pattern where a value is expected: /.../flags.
        if (c == '/' && !operand) {
            pos = quote(pos, pos, 1, true);
            continue;
        }
        if (isDigit(c) || (c == '.' && !operand && pos + 1 < line.size() && isDigit(line[pos + 1]))) {
            const size_t end = scanNumber(line, pos);
            put(pos, end, number_, true);
            pos = end;
            continue;
        }
        if (isWordStart(c)) {
            size_t i = pos + 1;
            while (i < line.size()) {
                if (isWordPart(line[i]))
                    ++i;
                else if (line[i] == ':' && i + 1 < line.size() && line[i + 1] == ':')
                    i += 2;
                else
                    break;
            }
            const std::string_view word = line.substr(pos, i - pos);
            size_t next = i;
            while (next < line.size() && isBlank(line[next]))
                ++next;
            const bool fatComma = startsWith(line, next, "=>");
            const bool hashKey = braceSubscript && next < line.size() && line[next] == '}';
            const bool wasOperand = operand, wasArrow = afterArrow, wasUse = afterUse;
            // v-strings: v5.36.0
            if (word.size() > 1 && word[0] == 'v' &&
                word.find_first_not_of("0123456789", 1) == std::string_view::npos) {
                size_t e = i;
                while (e + 1 < line.size() && line[e] == '.' && isDigit(line[e + 1])) {
                    e += 2;
                    while (e < line.size() && isDigit(line[e]))
                        ++e;
                }
                put(pos, e, number_, true);
                pos = e;
                continue;
            }
            if (fatComma || hashKey || wasArrow) {
                put(pos, i, identifier_, true);
                pos = i;
                continue;
            }
            // Quote-like operators.
            const bool q1 = word == "q" || word == "qq" || word == "qw" || word == "qx";
            const bool m1 = word == "m" || word == "qr";
            const bool two = word == "s" || word == "tr" || word == "y";
            if (q1 || m1 || two) {
                size_t d = next;
                const bool delimiterOk =
                    d < line.size() && !isWordPart(line[d]) &&
                    std::string_view(",;)]}>=").find(line[d]) == std::string_view::npos &&
                    !(d > i && line[d] == '#');
                if (delimiterOk) {
                    if (d > i) {
                        // A blank between the operator and its delimiter splits the token.
                        put(pos, i, string_, true);
                        push(out, i, d, space_);
                        pos = quote(d, d, two ? 2 : 1, !q1);
                    } else {
                        pos = quote(pos, d, two ? 2 : 1, !q1);
                    }
                    continue;
                }
            }
            if (wasOperand &&
                (word == "x" || (word.size() > 1 && word[0] == 'x' &&
                                 word.find_first_not_of("0123456789", 1) == std::string_view::npos))) {
                // Repetition: "-" x 20, "=" x3, $s x= 2.
                size_t e = pos + 1;
                if (word == "x" && e < line.size() && line[e] == '=' &&
                    (e + 1 == line.size() ||
                     std::string_view("=~>").find(line[e + 1]) == std::string_view::npos))
                    ++e;
                put(pos, e, operator_, false);
                pos = e;
                continue;
            }
            if (inWordList<kWordOperators>(word)) {
                put(pos, i, operator_, false);
                pos = i;
                continue;
            }
            if (wasUse && inWordList<kPragmas>(word)) {
                put(pos, i, pragma_, false);
                pos = i;
                continue;
            }
            const int attr = wordAttribute(word);
            put(pos, i, attr >= 0 ? attr : identifier_, attr < 0 || inWordList<kTermWords>(word));
            afterUse = word == "use" || word == "no";
            pos = i;
            continue;
        }
        // File tests where a value may start: -e $file, -d _
        if (c == '-' && !operand && pos + 1 < line.size() &&
            std::string_view("rwxoRWXOezsfdlpSbcugktTBAMC").find(line[pos + 1]) != std::string_view::npos &&
            (pos + 2 == line.size() ||
             (!isWordPart(line[pos + 2]) && line[pos + 2] != '>' && line[pos + 2] != '='))) {
            put(pos, pos + 2, operator_, false);
            pos += 2;
            continue;
        }
        bool matched = false;
        for (const std::string_view o : kOperators) {
            if (o[0] != c || !startsWith(line, pos, o)) continue;
            const bool arrow = o == "->";
            put(pos, pos + o.size(), operator_, false);
            afterArrow = arrow;
            pos += o.size();
            matched = true;
            break;
        }
        if (matched) continue;
        const bool closes = c == ')' || c == ']' || c == '}';
        const bool sub = c == '{' && (operand || afterArrow);
        if (rules().symbols.find(c) != std::string::npos)
            put(pos, pos + 1, symbol_, closes);
        else if (isWordStart(c))
            put(pos, pos + 1, identifier_, true);
        else
            put(pos, pos + 1, illegal_, operand);
        braceSubscript = sub;
        ++pos;
    }
    state = nextState >= 0 ? nextState : 0;
    if (operand) state |= kOperandFlag;
}

} // namespace

std::unique_ptr<Highlighter> makePerl() {
    LanguageRules r;
    r.name = QStringLiteral("Perl");
    r.filter = QStringLiteral("Perl Files (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Illegal Char"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Operator"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Pragma"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    // PerlHighlighter scans everything itself; the table supplies the word list, the
    // symbol bytes and the attribute indexes.
    r.illegalAttribute = QStringLiteral("Illegal Char");
    r.words = {{wordsOf(kReserved), QStringLiteral("Reserved Word")}};
    return std::make_unique<PerlHighlighter>(std::move(r));
}

} // namespace tw::languages
