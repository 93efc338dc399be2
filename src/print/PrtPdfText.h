// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The text layer of the PDF files the page layer writes: what a reader gets
// when searching, copying or extracting the text of a page.
//
// A PDF font tells readers which character each of its glyphs stands for
// (its ToUnicode map). Qt's PDF writer takes, for every glyph, the lowest
// code point that the font draws with it. The Japanese fonts draw many
// characters with the glyph of another: the Kangxi radicals and the CJK
// radicals share the glyphs of the common ideographs (U+2F40 ⽀ is 支,
// U+2F0A ⼊ is 入), and U+301C 〜 shares the glyph of U+FF5E ～. Left so, a
// reader copies 収⽀ where the page shows 収支. The page layer knows what it
// drew: the characters it drew stand for their glyphs, so the maps are
// mended to give back exactly those.

#include <QByteArray>
#include <QFont>
#include <QString>
#include <map>
#include <set>
#include <vector>

namespace tavrel {

// Code point to code point: what a font's map says, and what it must say.
using TPrtAliases = std::map<char32_t, char32_t>;

// The characters of the texts, as a set of code points.
void AddCodePoints(const QString& AText, std::set<char32_t>& ACodePoints);

// For every drawn character whose glyph in one of the fonts is also drawn
// for a lower code point of the Basic Multilingual Plane that was not drawn
// itself: that lower code point, mapped to the drawn character.
TPrtAliases GlyphAliases(const std::set<char32_t>& ADrawn, const std::vector<QFont>& AFonts);

// The PDF file with every ToUnicode map of its fonts rewritten through the
// aliases, and its cross-reference table rebuilt for the new lengths. A file
// whose maps need no change, or whose structure is not the one this reads
// (a classic cross-reference table), is returned unchanged.
QByteArray MendToUnicodeMaps(const QByteArray& APdf, const TPrtAliases& AAliases);

// The ToUnicode map of a font (a CMap program) with every single code point
// that has an alias replaced by it; unchanged when nothing is replaced.
QByteArray MendCMap(const QByteArray& ACMap, const TPrtAliases& AAliases);

} // namespace tavrel
