// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The GUI session a program without a Qt application (the command line)
// draws in. Each test runs in a process of its own that starts without an
// application, as the command line does.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <stdlib.h>

#include "print/PrtGuiSession.h"
#include "print/PrtPdf.h"
#include "tables/TvrValue.h"

namespace tavrel {
namespace {

std::vector<TPrtPage> OnePage()
{
    TPrtPage Page;
    Page.Size = TPrtPaper().PortraitSize;
    Page.Texts.push_back({QRectF(50, 50, 300, 20), QStringLiteral("収支決算書"), 12.0, true});
    return {Page};
}

TEST(TPrtGuiSession, StartsAnOffscreenApplicationThatDrawsAndEndsWithIt)
{
    ::unsetenv("QT_QPA_PLATFORM");
    {
        const TPrtGuiSession Session;
        ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);
        EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        EXPECT_TRUE(PagesPdf(OnePage(), QString()).startsWith("%PDF-"));
    }
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(TPrtGuiSession, KeepsThePlatformTheUserChose)
{
    ::setenv("QT_QPA_PLATFORM", "minimal", 1);
    const TPrtGuiSession Session;
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("minimal"));
}

TEST(TPrtGuiSession, LeavesARunningApplicationAlone)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int Argc = 1;
    char Name[] = "test";
    char* Argv[] = {Name, nullptr};
    QGuiApplication Application(Argc, Argv);
    {
        const TPrtGuiSession Session;
        EXPECT_EQ(QCoreApplication::instance(), &Application);
    }
    EXPECT_EQ(QCoreApplication::instance(), &Application);
}

TEST(TPrtGuiSession, RefusesAnApplicationThatCannotDraw)
{
    int Argc = 1;
    char Name[] = "test";
    char* Argv[] = {Name, nullptr};
    QCoreApplication Application(Argc, Argv);
    EXPECT_THROW(TPrtGuiSession(), ETvrError);
}

} // namespace
} // namespace tavrel
