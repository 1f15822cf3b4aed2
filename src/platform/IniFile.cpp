// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include <cerrno>
#include <cstdint>
#include <optional>

#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/PosixIo.h"

namespace tovix {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The line without its LF or CR LF ending.
std::string_view Content(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Names compare with ASCII letters folded; a double-byte character compares as
// its two bytes, so a trail byte that happens to be a letter is never folded.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section line ("[Name]", blanks allowed around the name), or
// nothing for other lines. The closing bracket is searched character by
// character, since 0x5D is also a trail byte.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view text = Trim(Content(line));
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    size_t i = 1;
    while (i < text.size() && text[i] != ']') {
        i += (IsLeadByte(text[i]) && i + 1 < text.size()) ? 2 : 1;
    }
    return Trim(text.substr(1, i - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// Key and value of a key line; nothing for comments and lines without "=".
// "=" (0x3D) is never a trail byte, so a plain search is safe.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    std::string_view text = Content(line);
    std::string_view trimmed = Trim(text);
    size_t equals = text.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::optional<int> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Hexadecimal takes any 32-bit pattern (0xFFFFFFFF is -1); decimal must fit
    // the signed range.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    uint64_t value = 0;
    for (char c : text) {
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : 99;
        if (digit >= base) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

std::string OneLine(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

IniFile::IniFile(std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines_.emplace_back(text.substr(0, end));
        text.remove_prefix(end);
    }
}

IniFile IniFile::Load(const std::filesystem::path& path) {
    try {
        return IniFile(ReadWholeFile(path));
    } catch (const IoError&) {
        return IniFile();
    }
}

IniFile IniFile::LoadForUpdate(const std::filesystem::path& path) {
    try {
        return IniFile(ReadWholeFile(path));
    } catch (const IoError& e) {
        if (e.error() == ENOENT) {
            return IniFile();
        }
        throw;
    }
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    size_t header = FindSection(section);
    if (header == lines_.size()) {
        return std::string(defaultValue);
    }
    size_t end = SectionEnd(header);
    size_t at = FindKey(header, end, key);
    return std::string(at == end ? defaultValue : ParseKeyLine(lines_[at])->value);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    std::optional<int> number = ParseInteger(ReadString(section, key, ""));
    return number ? *number != 0 : defaultValue;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string content = std::string(key) + "=" + OneLine(value);
    size_t header = FindSection(section);
    if (header == lines_.size()) {
        InsertLine(lines_.size(), "[" + std::string(section) + "]");
        InsertLine(lines_.size(), std::move(content));
        return;
    }
    size_t end = SectionEnd(header);
    size_t at = FindKey(header, end, key);
    if (at == end) {
        size_t last = header;
        for (size_t i = header + 1; i < end; ++i) {
            if (ParseKeyLine(lines_[i])) {
                last = i;
            }
        }
        InsertLine(last + 1, std::move(content));
        return;
    }
    std::string_view old = lines_[at];
    std::string ending(old.substr(Content(old).size()));
    lines_[at] = content + ending;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
    }
    return text;
}

size_t IniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::optional<std::string_view> name = SectionName(lines_[i]);
        if (name && SameName(*name, section)) {
            return i;
        }
    }
    return lines_.size();
}

size_t IniFile::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i])) {
        ++i;
    }
    return i;
}

size_t IniFile::FindKey(size_t header, size_t end, std::string_view key) const {
    for (size_t i = header + 1; i < end; ++i) {
        std::optional<KeyLine> line = ParseKeyLine(lines_[i]);
        if (line && SameName(line->key, key)) {
            return i;
        }
    }
    return end;
}

void IniFile::InsertLine(size_t at, std::string content) {
    // The line before may be the file's last one, without an ending of its own
    // or with a lone CR: it gets the rest of a CR LF.
    if (at > 0 && lines_[at - 1].back() != '\n') {
        lines_[at - 1] += lines_[at - 1].back() == '\r' ? "\n" : "\r\n";
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), content + "\r\n");
}

}  // namespace tovix
