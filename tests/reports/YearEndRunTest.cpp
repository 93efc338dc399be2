// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Whole runs that make the year-end documents, the PDF files (through
// recording stand-ins for the page layer) and next year's tables: the log
// in its order, the files, the sheets for the viewer, and what a run that
// stops, a mismatch, a stale document or a refused folder do.

#include "ReportsTestSupport.h"

#include <algorithm>
#include <stdexcept>

#include "aggregation/SumSchema.h"
#include "reports/RptReconciliation.h"
#include "reports/RptRequest.h"
#include "reports/RptStatement.h"
#include "sources/SrcKinsen.h"

namespace tavrel::rpttest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::vector<std::string> kBookLines = {
    "11金銭出納簿.csv 作成中...",   "12現金出納簿.csv 作成中...",     "13預金通帳.csv 作成中...",
    "14担当者出納簿.csv 作成中...", "15収支科目明細書.csv 作成中...", "16大科目明細書.csv 作成中...",
    "17中科目明細書.csv 作成中...", "18試算表.csv 作成中...",
};

std::vector<std::string> LoadingLines(bool AZandaka)
{
    std::vector<std::string> Lines = {"収支科目マスタ読込中...", "担当者マスタ読込中..."};
    if (AZandaka)
        Lines.push_back("残高テーブル読込中...");
    Lines.push_back("金銭出納テーブル読込中...");
    Lines.push_back("");
    Lines.insert(Lines.end(), kBookLines.begin(), kBookLines.end());
    return Lines;
}

std::vector<std::string> Concat(std::vector<std::string> AFirst, const std::vector<std::string>& ASecond)
{
    AFirst.insert(AFirst.end(), ASecond.begin(), ASecond.end());
    return AFirst;
}

// One run on the four tables of a folder under their standard names (the
// person master always, the balance table when asked), on the treasurer's
// day after the year.
bool Execute(aggtest::SumupRun& ARun, const std::string& AInput, const std::string& AOutput, bool AZandaka,
             const TRptYearEndRequest& ARequest)
{
    ARun.YearEnd = ARequest;
    return ARun.Execute(AInput, AOutput, kKamokuFile, kTantoshaFile, AZandaka ? kZandakaFile : "", kKinsenFile,
                        Ymd(2026, 4, 20));
}

TRptYearEndRequest Documents()
{
    TRptYearEndRequest Request;
    Request.Documents = true;
    Request.Params.Organisation = "さくら台三丁目町内会";
    Request.Params.Treasurer = "佐藤　恵子";
    Request.Params.Auditors = {"高橋　正樹", "伊藤　誠"};
    return Request;
}

std::vector<std::string> SheetNames(const TTvrSheets& ASheets)
{
    std::vector<std::string> Names;
    for (int I = 0; I < ASheets.Count(); ++I)
        Names.push_back(std::filesystem::path(ASheets.Sheets(I).FileName()).filename().string());
    return Names;
}

// A run asked to keep no sheet (the command line's) keeps none of the files
// it read or wrote, books and documents alike, and still writes and logs
// exactly what a run that keeps them does.
TEST(YearEndRun, RunWithoutSheetsKeepsNoneAndWritesTheSame)
{
    TempFolder Temp;
    const std::string Input = CopyExamples(Temp, "2025");
    aggtest::SumupRun Kept;
    ASSERT_TRUE(Execute(Kept, Input, Temp.Path("kept"), true, Documents())) << LogText(Kept.Log);
    aggtest::SumupRun None;
    None.KeepSheets = false;
    ASSERT_TRUE(Execute(None, Input, Temp.Path("none"), true, Documents())) << LogText(None.Log);

    EXPECT_EQ(None.Sumup().Inputs().Count(), 0);
    EXPECT_EQ(None.Sumup().Outputs().Count(), 0);
    EXPECT_EQ(Kept.Sumup().Inputs().Count(), 4);
    EXPECT_EQ(Kept.Sumup().Outputs().Count(), 10);
    EXPECT_EQ(None.Log, Kept.Log);
    const std::vector<std::string> Files = TempFolder::Entries(Temp.Path("kept"));
    EXPECT_EQ(TempFolder::Entries(Temp.Path("none")), Files);
    for (const std::string& File : Files)
        EXPECT_EQ(ReadBytes(Temp.Path("none/" + File)), ReadBytes(Temp.Path("kept/" + File))) << File;
}

