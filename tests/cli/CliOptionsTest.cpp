// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The command line of tavrel-sumup: parsing the options and turning them
// into the parameters of one run, with the source files chosen by keyword
// where no name is given.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "cli/CliOptions.h"
#include "cli/CliText.h"

namespace tavrel {
namespace {

using ::testing::HasSubstr;

// A source folder of plain files and folders, named by keyword.
class Folder : public test::TempFolder {
public:
    void Touch(const std::string& AName) const { WriteBytes(AName, "x\n"); }
    void MakeDir(const std::string& AName) const { std::filesystem::create_directories(Path(AName)); }
};

TEST(ParseCliOptions, SourceFolderAloneLeavesEveryOptionUnset)
{
    const TCliOptions O = ParseCliOptions({"data"});
    EXPECT_FALSE(O.Help);
    EXPECT_EQ(O.SourceDir, "data");
    EXPECT_FALSE(O.Kamoku.has_value());
    EXPECT_FALSE(O.Tantosha.has_value());
    EXPECT_FALSE(O.Zandaka.has_value());
    EXPECT_FALSE(O.Kinsen.has_value());
    EXPECT_FALSE(O.Output.has_value());
    EXPECT_FALSE(O.Today.has_value());
}

TEST(ParseCliOptions, EveryOptionWithSeparateAndJoinedValues)
{
    const TCliOptions O = ParseCliOptions({"--kamoku", "科目.csv", "--tantosha", "", "--zandaka=", "--kinsen=出納 2025.csv",
                                           "--output", "/tmp/books", "--today", "2026-01-31", "data"});
    EXPECT_EQ(O.SourceDir, "data");
    EXPECT_EQ(O.Kamoku, std::optional<std::string>("科目.csv"));
    // An empty value is given, not absent: the table is not used.
    EXPECT_EQ(O.Tantosha, std::optional<std::string>(""));
    EXPECT_EQ(O.Zandaka, std::optional<std::string>(""));
    EXPECT_EQ(O.Kinsen, std::optional<std::string>("出納 2025.csv"));
    EXPECT_EQ(O.Output, std::optional<std::string>("/tmp/books"));
    ASSERT_TRUE(O.Today.has_value());
    EXPECT_EQ(O.Today->Serial(), TTvrDate::Encode(2026, 1, 31).Serial());
}

TEST(ParseCliOptions, SourceFolderMayComeFirstOrAfterDoubleDash)
{
    EXPECT_EQ(ParseCliOptions({"data", "--kinsen", "k.csv"}).SourceDir, "data");
    EXPECT_EQ(ParseCliOptions({"--today=2024-02-29", "--", "--data"}).SourceDir, "--data");
}

TEST(ParseCliOptions, HelpNeedsNoSourceFolder)
{
    EXPECT_TRUE(ParseCliOptions({"--help"}).Help);
    EXPECT_TRUE(ParseCliOptions({"-h"}).Help);
    EXPECT_TRUE(ParseCliOptions({"data", "--help"}).Help);
    EXPECT_TRUE(ParseCliOptions({"--version"}).Version);
    EXPECT_FALSE(ParseCliOptions({"data"}).Version);
}

struct UsageCase {
    const char* Name;
    std::vector<std::string> Args;
};

class ParseCliUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ParseCliUsageError, Raises)
{
    EXPECT_THROW(ParseCliOptions(GetParam().Args), ECliUsage);
}

INSTANTIATE_TEST_SUITE_P(ParseCliOptions, ParseCliUsageError, ::testing::Values(
    UsageCase{"NoArguments", {}},
    UsageCase{"OnlyOptions", {"--kamoku", "a.csv"}},
    UsageCase{"TwoSourceFolders", {"a", "b"}},
    UsageCase{"UnknownOption", {"--verbose", "data"}},
    UsageCase{"UnknownJoinedOption", {"--kamok=a.csv", "data"}},
    UsageCase{"MissingValueAtTheEnd", {"data", "--output"}},
    UsageCase{"MissingTodayValue", {"data", "--today"}},
    UsageCase{"TodayWithSlashes", {"--today", "2026/01/31", "data"}},
    UsageCase{"TodayWithoutLeadingZeros", {"--today", "2026-1-31", "data"}},
    UsageCase{"TodayNotACalendarDay", {"--today", "2026-02-29", "data"}},
    UsageCase{"TodayWithTrailingText", {"--today", "2026-01-311", "data"}},
    UsageCase{"TodayEmpty", {"--today=", "data"}},
    UsageCase{"ShortUnknownOption", {"-x", "data"}},
    UsageCase{"ShortUnknownOptionWithValue", {"-o=x", "data"}},
    UsageCase{"OutputEmptyJoined", {"--output=", "data"}},
    UsageCase{"OutputEmptySeparate", {"--output", "", "data"}},
    UsageCase{"FourthAuditor", {"--auditor", "a", "--auditor", "b", "--auditor=c", "--auditor", "d", "data"}},
    UsageCase{"ReportDateNotADate", {"--report-date", "2026/04/20", "data"}},
    UsageCase{"ReportDateNotACalendarDay", {"--report-date=2026-04-31", "data"}},
    UsageCase{"ReportsWithAValue", {"--reports=yes", "data"}},
    UsageCase{"PdfWithAnEmptyValue", {"--pdf=", "data"}},
    UsageCase{"MissingOrganisation", {"data", "--org"}},
    UsageCase{"MissingAuditor", {"data", "--auditor"}},
    UsageCase{"MissingNextYearFolder", {"data", "--next-year"}}),
    [](const ::testing::TestParamInfo<UsageCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(ParseCliOptions, YearEndOptionsWithSeparateAndJoinedValues)
{
    const TCliOptions O = ParseCliOptions({"--reports", "--pdf", "--pdf-books", "--org", "さくら会", "--year-title=令和7年度",
                                           "--treasurer", "山田 花子", "--auditor", "佐藤", "--auditor=", "--auditor",
                                           "鈴木", "--report-date", "2026-04-20", "--next-year=/tmp/2026", "data"});
    EXPECT_EQ(O.SourceDir, "data");
    EXPECT_TRUE(O.Reports);
    EXPECT_TRUE(O.Pdf);
    EXPECT_TRUE(O.PdfBooks);
    EXPECT_EQ(O.Report.Organisation, "さくら会");
    EXPECT_EQ(O.Report.YearTitle, "令和7年度");
    EXPECT_EQ(O.Report.Treasurer, "山田 花子");
    // An empty auditor counts among the three; the statement leaves it out.
    EXPECT_EQ(O.Report.Auditors, (std::vector<std::string>{"佐藤", "", "鈴木"}));
    ASSERT_TRUE(O.Report.ReportDate.has_value());
    EXPECT_EQ(O.Report.ReportDate->Serial(), TTvrDate::Encode(2026, 4, 20).Serial());
    EXPECT_EQ(O.NextYear, std::optional<std::string>("/tmp/2026"));

    const TCliOptions None = ParseCliOptions({"data"});
    EXPECT_FALSE(None.Reports || None.Pdf || None.PdfBooks);
    EXPECT_TRUE(None.Report.Auditors.empty());
    EXPECT_FALSE(None.Report.ReportDate.has_value());
    EXPECT_FALSE(None.NextYear.has_value());
}

TEST(MakeExecuteParams, YearEndRequestFollowsTheOptions)
{
    Folder F;
    F.Touch("収支科目マスタ.csv");
    F.Touch("金銭出納テーブル.csv");
    struct Case {
        const char* Name;
        std::vector<std::string> Args;
        bool Documents;
        bool YearEndPdf;
        bool BooksPdf;
    };
    // clang-format off
    const Case kCases[] = {
        {"Nothing", {}, false, false, false},
        {"Reports", {"--reports"}, true, false, false},
        {"Pdf", {"--pdf"}, true, true, false},
        {"PdfBooks", {"--pdf-books"}, false, false, true},
        {"All", {"--pdf-books", "--reports", "--pdf"}, true, true, true},
    };
    // clang-format on
    for (const Case& C : kCases) {
        std::vector<std::string> Args = C.Args;
        Args.push_back(F.Path());
        const TTvrExecuteParams P = MakeExecuteParams(ParseCliOptions(Args), TTvrDate::Encode(2026, 12, 10));
        EXPECT_EQ(P.YearEnd.Documents, C.Documents) << C.Name;
        EXPECT_EQ(P.YearEnd.YearEndPdf, C.YearEndPdf) << C.Name;
        EXPECT_EQ(P.YearEnd.BooksPdf, C.BooksPdf) << C.Name;
        EXPECT_EQ(P.YearEnd.NextYearFolder, "") << C.Name;
    }
    const TTvrExecuteParams P = MakeExecuteParams(
        ParseCliOptions({"--reports", "--org", "さくら会", "--auditor", "佐藤", "--next-year", F.Path("2026"), F.Path()}),
        TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.YearEnd.Params.Organisation, "さくら会");
    EXPECT_EQ(P.YearEnd.Params.Auditors, std::vector<std::string>{"佐藤"});
    // No report date given: the run's today stands for it.
    EXPECT_FALSE(P.YearEnd.Params.ReportDate.has_value());
    EXPECT_EQ(P.YearEnd.NextYearFolder, F.Path("2026"));
}

// The command line shows no sheet: its run keeps none, with or without the
// year-end options.
TEST(MakeExecuteParams, TheRunKeepsNoSheet)
{
    Folder F;
    F.Touch("収支科目マスタ.csv");
    F.Touch("金銭出納テーブル.csv");
    EXPECT_TRUE(TTvrExecuteParams().KeepSheets);
    for (const std::vector<std::string>& Args :
         {std::vector<std::string>{F.Path()}, std::vector<std::string>{"--reports", "--pdf-books", F.Path()}})
        EXPECT_FALSE(MakeExecuteParams(ParseCliOptions(Args), TTvrDate::Encode(2026, 12, 10)).KeepSheets);
}

TEST(MakeExecuteParams, NextYearFolderThatHoldsSourceDataIsAUsageError)
{
    Folder F;
    F.Touch("収支科目マスタ.csv");
    F.Touch("金銭出納テーブル.csv");
    F.Touch("next/担当者マスタ.csv");
    try {
        MakeExecuteParams(ParseCliOptions({"--next-year", F.Path("next"), F.Path()}), TTvrDate::Encode(2026, 12, 10));
        ADD_FAILURE() << "a folder with source data accepted";
    } catch (const ECliUsage& E) {
        EXPECT_EQ(std::string(E.what()), "フォルダ \"" + F.Path("next") + "\" には既にソースデータがあります。");
    }
    // The source folder itself holds this year's tables.
    EXPECT_THROW(MakeExecuteParams(ParseCliOptions({"--next-year", F.Path(), F.Path()}), TTvrDate::Encode(2026, 12, 10)),
                 ECliUsage);
    EXPECT_THROW(MakeExecuteParams(ParseCliOptions({"--next-year=", F.Path()}), TTvrDate::Encode(2026, 12, 10)),
                 ECliUsage);
    EXPECT_THROW(MakeExecuteParams(ParseCliOptions({"--next-year", F.Path("収支科目マスタ.csv"), F.Path()}),
                                   TTvrDate::Encode(2026, 12, 10)),
                 ECliUsage);
    EXPECT_NO_THROW(MakeExecuteParams(ParseCliOptions({"--next-year", F.Path("2026"), F.Path()}),
                                      TTvrDate::Encode(2026, 12, 10)));
    EXPECT_FALSE(std::filesystem::exists(F.Path("2026")));
}

TEST(ParseCliOptions, ALoneHyphenIsAName)
{
    EXPECT_EQ(ParseCliOptions({"-"}).SourceDir, "-");
}

// Books and year-end documents hold keywords of the tables in their names
// (金銭出納, 担当者, 収支科目, 残高) and sort before them.
TEST(MakeExecuteParams, NeverChoosesABookOrADocument)
{
    Folder F;
    for (const char* Name : {"11金銭出納簿.csv", "14担当者出納簿.CSV", "15収支科目明細書.csv", "22残高照合表.csv",
                             "21収支決算書.csv", "収支科目マスタ.csv", "金銭出納テーブル.csv"})
        F.Touch(Name);
    TCliOptions O;
    O.SourceDir = F.Path();
    const TTvrExecuteParams P = MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.KamokuMaster, "収支科目マスタ.csv");
    EXPECT_EQ(P.TantoshaMaster, "");
    EXPECT_EQ(P.ZandakaTable, "");
    EXPECT_EQ(P.KinsenTable, "金銭出納テーブル.csv");
    // Given by name, a book-named file is the user's choice.
    O.Kinsen = "11金銭出納簿.csv";
    EXPECT_EQ(MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10)).KinsenTable, "11金銭出納簿.csv");
}

