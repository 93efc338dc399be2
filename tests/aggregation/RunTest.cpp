// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The aggregation run as a whole: which tables it loads, which books it
// writes and in what order, what it logs, where it stops, and the sheets it
// leaves for the viewer.

#include "AggregationTestSupport.h"

#include <cerrno>
#include <chrono>
#include <system_error>
#include <unistd.h>

namespace tavrel::aggtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

// A club with all four tables; every table is complete.
Sources FullClub()
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", ",01,年会費,,,", ",,1,正会員,,",
                "201,事務費,,,500,", ",,1,用紙代,,"};
    S.Tantosha = {"01,会計,", "02,庶務,"};
    S.UseTantosha = true;
    S.Zandaka = {"2025/04/30,1100,500", "2025/05/31,1070,500"};
    S.UseZandaka = true;
    S.Kinsen = {
        "2025/04/01,2026/03/31,,,,開始,,000,1000,500",
        "2025/04/05,,,,,会費,01,101.01.1,100,",
        "2025/05/06,,,,,用紙,02,201..1,-30,",
    };
    return S;
}

const std::vector<std::string> kProgressLines = {
    "11金銭出納簿.csv 作成中...",   "12現金出納簿.csv 作成中...",     "13預金通帳.csv 作成中...",
    "14担当者出納簿.csv 作成中...", "15収支科目明細書.csv 作成中...", "16大科目明細書.csv 作成中...",
    "17中科目明細書.csv 作成中...", "18試算表.csv 作成中...",
};

std::vector<std::string> FileNames(const TTvrSheets& ASheets)
{
    std::vector<std::string> Names;
    for (int I = 0; I < ASheets.Count(); ++I)
        Names.push_back(std::filesystem::path(ASheets.Sheets(I).FileName()).filename().string());
    return Names;
}

std::vector<int> ColCounts(const TTvrSheets& ASheets)
{
    std::vector<int> Counts;
    for (int I = 0; I < ASheets.Count(); ++I)
        Counts.push_back(ASheets.Sheets(I).ColCount());
    return Counts;
}

std::vector<std::string> Titles(const TTvrSheet& ASheet)
{
    std::vector<std::string> Names;
    for (int I = 0; I < ASheet.ColCount(); ++I)
        Names.push_back(ASheet.Fields().Fields(I).Name());
    return Names;
}

TEST(AggregationRun, CompleteRunLogsEveryStepInOrder)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    std::vector<std::string> Expected = {
        "収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...", "金銭出納テーブル読込中...", "",
    };
    Expected.insert(Expected.end(), kProgressLines.begin(), kProgressLines.end());
    Expected.insert(Expected.end(), {"", "集計が完了しました。"});
    EXPECT_THAT(R.Log, ElementsAreArray(Expected));
}

