// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The charts drawn into a rectangle of any painter: they stay inside it,
// whatever the data (none, negative amounts, a single month), so that a
// window and a page can give them any place.

#include "PrintTestSupport.h"

#include <QImage>
#include <QPainter>

#include "print/PrtCharts.h"

namespace tavrel::printtest {
namespace {

TRptCharts SmallCharts()
{
    TRptCharts Charts;
    Charts.Budget = {"予算と決算", "予算", "決算", "単位：円",
                     {"収入", {{"会費", 1000, 800, true, "予算未達"}, {"返金", 0, -300, true, "予算未達"}}},
                     {"支出", {{"事業費", 500, 700, true, "予算超過"}}}};
    TRptMoneyChart& Money = Charts.Money;
    Money = {"資金の推移", "単位：円", "残高テーブル", "帳簿と不一致", Ymd(2025, 4, 1), Ymd(2025, 6, 30),
             {"4月", "5月", "6月"}, {Ymd(2025, 4, 30), Ymd(2025, 5, 31), Ymd(2025, 6, 30)},
             {{"現金", 100, {50, -20, 30}}, {"預金", 900, {1000, 1200, 1100}}, {"合計", 1000, {1050, 1180, 1130}}},
             {{1, Ymd(2025, 3, 1), 0, 100, 100, false}, {2, Ymd(2025, 5, 10), 1, 1500, 1000, true},
              {3, Ymd(2025, 8, 1), 2, 1130, 1130, false}}};
    return Charts;
}

TEST(DrawCharts, StaysInsideItsRectangleWhateverTheData)
{
    TRptCharts Empty;
    TRptCharts OneMonth = SmallCharts();
    OneMonth.Money.LastDate = Ymd(2025, 4, 30);
    OneMonth.Money.MonthLabels.resize(1);
    OneMonth.Money.MonthLastDates.resize(1);
    for (TRptMoneySeries& Series : OneMonth.Money.Series)
        Series.MonthEnds.resize(1);
    struct TCase {
        const char* Name;
        TRptCharts Charts;
    };
    const TCase kCases[] = {{"none", Empty}, {"small", SmallCharts()}, {"one month", OneMonth}};
    for (const TCase& C : kCases) {
        SCOPED_TRACE(C.Name);
        for (const int Dpi : {96, 300}) {
            QImage Image(900, 1000, QImage::Format_RGB32);
            Image.setDotsPerMeterX(static_cast<int>(Dpi / 0.0254));
            Image.setDotsPerMeterY(static_cast<int>(Dpi / 0.0254));
            Image.fill(Qt::white);
            const QRect Inside(100, 120, 700, 760);
            {
                QPainter Painter(&Image);
                DrawCharts(Painter, Inside, C.Charts, TTvrRegionalSettings());
            }
            int Outside = 0;
            int Drawn = 0;
            for (int Y = 0; Y < Image.height(); ++Y)
                for (int X = 0; X < Image.width(); ++X) {
                    const bool White = Image.pixel(X, Y) == qRgb(255, 255, 255);
                    if (!White && !Inside.adjusted(-2, -2, 2, 2).contains(X, Y))
                        ++Outside;
                    Drawn += White ? 0 : 1;
                }
            EXPECT_EQ(Outside, 0) << Dpi << " dpi";
            EXPECT_GT(Drawn, 0) << Dpi << " dpi";
        }
    }
}

} // namespace
} // namespace tavrel::printtest
