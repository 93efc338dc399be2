// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrConvert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace tavrel {

namespace {

bool IsDigit(char AChar)
{
    return AChar >= '0' && AChar <= '9';
}

char AsciiLower(char AChar)
{
    return (AChar >= 'A' && AChar <= 'Z') ? static_cast<char>(AChar - 'A' + 'a') : AChar;
}

bool EqualsIgnoringAsciiCase(std::string_view A, std::string_view B)
{
    if (A.size() != B.size())
        return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (AsciiLower(A[I]) != AsciiLower(B[I]))
            return false;
    return true;
}

// The text with every occurrence of the thousands separator removed (case of
// A to Z ignored), then trimmed.
// The text with every occurrence of the thousands separator removed (case of
// A to Z ignored), then trimmed. The result refers to AText when there is no
// separator to remove (the common case), else to AStorage.
std::string_view WithoutThousands(std::string_view AText, const TTvrRegionalSettings& ASettings,
                                  std::string& AStorage)
{
    const std::string_view Sep = ASettings.ThousandSeparator;
    const auto SeparatorAt = [&](size_t I) {
        return I + Sep.size() <= AText.size() && EqualsIgnoringAsciiCase(AText.substr(I, Sep.size()), Sep);
    };
    size_t First = 0;
    while (!Sep.empty() && First < AText.size() && !SeparatorAt(First))
        ++First;
    if (Sep.empty() || First >= AText.size())
        return TrimView(AText);
    AStorage.assign(AText.substr(0, First));
    size_t I = First;
    while (I < AText.size()) {
        if (SeparatorAt(I)) {
            I += Sep.size();
            continue;
        }
        AStorage.push_back(AText[I]);
        ++I;
    }
    return TrimView(AStorage);
}

int HexDigitValue(char AChar)
{
    if (AChar >= '0' && AChar <= '9')
        return AChar - '0';
    const char L = AsciiLower(AChar);
    if (L >= 'a' && L <= 'f')
        return L - 'a' + 10;
    return -1;
}

// Reads 1 to AMaxDigits decimal digits at APos; false when there are none or
// more.
bool ReadNumber(std::string_view AText, size_t& APos, size_t AMinDigits, size_t AMaxDigits,
                int& AValue)
{
    const size_t Start = APos;
    int Value = 0;
    while (APos < AText.size() && IsDigit(AText[APos])) {
        if (APos - Start >= AMaxDigits)
            return false;
        Value = Value * 10 + (AText[APos] - '0');
        ++APos;
    }
    if (APos - Start < AMinDigits)
        return false;
    AValue = Value;
    return true;
}

bool ReadSeparator(std::string_view AText, size_t& APos, std::string_view ASeparator)
{
    if (ASeparator.empty() || AText.substr(APos, ASeparator.size()) != ASeparator)
        return false;
    APos += ASeparator.size();
    return true;
}

// Year, month and day in the order of the short date format, joined by
// ASeparator. Years are written with three or four digits: a two-digit year
// would need a century window, which depends on the clock, and a treasurer's
// year is better rejected than guessed.
bool ReadDate(std::string_view AText, size_t& APos, std::string_view ASeparator,
              TTvrDateOrder AOrder, TTvrDate& AResult)
{
    int Parts[3] = {0, 0, 0};
    int YearIndex = 0;
    int MonthIndex = 1;
    int DayIndex = 2;
    switch (AOrder) {
    case TTvrDateOrder::YMD: break;
    case TTvrDateOrder::MDY: MonthIndex = 0; DayIndex = 1; YearIndex = 2; break;
    case TTvrDateOrder::DMY: DayIndex = 0; MonthIndex = 1; YearIndex = 2; break;
    }
    for (int I = 0; I < 3; ++I) {
        if (I > 0 && !ReadSeparator(AText, APos, ASeparator))
            return false;
        const bool Year = I == YearIndex;
        if (!ReadNumber(AText, APos, Year ? 3 : 1, Year ? 4 : 2, Parts[I]))
            return false;
    }
    return TTvrDate::TryEncode(Parts[YearIndex], Parts[MonthIndex], Parts[DayIndex], AResult);
}

// A time of day "h:mm" or "h:mm:ss" with the time separator, as the fraction
// of a day.
bool ReadTime(std::string_view AText, size_t& APos, std::string_view ASeparator, double& AFraction)
{
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    if (!ReadNumber(AText, APos, 1, 2, Hour) || !ReadSeparator(AText, APos, ASeparator)
        || !ReadNumber(AText, APos, 2, 2, Minute))
        return false;
    if (ReadSeparator(AText, APos, ASeparator) && !ReadNumber(AText, APos, 2, 2, Second))
        return false;
    if (Hour > 23 || Minute > 59 || Second > 59)
        return false;
    AFraction = (Hour * 3600.0 + Minute * 60.0 + Second) / 86400.0;
    return true;
}

locale_t CLocale()
{
    static const locale_t Locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return Locale;
}

void AppendDigits(std::string& ATarget, int AValue, int AWidth)
{
    char Buffer[16];
    auto [End, Ec] = std::to_chars(Buffer, Buffer + sizeof Buffer, AValue);
    for (int I = static_cast<int>(End - Buffer); I < AWidth; ++I)
        ATarget.push_back('0');
    ATarget.append(Buffer, End);
}

} // namespace

