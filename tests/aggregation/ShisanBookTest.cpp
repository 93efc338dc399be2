// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The trial balance: its two sections, the months it prints, and the
// opening account; and the whole run of a club with one income and one
// expense item over two months.

#include "AggregationTestSupport.h"

namespace tavrel::aggtest {
namespace {

const int T = 16;  // fields of the trial balance of a twelve-month year

TEST(BooksOfOneIncomeAndOneExpenseItem, EveryBookIsExact)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.ExecuteFixture("trial_balance_april_may", Temp, false, false)) << LogText(R.Log);

    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,繰越,,000.前期繰越,,,1000,0,1000",
        EmptyRow(13),
        "2025/04/10,,,,,会費,,101.会費,,,3000,,4000",
        "2025/04/20,,,,,事業費,,201.事業費,,,-500,,3500",
        EmptyRow(13),
        "2025/05/10,,,,,会費,,101.会費,,,1000,,4500",
        "2025/05/20,,,,,事業費,,201.事業費,,,-2500,,2000",
        EmptyRow(13),
        "2026/12/10,,,,,合計,,,,,2000,0,2000",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,繰越,1000,,1000",
        EmptyRow(9),
        "2025/04/10,,,,,会費,3000,,4000",
        "2025/04/20,,,,,事業費,,500,3500",
        EmptyRow(9),
        "2025/05/10,,,,,会費,1000,,4500",
        "2025/05/20,,,,,事業費,,2500,2000",
    });
    ExpectBook(R.Book(kBankBookName), {"2025/04/01,,,繰越,,0,0", EmptyRow(7)});
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (5,000)\",,,,,,4000",
        "2025/04/10,,,会費,,,3000",
        "2025/05/10,,,会費,,,1000",
        EmptyRow(7),
        "\"■ 201.事業費 (4,000)\",,,,,,3000",
        "2025/04/20,,,事業費,,,500",
        "2025/05/20,,,事業費,,,2500",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費 (5,000)\",,,4000",
        EmptyRow(4),
        "\"■ 201.事業費 (4,000)\",,,3000",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"■ 101.会費 (5,000)\",,,,,,4000",
        ",,,会費,2025/04/10,,3000",
        ",,,会費,2025/05/10,,1000",
        EmptyRow(7),
        "\"■ 201.事業費 (4,000)\",,,,,,3000",
        ",,,事業費,2025/04/20,,500",
        ",,,事業費,2025/05/20,,2500",
    });
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "1000", "1000", "", "1000", "3500"}),
        EmptyRow(T),
        Fields(T, {"会費", "5000", "4000", "-1000", "3000", "1000"}),
        Fields(T, {"収入合計", "5000", "4000", "-1000", "3000", "1000"}),
        EmptyRow(T),
        Fields(T, {"事業費", "4000", "3000", "-1000", "500", "2500"}),
        Fields(T, {"支出合計", "4000", "3000", "-1000", "500", "2500"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "2000", "", "3500", "2000"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "1000", "1000"}),
        EmptyRow(T),
        Fields(T, {"会費", "5000", "4000", "-1000", "3000", "4000"}),
        Fields(T, {"収入合計", "5000", "4000", "-1000", "3000", "4000"}),
        EmptyRow(T),
        Fields(T, {"事業費", "4000", "3000", "-1000", "500", "3000"}),
        Fields(T, {"支出合計", "4000", "3000", "-1000", "500", "3000"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "2000", "", "3500", "2000"}),
    });
}

Sources Club(const std::vector<std::string>& AKamoku, const std::vector<std::string>& ATransactions,
             const std::string& AStart = "2025/04/01,2026/03/31,,,,開始,,000,1000,500")
{
    Sources S;
    S.Kamoku = AKamoku;
    S.Kinsen = {AStart};
    S.Kinsen.insert(S.Kinsen.end(), ATransactions.begin(), ATransactions.end());
    return S;
}

const std::vector<std::string> kTwoIncomesOneExpense = {
    "000,繰越金,,,1500,", "101,会費,,,1000,", "102,寄付,,,200,", "201,事務費,,,700,",
};

