#include "editing/Entry.h"

#include <array>

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
    static constexpr std::array<std::array<std::string_view, 2>, 3> kNames = {{
        {"TOVIXADE.TXT", "TOVIXADJ.TXT"},
        {"TOVIXCGE.TXT", "TOVIXCGJ.TXT"},
        {"TOVIXDLE.TXT", "TOVIXDLJ.TXT"},
    }};
    return kNames[static_cast<size_t>(command)][IsJapanese(direction) ? 1 : 0];
}

// The initial is the first character of the key the lookup makes of the same
// text, so an entry is filed in the part where typing its headword looks.
int EntryPart(const TDicTable& table, Direction direction, std::string_view headword) {
    const std::string text = EndSpaceDelete(headword);
    const std::string key = IsJapanese(direction) ? JpnSearchKey(text) : EngSearchKey(text);
    const auto charBytes = static_cast<size_t>(KeyCharBytes(direction));
    if (key.size() < charBytes) {
        return 0;
    }
    const std::string_view initial = std::string_view(key).substr(0, charBytes);
    for (int i = 0; i < table.Count(); ++i) {
        if (!table.IsMarker(i) && table.Key(i).substr(0, charBytes) == initial) {
            return i / (AlphabetSize(direction) + 1) + 1;
        }
    }
    return 0;
}

std::optional<EntryFields> EditBoxCheck(Direction direction, const std::vector<std::string>& typed,
                                        const EntryFields& offered, Reporter& reporter) {
    const std::vector<edit_text::FieldText> texts = FieldTexts(direction);
    const std::vector<std::string> offeredValues = FieldValues(direction, offered);
    std::vector<std::string> values;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string text = i < typed.size() ? typed[i] : std::string();
        std::optional<std::string> bytes = text == Cp932ToUtf8(offeredValues[i])
                                               ? std::optional(offeredValues[i])
                                               : Utf8ToCp932Exact(text);
        if (!bytes) {
            Refuse(reporter, std::string(texts[i].name) + std::string(edit_text::kFieldNotCp932));
            return std::nullopt;
        }
        const std::string refusal = FieldRefusal(texts[i], *bytes, IsJapanese(direction) && i == 1);
        if (!refusal.empty()) {
            Refuse(reporter, refusal);
            return std::nullopt;
        }
        values.push_back(std::move(*bytes));
    }
    if (IsJapanese(direction)) {
        return EntryFields{values[0], values[1], values[2]};
    }
    return EntryFields{values[0], "", values[1]};
}

}  // namespace tovix
