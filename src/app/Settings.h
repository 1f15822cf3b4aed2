// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings held by the main window and their place in the settings file.
//
// The general settings are read once at start and written back at exit, every
// key in one locked rewrite of the file. Texts are CP932 byte strings as
// stored; font sizes and colours stay texts until they are applied, where an
// unusable value is reported. The dictionary lists are read afresh whenever a
// dictionary is chosen.

#include <array>
#include <filesystem>
#include <string>

#include "dict/Direction.h"

namespace tovix {

// Position and size of a window, restored at start when `mem` is set and none
// of the four numbers is -1.
struct WindowBounds {
    bool mem = false;
    int left = -1;
    int top = -1;
    int width = -1;
    int height = -1;

    bool operator==(const WindowBounds&) const = default;
};

// Font and background of the search field or of the dictionary view. Colours
// are colour names ("clBlack") or hexadecimal colour numbers.
struct FontSettings {
    std::string fontName = "system";
    std::string fontSize = "14";
    std::string fontColor = "clBlack";
    std::string backColor = "clWindow";

    bool operator==(const FontSettings&) const = default;
};

struct GeneralSettings {
    WindowBounds mainWindow;            // FormMain
    WindowBounds zoomWindow;            // FormView
    FontSettings searchField;           // EditJyouhou
    FontSettings view;                  // TextJyouhou
    std::string findText;               // FindStrName/1
    bool findMatchCase = false;         // SearchUperLower/Set
    bool showFunctionKeys = true;       // FuncKey/Disp
    bool zoomWrap = true;               // Wrap/Set
    std::string zoomWrapLength = "60";  // WrapSet/Length, bytes per wrapped line
    bool imeStyleN = false;             // RomajiInput/ImeStyleN, n as input methods take it
    // History/ReopenLast: a start without arguments opens the last dictionary
    // again. On for a new settings file, off when an older file lacks the key.
    bool reopenLast = true;
    int historySize = 100;  // History/Size: looked-up words and recent dictionaries; 0 = none
    bool selectionLookup = false;  // Lookup/Selection: look up what other programs select

    bool operator==(const GeneralSettings&) const = default;
};

inline constexpr int kHistorySizeMax = 1000;

// Every general setting from the file; missing values take their defaults.
GeneralSettings ReadIniFileValue(const std::filesystem::path& path);

// Writes every general setting, in the file's key order, as one locked update.
// Throws IoError when the file cannot be written.
void WriteIniFileValue(const std::filesystem::path& path, const GeneralSettings& settings);

enum class FontPlace { SearchField, View };

// The font command's immediate write: font name, size and colour.
void WriteFontKeys(const std::filesystem::path& path, FontPlace place, const FontSettings& font);

// The background colour command's immediate write.
void WriteBackColorKey(const std::filesystem::path& path, FontPlace place,
                       const FontSettings& font);

// One registered dictionary. A slot is in use when its title is not empty.
struct DictionarySlot {
    std::string title;
    std::string fileName;
    std::string shortCut;  // shown before the title in the selection list

    bool operator==(const DictionarySlot&) const = default;
};

inline constexpr int kDictionarySlots = 9;

// Slot n of the file is element n - 1.
using DictionaryList = std::array<DictionarySlot, kDictionarySlots>;

// The nine slots of a direction (English or Japanese; None throws
// std::invalid_argument).
DictionaryList ReadDictionaryList(const std::filesystem::path& path, Direction direction);

// Writes all nine slots of a direction, empty ones included, in one update.
void WriteDictionaryList(const std::filesystem::path& path, Direction direction,
                         const DictionaryList& list);

// Writes one slot (1 .. 9; others throw std::out_of_range) and leaves the
// other slots alone.
void WriteDictionarySlot(const std::filesystem::path& path, Direction direction, int slot,
                         const DictionarySlot& entry);

}  // namespace tovix