TEST(TrialBalance, WithoutTransactionsNoMonthIsPrinted)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club(kTwoIncomesOneExpense, {}))) << LogText(R.Log);
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"繰越金", "1500", "1500"}),
        EmptyRow(T),
        Fields(T, {"会費", "1000", "0", "-1000"}),
        Fields(T, {"寄付", "200", "0", "-200"}),
        Fields(T, {"収入合計", "1200", "0", "-1200"}),
        EmptyRow(T),
        Fields(T, {"事務費", "700", "0", "-700"}),
        Fields(T, {"支出合計", "700", "0", "-700"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "1500"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"繰越金", "1500", "1500"}),
        EmptyRow(T),
        Fields(T, {"会費", "1000", "0", "-1000"}),
        Fields(T, {"寄付", "200", "0", "-200"}),
        Fields(T, {"収入合計", "1200", "0", "-1200"}),
        EmptyRow(T),
        Fields(T, {"事務費", "700", "0", "-700"}),
        Fields(T, {"支出合計", "700", "0", "-700"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "1500"}),
    });
}

TEST(TrialBalance, TransactionInTheLastMonthPrintsEveryMonth)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club(kTwoIncomesOneExpense, {
        "2025/06/15,,,,,会費,,101,300,",
        "2026/03/31,,,,,用紙,,201,-100,",
    }))) << LogText(R.Log);
    const auto Months = [](std::vector<std::string> AHead, const std::vector<std::string>& AMonths) {
        AHead.insert(AHead.end(), AMonths.begin(), AMonths.end());
        return AHead;
    };
    const std::vector<std::string> IncomeMonthly = {"0", "0", "300", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
    const std::vector<std::string> IncomeRunning = {"0", "0", "300", "300", "300", "300",
                                                    "300", "300", "300", "300", "300", "300"};
    const std::vector<std::string> ExpenseMonthly = {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "100"};
    const std::vector<std::string> ExpenseRunning = ExpenseMonthly;
    const std::vector<std::string> Zero12(12, "0");
    const std::vector<std::string> StartOfMonth = {"1500", "1500", "1500", "1800", "1800", "1800",
                                                   "1800", "1800", "1800", "1800", "1800", "1800"};
    const std::vector<std::string> EndOfMonth = {"1500", "1500", "1800", "1800", "1800", "1800",
                                                 "1800", "1800", "1800", "1800", "1800", "1700"};
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, Months({"繰越金", "1500", "1500", ""}, StartOfMonth)),
        EmptyRow(T),
        Fields(T, Months({"会費", "1000", "300", "-700"}, IncomeMonthly)),
        Fields(T, Months({"寄付", "200", "0", "-200"}, Zero12)),
        Fields(T, Months({"収入合計", "1200", "300", "-900"}, IncomeMonthly)),
        EmptyRow(T),
        Fields(T, Months({"事務費", "700", "100", "-600"}, ExpenseMonthly)),
        Fields(T, Months({"支出合計", "700", "100", "-600"}, ExpenseMonthly)),
        EmptyRow(T),
        Fields(T, Months({"残高", "", "1700", ""}, EndOfMonth)),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"繰越金", "1500", "1500"}),
        EmptyRow(T),
        Fields(T, Months({"会費", "1000", "300", "-700"}, IncomeRunning)),
        Fields(T, Months({"寄付", "200", "0", "-200"}, Zero12)),
        Fields(T, Months({"収入合計", "1200", "300", "-900"}, IncomeRunning)),
        EmptyRow(T),
        Fields(T, Months({"事務費", "700", "100", "-600"}, ExpenseRunning)),
        Fields(T, Months({"支出合計", "700", "100", "-600"}, ExpenseRunning)),
        EmptyRow(T),
        Fields(T, Months({"残高", "", "1700", ""}, EndOfMonth)),
    });
}

TEST(TrialBalance, MasterWithoutIncomeItemsStillWritesTheTotals)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club({"000,繰越金,,,1500,", "201,事務費,,,700,"}, {
        "2025/04/15,,,,,用紙,,201,-100,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"繰越金", "1500", "1500", "", "1500"}),
        EmptyRow(T),
        Fields(T, {"収入合計", "0", "0", "0", "0"}),
        EmptyRow(T),
        Fields(T, {"事務費", "700", "100", "-600", "100"}),
        Fields(T, {"支出合計", "700", "100", "-600", "100"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "1400", "", "1400"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"繰越金", "1500", "1500"}),
        EmptyRow(T),
        Fields(T, {"収入合計", "0", "0", "0", "0"}),
        EmptyRow(T),
        Fields(T, {"事務費", "700", "100", "-600", "100"}),
        Fields(T, {"支出合計", "700", "100", "-600", "100"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "1400", "", "1400"}),
    });
}

