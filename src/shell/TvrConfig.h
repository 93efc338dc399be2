// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/TvrIniFile.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The configuration file: <documents>/<AppSystemId>/<AppSystemId>.ini, that
// is Tavrel/Tavrel.ini in the user's documents folder. Values are read from
// and written to the section "General"; every write reaches the file at
// once. A missing or unreadable value reads as its default; a refused write
// raises ETvrError naming the file.
class TTvrConfig {
public:
    using TKeyValues = std::vector<std::pair<QString, QString>>;

    // Creates the folder in the user's documents folder (with any missing
    // parents); ETvrError naming the folder when it cannot (in Japanese
    // when a file stands where the folder should be, else with the
    // platform's text).
    TTvrConfig();
    // The same in another documents folder.
    explicit TTvrConfig(const QString& ADocumentsFolder);

    QString FileName() const { return QString::fromStdString(FIniFile.FileName()); }
    // Why the file cannot hold the configuration (it is a FIFO, a device, a
    // folder, or a link to nothing); empty when it can, or is not there yet.
    QString Problem() const { return QString::fromStdString(FIniFile.Problem()); }

    QString ReadString(const QString& AIdnt, const QString& ADefault) const;
    // The value when the key is written at all, even empty; nullopt when it
    // is not.
    std::optional<QString> FindString(const QString& AIdnt) const;
    bool ValueExists(const QString& AIdnt) const { return FindString(AIdnt).has_value(); }
    // ADefault also when the value is not an integer; "0x" starts a
    // hexadecimal one.
    int32_t ReadInteger(const QString& AIdnt, int32_t ADefault) const;
    // True when the value, read as an integer, is not 0.
    bool ReadBool(const QString& AIdnt, bool ADefault) const;

    void WriteString(const QString& AIdnt, const QString& AValue);
    void WriteInteger(const QString& AIdnt, int32_t AValue);
    void WriteBool(const QString& AIdnt, bool AValue);
    // Several values of "General" in one write of the file; nothing is
    // written when one of them is refused.
    void WriteStrings(const TKeyValues& AKeyValues);

    // A path or file name as bytes (Linux names need not be UTF-8) and as the
    // text that holds it in the file; see PathValue in the .cpp.
    static QString PathValue(std::string_view ABytes);
    static std::string PathBytes(const QString& AValue);

    // The names of the file's sections in its order, each once.
    QStringList SectionNames() const;
    // The keys of the section with their values (as ReadString gives them),
    // in the file's order; none when the section or the file is missing.
    TKeyValues ReadSectionKeyValues(const QString& ASection) const;
    // Replaces the section by these keys and values in one write, both
    // trimmed of the codes 0 to 32; a pair whose key is then empty is
    // skipped, and with none left the section is erased.
    void WriteSectionKeyValues(const QString& ASection, const TKeyValues& AKeyValues);

    // The same as "key=value" lines: one per key of the section, in the
    // file's order.
    void ReadSectionValues(const QString& ASection, QStringList& AStrings) const;
    // Replaces the section by the lines' keys and values: each split at its
    // first "=", both parts trimmed; lines with an empty key are skipped.
    void WriteSectionValues(const QString& ASection, const QStringList& AStrings);

private:
    TTvrIniFile FIniFile;
};

} // namespace tavrel
