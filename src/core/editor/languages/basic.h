#pragma once
// The lexer shared by the Basic dialects, set up with what tells them apart.

#include "editor/highlighter.h"
#include "editor/rule_highlighter.h"

#include <memory>
#include <string_view>

namespace tw::languages {

struct BasicDialect {
    bool typeCharacters = false;      // numbers and names may end in %, &, !, #, @, ^ (names also $)
    bool commentContinuation = false; // a comment whose line ends in " _" goes on over the next line
    bool underscoreNames = false;     // a name may start with "_" (a lone "_" stays a symbol)
    std::string_view exponentLetters = "eE";
};

// A highlighter for a Basic dialect: the rules give strings, keywords and symbols; comments,
// numbers, date literals and names are read by the lexer.
std::unique_ptr<Highlighter> makeBasic(LanguageRules rules, const BasicDialect& dialect);

} // namespace tw::languages
