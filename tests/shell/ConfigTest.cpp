// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/TvrConfig.h"
#include "shell/TvrIniFile.h"
#include "ShellTestSupport.h"
#include "TestSupport.h"

namespace tavrel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A documents folder of its own for each test.
class ConfigTest : public ::testing::Test {
protected:
    QString Docs() const { return FDir.path(); }
    QString IniPath() const { return FDir.path() + "/Tavrel/Tavrel.ini"; }
    void WriteIni(const std::string& ABytes) const
    {
        QDir().mkpath(FDir.path() + "/Tavrel");
        WriteAll(IniPath(), ABytes);
    }

    TScopedEnv FId {"AppSystemId", "Tavrel"};
    QTemporaryDir FDir;
};

TEST_F(ConfigTest, FirstStartReadsDefaultsAndMakesTheFolderOnly)
{
    ASSERT_FALSE(QFileInfo::exists(Docs() + "/Tavrel"));
    const TTvrConfig Config(Docs());
    EXPECT_TRUE(QFileInfo(Docs() + "/Tavrel").isDir());
    EXPECT_EQ(Config.FileName(), IniPath());

    // clang-format off
    struct Case { const char* Key; int32_t Default; };
    const Case kIntegers[] = {
        {"Sheet.Left", 0}, {"Sheet.Top", 0}, {"Sheet.Width", 800}, {"Sheet.Height", 600},
        {"Sheet.ListWidth", 250}, {"Mksrc.Width", 800}, {"Mksrc.Height", 600},
    };
    // clang-format on
    for (const Case& C : kIntegers)
        EXPECT_EQ(Config.ReadInteger(C.Key, C.Default), C.Default) << C.Key;
    for (const char* Key : {"SrcKamoku", "SrcTantosha", "SrcZandaka", "SrcKinsen"})
        EXPECT_EQ(Config.ReadString(Key, ""), "") << Key;
    EXPECT_FALSE(Config.ReadBool("Sheet.Maximized", false));
    EXPECT_TRUE(Config.ReadBool("Mksrc.Maximized", true));
    QStringList Paths {"stale"};
    Config.ReadSectionValues("SrcPaths", Paths);
    EXPECT_TRUE(Paths.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(IniPath())) << "reading never creates the file";
}

TEST_F(ConfigTest, TheFolderAndFileAreNamedByAppSystemId)
{
    const TScopedEnv Id("AppSystemId", "Other");
    TTvrConfig Config(Docs());
    Config.WriteString("SrcKamoku", "科目.csv");
    EXPECT_EQ(ReadAll(Docs() + "/Other/Other.ini"), "[General]\r\nSrcKamoku=科目.csv\r\n");
}

TEST_F(ConfigTest, TheDefaultFolderIsTheUsersDocumentsFolder)
{
    // Qt's test mode keeps the XDG user folders out of the way, so that the
    // documents folder is $HOME/Documents.
    const TScopedEnv Home("HOME", Docs().toUtf8());
    TTvrConfig Config;
    EXPECT_EQ(Config.FileName(), Docs() + "/Documents/Tavrel/Tavrel.ini");
    Config.WriteBool("Sheet.Maximized", true);
    EXPECT_TRUE(QFileInfo::exists(Docs() + "/Documents/Tavrel/Tavrel.ini"));
}

TEST_F(ConfigTest, AFolderThatCannotBeMadeFailsTheStartWithAMessageInJapanese)
{
    WriteAll(Docs() + "/Tavrel", "a file where the folder should be");
    try {
        TTvrConfig Config(Docs());
        ADD_FAILURE() << "no error";
    } catch (const ETvrError& E) {
        EXPECT_EQ(std::string(E.what()), "設定ファイルのフォルダ \"" + (Docs() + "/Tavrel/").toStdString()
                                             + "\" を作成できません。同じ名前のファイルがあります。");
    }
}

