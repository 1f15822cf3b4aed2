// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file format: INI text in CP932, read and edited in memory.
//
// Lines are section lines ("[Name]"), key lines ("key=value") and anything
// else (comments, blank lines), which is kept untouched. Section and key names
// compare without regard to the case of ASCII letters; bytes of double-byte
// characters are never folded. A key's value is the text after the first "=",
// with the blanks around it removed; the first section and the first key of a
// name win, as with the platform's INI functions. Values are CP932 byte strings
// and are never re-encoded.
//
// Editing replaces only the line of the key written (or adds one line, or one
// section at the end of the file), so every other byte of the file survives a
// rewrite, line endings included. New lines end with CR LF.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tovix {

class IniFile {
  public:
    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file's content; a missing or unreadable file reads as empty, so every
    // read yields its default.
    static IniFile Load(const std::filesystem::path& path);

    // The file's content before it is rewritten: missing reads as empty, but a
    // file that exists and cannot be read throws IoError, so that rewriting it
    // cannot drop the keys it holds.
    static IniFile LoadForUpdate(const std::filesystem::path& path);

    // The value when the key exists (possibly empty), else `defaultValue`.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Decimal with an optional sign, or hexadecimal after "0x" / "0X"; a value
    // that is not such a number, or does not fit 32 bits, yields the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

    // True when the stored number is not 0; not a number yields the default.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Sets the key's value: replaces the key's line in its section, or adds the
    // key after the section's last key, or adds the section at the end of the
    // file. Line breaks and NULs in `value` become blanks, so that a value can
    // never break the file into extra lines.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The whole file text.
    std::string Text() const;

  private:
    // Index of the first section line named `section`, or lines_.size().
    size_t FindSection(std::string_view section) const;
    // Index of the line after the section that starts at `header`.
    size_t SectionEnd(size_t header) const;
    // Index of the first line of the section holding `key`, or `end`.
    size_t FindKey(size_t header, size_t end, std::string_view key) const;
    // Inserts a line ending in CR LF before index `at`.
    void InsertLine(size_t at, std::string content);

    std::vector<std::string> lines_;  // each with its own line ending, if any
};

}  // namespace tovix
