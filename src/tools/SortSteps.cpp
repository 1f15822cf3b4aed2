// The sort of a work file as whole lines in dictionary collation, and the
// plain concatenation of two files that comes before it when dictionaries are
// joined.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "components/LightStrings.h"
#include "platform/Collation.h"
#include "tools/ConvertCommon.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// A line to sort: the first bytes of its collation key, as two big-endian
// numbers so that comparing them compares the bytes, and the line's index.
// Twelve key bytes hold the first letters of a headword, which tell most
// lines apart; the lines whose prefixes tie are ordered afterwards by their
// whole keys. Keeping only the prefix holds the memory of the sort at the
// loaded file plus 24 bytes a line.
struct SortEntry {
    std::uint64_t high;
    std::uint32_t low;
    std::uint32_t line;

    bool operator<(const SortEntry& other) const {
        return high != other.high ? high < other.high : low < other.low;
    }
    bool SamePrefix(const SortEntry& other) const { return high == other.high && low == other.low; }
    // A collation key ends with its only zero byte: a prefix that holds one
    // holds the whole key, so equal prefixes then mean equal keys.
    bool PrefixIsWholeKey() const {
        for (int shift = 0; shift < 64; shift += 8) {
            if (((high >> shift) & 0xFF) == 0) {
                return true;
            }
        }
        for (int shift = 0; shift < 32; shift += 8) {
            if (((low >> shift) & 0xFF) == 0) {
                return true;
            }
        }
        return false;
    }
};

constexpr size_t kPrefixBytes = 12;

SortEntry MakeEntry(std::string_view key, std::uint32_t line) {
    unsigned char bytes[kPrefixBytes] = {};
    std::memcpy(bytes, key.data(), std::min(key.size(), kPrefixBytes));
    SortEntry entry{0, 0, line};
    for (size_t i = 0; i < 8; ++i) {
        entry.high = (entry.high << 8) | bytes[i];
    }
    for (size_t i = 8; i < kPrefixBytes; ++i) {
        entry.low = (entry.low << 8) | bytes[i];
    }
    return entry;
}

// Orders a run of lines whose key prefixes are equal: by their whole keys,
// then by their bytes (Collation's sort key carries both).
void SortTiedRun(const TLightStrings& lines, Collation& collation, SortEntry* first,
                 SortEntry* last) {
    if (first->PrefixIsWholeKey()) {
        std::sort(first, last, [&](const SortEntry& a, const SortEntry& b) {
            return lines.View(static_cast<int>(a.line)) < lines.View(static_cast<int>(b.line));
        });
        return;
    }
    std::vector<std::pair<std::string, std::uint32_t>> keyed;
    keyed.reserve(static_cast<size_t>(last - first));
    for (SortEntry* e = first; e != last; ++e) {
        keyed.emplace_back(collation.SortKey(lines.View(static_cast<int>(e->line))), e->line);
    }
    std::sort(keyed.begin(), keyed.end());
    for (const auto& [key, line] : keyed) {
        (first++)->line = line;
    }
}

// The lines' indexes in dictionary order. Lines that collate equal stand in
// the order of their bytes, so the result does not depend on the input order
// and equal lines are all kept.
std::vector<SortEntry> SortedOrder(const TLightStrings& lines, PercentMeter& meter) {
    Collation collation;
    const auto count = static_cast<size_t>(lines.Count());
    std::vector<SortEntry> entries;
    entries.reserve(count);
    std::string key;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view line = lines.View(static_cast<int>(i));
        key.clear();
        collation.AppendSortKey(line, key);
        // The sort key is the collation key followed by the line itself.
        const std::string_view collationKey(key.data(), key.size() - line.size());
        entries.push_back(MakeEntry(collationKey, static_cast<std::uint32_t>(i)));
        meter.Show(i * 4, count * 5);
    }
    std::sort(entries.begin(), entries.end());
    for (auto run = entries.begin(); run != entries.end();) {
        auto end = run + 1;
        while (end != entries.end() && end->SamePrefix(*run)) {
            ++end;
        }
        if (end - run > 1) {
            SortTiedRun(lines, collation, &*run, &*run + (end - run));
        }
        run = end;
    }
    return entries;
}

}  // namespace

void WorkSort(ToolJob& job) {
    RunStep(job, "辞書ソート中", "辞書ファイルのソートに失敗しました。", [&] {
        TLightStrings lines;
        lines.LoadFromFile(InputPath(job, job.Source));
        PercentMeter meter(job.reporter);
        const std::vector<SortEntry> order = SortedOrder(lines, meter);
        LineWriter out(OutputPath(job, job.Dest));
        const size_t count = order.size();
        for (size_t i = 0; i < count; ++i) {
            out.WriteLine(lines.View(static_cast<int>(order[i].line)));
            meter.Show(count * 4 + i, count * 5);
        }
        out.Close();
    });
}

void JoinFiles(ToolJob& job) {
    RunStep(job, "辞書作成中１", "辞書ファイルの作成に失敗しました。", [&] {
        LineReader first(InputPath(job, job.Source));
        LineReader second(InputPath(job, job.Dest));
        LineWriter out(OutputPath(job, job.Extra));
        PercentMeter meter(job.reporter);
        const unsigned long long total = first.Size() + second.Size();
        std::string_view line;
        while (first.Next(line)) {
            out.WriteLine(line);
            meter.Show(first.Consumed(), total);
        }
        ShowProgress(job, "辞書作成中２");
        while (second.Next(line)) {
            out.WriteLine(line);
            meter.Show(first.Size() + second.Consumed(), total);
        }
        out.Close();
    });
}

}  // namespace tovix
