#pragma once
// The best (shortest) time of a few runs of some work, in milliseconds.

#include <QElapsedTimer>
#include <algorithm>
#include <functional>

namespace tw::bench {

inline double bestOf(int repeats, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace tw::bench