TEST(YearEndRun, ExampleYearDocumentsWithTheFiguresCheckedByHand)
{
    TempFolder Temp;
    const std::string Input = CopyExamples(Temp, "2025");
    aggtest::SumupRun R;
    ASSERT_TRUE(Execute(R, Input, Temp.Path("out"), true, Documents())) << LogText(R.Log);
    EXPECT_THAT(R.Log, ElementsAreArray(Concat(LoadingLines(true),
                                               {"21収支決算書.csv 作成中...", "22残高照合表.csv 作成中...", "",
                                                "残高照合: 6件中6件が一致しました。", "", "集計が完了しました。"})));
    // 収入合計 860,775 + 1,279,000 against 860,775 + 1,269,377; 支出合計
    // 1,085,000 against 1,009,672; the carry-forward 1,054,775 against
    // 1,120,480, which is the cash book's 21,670 + 1,098,810.
    aggtest::ExpectBook(Temp.Path("out/21収支決算書.csv"),
                        {"\"さくら台三丁目町内会 2025年度 収支決算書\",,,,",
                         "期間,2025/04/01～2026/03/31,,,",
                         ",,,,",
                         "\"■ 収入の部\",,,,",
                         "科目,予算額,決算額,増減,備考",
                         "前期繰越金,860775,860775,0,令和6年度決算の次期繰越（現金＋預金）",
                         "会費収入,720000,708800,-11200,",
                         "補助金収入,257000,256580,-420,",
                         "事業収入,262000,259300,-2700,夏祭り・資源回収・集会所貸出",
                         "雑収入,40000,44697,4697,",
                         "当期収入合計,1279000,1269377,-9623,",
                         "収入合計,2139775,2130152,-9623,",
                         ",,,,",
                         "\"■ 支出の部\",,,,",
                         "科目,予算額,決算額,残額,備考",
                         "事業費,485000,443702,41298,",
                         "会議費,48000,53220,-5220,総会・役員会・班長会",
                         "事務費,57000,50680,6320,",
                         "負担金,75000,73000,2000,",
                         "慶弔費,40000,33000,7000,慶弔規程による",
                         "集会所管理費,330000,334070,-4070,日用品は大科目で処理",
                         "予備費,50000,22000,28000,",
                         "支出合計,1085000,1009672,75328,",
                         ",,,,",
                         "次年度繰越金,1054775,1120480,65705,",
                         "　うち現金,,21670,,",
                         "　うち預金,,1098810,,",
                         ",,,,",
                         "上記のとおり報告します。,,,,",
                         "2026/04/20,会計,佐藤　恵子,,",
                         ",,,,",
                         "上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。,,,,",
                         ",監事,高橋　正樹,,印",
                         ",監事,伊藤　誠,,印"});
    aggtest::ExpectBook(Temp.Path("out/22残高照合表.csv"),
                        {"行,日付,現金(実査),現金(帳簿),現金差額,預金(通帳),預金(帳簿),預金差額,判定,候補",
                         "1,2025/04/01,48320,48320,0,812455,812455,0,一致,",
                         "2,2025/06/30,12710,12710,0,1349777,1349777,0,一致,",
                         "3,2025/08/31,65250,65250,0,1330055,1330055,0,一致,",
                         "4,2025/09/30,44070,44070,0,1227170,1227170,0,一致,",
                         "5,2025/12/31,16490,16490,0,1207552,1207552,0,一致,",
                         "6,2026/03/31,21670,21670,0,1098810,1098810,0,一致,"});

    // The viewer lists the documents after the books, with their columns.
    const TTvrSheets& Outputs = R.Sumup().Outputs();
    EXPECT_THAT(SheetNames(Outputs), ElementsAre("11金銭出納簿.csv", "12現金出納簿.csv", "13預金通帳.csv",
                                                 "14担当者出納簿.csv", "15収支科目明細書.csv", "16大科目明細書.csv",
                                                 "17中科目明細書.csv", "18試算表.csv", "21収支決算書.csv",
                                                 "22残高照合表.csv"));
    const TTvrSheet& Statement = Outputs.Sheets(8);
    EXPECT_EQ(Statement.ColCount(), 5);
    EXPECT_EQ(Statement.RowCount(), 34);
    EXPECT_EQ(Statement.Fields().Fields(3).Name(), "増減/残額");
    EXPECT_EQ(Statement.Cells(2, 24).AsFloat(), 1120480);
    const TTvrSheet& Reconciliation = Outputs.Sheets(9);
    EXPECT_EQ(Reconciliation.ColCount(), 10);
    EXPECT_EQ(Reconciliation.RowCount(), 7);
    EXPECT_EQ(Reconciliation.Fields().Fields(9).Name(), "候補");
    EXPECT_EQ(Reconciliation.Cells(1, 6).Date().Serial(), Ymd(2026, 3, 31).Serial());
}