// Names in code page 932 bytes are matched by their text and kept as their
// bytes; they sort by their text among UTF-8 names.
TEST(MakeExecuteParams, ChoosesCodePage932NamesByTheirText)
{
    Folder F;
    const std::string Kamoku = test::ToCp932("収支科目マスタ.csv");
    const std::string Kinsen = test::ToCp932("金銭出納テーブル.csv");
    F.Touch(Kamoku);
    F.Touch(Kinsen);
    F.Touch("金銭出納テーブル_写し.csv");
    TCliOptions O;
    O.SourceDir = F.Path();
    const TTvrExecuteParams P = MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.KamokuMaster, Kamoku);
    EXPECT_EQ(P.KinsenTable, Kinsen);
    EXPECT_THAT(ChosenFileLines(P), ::testing::ElementsAre("収支科目マスタ: 収支科目マスタ.csv",
                                                           "担当者マスタ: (使用しない)", "残高テーブル: (使用しない)",
                                                           "金銭出納テーブル: 金銭出納テーブル.csv"));
}

TEST(TerminalText, ControlCharactersAndBadBytesBecomeReplacementCharacters)
{
    const std::string R = "\xEF\xBF\xBD";
    struct TCase {
        std::string Line;
        std::string Expected;
    };
    const TCase Cases[] = {
        {"2行: 担当者コード 'a' が重複しています。", "2行: 担当者コード 'a' が重複しています。"},
        {"a\x1B[2Jb", "a" + R + "[2Jb"},
        {"\x07\x08\t\x7F", R + R + R + R},
        {"C1 \xC2\x9B" "31m, \xC2\x85 and \xC2\xA0", "C1 " + R + "31m, " + R + " and \xC2\xA0"},
        {"code page 932 \x83\x65", "code page 932 " + R + "e"},
        {"", ""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(TerminalText(C.Line), C.Expected) << C.Line;
}

TEST(MakeExecuteParams, ChoosesTheFirstCsvFileOfEachKeywordInNameOrder)
{
    Folder F;
    F.MakeDir("0収支科目.csv");         // a folder, not a file
    F.Touch("0収支科目.txt");           // not a .csv file
    F.Touch("b収支科目マスタ.csv");
    F.Touch("a収支科目マスタ.CSV");     // any letter case of .csv
    F.Touch("金銭出納テーブル2.Csv");
    F.Touch("金銭出納テーブル.csv");
    F.Touch("残高テーブル.cSV");
    F.Touch("メモ.csv");
    TCliOptions O;
    O.SourceDir = F.Path();
    const TTvrExecuteParams P = MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.PathInput, F.Path());
    EXPECT_EQ(P.KamokuMaster, "a収支科目マスタ.CSV");
    EXPECT_EQ(P.TantoshaMaster, "");
    EXPECT_EQ(P.ZandakaTable, "残高テーブル.cSV");
    EXPECT_EQ(P.KinsenTable, "金銭出納テーブル.csv");
    EXPECT_EQ(P.PathOutput, F.Path() + "/output");
    EXPECT_EQ(P.Today.Serial(), TTvrDate::Encode(2026, 12, 10).Serial());
}

TEST(MakeExecuteParams, NamesGivenOnTheCommandLineWin)
{
    Folder F;
    F.Touch("収支科目マスタ.csv");
    F.Touch("担当者マスタ.csv");
    F.Touch("残高テーブル.csv");
    F.Touch("金銭出納テーブル.csv");
    TCliOptions O;
    O.SourceDir = F.Path();
    O.Kamoku = "科目.csv";
    O.Tantosha = "";
    O.Zandaka = "";
    O.Kinsen = "出納.csv";
    O.Output = "/somewhere/else";
    O.Today = TTvrDate::Encode(2027, 1, 31);
    const TTvrExecuteParams P = MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.KamokuMaster, "科目.csv");
    EXPECT_EQ(P.TantoshaMaster, "");
    EXPECT_EQ(P.ZandakaTable, "");
    EXPECT_EQ(P.KinsenTable, "出納.csv");
    EXPECT_EQ(P.PathOutput, "/somewhere/else");
    EXPECT_EQ(P.Today.Serial(), TTvrDate::Encode(2027, 1, 31).Serial());
}

