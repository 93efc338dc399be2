// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The windows' tests run with a real QApplication on the offscreen platform,
// so that a run by hand behaves as under CTest.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "shell/NbFonts.h"
#include "windows/TvrBaseWindow.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program entry reads the system's regional settings; the example
    // data the tests run on is written in the Japanese conventions, which
    // the C locale gives whatever the developer's own locale.
    qputenv("LC_ALL", "C.UTF-8");
    // The program's own application object, which ends the program on an
    // error that escapes an event handler.
    tavrel::TTvrApplication App(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    tavrel::InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