TEST(AggregationRun, CompleteRunKeepsEveryFileAsASheet)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    const TTvrSheets& Inputs = R.Sumup().Inputs();
    const TTvrSheets& Outputs = R.Sumup().Outputs();
    EXPECT_THAT(FileNames(Inputs), ElementsAre(kKamokuFile, kTantoshaFile, kZandakaFile, kKinsenFile));
    EXPECT_THAT(ColCounts(Inputs), ElementsAre(6, 3, 3, 10));
    EXPECT_THAT(FileNames(Outputs), ElementsAreArray(kAllBooks));
    EXPECT_THAT(ColCounts(Outputs), ElementsAre(13, 9, 7, 10, 7, 4, 7, 16));
    for (int I = 0; I < Outputs.Count(); ++I) {
        const TTvrSheet& Sheet = Outputs.Sheets(I);
        EXPECT_EQ(Sheet.FileName(), R.Book(kAllBooks[static_cast<size_t>(I)])) << I;
        EXPECT_EQ(static_cast<size_t>(Sheet.RowCount()), BookLines(Sheet.FileName()).size()) << Sheet.FileName();
    }
    EXPECT_EQ(Inputs.Sheets(3).RowCount(), 3);

    EXPECT_THAT(Titles(Inputs.Sheets(0)),
                ElementsAre("コード1", "科目名1/コード2", "科目名2/コード3", "科目名3", "予算額", "メモ"));
    EXPECT_THAT(Titles(Outputs.Sheets(0)),
                ElementsAre("日付", "領収書日付", "出納記号", "相手名", "摘要番号", "摘要明細", "担当者", "大科目",
                            "中科目", "小科目", "現金", "預金", "合計残高"));
    EXPECT_THAT(Titles(Outputs.Sheets(7)),
                ElementsAre("科目", "予算額", "決算額", "増減", "4月", "5月", "6月", "7月", "8月", "9月", "10月",
                            "11月", "12月", "1月", "2月", "3月"));
    // The same title, two kinds of column: a date in the item statement, a
    // text in the middle item statement.
    const TTvrField& Shushi = Outputs.Sheets(4).Fields().Fields(0);
    EXPECT_EQ(Shushi.Name(), "発生日付");
    EXPECT_EQ(Shushi.FieldType(), sftDate);
    EXPECT_EQ(Shushi.CharCount(), 20);
    const TTvrField& Midd = Outputs.Sheets(6).Fields().Fields(4);
    EXPECT_EQ(Midd.Name(), "発生日付");
    EXPECT_EQ(Midd.FieldType(), sftString);
    EXPECT_EQ(Midd.CharCount(), 10);
    // A cell of a book read back through its sheet.
    EXPECT_EQ(Outputs.Sheets(0).Cells(12, 0).AsFloat(), 1500);
}

// A kept sheet knows its file's name, columns and time at once, and reads
// the file only when its rows are first asked for: what the file holds then
// is what it shows. A file gone by then raises the platform's error, and
// the sheet reads it when asked again.
TEST(AggregationRun, KeptSheetsReadTheirFilesWhenFirstAsked)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    const TTvrSheets& Inputs = R.Sumup().Inputs();
    const TTvrSheets& Outputs = R.Sumup().Outputs();
    ASSERT_EQ(Outputs.Count(), 8);
    for (const TTvrSheets* Sheets : {&Inputs, &Outputs})
        for (int I = 0; I < Sheets->Count(); ++I) {
            EXPECT_FALSE(Sheets->Sheets(I).ContentRead()) << Sheets->Sheets(I).FileName();
            EXPECT_TRUE(Sheets->Sheets(I).FileTimeStampKnown()) << Sheets->Sheets(I).FileName();
        }

    // The trial balance, changed after the run: the sheet shows the change.
    const TTvrSheet& Shisan = Outputs.Sheets(7);
    test::WriteBytes(Shisan.FileName(), "a\r\nb\r\n");
    EXPECT_EQ(Shisan.RowCount(), 2);
    EXPECT_TRUE(Shisan.ContentRead());
    EXPECT_EQ(Shisan.Cells(0, 1), TTvrValue("b"));
    // Read once: a later change is not seen.
    test::WriteBytes(Shisan.FileName(), "c\r\n");
    EXPECT_EQ(Shisan.RowCount(), 2);

    // The cash book, removed after the run.
    const TTvrSheet& Kinsen = Outputs.Sheets(0);
    const std::string Saved = ReadBytes(Kinsen.FileName());
    ASSERT_EQ(::unlink(Kinsen.FileName().c_str()), 0);
    EXPECT_THROW((void)Kinsen.RowCount(), ETvrError);
    EXPECT_THROW((void)Kinsen.Cells(0, 0), ETvrError);
    EXPECT_EQ(Kinsen.FileName(), R.Book(kKinsenBookName));
    EXPECT_FALSE(Kinsen.ContentRead());
    test::WriteBytes(Kinsen.FileName(), Saved);
    EXPECT_EQ(static_cast<size_t>(Kinsen.RowCount()), BookLines(Kinsen.FileName()).size());
    EXPECT_EQ(Kinsen.Cells(12, 0).AsFloat(), 1500);
}

