// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The charts' data, made by the engine: the month-end balances are those of
// books 12 and 13 as a run writes them, the items over budget are marked,
// and each counted balance stands at its date against the books' balance of
// that day.

#include "../aggregation/AggregationTestSupport.h"

#include <optional>

#include "aggregation/SumKinsenBooks.h"
#include "aggregation/SumLedger.h"
#include "reports/RptCharts.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"

namespace tavrel::aggtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Two income and two expense items, one of each over budget (an income
// below it, an expense above it) and one of each within it.
const std::vector<std::string> kMaster = {
    "000,前期繰越金,,,1500,", "100,会費収入,,,1000,", "110,雑収入,,,1,",
    "200,事業費,,,300,",      "210,会議費,,,100,",
};

// Cash 500 and bank 1000 to start; movements in April, May, July and March,
// two on one day, a transfer between cash and bank.
const std::vector<std::string> kKinsen = {
    "2025/04/01,2026/03/31,,,,前期繰越,,000,500,1000",
    "2025/04/10,,,,,会費,,100,600,",
    "2025/04/20,,,,,会費,,100,,200",
    "2025/05/05,,,,,預入,,,-700,700",
    "2025/05/31,,,,,行事,,200,-350,",
    "2025/07/15,,,,,会議,,210,,-80",
    "2025/07/15,,,,,利息,,110,,1",
    "2026/03/31,,,,,会費,,100,10,",
};

// Counted before the period, after a transfer in mid-month, cash alone, a
// cash count that disagrees, after the period; a blank line.
const std::vector<std::string> kZandaka = {
    "2025/03/31,500,1000", "2025/05/05,400,1900", "", "2025/07/15,50,", "2025/09/30,40,1821", "2026/04/30,60,1821",
};

class ChartData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Run.Execute(Temp, {kMaster, {}, kZandaka, kKinsen, false, true})) << LogText(Run.Log);
        Tables = std::make_unique<LoadedTables>(Temp.Path("src"), false);
        ASSERT_TRUE(Tables->Completed()) << LogText(Tables->Log);
        Zandaka = std::make_unique<TSrcZandakaTable>(Temp.Path("src/" + kZandakaFile), [](const std::string&) {},
                                                     Tables->Settings, Today());
        Ledger = std::make_unique<TSumLedger>(*Tables->Kinsen);
    }

    TempFolder Temp;
    SumupRun Run;
    std::unique_ptr<LoadedTables> Tables;
    std::unique_ptr<TSrcZandakaTable> Zandaka;
    std::unique_ptr<TSumLedger> Ledger;
};

// The balance a book shows at the end of each fiscal month: that of its last
// line dated in the month or before, read from the written file.
std::vector<double> MonthEndsOfBook(const std::string& AFileName, int ADateColumn, int ABalanceColumn,
                                    const TTvrFiscalMonths& AMonths)
{
    std::vector<std::pair<TTvrDate, double>> Shown;
    for (const std::string& Line : BookLines(AFileName)) {
        const std::vector<std::string> Fields = SplitCsvLine(Line);
        TTvrDate Date;
        if (Fields.size() <= static_cast<size_t>(ABalanceColumn) || Fields[static_cast<size_t>(ABalanceColumn)].empty() ||
            !TryTextToDate(Fields[static_cast<size_t>(ADateColumn)], TTvrRegionalSettings(), Date))
            continue;
        Shown.emplace_back(Date, TextToFloat(Fields[static_cast<size_t>(ABalanceColumn)], TTvrRegionalSettings()));
    }
    std::vector<double> Ends;
    for (const TTvrFiscalMonth& Month : AMonths) {
        std::optional<double> Balance;
        for (const auto& [Date, Value] : Shown)
            if (Date.Day() <= Month.LastDate.Day())
                Balance = Value;
        Ends.push_back(Balance.value_or(-1));
    }
    return Ends;
}

TEST_F(ChartData, FollowsTheMonthEndBalancesOfTheCashAndBankBooks)
{
    const TRptCharts Charts = MakeCharts(*Tables->Kinsen, *Ledger, Zandaka.get());
    const TRptMoneyChart& Money = Charts.Money;
    const TTvrFiscalMonths& Months = Tables->Kinsen->FiscalMonths();
    ASSERT_EQ(Money.Series.size(), 3u);
    EXPECT_EQ(Money.Series[0].Name, "現金");
    EXPECT_EQ(Money.Series[1].Name, "預金");
    EXPECT_EQ(Money.Series[2].Name, "合計");
    EXPECT_THAT(Money.MonthLabels,
                ElementsAre("4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月", "1月", "2月", "3月"));
    ASSERT_EQ(Money.MonthLastDates.size(), Months.size());
    for (size_t M = 0; M < Months.size(); ++M)
        EXPECT_EQ(Money.MonthLastDates[M], Months[M].LastDate);
    EXPECT_EQ(Money.FirstDate, test::Ymd(2025, 4, 1));
    EXPECT_EQ(Money.LastDate, test::Ymd(2026, 3, 31));

    const std::vector<double> Cash = MonthEndsOfBook(Run.Book(kCashBookName), cbCDATE, cbCZandaka, Months);
    const std::vector<double> Bank = MonthEndsOfBook(Run.Book(kBankBookName), bbBDATE, bbBZandaka, Months);
    EXPECT_THAT(Money.Series[0].MonthEnds, ElementsAreArray(Cash));
    EXPECT_THAT(Money.Series[1].MonthEnds, ElementsAreArray(Bank));
    // And by hand.
    EXPECT_THAT(Cash, ElementsAre(1100, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 60));
    EXPECT_THAT(Bank, ElementsAre(1200, 1900, 1900, 1821, 1821, 1821, 1821, 1821, 1821, 1821, 1821, 1821));
    for (size_t M = 0; M < Months.size(); ++M)
        EXPECT_EQ(Money.Series[2].MonthEnds[M], Cash[M] + Bank[M]) << M;
    EXPECT_EQ(Money.Series[0].Opening, 500);
    EXPECT_EQ(Money.Series[1].Opening, 1000);
    EXPECT_EQ(Money.Series[2].Opening, 1500);
}

