// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include "aggregation/SumWriter.h"
#include "aggregation/SumSchema.h"
#include "reports/RptDocument.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

class TSrcKinsenTable;
class TSumLedger;

// The columns of the statement, by position.
enum TRptStatementColumn { rsKamoku, rsBudget, rsActual, rsDifference, rsMemo, rsColumnCount };

// 科目, 予算額, 決算額, 増減/残額, 備考: the columns the viewer shows the
// written statement with.
const TTvrFieldDefDynArray& StatementFieldDefs();

// The treasurer's parameters as the documents print them: each text with its
// control characters made spaces and its blanks trimmed at both ends; the
// year title "<year of AFirstDate>年度" when none is given; empty auditors
// left out; the report date AToday when none is given.
TRptParams ResolveReportParams(const TRptParams& AParams, TTvrDate AFirstDate, TTvrDate AToday);

// 21収支決算書: income and expenses by major item, budget against actual,
// with the carry-forward to the next year and the signature lines, from the
// checked cash-book table and the ledger of the run. AContext.Today is the
// report date unless the parameters give one.
TRptDocument MakeStatement(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                           const TRptParams& AParams, const TSumContext& AContext);

} // namespace tavrel
