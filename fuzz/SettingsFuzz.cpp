// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file reader and its rewriting. The input is the settings file.
// Promises checked: the general settings and the dictionary lists read from
// the file read again the same after they are written back (values kept on
// their line), and writing the general settings leaves the lists alone.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "app/Settings.h"
#include "platform/IniFile.h"

namespace tovix::fuzz {
namespace {

// A value as it reads after being written: the writer keeps every value on
// its line (CR, LF and NUL become blanks), and the reader drops the blanks
// around it. A damaged file's value holding such bytes thus reads back so.
std::string Rewritten(const std::string& value) {
    IniFile file;
    file.WriteString("s", "k", value);
    return IniFile(file.Text()).ReadString("s", "k", "");
}

GeneralSettings Rewritten(GeneralSettings settings) {
    for (FontSettings* font : {&settings.searchField, &settings.view}) {
        for (std::string* text :
             {&font->fontName, &font->fontSize, &font->fontColor, &font->backColor}) {
            *text = Rewritten(*text);
        }
    }
    settings.findText = Rewritten(settings.findText);
    settings.zoomWrapLength = Rewritten(settings.zoomWrapLength);
    return settings;
}

DictionaryList Rewritten(DictionaryList list) {
    for (DictionarySlot& slot : list) {
        slot = {Rewritten(slot.title), Rewritten(slot.fileName), Rewritten(slot.shortCut)};
    }
    return list;
}

}  // namespace
}  // namespace tovix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace tovix;
    using namespace tovix::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = ScratchDir() / "tovix.INI";
    WriteFile(file, text);

    const GeneralSettings read = ReadIniFileValue(file);
    const GeneralSettings general = Rewritten(read);
    const DictionaryList english = ReadDictionaryList(file, Direction::English);
    const DictionaryList japanese = ReadDictionaryList(file, Direction::Japanese);

    WriteIniFileValue(file, read);
    Check(ReadIniFileValue(file) == general, "general settings read back as written");
    Check(ReadDictionaryList(file, Direction::English) == english &&
              ReadDictionaryList(file, Direction::Japanese) == japanese,
          "writing the general settings leaves the dictionary lists alone");

    WriteDictionaryList(file, Direction::Japanese, japanese);
    Check(ReadDictionaryList(file, Direction::Japanese) == Rewritten(japanese),
          "a dictionary list reads back as written");
    Check(ReadIniFileValue(file) == general, "writing a list leaves the general settings alone");

    // A value from the input, written into a slot, reads back on one line
    // without the blanks around it.
    DictionarySlot slot{std::string(text.substr(0, 40)), "x", " "};
    WriteDictionarySlot(file, Direction::English, 1 + static_cast<int>(size % 9), slot);
    const DictionarySlot back = ReadDictionaryList(file, Direction::English)[size % 9];
    Check(back.title == Rewritten(slot.title), "a written title reads back");
    return 0;
}
