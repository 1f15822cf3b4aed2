// SPDX-License-Identifier: GPL-3.0-or-later
// Line splitting: the line store loading a file and a text, the tools' line
// reader streaming the same file, and the line store's edits, each against a
// plain list of strings.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "components/BvStrings.h"
#include "tools/LineReader.h"

namespace tovix::fuzz {
namespace {

void CheckLines(const TLightStrings& store, const std::vector<std::string>& expected,
                const char* what) {
    Check(store.Count() == static_cast<int>(expected.size()), what);
    for (size_t i = 0; i < expected.size(); ++i) {
        Check(store.View(static_cast<int>(i)) == expected[i], what);
    }
}

std::vector<std::string> ReaderLines(const std::filesystem::path& file) {
    LineReader reader(file);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    Check(reader.Consumed() == reader.Size(), "the reader consumes the whole file");
    return lines;
}

// Edits driven by the input's first bytes, made on the store and on the model
// alike.
void Edit(TBvStrings& store, std::vector<std::string>& model, std::string_view script) {
    for (size_t i = 0; i + 2 < std::min<size_t>(script.size(), 96); i += 3) {
        const auto op = static_cast<unsigned char>(script[i]) % 6;
        const auto a = static_cast<unsigned char>(script[i + 1]);
        const auto b = static_cast<unsigned char>(script[i + 2]);
        const std::string line = model.empty() ? std::string(b % 3, 'x') : model[b % model.size()];
        const int count = static_cast<int>(model.size());
        const auto at = [&](unsigned char n, int limit) { return limit == 0 ? 0 : n % limit; };
        switch (op) {
            case 0:
                store.Add(line + "+");
                model.push_back(line + "+");
                break;
            case 1: {
                const int index = at(a, count + 1);
                store.Insert(index, line);
                model.insert(model.begin() + index, line);
                break;
            }
            case 2:
                if (count > 0) {
                    store.Delete(at(a, count));
                    model.erase(model.begin() + at(a, count));
                }
                break;
            case 3:
                if (count > 0) {
                    store.Put(at(a, count), line + std::string(a % 4, 'y'));
                    model[static_cast<size_t>(at(a, count))] = line + std::string(a % 4, 'y');
                }
                break;
            case 4:
                if (count > 0) {
                    store.Exchange(at(a, count), at(b, count));
                    std::swap(model[static_cast<size_t>(at(a, count))],
                              model[static_cast<size_t>(at(b, count))]);
                }
                break;
            default: {
                const auto found = std::find(model.begin(), model.end(), line);
                const int expected =
                    found == model.end() ? -1 : static_cast<int>(found - model.begin());
                Check(store.IndexOf(line) == expected, "IndexOf finds the first equal line");
            }
        }
    }
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitLines(text);
    const std::filesystem::path file = ScratchDir() / "lines.txt";
    WriteFile(file, text);

    TBvStrings loaded;
    loaded.LoadFromFile(file);
    CheckLines(loaded, lines, "LoadFromFile splits the file's lines");
    Check(ReaderLines(file) == lines, "the line reader splits the file's lines");

    TBvStrings set;
    set.SetText(text);
    CheckLines(set, SplitLines(text.substr(0, text.find('\0'))), "SetText splits up to a NUL");

    std::vector<std::string> model = lines;
    Edit(loaded, model, text);
    CheckLines(loaded, model, "edits");
    std::string joined;
    for (const std::string& line : model) {
        joined += line + "\r\n";
    }
    Check(loaded.GetText() == joined, "GetText ends every line with CR LF");
    loaded.SaveToFile(file);
    Check(ReadFile(file) == joined, "SaveToFile writes GetText");
    loaded.LoadFromFile(file);
    CheckLines(loaded, model, "a saved store loads back the same");

    set.SetCommaText(text);
    set.SetText(set.GetCommaText());
    return 0;
}
