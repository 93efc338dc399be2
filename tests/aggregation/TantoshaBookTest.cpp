// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The per-person book: one block per person of the person master, with the
// transactions of that person; and the whole run of a club with two persons.

#include "AggregationTestSupport.h"

namespace tavrel::aggtest {
namespace {

const int P = 10;  // fields of the per-person book

Sources ClubWithPersons(const std::vector<std::string>& APersons, const std::vector<std::string>& ATransactions)
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", "201,事務費,,,1000,"};
    S.Tantosha = APersons;
    S.UseTantosha = true;
    S.Kinsen = {"2025/04/01,2026/03/31,,,,開始,,000,1000,500"};
    S.Kinsen.insert(S.Kinsen.end(), ATransactions.begin(), ATransactions.end());
    return S;
}

TEST(BooksOfTwoPersons, EveryBookIsExact)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.ExecuteFixture("person_book_two_persons", Temp, true, false)) << LogText(R.Log);

    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,繰越,,000.前期繰越,,,10000,50000,60000",
        EmptyRow(13),
        "2025/04/05,,,文具店,,封筒,01.会計,201.事務費,,,-300,,59700",
        "2025/04/06,,,山田,,会費,02.庶務,101.会費収入,,,,2000,61700",
        "2025/04/10,,,,,預金引出,01.会計,,,,500,-500,61700",
        "2025/04/12,,,郵便局,,切手,,201.事務費,,,-100,,61600",
        EmptyRow(13),
        "2026/12/10,,,,,合計,,,,,10100,51500,61600",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,繰越,10000,,10000",
        EmptyRow(9),
        "2025/04/05,,,文具店,,封筒,,300,9700",
        "2025/04/10,,,,,預金引出,500,,10200",
        "2025/04/12,,,郵便局,,切手,,100,10100",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,繰越,,50000,50000",
        EmptyRow(7),
        "2025/04/06,,山田,会費,,2000,52000",
        "2025/04/10,,,預金引出,500,,51500",
    });
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ 01.会計\",,,,,,,,,",
        "2025/04/05,,,文具店,封筒,201.事務費,,,,300",
        "2025/04/10,,,,預金引出,,,,500,500",
        EmptyRow(P),
        "\"■ 02.庶務\",,,,,,,,,",
        "2025/04/06,,,山田,会費,101.会費収入,,,2000,",
    });
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,2000",
        "2025/04/06,,山田,会費,,,2000",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,400",
        "2025/04/05,,文具店,封筒,,,300",
        "2025/04/12,,郵便局,切手,,,100",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,2000",
        EmptyRow(4),
        "\"■ 201.事務費 (3,000)\",,,400",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,2000",
        ",,山田,会費,2025/04/06,庶務,2000",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,400",
        ",,文具店,封筒,2025/04/05,会計,300",
        ",,郵便局,切手,2025/04/12,,100",
    });
    const int T = 16;
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "60000", "60000", "", "60000"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "2000", "-48000", "2000"}),
        Fields(T, {"収入合計", "50000", "2000", "-48000", "2000"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "400", "-2600", "400"}),
        Fields(T, {"支出合計", "3000", "400", "-2600", "400"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "61600", "", "61600"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "60000", "60000"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "2000", "-48000", "2000"}),
        Fields(T, {"収入合計", "50000", "2000", "-48000", "2000"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "400", "-2600", "400"}),
        Fields(T, {"支出合計", "3000", "400", "-2600", "400"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "61600", "", "61600"}),
    });
}

