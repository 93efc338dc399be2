// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Loader tests of the account-title master: every row check in its order and
// effect, the items of each row, the tree, and both forms of Find.

#include "SourcesTestSupport.h"

#include "sources/SrcKamoku.h"

namespace tavrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const KamokuLead = "収支科目マスタ読込中...";

// The small chart of accounts used throughout: 000, income 100 with middle
// 10 and minor 1, expense 200 with minor 5 directly under it.
const char* const ExampleMaster = R"(000,開始残高,,,500
100,会費,,,900
,10,年会費,,600
,,1,正会員
200,支出,,,800
,,5,用紙
)";

// Every field of an item on one line. FullName is left out for minor items:
// nothing reads it, its content is free.
std::string ItemText(const TSrcKamokuItem& AItem)
{
    return LevelText(AItem.Level()) + " " + InoutText(AItem.Inout()) + " [" + AItem.KCODE1() + "|"
           + AItem.KCODE2() + "|" + AItem.KCODE3() + "] code=" + AItem.Code() + " name=" + AItem.KNAME()
           + " codename=" + AItem.CodeName() + " full=" + AItem.FullCode()
           + (AItem.Level() == sklConc ? std::string() : " fullname=" + AItem.FullName())
           + " yosan=" + ValueText(AItem.KYOSAN()) + " memo=" + AItem.KMEMO();
}

std::vector<std::string> ItemTexts(const TSrcKamokuItems& AItems)
{
    std::vector<std::string> Result;
    for (int I = 0; I < AItems.Count(); ++I)
        Result.push_back(ItemText(AItems.KamokuItems(I)));
    return Result;
}

// The tree as indented lines: "G code", "  M code", "    C code" and, for
// minor items directly under a major item, "  C code".
std::vector<std::string> TreeText(const TSrcKamokuGrans& AGrans)
{
    std::vector<std::string> Lines;
    for (int G = 0; G < AGrans.Count(); ++G) {
        const TSrcKamokuGran& Gran = AGrans.Grans(G);
        Lines.push_back("G " + Gran.FullCode() + (Gran.GranConc() ? " granconc" : "")
                        + (Gran.Concs() != nullptr ? " concs" : ""));
        for (int M = 0; M < Gran.Midds().Count(); ++M) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(M);
            Lines.push_back("  M " + Midd.FullCode());
            for (int C = 0; C < Midd.Concs().Count(); ++C)
                Lines.push_back("    C " + Midd.Concs().Concs(C).FullCode());
        }
        if (Gran.Concs() != nullptr)
            for (int C = 0; C < Gran.Concs()->Count(); ++C)
                Lines.push_back("  C " + Gran.Concs()->Concs(C).FullCode());
    }
    return Lines;
}

class KamokuMasterTest : public ::testing::Test {
protected:
    std::unique_ptr<TSrcKamokuMaster> Load(const std::string& AText)
    {
        Log.Lines.clear();
        return std::make_unique<TSrcKamokuMaster>(Folder.WriteUtf8("kamoku.csv", AText), Log.Sink(),
                                                  Settings());
    }

    TempFolder Folder;
    MessageLog Log;
};

// ---------------------------------------------------------------------------
// Row checks: message, row prefix, and how far the loader read.

struct KamokuMessageCase {
    const char* Name;
    const char* Csv;
    std::vector<std::string> Messages; // after the loading line
    int ItemCount;                     // rows read before the load ended
    int GranCount;                     // major items placed in the tree
};

