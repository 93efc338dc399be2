// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Loader tests of the balance table: the first failing check of each row,
// every row processed, and the values of the rows.

#include "SourcesTestSupport.h"

#include "sources/SrcZandaka.h"

namespace tavrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const ZandakaLead = "残高テーブル読込中...";

std::string RowText(const TSrcZandaka& ARow)
{
    return std::string(ARow.Empty() ? "empty " : "row ") + DateText(ARow.ZDATE()) + " cash=" + ValueText(ARow.ZCASH())
           + " bank=" + ValueText(ARow.ZBANK()) + " hint=" + ARow.Hint();
}

class ZandakaTableTest : public ::testing::Test {
protected:
    std::unique_ptr<TSrcZandakaTable> Load(const std::string& AText)
    {
        Log.Lines.clear();
        return std::make_unique<TSrcZandakaTable>(Folder.WriteUtf8("zandaka.csv", AText), Log.Sink(), Settings(),
                                                  Today());
    }

    TempFolder Folder;
    MessageLog Log;
};

struct ZandakaCase {
    const char* Name;
    const char* Csv;
    std::vector<std::string> Messages; // after the loading line
    std::vector<std::string> Rows;     // RowText of every row
};

// Failures name the case.
void PrintTo(const ZandakaCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const ZandakaCase ZandakaCases[] = {
    {"EmptyFile", "", {}, {}},
    {"DateWithBothBalancesEmpty", "2019/04/01,,\n2019/04/02\n", {},
     {"row 2019/04/01 cash=null bank=null hint=", "row 2019/04/02 cash=null bank=null hint="}},
    {"BalancesAsNumbers", "2019/04/01,\"1,500.5\",-20\n", {},
     {"row 2019/04/01 cash=float:1500.5 bank=float:-20 hint="}},
    {"HyphenAndFullStopDates", "2019-04-01,1,2\n2019.4.2,3,4\n", {},
     {"row 2019/04/01 cash=float:1 bank=float:2 hint=", "row 2019/04/02 cash=float:3 bank=float:4 hint="}},
    {"AnyOrderAndRepeatedDates", "2019/05/01,1,\n2019/04/01,2,\n2019/05/01,3,\n", {},
     {"row 2019/05/01 cash=float:1 bank=null hint=", "row 2019/04/01 cash=float:2 bank=null hint=",
      "row 2019/05/01 cash=float:3 bank=null hint="}},
    {"FieldsAfterThirdIgnored", "2019/04/01,1,2,何か,abc\n", {},
     {"row 2019/04/01 cash=float:1 bank=float:2 hint="}},
    // Only the first failing check of a row is reported.
    {"CashWordReportedBeforeBadBank", "2019/04/01,多い,少ない\n", {"1行: 現金残高が無効です。"},
     {"row 2019/04/01 cash=text:多い bank=null hint=現金残高が無効です。"}},
    {"BankWord", "2019/04/01,100,abc\n", {"1行: 預金残高が無効です。"},
     {"row 2019/04/01 cash=float:100 bank=text:abc hint=預金残高が無効です。"}},
    {"OnlyBankBalanceWithoutDate", ",,100\n", {"1行: 日付が無効です。"},
     {"row 2026/12/10 cash=null bank=null hint=日付が無効です。"}},
    {"DateNotADay", "2019/02/29,abc,abc\n", {"1行: 日付が無効です。"},
     {"row 2026/12/10 cash=null bank=null hint=日付が無効です。"}},
    // Every row is read; blank lines count in the row numbers.
    {"EveryBadRowReported", "\n2019/04/01,x\n,,\n2019/13/01\n2019/04/03,1,2\n2019/04/04,,y\n",
     {"2行: 現金残高が無効です。", "4行: 日付が無効です。", "6行: 預金残高が無効です。"},
     {"empty 2026/12/10 cash=null bank=null hint=", "row 2019/04/01 cash=text:x bank=null hint=現金残高が無効です。",
      "empty 2026/12/10 cash=null bank=null hint=", "row 2026/12/10 cash=null bank=null hint=日付が無効です。",
      "row 2019/04/03 cash=float:1 bank=float:2 hint=",
      "row 2019/04/04 cash=null bank=text:y hint=預金残高が無効です。"}},
};

class ZandakaMessageTest : public ZandakaTableTest, public ::testing::WithParamInterface<ZandakaCase> {};

TEST_P(ZandakaMessageTest, ChecksEveryRow)
{
    const ZandakaCase& Case = GetParam();
    const auto Table = Load(Case.Csv);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(ZandakaLead, Case.Messages)));
    EXPECT_EQ(Table->Completed(), Case.Messages.empty());
    std::vector<std::string> Rows;
    for (int I = 0; I < Table->Zandakas().Count(); ++I)
        Rows.push_back(RowText(Table->Zandakas().Zandakas(I)));
    EXPECT_THAT(Rows, ElementsAreArray(Case.Rows));
}

INSTANTIATE_TEST_SUITE_P(Zandaka, ZandakaMessageTest, ::testing::ValuesIn(ZandakaCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(ZandakaTableTest, Cp932File)
{
    const TSrcZandakaTable Table(Folder.WriteCp932("zandaka932.csv", "2019/04/01,壱,2\n"), Log.Sink(), Settings(),
                                 Today());
    EXPECT_THAT(Log.Lines, ElementsAre(ZandakaLead, "1行: 現金残高が無効です。"));
    EXPECT_EQ(ValueText(Table.Zandakas().Zandakas(0).ZCASH()), "text:壱");
}

TEST_F(ZandakaTableTest, NoFileNameLoadsNothing)
{
    const TSrcZandakaTable Table("", Log.Sink(), Settings(), Today());
    EXPECT_TRUE(Table.Completed());
    EXPECT_EQ(Table.Zandakas().Count(), 0);
    EXPECT_THAT(Log.Lines, ElementsAre());
}

TEST_F(ZandakaTableTest, UnreadableFileRaisesWithoutRowPrefix)
{
    const std::string Paths[] = {Folder.Path("missing.csv"), Folder.Path("")};
    for (const std::string& Path : Paths) {
        SCOPED_TRACE(Path);
        try {
            TSrcZandakaTable Table(Path, Log.Sink(), Settings(), Today());
            ADD_FAILURE() << "no error raised";
        } catch (const ETvrError& E) {
            EXPECT_STRNE(E.what(), "");
            EXPECT_FALSE(HasRowPrefix(E.what())) << E.what();
        }
    }
}

TEST(ZandakaFieldDefs, ThreeColumns)
{
    const TTvrFieldDefDynArray& Defs = TSrcZandakaTable::FieldDefs();
    ASSERT_EQ(Defs.size(), 3u);
    EXPECT_EQ(Defs[0].Name, "日付");
    EXPECT_EQ(Defs[0].FieldType, sftDate);
    EXPECT_EQ(Defs[1].Name, "現金残高");
    EXPECT_EQ(Defs[2].Name, "預金残高");
    EXPECT_EQ(Defs[2].FieldType, sftDouble);
}

} // namespace
} // namespace tavrel::test
