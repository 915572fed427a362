#include "tree/bookmarks.h"

#include <utility>

namespace tw {

int bookmarkPosition(const std::vector<Bookmark>& marks, int n) {
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i].number == n) return static_cast<int>(i);
    return -1;
}

void swapBookmarks(std::vector<Bookmark>& marks, int p, int q) {
    std::swap(marks[static_cast<size_t>(p)].number, marks[static_cast<size_t>(q)].number);
    std::swap(marks[static_cast<size_t>(p)].imageIndex, marks[static_cast<size_t>(q)].imageIndex);
}

void setBookmark(std::vector<Bookmark>& marks, int n, int column, int line) {
    const int p = bookmarkPosition(marks, n);
    if (p < 0) {
        Bookmark r;
        r.line = line;
        r.column = column;
        r.imageIndex = n;
        r.number = n;
        r.visible = true;
        r.internalImage = false;
        marks.push_back(r);
        return;
    }
    for (size_t q = 0; q < marks.size(); ++q) {
        if (marks[q].line == line) {
            swapBookmarks(marks, p, static_cast<int>(q));
            return;
        }
    }
    marks[static_cast<size_t>(p)].line = line;
}

QString markCaption(std::string_view lineText) {
    size_t b = 0, e = lineText.size();
    while (b < e && static_cast<unsigned char>(lineText[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(lineText[e - 1]) <= 32) --e;
    return QString::fromUtf8(lineText.data() + b, static_cast<qsizetype>(e - b)).left(25);
}

} // namespace tw
