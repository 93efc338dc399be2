// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Small helpers of the tests of src/tables: file times and printable byte
// strings. The temporary folder and whole-file reads and writes are those
// of every test program (TestSupport.h).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "TestSupport.h"

namespace tavrel::testing_support {

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
