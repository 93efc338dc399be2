// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The remembered source-data locations, read from and written to a
// configuration of the test's own.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "shell/TvrConfig.h"
#include "windows/TvrSrcLocationHistory.h"

namespace tavrel {
namespace {

// The folders one a line, readable in a failure.
std::string Text(const QStringList& ALines)
{
    return ALines.join(u'\n').toStdString();
}

QStringList Texts(const std::vector<std::string>& AFolders)
{
    QStringList Lines;
    for (const std::string& Folder : AFolders)
        Lines.append(QString::fromStdString(Folder));
    return Lines;
}

class SrcLocationHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDocuments.isValid());
        ASSERT_TRUE(FData.isValid());
        FConfig = std::make_unique<TTvrConfig>(FDocuments.path());
        for (const char* Name : {"a", "b", "c"})
            QDir().mkpath(FData.filePath(QLatin1String(Name)));
    }

    // The folder of the data with its separator: a, b and c exist, others
    // do not.
    QString Folder(const QString& AName) const { return FData.filePath(AName) + u'/'; }

    // "0=a" stands for key 0 with the folder a of the data as value; "1="
    // for key 1 with an empty value.
    QStringList Section(const QStringList& AKeyNames) const
    {
        QStringList Lines;
        for (const QString& KeyName : AKeyNames) {
            const QString Name = KeyName.section(u'=', 1);
            Lines.append(KeyName.section(u'=', 0, 0) + u'=' + (Name.isEmpty() ? QString() : FData.filePath(Name)));
        }
        return Lines;
    }

    QStringList Folders(const QStringList& ANames) const
    {
        QStringList Result;
        for (const QString& Name : ANames)
            Result.append(Folder(Name));
        return Result;
    }

    QTemporaryDir FDocuments;
    QTemporaryDir FData;
    std::unique_ptr<TTvrConfig> FConfig;
};

TEST_F(SrcLocationHistoryTest, LoadGoesByKeyNumberAndStopsAtTheFirstGap)
{
    // clang-format off
    struct Case { const char* Name; QStringList Section; QStringList Folders; QStringList Absent; bool FirstKept; };
    const Case kCases[] = {
        {"in order",                   {"0=a", "1=b", "2=c"},        {"a", "b", "c"}, {},       true},
        {"keys out of the file order", {"2=c", "0=a", "1=b"},        {"a", "b", "c"}, {},       true},
        {"a missing key ends it",      {"0=a", "1=b", "3=c"},        {"a", "b"},      {},       true},
        {"an empty value ends it",     {"0=a", "1=", "2=c"},         {"a"},           {},       true},
        {"no key 0",                   {"1=a", "2=b"},               {},              {},       false},
        {"a vanished folder is kept",  {"0=a", "1=gone", "2=c"},     {"a", "c"},      {"gone"}, true},
        {"the first vanished",         {"0=gone", "1=b"},            {"b"},           {"gone"}, false},
        {"no section",                 {},                           {},              {},       false},
    };
    // clang-format on
    for (const Case& C : kCases) {
        FConfig->WriteSectionValues(QStringLiteral("SrcPaths"), Section(C.Section));
        TTvrSrcLocationHistory History(nullptr);
        EXPECT_EQ(History.Load(*FConfig), C.FirstKept) << C.Name;
        EXPECT_EQ(Text(Texts(History.Folders())), Text(Folders(C.Folders))) << C.Name;
        EXPECT_EQ(Text(Texts(History.Absent())), Text(Folders(C.Absent))) << C.Name;
        EXPECT_EQ(History.rowCount(), C.Folders.size()) << C.Name;
        EXPECT_EQ(History.DisplayNames().size(), C.Folders.size()) << C.Name;
    }
}

TEST_F(SrcLocationHistoryTest, AFolderWithoutItsSeparatorGetsOne)
{
    FConfig->WriteSectionKeyValues(QStringLiteral("SrcPaths"), {{QStringLiteral("0"), FData.filePath("a")}});
    TTvrSrcLocationHistory History(nullptr);
    EXPECT_TRUE(History.Load(*FConfig));
    EXPECT_EQ(Text(Texts(History.Folders())), Folder("a").toStdString());
}

TEST_F(SrcLocationHistoryTest, MovingToTheTopAndRemovingAreWrittenAsKeysInTheNewOrder)
{
    FConfig->WriteSectionValues(QStringLiteral("SrcPaths"), Section({"0=a", "1=b", "2=c"}));
    TTvrSrcLocationHistory History(nullptr);
    ASSERT_TRUE(History.Load(*FConfig));

    // clang-format off
    struct Step { const char* Name; QString MoveToTop; int Remove; QStringList Folders; };
    const Step kSteps[] = {
        {"the first again",         Folder("a"), -1, {"a", "b", "c"}},
        {"one further down",        Folder("c"), -1, {"c", "a", "b"}},
        {"a new one",               Folder("d"), -1, {"d", "c", "a", "b"}},
        {"another letter case",     Folder("D"), -1, {"D", "d", "c", "a", "b"}},
        {"removed below the first", QString(),   2,  {"D", "d", "a", "b"}},
    };
    // clang-format on
    for (const Step& S : kSteps) {
        if (!S.MoveToTop.isEmpty())
            History.MoveToTop(S.MoveToTop.toStdString());
        else
            History.Remove(S.Remove);
        History.Save(*FConfig);
        EXPECT_EQ(Text(Texts(History.Folders())), Text(Folders(S.Folders))) << S.Name;
        QStringList Expected;
        for (qsizetype I = 0; I < S.Folders.size(); ++I)
            Expected.append(QString::number(I) + u'=' + Folder(S.Folders[I]));
        QStringList Lines;
        FConfig->ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
        EXPECT_EQ(Text(Lines), Text(Expected)) << S.Name;
        QStringList Names;
        for (const QString& Name : S.Folders)
            Names.append(SrcLocationDisplayName(Folder(Name)));
        EXPECT_EQ(Text(History.DisplayNames()), Text(Names)) << S.Name;
    }
}

