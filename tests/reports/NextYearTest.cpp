// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Next year's four source tables made from this year's: the master with the
// new opening balance and every other line as it was, the person master,
// the balance table of the hand-over and the starting row of the next
// period; and the folder they go into, which is never overwritten.

#include "ReportsTestSupport.h"

#include <sys/stat.h>
#include <algorithm>
#include <utime.h>

#include "reports/RptNextYear.h"

namespace tavrel::rpttest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

// Closing: cash 1000 + 300 - 120 - 200 = 980, bank 480 + 200 + 3 = 683.
Sources Year()
{
    Sources S;
    S.Kamoku = {
        "000,前期繰越金,,,1480,前年度の現金＋預金",
        "",
        "101,会費収入,,,1000,\"年額 3,600円\"",
        ",01,正会員,,800,",
        ",,1,一般,,",
        "  ",
        "102,利息,,,0,",
        "201,事務費,,,500,",
        "  ,  \"20\" ,用紙代,,\"1,000\",",
    };
    S.Kinsen = {
        "",
        "2025/04/01,2026/03/31,,,,前期繰越,01,000,1000,480",
        "2025/04/10,,,,,会費,01,101,300,",
        "2025/05/01,,,,,用紙,02,201.20,-120,",
        "2025/05/01,,,,,預入,01,,-200,200",
        "2025/06/15,,,,,利息,,102,,3",
    };
    S.Tantosha = {"01,佐藤　恵子,会計", "", "02,\"高橋, 正樹\",会長"};
    S.UseTantosha = true;
    return S;
}

TRptNextYearSources SourcesOf(const LoadedYear& AYear, bool ATantosha)
{
    return {AYear.Source(kKamokuFile), ATantosha ? AYear.Source(kTantoshaFile) : std::string(),
            AYear.Source(kKinsenFile)};
}

std::vector<std::string> Names(const std::vector<TRptTableText>& ATables)
{
    std::vector<std::string> Result;
    for (const TRptTableText& Table : ATables)
        Result.push_back(Table.FileName);
    return Result;
}

TEST(NextYearTables, CarryTheClosingBalancesForwardAndKeepEverythingElse)
{
    const LoadedYear Y(Year());
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const std::vector<TRptTableText> Tables = MakeNextYearTables(SourcesOf(Y, true), *Y.Kinsen, Y.Settings);
    ASSERT_THAT(Names(Tables), ElementsAre("収支科目マスタ.csv", "担当者マスタ.csv", "残高テーブル.csv", "金銭出納テーブル.csv"));
    // Only the budget of 000 changes; the other budgets are the draft of next
    // year's. Lines are made again from their fields: blank lines stay
    // (empty), quoting only where a field needs it.
    EXPECT_THAT(TextLines(Tables[0].Text), ElementsAre("000,前期繰越金,,,1663,前年度の現金＋預金",
                                                        "",
                                                        "101,会費収入,,,1000,\"年額 3,600円\"",
                                                        ",01,正会員,,800,",
                                                        ",,1,一般,,",
                                                        "",
                                                        "102,利息,,,0,",
                                                        "201,事務費,,,500,",
                                                        ",20,用紙代,,\"1,000\","));
    EXPECT_THAT(TextLines(Tables[1].Text), ElementsAre("01,佐藤　恵子,会計", "", "02,\"高橋, 正樹\",会長"));
    EXPECT_THAT(TextLines(Tables[2].Text), ElementsAre("2026/03/31,980,683"));
    EXPECT_THAT(TextLines(Tables[3].Text), ElementsAre("2026/04/01,2027/03/31,,,,前期繰越,01,000,980,683"));
}

TEST(NextYearTables, WithoutAPersonMasterThereAreThreeTables)
{
    Sources S = Year();
    S.UseTantosha = false;
    const LoadedYear Y(S);
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const std::vector<TRptTableText> Tables = MakeNextYearTables(SourcesOf(Y, false), *Y.Kinsen, Y.Settings);
    EXPECT_THAT(Names(Tables), ElementsAre("収支科目マスタ.csv", "残高テーブル.csv", "金銭出納テーブル.csv"));
    // The person column of the starting row is carried as written, although
    // this year's run did not read it.
    EXPECT_THAT(TextLines(Tables[2].Text), ElementsAre("2026/04/01,2027/03/31,,,,前期繰越,01,000,980,683"));
}

TEST(NextYearTables, StartingRowTextsAsWrittenAndAPeriodEndingOn29February)
{
    Sources S = Year();
    S.Kinsen[1] = "2023/03/01,2024/02/29,繰越,\"前年度 会計\",007,前期繰越,01,000,1000,480";
    for (std::string& Row : S.Kinsen)
        if (Row.rfind("2025/", 0) == 0)
            Row.replace(0, 4, "2023");
    const LoadedYear Y(S);
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    const std::vector<TRptTableText> Tables = MakeNextYearTables(SourcesOf(Y, true), *Y.Kinsen, Y.Settings);
    EXPECT_THAT(TextLines(Tables[2].Text), ElementsAre("2024/02/29,980,683"));
    EXPECT_THAT(TextLines(Tables[3].Text),
                ElementsAre("2024/03/01,2025/02/28,繰越,\"前年度 会計\",007,前期繰越,01,000,980,683"));
}