// What the stand-ins for the page layer's drawing functions were given.
struct PdfRecorder {
    std::vector<std::string> Calls;
    std::vector<std::string> StatementLines;
    std::vector<std::string> ReconciliationLines;
    double ClosingCash = 0;
    double OpeningBalance = 0;
    int ZandakaRows = -1;
    TRptPageHeader Header;
    TRptPageHeader BooksHeader;
    TTvrDate Today;
    std::vector<std::string> Books;

    void Attach(TRptYearEndRequest& ARequest)
    {
        ARequest.YearEndPdfMaker = [this](const std::string& APath, const TRptYearEndInputs& AInputs) {
            Calls.push_back(APath);
            StatementLines = DocumentLines(AInputs.Statement);
            if (AInputs.Reconciliation != nullptr)
                ReconciliationLines = DocumentLines(*AInputs.Reconciliation);
            ClosingCash = AInputs.KinsenTable.FiscalCarryingCash();
            OpeningBalance = AInputs.Ledger.OpeningBalance();
            ZandakaRows = AInputs.ZandakaTable ? AInputs.ZandakaTable->Zandakas().Count() : -1;
            Header = AInputs.Header;
            Today = AInputs.Today;
            test::WriteBytes(APath, "%PDF year-end");
        };
        ARequest.BooksPdfMaker = [this](const std::string& APath, const std::vector<TRptBookFile>& ABooks,
                                        const TRptPageHeader& AHeader, const TTvrRegionalSettings&, TTvrDate) {
            Calls.push_back(APath);
            BooksHeader = AHeader;
            // Each book is written by the time it is drawn.
            for (const TRptBookFile& Book : ABooks)
                Books.push_back(std::filesystem::path(Book.Path).filename().string() + " "
                                + std::to_string(Book.FieldDefs.size()) + " "
                                + std::to_string(BookLines(Book.Path).size()));
            test::WriteBytes(APath, "%PDF books");
        };
    }
};

// The documents, both PDF files drawn by the recorder, and next year's
// tables in the folder.
TRptYearEndRequest Everything(PdfRecorder& APdf, const std::string& ANextYear)
{
    TRptYearEndRequest Request = Documents();
    Request.YearEndPdf = true;
    Request.BooksPdf = true;
    Request.NextYearFolder = ANextYear;
    APdf.Attach(Request);
    return Request;
}

