#include "app/status_panels.h"

#include "platform/prompter.h"
#include "tree/collection_tree.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

namespace tw {

namespace {
constexpr int kCountsWidth = 175;  // the counts panel's designed width
} // namespace

void repaintNow() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

StatusPanels::StatusPanels(QStatusBar& bar, Prompter& prompter) : bar_(bar), prompter_(prompter) {
    bar_.setObjectName(QStringLiteral("statusBar"));
    bar_.setSizeGripEnabled(true);
    left_ = new QLabel;
    left_->setObjectName(QStringLiteral("countsPanel"));
    left_->setFixedWidth(kCountsWidth);
    right_ = new QLabel;
    right_->setObjectName(QStringLiteral("statePanel"));
    right_->setMinimumWidth(100);
    bar_.addWidget(left_);
    bar_.addWidget(right_, 1);
}

QString StatusPanels::text(int panel) const { return panel == 0 ? left_->text() : right_->text(); }

void StatusPanels::setText(int panel, const QString& text) { (panel == 0 ? left_ : right_)->setText(text); }

int StatusPanels::leftPanelWidth() const { return left_->width(); }

void StatusPanels::showCounts(const CollectionTree& tree) {
    const TreeCounts c = tree.counts();
    const QString counts = QStringLiteral("Разделов: %1   Страниц: %2").arg(c.sections).arg(c.pages);
    left_->setText(counts);
    // The panel keeps its designed width unless the counts need more (large collections,
    // or a font wider than the one it was designed for): they are never cut off.
    const QMargins margins = left_->contentsMargins();
    const int needed = left_->fontMetrics().horizontalAdvance(counts) + 2 * left_->margin() + margins.left() +
                       margins.right() + left_->fontMetrics().averageCharWidth();
    left_->setFixedWidth(std::max(kCountsWidth, needed));
}

void StatusPanels::startProgress(int maximum) {
    endProgress();
    progress_ = new QProgressBar(&bar_);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setTextVisible(false);
    progress_->setRange(0, std::max(0, maximum));
    progress_->setValue(0);
    steps_ = 0;
    nextRedraw_ = 0;
    progress_->setGeometry(2, 2, left_->width() - 4, bar_.height() - 4);
    progress_->show();
}

void StatusPanels::stepProgress() {
    if (!progress_) return;
    const int maximum = progress_->maximum();
    if (steps_ < maximum) ++steps_;
    // Setting the bar costs more than a step of most operations (it formats its text and
    // may repaint), and a bar of a couple of hundred pixels shows no more than a few hundred
    // positions: it is set every 1/512 of the way and at the end.
    if (steps_ < nextRedraw_ && steps_ < maximum) return;
    nextRedraw_ = steps_ + std::max(1, maximum / 512);
    progress_->setValue(steps_);
}

void StatusPanels::showProgress(int value, int maximum) {
    if (!progress_) startProgress(maximum);
    if (progress_->maximum() != maximum) progress_->setRange(0, std::max(0, maximum));
    steps_ = std::clamp(value, 0, progress_->maximum());
    progress_->setValue(steps_);
}

void StatusPanels::endProgress() {
    delete progress_;
    progress_ = nullptr;
}

Feedback StatusPanels::operationFeedback() {
    Feedback fb;
    fb.message = [this](const QString& text) { gathered_ << text; };
    fb.status = [this](const QString& text) { right_->setText(text); };
    fb.beginProgress = [this](int maximum) { startProgress(maximum); };
    fb.stepProgress = [this] { stepProgress(); };
    fb.endProgress = [this] { endProgress(); };
    fb.processEvents = [this] {
        // Some operations ask after every node; the window is repainted a few dozen times a
        // second at most, which looks the same and leaves the time to the operation.
        if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < 30) return;
        repaintNow();
        sinceRepaint_.start();
    };
    return fb;
}

void StatusPanels::showGatheredMessages() {
    if (gathered_.isEmpty()) return;
    const QString text = gathered_.join(u'\n');
    gathered_.clear();
    prompter_.showMessage(text);
}

} // namespace tw
