#include "editor/languages/languages.h"
#include "editor/languages/scanning.h"
#include "editor/rule_highlighter.h"

#include <cctype>
#include <string>

namespace tw::languages {

using scan::isBlank;
using scan::isDigit;

namespace {

// Line state: the low byte says what is open at the end of the line, the next byte holds
// the closing bracket of an open q'[...]' string, and the upper bits follow the script:
// whether a statement is under way and whether a PL/SQL unit is being typed in (SQL*Plus
// ends those only with a "/" line, so their lines never start SQL*Plus commands).
constexpr int kOpenMask = 0xFF;
constexpr int kInComment = 1;
constexpr int kInConditional = 2; // /*! ... */
constexpr int kInString = 3;      // '...'
constexpr int kInQString = 4;     // q'[...]'
constexpr int kCloserShift = 8;
constexpr int kMidStatement = 1 << 16;
constexpr int kPlsqlUnit = 1 << 17;
constexpr int kCreatePending = 1 << 18; // CREATE [OR REPLACE] seen; the object kind follows
constexpr int kJustBegun = 1 << 19;     // BEGIN started a unit; BEGIN; or BEGIN WORK take that back

// Data-dictionary views and the like shown as Table Name; extend the list to taste.
const char* const kTableNames[] = {
    "dual", "all_tables", "user_tables", "dba_tables", "all_tab_columns", "user_tab_columns",
    "dba_tab_columns", "all_objects", "user_objects", "dba_objects", "all_views", "user_views", "dba_views",
    "all_indexes", "user_indexes", "dba_indexes", "all_ind_columns", "user_ind_columns", "all_constraints",
    "user_constraints", "dba_constraints", "all_cons_columns", "user_cons_columns", "all_source",
    "user_source", "dba_source", "all_sequences", "user_sequences", "all_synonyms", "user_synonyms",
    "dba_synonyms", "all_triggers", "user_triggers", "all_users", "dba_users", "user_users", "all_errors",
    "user_errors", "all_procedures", "user_procedures", "all_arguments", "user_arguments", "all_dependencies",
    "user_dependencies", "all_tab_comments", "user_tab_comments", "all_col_comments", "user_col_comments",
    "user_role_privs", "user_sys_privs", "user_tab_privs", "dba_role_privs", "dba_sys_privs", "dba_tab_privs",
    "session_privs", "session_roles", "dictionary", "dba_data_files", "dba_segments", "user_segments",
    "dba_tablespaces", "user_tablespaces", "all_directories", "user_jobs", "dba_jobs", "user_scheduler_jobs",
    "all_mviews", "user_mviews", "all_db_links", "user_db_links", "user_types", "all_types", "v$session",
    "v$database", "v$instance", "v$parameter", "v$sql", "v$sqlarea", "v$lock", "v$version", "v$process",
    "v$nls_parameters"};

const char* const kExceptions[] = {
    "access_into_null", "case_not_found", "collection_is_null", "cursor_already_open", "dup_val_on_index",
    "invalid_cursor", "invalid_number", "login_denied", "no_data_found", "no_data_needed", "not_logged_on",
    "program_error", "rowtype_mismatch", "self_is_null", "storage_error", "subscript_beyond_count",
    "subscript_outside_limit", "sys_invalid_rowid", "timeout_on_resource", "too_many_rows", "value_error",
    "zero_divide"};

const char* const kPackages[] = {
    "dbms_alert", "dbms_application_info", "dbms_aq", "dbms_aqadm", "dbms_assert", "dbms_crypto", "dbms_ddl",
    "dbms_debug", "dbms_describe", "dbms_errlog", "dbms_flashback", "dbms_job", "dbms_lob", "dbms_lock",
    "dbms_metadata", "dbms_mview", "dbms_output", "dbms_pipe", "dbms_profiler", "dbms_random",
    "dbms_redefinition", "dbms_refresh", "dbms_rls", "dbms_rowid", "dbms_scheduler", "dbms_session",
    "dbms_shared_pool", "dbms_space", "dbms_sql", "dbms_stats", "dbms_trace", "dbms_transaction",
    "dbms_types", "dbms_utility", "dbms_warning", "dbms_xmldom", "dbms_xmlgen", "dbms_xmlparser",
    "dbms_xplan", "htf", "htp", "owa", "owa_cookie", "owa_util", "standard", "utl_call_stack", "utl_coll",
    "utl_compress", "utl_encode", "utl_file", "utl_http", "utl_i18n", "utl_inaddr", "utl_lms", "utl_mail",
    "utl_match", "utl_raw", "utl_ref", "utl_smtp", "utl_tcp", "utl_url"};

// Procedural words; they win over the SQL words so that a PL/SQL block reads as one.
const char* const kPlsqlWords[] = {
    "authid", "autonomous_transaction", "begin", "binary_integer", "body", "bulk", "bulk_exceptions",
    "bulk_rowcount", "collect", "constant", "declare", "definer", "elsif", "end", "exception",
    "exception_init", "exit", "forall", "found", "function", "goto", "if", "immediate", "indices", "isopen",
    "loop", "nocopy", "notfound", "others", "out", "package", "pipe", "pipelined", "pragma", "procedure",
    "raise", "record", "restrict_references", "returning", "reverse", "rowcount", "rowtype",
    "serially_reusable", "subtype", "type", "while"};

const char* const kDataTypes[] = {
    "bfile", "bigint", "binary_double", "binary_float", "bit", "blob", "bool", "boolean", "bytea", "char",
    "character", "clob", "date", "datetime", "datetime2", "dec", "decimal", "double", "float", "image", "int",
    "integer", "interval", "json", "long", "longtext", "mediumint", "money", "naturaln", "nchar", "nclob",
    "ntext", "number", "numeric", "nvarchar", "nvarchar2", "pls_integer", "positive", "positiven", "raw",
    "real", "rowid", "serial", "signtype", "simple_integer", "smallint", "string", "sys_refcursor", "text",
    "time", "timestamp", "tinyint", "urowid", "uuid", "varbinary", "varchar", "varchar2", "xmltype"};

const char* const kFunctions[] = {
    "abs", "acos", "add_months", "ascii", "asin", "atan", "atan2", "avg", "bitand", "cast", "ceil", "ceiling",
    "charindex", "chr", "coalesce", "concat", "convert", "corr", "cos", "cosh", "count", "covar_pop",
    "covar_samp", "cume_dist", "current_date", "current_time", "current_timestamp", "dateadd", "datediff",
    "datepart", "decode", "dense_rank", "dump", "empty_blob", "empty_clob", "exp", "extract", "first_value",
    "floor", "getdate", "greatest", "group_concat", "grouping", "hextoraw", "ifnull", "initcap", "instr",
    "isnull", "lag", "last_day", "last_value", "lead", "least", "len", "length", "listagg", "ln",
    "localtimestamp", "log", "lower", "lpad", "ltrim", "max", "median", "min", "mod", "months_between",
    "new_time", "next_day", "now", "nth_value", "ntile", "nullif", "numtodsinterval", "numtoyminterval",
    "nvl", "nvl2", "percent_rank", "power", "raise_application_error", "rank", "ratio_to_report", "rawtohex",
    "regexp_count", "regexp_instr", "regexp_like", "regexp_replace", "regexp_substr", "replace", "round",
    "row_number", "rpad", "rtrim", "sign", "sin", "sinh", "soundex", "sqlcode", "sqlerrm", "sqrt", "stddev",
    "string_agg", "substr", "substring", "sum", "sys_context", "sys_guid", "sysdate", "systimestamp", "tan",
    "tanh", "to_char", "to_clob", "to_date", "to_number", "to_timestamp", "translate", "trim", "trunc", "uid",
    "upper", "user", "userenv", "var_pop", "var_samp", "variance", "vsize"};

const char* const kReserved[] = {
    "access", "add", "all", "allocate", "alter", "analyze", "and", "any", "are", "array", "as", "asc",
    "asensitive", "asymmetric", "at", "atomic", "audit", "authorization", "between", "both", "by", "call",
    "called", "cascade", "cascaded", "case", "check", "close", "cluster", "collate", "column", "comment",
    "commit", "compress", "condition", "connect", "constraint", "constraints", "continue", "corresponding",
    "create", "cross", "cube", "current", "cursor", "cycle", "database", "day", "deallocate", "default",
    "deferrable", "deferred", "delete", "desc", "describe", "deterministic", "disable", "disconnect",
    "distinct", "drop", "dynamic", "each", "else", "enable", "escape", "except", "exclusive", "exec",
    "execute", "exists", "explain", "external", "false", "fetch", "filter", "first", "for", "force",
    "foreign", "free", "from", "full", "get", "global", "grant", "group", "having", "hold", "hour",
    "identified", "identity", "in", "increment", "index", "indicator", "initial", "inner", "inout",
    "insensitive", "insert", "intersect", "into", "is", "join", "key", "language", "large", "last", "lateral",
    "leading", "left", "level", "like", "limit", "local", "localtime", "lock", "match", "maxvalue", "merge",
    "method", "minus", "minute", "minvalue", "mode", "modifies", "modify", "module", "month", "national",
    "natural", "new", "next", "no", "nocompress", "nocycle", "none", "not", "nowait", "null", "nulls", "of",
    "off", "offset", "old", "on", "only", "open", "option", "or", "order", "outer", "over", "overlaps",
    "parameter", "partition", "precision", "prepare", "primary", "prior", "privileges", "public", "range",
    "read", "reads", "recursive", "ref", "references", "referencing", "release", "rename", "resource",
    "restrict", "result", "return", "returns", "revoke", "right", "role", "rollback", "rollup", "row",
    "rownum", "rows", "savepoint", "schema", "scope", "scroll", "search", "second", "select", "sensitive",
    "sequence", "session", "session_user", "set", "share", "similar", "size", "some", "specific", "sql",
    "sqlexception", "sqlstate", "sqlwarning", "start", "static", "submultiset", "symmetric", "synonym",
    "system", "system_user", "table", "tablesample", "tablespace", "temporary", "then", "timezone_hour",
    "timezone_minute", "to", "top", "trailing", "transaction", "translation", "treat", "trigger", "true",
    "truncate", "union", "unique", "unknown", "unnest", "update", "usage", "using", "validate", "value",
    "values", "varying", "view", "when", "whenever", "where", "window", "with", "within", "without", "work",
    "write", "year", "zone"};

// Words that start a SQL*Plus command when they open a line outside a statement.
const char* const kPlusCommands[] = {
    "accept", "append", "archive", "attribute", "break", "btitle", "change", "clear", "col", "column",
    "compute", "connect", "copy", "def", "define", "del", "desc", "describe", "disconnect", "edit", "exec",
    "execute", "exit", "get", "help", "host", "input", "list", "password", "pause", "print", "pro", "prompt",
    "quit", "recover", "rem", "remark", "repfooter", "repheader", "run", "save", "set", "show", "shutdown",
    "spool", "start", "startup", "store", "timing", "ttitle", "undef", "undefine", "var", "variable",
    "whenever", "xquery"};

template <size_t N> std::vector<std::string> wordsOf(const char* const (&list)[N]) {
    return {list, list + N};
}

char closingBracket(char open) {
    switch (open) {
    case '[':
        return ']';
    case '(':
        return ')';
    case '{':
        return '}';
    case '<':
        return '>';
    default:
        return open;
    }
}

class SqlHighlighter final : public RuleHighlighter {
public:
    explicit SqlHighlighter(LanguageRules rules)
        : RuleHighlighter(std::move(rules)), conditional_(require(u"Conditional Comment")),
          string_(require(u"String")), delimited_(require(u"Delimited Identifier")),
          variableAttr_(require(u"Variable")), plus_(require(u"SQL*Plus Command")) {}

