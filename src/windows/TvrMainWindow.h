// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The main window: the upper half chooses the source data (a location and
// one CSV file for each of the four source tables, or a table made from the
// clipboard); the lower half runs the aggregation, shows its log and hands
// the sheets of the run to the viewer. This file lays the window out and
// wires its commands; the boxes, the location history, the log and the run
// are pieces of their own.

#include <QString>
#include <QStringList>
#include <QStyle>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reports/RptRequest.h"
#include "shell/NbWindows.h"
#include "sources/SrcTables.h"
#include "tables/TvrValue.h"
#include "windows/TvrOwnerDrawComboBox.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tavrel {

class TTvrLogView;
class TTvrRunController;
class TTvrSheetWindow;
class TTvrSrcLocationHistory;

// One CSV file of the current location, as the file combo boxes show it.
struct TTvrMainSrcFiles {
    // The full path, as bytes: the name the file operations and the run use.
    std::string FileName;
    // The file name without folder as the user reads it (FileNameDisplay).
    QString DisplayName;
    // False when the file's time lies beyond what a date holds (a year
    // outside 1 to 9999): it is shown as unknown.
    bool TimeKnown = false;
    // Local time.
    TTvrDate FileTimeStamp;
    int32_t FileDays = 0;
    QString FileDaysString;
};

class TTvrMainWindow : public TTvrTaskBarWindow {
public:
    // Builds the window over the configuration (which must exist): the
    // remembered locations, the first of them current, and its files chosen
    // by their remembered names. ASettings are the system's regional
    // settings, read once at start-up.
    explicit TTvrMainWindow(const TTvrRegionalSettings& ASettings);
    ~TTvrMainWindow() override;

    // Makes a folder (its path as bytes) the current location as if it had
    // been chosen with the folder picker (the program's argument); the files
    // are chosen by their remembered names, then by keyword. A folder that
    // does not exist, or a path that is not a folder, is refused with a
    // warning. False when it was refused.
    bool OpenSrcLocation(const std::string& AFolder);
    bool OpenSrcLocation(const QString& AFolder) { return OpenSrcLocation(AFolder.toStdString()); }

    void ActionExecute(QAction* ASender);

    // The log callback of the run: each line of the message goes to the log,
    // painted at once, except within a burst of many lines.
    void TotProgressSendMessage(const std::string& AMessage);

    // The text an item of a file combo box shows: the file name, its time
    // and its age; empty for the not-used item.
    QString SrcFileItemText(int AIndex) const;

    // The current location as the user reads it, and as bytes.
    QString SrcPath() const;
    const std::string& SrcFolder() const { return FSrcPath; }
    // The name (bytes) of the file chosen for a table; empty for the
    // not-used item and when none is chosen.
    std::string SrcFileName(TSrcTableKind AKind) const;
    const std::vector<TTvrMainSrcFiles>& SrcFiles() const { return FSrcFiles; }
    QStringList SrcLocationDisplayNames() const;
    TTvrSheetWindow* SheetWindow() const;

    TTvrOwnerDrawComboBox* SrcLocationComboBox() const { return FSrcLocationComboBox; }
    // The file combo box of a source table, and its "作成..." button.
    TTvrOwnerDrawComboBox* SrcComboBox(TSrcTableKind AKind) const { return SrcTable(AKind).ComboBox; }
    QPushButton* SrcButton(TSrcTableKind AKind) const { return SrcTable(AKind).Button; }
    TTvrOwnerDrawComboBox* SrcKamokuComboBox() const { return SrcComboBox(TSrcTableKind::Kamoku); }
    TTvrOwnerDrawComboBox* SrcTantoshaComboBox() const { return SrcComboBox(TSrcTableKind::Tantosha); }
    TTvrOwnerDrawComboBox* SrcZandakaComboBox() const { return SrcComboBox(TSrcTableKind::Zandaka); }
    TTvrOwnerDrawComboBox* SrcKinsenComboBox() const { return SrcComboBox(TSrcTableKind::Kinsen); }
    QPushButton* SrcKamokuButton() const { return SrcButton(TSrcTableKind::Kamoku); }
    QPushButton* SrcTantoshaButton() const { return SrcButton(TSrcTableKind::Tantosha); }
    QPushButton* TotExecButton() const { return FTotExecButton; }
    QPlainTextEdit* TotProgressMemo() const;
    QToolButton* MenuSpeedButton() const { return FMenuSpeedButton; }
    QMenu* MenuPopupMenu() const { return FMenuPopupMenu; }

