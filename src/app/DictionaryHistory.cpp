// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DictionaryHistory.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/IniUpdate.h"

namespace tovix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHistorySection = "History";
constexpr std::string_view kLastKey = "LastDic";
constexpr std::string_view kRecentSection = "RecentDic";
// Keys beyond the list's current end are emptied up to this many, so that a
// smaller limit or a clear leaves no stale entry behind.
constexpr int kRecentKeysMax = 1000;

std::vector<std::string> ReadRecentKeys(const IniFile& file) {
    std::vector<std::string> recent;
    for (int n = 1; n <= kRecentKeysMax; ++n) {
        std::string value = file.ReadString(kRecentSection, std::to_string(n), "");
        if (value.empty()) {
            break;
        }
        recent.push_back(std::move(value));
    }
    return recent;
}

void WriteRecentKeys(IniUpdate& update, const std::vector<std::string>& recent,
                     size_t previousCount) {
    const size_t keys = std::max(recent.size(), previousCount);
    for (size_t n = 0; n < keys; ++n) {
        update.WriteString(kRecentSection, std::to_string(n + 1),
                           n < recent.size() ? recent[n] : std::string());
    }
}

bool ListInUse(const DictionaryList& list) {
    return std::any_of(list.begin(), list.end(),
                       [](const DictionarySlot& slot) { return !slot.title.empty(); });
}

}  // namespace

std::vector<fs::path> ReadRecentDictionaries(const fs::path& settings, int limit) {
    std::vector<fs::path> recent;
    for (const std::string& file : ReadRecentKeys(IniFile::Load(settings))) {
        if (static_cast<int>(recent.size()) >= limit) {
            break;
        }
        recent.emplace_back(Cp932ToUtf8(file));
    }
    return recent;
}

fs::path ReadLastDictionary(const fs::path& settings) {
    return Cp932ToUtf8(IniFile::Load(settings).ReadString(kHistorySection, kLastKey, ""));
}

void NoteOpenedDictionary(const fs::path& settings, const fs::path& dicFile, int limit) {
    const std::optional<std::string> file = Utf8ToCp932Exact(dicFile.string());
    if (!file || file->empty()) {
        return;
    }
    std::vector<std::string> recent = ReadRecentKeys(IniFile::Load(settings));
    const size_t previousCount = recent.size();
    std::erase(recent, *file);
    recent.insert(recent.begin(), *file);
    recent.resize(std::min(recent.size(), static_cast<size_t>(std::max(limit, 0))));
    IniUpdate update(settings);
    update.WriteString(kHistorySection, kLastKey, *file);
    WriteRecentKeys(update, recent, previousCount);
    update.Commit();
}

void ClearRecentDictionaries(const fs::path& settings) {
    const size_t previousCount = ReadRecentKeys(IniFile::Load(settings)).size();
    IniUpdate update(settings);
    update.WriteString(kHistorySection, kLastKey, "");
    WriteRecentKeys(update, {}, previousCount);
    update.Commit();
}

int RegisterDefaultDictionaries(const fs::path& settings, const fs::path& dir) {
    int registered = 0;
    for (const DefaultDictionary& set : kDefaultDictionaries) {
        const fs::path file = dir / set.fileName;
        std::error_code error;
        const std::optional<std::string> name = Utf8ToCp932Exact(file.string());
        if (!fs::is_regular_file(file, error) || !name ||
            ListInUse(ReadDictionaryList(settings, set.direction))) {
            continue;
        }
        WriteDictionarySlot(settings, set.direction, 1,
                            {Utf8ToCp932(set.title), *name, std::string(set.shortCut)});
        ++registered;
    }
    return registered;
}

}  // namespace tovix