TEST_F(ConfigTest, IntegersAndBooleansAsTheFileHoldsThem)
{
    // clang-format off
    struct Case { const char* Text; int32_t Width; bool Maximized; };
    const Case kCases[] = {
        {"abc",          800, false},
        {"0x320",        800, true},
        {"0X320",        800, true},
        {"$320",         800, true},
        {"1024",        1024, true},
        {"  1024  ",    1024, true},
        {"-5",            -5, true},
        {"+7",             7, true},
        {"0",              0, false},
        {"0x0",            0, false},
        {"0xFFFFFFFF",    -1, true},
        {"0x100000000",  800, false},
        {"2147483647", 2147483647, true},
        {"-2147483648", -2147483647 - 1, true},
        {"2147483648",   800, false},
        {"12abc",        800, false},
        {"1.5",          800, false},
        {"0x",           800, false},
        {"",             800, false},
    };
    // clang-format on
    const TTvrConfig Config(Docs());
    for (const Case& C : kCases) {
        WriteIni(std::string("[General]\r\nSheet.Width=") + C.Text + "\r\nSheet.Maximized=" + C.Text + "\r\n");
        EXPECT_EQ(Config.ReadInteger("Sheet.Width", 800), C.Width) << C.Text;
        EXPECT_EQ(Config.ReadBool("Sheet.Maximized", false), C.Maximized) << C.Text;
    }
}

TEST_F(ConfigTest, WritesReachTheFileAtOnceAsDecimalDigitsAndOneOrZero)
{
    TTvrConfig Config(Docs());
    Config.WriteInteger("Sheet.Width", 1024);
    EXPECT_EQ(ReadAll(IniPath()), "[General]\r\nSheet.Width=1024\r\n");
    Config.WriteBool("Sheet.Maximized", true);
    Config.WriteInteger("Sheet.Left", -8);
    Config.WriteBool("Mksrc.Maximized", false);
    EXPECT_EQ(ReadAll(IniPath()),
              "[General]\r\nSheet.Width=1024\r\nSheet.Maximized=1\r\nSheet.Left=-8\r\nMksrc.Maximized=0\r\n");
    // A second object on the same file sees every value.
    const TTvrConfig Other(Docs());
    EXPECT_EQ(Other.ReadInteger("Sheet.Left", 0), -8);
    EXPECT_TRUE(Other.ReadBool("Sheet.Maximized", false));
}

TEST_F(ConfigTest, AnEmptyValueIsWrittenAndTellsFromAMissingKey)
{
    TTvrConfig Config(Docs());
    EXPECT_FALSE(Config.ValueExists("SrcTantosha"));
    Config.WriteString("SrcTantosha", "");
    EXPECT_TRUE(Config.ValueExists("SrcTantosha"));
    EXPECT_TRUE(Config.ValueExists("srctantosha"));
    EXPECT_EQ(Config.ReadString("SrcTantosha", "default"), "");
    EXPECT_FALSE(Config.ValueExists("SrcZandaka"));
    EXPECT_EQ(Config.ReadString("SrcZandaka", "default"), "default");
    // Only the section of the values counts.
    Config.WriteSectionValues("SrcPaths", {"SrcZandaka=x"});
    EXPECT_FALSE(Config.ValueExists("SrcZandaka"));
}

TEST_F(ConfigTest, KeyOrderAndOtherLinesAreKeptWhenRewriting)
{
    WriteIni("; written by hand\r\n"
             "[SrcPaths]\r\n0=/data/club\r\n\r\n"
             "[General]\r\nSrcKinsen=b.csv\r\nsheet.width=640\r\nSrcKamoku=a.csv\r\n\r\n"
             "[Other]\r\nx=1\r\n");
    TTvrConfig Config(Docs());
    Config.WriteInteger("Sheet.Width", 700);
    Config.WriteString("SrcTantosha", "担当者マスタ.csv");
    Config.WriteString("SrcKinsen", "金銭出納テーブル.csv");
    EXPECT_EQ(ReadAll(IniPath()), "; written by hand\r\n"
                                  "[SrcPaths]\r\n0=/data/club\r\n\r\n"
                                  "[General]\r\nSrcKinsen=金銭出納テーブル.csv\r\nsheet.width=700\r\n"
                                  "SrcKamoku=a.csv\r\nSrcTantosha=担当者マスタ.csv\r\n\r\n"
                                  "[Other]\r\nx=1\r\n");
}