    void tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const override;

private:
    // A quoted run from start whose body begins at body and ends at the closer (doubled
    // closers stand for themselves); returns the end, or npos when the line ends first.
    static size_t findClose(std::string_view line, size_t body, char closer, bool doubled) {
        for (size_t i = body; i < line.size(); ++i) {
            if (line[i] != closer) continue;
            if (doubled && i + 1 < line.size() && line[i + 1] == closer) {
                ++i;
                continue;
            }
            return i + 1;
        }
        return std::string_view::npos;
    }
    // The end of a q'<d>...<d>' string whose body starts at body.
    static size_t findQClose(std::string_view line, size_t body, char closer) {
        for (size_t i = body; i + 1 < line.size(); ++i)
            if (line[i] == closer && line[i + 1] == '\'') return i + 2;
        return std::string_view::npos;
    }

    int conditional_, string_, delimited_, variableAttr_, plus_;
};

void SqlHighlighter::tokenizeLine(std::string_view line, int& state, std::vector<Token>& out) const {
    int open = state & kOpenMask;
    char qCloser = static_cast<char>((state >> kCloserShift) & 0xFF);
    int flags = state & ~0xFFFF;
    size_t pos = 0;

    // What the previous line left open.
    if (open == kInComment || open == kInConditional) {
        const size_t close = line.find("*/");
        const size_t end = close == std::string_view::npos ? line.size() : close + 2;
        push(out, 0, end, open == kInComment ? comment_ : conditional_);
        if (close == std::string_view::npos) return;
        open = 0;
        pos = end;
    } else if (open == kInString || open == kInQString) {
        const size_t end = open == kInString ? findClose(line, 0, '\'', true) : findQClose(line, 0, qCloser);
        push(out, 0, end == std::string_view::npos ? line.size() : end, string_);
        if (end == std::string_view::npos) return;
        open = 0;
        pos = end;
    } else if (open != 0) {
        open = 0; // not a state of this highlighter
    }

    // A "/" (or, within a PL/SQL unit, a ".") alone on a line ends the statement or unit.
    if (pos == 0) {
        size_t a = 0, b = line.size();
        while (a < b && isBlank(line[a]))
            ++a;
        while (b > a && isBlank(line[b - 1]))
            --b;
        if (b == a + 1 && (line[a] == '/' || (line[a] == '.' && (flags & kPlsqlUnit)))) {
            push(out, 0, a, space_);
            push(out, a, b, symbol_);
            push(out, b, line.size(), space_);
            state = 0;
            return;
        }
    }

    bool statementStart = !(flags & kMidStatement) && pos == 0;
    bool firstOnLine = pos == 0;
    bool plusLine = false;
    bool sawCode = false;
    // A [ whose name found no ] from here on: no later [ finds one either (the ]] pairs after
    // it read the same), so the rest of the line is not searched again for each [.
    size_t noCloseFrom = std::string_view::npos;
    // Marks the token just pushed as code: it decides what starts the next statement.
    auto code = [&](bool endsStatement) {
        sawCode = true;
        firstOnLine = false;
        statementStart = endsStatement;
        if (endsStatement) flags &= ~(kCreatePending | kJustBegun);
    };

    while (pos < line.size()) {
        const char c = line[pos];
        const auto u = static_cast<unsigned char>(c);
        if (isBlank(c)) {
            pos = scanOne(line, pos, open, out);
            continue;
        }
        if (c == '-' && pos + 1 < line.size() && line[pos + 1] == '-') {
            push(out, pos, line.size(), comment_);
            break;
        }
        if (c == '/' && pos + 1 < line.size() && line[pos + 1] == '*') {
            const bool conditional = pos + 2 < line.size() && line[pos + 2] == '!';
            const size_t close = line.find("*/", pos + (conditional ? 3 : 2));
            const int attr = conditional ? conditional_ : comment_;
            if (close == std::string_view::npos) {
                push(out, pos, line.size(), attr);
                open = conditional ? kInConditional : kInComment;
                break;
            }
            push(out, pos, close + 2, attr);
            pos = close + 2;
            continue;
        }

        // A SQL*Plus command line: the command word (or @, @@ running a script) first on a
        // line outside any statement; REMARK lines are remarks and PROMPT shows its text.
        if (firstOnLine && statementStart && !(flags & kPlsqlUnit)) {
            if (c == '@') {
                size_t i = pos + 1;
                if (i < line.size() && line[i] == '@') ++i;
                push(out, pos, i, plus_);
                size_t j = i;
                while (j < line.size() && !isBlank(line[j]))
                    ++j;
                push(out, i, j, identifier_);
                pos = j;
                plusLine = true;
                code(true);
                continue;
            }
            if (isIdentifierStart(u)) {
                size_t i = pos + 1;
                while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                    ++i;
                const std::string word = asciiLower(line.substr(pos, i - pos));
                if (inWordList<kPlusCommands>(word)) {
                    push(out, pos, i, plus_);
                    plusLine = true;
                    code(true);
                    pos = i;
                    if (word == "rem" || word == "remark" || word == "pro" || word == "prompt") {
                        size_t j = pos;
                        while (j < line.size() && isBlank(line[j]))
                            ++j;
                        push(out, pos, j, space_);
                        push(out, j, line.size(), word[0] == 'r' ? comment_ : string_);
                        pos = line.size();
                    }
                    continue;
                }
            }
        }

        if (c == '\'') {
            const size_t end = findClose(line, pos + 1, '\'', true);
            push(out, pos, end == std::string_view::npos ? line.size() : end, string_);
            code(false);
            if (end == std::string_view::npos) {
                open = kInString;
                break;
            }
            pos = end;
            continue;
        }
        if (c == '"' || c == '`') {
            const size_t end = findClose(line, pos + 1, c, true);
            push(out, pos, end == std::string_view::npos ? line.size() : end, delimited_);
            code(false);
            pos = end == std::string_view::npos ? line.size() : end;
            continue;
        }
        if (c == '[') {
            // [name] quotes a name unless the bracket follows a value (an array subscript).
            const bool subscript = pos > 0 && (isIdentifierPart(static_cast<unsigned char>(line[pos - 1])) ||
                                               line[pos - 1] == ')' || line[pos - 1] == ']');
            const bool searched = !subscript && pos + 1 < noCloseFrom;
            const size_t end = searched ? findClose(line, pos + 1, ']', true) : std::string_view::npos;
            if (searched && end == std::string_view::npos) noCloseFrom = pos + 1;
            if (end != std::string_view::npos && end > pos + 2) {
                push(out, pos, end, delimited_);
                pos = end;
            } else {
                push(out, pos, pos + 1, symbol_);
                ++pos;
            }
            code(false);
            continue;
        }

        // Variables: @name and @@name, :name and :1 binds (not ::), &name and &&name substitutions.
        if (c == '@' || c == ':' || c == '&') {
            size_t i = pos + 1;
            if (c != ':' && i < line.size() && line[i] == c) ++i;
            const bool afterColon = c == ':' && pos > 0 && line[pos - 1] == ':';
            if (!afterColon && i < line.size() &&
                (isIdentifierStart(static_cast<unsigned char>(line[i])) || (c != '@' && isDigit(line[i])))) {
                while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                    ++i;
                push(out, pos, i, variableAttr_);
                pos = i;
                code(false);
                continue;
            }
        }

        if (isIdentifierStart(u)) {
            size_t i = pos + 1;
            while (i < line.size() && isIdentifierPart(static_cast<unsigned char>(line[i])))
                ++i;
            const std::string word = asciiLower(line.substr(pos, i - pos));
            // Prefixed literals: N'..', X'..', B'..', E'..', and q'[..]' with any delimiter.
            if (i < line.size() && line[i] == '\'') {
                if ((word == "q" || word == "nq") && i + 1 < line.size() && !isBlank(line[i + 1])) {
                    const char closer = closingBracket(line[i + 1]);
                    const size_t end = findQClose(line, i + 2, closer);
                    push(out, pos, end == std::string_view::npos ? line.size() : end, string_);
                    code(false);
                    if (end == std::string_view::npos) {
                        open = kInQString;
                        qCloser = closer;
                        break;
                    }
                    pos = end;
                    continue;
                }
                if (word == "n" || word == "x" || word == "b" || word == "e") {
                    const size_t end = findClose(line, i + 1, '\'', true);
                    push(out, pos, end == std::string_view::npos ? line.size() : end, string_);
                    code(false);
                    if (end == std::string_view::npos) {
                        open = kInString;
                        break;
                    }
                    pos = end;
                    continue;
                }
            }
            const int attr = wordAttribute(word);
            push(out, pos, i, attr >= 0 ? attr : identifier_);
            pos = i;

            // Follow the script: DECLARE/BEGIN and CREATE PROCEDURE etc. start a PL/SQL unit.
            const bool wasStart = statementStart;
            const int before = flags;
            code(false);
            flags &= ~kJustBegun;
            if (before & kJustBegun) {
                if (word == "transaction" || word == "tran" || word == "work") flags &= ~kPlsqlUnit;
            } else if (before & kCreatePending) {
                flags &= ~kCreatePending;
                if (word == "procedure" || word == "function" || word == "package" || word == "trigger" ||
                    word == "type")
                    flags |= kPlsqlUnit;
                else if (word == "or" || word == "replace" || word == "editionable" ||
                         word == "noneditionable")
                    flags |= kCreatePending;
            } else if (wasStart && !(flags & kPlsqlUnit)) {
                if (word == "declare")
                    flags |= kPlsqlUnit;
                else if (word == "begin")
                    flags |= kPlsqlUnit | kJustBegun;
                else if (word == "create")
                    flags |= kCreatePending;
            }
            continue;
        }

        // Numbers, and any other byte as a symbol.
        const size_t before = out.size();
        pos = scanOne(line, pos, open, out);
        const bool semicolon = out.size() > before && out.back().length == 1 && line[out.back().start] == ';';
        if (semicolon && (flags & kJustBegun)) flags &= ~kPlsqlUnit; // "BEGIN;" starts a transaction
        code(semicolon);
        flags &= ~kJustBegun;
    }

    if (plusLine) {
        // SQL*Plus commands end with their line.
        flags &= ~(kMidStatement | kCreatePending);
        if (open == kInString || open == kInQString) open = 0;
    } else if (open == kInString || open == kInQString) {
        flags |= kMidStatement;
    } else if (sawCode) {
        if (statementStart)
            flags &= ~kMidStatement;
        else
            flags |= kMidStatement;
    }
    state = flags | open |
            (open == kInQString ? static_cast<int>(static_cast<unsigned char>(qCloser)) << kCloserShift : 0);
}

} // namespace

std::unique_ptr<Highlighter> makeSql() {
    LanguageRules r;
    r.name = QStringLiteral("SQL");
    r.filter = QStringLiteral("SQL Files (*.sql)|*.sql");
    r.attributes = {{QStringLiteral("Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Conditional Comment"), kNoColor, kNoColor, kItalic},
                    {QStringLiteral("Data Type"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Default Packages"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Delimited Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Exception"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Function"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Identifier"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Number"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("PL/SQL Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Reserved Word"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("Space"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("SQL*Plus Command"), kNoColor, kNoColor, kBold},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Table Name"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    // Comments, strings, quoted names and variables are scanned by SqlHighlighter itself;
    // the table supplies numbers, words and symbols.
    r.identifierPart = "_$#";
    r.hexPrefixes = {"0x"};
    r.numberSuffixes = "fFdD";
    // Where a word is in several lists the first list wins: the most specific meaning first.
    r.words = {{wordsOf(kExceptions), QStringLiteral("Exception")},
               {wordsOf(kPackages), QStringLiteral("Default Packages")},
               {wordsOf(kTableNames), QStringLiteral("Table Name")},
               {wordsOf(kPlsqlWords), QStringLiteral("PL/SQL Reserved Word")},
               {wordsOf(kDataTypes), QStringLiteral("Data Type")},
               {wordsOf(kFunctions), QStringLiteral("Function")},
               {wordsOf(kReserved), QStringLiteral("Reserved Word")}};
    return std::make_unique<SqlHighlighter>(std::move(r));
}

} // namespace tw::languages
