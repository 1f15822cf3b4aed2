// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform's own texts, once: the captions of the message kinds and of
// the message buttons, which every front end shows, and the message of the
// guard that stops a failure where the user interface calls into the
// program (Guard.h). The texts are bare; MessageText.h lays them out.

#include <string_view>

#include "platform/Reporter.h"

namespace tovix::platform_text {

// "警告", "ｴﾗｰ", "情報", "確認".
std::string_view KindCaption(MessageKind kind);

// The button captions, left to right.
inline constexpr std::string_view kYesButton = "はい(&Y)";
inline constexpr std::string_view kNoButton = "いいえ(&N)";
inline constexpr std::string_view kOkButton = "OK";
inline constexpr std::string_view kCancelButton = "ｷｬﾝｾﾙ";
inline constexpr std::string_view kAbortButton = "中止(&A)";
inline constexpr std::string_view kRetryButton = "再試行(&R)";
inline constexpr std::string_view kIgnoreButton = "無視(&I)";
inline constexpr std::string_view kAllButton = "すべて";
inline constexpr std::string_view kHelpButton = "ﾍﾙﾌﾟ(&H)";

// A command stopped by a failure, followed by ": " and the reason.
inline constexpr std::string_view kCannotContinue = "処理を続けられませんでした";
// The reasons that have words of their own.
inline constexpr std::string_view kOutOfMemory = "メモリが足りません。";
inline constexpr std::string_view kUnknownFailure = "原因のわからない失敗です。";

}  // namespace tovix::platform_text