TEST_F(ConfigTest, ValuesAreReadWholeHoweverLong)
{
    // A folder path of 2,100 characters: cut at 2,047 it would name one of
    // its parents.
    QString Deep = QStringLiteral("/data");
    while (Deep.size() < 2100)
        Deep += QStringLiteral("/年度");
    Deep = Deep.left(2099) + u'/';
    ASSERT_EQ(Deep.size(), 2100);
    TTvrConfig Config(Docs());
    for (const QString& Value : {Deep, Deep.left(2047), Deep.left(2048), Deep + Deep}) {
        Config.WriteString("SrcKamoku", Value);
        EXPECT_EQ(Config.ReadString("SrcKamoku", ""), Value) << Value.size();
        Config.WriteSectionKeyValues("SrcPaths", {{"0", Value}});
        EXPECT_EQ(Config.ReadSectionKeyValues("SrcPaths").at(0).second, Value) << Value.size();
    }
}

TEST_F(ConfigTest, AFileWithAByteOrderMarkIsReadAndSavedBackAsUtf8WithTheSameKeys)
{
    const std::string Text = "[General]\r\nSrcKamoku=収支科目マスタ.csv\r\nSheet.Width=1024\r\n\r\n"
                             "[SrcPaths]\r\n0=/home/会計/2025年度/\r\n";
    // clang-format off
    struct Case { const char* Name; std::string Bytes; };
    const Case kCases[] = {
        {"UTF-16 LE with a mark, as Notepad writes it", "\xFF\xFE" + test::Recode(Text, "UTF-16LE", "UTF-8")},
        {"UTF-16 BE with a mark",                       "\xFE\xFF" + test::Recode(Text, "UTF-16BE", "UTF-8")},
        {"UTF-8 with a mark",                           "\xEF\xBB\xBF" + Text},
        {"code page 932, as Notepad's ANSI",            test::ToCp932(Text)},
        {"UTF-8",                                       Text},
    };
    // clang-format on
    for (const Case& C : kCases) {
        WriteIni(C.Bytes);
        TTvrConfig Config(Docs());
        EXPECT_EQ(Config.ReadString("SrcKamoku", ""), "収支科目マスタ.csv") << C.Name;
        EXPECT_EQ(Config.ReadInteger("Sheet.Width", 800), 1024) << C.Name;
        QStringList Paths;
        Config.ReadSectionValues("SrcPaths", Paths);
        EXPECT_THAT(Paths, ElementsAre("0=/home/会計/2025年度/")) << C.Name;
        // A save writes the whole file back as UTF-8, every other key kept.
        Config.WriteString("SrcKinsen", "金銭出納テーブル.csv");
        EXPECT_EQ(ReadAll(IniPath()), "[General]\r\nSrcKamoku=収支科目マスタ.csv\r\nSheet.Width=1024\r\n"
                                      "SrcKinsen=金銭出納テーブル.csv\r\n\r\n[SrcPaths]\r\n0=/home/会計/2025年度/\r\n")
            << C.Name;
    }
}

TEST_F(ConfigTest, SeveralValuesAreWrittenInOneWrite)
{
    TTvrConfig Config(Docs());
    Config.WriteString("SrcKamoku", "a.csv");
    Config.WriteStrings({{"SrcKamoku", "k.csv"}, {"SrcTantosha", ""}, {"srckamoku", "K.csv"}, {"Sheet.Width", "640"}});
    EXPECT_EQ(ReadAll(IniPath()), "[General]\r\nSrcKamoku=K.csv\r\nSrcTantosha=\r\nSheet.Width=640\r\n");
    // One value it cannot hold: nothing is written.
    EXPECT_THROW(Config.WriteStrings({{"SrcZandaka", "z.csv"}, {"SrcKinsen", "a\nb"}}), ETvrError);
    EXPECT_FALSE(Config.ValueExists("SrcZandaka"));
}

