// SPDX-License-Identifier: GPL-3.0-or-later
// The sort of a work file as whole lines in dictionary collation (for a
// Japanese-English set, in the order of JpnEntryOrder.h), and the plain
// concatenation of two files that comes before it when dictionaries are
// joined.

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "components/LightStrings.h"
#include "dict/JpnEntryOrder.h"
#include "platform/Collation.h"
#include "platform/IoError.h"
#include "tools/ConvertCommon.h"
#include "tools/JpnTieSort.h"
#include "tools/LineWriter.h"
#include "tools/Steps.h"
#include "tools/TableSteps.h"
#include "tools/ToolMessages.h"
#include "tools/ToolStep.h"

namespace tovix {
namespace {

// A line to sort: the first bytes of its headword key (Collation), as two
// big-endian numbers so that comparing them compares the bytes, and the
// line's index. Twelve key bytes hold the first letters of a headword, which
// tell most lines apart; the lines whose prefixes tie are ordered afterwards
// by their whole keys. Keeping only the prefix holds the memory of the sort at
// the loaded file plus 16 bytes a line.
struct SortEntry {
    std::uint64_t high;
    std::uint32_t low;
    std::uint32_t line;

    bool operator<(const SortEntry& other) const {
        return high != other.high ? high < other.high : low < other.low;
    }
    bool SamePrefix(const SortEntry& other) const { return high == other.high && low == other.low; }
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

// The headword a line is keyed by: the line's own, or for a Japanese-English
// set that of its order line (JpnEntryOrder.h), its reading.
class OrderText {
  public:
    explicit OrderText(bool jpn) : jpn_(jpn) {}

    std::string_view operator()(std::string_view line) {
        if (!jpn_) {
            return line;
        }
        // The headword of the order line is its reading.
        if (const std::string_view reading = JpnOrderReading(line); StandsAlone(reading)) {
            return reading;
        }
        text_.clear();
        AppendJpnOrderLine(line, text_);
        return text_;
    }

