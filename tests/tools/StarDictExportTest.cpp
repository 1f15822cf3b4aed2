// SPDX-License-Identifier: GPL-3.0-or-later
// The StarDict export's files: the dictzip data read by its chunks, as gzip
// and by dictzip; files of an earlier export replaced with the new ones; and
// every failing write, flush or rename leaving the old export or the new one.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/ReplaceJournal.h"
#include "support/BuildDictionary.h"
#include "support/DictFixtures.h"
#include "support/RecordingReporter.h"
#include "support/TempDir.h"
#include "tools/Chains.h"
#include "tools/DictData.h"
#include "tools/DictImport.h"
#include "tools/DictzipWriter.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr std::size_t kChunk = DictzipWriter::kChunkLength;

// Text of `size` bytes: lines of words, and stretches of random bytes that do
// not compress (a chunk's deflated size must still fit its table).
std::string MixedText(std::size_t size, std::mt19937& random) {
    std::string text;
    while (text.size() < size) {
        if (random() % 4 == 0) {
            for (int i = 0; i < 3000; ++i) {
                text += static_cast<char>(random());
            }
        } else {
            text += "word " + std::to_string(random() % 100000) + "\n    n 1: a meaning\n";
        }
    }
    text.resize(size);
    return text;
}

TEST(StarDictExportTest, DictzipDataReadsByItsChunksAsGzipAndByDictzip) {
    TempDir dir;
    std::mt19937 random(26);
    const fs::path file = dir / "d.dict.dz";
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{10}, kChunk, kChunk + 1, 70 * kChunk + 123}) {
        const std::string text = MixedText(size, random);
        {
            DictzipWriter writer(file);
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t piece =
                    std::min<std::size_t>(random() % 200000, text.size() - at);
                writer.Write(std::string_view(text).substr(at, piece));
                at += piece;
            }
            writer.Close();
        }
        EXPECT_EQ(test::Gunzip(test::ReadBytes(file)), text) << size;
        DictData data(file);
        EXPECT_TRUE(data.Chunked()) << size;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges{{0, size}, {size, 0}};
        for (int i = 0; i < 200 && size > 0; ++i) {
            const std::uint64_t offset = random() % size;
            ranges.emplace_back(offset, random() % std::min<std::uint64_t>(size - offset, 150000));
        }
        for (const auto& [offset, length] : ranges) {
            ASSERT_EQ(data.Read(offset, length), text.substr(offset, length))
                << size << " at " << offset << " length " << length;
        }
        if (test::HaveProgram("dictzip")) {
            EXPECT_EQ(std::system(("dictzip -t " + file.string()).c_str()), 0) << size;
        }
    }
}

class StarDictExportFiles : public testing::Test {
  protected:
    StarDictExportFiles() {
        fs::create_directories(dir / "out");
        fs::create_directories(dir / "work");
    }

    fs::path Build(const std::vector<std::string>& entries, Direction direction,
                   const std::string& name = "D.DIC") const {
        return test::BuildDictionary(dir, direction, entries, name);
    }

    // Exports the set `dic` to out/d.ifo.
    bool Export(const fs::path& dic, Direction direction) const {
        test::RecordingReporter reporter;
        ToolJob job(reporter, dir / "work");
        job.InName1 = dic.string();
        job.OutName1 = Ifo().string();
        return static_cast<bool>(TovixToStarDict(job, direction));
    }

    fs::path Ifo() const { return dir / "out" / "d.ifo"; }

    // Every file of out/, with its bytes.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(dir / "out")) {
            files[entry.path().filename().string()] = test::ReadBytes(entry.path());
        }
        return files;
    }

    void Restore(const std::map<std::string, std::string>& files) const {
        fs::remove_all(dir / "out");
        fs::create_directories(dir / "out");
        for (const auto& [name, bytes] : files) {
            test::WriteBytes(dir / "out" / name, bytes);
        }
    }

    TempDir dir;
};

const std::vector<std::string> kOld = {"apple\tりんご", "bank\t銀行"};
const std::vector<std::string> kNew = {"apple\t林檎", "bank\t土手", "cat\t猫"};

// Fault: a plain ".dict", a ".idx.gz" or a ".syn" of an earlier export stayed
// beside the new files, and a reader that took it found the old texts or
// wrong entries.
TEST_F(StarDictExportFiles, FilesOfAnEarlierExportThatReadersTakeAreReplacedWithTheNewOnes) {
    const fs::path dic = Build(kNew, Direction::English);
    ASSERT_TRUE(Export(dic, Direction::English));
    const auto fresh = Files();
    EXPECT_EQ(fresh.count("d.dict"), 0u);  // none is made where there was none
    EXPECT_EQ(fresh.count("d.syn"), 0u);
    test::WriteBytes(dir / "out" / "d.dict", "apple\xE3\x82\x8A");
    test::WriteBytes(dir / "out" / "d.syn", std::string("bank\0\0\0\0\x07", 9));
    test::WriteBytes(dir / "out" / "d.idx.gz",
                     test::Gzip(std::string("bank\0\0\0\0\0\0\0\0\x01", 13)));
    ASSERT_TRUE(Export(dic, Direction::English));
    const auto files = Files();
    EXPECT_EQ(files.at("d.dict"), test::Gunzip(files.at("d.dict.dz")));
    EXPECT_EQ(files.at("d.syn"), "");
    EXPECT_EQ(test::Gunzip(files.at("d.idx.gz")), files.at("d.idx"));
    EXPECT_EQ(files.at("d.idx"), fresh.at("d.idx"));
    EXPECT_EQ(files.at("d.dict.dz"), fresh.at("d.dict.dz"));
    DictData plain(dir / "out" / "d.dict");
    EXPECT_EQ(plain.Read(0, 6), "林檎");
}

TEST_F(StarDictExportFiles, EveryFailingWriteFlushOrRenameLeavesTheOldOrTheNewExport) {
    const fs::path oldSet = Build(kOld, Direction::English, "OLD.DIC");
    const fs::path newSet = Build(kNew, Direction::English, "NEW.DIC");
    test::WriteBytes(dir / "out" / "d.dict", "");  // replaced too: one more file
    ASSERT_TRUE(Export(oldSet, Direction::English));
    const auto oldFiles = Files();
    ASSERT_TRUE(Export(newSet, Direction::English));
    const auto newFiles = Files();
    const fs::path journal = JournalFileName(Ifo());
    std::vector<fs::path> replaceable;
    for (const auto& [name, bytes] : oldFiles) {
        replaceable.push_back(dir / "out" / name);
    }
    for (const FaultOperation operation :
         {FaultOperation::Write, FaultOperation::Sync, FaultOperation::Rename}) {
        Restore(oldFiles);
        ClearFaults();
        ASSERT_TRUE(Export(newSet, Direction::English));
        const long count = FaultCount(operation);
        ASSERT_GT(count, 0);
        for (long n = 1; n <= count; ++n) {
            Restore(oldFiles);
            InjectFault(operation, n, FaultAction::Fail);
            EXPECT_FALSE(Export(newSet, Direction::English));
            ClearFaults();
            auto files = Files();
            if (files != oldFiles) {
                // Decided: the next writer completes the renames.
                CompleteReplacement(journal, replaceable);
                files = Files();
            }
            EXPECT_TRUE(files == oldFiles || files == newFiles)
                << "operation " << static_cast<int>(operation) << ", n " << n << ": "
                << files.size() << " files";
        }
    }
}

}  // namespace
}  // namespace tovix
