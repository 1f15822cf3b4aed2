// SPDX-License-Identifier: GPL-3.0-or-later
// Entry editing's rewrite of a part file: the file split into lines as the
// view splits it, one entry taken out and a new one put in. The input is a
// choice line ("R<n>" takes out entry n, "A" adds, "C<n>" changes entry n),
// then the part file, "%%", and the new entry's headword and translation
// lines (one line each).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "editing/EntryFile.h"
#include "tools/LineWriter.h"

namespace tovix::fuzz {
namespace {

// The entry's lines: the first two lines of the part after the mark, with no
// line ends in them.
std::vector<std::string> EntryLines(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    lines.resize(2);
    return lines;
}

void CheckRewrite(const std::string& part, char op, size_t n,
                  const std::vector<std::string>& entry) {
    const EntryFile file(part, 2);
    const std::vector<std::string> lines = SplitLines(part);
    Check(file.LineCount() == lines.size(), "the part splits as the view splits it");
    for (size_t i = 0; i < lines.size(); ++i) {
        Check(file.Line(i) == lines[i], "a line as the view reads it");
    }
    std::optional<size_t> removed;
    if (op != 'A' && file.EntryCount() > 0) {
        removed = n % file.EntryCount();
    }
    const std::vector<std::string> inserted = op == 'R' ? std::vector<std::string>{} : entry;
    const std::filesystem::path out = ScratchDir() / "edited";
    LineWriter writer(out);
    file.WriteEdited(writer, removed, inserted);
    writer.Close();
    // Every line but the removed entry's stays, in order; the new entry's two
    // lines stand together at an even line, before a short last entry (so at
    // most at the last even line of the others).
    std::vector<std::string> kept = lines;
    if (removed) {
        const size_t first = 2 * *removed;
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(first),
                   kept.begin() + static_cast<std::ptrdiff_t>(std::min(first + 2, kept.size())));
    }
    const std::vector<std::string> written = SplitLines(ReadFile(out));
    Check(written.size() == kept.size() + inserted.size(), "no line lost or added");
    bool found = inserted.empty() && written == kept;
    const size_t lastEven = kept.size() - kept.size() % 2;
    for (size_t at = 0; !inserted.empty() && !found && at <= lastEven; at += 2) {
        std::vector<std::string> expected = kept;
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(),
                        inserted.end());
        found = expected == written;
    }
    Check(found, "the other lines in their order, the new entry at an even line of them");
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix::fuzz;
    const ChoiceAndText input = SplitChoice(data, size);
    if (input.choice.empty() ||
        std::string_view("ARC").find(input.choice[0]) == std::string_view::npos) {
        return 0;
    }
    size_t n = 0;
    for (const char c : input.choice.substr(1)) {
        n = n * 10 + static_cast<unsigned char>(c) % 10;
        n %= 1000000;
    }
    const std::vector<std::string_view> parts = Parts(input.text);
    const std::string part(parts[0]);
    CheckRewrite(part, input.choice[0], n, EntryLines(parts.size() > 1 ? parts[1] : "x \n\ty"));
    return 0;
}
