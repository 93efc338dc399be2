// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The texts of cells as the grid shows them and as they are copied: the one
// function that the viewer and the printed pages share.
#include <gtest/gtest.h>

#include "tables/TvrCellText.h"

namespace tavrel {
namespace {

TEST(CellText, DisplayAndCopyFormsByColumnType)
{
    struct Case {
        TTvrValue Value;
        TTvrFieldType Type;
        std::string Display;
        std::string Copy;
    };
    // clang-format off
    const Case kCases[] = {
        {TTvrValue(), sftDouble, "", ""},
        {TTvrValue(1234567.0), sftDouble, "1,234,567", "1234567"},
        {TTvrValue(int32_t{1234567}), sftInteger, "1,234,567", "1234567"},
        {TTvrValue(1234.5), sftDouble, "1,235", "1234.5"},
        {TTvrValue(-1234.5), sftDouble, "-1,235", "-1234.5"},
        {TTvrValue(-0.4), sftDouble, "0", "-0.4"},
        {TTvrValue(999.0), sftDouble, "999", "999"},
        {TTvrValue("abc"), sftDouble, "abc", "abc"},
        {TTvrValue(" 1 2 "), sftString, " 1 2 ", " 1 2 "},
        {TTvrValue(TTvrDate::Encode(2025, 4, 1)), sftDate, "2025/04/01", "2025/04/01"},
        {TTvrValue("2025/13/01"), sftDate, "2025/13/01", "2025/13/01"},
    };
    // clang-format on
    const TTvrRegionalSettings Settings{};
    for (const Case& C : kCases) {
        EXPECT_EQ(ValueCellText(C.Value, C.Type, false, Settings), C.Display) << C.Display;
        EXPECT_EQ(ValueCellText(C.Value, C.Type, true, Settings), C.Copy) << C.Copy;
    }
}

// Only a number in a number column is right-aligned: a text that did not
// convert, or a number-like text in a text column, stays left.
TEST(CellText, NumericOnlyForANumberInANumberColumn)
{
    EXPECT_TRUE(IsNumericValue(TTvrValue(12.0), sftDouble));
    EXPECT_TRUE(IsNumericValue(TTvrValue(int32_t{12}), sftInteger));
    EXPECT_FALSE(IsNumericValue(TTvrValue("12x"), sftDouble));
    EXPECT_FALSE(IsNumericValue(TTvrValue(), sftDouble));
    EXPECT_FALSE(IsNumericValue(TTvrValue(12.0), sftString));
}

TEST(CellText, ThousandsSeparatorOfTheRegionalSettings)
{
    TTvrRegionalSettings Settings{};
    Settings.ThousandSeparator = ".";
    Settings.DecimalSeparator = ",";
    EXPECT_EQ(DisplayNumberText(1234567.0, Settings), "1.234.567");
    EXPECT_EQ(ValueCellText(TTvrValue(1234.5), sftDouble, true, Settings), "1234,5");
}

} // namespace
} // namespace tavrel
