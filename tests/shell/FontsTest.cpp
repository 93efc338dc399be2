// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The windows' face and the row heights that suit a font.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <gtest/gtest.h>

#include "shell/NbFonts.h"

namespace tavrel {
namespace {

TEST(RowHeightForFont, MeiryoTable)
{
    // clang-format off
    struct Case { int32_t Height; int32_t Leading; };
    const Case kCases[] = {
        {8, 0}, {-8, 0}, {0, 0}, {9, 2}, {-11, 2}, {17, 2}, {18, 3}, {24, 3},
        {25, 4}, {-25, 4}, {26, 5}, {27, 5}, {30, 6}, {200, 45},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MeiryoInternalLeading(C.Height), C.Leading) << C.Height;
}

TEST(RowHeightForFont, MeiryoFontsOfTheWindows)
{
    // clang-format off
    struct Case { int Pixels; int32_t Extra; int32_t Height; };
    const Case kCases[] = {{11, 11, 20}, {12, 11, 21}, {12, 10, 20}, {8, 0, 8}, {26, 0, 21}};
    // clang-format on
    for (const Case& C : kCases) {
        QFont Font(QStringLiteral("メイリオ"));
        Font.setPixelSize(C.Pixels);
        EXPECT_EQ(RowHeightForFont(Font, C.Extra), C.Height) << C.Pixels << " + " << C.Extra;
    }
    // 9 points are 12 pixels at 96 dpi.
    QFont Points(QStringLiteral("メイリオ"));
    Points.setPointSize(9);
    EXPECT_EQ(FontHeightPixels(Points), 12);
    EXPECT_EQ(RowHeightForFont(Points, 11), 21);
}

TEST(RowHeightForFont, MeiryoIsDrawnWithTheJapaneseNotoFace)
{
    InstallFontSubstitutes();
    QFont Font(QStringLiteral("メイリオ"));
    Font.setPixelSize(12);
    EXPECT_EQ(QFontInfo(Font).family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(Font.family(), QStringLiteral("メイリオ")) << "the table goes by the family asked for";
    EXPECT_EQ(RowHeightForFont(Font, 11), 21);
}

TEST(RowHeightForFont, OtherFacesUseTheirMetrics)
{
    QFont Font(QStringLiteral("Noto Sans CJK JP"));
    Font.setPixelSize(40);
    const QFontMetrics Metrics(Font);
    EXPECT_EQ(FontInternalLeading(Font), std::max(0, Metrics.ascent() + Metrics.descent() - 40));
    EXPECT_EQ(RowHeightForFont(Font, 10), 50 - FontInternalLeading(Font));
}

} // namespace
} // namespace tavrel
