// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DictionaryListEditor.h"

#include <algorithm>
#include <utility>

#include "app/AppMessages.h"
#include "platform/Cp932.h"

namespace tovix {
namespace {

constexpr std::string_view kBlanks = " \t";

// The settings file keeps a value without the blanks around it.
std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace

DictionaryListEditor::DictionaryListEditor(const DictionaryList& stored) {
    size_t used = 0;
    for (const DictionarySlot& slot : stored) {
        if (!slot.title.empty()) {
            slots_[used++] = slot;
        }
    }
}

int DictionaryListEditor::Count() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                          [](const auto& slot) { return !slot.title.empty(); }));
}

std::vector<std::string> DictionaryListEditor::Lines() const {
    std::vector<std::string> lines;
    for (int n = 0; n < Count(); ++n) {
        lines.push_back(slots_[static_cast<size_t>(n)].title);
    }
    if (lines.empty()) {
        lines.emplace_back();
    }
    return lines;
}

void DictionaryListEditor::Select(int line) {
    selected_ = std::clamp(line, 0, std::max(Count(), 1) - 1);
}

ListAction DictionaryListEditor::Add(int& editIndex) const {
    if (Count() >= kDictionarySlots) {
        return ListAction::Full;
    }
    editIndex = Count();
    return ListAction::Done;
}

void DictionaryListEditor::Store(int editIndex, const DictionarySlot& entry) {
    const bool added = editIndex >= Count();
    slots_.at(static_cast<size_t>(std::min(editIndex, Count()))) = entry;
    Select(added ? Count() - 1 : editIndex);
}

void DictionaryListEditor::SelectLast() {
    Select(Count() - 1);
}

ListAction DictionaryListEditor::Up() {
    if (selected_ <= 0) {
        return ListAction::Nothing;
    }
    std::swap(slots_[static_cast<size_t>(selected_)], slots_[static_cast<size_t>(selected_ - 1)]);
    Select(selected_ - 1);
    return ListAction::Done;
}

ListAction DictionaryListEditor::Down() {
    if (selected_ >= Count() - 1) {
        return ListAction::Nothing;
    }
    std::swap(slots_[static_cast<size_t>(selected_)], slots_[static_cast<size_t>(selected_ + 1)]);
    Select(selected_ + 1);
    return ListAction::Done;
}

ListAction DictionaryListEditor::Cut() {
    if (Copy() != ListAction::Done) {
        return ListAction::Nothing;
    }
    Remove(selected_);
    return ListAction::Done;
}

ListAction DictionaryListEditor::Copy() {
    if (!OnEntry()) {
        return ListAction::Nothing;
    }
    clipboard_ = slots_[static_cast<size_t>(selected_)];
    return ListAction::Done;
}

// The entry goes in before the selected line; on the empty list's placeholder
// it becomes the only entry.
ListAction DictionaryListEditor::Paste() {
    if (Count() >= kDictionarySlots) {
        return ListAction::Full;
    }
    if (!clipboard_) {
        return ListAction::Nothing;
    }
    const auto at = slots_.begin() + std::min(selected_, Count());
    std::move_backward(at, slots_.end() - 1, slots_.end());
    *at = *clipboard_;
    return ListAction::Done;
}

ListAction DictionaryListEditor::Delete() {
    if (!OnEntry()) {
        return ListAction::Nothing;
    }
    Remove(selected_);
    return ListAction::Done;
}

// Removes a slot in use; the slots after it move up and an empty one fills
// the ninth. The same line stays selected, or the new last line.
void DictionaryListEditor::Remove(int slot) {
    std::move(slots_.begin() + slot + 1, slots_.end(), slots_.begin() + slot);
    slots_.back() = DictionarySlot();
    Select(selected_);
}

RegistrationCheck EditBoxCheck(const RegistrationFields& fields) {
    RegistrationCheck check;
    const std::string title = Trimmed(fields.title);
    const std::string file = Trimmed(fields.fileName);
    if (title.empty()) {
        check.refusal = app_text::kNoTitle;
    } else if (file.empty()) {
        check.refusal = app_text::kNoFile;
    } else if (Cp932ToUtf8(Utf8ToCp932(file)) != file) {
        // The dictionary would be opened under another name.
        check.refusal = app_text::kFileNotCp932;
        check.refusedFile = file;
    } else {
        const std::string shortCut = Trimmed(fields.shortCut);
        check.entry = DictionarySlot{Utf8ToCp932(title), Utf8ToCp932(file),
                                     shortCut.empty() ? " " : Utf8ToCp932(shortCut)};
    }
    return check;
}

std::string ShownShortCut(std::string_view stored) {
    return stored == " " ? std::string() : std::string(stored);
}

}  // namespace tovix
