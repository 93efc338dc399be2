// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The windows' face and the row heights that suit a font.

#include <QFont>
#include <cstdint>

namespace tavrel {

// The windows ask for the face "メイリオ" by that name, so that the Meiryo
// table below applies; this makes Qt draw it with Noto Sans CJK JP. Called
// once at start-up, after the application object exists.
void InstallFontSubstitutes();
// The windows' face, "メイリオ", APixels high at 96 dpi.
QFont MeiryoFont(int32_t APixels, bool ABold = false);

// The internal leading the Meiryo face has at this height (its absolute
// value, in pixels): below 9 none; 9 to 17 two; 18 to 24 three; 25 four;
// from 26 the whole part of 45.5 - (200 - h) * 0.23.
int32_t MeiryoInternalLeading(int32_t AHeight);
// The font's height in pixels (device-independent; a point size counts at
// 96 dpi).
int32_t FontHeightPixels(const QFont& AFont);
// Meiryo's table for a font whose requested family is "メイリオ", else the
// leading the font's metrics report.
int32_t FontInternalLeading(const QFont& AFont);
// Font height + AExtra - internal leading.
int32_t RowHeightForFont(const QFont& AFont, int32_t AExtra);

} // namespace tavrel