TEST(AggregationRun, WithoutPersonMasterWritesSevenBooks)
{
    TempFolder Temp;
    SumupRun R;
    Sources S = FullClub();
    S.UseTantosha = false;
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    EXPECT_EQ(R.Sumup().Inputs().Count(), 3);
    EXPECT_THAT(FileNames(R.Sumup().Inputs()), ElementsAre(kKamokuFile, kZandakaFile, kKinsenFile));
    EXPECT_EQ(R.Sumup().Outputs().Count(), 7);
    EXPECT_THAT(FileNames(R.Sumup().Outputs()),
                ElementsAre(kKinsenBookName, kCashBookName, kBankBookName, kShushiMeisaiBookName,
                            kGranMeisaiBookName, kMiddMeisaiBookName, kShisanBookName));
    EXPECT_FALSE(std::filesystem::exists(R.Book(kTantoshaBookName)));
    std::vector<std::string> Expected = {"収支科目マスタ読込中...", "残高テーブル読込中...", "金銭出納テーブル読込中...", ""};
    for (const std::string& Line : kProgressLines)
        if (Line != "14担当者出納簿.csv 作成中...")
            Expected.push_back(Line);
    Expected.insert(Expected.end(), {"", "集計が完了しました。"});
    EXPECT_THAT(R.Log, ElementsAreArray(Expected));
    // Without persons the cash book names nobody.
    const std::vector<std::string> Cash = BookLines(R.Book(kKinsenBookName));
    ASSERT_GE(Cash.size(), 3u);
    EXPECT_EQ(Cash[2], "2025/04/05,,,,,会費,,101.会費,01.年会費,1.正会員,100,,1600");
}

TEST(AggregationRun, BalanceTableNotUsedGivesTheSameBooks)
{
    TempFolder Temp;
    SumupRun With;
    ASSERT_TRUE(With.Execute(Temp, FullClub())) << LogText(With.Log);

    TempFolder Temp2;
    SumupRun Without;
    Sources S = FullClub();
    S.UseZandaka = false;
    ASSERT_TRUE(Without.Execute(Temp2, S)) << LogText(Without.Log);
    EXPECT_EQ(Without.Sumup().Inputs().Count(), 3);
    EXPECT_THAT(FileNames(Without.Sumup().Inputs()), ElementsAre(kKamokuFile, kTantoshaFile, kKinsenFile));
    EXPECT_EQ(Without.Sumup().Outputs().Count(), 8);
    EXPECT_THAT(Without.Log, ::testing::Not(::testing::Contains("残高テーブル読込中...")));
    for (const std::string& Book : kAllBooks)
        EXPECT_EQ(ReadBytes(Without.Book(Book)), ReadBytes(With.Book(Book))) << Book;
}

struct StopCase {
    const char* Name;
    Sources Tables;
    int InputCount;
    std::vector<std::string> Log;
};

Sources Broken(void (*AChange)(Sources&))
{
    Sources S = FullClub();
    AChange(S);
    return S;
}

class RunStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(RunStops, AtTheFirstIncompleteTable)
{
    TempFolder Temp;
    SumupRun R;
    EXPECT_FALSE(R.Execute(Temp, GetParam().Tables));
    EXPECT_THAT(R.Log, ElementsAreArray(GetParam().Log));
    EXPECT_EQ(R.Sumup().Inputs().Count(), GetParam().InputCount);
    EXPECT_EQ(R.Sumup().Outputs().Count(), 0);
    for (const std::string& Book : kAllBooks)
        EXPECT_FALSE(std::filesystem::exists(R.Book(Book))) << Book;
}

