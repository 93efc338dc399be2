// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// File and folder names as bytes and as the user reads them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "TestSupport.h"
#include "shell/NbFileNames.h"

namespace tavrel {
namespace {

TEST(FileNameDisplay, Utf8AsItIsCodePage932DecodedElseReplacementCharacters)
{
    // clang-format off
    struct Case { const char* Name; std::string Bytes; const char* Shown; };
    const Case kCases[] = {
        {"UTF-8",                          "収支科目マスタ.csv",                  "収支科目マスタ.csv"},
        {"ASCII",                          "kamoku.csv",                          "kamoku.csv"},
        {"code page 932 from a stick",     test::ToCp932("金銭出納テーブル.csv"), "金銭出納テーブル.csv"},
        {"code page 932 with a backslash", test::ToCp932("表.csv"),              "表.csv"},
        {"neither",                        "a\xFF\xFE" "b.csv",                    "a\uFFFD\uFFFD" "b.csv"},
        {"a lead byte at the end",         "a\x82",                              "a\uFFFD"},
        {"empty",                          "",                                    ""},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(FileNameDisplay(C.Bytes), QString::fromUtf8(C.Shown)) << C.Name;
}

TEST(PathDisplay, EachPartDecodedOnItsOwn)
{
    // A UTF-8 home holding a folder and a file of code page 932 names.
    const std::string Path = "/home/会計/" + test::ToCp932("2025年度") + "/" + test::ToCp932("残高テーブル.csv");
    EXPECT_EQ(PathDisplay(Path), QStringLiteral("/home/会計/2025年度/残高テーブル.csv"));
    EXPECT_EQ(PathDisplay("/a/b/"), QStringLiteral("/a/b/"));
    EXPECT_EQ(PathDisplay("/x/\xFF/"), QStringLiteral("/x/\uFFFD/"));
}

TEST(LocalPathBytes, TheFolderPickersAnswerIsFoundAgainAsBytes)
{
    QTemporaryDir Dir;
    const std::string Base = Dir.path().toStdString();
    const std::string Cp932 = test::ToCp932("会計");
    const std::string Bad = "x\xFF";
    for (const std::string& Name : {Cp932, Cp932 + "/" + Bad, std::string("utf8"), std::string("作業")})
        ASSERT_EQ(::mkdir((Base + "/" + Name).c_str(), 0700), 0) << Name;
    // Qt shows a name as UTF-8, with U+FFFD for what is not.
    const auto Shown = [](const std::string& ABytes) { return QFile::decodeName(ToByteArray(ABytes)); };
    // clang-format off
    struct Case { const char* Name; QString Given; std::string Bytes; };
    const Case kCases[] = {
        {"UTF-8 as it is",          Dir.path() + "/作業",                                  Base + "/作業"},
        {"with its separator",      Dir.path() + "/utf8/",                                 Base + "/utf8/"},
        {"code page 932",           Dir.path() + "/" + Shown(Cp932),                      Base + "/" + Cp932},
        {"two parts of bytes",      Dir.path() + "/" + Shown(Cp932) + "/" + Shown(Bad) + "/", Base + "/" + Cp932 + "/" + Bad + "/"},
        {"not there",               Dir.path() + "/gone/",                                 Base + "/gone/"},
        {"the root",                "/",                                                   "/"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(LocalPathBytes(C.Given), C.Bytes) << C.Name;
}

TEST(ExpandFolderBytes, AFullPathWithItsSeparatorWithoutDotParts)
{
    const std::string Cwd = QDir::currentPath().toStdString();
    // clang-format off
    struct Case { std::string Given; std::string Full; };
    const Case kCases[] = {
        {"/a/b",                 "/a/b/"},
        {"/a/b/",                "/a/b/"},
        {"/a/./c/../b",          "/a/b/"},
        {"/",                    "/"},
        {"/x/\x89\xEF/",         "/x/\x89\xEF/"},
        {"rel",                  Cwd + "/rel/"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(ExpandFolderBytes(C.Given), C.Full) << C.Given;
}

} // namespace
} // namespace tavrel
