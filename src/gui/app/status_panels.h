#pragma once
// The window's two-panel status bar: counts and node paths on the left, the state of
// long operations on the right, and a progress bar laid over the left panel while one
// runs. Operations report through a Feedback bound to these panels; their messages are
// gathered and shown afterwards as one box.

#include "app/feedback.h"

#include <QElapsedTimer>
#include <QStringList>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace tw {

class CollectionTree;
class Prompter;

class StatusPanels {
public:
    StatusPanels(QStatusBar& bar, Prompter& prompter);

    QString text(int panel) const;
    void setText(int panel, const QString& text);
    int leftPanelWidth() const;
    // "Разделов: n   Страниц: m" in the left panel.
    void showCounts(const CollectionTree& tree);

    // A progress bar over the left panel for an operation of maximum steps.
    void startProgress(int maximum);
    // One step further; the bar is redrawn only when its filled part can grow.
    void stepProgress();
    // The bar at value of maximum, for an operation that reports its progress from elsewhere.
    void showProgress(int value, int maximum);
    void endProgress();

    // Feedback for a read, write, export or import: messages are gathered, the state goes
    // to the right panel, steps to the progress bar.
    Feedback operationFeedback();
    // Shows the gathered messages as one box, when there are any.
    void showGatheredMessages();

private:
    QStatusBar& bar_;
    Prompter& prompter_;
    QLabel* left_;
    QLabel* right_;
    QProgressBar* progress_ = nullptr;
    int steps_ = 0;       // steps of the running operation
    int nextRedraw_ = 0;  // the step at which the bar is set again
    QElapsedTimer sinceRepaint_;
    QStringList gathered_;
};

// Lets the window repaint during a long operation without taking user input.
void repaintNow();

} // namespace tw
