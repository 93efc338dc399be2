// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrRunController.h"

#include <QAction>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <sys/stat.h>

#include "aggregation/TvrSumup.h"
#include "shell/NbFileNames.h"
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

std::optional<TTvrFileStamp> FileStamp(const std::string& AFileName)
{
    struct stat St {};
    if (::stat(AFileName.c_str(), &St) != 0)
        return std::nullopt;
    return TTvrFileStamp {St.st_mtim.tv_sec, St.st_mtim.tv_nsec, St.st_size, St.st_dev, St.st_ino};
}

TTvrRunController::TStamps TTvrRunController::StampsOf(const TTvrRunSources& ASources)
{
    TStamps Stamps;
    for (const TSrcTableKind Kind : kSrcTableKinds) {
        if (!ASources.FileName(Kind).empty())
            Stamps[static_cast<size_t>(Kind)] = FileStamp(ASources.Folder + ASources.FileName(Kind));
    }
    return Stamps;
}

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

std::string TTvrRunController::OutputFolderOf(const TTvrRunSources& ASources)
{
    return ASources.Folder + kOutputFolderName + '/';
}

bool TTvrRunController::Run(const TTvrRunSources& ASources, const TRememberSources& ARemember,
                            TRptYearEndRequest AYearEnd)
{
    // A file mended in the spreadsheet since the run is a change of the
    // choice: the mend is checked. Documents or next year's tables asked
    // for are made by a run, whatever the viewer shows.
    const bool BooksOnly = !AYearEnd.MakesDocuments() && !AYearEnd.BooksPdf && AYearEnd.NextYearFolder.empty();
    if (BooksOnly && FSheetWindow && FSheetWindow->isVisible() && FRunSources == ASources
        && StampsOf(ASources) == FRunStamps) {
        ShowSheetWindow();
        return false;
    }
    if (!FAction->isEnabled())
        return false;
    // The viewer shows the run's sheets, which the run replaces.
    HideSheetWindow();
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

        if (ARemember)
            ARemember();
        TTvrExecuteParams Params;
        for (const TSrcTableKind Kind : kSrcTableKinds)
            SourceFileOf(Params, Kind) = ASources.FileName(Kind);
        Params.PathInput = ASources.Folder;
        Params.PathOutput = OutputFolderOf(ASources);
        Params.Settings = FSettings;
        Params.Today = TTvrSheetWindow::CurrentDate();
        // The year the viewer prints its sheets under. A run that stops
        // before its books tells of no period and no charts; its sheets
        // still print under the location's names.
        TTvrSheetYear Year;
        Year.Header = TRptPageHeader{AYearEnd.Params.Organisation, AYearEnd.Params.YearTitle, {}, {}};
        Year.OutputFolder = Params.PathOutput;
        Params.YearEnd = std::move(AYearEnd);
        Params.YearEnd.KeepSummary = [&Year](TRptRunSummary ASummary) {
            Year.Header = std::move(ASummary.Header);
            Year.Charts = std::move(ASummary.Charts);
        };
        FRunSources = ASources;
        FRunStamps = StampsOf(ASources);
        Ok = FSumup->Execute(Params);
        FLog->Flush();

        if (Ok)
            QThread::msleep(kPauseAfterRunMs);
        else
            ShowMessageBox(nmkWarning, QStringLiteral("集計を完了できませんでした。\\n[集計ログ:] を確認してください。"),
                           nmbOk);
        if (FSumup->Inputs().Count() == 0 && FSumup->Outputs().Count() == 0)
            return Ok;
        if (!FSheetWindow)
            FSheetWindow = std::make_unique<TTvrSheetWindow>(FSumup->Inputs(), FSumup->Outputs(), FSettings,
                                                             Params.Today);
        else
            FSheetWindow->Setup(FSumup->Inputs(), FSumup->Outputs(), Params.Today);
        FSheetWindow->SetYear(std::move(Year));
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return false;
    }

    ShowSheetWindow();
    if (!Ok) {
        FWindow->raise();
        FWindow->activateWindow();
    }
    return Ok;
}

} // namespace tavrel
