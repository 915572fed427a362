#include "editor/languages/languages.h"
#include "editor/rule_highlighter.h"

namespace tw::languages {

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
                    {QStringLiteral("SQL*Plus Command"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("String"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Symbol"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Table Name"), kNoColor, kNoColor, kPlain},
                    {QStringLiteral("Variable"), kNoColor, kNoColor, kPlain}};
    r.caseSensitive = false;
    r.lineComments = {"--"};
    r.blocks = {{"/*!", "*/", "Conditional Comment"}, {"/*", "*/", "Comment"}};
    r.strings = {{"'", "'", "String", 0, true, true}, {"\"", "\"", "Delimited Identifier"}};
    r.variablePrefixes = "@:";
    r.words = {{{"select", "from", "where", "order", "by", "insert", "into", "update", "delete", "create", "table", "and", "or", "not"}, "Reserved Word"}, {{"int", "integer", "varchar", "char", "date"}, "Data Type"}, {{"count", "sum", "max", "min", "avg"}, "Function"}};
    return std::make_unique<RuleHighlighter>(std::move(r));
}

} // namespace tw::languages
