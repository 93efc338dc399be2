// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The program's start and end: a hidden base window holds the program-wide
// settings, creates the main window once the event loop is first idle, and
// ends the program when the main window is gone.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "windows/TvrMainWindow.h"

namespace tavrel {

class TTvrBaseWindow : public QWidget {
public:
    // Sets the environment variables and checks them, finds the documents
    // folder and creates the configuration; the main window follows at the
    // first idle moment, on AStartFolder as its location when one is given.
    // The configuration lives in the user's documents folder, or in
    // ADocumentsFolder when one is given (a test's own folder).
    explicit TTvrBaseWindow(const QString& AStartFolder = QString(), const QString& ADocumentsFolder = QString());
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

    QString FStartFolder;
    QPointer<TTvrMainWindow> FMainWindow;
    bool FIdleInitialized = false;
    bool FIdleScheduled = false;
    bool FFinished = false;
};

// The program entry: the application object, the base window, the event
// loop. Returns the process's exit code.
int RunTavrel(int argc, char** argv);

} // namespace tavrel