TEST(YearEndRun, EverythingAskedForComesInItsOrder)
{
    TempFolder Temp;
    const std::string Input = CopyExamples(Temp, "2025");
    PdfRecorder Pdf;
    const TRptYearEndRequest Request = Everything(Pdf, Temp.Path("2026"));
    aggtest::SumupRun R;
    ASSERT_TRUE(Execute(R, Input, Temp.Path("out"), true, Request)) << LogText(R.Log);
    EXPECT_THAT(R.Log, ElementsAreArray(Concat(LoadingLines(true),
                                               {"21収支決算書.csv 作成中...", "22残高照合表.csv 作成中...",
                                                "総会資料.pdf 作成中...", "帳簿.pdf 作成中...",
                                                "次年度 収支科目マスタ.csv 作成中...", "次年度 担当者マスタ.csv 作成中...",
                                                "次年度 残高テーブル.csv 作成中...", "次年度 金銭出納テーブル.csv 作成中...",
                                                "", "残高照合: 6件中6件が一致しました。", "", "集計が完了しました。"})));

    EXPECT_THAT(Pdf.Calls, ElementsAre(Temp.Path("out") + "/総会資料.pdf", Temp.Path("out") + "/帳簿.pdf"));
    // The PDF is drawn from the very documents written as CSV.
    EXPECT_EQ(Pdf.StatementLines, BookLines(Temp.Path("out/21収支決算書.csv")));
    EXPECT_EQ(Pdf.ReconciliationLines, BookLines(Temp.Path("out/22残高照合表.csv")));
    EXPECT_EQ(Pdf.ClosingCash, 21670);
    EXPECT_EQ(Pdf.OpeningBalance, 860775);
    EXPECT_EQ(Pdf.ZandakaRows, 6);
    EXPECT_EQ(Pdf.Header.Organisation, "さくら台三丁目町内会");
    EXPECT_EQ(Pdf.Header.YearTitle, "2025年度");
    EXPECT_EQ(Pdf.Header.FirstDate.Serial(), Ymd(2025, 4, 1).Serial());
    EXPECT_EQ(Pdf.Header.LastDate.Serial(), Ymd(2026, 3, 31).Serial());
    EXPECT_EQ(Pdf.BooksHeader.YearTitle, "2025年度");
    EXPECT_EQ(Pdf.Today.Serial(), Ymd(2026, 4, 20).Serial());
    // Each book with its columns, drawn once written: as many lines as the
    // file now holds.
    const std::pair<const char*, int> kBooks[] = {
        {"11金銭出納簿.csv", 13}, {"12現金出納簿.csv", 9},     {"13預金通帳.csv", 7},     {"14担当者出納簿.csv", 10},
        {"15収支科目明細書.csv", 7}, {"16大科目明細書.csv", 4}, {"17中科目明細書.csv", 7}, {"18試算表.csv", 16},
    };
    std::vector<std::string> Books;
    for (const auto& [Name, Columns] : kBooks)
        Books.push_back(std::string(Name) + " " + std::to_string(Columns) + " "
                        + std::to_string(BookLines(Temp.Path("out/") + Name).size()));
    EXPECT_THAT(Pdf.Books, ElementsAreArray(Books));

    // Next year starts from this year's closing figures.
    EXPECT_THAT(BookLines(Temp.Path("2026/金銭出納テーブル.csv")),
                ElementsAre("2026/04/01,2027/03/31,,,,前期繰越,01,000,21670,1098810"));
    EXPECT_THAT(BookLines(Temp.Path("2026/残高テーブル.csv")), ElementsAre("2026/03/31,21670,1098810"));
    const std::vector<std::string> Master = BookLines(Temp.Path("2026/収支科目マスタ.csv"));
    const std::vector<std::string> ThisYear = BookLines(Input + "/収支科目マスタ.csv");
    ASSERT_EQ(Master.size(), ThisYear.size());
    EXPECT_EQ(Master[0], "000,前期繰越金,,,1120480,令和6年度決算の次期繰越（現金＋預金）");
    EXPECT_TRUE(std::equal(Master.begin() + 1, Master.end(), ThisYear.begin() + 1));
    EXPECT_EQ(ReadBytes(Temp.Path("2026/担当者マスタ.csv")), ReadBytes(Input + "/担当者マスタ.csv"));
}

// A small club with all four tables.
Sources Club()
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", "201,事務費,,,500,"};
    S.Tantosha = {"01,会計,", "02,庶務,"};
    S.UseTantosha = true;
    S.Zandaka = {"2025/04/30,1100,500", "2025/05/31,1070,500"};
    S.UseZandaka = true;
    S.Kinsen = {"2025/04/01,2026/03/31,,,,開始,,000,1000,500", "2025/04/05,,,,,会費,01,101,100,",
                "2025/05/06,,,,,用紙,02,201,-30,"};
    return S;
}

void WriteSources(const TempFolder& ATemp, const Sources& ASources)
{
    WriteTable(ATemp, "src/" + kKamokuFile, ASources.Kamoku);
    WriteTable(ATemp, "src/" + kTantoshaFile, ASources.Tantosha);
    WriteTable(ATemp, "src/" + kZandakaFile, ASources.Zandaka);
    WriteTable(ATemp, "src/" + kKinsenFile, ASources.Kinsen);
}

TEST(YearEndRun, NothingAskedForLeavesTheRunAsItWas)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    aggtest::SumupRun R;
    ASSERT_TRUE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, {})) << LogText(R.Log);
    EXPECT_THAT(R.Log, ElementsAreArray(Concat(LoadingLines(true), {"", "集計が完了しました。"})));
    EXPECT_EQ(R.Sumup().Outputs().Count(), 8);
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("out/21収支決算書.csv")));
}

