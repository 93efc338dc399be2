// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrRunController.h"

#include <QAction>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>

#include "aggregation/TvrSumup.h"
#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "windows/TvrLogView.h"
#include "windows/TvrSheetWindow.h"

namespace tavrel {

namespace {

// The pause after the log was cleared, before the run, in milliseconds: the
// empty log and the wait cursor are seen before the first line comes.
constexpr unsigned long kPauseBeforeRunMs = 300;
// The pause after a run that completed, in milliseconds: its last log line
// stays readable before the viewer covers the window.
constexpr unsigned long kPauseAfterRunMs = 1000;

std::string& SourceFileOf(TTvrExecuteParams& AParams, TSrcTableKind AKind)
{
    switch (AKind) {
    case TSrcTableKind::Kamoku:
        return AParams.KamokuMaster;
    case TSrcTableKind::Tantosha:
        return AParams.TantoshaMaster;
    case TSrcTableKind::Zandaka:
        return AParams.ZandakaTable;
    case TSrcTableKind::Kinsen:
        break;
    }
    return AParams.KinsenTable;
}

} // namespace

TTvrRunController::TTvrRunController(QWidget* AWindow, TTvrLogView* ALog, QPushButton* AButton, QAction* AAction,
                                     const TTvrRegionalSettings& ASettings, TTvrExecuteSendMessage ASendMessage)
    : FWindow(AWindow), FLog(ALog), FButton(AButton), FAction(AAction), FSettings(ASettings),
      FSumup(std::make_unique<TTvrSumup>(std::move(ASendMessage)))
{
}

TTvrRunController::~TTvrRunController()
{
    // The viewer first: it refers to the sheets of the run.
    FSheetWindow.reset();
    FSumup.reset();
}

void TTvrRunController::HideSheetWindow()
{
    if (FSheetWindow)
        FSheetWindow->hide();
}

void TTvrRunController::ShowSheetWindow()
{
    if (FSheetWindow->isMinimized())
        FSheetWindow->showNormal();
    FSheetWindow->show();
    FSheetWindow->raise();
    FSheetWindow->activateWindow();
}

void TTvrRunController::Run(const TChooseSources& AChoose)
{
    if (FSheetWindow && FSheetWindow->isVisible()) {
        ShowSheetWindow();
        return;
    }
    if (!FAction->isEnabled())
        return;
    bool Ok = false;
    try {
        const TNbOverrideCursor Wait;
        FButton->setEnabled(false);
        const auto Restore = qScopeGuard([this] {
            FLog->Flush();
            FButton->setEnabled(FAction->isEnabled());
        });
        FLog->Clear();
        FWindow->repaint();
        QThread::msleep(kPauseBeforeRunMs);

        const TTvrRunSources Sources = AChoose();
        TTvrExecuteParams Params;
        for (const TSrcTableKind Kind : kSrcTableKinds)
            SourceFileOf(Params, Kind) = Sources.FileName(Kind).toStdString();
        Params.PathInput = Sources.Folder.toStdString();
        Params.PathOutput = (Sources.Folder + QLatin1String(kOutputFolderName) + u'/').toStdString();
        Params.Settings = FSettings;
        Params.Today = TTvrSheetWindow::CurrentDate();
        Ok = FSumup->Execute(Params);
        FLog->Flush();

        if (Ok)
            QThread::msleep(kPauseAfterRunMs);
        else
            ShowMessageBox(nmkWarning, QStringLiteral("集計を完了できませんでした。\\n[集計ログ:] を確認してください。"),
                           nmbOk);
        if (FSumup->Inputs().Count() == 0 && FSumup->Outputs().Count() == 0)
            return;
        if (!FSheetWindow)
            FSheetWindow = std::make_unique<TTvrSheetWindow>(FSumup->Inputs(), FSumup->Outputs(), FSettings,
                                                             Params.Today);
        else
            FSheetWindow->Setup(FSumup->Inputs(), FSumup->Outputs(), Params.Today);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return;
    }

    ShowSheetWindow();
    if (!Ok) {
        FWindow->raise();
        FWindow->activateWindow();
    }
}

} // namespace tavrel
