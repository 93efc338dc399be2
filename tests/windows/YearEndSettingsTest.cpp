// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The year-end documents' settings of each source-data location, written
// to and read from a configuration of the test's own.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "shell/TvrConfig.h"
#include "windows/TvrYearEndSettings.h"

namespace tavrel {
namespace {

TRptParams Params(const std::string& AOrganisation, std::vector<std::string> AAuditors,
                  std::optional<TTvrDate> AReportDate)
{
    TRptParams Result;
    Result.Organisation = AOrganisation;
    Result.YearTitle = AOrganisation.empty() ? "" : "令和7年度";
    Result.Treasurer = "渡辺　恵子";
    Result.Auditors = std::move(AAuditors);
    Result.ReportDate = AReportDate;
    return Result;
}

// The values as one line, readable in a failure.
std::string Text(const std::optional<TRptParams>& AParams)
{
    if (!AParams)
        return "(none)";
    std::string Line = AParams->Organisation + "|" + AParams->YearTitle + "|" + AParams->Treasurer;
    for (const std::string& Auditor : AParams->Auditors)
        Line += "|" + Auditor;
    Line += "|";
    if (AParams->ReportDate) {
        int Year = 0, Month = 0, Day = 0;
        AParams->ReportDate->Decode(Year, Month, Day);
        Line += std::to_string(Year) + "-" + std::to_string(Month) + "-" + std::to_string(Day);
    }
    return Line;
}

class YearEndSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDocuments.isValid());
        FConfig = std::make_unique<TTvrConfig>(FDocuments.path());
    }

    std::string IniText() const
    {
        QFile File(FConfig->FileName());
        return File.open(QIODevice::ReadOnly) ? File.readAll().toStdString() : std::string();
    }

    QTemporaryDir FDocuments;
    std::unique_ptr<TTvrConfig> FConfig;
};

TEST_F(YearEndSettingsTest, EachLocationKeepsItsOwnWhateverItsName)
{
    // Folders that differ only in letter case, and a name of code page 932
    // bytes from a Windows stick.
    struct Case {
        std::string Folder;
        TRptParams Params;
    };
    const Case kCases[] = {
        {"/home/kaikei/2025年度/", Params("さくら台三丁目町内会", {"木村　和夫", "", "斎藤　由美"}, TTvrDate::Encode(2026, 4, 20))},
        {"/home/kaikei/Club/", Params("テニス部", {"", "", ""}, std::nullopt)},
        {"/home/kaikei/club/", Params("", {"佐藤", "", ""}, TTvrDate::Encode(2027, 1, 5))},
        {"/media/usb/\x89\xEF\x8C\x76/", Params("PTA", {"", "高橋", ""}, TTvrDate::Encode(2026, 3, 31))},
    };
    for (const Case& C : kCases)
        WriteYearEndParams(*FConfig, C.Folder, C.Params);
    for (const Case& C : kCases)
        EXPECT_EQ(Text(ReadYearEndParams(*FConfig, C.Folder)), Text(C.Params)) << C.Folder;
    EXPECT_EQ(ReadYearEndParams(*FConfig, "/home/kaikei/2024年度/"), std::nullopt);
    EXPECT_EQ(FConfig->SectionNames(), (QStringList{"YearEnd.1", "YearEnd.2", "YearEnd.3", "YearEnd.4"}));
    // Readable: the folder and the names as they are written.
    EXPECT_NE(IniText().find("[YearEnd.1]\r\nFolder=/home/kaikei/2025年度/\r\nOrganisation=さくら台三丁目町内会\r\n"
                             "YearTitle=令和7年度\r\nTreasurer=渡辺　恵子\r\nAuditor1=木村　和夫\r\nAuditor2=\r\n"
                             "Auditor3=斎藤　由美\r\nReportDate=2026-04-20\r\n"),
              std::string::npos)
        << IniText();
}

TEST_F(YearEndSettingsTest, AnotherWriteReplacesTheLocationsSectionAndLeavesTheRest)
{
    FConfig->WriteString("SrcKinsen", "金銭出納テーブル.csv");
    FConfig->WriteSectionKeyValues("SrcPaths", {{"0", "/b/"}, {"1", "/a/"}});
    // A section of the settings written by hand, out of order, and one
    // without a folder.
    FConfig->WriteSectionKeyValues("YearEnd.7", {{"Folder", "/b/"}, {"Organisation", "B会"}});
    FConfig->WriteSectionKeyValues("yearend.2", {{"Organisation", "no folder"}});
    WriteYearEndParams(*FConfig, "/a/", Params("A会", {"", "", ""}, std::nullopt));
    WriteYearEndParams(*FConfig, "/b/", Params("B会 改", {"", "", ""}, std::nullopt));
    WriteYearEndParams(*FConfig, "/a/", Params("A会 改", {"", "", ""}, std::nullopt));
    // The new location after the highest number; each written once.
    EXPECT_EQ(FConfig->SectionNames(), (QStringList{"General", "SrcPaths", "YearEnd.7", "yearend.2", "YearEnd.8"}));
    EXPECT_EQ(ReadYearEndParams(*FConfig, "/a/")->Organisation, "A会 改");
    EXPECT_EQ(ReadYearEndParams(*FConfig, "/b/")->Organisation, "B会 改");
    EXPECT_EQ(FConfig->ReadString("SrcKinsen", ""), "金銭出納テーブル.csv");
    EXPECT_EQ(FConfig->ReadSectionKeyValues("SrcPaths").size(), 2u);
    EXPECT_EQ(FConfig->ReadSectionKeyValues("yearend.2").size(), 1u);
    // A report date that is no date reads as none: the dialog shows today.
    FConfig->WriteSectionKeyValues("YearEnd.7", {{"Folder", "/b/"}, {"ReportDate", "2026-02-30"}});
    EXPECT_EQ(ReadYearEndParams(*FConfig, "/b/")->ReportDate, std::nullopt);
}

} // namespace
} // namespace tavrel
