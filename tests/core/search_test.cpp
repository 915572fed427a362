#include "search/search_walk.h"
#include "search/text_search.h"
#include "../qt_printers.h"

#include <gtest/gtest.h>

using namespace tw;

TEST(Search, ForwardAndBackwardOverText) {
    struct Case {
        const char* text;
        const char* what;
        int from;
        bool down;
        int expected;
    };
    for (const Case& c : {
             Case{"abab", "ab", 4, false, 2},    // upward from the end: the second one first
             Case{"abab", "ab", 2, false, 0},    // then the first
             Case{"abab", "ab", 0, false, -1},   // then none
             Case{"ab", "ab", 2, false, 0},      // a match ending exactly at the caret counts
             Case{"xxab", "ab", 3, false, -1},   // nothing ends before the caret
             Case{"ab cd", "ab", 1, true, -1},   // downward never starts again from the top
             Case{"abc", "Abc", 0, true, -1},    // case-sensitive
             Case{"cabin", "ab", 0, true, 1},    // inside words
             Case{"a\r\nb", "b", 0, true, 3},    // a line break counts two
             Case{"Жук жук", "жук", 0, true, 7}, // byte offsets in UTF-8
             Case{"abc", "", 0, true, -1},
             Case{"abc", "c", 9, true, -1},
         }) {
        EXPECT_EQ(c.down ? findForward(c.text, c.what, c.from) : findBackward(c.text, c.what, c.from), c.expected)
            << c.text << " / " << c.what;
    }
}

TEST(Search, NodesAfterTheSelectedOne) {
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "Section", 0, 0, -1, makePageRecord({}, "Section", 0, 0, 1, -1));
    t.appendChild(s, "alpha", 2, 2, -1, makePageRecord("int x;", "alpha", 1, 2, 2, -1));
    t.appendChild(t.root(), "beta", 2, 2, -1, makePageRecord("x = 1", "beta", 1, 2, 2, -1));
    t.root()->page->text = "x";
    EXPECT_EQ(findNextCaption(t, 0, "a"), 2);     // "Section" has no "a"
    EXPECT_EQ(findNextCaption(t, 2, "a"), 3);
    EXPECT_EQ(findNextCaption(t, 3, "a"), -1);    // the last node: nothing after it
    EXPECT_EQ(findNextCaption(t, -1, "Root"), -1); // the root node is never examined
    EXPECT_EQ(findNextText(t, 0, "x"), 2);
    EXPECT_EQ(findNextText(t, 2, "x"), 3);
    EXPECT_EQ(findNextText(t, 3, "x"), -1);
}

// The jumps of "find next" across tabs and nodes, on a tree of a section and four pages:
// 1 Section, 2 "alpha x", 3 "beta", 4 "gamma x", 5 "delta".
TEST(SearchWalk, JumpsToTheNextTextHoldingTheMatchOrToTheLast) {
    CollectionTree t;
    Node* s = t.appendChild(t.root(), "Section", 0, 0, -1, makePageRecord({}, "Section", 0, 0, 1, -1));
    for (const char* text : {"alpha x", "beta", "gamma x", "delta"})
        t.appendChild(s, text, 2, 2, -1, makePageRecord(text, text, 1, 2, 2, -1));

    struct TabCase {
        std::vector<int> bound;
        int current;
        const char* what;
        int expected;
    };
    for (const TabCase& c : {
             TabCase{{2, 3, 4, 5}, 0, "x", 2},   // passes over "beta" to the next text holding it
             TabCase{{2, 3, 4, 5}, 2, "x", 3},   // none after: the last tab
             TabCase{{2, 3, 4, 5}, 3, "x", -1},  // already the last tab
             TabCase{{0, 0, 4}, 0, "x", 2},      // a None tab holds nothing
             TabCase{{2, 0, 3}, 0, "", 2},       // an empty search stops at the next tab on a node
             TabCase{{2}, 0, "x", -1},
         }) {
        EXPECT_EQ(nextTabToSearch(t, c.bound, c.current, c.what), c.expected) << c.current << " " << c.what;
    }
    EXPECT_EQ(nextNodeToSearch(t, 0, "x"), 2);
    EXPECT_EQ(nextNodeToSearch(t, 2, "x"), 4);
    EXPECT_EQ(nextNodeToSearch(t, 4, "x"), 5);   // none after: the last node
    EXPECT_EQ(nextNodeToSearch(t, 5, "x"), -1);  // already the last node
}
