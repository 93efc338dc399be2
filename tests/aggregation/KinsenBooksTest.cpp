// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The cash book, the cash-in-hand book and the bank book: a whole run on a
// small club's tables compared book by book, and the rules of the three
// books one at a time (month separators, which row shows the balance,
// receipt dates, the opening and closing rows).

#include "AggregationTestSupport.h"

namespace tavrel::aggtest {
namespace {

const int K = 13;  // fields of the cash book
const int C = 9;   // fields of the cash-in-hand book
const int B = 7;   // fields of the bank book

// Opening 1000 cash and 500 bank; one income and one expense item.
Sources SmallClub(const std::vector<std::string>& ATransactions)
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", "201,事務費,,,1000,"};
    S.Kinsen = {"2025/04/01,2026/03/31,,,,開始,,000,1000,500"};
    S.Kinsen.insert(S.Kinsen.end(), ATransactions.begin(), ATransactions.end());
    return S;
}

TEST(CashBooksOfAprilAndMayWithTransfer, EveryBookIsExact)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.ExecuteFixture("cash_books_april_may_transfer", Temp, false, true)) << LogText(R.Log);

    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,前期より繰越,,000.前期繰越,,,5000,30000,35000",
        EmptyRow(K),
        "2025/04/03,,A1,文具店,1,コピー用紙,,201.事務費,,,-200,,",
        "2025/04/03,,,山田,2,年会費,,101.会費収入,,,,1000,35800",
        EmptyRow(K),
        "2025/05/20,,,,,預金引出,,,,,500,-500,35800",
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,5300,30500,35800",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,前期より繰越,5000,,5000",
        EmptyRow(C),
        "2025/04/03,,A1,文具店,1,コピー用紙,,200,4800",
        EmptyRow(C),
        "2025/05/20,,,,,預金引出,500,,5300",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,前期より繰越,,30000,30000",
        EmptyRow(B),
        "2025/04/03,,山田,年会費,,1000,31000",
        EmptyRow(B),
        "2025/05/20,,,預金引出,500,,30500",
    });
    EXPECT_FALSE(std::filesystem::exists(R.Book(kTantoshaBookName)));
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,1000",
        "2025/04/03,,山田,年会費,,,1000",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,200",
        "2025/04/03,A1,文具店,コピー用紙,,,200",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,1000",
        EmptyRow(4),
        "\"■ 201.事務費 (3,000)\",,,200",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,1000",
        ",,山田,年会費,2025/04/03,,1000",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,200",
        ",,文具店,コピー用紙,2025/04/03,,200",
    });
    const int T = 16;
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "35000", "35000", "", "35000", "35800"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "1000", "-49000", "1000", "0"}),
        Fields(T, {"収入合計", "50000", "1000", "-49000", "1000", "0"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "200", "-2800", "200", "0"}),
        Fields(T, {"支出合計", "3000", "200", "-2800", "200", "0"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "35800", "", "35800", "35800"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "35000", "35000"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "1000", "-49000", "1000", "1000"}),
        Fields(T, {"収入合計", "50000", "1000", "-49000", "1000", "1000"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "200", "-2800", "200", "200"}),
        Fields(T, {"支出合計", "3000", "200", "-2800", "200", "200"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "35800", "", "35800", "35800"}),
    });
}

TEST(CashBooks, TableWithOnlyTheStartingRow)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({}))) << LogText(R.Log);
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
        EmptyRow(K),
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,1000,500,1500",
    });
    ExpectBook(R.Book(kCashBookName), {"2025/04/01,2026/03/31,,,,開始,1000,,1000", EmptyRow(C)});
    ExpectBook(R.Book(kBankBookName), {"2025/04/01,,,開始,,500,500", EmptyRow(B)});
}

