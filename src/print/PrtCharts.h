// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The charts of the year, drawn with QPainter into a rectangle of any
// painter: a PDF page, a printer, or the desktop's chart window. They draw
// the engine's chart data and nothing else: every figure and every label
// comes from it.

#include <QPainter>
#include <QRectF>

#include "reports/RptCharts.h"
#include "tables/TvrValue.h"

namespace tavrel {

// Budget against actual per major item, incomes then expenses: a light bar
// for the budget and a dark one for the actual amount, each with its amount
// written at its end; a marked item's actual bar is red and its mark is
// written after the amount.
void DrawBudgetChart(QPainter& APainter, const QRectF& ARect, const TRptBudgetChart& AChart,
                     const TTvrRegionalSettings& ASettings);

// The balances over the fiscal months as lines, and each counted balance as
// a marker at its date; a count that disagrees with the books is red, with
// a dashed line across the gap to the books' balance of that day.
void DrawMoneyChart(QPainter& APainter, const QRectF& ARect, const TRptMoneyChart& AChart,
                    const TTvrRegionalSettings& ASettings);

// Both charts, the budget above the money.
void DrawCharts(QPainter& APainter, const QRectF& ARect, const TRptCharts& ACharts,
                const TTvrRegionalSettings& ASettings);

} // namespace tavrel
