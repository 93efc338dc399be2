// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "aggregation/SumSchema.h"
#include "reports/RptDocument.h"

namespace tavrel {

class TSrcKinsenTable;
class TSrcZandakaTable;

// The columns of the reconciliation, by position.
enum TRptReconciliationColumn {
    rrLine, rrDate, rrCashCounted, rrCashBook, rrCashDifference, rrBankCounted, rrBankBook, rrBankDifference,
    rrVerdict, rrCandidates, rrColumnCount
};

// 行, 日付, 現金(実査), 現金(帳簿), 現金差額, 預金(通帳), 預金(帳簿), 預金差額,
// 判定, 候補: the columns of the file, which are also its first line.
const TTvrFieldDefDynArray& ReconciliationFieldDefs();

// The balance table compared with the cash book, and what the log says of
// it.
struct TRptReconciliation {
    TRptDocument Document;
    // The rows with a count of cash or bank, and those of them that agree.
    int Compared = 0;
    int Agreeing = 0;
    // The line numbers of the balance table's rows that disagree, in file
    // order.
    std::vector<int> Disagreeing;
};

// 22残高照合表: one line per row of the balance table with a date, in file
// order, each count set against the cash book's balance at the end of that
// day (the starting row's balance plus every later row dated on or before
// it; before the period the opening balance, after it the closing one),
// with the difference, the verdict (一致, 不一致, or 記入なし without a
// count) and, for a side that differs, the cash-book lines that would
// explain it: a row whose amount is the difference with its sign turned (a
// row that did not happen) or half of it (a sign written the wrong way
// round), at most five per side, in line order.
TRptReconciliation MakeReconciliation(const TSrcKinsenTable& AKinsenTable, const TSrcZandakaTable& AZandakaTable);

// The log lines of the reconciliation: how many of the compared rows agree
// and, with a mismatch, which lines disagree; or that no row has a count.
std::vector<std::string> ReconciliationLogLines(const TRptReconciliation& AReconciliation);

} // namespace tavrel
