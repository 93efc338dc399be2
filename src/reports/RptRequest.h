// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "reports/RptCharts.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

// The most auditors the statement has signature lines for.
inline constexpr size_t kMaxAuditors = 3;

// The names of the two PDF files in the output folder.
inline constexpr char kYearEndPdfName[] = "総会資料.pdf";
inline constexpr char kBooksPdfName[] = "帳簿.pdf";

// What a run that completed tells a front end of its year besides the
// books, as plain values that outlive the run's tables: what heads the
// printed pages of its sheets (the documents' organisation and year title,
// and the fiscal period of the cash-book table) and the charts of the year.
struct TRptRunSummary {
    TRptPageHeader Header;
    TRptCharts Charts;
};
using TRptRunSummaryReceiver = std::function<void(TRptRunSummary ASummary)>;

// What a run is asked to make after its books, besides them: the year-end
// documents, the PDF files and next year's source tables. Nothing of it is
// made unless asked for, and nothing at all when the run stops.
struct TRptYearEndRequest {
    // 21収支決算書.csv and, with a balance table, 22残高照合表.csv.
    bool Documents = false;
    // 総会資料.pdf, drawn from the documents, which it makes too.
    bool YearEndPdf = false;
    // 帳簿.pdf: the books of the run.
    bool BooksPdf = false;
    // The folder next year's four source tables are written into; empty:
    // none are written.
    std::string NextYearFolder;
    TRptParams Params;
    // The page layer's drawing functions. The engine cannot link the page
    // layer, so a front end that asks for a PDF hands them in.
    TRptYearEndPdfMaker YearEndPdfMaker;
    TRptBooksPdfMaker BooksPdfMaker;
    // Handed the summary of the year once the books are written, before
    // anything else of the year-end step; none: no summary is made. The
    // desktop's viewer prints its sheets under the header and draws the
    // charts after the run's tables are gone.
    TRptRunSummaryReceiver KeepSummary;

    bool MakesDocuments() const { return Documents || YearEndPdf; }
};

// Raises std::logic_error when a PDF is asked for without the function that
// draws it, or more than three auditors are given: mistakes of the front
// end, which no user can make or mend.
void CheckYearEndRequest(const TRptYearEndRequest& ARequest);

} // namespace tavrel
