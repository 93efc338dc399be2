// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Printouts and PDF files of sheets: a book, a document or a source table,
// drawn as the viewer's grid shows it.

#include <QPagedPaintDevice>
#include <span>
#include <string>
#include <vector>

#include "print/PrtLayout.h"
#include "reports/RptYearEnd.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The sheet as a table to print: its columns, and its cells with the
// grid's display texts. Each section of the trial balance starts a page.
TPrtTable SheetTable(const TTvrSheet& ASheet, const TTvrRegionalSettings& ASettings);

// The pages of the sheets, each sheet starting on a new page, with the
// running header and a footer counting the pages of each sheet.
std::vector<TPrtPage> LayOutSheets(std::span<const TTvrSheet* const> ASheets, const TRptPageHeader& AHeader,
                                   const TTvrRegionalSettings& ASettings, TTvrDate AToday, const TPrtPaper& APaper,
                                   const TPrtMetrics& AMetrics);

// Prints the sheets on a device (a printer); false when printing could not
// start.
bool PaintSheets(QPagedPaintDevice& ADevice, std::span<const TTvrSheet* const> ASheets,
                 const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday);

// Writes the sheets as one PDF file at APath; ETvrError with the platform's
// text when it cannot be written.
void WriteSheetsPdf(const std::string& APath, std::span<const TTvrSheet* const> ASheets,
                    const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday);

// The books a run wrote, as the books' PDF reads them back: each output
// sheet's file and columns, in the order written.
std::vector<TRptBookFile> BookFilesOf(const TTvrSheets& AOutputs);

// The books' PDF (a TRptBooksPdfMaker): each book file as written, read
// back with its columns, starting on a new page. ETvrError with the
// platform's text when a book cannot be read or the file written.
void WriteBooksPdf(const std::string& APath, const std::vector<TRptBookFile>& ABooks,
                   const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday);

} // namespace tavrel
