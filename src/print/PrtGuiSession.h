// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QGuiApplication>
#include <memory>

namespace tavrel {

// Drawing needs a Qt GUI application (fonts, the PDF writer). A program
// without one, such as the command line, keeps one of these alive while it
// draws: it starts one on the offscreen platform (unless QT_QPA_PLATFORM
// names another), so that no window system is ever needed. Where a GUI
// application already runs, it does nothing. Raises ETvrError when a non-GUI Qt application
// runs, which cannot draw.
class TPrtGuiSession {
public:
    TPrtGuiSession();
    TPrtGuiSession(const TPrtGuiSession&) = delete;
    TPrtGuiSession& operator=(const TPrtGuiSession&) = delete;
    ~TPrtGuiSession();

private:
    int FArgc = 1;
    char FName[16] = "tavrel";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QGuiApplication> FApplication;
};

} // namespace tavrel
