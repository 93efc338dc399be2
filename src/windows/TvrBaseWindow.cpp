// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrBaseWindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "shell/NbFonts.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/NbWindows.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "shell/TvrLocale.h"
#include "windows/NbFileInfo.h"
#include "windows/TvrMainWindow.h"

namespace tavrel {

namespace {

// A hint stays up for ten minutes unless the mouse moves on.
constexpr int32_t kHintHidePause = 600000;

} // namespace

TTvrBaseWindow::TTvrBaseWindow(const QString& AStartFolder, const QString& ADocumentsFolder)
    : FStartFolder(AStartFolder)
{
    SetApplicationEnvironment();
    CheckEnvironment();
    SetHintHidePause(kHintHidePause);
    // The configuration folder is made here; a failure ends the start.
    try {
        SetConfig(ADocumentsFolder.isEmpty() ? std::make_unique<TTvrConfig>()
                                             : std::make_unique<TTvrConfig>(ADocumentsFolder));
    } catch (...) {
        ReleaseEnvironment();
        throw;
    }
    SetApplicationMainWindow(this);
    setWindowTitle(ApplicationTitle());
    resize(246, 59);
    move(0, 0);
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { ScheduleIdle(); });
    ScheduleIdle();
}

TTvrBaseWindow::~TTvrBaseWindow()
{
    // A main window still open when the loop ended goes first: it and the
    // viewer write their places to the configuration.
    delete FMainWindow.data();
    SetApplicationMainWindow(nullptr);
    SetConfig(nullptr);
    ReleaseEnvironment();
}

void TTvrBaseWindow::ScheduleIdle()
{
    // Only when there is something to do: the first idle moment, or the main
    // window gone. The work itself runs as a queued call, outside the
    // dispatcher's notification.
    if (FIdleScheduled || FFinished || (FIdleInitialized && FMainWindow))
        return;
    FIdleScheduled = true;
    QTimer::singleShot(0, this, [this] {
        FIdleScheduled = false;
        ApplicationEventsIdle();
    });
}

void TTvrBaseWindow::ApplicationEventsIdle()
{
    if (FFinished)
        return;
    if (!FIdleInitialized) {
        FIdleInitialized = true;
        FMainWindow = new TTvrMainWindow(SystemRegionalSettings());
        // Its end is an idle moment worth a look even when the loop is kept
        // busy.
        connect(FMainWindow, &QObject::destroyed, this, [this] { ScheduleIdle(); }, Qt::QueuedConnection);
        FMainWindow->show();
        if (!FStartFolder.isEmpty())
            FMainWindow->OpenSrcLocation(FStartFolder);
        return;
    }
    // Is the base window the only window left? Hints and open menus do not
    // count; a window of the program, shown or hidden, does.
    for (QWidget* Widget : QApplication::topLevelWidgets()) {
        if (Widget == this || Widget->windowType() == Qt::ToolTip || Widget->windowType() == Qt::Popup)
            continue;
        if (Widget->isVisible() || dynamic_cast<TTvrTaskBarWindow*>(Widget))
            return;
    }
    FFinished = true;
    close();
    QCoreApplication::quit();
}

int RunTavrel(int argc, char** argv)
{
    QApplication App(argc, argv);
    const QStringList Args = App.arguments();
    if (Args.size() > 2 || (Args.size() == 2 && Args[1].startsWith(u'-'))) {
        std::fprintf(stderr, "usage: tavrel [FOLDER]\n"
                             "  FOLDER  the source-data location to open (a folder of the four tables)\n");
        return Args.size() == 2 && (Args[1] == QStringLiteral("--help") || Args[1] == QStringLiteral("-h")) ? 0 : 2;
    }
    // The base window decides when the program ends, not the last window
    // closed: the main window frees itself and the base window follows.
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavrel.Tavrel"));
    InstallFontSubstitutes();
    QApplication::setWindowIcon(ProgramIcon());
    std::unique_ptr<TTvrBaseWindow> Base;
    try {
        Base = std::make_unique<TTvrBaseWindow>(Args.size() == 2 ? Args[1] : QString());
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return 1;
    }
    return QApplication::exec();
}

} // namespace tavrel
