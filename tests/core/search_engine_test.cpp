// The search engine with its options: what matches, where, and what a bad pattern reports.
#include "search/search_hits.h"
#include "search/search_pattern.h"
#include "search/search_walk.h"
#include "search/text_search.h"
#include "../qt_printers.h"

#include <gtest/gtest.h>

using namespace tw;

namespace {
constexpr SearchOptions kExact{};
constexpr SearchOptions kAnyCase{false, false, false};
constexpr SearchOptions kWord{true, true, false};
constexpr SearchOptions kAnyCaseWord{false, true, false};
constexpr SearchOptions kRegex{true, false, true};
constexpr SearchOptions kAnyCaseRegex{false, false, true};
constexpr SearchOptions kWordRegex{true, true, true};
} // namespace

TEST(SearchEngine, MatchesWithEachOptionForwardAndBackward) {
    struct Case {
        const char* text;
        const char* what;
        SearchOptions options;
        int from;
        bool down;
        TextMatch expected;
    };
    for (const Case& c : {
             Case{"Abc abc", "abc", kExact, 0, true, {4, 3}},
             Case{"Abc abc", "abc", kAnyCase, 0, true, {0, 3}},
             Case{"Abc abc", "ABC", kAnyCase, 7, false, {4, 3}},
             Case{"Abc abc", "ABC", kAnyCase, 6, false, {0, 3}},      // a match must end by the caret
             Case{"аб Сортировка", "сортировка", kAnyCase, 0, true, {5, 20}},  // Cyrillic folds; bytes counted
             Case{"аб Сортировка", "сортировка", kExact, 0, true, {}},
             Case{"ЁЛКА", "ёлка", kAnyCase, 0, true, {0, 8}},
             Case{"Жук жук", "ЖУК", kAnyCase, 1, true, {7, 6}},
             Case{"aaa", "aa", kExact, 3, false, {1, 2}},             // exact backward: the closest, overlapping
             Case{"foobar foo", "foo", kWord, 0, true, {7, 3}},       // not inside a longer word
             Case{"foo", "foo", kWord, 0, true, {0, 3}},              // at both edges of the text
             Case{"(foo);", "foo", kWord, 0, true, {1, 3}},           // next to punctuation
             Case{"foo_bar foo1", "foo", kWord, 0, true, {}},         // "_" and digits are word characters
             Case{"словом слово", "слово", kWord, 0, true, {13, 10}}, // Cyrillic letters are word characters
             Case{"Слово, слово", "СЛОВО", kAnyCaseWord, 21, false, {0, 10}},
             Case{"x foo foo", "foo", kWord, 9, false, {6, 3}},
             Case{"a.b a+b", "a+b", kExact, 0, true, {4, 3}},         // no pattern without the option
             Case{"a.b a+b", "a+b", kAnyCase, 0, true, {4, 3}},       // special characters stay literal
             Case{"aab", "a+b", kRegex, 0, true, {0, 3}},
             Case{"int x; int yy;", R"(int\s+(\w+))", kRegex, 1, true, {7, 6}},
             Case{"INT a; int b", "int", kAnyCaseRegex, 14, false, {7, 3}},
             Case{"print int", "int", kWordRegex, 0, true, {6, 3}},
             Case{"one\r\ntwo", "two", kExact, 0, true, {5, 3}},      // a line break counts two
             Case{"one\r\ntwo", "e\r\nT", kAnyCase, 0, true, {2, 4}}, // across the line break
             Case{"one\r\ntwo", "e$", kRegex, 0, true, {2, 1}},       // "$" before CR LF
             Case{"one\r\ntwo", "^t", kRegex, 0, true, {5, 1}},       // "^" after it
             Case{"one\r\ntwo", "e.t", kRegex, 0, true, {}},          // "." is no line break
             Case{"one\r\ntwo", R"(e\r\nt)", kRegex, 0, true, {2, 4}},
             Case{"baa", "a*", kRegex, 0, true, {1, 2}},              // never an empty match
             Case{"abc", "x*", kRegex, 0, true, {}},
             Case{"\xff\xfe abc", "ABC", kAnyCase, 0, true, {3, 3}},  // bytes that are no UTF-8 match nothing
             Case{"abc", "", kAnyCase, 0, true, {}},
             Case{"abc", "c", kAnyCase, 9, true, {}},
         }) {
        const SearchPattern p(c.what, c.options);
        ASSERT_TRUE(p.valid()) << c.what << ": " << p.error().toStdString();
        const TextMatch m = c.down ? p.findForward(c.text, c.from) : p.findBackward(c.text, c.from);
        EXPECT_EQ(m.start, c.expected.start) << c.text << " / " << c.what << " from " << c.from;
        EXPECT_EQ(m.length, c.expected.length) << c.text << " / " << c.what << " from " << c.from;
    }
}

