// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/TvrValue.h"

namespace tavrel {

// A blank is a character of code 1 to 32 (control characters and the ASCII
// space). UTF-8 never uses these bytes inside a multi-byte character, so the
// byte-wise tests are exact; the full-width space U+3000 is not a blank.
constexpr bool IsBlank(char AChar)
{
    return AChar != '\0' && static_cast<unsigned char>(AChar) <= 32;
}

// Removes every character of code 0 to 32 from both ends.
std::string_view TrimView(std::string_view AText);
std::string Trim(std::string_view AText);

// The largest magnitude an amount may have: the largest whole number a
// 64-bit float holds exactly. A larger amount would silently lose whole yen,
// and sums of such amounts could become infinite, so it is not a number.
inline constexpr double kLargestExactNumber = 9007199254740991.0;

// Which numbers convert.
enum class TTvrNumberRange {
    // Amounts typed into the tables: up to kLargestExactNumber in magnitude.
    Exact,
    // What a file may show, such as a book's total of many large amounts:
    // any number up to 1.7e308 in magnitude. Only for displaying a file.
    Finite,
};

// The tests: true and the value when the text converts; false otherwise,
// leaving AResult unchanged. A number outside ARange does not convert.
[[nodiscard]] bool TryTextToInteger(std::string_view AText, const TTvrRegionalSettings& ASettings,
                                    int32_t& AResult);
[[nodiscard]] bool TryTextToFloat(std::string_view AText, const TTvrRegionalSettings& ASettings,
                                  double& AResult, TTvrNumberRange ARange = TTvrNumberRange::Exact);
// First the text exactly as the short date format writes it, then the
// trimmed text with "-" and "." read as "/", optionally with a time of day.
[[nodiscard]] bool TryTextToDate(std::string_view AText, const TTvrRegionalSettings& ASettings,
                                 TTvrDate& AResult);

// The lenient conversions: null for an empty or all-blank text, the value
// when the text converts, otherwise the text itself, unchanged. Never raise.
TTvrValue TextToIntegerValue(std::string_view AText, const TTvrRegionalSettings& ASettings);
TTvrValue TextToFloatValue(std::string_view AText, const TTvrRegionalSettings& ASettings,
                           TTvrNumberRange ARange = TTvrNumberRange::Exact);
TTvrValue TextToDateValue(std::string_view AText, const TTvrRegionalSettings& ASettings);

// The strict conversions: the value, or ETvrError with the fixed message.
int32_t TextToInteger(std::string_view AText, const TTvrRegionalSettings& ASettings);
double TextToFloat(std::string_view AText, const TTvrRegionalSettings& ASettings);
TTvrDate TextToDate(std::string_view AText, const TTvrRegionalSettings& ASettings);

// The date part in the short date format, for example 2024/04/01.
std::string BookDateText(TTvrDate ADate, const TTvrRegionalSettings& ASettings);
// A number as the books write it: up to 15 significant digits, no trailing
// zeros, no thousands separators, exponent form only from 1E15 upwards or
// below 1E-5 in magnitude (1E15, 1.5E-6, -1.23456789012346E20).
std::string NumberText(double AValue, const TTvrRegionalSettings& ASettings);
// Appends NumberText to ATarget without a temporary (the books write millions).
void AppendNumberText(std::string& ATarget, double AValue, const TTvrRegionalSettings& ASettings);
// "(1,200)" for a value holding a number (rounded, halves away from zero);
// the empty text otherwise.
std::string BudgetText(const TTvrValue& AValue, const TTvrRegionalSettings& ASettings);
// The age of ADate against AToday in whole days, without sign: "本日" or
// "%d日前".
void DateAgeText(TTvrDate ADate, TTvrDate AToday, int32_t& ADays, std::string& AText);
// The sum of the numbers the two values hold, as a float; null when neither
// holds a number.
TTvrValue AddNullable(const TTvrValue& AValue1, const TTvrValue& AValue2);

std::string InvalidMessage(std::string_view AFieldTitle);
std::string DuplicateMessage(std::string_view AFieldTitle, std::string_view AValue);
// Two amounts that stand for the same sum: equal within a relative
// tolerance, since amounts typed with decimals (0.1 and 0.2 against 0.3) do
// not add up exactly in binary. The opening balance is checked with it, and
// the year-end documents and charts compare counts with the books by it.
bool AmountsAgree(double A, double B);

// The "%d行: " prefix of a loader's message about line ALineNumber.
std::string RowPrefix(int ALineNumber);

} // namespace tavrel
