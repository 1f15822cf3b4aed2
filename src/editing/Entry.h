// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One entry of an edit: the fields of the entry windows, how the view's two
// lines fill them, the part file's two lines and the edit log's line they
// make, the part file they belong in, and the windows' field checks
// (EditBoxCheck). Texts are CP932 bytes unless said otherwise.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dict/DicTable.h"
#include "dict/Direction.h"
#include "editing/EditMessages.h"
#include "platform/Reporter.h"

namespace tovix {

enum class EditCommand { Add, Change, Delete };

// The fields of an entry window. English-Japanese (TForm6): Edit1 the
// English headword, Edit2 the Japanese translation. Japanese-English
// (TForm5): Edit1 the reading, Edit2 the written form ("[漢字]"), Edit3 the
// English translation.
struct EntryFields {
    std::string headword;
    std::string writtenForm;  // Japanese-English only
    std::string translation;
};

// The fields a window has, in window order: their texts and their values.
std::vector<edit_text::FieldText> FieldTexts(Direction direction);
std::vector<std::string> FieldValues(Direction direction, const EntryFields& fields);

// The longest field, in bytes, that an entry window edits. Its one-line
// edit holds at most 32767 characters (and lays its text out in one line at
// every change: a field of some hundred megabytes crashed the toolkit), so a
// longer field would come back cut: a change would lose the rest of the
// entry. A field of this many bytes has at most this many characters. No
// entry of a real dictionary comes near it (EDICT's longest line is about
// 1,500 bytes).
inline constexpr size_t kMaxFieldBytes = 32767;

// The refusal for the fields offered to a window (the view's entry, for a
// change or a delete) when one is longer than kMaxFieldBytes: the field's
// name and the limit; empty when every field fits.
std::string OversizedFieldRefusal(Direction direction, const EntryFields& fields);

// The add window's fields: empty, the written form "[]".
EntryFields EmptyFields(Direction direction);

// The change and delete windows' fields, from the view's headword line and
// translation line. English-Japanese: the whole headword line. Japanese-
// English: the reading is the text before the first "[" (its blank
// included), the written form the rest from that "[", both empty when the
// line lacks "[" or "]". The translation is the translation line without its
// leading TAB (a line without one is taken whole, so nothing of it is lost).
EntryFields FieldsFromView(Direction direction, std::string_view headLine,
                           std::string_view translationLine);

// The entry's two lines in the part file: the headword without its trailing
// blanks and one blank (then, Japanese-English, the written form), and a TAB
// with the translation.
struct EntryLines {
    std::string head;
    std::string translation;
};
EntryLines ComposeEntry(Direction direction, const EntryFields& fields);

// What the search field is set to after the edit: the English headword or
// the reading, without trailing blanks.
std::string SearchHeadword(const EntryFields& fields);

// The edit log's line: the dictionary file (CP932), TAB, the headword
// (Japanese-English: reading and written form without a blank between), TAB,
// the translation.
std::string LogLine(std::string_view dicFile, Direction direction, const EntryFields& fields);

// The edit log of a command and direction, "TOVIXADE.TXT" .. "TOVIXDLJ.TXT".
std::string_view EditLogName(EditCommand command, Direction direction);

// The part file an entry with this headword field belongs in: the part of
// the initial the lookup takes from the same text (digits and signs file
// under "a", hyphens do not count, ぢ files under ち), found as the block of
// that initial in the table. 0 when the table has no such block.
int EntryPart(const TDicTable& table, Direction direction, std::string_view headword);

// The window's checks, on the field texts as typed (UTF-8, window order).
// Field by field: a text that still equals the offered field keeps the
// offered bytes; a character that CP932 lacks, an empty field (the written
// form: two bytes or fewer, so "[]" alone), a field typed longer than
// kMaxFieldBytes, and a TAB, CR or LF are refused
// with a warning naming the field (OK button). Then a headword typed (not
// left as offered) that has no part to go in is refused: one whose initial
// is none of the direction's alphabet (an English headword in kana), or a
// reading that is not kana ("tori", "鳥"). Returns the fields as bytes, or
// nothing after the first refusal.
std::optional<EntryFields> EditBoxCheck(Direction direction, const std::vector<std::string>& typed,
                                        const EntryFields& offered, Reporter& reporter);

}  // namespace tovix
