// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// 21収支決算書: every line of the statement of a small year, the kinds of its
// rows, the carry-forward and its split into cash and bank, and the
// treasurer's parameters in the title and the signature lines.

#include "ReportsTestSupport.h"

#include "reports/RptStatement.h"

namespace tavrel::rpttest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A year whose cash book holds a later row booked to the opening-balance
// account (+7 in cash on 2025/07/01): it moves the cash book but lies in no
// section of the statement. 101 is booked on itself and on its middle item,
// 201 has a refund, and one row moves money from cash to the bank.
Sources SmallYear()
{
    Sources S;
    S.Kamoku = {
        "000,前期繰越金,,,1500,前年度から",
        "101,会費収入,,,1000,年会費",
        ",01,正会員,,800,",
        "102,雑収入,,,50,",
        "201,事務費,,,500,\"用紙, 切手\"",
        "202,予備費,,,100,",
    };
    S.Kinsen = {
        "2025/04/01,2026/03/31,,,,前期繰越,,000,1000,500",
        "2025/04/05,,,,,会費,,101.01,300,",
        "2025/04/06,,,,,会費,,101,200,",
        "2025/05/01,,,,,利息,,102,,3",
        "2025/05/06,,,,,用紙,,201,-120,",
        "2025/05/07,,,,,返金,,201,20,",
        "2025/06/01,,,,,預入,,,-200,200",
        "2025/07/01,,,,,繰越修正,,000,7,",
    };
    return S;
}

const TSumContext kContext{TTvrRegionalSettings{}, Ymd(2026, 4, 20)};

TRptParams SignedParams()
{
    TRptParams P;
    P.Organisation = "さくら会";
    P.Treasurer = "山田　花子";
    P.Auditors = {"佐藤　一郎"};
    P.ReportDate = Ymd(2026, 5, 10);
    return P;
}

TEST(Statement, EveryLineOfASmallYearWithTheOpeningAccountDifference)
{
    const LoadedYear Y(SmallYear());
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const TRptDocument Doc = MakeStatement(*Y.Kinsen, *Y.Ledger, SignedParams(), kContext);
    EXPECT_EQ(Doc.FileName, "21収支決算書.csv");
    // Income: S 1500; 101 actual 300 + 200; 102 actual 3. Expenses: 201
    // 120 less a refund of 20; 202 nothing. Carry-forward 2003 - 100 = 1903,
    // while the cash book closes at 1207 + 703 = 1910: the 7 booked to 000.
    EXPECT_THAT(DocumentLines(Doc),
                ElementsAre("\"さくら会 2025年度 収支決算書\",,,,",
                            "期間,2025/04/01～2026/03/31,,,",
                            ",,,,",
                            "\"■ 収入の部\",,,,",
                            "科目,予算額,決算額,増減,備考",
                            "前期繰越金,1500,1500,0,前年度から",
                            "会費収入,1000,500,-500,年会費",
                            "雑収入,50,3,-47,",
                            "当期収入合計,1050,503,-547,",
                            "収入合計,2550,2003,-547,",
                            ",,,,",
                            "\"■ 支出の部\",,,,",
                            "科目,予算額,決算額,残額,備考",
                            "事務費,500,100,400,\"用紙, 切手\"",
                            "予備費,100,0,100,",
                            "支出合計,600,100,500,",
                            ",,,,",
                            "次年度繰越金,1950,1903,-47,",
                            "　うち現金,,1207,,",
                            "　うち預金,,703,,",
                            "　差額,,-7,,科目000に記帳された行の計",
                            ",,,,",
                            "上記のとおり報告します。,,,,",
                            "2026/05/10,会計,山田　花子,,",
                            ",,,,",
                            "上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。,,,,",
                            ",監事,佐藤　一郎,,印"));
    using K = TRptRowKind;
    EXPECT_THAT(RowKinds(Doc),
                ElementsAre(K::Title, K::Period, K::Blank, K::Heading, K::ColumnTitles, K::Item, K::Item, K::Item,
                            K::Subtotal, K::Total, K::Blank, K::Heading, K::ColumnTitles, K::Item, K::Item,
                            K::Total, K::Blank, K::CarryForward, K::CarryForward, K::CarryForward,
                            K::CarryForward, K::Blank, K::Note, K::Signature, K::Blank, K::Note, K::Signature));
    // Only the difference asks to be looked at.
    for (size_t I = 0; I < Doc.Rows.size(); ++I)
        EXPECT_EQ(Doc.Rows[I].Marked, I == 20) << I;
    for (const TRptRow& Row : Doc.Rows)
        EXPECT_EQ(Row.Fields.size(), 5u);
    // Values, not texts: the page layer formats them itself.
    EXPECT_TRUE(Doc.Rows[6].Fields[rsActual].IsFloat());
    EXPECT_TRUE(Doc.Rows[23].Fields[rsKamoku].IsDate());
    EXPECT_TRUE(Doc.Rows[2].Fields[rsKamoku].IsNull());
}

