// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

#include "shell/NbGlyphText.h"
#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "ShellTestSupport.h"

namespace tavrel {
namespace {

// The four variables as the base window sets them.
struct TAllSet {
    TScopedEnv Id {"AppSystemId", "Tavrel"};
    TScopedEnv Name {"AppSystemName", "ミロナ会計係／Tavrel"};
    TScopedEnv Program {"AppProgramName", "Tavrel"};
    TScopedEnv Location {"AppLocation", "/opt/tavrel/"};
};

TEST(Environment, CheckOnlyCountsAfterTheFirstCallAndReleasesAtZero)
{
    ASSERT_EQ(EnvironmentCount(), 0);
    {
        const TAllSet Env;
        CheckEnvironment();
    }
    EXPECT_EQ(EnvironmentCount(), 1);
    QFileIconProvider* const Icons = FileIconProvider();
    ASSERT_NE(Icons, nullptr);

    // The variables are gone now: a second call must not check them again.
    CheckEnvironment();
    EXPECT_EQ(EnvironmentCount(), 2);
    EXPECT_EQ(FileIconProvider(), Icons);

    ReleaseEnvironment();
    EXPECT_EQ(EnvironmentCount(), 1);
    EXPECT_EQ(FileIconProvider(), Icons) << "released before the last ReleaseEnvironment";
    ReleaseEnvironment();
    EXPECT_EQ(EnvironmentCount(), 0);
    EXPECT_EQ(FileIconProvider(), nullptr);
    ReleaseEnvironment();
    EXPECT_EQ(EnvironmentCount(), 0);
}

TEST(EnvironmentDeathTest, AMissingVariableShowsTheErrorBoxAndEndsWithCodeZero)
{
    for (const char* Missing : {kAppSystemId, kAppSystemName, kAppProgramName, kAppLocation}) {
        EXPECT_EXIT(
            {
                const TAllSet Env;
                qunsetenv(Missing);
                SetNextMessageBoxResult(QMessageBox::Ok);
                CheckEnvironment();
                std::fprintf(stderr, "still running\n");
                std::exit(3);
            },
            ::testing::ExitedWithCode(0), "")
            << Missing;
    }
}

TEST(Environment, TheErrorBoxNamesTheTitleAndTheFourVariables)
{
    EXPECT_EQ(MessageBoxText(EnvironmentErrorText(), EnvironmentErrorValues()),
              "'ミロナ会計係／Tavrel' cannot run!\nEnvironment variables below must be all set.\n\n"
              "AppSystemId\nAppSystemName\nAppProgramName\nAppLocation");
}

TEST(Environment, SetApplicationEnvironmentSetsTheFourVariables)
{
    const TScopedEnv Id("AppSystemId", "");
    const TScopedEnv Name("AppSystemName", "");
    const TScopedEnv Program("AppProgramName", "");
    const TScopedEnv Location("AppLocation", "");
    ASSERT_TRUE(SetApplicationEnvironment());
    EXPECT_EQ(qEnvironmentVariable("AppSystemId"), "Tavrel");
    EXPECT_EQ(qEnvironmentVariable("AppSystemName"), "ミロナ会計係／Tavrel");
    EXPECT_EQ(qEnvironmentVariable("AppProgramName"), "Tavrel");
    EXPECT_EQ(qEnvironmentVariable("AppLocation"), QCoreApplication::applicationDirPath() + "/");
    EXPECT_EQ(ApplicationTitle(), "ミロナ会計係／Tavrel");
}

TEST(Environment, DocumentsFolderBesideTheProgramOrInstalled)
{
    QTemporaryDir Program;
    const QString Installed = "/usr/share/doc/tavrel";
    EXPECT_EQ(DocumentsFolderFor(Program.path(), Installed), "/usr/share/doc/tavrel/");
    ASSERT_TRUE(QDir(Program.path()).mkdir("Documents"));
    EXPECT_EQ(DocumentsFolderFor(Program.path(), Installed), Program.path() + "/Documents/");
    EXPECT_EQ(DocumentsFolderFor(Program.path() + "/", Installed), Program.path() + "/Documents/");
    EXPECT_TRUE(DocumentsFolder().endsWith("/"));
}

} // namespace
} // namespace tavrel

namespace tavrel {
namespace {

TEST(Remember, ARefusedWriteIsSaidOnceUntilAWriteGoesThroughAgain)
{
    QTemporaryDir Documents;
    const TScopedEnv Id("AppSystemId", "Tavrel");
    SetConfig(std::make_unique<TTvrConfig>(Documents.path()));
    const QString Ini = Documents.filePath(QStringLiteral("Tavrel/Tavrel.ini"));
    const auto Write = [](int AValue) {
        return Remember([AValue](TTvrConfig& AConfig) { AConfig.WriteInteger(QStringLiteral("Sheet.Width"), AValue); });
    };
    ASSERT_TRUE(Write(1));
    // A read-only file: the first refused write is said, the next ones not.
    ASSERT_TRUE(QFile::setPermissions(Ini, QFileDevice::ReadOwner));
    const int Before = MessageBoxCount();
    SetNextMessageBoxResult(QMessageBox::Ok);
    EXPECT_FALSE(Write(2));
    EXPECT_FALSE(Write(3));
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(LastMessageBox()->Text.contains(Ini)) << LastMessageBox()->Text.toStdString();
    // Writable again: a write goes through; a later refusal is said again.
    ASSERT_TRUE(QFile::setPermissions(Ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_TRUE(Write(4));
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Width"), 0), 4);
    ASSERT_TRUE(QFile::setPermissions(Ini, QFileDevice::ReadOwner));
    SetNextMessageBoxResult(QMessageBox::Ok);
    EXPECT_FALSE(Write(5));
    EXPECT_EQ(MessageBoxCount(), Before + 2);
    SetConfig(nullptr);
    EXPECT_TRUE(Write(6)) << "without a configuration nothing to refuse";
}

TEST(Remember, AConfigurationFileThatCannotServeIsSaidAtTheStartAndNotAgain)
{
    QTemporaryDir Documents;
    const TScopedEnv Id("AppSystemId", "Tavrel");
    SetConfig(std::make_unique<TTvrConfig>(Documents.path()));
    ASSERT_EQ(::mkfifo(Documents.filePath(QStringLiteral("Tavrel/Tavrel.ini")).toUtf8().constData(), 0600), 0);
    const int Before = MessageBoxCount();
    SetNextMessageBoxResult(QMessageBox::Ok);
    ReportConfigProblem();
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_TRUE(LastMessageBox()->Text.contains(QStringLiteral("通常のファイルではありません")))
        << LastMessageBox()->Text.toStdString();
    EXPECT_FALSE(Remember([](TTvrConfig& AConfig) { AConfig.WriteBool(QStringLiteral("Sheet.Maximized"), true); }));
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    SetConfig(nullptr);
}

} // namespace
} // namespace tavrel
