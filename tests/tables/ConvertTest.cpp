// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Values, text conversions and the display texts of numbers and dates.
//
// The default TTvrRegionalSettings are the Japanese conventions (thousands
// ",", decimal ".", year/month/day with "/", time ":"); other settings are
// used where the separators or the date order change the result.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "tables/TvrConvert.h"
#include "tables/TvrValue.h"
#include "TablesTestSupport.h"

using namespace tavrel;
using tavrel::testing_support::Escaped;
using tavrel::test::Describe;
using tavrel::test::Ymd;

namespace {

const TTvrRegionalSettings kJapan{};

// Day first, "." between the parts, decimal comma, thousands ".".
TTvrRegionalSettings Continental()
{
    return TTvrRegionalSettings{".", ",", ".", TTvrDateOrder::DMY, ":"};
}

TTvrDate AtTime(TTvrDate ADay, int AHour, int AMinute, int ASecond = 0)
{
    return TTvrDate::FromSerial(ADay.Serial() + (AHour * 3600.0 + AMinute * 60.0 + ASecond) / 86400.0);
}

} // namespace

// ---------------------------------------------------------------------------
// Dates and values

TEST(TvrDate, SerialCountsDaysSince18991230)
{
    EXPECT_EQ(Ymd(1899, 12, 30).Serial(), 0.0);
    EXPECT_EQ(Ymd(1899, 12, 31).Serial(), 1.0);
    EXPECT_EQ(Ymd(1900, 1, 1).Serial(), 2.0);
    EXPECT_EQ(Ymd(1900, 3, 1).Serial(), 61.0);
    EXPECT_EQ(Ymd(2024, 4, 1).Serial(), 45383.0);
    EXPECT_EQ(Ymd(1899, 12, 29).Serial(), -1.0);
}

TEST(TvrDate, TryEncodeChecksTheCalendar)
{
    struct TCase {
        int Year, Month, Day;
        bool Ok;
    };
    const TCase Cases[] = {
        {2024, 2, 29, true},  {2023, 2, 29, false}, {2000, 2, 29, true},  {1900, 2, 29, false},
        {2024, 4, 30, true},  {2024, 4, 31, false}, {2024, 12, 31, true}, {2024, 13, 1, false},
        {2024, 0, 1, false},  {2024, 1, 0, false},  {2024, 1, 32, false}, {9999, 12, 31, true},
        {10000, 1, 1, false}, {0, 1, 1, false},     {1, 1, 1, true},
    };
    for (const TCase& C : Cases) {
        TTvrDate Date = TTvrDate::FromSerial(-7.0);
        const bool Ok = TTvrDate::TryEncode(C.Year, C.Month, C.Day, Date);
        EXPECT_EQ(Ok, C.Ok) << C.Year << "-" << C.Month << "-" << C.Day;
        if (Ok) {
            int Y = 0, M = 0, D = 0;
            Date.Decode(Y, M, D);
            EXPECT_EQ(Y, C.Year);
            EXPECT_EQ(M, C.Month);
            EXPECT_EQ(D, C.Day);
        } else {
            EXPECT_EQ(Date.Serial(), -7.0) << "result changed on failure for " << C.Year << "-"
                                           << C.Month << "-" << C.Day;
        }
    }
}

TEST(TvrDate, DayDropsTheTimeOfDay)
{
    const TTvrDate Evening = AtTime(Ymd(2024, 4, 1), 23, 59, 59);
    EXPECT_EQ(Evening.Day(), 45383);
    EXPECT_EQ(Evening.DateOnly(), Ymd(2024, 4, 1));
    int Y = 0, M = 0, D = 0;
    Evening.Decode(Y, M, D);
    EXPECT_EQ(Y, 2024);
    EXPECT_EQ(M, 4);
    EXPECT_EQ(D, 1);
}

TEST(TvrDate, DecodeTimeGivesTheClockToTheMinute)
{
    struct TCase {
        TTvrDate Time;
        int Hour, Minute;
    };
    const TCase Cases[] = {
        {Ymd(2024, 4, 1), 0, 0},
        {AtTime(Ymd(2024, 4, 1), 9, 5, 0), 9, 5},
        {AtTime(Ymd(2024, 4, 1), 9, 5, 59), 9, 5},
        {AtTime(Ymd(2024, 4, 1), 23, 59, 59), 23, 59},
        // A fraction a hair below the whole minute still counts as that minute.
        {TTvrDate::FromSerial(AtTime(Ymd(2024, 4, 1), 12, 30, 0).Serial() - 1e-9), 12, 30},
        // Before 1899-12-30 the fraction still counts forwards from midnight.
        {TTvrDate::FromSerial(-1.75), 6, 0},
    };
    for (const TCase& C : Cases) {
        int Hour = -1, Minute = -1;
        C.Time.DecodeTime(Hour, Minute);
        EXPECT_EQ(Hour, C.Hour) << C.Time.Serial();
        EXPECT_EQ(Minute, C.Minute) << C.Time.Serial();
    }
}

