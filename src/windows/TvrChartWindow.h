// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The charts of the year in a window of their own, opened from the viewer:
// budget against actual per major item and the money over the year, drawn
// by the page layer's chart painters from the engine's chart data, printed
// and saved as a PDF file as a sheet is.

#include <QWidget>

#include "shell/NbWindows.h"
#include "tables/TvrValue.h"
#include "windows/TvrPrintCommands.h"
#include "windows/TvrSheetYear.h"

class QAction;

namespace tavrel {

// Where the charts are painted: side by side in an area wider than it is
// high, one above the other otherwise.
class TTvrChartArea : public QWidget {
public:
    TTvrChartArea(const TRptCharts& ACharts, const TTvrRegionalSettings& ASettings, QWidget* AParent);
    // The rectangles of the budget chart and of the money chart.
    std::pair<QRectF, QRectF> ChartRects() const;

protected:
    void paintEvent(QPaintEvent* AEvent) override;

private:
    const TRptCharts& FCharts;
    const TTvrRegionalSettings& FSettings;
};

class TTvrChartWindow : public TTvrTaskBarWindow {
public:
    // Builds the window at the size it was left at (or 1000 x 720),
    // centred on the screen; SetYear gives it its charts.
    explicit TTvrChartWindow(const TTvrRegionalSettings& ASettings);
    // Remembers its size.
    ~TTvrChartWindow() override;

    // The charts of the year and what heads their printout. The year must
    // hold charts.
    void SetYear(const TTvrSheetYear& AYear);
    const TRptCharts& Charts() const { return FCharts; }
    const TRptPageHeader& Header() const { return FHeader; }

    // What 印刷... and PDF保存... act on: the charts' page, named グラフ,
    // proposed in the output folder.
    TTvrPrintout Printout() const;
    void ActPrintExecute();
    void ActPdfSaveExecute();

    QAction* ActPrint() const { return FActPrint; }
    QAction* ActPdfSave() const { return FActPdfSave; }
    TTvrChartArea* ChartArea() const { return FChartArea; }

protected:
    void keyPressEvent(QKeyEvent* AEvent) override;

private:
    TTvrRegionalSettings FSettings;
    TRptCharts FCharts;
    TRptPageHeader FHeader;
    std::string FOutputFolder;
    TTvrChartArea* FChartArea = nullptr;
    QAction* FActPrint = nullptr;
    QAction* FActPdfSave = nullptr;
};

} // namespace tavrel
