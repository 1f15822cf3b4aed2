// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WrapLength.h"

#include <cstdint>

#include "app/NumberText.h"

namespace tovix {
namespace {

// The number after any leading blanks, when it fits an int.
std::optional<int> ToInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    const std::optional<NumberText> number = ParseNumberText(text);
    if (!number || number->magnitude > std::uint64_t{INT32_MAX} + (number->negative ? 1 : 0)) {
        return std::nullopt;
    }
    const auto magnitude = static_cast<std::int64_t>(number->magnitude);
    return static_cast<int>(number->negative ? -magnitude : magnitude);
}

}  // namespace

WrapLengthCheck CheckWrapLength(std::string_view text) {
    WrapLengthCheck check;
    const std::optional<int> value = ToInteger(text);
    if (!value) {
        check.notInteger = true;
    } else if (*value < kMinWrapLength || *value > kMaxWrapLength) {
        check.outOfRange = true;
    } else {
        check.value = value;
    }
    return check;
}

}  // namespace tovix