std::string_view TrimView(std::string_view AText)
{
    size_t Begin = 0;
    size_t End = AText.size();
    while (Begin < End && static_cast<unsigned char>(AText[Begin]) <= 32)
        ++Begin;
    while (End > Begin && static_cast<unsigned char>(AText[End - 1]) <= 32)
        --End;
    return AText.substr(Begin, End - Begin);
}

std::string Trim(std::string_view AText)
{
    return std::string(TrimView(AText));
}

bool TryTextToInteger(std::string_view AText, const TTvrRegionalSettings& ASettings, int32_t& AResult)
{
    std::string Storage;
    const std::string_view S = WithoutThousands(AText, ASettings, Storage);
    size_t Pos = 0;
    bool Negative = false;
    if (Pos < S.size() && (S[Pos] == '+' || S[Pos] == '-')) {
        Negative = S[Pos] == '-';
        ++Pos;
    }
    int Base = 10;
    if (Pos < S.size() && (S[Pos] == '$' || S[Pos] == 'x' || S[Pos] == 'X')) {
        Base = 16;
        ++Pos;
    } else if (Pos + 1 < S.size() && S[Pos] == '0' && (S[Pos + 1] == 'x' || S[Pos + 1] == 'X')) {
        Base = 16;
        Pos += 2;
    }
    if (Pos >= S.size())
        return false;
    int64_t Value = 0;
    for (; Pos < S.size(); ++Pos) {
        const int Digit = Base == 16 ? HexDigitValue(S[Pos]) : (IsDigit(S[Pos]) ? S[Pos] - '0' : -1);
        if (Digit < 0)
            return false;
        Value = Value * Base + Digit;
        if (Value > int64_t{INT32_MAX} + 1)
            return false;
    }
    if (Negative)
        Value = -Value;
    if (Value < INT32_MIN || Value > INT32_MAX)
        return false;
    AResult = static_cast<int32_t>(Value);
    return true;
}

bool TryTextToFloat(std::string_view AText, const TTvrRegionalSettings& ASettings, double& AResult,
                    TTvrNumberRange ARange)
{
    std::string Storage;
    const std::string_view S = WithoutThousands(AText, ASettings, Storage);
    // Whole amounts of up to 15 digits, by far the most common, are exact
    // as they are read.
    {
        size_t P = (!S.empty() && (S[0] == '-' || S[0] == '+')) ? 1 : 0;
        const size_t Digits = S.size() - P;
        if (Digits > 0 && Digits <= 15) {
            int64_t Value = 0;
            while (P < S.size() && IsDigit(S[P]))
                Value = Value * 10 + (S[P++] - '0');
            if (P == S.size()) {
                AResult = static_cast<double>(S[0] == '-' ? -Value : Value);
                return true;
            }
        }
    }
    // Checked by our own grammar first, so that nothing the C library accepts
    // beyond it ("nan", "inf", hexadecimal floats) gets through.
    std::string Plain;
    Plain.reserve(S.size());
    size_t Pos = 0;
    if (Pos < S.size() && (S[Pos] == '+' || S[Pos] == '-')) {
        if (S[Pos] == '-')
            Plain.push_back('-');
        ++Pos;
    }
    size_t MantissaDigits = 0;
    while (Pos < S.size() && IsDigit(S[Pos])) {
        Plain.push_back(S[Pos++]);
        ++MantissaDigits;
    }
    const std::string_view Dec = ASettings.DecimalSeparator;
    if (!Dec.empty() && std::string_view(S).substr(Pos, Dec.size()) == Dec) {
        Pos += Dec.size();
        Plain.push_back('.');
        while (Pos < S.size() && IsDigit(S[Pos])) {
            Plain.push_back(S[Pos++]);
            ++MantissaDigits;
        }
    }
    if (MantissaDigits == 0)
        return false;
    if (Pos < S.size() && (S[Pos] == 'e' || S[Pos] == 'E')) {
        Plain.push_back('e');
        ++Pos;
        if (Pos < S.size() && (S[Pos] == '+' || S[Pos] == '-'))
            Plain.push_back(S[Pos++]);
        size_t ExponentDigits = 0;
        while (Pos < S.size() && IsDigit(S[Pos])) {
            Plain.push_back(S[Pos++]);
            ++ExponentDigits;
        }
        if (ExponentDigits == 0)
            return false;
    }
    if (Pos != S.size())
        return false;
    char* End = nullptr;
    const double Value = strtod_l(Plain.c_str(), &End, CLocale());
    const double Largest = ARange == TTvrNumberRange::Exact ? kLargestExactNumber : 1.7e308;
    if (!std::isfinite(Value) || std::fabs(Value) > Largest)
        return false;
    // A text just above the exact limit may round down onto it; the wider
    // type tells it apart.
    if (ARange == TTvrNumberRange::Exact && std::fabs(Value) == kLargestExactNumber
        && std::fabs(strtold_l(Plain.c_str(), &End, CLocale())) > static_cast<long double>(kLargestExactNumber))
        return false;
    AResult = Value;
    return true;
}

