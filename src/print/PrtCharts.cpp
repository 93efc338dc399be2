// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtCharts.h"

#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

#include "print/PrtPaint.h"
#include "print/PrtTexts.h"

namespace tavrel {

namespace {

constexpr double kTitleSize = 12.0;
constexpr double kLabelSize = 9.0;
constexpr double kSmallSize = 8.0;

const QColor kBudgetFill(0xc8, 0xc8, 0xc8);
const QColor kBudgetLine(0x88, 0x88, 0x88);
const QColor kActualFill(0x2f, 0x5f, 0x98);
const QColor kMarkColor(0xc0, 0x39, 0x2b);
const QColor kGridColor(0xd8, 0xd8, 0xd8);
const QColor kAxisColor(0x40, 0x40, 0x40);
const QColor kQuietText(0x50, 0x50, 0x50);

// Sizes in points on the painter's device, shrunk in proportion when the
// rectangle is smaller than the chart needs (a small window), so that the
// chart keeps its shape; and the painter clipped to the rectangle, so that
// nothing is ever drawn outside it.
class TChartPen {
public:
    TChartPen(QPainter& APainter, const QRectF& ARect, double AWidthPoints, double AHeightPoints)
        : FPainter(APainter)
    {
        const double K = DevicePerPoint(APainter);
        FShrink = std::clamp(std::min(ARect.width() / (AWidthPoints * K), ARect.height() / (AHeightPoints * K)), 0.3,
                             1.0);
        FK = K * FShrink;
        FPainter.save();
        FPainter.setClipRect(ARect, Qt::IntersectClip);
    }
    TChartPen(const TChartPen&) = delete;
    TChartPen& operator=(const TChartPen&) = delete;
    ~TChartPen() { FPainter.restore(); }

    double Pt(double APoints) const { return APoints * FK; }

    // The width of the text in device units.
    double Width(const QString& AText, double ASize, bool ABold = false) const
    {
        return PrtTextWidth(FPainter, PrtFont(ASize * FShrink, ABold), AText);
    }

    void Text(const QRectF& ARect, const QString& AText, double ASize, bool ABold, Qt::Alignment AAlign,
              const QColor& AColor = Qt::black) const
    {
        FPainter.setFont(PrtFont(ASize * FShrink, ABold));
        FPainter.setPen(AColor);
        DrawPrtText(FPainter, ARect, AText, AAlign);
    }

    void Line(const QLineF& ALine, double AWidth, const QColor& AColor, Qt::PenStyle AStyle = Qt::SolidLine) const
    {
        FPainter.setPen(QPen(AColor, Pt(AWidth), AStyle, Qt::FlatCap));
        FPainter.drawLine(ALine);
    }

    void Box(const QRectF& ARect, const QColor& AFill, const QColor& AOutline) const
    {
        FPainter.setBrush(AFill);
        FPainter.setPen(AOutline.isValid() ? QPen(AOutline, Pt(0.5)) : QPen(Qt::NoPen));
        FPainter.drawRect(ARect);
    }

