// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The PDF files as a user reads them: the books' PDF and the year-end PDF
// of the example year through poppler's pdftotext, pdfinfo and pdffonts,
// and the errors of files that cannot be read or written.

#include "PrintTestSupport.h"

#include <gmock/gmock.h>

#include <QBuffer>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "print/PrtPaint.h"
#include "print/PrtPdf.h"
#include "print/PrtPdfText.h"
#include "print/PrtSheets.h"
#include "print/PrtYearEnd.h"
#include "PrtExampleDocuments.h"
#include "tables/TvrCsv.h"

namespace tavrel::printtest {
namespace {

using ::testing::Contains;
using ::testing::ContainsRegex;
using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> Pages(const std::string& AText)
{
    std::vector<std::string> Result;
    for (const QString& Page : QString::fromStdString(AText).split(QLatin1Char('\f'), Qt::SkipEmptyParts))
        Result.push_back(Page.toStdString());
    return Result;
}

// Every font of the file is embedded.
void ExpectFontsEmbedded(const std::string& AFileName)
{
    const std::vector<std::string> Rows = Lines(Run(TAVREL_PDFFONTS, {QString::fromStdString(AFileName)}));
    ASSERT_GT(Rows.size(), 2u);
    for (size_t I = 2; I < Rows.size(); ++I)
        EXPECT_THAT(Rows[I], HasSubstr(" yes ")) << Rows[I];
}

TEST(WriteBooksPdf, PutsEveryBookOnItsOwnA4PagesWithItsTitlesAndThePeriodOnEach)
{
    const TExampleYear Year;
    const std::vector<TRptBookFile> Books = BookFilesOf(Year.Sumup().Outputs());
    ASSERT_EQ(Books.size(), 8u);
    const std::string File = Year.Path("output/帳簿.pdf");
    WriteBooksPdf(File, Books, ExamplePageHeader(), Year.Settings, Ymd(2026, 5, 1));

    const std::vector<std::string> Sizes = PdfPageSizes(File);
    const std::vector<std::string> Texts = Pages(PdfText(File));
    ASSERT_EQ(Texts.size(), Sizes.size());
    ASSERT_GE(Texts.size(), Books.size());
    // Each page A4 in the orientation its layout chose: the device turns
    // the paper between pages.
    std::vector<const TTvrSheet*> Sheets;
    std::vector<std::unique_ptr<TTvrSheet>> Loaded;
    for (const TRptBookFile& Book : Books) {
        Loaded.push_back(std::make_unique<TTvrSheet>());
        Loaded.back()->LoadFromFile(Book.Path, Book.FieldDefs, Year.Settings);
        Sheets.push_back(Loaded.back().get());
    }
    std::vector<std::string> Expected;
    for (const TPrtPage& Page : LayOutSheets(Sheets, ExamplePageHeader(), Year.Settings, Ymd(2026, 5, 1), TPrtPaper(),
                                             TPrtFontMetrics()))
        Expected.push_back(Page.Orientation == QPageLayout::Portrait ? "595 x 842" : "842 x 595");
    EXPECT_EQ(Sizes, Expected);
    EXPECT_THAT(Expected, Contains("595 x 842"));
    EXPECT_THAT(Expected, Contains("842 x 595"));
    ExpectFontsEmbedded(File);
    // No word outside the margins: no column runs off the paper.
    const double Margin = TPrtPaper().Margin;
    for (const TPageWords& Page : PdfWords(File))
        for (const TWordBox& Word : Page.Words)
            EXPECT_TRUE(QRectF(Margin - 0.5, Margin - 0.5, Page.Size.width() - 2 * Margin + 1,
                               Page.Size.height() - 2 * Margin + 1)
                            .contains(Word.Box))
                << Word.Word << " at " << Word.Box.left() << "," << Word.Box.top() << " to " << Word.Box.right();

    // Each page names one book, in the order written, and holds its column
    // titles, the period, the print date and its number.
    size_t Book = 0;
    std::vector<int> PagesOf(Books.size(), 0);
    for (size_t P = 0; P < Texts.size(); ++P) {
        SCOPED_TRACE("page " + std::to_string(P + 1));
        const std::string& Text = Texts[P];
        const auto NameOf = [&](size_t AIndex) {
            const std::string Name = ExtractFileName(Books[AIndex].Path);
            return Name.substr(0, Name.size() - 4);
        };
        while (Book < Books.size() && Text.find(NameOf(Book)) == std::string::npos)
            ++Book;
        ASSERT_LT(Book, Books.size()) << Text;
        ++PagesOf[Book];
        for (const TTvrFieldDef& Field : Books[Book].FieldDefs)
            EXPECT_THAT(Text, HasSubstr(Field.Name)) << NameOf(Book);
        EXPECT_THAT(Text, HasSubstr("期間 2025/04/01～2026/03/31"));
        EXPECT_THAT(Text, HasSubstr("さくら台三丁目町内会 2025年度"));
        EXPECT_THAT(Text, HasSubstr("印刷日 2026/05/01"));
        EXPECT_THAT(Text, ContainsRegex(std::to_string(PagesOf[Book]) + " ?/ ?[0-9]"));
    }
    EXPECT_THAT(PagesOf, Each(::testing::Gt(0))) << "every book";
    // The trial balance's second section begins its own page.
    int Cumulative = 0;
    for (const std::string& Text : Texts)
        if (Text.find("■ 合計試算表") != std::string::npos) {
            ++Cumulative;
            EXPECT_EQ(Text.find("■ 月次試算表"), std::string::npos);
        }
    EXPECT_EQ(Cumulative, 1);
    // The books' amounts as the grid shows them, the minus sign kept.
    const std::string All = PdfText(File);
    EXPECT_THAT(All, HasSubstr("860,775"));
    EXPECT_THAT(All, HasSubstr("-1,200"));
    EXPECT_THAT(All, HasSubstr("1,120,480"));
    EXPECT_EQ(All.find("△"), std::string::npos);
}

TEST(WriteSheetsPdf, StartsEverySheetOnANewPage)
{
    const TExampleYear Year;
    const TTvrSheet& Source = Year.Sumup().Inputs().Sheets(Year.Sumup().Inputs().Count() - 1);
    const TTvrSheet& Cash = Year.Sumup().Outputs().Sheets(1);
    const std::string File = Year.Path("two.pdf");
    const std::vector<const TTvrSheet*> Sheets = {&Cash, &Source};
    WriteSheetsPdf(File, Sheets, ExamplePageHeader(), Year.Settings, Today());
    const std::vector<std::string> Texts = Pages(PdfText(File));
    ASSERT_GE(Texts.size(), 2u);
    size_t FirstOfSource = 0;
    while (FirstOfSource < Texts.size() && Texts[FirstOfSource].find("金銭出納テーブル") == std::string::npos)
        ++FirstOfSource;
    ASSERT_LT(FirstOfSource, Texts.size());
    ASSERT_GT(FirstOfSource, 0u);
    EXPECT_THAT(Texts[FirstOfSource - 1], HasSubstr("12現金出納簿"));
    EXPECT_THAT(Texts[FirstOfSource - 1], Not(HasSubstr("金銭出納テーブル")));
    EXPECT_THAT(Texts[FirstOfSource], Not(HasSubstr("12現金出納簿")));
    // Each sheet counts its own pages.
    EXPECT_THAT(Texts[FirstOfSource], ContainsRegex("1 ?/ ?[0-9]"));
    // The source table's first row as the grid shows it.
    EXPECT_THAT(Texts[FirstOfSource], HasSubstr("2026/03/31"));
    EXPECT_THAT(Texts[FirstOfSource], HasSubstr("812,455"));
}

// A printer is a paged device of its own resolution and its own idea of
// the page: the same code places every word where the PDF file has it.
TEST(PaintSheets, PrintsOnAnyPagedDeviceWhatThePdfFileHolds)
{
    const TExampleYear Year;
    const std::vector<const TTvrSheet*> Sheets = {&Year.Sumup().Outputs().Sheets(0), &Year.Sumup().Outputs().Sheets(7)};
    const std::string File = Year.Path("file.pdf");
    WriteSheetsPdf(File, Sheets, ExamplePageHeader(), Year.Settings, Today());
    // A device of a printer's resolution, whose text layer is mended as the
    // file's is, so that the words read back the same.
    const std::string Device = Year.Path("device.pdf");
    {
        QBuffer Buffer;
        Buffer.open(QIODevice::WriteOnly);
        TPrtAliases Aliases;
        {
            TPrtPdfWriter Writer(&Buffer);
            Writer.setResolution(300);
            ASSERT_TRUE(PaintSheets(Writer, Sheets, ExamplePageHeader(), Year.Settings, Today()));
            Aliases = GlyphAliases(Writer.Drawn(), PrtFonts());
        }
        test::WriteBytes(Device, MendToUnicodeMaps(Buffer.data(), Aliases).toStdString());
    }
    EXPECT_EQ(PdfPageSizes(Device), PdfPageSizes(File));
    std::vector<TPageWords> Printed = PdfWords(Device);
    std::vector<TPageWords> Written = PdfWords(File);
    ASSERT_EQ(Printed.size(), Written.size());
    // The words of a page in the order of their texts, then of their places.
    const auto Sort = [](std::vector<TPageWords>& APages) {
        for (TPageWords& Page : APages)
            std::sort(Page.Words.begin(), Page.Words.end(), [](const TWordBox& A, const TWordBox& B) {
                return std::make_tuple(A.Word, A.Box.top(), A.Box.left()) < std::make_tuple(B.Word, B.Box.top(), B.Box.left());
            });
    };
    Sort(Printed);
    Sort(Written);
    for (size_t P = 0; P < Printed.size(); ++P) {
        ASSERT_EQ(Printed[P].Words.size(), Written[P].Words.size()) << "page " << P + 1;
        for (size_t W = 0; W < Printed[P].Words.size(); ++W) {
            const QRectF A = Printed[P].Words[W].Box;
            const QRectF B = Written[P].Words[W].Box;
            ASSERT_EQ(Printed[P].Words[W].Word, Written[P].Words[W].Word) << "page " << P + 1;
            EXPECT_NEAR(A.left(), B.left(), 0.5) << Written[P].Words[W].Word;
            EXPECT_NEAR(A.top(), B.top(), 0.5) << Written[P].Words[W].Word;
            EXPECT_NEAR(A.right(), B.right(), 0.5) << Written[P].Words[W].Word;
        }
    }
}

// The example year's statement signed by people whose names hit the fonts'
// shared glyphs, and a reconciliation line that disagrees.
TEST(WriteYearEndPdf, WritesTheStatementTheReconciliationAndTheChartsOnA4Pages)
{
    const TExampleYear Year;
    TRptDocument Statement = ExampleStatement();
    const std::vector<std::string> Names = {"金子長太郎", "入江高子", "山田支"};
    size_t Auditor = 1;
    for (TRptRow& Row : Statement.Rows)
        if (Row.Kind == TRptRowKind::Signature)
            Row.Fields[2] = Row.Fields[1].Text() == "会計" ? Names[0] : Names[Auditor++];
    ASSERT_EQ(Auditor, 3u);
    TRptDocument Reconciliation = ExampleReconciliation();
    Reconciliation.Rows[2].Fields[2] = 12000.0;
    Reconciliation.Rows[2].Fields[4] = -710.0;
    Reconciliation.Rows[2].Fields[8] = std::string("不一致");
    Reconciliation.Rows[2].Marked = true;
    const TRptYearEndInputs Inputs{*Year.Kinsen, *Year.Ledger, Year.Zandaka.get(), Statement, &Reconciliation,
                                   ExamplePageHeader(), Year.Settings, Ymd(2026, 5, 1)};
    const std::string File = Year.Path("output/総会資料.pdf");
    WriteYearEndPdf(File, Inputs);

    EXPECT_THAT(PdfPageSizes(File), ::testing::ElementsAre("595 x 842", "595 x 842", "595 x 842"));
    ExpectFontsEmbedded(File);
    const std::vector<std::string> Statement1 = Lines(PdfText(File, 1));
    ASSERT_FALSE(Statement1.empty());
    EXPECT_EQ(Statement1.front(), "さくら台三丁目町内会 2025年度 収支決算書");
    EXPECT_EQ(Statement1[1], "期間 2025/04/01～2026/03/31");
    const std::string Page1 = PdfText(File, 1);
    for (const char* Printed : {"1,120,480", "2,139,775", "2,130,152", "△9,623", "△11,200", "21,670", "1,098,810",
                                "上記のとおり報告します。", "2026/04/20"})
        EXPECT_THAT(Page1, HasSubstr(Printed));
    // Each name once, the auditors' beside their seal boxes.
    for (const std::string& Name : Names)
        EXPECT_EQ(CountOf(Page1, Name), 1) << Name;
    for (const std::string& Line : Statement1) {
        const bool Auditor = Line.find(Names[1]) != std::string::npos || Line.find(Names[2]) != std::string::npos;
        EXPECT_EQ(Line.size() > 3 && Line.substr(Line.size() - 3) == "印", Auditor) << Line;
    }

    const std::string Page2 = PdfText(File, 2);
    EXPECT_THAT(Page2, HasSubstr("残高照合表"));
    EXPECT_THAT(Page2, HasSubstr("不一致"));
    EXPECT_THAT(Page2, HasSubstr("△710"));
    EXPECT_EQ(CountOf(Page2, "一致"), 6) << "five agree, one does not";

    const std::string Page3 = PdfText(File, 3);
    for (const char* Label : {"予算と決算", "資金の推移", "予算", "決算", "予算超過", "予算未達", "会議費", "集会所管理費",
                              "現金", "預金", "合計", "残高テーブル", "帳簿と不一致", "4月", "3月"})
        EXPECT_THAT(Page3, HasSubstr(Label));
    // The page numbers: pdftotext's layout may close up the blanks drawn
    // around the slash.
    for (int N = 1; N <= 3; ++N)
        EXPECT_THAT(PdfText(File, N), ContainsRegex(std::to_string(N) + " ?/ ?3"));
}

// The chart window's printout: both charts of the year on one page, headed
// and footed as a sheet's pages are.
TEST(WriteChartsPdf, PutsBothChartsOnOneA4PageUnderTheRunningHeader)
{
    const TExampleYear Year;
    const TRptCharts Charts = MakeCharts(*Year.Kinsen, *Year.Ledger, Year.Zandaka.get());
    const std::string File = Year.Path("グラフ.pdf");
    WriteChartsPdf(File, Charts, ExamplePageHeader(), Year.Settings, Ymd(2026, 5, 1));
    EXPECT_THAT(PdfPageSizes(File), ::testing::ElementsAre("595 x 842"));
    ExpectFontsEmbedded(File);
    const std::string Text = PdfText(File);
    for (const char* Printed : {"さくら台三丁目町内会 2025年度", "グラフ", "期間 2025/04/01～2026/03/31",
                                "印刷日 2026/05/01", "予算と決算", "資金の推移", "会議費", "残高テーブル"})
        EXPECT_THAT(Text, HasSubstr(Printed));
    EXPECT_THAT(Text, ContainsRegex("1 ?/ ?1"));

    // A printer gets the same page.
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    {
        TPrtPdfWriter Writer(&Buffer);
        ASSERT_TRUE(PaintCharts(Writer, Charts, ExamplePageHeader(), Year.Settings, Ymd(2026, 5, 1)));
    }
    const std::string Device = Year.Path("device.pdf");
    test::WriteBytes(Device, Buffer.data().toStdString());
    EXPECT_THAT(PdfPageSizes(Device), ::testing::ElementsAre("595 x 842"));
    // Qt's writer alone gives some shared glyphs' characters wrongly (金 as
    // a radical); the title checked has none of them.
    EXPECT_THAT(PdfText(Device), HasSubstr("予算と決算"));
}

// The run is handed the two drawing functions as its makers.
TEST(PdfMakers, AreTheFunctionsTheRunIsHanded)
{
    const TRptYearEndPdfMaker YearEnd = WriteYearEndPdf;
    const TRptBooksPdfMaker Books = WriteBooksPdf;
    EXPECT_TRUE(YearEnd && Books);
    TempFolder Temp;
    EXPECT_THROW(Books(Temp.Path("none.pdf"), {}, ExamplePageHeader(), TTvrRegionalSettings(), Today()), ETvrError);
    EXPECT_FALSE(std::filesystem::exists(Temp.Path("none.pdf")));
}

TEST(WriteBooksPdf, RaisesThePlatformsTextAndWritesNothingWhenItCannot)
{
    const TExampleYear Year;
    std::vector<TRptBookFile> Books = BookFilesOf(Year.Sumup().Outputs());
    struct TCase {
        const char* Name;
        std::string Target;
        bool MissingBook;
    };
    const TCase kCases[] = {
        {"folder missing", Year.Path("nowhere/帳簿.pdf"), false},
        {"book missing", Year.Path("output/帳簿.pdf"), true},
    };
    for (const TCase& C : kCases) {
        SCOPED_TRACE(C.Name);
        std::vector<TRptBookFile> Given = Books;
        if (C.MissingBook)
            Given[3].Path = Year.Path("output/99ない.csv");
        try {
            WriteBooksPdf(C.Target, Given, ExamplePageHeader(), Year.Settings, Today());
            ADD_FAILURE() << "no error";
        } catch (const ETvrError& E) {
            EXPECT_THAT(E.what(), HasSubstr(C.MissingBook ? "99ない.csv" : "帳簿.pdf"));
        }
        EXPECT_FALSE(std::filesystem::exists(C.Target));
    }
}

} // namespace
} // namespace tavrel::printtest