TEST(SearchEngine, ReplacementUsesTheGroupsOfARegularExpression) {
    struct Case {
        const char* what;
        SearchOptions options;
        const char* with;
        const char* expected;
    };
    const std::string text = "set key=value;";
    for (const Case& c : {
             Case{R"((\w+)=(\w+))", kRegex, "$2=$1", "value=key"},
             Case{R"((\w+)=(\w+))", kRegex, R"(\2:\1)", "value:key"},
             Case{R"((\w+)=(\w+))", kRegex, "${1}s[$0]", "keys[key=value]"},
             Case{R"((\w+)=(\w+))", kRegex, R"($$1 \\1 $9 ${x})", R"($1 \1 $9 ${x})"},  // escapes; no group 9
             Case{R"((\w+)=(x)?)", kRegex, "<$2>", "<>"},                                // an unset group is empty
             Case{"key=value", kExact, "$1", "$1"},                                      // only for a pattern
         }) {
        const SearchPattern p(c.what, c.options);
        const TextMatch m = p.findForward(text, 0);
        ASSERT_TRUE(m.found()) << c.what;
        EXPECT_EQ(p.replacement(text, m, c.with), c.expected) << c.what << " -> " << c.with;
    }
}

TEST(SearchEngine, BadAndRunawayPatternsReportInsteadOfFailing) {
    const SearchPattern open("ab(c", kRegex);
    EXPECT_FALSE(open.valid());
    EXPECT_EQ(open.error(), QStringLiteral("Ошибка в регулярном выражении в позиции 5: missing closing parenthesis"));
    EXPECT_FALSE(open.findForward("ab(c", 0).found());
    // The position is in the user's characters, whatever the options wrap around the pattern.
    const SearchPattern cyrillic("жж[", kWordRegex);
    EXPECT_TRUE(cyrillic.error().startsWith(QStringLiteral("Ошибка в регулярном выражении в позиции 4: ")))
        << cyrillic.error().toStdString();
    EXPECT_TRUE(SearchPattern("ab(c", kAnyCase).valid());  // without the option it is text

    const SearchPattern runaway("(a+)+$", kRegex);
    const std::string text = std::string(40, 'a') + "!";
    EXPECT_FALSE(runaway.findForward(text, 0).found());
    EXPECT_TRUE(runaway.failed());
    EXPECT_TRUE(runaway.error().startsWith(QStringLiteral("Поиск прерван"))) << runaway.error().toStdString();
}

TEST(SearchEngine, WalksAndListsHonourTheOptions) {
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "Раздел", 0, 0, -1, makePageRecord({}, "Раздел", 0, 0, 1, -1));
    t.appendChild(s, "Сортировка", 2, 2, -1, makePageRecord("// Сортировка\r\nsort(a);\r\nSORT(b); sort(c)", "Сортировка", 1, 2, 2, -1));
    t.appendChild(s, "поиск", 2, 2, -1, makePageRecord("find(x);", "поиск", 1, 2, 2, -1));
    t.appendChild(t.root(), "сортировка слиянием", 2, 2, -1, makePageRecord("merge_sort(a);", "m", 1, 2, 2, -1));

    const SearchPattern sortWord("sort", kAnyCaseWord);
    EXPECT_EQ(findNextText(t, 0, sortWord), 2);
    EXPECT_EQ(findNextText(t, 2, sortWord), -1);  // "merge_sort" is no whole word
    EXPECT_EQ(findNextText(t, 2, SearchPattern("SORT", kAnyCase)), 4);
    EXPECT_EQ(nextTabToSearch(t, {3, 4, 2, 3}, 0, sortWord), 2);
    EXPECT_EQ(findNextCaption(t, 0, SearchPattern("СОРТИРОВКА", kAnyCase)), 2);
    EXPECT_EQ(findNextCaption(t, 2, SearchPattern("СОРТИРОВКА", kAnyCase)), 4);

    const SearchHits hits = findAllInTexts(t, sortWord);
    ASSERT_EQ(hits.hits.size(), 3u);
    EXPECT_EQ(hits.nodes, 1);
    struct Expected {
        int start, line, lineStart, lineEnd;
    };
    const Expected expected[] = {{25, 2, 25, 33}, {35, 3, 35, 51}, {44, 3, 35, 51}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(hits.hits[i].node, 2);
        EXPECT_EQ(hits.hits[i].match.start, expected[i].start) << i;
        EXPECT_EQ(hits.hits[i].line, expected[i].line) << i;
        EXPECT_EQ(hits.hits[i].lineStart, expected[i].lineStart) << i;
        EXPECT_EQ(hits.hits[i].lineEnd, expected[i].lineEnd) << i;
    }
    // A match across a line break belongs to the line it starts in.
    const SearchHits across = findAllInTexts(t, SearchPattern(R"(;\r\n(\w+))", kRegex));
    ASSERT_EQ(across.hits.size(), 1u);
    EXPECT_EQ(across.hits[0].line, 2);
    EXPECT_EQ(across.hits[0].match, (TextMatch{32, 7}));
    EXPECT_EQ(across.hits[0].lineEnd, 33);

    EXPECT_TRUE(findAllInCaptions(t, SearchPattern("r", kAnyCase)).hits.empty());  // never the root's "Root"
    const SearchHits captions = findAllInCaptions(t, SearchPattern("С", kAnyCase));
    EXPECT_EQ(captions.nodes, 3);
    EXPECT_EQ(captions.hits.size(), 4u);
    EXPECT_EQ(captions.hits.front().node, 2);
    EXPECT_EQ(captions.hits.front().line, 0);
}
