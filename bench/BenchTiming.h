#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

// What the benchmark programs share: the clock, the median, and the command line of
// the two catalogue benchmarks.

// Seconds from the performance counter.
inline double now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

// The middle value (the upper of the two middle ones for an even count).
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// [managers] [packages] [runs] [N...], defaults 10 20 9 500 2000.
struct CatalogueBenchArguments {
    size_t managers = 10;
    size_t packages = 20;
    int runs = 9;
    std::vector<size_t> sizes;
};

inline CatalogueBenchArguments readCatalogueBenchArguments(int argc, char** argv)
{
    CatalogueBenchArguments arguments;
    if (argc > 1)
        arguments.managers = std::strtoul(argv[1], nullptr, 10);
    if (argc > 2)
        arguments.packages = std::strtoul(argv[2], nullptr, 10);
    if (argc > 3)
        arguments.runs = std::atoi(argv[3]);
    for (int i = 4; i < argc; ++i)
        arguments.sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    if (arguments.sizes.empty())
        arguments.sizes = {500, 2000};
    return arguments;
}