TEST(TvrDate, AddMonthsClampsToTheLastDay)
{
    struct TCase {
        TTvrDate From;
        int Months;
        TTvrDate To;
    };
    // clang-format off
    const TCase Cases[] = {
        {Ymd(2024, 1, 31), 1, Ymd(2024, 2, 29)}, {Ymd(2023, 1, 31), 1, Ymd(2023, 2, 28)},
        {Ymd(2024, 3, 31), 1, Ymd(2024, 4, 30)}, {Ymd(2024, 12, 15), 1, Ymd(2025, 1, 15)},
        {Ymd(2024, 2, 29), 1, Ymd(2024, 3, 29)}, {Ymd(2024, 4, 1), 1, Ymd(2024, 5, 1)},
        // Counted from the date itself: the 31st comes back after February.
        {Ymd(2025, 1, 31), 2, Ymd(2025, 3, 31)}, {Ymd(2025, 1, 31), 3, Ymd(2025, 4, 30)},
        {Ymd(2025, 1, 31), 12, Ymd(2026, 1, 31)}, {Ymd(2023, 12, 31), 2, Ymd(2024, 2, 29)},
        {Ymd(2024, 2, 29), 12, Ymd(2025, 2, 28)}, {Ymd(2024, 5, 15), 0, Ymd(2024, 5, 15)},
        {Ymd(2024, 5, 31), 25, Ymd(2026, 6, 30)},
    };
    // clang-format on
    for (const TCase& C : Cases)
        EXPECT_EQ(C.From.AddMonths(C.Months), C.To) << "from serial " << C.From.Serial() << " + " << C.Months;
}

TEST(TvrValue, KindsAndAsFloat)
{
    const TTvrValue Null;
    EXPECT_TRUE(Null.IsNull());
    EXPECT_FALSE(Null.IsNumber());
    EXPECT_EQ(Null.AsFloat(), 0.0);

    const TTvrValue Text("12");
    EXPECT_TRUE(Text.IsText());
    EXPECT_FALSE(Text.IsNumber());
    EXPECT_EQ(Text.AsFloat(), 0.0);

    const TTvrValue Integer(int32_t{-12});
    EXPECT_TRUE(Integer.IsInteger());
    EXPECT_TRUE(Integer.IsNumber());
    EXPECT_EQ(Integer.AsFloat(), -12.0);

    const TTvrValue Float(2.5);
    EXPECT_TRUE(Float.IsFloat());
    EXPECT_TRUE(Float.IsNumber());
    EXPECT_EQ(Float.AsFloat(), 2.5);

    const TTvrValue Date(Ymd(2024, 4, 1));
    EXPECT_TRUE(Date.IsDate());
    EXPECT_FALSE(Date.IsNumber());
    EXPECT_EQ(Date.AsFloat(), 0.0);

    // The same number as integer and as float are different values.
    EXPECT_NE(TTvrValue(int32_t{1}), TTvrValue(1.0));
    EXPECT_NE(TTvrValue(""), TTvrValue());
}

// ---------------------------------------------------------------------------
// Trimming

TEST(Trim, RemovesCodesZeroTo32ButNotTheFullWidthSpace)
{
    struct TCase {
        std::string_view Input, Expected;
    };
    const TCase Cases[] = {
        {" a ", "a"},
        {"\t\r\n a b \x01\x1F", "a b"},
        {std::string_view("\0\0x\0", 4), "x"},
        {"", ""},
        {" \t ", ""},
        {"\xE3\x80\x80" "a" "\xE3\x80\x80", "\xE3\x80\x80" "a" "\xE3\x80\x80"},
        {" \xE3\x80\x80 ", "\xE3\x80\x80"},
        {"\x7F" "a", "\x7F" "a"},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(Trim(C.Input), C.Expected) << "input " << Escaped(C.Input);
        EXPECT_EQ(TrimView(C.Input), C.Expected) << "input " << Escaped(C.Input);
    }
}

// ---------------------------------------------------------------------------
// The tests

