// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "aggregation/SumWriter.h"
#include "reports/RptNextYear.h"
#include "reports/RptRequest.h"
#include "reports/RptYearEnd.h"
#include "tables/TvrSheet.h"

namespace tavrel {

class TSrcKinsenTable;
class TSrcZandakaTable;
class TSumLedger;

// What a run that completed hands its year-end step: the checked tables and
// the ledger its books were made from, the source files it read, and the
// books it wrote.
struct TRptRunResult {
    const TSrcKinsenTable& KinsenTable;
    const TSumLedger& Ledger;
    // None when the run had no balance table.
    const TSrcZandakaTable* ZandakaTable;
    TRptNextYearSources Sources;
    // The output folder, ending in a path separator.
    std::string OutputFolder;
    // The books as written, in order.
    std::vector<TRptBookFile> Books;
};

// The page header of the PDF files: the organisation and the year title as
// the documents print them, and the fiscal period.
TRptPageHeader ReportPageHeader(const TRptParams& AParams, const TSrcKinsenTable& AKinsenTable, TTvrDate AToday);

// The year-end step of a run, after its books: hands the summary of the year
// to the request's receiver when it has one, then makes what the request
// asks for, each with its log line, in this order:
// 1. 21収支決算書.csv and, with a balance table, 22残高照合表.csv, written
//    into the output folder with the books' routine and added to AOutputs
//    as sheets like the books (none when AOutputs is none: the run keeps no
//    sheet); without a balance table, a
//    22残高照合表.csv that an earlier run left there is removed;
// 2. 総会資料.pdf, then 帳簿.pdf, drawn by the request's functions;
// 3. next year's four tables in their folder;
// 4. with the reconciliation made: an empty line and its log lines.
// Raises ETvrError (a file that cannot be written, a folder that holds
// source data), std::logic_error when a PDF is asked for without its
// function.
void MakeYearEndOutputs(const TRptYearEndRequest& ARequest, const TRptRunResult& ARun,
                        const TSumContext& AContext, const TTvrExecuteSendMessage& ASendMessage,
                        TTvrSheets* AOutputs);

} // namespace tavrel