  private:
    bool jpn_;
    std::string text_;
};

// Progress is shown after every so many lines.
constexpr size_t kLinesPerProgress = 4096;

// Fewer lines than this a thread are not worth the thread.
constexpr size_t kMinLinesPerThread = 1024;

// Splits 0..count into one share per processor, or fewer for few lines.
std::vector<size_t> EvenShares(size_t count) {
    const size_t threads = std::clamp<size_t>(count / kMinLinesPerThread, 1,
                                              std::max(1u, std::thread::hardware_concurrency()));
    std::vector<size_t> bounds;
    for (size_t i = 0; i <= threads; ++i) {
        bounds.push_back(count * i / threads);
    }
    return bounds;
}

// Runs work(begin, end, onCallingThread) on the shares between consecutive
// bounds, the first on the calling thread and every other on a thread of its
// own (or on the calling thread too, when no thread can be had). Returns when
// all are done and then passes on the first failure.
template <class Work>
void RunShares(const std::vector<size_t>& bounds, const Work& work) {
    std::vector<std::exception_ptr> failures(bounds.size() - 1);
    auto runShare = [&](size_t share) {
        try {
            work(bounds[share], bounds[share + 1], share == 0);
        } catch (...) {
            failures[share] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        std::vector<size_t> unthreaded = {0};
        for (size_t share = 1; share + 1 < bounds.size(); ++share) {
            try {
                threads.emplace_back(runShare, share);
            } catch (const std::system_error&) {
                unthreaded.push_back(share);
            }
        }
        for (size_t share : unthreaded) {
            runShare(share);
        }
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

// Orders runs of lines whose key prefixes are equal by the collation's own
// comparison (for a Japanese-English set, JpnTieSort's), keeping its buffers
// from run to run.
class TiedRunSort {
  public:
    TiedRunSort(const TLightStrings& lines, bool jpn) : lines_(lines), jpn_(jpn), jpnSort_(lines) {}

    void Sort(SortEntry* first, SortEntry* last) {
        if (jpn_) {
            SortJpn(first, last);
            return;
        }
        CollectTexts(first, last);
        order_.resize(texts_.size());
        std::iota(order_.begin(), order_.end(), 0u);
        collation_.SortIndexes(texts_, order_);
        lineNumbers_.clear();
        for (const SortEntry* e = first; e != last; ++e) {
            lineNumbers_.push_back(e->line);
        }
        for (std::uint32_t i : order_) {
            (first++)->line = lineNumbers_[i];
        }
    }

  private:
    void SortJpn(SortEntry* first, SortEntry* last) {
        lineNumbers_.clear();
        for (const SortEntry* e = first; e != last; ++e) {
            lineNumbers_.push_back(e->line);
        }
        jpnSort_.Sort(lineNumbers_);
        for (std::uint32_t line : lineNumbers_) {
            (first++)->line = line;
        }
    }

    // The lines, made into one buffer.
    void CollectTexts(const SortEntry* first, const SortEntry* last) {
        buffer_.clear();
        ends_.clear();
        for (const SortEntry* e = first; e != last; ++e) {
            buffer_.append(lines_.View(static_cast<int>(e->line)));
            ends_.push_back(buffer_.size());
        }
        texts_.clear();
        size_t start = 0;
        for (size_t end : ends_) {
            texts_.push_back(std::string_view(buffer_).substr(start, end - start));
            start = end;
        }
    }

    const TLightStrings& lines_;
    bool jpn_;
    JpnTieSort jpnSort_;
    Collation collation_;
    std::string buffer_;
    std::vector<size_t> ends_;
    std::vector<std::string_view> texts_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> lineNumbers_;
};

// Moves every inner bound forward to the start of a run of equal prefixes, so
// that no run is split between two shares.
void AlignToRuns(const std::vector<SortEntry>& entries, std::vector<size_t>& bounds) {
    for (size_t i = 1; i + 1 < bounds.size(); ++i) {
        size_t& bound = bounds[i];
        bound = std::max(bound, bounds[i - 1]);
        while (bound > 0 && bound < entries.size() &&
               entries[bound].SamePrefix(entries[bound - 1])) {
            ++bound;
        }
    }
}

// The entries of all lines, in the lines' order, made on every processor.
std::vector<SortEntry> MakeEntries(const TLightStrings& lines, const std::vector<size_t>& bounds,
                                   bool jpn, PercentMeter& meter) {
    std::vector<SortEntry> entries(static_cast<size_t>(lines.Count()));
    RunShares(bounds, [&](size_t begin, size_t end, bool onCallingThread) {
        Collation collation;
        OrderText order(jpn);
        std::string key;
        for (size_t i = begin; i < end; ++i) {
            key.clear();
            collation.AppendHeadwordKeyPrefix(order(lines.View(static_cast<int>(i))), kPrefixBytes,
                                              key);
            entries[i] = MakeEntry(key, static_cast<std::uint32_t>(i));
            if (onCallingThread && (i - begin) % kLinesPerProgress == 0) {
                meter.Show((i - begin) * 4, (end - begin) * 5);
            }
        }
    });
    return entries;
}

// Sorts the entries by their prefixes. Every entry of a share is first put
// before every entry of the next, so that the shares can be sorted each on a
// processor of its own.
void SortByPrefixes(std::vector<SortEntry>& entries, const std::vector<size_t>& bounds) {
    auto at = [&](size_t i) { return entries.begin() + static_cast<std::ptrdiff_t>(i); };
    for (size_t i = 1; i + 1 < bounds.size(); ++i) {
        std::nth_element(at(bounds[i - 1]), at(bounds[i]), entries.end());
    }
    RunShares(bounds, [&](size_t begin, size_t end, bool) { std::sort(at(begin), at(end)); });
}

// Orders every run of entries with equal prefixes among themselves.
void OrderTiedRuns(const TLightStrings& lines, std::vector<SortEntry>& entries,
                   std::vector<size_t> bounds, bool jpn) {
    AlignToRuns(entries, bounds);
    RunShares(bounds, [&](size_t begin, size_t end, bool) {
        TiedRunSort tied(lines, jpn);
        for (size_t run = begin; run < end;) {
            size_t runEnd = run + 1;
            while (runEnd < end && entries[runEnd].SamePrefix(entries[run])) {
                ++runEnd;
            }
            if (runEnd - run > 1) {
                tied.Sort(&entries[run], &entries[runEnd - 1] + 1);
            }
            run = runEnd;
        }
    });
}

// The lines' indexes in dictionary order. Lines that collate equal stand in
// the order of their bytes, so the result does not depend on the input order
// and equal lines are all kept. The entries are let go before the lines are
// written, which holds the memory of the writing at the loaded file plus 4
// bytes a line.
std::vector<std::uint32_t> SortedOrder(const TLightStrings& lines, bool jpn, PercentMeter& meter) {
    const std::vector<size_t> bounds = EvenShares(static_cast<size_t>(lines.Count()));
    std::vector<SortEntry> entries = MakeEntries(lines, bounds, jpn, meter);
    SortByPrefixes(entries, bounds);
    OrderTiedRuns(lines, entries, bounds, jpn);
    std::vector<std::uint32_t> order(entries.size());
    std::transform(entries.begin(), entries.end(), order.begin(),
                   [](const SortEntry& e) { return e.line; });
    return order;
}

// Lines in a block: the sorted lines are collected and written in blocks.
constexpr size_t kLinesPerBlock = 1024;

// The buffers of the sorted file and the pair file. A block of sorted text,
// larger than this, is written as it is: a buffer of the common size would
// only hold a copy of it, at the time the sort holds the most memory.
constexpr size_t kWriteBuffer = 64 * 1024;

// Collects the lines of one block of the sorted order, each ended by CR LF.
void CollectBlock(const TLightStrings& lines, const std::vector<std::uint32_t>& order, size_t block,
                  std::string& text) {
    text.clear();
    const size_t end = std::min(order.size(), (block + 1) * kLinesPerBlock);
    for (size_t i = block * kLinesPerBlock; i < end; ++i) {
        text.append(lines.View(static_cast<int>(order[i])));
        text.append("\r\n");
    }
}

// Collects every other block of the sorted lines (the odd ones) on a thread of
// its own, at most two blocks ahead of the writer, which takes them in turn.
class OddBlockCollector {
  public:
    OddBlockCollector(const TLightStrings& lines, const std::vector<std::uint32_t>& order,
                      size_t blocks)
        : thread_([&lines, &order, blocks, this] { Run(lines, order, blocks); }) {}

    // Lets the thread go also when the writer stops early.
    ~OddBlockCollector() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
    }

    // Waits for odd block `block` and returns its text, valid until the next
    // call. Passes on the collector's failure.
    const std::string& Take(size_t block) {
        const size_t index = block / 2;
        std::unique_lock lock(mutex_);
        if (index > 0) {
            taken_ = index;
            changed_.notify_all();
        }
        changed_.wait(lock, [&] { return collected_ > index || failure_; });
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return texts_[index % 2];
    }

  private:
    void Run(const TLightStrings& lines, const std::vector<std::uint32_t>& order, size_t blocks) {
        try {
            for (size_t index = 0; 2 * index + 1 < blocks; ++index) {
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return index < taken_ + 2 || stop_; });
                    if (stop_) {
                        return;
                    }
                }
                CollectBlock(lines, order, 2 * index + 1, texts_[index % 2]);
                {
                    std::lock_guard lock(mutex_);
                    collected_ = index + 1;
                }
                changed_.notify_all();
            }
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
            }
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<std::string, 2> texts_;
    size_t collected_ = 0;  // odd blocks collected
    size_t taken_ = 0;      // odd blocks whose text may be reused
    bool stop_ = false;
    std::exception_ptr failure_;
    std::jthread thread_;
};

// The pair file of the sorted lines, made from the blocks of sorted text as
// they are written (every line there ends in CR LF): each line, headword TAB
// translation, becomes the headword line (J-E: JpnPairHead) and TAB and
// translation. What stops the pair step, a line without TAB or a failing
// write, stops the pair file there and is kept, to be reported only once the
// sorted file is complete, as the pair step that read it back reported it.
// Each line's headword goes to the sorted file's table as well. Format may
// run on another thread than Write and Finish, one block at a time, each
// block's Format done before its Write.
class PairWriter {
  public:
    PairWriter(ToolJob& job, const std::string& name, bool jpn, SortedTable& table)
        : jpn_(jpn), table_(table) {
        Guarded([&] { out_.emplace(OutputPath(job, name), kWriteBuffer); });
    }

