#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

// Timing of the benchmarks that take the best of a few runs: the run least disturbed by the rest
// of the machine.
namespace bench {

inline constexpr int kBestOfRuns = 7;

// One run, in milliseconds.
inline double timed(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double bestOf(const std::function<void()> &run)
{
    double best = 1e9;
    for (int i = 0; i < kBestOfRuns; ++i)
        best = std::min(best, timed(run));
    return best;
}

// A figure, with its ratio to the bare statements when they are given.
inline void printFigure(const char *what, double ms, double bare = 0)
{
    if (bare > 0)
        std::printf("  %-56s %9.2f ms  (%.2f x bare)\n", what, ms, ms / bare);
    else
        std::printf("  %-56s %9.2f ms\n", what, ms);
}

} // namespace bench
