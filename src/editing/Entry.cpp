// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/Entry.h"

#include "dict/DicFileSet.h"

#include <array>
#include <cctype>

#include "components/MbString.h"
#include "dict/KanaText.h"
#include "dict/KeyAlphabet.h"
#include "dict/SearchKey.h"
#include "platform/Cp932.h"
#include "platform/MessageText.h"

namespace tovix {
namespace {

bool IsJapanese(Direction direction) {
    return direction == Direction::Japanese;
}

// The written form's field is refused up to this many bytes: "[]" alone.
constexpr size_t kShortestWrittenForm = 3;

// The field's refusal: four blanks before the text, ten after, OK.
void Refuse(Reporter& reporter, const std::string& text) {
    reporter.Message(MessageKind::Warning, Padded(text, 4, 10), kButtonOk);
}

// The first refusal of one field's bytes, or empty.
std::string TooLong(const edit_text::FieldText& field) {
    return std::string(field.name) + std::string(edit_text::kFieldTooLong) +
           std::to_string(kMaxFieldBytes) + std::string(edit_text::kBytesEnd);
}

std::string FieldRefusal(const edit_text::FieldText& field, std::string_view bytes,
                         bool writtenForm) {
    if (bytes.empty() || (writtenForm && bytes.size() < kShortestWrittenForm)) {
        return std::string(field.missing);
    }
    if (bytes.find_first_of("\t\r\n") != std::string_view::npos) {
        return std::string(field.name) + std::string(edit_text::kFieldHasBreak);
    }
    return {};
}

// The first character of the key the lookup makes of the headword field: the
// initial of the part the entry is filed in, or empty when the key is too
// short to have one.
std::string_view KeyInitial(Direction direction, std::string_view headword, std::string& key) {
    const std::string text = EndSpaceDelete(headword);
    key = IsJapanese(direction) ? JpnSearchKey(text) : EngSearchKey(text);
    const auto charBytes = static_cast<size_t>(KeyCharBytes(direction));
    return key.size() < charBytes ? std::string_view() : std::string_view(key).substr(0, charBytes);
}

bool HoldsAsciiLetter(std::string_view text) {
    for (size_t place = 0; place < text.size(); NextChar(text, place)) {
        if (!IsDoubleByteChar(text, place) &&
            std::isalpha(static_cast<unsigned char>(text[place]))) {
            return true;
        }
    }
    return false;
}

// A headword typed that no part can hold: its initial is none of the
// alphabet's (a kana E-J headword, "tori" or "鳥" as a reading), or a reading
// holds romaji.
std::string_view HeadwordRefusal(Direction direction, std::string_view headword) {
    std::string key;
    const bool placed = AlphabetPosition(direction, KeyInitial(direction, headword, key)) > 0;
    if (!IsJapanese(direction)) {
        return placed ? std::string_view() : edit_text::kEnglishWithoutInitial;
    }
    return placed && !HoldsAsciiLetter(headword) ? std::string_view() : edit_text::kReadingNotKana;
}

}  // namespace

std::vector<edit_text::FieldText> FieldTexts(Direction direction) {
    if (IsJapanese(direction)) {
        return {edit_text::kReadingField, edit_text::kKanjiField,
                edit_text::kEnglishTranslationField};
    }
    return {edit_text::kEnglishField, edit_text::kJapaneseField};
}

std::vector<std::string> FieldValues(Direction direction, const EntryFields& fields) {
    if (IsJapanese(direction)) {
        return {fields.headword, fields.writtenForm, fields.translation};
    }
    return {fields.headword, fields.translation};
}

EntryFields EmptyFields(Direction direction) {
    return {"", IsJapanese(direction) ? "[]" : "", ""};
}

EntryFields FieldsFromView(Direction direction, std::string_view headLine,
                           std::string_view translationLine) {
    EntryFields fields;
    fields.translation = FirstTabDelete(translationLine);
    if (!IsJapanese(direction)) {
        fields.headword = headLine;
        return fields;
    }
    const size_t open = MbFind("[", headLine);
    if (open != std::string_view::npos && MbFind("]", headLine) != std::string_view::npos) {
        fields.headword = headLine.substr(0, open);
        fields.writtenForm = headLine.substr(open);
    }
    return fields;
}

EntryLines ComposeEntry(Direction direction, const EntryFields& fields) {
    EntryLines lines{EndSpaceDelete(fields.headword) + " ", "\t" + fields.translation};
    if (IsJapanese(direction)) {
        lines.head += fields.writtenForm;
    }
    return lines;
}

std::string SearchHeadword(const EntryFields& fields) {
    return EndSpaceDelete(fields.headword);
}

std::string LogLine(std::string_view dicFile, Direction direction, const EntryFields& fields) {
    std::string line(dicFile);
    line += '\t';
    line += EndSpaceDelete(fields.headword);
    if (IsJapanese(direction)) {
        line += fields.writtenForm;
    }
    line += '\t';
    line += fields.translation;
    return line;
}

std::string_view EditLogName(EditCommand command, Direction direction) {
    return kEditLogNames[static_cast<size_t>(command) * 2 + (IsJapanese(direction) ? 1 : 0)];
}

// The initial is the first character of the key the lookup makes of the same
// text, so an entry is filed in the part where typing its headword looks.
int EntryPart(const TDicTable& table, Direction direction, std::string_view headword) {
    std::string key;
    const std::string_view initial = KeyInitial(direction, headword, key);
    if (initial.empty()) {
        return 0;
    }
    const auto charBytes = initial.size();
    for (int i = 0; i < table.Count(); ++i) {
        if (!table.IsMarker(i) && table.Key(i).substr(0, charBytes) == initial) {
            return i / (AlphabetSize(direction) + 1) + 1;
        }
    }
    return 0;
}

std::string OversizedFieldRefusal(Direction direction, const EntryFields& fields) {
    const std::vector<edit_text::FieldText> texts = FieldTexts(direction);
    const std::vector<std::string> values = FieldValues(direction, fields);
    for (size_t i = 0; i < texts.size(); ++i) {
        if (values[i].size() > kMaxFieldBytes) {
            return TooLong(texts[i]);
        }
    }
    return {};
}

std::optional<EntryFields> EditBoxCheck(Direction direction, const std::vector<std::string>& typed,
                                        const EntryFields& offered, Reporter& reporter) {
    const std::vector<edit_text::FieldText> texts = FieldTexts(direction);
    const std::vector<std::string> offeredValues = FieldValues(direction, offered);
    std::vector<std::string> values;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string text = i < typed.size() ? typed[i] : std::string();
        const bool kept = text == Cp932ToUtf8(offeredValues[i]);
        std::optional<std::string> bytes =
            kept ? std::optional(offeredValues[i]) : Utf8ToCp932Exact(text);
        if (!bytes) {
            Refuse(reporter, std::string(texts[i].name) + std::string(edit_text::kFieldNotCp932));
            return std::nullopt;
        }
        if (!kept && bytes->size() > kMaxFieldBytes) {
            Refuse(reporter, TooLong(texts[i]));
            return std::nullopt;
        }
        const std::string refusal = FieldRefusal(texts[i], *bytes, IsJapanese(direction) && i == 1);
        if (!refusal.empty()) {
            Refuse(reporter, refusal);
            return std::nullopt;
        }
        values.push_back(std::move(*bytes));
    }
    // A headword left as offered is the dictionary's own; one typed must have
    // a part to go in.
    const std::string_view headwordRefusal =
        values[0] == offered.headword ? std::string_view() : HeadwordRefusal(direction, values[0]);
    if (!headwordRefusal.empty()) {
        Refuse(reporter, std::string(headwordRefusal));
        return std::nullopt;
    }
    if (IsJapanese(direction)) {
        return EntryFields{values[0], values[1], values[2]};
    }
    return EntryFields{values[0], "", values[1]};
}

}  // namespace tovix
