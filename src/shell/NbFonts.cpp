// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbFonts.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavrel {

void InstallFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("メイリオ"), QStringLiteral("Noto Sans CJK JP"));
}

QFont MeiryoFont(int32_t APixels, bool ABold)
{
    QFont Font(QStringLiteral("メイリオ"));
    Font.setPixelSize(APixels);
    Font.setBold(ABold);
    return Font;
}

int32_t MeiryoInternalLeading(int32_t AHeight)
{
    const int32_t H = std::abs(AHeight);
    if (H < 9)
        return 0;
    if (H <= 17)
        return 2;
    if (H <= 24)
        return 3;
    if (H == 25)
        return 4;
    return static_cast<int32_t>(std::trunc(45.5 - (200 - H) * 0.23));
}

int32_t FontHeightPixels(const QFont& AFont)
{
    if (AFont.pixelSize() > 0)
        return AFont.pixelSize();
    return static_cast<int32_t>(std::lround(AFont.pointSizeF() * 96.0 / 72.0));
}

int32_t FontInternalLeading(const QFont& AFont)
{
    const int32_t H = FontHeightPixels(AFont);
    if (AFont.family() == QStringLiteral("メイリオ"))
        return MeiryoInternalLeading(H);
    // The cell height the metrics report less the character height asked for.
    const QFontMetrics Metrics(AFont);
    return std::max(0, Metrics.ascent() + Metrics.descent() - H);
}

int32_t RowHeightForFont(const QFont& AFont, int32_t AExtra)
{
    return FontHeightPixels(AFont) + AExtra - FontInternalLeading(AFont);
}

} // namespace tavrel