// Failures name the case.
void PrintTo(const KamokuMessageCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const KamokuMessageCase KamokuMessageCases[] = {
    // A bad major code stops the load at once; the bad budget below is never read.
    {"MajorCode010", "000,開始残高,,,500\n010,誤り,,,100\n,10,中,,abc\n", {"2行: コード1が無効です。"}, 2, 0},
    {"MajorCode300", "000,開始残高,,,500\n300,誤り,,,100\n,10,中,,abc\n", {"2行: コード1が無効です。"}, 2, 0},
    {"MajorCodeTwoCharacters", "000,開始残高,,,500\n10,誤り,,,100\n,10,中,,abc\n", {"2行: コード1が無効です。"}, 2, 0},
    {"MajorCodeFourCharacters", "000,開始残高,,,500\n1000,誤り,,,100\n,10,中,,abc\n", {"2行: コード1が無効です。"}, 2, 0},
    {"MajorCode001", "001,誤り,,,100\n000,開始残高,,,500\n", {"1行: コード1が無効です。"}, 1, 0},
    {"MajorCodeQuotedBlanksOnlyTwoLeft", "\" 10 \",誤り,,,100\n000,開始残高,,,500\n", {"1行: コード1が無効です。"}, 1, 0},
    // Middle and minor rows need a major row above them.
    {"MiddleBeforeAnyMajor", ",10,年会費,,600\n000,開始残高,,,500\n", {"1行: 大科目コードが指定されていません。"}, 1, 0},
    {"MinorBeforeAnyMajor", "\n,,1,正会員\n000,開始残高,,,500\n", {"2行: 大科目コードが指定されていません。"}, 2, 0},
    // Columns 1 to 3 empty on a row that is not blank.
    {"OnlyBudget", "000,開始残高,,,500\n,,,,100\n100,会費\n", {"2行: 科目の定義が無効です。"}, 2, 0},
    {"OnlyMemo", "000,開始残高,,,500\n,,,名前,,メモ\n100,会費\n", {"2行: 科目の定義が無効です。"}, 2, 0},
    {"DefinitionCheckedBeforeMajor", ",,,,100\n000,開始残高,,,500\n", {"1行: 科目の定義が無効です。"}, 1, 0},
    // A major item needs a numeric budget; the load stops after the row.
    {"MajorWithoutBudgetField", "000,開始残高,,,500\n100,会費\n,10,年会費,,abc\n",
     {"2行: 大科目の予算が指定されていません。"}, 2, 0},
    {"MajorWithEmptyBudget", "000,開始残高,,,500\n100,会費,,,\n,10,年会費,,abc\n",
     {"2行: 大科目の予算が指定されていません。"}, 2, 0},
    {"MajorWithTextBudget", "000,開始残高,,,500\n100,会費,,,多数\n,10,年会費,,abc\n",
     {"2行: 大科目の予算が指定されていません。"}, 2, 0},
    {"OpeningWithoutBudget", "000,開始残高\n100,会費,,,900\n", {"1行: 大科目の予算が指定されていません。"}, 1, 0},
    // A middle or minor budget may be empty but not a text.
    {"MiddleBudgetText", "000,開始残高,,,500\n100,会費,,,900\n,10,年会費,,abc\n,,1,正会員,xyz\n",
     {"3行: 予算額が無効です。"}, 3, 0},
    {"MinorBudgetText", "000,開始残高,,,500\n100,会費,,,900\n,10,年会費,,600\n,,1,正会員,xyz\n,,2,賛助,abc\n",
     {"4行: 予算額が無効です。"}, 4, 0},
    // A duplicate full code is reported on the later row; the load stops at
    // the next non-blank row, after that row's own checks.
    {"DuplicateMinorStopsAtNextNonBlankRow",
     R"(000,開始残高,,,500
100,会費,,,900
,10,年会費,,600
,,1,正会員
,,1,再掲

,20,賛助会費,,abc
,30,寄付,,xyz
)",
     {"5行: 完全コード '100.10.1' が重複しています。", "7行: 予算額が無効です。"}, 7, 0},
    {"DuplicateMajorStopsEvenAtValidRow",
     R"(000,開始残高,,,500
100,会費,,,900
100,会費再掲,,,900

200,支出,,,800
,10,中,,abc
)",
     {"3行: 完全コード '100' が重複しています。"}, 5, 0},
    {"DuplicateDifferingOnlyInCase",
     R"(000,開始残高,,,500
100,会費,,,900
,AB,年会費,,600
,ab,年会費2,,600
,CD,その他,,abc
)",
     {"4行: 完全コード '100.ab' が重複しています。", "5行: 予算額が無効です。"}, 5, 0},
    {"DuplicateMajorDifferingOnlyInCase", "000,開始残高,,,500\n1AB,寄付,,,100\n1ab,寄付,,,100\n",
     {"3行: 完全コード '1ab' が重複しています。"}, 3, 0},
    {"DuplicateMinorDirectlyUnderMajor", "000,開始残高,,,500\n200,支出,,,800\n,,5,用紙\n,,5,用紙\n",
     {"4行: 完全コード '200..5' が重複しています。"}, 4, 0},
    // On the last non-blank row the duplicate ends the load: no check for
    // 000, no tree.
    {"DuplicateOnLastRowSkipsOpeningCheck", "100,会費,,,900\n100,会費,,,900\n\n",
     {"2行: 完全コード '100' が重複しています。"}, 3, 0},
    {"MissingOpeningAccount", "100,会費,,,900\n,10,年会費,,600\n200,支出,,,800\n",
     {"開始残高科目（コード=000）が登録されていません。開始残高科目を登録し、開始残高を予算額として登録してください。"}, 3,
     0},
    // The tree-building error: a middle row under a major item whose minor
    // items hang directly under it. Later rows are not placed.
    {"MiddleAfterDirectMinorItems",
     R"(000,開始残高,,,500
200,支出,,,800

,,5,用紙
,10,交通費
210,雑費,,,100
)",
     {"5行: 大小科目に設定されているため、ここに中科目を設定することはできません。"}, 6, 2},
};

