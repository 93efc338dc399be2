// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The program's windows as a whole: the window base of the main window and
// the viewer, and the application's main (base) window that is repainted
// after every modal box.

#include <QMainWindow>

namespace tavrel {

// The base of the main window and the viewer: a top-level window of its own
// (its own task-bar button), never owned by another window.
class TTvrTaskBarWindow : public QMainWindow {
public:
    TTvrTaskBarWindow();
};

// The window repainted after every message box and folder picker besides
// the active one: the application's main (base) window, set at start-up.
void SetApplicationMainWindow(QWidget* AWindow);
QWidget* ApplicationMainWindow();

// Repaints the application's main window when it is shown, and the active
// window when it is another: a modal box leaves no trace behind it.
void RepaintApplicationWindows();

} // namespace tavrel
