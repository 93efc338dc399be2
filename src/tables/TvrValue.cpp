// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrValue.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <new>

namespace tavrel {

std::string ErrorMessageOf(const std::exception& AError)
{
    if (dynamic_cast<const ETvrError*>(&AError) != nullptr
        || dynamic_cast<const std::filesystem::filesystem_error*>(&AError) != nullptr)
        return AError.what();
    if (dynamic_cast<const std::bad_alloc*>(&AError) != nullptr)
        return "メモリが不足しています。";
    return std::string("予期しないエラーが発生しました。") + AError.what();
}

namespace {

constexpr std::chrono::sys_days kEpoch =
    std::chrono::sys_days(std::chrono::year(1899) / std::chrono::December / 30);

} // namespace

bool TTvrDate::TryEncode(int AYear, int AMonth, int ADay, TTvrDate& AResult)
{
    if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 || ADay > 31)
        return false;
    const std::chrono::year_month_day Ymd{std::chrono::year(AYear),
                                          std::chrono::month(static_cast<unsigned>(AMonth)),
                                          std::chrono::day(static_cast<unsigned>(ADay))};
    if (!Ymd.ok())
        return false;
    AResult = FromSerial(static_cast<double>((std::chrono::sys_days(Ymd) - kEpoch).count()));
    return true;
}

TTvrDate TTvrDate::Encode(int AYear, int AMonth, int ADay)
{
    TTvrDate Result;
    if (!TryEncode(AYear, AMonth, ADay, Result))
        throw std::invalid_argument("TTvrDate::Encode: not a calendar day");
    return Result;
}

void TTvrDate::Decode(int& AYear, int& AMonth, int& ADay) const
{
    const std::chrono::year_month_day Ymd{kEpoch + std::chrono::days(Day())};
    AYear = static_cast<int>(Ymd.year());
    AMonth = static_cast<int>(static_cast<unsigned>(Ymd.month()));
    ADay = static_cast<int>(static_cast<unsigned>(Ymd.day()));
}

void TTvrDate::DecodeTime(int& AHour, int& AMinute) const
{
    const double Fraction = FSerial - std::floor(FSerial);
    const int Minutes = std::min(1439, static_cast<int>(std::floor(Fraction * 1440.0 + 1.0 / 172800.0)));
    AHour = Minutes / 60;
    AMinute = Minutes % 60;
}

TTvrDate TTvrDate::AddMonths(int AMonths) const
{
    const std::chrono::year_month_day Ymd{kEpoch + std::chrono::days(Day())};
    const std::chrono::year_month Next =
        std::chrono::year_month(Ymd.year(), Ymd.month()) + std::chrono::months(AMonths);
    const std::chrono::day LastDay = std::chrono::year_month_day_last(
                                         Next.year(), std::chrono::month_day_last(Next.month()))
                                         .day();
    const std::chrono::year_month_day Result{Next.year(), Next.month(),
                                             std::min(Ymd.day(), LastDay)};
    return FromSerial(static_cast<double>((std::chrono::sys_days(Result) - kEpoch).count()));
}

} // namespace tavrel
