#include "editor/languages/basic.h"
#include "editor/languages/languages.h"

namespace tw::languages {

// VBScript has only Variants: numbers and names carry no type characters, and a comment
// ends with its line.
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
    return makeBasic(std::move(r), BasicDialect{});
}

} // namespace tw::languages