TEST_F(ChartData, MarksAnIncomeBelowItsBudgetAndAnExpenseAboveIt)
{
    const TRptBudgetChart Budget = MakeCharts(*Tables->Kinsen, *Ledger, nullptr).Budget;
    struct TExpected {
        std::string Name;
        double Budget;
        double Actual;
        bool Marked;
        std::string MarkText;
    };
    const auto Check = [](const TRptBudgetGroup& AGroup, const std::vector<TExpected>& AItems) {
        ASSERT_EQ(AGroup.Items.size(), AItems.size()) << AGroup.Title;
        for (size_t I = 0; I < AItems.size(); ++I) {
            const TRptBudgetItem& Item = AGroup.Items[I];
            const TExpected& E = AItems[I];
            EXPECT_EQ(Item.Name, E.Name);
            EXPECT_EQ(Item.Budget, E.Budget) << E.Name;
            EXPECT_EQ(Item.Actual, E.Actual) << E.Name;
            EXPECT_EQ(Item.Marked, E.Marked) << E.Name;
            EXPECT_EQ(Item.MarkText, E.MarkText) << E.Name;
        }
    };
    EXPECT_EQ(Budget.Incomes.Title, "収入");
    Check(Budget.Incomes, {{"会費収入", 1000, 810, true, "予算未達"}, {"雑収入", 1, 1, false, ""}});
    EXPECT_EQ(Budget.Expenses.Title, "支出");
    Check(Budget.Expenses, {{"事業費", 300, 350, true, "予算超過"}, {"会議費", 100, 80, false, ""}});
    EXPECT_EQ(Budget.BudgetLabel, "予算");
    EXPECT_EQ(Budget.ActualLabel, "決算");
}

TEST_F(ChartData, PutsEachCountedBalanceAtItsDateAgainstTheBooksBalanceOfThatDay)
{
    const TRptMoneyChart Money = MakeCharts(*Tables->Kinsen, *Ledger, Zandaka.get()).Money;
    struct TExpected {
        int32_t Line;
        TTvrDate Date;
        int32_t Series;
        double Counted;
        double Book;
        bool Differs;
    };
    using test::Ymd;
    // clang-format off
    const std::vector<TExpected> Expected = {
        {1, Ymd(2025, 3, 31), 0,  500,  500, false},
        {1, Ymd(2025, 3, 31), 1, 1000, 1000, false},
        {1, Ymd(2025, 3, 31), 2, 1500, 1500, false},
        {2, Ymd(2025, 5, 5),  0,  400,  400, false},
        {2, Ymd(2025, 5, 5),  1, 1900, 1900, false},
        {2, Ymd(2025, 5, 5),  2, 2300, 2300, false},
        {4, Ymd(2025, 7, 15), 0,   50,   50, false},
        {5, Ymd(2025, 9, 30), 0,   40,   50, true},
        {5, Ymd(2025, 9, 30), 1, 1821, 1821, false},
        {5, Ymd(2025, 9, 30), 2, 1861, 1871, true},
        {6, Ymd(2026, 4, 30), 0,   60,   60, false},
        {6, Ymd(2026, 4, 30), 1, 1821, 1821, false},
        {6, Ymd(2026, 4, 30), 2, 1881, 1881, false},
    };
    // clang-format on
    ASSERT_EQ(Money.Points.size(), Expected.size());
    for (size_t I = 0; I < Expected.size(); ++I) {
        const TRptMoneyPoint& P = Money.Points[I];
        const TExpected& E = Expected[I];
        SCOPED_TRACE("point " + std::to_string(I));
        EXPECT_EQ(P.Line, E.Line);
        EXPECT_EQ(P.Date, E.Date);
        EXPECT_EQ(P.Series, E.Series);
        EXPECT_EQ(P.Counted, E.Counted);
        EXPECT_EQ(P.Book, E.Book);
        EXPECT_EQ(P.Differs, E.Differs);
    }
    EXPECT_THAT(MakeCharts(*Tables->Kinsen, *Ledger, nullptr).Money.Points, IsEmpty());
}

} // namespace
} // namespace tavrel::aggtest
