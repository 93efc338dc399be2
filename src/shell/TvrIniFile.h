// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel {

// An ini-style file: sections in square brackets, one key=value line per
// value. Section and key names compare without regard to the case of A to Z.
// Every operation reads the file afresh, and every write rewrites it at once
// and atomically (WriteFileIfChanged), keeping the order of sections, keys
// and any other lines; there is no explicit save. The file is read as the
// source tables are read (a byte-order mark of UTF-8 or UTF-16 decides, as
// Notepad writes them; else UTF-8, or code page 932 for bytes that are not
// UTF-8), and a write puts the whole file back as UTF-8 without a mark.
// Values are read whole, however long.
//
// Only a regular file is read or written (a link to one is followed): a
// FIFO, a device or a folder in its place would make a read wait forever or
// never end, and a link that leads nowhere is not replaced by a file, since
// the user made it.
class TTvrIniFile {
public:
    using TKeyValues = std::vector<std::pair<std::string, std::string>>;

    explicit TTvrIniFile(std::string AFileName) : FFileName(std::move(AFileName)) {}

    const std::string& FileName() const { return FFileName; }

    // Why the file cannot serve as the configuration: it is there but is
    // not a regular file, or a link to nothing. Empty when it is a regular
    // file or is not there at all.
    std::string Problem() const;

    // The value of the key, its blanks trimmed and one pair of enclosing
    // double quotes removed; ADefault when the file, the section or the key
    // is missing, or the file cannot be read.
    std::string ReadString(std::string_view ASection, std::string_view AKey, std::string_view ADefault) const;
    // The keys of the section with their values (as ReadString gives them), in
    // the file's order; empty when the section or the file is missing.
    TKeyValues ReadSection(std::string_view ASection) const;
    // The names of the sections in the file's order, each once (as first
    // written); none when the file is missing or cannot be read.
    std::vector<std::string> SectionNames() const;
    // The value of the key as ReadString gives it; nullopt when the section
    // has no such key or the file cannot be read.
    std::optional<std::string> FindValue(std::string_view ASection, std::string_view AKey) const;

    // Sets the key's value in place, or adds the key at the end of its
    // section, or the section at the end of the file. A value with blanks at
    // either end is written in double quotes so that it reads back whole.
    // Raises ETvrError naming the file when the file cannot be read or
    // written, or when the key or value would break the line structure
    // (a line break, or a key that is empty, holds "=" or starts with "[").
    void WriteString(std::string_view ASection, std::string_view AKey, std::string_view AValue);
    // Sets several keys of the section as WriteString does, in one write;
    // nothing is written when one of them is refused.
    void WriteValues(std::string_view ASection, const TKeyValues& AKeyValues);
    // Replaces the whole section by these keys and values, in one write;
    // with no keys the section is erased. Errors as WriteString.
    void WriteSection(std::string_view ASection, const TKeyValues& AKeyValues);
    void EraseSection(std::string_view ASection) { WriteSection(ASection, {}); }

private:
    // The file's lines (none for a missing file); false, with the
    // platform's text in AError, when it exists but cannot be read.
    bool ReadLines(std::vector<std::string>& ALines, std::string* AError = nullptr) const;
    std::vector<std::string> LinesForWrite() const;
    void WriteLines(const std::vector<std::string>& ALines) const;
    [[noreturn]] void RaiseWriteError(const std::string& AReason) const;

    std::string FFileName;
};

// An integer value of the file: optional sign and decimal digits, or "0x",
// "0X" or "$" and up to eight hexadecimal digits (read as a 32-bit pattern,
// so 0xFFFFFFFF is -1). Fails, leaving AResult unchanged, for anything else
// and for decimal values outside the 32-bit range.
[[nodiscard]] bool TryIniTextToInteger(std::string_view AText, int32_t& AResult);

} // namespace tavrel
