#pragma once

// Small helpers shared by the tests of src/tables: a temporary folder per
// test, whole-file reads and writes of raw bytes, and file times.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace tavrel::testing_support {

// A folder created for one test and removed with everything in it afterwards.
class TTempFolder {
public:
    TTempFolder()
    {
        std::string Pattern = ::testing::TempDir();
        if (Pattern.empty() || Pattern.back() != '/')
            Pattern += '/';
        Pattern += "tavrel-tables-XXXXXX";
        std::vector<char> Buffer(Pattern.begin(), Pattern.end());
        Buffer.push_back('\0');
        if (::mkdtemp(Buffer.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        FPath = Buffer.data();
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    ~TTempFolder()
    {
        std::error_code Ec;
        // Read-only files and folders must not keep the folder alive.
        for (const auto& Entry : std::filesystem::recursive_directory_iterator(FPath, Ec))
            ::chmod(Entry.path().c_str(), 0700);
        std::filesystem::remove_all(FPath, Ec);
    }

    const std::string& Path() const { return FPath; }
    std::string File(std::string_view AName) const { return FPath + "/" + std::string(AName); }

    // The names of the entries of the folder, sorted.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(FPath))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }

private:
    std::string FPath;
};

inline void WriteBytes(const std::string& AFileName, std::string_view ABytes)
{
    std::ofstream Out(AFileName, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(Out.good()) << AFileName;
    Out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
    ASSERT_TRUE(Out.good()) << AFileName;
}

inline std::string ReadBytes(const std::string& AFileName)
{
    std::ifstream In(AFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The seconds since the epoch of a local date and time.
inline time_t LocalTime(int AYear, int AMonth, int ADay, int AHour, int AMinute, int ASecond)
{
    struct tm Tm {};
    Tm.tm_year = AYear - 1900;
    Tm.tm_mon = AMonth - 1;
    Tm.tm_mday = ADay;
    Tm.tm_hour = AHour;
    Tm.tm_min = AMinute;
    Tm.tm_sec = ASecond;
    Tm.tm_isdst = -1;
    return ::mktime(&Tm);
}

// Sets the modification time of a file (not of a link: the link is followed).
inline void SetModificationTime(const std::string& AFileName, time_t ASeconds)
{
    struct timespec Times[2] {};
    Times[0].tv_sec = ASeconds;
    Times[1].tv_sec = ASeconds;
    ASSERT_EQ(::utimensat(AT_FDCWD, AFileName.c_str(), Times, 0), 0) << AFileName;
}

inline struct stat StatOf(const std::string& AFileName)
{
    struct stat St {};
    EXPECT_EQ(::stat(AFileName.c_str(), &St), 0) << AFileName;
    return St;
}

// Printable form of a byte string for failure messages: non-ASCII bytes and
// control characters as \xHH.
inline std::string Escaped(std::string_view ABytes)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string Result;
    for (const char C : ABytes) {
        const auto B = static_cast<unsigned char>(C);
        if (B >= 0x20 && B < 0x7F && B != '\\') {
            Result.push_back(C);
        } else {
            Result += "\\x";
            Result.push_back(Hex[B >> 4]);
            Result.push_back(Hex[B & 15]);
        }
    }
    return Result;
}

inline std::string Joined(const std::vector<std::string>& AList)
{
    std::string Result = "[";
    for (size_t I = 0; I < AList.size(); ++I) {
        if (I > 0)
            Result += " | ";
        Result += '<';
        Result += AList[I];
        Result += '>';
    }
    Result += ']';
    return Result;
}

} // namespace tavrel::testing_support
