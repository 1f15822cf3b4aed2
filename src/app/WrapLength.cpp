// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WrapLength.h"

#include <charconv>
#include <cstdint>

namespace tovix {
namespace {

std::optional<int> ToInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
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