TEST(Statement, CarryForwardAgreesWithTheCashBookWithoutRowsOnTheOpeningAccount)
{
    Sources S = SmallYear();
    S.Kinsen.pop_back();
    const LoadedYear Y(S);
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const std::vector<std::string> Lines = DocumentLines(MakeStatement(*Y.Kinsen, *Y.Ledger, SignedParams(), kContext));
    ASSERT_EQ(Lines.size(), 26u);
    EXPECT_THAT(std::vector<std::string>(Lines.begin() + 17, Lines.begin() + 21),
                ElementsAre("次年度繰越金,1950,1903,-47,", "　うち現金,,1200,,", "　うち預金,,703,,", ",,,,"));
}

TEST(Statement, AmountsWithDecimalsThatDoNotAddUpInBinaryStillAgree)
{
    // The statement adds by item (0.3 + ((0.1 + 1.1) + 0.1) = 1.6000000000000003),
    // the cash book row by row (0.1 + 0.1 + 0.1 + 1.1 + 0.2 = 1.6): equal within
    // the tolerance, so no difference line.
    Sources S;
    S.Kamoku = {"000,前期繰越金,,,0.3,", "101,会費,,,0,", "102,寄付,,,0,"};
    S.Kinsen = {"2025/04/01,2026/03/31,,,,前期繰越,,000,0.1,0.2", "2025/04/02,,,,,会費,,101,0.1,",
                "2025/04/03,,,,,寄付,,102,0.1,", "2025/04/04,,,,,会費,,101,1.1,"};
    const LoadedYear Y(S);
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const TRptDocument Doc = MakeStatement(*Y.Kinsen, *Y.Ledger, SignedParams(), kContext);
    for (const TRptRow& Row : Doc.Rows)
        EXPECT_FALSE(Row.Marked);
    EXPECT_EQ(Doc.Rows.size(), 24u);
}

struct TitleCase {
    const char* Name;
    TRptParams Params;
    std::vector<std::string> Lines;  // the title, then the treasurer's and auditors' lines
};

// clang-format off
const TitleCase kTitleCases[] = {
    {"Nothing given", {},
     {"2025年度 収支決算書", "2026/04/20,会計,,,", ",監事,,,印", ",監事,,,印"}},
    {"Organisation and year title", {"さくら会", "令和7年度", "山田", {"佐藤", "鈴木", "高橋"}, {}},
     {"さくら会 令和7年度 収支決算書", "2026/04/20,会計,山田,,", ",監事,佐藤,,印", ",監事,鈴木,,印", ",監事,高橋,,印"}},
    {"Texts trimmed, control characters made spaces", {" さくら\n会 ", "\t", " 山田\t花子 ", {"", " ", "佐藤"}, Ymd(2026, 6, 1)},
     {"さくら 会 2025年度 収支決算書", "2026/06/01,会計,\"山田 花子\",,", ",監事,佐藤,,印"}},
    {"Year title alone", {"", "第40期", "", {}, {}},
     {"第40期 収支決算書", "2026/04/20,会計,,,", ",監事,,,印", ",監事,,,印"}},
};
// clang-format on

TEST(Statement, TitleAndSignatureLinesFollowTheParameters)
{
    const LoadedYear Y(SmallYear());
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    for (const TitleCase& C : kTitleCases) {
        SCOPED_TRACE(C.Name);
        const TRptDocument Doc = MakeStatement(*Y.Kinsen, *Y.Ledger, C.Params, kContext);
        const std::vector<TTvrValue>& Title = Doc.Rows.front().Fields;
        ASSERT_TRUE(Title[0].IsText());
        EXPECT_EQ(Title[0].Text(), C.Lines.front());
        const std::vector<std::string> Lines = DocumentLines(Doc);
        // The treasurer's line follows the report sentence; the auditors'
        // lines end the statement.
        const auto Report = std::find(Lines.begin(), Lines.end(), "上記のとおり報告します。,,,,");
        ASSERT_NE(Report, Lines.end());
        std::vector<std::string> Signatures = {*(Report + 1)};
        Signatures.insert(Signatures.end(), Report + 4, Lines.end());
        EXPECT_THAT(Signatures, ElementsAreArray(C.Lines.begin() + 1, C.Lines.end()));
    }
}

TEST(ResolveReportParams, DefaultsComeFromThePeriodAndToday)
{
    const TRptParams P = ResolveReportParams({}, Ymd(2024, 10, 1), Ymd(2025, 9, 30));
    EXPECT_EQ(P.YearTitle, "2024年度");
    ASSERT_TRUE(P.ReportDate.has_value());
    EXPECT_EQ(P.ReportDate->Serial(), Ymd(2025, 9, 30).Serial());
    // A date with a time of day prints as its day.
    const TRptParams Q = ResolveReportParams({}, Ymd(2024, 10, 1), TTvrDate::FromSerial(Ymd(2025, 9, 30).Serial() + 0.75));
    EXPECT_EQ(Q.ReportDate->Serial(), Ymd(2025, 9, 30).Serial());
}

} // namespace
} // namespace tavrel::rpttest
