// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtLayout.h"

#include <algorithm>
#include <memory>

namespace tavrel {

namespace {

// The running header: one line of text and a rule under it, then a gap.
constexpr double kHeaderPointSize = 9.0;
constexpr double kHeaderNamePointSize = 11.0;
constexpr double kHeaderHeight = 18.0;
constexpr double kHeaderGap = 8.0;
// The footer: a rule, then one line of small text at the bottom margin.
constexpr double kFooterPointSize = 8.0;
constexpr double kFooterHeight = 12.0;
constexpr double kFooterGap = 6.0;

// Inside a cell: the room left and right of its text and above and below it.
constexpr double kCellPadding = 2.5;
constexpr double kCellLeading = 2.0;
constexpr double kCaptionGap = 8.0;

const QColor kTitleFill(0xe6, 0xe6, 0xe6);
const QColor kNumberFill(0xf3, 0xf3, 0xf3);
const QColor kMarkedFill(0xfb, 0xdc, 0xdc);
const QColor kGridColor(0x80, 0x80, 0x80);
const QColor kNumberColor(0x50, 0x50, 0x50);

// A table's columns as printed: the row-number column first when asked for.
struct TColumnPlan {
    QString Title;
    bool Numeric = false;
    double Width = 0.0;
};

std::vector<TColumnPlan> PlanColumns(const TPrtTable& ATable, const TPrtMetrics& AMetrics)
{
    const double Size = kPrtTablePointSize;
    const double X = AMetrics.TextWidth(QStringLiteral("x"), Size, false);
    std::vector<TColumnPlan> Plans;
    if (ATable.RowNumbers) {
        const double Base = 6 * X;
        const double Last = AMetrics.TextWidth(QString::number(ATable.Rows.size()), Size, false);
        Plans.push_back({QStringLiteral("No"), true, std::max(Base, Last + 2 * kCellPadding)});
    }
    for (size_t C = 0; C < ATable.Columns.size(); ++C) {
        const TPrtColumn& Column = ATable.Columns[C];
        const double Base = std::max(0, Column.CharCount) * X;
        double Widest = 0.0;
        for (const TPrtRow& Row : ATable.Rows) {
            if (C < Row.Cells.size() && !Row.Cells[C].Text.isEmpty())
                Widest = std::max(Widest, AMetrics.TextWidth(Row.Cells[C].Text, Size, false));
        }
        const double Title = AMetrics.TextWidth(Column.Title, Size, true) + 2 * kCellPadding;
        const double Content = Column.CharCount > 0 ? std::min(Widest + 2 * kCellPadding, 2 * Base)
                                                    : Widest + 2 * kCellPadding;
        Plans.push_back({Column.Title, Column.Numeric, std::max({Base, Title, Content, X + 2 * kCellPadding})});
    }
    return Plans;
}

// One page being filled: its rows go from Top downwards.
class TTablePage {
public:
    TTablePage(const TPrtTable& ATable, const std::vector<TColumnPlan>& APlans, const TPrtPaper& APaper,
               QPageLayout::Orientation AOrientation, double AScale, const QRectF& ABody)
        : FTable(ATable), FPlans(APlans), FScale(AScale), FBody(ABody)
    {
        FPage.Orientation = AOrientation;
        FPage.Size = APaper.Size(AOrientation);
        FPage.SheetName = ATable.SheetName;
        FPage.Scale = AScale;
        FY = ABody.top();
    }

    double Bottom() const { return FBody.bottom(); }
    double Y() const { return FY; }
    bool HasRows() const { return !FPage.Rows.empty(); }

    void AddCaption(const TPrtMetrics& AMetrics)
    {
        const double Height = AMetrics.LineHeight(kPrtCaptionPointSize) + kCellLeading;
        FPage.Texts.push_back({QRectF(FBody.left(), FY, FBody.width(), Height), FTable.Caption, kPrtCaptionPointSize,
                               true, Qt::AlignHCenter | Qt::AlignVCenter});
        // The caption names the page; the running header need not.
        FPage.SheetName.clear();
        FY += Height + kCaptionGap;
    }

