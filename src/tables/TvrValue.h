// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cmath>
#include <compare>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <variant>

namespace tavrel {

// The one error type the system raises itself (file access, conversions,
// re-raised loader errors). Its text is what the user reads in the log or in
// a message box, so it is always a complete sentence of the system's own.
class ETvrError : public std::runtime_error {
public:
    explicit ETvrError(const std::string& AMessage) : std::runtime_error(AMessage) {}
};

// The text the user reads for an error that ends an action: the system's own
// text for ETvrError (and for an error of the file system), "メモリが不足して
// います。" when memory ran out, and for anything else "予期しないエラーが発生
// しました。" followed by the error's own text. No error may end the program
// without a word.
std::string ErrorMessageOf(const std::exception& AError);

// The progress callback of loaders, builders and the run: one text per call;
// an empty text asks for an empty log line, a text may hold several lines.
using TTvrExecuteSendMessage = std::function<void(const std::string& AMessage)>;

// A date as days since 1899-12-30; the fraction is the time of day.
// A distinct type so that a date is never added to an amount by mistake.
class TTvrDate {
public:
    constexpr TTvrDate() = default;
    static constexpr TTvrDate FromSerial(double ASerial) { return TTvrDate(ASerial); }
    // Fails (returns false) for a day that does not exist in the calendar or
    // a year outside 1..9999.
    [[nodiscard]] static bool TryEncode(int AYear, int AMonth, int ADay, TTvrDate& AResult);
    // The date of a valid calendar day; the caller guarantees validity.
    static TTvrDate Encode(int AYear, int AMonth, int ADay);

    constexpr double Serial() const { return FSerial; }
    // The day number without the time of day.
    int32_t Day() const { return static_cast<int32_t>(std::floor(FSerial)); }
    TTvrDate DateOnly() const { return FromSerial(static_cast<double>(Day())); }
    void Decode(int& AYear, int& AMonth, int& ADay) const;
    // The time of day to the minute (0:00 to 23:59). Half a second's
    // tolerance: a time kept as a fraction of a day may lie a hair below its
    // whole minute.
    void DecodeTime(int& AHour, int& AMinute) const;
    // The same day AMonths calendar months later, or that month's last day
    // when it is shorter. Always counted from this date, so that a series of
    // months from the 31st keeps the 31st wherever a month has one.
    TTvrDate AddMonths(int AMonths) const;

    friend constexpr auto operator<=>(TTvrDate, TTvrDate) = default;

private:
    constexpr explicit TTvrDate(double ASerial) : FSerial(ASerial) {}
    double FSerial = 0.0;
};

// A value that holds nothing, a text, a 32-bit integer, a 64-bit float or a
// date: the cell type of sheets and of the optional fields of source rows.
class TTvrValue {
public:
    TTvrValue() = default;
    TTvrValue(std::string AText) : FValue(std::move(AText)) {}
    TTvrValue(const char* AText) : FValue(std::string(AText)) {}
    TTvrValue(int32_t AInteger) : FValue(AInteger) {}
    TTvrValue(double AFloat) : FValue(AFloat) {}
    TTvrValue(TTvrDate ADate) : FValue(ADate) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(FValue); }
    bool IsText() const { return std::holds_alternative<std::string>(FValue); }
    bool IsInteger() const { return std::holds_alternative<int32_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<double>(FValue); }
    bool IsDate() const { return std::holds_alternative<TTvrDate>(FValue); }
    // An integer or a float.
    bool IsNumber() const { return IsInteger() || IsFloat(); }

    const std::string& Text() const { return std::get<std::string>(FValue); }
    int32_t Integer() const { return std::get<int32_t>(FValue); }
    TTvrDate Date() const { return std::get<TTvrDate>(FValue); }
    // The number as a 64-bit float; 0 when the value holds no number.
    double AsFloat() const
    {
        if (const auto* F = std::get_if<double>(&FValue))
            return *F;
        if (const auto* I = std::get_if<int32_t>(&FValue))
            return *I;
        return 0.0;
    }

    friend bool operator==(const TTvrValue&, const TTvrValue&) = default;

private:
    std::variant<std::monostate, std::string, int32_t, double, TTvrDate> FValue;
};

// Order of year, month and day in the short date format.
enum class TTvrDateOrder { YMD, MDY, DMY };

// The regional settings every conversion and display of numbers and dates
// follows. The defaults are the Japanese conventions. The engine never reads
// the system's settings itself: the front ends fill this once at start-up.
struct TTvrRegionalSettings {
    std::string ThousandSeparator = ",";
    std::string DecimalSeparator = ".";
    std::string DateSeparator = "/";
    TTvrDateOrder ShortDateOrder = TTvrDateOrder::YMD;
    std::string TimeSeparator = ":";
};

} // namespace tavrel
