// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/TvrIniFile.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>
#include <sys/stat.h>
#include <unordered_map>
#include <unordered_set>

#include "tables/TvrCodePage.h"
#include "tables/TvrCsv.h"
#include "tables/TvrValue.h"

namespace tavrel {
namespace {

bool IsBlank(char AChar)
{
    return static_cast<unsigned char>(AChar) <= 32;
}

std::string_view Trim(std::string_view AText)
{
    while (!AText.empty() && IsBlank(AText.front()))
        AText.remove_prefix(1);
    while (!AText.empty() && IsBlank(AText.back()))
        AText.remove_suffix(1);
    return AText;
}

char LowerAscii(char C)
{
    return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}

bool SameName(std::string_view A, std::string_view B)
{
    return A.size() == B.size()
           && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) { return LowerAscii(X) == LowerAscii(Y); });
}

// The name as SameName compares it.
std::string NameKey(std::string_view AName)
{
    std::string Key(AName);
    std::transform(Key.begin(), Key.end(), Key.begin(), LowerAscii);
    return Key;
}

std::string SectionLine(std::string_view ASection)
{
    std::string Line;
    Line.reserve(ASection.size() + 2);
    Line += '[';
    Line += ASection;
    Line += ']';
    return Line;
}

// The name of a section line "[name]", or false for any other line.
bool SectionName(std::string_view ALine, std::string_view& AName)
{
    const std::string_view Line = Trim(ALine);
    if (Line.size() < 2 || Line.front() != '[')
        return false;
    const size_t Close = Line.find(']');
    if (Close == std::string_view::npos)
        return false;
    AName = Trim(Line.substr(1, Close - 1));
    return true;
}

// The key and raw value of a "key=value" line; false for comments and lines
// without "=".
bool KeyLine(std::string_view ALine, std::string_view& AKey, std::string_view& AValue)
{
    const std::string_view Line = Trim(ALine);
    if (Line.empty() || Line.front() == ';' || Line.front() == '[')
        return false;
    const size_t Eq = Line.find('=');
    if (Eq == std::string_view::npos)
        return false;
    AKey = Trim(Line.substr(0, Eq));
    AValue = Line.substr(Eq + 1);
    return !AKey.empty();
}

// The value as read: trimmed, one pair of enclosing quotes removed. It is
// read whole: the cut at 2,047 characters of another platform's fixed
// buffer would open the parent of a long folder path.
std::string ValueText(std::string_view ARaw)
{
    std::string_view Value = Trim(ARaw);
    if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"')
        Value = Value.substr(1, Value.size() - 2);
    return std::string(Value);
}

// The value as written: in quotes when reading it back would otherwise lose
// blanks at its ends or a pair of enclosing quotes.
std::string ValueLine(std::string_view AKey, std::string_view AValue)
{
    const bool Quote = !AValue.empty()
                       && (IsBlank(AValue.front()) || IsBlank(AValue.back())
                           || (AValue.size() >= 2 && AValue.front() == '"' && AValue.back() == '"'));
    std::string Line(AKey);
    Line += '=';
    if (Quote)
        Line += '"';
    Line += AValue;
    if (Quote)
        Line += '"';
    return Line;
}

// The range [ABegin, AEnd) of the section's lines after its header; false
// when the section is missing. AEnd stops before blank lines that end it.
bool FindSection(const std::vector<std::string>& ALines, std::string_view ASection, size_t& AHeader,
                 size_t& AEnd)
{
    for (size_t I = 0; I < ALines.size(); ++I) {
        std::string_view Name;
        if (!SectionName(ALines[I], Name) || !SameName(Name, ASection))
            continue;
        AHeader = I;
        size_t J = I + 1;
        while (J < ALines.size() && !SectionName(ALines[J], Name))
            ++J;
        while (J > I + 1 && Trim(ALines[J - 1]).empty())
            --J;
        AEnd = J;
        return true;
    }
    return false;
}

} // namespace

std::string TTvrIniFile::Problem() const
{
    struct stat Link {};
    if (::lstat(FFileName.c_str(), &Link) != 0)
        return std::string();
    struct stat St {};
    if (::stat(FFileName.c_str(), &St) != 0) {
        if (S_ISLNK(Link.st_mode) && errno == ENOENT)
            return "設定ファイル \"" + FFileName + "\" はリンクですが、リンク先がありません。";
        // Any other reason is the platform's, and the read says it.
        return std::string();
    }
    if (!S_ISREG(St.st_mode))
        return "設定ファイル \"" + FFileName + "\" は通常のファイルではありません。";
    return std::string();
}

