// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/BigView/Model/KeyTables.h"

namespace tovix {
namespace {

struct ScrollRow {
    ViewKey key;
    TShiftState shift;
    ScrollCode command;
};

constexpr ScrollRow kVerticalRows[] = {
    {ViewKey::Up, kNoShift, LineUp},     {ViewKey::Down, kNoShift, LineDown},
    {ViewKey::E, kCtrl, LineUp},         {ViewKey::X, kCtrl, LineDown},
    {ViewKey::Left, kNoShift, PageUp},   {ViewKey::Right, kNoShift, PageDown},
    {ViewKey::PageUp, kNoShift, PageUp}, {ViewKey::PageDown, kNoShift, PageDown},
    {ViewKey::Up, kShift, PageUp},       {ViewKey::Down, kShift, PageDown},
    {ViewKey::S, kCtrl, PageUp},         {ViewKey::D, kCtrl, PageDown},
    {ViewKey::Space, kShift, PageUp},    {ViewKey::Space, kNoShift, PageDown},
    {ViewKey::Up, kCtrl, ToTop},         {ViewKey::Down, kCtrl, ToBottom},
    {ViewKey::T, kNoShift, ToTop},       {ViewKey::B, kNoShift, ToBottom},
    {ViewKey::Home, kNoShift, ToTop},    {ViewKey::End, kNoShift, ToBottom},
    {ViewKey::Home, kCtrl, ToTop},       {ViewKey::End, kCtrl, ToBottom},
};

constexpr ScrollRow kHorizontalRows[] = {
    {ViewKey::Left, kNoShift, LineUp}, {ViewKey::Right, kNoShift, LineDown},
    {ViewKey::Left, kCtrl, PageUp},    {ViewKey::Right, kCtrl, PageDown},
    {ViewKey::Home, kNoShift, ToTop},  {ViewKey::End, kNoShift, ToBottom},
};

struct CaretRow {
    ViewKey key;
    TShiftState shift;
    CaretMove move;
};

// The unshifted rows; each has a twin with Shift added that extends the selection.
constexpr CaretRow kCaretRows[] = {
    {ViewKey::Up, kNoShift, CaretMove::Up},
    {ViewKey::Down, kNoShift, CaretMove::Down},
    {ViewKey::Left, kNoShift, CaretMove::Left},
    {ViewKey::Right, kNoShift, CaretMove::Right},
    {ViewKey::PageUp, kNoShift, CaretMove::PageUp},
    {ViewKey::PageDown, kNoShift, CaretMove::PageDown},
    {ViewKey::Home, kNoShift, CaretMove::LineStart},
    {ViewKey::End, kNoShift, CaretMove::LineEnd},
    {ViewKey::Home, kCtrl, CaretMove::TextStart},
    {ViewKey::End, kCtrl, CaretMove::TextEnd},
};

template <size_t N>
std::optional<ScrollCode> Look(const ScrollRow (&rows)[N], ViewKey key, TShiftState shift) {
    for (const ScrollRow& row : rows) {
        if (row.key == key && row.shift == shift) {
            return row.command;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ScrollCode> VerticalKeyCommand(ViewKey key, TShiftState shift) {
    return Look(kVerticalRows, key, shift);
}

std::optional<ScrollCode> HorizontalKeyCommand(ViewKey key, TShiftState shift) {
    return Look(kHorizontalRows, key, shift);
}

std::optional<CaretKey> FindCaretKey(ViewKey key, TShiftState shift, bool select) {
    for (const CaretRow& row : kCaretRows) {
        if (row.key != key) {
            continue;
        }
        if (row.shift == shift) {
            return CaretKey{row.move, false};
        }
        if (select && (row.shift | kShift) == shift) {
            return CaretKey{row.move, true};
        }
    }
    return std::nullopt;
}

}  // namespace tovix