// A later row booked to the opening account moves the money of the cash
// book but belongs to no income or expense item.
TEST(TrialBalance, LaterRowOnTheOpeningAccountCountsInTheCashBookOnly)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club(kTwoIncomesOneExpense, {
        "2025/04/10,,,,,修正,,000,100,",
        "2025/04/11,,,,,会費,,101,50,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.繰越金,,,1000,500,1500",
        EmptyRow(13),
        "2025/04/10,,,,,修正,,000.繰越金,,,100,,1600",
        "2025/04/11,,,,,会費,,101.会費,,,50,,1650",
        EmptyRow(13),
        "2026/12/10,,,,,合計,,,,,1150,500,1650",
    });
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,,,,50",
        "2025/04/11,,,会費,,,50",
        EmptyRow(7),
        "\"■ 102.寄付 (200)\",,,,,,0",
        EmptyRow(7),
        "\"■ 201.事務費 (700)\",,,,,,0",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,,,,50",
        ",,,会費,2025/04/11,,50",
    });
    const std::vector<std::string> Trial = BookLines(R.Book(kShisanBookName));
    ASSERT_EQ(Trial.size(), 25u);
    EXPECT_EQ(Trial[2], Fields(T, {"繰越金", "1500", "1500", "", "1500"}));
    EXPECT_EQ(Trial[11], Fields(T, {"残高", "", "1550", "", "1550"}));
    EXPECT_EQ(Trial[24], Fields(T, {"残高", "", "1550", "", "1550"}));
}

TEST(TrialBalance, SevenMonthPeriodStartingInOctober)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club(kTwoIncomesOneExpense, {
        "2025/10/05,,,,,会費,,101,100,",
        "2026/01/20,,,,,寄付,,102,,40",
    }, "2025/10/01,2026/04/30,,,,開始,,000,1000,500"))) << LogText(R.Log);
    const int S = 11;
    ExpectBook(R.Book(kShisanBookName), {
        Fields(S, {"\"■ 月次試算表\""}),
        EmptyRow(S),
        Fields(S, {"繰越金", "1500", "1500", "", "1500", "1600", "1600", "1600"}),
        EmptyRow(S),
        Fields(S, {"会費", "1000", "100", "-900", "100", "0", "0", "0"}),
        Fields(S, {"寄付", "200", "40", "-160", "0", "0", "0", "40"}),
        Fields(S, {"収入合計", "1200", "140", "-1060", "100", "0", "0", "40"}),
        EmptyRow(S),
        Fields(S, {"事務費", "700", "0", "-700", "0", "0", "0", "0"}),
        Fields(S, {"支出合計", "700", "0", "-700", "0", "0", "0", "0"}),
        EmptyRow(S),
        Fields(S, {"残高", "", "1640", "", "1600", "1600", "1600", "1640"}),
        EmptyRow(S),
        Fields(S, {"\"■ 合計試算表\""}),
        EmptyRow(S),
        Fields(S, {"繰越金", "1500", "1500"}),
        EmptyRow(S),
        Fields(S, {"会費", "1000", "100", "-900", "100", "100", "100", "100"}),
        Fields(S, {"寄付", "200", "40", "-160", "0", "0", "0", "40"}),
        Fields(S, {"収入合計", "1200", "140", "-1060", "100", "100", "100", "140"}),
        EmptyRow(S),
        Fields(S, {"事務費", "700", "0", "-700", "0", "0", "0", "0"}),
        Fields(S, {"支出合計", "700", "0", "-700", "0", "0", "0", "0"}),
        EmptyRow(S),
        Fields(S, {"残高", "", "1640", "", "1600", "1600", "1600", "1640"}),
    });
    // The sheet of the book has four fixed columns and one per month.
    const TTvrSheets& Outputs = R.Sumup().Outputs();
    ASSERT_EQ(Outputs.Count(), 7);
    const TTvrSheet& Sheet = Outputs.Sheets(6);
    ASSERT_EQ(Sheet.ColCount(), 11);
    std::vector<std::string> Titles;
    for (int I = 0; I < Sheet.ColCount(); ++I) {
        Titles.push_back(Sheet.Fields().Fields(I).Name());
        EXPECT_EQ(Sheet.Fields().Fields(I).FieldType(), I == 0 ? sftString : sftDouble) << I;
        EXPECT_EQ(Sheet.Fields().Fields(I).CharCount(), I == 0 ? 14 : 10) << I;
    }
    EXPECT_THAT(Titles, ::testing::ElementsAre("科目", "予算額", "決算額", "増減", "10月", "11月", "12月", "1月",
                                               "2月", "3月", "4月"));
}

} // namespace
} // namespace tavrel::aggtest
