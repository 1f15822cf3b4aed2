// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Settings.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/IniFile.h"
#include "platform/IniUpdate.h"

namespace tovix {
namespace {

// Every general key in file order, handed to `visit` as (section, key, value
// reference). Reading and writing both walk this one list, so they cannot drift
// apart.
template <typename Settings, typename Visit>
void VisitBounds(const char* section, Settings& bounds, Visit& visit) {
    visit(section, "Mem", bounds.mem);
    visit(section, "Left", bounds.left);
    visit(section, "Top", bounds.top);
    visit(section, "Width", bounds.width);
    visit(section, "Height", bounds.height);
}

template <typename Settings, typename Visit>
void VisitFont(const char* section, const char* prefix, Settings& font, Visit& visit) {
    const std::string p = prefix;
    visit(section, p + "FontName", font.fontName);
    visit(section, p + "FontSize", font.fontSize);
    visit(section, p + "FontColor", font.fontColor);
    visit(section, p + "BackColor", font.backColor);
}

template <typename Settings, typename Visit>
void VisitGeneralKeys(Settings& s, Visit visit) {
    VisitBounds("FormMain", s.mainWindow, visit);
    VisitBounds("FormView", s.zoomWindow, visit);
    VisitFont("EditJyouhou", "Edit", s.searchField, visit);
    VisitFont("TextJyouhou", "Text", s.view, visit);
    visit("FindStrName", "1", s.findText);
    visit("SearchUperLower", "Set", s.findMatchCase);
    visit("FuncKey", "Disp", s.showFunctionKeys);
    visit("Wrap", "Set", s.zoomWrap);
    visit("WrapSet", "Length", s.zoomWrapLength);
    visit("RomajiInput", "ImeStyleN", s.imeStyleN);
    visit("History", "ReopenLast", s.reopenLast);
    visit("History", "Size", s.historySize);
    visit("Lookup", "Selection", s.selectionLookup);
}

struct Reader {
    const IniFile& file;

    void operator()(std::string_view section, std::string_view key, bool& value) const {
        value = file.ReadBool(section, key, value);
    }
    void operator()(std::string_view section, std::string_view key, int& value) const {
        value = file.ReadInteger(section, key, value);
    }
    void operator()(std::string_view section, std::string_view key, std::string& value) const {
        value = file.ReadString(section, key, value);
    }
};

struct Writer {
    IniUpdate& update;

    void operator()(std::string_view section, std::string_view key, bool value) const {
        update.WriteBool(section, key, value);
    }
    void operator()(std::string_view section, std::string_view key, int value) const {
        update.WriteInteger(section, key, value);
    }
    void operator()(std::string_view section, std::string_view key,
                    const std::string& value) const {
        update.WriteString(section, key, value);
    }
};

const char* FontSection(FontPlace place) {
    return place == FontPlace::SearchField ? "EditJyouhou" : "TextJyouhou";
}

const char* FontPrefix(FontPlace place) {
    return place == FontPlace::SearchField ? "Edit" : "Text";
}

struct ListSections {
    std::string title;
    std::string fileName;
    std::string shortCut;
};

ListSections SectionsOf(Direction direction) {
    if (direction == Direction::None) {
        throw std::invalid_argument("dictionary list without a direction");
    }
    const std::string prefix(DirectionPrefix(direction));
    return {prefix + "ProgTitle", prefix + "ProgName", prefix + "ProgShortCut"};
}

void AddSlot(IniUpdate& update, const ListSections& sections, int slot,
             const DictionarySlot& entry) {
    const std::string key = std::to_string(slot);
    update.WriteString(sections.title, key, entry.title);
    update.WriteString(sections.fileName, key, entry.fileName);
    update.WriteString(sections.shortCut, key, entry.shortCut);
}

}  // namespace

GeneralSettings ReadIniFileValue(const std::filesystem::path& path) {
    const IniFile file = IniFile::Load(path);
    GeneralSettings settings;
    std::error_code error;
    settings.reopenLast = !std::filesystem::exists(path, error);
    VisitGeneralKeys(settings, Reader{file});
    settings.historySize = std::clamp(settings.historySize, 0, kHistorySizeMax);
    return settings;
}

void WriteIniFileValue(const std::filesystem::path& path, const GeneralSettings& settings) {
    IniUpdate update(path);
    VisitGeneralKeys(settings, Writer{update});
    update.Commit();
}

void WriteFontKeys(const std::filesystem::path& path, FontPlace place, const FontSettings& font) {
    const std::string prefix = FontPrefix(place);
    IniUpdate update(path);
    update.WriteString(FontSection(place), prefix + "FontName", font.fontName);
    update.WriteString(FontSection(place), prefix + "FontSize", font.fontSize);
    update.WriteString(FontSection(place), prefix + "FontColor", font.fontColor);
    update.Commit();
}

void WriteBackColorKey(const std::filesystem::path& path, FontPlace place,
                       const FontSettings& font) {
    IniUpdate update(path);
    update.WriteString(FontSection(place), std::string(FontPrefix(place)) + "BackColor",
                       font.backColor);
    update.Commit();
}

DictionaryList ReadDictionaryList(const std::filesystem::path& path, Direction direction) {
    const ListSections sections = SectionsOf(direction);
    const IniFile file = IniFile::Load(path);
    DictionaryList list;
    for (int slot = 1; slot <= kDictionarySlots; ++slot) {
        const std::string key = std::to_string(slot);
        DictionarySlot& entry = list[static_cast<size_t>(slot - 1)];
        entry.title = file.ReadString(sections.title, key, "");
        entry.fileName = file.ReadString(sections.fileName, key, "");
        entry.shortCut = file.ReadString(sections.shortCut, key, "");
    }
    return list;
}

void WriteDictionaryList(const std::filesystem::path& path, Direction direction,
                         const DictionaryList& list) {
    const ListSections sections = SectionsOf(direction);
    IniUpdate update(path);
    for (int slot = 1; slot <= kDictionarySlots; ++slot) {
        AddSlot(update, sections, slot, list[static_cast<size_t>(slot - 1)]);
    }
    update.Commit();
}

void WriteDictionarySlot(const std::filesystem::path& path, Direction direction, int slot,
                         const DictionarySlot& entry) {
    if (slot < 1 || slot > kDictionarySlots) {
        throw std::out_of_range("dictionary slot " + std::to_string(slot));
    }
    IniUpdate update(path);
    AddSlot(update, SectionsOf(direction), slot, entry);
    update.Commit();
}

}  // namespace tovix