TEST(ConfigPathValue, PathsComeBackAsTheSameBytesFromAUtf8File)
{
    // clang-format off
    struct Case { const char* Name; std::string Bytes; const char* Text; };
    const Case kCases[] = {
        {"UTF-8 as it is",                 "/home/会計/2025年度/",            "/home/会計/2025年度/"},
        {"a percent sign as it is",        "/data/50%/",                      "/data/50%/"},
        {"a file name",                    "収支科目マスタ.csv",              "収支科目マスタ.csv"},
        {"empty",                          "",                                ""},
        {"code page 932 bytes",            "/media/usb/\x89\xEF\x8C\x76/",    "%//media/usb/%89%EF%8Cv/"},
        {"a name of code page 932 bytes",  "\x89\xEF\x8C\x76.csv",            "%/%89%EF%8Cv.csv"},
        {"UTF-8 beside a bad byte",        "/会計/\xFF%/",                    "%//会計/%FF%25/"},
        {"a line break",                   "a\nb.csv",                        "%/a%0Ab.csv"},
        {"a text that looks escaped",      "%/x",                             "%/%25/x"},
    };
    // clang-format on
    for (const Case& C : kCases) {
        EXPECT_EQ(TTvrConfig::PathValue(C.Bytes), QString::fromUtf8(C.Text)) << C.Name;
        EXPECT_EQ(TTvrConfig::PathBytes(TTvrConfig::PathValue(C.Bytes)), C.Bytes) << C.Name;
    }
    // Written by hand, an escape that is not whole stays as it is.
    EXPECT_EQ(TTvrConfig::PathBytes("%/a%4"), "a%4");
    EXPECT_EQ(TTvrConfig::PathBytes("%/a%zz"), "a%zz");
}

TEST_F(ConfigTest, APathOfBytesIsWrittenEscapedAndReadBack)
{
    TTvrConfig Config(Docs());
    const std::string Name = "\x8B\xE0\x91\x4B\x8F\x6F\x94\x5B.csv";
    Config.WriteString("SrcKinsen", TTvrConfig::PathValue(Name));
    const std::string File = ReadAll(IniPath());
    EXPECT_EQ(QString::fromUtf8(File).toStdString(), File) << "the file stays UTF-8";
    const TTvrConfig Other(Docs());
    EXPECT_EQ(TTvrConfig::PathBytes(Other.ReadString("SrcKinsen", "")), Name);
}

TEST_F(ConfigTest, OnlyARegularFileIsReadOrWritten)
{
    // clang-format off
    struct Case { const char* Name; std::function<void(const std::string&)> Make; const char* Problem; };
    const Case kCases[] = {
        {"a FIFO",              [](const std::string& A) { ASSERT_EQ(::mkfifo(A.c_str(), 0600), 0); }, "通常のファイルではありません"},
        {"a folder",            [](const std::string& A) { ASSERT_EQ(::mkdir(A.c_str(), 0700), 0); },  "通常のファイルではありません"},
        {"a device",            [](const std::string& A) { ASSERT_EQ(::symlink("/dev/zero", A.c_str()), 0); }, "通常のファイルではありません"},
        {"a link to nothing",   [](const std::string& A) { ASSERT_EQ(::symlink("gone.ini", A.c_str()), 0); }, "リンク先がありません"},
    };
    // clang-format on
    for (const Case& C : kCases) {
        QTemporaryDir Dir;
        TTvrConfig Config(Dir.path());
        const std::string Ini = (Dir.path() + "/Tavrel/Tavrel.ini").toStdString();
        C.Make(Ini);
        EXPECT_THAT(Config.Problem().toStdString(), HasSubstr(C.Problem)) << C.Name;
        EXPECT_THAT(Config.Problem().toStdString(), HasSubstr(Ini)) << C.Name;
        // Read at once, without waiting for a writer or reading for ever.
        EXPECT_EQ(Config.ReadInteger("Sheet.Width", 800), 800) << C.Name;
        EXPECT_TRUE(Config.ReadSectionKeyValues("SrcPaths").empty()) << C.Name;
        try {
            Config.WriteInteger("Sheet.Width", 1280);
            ADD_FAILURE() << C.Name << ": no error";
        } catch (const ETvrError& E) {
            EXPECT_THAT(E.what(), HasSubstr(C.Problem)) << C.Name;
        }
        struct stat St {};
        ASSERT_EQ(::lstat(Ini.c_str(), &St), 0) << C.Name;
        EXPECT_FALSE(S_ISREG(St.st_mode)) << C.Name << ": replaced by a file";
    }
    // A regular file, or none: no problem.
    TTvrConfig Config(Docs());
    EXPECT_TRUE(Config.Problem().isEmpty());
    Config.WriteInteger("Sheet.Width", 1);
    EXPECT_TRUE(Config.Problem().isEmpty());
}

