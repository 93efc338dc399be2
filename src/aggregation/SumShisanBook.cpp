// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumShisanBook.h"

#include "aggregation/SumLedger.h"

namespace tavrel {

namespace {

// One line of the trial balance and which of its fields are written.
struct TSumShisanLine {
    bool FEmpty = true;
    std::string Label;
    const TSumShisanAmounts* Amounts = nullptr;
    bool Budget = false;
    bool Actual = false;
    bool Difference = false;
    bool Months = false;
    bool Empty() const { return FEmpty; }
};

} // namespace

void TSumShisanAmounts::Add(const TSumShisanAmounts& AOther)
{
    Budget += AOther.Budget;
    Actual += AOther.Actual;
    Difference += AOther.Difference;
    for (size_t M = 0; M < Months.size(); ++M)
        Months[M] += AOther.Months[M];
}

TSumShisanBook::TSumShisanBook(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger)
    : FLedger(ALedger), FOpening(ALedger.Opening()), FStarting(ALedger.OpeningBalance()),
      FMonthCount(ALedger.MonthCount())
{
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiIncome)
            FIncomes.push_back(&Gran);
        else if (Gran.Inout() == skiExpense)
            FExpenses.push_back(&Gran);
    }
    const TTvrIndices& All = AKinsenTable.KinsenAllIndices();
    if (All.Count() > 0) {
        const TSrcKinsen& Last = AKinsenTable.Kinsens().Kinsens(All.Indices(All.Count() - 1));
        FPrintedMonthCount = FiscalMonthIndexOf(AKinsenTable.FiscalMonths(), Last.KDATE()) + 1;
    }
    Fill(FMonthly, false);
    Fill(FCumulative, true);
}

void TSumShisanBook::Fill(TSumShisanTable& ATable, bool ACumulative) const
{
    const size_t M = static_cast<size_t>(FMonthCount);
    for (TSumShisanAmounts* Row : {&ATable.Opening, &ATable.IncomeTotal, &ATable.ExpenseTotal, &ATable.Balance})
        Row->Months.assign(M, 0.0);
    const auto FillItems = [&](const std::vector<const TSrcKamokuGran*>& AGrans,
                               std::vector<TSumShisanAmounts>& ARows, TSumShisanAmounts& ATotal) {
        for (const TSrcKamokuGran* Gran : AGrans) {
            TSumShisanAmounts Row;
            Row.Budget = Gran->KYOSAN().AsFloat();
            Row.Actual = FLedger.SumAll(*Gran);
            Row.Difference = FLedger.SumAll(*Gran) - Gran->KYOSAN().AsFloat();
            Row.Months.resize(M);
            for (size_t I = 0; I < M; ++I)
                Row.Months[I] = ACumulative ? FLedger.SumsMonths(*Gran, static_cast<int>(I))
                                            : FLedger.SumsMonthly(*Gran, static_cast<int>(I));
            ATotal.Add(Row);
            ARows.push_back(std::move(Row));
        }
    };
    FillItems(FIncomes, ATable.Incomes, ATable.IncomeTotal);
    FillItems(FExpenses, ATable.Expenses, ATable.ExpenseTotal);
    ATable.Opening.Budget = FStarting;
    ATable.Opening.Actual = FStarting;
    ATable.Balance.Actual = FStarting + ATable.IncomeTotal.Actual - ATable.ExpenseTotal.Actual;
    if (ACumulative) {
        for (size_t I = 0; I < M; ++I)
            ATable.Balance.Months[I] = FStarting + ATable.IncomeTotal.Months[I] - ATable.ExpenseTotal.Months[I];
        return;
    }
    double Balance = FStarting;
    for (size_t I = 0; I < M; ++I) {
        ATable.Opening.Months[I] = Balance;
        Balance = Balance + ATable.IncomeTotal.Months[I] - ATable.ExpenseTotal.Months[I];
        ATable.Balance.Months[I] = Balance;
    }
}

void MakeShisanBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger, const TSumContext& AContext,
                        TTvrTextOut& AOut)
{
    const TSumShisanBook Book(AKinsenTable, ALedger);
    const std::string OpeningName = Book.Opening() ? Book.Opening()->KNAME() : std::string();
    const int Printed = Book.PrintedMonthCount();

    const auto AddLines = [&](auto& ALines) {
        const auto AddEmpty = [&] { ALines.Append(); };
        const auto AddAmounts = [&](const std::string& ALabel, const TSumShisanAmounts& AAmounts, bool ABudget,
                                    bool ADifference, bool AMonths) {
            ALines.Append(TSumShisanLine{false, ALabel, &AAmounts, ABudget, true, ADifference, AMonths});
        };
        const auto AddSection = [&](const char* ATitle, const TSumShisanTable& ATable, bool AMonthly) {
            ALines.Append(TSumShisanLine{false, ATitle});
            AddEmpty();
            AddAmounts(OpeningName, ATable.Opening, true, false, AMonthly);
            AddEmpty();
            for (size_t I = 0; I < Book.Incomes().size(); ++I)
                AddAmounts(Book.Incomes()[I]->KNAME(), ATable.Incomes[I], true, true, true);
            AddAmounts("収入合計", ATable.IncomeTotal, true, true, true);
            AddEmpty();
            for (size_t I = 0; I < Book.Expenses().size(); ++I)
                AddAmounts(Book.Expenses()[I]->KNAME(), ATable.Expenses[I], true, true, true);
            AddAmounts("支出合計", ATable.ExpenseTotal, true, true, true);
            AddEmpty();
            AddAmounts("残高", ATable.Balance, false, false, true);
        };
        AddSection("■ 月次試算表", Book.Monthly(), true);
        AddEmpty();
        AddSection("■ 合計試算表", Book.Cumulative(), false);
    };
    WriteBookRows<TSumShisanLine>(
        AOut, ShisanBookSchema().ColumnCount(Book.MonthCount()), AContext.Settings, AddLines,
        [&](TSumLine& ALine, const TSumShisanLine& ARow, const TSumShisanLine*, int) {
            ALine.Text(sbKamoku, ARow.Label);
            if (ARow.Amounts == nullptr)
                return;
            if (ARow.Budget)
                ALine.Number(sbBudget, ARow.Amounts->Budget);
            if (ARow.Actual)
                ALine.Number(sbActual, ARow.Amounts->Actual);
            if (ARow.Difference)
                ALine.Number(sbDifference, ARow.Amounts->Difference);
            if (ARow.Months)
                for (int M = 0; M < Printed; ++M)
                    ALine.Number(sbFirstMonth + M, ARow.Amounts->Months[static_cast<size_t>(M)]);
        });
}

namespace {

constexpr TTvrColumn<TSumShisanBookColumn> kShisanBookColumns[] = {
    {sbKamoku, "科目", sftString, 14},
    {sbBudget, "予算額", sftDouble, 10},
    {sbActual, "決算額", sftDouble, 10},
    {sbDifference, "増減", sftDouble, 10},
};
static_assert(ColumnsInOrder(kShisanBookColumns, sbFirstMonth));

} // namespace

const TSumBookSchema& ShisanBookSchema()
{
    static const TSumBookSchema Schema(kShisanBookName, kShisanBookColumns, sftDouble, 10);
    return Schema;
}

} // namespace tavrel