TEST_F(SrcLocationHistoryTest, AnAbsentFolderIsWrittenAfterTheListedOnesAndListedAgainWhenItIsBack)
{
    // A stick not plugged in: "usb" is remembered between a and b.
    FConfig->WriteSectionValues(QStringLiteral("SrcPaths"), Section({"0=a", "1=usb", "2=b"}));
    TTvrSrcLocationHistory History(nullptr);
    ASSERT_TRUE(History.Load(*FConfig));
    EXPECT_EQ(Text(Texts(History.Folders())), Text(Folders({"a", "b"})));

    // Another location chosen: the history is written, the absent one after
    // the listed ones.
    History.MoveToTop(Folder("c").toStdString());
    History.Save(*FConfig);
    QStringList Lines;
    FConfig->ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Text(Lines), Text(Section({"0=c/", "1=a/", "2=b/", "3=usb/"})));

    // The stick is back: the next start lists it in its place.
    ASSERT_TRUE(QDir().mkpath(FData.filePath(QStringLiteral("usb"))));
    TTvrSrcLocationHistory Again(nullptr);
    ASSERT_TRUE(Again.Load(*FConfig));
    EXPECT_EQ(Text(Texts(Again.Folders())), Text(Folders({"c", "a", "b", "usb"})));
    EXPECT_TRUE(Again.Absent().empty());

    // Chosen while it is absent (typed into the picker as it is plugged
    // in): listed once, no longer absent.
    ASSERT_TRUE(QDir(FData.filePath(QStringLiteral("usb"))).removeRecursively());
    TTvrSrcLocationHistory Third(nullptr);
    ASSERT_TRUE(Third.Load(*FConfig));
    ASSERT_EQ(Third.Absent().size(), 1u);
    Third.MoveToTop(Folder("usb").toStdString());
    Third.Save(*FConfig);
    FConfig->ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Text(Lines), Text(Section({"0=usb/", "1=c/", "2=a/", "3=b/"})));
}

TEST_F(SrcLocationHistoryTest, FoldersWhoseNamesAreNotUtf8ComeBackAsTheSameBytes)
{
    // Code page 932 bytes of 会計 (not UTF-8), and a name holding a line
    // break and a percent sign.
    const std::string Cp932 = FData.path().toStdString() + "/\x89\xEF\x8C\x76/";
    const std::string Odd = FData.path().toStdString() + "/50%\nb/";
    for (const std::string& Folder : {Cp932, Odd})
        ASSERT_EQ(::mkdir(Folder.c_str(), 0700), 0) << Folder;
    TTvrSrcLocationHistory History(nullptr);
    History.MoveToTop(Odd);
    History.MoveToTop(Cp932);
    History.Save(*FConfig);
    // The file stays UTF-8 throughout.
    QFile File(FConfig->FileName());
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Bytes = File.readAll();
    EXPECT_EQ(QString::fromUtf8(Bytes).toUtf8(), Bytes);

    TTvrSrcLocationHistory Again(nullptr);
    ASSERT_TRUE(Again.Load(*FConfig));
    ASSERT_EQ(Again.Folders().size(), 2u);
    EXPECT_EQ(Again.Folders()[0], Cp932);
    EXPECT_EQ(Again.Folders()[1], Odd);
    // Shown decoded: 会計 as the last part of the first.
    EXPECT_TRUE(Again.DisplayName(0).endsWith(QStringLiteral(" ■ 会計"))) << Again.DisplayName(0).toStdString();
    EXPECT_EQ(Again.data(Again.index(0), TTvrSrcLocationHistory::FolderRole).toByteArray().toStdString(), Cp932);
}

TEST(SrcLocationDisplayName, TheLastThreePartsWithTheRootAsOne)
{
    // clang-format off
    struct Case { const char* Folder; const char* Name; };
    const Case kCases[] = {
        {"/",                          " ■ /"},
        {"/data/",                     " ■ / ■ data"},
        {"/home/kaikei/",              " ■ / ■ home ■ kaikei"},
        {"/home/kaikei/帳簿/",         " ■ home ■ kaikei ■ 帳簿"},
        {"/home/kaikei/帳簿/2025年度", " ■ kaikei ■ 帳簿 ■ 2025年度"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(SrcLocationDisplayName(QString::fromUtf8(C.Folder)), QString::fromUtf8(C.Name)) << C.Folder;
}

} // namespace
} // namespace tavrel
