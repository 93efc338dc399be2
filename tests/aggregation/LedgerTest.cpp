// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The ledger of a run: the sums over the account tree and the transactions
// of each major item by month, computed once from the checked tables.

#include "AggregationTestSupport.h"

#include <stdexcept>

#include "aggregation/SumLedger.h"

namespace tavrel::aggtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every level of the tree: an income item with a middle item and its minor
// item, an expense item with a minor item directly under it.
const std::vector<std::string> kEveryLevel = {
    "000,開始残高,,,500,", "100,会費,,,900,", ",10,年会費,,600,", ",,1,正会員,,", "200,支出,,,800,", ",,5,用紙,,",
};

// The tables written into a temporary folder and loaded as a run loads them.
class LedgerTest : public ::testing::Test {
protected:
    const LoadedTables& Load(const std::vector<std::string>& AKinsen)
    {
        WriteTable(Temp, kKamokuFile, kEveryLevel);
        WriteTable(Temp, kKinsenFile, AKinsen);
        Tables = std::make_unique<LoadedTables>(Temp.Path(), false);
        return *Tables;
    }

    const TSrcKamokuGran& Gran(int AIndex) const { return Tables->Kamoku->Grans().Grans(AIndex); }

    TempFolder Temp;
    std::unique_ptr<LoadedTables> Tables;
};

TEST_F(LedgerTest, SumsEveryLevelAndGroupsTheTransactionsOfEachMajorItemByMonth)
{
    const LoadedTables& T = Load({
        "2025/04/01,2026/03/31,,,,開始,,000,300,200",  // 0
        "2025/04/05,,,,,a,,100.10.1,100,",            // 1
        "2025/04/10,,,,,修正,,000,50,",                // 2: the opening account
        "2025/04/20,,,,,b,,100,7,",                   // 3
        "2025/05/02,,,,,c,,200..5,-30,",              // 4
        "2025/05/03,,,,,d,,200,-4,",                  // 5
        "2025/06/01,,,,,e,,100.10,,20",               // 6
    });
    ASSERT_TRUE(T.Completed()) << LogText(T.Log);
    const TSumLedger Ledger(*T.Kinsen);
    ASSERT_EQ(Ledger.MonthCount(), 12);
    const TSrcKamokuGran& Opening = Gran(0);
    const TSrcKamokuGran& Income = Gran(1);
    const TSrcKamokuGran& Expense = Gran(2);

    EXPECT_THAT(Ledger.Rows(Income, 0), ElementsAre(1, 3));
    EXPECT_THAT(Ledger.Rows(Income, 1), IsEmpty());
    EXPECT_THAT(Ledger.Rows(Income, 2), ElementsAre(6));
    EXPECT_THAT(Ledger.Rows(Expense, 0), IsEmpty());
    EXPECT_THAT(Ledger.Rows(Expense, 1), ElementsAre(4, 5));
    EXPECT_THAT(Ledger.Rows(Opening, 0), IsEmpty());

    EXPECT_EQ(Ledger.SumsMonthly(Income, 0), 107);
    EXPECT_EQ(Ledger.SumsMonthly(Income, 1), 0);
    EXPECT_EQ(Ledger.SumsMonthly(Income, 2), 20);
    EXPECT_EQ(Ledger.SumsMonths(Income, 1), 107);
    EXPECT_EQ(Ledger.SumsMonths(Income, 11), 127);
    EXPECT_EQ(Ledger.SumAll(Income), 127);
    const TSrcKamokuMidd& Midd = Income.Midds().Midds(0);
    EXPECT_EQ(Ledger.SumAll(Midd), 120);
    EXPECT_EQ(Ledger.SumExceptConcs(Midd), 20);
    EXPECT_EQ(Ledger.SumAll(Midd.Concs().Concs(0)), 100);
    EXPECT_EQ(Ledger.SumExceptMidds(Income), 7);
    // Minor items hang under a middle item: no remainder of the major item.
    EXPECT_EQ(Ledger.SumExceptConcs(Income), 0);

    // Money spent on an expense item counts positive.
    EXPECT_EQ(Ledger.SumsMonthly(Expense, 1), 34);
    EXPECT_EQ(Ledger.SumAll(Expense), 34);
    EXPECT_EQ(Ledger.SumAll(Expense.Concs()->Concs(0)), 30);
    EXPECT_EQ(Ledger.SumExceptConcs(Expense), 4);
    EXPECT_EQ(Ledger.SumExceptMidds(Expense), 34);

    // The opening account is no income or expense: no sums of its own, but
    // its budget is the balance the year starts from.
    EXPECT_EQ(Ledger.SumAll(Opening), 0);
    EXPECT_EQ(Ledger.SumsMonths(Opening, 11), 0);
    ASSERT_EQ(Ledger.Opening(), &Opening);
    EXPECT_EQ(Ledger.OpeningBalance(), 500);
}