INSTANTIATE_TEST_SUITE_P(AggregationRun, RunStops, ::testing::Values(
    StopCase{"AccountTitleMaster",
             Broken([](Sources& S) { S.Kamoku[1] = "101,会費,,,,"; }),
             1,
             {"収支科目マスタ読込中...", "2行: 大科目の予算が指定されていません。", "", "集計は中止されました。"}},
    StopCase{"PersonMaster",
             Broken([](Sources& S) { S.Tantosha.push_back("01,重複,"); }),
             2,
             {"収支科目マスタ読込中...", "担当者マスタ読込中...", "3行: 担当者コード '01' が重複しています。", "",
              "集計は中止されました。"}},
    StopCase{"BalanceTable",
             Broken([](Sources& S) { S.Zandaka.push_back("2025/06/30,abc,500"); }),
             3,
             {"収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...", "3行: 現金残高が無効です。",
              "", "集計は中止されました。"}},
    StopCase{"CashBookTable",
             Broken([](Sources& S) {
                 S.Kinsen.push_back("2025/05/07,,,,,無,,101,,");
                 S.Kinsen.push_back("2025/05/08,,,,,無,09,101,5,");
             }),
             4,
             {"収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...", "金銭出納テーブル読込中...",
              "4行: 金銭の取引がありません。", "5行: 担当者が無効です。", "", "集計は中止されました。"}}),
    [](const ::testing::TestParamInfo<StopCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(AggregationRun, MissingSourceFileIsReportedAndStopsTheRun)
{
    TempFolder Temp;
    Sources S = FullClub();
    WriteTable(Temp, "src/" + kKamokuFile, S.Kamoku);
    WriteTable(Temp, "src/" + kTantoshaFile, S.Tantosha);
    WriteTable(Temp, "src/" + kZandakaFile, S.Zandaka);
    SumupRun R;
    EXPECT_FALSE(R.Execute(Temp.Path("src"), Temp.Path("out"), kKamokuFile, kTantoshaFile, kZandakaFile,
                           "金銭出納2025.csv"));
    ASSERT_EQ(R.Log.size(), 7u) << LogText(R.Log);
    EXPECT_THAT(std::vector<std::string>(R.Log.begin(), R.Log.begin() + 4),
                ElementsAre("収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...",
                            "金銭出納テーブル読込中..."));
    const std::string& Error = R.Log[R.Log.size() - 3];
    EXPECT_THAT(Error, HasSubstr(Temp.Path("src") + "/金銭出納2025.csv"));
    EXPECT_THAT(Error, HasSubstr(std::generic_category().message(ENOENT)));
    EXPECT_EQ(R.Log[R.Log.size() - 2], "");
    EXPECT_EQ(R.Log.back(), "集計は中止されました。");
    EXPECT_EQ(R.Sumup().Inputs().Count(), 3);
    EXPECT_EQ(R.Sumup().Outputs().Count(), 0);
}

TEST(AggregationRun, MissingAccountTitleMasterLeavesNoSheet)
{
    TempFolder Temp;
    SumupRun R;
    EXPECT_FALSE(R.Execute(Temp.Path(), Temp.Path("out"), kKamokuFile, "", "", kKinsenFile));
    ASSERT_GE(R.Log.size(), 3u);
    EXPECT_THAT(R.Log[R.Log.size() - 3], HasSubstr(std::generic_category().message(ENOENT)));
    EXPECT_THAT(R.Log[R.Log.size() - 3], HasSubstr(kKamokuFile));
    EXPECT_EQ(R.Log[R.Log.size() - 2], "");
    EXPECT_EQ(R.Log.back(), "集計は中止されました。");
    EXPECT_EQ(R.Sumup().Inputs().Count(), 0);
    EXPECT_EQ(R.Sumup().Outputs().Count(), 0);
}

TEST(AggregationRun, OutputFolderThatCannotBeCreatedFailsAtTheFirstBook)
{
    TempFolder Temp;
    // A regular file where the output folder should be.
    Temp.WriteBytes("out", "not a folder");
    SumupRun R;
    EXPECT_FALSE(R.Execute(Temp, FullClub()));
    const std::vector<std::string> Head = {
        "収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...", "金銭出納テーブル読込中...", "",
        "11金銭出納簿.csv 作成中...",
    };
    ASSERT_EQ(R.Log.size(), Head.size() + 3) << LogText(R.Log);
    EXPECT_THAT(std::vector<std::string>(R.Log.begin(), R.Log.begin() + static_cast<long>(Head.size())),
                ElementsAreArray(Head));
    EXPECT_THAT(R.Log[Head.size()], HasSubstr(std::generic_category().message(ENOTDIR)));
    EXPECT_EQ(R.Log[Head.size() + 1], "");
    EXPECT_EQ(R.Log[Head.size() + 2], "集計は中止されました。");
    EXPECT_EQ(R.Sumup().Inputs().Count(), 4);
    EXPECT_EQ(R.Sumup().Outputs().Count(), 0);
    EXPECT_EQ(ReadBytes(Temp.Path("out")), "not a folder");
}

TEST(AggregationRun, ReadOnlyBookStopsTheRunAfterTheBooksBeforeIt)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    // Change the content of every book and forbid writing the fourth.
    Sources S = FullClub();
    S.Kinsen.push_back("2025/06/01,,,,,会費,01,101,1,");
    ::chmod(R.Book(kTantoshaBookName).c_str(), 0444);
    EXPECT_FALSE(R.Execute(Temp, S));
    ASSERT_GE(R.Log.size(), 4u);
    EXPECT_EQ(R.Log[R.Log.size() - 4], "14担当者出納簿.csv 作成中...");
    EXPECT_THAT(R.Log[R.Log.size() - 3], HasSubstr(std::generic_category().message(EACCES)));
    EXPECT_EQ(R.Log.back(), "集計は中止されました。");
    EXPECT_EQ(R.Sumup().Inputs().Count(), 4);
    EXPECT_THAT(FileNames(R.Sumup().Outputs()), ElementsAre(kKinsenBookName, kCashBookName, kBankBookName));
}

TEST(AggregationRun, SecondRunOnUnchangedSourcesLeavesEveryBookUntouched)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    // Give every book a time far in the past: a rewrite would replace it.
    const auto Old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const std::string& Book : kAllBooks)
        std::filesystem::last_write_time(R.Book(Book), Old);
    std::vector<std::string> Before;
    for (const std::string& Book : kAllBooks)
        Before.push_back(ReadBytes(R.Book(Book)));

    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    for (size_t I = 0; I < kAllBooks.size(); ++I) {
        EXPECT_EQ(std::filesystem::last_write_time(R.Book(kAllBooks[I])), Old) << kAllBooks[I];
        EXPECT_EQ(ReadBytes(R.Book(kAllBooks[I])), Before[I]) << kAllBooks[I];
    }
    // Every book is loaded into a sheet again.
    EXPECT_THAT(FileNames(R.Sumup().Outputs()), ElementsAreArray(kAllBooks));
    EXPECT_EQ(R.Sumup().Inputs().Count(), 4);
    for (int I = 0; I < R.Sumup().Outputs().Count(); ++I)
        EXPECT_GT(R.Sumup().Outputs().Sheets(I).RowCount(), 0) << I;
}

