// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tables/TvrValue.h"

namespace tavrel {

class TSrcKinsenTable;
class TSrcZandakaTable;
class TSumLedger;

// The charts of the year as plain values: what a chart shows, its labels
// and the items it marks. The page layer and the desktop's chart window only
// draw them; every figure and every text comes from here.

// One major item: its budget against all its amounts, as the trial balance
// sums them.
struct TRptBudgetItem {
    std::string Name;
    double Budget = 0.0;
    double Actual = 0.0;
    // An expense above its budget, an income below it.
    bool Marked = false;
    // What the mark says (empty when not marked).
    std::string MarkText;
};

// One side of the budget chart: the income or the expense major items in
// master order.
struct TRptBudgetGroup {
    std::string Title;
    std::vector<TRptBudgetItem> Items;
};

// Budget against actual per major item: paired bars.
struct TRptBudgetChart {
    std::string Title;
    std::string BudgetLabel;
    std::string ActualLabel;
    std::string UnitLabel;
    TRptBudgetGroup Incomes;
    TRptBudgetGroup Expenses;
};

// A series of balances: one value at the start of the period, then one at
// the end of each fiscal month.
struct TRptMoneySeries {
    std::string Name;
    double Opening = 0.0;
    std::vector<double> MonthEnds;
};

// A balance counted on a row of the balance table, against the books'
// running balance of the same series at the end of the same day.
struct TRptMoneyPoint {
    // The line of the balance table.
    int32_t Line = 0;
    TTvrDate Date;
    // The index of the series in TRptMoneyChart::Series.
    int32_t Series = 0;
    double Counted = 0.0;
    double Book = 0.0;
    bool Differs = false;
};

// Money over the year: month-end balances as lines over the fiscal months,
// and the balance table's rows as marked points at their dates.
struct TRptMoneyChart {
    std::string Title;
    std::string UnitLabel;
    // The label of a counted point in the legend.
    std::string CountedLabel;
    // What marks a counted point that disagrees with the books.
    std::string DiffersLabel;
    TTvrDate FirstDate;
    TTvrDate LastDate;
    // One per fiscal month: its label ("4月") and its last day.
    std::vector<std::string> MonthLabels;
    std::vector<TTvrDate> MonthLastDates;
    // Cash, bank, then their total.
    std::vector<TRptMoneySeries> Series;
    // In balance-table order; for each row, its cash, bank and (when both
    // were counted) total, each only when counted.
    std::vector<TRptMoneyPoint> Points;
};

struct TRptCharts {
    TRptBudgetChart Budget;
    TRptMoneyChart Money;
};

// The charts of a checked year. The balances are the running balances of
// the cash-in-hand and bank books; a balance table (none: no points) gives
// the counted points.
TRptCharts MakeCharts(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                      const TSrcZandakaTable* AZandakaTable);

} // namespace tavrel
