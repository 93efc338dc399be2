// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QLocale>
#include <gtest/gtest.h>

#include "shell/TvrLocale.h"

namespace tavrel {
namespace {

TEST(RegionalSettingsFromLocale, FollowsTheLocaleAndGivesJapaneseConventionsForC)
{
    // clang-format off
    struct Case { QLocale Locale; const char* Thousand; const char* Decimal; const char* Date;
                  TTvrDateOrder Order; const char* Time; };
    const Case kCases[] = {
        {QLocale::c(),                                         ",", ".", "/", TTvrDateOrder::YMD, ":"},
        {QLocale(QLocale::Japanese, QLocale::Japan),           ",", ".", "/", TTvrDateOrder::YMD, ":"},
        {QLocale(QLocale::English, QLocale::UnitedStates),     ",", ".", "/", TTvrDateOrder::MDY, ":"},
        {QLocale(QLocale::German, QLocale::Germany),           ".", ",", ".", TTvrDateOrder::DMY, ":"},
        {QLocale(QLocale::Finnish, QLocale::Finland),    "\u00A0", ",", ".", TTvrDateOrder::DMY, "."},
    };
    // clang-format on
    for (const Case& C : kCases) {
        const TTvrRegionalSettings S = RegionalSettingsFromLocale(C.Locale);
        const std::string Name = C.Locale.name().toStdString();
        EXPECT_EQ(S.ThousandSeparator, C.Thousand) << Name;
        EXPECT_EQ(S.DecimalSeparator, C.Decimal) << Name;
        EXPECT_EQ(S.DateSeparator, C.Date) << Name;
        EXPECT_EQ(S.ShortDateOrder, C.Order) << Name;
        EXPECT_EQ(S.TimeSeparator, C.Time) << Name;
    }
}

TEST(RegionalSettingsFromLocale, CAndPosixAreTheDefaults)
{
    const TTvrRegionalSettings Defaults;
    for (const char* Name : {"C", "POSIX"}) {
        const TTvrRegionalSettings S = RegionalSettingsFromLocale(QLocale(QString::fromLatin1(Name)));
        EXPECT_EQ(S.ThousandSeparator, Defaults.ThousandSeparator) << Name;
        EXPECT_EQ(S.DecimalSeparator, Defaults.DecimalSeparator) << Name;
        EXPECT_EQ(S.DateSeparator, Defaults.DateSeparator) << Name;
        EXPECT_EQ(S.ShortDateOrder, Defaults.ShortDateOrder) << Name;
        EXPECT_EQ(S.TimeSeparator, Defaults.TimeSeparator) << Name;
    }
}

} // namespace
} // namespace tavrel
