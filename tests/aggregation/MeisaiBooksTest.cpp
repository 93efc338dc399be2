// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The major item statement and the middle item statement: the whole run of
// a club whose accounts use every level, the "その他" rows one case at a
// time, where the middle item statement places each transaction, and the
// major item statement built alone.

#include "AggregationTestSupport.h"

#include "aggregation/SumLedger.h"
#include "aggregation/SumMeisaiBooks.h"

namespace tavrel::aggtest {
namespace {

const int G = 4;  // fields of the major item statement
const int D = 7;  // fields of the middle item statement

TEST(BooksOfAccountsOnEveryLevel, EveryBookIsExact)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.ExecuteFixture("major_middle_statements", Temp, true, false)) << LogText(R.Log);

    ExpectBook(R.Book(kKinsenBookName), {
        "2025/04/01,2026/03/31,,,,繰越,,000.前期繰越,,,10000,50000,60000",
        EmptyRow(13),
        "2025/04/05,,,山田,,年会費,01.会計,101.会費収入,01.年会費,001.正会員,,12000,72000",
        "2025/04/08,,,佐藤,,追加,,101.会費収入,01.年会費,,500,,72500",
        "2025/04/12,,,鈴木,,雑収入,02.庶務,101.会費収入,,,300,,72800",
        EmptyRow(13),
        "2025/05/02,,,文具店,,用紙,01.会計,201.事務費,,001.用紙代,-800,,72000",
        "2025/05/09,,,,,雑費,,201.事務費,,,-200,,71800",
        EmptyRow(13),
        "2026/12/10,,,,,合計,,,,,9800,62000,71800",
    });
    ExpectBook(R.Book(kCashBookName), {
        "2025/04/01,2026/03/31,,,,繰越,10000,,10000",
        EmptyRow(9),
        "2025/04/08,,,佐藤,,追加,500,,10500",
        "2025/04/12,,,鈴木,,雑収入,300,,10800",
        EmptyRow(9),
        "2025/05/02,,,文具店,,用紙,,800,10000",
        "2025/05/09,,,,,雑費,,200,9800",
    });
    ExpectBook(R.Book(kBankBookName), {
        "2025/04/01,,,繰越,,50000,50000",
        EmptyRow(7),
        "2025/04/05,,山田,年会費,,12000,62000",
    });
    ExpectBook(R.Book(kTantoshaBookName), {
        "\"■ 01.会計\",,,,,,,,,",
        "2025/04/05,,,山田,年会費,101.会費収入,01.年会費,001.正会員,12000,",
        "2025/05/02,,,文具店,用紙,201.事務費,,001.用紙代,,800",
        EmptyRow(10),
        "\"■ 02.庶務\",,,,,,,,,",
        "2025/04/12,,,鈴木,雑収入,101.会費収入,,,300,",
    });
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,,,,12800",
        "2025/04/05,,山田,年会費,01.年会費,001.正会員,12000",
        "2025/04/08,,佐藤,追加,01.年会費,,500",
        "2025/04/12,,鈴木,雑収入,,,300",
        EmptyRow(7),
        "\"■ 201.事務費 (3,000)\",,,,,,1000",
        "2025/05/02,,文具店,用紙,,001.用紙代,800",
        "2025/05/09,,,雑費,,,200",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,12800",
        ",\"01.年会費 (40,000)\",,12500",
        ",,001.正会員,12000",
        ",,002.賛助会員,0",
        ",,その他,500",
        ",\"02.寄付金 (10,000)\",,0",
        ",その他,,300",
        EmptyRow(G),
        "\"■ 201.事務費 (3,000)\",,,1000",
        ",,\"001.用紙代 (500)\",800",
        ",,002.郵送料,0",
        ",,その他,200",
    });
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"◆ 101.会費収入.01.年会費 (40,000)\",,,,,,12500",
        ",001.正会員,,,,,12000",
        ",,山田,年会費,2025/04/05,会計,12000",
        ",002.賛助会員,,,,,0",
        ",その他,,,,,500",
        ",,佐藤,追加,2025/04/08,,500",
        EmptyRow(D),
        "\"◆ 101.会費収入.02.寄付金 (10,000)\",,,,,,0",
        EmptyRow(D),
        "\"◆ 101.会費収入.その他\",,,,,,300",
        ",,鈴木,雑収入,2025/04/12,庶務,300",
        EmptyRow(D),
        "\"■ 201.事務費 (3,000)\",,,,,,1000",
        ",\"001.用紙代 (500)\",,,,,800",
        ",,文具店,用紙,2025/05/02,会計,800",
        ",002.郵送料,,,,,0",
        ",その他,,,,,200",
        ",,,雑費,2025/05/09,,200",
    });
    const int T = 16;
    ExpectBook(R.Book(kShisanBookName), {
        Fields(T, {"\"■ 月次試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "60000", "60000", "", "60000", "72800"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "12800", "-37200", "12800", "0"}),
        Fields(T, {"収入合計", "50000", "12800", "-37200", "12800", "0"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "1000", "-2000", "0", "1000"}),
        Fields(T, {"支出合計", "3000", "1000", "-2000", "0", "1000"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "71800", "", "72800", "71800"}),
        EmptyRow(T),
        Fields(T, {"\"■ 合計試算表\""}),
        EmptyRow(T),
        Fields(T, {"前期繰越", "60000", "60000"}),
        EmptyRow(T),
        Fields(T, {"会費収入", "50000", "12800", "-37200", "12800", "12800"}),
        Fields(T, {"収入合計", "50000", "12800", "-37200", "12800", "12800"}),
        EmptyRow(T),
        Fields(T, {"事務費", "3000", "1000", "-2000", "0", "1000"}),
        Fields(T, {"支出合計", "3000", "1000", "-2000", "0", "1000"}),
        EmptyRow(T),
        Fields(T, {"残高", "", "71800", "", "72800", "71800"}),
    });
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

// One major income item with a middle item and two minor items, and one
// expense item with a minor item directly under it.
const std::vector<std::string> kTwoLevels = {
    "101,会費,,,1000,", ",01,年会費,,,", ",,1,正会員,,", ",,2,賛助会員,,", "201,事務費,,,500,", ",,1,用紙代,,",
};

struct RemainderCase {
    const char* Name;
    std::vector<std::string> Transactions;
    std::vector<std::string> GranBook;
};

class RemainderRows : public ::testing::TestWithParam<RemainderCase> {};

TEST_P(RemainderRows, AreShownOnlyForPartOfTheParentsAmount)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club(kTwoLevels, GetParam().Transactions))) << LogText(R.Log);
    ExpectBook(R.Book(kGranMeisaiBookName), GetParam().GranBook);
}

