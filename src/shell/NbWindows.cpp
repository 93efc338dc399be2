// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbWindows.h"

#include <QApplication>
#include <QPointer>

namespace tavrel {

namespace {

QPointer<QWidget> GApplicationMainWindow;

} // namespace

TTvrTaskBarWindow::TTvrTaskBarWindow() : QMainWindow(nullptr, Qt::Window) {}

void SetApplicationMainWindow(QWidget* AWindow)
{
    GApplicationMainWindow = AWindow;
}

QWidget* ApplicationMainWindow()
{
    return GApplicationMainWindow.data();
}

void RepaintApplicationWindows()
{
    if (QWidget* Main = GApplicationMainWindow.data(); Main && Main->isVisible())
        Main->repaint();
    if (QWidget* Active = QApplication::activeWindow(); Active && Active != GApplicationMainWindow.data())
        Active->repaint();
}

} // namespace tavrel
