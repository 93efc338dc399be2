// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The remembered source-data locations, read from and written to a
// configuration of the test's own.
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "shell/TvrConfig.h"
#include "windows/TvrSrcLocationHistory.h"

namespace tavrel {
namespace {

// The folders one a line, readable in a failure.
std::string Text(const QStringList& ALines)
{
    return ALines.join(u'\n').toStdString();
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
    struct Case { const char* Name; QStringList Section; QStringList Folders; bool FirstKept; };
    const Case kCases[] = {
        {"in order",                   {"0=a", "1=b", "2=c"},        {"a", "b", "c"}, true},
        {"keys out of the file order", {"2=c", "0=a", "1=b"},        {"a", "b", "c"}, true},
        {"a missing key ends it",      {"0=a", "1=b", "3=c"},        {"a", "b"},      true},
        {"an empty value ends it",     {"0=a", "1=", "2=c"},         {"a"},           true},
        {"no key 0",                   {"1=a", "2=b"},               {},              false},
        {"a vanished folder is left",  {"0=a", "1=gone", "2=c"},     {"a", "c"},      true},
        {"the first vanished",         {"0=gone", "1=b"},            {"b"},           false},
        {"no section",                 {},                           {},              false},
    };
    // clang-format on
    for (const Case& C : kCases) {
        FConfig->WriteSectionValues(QStringLiteral("SrcPaths"), Section(C.Section));
        TTvrSrcLocationHistory History(nullptr);
        EXPECT_EQ(History.Load(*FConfig), C.FirstKept) << C.Name;
        EXPECT_EQ(Text(History.stringList()), Text(Folders(C.Folders))) << C.Name;
        EXPECT_EQ(History.DisplayNames().size(), C.Folders.size()) << C.Name;
    }
}

TEST_F(SrcLocationHistoryTest, AFolderWithoutItsSeparatorGetsOne)
{
    FConfig->WriteSectionKeyValues(QStringLiteral("SrcPaths"), {{QStringLiteral("0"), FData.filePath("a")}});
    TTvrSrcLocationHistory History(nullptr);
    EXPECT_TRUE(History.Load(*FConfig));
    EXPECT_EQ(Text(History.stringList()), Folder("a").toStdString());
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
            History.MoveToTop(S.MoveToTop);
        else
            History.Remove(S.Remove);
        History.Save(*FConfig);
        EXPECT_EQ(Text(History.stringList()), Text(Folders(S.Folders))) << S.Name;
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
