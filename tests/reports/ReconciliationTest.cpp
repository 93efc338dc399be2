// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// 22残高照合表: each row of the balance table against the cash book's
// balance on its day (before, inside and after the period, in any order),
// the differences, the verdicts, the candidate lines of an omission or a
// wrong sign, and the log lines of the result.

#include "ReportsTestSupport.h"

#include "reports/RptReconciliation.h"

namespace tavrel::rpttest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Cash: 1000, 1300 after line 2 (04/10), 1180 after line 4 and 980 after
// line 5 (both 05/01). Bank: 500, 700 after line 5, 703 after line 6 (06/15).
Sources Year(const std::vector<std::string>& AZandaka)
{
    Sources S;
    S.Kamoku = {"000,前期繰越金,,,1500,", "101,会費,,,1000,", "102,利息,,,0,", "201,事務費,,,500,"};
    S.Kinsen = {
        "2025/04/01,2026/03/31,,,,前期繰越,,000,1000,500",
        "2025/04/10,,,,,会費,,101,300,",
        "",
        "2025/05/01,,,,,用紙,,201,-120,",
        "2025/05/01,,,,,預入,,,-200,200",
        "2025/06/15,,,,,利息,,102,,3",
    };
    S.Zandaka = AZandaka;
    S.UseZandaka = true;
    return S;
}

const char* const kHeader = "行,日付,現金(実査),現金(帳簿),現金差額,預金(通帳),預金(帳簿),預金差額,判定,候補";

TEST(Reconciliation, EachRowAgainstTheBookOnItsDay)
{
    const LoadedYear Y(Year({
        "2025/05/31,980,700",          // inside the period, after both rows of 05/01
        "2025/03/31,1000,500",         // before the period: the opening balance
        "",
        "2026/04/30,980,",             // after the period: the closing balance; no bank count
        "2025/04/10,1000,500",         // line 2 (+300) left out of the count
        "2025/05/01,1220,700",         // line 4 (-120) counted with its sign turned
        "2025/06/30,,",                // a date without counts
        "2025/06/15,980,710",          // 7 in the bank that no row explains
        "2025/04/20,1420,500",         // +120: line 4 would explain it, but is dated later
        "2025/06/30,1100,700",         // both sides differ, each with its candidate
        "2025/05/02,980.0000000001,700",  // within the tolerance
    }));
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const TRptReconciliation R = MakeReconciliation(*Y.Kinsen, *Y.Zandaka);
    EXPECT_EQ(R.Document.FileName, "22残高照合表.csv");
    EXPECT_THAT(DocumentLines(R.Document),
                ElementsAre(kHeader,
                            "1,2025/05/31,980,980,0,700,700,0,一致,",
                            "2,2025/03/31,1000,1000,0,500,500,0,一致,",
                            "4,2026/04/30,980,980,0,,703,,一致,",
                            "5,2025/04/10,1000,1300,-300,500,500,0,不一致,\"現金: 2行\"",
                            "6,2025/05/01,1220,980,240,700,700,0,不一致,\"現金: 4行\"",
                            "7,2025/06/30,,980,,,703,,記入なし,",
                            "8,2025/06/15,980,980,0,710,703,7,不一致,",
                            "9,2025/04/20,1420,1300,120,500,500,0,不一致,",
                            "10,2025/06/30,1100,980,120,700,703,-3,不一致,\"現金: 4行 / 預金: 6行\"",
                            "11,2025/05/02,980.0000000001,980,0,700,700,0,一致,"));
    std::vector<bool> Marked;
    for (const TRptRow& Row : R.Document.Rows)
        Marked.push_back(Row.Marked);
    EXPECT_THAT(Marked, ElementsAre(false, false, false, false, true, true, false, true, true, true, false));
    EXPECT_EQ(R.Document.Rows.front().Kind, TRptRowKind::ColumnTitles);
    EXPECT_EQ(R.Document.Rows[1].Kind, TRptRowKind::Item);
    EXPECT_TRUE(R.Document.Rows[1].Fields[rrLine].IsInteger());
    EXPECT_TRUE(R.Document.Rows[1].Fields[rrDate].IsDate());
    EXPECT_EQ(R.Compared, 9);
    EXPECT_EQ(R.Agreeing, 4);
    EXPECT_THAT(R.Disagreeing, ElementsAre(5, 6, 8, 9, 10));
    EXPECT_THAT(ReconciliationLogLines(R), ElementsAre("残高照合: 9件中4件が一致しました。",
                                                       "残高照合: 一致しない行があります（5行, 6行, 8行, 9行, 10行）。"));
}

TEST(Reconciliation, AtMostFiveCandidatesPerSideInLineOrder)
{
    Sources S = Year({});
    // Line 7 explains a difference of +300 by its sign, lines 8 to 13 by
    // having not happened.
    S.Kinsen.push_back("2025/07/01,,,,,用紙,,201,-150,");
    for (int I = 0; I < 6; ++I)
        S.Kinsen.push_back("2025/07/0" + std::to_string(2 + I) + ",,,,,用紙,,201,-300,");
    // Cash: 980 - 150 - 6 * 300 = -970 by 07/07.
    S.Zandaka = {"2025/07/31,-670,703"};
    const LoadedYear Y(S);
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const TRptReconciliation R = MakeReconciliation(*Y.Kinsen, *Y.Zandaka);
    EXPECT_THAT(DocumentLines(R.Document),
                ElementsAre(kHeader, "1,2025/07/31,-670,-970,300,703,703,0,不一致,\"現金: 7行 8行 9行 10行 11行\""));
}

TEST(Reconciliation, EmptyCountsCompareNothing)
{
    const LoadedYear Y(Year({"2025/05/31,,", "", "2025/06/30"}));
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const TRptReconciliation R = MakeReconciliation(*Y.Kinsen, *Y.Zandaka);
    EXPECT_THAT(DocumentLines(R.Document),
                ElementsAre(kHeader, "1,2025/05/31,,980,,,700,,記入なし,", "3,2025/06/30,,980,,,703,,記入なし,"));
    EXPECT_EQ(R.Compared, 0);
    EXPECT_THAT(ReconciliationLogLines(R), ElementsAre("残高照合: 照合する行がありません。"));
}

struct LogCase {
    int Compared;
    int Agreeing;
    std::vector<int> Disagreeing;
    std::vector<std::string> Lines;
};

TEST(ReconciliationLogLines, SayHowManyAgreeAndWhichDoNot)
{
    // clang-format off
    const LogCase kCases[] = {
        {0, 0, {}, {"残高照合: 照合する行がありません。"}},
        {6, 6, {}, {"残高照合: 6件中6件が一致しました。"}},
        {2, 1, {3}, {"残高照合: 2件中1件が一致しました。", "残高照合: 一致しない行があります（3行）。"}},
        {3, 0, {3, 5, 12}, {"残高照合: 3件中0件が一致しました。", "残高照合: 一致しない行があります（3行, 5行, 12行）。"}},
    };
    // clang-format on
    for (const LogCase& C : kCases) {
        TRptReconciliation R;
        R.Compared = C.Compared;
        R.Agreeing = C.Agreeing;
        R.Disagreeing = C.Disagreeing;
        EXPECT_THAT(ReconciliationLogLines(R), ElementsAreArray(C.Lines)) << C.Compared << " " << C.Agreeing;
    }
}

} // namespace
} // namespace tavrel::rpttest