class KamokuMessageTest : public KamokuMasterTest, public ::testing::WithParamInterface<KamokuMessageCase> {};

TEST_P(KamokuMessageTest, SendsMessagesInOrderAndStops)
{
    const KamokuMessageCase& Case = GetParam();
    const auto Master = Load(Case.Csv);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(KamokuLead, Case.Messages)));
    EXPECT_FALSE(Master->Completed());
    EXPECT_EQ(Master->KamokuItems().Count(), Case.ItemCount);
    EXPECT_EQ(Master->Grans().Count(), Case.GranCount);
}

INSTANTIATE_TEST_SUITE_P(Kamoku, KamokuMessageTest, ::testing::ValuesIn(KamokuMessageCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Accepted files.

TEST_F(KamokuMasterTest, ExampleLoadsEveryRowAsAnItem)
{
    const auto Master = Load(ExampleMaster);
    EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    ASSERT_TRUE(Master->Completed());
    EXPECT_THAT(
        ItemTexts(Master->KamokuItems()),
        ElementsAre(
            "gran carrying [000||] code=000 name=開始残高 codename=000.開始残高 full=000 fullname=000.開始残高 yosan=float:500 memo=",
            "gran income [100||] code=100 name=会費 codename=100.会費 full=100 fullname=100.会費 yosan=float:900 memo=",
            "midd income [100|10|] code=10 name=年会費 codename=10.年会費 full=100.10 fullname=100.会費.10.年会費 yosan=float:600 memo=",
            "conc income [100|10|1] code=1 name=正会員 codename=1.正会員 full=100.10.1 yosan=null memo=",
            "gran expense [200||] code=200 name=支出 codename=200.支出 full=200 fullname=200.支出 yosan=float:800 memo=",
            "conc expense [200||5] code=5 name=用紙 codename=5.用紙 full=200..5 yosan=null memo="));
}

// Only column 1 is trimmed; quoted blanks elsewhere stay. Fields beyond the
// sixth are ignored; the columns 3 and 4 of a major row are ignored.
TEST_F(KamokuMasterTest, CodesNamesBudgetsAndMemos)
{
    const auto Master = Load(R"(" 100 ",会費,,,900,年会費など
000,開始残高,,,"1,500.5"
1AB,寄付,無視,無視,0,メモ,余分
," x y ",中名,,,
,,5,用紙,,
,,"6 ",,-20
)");
    EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    ASSERT_TRUE(Master->Completed());
    EXPECT_THAT(
        ItemTexts(Master->KamokuItems()),
        ElementsAre(
            "gran income [100||] code=100 name=会費 codename=100.会費 full=100 fullname=100.会費 yosan=float:900 memo=年会費など",
            "gran carrying [000||] code=000 name=開始残高 codename=000.開始残高 full=000 fullname=000.開始残高 yosan=float:1500.5 memo=",
            "gran income [1AB||] code=1AB name=寄付 codename=1AB.寄付 full=1AB fullname=1AB.寄付 yosan=float:0 memo=メモ",
            "midd income [1AB| x y |] code= x y  name=中名 codename= x y .中名 full=1AB. x y  fullname=1AB.寄付. x y .中名 yosan=null memo=",
            "conc income [1AB| x y |5] code=5 name=用紙 codename=5.用紙 full=1AB. x y .5 yosan=null memo=",
            "conc income [1AB| x y |6 ] code=6  name= codename=6 . full=1AB. x y .6  yosan=float:-20 memo="));
}

// A blank line stays an empty item at its index and counts in row numbers.
TEST_F(KamokuMasterTest, BlankLinesStayAsEmptyItems)
{
    const auto Master = Load("\n000,開始残高,,,500\n,,\n100,会費,,,900\n   \n,10,年会費\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    ASSERT_TRUE(Master->Completed());
    const std::string Empty = "gran carrying [||] code= name= codename= full= fullname= yosan=null memo=";
    const auto Texts = ItemTexts(Master->KamokuItems());
    ASSERT_EQ(Texts.size(), 6u);
    EXPECT_EQ(Texts[0], Empty);
    EXPECT_EQ(Texts[2], Empty);
    EXPECT_EQ(Texts[4], Empty);
    EXPECT_EQ(Master->KamokuItems().KamokuItems(5).FullCode(), "100.10");
    int Index = -1;
    EXPECT_TRUE(Master->KamokuItems().Find("100.10", Index));
    EXPECT_EQ(Index, 5);
    EXPECT_FALSE(Master->KamokuItems().Find("", Index));
    EXPECT_EQ(Index, -1);
}

TEST_F(KamokuMasterTest, MajorRowsOnly)
{
    const auto Master = Load("000,開始残高,,,500\n100,会費,,,900\n200,支出,,,800\n");
    ASSERT_TRUE(Master->Completed());
    EXPECT_THAT(TreeText(Master->Grans()), ElementsAre("G 000", "G 100", "G 200"));
}

// ---------------------------------------------------------------------------
// The tree.

TEST_F(KamokuMasterTest, TreeOfTheExample)
{
    const auto Master = Load(ExampleMaster);
    ASSERT_TRUE(Master->Completed());
    const TSrcKamokuGrans& Grans = Master->Grans();
    EXPECT_THAT(TreeText(Grans),
                ElementsAre("G 000", "G 100", "  M 100.10", "    C 100.10.1", "G 200 granconc concs", "  C 200..5"));
    // The tree holds copies with equal fields, not the items themselves.
    for (int G = 0; G < Grans.Count(); ++G) {
        int Index = -1;
        ASSERT_TRUE(Master->KamokuItems().Find(Grans.Grans(G).FullCode(), Index));
        const TSrcKamokuItem& Item = Master->KamokuItems().KamokuItems(Index);
        EXPECT_NE(static_cast<const TSrcKamokuItem*>(&Grans.Grans(G)), &Item);
        EXPECT_EQ(ItemText(Grans.Grans(G)), ItemText(Item));
    }
    const TSrcKamokuGran& Expense = Grans.Grans(2);
    ASSERT_NE(Expense.Concs(), nullptr);
    EXPECT_EQ(ItemText(Expense.Concs()->Concs(0)), ItemText(Master->KamokuItems().KamokuItems(5)));
    EXPECT_EQ(Expense.Midds().Count(), 0);
}

// A major row clears the current middle code: the minor row after the major
// 200 hangs directly under 200, not under 100.10.
TEST_F(KamokuMasterTest, MajorRowClearsCurrentMiddle)
{
    const auto Master = Load("000,開始残高,,,500\n100,会費,,,900\n,10,年会費\n,,1,正会員\n200,支出,,,800\n,,5,用紙\n,,6,切手\n");
    ASSERT_TRUE(Master->Completed());
    EXPECT_EQ(Master->KamokuItems().KamokuItems(5).FullCode(), "200..5");
    EXPECT_EQ(Master->KamokuItems().KamokuItems(5).KCODE2(), "");
    EXPECT_THAT(TreeText(Master->Grans()), ElementsAre("G 000", "G 100", "  M 100.10", "    C 100.10.1",
                                                       "G 200 granconc concs", "  C 200..5", "  C 200..6"));
}

// Minor rows after a middle row belong to that middle row; the same minor
// code under two middle items is two accounts.
TEST_F(KamokuMasterTest, SameMinorCodeUnderTwoMiddles)
{
    const auto Master = Load("000,開始残高,,,500\n100,会費,,,900\n,10,年会費\n,,1,正会員\n,20,賛助\n,,1,法人\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    ASSERT_TRUE(Master->Completed());
    EXPECT_THAT(TreeText(Master->Grans()),
                ElementsAre("G 000", "G 100", "  M 100.10", "    C 100.10.1", "  M 100.20", "    C 100.20.1"));
}

TEST_F(KamokuMasterTest, IndexOfIgnoresLetterCase)
{
    const auto Master = Load("000,開始残高,,,500\n1AB,寄付,,,100\n,Cd,中,,\n,,Ef,小\n2xY,支出,,,1\n");
    ASSERT_TRUE(Master->Completed());
    const TSrcKamokuGrans& Grans = Master->Grans();
    EXPECT_EQ(Grans.IndexOf("000"), 0);
    EXPECT_EQ(Grans.IndexOf("1ab"), 1);
    EXPECT_EQ(Grans.IndexOf("2XY"), 2);
    EXPECT_EQ(Grans.IndexOf("200"), -1);
    EXPECT_EQ(Grans.Grans(1).Midds().IndexOf("CD"), 0);
    EXPECT_EQ(Grans.Grans(1).Midds().IndexOf("c"), -1);
    EXPECT_EQ(Grans.Grans(1).Midds().Midds(0).Concs().IndexOf("eF"), 0);
}

// ---------------------------------------------------------------------------
// Find.

struct KamokuFindCase {
    const char* Name;
    const char* FullCode;
    bool Found;
    TSrcKamokuInout Inout;
    TSrcKamokuLevel Level;
    int Index1, Index2, Index3;
    int Index; // the one-argument form
};

// Failures name the case.
void PrintTo(const KamokuFindCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const KamokuFindCase KamokuFindCases[] = {
    {"Opening", "000", true, skiCarrying, sklGran, 0, -1, -1, 0},
    {"IncomeMajor", "100", true, skiIncome, sklGran, 1, -1, -1, 1},
    {"Middle", "100.10", true, skiIncome, sklMidd, 1, 2, -1, 2},
    {"MinorUnderMiddle", "100.10.1", true, skiIncome, sklConc, 1, 2, 3, 3},
    {"ExpenseMajor", "200", true, skiExpense, sklGran, 4, -1, -1, 4},
    {"MinorDirectlyUnderMajor", "200..5", true, skiExpense, sklConc, 4, -1, 5, 5},
    {"MinorWithOneDot", "200.5", false, skiCarrying, sklGran, -1, -1, -1, -1},
    {"UnknownMinor", "100.10.2", false, skiCarrying, sklGran, -1, -1, -1, -1},
    {"MiddleCodeAlone", "10", false, skiCarrying, sklGran, -1, -1, -1, -1},
    {"Empty", "", false, skiCarrying, sklGran, -1, -1, -1, -1},
    {"TrailingDot", "100.", false, skiCarrying, sklGran, -1, -1, -1, -1},
};

class KamokuFindTest : public KamokuMasterTest, public ::testing::WithParamInterface<KamokuFindCase> {};

TEST_P(KamokuFindTest, ResolvesFullCode)
{
    const KamokuFindCase& Case = GetParam();
    const auto Master = Load(ExampleMaster);
    ASSERT_TRUE(Master->Completed());
    TSrcKamokuInout Inout = skiExpense;
    TSrcKamokuLevel Level = sklConc;
    int Index1 = 99, Index2 = 99, Index3 = 99, Index = 99;
    EXPECT_EQ(Master->KamokuItems().Find(Case.FullCode, Inout, Level, Index1, Index2, Index3), Case.Found);
    EXPECT_EQ(InoutText(Inout), InoutText(Case.Inout));
    EXPECT_EQ(LevelText(Level), LevelText(Case.Level));
    EXPECT_EQ(Index1, Case.Index1);
    EXPECT_EQ(Index2, Case.Index2);
    EXPECT_EQ(Index3, Case.Index3);
    EXPECT_EQ(Master->KamokuItems().Find(Case.FullCode, Index), Case.Found);
    EXPECT_EQ(Index, Case.Index);
}

INSTANTIATE_TEST_SUITE_P(Kamoku, KamokuFindTest, ::testing::ValuesIn(KamokuFindCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(KamokuMasterTest, FindIgnoresLetterCase)
{
    const auto Master = Load("000,開始残高,,,500\n1AB,寄付,,,100\n,Cd,中,,\n,,Ef,小\n");
    ASSERT_TRUE(Master->Completed());
    const TSrcKamokuItems& Items = Master->KamokuItems();
    int Index = -1;
    EXPECT_TRUE(Items.Find("1ab", Index));
    EXPECT_EQ(Index, 1);
    EXPECT_TRUE(Items.Find("1Ab.cD", Index));
    EXPECT_EQ(Index, 2);
    TSrcKamokuInout Inout = skiCarrying;
    TSrcKamokuLevel Level = sklGran;
    int Index1 = -1, Index2 = -1, Index3 = -1;
    EXPECT_TRUE(Items.Find("1ab.CD.ef", Inout, Level, Index1, Index2, Index3));
    EXPECT_EQ(InoutText(Inout), "income");
    EXPECT_EQ(LevelText(Level), "conc");
    EXPECT_EQ(Index1, 1);
    EXPECT_EQ(Index2, 2);
    EXPECT_EQ(Index3, 3);
    // Only A to Z fold: a full-width letter is another character.
    EXPECT_FALSE(Items.Find("１AB", Index));
}

// ---------------------------------------------------------------------------
// Files.

TEST_F(KamokuMasterTest, Cp932FileLoadsLikeUtf8)
{
    const auto Utf8 = Load(ExampleMaster);
    const auto Utf8Items = ItemTexts(Utf8->KamokuItems());
    Log.Lines.clear();
    const TSrcKamokuMaster Cp932(Folder.WriteCp932("kamoku932.csv", ExampleMaster), Log.Sink(), Settings());
    EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    EXPECT_TRUE(Cp932.Completed());
    EXPECT_THAT(ItemTexts(Cp932.KamokuItems()), ElementsAreArray(Utf8Items));
    EXPECT_EQ(Cp932.KamokuItems().KamokuItems(1).KNAME(), "会費");
}

TEST_F(KamokuMasterTest, UnreadableFileRaisesWithoutRowPrefix)
{
    const std::string Paths[] = {Folder.Path("missing.csv"), Folder.Path("")};
    for (const std::string& Path : Paths) {
        SCOPED_TRACE(Path);
        Log.Lines.clear();
        try {
            TSrcKamokuMaster Master(Path, Log.Sink(), Settings());
            ADD_FAILURE() << "no error raised";
        } catch (const ETvrError& E) {
            EXPECT_STRNE(E.what(), "");
            EXPECT_FALSE(HasRowPrefix(E.what())) << E.what();
        }
        EXPECT_THAT(Log.Lines, ElementsAre(KamokuLead));
    }
}

TEST(KamokuFieldDefs, SixColumns)
{
    const TTvrFieldDefDynArray& Defs = TSrcKamokuMaster::FieldDefs();
    ASSERT_EQ(Defs.size(), 6u);
    EXPECT_EQ(Defs[0].Name, "コード1");
    EXPECT_EQ(Defs[1].Name, "科目名1/コード2");
    EXPECT_EQ(Defs[4].Name, "予算額");
    EXPECT_EQ(Defs[4].FieldType, sftDouble);
    EXPECT_EQ(Defs[5].CharCount, 50);
}

} // namespace
} // namespace tavrel::test
