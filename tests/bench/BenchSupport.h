#pragma once
// Timing and reporting shared by the benchmark programs: each figure is printed
// beside its baseline and their ratio.
#include <stdio.h>
#include <windows.h>

// Seconds since an arbitrary start, from the performance counter.
inline double BenchNow()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// Best time in seconds of a few runs of the work, to keep the machine's noise out.
template <class Work>
double BenchBest(Work work, int rounds = 3)
{
    double best = 1e30;
    for (int round = 0; round < rounds; round++)
    {
        double start = BenchNow();
        work();
        double seconds = BenchNow() - start;
        if (seconds < best)
            best = seconds;
    }
    return best;
}

// One line: the measured figure, its baseline and the ratio measured / baseline.
inline void BenchReport(const char* what, double seconds, const char* baselineName, double baselineSeconds)
{
    double ratio = baselineSeconds > 0 ? seconds / baselineSeconds : 0;
    printf("%-48s %10.2f ms   %-32s %10.2f ms   ratio %.2f\n", what, seconds * 1000.0, baselineName,
           baselineSeconds * 1000.0, ratio);
    fflush(stdout);
}

// One line for a figure that has no baseline of its own (a limit instead).
inline void BenchReportLimit(const char* what, double seconds, double limitSeconds)
{
    printf("%-48s %10.2f ms   limit %10.2f ms   %s\n", what, seconds * 1000.0, limitSeconds * 1000.0,
           seconds <= limitSeconds ? "within" : "OVER");
    fflush(stdout);
}
