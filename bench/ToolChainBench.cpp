// SPDX-License-Identifier: GPL-3.0-or-later
// The [EXM] to [TOVIX] chain with and without a part of its work: the same
// build once with the flushes of the staged files and the rename journal (as
// every build runs), once with plain renames; or, with "written-forms", a
// Japanese-English build once with its written-form file (as every build
// runs), once without; or, with "reading-order", a Japanese-English build
// once with its entries ordered by reading first (as every build runs), once
// ordered as whole lines. The two are run in turn, so that a drift of the
// machine's load falls on both.
//
//   ToolChainBench EXM OUT.DIC eng|jpn RUNS [written-forms|reading-order]
// prints "safe_median_ms" and "unsafe_median_ms" lines, or
// "with_median_ms" and "without_median_ms".

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "tools/Chains.h"

namespace {

// Runs the build with the work the benchmark measures on or off.
enum class Measured { Safety, WrittenForms, ReadingOrder };

double Build(const std::string& exm, const std::string& out, tovix::Direction direction,
             Measured measured, bool on) {
    tovix::bench::SilentReporter reporter;
    const std::filesystem::path work = std::filesystem::path(out).parent_path() / "work";
    std::filesystem::create_directories(work);
    tovix::WriteOptions options;
    if (!on) {
        switch (measured) {
        case Measured::Safety:
            options.durability = tovix::Durability::RenamesOnly;
            break;
        case Measured::WrittenForms:
            options.writtenForms = false;
            break;
        case Measured::ReadingOrder:
            options.readingOrder = false;
            break;
        }
    }
    tovix::ToolJob job(reporter, work, options);
    job.InName1 = exm;
    job.OutName1 = out;
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
    if (argc != 5 && argc != 6) {
        std::cerr
            << "usage: ToolChainBench EXM OUT.DIC eng|jpn RUNS [written-forms|reading-order]\n";
        return 2;
    }
    const std::string exm = argv[1];
    const std::string out = argv[2];
    const auto direction =
        std::string(argv[3]) == "jpn" ? tovix::Direction::Japanese : tovix::Direction::English;
    const int runs = std::atoi(argv[4]);
    const std::string mode = argc == 6 ? argv[5] : "";
    const Measured measured = mode == "written-forms"   ? Measured::WrittenForms
                              : mode == "reading-order" ? Measured::ReadingOrder
                                                        : Measured::Safety;
    const bool writtenForms = measured != Measured::Safety;
    Build(exm, out, direction, measured, true);  // warms the caches and the collation
    std::vector<double> on;
    std::vector<double> off;
    for (int i = 0; i < runs; ++i) {
        on.push_back(Build(exm, out, direction, measured, true));
        off.push_back(Build(exm, out, direction, measured, false));
    }
    const char* names[] = {"safe_median_ms ", "unsafe_median_ms ", "with_median_ms ",
                           "without_median_ms "};
    std::cout << names[writtenForms ? 2 : 0] << tovix::bench::Median(on) << "\n"
              << names[writtenForms ? 3 : 1] << tovix::bench::Median(off) << "\n";
    return 0;
}
