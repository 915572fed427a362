#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

#include <cctype>

namespace tw::languages {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// VBScript has only Variants: numbers and names carry no type characters, and a comment
// ends with its line.
class VbScriptHighlighter final : public RuleHighlighter {
public:
    using RuleHighlighter::RuleHighlighter;

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override {
        state = 0;
        size_t pos = 0;
        while (pos < line.size())
            pos = scan(line, pos, state, out);
    }

private:
    size_t scan(std::string_view line, size_t pos, int& state, std::vector<Token>& out) const {
        const char c = line[pos];
        if (c == '\'') {
            push(out, pos, line.size(), comment_);
            return line.size();
        }
        if (isDigit(c) || (c == '.' && pos + 1 < line.size() && isDigit(line[pos + 1])))
            return number(line, pos, out);
        if (c == '&' && pos + 2 < line.size()) { // &HFF, &O17
            const char base = static_cast<char>(std::tolower(static_cast<unsigned char>(line[pos + 1])));
            const auto digit = [base](char d) {
                return base == 'h' ? std::isxdigit(static_cast<unsigned char>(d)) != 0 : d >= '0' && d <= '7';
            };
            if ((base == 'h' || base == 'o') && digit(line[pos + 2])) {
                size_t i = pos + 2;
                while (i < line.size() && digit(line[i]))
                    ++i;
                push(out, pos, i, number_);
                return i;
            }
        }
        if (c == '#') { // a date literal such as #12/31/1999 11:59 PM#
            size_t i = pos + 1;
            if (i < line.size() && isDigit(line[i])) {
                while (i < line.size() &&
                       (isDigit(line[i]) ||
                        std::string_view("/-:., aApPmM").find(line[i]) != std::string_view::npos))
                    ++i;
                if (i < line.size() && line[i] == '#') {
                    push(out, pos, i + 1, number_);
                    return i + 1;
                }
            }
        }
        const auto u = static_cast<unsigned char>(c);
        if (std::isalpha(u) || u >= 0x80) {
            size_t i = pos + 1;
            while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                ++i;
            const std::string_view word = line.substr(pos, i - pos);
            if (asciiLower(word) == "rem") {
                push(out, pos, line.size(), comment_);
                return line.size();
            }
            // After a dot a name is a member (rs.Close, .Name in a With block), never a keyword.
            const int attr = pos > 0 && line[pos - 1] == '.' ? -1 : wordAttribute(word);
            push(out, pos, i, attr >= 0 ? attr : identifier_);
            return i;
        }
        return scanOne(line, pos, state, out); // blanks, strings, symbols (a lone "_" among them)
    }

    size_t number(std::string_view line, size_t pos, std::vector<Token>& out) const {
        size_t i = pos;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        if (i + 1 < line.size() && line[i] == '.' && isDigit(line[i + 1])) {
            ++i;
            while (i < line.size() && isDigit(line[i]))
                ++i;
        } else if (i < line.size() && line[i] == '.' && i > pos) {
            ++i; // "1." is a Double
        }
        if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
            size_t j = i + 1;
            if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
            if (j < line.size() && isDigit(line[j])) {
                i = j;
                while (i < line.size() && isDigit(line[i]))
                    ++i;
            }
        }
        push(out, pos, i, number_);
        return i;
    }
};

} // namespace

std::unique_ptr<Highlighter> makeVbScript() {
    LanguageRules r;
    r.name = QStringLiteral("MS VBScript");
    r.filter = QStringLiteral("VBScript Files (*.vbs)|*.vbs");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    // Comments, numbers and names are scanned by the highlighter above; the table gives
    // strings, keywords and symbols.
    r.strings = {{"\"", "\"", "String", 0, true}};
    r.identifierStart = ""; // a lone "_" is the line-continuation symbol
    r.words = {
        {{// Statements, operators and literals.
          "and", "byref", "byval", "call", "case", "class", "const", "default", "dim", "do", "each", "else",
          "elseif", "empty", "end", "eqv", "erase", "error", "execute", "executeglobal", "exit", "explicit",
          "false", "for", "function", "get", "goto", "if", "imp", "in", "is", "let", "loop", "me", "mod",
          "new", "next", "not", "nothing", "null", "on", "option", "or", "preserve", "private", "property",
          "public", "randomize", "redim", "resume", "select", "set", "step", "stop", "sub", "then", "to",
          "true", "until", "wend", "while", "with", "xor",
          // Words kept for the language's future.
          "as", "boolean", "byte", "currency", "double", "enum", "event", "implements", "integer", "like",
          "long", "optional", "paramarray", "raiseevent", "shared", "single", "static", "type", "typeof",
          "variant",
          // Built-in functions.
          "abs", "array", "asc", "ascb", "ascw", "atn", "cbool", "cbyte", "ccur", "cdate", "cdbl", "chr",
          "chrb", "chrw", "cint", "clng", "cos", "createobject", "csng", "cstr", "date", "dateadd",
          "datediff", "datepart", "dateserial", "datevalue", "day", "escape", "eval", "exp", "filter", "fix",
          "formatcurrency", "formatdatetime", "formatnumber", "formatpercent", "getlocale", "getobject",
          "getref", "hex", "hour", "inputbox", "instr", "instrb", "instrrev", "int", "isarray", "isdate",
          "isempty", "isnull", "isnumeric", "isobject", "join", "lbound", "lcase", "left", "leftb", "len",
          "lenb", "loadpicture", "log", "ltrim", "mid", "midb", "minute", "month", "monthname", "msgbox",
          "now", "oct", "replace", "rgb", "right", "rightb", "rnd", "round", "rtrim", "scriptengine",
          "scriptenginebuildversion", "scriptenginemajorversion", "scriptengineminorversion", "second",
          "setlocale", "sgn", "sin", "space", "split", "sqr", "strcomp", "string", "strreverse", "tan",
          "time", "timer", "timeserial", "timevalue", "trim", "typename", "ubound", "ucase", "unescape",
          "vartype", "weekday", "weekdayname", "year",
          // Built-in objects and constants.
          "err", "vbabort", "vbabortretryignore", "vbapplicationmodal", "vbarray", "vbbinarycompare",
          "vbboolean", "vbcancel", "vbcr", "vbcritical", "vbcrlf", "vbcurrency", "vbdate", "vbdefaultbutton1",
          "vbdefaultbutton2", "vbdefaultbutton3", "vbdouble", "vbempty", "vberror", "vbexclamation",
          "vbfalse", "vbformfeed", "vbgeneraldate", "vbignore", "vbinformation", "vbinteger", "vblf",
          "vblong", "vblongdate", "vblongtime", "vbnewline", "vbno", "vbnull", "vbnullchar", "vbnullstring",
          "vbobject", "vbobjecterror", "vbok", "vbokcancel", "vbokonly", "vbquestion", "vbretry",
          "vbretrycancel", "vbshortdate", "vbshorttime", "vbsingle", "vbstring", "vbsystemmodal", "vbtab",
          "vbtextcompare", "vbtrue", "vbusedefault", "vbvariant", "vbverticaltab", "vbyes", "vbyesno",
          "vbyesnocancel"},
         "Reserved Word"}};
    return std::make_unique<VbScriptHighlighter>(std::move(r));
}

} // namespace tw::languages
