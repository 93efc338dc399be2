// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Loader tests of the person master: the two row checks, the fields of a
// row, and Find.

#include "SourcesTestSupport.h"

#include "sources/SrcTantosha.h"

namespace tavrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const TantoshaLead = "担当者マスタ読込中...";

std::string RowText(const TSrcTantosha& ARow)
{
    return std::string(ARow.Empty() ? "empty" : "row") + " code=" + ARow.TCODE() + " name=" + ARow.TNAME()
           + " memo=" + ARow.TMEMO() + " codename=" + ARow.CodeName() + " hint=" + ARow.Hint();
}

std::vector<std::string> RowTexts(const TSrcTantoshas& ARows)
{
    std::vector<std::string> Result;
    for (int I = 0; I < ARows.Count(); ++I)
        Result.push_back(RowText(ARows.Tantoshas(I)));
    return Result;
}

class TantoshaMasterTest : public ::testing::Test {
protected:
    std::unique_ptr<TSrcTantoshaMaster> Load(const std::string& AText)
    {
        Log.Lines.clear();
        return std::make_unique<TSrcTantoshaMaster>(Folder.WriteUtf8("tantosha.csv", AText), Log.Sink());
    }

    TempFolder Folder;
    MessageLog Log;
};

struct TantoshaMessageCase {
    const char* Name;
    const char* Csv;
    std::vector<std::string> Messages; // after the loading line
    int RowCount;
};

// Failures name the case.
void PrintTo(const TantoshaMessageCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const TantoshaMessageCase TantoshaMessageCases[] = {
    {"EmptyFile", "", {}, 0},
    {"BlankLinesOnly", "\n,,\n  \n", {}, 3},
    {"DistinctCodes", "A01,山田\nA02,佐藤\n\nB01,鈴木\n", {}, 4},
    {"DuplicateIgnoringCase", "A01,山田\na01,佐藤\n", {"2行: 担当者コード 'a01' が重複しています。"}, 2},
    {"QuotedCodesTrimmedBeforeComparing", "\" A01 \",山田\nA01,佐藤\n",
     {"2行: 担当者コード 'A01' が重複しています。"}, 2},
    {"OneMessagePerEqualEarlierRow", "A01,山田\na01,佐藤\n\nA01,鈴木\n",
     {"2行: 担当者コード 'a01' が重複しています。", "4行: 担当者コード 'A01' が重複しています。",
      "4行: 担当者コード 'A01' が重複しています。"},
     4},
    {"NameWithoutCodeOnFirstLine", ",山田\nA01,佐藤\n", {"1行: 担当者コードが無効です。"}, 2},
    // A row without a code also equals every earlier empty code, blank
    // lines included.
    {"BlankLineThenNameOnly", "\n,山田\n",
     {"2行: 担当者コードが無効です。", "2行: 担当者コード '' が重複しています。"}, 2},
    {"TwoBlankLinesThenNameOnly", "\n  \n\"  \",山田,メモ\n",
     {"3行: 担当者コードが無効です。", "3行: 担当者コード '' が重複しています。",
      "3行: 担当者コード '' が重複しています。"},
     3},
    {"LoadingGoesOnAfterErrors", ",山田\nA01,佐藤\n,鈴木\na01,田中\nB01,高橋\n",
     {"1行: 担当者コードが無効です。", "3行: 担当者コードが無効です。", "3行: 担当者コード '' が重複しています。",
      "4行: 担当者コード 'a01' が重複しています。"},
     5},
    // A blank line after rows is not compared with them.
    {"BlankLineNotReported", "A01,山田\n\n,,\n", {}, 3},
};

class TantoshaMessageTest : public TantoshaMasterTest,
                           public ::testing::WithParamInterface<TantoshaMessageCase> {};

TEST_P(TantoshaMessageTest, ReportsEveryBadRow)
{
    const TantoshaMessageCase& Case = GetParam();
    const auto Master = Load(Case.Csv);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(TantoshaLead, Case.Messages)));
    EXPECT_EQ(Master->Completed(), Case.Messages.empty());
    EXPECT_EQ(Master->Tantoshas().Completed(), Case.Messages.empty());
    EXPECT_EQ(Master->Tantoshas().Count(), Case.RowCount);
}

