// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrYearEndSettings.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>

#include "reports/RptRequest.h"
#include "shell/TvrConfig.h"

namespace tavrel {

namespace {

const QString kFolderKey = QStringLiteral("Folder");
const QString kOrganisationKey = QStringLiteral("Organisation");
const QString kYearTitleKey = QStringLiteral("YearTitle");
const QString kTreasurerKey = QStringLiteral("Treasurer");
const QString kReportDateKey = QStringLiteral("ReportDate");

QString AuditorKey(size_t AIndex)
{
    return QStringLiteral("Auditor%1").arg(AIndex + 1);
}

// The number of a section of the settings ("YearEnd.3" is 3), or 0 for
// any other section.
int SectionNumber(const QString& ASection)
{
    static const QRegularExpression Name(QStringLiteral("^YearEnd\\.([1-9][0-9]{0,8})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch Match = Name.match(ASection);
    return Match.hasMatch() ? Match.captured(1).toInt() : 0;
}

QString SectionName(int ANumber)
{
    return QStringLiteral("YearEnd.%1").arg(ANumber);
}

QString Value(const TTvrConfig::TKeyValues& AValues, const QString& AKey)
{
    for (const auto& [Key, Text] : AValues)
        if (Key.compare(AKey, Qt::CaseInsensitive) == 0)
            return Text;
    return QString();
}

// The section of the folder and its values, or the number a new one takes.
struct TFound {
    QString Section;
    TTvrConfig::TKeyValues Values;
    int NextNumber = 1;
};

TFound FindSection(const TTvrConfig& AConfig, const std::string& AFolder)
{
    TFound Found;
    for (const QString& Section : AConfig.SectionNames()) {
        const int Number = SectionNumber(Section);
        if (Number == 0)
            continue;
        Found.NextNumber = std::max(Found.NextNumber, Number + 1);
        if (!Found.Section.isEmpty())
            continue;
        TTvrConfig::TKeyValues Values = AConfig.ReadSectionKeyValues(Section);
        if (TTvrConfig::PathBytes(Value(Values, kFolderKey)) == AFolder) {
            Found.Section = Section;
            Found.Values = std::move(Values);
        }
    }
    return Found;
}

std::string Utf8(const QString& AText)
{
    return AText.toStdString();
}

} // namespace

std::optional<TRptParams> ReadYearEndParams(const TTvrConfig& AConfig, const std::string& AFolder)
{
    const TFound Found = FindSection(AConfig, AFolder);
    if (Found.Section.isEmpty())
        return std::nullopt;
    TRptParams Params;
    Params.Organisation = Utf8(Value(Found.Values, kOrganisationKey));
    Params.YearTitle = Utf8(Value(Found.Values, kYearTitleKey));
    Params.Treasurer = Utf8(Value(Found.Values, kTreasurerKey));
    for (size_t I = 0; I < kMaxAuditors; ++I)
        Params.Auditors.push_back(Utf8(Value(Found.Values, AuditorKey(I))));
    const QDate Date = QDate::fromString(Value(Found.Values, kReportDateKey), Qt::ISODate);
    if (Date.isValid())
        Params.ReportDate = TTvrDate::Encode(Date.year(), Date.month(), Date.day());
    return Params;
}

void WriteYearEndParams(TTvrConfig& AConfig, const std::string& AFolder, const TRptParams& AParams)
{
    const TFound Found = FindSection(AConfig, AFolder);
    TTvrConfig::TKeyValues Values = {
        {kFolderKey, TTvrConfig::PathValue(AFolder)},
        {kOrganisationKey, QString::fromStdString(AParams.Organisation)},
        {kYearTitleKey, QString::fromStdString(AParams.YearTitle)},
        {kTreasurerKey, QString::fromStdString(AParams.Treasurer)},
    };
    for (size_t I = 0; I < kMaxAuditors; ++I)
        Values.emplace_back(AuditorKey(I), I < AParams.Auditors.size() ? QString::fromStdString(AParams.Auditors[I])
                                                                       : QString());
    QString Date;
    if (AParams.ReportDate) {
        int Year = 0, Month = 0, Day = 0;
        AParams.ReportDate->Decode(Year, Month, Day);
        Date = QDate(Year, Month, Day).toString(Qt::ISODate);
    }
    Values.emplace_back(kReportDateKey, Date);
    AConfig.WriteSectionKeyValues(Found.Section.isEmpty() ? SectionName(Found.NextNumber) : Found.Section, Values);
}

} // namespace tavrel
