// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include <algorithm>

namespace tovix::cli {

Arguments::Arguments(std::vector<std::string> tokens) {
    const auto end = std::find(tokens.begin(), tokens.end(), "--");
    options_.assign(tokens.begin(), end);
    if (end != tokens.end()) {
        names_.assign(end + 1, tokens.end());
    }
}

bool Arguments::Flag(std::string_view name) {
    const auto found = std::find(options_.begin(), options_.end(), name);
    if (found == options_.end()) {
        return false;
    }
    options_.erase(found);
    return true;
}

std::optional<std::string> Arguments::Value(std::string_view name) {
    for (auto it = options_.begin(); it != options_.end(); ++it) {
        const std::string_view token = *it;
        if (token.starts_with(name) && token.size() > name.size() && token[name.size()] == '=') {
            std::string value(token.substr(name.size() + 1));
            options_.erase(it);
            return value;
        }
        if (token == name) {
            if (it + 1 == options_.end()) {
                missingValue_ = true;
                options_.erase(it);
                return std::nullopt;
            }
            std::string value = *(it + 1);
            options_.erase(it, it + 2);
            return value;
        }
    }
    return std::nullopt;
}

std::optional<size_t> Arguments::OneOf(std::initializer_list<std::string_view> names) {
    std::optional<size_t> chosen;
    bool twice = false;
    size_t index = 0;
    for (std::string_view name : names) {
        if (Flag(name)) {
            twice = twice || chosen.has_value();
            chosen = index;
        }
        ++index;
    }
    return twice ? std::nullopt : chosen;
}

std::optional<std::vector<std::string>> Arguments::Names(size_t min, size_t max) const {
    if (missingValue_) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const std::string& token : options_) {
        if (token.size() > 1 && token.front() == '-') {
            return std::nullopt;
        }
        names.push_back(token);
    }
    names.insert(names.end(), names_.begin(), names_.end());
    if (names.size() < min || names.size() > max) {
        return std::nullopt;
    }
    return names;
}

}  // namespace tovix::cli
