#pragma once
// How a core operation talks back to whoever runs it: messages for the user and
// progress of long work. Core never shows anything itself; the window binds these
// to message boxes and the status-bar progress bar, the command-line tool to stderr.

#include <QString>
#include <functional>

namespace tw {

struct Feedback {
    std::function<void(const QString&)> message;     // one message for the user
    std::function<void(const QString&)> status;      // operation in progress (status panel 1)
    std::function<void(int maximum)> beginProgress;  // progress bar created, range 0..maximum
    std::function<void()> stepProgress;              // advance the bar by one
    std::function<void()> endProgress;               // bar destroyed
    std::function<void()> processEvents;             // let the window repaint

    void say(const QString& text) const { if (message) message(text); }
    void setStatus(const QString& text) const { if (status) status(text); }
    void begin(int maximum) const { if (beginProgress) beginProgress(maximum); }
    void step() const { if (stepProgress) stepProgress(); }
    void end() const { if (endProgress) endProgress(); }
    void repaint() const { if (processEvents) processEvents(); }
};

// Destroys the progress bar when an operation leaves, whichever way it leaves.
class ProgressScope {
public:
    ProgressScope(const Feedback& fb, int maximum) : fb_(fb) { fb_.begin(maximum); }
    ~ProgressScope() { fb_.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    const Feedback& fb_;
};

} // namespace tw
