// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The year-end PDF for the general meeting: the statement of income and
// expenses as a treasurer hands it in, the reconciliation with the balance
// table, and the charts of the year. Laid out from the kinds of the
// documents' rows, never from their texts; no figure is computed here.

#include <QPagedPaintDevice>
#include <string>
#include <vector>

#include "print/PrtLayout.h"
#include "reports/RptCharts.h"
#include "reports/RptDocument.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

// The statement's pages, A4 portrait: the title large and centred with the
// period under it, each section a ruled table (amounts right-aligned, a
// negative one after △), the carry-forward lines, the sentences with the
// treasurer's and the auditors' lines and a seal box for each auditor. A
// table that does not fit continues on the next page under its heading and
// column titles again. The first page has no running header (its title says
// it all); the pages after it have one.
std::vector<TPrtPage> LayOutStatement(const TRptDocument& AStatement, const TTvrRegionalSettings& ASettings,
                                      const TPrtPaper& APaper, const TPrtMetrics& AMetrics);

// The reconciliation as a table to print: its column titles, its lines
// with amounts as statements write them, the lines that disagree marked.
TPrtTable ReconciliationTable(const TRptDocument& AReconciliation, const TTvrRegionalSettings& ASettings);

// One page with both charts of the year under the running header.
TPrtPage LayOutChartsPage(const TRptCharts& ACharts, const TTvrRegionalSettings& ASettings,
                          const TPrtPaper& APaper);

// The charts as a printout of their own (the desktop's chart window): the
// charts' page with its running header and footer.
std::vector<TPrtPage> LayOutCharts(const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                                   const TTvrRegionalSettings& ASettings, TTvrDate AToday, const TPrtPaper& APaper);

// Prints the charts' page on a device (a printer); false when printing
// could not start.
bool PaintCharts(QPagedPaintDevice& ADevice, const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                 const TTvrRegionalSettings& ASettings, TTvrDate AToday);

// Writes the charts' page as a PDF file at APath, replacing it atomically;
// ETvrError with the platform's text when it cannot.
void WriteChartsPdf(const std::string& APath, const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                    const TTvrRegionalSettings& ASettings, TTvrDate AToday);

// Every page of the year-end PDF with its running header and footer: the
// statement, the reconciliation when there is one, then the charts.
std::vector<TPrtPage> LayOutYearEnd(const TRptYearEndInputs& AInputs, const TRptCharts& ACharts,
                                    const TPrtPaper& APaper, const TPrtMetrics& AMetrics);

// The year-end PDF (a TRptYearEndPdfMaker): writes it at APath, replacing
// it atomically; ETvrError with the platform's text when it cannot.
void WriteYearEndPdf(const std::string& APath, const TRptYearEndInputs& AInputs);

} // namespace tavrel
