// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The income-expense item statement, and the sums of the ledger it and the
// books after it print.

#include "AggregationTestSupport.h"

#include "aggregation/SumLedger.h"

namespace tavrel::aggtest {
namespace {

const int M = 7;  // fields of the income-expense item statement

TEST(BooksOfAnItemWithMiddleAndMinorItems, EveryBookIsExact)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.ExecuteFixture("item_statement_april_may", Temp, false, false)) << LogText(R.Log);

    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,繰越,,000.前期繰越,,,1000,0,1000",
        EmptyRow(13),
        "2025/04/10,,,山田,,年会費,,101.会費収入,01.年会費,001.正会員,,12000,13000",
        "2025/04/20,,B7,文具店,,用紙,,201.事務費,,,-800,,12200",
        EmptyRow(13),
        "2025/05/15,,,,,追加会費,,101.会費収入,01.年会費,,500,,12700",
        EmptyRow(13),
        "2026/12/10,,,,,合計,,,,,700,12000,12700",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,繰越,1000,,1000",
        EmptyRow(9),
        "2025/04/20,,B7,文具店,,用紙,,800,200",
        EmptyRow(9),
        "2025/05/15,,,,,追加会費,500,,700",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,繰越,,0,0",
        EmptyRow(7),
        "2025/04/10,,山田,年会費,,12000,12000",
    });
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,12500",
        "2025/04/10,,山田,年会費,01.年会費,001.正会員,12000",
        "2025/05/15,,,追加会費,01.年会費,,500",
        EmptyRow(M),
        "\"■ 201.事務費 (3,000)\",,,,,,800",
        "2025/04/20,B7,文具店,用紙,,,800",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,12500",
        ",01.年会費,,12500",
        ",,001.正会員,12000",
        ",,その他,500",
        EmptyRow(4),
        "\"■ 201.事務費 (3,000)\",,,800",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"◆ 101.会費収入.01.年会費\",,,,,,12500",
        ",001.正会員,,,,,12000",
        ",,山田,年会費,2025/04/10,,12000",
        ",その他,,,,,500",
        ",,,追加会費,2025/05/15,,500",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,800",
        ",,文具店,用紙,2025/04/20,,800",
    });
    const int T = 16;
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "1000", "1000", "", "1000", "12200"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "12500", "-37500", "12000", "500"}),
        Fields(T, {"収入合計", "50000", "12500", "-37500", "12000", "500"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "800", "-2200", "800", "0"}),
        Fields(T, {"支出合計", "3000", "800", "-2200", "800", "0"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "12700", "", "12200", "12700"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "1000", "1000"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "12500", "-37500", "12000", "12500"}),
        Fields(T, {"収入合計", "50000", "12500", "-37500", "12000", "12500"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "800", "-2200", "800", "800"}),
        Fields(T, {"支出合計", "3000", "800", "-2200", "800", "800"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "12700", "", "12200", "12700"}),
    });
}

