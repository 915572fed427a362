#pragma once
// Timing a few runs of some work, in milliseconds: the best run, or the median of the runs
// beside the median of a limit timed in the same runs. Programs that bench/run.sh reads
// also print their figures as "RESULT <key> <value>" lines.

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace tw::bench {

inline double elapsedMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

inline double bestOf(int repeats, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) best = std::min(best, elapsedMs(work));
    return best;
}

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(mid), values.end());
    if (values.size() % 2) return values[mid];
    const double upper = values[mid];
    return (upper + *std::max_element(values.begin(), values.begin() + static_cast<long>(mid))) / 2;
}

inline double medianOf(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < std::max(runs, 1); ++i) times.push_back(elapsedMs(work));
    return median(times);
}

struct WorkAndLimit {
    double work = 0;   // median of the workload, ms
    double limit = 0;  // median of the limit, ms
};

// Times the workload and its limit runs times each, one after the other in every run, so
// that a busy moment of a shared machine falls on both alike. prepare (when given) runs
// untimed before each of them: removing what the previous one wrote, for instance. The
// workload returns its own time in milliseconds, for work that must set up or tear down
// something outside the part that counts.
inline WorkAndLimit medianWithLimitOwnTime(int runs, const std::function<double()>& work,
                                           const std::function<void()>& limit,
                                           const std::function<void()>& prepare = {}) {
    std::vector<double> works, limits;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        if (prepare) prepare();
        limits.push_back(elapsedMs(limit));
        if (prepare) prepare();
        works.push_back(work());
    }
    return {median(works), median(limits)};
}

// The same for a workload timed whole.
inline WorkAndLimit medianWithLimit(int runs, const std::function<void()>& work, const std::function<void()>& limit,
                                    const std::function<void()>& prepare = {}) {
    return medianWithLimitOwnTime(runs, [&] { return elapsedMs(work); }, limit, prepare);
}

// One figure for bench/run.sh: milliseconds or megabytes, one decimal.
inline void printResult(const char* key, double value) {
    std::printf("RESULT %s %.1f\n", key, value);
    std::fflush(stdout);
}

} // namespace tw::bench
