// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrChartWindow.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "print/PrtCharts.h"
#include "print/PrtYearEnd.h"
#include "shell/NbFonts.h"
#include "windows/TvrGridParts.h"
#include "windows/TvrProgramIcon.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrWindowState.h"

namespace tavrel {

namespace {

// The charts need more room than a sheet's default window gives.
TTvrWindowState ChartWindowState()
{
    return TTvrWindowState(QStringLiteral("Chart."), false, QSize(1000, 720));
}

// Room around the charts and between them, in pixels.
constexpr int kChartMargin = 16;
// Side by side from this ratio of width to height on.
constexpr double kSideBySide = 1.25;

} // namespace

// ---------------------------------------------------------------- area

TTvrChartArea::TTvrChartArea(const TRptCharts& ACharts, const TTvrRegionalSettings& ASettings, QWidget* AParent)
    : QWidget(AParent), FCharts(ACharts), FSettings(ASettings)
{
    setObjectName(QStringLiteral("ChartArea"));
    setAutoFillBackground(true);
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, Qt::white);
    setPalette(Palette);
}

std::pair<QRectF, QRectF> TTvrChartArea::ChartRects() const
{
    const QRectF Inner = QRectF(rect()).adjusted(kChartMargin, kChartMargin, -kChartMargin, -kChartMargin);
    if (Inner.width() >= Inner.height() * kSideBySide) {
        const double Half = (Inner.width() - kChartMargin) / 2;
        return {QRectF(Inner.left(), Inner.top(), Half, Inner.height()),
                QRectF(Inner.right() - Half, Inner.top(), Half, Inner.height())};
    }
    // The page's proportions: the budget above, a little taller.
    const double Upper = (Inner.height() - kChartMargin) * 0.54;
    return {QRectF(Inner.left(), Inner.top(), Inner.width(), Upper),
            QRectF(Inner.left(), Inner.top() + Upper + kChartMargin, Inner.width(),
                   Inner.height() - Upper - kChartMargin)};
}

void TTvrChartArea::paintEvent(QPaintEvent*)
{
    QPainter Painter(this);
    Painter.setRenderHint(QPainter::Antialiasing);
    const auto [Budget, Money] = ChartRects();
    DrawBudgetChart(Painter, Budget, FCharts.Budget, FSettings);
    DrawMoneyChart(Painter, Money, FCharts.Money, FSettings);
}

// ---------------------------------------------------------------- window

TTvrChartWindow::TTvrChartWindow(const TTvrRegionalSettings& ASettings) : FSettings(ASettings)
{
    setObjectName(QStringLiteral("TvrChartWindow"));
    setWindowTitle(QStringLiteral("グラフ"));
    setWindowIcon(ProgramIcon());
    setFont(MeiryoFont(12));
    ChartWindowState().Restore(*this);

    FActPrint = MakePrintAction(this);
    FActPdfSave = MakePdfSaveAction(this);
    connect(FActPrint, &QAction::triggered, this, [this] { ActPrintExecute(); });
    connect(FActPdfSave, &QAction::triggered, this, [this] { ActPdfSaveExecute(); });

    auto* Central = new QWidget(this);
    auto* Layout = new QVBoxLayout(Central);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    setCentralWidget(Central);
    // The tool bar as the viewer's.
    auto* IcPanel = MakeGridPanel(Central, "IcPanel", QFrame::NoFrame);
    IcPanel->setFixedHeight(33);
    MakeToolBarButton(IcPanel, "IcPrintSpeedButton", FActPrint, 0);
    MakeToolBarButton(IcPanel, "IcPdfSaveSpeedButton", FActPdfSave, 1);
    Layout->addWidget(IcPanel);
    FChartArea = new TTvrChartArea(FCharts, FSettings, Central);
    Layout->addWidget(FChartArea, 1);
}

TTvrChartWindow::~TTvrChartWindow()
{
    ChartWindowState().Save(*this);
}

void TTvrChartWindow::SetYear(const TTvrSheetYear& AYear)
{
    FCharts = AYear.Charts.value_or(TRptCharts());
    FHeader = AYear.Header;
    FOutputFolder = AYear.OutputFolder;
    FChartArea->update();
}

TTvrPrintout TTvrChartWindow::Printout() const
{
    return TTvrPrintout{
        QStringLiteral("グラフ"), FOutputFolder,
        [Charts = FCharts, Header = FHeader, Settings = FSettings](QPagedPaintDevice& ADevice) {
            return PaintCharts(ADevice, Charts, Header, Settings, TTvrSheetWindow::CurrentDate());
        },
        [Charts = FCharts, Header = FHeader, Settings = FSettings](const std::string& APath) {
            WriteChartsPdf(APath, Charts, Header, Settings, TTvrSheetWindow::CurrentDate());
        }};
}

void TTvrChartWindow::ActPrintExecute()
{
    PrintWithPreview(Printout(), this);
}

void TTvrChartWindow::ActPdfSaveExecute()
{
    SavePrintoutPdf(Printout(), this);
}

void TTvrChartWindow::keyPressEvent(QKeyEvent* AEvent)
{
    // Esc closes (hides) the window, as it does the viewer.
    if (AEvent->key() == Qt::Key_Escape && AEvent->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TTvrTaskBarWindow::keyPressEvent(AEvent);
}

} // namespace tavrel