bool TTvrIniFile::ReadLines(std::vector<std::string>& ALines, std::string* AError) const
{
    ALines.clear();
    struct stat Link {};
    if (::lstat(FFileName.c_str(), &Link) != 0 && errno == ENOENT)
        return true;
    // Checked before the file is opened: opening a FIFO waits for a writer.
    if (const std::string Why = Problem(); !Why.empty()) {
        if (AError)
            *AError = Why;
        return false;
    }
    std::string Bytes;
    try {
        Bytes = ReadFileBytes(FFileName);
    } catch (const ETvrError& E) {
        if (AError)
            *AError = E.what();
        return false;
    }
    const std::string Text = DecodeFileText(Bytes);
    for (const std::string_view Line : SplitTextLines(Text))
        ALines.emplace_back(Line);
    return true;
}

std::optional<std::string> TTvrIniFile::FindValue(std::string_view ASection, std::string_view AKey) const
{
    std::vector<std::string> Lines;
    size_t Header = 0;
    size_t End = 0;
    if (ReadLines(Lines) && FindSection(Lines, ASection, Header, End)) {
        for (size_t I = Header + 1; I < End; ++I) {
            std::string_view Key;
            std::string_view Value;
            if (KeyLine(Lines[I], Key, Value) && SameName(Key, AKey))
                return ValueText(Value);
        }
    }
    return std::nullopt;
}

std::string TTvrIniFile::ReadString(std::string_view ASection, std::string_view AKey,
                                    std::string_view ADefault) const
{
    return FindValue(ASection, AKey).value_or(std::string(ADefault));
}

TTvrIniFile::TKeyValues TTvrIniFile::ReadSection(std::string_view ASection) const
{
    TKeyValues Result;
    std::vector<std::string> Lines;
    std::unordered_set<std::string> Seen;
    size_t Header = 0;
    size_t End = 0;
    if (ReadLines(Lines) && FindSection(Lines, ASection, Header, End)) {
        for (size_t I = Header + 1; I < End; ++I) {
            std::string_view Key;
            std::string_view Value;
            if (!KeyLine(Lines[I], Key, Value))
                continue;
            // A key repeated in the file: the first one is the one read.
            if (Seen.insert(NameKey(Key)).second)
                Result.emplace_back(std::string(Key), ValueText(Value));
        }
    }
    return Result;
}

std::vector<std::string> TTvrIniFile::SectionNames() const
{
    std::vector<std::string> Names;
    std::vector<std::string> Lines;
    std::unordered_set<std::string> Seen;
    if (!ReadLines(Lines))
        return Names;
    for (const std::string& Line : Lines) {
        std::string_view Name;
        if (SectionName(Line, Name) && Seen.insert(NameKey(Name)).second)
            Names.emplace_back(Name);
    }
    return Names;
}

void TTvrIniFile::RaiseWriteError(const std::string& AReason) const
{
    throw ETvrError("設定ファイル \"" + FFileName + "\" に書き込めません。\n" + AReason);
}

std::vector<std::string> TTvrIniFile::LinesForWrite() const
{
    std::vector<std::string> Lines;
    std::string Error;
    // Rewriting a file whose content could not be read would drop every
    // other value in it.
    if (!ReadLines(Lines, &Error))
        RaiseWriteError(Error);
    return Lines;
}

void TTvrIniFile::WriteLines(const std::vector<std::string>& ALines) const
{
    std::string Bytes;
    for (const std::string& Line : ALines) {
        Bytes += Line;
        Bytes += "\r\n";
    }
    try {
        (void)WriteFileIfChanged(FFileName, Bytes);
    } catch (const ETvrError& E) {
        RaiseWriteError(E.what());
    }
}

namespace {

// A key or value that would split its line or be read as another line.
const char* BadEntry(std::string_view AKey, std::string_view AValue)
{
    const auto HasLineBreak = [](std::string_view A) { return A.find_first_of("\r\n") != std::string_view::npos; };
    if (HasLineBreak(AKey) || HasLineBreak(AValue))
        return "値に改行を含めることはできません。";
    const std::string_view Key = Trim(AKey);
    if (Key.empty() || Key.size() != AKey.size() || Key.find('=') != std::string_view::npos || Key.front() == '['
        || Key.front() == ';')
        return "キーの名前が正しくありません。";
    return nullptr;
}

} // namespace

void TTvrIniFile::WriteString(std::string_view ASection, std::string_view AKey, std::string_view AValue)
{
    WriteValues(ASection, {{std::string(AKey), std::string(AValue)}});
}

