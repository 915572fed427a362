#include "search/search_results.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <QTextLayout>

namespace tw {

namespace {

// Bytes of the line shown before and after a match: a long line is cut around it.
constexpr int kContextBefore = 60;
constexpr int kContextAfter = 120;

bool continuationByte(std::string_view s, int at) {
    return at < static_cast<int>(s.size()) && (static_cast<unsigned char>(s[static_cast<size_t>(at)]) & 0xC0) == 0x80;
}

QString utf8(std::string_view s, int from, int to) {
    return QString::fromUtf8(s.data() + from, std::max(to - from, 0));
}

void cutExcerpt(std::string_view source, const SearchHit& hit, SearchResult& out) {
    const int start = hit.match.start;
    const int markEnd = std::min(hit.match.end(), std::max(hit.lineEnd, start));
    int from = std::max(hit.lineStart, start - kContextBefore);
    while (from < start && continuationByte(source, from)) ++from;
    const bool cutBefore = from > hit.lineStart;
    if (!cutBefore)
        while (from < start && (source[static_cast<size_t>(from)] == ' ' || source[static_cast<size_t>(from)] == '\t')) ++from;
    int to = std::max(std::min(hit.lineEnd, markEnd + kContextAfter), markEnd);
    while (to > markEnd && continuationByte(source, to)) --to;
    const QString ellipsis(QChar(0x2026));
    const QString before = (cutBefore ? ellipsis : QString()) + utf8(source, from, start);
    const QString mark = utf8(source, start, markEnd);
    out.excerpt = before + mark + utf8(source, markEnd, to) + (to < hit.lineEnd ? ellipsis : QString());
    out.excerpt.replace(QLatin1Char('\t'), QLatin1Char(' '));
    out.markStart = static_cast<int>(before.size());
    out.markLength = static_cast<int>(mark.size());
}

} // namespace

std::vector<SearchResult> searchResults(const CollectionTree& tree, const SearchHits& hits, bool captions) {
    std::vector<SearchResult> out;
    out.reserve(hits.hits.size());
    QByteArray holder;
    std::string_view source;
    QString path;
    int lastNode = -1;
    for (const SearchHit& hit : hits.hits) {
        if (hit.node != lastNode) {
            lastNode = hit.node;
            source = hitSource(tree, hit, captions, holder);
            path = nodePath(tree.nodeAt(hit.node));
            path.chop(1);  // the path's closing backslash
        }
        SearchResult& r = out.emplace_back();
        r.node = hit.node;
        r.match = hit.match;
        r.inCaption = captions;
        r.path = path;
        r.line = hit.line;
        cutExcerpt(source, hit, r);
    }
    return out;
}

void SearchResultsModel::setResults(std::vector<SearchResult> results) {
    beginResetModel();
    results_ = std::move(results);
    endResetModel();
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(results_.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const SearchResult& r = result(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case PathColumn: return r.path;
        case LineColumn: return r.line > 0 ? QVariant(r.line) : QVariant();
        case TextColumn: return r.excerpt;
        }
    }
    if (role == MarkRole && index.column() == TextColumn) return QPoint(r.markStart, r.markLength);
    if (role == Qt::TextAlignmentRole && index.column() == LineColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case PathColumn: return QStringLiteral("Элемент");
    case LineColumn: return QStringLiteral("Строка");
    case TextColumn: return QStringLiteral("Текст");
    }
    return {};
}

void MatchMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QVariant mark = index.data(SearchResultsModel::MarkRole);
    if (!mark.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell without its text, then the text with the match on a highlight.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (style) style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    const QRect area = style ? style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget) : option.rect;
    QTextLayout layout(text, cell.font);
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 200, 80));
    marked.setForeground(Qt::black);
    marked.setFontWeight(QFont::Bold);
    layout.setFormats({QTextLayout::FormatRange{mark.toPoint().x(), mark.toPoint().y(), marked}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    painter->save();
    painter->setClipRect(area);
    painter->setPen(cell.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const qreal top = area.top() + (area.height() - line.height()) / 2;
    layout.draw(painter, QPointF(area.left() + 3, top));
    painter->restore();
}

SearchResultsPanel::SearchResultsPanel(QWidget* parent) : QDockWidget(QStringLiteral("Результаты поиска"), parent) {
    setObjectName(QStringLiteral("searchResults"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    model_ = new SearchResultsModel(this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("searchResultsView"));
    view_->setModel(model_);
    view_->setItemDelegateForColumn(SearchResultsModel::TextColumn, new MatchMarkDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->setAlternatingRowColors(true);
    // Fixed row heights and column widths: thousands of rows fill without measuring each one.
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setColumnWidth(SearchResultsModel::PathColumn, 260);
    view_->setColumnWidth(SearchResultsModel::LineColumn, 60);
    setWidget(view_);
    connect(view_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { emit resultActivated(model_->result(index.row())); });
}

void SearchResultsPanel::showResults(std::vector<SearchResult> results) {
    model_->setResults(std::move(results));
    show();
    raise();
    if (model_->rowCount() > 0) view_->setCurrentIndex(model_->index(0, 0));
}

} // namespace tw
