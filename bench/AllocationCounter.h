#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

// Heap allocations made through operator new since the program started.
std::size_t allocationCount();

// Reports, as the counter "allocs", the allocations per iteration made between
// construction and report().
class AllocationCounter {
public:
    explicit AllocationCounter(benchmark::State& state) : state(state), start(allocationCount()) {}
    void report()
    {
        state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocationCount() - start),
                                                      benchmark::Counter::kAvgIterations);
    }

private:
    benchmark::State& state;
    std::size_t start;
};