// The ledger of a run over a master with a middle item and a minor item:
// the sums that the statement and the books after it print.
TEST(ItemStatement, StoresTheSumsOfEveryItem)
{
    const LoadedTables Tables(Fixture("item_statement_april_may"), false);
    ASSERT_TRUE(Tables.Completed()) << LogText(Tables.Log);
    ASSERT_EQ(Tables.Kinsen->FiscalMonthCount(), 12);
    const TSumLedger Ledger(*Tables.Kinsen);

    const TSrcKamokuGrans& Grans = Tables.Kamoku->Grans();
    ASSERT_EQ(Grans.Count(), 3);
    const TSrcKamokuGran& Income = Grans.Grans(1);
    ASSERT_EQ(Income.Code(), "101");
    std::vector<double> Monthly, Months;
    for (int I = 0; I < 12; ++I) {
        Monthly.push_back(Ledger.SumsMonthly(Income, I));
        Months.push_back(Ledger.SumsMonths(Income, I));
    }
    EXPECT_THAT(Monthly, ::testing::ElementsAre(12000, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(Months, ::testing::ElementsAre(12000, 12500, 12500, 12500, 12500, 12500, 12500, 12500, 12500,
                                               12500, 12500, 12500));
    EXPECT_EQ(Ledger.SumAll(Income), 12500);
    EXPECT_EQ(Ledger.SumExceptMidds(Income), 0);
    ASSERT_EQ(Income.Midds().Count(), 1);
    const TSrcKamokuMidd& Midd = Income.Midds().Midds(0);
    EXPECT_EQ(Ledger.SumAll(Midd), 12500);
    EXPECT_EQ(Ledger.SumExceptConcs(Midd), 500);
    ASSERT_EQ(Midd.Concs().Count(), 1);
    EXPECT_EQ(Ledger.SumAll(Midd.Concs().Concs(0)), 12000);

    const TSrcKamokuGran& Expense = Grans.Grans(2);
    ASSERT_EQ(Expense.Code(), "201");
    EXPECT_EQ(Ledger.SumAll(Expense), 800);
    EXPECT_EQ(Ledger.SumExceptMidds(Expense), 800);
    EXPECT_EQ(Ledger.SumsMonthly(Expense, 0), 800);
    EXPECT_EQ(Ledger.SumsMonths(Expense, 11), 800);

    // The opening account has no sums of its own.
    const TSrcKamokuGran& Opening = Grans.Grans(0);
    EXPECT_EQ(Ledger.SumAll(Opening), 0);
    EXPECT_EQ(Ledger.SumsMonths(Opening, 0), 0);
}

Sources Club(const std::vector<std::string>& AKamoku, const std::vector<std::string>& ATransactions)
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,"};
    S.Kamoku.insert(S.Kamoku.end(), AKamoku.begin(), AKamoku.end());
    S.Kinsen = {"2025/04/01,2026/03/31,,,,開始,,000,1000,500"};
    S.Kinsen.insert(S.Kinsen.end(), ATransactions.begin(), ATransactions.end());
    return S;
}

TEST(ItemStatement, RefundsOnAnExpenseItemAreNegative)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club({"101,会費,,,1000,", "201,事務費,,,1000,"}, {
        "2025/04/05,,,,,用紙,,201,-300,",
        "2025/04/20,,,文具店,,返品,,201,120,",
        "2025/05/01,,,,,返金,,201,,30",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,,,,0",
        EmptyRow(M),
        "\"■ 201.事務費 (1,000)\",,,,,,150",
        "2025/04/05,,,用紙,,,300",
        "2025/04/20,,文具店,返品,,,-120",
        "2025/05/01,,,返金,,,-30",
    });
    // The trial balance shows the reduced sums month by month.
    const std::vector<std::string> Trial = BookLines(R.Book(kShisanBookName));
    EXPECT_THAT(Trial, ::testing::Contains(Fields(16, {"事務費", "1000", "150", "-850", "180", "-30"})));
    EXPECT_THAT(Trial, ::testing::Contains(Fields(16, {"事務費", "1000", "150", "-850", "180", "150"})));
}

TEST(ItemStatement, ReceiptDateInALaterMonthKeepsTheMonthOfTheTransaction)
{
    TempFolder Temp2;
    SumupRun R2;
    ASSERT_TRUE(R2.Execute(Temp2, Club({"101,会費,,,0,", "201,事務費,,,1000,"}, {
        "2025/04/28,2025/05/03,,,,年会費,,101,100,",
        "2025/05/01,,,,,年会費,,101,200,",
        "2025/06/01,2025/06/01,,,,用紙,,201,-10,",
    }))) << LogText(R2.Log);
    ExpectBook(R2.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (0)\",,,,,,300",
        "2025/05/03,,,年会費,,,100",
        "2025/05/01,,,年会費,,,200",
        EmptyRow(M),
        "\"■ 201.事務費 (1,000)\",,,,,,10",
        "2025/06/01,,,用紙,,,10",
    });
    // April holds the first row although it shows a May date.
    const std::vector<std::string> Trial = BookLines(R2.Book(kShisanBookName));
    EXPECT_THAT(Trial, ::testing::Contains(Fields(16, {"会費", "0", "300", "300", "100", "200", "0"})));
}

TEST(ItemStatement, ItemsWithoutTransactionsAndTransfersAreListedAsTheyStand)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club({"101,会費,,,1000,", "102,寄付,,,-500,", "201,事務費,,,1000,",
                                      "202,予備費,,,1234567.5,"}, {
        "2025/04/05,,,,,預入,,,-300,300",
        "2025/04/06,,,,,会費,,101,50,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,,,,50",
        "2025/04/06,,,会費,,,50",
        EmptyRow(M),
        "\"■ 102.寄付 (-500)\",,,,,,0",
        EmptyRow(M),
        "\"■ 201.事務費 (1,000)\",,,,,,0",
        EmptyRow(M),
        "\"■ 202.予備費 (1,234,568)\",,,,,,0",
    });
}

} // namespace
} // namespace tavrel::aggtest