    void AddTitles(double ARowHeight)
    {
        FTableTop = FY;
        const QRectF Band(FBody.left(), FY, TableWidth(), ARowHeight);
        FPage.Boxes.push_back({Band, kTitleFill, QColor(), 0.0});
        double X = FBody.left();
        for (const TColumnPlan& Plan : FPlans) {
            const double W = Plan.Width * FScale;
            FPage.Texts.push_back({QRectF(X + Padding(), FY, W - 2 * Padding(), ARowHeight), Plan.Title, PointSize(),
                                   true, Qt::AlignHCenter | Qt::AlignVCenter});
            X += W;
        }
        FY += ARowHeight;
        FRowBottoms.push_back(FY);
    }

    void AddRow(int AIndex, double ARowHeight)
    {
        const TPrtRow& Row = FTable.Rows[static_cast<size_t>(AIndex)];
        const QRectF Band(FBody.left(), FY, TableWidth(), ARowHeight);
        if (Row.Marked)
            FPage.Boxes.push_back({Band, kMarkedFill, QColor(), 0.0});
        double X = FBody.left();
        size_t Cell = 0;
        for (size_t P = 0; P < FPlans.size(); ++P) {
            const double W = FPlans[P].Width * FScale;
            const QRectF Rect(X + Padding(), FY, W - 2 * Padding(), ARowHeight);
            if (FTable.RowNumbers && P == 0) {
                if (!Row.Marked)
                    FPage.Boxes.push_back({QRectF(X, FY, W, ARowHeight), kNumberFill, QColor(), 0.0});
                FPage.Texts.push_back({Rect, QString::number(AIndex + 1), PointSize(), false,
                                       Qt::AlignRight | Qt::AlignVCenter, kNumberColor});
            } else {
                if (Cell < Row.Cells.size() && !Row.Cells[Cell].Text.isEmpty()) {
                    const TPrtCell& C = Row.Cells[Cell];
                    FPage.Texts.push_back({Rect, C.Text, PointSize(), Row.Marked,
                                           (C.Numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter});
                }
                ++Cell;
            }
            X += W;
        }
        FY += ARowHeight;
        FRowBottoms.push_back(FY);
        FPage.Rows.push_back(AIndex);
    }

    // The grid: a frame around the table, a rule under every row and
    // between every two columns.
    TPrtPage Finish()
    {
        const double Left = FBody.left();
        const double Right = Left + TableWidth();
        const QColor Frame = Qt::black;
        FPage.Rules.push_back({QLineF(Left, FTableTop, Right, FTableTop), 0.8, Frame});
        for (size_t I = 0; I < FRowBottoms.size(); ++I) {
            const bool Last = I + 1 == FRowBottoms.size();
            const bool UnderTitles = I == 0;
            FPage.Rules.push_back({QLineF(Left, FRowBottoms[I], Right, FRowBottoms[I]),
                                   Last || UnderTitles ? 0.8 : 0.3, Last || UnderTitles ? Frame : kGridColor});
        }
        double X = Left;
        for (size_t P = 0; P <= FPlans.size(); ++P) {
            const bool Edge = P == 0 || P == FPlans.size();
            FPage.Rules.push_back({QLineF(X, FTableTop, X, FY), Edge ? 0.8 : 0.3, Edge ? Frame : kGridColor});
            if (P < FPlans.size())
                X += FPlans[P].Width * FScale;
        }
        return std::move(FPage);
    }

private:
    double TableWidth() const
    {
        double W = 0.0;
        for (const TColumnPlan& Plan : FPlans)
            W += Plan.Width * FScale;
        return W;
    }
    double Padding() const { return kCellPadding * FScale; }
    double PointSize() const { return kPrtTablePointSize * FScale; }

    const TPrtTable& FTable;
    const std::vector<TColumnPlan>& FPlans;
    double FScale;
    QRectF FBody;
    TPrtPage FPage;
    double FY = 0.0;
    double FTableTop = 0.0;
    std::vector<double> FRowBottoms;
};

} // namespace

QRectF PrtBodyRect(const TPrtPaper& APaper, QPageLayout::Orientation AOrientation, bool AHeader)
{
    QRectF Body = APaper.Content(AOrientation);
    if (AHeader)
        Body.setTop(Body.top() + kHeaderHeight + kHeaderGap);
    Body.setBottom(Body.bottom() - kFooterHeight - kFooterGap);
    return Body;
}

std::vector<TPrtPage> LayOutTable(const TPrtTable& ATable, const TPrtPaper& APaper, const TPrtMetrics& AMetrics)
{
    std::vector<TColumnPlan> Plans = PlanColumns(ATable, AMetrics);
    double Width = 0.0;
    for (const TColumnPlan& Plan : Plans)
        Width += Plan.Width;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    double Scale = 1.0;
    if (Width > APaper.Content(QPageLayout::Portrait).width()) {
        Orientation = QPageLayout::Landscape;
        const double Landscape = APaper.Content(QPageLayout::Landscape).width();
        if (Width > Landscape)
            Scale = Landscape / Width;
    } else if (ATable.FillWidth && Width > 0) {
        const double Stretch = APaper.Content(QPageLayout::Portrait).width() / Width;
        for (TColumnPlan& Plan : Plans)
            Plan.Width *= Stretch;
    }
    const QRectF Body = PrtBodyRect(APaper, Orientation, true);
    const double RowHeight = (AMetrics.LineHeight(kPrtTablePointSize) + 2 * kCellLeading) * Scale;

    std::vector<TPrtPage> Pages;
    auto Page = std::make_unique<TTablePage>(ATable, Plans, APaper, Orientation, Scale, Body);
    if (!ATable.Caption.isEmpty())
        Page->AddCaption(AMetrics);
    Page->AddTitles(RowHeight);
    for (int R = 0; R < static_cast<int>(ATable.Rows.size()); ++R) {
        const bool Break = ATable.Rows[static_cast<size_t>(R)].StartsPage && Page->HasRows();
        if (Break || (Page->Y() + RowHeight > Page->Bottom() && Page->HasRows())) {
            Pages.push_back(Page->Finish());
            Page = std::make_unique<TTablePage>(ATable, Plans, APaper, Orientation, Scale, Body);
            Page->AddTitles(RowHeight);
        }
        Page->AddRow(R, RowHeight);
    }
    Pages.push_back(Page->Finish());
    return Pages;
}

void AddRunningTexts(std::vector<TPrtPage>& APages, const TPrtFrame& AFrame, const TPrtPaper& APaper)
{
    const int Count = static_cast<int>(APages.size());
    for (int N = 0; N < Count; ++N) {
        TPrtPage& Page = APages[static_cast<size_t>(N)];
        const QRectF Content = APaper.Content(Page.Orientation);
        if (!Page.NoHeader) {
            const QRectF Band(Content.left(), Content.top(), Content.width(), kHeaderHeight);
            const double Third = Band.width() / 3;
            Page.Texts.push_back({QRectF(Band.left(), Band.top(), Third, Band.height()), AFrame.Organisation,
                                  kHeaderPointSize, false, Qt::AlignLeft | Qt::AlignBottom});
            Page.Texts.push_back({QRectF(Band.left() + Third, Band.top(), Third, Band.height()), Page.SheetName,
                                  kHeaderNamePointSize, true, Qt::AlignHCenter | Qt::AlignBottom});
            Page.Texts.push_back({QRectF(Band.right() - Third, Band.top(), Third, Band.height()), AFrame.Period,
                                  kHeaderPointSize, false, Qt::AlignRight | Qt::AlignBottom});
            Page.Rules.push_back({QLineF(Band.left(), Band.bottom() + 2, Band.right(), Band.bottom() + 2), 0.8});
        }
        const QRectF Foot(Content.left(), Content.bottom() - kFooterHeight, Content.width(), kFooterHeight);
        Page.Rules.push_back({QLineF(Foot.left(), Foot.top() - 2, Foot.right(), Foot.top() - 2), 0.3, kGridColor});
        Page.Texts.push_back({Foot, AFrame.PrintDate, kFooterPointSize, false, Qt::AlignLeft | Qt::AlignBottom});
        Page.Texts.push_back({Foot, QStringLiteral("%1 / %2").arg(N + 1).arg(Count), kFooterPointSize, false,
                              Qt::AlignRight | Qt::AlignBottom});
    }
}

} // namespace tavrel
