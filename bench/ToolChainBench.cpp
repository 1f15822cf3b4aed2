// The [EXM] to [TOVIX] chain with and without its safety measures: the same
// build once with the flushes of the staged files and the rename journal (as
// every build runs), once with plain renames. The two are run in turn, so
// that a drift of the machine's load falls on both.
//
//   ToolChainBench EXM OUT.DIC eng|jpn RUNS
// prints "safe_median_ms" and "unsafe_median_ms" lines.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "platform/BenchSwitches.h"
#include "tools/Chains.h"

namespace {

double Build(const std::string& exm, const std::string& out, tovix::Direction direction,
             bool safe) {
    tovix::bench::SilentReporter reporter;
    const std::filesystem::path work = std::filesystem::path(out).parent_path() / "work";
    std::filesystem::create_directories(work);
    tovix::ToolJob job(reporter, work);
    job.InName1 = exm;
    job.OutName1 = out;
    tovix::SetSafeReplacementForBench(safe);
    bool ok = false;
    const double ms = tovix::bench::Milliseconds([&] { ok = bool(ExmToTovix(job, direction)); });
    if (!ok) {
        std::cerr << "the build failed\n";
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: ToolChainBench EXM OUT.DIC eng|jpn RUNS\n";
        return 2;
    }
    const std::string exm = argv[1];
    const std::string out = argv[2];
    const auto direction =
        std::string(argv[3]) == "jpn" ? tovix::Direction::Japanese : tovix::Direction::English;
    const int runs = std::atoi(argv[4]);
    Build(exm, out, direction, true);  // warms the caches and the collation
    std::vector<double> safe;
    std::vector<double> unsafe;
    for (int i = 0; i < runs; ++i) {
        safe.push_back(Build(exm, out, direction, true));
        unsafe.push_back(Build(exm, out, direction, false));
    }
    std::cout << "safe_median_ms " << tovix::bench::Median(safe) << "\n"
              << "unsafe_median_ms " << tovix::bench::Median(unsafe) << "\n";
    return 0;
}
