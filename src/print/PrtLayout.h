// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Page layout of tables as a pure function: a table to print, the paper and
// the fonts' metrics give the pages with every cell placed. Nothing here
// paints; the painter draws what it is given.

#include <QString>
#include <cstdint>
#include <vector>

#include "print/PrtPage.h"

namespace tavrel {

// One column of a table to print: its title, its width in characters as the
// grid gives it (the width of that many letters "x"), and whether it holds
// numbers.
struct TPrtColumn {
    QString Title;
    // 0: as wide as its widest text, however wide that is.
    int32_t CharCount = 0;
    bool Numeric = false;
};

// A cell as the grid shows it: its display text, right-aligned when it
// holds a number.
struct TPrtCell {
    QString Text;
    bool Numeric = false;
};

struct TPrtRow {
    std::vector<TPrtCell> Cells;
    // The row begins a new page (unless it already heads one).
    bool StartsPage = false;
    // A row the reader must look at: it is shaded.
    bool Marked = false;
};

struct TPrtTable {
    // What the running header names the table's pages after.
    QString SheetName;
    // A title printed large above the table on its first page (whose running
    // header then leaves the name out); none when empty.
    QString Caption;
    // A first column "No" with the row's number (its line in the file).
    bool RowNumbers = true;
    // Columns narrower than the page are widened in proportion to fill its
    // width, as a document's table is printed (a sheet's keep the grid's).
    bool FillWidth = false;
    std::vector<TPrtColumn> Columns;
    std::vector<TPrtRow> Rows;
};

// What every page of a printout says besides its content: the organisation
// and year title (either may be empty), the fiscal period, the day it was
// printed.
struct TPrtFrame {
    QString Organisation;
    QString Period;
    QString PrintDate;
};

// The sizes of a printed table before any scaling, in points.
inline constexpr double kPrtTablePointSize = 9.0;
inline constexpr double kPrtCaptionPointSize = 14.0;

// The area of a page between the running header (when the page has one)
// and the footer.
QRectF PrtBodyRect(const TPrtPaper& APaper, QPageLayout::Orientation AOrientation, bool AHeader);

// The table's pages. The columns are as wide as the grid makes them, widened
// for their title and, up to twice that width, for their widest text. When
// they are wider than the portrait page, the pages are landscape; wider
// still, the table is scaled down to the page width, so that no column is
// ever cut off. The column titles head every page. A table without rows
// still has one page with its titles.
std::vector<TPrtPage> LayOutTable(const TPrtTable& ATable, const TPrtPaper& APaper, const TPrtMetrics& AMetrics);

// Adds the running header (organisation and year title, the page's sheet
// name, the period) to every page that has one, and the footer (the print
// date and "n / m", counted over all the pages given) to every page.
void AddRunningTexts(std::vector<TPrtPage>& APages, const TPrtFrame& AFrame, const TPrtPaper& APaper);

} // namespace tavrel