    // The pair-file text of a block of sorted text, its headwords added to
    // the table; nothing once the pair file has stopped.
    void Format(std::string_view block, std::string& text) {
        text.clear();
        if (formatFailure_ || badLine_ || stopped_) {
            return;
        }
        try {
            // Room for the block and the line end each line gains after its
            // headword (for lines of eight bytes and more), taken at once
            // rather than grown by doubling.
            text.reserve(block.size() + block.size() / 4);
            for (size_t start = 0; start < block.size() && !badLine_;) {
                const size_t end = block.find("\r\n", start);
                AddLine(block.substr(start, end - start), text);
                start = end + 2;
            }
        } catch (const std::bad_alloc&) {
            formatFailure_ = std::current_exception();
        }
    }

    // Writes what Format made of a block.
    void Write(std::string_view text) {
        if (failure_ || text.empty()) {
            return;
        }
        try {
            out_->Write(text);
        } catch (const IoError&) {
            failure_ = std::current_exception();
        } catch (const std::bad_alloc&) {
            failure_ = std::current_exception();
        }
        stopped_ = failure_ != nullptr;
    }

    // Closes the pair file, or throws what stopped it: the content error
    // names the sorted file, job.Source.
    void Finish(const ToolJob& job) {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        if (formatFailure_) {
            std::rethrow_exception(formatFailure_);
        }
        out_->Close();
        if (badLine_) {
            ThrowContentError(job);
        }
    }

