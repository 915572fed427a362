#include "app/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tw {

namespace {
constexpr int kBlockRole = Qt::UserRole;  // the block number of a contents entry's heading

QToolButton* toolButton(const QString& text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    return button;
}
} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Справка"));
    resize(1220, 760);

    back_ = toolButton(QStringLiteral("◀ Назад"), this);
    forward_ = toolButton(QStringLiteral("Вперёд ▶"), this);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Найти на странице"));
    search_->setClearButtonEnabled(true);
    auto* next = toolButton(QStringLiteral("Следующее"), this);
    auto* previous = toolButton(QStringLiteral("Предыдущее"), this);
    searchState_ = new QLabel(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(QStringLiteral("Поиск:"), this));
    bar->addWidget(search_, 1);
    bar->addWidget(next);
    bar->addWidget(previous);
    bar->addWidget(searchState_);

    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("helpContents"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 940});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::buildContents);
    connect(contents_, &QListWidget::currentRowChanged, this, &HelpWindow::goToHeading);
    connect(contents_, &QListWidget::itemClicked, this, [this] { goToHeading(contents_->currentRow()); });
    const auto findForward = [this] {
        searchState_->setText(findInPage(search_->text()) ? QString() : QStringLiteral("Не найдено"));
    };
    connect(search_, &QLineEdit::returnPressed, this, findForward);
    connect(next, &QToolButton::clicked, this, findForward);
    connect(previous, &QToolButton::clicked, this, [this] {
        searchState_->setText(findInPage(search_->text(), true) ? QString() : QStringLiteral("Не найдено"));
    });
}

void HelpWindow::open(const QString& page) {
    if (QFileInfo(page).isFile()) {
        browser_->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    } else {
        browser_->setHtml(QStringLiteral("<h1>Справка</h1><p>Файл справки не найден: %1</p>").arg(page.toHtmlEscaped()));
        buildContents();
    }
}

bool HelpWindow::findInPage(const QString& text, bool backward) {
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags)) return true;
    // Wrap round: start again from the other end of the page.
    const QTextCursor kept = browser_->textCursor();
    QTextCursor edge(browser_->document());
    edge.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(edge);
    if (browser_->find(text, flags)) return true;
    browser_->setTextCursor(kept);
    return false;
}

void HelpWindow::buildContents() {
    const QSignalBlocker blocker(contents_);
    contents_->clear();
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3 || block.text().trimmed().isEmpty()) continue;
        auto* item = new QListWidgetItem(QString(4 * (level - 1), QLatin1Char(' ')) + block.text().trimmed(), contents_);
        item->setData(kBlockRole, block.blockNumber());
    }
}

void HelpWindow::goToHeading(int row) {
    const QListWidgetItem* item = contents_->item(row);
    if (!item) return;
    const QTextBlock block = browser_->document()->findBlockByNumber(item->data(kBlockRole).toInt());
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    browser_->setTextCursor(cursor);
    const qreal top = browser_->document()->documentLayout()->blockBoundingRect(block).top();
    browser_->verticalScrollBar()->setValue(static_cast<int>(top));
}

} // namespace tw
