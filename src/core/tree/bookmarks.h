#pragma once
// The numbered bookmarks of a node: at most five, numbers 0..4 handed out in order,
// kept in the node's bookmark list in the order they were made.

#include "tree/page.h"

#include <QString>
#include <string_view>
#include <vector>

namespace tw {

inline constexpr int kBookmarkCount = 5;

// The position of the first record with number n, or -1.
int bookmarkPosition(const std::vector<Bookmark>& marks, int n);

// A copy of a record for the editor's list.
inline Bookmark copyBookmark(const Bookmark& mark) { return mark; }

// Exchanges number and picture of the records at p and q; their lines stay.
void swapBookmarks(std::vector<Bookmark>& marks, int p, int q);

// Sets bookmark n on line: a new record when n is not in use; otherwise the bookmark
// already on that line swaps number and picture with n, or n moves to the line.
void setBookmark(std::vector<Bookmark>& marks, int n, int column, int line);

// The caption of a "go to" item for a line: codes 0..32 trimmed at both ends, the first
// 25 characters.
QString markCaption(std::string_view lineText);

} // namespace tw
