// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/TvrConfig.h"

#include <filesystem>
#include <system_error>

#include "shell/NbPaths.h"
#include "shell/TvrEnvironment.h"
#include "tables/TvrValue.h"

namespace tavrel {
namespace {

const char* const kGeneral = "General";

QString SystemId()
{
    const QString Id = qEnvironmentVariable(kAppSystemId);
    return Id.isEmpty() ? QStringLiteral("Tavrel") : Id;
}

// Creates <documents>/<id>/ and gives <documents>/<id>/<id>.ini.
std::string ConfigFileIn(const QString& ADocumentsFolder)
{
    if (ADocumentsFolder.isEmpty())
        throw ETvrError("ドキュメント フォルダーが見つかりません。");
    const QString Folder = ExpandFolderPath(ADocumentsFolder) + SystemId() + u'/';
    const std::string Path = Folder.toStdString();
    std::error_code Error;
    std::filesystem::create_directories(Path, Error);
    if (Error || !std::filesystem::is_directory(Path))
        throw ETvrError(Path + ": " + (Error ? Error.message() : std::make_error_code(std::errc::not_a_directory).message()));
    return (Folder + SystemId() + QStringLiteral(".ini")).toStdString();
}

// Trims the characters 0 to 32 at both ends (not U+3000 and the other
// Unicode blanks QString::trimmed would take).
QString TrimBlanks(const QString& AText)
{
    qsizetype Begin = 0;
    qsizetype End = AText.size();
    while (Begin < End && AText[Begin].unicode() <= 32)
        ++Begin;
    while (End > Begin && AText[End - 1].unicode() <= 32)
        --End;
    return AText.mid(Begin, End - Begin);
}

} // namespace

TTvrConfig::TTvrConfig() : TTvrConfig(SpecialFolderPath(kSpecialFolderDocuments)) {}

TTvrConfig::TTvrConfig(const QString& ADocumentsFolder) : FIniFile(ConfigFileIn(ADocumentsFolder)) {}

QString TTvrConfig::ReadString(const QString& AIdnt, const QString& ADefault) const
{
    return QString::fromStdString(FIniFile.ReadString(kGeneral, AIdnt.toStdString(), ADefault.toStdString()));
}

std::optional<QString> TTvrConfig::FindString(const QString& AIdnt) const
{
    const std::optional<std::string> Value = FIniFile.FindValue(kGeneral, AIdnt.toStdString());
    return Value ? std::optional<QString>(QString::fromStdString(*Value)) : std::nullopt;
}

int32_t TTvrConfig::ReadInteger(const QString& AIdnt, int32_t ADefault) const
{
    int32_t Value = ADefault;
    const std::string Text = FIniFile.ReadString(kGeneral, AIdnt.toStdString(), "");
    return TryIniTextToInteger(Text, Value) ? Value : ADefault;
}

bool TTvrConfig::ReadBool(const QString& AIdnt, bool ADefault) const
{
    return ReadInteger(AIdnt, ADefault ? 1 : 0) != 0;
}

void TTvrConfig::WriteString(const QString& AIdnt, const QString& AValue)
{
    FIniFile.WriteString(kGeneral, AIdnt.toStdString(), AValue.toStdString());
}

void TTvrConfig::WriteInteger(const QString& AIdnt, int32_t AValue)
{
    WriteString(AIdnt, QString::number(AValue));
}

void TTvrConfig::WriteBool(const QString& AIdnt, bool AValue)
{
    WriteString(AIdnt, AValue ? QStringLiteral("1") : QStringLiteral("0"));
}

TTvrConfig::TKeyValues TTvrConfig::ReadSectionKeyValues(const QString& ASection) const
{
    TKeyValues KeyValues;
    for (const auto& [Key, Value] : FIniFile.ReadSection(ASection.toStdString()))
        KeyValues.emplace_back(QString::fromStdString(Key), QString::fromStdString(Value));
    return KeyValues;
}

void TTvrConfig::WriteSectionKeyValues(const QString& ASection, const TKeyValues& AKeyValues)
{
    TTvrIniFile::TKeyValues Written;
    for (const auto& [Key, Value] : AKeyValues) {
        const QString TrimmedKey = TrimBlanks(Key);
        if (!TrimmedKey.isEmpty())
            Written.emplace_back(TrimmedKey.toStdString(), TrimBlanks(Value).toStdString());
    }
    // Erasing the section and writing its keys happen in one write, so that a
    // failure in between never leaves the section half written.
    FIniFile.WriteSection(ASection.toStdString(), Written);
}

void TTvrConfig::ReadSectionValues(const QString& ASection, QStringList& AStrings) const
{
    AStrings.clear();
    for (const auto& [Key, Value] : ReadSectionKeyValues(ASection))
        AStrings.append(Key + u'=' + Value);
}

void TTvrConfig::WriteSectionValues(const QString& ASection, const QStringList& AStrings)
{
    TKeyValues KeyValues;
    for (const QString& Line : AStrings) {
        // A line without "=" has an empty key part and is skipped.
        const qsizetype Eq = Line.indexOf(u'=');
        if (Eq >= 0)
            KeyValues.emplace_back(Line.left(Eq), Line.mid(Eq + 1));
    }
    WriteSectionKeyValues(ASection, KeyValues);
}

} // namespace tavrel