TEST_F(ConfigTest, ValuesComeBackWhole)
{
    TTvrConfig Config(Docs());
    for (const QString& Value : {QString(" leading"), QString("trailing "), QString("\"quoted\""), QString("a=b"),
                                 QString("a,b;c"), QString("　全角空白　"), QString()}) {
        Config.WriteString("SrcKamoku", Value);
        EXPECT_EQ(Config.ReadString("SrcKamoku", "default"), Value) << Value.toStdString();
    }
}

TEST_F(ConfigTest, ALineBreakInAValueIsRefusedWithoutTouchingTheFile)
{
    TTvrConfig Config(Docs());
    Config.WriteString("SrcKamoku", "a.csv");
    const std::string Before = ReadAll(IniPath());
    EXPECT_THROW(Config.WriteString("SrcKamoku", "a\nSrcKinsen=x"), ETvrError);
    EXPECT_EQ(ReadAll(IniPath()), Before);
}

TEST_F(ConfigTest, SrcPathsAreReadInTheFilesOrder)
{
    WriteIni("[General]\r\nSheet.Width=900\r\n[SrcPaths]\r\n0=/data/2025\r\n1 = /data/2024 \r\n3=/data/2022\r\n");
    const TTvrConfig Config(Docs());
    QStringList Paths;
    Config.ReadSectionValues("SrcPaths", Paths);
    EXPECT_THAT(Paths, ElementsAre("0=/data/2025", "1=/data/2024", "3=/data/2022"));
}

TEST_F(ConfigTest, WriteSectionValuesReplacesTheSectionSkippingLinesWithoutKey)
{
    WriteIni("[SrcPaths]\r\n0=/old/a\r\n1=/old/b\r\n\r\n[General]\r\nSheet.Width=900\r\n");
    TTvrConfig Config(Docs());
    Config.WriteSectionValues("SrcPaths",
                              {" 0 = /data/new ", "=/no/key", "no equals sign", "  =x", "1=/data/a=b", "2="});
    EXPECT_EQ(ReadAll(IniPath()),
              "[SrcPaths]\r\n0=/data/new\r\n1=/data/a=b\r\n2=\r\n\r\n[General]\r\nSheet.Width=900\r\n");
    QStringList Paths;
    Config.ReadSectionValues("SrcPaths", Paths);
    EXPECT_THAT(Paths, ElementsAre("0=/data/new", "1=/data/a=b", "2="));

    Config.WriteSectionValues("SrcPaths", {});
    EXPECT_EQ(ReadAll(IniPath()), "\r\n[General]\r\nSheet.Width=900\r\n");
    Config.WriteSectionValues("SrcPaths", {"0=/x"});
    EXPECT_EQ(ReadAll(IniPath()), "\r\n[General]\r\nSheet.Width=900\r\n\r\n[SrcPaths]\r\n0=/x\r\n");
}

