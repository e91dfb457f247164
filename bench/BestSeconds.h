#pragma once

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <functional>

// The best of some runs: a shared machine only ever slows a run down. Before each run the
// allocator gives back what earlier runs freed, so that no run pays for the one before.
inline double BestSeconds(int runs, const std::function<void()>& work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        ::malloc_trim(0);
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}
