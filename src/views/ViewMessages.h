// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notices of the free-text find, each written once. The texts are bare;
// NoticeText (platform/MessageText.h) lays them out for the message window.

#include <string_view>

namespace tovix::view_text {

inline constexpr std::string_view kNotFound = "検索文字はありませんでした。";
// A find again before any find text was given.
inline constexpr std::string_view kNoFindText = "検索文字が設定されていません。";

}  // namespace tovix::view_text
