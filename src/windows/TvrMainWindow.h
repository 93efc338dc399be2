#pragma once

// The main window: the upper half chooses the source data (a location and
// one CSV file for each of the four source tables, or a table made from the
// clipboard); the lower half runs the aggregation, shows its log and hands
// the sheets of the run to the viewer.

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyledItemDelegate>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "aggregation/TvrSumup.h"
#include "shell/NbWindows.h"
#include "tables/TvrValue.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace tavrel {

class TTvrSheetWindow;

// One CSV file of the current location, as the file combo boxes show it.
struct TTvrMainSrcFiles {
    QString FileName;
    // Local time.
    TTvrDate FileTimeStamp;
    int32_t FileDays = 0;
    QString FileDaysString;
};

// How an owner-drawn combo box draws one item: in the open list (AListOpen)
// or in the closed box.
using TTvrDrawComboItem =
    std::function<void(QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState, bool AListOpen)>;

// A drop-down list whose items, in the list and in the closed box, are drawn
// by the window, all of one fixed height.
class TTvrOwnerDrawComboBox : public QComboBox {
public:
    TTvrOwnerDrawComboBox(QWidget* AParent, TTvrDrawComboItem ADrawItem);
    void SetItemHeight(int32_t AHeight);
    int32_t ItemHeight() const { return FItemHeight; }
    // Whether the drop-down list is open.
    bool ListOpen() const;

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;

private:
    friend class TTvrOwnerDrawDelegate;
    TTvrDrawComboItem FDrawItem;
    int32_t FItemHeight = 16;
};

class TTvrMainWindow : public TTvrTaskBarWindow {
public:
    // Builds the window over the configuration (which must exist): the
    // remembered locations, the first of them current, and its files chosen
    // by their remembered names. ASettings are the system's regional
    // settings, read once at start-up.
    explicit TTvrMainWindow(const TTvrRegionalSettings& ASettings);
    ~TTvrMainWindow() override;

    // Makes a folder the current location as if it had been chosen with the
    // folder picker (the program's argument); the files are chosen by their
    // remembered names, then by keyword. A folder that does not exist is
    // refused with a warning. False when it was refused.
    bool OpenSrcLocation(const QString& AFolder);

    void ActionExecute(QAction* ASender);

    // The log callback of the run: each line of the message goes to the log,
    // painted at once, except within a burst of many lines.
    void TotProgressSendMessage(const std::string& AMessage);

    // The text an item of a file combo box shows: the file name, its time
    // and its age; empty for the not-used item.
    QString SrcFileItemText(int AIndex) const;

    const QString& SrcPath() const { return FSrcPath; }
    const std::vector<TTvrMainSrcFiles>& SrcFiles() const { return FSrcFiles; }
    const QStringList& SrcLocationDisplayNames() const { return FSrcLocationDisplayNames; }
    TTvrSheetWindow* SheetWindow() const { return FSheetWindow.get(); }

    TTvrOwnerDrawComboBox* SrcLocationComboBox() const { return FSrcLocationComboBox; }
    TTvrOwnerDrawComboBox* SrcKamokuComboBox() const { return FSrcKamokuComboBox; }
    TTvrOwnerDrawComboBox* SrcTantoshaComboBox() const { return FSrcTantoshaComboBox; }
    TTvrOwnerDrawComboBox* SrcZandakaComboBox() const { return FSrcZandakaComboBox; }
    TTvrOwnerDrawComboBox* SrcKinsenComboBox() const { return FSrcKinsenComboBox; }
    QPushButton* SrcKamokuButton() const { return FSrcKamokuButton; }
    QPushButton* SrcTantoshaButton() const { return FSrcTantoshaButton; }
    QPushButton* TotExecButton() const { return FTotExecButton; }
    QPlainTextEdit* TotProgressMemo() const { return FTotProgressMemo; }
    QToolButton* MenuSpeedButton() const { return FMenuSpeedButton; }
    QMenu* MenuPopupMenu() const { return FMenuPopupMenu; }

    QAction* ActSrcLocation() const { return FActSrcLocation; }
    // The command that makes the table (0 account titles, 1 persons,
    // 2 balances, 3 cash book) from the clipboard, and the one that opens its
    // list.
    QAction* ActSrcClip(int ATable) const;
    QAction* ActSrcSelect(int ATable) const;
    QAction* ActTotExec() const { return FActTotExec; }
    QAction* ActHelpOpenFolder() const { return FActHelpOpenFolder; }
    QAction* ActHelpVersion() const { return FActHelpVersion; }
    QAction* ActExit() const { return FActExit; }

protected:
    void showEvent(QShowEvent* AEvent) override;
    void closeEvent(QCloseEvent* AEvent) override;
    void contextMenuEvent(QContextMenuEvent* AEvent) override;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    struct TSrcTable;

    void CreateControls();
    void CreateActions();
    TSrcTable* SrcTableOf(QAction* AAction);

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
    // Chooses an item: the one named ANAme (letter case ignored) when a name
    // is given, else the first containing the keyword. No name (nullopt) is
    // not the same as the empty name of the not-used item.
    static void SelectSrcFile(QComboBox* ACombo, const std::optional<QString>& AName, const QString& AKeyword);
    void SetSrcPath(const QString& APath);
    void UpdateSrcLocationDisplayNames();
    void SaveSrcPaths();
    void TotExec();
    // Shows the viewer, restored when minimised, in front.
    void ShowSheetWindow();
    // Moves the lines held back into the log and paints it.
    void FlushLog();

    TTvrRegionalSettings FSettings;
    std::unique_ptr<TTvrSheetWindow> FSheetWindow;
    std::vector<TTvrMainSrcFiles> FSrcFiles;
    QStringList FSrcLocationDisplayNames;
    QString FSrcPath;
    std::unique_ptr<TTvrSumup> FSumup;
    bool FShown = false;
    qint64 FLogBurstStart = 0;
    int32_t FLogBurstLines = 0;
    QStringList FPendingLog;

    QLabel* FSrcCaptionLabel = nullptr;
    QToolButton* FMenuSpeedButton = nullptr;
    QLabel* FSrcLocationLabel = nullptr;
    TTvrOwnerDrawComboBox* FSrcLocationComboBox = nullptr;
    TTvrOwnerDrawComboBox* FSrcKamokuComboBox = nullptr;
    TTvrOwnerDrawComboBox* FSrcTantoshaComboBox = nullptr;
    TTvrOwnerDrawComboBox* FSrcZandakaComboBox = nullptr;
    TTvrOwnerDrawComboBox* FSrcKinsenComboBox = nullptr;
    QPushButton* FSrcKamokuButton = nullptr;
    QPushButton* FSrcTantoshaButton = nullptr;
    QPushButton* FSrcZandakaButton = nullptr;
    QPushButton* FSrcKinsenButton = nullptr;
    QPushButton* FTotExecButton = nullptr;
    QPlainTextEdit* FTotProgressMemo = nullptr;
    QMenu* FMenuPopupMenu = nullptr;

    QAction* FActSrcLocation = nullptr;
    QAction* FActTotExec = nullptr;
    QAction* FActHelpOpenFolder = nullptr;
    QAction* FActHelpVersion = nullptr;
    QAction* FActExit = nullptr;

    // The four source tables in the order of the window: name, default file,
    // keyword, configuration key, column table, combo box, button, actions.
    std::vector<TSrcTable> FSrcTables;
};

} // namespace tavrel
