// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The program's start and end: a hidden base window holds the program-wide
// settings, creates the main window once the event loop is first idle, and
// ends the program when the main window is gone.

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "windows/TvrMainWindow.h"

namespace tavrel {

class TTvrBaseWindow : public QWidget {
public:
    // Sets the environment variables and checks them, finds the documents
    // folder and creates the configuration; the main window follows at the
    // first idle moment, on AStartFolder (a path as bytes, as the program's
    // argument gives it) as its location when one is given, and says then
    // why the configuration file cannot be used when it cannot. The
    // configuration lives in the user's documents folder, or in
    // ADocumentsFolder when one is given (a test's own folder).
    explicit TTvrBaseWindow(std::string AStartFolder = std::string(), const QString& ADocumentsFolder = QString());
    // Frees the configuration and releases the environment.
    ~TTvrBaseWindow() override;

    // Called whenever the event loop is about to wait: creates the main
    // window the first time; later, once no window of the program is left
    // but this one, closes this window and ends the event loop.
    void ApplicationEventsIdle();

    TTvrMainWindow* MainWindow() const { return FMainWindow.data(); }
    bool IdleInitialized() const { return FIdleInitialized; }
    // True once the base window closed because the program has ended.
    bool Finished() const { return FFinished; }

private:
    void ScheduleIdle();

    std::string FStartFolder;
    QPointer<TTvrMainWindow> FMainWindow;
    bool FIdleInitialized = false;
    bool FIdleScheduled = false;
    bool FFinished = false;
};

// The application object of the program. Qt cannot carry an exception
// through its event loop, so one that escapes an event handler or a slot
// ends here: the program says so (ReportUncaughtError) and ends with exit
// code 1.
class TTvrApplication : public QApplication {
public:
    TTvrApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* AReceiver, QEvent* AEvent) override;
};

// Says that the program ends because of an error nothing caught: on
// standard error and, when the program has its windows, in the error box,
// in Japanese ("予期しないエラーのため ... を終了します。" and what the error
// says, or that memory ran out). Returns the exit code, 1.
int ReportUncaughtError(std::exception_ptr AError);
// The same, then ends the event loops with that code: what notify does.
void EndOnUncaughtError(std::exception_ptr AError);

// The usage of tavrel, in Japanese.
QString TavrelUsageText();
// The program's arguments (the program's name first): none, or one folder.
// "--help" or "-h" alone prints the usage on standard output and gives 0,
// "--version" alone the title and the version of the program file;
// more than one argument, or another option, prints what is wrong and the
// usage on standard error, shows them in a message box too (once the
// application object exists), and gives 2.
// nullopt when the program goes on.
std::optional<int> CheckTavrelArguments(const std::vector<std::string>& AArguments);

// The program entry: the application object, the base window, the event
// loop. Returns the process's exit code; any error nothing else caught ends
// it with a message and exit code 1.
int RunTavrel(int argc, char** argv);

} // namespace tavrel
