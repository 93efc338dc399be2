// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The year-end PDF's pages laid out without painting: the statement from
// the kinds of its rows, amounts as statements write them, a long section
// continued under its titles, the reconciliation with its marked lines, and
// the pages in their order with their running texts.

#include "PrintTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <map>

#include "print/PrtPaint.h"
#include "print/PrtTexts.h"
#include "print/PrtYearEnd.h"
#include "PrtExampleDocuments.h"

namespace tavrel::printtest {
namespace {

using K = TRptRowKind;

TRptRow Row(K AKind, std::vector<TTvrValue> AFields, bool AMarked = false)
{
    AFields.resize(5);
    return {AKind, std::move(AFields), AMarked};
}

const TPrtText* FindText(const TPrtPage& APage, const QString& AText)
{
    for (const TPrtText& Text : APage.Texts)
        if (Text.Text == AText)
            return &Text;
    return nullptr;
}

std::vector<QString> AllTexts(const std::vector<TPrtPage>& APages)
{
    std::vector<QString> Texts;
    for (const TPrtPage& Page : APages)
        for (const TPrtText& Text : Page.Texts)
            Texts.push_back(Text.Text);
    return Texts;
}

TEST(StatementAmountText, WritesWholeAmountsWithSeparatorsAndANegativeOneAfterATriangle)
{
    struct TCase {
        double Value;
        const char* Expected;
    };
    // clang-format off
    const TCase kCases[] = {
        {0.0, "0"},            {-0.4, "0"},           {-0.5, "△1"},
        {1200.0, "1,200"},     {-1200.0, "△1,200"},   {1234567.5, "1,234,568"},
        {-9623.0, "△9,623"},   {2139775.0, "2,139,775"},
    };
    // clang-format on
    for (const TCase& C : kCases)
        EXPECT_EQ(StatementAmountText(C.Value, TTvrRegionalSettings()).toStdString(), C.Expected) << C.Value;
}

TEST(LayOutStatement, PutsTheExampleYearOnOnePageWithItsTitleLargeAndCentred)
{
    const TPrtPaper Paper;
    const std::vector<TPrtPage> Pages =
        LayOutStatement(ExampleStatement(), TTvrRegionalSettings(), Paper, TPrtFontMetrics());
    ASSERT_EQ(Pages.size(), 1u);
    const TPrtPage& Page = Pages.front();
    EXPECT_TRUE(Page.NoHeader);
    EXPECT_EQ(Page.Orientation, QPageLayout::Portrait);
    const QRectF Content = Paper.Content(QPageLayout::Portrait);
    for (const TPrtText& Text : Page.Texts) {
        EXPECT_TRUE(Content.contains(Text.Rect)) << Text.Text.toStdString();
        EXPECT_LE(TPrtFontMetrics().TextWidth(Text.Text, Text.PointSize, Text.Bold), Text.Rect.width() + 1e-6)
            << "fits without condensing: " << Text.Text.toStdString();
    }
    const TPrtText* Title = FindText(Page, QStringLiteral("さくら台三丁目町内会 2025年度 収支決算書"));
    const TPrtText* Period = FindText(Page, QStringLiteral("期間 2025/04/01～2026/03/31"));
    ASSERT_TRUE(Title && Period);
    for (const TPrtText& Text : Page.Texts)
        EXPECT_LE(Text.PointSize, Title->PointSize) << Text.Text.toStdString();
    EXPECT_TRUE(Title->Bold);
    EXPECT_TRUE(Title->Align & Qt::AlignHCenter);
    EXPECT_NEAR(Title->Rect.center().x(), Page.Size.width() / 2, 1e-6);
    EXPECT_TRUE(Period->Align & Qt::AlignHCenter);
    EXPECT_GT(Period->Rect.top(), Title->Rect.top());
    // Every auditor signs beside a seal box.
    int Seals = 0;
    for (const TPrtBox& Box : Page.Boxes)
        if (Box.Outline.isValid() && !Box.Fill.isValid() && Box.Rect.width() < 40) {
            const TPrtText* Mark = nullptr;
            for (const TPrtText& Text : Page.Texts)
                if (Text.Rect == Box.Rect)
                    Mark = &Text;
            ASSERT_NE(Mark, nullptr);
            EXPECT_EQ(Mark->Text, QStringLiteral("印"));
            ++Seals;
        }
    EXPECT_EQ(Seals, 2);
}

TEST(LayOutStatement, WritesTheAmountsRightAlignedAsStatementsDo)
{
    const std::vector<TPrtPage> Pages =
        LayOutStatement(ExampleStatement(), TTvrRegionalSettings(), TPrtPaper(), TFixedMetrics());
    for (const char* Amount : {"2,139,775", "2,130,152", "△11,200", "△9,623", "1,120,480", "21,670", "0"}) {
        const TPrtText* Text = FindText(Pages.front(), QString::fromUtf8(Amount));
        ASSERT_NE(Text, nullptr) << Amount;
        EXPECT_TRUE(Text->Align & Qt::AlignRight) << Amount;
    }
    for (const QString& Text : AllTexts(Pages))
        EXPECT_FALSE(Text.startsWith(QLatin1Char('-'))) << Text.toStdString();
    // The report date in the regional settings.
    EXPECT_NE(FindText(Pages.front(), QStringLiteral("2026/04/20")), nullptr);
}

TEST(LayOutStatement, LaysOutEachRowByItsKindWhateverItsText)
{
    // The same texts under other kinds: a total's name as an item, an
    // item's name as a total.
    TRptDocument Document;
    Document.FileName = "21収支決算書.csv";
    Document.FieldDefs = ExampleStatementFields();
    Document.Rows = {
        Row(K::Title, {"題"}),
        Row(K::Heading, {"見出し"}),
        Row(K::ColumnTitles, {"科目", "予算額", "決算額", "増減", "備考"}),
        Row(K::Item, {"収入合計", 10.0, -2.0, 0.0}),
        Row(K::Total, {"会費収入", 10.0, 8.0, -2.0}),
        Row(K::Blank, {}),
        Row(K::Signature, {TTvrValue(), "監事", "甲", TTvrValue(), "印"}),
        Row(K::Signature, {TTvrValue(), "会計", "乙"}),
    };
    const std::vector<TPrtPage> Pages = LayOutStatement(Document, TTvrRegionalSettings(), TPrtPaper(), TFixedMetrics());
    ASSERT_EQ(Pages.size(), 1u);
    const TPrtPage& Page = Pages.front();
    const TPrtText* Title = FindText(Page, QStringLiteral("題"));
    const TPrtText* Heading = FindText(Page, QStringLiteral("見出し"));
    const TPrtText* Titles = FindText(Page, QStringLiteral("予算額"));
    const TPrtText* Item = FindText(Page, QStringLiteral("収入合計"));
    const TPrtText* Total = FindText(Page, QStringLiteral("会費収入"));
    ASSERT_TRUE(Title && Heading && Titles && Item && Total);
    EXPECT_TRUE(Title->Align & Qt::AlignHCenter);
    EXPECT_GT(Title->PointSize, Heading->PointSize);
    EXPECT_TRUE(Heading->Bold);
    EXPECT_TRUE(Heading->Align & Qt::AlignLeft);
    EXPECT_TRUE(Titles->Bold);
    EXPECT_TRUE(Titles->Align & Qt::AlignHCenter);
    EXPECT_FALSE(Item->Bold);
    EXPECT_TRUE(Total->Bold);
    EXPECT_TRUE(FindText(Page, QStringLiteral("△2"))->Align & Qt::AlignRight);
    // A double rule over the total, a single one over the item.
    const auto RulesAt = [&](double AY) {
        return std::count_if(Page.Rules.begin(), Page.Rules.end(), [&](const TPrtRule& R) {
            return R.Line.y1() == R.Line.y2() && std::abs(R.Line.y1() - AY) < 2.0;
        });
    };
    EXPECT_EQ(RulesAt(Total->Rect.top() - 2.5), 2);
    EXPECT_EQ(RulesAt(Item->Rect.top() - 2.5), 1);
    // A seal box for the line that asks for one only.
    int Boxes = 0;
    for (const TPrtBox& Box : Page.Boxes)
        if (Box.Outline.isValid() && Box.Rect.width() < 40)
            ++Boxes;
    EXPECT_EQ(Boxes, 1);
    EXPECT_NE(FindText(Page, QStringLiteral("乙")), nullptr);
}

TEST(LayOutStatement, ContinuesALongSectionOnTheNextPageUnderItsHeadingAndColumnTitles)
{
    TRptDocument Document = ExampleStatement();
    // Eighty income items after the opening balance.
    std::vector<TRptRow> Many;
    for (int I = 0; I < 80; ++I)
        Many.push_back(Row(K::Item, {"収入科目" + std::to_string(I + 1), 1000.0 * I, 900.0 * I, -100.0 * I}));
    auto Opening = std::find_if(Document.Rows.begin(), Document.Rows.end(),
                                [](const TRptRow& R) { return R.Kind == K::Item; });
    Document.Rows.insert(Opening + 1, Many.begin(), Many.end());
    const TPrtPaper Paper;
    const std::vector<TPrtPage> Pages = LayOutStatement(Document, TTvrRegionalSettings(), Paper, TPrtFontMetrics());
    ASSERT_GE(Pages.size(), 2u);
    EXPECT_TRUE(Pages[0].NoHeader);
    // Every item once, in order.
    std::map<std::string, std::pair<size_t, double>> Where;
    for (size_t P = 0; P < Pages.size(); ++P)
        for (const TPrtText& Text : Pages[P].Texts)
            if (Text.Text.startsWith(QStringLiteral("収入科目"))) {
                EXPECT_EQ(Where.count(Text.Text.toStdString()), 0u) << Text.Text.toStdString();
                Where[Text.Text.toStdString()] = {P, Text.Rect.top()};
            }
    ASSERT_EQ(Where.size(), 80u);
    for (int I = 1; I < 80; ++I)
        EXPECT_LT(Where["収入科目" + std::to_string(I)], Where["収入科目" + std::to_string(I + 1)]) << I;
    // The page that continues the section: the heading, then the column
    // titles, then the items, under the running header.
    const size_t Next = Where["収入科目80"].first;
    ASSERT_GT(Next, 0u);
    const TPrtPage& Continued = Pages[Next];
    EXPECT_FALSE(Continued.NoHeader);
    const TPrtText* Heading = FindText(Continued, QStringLiteral("■ 収入の部"));
    const TPrtText* Titles = FindText(Continued, QStringLiteral("決算額"));
    ASSERT_TRUE(Heading && Titles);
    EXPECT_LT(Heading->Rect.top(), Titles->Rect.top());
    EXPECT_LT(Titles->Rect.top(), Where["収入科目80"].second);
    for (const TPrtPage& Page : Pages)
        for (const TPrtText& Text : Page.Texts)
            EXPECT_LE(Text.Rect.bottom(), PrtBodyRect(Paper, QPageLayout::Portrait, false).bottom() + 1e-6);
}

// Wherever a page ends, a heading stays with its column titles, the
// carry-forward lines with each other, a sentence with its signature line.
TEST(LayOutStatement, KeepsTogetherWhatBelongsTogetherWhereverAPageEnds)
{
    const TPrtFontMetrics Metrics;
    for (int Extra = 0; Extra <= 60; Extra += 3) {
        SCOPED_TRACE(std::to_string(Extra) + " more items");
        TRptDocument Document = ExampleStatement();
        std::vector<TRptRow> More;
        for (int I = 0; I < Extra; ++I)
            More.push_back(Row(K::Item, {"科目" + std::to_string(I), 100.0, 90.0, -10.0,
                                         I % 4 == 0 ? "二行に折り返されるほど長い備考の文章をここに書いておきます" : ""}));
        const auto Last = std::find_if(Document.Rows.rbegin(), Document.Rows.rend(),
                                       [](const TRptRow& R) { return R.Kind == K::Item; });
        Document.Rows.insert(Last.base(), More.begin(), More.end());
        const std::vector<TPrtPage> Pages = LayOutStatement(Document, TTvrRegionalSettings(), TPrtPaper(), Metrics);
        const auto PageOf = [&](const QString& AText) {
            for (size_t P = 0; P < Pages.size(); ++P)
                if (FindText(Pages[P], AText) != nullptr)
                    return static_cast<int>(P);
            ADD_FAILURE() << "missing " << AText.toStdString();
            return -1;
        };
        EXPECT_EQ(PageOf(QStringLiteral("■ 支出の部")), PageOf(QStringLiteral("残額")));
        EXPECT_EQ(PageOf(QStringLiteral("次年度繰越金")), PageOf(QStringLiteral("　うち現金")));
        EXPECT_EQ(PageOf(QStringLiteral("次年度繰越金")), PageOf(QStringLiteral("　うち預金")));
        EXPECT_EQ(PageOf(QStringLiteral("上記のとおり報告します。")), PageOf(QStringLiteral("2026/04/20")));
        EXPECT_EQ(PageOf(QStringLiteral("上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。")),
                  PageOf(QStringLiteral("木村　和夫")));
    }
}

TEST(ReconciliationTable, KeepsTheDocumentsColumnsAndMarksTheLinesThatDisagree)
{
    TRptDocument Document;
    Document.FileName = "22残高照合表.csv";
    Document.FieldDefs = ExampleReconciliationFields();
    const auto Line = [](std::vector<TTvrValue> AFields, bool AMarked) {
        AFields.resize(10);
        return TRptRow{K::Item, std::move(AFields), AMarked};
    };
    Document.Rows = {
        TRptRow{K::ColumnTitles,
                {"行", "日付", "現金(実査)", "現金(帳簿)", "現金差額", "預金(通帳)", "預金(帳簿)", "預金差額", "判定",
                 "候補"}},
        Line({int32_t(3), Ymd(2025, 6, 30), 1000.0, 1000.0, 0.0, TTvrValue(), 5000.0, TTvrValue(), "一致"}, false),
        Line({int32_t(1234), Ymd(2025, 7, 31), 800.0, 1000.0, -200.0, 5000.0, 5000.0, 0.0, "不一致",
              "現金: 40行"},
             true),
    };
    const TPrtTable Table = ReconciliationTable(Document, TTvrRegionalSettings());
    EXPECT_FALSE(Table.RowNumbers);
    ASSERT_EQ(Table.Columns.size(), 10u);
    EXPECT_EQ(Table.Columns[2].Title, QStringLiteral("現金(実査)"));
    EXPECT_TRUE(Table.Columns[4].Numeric);
    ASSERT_EQ(Table.Rows.size(), 2u);
    EXPECT_FALSE(Table.Rows[0].Marked);
    EXPECT_TRUE(Table.Rows[1].Marked);
    std::vector<std::string> Texts;
    for (const TPrtCell& Cell : Table.Rows[1].Cells)
        Texts.push_back(Cell.Text.toStdString());
    EXPECT_THAT(Texts, ::testing::ElementsAre("1234", "2025/07/31", "800", "1,000", "△200", "5,000", "5,000", "0",
                                              "不一致", "現金: 40行"));
    EXPECT_EQ(Table.Rows[0].Cells[5].Text, QString());

    // On the page the marked line is shaded across the table, in portrait
    // like the statement, under its caption.
    const TPrtPaper Paper;
    const std::vector<TPrtPage> Pages = LayOutTable(Table, Paper, TPrtFontMetrics());
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Orientation, QPageLayout::Portrait);
    EXPECT_NE(FindText(Pages[0], QStringLiteral("残高照合表")), nullptr);
    const TPrtText* Marked = FindText(Pages[0], QStringLiteral("不一致"));
    const TPrtText* Agrees = FindText(Pages[0], QStringLiteral("一致"));
    ASSERT_TRUE(Marked && Agrees);
    EXPECT_TRUE(Marked->Bold);
    EXPECT_FALSE(Agrees->Bold);
    const auto Shaded = [&](const TPrtText* AText) {
        return std::any_of(Pages[0].Boxes.begin(), Pages[0].Boxes.end(), [&](const TPrtBox& B) {
            return B.Fill.isValid() && B.Rect.top() <= AText->Rect.top() && B.Rect.bottom() >= AText->Rect.bottom() &&
                   B.Rect.width() >= Paper.Content(QPageLayout::Portrait).width() - 1e-6;
        });
    };
    EXPECT_TRUE(Shaded(Marked));
    EXPECT_FALSE(Shaded(Agrees));
}

TEST(LayOutYearEnd, PutsTheStatementTheReconciliationAndTheChartsInThatOrder)
{
    const TExampleYear Year;
    const TRptDocument Statement = ExampleStatement();
    const TRptDocument Reconciliation = ExampleReconciliation();
    const TRptCharts Charts = MakeCharts(*Year.Kinsen, *Year.Ledger, Year.Zandaka.get());
    for (const bool WithReconciliation : {true, false}) {
        SCOPED_TRACE(WithReconciliation ? "with a balance table" : "without");
        const TRptYearEndInputs Inputs{*Year.Kinsen,
                                       *Year.Ledger,
                                       WithReconciliation ? Year.Zandaka.get() : nullptr,
                                       Statement,
                                       WithReconciliation ? &Reconciliation : nullptr,
                                       ExamplePageHeader(),
                                       Year.Settings,
                                       Ymd(2026, 5, 1)};
        const std::vector<TPrtPage> Pages = LayOutYearEnd(Inputs, Charts, TPrtPaper(), TPrtFontMetrics());
        const size_t Count = WithReconciliation ? 3 : 2;
        ASSERT_EQ(Pages.size(), Count);
        for (size_t P = 0; P < Count; ++P) {
            EXPECT_EQ(Pages[P].Orientation, QPageLayout::Portrait);
            EXPECT_NE(FindText(Pages[P], QStringLiteral("%1 / %2").arg(P + 1).arg(Count)), nullptr);
            EXPECT_NE(FindText(Pages[P], QStringLiteral("印刷日 2026/05/01")), nullptr);
            EXPECT_EQ(Pages[P].Pictures.size(), P + 1 == Count ? 1u : 0u);
        }
        // The statement's first page carries no running header; the others do.
        EXPECT_EQ(FindText(Pages[0], QStringLiteral("さくら台三丁目町内会 2025年度")), nullptr);
        for (size_t P = 1; P < Count; ++P)
            EXPECT_NE(FindText(Pages[P], QStringLiteral("さくら台三丁目町内会 2025年度")), nullptr) << P;
        if (WithReconciliation) {
            EXPECT_NE(FindText(Pages[1], QStringLiteral("1,349,777")), nullptr);
        }
    }
}

} // namespace
} // namespace tavrel::printtest