TEST(AggregationRun, OnlyTheBookWhoseContentChangedIsRewritten)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    const auto Old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const std::string& Book : kAllBooks)
        std::filesystem::last_write_time(R.Book(Book), Old);
    // Another day of the run changes only the closing row of the cash book.
    ASSERT_TRUE(R.Execute(Temp, FullClub(), TTvrDate::Encode(2027, 2, 1))) << LogText(R.Log);
    for (const std::string& Book : kAllBooks) {
        if (Book == kKinsenBookName)
            EXPECT_NE(std::filesystem::last_write_time(R.Book(Book)), Old) << Book;
        else
            EXPECT_EQ(std::filesystem::last_write_time(R.Book(Book)), Old) << Book;
    }
    EXPECT_EQ(BookLines(R.Book(kKinsenBookName)).back(), "2027/02/01,,,,,合計,,,,,1070,500,1570");
}

TEST(AggregationRun, FailingSecondRunLeavesOnlyItsOwnSheets)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, FullClub())) << LogText(R.Log);
    ASSERT_EQ(R.Sumup().Outputs().Count(), 8);
    Sources S = FullClub();
    S.Zandaka = {"日付,現金,預金"};
    EXPECT_FALSE(R.Execute(Temp, S));
    EXPECT_THAT(FileNames(R.Sumup().Inputs()), ElementsAre(kKamokuFile, kTantoshaFile, kZandakaFile));
    EXPECT_EQ(R.Sumup().Outputs().Count(), 0);
    EXPECT_EQ(R.Log.front(), "収支科目マスタ読込中...");
    EXPECT_THAT(R.Log, ::testing::Contains("1行: 日付が無効です。"));
}