TEST(PersonBook, CodeTypedInOtherLetterCaseIsListedUnderThePerson)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, ClubWithPersons({"A01,会計,", "B02,庶務,"}, {
        "2025/04/05,,,文具店,,封筒,a01,201,-300,",
        "2025/04/06,,,山田,,会費,b02,101,,200",
        "2025/04/07,,,佐藤,,会費,A01,101,50,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ A01.会計\",,,,,,,,,",
        "2025/04/05,,,文具店,封筒,201.事務費,,,,300",
        "2025/04/07,,,佐藤,会費,101.会費,,,50,",
        EmptyRow(P),
        "\"■ B02.庶務\",,,,,,,,,",
        "2025/04/06,,,山田,会費,101.会費,,,200,",
    });
    // The cash book names the person as the master writes it.
    const std::vector<std::string> Cash = BookLines(R.Book(kKinsenBookName));
    ASSERT_GE(Cash.size(), 3u);
    EXPECT_EQ(Cash[2], "2025/04/05,,,文具店,,封筒,A01.会計,201.事務費,,,-300,,1200");
    // The middle item statement shows the person's name.
    const std::vector<std::string> Midd = BookLines(R.Book(kMiddMeisaiBookName));
    EXPECT_THAT(Midd, ::testing::Contains(",,文具店,封筒,2025/04/05,会計,300"));
}

TEST(PersonBook, BlankPersonRowsGiveNoBlockAndPersonsWithoutTransactionsKeepTheirTitle)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, ClubWithPersons({"", "01,会計,", ",,", "02,庶務,", "", "03,監事,メモ"}, {
        "2025/04/05,,,,,会費,02,101,100,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ 01.会計\",,,,,,,,,",
        EmptyRow(P),
        "\"■ 02.庶務\",,,,,,,,,",
        "2025/04/05,,,,会費,101.会費,,,100,",
        EmptyRow(P),
        "\"■ 03.監事\",,,,,,,,,",
    });
}

TEST(PersonBook, AmountsOfOneTransactionAreAddedBySign)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, ClubWithPersons({"01,会計,"}, {
        // Cash 0 and a bank deposit: 0 and the deposit are received.
        "2025/04/05,,,,,会費,01,101,0,300",
        // Cash paid and bank 0: 0 received, the cash paid.
        "2025/04/06,,,,,用紙,01,201,-50,0",
        // A transfer: received and paid.
        "2025/04/07,,,,,預入,01,,-400,400",
        // Paid only.
        "2025/04/08,,,,,用紙,01,201,-50,",
        // Without a person: listed nowhere.
        "2025/04/09,,,,,用紙,,201,-60,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ 01.会計\",,,,,,,,,",
        "2025/04/05,,,,会費,101.会費,,,300,",
        "2025/04/06,,,,用紙,201.事務費,,,0,50",
        "2025/04/07,,,,預入,,,,400,400",
        "2025/04/08,,,,用紙,201.事務費,,,,50",
    });
}

TEST(PersonBook, ReceiptDatesAndItemLevels)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = ClubWithPersons({"01,\"会計 担当\","}, {
        "2025/04/05,2025/04/05,M,\"A B\",,会費,01,101.10.1,100,",
        "2025/04/06,2025/05/02,,,,用紙,01,201..5,-30,",
    });
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", ",10,年会費,,,", ",,1,正会員,,",
                "201,事務費,,,1000,", ",,5,用紙代,,"};
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ 01.会計 担当\",,,,,,,,,",
        "2025/04/05,-,M,\"A B\",会費,101.会費,10.年会費,1.正会員,100,",
        "2025/04/06,2025/05/02,,,用紙,201.事務費,,5.用紙代,,30",
    });
}

TEST(PersonBook, NotWrittenWithoutPersonMaster)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = ClubWithPersons({}, {"2025/04/05,,,,,会費,01,101,100,"});
    S.UseTantosha = false;
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    EXPECT_FALSE(std::filesystem::exists(R.Book(kTantoshaBookName)));
    // The person column is ignored without a master.
    const std::vector<std::string> Cash = BookLines(R.Book(kKinsenBookName));
    ASSERT_GE(Cash.size(), 3u);
    EXPECT_EQ(Cash[2], "2025/04/05,,,,,会費,,101.会費,,,100,,1600");
}

} // namespace
} // namespace tavrel::aggtest
