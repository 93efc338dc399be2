// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The run of 集計データ作成・表示: from the main window's choice of source
// files to the viewer with the sheets of the run.

#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "aggregation/SumSchema.h"
#include "sources/SrcTables.h"
#include "tables/TvrValue.h"

class QAction;
class QPushButton;
class QWidget;

namespace tavrel {

class TTvrLogView;
class TTvrSheetWindow;
class TTvrSumup;

// The source files of a run: the location (a folder with its separator)
// and the name of each table's file there, empty for a table not used.
struct TTvrRunSources {
    QString Folder;
    std::array<QString, kSrcTableKinds.size()> FileNames;

    QString& FileName(TSrcTableKind AKind) { return FileNames[static_cast<size_t>(AKind)]; }
    const QString& FileName(TSrcTableKind AKind) const { return FileNames[static_cast<size_t>(AKind)]; }
};

// Runs the aggregation for the main window and hands its sheets to the
// viewer, which it owns. The run holds the user-interface thread: the log
// paints itself, and no input is taken until the run is over.
class TTvrRunController {
public:
    // The sources of a run, asked for once the run has started; it may
    // raise (remembering the choice writes the configuration).
    using TChooseSources = std::function<TTvrRunSources()>;

    // AWindow is the main window, ALog its log; AButton starts the run and
    // follows AAction, the run's command, whose enabled state tells whether
    // the sources are complete. The log callback of the run is ASendMessage.
    TTvrRunController(QWidget* AWindow, TTvrLogView* ALog, QPushButton* AButton, QAction* AAction,
                      const TTvrRegionalSettings& ASettings, TTvrExecuteSendMessage ASendMessage);
    ~TTvrRunController();
    TTvrRunController(const TTvrRunController&) = delete;
    TTvrRunController& operator=(const TTvrRunController&) = delete;

    // While the viewer is on screen it already shows the sheets of this
    // choice: it only comes forward. Otherwise, when the command is
    // enabled: the wait cursor, the button off and the log empty; a pause;
    // the run; then a pause to read the last line, or the warning of a run
    // that could not complete; the viewer with the sheets the run read and
    // wrote; a failed run leaves the main window in front, with its log in
    // view. However the run ends, the log is complete and the button and the
    // cursor come back before any error is shown.
    void Run(const TChooseSources& AChoose);

    // The viewer; none before the first run that kept a sheet.
    TTvrSheetWindow* SheetWindow() const { return FSheetWindow.get(); }
    // Hides the viewer: the choice of sources changed.
    void HideSheetWindow();

private:
    // Shows the viewer, restored when minimised, in front.
    void ShowSheetWindow();

    QWidget* FWindow;
    TTvrLogView* FLog;
    QPushButton* FButton;
    QAction* FAction;
    TTvrRegionalSettings FSettings;
    std::unique_ptr<TTvrSumup> FSumup;
    std::unique_ptr<TTvrSheetWindow> FSheetWindow;
};

} // namespace tavrel
