// SPDX-License-Identifier: GPL-3.0-or-later
// Keystroke to repainted view in the viewer, in process on the offscreen
// platform:   ViewerKeystrokeBench DICTIONARY-FILE WORDS
// For WORDS headwords sampled from every part file, it types each word's
// first letter (the part changes, as the initials alternate) and then its
// next letters (lookups within the loaded part), timing each keystroke until
// the view has been repainted. Prints medians and maxima in milliseconds,
// of the wall clock and of the processor time of the thread (which a loaded
// machine disturbs far less). Each keystroke slower than a frame is also
// written to standard error: when it came, its wall and processor time, and
// how often the window's thread waited (blocked) or was preempted meanwhile,
// and its page faults, for finding what it waited for. The number of times
// the window's thread blocked during the keystrokes is printed too: a load
// on the machine preempts it, but should never make it wait. So is the
// slowest part change less the time the thread sat in the run queue,
// preempted: what a quiet machine would show.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "app/gui/MainWindow.h"
#include "components/BigView/BigView.h"
#include "components/DicEdit/DicEdit.h"
#include "components/LightStrings.h"
#include "dict/DicFileSet.h"

namespace {

using tovix::bench::Median;

double ThreadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double MonotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// What the window's thread went through: waits (voluntary switches),
// preemptions and page faults.
struct ThreadCounts {
    long waits = 0;
    long preempted = 0;
    long minorFaults = 0;
    long majorFaults = 0;
};

// How long the window's thread has waited in the run queue, runnable but
// not running (preempted by other processes), in milliseconds: taken from a
// keystroke's wall time, it leaves what a quiet machine would show.
double QueuedMs() {
    std::ifstream stat("/proc/thread-self/schedstat");
    double runningNs = 0;
    double queuedNs = 0;
    stat >> runningNs >> queuedNs;
    return queuedNs / 1e6;
}

ThreadCounts CountsNow() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return {usage.ru_nvcsw, usage.ru_nivcsw, usage.ru_minflt, usage.ru_majflt};
}

constexpr double kFrameMs = 16;

double Max(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

// Plain-letter headwords, taken evenly from each part file in turn, so that
// consecutive words have different initials.
std::vector<std::string> SampleWords(const std::filesystem::path& dic, int count) {
    std::vector<std::vector<std::string>> perPart;
    for (int part = 1; part <= 26; ++part) {
        tovix::TLightStrings lines;
        lines.LoadFromFile(tovix::PartFileName(dic, part));
        std::vector<std::string> words;
        const int step = std::max(2, (lines.Count() / (count / 26 + 1)) & ~1);
        for (int i = 0; i < lines.Count(); i += step) {
            std::string word(lines.View(i).substr(0, 6));
            if (word.size() >= 4 && std::all_of(word.begin(), word.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                })) {
                words.push_back(word);
            }
        }
        perPart.push_back(words);
    }
    std::vector<std::string> out;
    for (size_t i = 0; out.size() < static_cast<size_t>(count); ++i) {
        bool any = false;
        for (const auto& words : perPart) {
            if (i < words.size()) {
                out.push_back(words[i]);
                any = true;
            }
        }
        if (!any) {
            break;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::filesystem::path dic = argv[1];
    const int count = std::atoi(argv[2]);
    tovix::TForm1 window({QString::fromStdString(dic.string()), "ENG"});
    window.show();
    tovix::TDicEdit& field = *window.DicEdit1();
    QWidget& view = *window.BigView1()->viewport();

    std::vector<double> partChange;
    std::vector<double> withinPart;
    std::vector<double> partChangeCpu;
    std::vector<double> partChangeUnqueued;
    QElapsedTimer timer;
    long changeWaits = 0;
    long withinWaits = 0;
    QElapsedTimer sinceShown;
    sinceShown.start();
    for (const std::string& word : SampleWords(dic, count)) {
        field.SetText("");
        for (size_t i = 0; i < word.size(); ++i) {
            const ThreadCounts before = CountsNow();
            const double startSeconds = MonotonicSeconds();
            const double queuedStart = QueuedMs();
            const double cpuStart = ThreadMs();
            timer.start();
            QTest::keyClick(&field, word[i]);
            view.repaint();
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            const double cpu = ThreadMs() - cpuStart;
            (i == 0 ? partChange : withinPart).push_back(ms);
            const ThreadCounts after = CountsNow();
            const double queued = QueuedMs() - queuedStart;
            if (i == 0) {
                partChangeCpu.push_back(cpu);
                partChangeUnqueued.push_back(ms - queued);
            }
            (i == 0 ? changeWaits : withinWaits) += after.waits - before.waits;
            if (ms >= kFrameMs) {
                std::fprintf(stderr,
                             "slow keystroke at %.1f ms (monotonic %.6f s): '%s' letter %zu, "
                             "%.2f ms, queued %.2f ms, processor %.2f ms, waits %ld, "
                             "preempted %ld, faults %ld minor %ld major\n",
                             static_cast<double>(sinceShown.nsecsElapsed()) / 1e6, startSeconds,
                             word.c_str(), i + 1, ms, queued, cpu, after.waits - before.waits,
                             after.preempted - before.preempted,
                             after.minorFaults - before.minorFaults,
                             after.majorFaults - before.majorFaults);
            }
        }
    }
    std::printf("keystrokes_within %zu\n", withinPart.size());
    std::printf("within_median_ms %.3f\n", Median(withinPart));
    std::printf("within_max_ms %.3f\n", Max(withinPart));
    std::printf("keystrokes_change %zu\n", partChange.size());
    std::printf("change_median_ms %.3f\n", Median(partChange));
    std::printf("change_max_ms %.3f\n", Max(partChange));
    std::printf("change_cpu_median_ms %.3f\n", Median(partChangeCpu));
    std::printf("change_cpu_max_ms %.3f\n", Max(partChangeCpu));
    std::printf("change_unqueued_max_ms %.3f\n", Max(partChangeUnqueued));
    std::printf("change_waits %ld\n", changeWaits);
    std::printf("within_waits %ld\n", withinWaits);
    return 0;
}
