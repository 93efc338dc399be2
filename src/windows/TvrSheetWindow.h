// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The aggregated data viewer: the sheets of the last run, one at a time, in
// a read-only grid from which cells are copied as tab-separated text.

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "shell/NbWindows.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"
#include "windows/TvrPrintCommands.h"
#include "windows/TvrSheetModel.h"
#include "windows/TvrSheetYear.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;

namespace tavrel {

struct TTvrSheetInfo {
    bool Output = false;
    // The file's time with its age, for the header and the list's hint.
    QString DateInfo1;
    // The file's age alone, for the list entry.
    QString DateInfo2;
    bool IsToday = false;
    // Where the sheet was when last left; -1 before (grid coordinates of the
    // data cells: column 0 is the first field, row 0 the first line).
    int32_t PrevLeftCol = -1;
    int32_t PrevTopRow = -1;
    int32_t PrevCol = -1;
    int32_t PrevRow = -1;
};

// "09:05 (本日)" for a file of today, else "2024-04-01 09:05 (3日前)"; the age
// text alone in ADateInfo2.
void SheetDateInfo(TTvrDate AFileTime, TTvrDate AToday, TTvrSheetInfo& AInfo);

class TTvrChartWindow;
class TTvrSheetWindow;

// One of the two grids: the headers are the fixed row (titles) and the
// fixed column (row numbers).
class TTvrSheetGrid : public QTableView {
public:
    TTvrSheetGrid(TTvrSheetWindow* AWindow, const TTvrRegionalSettings& ASettings, QWidget* AParent);
    TTvrSheetModel* SheetModel() const { return FModel; }
    // Lays out the scroll bars for the present size and model at once.
    void UpdateScrollRanges() { updateGeometries(); }

protected:
    void keyPressEvent(QKeyEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;

private:
    TTvrSheetWindow* FWindow;
    TTvrSheetModel* FModel;
};

class TTvrSheetWindow : public TTvrTaskBarWindow {
public:
    // Builds the window, reading its place from the configuration when there
    // is one, and shows the sheets (Setup). The sheets belong to the caller's
    // run; the window only refers to them until the next Setup.
    TTvrSheetWindow(const TTvrSheets& AInputs, const TTvrSheets& AOutputs,
                    const TTvrRegionalSettings& ASettings, TTvrDate AToday);
    // Writes the window's place to the configuration when there is one.
    ~TTvrSheetWindow() override;

    // Replaces the sheets shown: the source tables, then the output books;
    // at least one in all. AToday dates the files' ages.
    void Setup(const TTvrSheets& AInputs, const TTvrSheets& AOutputs, TTvrDate AToday);
    // What the run tells of the year of the sheets: the printed pages'
    // header, the output folder, the charts (the chart window, when open,
    // shows the new ones, or goes when there are none).
    void SetYear(TTvrSheetYear AYear);
    const TTvrSheetYear& Year() const { return FYear; }

    // The date of today on this computer.
    static TTvrDate CurrentDate();

    QString GetItemHint(QWidget* ASender, const QModelIndex& AParam) const;

    // The text of a data cell of the visible grid (column 0 is the first
    // field), in display or copy form.
    QString CellText(int32_t ACol, int32_t ARow, bool ACopy) const;
    bool IsNumericCell(int32_t ACol, int32_t ARow) const;

    void ActSelectAllExecute();
    void ActCopyExecute();
    // What 印刷... and PDF保存... act on: the sheet on show as its file holds
    // it now, under the year's header; none before a sheet is shown.
    std::optional<TTvrPrintout> Printout() const;
    void ActPrintExecute();
    void ActPdfSaveExecute();
    // Opens the chart window on the charts of the year, or brings it
    // forward.
    void ActChartExecute();
    TTvrChartWindow* ChartWindow() const { return FChartWindow.get(); }
    QAction* ActPrint() const { return FActPrint; }
    QAction* ActPdfSave() const { return FActPdfSave; }
    QAction* ActChart() const { return FActChart; }
    // Toggles row mode. Turning it off moves to the data cell at
    // APointerPos (viewport coordinates of the visible grid) when it is one;
    // without a position, to the one under the mouse pointer.
    void ActRowSelectExecute(std::optional<QPoint> APointerPos = std::nullopt);
    bool RowMode() const;

    int32_t SheetIndex() const { return FSheetIndex; }
    const std::vector<TTvrSheetInfo>& SheetInfos() const { return FSheetInfos; }
    TTvrSheetGrid* VisibleGrid() const { return FViSheetStringGrid; }
    QListWidget* SheetList() const { return FLsListListBox; }
    QWidget* ListPanel() const { return FLsPanel; }
    QLabel* HeadImage() const { return FViHeadImage; }

    // The grid's key handler in row mode: Left and Right scroll; true when
    // the key was consumed.
    bool GridKeyDown(TTvrSheetGrid* AGrid, QKeyEvent* AEvent);
    void GridDblClick(TTvrSheetGrid* AGrid, const QPoint& APos);

protected:
    void keyPressEvent(QKeyEvent* AEvent) override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
    // The chart window goes with the viewer.
    void hideEvent(QHideEvent* AEvent) override;

private:
    void LsListListBoxClick();
    void DrawHead();
    const TTvrSheet* SheetAt(int32_t AIndex) const;
    TTvrSheetGrid* HiddenGrid() const;
    void ShowGrid(TTvrSheetGrid* AGrid);
    void ApplyRowMode(TTvrSheetGrid* AGrid);

    TTvrRegionalSettings FSettings;
    std::vector<const TTvrSheet*> FSheets;
    std::vector<TTvrSheetInfo> FSheetInfos;
    int32_t FSheetIndex = -1;
    const TTvrSheet* FSheet = nullptr;

    QFrame* FLsPanel = nullptr;
    QListWidget* FLsListListBox = nullptr;
    QFrame* FViHeadPanel = nullptr;
    QLabel* FViHeadImage = nullptr;
    TTvrSheetGrid* FViSheetStringGrid1 = nullptr;
    TTvrSheetGrid* FViSheetStringGrid2 = nullptr;
    TTvrSheetGrid* FViSheetStringGrid = nullptr;
    QAction* FActSelectAll = nullptr;
    QAction* FActCopy = nullptr;
    QAction* FActRowSelect = nullptr;
    QMenu* FPopupMenu = nullptr;
    TTvrSheetYear FYear;
    QAction* FActPrint = nullptr;
    QAction* FActPdfSave = nullptr;
    QAction* FActChart = nullptr;
    std::unique_ptr<TTvrChartWindow> FChartWindow;
};

} // namespace tavrel