TEST(YearEndRun, MismatchIsAFindingNotAFailure)
{
    TempFolder Temp;
    Sources S = Club();
    // Counted 30 more than the book on 05/31, as if the 用紙 row (-30, line
    // 3 of the cash book) had not happened.
    S.Zandaka = {"2025/04/30,1100,500", "", "", "2025/05/31,1100,500", "2025/06/30,,"};
    WriteSources(Temp, S);
    aggtest::SumupRun R;
    ASSERT_TRUE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Documents())) << LogText(R.Log);
    EXPECT_THAT(std::vector<std::string>(R.Log.end() - 5, R.Log.end()),
                ElementsAre("", "残高照合: 2件中1件が一致しました。", "残高照合: 一致しない行があります（4行）。", "",
                            "集計が完了しました。"));
    EXPECT_EQ(BookLines(Temp.Path("out/22残高照合表.csv"))[2], "4,2025/05/31,1100,1070,30,500,500,0,不一致,\"現金: 3行\"");
}

TEST(YearEndRun, WithoutABalanceTableAStaleReconciliationIsRemoved)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    Temp.WriteBytes("out/22残高照合表.csv", "stale\r\n");
    // Only that name and only a regular file in the output folder.
    Temp.WriteBytes("out/22残高照合表.csv.bak", "keep\r\n");
    Temp.WriteBytes("src/22残高照合表.csv", "keep\r\n");
    aggtest::SumupRun R;
    ASSERT_TRUE(Execute(R, Temp.Path("src"), Temp.Path("out"), false, Documents())) << LogText(R.Log);
    EXPECT_THAT(R.Log, ElementsAreArray(Concat(LoadingLines(false),
                                               {"21収支決算書.csv 作成中...", "", "集計が完了しました。"})));
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("out/22残高照合表.csv")));
    EXPECT_TRUE(std::filesystem::exists(Temp.Path("out/22残高照合表.csv.bak")));
    EXPECT_TRUE(std::filesystem::exists(Temp.Path("src/22残高照合表.csv")));
    EXPECT_EQ(SheetNames(R.Sumup().Outputs()).back(), "21収支決算書.csv");

    // A link of that name is not a document of an earlier run.
    std::filesystem::create_symlink(Temp.Path("src/22残高照合表.csv"), Temp.Path("out/22残高照合表.csv"));
    ASSERT_TRUE(Execute(R, Temp.Path("src"), Temp.Path("out"), false, Documents())) << LogText(R.Log);
    EXPECT_TRUE(std::filesystem::is_symlink(Temp.Path("out/22残高照合表.csv")));
    EXPECT_EQ(ReadBytes(Temp.Path("src/22残高照合表.csv")), "keep\r\n");
}

TEST(YearEndRun, StoppedRunMakesNothingOfTheYearEnd)
{
    TempFolder Temp;
    Sources S = Club();
    S.Kinsen.push_back("2025/03/31,,,,,前年,,101,5,");
    WriteSources(Temp, S);
    PdfRecorder Pdf;
    const TRptYearEndRequest Request = Everything(Pdf, Temp.Path("next"));
    aggtest::SumupRun R;
    EXPECT_FALSE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request));
    EXPECT_EQ(R.Log.back(), "集計は中止されました。");
    EXPECT_TRUE(Pdf.Calls.empty());
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("out/21収支決算書.csv")));
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("next")));
}

TEST(YearEndRun, FailingPdfStopsTheRunWithItsMessage)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    TRptYearEndRequest Request = Documents();
    Request.YearEndPdf = true;
    Request.YearEndPdfMaker = [](const std::string& APath, const TRptYearEndInputs&) {
        throw ETvrError("ファイル \"" + APath + "\" を作成できません。No space left on device");
    };
    aggtest::SumupRun R;
    EXPECT_FALSE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request));
    EXPECT_THAT(std::vector<std::string>(R.Log.end() - 5, R.Log.end()),
                ElementsAre("22残高照合表.csv 作成中...", "総会資料.pdf 作成中...",
                            "ファイル \"" + Temp.Path("out") + "/総会資料.pdf\" を作成できません。No space left on device",
                            "", "集計は中止されました。"));
}

TEST(YearEndRun, PdfAskedForWithoutItsFunctionIsAProgrammingError)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    for (const bool YearEnd : {true, false}) {
        TRptYearEndRequest Request;
        Request.YearEndPdf = YearEnd;
        Request.BooksPdf = !YearEnd;
        aggtest::SumupRun R;
        EXPECT_THROW(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request), std::logic_error);
        EXPECT_TRUE(R.Log.empty());
        EXPECT_FALSE(std::filesystem::exists(Temp.Path("out")));
    }
    TRptYearEndRequest Request = Documents();
    Request.Params.Auditors.resize(4, "監事");
    aggtest::SumupRun R;
    EXPECT_THROW(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request), std::logic_error);
}

