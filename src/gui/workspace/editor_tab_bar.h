#pragma once

#include <QTabBar>

namespace tw {

// The editor's tab bar: no tab is wider than a third of the bar (and never wider than
// kMaxTabWidth), so a long caption is elided instead of taking the whole bar.
class EditorTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;
    static constexpr int kMaxTabWidth = 260;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        const int limit = std::max(80, std::min(kMaxTabWidth, width() / 3));
        size.setWidth(std::min(size.width(), limit));
        return size;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index).boundedTo(QTabBar::minimumTabSizeHint(index)); }
};

} // namespace tw
