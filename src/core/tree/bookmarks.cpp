#include "tree/bookmarks.h"

#include <utility>

namespace tw {

int GetMarkIndex(const std::vector<TEditMark>& marks, int n) {
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i].Number == n) return static_cast<int>(i);
    return -1;
}

void SwapMarks(std::vector<TEditMark>& marks, int p, int q) {
    std::swap(marks[static_cast<size_t>(p)].Number, marks[static_cast<size_t>(q)].Number);
    std::swap(marks[static_cast<size_t>(p)].ImageIndex, marks[static_cast<size_t>(q)].ImageIndex);
}

void AddItem(std::vector<TEditMark>& marks, int n, int column, int line) {
    const int p = GetMarkIndex(marks, n);
    if (p < 0) {
        TEditMark r;
        r.Line = line;
        r.Column = column;
        r.ImageIndex = n;
        r.Number = n;
        r.Visible = true;
        r.InternalImage = false;
        marks.push_back(r);
        return;
    }
    for (size_t q = 0; q < marks.size(); ++q) {
        if (marks[q].Line == line) {
            SwapMarks(marks, p, static_cast<int>(q));
            return;
        }
    }
    marks[static_cast<size_t>(p)].Line = line;
}

QString markCaption(std::string_view lineText) {
    size_t b = 0, e = lineText.size();
    while (b < e && static_cast<unsigned char>(lineText[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(lineText[e - 1]) <= 32) --e;
    return QString::fromUtf8(lineText.data() + b, static_cast<qsizetype>(e - b)).left(25);
}

} // namespace tw