TEST_F(ConfigTest, SectionKeyValuesComeInTheFilesOrderWithEqualsSignsInTheValues)
{
    WriteIni("[General]\r\nSheet.Width=900\r\n[SrcPaths]\r\n1=/data/b\r\n 0 = /data/a=1 \r\n3=\" /x \"\r\n4=\r\n");
    const TTvrConfig Config(Docs());
    using TPair = std::pair<QString, QString>;
    EXPECT_THAT(Config.ReadSectionKeyValues("SrcPaths"),
                ElementsAre(TPair("1", "/data/b"), TPair("0", "/data/a=1"), TPair("3", " /x "), TPair("4", "")));
    EXPECT_TRUE(Config.ReadSectionKeyValues("Missing").empty());
    EXPECT_TRUE(TTvrConfig(Docs() + "/elsewhere").ReadSectionKeyValues("SrcPaths").empty());
}

TEST_F(ConfigTest, SectionNamesComeInTheFilesOrderEachOnce)
{
    EXPECT_TRUE(TTvrConfig(Docs()).SectionNames().isEmpty());
    WriteIni("; a comment\r\n[General]\r\nSheet.Width=900\r\n [YearEnd.2] \r\nFolder=/b/\r\n[yearend.2]\r\n"
             "[YearEnd.1]\r\nx=[not a section]\r\n[SrcPaths]\r\n0=/a\r\n");
    const TTvrConfig Config(Docs());
    EXPECT_EQ(Config.SectionNames(), (QStringList{"General", "YearEnd.2", "YearEnd.1", "SrcPaths"}));
}

TEST_F(ConfigTest, WriteSectionKeyValuesTrimsAndSkipsEmptyKeysInOneWrite)
{
    WriteIni("[SrcPaths]\r\n0=/old/a\r\n1=/old/b\r\n\r\n[General]\r\nSheet.Width=900\r\n");
    TTvrConfig Config(Docs());
    Config.WriteSectionKeyValues("SrcPaths",
                                 {{" 0 ", " /data/new "}, {"", "/no/key"}, {" \t", "x"}, {"1", "/data/a=b"}, {"2", ""}});
    EXPECT_EQ(ReadAll(IniPath()),
              "[SrcPaths]\r\n0=/data/new\r\n1=/data/a=b\r\n2=\r\n\r\n[General]\r\nSheet.Width=900\r\n");
    Config.WriteSectionKeyValues("SrcPaths", {});
    EXPECT_EQ(ReadAll(IniPath()), "\r\n[General]\r\nSheet.Width=900\r\n");
}

// Both ways fail even for root: the permission bits count for the file, and
// a folder cannot be replaced by a file.
TEST_F(ConfigTest, ARefusedWriteNamesTheFileAndKeepsItsContent)
{
    struct Case { const char* Name; bool Folder; };
    for (const Case& C : {Case {"read-only file", false}, Case {"folder in place of the file", true}}) {
        QTemporaryDir Dir;
        TTvrConfig Config(Dir.path());
        const QString Ini = Dir.path() + "/Tavrel/Tavrel.ini";
        if (C.Folder) {
            QDir().mkpath(Ini);
        } else {
            Config.WriteInteger("Sheet.Width", 640);
            ASSERT_EQ(::chmod(Ini.toUtf8().constData(), 0444), 0);
        }
        try {
            Config.WriteInteger("Sheet.Width", 1280);
            ADD_FAILURE() << C.Name << ": no error";
        } catch (const ETvrError& E) {
            EXPECT_THAT(E.what(), HasSubstr(Ini.toStdString())) << C.Name;
        }
        EXPECT_EQ(Config.ReadInteger("Sheet.Width", 800), C.Folder ? 800 : 640) << C.Name;
    }
}

TEST(TryIniTextToInteger, LeavesTheResultAloneOnFailure)
{
    int32_t Value = 42;
    EXPECT_FALSE(TryIniTextToInteger("x1", Value));
    EXPECT_FALSE(TryIniTextToInteger("-", Value));
    EXPECT_FALSE(TryIniTextToInteger("0x12345678 ", Value));
    EXPECT_EQ(Value, 42);
    EXPECT_TRUE(TryIniTextToInteger("0xff", Value));
    EXPECT_EQ(Value, 255);
}

} // namespace
} // namespace tavrel