struct PeriodCase {
    const char* Name;
    const char* StartingRow;
    int MonthCount;
};

class LedgerWithoutTransactions : public LedgerTest, public ::testing::WithParamInterface<PeriodCase> {};

// Without transactions every sum is 0, and every major item, the opening
// account too, has exactly one monthly and one running sum per fiscal month.
TEST_P(LedgerWithoutTransactions, HasZeroSumsForEveryFiscalMonth)
{
    const LoadedTables& T = Load({GetParam().StartingRow});
    ASSERT_TRUE(T.Completed()) << LogText(T.Log);
    const TSumLedger Ledger(*T.Kinsen);
    const int Count = GetParam().MonthCount;
    ASSERT_EQ(Ledger.MonthCount(), Count);
    ASSERT_EQ(T.Kamoku->Grans().Count(), 3);
    for (int G = 0; G < 3; ++G) {
        SCOPED_TRACE(Gran(G).FullCode());
        for (int M = 0; M < Count; ++M) {
            EXPECT_EQ(Ledger.SumsMonthly(Gran(G), M), 0.0) << M;
            EXPECT_EQ(Ledger.SumsMonths(Gran(G), M), 0.0) << M;
            EXPECT_THAT(Ledger.Rows(Gran(G), M), IsEmpty()) << M;
        }
        EXPECT_THROW(Ledger.SumsMonthly(Gran(G), Count), std::out_of_range);
        EXPECT_THROW(Ledger.SumsMonths(Gran(G), Count), std::out_of_range);
        EXPECT_EQ(Ledger.SumAll(Gran(G)), 0.0);
        EXPECT_EQ(Ledger.SumExceptMidds(Gran(G)), 0.0);
        EXPECT_EQ(Ledger.SumExceptConcs(Gran(G)), 0.0);
    }
    const TSrcKamokuMidd& Midd = Gran(1).Midds().Midds(0);
    EXPECT_EQ(Ledger.SumAll(Midd), 0.0);
    EXPECT_EQ(Ledger.SumExceptConcs(Midd), 0.0);
    EXPECT_EQ(Ledger.SumAll(Midd.Concs().Concs(0)), 0.0);
    EXPECT_EQ(Ledger.SumAll(Gran(2).Concs()->Concs(0)), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Ledger, LedgerWithoutTransactions, ::testing::Values(
    PeriodCase{"TwelveMonths", "2019/04/01,2020/03/31,,,,開始,,000,300,200", 12},
    PeriodCase{"ThreeMonths", "2019/04/01,2019/06/30,,,,開始,,000,300,200", 3},
    PeriodCase{"TwoDays", "2019/04/01,2019/04/02,,,,開始,,000,300,200", 1}),
    [](const ::testing::TestParamInfo<PeriodCase>& AInfo) { return std::string(AInfo.param.Name); });

} // namespace
} // namespace tavrel::aggtest
