// The windows' tests run with a real QApplication on the offscreen platform,
// so that a run by hand behaves as under CTest.
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "shell/Nubix.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    tavrel::InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
