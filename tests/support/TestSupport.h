// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Helpers shared by every test program: a temporary folder per test, whole
// files read and written as raw bytes, UTF-8 with a byte-order mark or code
// page 932 (encoded with iconv, independently of the engine's own encoder),
// the fixed day the tests run on, and a readable text for a value.

#include <gtest/gtest.h>

#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tables/TvrValue.h"

namespace tavrel::test {

// Every test runs on the same day.
inline TTvrDate Today() { return TTvrDate::Encode(2026, 12, 10); }

inline TTvrDate Ymd(int AYear, int AMonth, int ADay) { return TTvrDate::Encode(AYear, AMonth, ADay); }

// "null", "text <abc>", "integer 5", "float 1.5" or "date 45383" (the serial).
inline std::string Describe(const TTvrValue& AValue)
{
    std::ostringstream Out;
    Out.precision(17);
    if (AValue.IsNull())
        Out << "null";
    else if (AValue.IsText())
        Out << "text <" << AValue.Text() << ">";
    else if (AValue.IsInteger())
        Out << "integer " << AValue.Integer();
    else if (AValue.IsFloat())
        Out << "float " << AValue.AsFloat();
    else if (AValue.IsDate())
        Out << "date " << AValue.Date().Serial();
    return Out.str();
}

// The text converted by iconv from the encoding AFrom to ATo; raises when
// a character has no place in ATo or the bytes are not AFrom.
inline std::string Recode(const std::string& AText, const char* ATo, const char* AFrom)
{
    iconv_t Cd = iconv_open(ATo, AFrom);
    if (Cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv_open failed from ") + AFrom + " to " + ATo);
    std::string In = AText;
    std::string Out(In.size() * 4 + 16, '\0');
    char* InPtr = In.data();
    size_t InLeft = In.size();
    char* OutPtr = Out.data();
    size_t OutLeft = Out.size();
    const size_t Result = iconv(Cd, &InPtr, &InLeft, &OutPtr, &OutLeft);
    iconv_close(Cd);
    if (Result == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("iconv failed from ") + AFrom + " to " + ATo);
    Out.resize(Out.size() - OutLeft);
    return Out;
}

inline std::string ToCp932(const std::string& AUtf8) { return Recode(AUtf8, "CP932", "UTF-8"); }
inline std::string FromCp932(const std::string& ABytes) { return Recode(ABytes, "UTF-8", "CP932"); }

// The whole file; raises when it cannot be opened.
inline std::string ReadBytes(const std::string& AFileName)
{
    std::ifstream In(AFileName, std::ios::binary);
    if (!In)
        throw std::runtime_error("cannot read " + AFileName);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// Replaces the file with these bytes; raises when it cannot be written.
inline void WriteBytes(const std::string& AFileName, std::string_view ABytes)
{
    std::ofstream Out(AFileName, std::ios::binary | std::ios::trunc);
    Out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
    Out.close();
    if (!Out)
        throw std::runtime_error("cannot write " + AFileName);
}

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test, read-only files and folders too.
class TempFolder {
public:
    TempFolder()
    {
        std::string Template = (std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string();
        if (::mkdtemp(Template.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        FPath = Template;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code Ignored;
        ::chmod(FPath.c_str(), 0700);
        for (const auto& Entry : std::filesystem::recursive_directory_iterator(FPath, Ignored))
            ::chmod(Entry.path().c_str(), 0700);
        std::filesystem::remove_all(FPath, Ignored);
    }

    std::string Path() const { return FPath.string(); }
    std::string Path(std::string_view AName) const { return (FPath / std::filesystem::path(AName)).string(); }

    // The names of the entries of the folder, sorted.
    std::vector<std::string> Entries() const { return Entries(FPath.string()); }

    // The names of the entries of any folder, sorted.
    static std::vector<std::string> Entries(const std::string& AFolder)
    {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(AFolder))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }

    // Writes the file AName of the folder, and the folders it lies in;
    // returns its full name.
    std::string WriteBytes(std::string_view AName, std::string_view ABytes) const
    {
        const std::string FileName = Path(AName);
        std::filesystem::create_directories(std::filesystem::path(FileName).parent_path());
        test::WriteBytes(FileName, ABytes);
        return FileName;
    }

    // The text as UTF-8 with a byte-order mark.
    std::string WriteUtf8(std::string_view AName, const std::string& AText) const
    {
        return WriteBytes(AName, "\xEF\xBB\xBF" + AText);
    }

    // The text as code page 932 bytes without a mark.
    std::string WriteCp932(std::string_view AName, const std::string& AText) const
    {
        return WriteBytes(AName, ToCp932(AText));
    }

private:
    std::filesystem::path FPath;
};

// Copies the .csv files of the folder AFrom (the example data, say) into the
// folder ATo, which is made; returns ATo.
inline std::string CopyCsvFiles(const std::string& AFrom, const std::string& ATo)
{
    std::filesystem::create_directories(ATo);
    for (const auto& Entry : std::filesystem::directory_iterator(AFrom))
        if (Entry.path().extension() == ".csv")
            std::filesystem::copy_file(Entry.path(), std::filesystem::path(ATo) / Entry.path().filename());
    return ATo;
}

} // namespace tavrel::test