TEST(CashBooks, AprilAndJuneAreSeparatedByOneEmptyRow)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({
        "2025/04/10,,,,,会費,,101,100,",
        "2025/06/10,,,,,文具,,201,-50,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
        EmptyRow(K),
        "2025/04/10,,,,,会費,,101.会費,,,100,,1600",
        EmptyRow(K),
        "2025/06/10,,,,,文具,,201.事務費,,,-50,,1550",
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,1050,500,1550",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/10,,,,,会費,100,,1100",
        EmptyRow(C),
        "2025/06/10,,,,,文具,,50,1050",
    });
    // No transaction moves the bank: the bank book has no month at all.
    ExpectBook(R.Book(kBankBookName), {"2025/04/01,,,開始,,500,500", EmptyRow(B)});
}

TEST(CashBooks, BankOnlyRowStartsNoSeparatorInTheCashInHandBook)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({
        "2025/04/10,,,,,会費,,101,100,",
        "2025/05/10,,,,,寄付,,101,,200",
        "2025/05/20,,,,,文具,,201,-50,",
        "2025/06/10,,,,,振込,,101,,300",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/10,,,,,会費,100,,1100",
        EmptyRow(C),
        "2025/05/20,,,,,文具,,50,1050",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,開始,,500,500",
        EmptyRow(B),
        "2025/05/10,,,寄付,,200,700",
        EmptyRow(B),
        "2025/06/10,,,振込,,300,1000",
    });
}

TEST(CashBooks, CashWrittenAsZeroIsListedAsZeroReceived)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({
        "2025/04/10,,,,,会費,,101,100,",
        "2025/05/10,,,,,寄付,,101,0,200",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/10,,,,,会費,100,,1100",
        EmptyRow(C),
        "2025/05/10,,,,,寄付,0,,1100",
    });
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
        EmptyRow(K),
        "2025/04/10,,,,,会費,,101.会費,,,100,,1600",
        EmptyRow(K),
        "2025/05/10,,,,,寄付,,101.会費,,,0,200,1800",
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,1100,700,1800",
    });
}

TEST(CashBooks, OnlyTheLastRowOfADateShowsTheBalance)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({
        "2025/04/03,,,,,用紙,,201,-100,",
        "2025/04/03,,,,,入金,,101,,40",
        "2025/04/03,,,,,封筒,,201,-200,",
        "2025/04/05,,,,,会費,,101,50,",
        "2025/05/01,,,,,会費,,101,10,",
        "2025/05/01,,,,,振込,,101,,20",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
        EmptyRow(K),
        "2025/04/03,,,,,用紙,,201.事務費,,,-100,,",
        "2025/04/03,,,,,入金,,101.会費,,,,40,",
        "2025/04/03,,,,,封筒,,201.事務費,,,-200,,1240",
        "2025/04/05,,,,,会費,,101.会費,,,50,,1290",
        EmptyRow(K),
        "2025/05/01,,,,,会費,,101.会費,,,10,,",
        "2025/05/01,,,,,振込,,101.会費,,,,20,1320",
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,760,560,1320",
    });
    // The bank row between the two cash rows of 3 April is not in this book.
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/03,,,,,用紙,,100,",
        "2025/04/03,,,,,封筒,,200,700",
        "2025/04/05,,,,,会費,50,,750",
        EmptyRow(C),
        "2025/05/01,,,,,会費,10,,760",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,開始,,500,500",
        EmptyRow(B),
        "2025/04/03,,,入金,,40,540",
        EmptyRow(B),
        "2025/05/01,,,振込,,20,560",
    });
}

