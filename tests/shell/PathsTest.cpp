// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Folder paths as the user sees them, and the special folders.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "shell/NbPaths.h"
#include "ShellTestSupport.h"

namespace tavrel {
namespace {

TEST(PathNames, LastComponentAndFullName)
{
    // clang-format off
    struct Case { const char* Path; const char* Name; const char* Full; bool Root; };
    const Case kCases[] = {
        {"/",                     "/",       "/",                     true},
        {"/.",                    "/",       "/",                     true},
        {"/home/..",              "/",       "/",                     true},
        {"/data",                 "data",    "/data",                 false},
        {"/data/",                "data",    "/data",                 false},
        {"/home/kaikei/帳簿",     "帳簿",    "/home/kaikei/帳簿",     false},
        {"/home/kaikei/帳簿/",    "帳簿",    "/home/kaikei/帳簿",     false},
        {"/home//kaikei/./x/../帳簿", "帳簿", "/home/kaikei/帳簿",    false},
    };
    // clang-format on
    for (const Case& C : kCases) {
        const QString Path = QString::fromUtf8(C.Path);
        EXPECT_EQ(PathDisplayName(Path), QString::fromUtf8(C.Name)) << C.Path;
        EXPECT_EQ(PathFullDisplayName(Path), QString::fromUtf8(C.Full)) << C.Path;
        EXPECT_EQ(IsDriveRoot(Path), C.Root) << C.Path;
    }
    // A relative path is taken from the current folder.
    EXPECT_EQ(PathFullDisplayName("sub"), QDir::current().absoluteFilePath("sub"));
}

TEST(DirectoryExistsQuiet, OnlyForExistingFolders)
{
    QTemporaryDir Dir;
    WriteAll(Dir.path() + "/file.csv", "x");
    EXPECT_TRUE(DirectoryExistsQuiet(Dir.path()));
    EXPECT_TRUE(DirectoryExistsQuiet(Dir.path() + "/"));
    EXPECT_FALSE(DirectoryExistsQuiet(Dir.path() + "/file.csv"));
    EXPECT_FALSE(DirectoryExistsQuiet(Dir.path() + "/missing"));
    EXPECT_FALSE(DirectoryExistsQuiet(""));
}

TEST(SpecialFolderPath, FullPathsWithTrailingSeparator)
{
    const TScopedEnv Home("HOME", "/home/kaikei");
    EXPECT_EQ(SpecialFolderPath(1), "/home/kaikei/Documents/");
    EXPECT_EQ(SpecialFolderPath(0), "/home/kaikei/Desktop/");
    EXPECT_EQ(SpecialFolderPath(99), SpecialFolderPath(0));
    for (const int Code : {2, 3, 4}) {
        const QString Path = SpecialFolderPath(Code);
        EXPECT_TRUE(Path.startsWith("/") && Path.endsWith("/")) << Code << " " << Path.toStdString();
    }
}

} // namespace
} // namespace tavrel
