#pragma once
// The results panel of "Найти все": a dock below the editor listing one row per match
// with the node's path, the line number and the line with the match marked. Enter or a
// double click on a row asks for the match to be opened.

#include "search/search_hits.h"

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QStyledItemDelegate>

class QTableView;

namespace tw {

struct SearchResult {
    int node = 0;       // absolute index at the time of the search
    TextMatch match;    // in the node's text; in its caption's UTF-8 for a caption search
    bool inCaption = false;
    QString path;
    int line = 0;       // 0 for a caption
    QString excerpt;    // the line (or caption) around the match
    int markStart = 0;  // the match within the excerpt, in QString units
    int markLength = 0;
};

// The rows of a search over collection tree: the excerpts are cut from the tree's texts.
std::vector<SearchResult> searchResults(const CollectionTree& tree, const SearchHits& hits, bool captions);

class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PathColumn, LineColumn, TextColumn, ColumnCount };
    // The match within the excerpt, as a QPoint(start, length), in the text column.
    static constexpr int MarkRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;
    void setResults(std::vector<SearchResult> results);
    const SearchResult& result(int row) const { return results_[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<SearchResult> results_;
};

// Draws the text column with the match on a highlight.
class MatchMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class SearchResultsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit SearchResultsPanel(QWidget* parent = nullptr);
    SearchResultsModel& model() { return *model_; }
    QTableView* view() const { return view_; }
    // Replaces the rows and shows the panel with its first row current.
    void showResults(std::vector<SearchResult> results);

signals:
    void resultActivated(const tw::SearchResult& result);

private:
    SearchResultsModel* model_;
    QTableView* view_;
};

} // namespace tw