TEST(TryTextToInteger, JapaneseConventions)
{
    struct TCase {
        std::string_view Input;
        bool Ok;
        int32_t Expected;
    };
    const TCase Cases[] = {
        {"0", true, 0},
        {"12", true, 12},
        {" 12 ", true, 12},
        {"\t12\r\n", true, 12},
        {std::string_view("\0" "12\0", 4), true, 12},
        {"+7", true, 7},
        {"-7", true, -7},
        {"007", true, 7},
        {"1,234", true, 1234},
        {"1,2,3,4", true, 1234},
        {",123,", true, 123},
        {"-1,234,567", true, -1234567},
        {" 1,234 ", true, 1234},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2,147,483,647", true, INT32_MAX},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"$1F", true, 31},
        {"$1f", true, 31},
        {"x1F", true, 31},
        {"X1f", true, 31},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"$7FFFFFFF", true, INT32_MAX},
        {"$80000000", false, 0},
        {"$", false, 0},
        {"x", false, 0},
        {"0x", false, 0},
        {"$1G", false, 0},
        {"1F", false, 0},
        {"12.5", false, 0},
        {"12.0", false, 0},
        {"1e3", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {",", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"1 2", false, 0},
        {"1-", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"\xE3\x80\x80" "12", false, 0},        // full-width space is not trimmed
        {"12" "\xE3\x80\x80", false, 0},
        {"\xEF\xBC\x91\xEF\xBC\x92", false, 0}, // full-width digits
    };
    for (const TCase& C : Cases) {
        int32_t Result = -99;
        const bool Ok = TryTextToInteger(C.Input, kJapan, Result);
        EXPECT_EQ(Ok, C.Ok) << "input <" << Escaped(C.Input) << ">";
        EXPECT_EQ(Result, C.Ok ? C.Expected : -99) << "input <" << Escaped(C.Input) << ">";
    }
}

// An amount larger than the largest whole number a 64-bit float holds
// exactly would lose whole yen, and a sum of such amounts could become
// infinite: it is not a number, like any other text that does not convert.
TEST(TryTextToFloat, AmountsBeyondExactAreNotNumbers)
{
    struct TCase {
        std::string_view Input;
        bool Ok;
        double Expected;
    };
    // clang-format off
    const TCase Cases[] = {
        {"9007199254740991", true, 9007199254740991.0},
        {"9,007,199,254,740,991", true, 9007199254740991.0},
        {"-9007199254740991", true, -9007199254740991.0},
        {"9.007199254740991e15", true, 9007199254740991.0},
        {"9007199254740990.5", true, 9007199254740990.5},
        {"9007199254740992", false, 0},
        {"-9007199254740992", false, 0},
        {"9,007,199,254,740,992", false, 0},
        // Rounds onto the limit in a 64-bit float, yet is larger.
        {"9007199254740991.4", false, 0},
        {"9007199254740991.5", false, 0},
        {"10000000000000000", false, 0},
        {"1e16", false, 0},
        {"-1E+20", false, 0},
    };
    // clang-format on
    for (const TCase& C : Cases) {
        double Result = -99.0;
        EXPECT_EQ(TryTextToFloat(C.Input, kJapan, Result), C.Ok) << "input <" << C.Input << ">";
        EXPECT_EQ(Result, C.Ok ? C.Expected : -99.0) << "input <" << C.Input << ">";
        const TTvrValue Lenient = TextToFloatValue(C.Input, kJapan);
        EXPECT_EQ(Lenient, C.Ok ? TTvrValue(C.Expected) : TTvrValue(std::string(C.Input)))
            << "input <" << C.Input << "> gave " << Describe(Lenient);
        if (!C.Ok) {
            EXPECT_THROW(TextToFloat(C.Input, kJapan), ETvrError) << "input <" << C.Input << ">";
        }
        // What a file shows may be larger: a book's total of large amounts.
        EXPECT_TRUE(TryTextToFloat(C.Input, kJapan, Result, TTvrNumberRange::Finite)) << "input <" << C.Input << ">";
    }
    double Result = 0;
    EXPECT_TRUE(TryTextToFloat("-1.7e308", kJapan, Result, TTvrNumberRange::Finite));
    EXPECT_EQ(Result, -1.7e308);
    EXPECT_FALSE(TryTextToFloat("1.75e308", kJapan, Result, TTvrNumberRange::Finite));
}