TEST(CashBooks, ReceiptDatesAndQuotedTexts)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({
        // Receipt date on the same day: "-".
        "2025/04/03,2025/04/03,,\"ABC 商店\",,用紙,,201,-100,",
        // An earlier receipt date is kept as a date.
        "2025/04/05,2025/03/28,,\"山田,太郎\",7,\"say \"\"hi\"\"\",,101,12.5,",
        // No receipt date: empty.
        "2025/04/07,,,佐藤,,振込,,101,,30",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
        EmptyRow(K),
        "2025/04/03,-,,\"ABC 商店\",,用紙,,201.事務費,,,-100,,1400",
        "2025/04/05,2025/03/28,,\"山田,太郎\",7,\"say \"\"hi\"\"\",,101.会費,,,12.5,,1412.5",
        "2025/04/07,,,佐藤,,振込,,101.会費,,,,30,1442.5",
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,912.5,530,1442.5",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/03,-,,\"ABC 商店\",,用紙,,100,900",
        "2025/04/05,2025/03/28,,\"山田,太郎\",7,\"say \"\"hi\"\"\",12.5,,912.5",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,開始,,500,500",
        EmptyRow(B),
        "2025/04/07,,佐藤,振込,,30,530",
    });
}

TEST(CashBooks, SeparatorsFollowFiscalMonthsOfAPeriodStartingMidMonth)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = SmallClub({
        "2025/04/20,,,,,会費,,101,100,",
        "2025/05/10,,,,,会費,,101,10,",
        "2025/05/15,,,,,文具,,201,-20,",
    });
    S.Kinsen[0] = "2025/04/15,2026/04/14,,,,開始,,000,1000,500";
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    // 20 April and 10 May lie in the same fiscal month (15 April to 14 May).
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/15,2026/04/14,,,,開始,1000,,1000",
        EmptyRow(C),
        "2025/04/20,,,,,会費,100,,1100",
        "2025/05/10,,,,,会費,10,,1110",
        EmptyRow(C),
        "2025/05/15,,,,,文具,,20,1090",
    });
    const std::vector<std::string> Trial = BookLines(R.Book(kShisanBookName));
    ASSERT_GE(Trial.size(), 3u);
    EXPECT_EQ(Trial[2], Fields(16, {"前期繰越", "1500", "1500", "", "1500", "1610"}));
}

TEST(CashBooks, ClosingRowCarriesTheDayOfTheRun)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub({"2025/04/10,,,,,会費,,101,100,"}), TTvrDate::Encode(2027, 1, 31)))
        << LogText(R.Log);
    const std::vector<std::string> Lines = BookLines(R.Book(kKinsenBookName));
    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines.back(), "2027/01/31,,,,,合計,,,,,1100,500,1600");
}

TEST(CashBooks, OpeningRowIsBookedOnTheOpeningAccount)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = SmallClub({"2025/04/10,,,,,会費,,101,100,"});
    S.Kamoku[0] = "000,前年度より繰越,,,1500,";
    S.Kinsen[0] = "2025/04/01,2026/03/31,X,相手,3,開始残高,,000,1000,500";
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    const std::vector<std::string> Cash = BookLines(R.Book(kKinsenBookName));
    ASSERT_GE(Cash.size(), 1u);
    EXPECT_EQ(Cash[0], "2025/04/01,2026/03/31,X,相手,3,開始残高,,000.前年度より繰越,,,1000,500,1500");
    const std::vector<std::string> InHand = BookLines(R.Book(kCashBookName));
    ASSERT_GE(InHand.size(), 1u);
    EXPECT_EQ(InHand[0], "2025/04/01,2026/03/31,X,相手,3,開始残高,1000,,1000");
    const std::vector<std::string> Bank = BookLines(R.Book(kBankBookName));
    ASSERT_GE(Bank.size(), 1u);
    EXPECT_EQ(Bank[0], "2025/04/01,X,相手,開始残高,,500,500");
}

TEST(CashBooks, NegativeOpeningCashIsListedAsPaid)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = SmallClub({});
    S.Kamoku[0] = "000,前期繰越,,,400,";
    S.Kinsen[0] = "2025/04/01,2026/03/31,,,,開始,,000,-100,500";
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    ExpectBook(R.Book(kCashBookName), {"2025/04/01,2026/03/31,,,,開始,,100,-100", EmptyRow(C)});
    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,-100,500,400",
        EmptyRow(K),
        EmptyRow(K),
        "2026/12/10,,,,,合計,,,,,-100,500,400",
    });
}

} // namespace
} // namespace tavrel::aggtest