// Texts as a spreadsheet saved them reach the books whole: a blank inside a
// cell stays in the field, a semicolon (where a spreadsheet's import also
// splits) is quoted like a comma, and a NUL shows as U+FFFD.
TEST(AggregationRun, BooksKeepTheTextsOfTheCells)
{
    TempFolder Temp;
    Sources S = FullClub();
    S.Kinsen = {
        "2025/04/01,2026/03/31,,,,開始,,000,1000,500",
        "2025/04/05,,,文具 店,,封筒;切手,01,201..1,-30,",
        "2025/04/06,,,,,役員会 茶菓子 ,02,201..1,-20,",
    };
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    const std::vector<std::string> Lines = BookLines(R.Book(kKinsenBookName));
    ASSERT_EQ(Lines.size(), 6u) << ::testing::PrintToString(Lines);
    EXPECT_EQ(Lines[2], "2025/04/05,,,\"文具 店\",,\"封筒;切手\",01.会計,201.事務費,,1.用紙代,-30,,1470");
    EXPECT_EQ(Lines[3], "2025/04/06,,,,,\"役員会 茶菓子\",02.庶務,201.事務費,,1.用紙代,-20,,1450");

    S.Kinsen[2] = std::string("2025/04/06,,,,,役員会\0茶菓子,02,201..1,-20,", 49);
    ASSERT_TRUE(R.Execute(Temp, S)) << LogText(R.Log);
    // U+FFFD has no place in code page 932: the book is UTF-8 with a mark.
    const std::string Bytes = ReadBytes(R.Book(kKinsenBookName));
    EXPECT_EQ(Bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(Bytes.find("\r\n2025/04/06,,,,,役員会\xEF\xBF\xBD茶菓子,02.庶務,"), std::string::npos) << Bytes;
}

TEST(AggregationRun, RelativeFoldersAreTakenFromTheWorkingFolder)
{
    TempFolder Temp;
    const Sources S = FullClub();
    WriteTable(Temp, "src/" + kKamokuFile, S.Kamoku);
    WriteTable(Temp, "src/" + kKinsenFile, S.Kinsen);
    const std::filesystem::path Saved = std::filesystem::current_path();
    std::filesystem::current_path(Temp.Path());
    SumupRun R;
    const bool Ok = R.Execute("src", "books/2025", kKamokuFile, "", "", kKinsenFile);
    std::filesystem::current_path(Saved);
    EXPECT_TRUE(Ok) << LogText(R.Log);
    // Missing parent folders of the output folder are created.
    for (const char* Book : {kKinsenBookName, kShisanBookName})
        EXPECT_TRUE(std::filesystem::is_regular_file(Temp.Path("books/2025") + "/" + Book)) << Book;
}

} // namespace
} // namespace tavrel::aggtest