TEST(NextYearTables, ShortOrQuotedOpeningRowGetsTheBudgetInItsFifthField)
{
    const LoadedYear Y(Year());
    ASSERT_TRUE(Y.Completed()) << LogText(Y.Log);
    // clang-format off
    const struct { const char* Row; const char* Made; } kCases[] = {
        {"000,前期繰越金", "000,前期繰越金,,,1663"},
        {"\" 000 \",前期繰越金,,,1480,メモ,余分", "\" 000 \",前期繰越金,,,1663,メモ,余分"},
        {"000", "000,,,,1663"},
        {"0000,前期繰越金,,,1480", "0000,前期繰越金,,,1480"},
        {",000,中科目,,5,", ",000,中科目,,5,"},
    };
    // clang-format on
    for (const auto& C : kCases) {
        TempFolder Other;
        const std::string Master = WriteTable(Other, kKamokuFile, {C.Row});
        TRptNextYearSources Sources = SourcesOf(Y, false);
        Sources.KamokuMaster = Master;
        const std::vector<TRptTableText> Tables = MakeNextYearTables(Sources, *Y.Kinsen, Y.Settings);
        EXPECT_THAT(TextLines(Tables[0].Text), ElementsAre(C.Made)) << C.Row;
    }
}

// The size, bytes and modification time of every entry of a folder.
std::vector<std::string> Snapshot(const std::string& AFolder)
{
    std::vector<std::string> Result;
    for (const auto& Entry : std::filesystem::directory_iterator(AFolder)) {
        struct stat St {};
        ::lstat(Entry.path().c_str(), &St);
        std::string Line = Entry.path().filename().string() + " " + std::to_string(St.st_mtim.tv_sec) + "."
                           + std::to_string(St.st_mtim.tv_nsec);
        if (Entry.is_regular_file())
            Line += " " + ReadBytes(Entry.path().string());
        Result.push_back(Line);
    }
    std::sort(Result.begin(), Result.end());
    return Result;
}

const std::vector<TRptTableText> kTables = {{"収支科目マスタ.csv", "000,前期繰越,,,5,\r\n"},
                                            {"残高テーブル.csv", "2026/03/31,2,3\r\n"},
                                            {"金銭出納テーブル.csv", "2026/04/01,2027/03/31,,,,,,000,2,3\r\n"}};

TEST(WriteNextYearTables, CreatesTheFolderAndLogsEachTable)
{
    TempFolder Temp;
    const std::string Folder = Temp.Path("2026年度/会計");
    std::vector<std::string> Log;
    WriteNextYearTables(Folder, kTables, [&](const std::string& AMessage) { Log.push_back(AMessage); });
    EXPECT_THAT(Log, ElementsAre("次年度 収支科目マスタ.csv 作成中...", "次年度 残高テーブル.csv 作成中...",
                                 "次年度 金銭出納テーブル.csv 作成中..."));
    EXPECT_EQ(ReadBytes(Folder + "/収支科目マスタ.csv"), test::ToCp932("000,前期繰越,,,5,\r\n"));
    EXPECT_EQ(ReadBytes(Folder + "/金銭出納テーブル.csv"), "2026/04/01,2027/03/31,,,,,,000,2,3\r\n");
    // A folder holding other files is fine.
    const std::string Used = Temp.Path("used");
    Temp.WriteBytes("used/メモ.txt", "x");
    Temp.WriteBytes("used/収支科目マスタ.csv.bak", "x");
    WriteNextYearTables(Used, kTables, [](const std::string&) {});
    EXPECT_TRUE(std::filesystem::is_regular_file(Used + "/残高テーブル.csv"));
}

TEST(WriteNextYearTables, FolderHoldingAnyOfTheFourNamesIsLeftUntouched)
{
    for (const char* Name : {"収支科目マスタ.csv", "担当者マスタ.csv", "残高テーブル.csv", "金銭出納テーブル.csv"}) {
        SCOPED_TRACE(Name);
        TempFolder Temp;
        Temp.WriteBytes(std::string("next/") + Name, "keep\r\n");
        Temp.WriteBytes("next/メモ.txt", "memo");
        struct utimbuf Past {1000000000, 1000000000};
        ::utime(Temp.Path(std::string("next/") + Name).c_str(), &Past);
        const std::vector<std::string> Before = Snapshot(Temp.Path("next"));
        std::vector<std::string> Log;
        try {
            WriteNextYearTables(Temp.Path("next"), kTables, [&](const std::string& AMessage) { Log.push_back(AMessage); });
            ADD_FAILURE() << "written into a folder that holds source data";
        } catch (const ETvrError& E) {
            EXPECT_EQ(std::string(E.what()), "フォルダ \"" + Temp.Path("next") + "\" には既にソースデータがあります。");
        }
        EXPECT_TRUE(Log.empty());
        EXPECT_EQ(Snapshot(Temp.Path("next")), Before);
    }
}

