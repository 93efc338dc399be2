// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrBaseWindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>

#include "shell/NbFileNames.h"
#include "shell/NbFonts.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/NbWindows.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "shell/TvrLocale.h"
#include "shell/NbFileInfo.h"
#include "windows/TvrProgramIcon.h"
#include "windows/TvrMainWindow.h"

namespace tavrel {

namespace {

// A hint stays up for ten minutes unless the mouse moves on.
constexpr int32_t kHintHidePause = 600000;

// Set once an error nothing caught has ended the program's event loops, so
// that the program ends with its code also when no loop was running yet.
bool GEndedOnUncaughtError = false;

} // namespace

TTvrBaseWindow::TTvrBaseWindow(std::string AStartFolder, const QString& ADocumentsFolder)
    : FStartFolder(std::move(AStartFolder))
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
        ReportConfigProblem();
        if (!FStartFolder.empty())
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

bool TTvrApplication::notify(QObject* AReceiver, QEvent* AEvent)
{
    try {
        return QApplication::notify(AReceiver, AEvent);
    } catch (...) {
        EndOnUncaughtError(std::current_exception());
        return false;
    }
}

int ReportUncaughtError(std::exception_ptr AError)
{
    static bool GReporting = false;
    QString Detail;
    try {
        std::rethrow_exception(AError);
    } catch (const std::bad_alloc&) {
        Detail = QStringLiteral("メモリが足りません。");
    } catch (const std::exception& E) {
        Detail = QString::fromUtf8(E.what());
    } catch (...) {
        Detail = QStringLiteral("原因のわからないエラーです。");
    }
    const QString Template = QStringLiteral("予期しないエラーのため %1 を終了します。\n\n%2");
    const QStringList Values = {ApplicationTitle(), Detail};
    std::fprintf(stderr, "tavrel: %s\n", MessageBoxText(Template, Values).toLocal8Bit().constData());
    std::fflush(stderr);
    // An error while the box is up: the box is not shown again.
    if (GReporting)
        std::_Exit(1);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        GReporting = true;
        try {
            ShowMessageBox(nmkError, Template, Values, nmbOk);
        } catch (...) {
        }
        GReporting = false;
    }
    return 1;
}

void EndOnUncaughtError(std::exception_ptr AError)
{
    GEndedOnUncaughtError = true;
    QCoreApplication::exit(ReportUncaughtError(AError));
}

QString TavrelUsageText()
{
    return QStringLiteral("使い方: tavrel [フォルダ]\n"
                          "  フォルダ   開くソースデータの場所 (4つのソースデータのあるフォルダ)\n"
                          "  --help     この説明を表示する\n"
                          "  --version  プログラムの名前と版を表示する");
}

std::optional<int> CheckTavrelArguments(const std::vector<std::string>& AArguments)
{
    if (AArguments.size() <= 1)
        return std::nullopt;
    const std::string& First = AArguments[1];
    if (AArguments.size() == 2 && (First == "--help" || First == "-h")) {
        std::printf("%s\n", TavrelUsageText().toLocal8Bit().constData());
        return 0;
    }
    if (AArguments.size() == 2 && First == "--version") {
        TNbFileInfo Info;
        // The program file itself, also before the application object exists.
        ReadFileInfo(QStringLiteral("/proc/self/exe"), Info);
        std::printf("%s %s\n", ApplicationTitle().toLocal8Bit().constData(), Info.ProductVersion.toLocal8Bit().constData());
        return 0;
    }
    QString Error;
    if (AArguments.size() > 2)
        Error = QStringLiteral("引数が多すぎます。フォルダは一つだけ指定できます。");
    else if (First.starts_with('-'))
        Error = QStringLiteral("\"%1\" は使えないオプションです。").arg(PathDisplay(First));
    else
        return std::nullopt;
    std::fprintf(stderr, "tavrel: %s\n%s\n", Error.toLocal8Bit().constData(), TavrelUsageText().toLocal8Bit().constData());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        ShowMessageBox(nmkError, QStringLiteral("%1\n\n%2"), {Error, TavrelUsageText()}, nmbOk);
    return 2;
}

int RunTavrel(int argc, char** argv)
{
    std::unique_ptr<TTvrApplication> App;
    std::unique_ptr<TTvrBaseWindow> Base;
    try {
        // --help and --version answer without a display.
        if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h"
                          || std::string_view(argv[1]) == "--version"))
            return CheckTavrelArguments({argv[0], argv[1]}).value_or(0);
        App = std::make_unique<TTvrApplication>(argc, argv);
        // The arguments as bytes, less Qt's own: a folder from a Windows
        // stick need not be UTF-8, and QApplication::arguments() would lose
        // its name.
        const std::vector<std::string> Arguments(argv, argv + argc);
        if (const std::optional<int> Status = CheckTavrelArguments(Arguments))
            return *Status;
        // The base window decides when the program ends, not the last window
        // closed: the main window frees itself and the base window follows.
        QApplication::setQuitOnLastWindowClosed(false);
        QGuiApplication::setDesktopFileName(QStringLiteral("org.tavrel.Tavrel"));
        InstallFontSubstitutes();
        QApplication::setWindowIcon(ProgramIcon());
        try {
            Base = std::make_unique<TTvrBaseWindow>(Arguments.size() == 2 ? Arguments[1] : std::string());
        } catch (const ETvrError& E) {
            // The start's own failures (the configuration folder) say what
            // is wrong in the error box.
            ShowErrorMessage(E);
            return 1;
        }
        const int Status = GEndedOnUncaughtError ? 1 : QApplication::exec();
        Base.reset();
        return GEndedOnUncaughtError ? 1 : Status;
    } catch (...) {
        return ReportUncaughtError(std::current_exception());
    }
}

} // namespace tavrel
