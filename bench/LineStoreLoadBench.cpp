// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a part file into the view's line store, the lookup's hot path.
//
//   LineStoreLoadBench FILE [RUNS]
//
// Prints "name value" lines for bench/run.sh:
//   lines             Count after the load
//   file_bytes        size of the file
//   first_load_ms     the first load into a fresh store in this process
//   reload_median_ms  median of RUNS further loads into the same store (as the
//                     view does when the part changes)
//   fresh_median_ms   median of RUNS loads, each into a new store
//   store_bytes       growth of the resident set size (/proc/self/statm) from
//                     before the first load to after it, the store still alive

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "BenchFigures.h"
#include "components/BvStrings.h"

namespace {

using tovix::bench::Clock;
using tovix::bench::Median;
using tovix::bench::Milliseconds;
using tovix::bench::ResidentBytes;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: LineStoreLoadBench FILE [RUNS]\n";
        return 2;
    }
    const std::filesystem::path path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;

    tovix::TBvStrings store;
    const long residentBefore = ResidentBytes();
    const double first = Milliseconds([&] { store.LoadFromFile(path); });
    const long residentAfter = ResidentBytes();

    std::vector<double> reloads;
    for (int i = 0; i < runs; ++i) {
        reloads.push_back(Milliseconds([&] { store.LoadFromFile(path); }));
    }
    const int lines = store.Count();
    store.Clear();

    std::vector<double> fresh;
    for (int i = 0; i < runs; ++i) {
        tovix::TBvStrings other;
        fresh.push_back(Milliseconds([&] { other.LoadFromFile(path); }));
    }

    std::printf("lines %d\n", lines);
    std::printf("file_bytes %llu\n",
                static_cast<unsigned long long>(std::filesystem::file_size(path)));
    std::printf("first_load_ms %.2f\n", first);
    std::printf("reload_median_ms %.2f\n", Median(reloads));
    std::printf("fresh_median_ms %.2f\n", Median(fresh));
    std::printf("store_bytes %ld\n", residentAfter - residentBefore);
    return 0;
}