bool TryTextToDate(std::string_view AText, const TTvrRegionalSettings& ASettings, TTvrDate& AResult)
{
    TTvrDate Date;
    size_t Pos = 0;
    if (ReadDate(AText, Pos, ASettings.DateSeparator, ASettings.ShortDateOrder, Date)
        && Pos == AText.size()) {
        AResult = Date;
        return true;
    }
    std::string S(TrimView(AText));
    for (char& C : S)
        if (C == '-' || C == '.')
            C = '/';
    Pos = 0;
    if (!ReadDate(S, Pos, "/", ASettings.ShortDateOrder, Date))
        return false;
    if (Pos == S.size()) {
        AResult = Date;
        return true;
    }
    // A time of day after one or more blanks.
    const size_t BlankStart = Pos;
    while (Pos < S.size() && IsBlank(S[Pos]))
        ++Pos;
    double Fraction = 0.0;
    if (Pos == BlankStart || !ReadTime(S, Pos, ASettings.TimeSeparator, Fraction) || Pos != S.size())
        return false;
    AResult = TTvrDate::FromSerial(Date.Serial() + Fraction);
    return true;
}

TTvrValue TextToIntegerValue(std::string_view AText, const TTvrRegionalSettings& ASettings)
{
    if (TrimView(AText).empty())
        return {};
    int32_t Value = 0;
    if (TryTextToInteger(AText, ASettings, Value))
        return Value;
    return std::string(AText);
}

TTvrValue TextToFloatValue(std::string_view AText, const TTvrRegionalSettings& ASettings, TTvrNumberRange ARange)
{
    if (TrimView(AText).empty())
        return {};
    double Value = 0;
    if (TryTextToFloat(AText, ASettings, Value, ARange))
        return Value;
    return std::string(AText);
}

TTvrValue TextToDateValue(std::string_view AText, const TTvrRegionalSettings& ASettings)
{
    if (TrimView(AText).empty())
        return {};
    TTvrDate Value;
    if (TryTextToDate(AText, ASettings, Value))
        return Value;
    return std::string(AText);
}

int32_t TextToInteger(std::string_view AText, const TTvrRegionalSettings& ASettings)
{
    int32_t Value = 0;
    if (!TryTextToInteger(AText, ASettings, Value))
        throw ETvrError("数値に変換できない文字列があります。");
    return Value;
}

double TextToFloat(std::string_view AText, const TTvrRegionalSettings& ASettings)
{
    double Value = 0;
    if (!TryTextToFloat(AText, ASettings, Value))
        throw ETvrError("数値に変換できない文字列があります。");
    return Value;
}

TTvrDate TextToDate(std::string_view AText, const TTvrRegionalSettings& ASettings)
{
    TTvrDate Value;
    if (!TryTextToDate(AText, ASettings, Value))
        throw ETvrError("日付に変換できない文字列があります。");
    return Value;
}

std::string BookDateText(TTvrDate ADate, const TTvrRegionalSettings& ASettings)
{
    int Year = 0;
    int Month = 0;
    int Day = 0;
    ADate.Decode(Year, Month, Day);
    const std::string& Sep = ASettings.DateSeparator;
    std::string Result;
    Result.reserve(10 + 2 * Sep.size());
    switch (ASettings.ShortDateOrder) {
    case TTvrDateOrder::YMD:
        AppendDigits(Result, Year, 4); Result += Sep; AppendDigits(Result, Month, 2); Result += Sep;
        AppendDigits(Result, Day, 2);
        break;
    case TTvrDateOrder::MDY:
        AppendDigits(Result, Month, 2); Result += Sep; AppendDigits(Result, Day, 2); Result += Sep;
        AppendDigits(Result, Year, 4);
        break;
    case TTvrDateOrder::DMY:
        AppendDigits(Result, Day, 2); Result += Sep; AppendDigits(Result, Month, 2); Result += Sep;
        AppendDigits(Result, Year, 4);
        break;
    }
    return Result;
}