TEST(TryTextToFloat, JapaneseConventions)
{
    struct TCase {
        std::string_view Input;
        bool Ok;
        double Expected;
    };
    const TCase Cases[] = {
        {"0", true, 0.0},
        {"1500", true, 1500.0},
        {"-1,500.25", true, -1500.25},
        {" 12.5 ", true, 12.5},
        {"\t12.5\n", true, 12.5},
        {"+2.5", true, 2.5},
        {"0.1", true, 0.1},
        {"1e3", true, 1000.0},
        {"1E3", true, 1000.0},
        {"1.5e-3", true, 0.0015},
        {"2E+2", true, 200.0},
        {"1,234.5", true, 1234.5},
        {"12,5", true, 125.0},            // the comma is the thousands separator
        {"1,2.3", true, 12.3},
        // Far beyond the largest exact whole number: not an amount.
        {"1.7e308", false, 0},
        {"-1.7e308", false, 0},
        {"1.75e308", false, 0},
        {"-1.79e308", false, 0},
        {"1.8e308", false, 0},
        {"-1.8e308", false, 0},
        {"1e309", false, 0},
        {"nan", false, 0},
        {"NaN", false, 0},
        {"inf", false, 0},
        {"-inf", false, 0},
        {"INF", false, 0},
        {"infinity", false, 0},
        {"0x1p3", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"e3", false, 0},
        {".", false, 0},
        {"1.2.3", false, 0},
        {"1 000", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"1.5f", false, 0},
        {"\xE3\x80\x80" "1", false, 0},
        {"--1", false, 0},
    };
    for (const TCase& C : Cases) {
        double Result = -99.0;
        const bool Ok = TryTextToFloat(C.Input, kJapan, Result);
        EXPECT_EQ(Ok, C.Ok) << "input <" << Escaped(C.Input) << ">";
        if (C.Ok) {
            EXPECT_DOUBLE_EQ(Result, C.Expected) << "input <" << Escaped(C.Input) << ">";
        } else {
            EXPECT_EQ(Result, -99.0) << "result changed on failure, input <" << Escaped(C.Input) << ">";
        }
    }
}

TEST(TryTextToNumber, DecimalCommaAndOtherThousandsSeparators)
{
    const TTvrRegionalSettings Settings = Continental();
    struct TCase {
        std::string_view Input;
        bool Ok;
        double Expected;
    };
    const TCase Floats[] = {
        {"1.234,5", true, 1234.5}, {"12,5", true, 12.5},  {"-0,25", true, -0.25},
        {"12.5", true, 125.0},     {"1,5e3", true, 1500}, {"1,2,3", false, 0},
    };
    for (const TCase& C : Floats) {
        double Result = -99.0;
        const bool Ok = TryTextToFloat(C.Input, Settings, Result);
        EXPECT_EQ(Ok, C.Ok) << "input <" << C.Input << ">";
        if (C.Ok) {
            EXPECT_DOUBLE_EQ(Result, C.Expected) << "input <" << C.Input << ">";
        }
    }
    int32_t Integer = 0;
    EXPECT_TRUE(TryTextToInteger("1.234", Settings, Integer));
    EXPECT_EQ(Integer, 1234);
    EXPECT_FALSE(TryTextToInteger("1,234", Settings, Integer));

    // A multi-byte separator (no-break space) is removed as a whole.
    TTvrRegionalSettings Spaced = Settings;
    Spaced.ThousandSeparator = "\xC2\xA0";
    double Float = 0;
    EXPECT_TRUE(TryTextToFloat("1\xC2\xA0" "234,5", Spaced, Float));
    EXPECT_DOUBLE_EQ(Float, 1234.5);
    EXPECT_TRUE(TryTextToInteger("-1\xC2\xA0" "000\xC2\xA0" "000", Spaced, Integer));
    EXPECT_EQ(Integer, -1000000);

    // A separator that is a letter is removed in either case.
    TTvrRegionalSettings Lettered;
    Lettered.ThousandSeparator = "k";
    EXPECT_TRUE(TryTextToInteger("1K234k5", Lettered, Integer));
    EXPECT_EQ(Integer, 12345);
}