TEST(YearEndRun, NextYearFolderWithSourceDataStopsTheRunBeforeAnythingIsRead)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    TRptYearEndRequest Request;
    // This year's own folder holds the four tables.
    Request.NextYearFolder = Temp.Path("src");
    aggtest::SumupRun R;
    EXPECT_FALSE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request));
    EXPECT_THAT(R.Log, ElementsAre("フォルダ \"" + Temp.Path("src") + "\" には既にソースデータがあります。", "",
                                   "集計は中止されました。"));
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("out")));
}

TEST(YearEndRun, ACompletedRunHandsItsSummaryOnceItsBooksAreWritten)
{
    TempFolder Temp;
    WriteSources(Temp, Club());
    aggtest::SumupRun R;
    TRptYearEndRequest Request;
    Request.Params.Organisation = "さくら台三丁目町内会";
    std::vector<TRptRunSummary> Summaries;
    std::vector<std::string> LogAtSummary;
    Request.KeepSummary = [&](TRptRunSummary ASummary) {
        LogAtSummary = R.Log;
        Summaries.push_back(std::move(ASummary));
    };
    ASSERT_TRUE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request)) << LogText(R.Log);
    // Nothing else of the year-end is made, and the log is the books' log.
    EXPECT_THAT(R.Log, ElementsAreArray(Concat(LoadingLines(true), {"", "集計が完了しました。"})));
    EXPECT_EQ(R.Sumup().Outputs().Count(), 8);
    ASSERT_EQ(Summaries.size(), 1u);
    EXPECT_EQ(LogAtSummary, LoadingLines(true));

    const TRptRunSummary& Summary = Summaries.front();
    EXPECT_EQ(Summary.Header.Organisation, "さくら台三丁目町内会");
    EXPECT_EQ(Summary.Header.YearTitle, "2025年度");
    EXPECT_EQ(Summary.Header.FirstDate.Serial(), Ymd(2025, 4, 1).Serial());
    EXPECT_EQ(Summary.Header.LastDate.Serial(), Ymd(2026, 3, 31).Serial());
    // The charts of the year: 会費 came in short of its budget.
    const auto Item = [](const TRptBudgetItem& AItem) {
        return AItem.Name + " " + std::to_string(static_cast<int>(AItem.Budget)) + " "
               + std::to_string(static_cast<int>(AItem.Actual)) + (AItem.Marked ? " " + AItem.MarkText : "");
    };
    ASSERT_EQ(Summary.Charts.Budget.Incomes.Items.size(), 1u);
    EXPECT_EQ(Item(Summary.Charts.Budget.Incomes.Items[0]), "会費 1000 100 予算未達");
    ASSERT_EQ(Summary.Charts.Budget.Expenses.Items.size(), 1u);
    EXPECT_EQ(Item(Summary.Charts.Budget.Expenses.Items[0]), "事務費 500 30");
    const TRptMoneyChart& Money = Summary.Charts.Money;
    ASSERT_EQ(Money.Series.size(), 3u);
    ASSERT_EQ(Money.Series[0].MonthEnds.size(), 12u);
    EXPECT_EQ(Money.Series[0].MonthEnds[0], 1100);
    EXPECT_EQ(Money.Series[0].MonthEnds[1], 1070);
    EXPECT_EQ(Money.Series[2].MonthEnds[11], 1570);
    // Two balance rows, each counted in cash and bank, all agreeing.
    EXPECT_EQ(Money.Points.size(), 6u);
    EXPECT_TRUE(std::none_of(Money.Points.begin(), Money.Points.end(),
                             [](const TRptMoneyPoint& APoint) { return APoint.Differs; }));

    // A run that stops has no year to tell of.
    Sources Stopping = Club();
    Stopping.Kinsen.push_back("2025/03/31,,,,,前年,,101,5,");
    WriteSources(Temp, Stopping);
    EXPECT_FALSE(Execute(R, Temp.Path("src"), Temp.Path("out"), true, Request));
    EXPECT_EQ(Summaries.size(), 1u);
}

} // namespace
} // namespace tavrel::rpttest