void TTvrIniFile::WriteValues(std::string_view ASection, const TKeyValues& AKeyValues)
{
    for (const auto& [Key, Value] : AKeyValues) {
        if (const char* Bad = BadEntry(Key, Value))
            RaiseWriteError(Bad);
    }
    if (AKeyValues.empty())
        return;
    std::vector<std::string> Lines = LinesForWrite();
    for (const auto& [NewKey, NewValue] : AKeyValues) {
        size_t Header = 0;
        size_t End = 0;
        if (!FindSection(Lines, ASection, Header, End)) {
            if (!Lines.empty() && !Trim(Lines.back()).empty())
                Lines.emplace_back();
            Lines.push_back(SectionLine(ASection));
            Lines.push_back(ValueLine(NewKey, NewValue));
            continue;
        }
        bool Found = false;
        for (size_t I = Header + 1; I < End && !Found; ++I) {
            std::string_view Key;
            std::string_view Value;
            if (KeyLine(Lines[I], Key, Value) && SameName(Key, NewKey)) {
                Lines[I] = ValueLine(Key, NewValue);
                Found = true;
            }
        }
        if (!Found)
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(End), ValueLine(NewKey, NewValue));
    }
    WriteLines(Lines);
}

void TTvrIniFile::WriteSection(std::string_view ASection, const TKeyValues& AKeyValues)
{
    for (const auto& [Key, Value] : AKeyValues) {
        if (const char* Bad = BadEntry(Key, Value))
            RaiseWriteError(Bad);
    }
    std::vector<std::string> Lines = LinesForWrite();
    std::vector<std::string> Section;
    // Where each key's line is, so that ten thousand keys cost no more than
    // ten thousand lookups.
    std::unordered_map<std::string, size_t> Places;
    for (const auto& [Key, Value] : AKeyValues) {
        // A key given twice: the later value wins, in the first one's place,
        // as writing them one after the other would leave it.
        const auto [Place, New] = Places.emplace(NameKey(Key), Section.size());
        if (New)
            Section.push_back(ValueLine(Key, Value));
        else
            Section[Place->second] = ValueLine(Key, Value);
    }

    size_t Header = 0;
    size_t End = 0;
    if (FindSection(Lines, ASection, Header, End)) {
        // The header and everything up to the next section go; the blank
        // lines before the next section stay.
        Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(Header),
                    Lines.begin() + static_cast<std::ptrdiff_t>(End));
        if (!Section.empty()) {
            Section.insert(Section.begin(), SectionLine(ASection));
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(Header), Section.begin(), Section.end());
        }
    } else if (!Section.empty()) {
        if (!Lines.empty() && !Trim(Lines.back()).empty())
            Lines.emplace_back();
        Lines.push_back(SectionLine(ASection));
        Lines.insert(Lines.end(), Section.begin(), Section.end());
    } else {
        return;
    }
    WriteLines(Lines);
}

bool TryIniTextToInteger(std::string_view AText, int32_t& AResult)
{
    std::string_view Text = AText;
    size_t Prefix = 0;
    if (Text.starts_with("0x") || Text.starts_with("0X"))
        Prefix = 2;
    else if (Text.starts_with("$"))
        Prefix = 1;
    if (Prefix > 0) {
        Text.remove_prefix(Prefix);
        if (Text.empty() || Text.size() > 8)
            return false;
        uint32_t Value = 0;
        for (const char C : Text) {
            int Digit = 0;
            if (C >= '0' && C <= '9')
                Digit = C - '0';
            else if (C >= 'a' && C <= 'f')
                Digit = C - 'a' + 10;
            else if (C >= 'A' && C <= 'F')
                Digit = C - 'A' + 10;
            else
                return false;
            Value = Value * 16 + static_cast<uint32_t>(Digit);
        }
        AResult = static_cast<int32_t>(Value);
        return true;
    }
    bool Negative = false;
    if (!Text.empty() && (Text.front() == '-' || Text.front() == '+')) {
        Negative = Text.front() == '-';
        Text.remove_prefix(1);
    }
    if (Text.empty())
        return false;
    int64_t Value = 0;
    for (const char C : Text) {
        if (C < '0' || C > '9')
            return false;
        Value = Value * 10 + (C - '0');
        if (Value > int64_t {std::numeric_limits<int32_t>::max()} + 1)
            return false;
    }
    if (Negative)
        Value = -Value;
    if (Value > std::numeric_limits<int32_t>::max())
        return false;
    AResult = static_cast<int32_t>(Value);
    return true;
}

} // namespace tavrel
