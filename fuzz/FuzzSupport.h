// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: a scratch directory of the process for the
// files a target reads and writes, whole-file reading and writing, the lines
// of a text as the program splits them, a reporter that answers every
// question the same way, and the check that stops the run on a broken
// promise (libFuzzer then saves the input that broke it).

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Reporter.h"

namespace tovix::fuzz {

// Stops the run with `what` when `condition` does not hold.
inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

// A directory of this process, in memory where the system offers it; removed
// when the process ends normally.
class Scratch {
  public:
    Scratch() {
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        path_ = base / ("tovix-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline const std::filesystem::path& ScratchDir() {
    static const Scratch scratch;
    return scratch.path();
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out.flush()), "scratch file written");
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a text: CR LF, a lone CR and a lone LF each end a line (LF CR
// ends one and begins an empty one); a last line without a line end is a
// line; every other byte, NUL included, belongs to its line.
inline std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

// An input that begins with a line choosing what the target does.
struct ChoiceAndText {
    std::string_view choice;  // the first line, without its line end
    std::string_view text;    // everything after it
};

inline ChoiceAndText SplitChoice(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t end = std::min(input.find('\n'), input.size());
    std::string_view choice = input.substr(0, end);
    if (choice.ends_with('\r')) {
        choice.remove_suffix(1);
    }
    return {choice, input.substr(std::min(input.size(), end + 1))};
}

// The parts of a text between lines "%%" (the line after the mark is taken
// whole, so marks are written "\n%%\n").
inline std::vector<std::string_view> Parts(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t mark = text.find("\n%%");
        parts.push_back(text.substr(0, mark));
        if (mark == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(std::min(text.size(), mark + 4));
    }
}

// Records nothing; answers every question with `answer`.
class QuietReporter : public Reporter {
  public:
    explicit QuietReporter(MessageResult answer = MessageResult::Yes) : answer_(answer) {}

    MessageResult Message(MessageKind /*kind*/, const std::string& /*text*/,
                          MessageButtons buttons) override {
        ++messages;
        if ((buttons & (kButtonYes | kButtonNo)) != 0) {
            return answer_;
        }
        return (buttons & kButtonAbort) != 0 ? MessageResult::Abort : MessageResult::Ok;
    }
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }

    int messages = 0;

  private:
    MessageResult answer_;
    std::string caption_ = "Tovix";
};

}  // namespace tovix::fuzz
