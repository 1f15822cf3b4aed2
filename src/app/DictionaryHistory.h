// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dictionaries the viewer opened, kept in the settings file: the last one
// ([History] LastDic), which a start without arguments opens again when the
// user wants it, and the recently opened ones ([RecentDic] 1, 2, ...), most
// recent first, offered in the file menu. Paths are UTF-8 here and CP932 in
// the file; a path with no CP932 form is not kept.
//
// Also the default dictionaries an installation brings along: registered in
// the lists of a new settings file, so that the first start has a dictionary.

#include <filesystem>
#include <string_view>
#include <vector>

#include "dict/Direction.h"

namespace tovix {

// The most recently opened dictionaries, at most `limit`, most recent first.
std::vector<std::filesystem::path> ReadRecentDictionaries(const std::filesystem::path& settings,
                                                          int limit);

// The dictionary opened last; empty when none is kept.
std::filesystem::path ReadLastDictionary(const std::filesystem::path& settings);

// Notes `dicFile` as opened: it becomes the last dictionary and the first of
// the recent ones (once; older ones move down, the list keeps at most `limit`).
// Throws IoError when the settings file cannot be written.
void NoteOpenedDictionary(const std::filesystem::path& settings,
                          const std::filesystem::path& dicFile, int limit);

// Empties the recent list and forgets the last dictionary. Throws IoError.
void ClearRecentDictionaries(const std::filesystem::path& settings);

// A default dictionary of an installation, by its file name in `dir`.
struct DefaultDictionary {
    Direction direction;
    std::string_view fileName;
    std::string_view title;  // UTF-8
    std::string_view shortCut;
};

// The folder of PREFIX/share/tovix that holds them.
inline constexpr std::string_view kDefaultDictionaryDir = "dictionaries";

// The EDICT sets that the build makes and the installation copies.
inline constexpr DefaultDictionary kDefaultDictionaries[] = {
    {Direction::English, "EDICT-EJ.DIC", "EDICT 英和", "E"},
    {Direction::Japanese, "EDICT-JE.DIC", "EDICT 和英", "J"},
};

// Registers each default dictionary found in `dir` as slot 1 of its
// direction's list, when that list has no slot in use. Returns how many were
// registered. Throws IoError when the settings file cannot be written.
int RegisterDefaultDictionaries(const std::filesystem::path& settings,
                                const std::filesystem::path& dir);

}  // namespace tovix
