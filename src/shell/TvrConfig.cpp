// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/TvrConfig.h"

#include <algorithm>
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
    if (!std::filesystem::is_directory(Path)) {
        std::error_code Ignored;
        const std::string Message = "設定ファイルのフォルダ \"" + Path + "\" を作成できません。";
        if (std::filesystem::exists(std::filesystem::symlink_status(Path.substr(0, Path.size() - 1), Ignored)))
            throw ETvrError(Message + "同じ名前のファイルがあります。");
        throw ETvrError(Message + "\n" + (Error ? Error.message() : std::string()));
    }
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

void TTvrConfig::WriteStrings(const TKeyValues& AKeyValues)
{
    TTvrIniFile::TKeyValues Written;
    for (const auto& [Key, Value] : AKeyValues)
        Written.emplace_back(Key.toStdString(), Value.toStdString());
    FIniFile.WriteValues(kGeneral, Written);
}

// Paths in the file. A Linux path is bytes: a folder on a stick written on
// Windows has code page 932 names that are not UTF-8, and a name may hold
// a line break. The file is UTF-8, so such a path is stored escaped: the
// marker "%/", then the path with every byte that is not part of a UTF-8
// character, every control character and every "%" written as "%" and two
// hexadecimal digits. No ordinary value starts with the marker: a file
// name holds no "/", and a folder path starts with "/". Everything else is
// stored as it is, so that the file stays readable and a value written by
// hand means what it says.
namespace {

const char kEscapedPathMarker[] = "%/";

bool NeedsEscape(std::string_view ABytes)
{
    if (ABytes.starts_with(kEscapedPathMarker))
        return true;
    if (std::any_of(ABytes.begin(), ABytes.end(), [](char C) {
            const auto U = static_cast<unsigned char>(C);
            return U < 0x20 || U == 0x7F;
        }))
        return true;
    const QByteArray Bytes(ABytes.data(), static_cast<qsizetype>(ABytes.size()));
    return QString::fromUtf8(Bytes).toUtf8() != Bytes;
}

// The length of the UTF-8 character at APos, or 0 when the bytes there are
// not one.
size_t Utf8CharLength(std::string_view ABytes, size_t APos)
{
    const auto Lead = static_cast<unsigned char>(ABytes[APos]);
    const size_t Length = Lead < 0x80 ? 1 : (Lead & 0xE0) == 0xC0 ? 2 : (Lead & 0xF0) == 0xE0 ? 3 : (Lead & 0xF8) == 0xF0 ? 4 : 0;
    if (Length == 0 || APos + Length > ABytes.size())
        return 0;
    const QByteArray Char(ABytes.data() + APos, static_cast<qsizetype>(Length));
    // Qt's decoder also refuses overlong forms and surrogates.
    return QString::fromUtf8(Char).toUtf8() == Char ? Length : 0;
}

} // namespace

QString TTvrConfig::PathValue(std::string_view ABytes)
{
    if (!NeedsEscape(ABytes))
        return QString::fromUtf8(ABytes.data(), static_cast<qsizetype>(ABytes.size()));
    static const char kHex[] = "0123456789ABCDEF";
    std::string Text(kEscapedPathMarker);
    for (size_t I = 0; I < ABytes.size();) {
        const auto U = static_cast<unsigned char>(ABytes[I]);
        const size_t Length = Utf8CharLength(ABytes, I);
        if (Length == 0 || U < 0x20 || U == 0x7F || U == '%') {
            Text += '%';
            Text += kHex[U >> 4];
            Text += kHex[U & 0x0F];
            ++I;
        } else {
            Text.append(ABytes.substr(I, Length));
            I += Length;
        }
    }
    return QString::fromStdString(Text);
}

std::string TTvrConfig::PathBytes(const QString& AValue)
{
    const std::string Text = AValue.toStdString();
    if (!std::string_view(Text).starts_with(kEscapedPathMarker))
        return Text;
    const auto Digit = [](char C) -> int {
        if (C >= '0' && C <= '9')
            return C - '0';
        if (C >= 'A' && C <= 'F')
            return C - 'A' + 10;
        if (C >= 'a' && C <= 'f')
            return C - 'a' + 10;
        return -1;
    };
    std::string Bytes;
    for (size_t I = sizeof(kEscapedPathMarker) - 1; I < Text.size(); ++I) {
        if (Text[I] == '%' && I + 2 < Text.size() && Digit(Text[I + 1]) >= 0 && Digit(Text[I + 2]) >= 0) {
            Bytes += static_cast<char>(Digit(Text[I + 1]) * 16 + Digit(Text[I + 2]));
            I += 2;
        } else {
            Bytes += Text[I];
        }
    }
    return Bytes;
}

void TTvrConfig::WriteInteger(const QString& AIdnt, int32_t AValue)
{
    WriteString(AIdnt, QString::number(AValue));
}

void TTvrConfig::WriteBool(const QString& AIdnt, bool AValue)
{
    WriteString(AIdnt, AValue ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList TTvrConfig::SectionNames() const
{
    QStringList Names;
    for (const std::string& Name : FIniFile.SectionNames())
        Names.append(QString::fromStdString(Name));
    return Names;
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