INSTANTIATE_TEST_SUITE_P(MajorItemStatement, RemainderRows, ::testing::Values(
    RemainderCase{"WholeAmountInTheMinorItems",
        {"2025/04/05,,,,,a,,101.01.1,100,", "2025/04/06,,,,,b,,101.01.2,50,", "2025/04/07,,,,,c,,201..1,-20,"},
        {"\"■ 101.会費 (1,000)\",,,150", ",01.年会費,,150", ",,1.正会員,100", ",,2.賛助会員,50", EmptyRow(G),
         "\"■ 201.事務費 (500)\",,,20", ",,1.用紙代,20"}},
    RemainderCase{"WholeAmountOnTheParentItself",
        {"2025/04/05,,,,,a,,101.01,200,", "2025/04/07,,,,,c,,201,-20,"},
        {"\"■ 101.会費 (1,000)\",,,200", ",01.年会費,,200", ",,1.正会員,0", ",,2.賛助会員,0", EmptyRow(G),
         "\"■ 201.事務費 (500)\",,,20", ",,1.用紙代,0"}},
    RemainderCase{"WholeAmountOnTheMajorItemItself",
        {"2025/04/05,,,,,a,,101,90,"},
        {"\"■ 101.会費 (1,000)\",,,90", ",01.年会費,,0", ",,1.正会員,0", ",,2.賛助会員,0", EmptyRow(G),
         "\"■ 201.事務費 (500)\",,,0", ",,1.用紙代,0"}},
    RemainderCase{"NegativeRemainder",
        {"2025/04/05,,,,,a,,101.01.1,100,", "2025/04/06,,,,,b,,101.01,-30,", "2025/04/07,,,,,c,,201..1,-50,",
         "2025/04/08,,,,,d,,201,20,"},
        {"\"■ 101.会費 (1,000)\",,,70", ",01.年会費,,70", ",,1.正会員,100", ",,2.賛助会員,0", ",,その他,-30",
         EmptyRow(G), "\"■ 201.事務費 (500)\",,,30", ",,1.用紙代,50", ",,その他,-20"}},
    RemainderCase{"PartOnEveryLevel",
        {"2025/04/05,,,,,a,,101.01.1,100,", "2025/04/06,,,,,b,,101.01,40,", "2025/04/07,,,,,c,,101,25,",
         "2025/04/08,,,,,d,,201..1,-50,", "2025/04/09,,,,,e,,201,-5,"},
        {"\"■ 101.会費 (1,000)\",,,165", ",01.年会費,,140", ",,1.正会員,100", ",,2.賛助会員,0", ",,その他,40",
         ",その他,,25", EmptyRow(G), "\"■ 201.事務費 (500)\",,,55", ",,1.用紙代,50", ",,その他,5"}},
    RemainderCase{"ParentSumsToZero",
        {"2025/04/05,,,,,a,,101.01.1,100,", "2025/04/06,,,,,b,,101.01,-100,"},
        {"\"■ 101.会費 (1,000)\",,,0", ",01.年会費,,0", ",,1.正会員,100", ",,2.賛助会員,0", ",,その他,-100",
         EmptyRow(G), "\"■ 201.事務費 (500)\",,,0", ",,1.用紙代,0"}}),
    [](const ::testing::TestParamInfo<RemainderCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(MiddleItemStatement, PlacesTransactionsUnderTheirItemsInTableOrder)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club({
        "101,会費,,,1000,", ",01,年会費,,,", ",,1,正会員,-500,", ",,2,賛助会員,,", ",02,寄付金,,300,",
        "102,雑収入,,,100,",
        "201,事務費,,,500,", ",,1,用紙代,,",
    }, {
        "2025/04/05,2025/04/30,,甲,,会費,,101.01.2,100,",
        "2025/04/06,2025/04/01,,乙,,会費,,101.01.2,50,",
        "2025/04/07,,,丙,,寄付,,101.02,70,",
        "2025/04/08,,,丁,,寄付,,101.02,30,",
        "2025/04/09,,,,,用紙,,201..1,-40,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        // Minor items all without own transactions of the middle item: no "その他".
        "\"◆ 101.会費.01.年会費\",,,,,,150",
        ",\"1.正会員 (-500)\",,,,,0",
        ",2.賛助会員,,,,,150",
        ",,甲,会費,2025/04/30,,100",
        ",,乙,会費,2025/04/01,,50",
        EmptyRow(D),
        // No minor items: the own transactions follow the heading directly.
        "\"◆ 101.会費.02.寄付金 (300)\",,,,,,100",
        ",,丙,寄付,2025/04/07,,70",
        ",,丁,寄付,2025/04/08,,30",
        EmptyRow(D),
        // 102 has nothing to show; 201 has minor items directly under it.
        "\"■ 201.事務費 (500)\",,,,,,40",
        ",1.用紙代,,,,,40",
        ",,,用紙,2025/04/09,,40",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,250",
        ",01.年会費,,150",
        ",,\"1.正会員 (-500)\",0",
        ",,2.賛助会員,150",
        ",\"02.寄付金 (300)\",,100",
        EmptyRow(G),
        "\"■ 102.雑収入 (100)\",,,0",
        EmptyRow(G),
        "\"■ 201.事務費 (500)\",,,40",
        ",,1.用紙代,40",
    });
}

TEST(MiddleItemStatement, AccountTypedInOtherLetterCaseIsPlacedUnderItsItem)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, Club({"101,会費,,,1000,", ",01,年会費,,,", ",,ABC,正会員,,", ",XY,臨時,,,"}, {
        "2025/04/05,,,甲,,会費,,101.01.abc,100,",
        "2025/04/06,,,乙,,会費,,101.xy,30,",
        "2025/04/07,,,丙,,会費,,101.01.ABC,5,",
        "2025/04/08,,,丁,,会費,,101.01.aBc,1,",
    }))) << LogText(R.Log);
    ExpectBook(R.Book(kMiddMeisaiBookName), {
        "\"◆ 101.会費.01.年会費\",,,,,,106",
        ",ABC.正会員,,,,,106",
        ",,甲,会費,2025/04/05,,100",
        ",,丙,会費,2025/04/07,,5",
        ",,丁,会費,2025/04/08,,1",
        EmptyRow(D),
        "\"◆ 101.会費.XY.臨時\",,,,,,30",
        ",,乙,会費,2025/04/06,,30",
    });
    ExpectBook(R.Book(kGranMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,136",
        ",01.年会費,,106",
        ",,ABC.正会員,106",
        ",XY.臨時,,30",
    });
    ExpectBook(R.Book(kShushiMeisaiBookName), {
        "\"■ 101.会費 (1,000)\",,,,,,136",
        "2025/04/05,,甲,会費,01.年会費,ABC.正会員,100",
        "2025/04/06,,乙,会費,XY.臨時,,30",
        "2025/04/07,,丙,会費,01.年会費,ABC.正会員,5",
        "2025/04/08,,丁,会費,01.年会費,ABC.正会員,1",
    });
}

