// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The run of 集計データ作成・表示: from the main window's choice of source
// files to the viewer with the sheets of the run.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "aggregation/SumSchema.h"
#include "reports/RptRequest.h"
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
// and the name of each table's file there, empty for a table not used; all
// as bytes, the names the file system knows them by.
struct TTvrRunSources {
    std::string Folder;
    std::array<std::string, kSrcTableKinds.size()> FileNames;

    std::string& FileName(TSrcTableKind AKind) { return FileNames[static_cast<size_t>(AKind)]; }
    const std::string& FileName(TSrcTableKind AKind) const { return FileNames[static_cast<size_t>(AKind)]; }
    friend bool operator==(const TTvrRunSources&, const TTvrRunSources&) = default;
};

// What tells that a file changed since a run read it: its time of
// modification to the nanosecond, its size and its identity (a spreadsheet
// saves by replacing the file). Nothing for a file that is not there.
struct TTvrFileStamp {
    int64_t Seconds = 0;
    int64_t Nanoseconds = 0;
    int64_t Size = 0;
    uint64_t Device = 0;
    uint64_t Inode = 0;
    friend bool operator==(const TTvrFileStamp&, const TTvrFileStamp&) = default;
};
std::optional<TTvrFileStamp> FileStamp(const std::string& AFileName);

// Runs the aggregation for the main window and hands its sheets to the
// viewer, which it owns. The run holds the user-interface thread: the log
// paints itself, and no input is taken until the run is over.
class TTvrRunController {
public:
    // Remembers the choice of a run once the run has started; best-effort.
    using TRememberSources = std::function<void()>;

    // AWindow is the main window, ALog its log; AButton starts the run and
    // follows AAction, the run's command, whose enabled state tells whether
    // the sources are complete. The log callback of the run is ASendMessage.
    TTvrRunController(QWidget* AWindow, TTvrLogView* ALog, QPushButton* AButton, QAction* AAction,
                      const TTvrRegionalSettings& ASettings, TTvrExecuteSendMessage ASendMessage);
    ~TTvrRunController();
    TTvrRunController(const TTvrRunController&) = delete;
    TTvrRunController& operator=(const TTvrRunController&) = delete;

    // While the viewer is on screen it shows the sheets of the last run:
    // when that run had these sources and none of their files changed since
    // (FileStamp), and nothing beyond the books is asked for, the viewer
    // only comes forward. Otherwise, when the command is enabled: the viewer
    // hidden, the wait cursor, the button off and the log empty; a pause;
    // the choice remembered (ARemember); the run, making what AYearEnd asks
    // for beyond the books (its Params also head the viewer's printouts);
    // then a pause to read the last line, or the warning of a run that could
    // not complete; the viewer with the sheets the run read and wrote and
    // what the run told of their year; a failed run leaves the main window
    // in front, with its log in view. However the run ends, the log is
    // complete and the button and the cursor come back before any error is
    // shown. True when a run was made now and completed.
    bool Run(const TTvrRunSources& ASources, const TRememberSources& ARemember, TRptYearEndRequest AYearEnd = {});

    // The folder a run of the sources writes its books into: the location's
    // "output" (bytes, with its separator).
    static std::string OutputFolderOf(const TTvrRunSources& ASources);

    // The viewer; none before the first run that kept a sheet.
    TTvrSheetWindow* SheetWindow() const { return FSheetWindow.get(); }
    // Hides the viewer: the choice of sources changed.
    void HideSheetWindow();

private:
    // Shows the viewer, restored when minimised, in front.
    void ShowSheetWindow();

    using TStamps = std::array<std::optional<TTvrFileStamp>, kSrcTableKinds.size()>;
    static TStamps StampsOf(const TTvrRunSources& ASources);

    QWidget* FWindow;
    TTvrLogView* FLog;
    QPushButton* FButton;
    QAction* FAction;
    TTvrRegionalSettings FSettings;
    std::unique_ptr<TTvrSumup> FSumup;
    std::unique_ptr<TTvrSheetWindow> FSheetWindow;
    // The sources of the last run that reached the engine, and their files'
    // stamps taken just before it read them.
    std::optional<TTvrRunSources> FRunSources;
    TStamps FRunStamps;
};

} // namespace tavrel
