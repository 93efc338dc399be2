// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// The fixed columns of the trial balance, by position; the month columns
// follow them, the fiscal month m at sbFirstMonth + m.
enum TSumShisanBookColumn { sbKamoku, sbBudget, sbActual, sbDifference, sbFirstMonth };

// 科目, 予算額, 決算額, 増減, then "%d月" for each fiscal month.
const TSumBookSchema& ShisanBookSchema();

// The amounts of one row of the trial balance: budget, actual, difference
// and one amount per fiscal month.
struct TSumShisanAmounts {
    double Budget = 0.0;
    double Actual = 0.0;
    double Difference = 0.0;
    std::vector<double> Months;
    void Add(const TSumShisanAmounts& AOther);
};

// One of the two sections of the trial balance: the opening row, the income
// items and their total, the expense items and their total, the balance.
struct TSumShisanTable {
    TSumShisanAmounts Opening;
    std::vector<TSumShisanAmounts> Incomes;
    TSumShisanAmounts IncomeTotal;
    std::vector<TSumShisanAmounts> Expenses;
    TSumShisanAmounts ExpenseTotal;
    TSumShisanAmounts Balance;
};

// The working data of the trial balance "18試算表.csv": the income and the
// expense major items, the opening balance, the monthly and the cumulative
// table, and how many months are printed.
class TSumShisanBook {
public:
    TSumShisanBook(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger);

    const std::vector<const TSrcKamokuGran*>& Incomes() const { return FIncomes; }
    const std::vector<const TSrcKamokuGran*>& Expenses() const { return FExpenses; }
    const TSrcKamokuGran* Opening() const { return FOpening; }
    const TSumShisanTable& Monthly() const { return FMonthly; }
    const TSumShisanTable& Cumulative() const { return FCumulative; }
    int MonthCount() const { return FMonthCount; }
    // The months up to and including the month of the latest transaction.
    int PrintedMonthCount() const { return FPrintedMonthCount; }

private:
    void Fill(TSumShisanTable& ATable, bool ACumulative) const;

    const TSumLedger& FLedger;
    std::vector<const TSrcKamokuGran*> FIncomes;
    std::vector<const TSrcKamokuGran*> FExpenses;
    const TSrcKamokuGran* FOpening = nullptr;
    double FStarting = 0.0;
    int FMonthCount = 0;
    int FPrintedMonthCount = 0;
    TSumShisanTable FMonthly;
    TSumShisanTable FCumulative;
};

void MakeShisanBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                        const TSumContext& AContext, TTvrTextOut& AOut);

} // namespace tavrel