  private:
    template <class Work>
    void Guarded(Work&& work) {
        try {
            work();
        } catch (const IoError&) {
            failure_ = std::current_exception();
        } catch (const std::bad_alloc&) {
            failure_ = std::current_exception();
        }
        stopped_ = failure_ != nullptr;
    }

    void AddLine(std::string_view line, std::string& text) {
        std::string_view head;
        std::string_view rest;
        if (!SplitAtTab(line, head, rest)) {
            badLine_ = true;
            return;
        }
        table_.Add(head);
        if (jpn_) {
            head_.clear();
            AppendJpnPairHead(head, head_);
            head = head_;
        }
        text.append(head);
        text.append("\r\n\t");
        text.append(rest);
        text.append("\r\n");
    }

    bool jpn_;
    SortedTable& table_;
    std::string head_;  // a J-E headword line, kept from line to line
    std::optional<LineWriter> out_;
    std::exception_ptr failure_;        // of the pair file
    std::exception_ptr formatFailure_;  // of Format
    bool badLine_ = false;
    std::atomic<bool> stopped_ = false;  // the pair file failed: Format need not go on
};

// Formats the pair text of every block on a thread of its own, one block
// behind the writer: the writer posts block B, then writes the pair text of
// block B - 1, so that every write stays on the writer's thread in a fixed
// order. A posted block's text must stay as it is until its pair text is
// written.
class PairFormatter {
  public:
    explicit PairFormatter(PairWriter& pairs) : pairs_(pairs), thread_([this] { Run(); }) {}

    // Lets the thread go also when the writer stops early.
    ~PairFormatter() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
    }

    // Hands block `block` over; blocks come in order from 0.
    void Post(size_t block, std::string_view text) {
        Slot& slot = slots_[block % 2];
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return slot.state == State::Free; });
        slot.input = text;
        slot.state = State::Posted;
        changed_.notify_all();
    }

    // Waits for the pair text of `block` (posted before) and writes it.
    void Write(size_t block) {
        Slot& slot = slots_[block % 2];
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return slot.state == State::Formatted; });
        lock.unlock();
        pairs_.Write(slot.output);
        lock.lock();
        slot.state = State::Free;
        changed_.notify_all();
    }

  private:
    enum class State { Free, Posted, Formatted };
    struct Slot {
        State state = State::Free;
        std::string_view input;
        std::string output;
    };

    void Run() {
        for (size_t block = 0;; ++block) {
            Slot& slot = slots_[block % 2];
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return slot.state == State::Posted || stop_; });
                if (stop_) {
                    return;
                }
            }
            pairs_.Format(slot.input, slot.output);
            {
                std::lock_guard lock(mutex_);
                slot.state = State::Formatted;
            }
            changed_.notify_all();
        }
    }

    PairWriter& pairs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<Slot, 2> slots_;
    bool stop_ = false;
    std::jthread thread_;
};