    QAction* ActSrcLocation() const { return FActSrcLocation; }
    // The command that makes the table from the clipboard, and the one that
    // opens its list.
    QAction* ActSrcClip(TSrcTableKind AKind) const { return SrcTable(AKind).ActClip; }
    QAction* ActSrcSelect(TSrcTableKind AKind) const { return SrcTable(AKind).ActSelect; }
    QAction* ActTotExec() const { return FActTotExec; }
    // 総会資料を作成... and 次年度のソースデータを作成...: runs that also make the
    // year-end documents with their PDF, or next year's source tables.
    QAction* ActYearEnd() const { return FActYearEnd; }
    QAction* ActNextYear() const { return FActNextYear; }
    QAction* ActHelpOpenFolder() const { return FActHelpOpenFolder; }
    QAction* ActHelpVersion() const { return FActHelpVersion; }
    QAction* ActExit() const { return FActExit; }

protected:
    void showEvent(QShowEvent* AEvent) override;
    void closeEvent(QCloseEvent* AEvent) override;
    void contextMenuEvent(QContextMenuEvent* AEvent) override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    // A source table's row of the window: what the program knows of the
    // table, the key that remembers its file, and its controls and commands.
    struct TSrcTable {
        const TSrcTableInfo* Info = nullptr;
        QString ConfigKey;
        TTvrOwnerDrawComboBox* ComboBox = nullptr;
        QPushButton* Button = nullptr;
        QAction* ActSelect = nullptr;
        QAction* ActClip = nullptr;
    };

    const TSrcTable& SrcTable(TSrcTableKind AKind) const { return FSrcTables[static_cast<size_t>(AKind)]; }
    TSrcTable* SrcTableOf(QAction* AAction);

    void CreateActions();
    void CreateControls();

    void FormShow();
    void StatusChange();
    void MenuSpeedButtonClick();
    void SrcComboBoxDrawItem(TTvrOwnerDrawComboBox* AControl, QPainter& ACanvas, int AIndex, const QRect& ARect,
                             QStyle::State AState, bool AListOpen);
    void SrcComboBoxStatusChange();
    void SrcLocationComboBoxChange(int AIndex);
    void SrcLocationComboBoxDrawItem(QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState,
                                     bool AListOpen);
    bool SrcLocationComboBoxKeyDown(QKeyEvent* AEvent);

    void UpdateSrcComboBoxes(bool AFromConfig);

    // The run of the chosen sources (the choice remembered), making what
    // AYearEnd asks for beyond the books; the location's year-end settings
    // head the viewer's printouts. True when it completed.
    bool RunSources(TRptYearEndRequest AYearEnd);
    // The location's year-end settings, remembered or the defaults (no
    // names, the report date today).
    TRptParams YearEndParams() const;
    void ActYearEndExecute();
    void ActNextYearExecute();
    // Chooses an item: the one named AName (its bytes, then its text with
    // letter case ignored) when a name is given, else the first whose text
    // contains the keyword. No name (nullopt) is not the same as the empty
    // name of the not-used item.
    static void SelectSrcFile(QComboBox* ACombo, const std::optional<std::string>& AName, const QString& AKeyword);
    // Makes the folder the current location and the first of the history,
    // and writes the history (best-effort).
    void SetSrcPath(const std::string& APath);
    // Makes the folder the current location (SetSrcPath), then lists its
    // files again, choosing them by their remembered names (AFromConfig) or
    // by the names chosen before.
    void ChangeSrcPath(const std::string& APath, bool AFromConfig);

    TTvrRegionalSettings FSettings;
    std::vector<TTvrMainSrcFiles> FSrcFiles;
    // Bytes, with its separator; empty when no location is chosen.
    std::string FSrcPath;
    bool FShown = false;

    QLabel* FSrcCaptionLabel = nullptr;
    QToolButton* FMenuSpeedButton = nullptr;
    QLabel* FSrcLocationLabel = nullptr;
    TTvrOwnerDrawComboBox* FSrcLocationComboBox = nullptr;
    TTvrSrcLocationHistory* FSrcLocationHistory = nullptr;
    QPushButton* FTotExecButton = nullptr;
    TTvrLogView* FTotProgressMemo = nullptr;
    QMenu* FMenuPopupMenu = nullptr;

    QAction* FActSrcLocation = nullptr;
    QAction* FActTotExec = nullptr;
    QAction* FActYearEnd = nullptr;
    QAction* FActNextYear = nullptr;
    QAction* FActHelpOpenFolder = nullptr;
    QAction* FActHelpVersion = nullptr;
    QAction* FActExit = nullptr;

    // The four source tables, in the order of the window.
    std::array<TSrcTable, kSrcTableKinds.size()> FSrcTables;
    std::unique_ptr<TTvrRunController> FRun;
};

} // namespace tavrel