    QPainter& Painter() const { return FPainter; }

private:
    QPainter& FPainter;
    double FShrink = 1.0;
    double FK = 1.0;
};

// An axis from Low to High in steps of Step, all round numbers, holding
// every value given and 0.
struct TAxis {
    double Low = 0.0;
    double High = 1.0;
    double Step = 1.0;
};

TAxis RoundAxis(double AMin, double AMax, int ATicks)
{
    AMin = std::min(AMin, 0.0);
    AMax = std::max(AMax, 0.0);
    if (AMax - AMin <= 0.0)
        AMax = AMin + 1.0;
    const double Raw = (AMax - AMin) / ATicks;
    const double Magnitude = std::pow(10.0, std::floor(std::log10(Raw)));
    double Step = 10.0 * Magnitude;
    for (const double M : {1.0, 2.0, 5.0})
        if (M * Magnitude >= Raw) {
            Step = M * Magnitude;
            break;
        }
    return {std::floor(AMin / Step) * Step, std::ceil(AMax / Step) * Step, Step};
}

// A legend entry: a sample drawn into a small square, then its text.
double LegendEntry(const TChartPen& APen, double AX, double AY, double AHeight, const QString& AText,
                   const std::function<void(const QRectF&)>& ASample)
{
    const QRectF Sample(AX, AY + (AHeight - APen.Pt(9)) / 2, APen.Pt(16), APen.Pt(9));
    ASample(Sample);
    const double Left = Sample.right() + APen.Pt(3);
    const double Width = APen.Width(AText, kSmallSize) + APen.Pt(2);
    APen.Text(QRectF(Left, AY, Width, AHeight), AText, kSmallSize, false, Qt::AlignLeft | Qt::AlignVCenter);
    return Left + Width + APen.Pt(10);
}

// The line style of each series: by colour on screen and by dash pattern on
// a black-and-white printout.
struct TSeriesStyle {
    QColor Color;
    double Width;
    Qt::PenStyle Style;
};

TSeriesStyle SeriesStyle(size_t AIndex)
{
    static const TSeriesStyle kStyles[] = {
        {QColor(0xd9, 0x82, 0x2b), 1.4, Qt::DashLine},
        {QColor(0x2f, 0x6d, 0xb3), 1.4, Qt::SolidLine},
        {QColor(0x22, 0x22, 0x22), 2.2, Qt::SolidLine},
    };
    return kStyles[AIndex % std::size(kStyles)];
}

// A counted balance's marker: a circle, a square or a diamond by series.
void DrawMarker(const TChartPen& APen, QPointF ACentre, size_t ASeries, const QColor& AOutline, const QColor& AFill)
{
    QPainter& P = APen.Painter();
    const double R = APen.Pt(3.2);
    P.setPen(QPen(AOutline, APen.Pt(1.0)));
    P.setBrush(AFill);
    switch (ASeries % 3) {
    case 0:
        P.drawEllipse(ACentre, R, R);
        break;
    case 1:
        P.drawRect(QRectF(ACentre.x() - R, ACentre.y() - R, 2 * R, 2 * R));
        break;
    default:
        P.drawPolygon(QPolygonF({ACentre + QPointF(0, -R * 1.3), ACentre + QPointF(R * 1.3, 0),
                                 ACentre + QPointF(0, R * 1.3), ACentre + QPointF(-R * 1.3, 0)}));
        break;
    }
}

// The chart's title on the left of its first line and its unit on the
// right; returns where the unit begins, so that a legend can stand before
// it.
double DrawHeading(const TChartPen& APen, const QRectF& ARect, double AHeight, const std::string& ATitle,
                   const std::string& AUnit)
{
    APen.Text(QRectF(ARect.left(), ARect.top(), ARect.width() / 2, AHeight), PrtString(ATitle), kTitleSize, true,
              Qt::AlignLeft | Qt::AlignVCenter);
    const double Unit = APen.Width(PrtString(AUnit), kSmallSize) + APen.Pt(2);
    APen.Text(QRectF(ARect.right() - Unit, ARect.top(), Unit, AHeight), PrtString(AUnit), kSmallSize, false,
              Qt::AlignRight | Qt::AlignVCenter, kQuietText);
    return ARect.right() - Unit;
}

} // namespace

void DrawBudgetChart(QPainter& APainter, const QRectF& ARect, const TRptBudgetChart& AChart,
                     const TTvrRegionalSettings& ASettings)
{
    const size_t Count = AChart.Incomes.Items.size() + AChart.Expenses.Items.size();
    const TChartPen Pen(APainter, ARect, 420.0, 90.0 + 14.0 * static_cast<double>(Count));
    const double TitleHeight = Pen.Pt(20);
    // The legend on the title's line, before the unit.
    const double Unit = DrawHeading(Pen, ARect, TitleHeight, AChart.Title, AChart.UnitLabel);
    const double LegendWidth = Pen.Pt(16 + 3 + 10) * 2 + Pen.Width(PrtString(AChart.BudgetLabel), kSmallSize) +
                               Pen.Width(PrtString(AChart.ActualLabel), kSmallSize) + Pen.Pt(4);
    const double X = LegendEntry(Pen, Unit - LegendWidth, ARect.top(), TitleHeight, PrtString(AChart.BudgetLabel),
                                 [&](const QRectF& R) { Pen.Box(R, kBudgetFill, kBudgetLine); });
    LegendEntry(Pen, X, ARect.top(), TitleHeight, PrtString(AChart.ActualLabel),
                [&](const QRectF& R) { Pen.Box(R, kActualFill, QColor()); });

    const std::vector<const TRptBudgetGroup*> Groups = {&AChart.Incomes, &AChart.Expenses};
    double Min = 0.0;
    double Max = 0.0;
    size_t Items = 0;
    double NameWidth = 0.0;
    double AmountWidth = 0.0;
    for (const TRptBudgetGroup* Group : Groups) {
        NameWidth = std::max(NameWidth, Pen.Width(PrtString(Group->Title), kLabelSize, true));
        for (const TRptBudgetItem& Item : Group->Items) {
            ++Items;
            Min = std::min({Min, Item.Budget, Item.Actual});
            Max = std::max({Max, Item.Budget, Item.Actual});
            NameWidth = std::max(NameWidth, Pen.Width(PrtString(Item.Name), kLabelSize));
            double Amount = std::max(Pen.Width(StatementAmountText(Item.Budget, ASettings), kSmallSize),
                                     Pen.Width(StatementAmountText(Item.Actual, ASettings), kSmallSize, true));
            if (Item.Marked)
                Amount += Pen.Pt(4) + Pen.Width(PrtString(Item.MarkText), kSmallSize, true);
            AmountWidth = std::max(AmountWidth, Amount);
        }
    }
    const TAxis Axis = RoundAxis(Min, Max, 5);
    const double AxisHeight = Pen.Pt(14);
    const double GroupHeight = Pen.Pt(16);
    const double Top = ARect.top() + TitleHeight + Pen.Pt(6);
    const double Bottom = ARect.bottom() - AxisHeight;
    const double Avail = Bottom - Top - GroupHeight * static_cast<double>(Groups.size());
    const double ItemHeight = Items == 0 ? 0.0 : std::min(Pen.Pt(28), Avail / static_cast<double>(Items));
    const double PlotLeft = ARect.left() + std::min(NameWidth + Pen.Pt(8), ARect.width() * 0.3);
    const double PlotRight = std::max(PlotLeft + Pen.Pt(40), ARect.right() - AmountWidth - Pen.Pt(6));
    const auto XOf = [&](double AValue) {
        return PlotLeft + (AValue - Axis.Low) / (Axis.High - Axis.Low) * (PlotRight - PlotLeft);
    };
    const double PlotBottom = Top + GroupHeight * static_cast<double>(Groups.size()) +
                              ItemHeight * static_cast<double>(Items);

    // The scale: light lines at round amounts, labelled under the bars.
    for (double V = Axis.Low; V <= Axis.High + Axis.Step / 2; V += Axis.Step) {
        const double Gx = XOf(V);
        Pen.Line(QLineF(Gx, Top, Gx, PlotBottom), 0.5, V == 0.0 ? kAxisColor : kGridColor);
        const double Half = Pen.Pt(40);
        Pen.Text(QRectF(Gx - Half, PlotBottom + Pen.Pt(2), 2 * Half, Pen.Pt(11)), StatementAmountText(V, ASettings),
                 kSmallSize, false, Qt::AlignHCenter | Qt::AlignTop, kQuietText);
    }

    double Y = Top;
    const double Bar = ItemHeight * 0.36;
    // The two amounts of an item stand one above the other: their text is
    // smaller when the items are crowded.
    const double AmountSize = std::clamp(ItemHeight / Pen.Pt(1) * 0.36, 6.0, kSmallSize);
    for (const TRptBudgetGroup* Group : Groups) {
        Pen.Text(QRectF(ARect.left(), Y, PlotLeft - ARect.left(), GroupHeight), PrtString(Group->Title), kLabelSize,
                 true, Qt::AlignLeft | Qt::AlignVCenter);
        Y += GroupHeight;
        for (const TRptBudgetItem& Item : Group->Items) {
            Pen.Text(QRectF(ARect.left() + Pen.Pt(8), Y, PlotLeft - ARect.left() - Pen.Pt(12), ItemHeight),
                     PrtString(Item.Name), kLabelSize, Item.Marked, Qt::AlignRight | Qt::AlignVCenter,
                     Item.Marked ? kMarkColor : QColor(Qt::black));
            const auto DrawBar = [&](double ATop, double AValue, const QColor& AFill, const QColor& AOutline,
                                     bool ABold, const QString& AMark) {
                const double X0 = XOf(0.0);
                const double X1 = XOf(AValue);
                Pen.Box(QRectF(std::min(X0, X1), ATop, std::fabs(X1 - X0), Bar), AFill, AOutline);
                const QString Amount = StatementAmountText(AValue, ASettings);
                const double Left = std::max(X0, X1) + Pen.Pt(3);
                const double Width = Pen.Width(Amount, AmountSize, ABold) + Pen.Pt(2);
                Pen.Text(QRectF(Left, ATop - Bar, Width, 3 * Bar), Amount, AmountSize, ABold,
                         Qt::AlignLeft | Qt::AlignVCenter, ABold ? QColor(Qt::black) : kQuietText);
                if (!AMark.isEmpty())
                    Pen.Text(QRectF(Left + Width + Pen.Pt(2), ATop - Bar, ARect.right() - Left - Width, 3 * Bar), AMark,
                             AmountSize, true, Qt::AlignLeft | Qt::AlignVCenter, kMarkColor);
            };
            DrawBar(Y + ItemHeight * 0.07, Item.Budget, kBudgetFill, kBudgetLine, false, QString());
            DrawBar(Y + ItemHeight * 0.50, Item.Actual, Item.Marked ? kMarkColor : kActualFill, QColor(), true,
                    Item.Marked ? PrtString(Item.MarkText) : QString());
            Y += ItemHeight;
        }
    }
}

void DrawMoneyChart(QPainter& APainter, const QRectF& ARect, const TRptMoneyChart& AChart,
                    const TTvrRegionalSettings& ASettings)
{
    const TChartPen Pen(APainter, ARect, 420.0, 220.0);
    const double TitleHeight = Pen.Pt(20);
    DrawHeading(Pen, ARect, TitleHeight, AChart.Title, AChart.UnitLabel);

    // The legend: the series, a counted balance, one that disagrees.
    const double LegendTop = ARect.top() + TitleHeight;
    const double LegendHeight = Pen.Pt(14);
    double X = ARect.left();
    for (size_t S = 0; S < AChart.Series.size(); ++S) {
        const TSeriesStyle Style = SeriesStyle(S);
        X = LegendEntry(Pen, X, LegendTop, LegendHeight, PrtString(AChart.Series[S].Name), [&](const QRectF& R) {
            Pen.Line(QLineF(R.left(), R.center().y(), R.right(), R.center().y()), Style.Width, Style.Color,
                     Style.Style);
        });
    }
    X = LegendEntry(Pen, X, LegendTop, LegendHeight, PrtString(AChart.CountedLabel), [&](const QRectF& R) {
        DrawMarker(Pen, R.center(), 0, kAxisColor, Qt::white);
    });
    LegendEntry(Pen, X, LegendTop, LegendHeight, PrtString(AChart.DiffersLabel), [&](const QRectF& R) {
        DrawMarker(Pen, R.center(), 0, kMarkColor, kMarkColor);
    });

    double Min = 0.0;
    double Max = 0.0;
    for (const TRptMoneySeries& Series : AChart.Series) {
        Min = std::min(Min, Series.Opening);
        Max = std::max(Max, Series.Opening);
        for (const double V : Series.MonthEnds) {
            Min = std::min(Min, V);
            Max = std::max(Max, V);
        }
    }
    for (const TRptMoneyPoint& Point : AChart.Points)
        for (const double V : {Point.Counted, Point.Book}) {
            Min = std::min(Min, V);
            Max = std::max(Max, V);
        }
    const TAxis Axis = RoundAxis(Min, Max, 6);
    double LabelWidth = 0.0;
    for (double V = Axis.Low; V <= Axis.High + Axis.Step / 2; V += Axis.Step)
        LabelWidth = std::max(LabelWidth, Pen.Width(StatementAmountText(V, ASettings), kSmallSize));
    const QRectF Plot(ARect.left() + LabelWidth + Pen.Pt(6), LegendTop + LegendHeight + Pen.Pt(8),
                      ARect.width() - LabelWidth - Pen.Pt(14), 0.0);
    const double PlotBottom = ARect.bottom() - Pen.Pt(16);
    const double PlotTop = Plot.top();
    const auto YOf = [&](double AValue) {
        return PlotBottom - (AValue - Axis.Low) / (Axis.High - Axis.Low) * (PlotBottom - PlotTop);
    };
    // A day's balance stands at the end of that day; the opening balance at
    // the start of the first.
    const double First = AChart.FirstDate.Day();
    const double Span = std::max(1.0, AChart.LastDate.Day() + 1.0 - First);
    const auto XAt = [&](double ADays) {
        return Plot.left() + std::clamp(ADays / Span, 0.0, 1.0) * Plot.width();
    };
    const auto XOfDayEnd = [&](TTvrDate ADate) { return XAt(ADate.Day() + 1.0 - First); };

    for (double V = Axis.Low; V <= Axis.High + Axis.Step / 2; V += Axis.Step) {
        const double Gy = YOf(V);
        Pen.Line(QLineF(Plot.left(), Gy, Plot.right(), Gy), 0.5, V == 0.0 ? kAxisColor : kGridColor);
        Pen.Text(QRectF(ARect.left(), Gy - Pen.Pt(6), LabelWidth, Pen.Pt(12)), StatementAmountText(V, ASettings),
                 kSmallSize, false, Qt::AlignRight | Qt::AlignVCenter, kQuietText);
    }
    // The months: a light line where each begins, its label under its span.
    double MonthStart = 0.0;
    for (size_t M = 0; M < AChart.MonthLastDates.size(); ++M) {
        const double MonthEnd = AChart.MonthLastDates[M].Day() + 1.0 - First;
        const double Left = XAt(MonthStart);
        const double Right = XAt(MonthEnd);
        Pen.Line(QLineF(Left, PlotTop, Left, PlotBottom), 0.5, kGridColor);
        if (M < AChart.MonthLabels.size())
            Pen.Text(QRectF(Left, PlotBottom + Pen.Pt(2), Right - Left, Pen.Pt(12)), PrtString(AChart.MonthLabels[M]),
                     kSmallSize, false, Qt::AlignHCenter | Qt::AlignTop, kQuietText);
        MonthStart = MonthEnd;
    }
    Pen.Line(QLineF(Plot.right(), PlotTop, Plot.right(), PlotBottom), 0.5, kGridColor);
    Pen.Line(QLineF(Plot.left(), PlotBottom, Plot.right(), PlotBottom), 0.8, kAxisColor);

    for (size_t S = 0; S < AChart.Series.size(); ++S) {
        const TRptMoneySeries& Series = AChart.Series[S];
        QPolygonF Line;
        Line << QPointF(XAt(0.0), YOf(Series.Opening));
        for (size_t M = 0; M < Series.MonthEnds.size() && M < AChart.MonthLastDates.size(); ++M)
            Line << QPointF(XOfDayEnd(AChart.MonthLastDates[M]), YOf(Series.MonthEnds[M]));
        const TSeriesStyle Style = SeriesStyle(S);
        APainter.setPen(QPen(Style.Color, Pen.Pt(Style.Width), Style.Style, Qt::RoundCap, Qt::RoundJoin));
        APainter.setBrush(Qt::NoBrush);
        APainter.drawPolyline(Line);
    }
    for (const TRptMoneyPoint& Point : AChart.Points) {
        const size_t Series = static_cast<size_t>(std::max(0, Point.Series));
        const double Px = XOfDayEnd(Point.Date);
        const QPointF At(Px, YOf(Point.Counted));
        if (Point.Differs) {
            Pen.Line(QLineF(Px, YOf(Point.Book), Px, At.y()), 1.0, kMarkColor, Qt::DashLine);
            APainter.setPen(QPen(kMarkColor, Pen.Pt(1.0)));
            APainter.setBrush(Qt::NoBrush);
            APainter.drawEllipse(At, Pen.Pt(6.5), Pen.Pt(6.5));
            DrawMarker(Pen, At, Series, kMarkColor, kMarkColor);
        } else {
            DrawMarker(Pen, At, Series, SeriesStyle(Series).Color, Qt::white);
        }
    }
}

void DrawCharts(QPainter& APainter, const QRectF& ARect, const TRptCharts& ACharts,
                const TTvrRegionalSettings& ASettings)
{
    const double Gap = std::min(DevicePerPoint(APainter) * 24, ARect.height() * 0.04);
    const double Upper = (ARect.height() - Gap) * 0.54;
    DrawBudgetChart(APainter, QRectF(ARect.left(), ARect.top(), ARect.width(), Upper), ACharts.Budget, ASettings);
    DrawMoneyChart(APainter, QRectF(ARect.left(), ARect.top() + Upper + Gap, ARect.width(), ARect.height() - Upper - Gap),
                   ACharts.Money, ASettings);
}

} // namespace tavrel