void AppendNumberText(std::string& ATarget, double AValue, const TTvrRegionalSettings& ASettings)
{
    if (AValue == 0.0 || !std::isfinite(AValue)) {
        // -0 is written as 0; a non-finite amount cannot come from a checked
        // table, but must not print as garbage either.
        ATarget += std::isnan(AValue) ? "NAN" : (std::isinf(AValue) ? (AValue < 0 ? "-INF" : "INF") : "0");
        return;
    }
    // Whole amounts below 1E15 are by far the most common: written directly.
    if (std::fabs(AValue) < 1e15 && AValue == std::trunc(AValue)) {
        char Buffer[24];
        auto [End, Ec] = std::to_chars(Buffer, Buffer + sizeof Buffer, static_cast<int64_t>(AValue));
        ATarget.append(Buffer, End);
        return;
    }
    // 15 significant digits: d.dddddddddddddde±x, rounded by the C library.
    char Buffer[40];
    std::snprintf(Buffer, sizeof Buffer, "%.14e", AValue);
    std::string_view S(Buffer);
    const bool Negative = S.front() == '-';
    if (Negative)
        S.remove_prefix(1);
    const size_t EPos = S.find('e');
    std::string Digits;
    Digits.push_back(S[0]);
    Digits.append(S.substr(2, EPos - 2));
    int Exponent = 0;
    std::from_chars(S.data() + EPos + 1 + (S[EPos + 1] == '+' ? 1 : 0), S.data() + S.size(), Exponent);
    while (Digits.size() > 1 && Digits.back() == '0')
        Digits.pop_back();
    if (Negative)
        ATarget.push_back('-');
    if (Exponent >= 15 || Exponent < -5) {
        ATarget.push_back(Digits[0]);
        if (Digits.size() > 1) {
            ATarget += ASettings.DecimalSeparator;
            ATarget.append(Digits, 1);
        }
        ATarget.push_back('E');
        if (Exponent < 0)
            ATarget.push_back('-');
        AppendDigits(ATarget, std::abs(Exponent), 1);
        return;
    }
    if (Exponent < 0) {
        ATarget.push_back('0');
        ATarget += ASettings.DecimalSeparator;
        ATarget.append(static_cast<size_t>(-Exponent - 1), '0');
        ATarget += Digits;
        return;
    }
    const size_t IntegerDigits = static_cast<size_t>(Exponent) + 1;
    if (Digits.size() <= IntegerDigits) {
        ATarget += Digits;
        ATarget.append(IntegerDigits - Digits.size(), '0');
    } else {
        ATarget.append(Digits, 0, IntegerDigits);
        ATarget += ASettings.DecimalSeparator;
        ATarget.append(Digits, IntegerDigits);
    }
}

std::string NumberText(double AValue, const TTvrRegionalSettings& ASettings)
{
    std::string Result;
    AppendNumberText(Result, AValue, ASettings);
    return Result;
}

std::string BudgetText(const TTvrValue& AValue, const TTvrRegionalSettings& ASettings)
{
    if (!AValue.IsNumber())
        return {};
    const double Rounded = std::round(AValue.AsFloat());
    char Buffer[400];
    std::snprintf(Buffer, sizeof Buffer, "%.0f", std::fabs(Rounded));
    const std::string_view Digits(Buffer);
    std::string Result = "(";
    if (Rounded < 0)
        Result.push_back('-');
    for (size_t I = 0; I < Digits.size(); ++I) {
        if (I > 0 && (Digits.size() - I) % 3 == 0)
            Result += ASettings.ThousandSeparator;
        Result.push_back(Digits[I]);
    }
    Result.push_back(')');
    return Result;
}

void DateAgeText(TTvrDate ADate, TTvrDate AToday, int32_t& ADays, std::string& AText)
{
    ADays = std::abs(AToday.Day() - ADate.Day());
    AText = ADays == 0 ? std::string("本日") : std::to_string(ADays) + "日前";
}

TTvrValue AddNullable(const TTvrValue& AValue1, const TTvrValue& AValue2)
{
    if (AValue1.IsNumber() && AValue2.IsNumber())
        return AValue1.AsFloat() + AValue2.AsFloat();
    if (AValue1.IsNumber())
        return AValue1.AsFloat();
    if (AValue2.IsNumber())
        return AValue2.AsFloat();
    return {};
}

std::string InvalidMessage(std::string_view AFieldTitle)
{
    return std::string(AFieldTitle) + "が無効です。";
}

std::string DuplicateMessage(std::string_view AFieldTitle, std::string_view AValue)
{
    return std::string(AFieldTitle) + " '" + std::string(AValue) + "' が重複しています。";
}

std::string RowPrefix(int ALineNumber)
{
    return std::to_string(ALineNumber) + "行: ";
}

bool AmountsAgree(double A, double B)
{
    return std::fabs(A - B) <= 1e-9 * std::max({1.0, std::fabs(A), std::fabs(B)});
}

} // namespace tavrel
