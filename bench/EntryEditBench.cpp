// SPDX-License-Identifier: GPL-3.0-or-later
// Adding one entry to the largest part file of an English-Japanese set, in
// process, from the command to the table file saved: the part written staged
// with the entry in its place, the part's table block computed, the table
// file and the edit log staged, and the three replaced through the set's
// journal. Each run adds another headword of that part's initial. Runs with
// the flushes and the journal (as every edit runs) alternate with runs of
// plain renames, so that the cost of the safety shows.
//
//   EntryEditBench DICT.DIC WORKDIR RUNS
// prints "part_file", "part_bytes", "edit_median_ms" and
// "edit_unsafe_median_ms" lines.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchReporter.h"
#include "dict/DicFileSet.h"
#include "dict/KeyAlphabet.h"
#include "editing/EntryEdit.h"
#include "platform/Cp932.h"

namespace {

namespace fs = std::filesystem;

int LargestPart(const fs::path& dic) {
    int largest = 1;
    for (int part = 1; part <= tovix::AlphabetSize(tovix::Direction::English); ++part) {
        if (fs::file_size(tovix::PartFileName(dic, part)) >
            fs::file_size(tovix::PartFileName(dic, largest))) {
            largest = part;
        }
    }
    return largest;
}

double Add(const fs::path& dic, const fs::path& work, int part, int n, bool safe) {
    tovix::bench::SilentReporter reporter;
    const std::string headword =
        std::string(1, static_cast<char>('a' + part - 1)) + "bench" + std::to_string(n);
    const tovix::EntryEdit edit{tovix::EditCommand::Add,
                                tovix::Direction::English,
                                dic,
                                {headword, "", tovix::Utf8ToCp932("ベンチ")},
                                {}};
    const tovix::WriteOptions options{safe ? tovix::Durability::Journalled
                                           : tovix::Durability::RenamesOnly};
    tovix::EditOutcome outcome;
    const double ms = tovix::bench::Milliseconds([&] {
        outcome = tovix::RunEntryEdit(edit, reporter, tovix::EditLockMode::Wait, work, options);
    });
    if (outcome.status != tovix::EditStatus::Done || outcome.part != part) {
        std::cerr << "the edit failed\n";
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: EntryEditBench DICT.DIC WORKDIR RUNS\n";
        return 2;
    }
    const fs::path dic = argv[1];
    const fs::path work = argv[2];
    const int runs = std::atoi(argv[3]);
    fs::create_directories(work);
    const int part = LargestPart(dic);
    Add(dic, work, part, 0, true);  // warms the caches and the collation
    std::vector<double> safe;
    std::vector<double> unsafe;
    for (int i = 0; i < runs; ++i) {
        safe.push_back(Add(dic, work, part, 2 * i + 1, true));
        unsafe.push_back(Add(dic, work, part, 2 * i + 2, false));
    }
    const fs::path partFile = tovix::PartFileName(dic, part);
    std::cout << "part_file " << partFile.string() << "\n"
              << "part_bytes " << fs::file_size(partFile) << "\n"
              << "edit_median_ms " << tovix::bench::Median(safe) << "\n"
              << "edit_unsafe_median_ms " << tovix::bench::Median(unsafe) << "\n";
    return 0;
}
