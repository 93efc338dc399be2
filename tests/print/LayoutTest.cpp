// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Page layout of tables as a pure function: what goes on which page, in
// which orientation and at which scale, with the column titles, the running
// header and the footer on every page, and nothing beyond the margins.

#include "PrintTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <numeric>

#include "print/PrtLayout.h"
#include "print/PrtSheets.h"
#include "print/PrtTexts.h"
#include "tables/TvrCsv.h"

namespace tavrel::printtest {
namespace {

using ::testing::ElementsAre;

// A table of ACols columns of ACharCount characters and ARows rows; row r
// holds "r-c" in text columns and 100000 + r * 1000 + c in number columns
// (every second column), texts no row number can be mistaken for.
TPrtTable MakeTable(int ACols, int ACharCount, int ARows)
{
    TPrtTable Table;
    Table.SheetName = QStringLiteral("試験表");
    for (int C = 0; C < ACols; ++C)
        Table.Columns.push_back({QStringLiteral("列%1").arg(C + 1), ACharCount, C % 2 == 1});
    for (int R = 0; R < ARows; ++R) {
        TPrtRow Row;
        for (int C = 0; C < ACols; ++C)
            Row.Cells.push_back(C % 2 == 1 ? TPrtCell{QString::number(100000 + R * 1000 + C), true}
                                           : TPrtCell{QStringLiteral("%1-%2").arg(R).arg(C), false});
        Table.Rows.push_back(std::move(Row));
    }
    return Table;
}

bool HasText(const TPrtPage& APage, const QString& AText)
{
    return std::any_of(APage.Texts.begin(), APage.Texts.end(), [&](const TPrtText& T) { return T.Text == AText; });
}

const TPrtText* FindText(const TPrtPage& APage, const QString& AText)
{
    for (const TPrtText& Text : APage.Texts)
        if (Text.Text == AText)
            return &Text;
    return nullptr;
}

// What must hold for every laid-out table: every row once and in order, the
// titles on every page above its rows, nothing outside the margins.
void ExpectSound(const TPrtTable& ATable, const std::vector<TPrtPage>& APages, const TPrtPaper& APaper)
{
    std::vector<int> Rows;
    for (const TPrtPage& Page : APages)
        Rows.insert(Rows.end(), Page.Rows.begin(), Page.Rows.end());
    std::vector<int> Expected(ATable.Rows.size());
    std::iota(Expected.begin(), Expected.end(), 0);
    EXPECT_EQ(Rows, Expected) << "every row once, in order";
    for (size_t P = 0; P < APages.size(); ++P) {
        const TPrtPage& Page = APages[P];
        SCOPED_TRACE("page " + std::to_string(P + 1));
        const QRectF Content = APaper.Content(Page.Orientation);
        EXPECT_EQ(Page.Size, APaper.Size(Page.Orientation));
        double TitlesBottom = 0.0;
        for (const TPrtColumn& Column : ATable.Columns) {
            const TPrtText* Title = FindText(Page, Column.Title);
            ASSERT_NE(Title, nullptr) << Column.Title.toStdString();
            EXPECT_TRUE(Title->Bold);
            TitlesBottom = std::max(TitlesBottom, Title->Rect.bottom());
        }
        for (const TPrtText& Text : Page.Texts) {
            EXPECT_GE(Text.Rect.left(), Content.left() - 1e-6) << Text.Text.toStdString();
            EXPECT_LE(Text.Rect.right(), Content.right() + 1e-6) << Text.Text.toStdString();
            EXPECT_GE(Text.Rect.top(), Content.top() - 1e-6) << Text.Text.toStdString();
            EXPECT_LE(Text.Rect.bottom(), Content.bottom() + 1e-6) << Text.Text.toStdString();
        }
        for (const TPrtRule& Rule : Page.Rules)
            for (const QPointF& End : {Rule.Line.p1(), Rule.Line.p2()}) {
                EXPECT_GE(End.x(), Content.left() - 1e-6);
                EXPECT_LE(End.x(), Content.right() + 1e-6);
                EXPECT_LE(End.y(), Content.bottom() + 1e-6);
            }
        // Each row's first cell stands below the titles.
        for (const int R : Page.Rows) {
            const TPrtRow& Row = ATable.Rows[static_cast<size_t>(R)];
            if (!Row.Cells.empty() && !Row.Cells.front().Text.isEmpty()) {
                const TPrtText* Cell = FindText(Page, Row.Cells.front().Text);
                ASSERT_NE(Cell, nullptr) << "row " << R;
                EXPECT_GE(Cell->Rect.top(), TitlesBottom - 1e-6) << "row " << R;
            }
        }
    }
}

TEST(LayOutTable, PlacesTablesOfEveryShapeOnPagesInTheirOrientationAndScale)
{
    struct TCase {
        const char* Name;
        int Cols;
        int CharCount;
        int Rows;
        QPageLayout::Orientation Orientation;
        bool Scaled;
        int Pages;  // 0: more than one
    };
    // clang-format off
    const TCase kCases[] = {
        {"narrow",       3, 10,   5, QPageLayout::Portrait,  false, 1},
        {"no rows",      3, 10,   0, QPageLayout::Portrait,  false, 1},
        {"wide",        13, 10,   5, QPageLayout::Landscape, false, 1},
        {"very wide",   30, 10,   5, QPageLayout::Landscape, true,  1},
        {"many rows",    3, 10, 150, QPageLayout::Portrait,  false, 0},
        {"wide, long",  13, 10, 150, QPageLayout::Landscape, false, 0},
    };
    // clang-format on
    const TPrtPaper Paper;
    const TFixedMetrics Metrics;
    for (const TCase& C : kCases) {
        SCOPED_TRACE(C.Name);
        const TPrtTable Table = MakeTable(C.Cols, C.CharCount, C.Rows);
        const std::vector<TPrtPage> Pages = LayOutTable(Table, Paper, Metrics);
        ASSERT_FALSE(Pages.empty());
        if (C.Pages > 0)
            EXPECT_EQ(Pages.size(), static_cast<size_t>(C.Pages));
        else
            EXPECT_GT(Pages.size(), 2u);
        for (const TPrtPage& Page : Pages) {
            EXPECT_EQ(Page.Orientation, C.Orientation);
            if (C.Scaled)
                EXPECT_LT(Page.Scale, 1.0);
            else
                EXPECT_EQ(Page.Scale, 1.0);
        }
        ExpectSound(Table, Pages, Paper);
        // A full page leaves no room for one more row: the rows run to the
        // bottom before the next page begins.
        for (size_t P = 0; P + 1 < Pages.size(); ++P)
            EXPECT_EQ(Pages[P].Rows.size(), Pages.front().Rows.size()) << "page " << P + 1;
    }
}

TEST(LayOutTable, ScalesATableWiderThanLandscapeToTheWidthOfThePage)
{
    const TPrtPaper Paper;
    const TFixedMetrics Metrics;
    const std::vector<TPrtPage> Pages = LayOutTable(MakeTable(30, 10, 3), Paper, Metrics);
    ASSERT_EQ(Pages.size(), 1u);
    const TPrtPage& Page = Pages.front();
    const QRectF Content = Paper.Content(QPageLayout::Landscape);
    double Right = 0.0;
    for (const TPrtRule& Rule : Page.Rules)
        Right = std::max({Right, Rule.Line.x1(), Rule.Line.x2()});
    EXPECT_NEAR(Right, Content.right(), 1e-6) << "the table fills the width exactly";
    // The last column is on the page, at the same scale as the text.
    const TPrtText* Last = FindText(Page, QStringLiteral("2-28"));
    ASSERT_NE(Last, nullptr);
    EXPECT_LE(Last->Rect.right(), Content.right());
    EXPECT_DOUBLE_EQ(Last->PointSize, kPrtTablePointSize * Page.Scale);
}

TEST(LayOutTable, AlignsNumbersRightAndTextLeftAndNumbersTheRowsAsTheGridDoes)
{
    TPrtTable Table = MakeTable(2, 10, 3);
    // A text that did not convert in a number column stays left-aligned.
    Table.Rows[2].Cells[1] = {QStringLiteral("不明"), false};
    const std::vector<TPrtPage> Pages = LayOutTable(Table, TPrtPaper(), TFixedMetrics());
    ASSERT_EQ(Pages.size(), 1u);
    const TPrtPage& Page = Pages.front();
    ASSERT_NE(FindText(Page, QStringLiteral("101001")), nullptr);
    EXPECT_TRUE(FindText(Page, QStringLiteral("101001"))->Align & Qt::AlignRight);
    EXPECT_TRUE(FindText(Page, QStringLiteral("1-0"))->Align & Qt::AlignLeft);
    EXPECT_TRUE(FindText(Page, QStringLiteral("不明"))->Align & Qt::AlignLeft);
    // The row numbers: 1 to 3, right-aligned left of the first column.
    for (const char* Number : {"1", "2", "3"}) {
        const TPrtText* Text = FindText(Page, QString::fromLatin1(Number));
        ASSERT_NE(Text, nullptr) << Number;
        EXPECT_TRUE(Text->Align & Qt::AlignRight);
        EXPECT_LT(Text->Rect.right(), FindText(Page, QStringLiteral("0-0"))->Rect.left());
    }
    EXPECT_NE(FindText(Page, QStringLiteral("No")), nullptr);
}

TEST(LayOutTable, KeepsEmptyRowsAndStartsAPageWhereARowAsksForOne)
{
    TPrtTable Table = MakeTable(3, 10, 12);
    for (const int Empty : {3, 6, 7})
        for (TPrtCell& Cell : Table.Rows[static_cast<size_t>(Empty)].Cells)
            Cell = TPrtCell();
    Table.Rows[8].StartsPage = true;
    // A row that asks for a page while heading one does not add another.
    Table.Rows[0].StartsPage = true;
    const TPrtPaper Paper;
    const std::vector<TPrtPage> Pages = LayOutTable(Table, Paper, TFixedMetrics());
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_THAT(Pages[0].Rows, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7));
    EXPECT_THAT(Pages[1].Rows, ElementsAre(8, 9, 10, 11));
    ExpectSound(Table, Pages, Paper);
    // The empty rows take their place: the row after them stands as low as
    // if they held text.
    const TPrtText* Row2 = FindText(Pages[0], QStringLiteral("2-0"));
    const TPrtText* Row4 = FindText(Pages[0], QStringLiteral("4-0"));
    const TPrtText* Row5 = FindText(Pages[0], QStringLiteral("5-0"));
    ASSERT_TRUE(Row2 && Row4 && Row5);
    EXPECT_DOUBLE_EQ(Row4->Rect.top() - Row2->Rect.top(), 2 * (Row5->Rect.top() - Row4->Rect.top()));
}

TEST(LayOutTable, WidensAColumnForItsWidestTextUpToTwiceItsWidth)
{
    // A column of 4 characters grows to fit a text of 6; one with a text
    // of 26 grows to twice its width and no more: the painter condenses
    // what is left.
    TPrtTable Table;
    Table.Columns = {{QStringLiteral("a"), 4, false}, {QStringLiteral("b"), 4, false}};
    Table.RowNumbers = false;
    Table.Rows.push_back({{{QStringLiteral("abcdef"), false}, {QStringLiteral("abcdefghijklmnopqrstuvwxyz"), false}}});
    const TFixedMetrics Metrics;
    const std::vector<TPrtPage> Pages = LayOutTable(Table, TPrtPaper(), Metrics);
    ASSERT_EQ(Pages.size(), 1u);
    std::vector<double> Edges;
    for (const TPrtRule& Rule : Pages[0].Rules)
        if (Rule.Line.x1() == Rule.Line.x2())
            Edges.push_back(Rule.Line.x1());
    std::sort(Edges.begin(), Edges.end());
    ASSERT_EQ(Edges.size(), 3u);
    const double X = Metrics.TextWidth(QStringLiteral("x"), kPrtTablePointSize, false);
    EXPECT_GT(Edges[1] - Edges[0], Metrics.TextWidth(QStringLiteral("abcdef"), kPrtTablePointSize, false));
    EXPECT_LT(Edges[1] - Edges[0], 8 * X);
    EXPECT_DOUBLE_EQ(Edges[2] - Edges[1], 8 * X);
}

TEST(AddRunningTexts, HeadsEveryPageAndCountsThePagesInTheFooter)
{
    const TPrtPaper Paper;
    std::vector<TPrtPage> Pages = LayOutTable(MakeTable(3, 10, 150), Paper, TFixedMetrics());
    ASSERT_GE(Pages.size(), 3u);
    Pages[1].NoHeader = true;
    const TPrtFrame Frame = PageFrame({"さくら会", "2025年度", Ymd(2025, 4, 1), Ymd(2026, 3, 31)},
                                      TTvrRegionalSettings(), Ymd(2026, 5, 2));
    AddRunningTexts(Pages, Frame, Paper);
    const int Count = static_cast<int>(Pages.size());
    for (int N = 0; N < Count; ++N) {
        const TPrtPage& Page = Pages[static_cast<size_t>(N)];
        SCOPED_TRACE("page " + std::to_string(N + 1));
        const bool Header = N != 1;
        EXPECT_EQ(HasText(Page, QStringLiteral("さくら会 2025年度")), Header);
        EXPECT_EQ(HasText(Page, QStringLiteral("試験表")), Header);
        EXPECT_EQ(HasText(Page, QStringLiteral("期間 2025/04/01～2026/03/31")), Header);
        EXPECT_TRUE(HasText(Page, QStringLiteral("印刷日 2026/05/02")));
        EXPECT_TRUE(HasText(Page, QStringLiteral("%1 / %2").arg(N + 1).arg(Count)));
        // The header stands above everything else, the footer below.
        const QStringList Running = {QStringLiteral("さくら会 2025年度"), QStringLiteral("試験表"),
                                     QStringLiteral("期間 2025/04/01～2026/03/31")};
        const QStringList Footer = {QStringLiteral("印刷日 2026/05/02"), QStringLiteral("%1 / %2").arg(N + 1).arg(Count)};
        double BodyTop = 1e9;
        double BodyBottom = 0.0;
        for (const TPrtText& Text : Page.Texts)
            if (!Running.contains(Text.Text) && !Footer.contains(Text.Text)) {
                BodyTop = std::min(BodyTop, Text.Rect.top());
                BodyBottom = std::max(BodyBottom, Text.Rect.bottom());
            }
        if (Header) {
            EXPECT_LE(FindText(Page, QStringLiteral("試験表"))->Rect.bottom(), BodyTop);
        }
        EXPECT_GE(FindText(Page, Footer[0])->Rect.top(), BodyBottom);
    }
}

TEST(PageFrame, LeavesOutWhatTheSettingsDoNotGive)
{
    struct TCase {
        std::string Organisation;
        std::string YearTitle;
        QString Expected;
    };
    const TCase kCases[] = {
        {"さくら会", "2025年度", QStringLiteral("さくら会 2025年度")},
        {"", "2025年度", QStringLiteral("2025年度")},
        {"さくら会", "", QStringLiteral("さくら会")},
        {"", "", QString()},
    };
    for (const TCase& C : kCases) {
        const TPrtFrame Frame = PageFrame({C.Organisation, C.YearTitle, Ymd(2025, 4, 1), Ymd(2026, 3, 31)},
                                          TTvrRegionalSettings(), Today());
        EXPECT_EQ(Frame.Organisation, C.Expected) << C.Organisation << "|" << C.YearTitle;
    }
}

// A run that stopped before the cash-book table gave no period: its source
// tables still print, under no period.
TEST(PageFrame, SaysThePeriodOnlyWhenTheRunGaveOne)
{
    struct TCase {
        TTvrDate First;
        TTvrDate Last;
        QString Expected;
    };
    const TCase kCases[] = {
        {Ymd(2025, 4, 1), Ymd(2026, 3, 31), QStringLiteral("期間 2025/04/01～2026/03/31")},
        {Ymd(2025, 1, 1), Ymd(2025, 12, 31), QStringLiteral("期間 2025/01/01～2025/12/31")},
        {TTvrDate(), TTvrDate(), QString()},
    };
    for (const TCase& C : kCases) {
        const TRptPageHeader Header{"さくら会", "", C.First, C.Last};
        const TPrtFrame Frame = PageFrame(Header, TTvrRegionalSettings(), Today());
        EXPECT_EQ(Frame.Period, C.Expected) << C.Expected.toStdString();
        EXPECT_EQ(HasPeriod(Header), !C.Expected.isEmpty()) << C.Expected.toStdString();
        EXPECT_EQ(Frame.Organisation, QStringLiteral("さくら会"));
    }
}

// The cells of a sheet as the grid shows them: separators, rounding, dates
// in the regional settings, a text that did not convert left as it is.
TEST(SheetTable, GivesTheCellsTheTextsAndAlignmentOfTheGrid)
{
    TempFolder Temp;
    const std::string File = Temp.WriteUtf8("03表.csv", "2024/04/01,1234567,1234.5,x\n"
                                                        ",,,\n"
                                                        "2024/04/02,abc,-0.5,y\n");
    const TTvrFieldDefDynArray Fields = {
        {"日付", sftDate, 12}, {"整数", sftInteger, 8}, {"金額", sftDouble, 10}, {"摘要", sftString, 6}};
    TTvrRegionalSettings Settings;
    Settings.ThousandSeparator = "'";
    Settings.DateSeparator = "-";
    TTvrSheet Sheet;
    Sheet.LoadFromFile(File, Fields, Settings);
    const TPrtTable Table = SheetTable(Sheet, Settings);
    EXPECT_EQ(Table.SheetName, QStringLiteral("03表"));
    ASSERT_EQ(Table.Columns.size(), 4u);
    EXPECT_EQ(Table.Columns[1].Title, QStringLiteral("整数"));
    EXPECT_EQ(Table.Columns[1].CharCount, 8);
    EXPECT_FALSE(Table.Columns[0].Numeric);
    EXPECT_TRUE(Table.Columns[2].Numeric);
    ASSERT_EQ(Table.Rows.size(), 3u);
    const auto Texts = [&](size_t ARow) {
        std::vector<std::string> Result;
        for (const TPrtCell& Cell : Table.Rows[ARow].Cells)
            Result.push_back(Cell.Text.toStdString() + (Cell.Numeric ? " >" : " <"));
        return Result;
    };
    EXPECT_THAT(Texts(0), ElementsAre("2024-04-01 <", "1'234'567 >", "1'235 >", "x <"));
    EXPECT_THAT(Texts(1), ElementsAre(" <", " <", " <", " <"));
    EXPECT_THAT(Texts(2), ElementsAre("2024-04-02 <", "abc <", "-1 >", "y <"));
    for (const TPrtRow& Row : Table.Rows)
        EXPECT_FALSE(Row.StartsPage);
}

// The trial balance of the example year: its second section starts a page.
TEST(SheetTable, StartsEachSectionOfTheTrialBalanceOnANewPage)
{
    const TExampleYear Year;
    const TTvrSheets& Books = Year.Sumup().Outputs();
    const TTvrSheet& Trial = Books.Sheets(Books.Count() - 1);
    ASSERT_EQ(ExtractFileName(Trial.FileName()), "18試算表.csv");
    const TPrtTable Table = SheetTable(Trial, Year.Settings);
    std::vector<std::string> Starts;
    for (const TPrtRow& Row : Table.Rows)
        if (Row.StartsPage)
            Starts.push_back(Row.Cells.front().Text.toStdString());
    EXPECT_THAT(Starts, ElementsAre("■ 月次試算表", "■ 合計試算表"));
    const std::vector<TPrtPage> Pages = LayOutTable(Table, TPrtPaper(), TFixedMetrics());
    ASSERT_EQ(Pages.size(), 2u);
    EXPECT_TRUE(HasText(Pages[1], QStringLiteral("■ 合計試算表")));
    EXPECT_EQ(Table.Rows[static_cast<size_t>(Pages[1].Rows.front())].Cells.front().Text, QStringLiteral("■ 合計試算表"));
    // Its months make it wider than a portrait page.
    EXPECT_EQ(Pages[0].Orientation, QPageLayout::Landscape);
    // The other books have no sections.
    for (int I = 0; I + 1 < Books.Count(); ++I)
        for (const TPrtRow& Row : SheetTable(Books.Sheets(I), Year.Settings).Rows)
            EXPECT_FALSE(Row.StartsPage) << Books.Sheets(I).FileName();
}

} // namespace
} // namespace tavrel::printtest