TEST(TryTextToDate, JapaneseConventions)
{
    struct TCase {
        std::string_view Input;
        bool Ok;
        TTvrDate Expected;
    };
    const TCase Cases[] = {
        {"2024/04/01", true, Ymd(2024, 4, 1)},
        {"2024/4/1", true, Ymd(2024, 4, 1)},
        {"2024-04-01", true, Ymd(2024, 4, 1)},
        {"2024-4-1", true, Ymd(2024, 4, 1)},
        {"2024.4.1", true, Ymd(2024, 4, 1)},
        {"2024.04.01", true, Ymd(2024, 4, 1)},
        {"2024-4/1", true, Ymd(2024, 4, 1)},
        {" 2024/4/1 ", true, Ymd(2024, 4, 1)},
        {"\t2024-4-1\r\n", true, Ymd(2024, 4, 1)},
        {"2024/12/31", true, Ymd(2024, 12, 31)},
        {"2024/02/29", true, Ymd(2024, 2, 29)},
        {"2000/2/29", true, Ymd(2000, 2, 29)},
        {"2024/04/30", true, Ymd(2024, 4, 30)},
        {"2024/04/01 13:45", true, AtTime(Ymd(2024, 4, 1), 13, 45)},
        {"2024/04/01 13:45:30", true, AtTime(Ymd(2024, 4, 1), 13, 45, 30)},
        {"2024-4-1 9:05", true, AtTime(Ymd(2024, 4, 1), 9, 5)},
        {" 2024/04/01 0:00 ", true, Ymd(2024, 4, 1)},
        {"2024/04/01 23:59:59", true, AtTime(Ymd(2024, 4, 1), 23, 59, 59)},
        {"2023/02/29", false, {}},
        {"1900/02/29", false, {}},
        {"2024/13/01", false, {}},
        {"2024/00/10", false, {}},
        {"2024/01/00", false, {}},
        {"2024/04/31", false, {}},
        {"2024/1/32", false, {}},
        {"2024/04/01 24:00", false, {}},
        {"2024/04/01 13:60", false, {}},
        {"2024/04/01 13:45:60", false, {}},
        {"2024/04/01 abc", false, {}},
        {"2024/04/01x", false, {}},
        {"2024/4", false, {}},
        {"2024/4/1/5", false, {}},
        {"2024//4/1", false, {}},
        {"4/1/2024", false, {}},
        {"2024 4 1", false, {}},
        {"2024_04_01", false, {}},
        {"\xE3\x80\x80" "2024/4/1", false, {}},
        {"", false, {}},
        {"   ", false, {}},
        {"abc", false, {}},
        {"45383", false, {}},
    };
    for (const TCase& C : Cases) {
        const TTvrDate Sentinel = TTvrDate::FromSerial(-123.0);
        TTvrDate Result = Sentinel;
        const bool Ok = TryTextToDate(C.Input, kJapan, Result);
        EXPECT_EQ(Ok, C.Ok) << "input <" << Escaped(C.Input) << ">";
        if (C.Ok) {
            EXPECT_NEAR(Result.Serial(), C.Expected.Serial(), 1e-9) << "input <" << Escaped(C.Input) << ">";
        } else {
            EXPECT_EQ(Result, Sentinel) << "result changed on failure, input <" << Escaped(C.Input) << ">";
        }
    }
}

TEST(TryTextToDate, DayMonthYearWithFullStop)
{
    const TTvrRegionalSettings Settings = Continental();
    struct TCase {
        std::string_view Input;
        bool Ok;
        TTvrDate Expected;
    };
    const TCase Cases[] = {
        {"01.04.2024", true, Ymd(2024, 4, 1)},
        {"1.4.2024", true, Ymd(2024, 4, 1)},
        {"04.01.2024", true, Ymd(2024, 1, 4)},
        {"1/4/2024", true, Ymd(2024, 4, 1)},
        {"1-4-2024", true, Ymd(2024, 4, 1)},
        {" 1.4.2024 ", true, Ymd(2024, 4, 1)},
        {"29.02.2024", true, Ymd(2024, 2, 29)},
        {"1.4.2024 13:45", true, AtTime(Ymd(2024, 4, 1), 13, 45)},
        {"29.02.2023", false, {}},
        {"31.04.2024", false, {}},
        {"01.13.2024", false, {}},
        {"2024.4.1", false, {}},
        {"2024/04/01", false, {}},
    };
    for (const TCase& C : Cases) {
        TTvrDate Result;
        const bool Ok = TryTextToDate(C.Input, Settings, Result);
        EXPECT_EQ(Ok, C.Ok) << "input <" << C.Input << ">";
        if (C.Ok && Ok) {
            EXPECT_NEAR(Result.Serial(), C.Expected.Serial(), 1e-9) << "input <" << C.Input << ">";
        }
    }
}

TEST(TryTextToDate, MonthDayYear)
{
    TTvrRegionalSettings Settings;
    Settings.ShortDateOrder = TTvrDateOrder::MDY;
    TTvrDate Result;
    ASSERT_TRUE(TryTextToDate("4/1/2024", Settings, Result));
    EXPECT_EQ(Result, Ymd(2024, 4, 1));
    ASSERT_TRUE(TryTextToDate("12-31-2024", Settings, Result));
    EXPECT_EQ(Result, Ymd(2024, 12, 31));
    EXPECT_FALSE(TryTextToDate("31/12/2024", Settings, Result));
    EXPECT_FALSE(TryTextToDate("2024/4/1", Settings, Result));
}

