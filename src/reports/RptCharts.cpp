// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptCharts.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "aggregation/SumKinsenBooks.h"
#include "aggregation/SumLedger.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

// The running balance of one kind of money at the end of each day that has
// a movement, as the cash-in-hand or bank book shows it, and the balance the
// period starts from.
class TBalanceHistory {
public:
    template <typename TRows, typename TDateOf, typename TBalanceOf>
    TBalanceHistory(const TRows& ARows, TDateOf ADateOf, TBalanceOf ABalanceOf)
    {
        // Row 0 is the starting row, which holds the opening balance; empty
        // rows separate the months.
        FOpening = ABalanceOf(ARows.Row(0)).AsFloat();
        for (int I = 1; I < ARows.Count(); ++I) {
            const auto& Row = ARows.Row(I);
            if (Row.Empty())
                continue;
            const int32_t Day = ADateOf(Row).Day();
            const double Balance = ABalanceOf(Row).AsFloat();
            if (!FDays.empty() && FDays.back().first == Day)
                FDays.back().second = Balance;
            else
                FDays.emplace_back(Day, Balance);
        }
    }

    double Opening() const { return FOpening; }

    // After every movement dated ADate or earlier: the opening balance
    // before the first movement, the closing one after the last.
    double At(TTvrDate ADate) const
    {
        const auto After = std::upper_bound(FDays.begin(), FDays.end(), ADate.Day(),
                                            [](int32_t ADay, const auto& AEntry) { return ADay < AEntry.first; });
        return After == FDays.begin() ? FOpening : std::prev(After)->second;
    }

private:
    double FOpening = 0.0;
    // Day number and the balance at its end, in order of days.
    std::vector<std::pair<int32_t, double>> FDays;
};

TRptBudgetGroup MakeBudgetGroup(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                                TSrcKamokuInout AInout, const char* ATitle, const char* AMarkText)
{
    TRptBudgetGroup Group;
    Group.Title = ATitle;
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() != AInout)
            continue;
        TRptBudgetItem Item;
        Item.Name = Gran.KNAME();
        Item.Budget = Gran.KYOSAN().AsFloat();
        Item.Actual = ALedger.SumAll(Gran);
        const bool Short = AInout == skiIncome ? Item.Actual < Item.Budget : Item.Actual > Item.Budget;
        Item.Marked = Short && !AmountsAgree(Item.Actual, Item.Budget);
        if (Item.Marked)
            Item.MarkText = AMarkText;
        Group.Items.push_back(std::move(Item));
    }
    return Group;
}

} // namespace

TRptCharts MakeCharts(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                      const TSrcZandakaTable* AZandakaTable)
{
    TRptCharts Charts;

    TRptBudgetChart& Budget = Charts.Budget;
    Budget.Title = "予算と決算";
    Budget.BudgetLabel = "予算";
    Budget.ActualLabel = "決算";
    Budget.UnitLabel = "単位：円";
    Budget.Incomes = MakeBudgetGroup(AKinsenTable, ALedger, skiIncome, "収入", "予算未達");
    Budget.Expenses = MakeBudgetGroup(AKinsenTable, ALedger, skiExpense, "支出", "予算超過");

    TSumCashItems CashRows;
    BuildCashRows(AKinsenTable, CashRows);
    TSumBankItems BankRows;
    BuildBankRows(AKinsenTable, BankRows);
    const TBalanceHistory Cash(
        CashRows, [](const TSumCashItem& ARow) { return ARow.CDATE(); },
        [](const TSumCashItem& ARow) -> const TTvrValue& { return ARow.CZandaka(); });
    const TBalanceHistory Bank(
        BankRows, [](const TSumBankItem& ARow) { return ARow.BDATE(); },
        [](const TSumBankItem& ARow) -> const TTvrValue& { return ARow.BZandaka(); });

    TRptMoneyChart& Money = Charts.Money;
    Money.Title = "資金の推移";
    Money.UnitLabel = "単位：円";
    Money.CountedLabel = "残高テーブル";
    Money.DiffersLabel = "帳簿と不一致";
    Money.FirstDate = AKinsenTable.FiscalFirstDate();
    Money.LastDate = AKinsenTable.FiscalLastDate();
    Money.Series = {{"現金", Cash.Opening(), {}}, {"預金", Bank.Opening(), {}},
                    {"合計", Cash.Opening() + Bank.Opening(), {}}};
    for (const TTvrFiscalMonth& Month : AKinsenTable.FiscalMonths()) {
        Money.MonthLabels.push_back(std::to_string(Month.Month) + "月");
        Money.MonthLastDates.push_back(Month.LastDate);
        const double CashEnd = Cash.At(Month.LastDate);
        const double BankEnd = Bank.At(Month.LastDate);
        Money.Series[0].MonthEnds.push_back(CashEnd);
        Money.Series[1].MonthEnds.push_back(BankEnd);
        Money.Series[2].MonthEnds.push_back(CashEnd + BankEnd);
    }

    if (AZandakaTable == nullptr)
        return Charts;
    const TSrcZandakas& Zandakas = AZandakaTable->Zandakas();
    for (int I = 0; I < Zandakas.Count(); ++I) {
        const TSrcZandaka& Row = Zandakas.Zandakas(I);
        if (Row.Empty())
            continue;
        const double BookCash = Cash.At(Row.ZDATE());
        const double BookBank = Bank.At(Row.ZDATE());
        const auto AddPoint = [&](int32_t ASeries, double ACounted, double ABook) {
            Money.Points.push_back({I + 1, Row.ZDATE(), ASeries, ACounted, ABook, !AmountsAgree(ACounted, ABook)});
        };
        if (Row.ZCASH().IsNumber())
            AddPoint(0, Row.ZCASH().AsFloat(), BookCash);
        if (Row.ZBANK().IsNumber())
            AddPoint(1, Row.ZBANK().AsFloat(), BookBank);
        if (Row.ZCASH().IsNumber() && Row.ZBANK().IsNumber())
            AddPoint(2, Row.ZCASH().AsFloat() + Row.ZBANK().AsFloat(), BookCash + BookBank);
    }
    return Charts;
}

} // namespace tavrel