// A statement depends only on the checked tables and the ledger: built
// first and alone, from freshly loaded tables and a fresh ledger, it prints
// the real sums, as in a whole run.
TEST(MajorItemStatement, BuiltAloneFromAFreshLedgerPrintsTheRealSums)
{
    TempFolder Temp;
    const LoadedTables Tables(Fixture("major_middle_statements"), false);
    ASSERT_TRUE(Tables.Completed()) << LogText(Tables.Log);
    const TSumLedger Ledger(*Tables.Kinsen);
    const TSumContext Context{Tables.Settings, Today()};
    WriteBookFile(Temp.Path(kGranMeisaiBookName),
                  [&](TTvrTextOut& AOut) { MakeGranMeisaiBookText(*Tables.Kinsen, Ledger, Context, AOut); });
    ExpectBook(Temp.Path(kGranMeisaiBookName), {
        "\"■ 101.会費収入 (50,000)\",,,12800",
        ",\"01.年会費 (40,000)\",,12500",
        ",,001.正会員,12000",
        ",,002.賛助会員,0",
        ",,その他,500",
        ",\"02.寄付金 (10,000)\",,0",
        ",その他,,300",
        EmptyRow(G),
        "\"■ 201.事務費 (3,000)\",,,1000",
        ",,\"001.用紙代 (500)\",800",
        ",,002.郵送料,0",
        ",,その他,200",
    });
}

} // namespace
} // namespace tavrel::aggtest