// ---------------------------------------------------------------------------
// Lenient and strict conversions

TEST(LenientConversions, NullValueOrUnchangedText)
{
    enum TKind { Int, Flt, Dat };
    struct TCase {
        TKind Kind;
        std::string_view Input;
        TTvrValue Expected;
    };
    const TCase Cases[] = {
        {Int, " 12 ", TTvrValue(int32_t{12})},
        {Int, "1,234", TTvrValue(int32_t{1234})},
        {Int, "-2147483648", TTvrValue(int32_t{INT32_MIN})},
        {Int, "12.5", TTvrValue("12.5")},
        {Int, " abc ", TTvrValue(" abc ")},
        {Int, "2147483648", TTvrValue("2147483648")},
        {Int, "", TTvrValue()},
        {Int, "   ", TTvrValue()},
        {Int, "\t\r\n", TTvrValue()},
        {Int, "\xE3\x80\x80", TTvrValue("\xE3\x80\x80")},
        {Flt, "-1,500.25", TTvrValue(-1500.25)},
        {Flt, "1e3", TTvrValue(1000.0)},
        {Flt, "1500", TTvrValue(1500.0)},
        {Flt, "abc", TTvrValue("abc")},
        {Flt, " nan ", TTvrValue(" nan ")},
        {Flt, "", TTvrValue()},
        {Flt, " ", TTvrValue()},
        {Dat, "2024-4-1", TTvrValue(Ymd(2024, 4, 1))},
        {Dat, " 2024/04/01 ", TTvrValue(Ymd(2024, 4, 1))},
        {Dat, "2024/13/01", TTvrValue("2024/13/01")},
        {Dat, " 2023/02/29 ", TTvrValue(" 2023/02/29 ")},
        {Dat, "", TTvrValue()},
        {Dat, "  ", TTvrValue()},
    };
    for (const TCase& C : Cases) {
        TTvrValue Actual;
        switch (C.Kind) {
        case Int: Actual = TextToIntegerValue(C.Input, kJapan); break;
        case Flt: Actual = TextToFloatValue(C.Input, kJapan); break;
        case Dat: Actual = TextToDateValue(C.Input, kJapan); break;
        }
        EXPECT_EQ(Actual, C.Expected) << "kind " << C.Kind << " input <" << Escaped(C.Input)
                                      << ">: got " << Describe(Actual) << ", expected "
                                      << Describe(C.Expected);
    }
}

TEST(LenientConversions, FollowTheSettings)
{
    const TTvrRegionalSettings Settings = Continental();
    EXPECT_EQ(TextToFloatValue("1.234,5", Settings), TTvrValue(1234.5));
    EXPECT_EQ(TextToIntegerValue("1.234", Settings), TTvrValue(int32_t{1234}));
    EXPECT_EQ(TextToIntegerValue("1,5", Settings), TTvrValue("1,5"));
    EXPECT_EQ(TextToDateValue("04.01.2024", Settings), TTvrValue(Ymd(2024, 1, 4)));
    EXPECT_EQ(TextToDateValue("2024/04/01", Settings), TTvrValue("2024/04/01"));
}

TEST(StrictConversions, ValueOrFixedMessage)
{
    const std::string NumberMessage = "数値に変換できない文字列があります。";
    const std::string DateMessage = "日付に変換できない文字列があります。";

    EXPECT_EQ(TextToInteger(" 1,234 ", kJapan), 1234);
    EXPECT_EQ(TextToInteger("$1F", kJapan), 31);
    EXPECT_DOUBLE_EQ(TextToFloat("-1,500.25", kJapan), -1500.25);
    EXPECT_EQ(TextToDate("2024-4-1", kJapan), Ymd(2024, 4, 1));

    struct TCase {
        int Which; // 0 integer, 1 float, 2 date
        std::string_view Input;
    };
    const TCase Failing[] = {
        {0, "abc"}, {0, ""}, {0, "  "}, {0, "12.5"}, {0, "2147483648"},
        {1, "abc"}, {1, ""}, {1, "nan"}, {1, "inf"}, {1, "0x1p3"},
        {2, "abc"}, {2, ""}, {2, "2024/13/01"}, {2, "2023/02/29"},
    };
    for (const TCase& C : Failing) {
        try {
            switch (C.Which) {
            case 0: (void)TextToInteger(C.Input, kJapan); break;
            case 1: (void)TextToFloat(C.Input, kJapan); break;
            case 2: (void)TextToDate(C.Input, kJapan); break;
            }
            ADD_FAILURE() << "no error for kind " << C.Which << " input <" << C.Input << ">";
        } catch (const ETvrError& E) {
            EXPECT_EQ(std::string(E.what()), C.Which == 2 ? DateMessage : NumberMessage)
                << "kind " << C.Which << " input <" << C.Input << ">";
        }
    }
}