// Writes the lines in the sorted order. Collecting them costs more than
// writing them, as they lie all over the loaded file, so a second thread
// collects every other block while this one collects the rest and writes;
// with a third, the pair text is made beside them.
void WriteInOrder(const TLightStrings& lines, const std::vector<std::uint32_t>& order,
                  LineWriter& out, PercentMeter& meter, PairWriter* pairs) {
    const size_t blocks = (order.size() + kLinesPerBlock - 1) / kLinesPerBlock;
    const bool threads = std::thread::hardware_concurrency() > 1;
    std::optional<OddBlockCollector> collector;
    std::optional<PairFormatter> formatter;
    try {
        if (blocks > 1 && threads) {
            collector.emplace(lines, order, blocks);
        }
        if (pairs != nullptr && threads) {
            formatter.emplace(*pairs);
        }
    } catch (const std::system_error&) {
        // Without a thread this one does that work.
    }
    // A block's text stays until the next block but one is collected, after
    // its pair text is written: this thread collects into two buffers in
    // turn, and the collector refills a block's buffer only once the block
    // after the next of its own is taken.
    std::array<std::string, 2> texts;
    std::string pairText;
    for (size_t block = 0; block < blocks; ++block) {
        const std::string* collected = &texts[block % 2];
        if (collector && block % 2 == 1) {
            collected = &collector->Take(block);
        } else {
            CollectBlock(lines, order, block, texts[block % 2]);
        }
        out.Write(*collected);
        if (formatter) {
            formatter->Post(block, *collected);
            if (block > 0) {
                formatter->Write(block - 1);
            }
        } else if (pairs != nullptr) {
            pairs->Format(*collected, pairText);
            pairs->Write(pairText);
        }
        meter.Show(blocks * 4 + block, blocks * 5);
    }
    if (formatter && blocks > 0) {
        formatter->Write(blocks - 1);
    }
}

// Writes `lines` sorted into Dest; with `pairs`, the pair file is made on the
// way.
void SortLines(ToolJob& job, const TLightStrings& lines, bool jpn, PairWriter* pairs) {
    PercentMeter meter(job.reporter);
    const std::vector<std::uint32_t> order = SortedOrder(lines, jpn, meter);
    LineWriter out(OutputPath(job, job.Dest), kWriteBuffer);
    WriteInOrder(lines, order, out, meter, pairs);
    out.Close();
}

// Sorts Source into Dest; with `pairs`, the pair file is made on the way.
bool SortWork(ToolJob& job, bool jpn, PairWriter* pairs = nullptr) {
    return RunStep(job, tool_text::kProgressSort, tool_text::kSortFailed, [&] {
        TLightStrings lines;
        lines.LoadFromFile(InputPath(job, job.Source));
        SortLines(job, lines, jpn, pairs);
    });
}

// The lines of `text`, each ended by CR LF, as a file of that text would
// load. A text with a NUL byte is taken line by line, as the whole-text load
// would end at the NUL.
void LoadLinesFromText(std::string_view text, TLightStrings& lines) {
    if (text.find('\0') == std::string_view::npos) {
        lines.SetText(text);
        return;
    }
    for (size_t begin = 0; begin < text.size();) {
        const size_t end = text.find("\r\n", begin);
        lines.Add(text.substr(begin, end - begin));
        begin = end + 2;
    }
}

// The sort, and then the pair step's end: the pair file of the sorted lines
// is completed, or what stopped it reported as that step reports it.
void SortWorkToPair(ToolJob& job, bool jpnOrder, bool jpnHeads, SortedTable& table) {
    const std::string pairFile = job.Extra;
    PairWriter pairs(job, pairFile, jpnHeads, table);
    if (!SortWork(job, jpnOrder, &pairs)) {
        return;
    }
    job.Source = job.Dest;
    job.Dest = pairFile;
    job.Extra.clear();
    RunStep(job, tool_text::kProgressMake, tool_text::kCreateFailed, [&] { pairs.Finish(job); });
}

}  // namespace

void WorkSort(ToolJob& job) {
    SortWork(job, false);
}

void SortTextInto(ToolJob& job, std::string_view text) {
    RunStep(job, tool_text::kProgressSort, tool_text::kSortFailed, [&] {
        TLightStrings lines;
        LoadLinesFromText(text, lines);
        SortLines(job, lines, false, nullptr);
    });
}

void WorkSortJpn(ToolJob& job) {
    SortWork(job, job.options.readingOrder);
}

void WorkSortToPairAndTableEng(ToolJob& job, SortedTable& table) {
    SortWorkToPair(job, false, false, table);
}

void WorkSortToPairAndTableJpn(ToolJob& job, SortedTable& table) {
    SortWorkToPair(job, job.options.readingOrder, true, table);
}

void JoinFiles(ToolJob& job) {
    RunStep(job, tool_text::kProgressJoinRead, tool_text::kCreateFailed, [&] {
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
        ShowProgress(job, tool_text::kProgressJoinWrite);
        while (second.Next(line)) {
            out.WriteLine(line);
            meter.Show(first.Size() + second.Consumed(), total);
        }
        out.Close();
    });
}

}  // namespace tovix