TEST(MakeExecuteParams, PersonMasterFoundByKeyword)
{
    Folder F;
    F.Touch("収支科目.csv");
    F.Touch("担当者一覧.csv");
    F.Touch("担当者.bak");
    F.Touch("金銭出納.csv");
    TCliOptions O;
    O.SourceDir = F.Path();
    const TTvrExecuteParams P = MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
    EXPECT_EQ(P.TantoshaMaster, "担当者一覧.csv");
    EXPECT_EQ(P.ZandakaTable, "");
}

TEST(MakeExecuteParams, MissingTablesAndFoldersAreUsageErrors)
{
    Folder F;
    TCliOptions O;
    O.SourceDir = F.Path();
    // Neither an account-title master nor a cash-book table.
    EXPECT_THROW(MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10)), ECliUsage);
    F.Touch("収支科目マスタ.csv");
    try {
        MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10));
        ADD_FAILURE() << "no cash-book table, yet no usage error";
    } catch (const ECliUsage& E) {
        EXPECT_THAT(E.what(), HasSubstr("金銭出納テーブル"));
    }
    F.Touch("金銭出納テーブル.csv");
    EXPECT_NO_THROW(MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10)));
    O.Kamoku = "";
    EXPECT_THROW(MakeExecuteParams(O, TTvrDate::Encode(2026, 12, 10)), ECliUsage);

    TCliOptions Missing;
    Missing.SourceDir = F.Path() + "/nowhere";
    EXPECT_THROW(MakeExecuteParams(Missing, TTvrDate::Encode(2026, 12, 10)), ECliUsage);
    TCliOptions File;
    File.SourceDir = F.Path() + "/収支科目マスタ.csv";
    EXPECT_THROW(MakeExecuteParams(File, TTvrDate::Encode(2026, 12, 10)), ECliUsage);
}

} // namespace
} // namespace tavrel