// ---------------------------------------------------------------------------
// Display texts

TEST(BookDateText, ShortDateFormatWithoutTime)
{
    struct TCase {
        TTvrDate Date;
        TTvrRegionalSettings Settings;
        std::string Expected;
    };
    TTvrRegionalSettings Mdy;
    Mdy.ShortDateOrder = TTvrDateOrder::MDY;
    const TCase Cases[] = {
        {Ymd(2024, 4, 1), kJapan, "2024/04/01"},
        {AtTime(Ymd(2024, 4, 1), 23, 59, 59), kJapan, "2024/04/01"},
        {Ymd(2024, 12, 31), kJapan, "2024/12/31"},
        {Ymd(1999, 1, 9), kJapan, "1999/01/09"},
        {Ymd(2024, 4, 1), Continental(), "01.04.2024"},
        {Ymd(2024, 12, 31), Continental(), "31.12.2024"},
        {Ymd(2024, 4, 1), Mdy, "04/01/2024"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(BookDateText(C.Date, C.Settings), C.Expected) << "serial " << C.Date.Serial();
}

TEST(BookDateText, ReadsBackAsTheSameDay)
{
    for (const TTvrDate Date : {Ymd(2024, 2, 29), Ymd(2023, 10, 5), Ymd(2000, 1, 1)}) {
        for (const TTvrRegionalSettings& Settings : {kJapan, Continental()}) {
            const std::string Text = BookDateText(Date, Settings);
            TTvrDate Back;
            ASSERT_TRUE(TryTextToDate(Text, Settings, Back)) << Text;
            EXPECT_EQ(Back, Date) << Text;
        }
    }
}

TEST(NumberText, FifteenDigitsWithoutTrailingZeros)
{
    struct TCase {
        double Value;
        std::string Expected;
    };
    const TCase Cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1500.0, "1500"},
        {-300.0, "-300"},
        {12.5, "12.5"},
        {-0.5, "-0.5"},
        {123.456, "123.456"},
        {1234567.89, "1234567.89"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {1.23456789012345678, "1.23456789012346"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {2.5e15, "2.5E15"},
        {1e16, "1E16"},
        {-1.23456789012346e20, "-1.23456789012346E20"},
        {0.00001, "0.00001"},
        {0.000123, "0.000123"},
        {1.5e-6, "1.5E-6"},
        {1e-7, "1E-7"},
        {-2.5e-10, "-2.5E-10"},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(NumberText(C.Value, kJapan), C.Expected) << "value " << std::setprecision(17) << C.Value;
        std::string Appended = "x=";
        AppendNumberText(Appended, C.Value, kJapan);
        EXPECT_EQ(Appended, "x=" + C.Expected) << "value " << std::setprecision(17) << C.Value;
    }
}

TEST(NumberText, DecimalSeparatorOfTheSettings)
{
    const TTvrRegionalSettings Settings = Continental();
    EXPECT_EQ(NumberText(12.5, Settings), "12,5");
    EXPECT_EQ(NumberText(1234567.0, Settings), "1234567");
    EXPECT_EQ(NumberText(0.00001, Settings), "0,00001");
    EXPECT_EQ(NumberText(1.5e-6, Settings), "1,5E-6");
}

TEST(BudgetText, RoundedWithThousandsInBrackets)
{
    struct TCase {
        TTvrValue Value;
        std::string Expected;
    };
    const TCase Cases[] = {
        {TTvrValue(2500.5), "(2,501)"},
        {TTvrValue(int32_t{-500}), "(-500)"},
        {TTvrValue(-500.0), "(-500)"},
        {TTvrValue(int32_t{1200}), "(1,200)"},
        {TTvrValue(int32_t{0}), "(0)"},
        {TTvrValue(999.4), "(999)"},
        {TTvrValue(999.5), "(1,000)"},
        {TTvrValue(-2.5), "(-3)"},
        {TTvrValue(0.5), "(1)"},
        {TTvrValue(-1234567.0), "(-1,234,567)"},
        {TTvrValue(int32_t{INT32_MAX}), "(2,147,483,647)"},
        {TTvrValue(123456.0), "(123,456)"},
        {TTvrValue("abc"), ""},
        {TTvrValue("1200"), ""},
        {TTvrValue(), ""},
        {TTvrValue(Ymd(2024, 4, 1)), ""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(BudgetText(C.Value, kJapan), C.Expected) << Describe(C.Value);

    EXPECT_EQ(BudgetText(TTvrValue(1234567.0), Continental()), "(1.234.567)");
}

TEST(DateAgeText, WholeCalendarDaysWithoutSign)
{
    const TTvrDate Today = AtTime(Ymd(2024, 4, 10), 12, 0);
    struct TCase {
        TTvrDate Date;
        TTvrDate Today;
        int32_t Days;
        std::string Text;
    };
    const TCase Cases[] = {
        {AtTime(Ymd(2024, 4, 10), 23, 59), Today, 0, "本日"},
        {Ymd(2024, 4, 10), Today, 0, "本日"},
        {AtTime(Ymd(2024, 4, 9), 12, 0), Today, 1, "1日前"},
        {AtTime(Ymd(2024, 4, 11), 0, 1), Today, 1, "1日前"},
        {Ymd(2024, 4, 7), Today, 3, "3日前"},
        {Ymd(2023, 3, 6), Today, 401, "401日前"},
        {Ymd(2024, 4, 13), Today, 3, "3日前"},
        // Calendar days, not periods of 24 hours.
        {AtTime(Ymd(2024, 4, 9), 23, 59), AtTime(Ymd(2024, 4, 10), 0, 1), 1, "1日前"},
        {AtTime(Ymd(2024, 4, 10), 0, 0), AtTime(Ymd(2024, 4, 10), 23, 59), 0, "本日"},
    };
    for (const TCase& C : Cases) {
        int32_t Days = -1;
        std::string Text = "unset";
        DateAgeText(C.Date, C.Today, Days, Text);
        EXPECT_EQ(Days, C.Days) << "date " << C.Date.Serial() << " today " << C.Today.Serial();
        EXPECT_EQ(Text, C.Text) << "date " << C.Date.Serial() << " today " << C.Today.Serial();
    }
}

TEST(AddNullable, SumOfTheNumbersAsFloat)
{
    struct TCase {
        TTvrValue A, B, Expected;
    };
    const TCase Cases[] = {
        {TTvrValue(), TTvrValue(int32_t{0}), TTvrValue(0.0)},
        {TTvrValue(int32_t{0}), TTvrValue(), TTvrValue(0.0)},
        {TTvrValue(), TTvrValue(), TTvrValue()},
        {TTvrValue(int32_t{2}), TTvrValue(1.5), TTvrValue(3.5)},
        {TTvrValue(int32_t{2}), TTvrValue(int32_t{3}), TTvrValue(5.0)},
        {TTvrValue(int32_t{INT32_MAX}), TTvrValue(int32_t{1}), TTvrValue(2147483648.0)},
        {TTvrValue("abc"), TTvrValue(int32_t{5}), TTvrValue(5.0)},
        {TTvrValue(2.5), TTvrValue("x"), TTvrValue(2.5)},
        {TTvrValue("1"), TTvrValue("2"), TTvrValue()},
        {TTvrValue(Ymd(2024, 4, 1)), TTvrValue(int32_t{1}), TTvrValue(1.0)},
        {TTvrValue(Ymd(2024, 4, 1)), TTvrValue(), TTvrValue()},
        {TTvrValue(-1.25), TTvrValue(1.25), TTvrValue(0.0)},
    };
    for (const TCase& C : Cases) {
        const TTvrValue Sum = AddNullable(C.A, C.B);
        EXPECT_EQ(Sum, C.Expected) << Describe(C.A) << " + " << Describe(C.B) << " gave "
                                   << Describe(Sum);
    }
}

TEST(Messages, InvalidAndDuplicate)
{
    EXPECT_EQ(InvalidMessage("金額"), "金額が無効です。");
    EXPECT_EQ(InvalidMessage(""), "が無効です。");
    EXPECT_EQ(DuplicateMessage("科目コード", "A01"), "科目コード 'A01' が重複しています。");
    EXPECT_EQ(DuplicateMessage("氏名", "山田 太郎"), "氏名 '山田 太郎' が重複しています。");
    EXPECT_EQ(DuplicateMessage("コード", "%s"), "コード '%s' が重複しています。");
    EXPECT_EQ(RowPrefix(12), "12行: ");
}