TEST(CheckNextYearFolder, RefusesSourceDataAndWhatIsNoFolder)
{
    TempFolder Temp;
    EXPECT_NO_THROW(CheckNextYearFolder(Temp.Path("missing/deeper")));
    EXPECT_NO_THROW(CheckNextYearFolder(Temp.Path()));
    // A folder or a dangling link of a table's name holds that name too.
    std::filesystem::create_directories(Temp.Path("a/残高テーブル.csv"));
    EXPECT_THROW(CheckNextYearFolder(Temp.Path("a")), ETvrError);
    std::filesystem::create_directories(Temp.Path("b"));
    std::filesystem::create_symlink(Temp.Path("nowhere"), Temp.Path("b/担当者マスタ.csv"));
    EXPECT_THROW(CheckNextYearFolder(Temp.Path("b")), ETvrError);
    // A file where the folder should be.
    const std::string File = Temp.WriteBytes("file", "x");
    try {
        CheckNextYearFolder(File);
        ADD_FAILURE() << "a file taken for a folder";
    } catch (const ETvrError& E) {
        EXPECT_THAT(E.what(), HasSubstr("フォルダ \"" + File + "\" を作成できません。"));
    }
    std::vector<std::string> Log;
    EXPECT_THROW(WriteNextYearTables(File + "/next", kTables, [&](const std::string& AMessage) { Log.push_back(AMessage); }),
                 ETvrError);
    EXPECT_TRUE(Log.empty());
}

TEST(WriteNextYearTables, FailedWriteRemovesTheTablesWrittenBeforeIt)
{
    TempFolder Temp;
    std::vector<TRptTableText> Tables = kTables;
    // A name the folder cannot take: writing it fails after the first table.
    Tables[1].FileName = "no/such/folder.csv";
    std::vector<std::string> Log;
    EXPECT_THROW(WriteNextYearTables(Temp.Path("next"), Tables, [&](const std::string& AMessage) { Log.push_back(AMessage); }),
                 ETvrError);
    EXPECT_EQ(Log.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(Temp.Path("next")));
}

TEST(NextYearFolderName, NextYearsTitleFromTheStartingRowsLastDay)
{
    struct Case {
        const char* Name;
        std::string Bytes;
        std::string Expected;
    };
    // clang-format off
    const Case kCases[] = {
        {"fiscal year",        "2025/04/01,2026/03/31,,,,前期繰越,01,000,1000,480\r\n2025/04/10,,,,,会費,01,101,300,\r\n", "2026年度"},
        {"calendar year",      "2025/01/01,2025/12/31,,,,前期繰越,,000,1,2\r\n", "2026年度"},
        {"ends in February",   "2024/03/01,2025/02/28,,,,前期繰越,,000,1,2\r\n", "2025年度"},
        {"blank lines first",  "\r\n,,\r\n  ,\r\n2025/04/01,2026/03/31,,,,,,000,1,2\r\n", "2026年度"},
        {"code page 932",      test::ToCp932("2025/04/01,2026/03/31,,,,前期繰越,01,000,1000,480\r\n"), "2026年度"},
        {"UTF-8 with a mark",  "\xEF\xBB\xBF" "2025/04/01,2026/03/31,,,,前期繰越,,000,1,2\n", "2026年度"},
        {"no last day",        "2025/04/01,,,,,前期繰越,,000,1,2\r\n2025/04/02,2026/03/31\r\n", ""},
        {"no such day",        "2025/04/01,2026/02/30,,,,前期繰越,,000,1,2\r\n", ""},
        {"one field",          "2025/04/01\r\n", ""},
        {"quote runs on",      "\"2025/04/01,2026/03/31\r\n", ""},
        {"empty file",         "", ""},
    };
    // clang-format on
    for (const Case& C : kCases) {
        TempFolder Temp;
        const std::string File = Temp.WriteBytes("金銭出納テーブル.csv", C.Bytes);
        EXPECT_EQ(NextYearFolderName(File, TTvrRegionalSettings()), C.Expected) << C.Name;
    }
    TempFolder Temp;
    EXPECT_EQ(NextYearFolderName(Temp.Path("missing.csv"), TTvrRegionalSettings()), "");
    // The day and month order of the regional settings.
    TTvrRegionalSettings Dmy;
    Dmy.ShortDateOrder = TTvrDateOrder::DMY;
    const std::string File = Temp.WriteBytes("dmy.csv", "01/10/2025,30/09/2026,,,,,,000,1,2\r\n");
    EXPECT_EQ(NextYearFolderName(File, Dmy), "2026年度");
    EXPECT_EQ(NextYearFolderName(File, TTvrRegionalSettings()), "");
}

} // namespace
} // namespace tavrel::rpttest
