// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line stores' own texts, once: the texts of the failures they throw.

namespace tovix::component_text {

// An index outside the list.
inline constexpr char kListIndex[] = "インデックスがリストの範囲を超えています";
// A file that cannot be read or written while loading or saving a list.
inline constexpr char kStreamRead[] = "ストリームから読み込めません";
inline constexpr char kStreamWrite[] = "ストリームに書き込めません";

}  // namespace tovix::component_text
