// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "shell/TvrEnvironment.h"
#include "shell/NbFileInfo.h"
#include "windows/TvrVersionDialog.h"

namespace tavrel {
namespace {

TEST(ReadFileInfo, ReadsTheBlockOfTheBuiltProgram)
{
    TNbFileInfo Info;
    ReadFileInfo(QStringLiteral(TAVREL_SCREENS), Info);
    EXPECT_EQ(Info.FileVersion, QStringLiteral(TAVREL_VERSION));
    EXPECT_EQ(Info.ProductVersion, QStringLiteral(TAVREL_VERSION));
    EXPECT_EQ(Info.CompanyName, QStringLiteral(TAVREL_COMPANY_NAME));
    EXPECT_EQ(Info.ProductName, QStringLiteral("Tavrel"));
    EXPECT_EQ(Info.InternalName, QStringLiteral("tavrel-screens"));
    EXPECT_EQ(Info.OriginalFilename, QStringLiteral("tavrel-screens"));
    EXPECT_EQ(Info.FileDescription, QStringLiteral("ミロナ会計係／Tavrel"));
    EXPECT_TRUE(Info.LegalCopyright.contains(QStringLiteral(TAVREL_COMPANY_NAME))) << Info.LegalCopyright.toStdString();
    EXPECT_EQ(Info.PrivateBuild, QString());
    EXPECT_EQ(Info.SpecialBuild, QString());
}

void ExpectNoStrings(const TNbFileInfo& AInfo, const QString& AProductName)
{
    for (const QString* Field : {&AInfo.Comments, &AInfo.CompanyName, &AInfo.FileDescription, &AInfo.FileVersion,
                                 &AInfo.InternalName, &AInfo.LegalCopyright, &AInfo.LegalTrademarks,
                                 &AInfo.OriginalFilename, &AInfo.PrivateBuild, &AInfo.ProductVersion,
                                 &AInfo.SpecialBuild})
        EXPECT_EQ(*Field, QString());
    EXPECT_EQ(AInfo.ProductName, AProductName);
}

// tavrel --version prints the application title and the version of its own
// block, without a display and without starting the windows.
TEST(ReadFileInfo, TavrelVersionPrintsTheVersionOfItsBlock)
{
    const QString Program = QStringLiteral(TAVREL_PROGRAM_FOLDER "/tavrel");
    TNbFileInfo Info;
    ReadFileInfo(Program, Info);
    ASSERT_EQ(Info.ProductVersion, QStringLiteral(TAVREL_VERSION));
    QProcess Process;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        Environment.remove(QString::fromLatin1(Name));
    Process.setProcessEnvironment(Environment);
    Process.start(Program, {QStringLiteral("--version")});
    ASSERT_TRUE(Process.waitForFinished(30000));
    EXPECT_EQ(Process.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(Process.readAllStandardOutput()),
              QStringLiteral("ミロナ会計係／Tavrel ") + Info.ProductVersion + u'\n');
}

TEST(ReadFileInfo, AFileWithoutTheBlockGivesEmptyStringsAndItsOwnName)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Plain = Dir.filePath(QStringLiteral("plain.bin"));
    QFile File(Plain);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(QByteArray(4096, '\x7f') + "TAVREL-VERSION-BLOCK" + QByteArray(100, '\0'));
    File.close();
    TNbFileInfo Info;
    ReadFileInfo(Plain, Info);
    ExpectNoStrings(Info, QStringLiteral("plain.bin"));

    // This test program holds the reader but no block.
    ReadFileInfo(QApplication::applicationFilePath(), Info);
    ExpectNoStrings(Info, QFileInfo(QApplication::applicationFilePath()).fileName());

    ReadFileInfo(Dir.filePath(QStringLiteral("missing.exe")), Info);
    ExpectNoStrings(Info, QStringLiteral("missing.exe"));
}

TEST(ReadFileInfo, TrimsBlanksAndControlCodes)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Name = Dir.filePath(QStringLiteral("made.bin"));
    // The marker is put together here so that this program does not carry it.
    QByteArray Block("junk\x7fTAVREL-VERSION-BLOCK");
    Block.append('\x7f');
    Block.append('\0');
    const char* const Strings[] = {" c ", "\tCo\r\n", "", "1.2.3.4", "", "", "", "", "", "", "  9.9 ", ""};
    for (const char* S : Strings) {
        Block.append(S);
        Block.append('\0');
    }
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Block);
    File.close();
    TNbFileInfo Info;
    ReadFileInfo(Name, Info);
    EXPECT_EQ(Info.Comments, QStringLiteral("c"));
    EXPECT_EQ(Info.CompanyName, QStringLiteral("Co"));
    EXPECT_EQ(Info.FileVersion, QStringLiteral("1.2.3.4"));
    EXPECT_EQ(Info.ProductVersion, QStringLiteral("9.9"));
    EXPECT_EQ(Info.ProductName, QStringLiteral("made.bin"));
}

TEST(VersionDialog, ShowsTitleVersionReadingAndCompany)
{
    TTvrVersionDialog Dialog(nullptr, QStringLiteral(TAVREL_SCREENS));
    EXPECT_EQ(Dialog.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(Dialog.size(), QSize(299, 127));
    EXPECT_EQ(Dialog.Label1()->text(), ApplicationTitle() + QStringLiteral("  ") + QStringLiteral(TAVREL_VERSION));
    EXPECT_EQ(Dialog.Label2()->text(), QStringLiteral("ミロナカイケイガカリ／タヴレル"));
    EXPECT_EQ(Dialog.Label3()->text(), QStringLiteral(TAVREL_COMPANY_NAME));
    EXPECT_EQ(Dialog.Image1()->pixmap().deviceIndependentSize().toSize(), QSize(48, 48));
    EXPECT_TRUE(Dialog.Label1()->font().bold());
    EXPECT_EQ(Dialog.Label1()->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_EQ(Dialog.Label2()->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
    // Nothing cut off at the design size.
    for (QLabel* Label : {Dialog.Label1(), Dialog.Label2(), Dialog.Label3()})
        EXPECT_LE(Label->geometry().right(), 299) << Label->text().toStdString();
}

TEST(VersionDialog, WithoutABlockTheVersionAndCompanyAreEmpty)
{
    TTvrVersionDialog Dialog(nullptr, QApplication::applicationFilePath());
    EXPECT_EQ(Dialog.Label1()->text(), ApplicationTitle() + QStringLiteral("  "));
    EXPECT_EQ(Dialog.Label3()->text(), QString());
}

TEST(VersionDialog, OkAndEscBothCloseWithOk)
{
    for (const bool UseEsc : {false, true}) {
        TTvrVersionDialog Dialog(nullptr, QStringLiteral(TAVREL_SCREENS));
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
        if (UseEsc)
            QTest::keyClick(&Dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(Dialog.Button1(), Qt::LeftButton);
        EXPECT_FALSE(Dialog.isVisible()) << UseEsc;
        EXPECT_EQ(Dialog.result(), QDialog::Accepted) << UseEsc;
    }
}

} // namespace
} // namespace tavrel