INSTANTIATE_TEST_SUITE_P(Tantosha, TantoshaMessageTest, ::testing::ValuesIn(TantoshaMessageCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// Code and name are trimmed, the memo stays as split; fields after the third
// are ignored; a code-only row has an empty name.
TEST_F(TantoshaMasterTest, RowFields)
{
    const auto Master = Load("\" A01 \",\" 山田 \",\" 会計 \",余分\n\nX\n,鈴木,メモ\nB02,佐藤,\n");
    EXPECT_THAT(Log.Lines, ElementsAre(TantoshaLead, "4行: 担当者コードが無効です。",
                                       "4行: 担当者コード '' が重複しています。"));
    EXPECT_THAT(RowTexts(Master->Tantoshas()),
                ElementsAre("row code=A01 name=山田 memo= 会計  codename=A01.山田 hint=",
                            "empty code= name= memo= codename= hint=",
                            "row code=X name= memo= codename=X. hint=",
                            "row code= name= memo= codename= hint=担当者コードが無効です。",
                            "row code=B02 name=佐藤 memo= codename=B02.佐藤 hint="));
}

struct TantoshaFindCase {
    const char* Name;
    const char* Code;
    int Index;
};

// Failures name the case.
void PrintTo(const TantoshaFindCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const TantoshaFindCase TantoshaFindCases[] = {
    {"SameCase", "A01", 1},
    {"OtherCase", "a01", 1},
    {"MixedLetters", "bC2", 3},
    {"AfterBlankLine", "C03", 4},
    {"Unknown", "A02", -1},
    {"BlankNeverFound", "", -1},
    {"NotTrimmed", " A01", -1},
    {"FullWidthLetterIsAnotherCharacter", "Ａ01", -1},
};

class TantoshaFindTest : public TantoshaMasterTest, public ::testing::WithParamInterface<TantoshaFindCase> {};

TEST_P(TantoshaFindTest, FindsByCodeIgnoringCase)
{
    const TantoshaFindCase& Case = GetParam();
    const auto Master = Load("\nA01,山田\n  \nBc2,佐藤\nC03,鈴木\n,,\n");
    ASSERT_TRUE(Master->Completed());
    int Index = 99;
    EXPECT_EQ(Master->Tantoshas().Find(Case.Code, Index), Case.Index >= 0);
    EXPECT_EQ(Index, Case.Index);
}

INSTANTIATE_TEST_SUITE_P(Tantosha, TantoshaFindTest, ::testing::ValuesIn(TantoshaFindCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(TantoshaMasterTest, Cp932File)
{
    const TSrcTantoshaMaster Master(Folder.WriteCp932("tantosha932.csv", "A01,山田,会計係\n"), Log.Sink());
    EXPECT_THAT(Log.Lines, ElementsAre(TantoshaLead));
    EXPECT_THAT(RowTexts(Master.Tantoshas()), ElementsAre("row code=A01 name=山田 memo=会計係 codename=A01.山田 hint="));
}

TEST_F(TantoshaMasterTest, NoFileNameLoadsNothing)
{
    const TSrcTantoshaMaster Master("", Log.Sink());
    EXPECT_TRUE(Master.Completed());
    EXPECT_EQ(Master.Tantoshas().Count(), 0);
    EXPECT_THAT(Log.Lines, ElementsAre());
}

TEST_F(TantoshaMasterTest, UnreadableFileRaisesWithoutRowPrefix)
{
    const std::string Paths[] = {Folder.Path("missing.csv"), Folder.Path("")};
    for (const std::string& Path : Paths) {
        SCOPED_TRACE(Path);
        try {
            TSrcTantoshaMaster Master(Path, Log.Sink());
            ADD_FAILURE() << "no error raised";
        } catch (const ETvrError& E) {
            EXPECT_STRNE(E.what(), "");
            EXPECT_FALSE(HasRowPrefix(E.what())) << E.what();
        }
    }
}

TEST_F(TantoshaMasterTest, ClearEmptiesAndCompletes)
{
    const auto Master = Load(",山田\nA01,佐藤\n");
    EXPECT_FALSE(Master->Completed());
    Master->Tantoshas().Clear();
    EXPECT_TRUE(Master->Completed());
    EXPECT_EQ(Master->Tantoshas().Count(), 0);
    int Index = 0;
    EXPECT_FALSE(Master->Tantoshas().Find("A01", Index));
    EXPECT_EQ(Index, -1);
}

TEST(TantoshaFieldDefs, ThreeColumns)
{
    const TTvrFieldDefDynArray& Defs = TSrcTantoshaMaster::FieldDefs();
    ASSERT_EQ(Defs.size(), 3u);
    EXPECT_EQ(Defs[0].Name, "担当者コード");
    EXPECT_EQ(Defs[0].CharCount, 6);
    EXPECT_EQ(Defs[1].Name, "担当者名");
    EXPECT_EQ(Defs[2].Name, "メモ");
}

} // namespace
} // namespace tavrel::test
