// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrSrcLocationHistory.h"

#include <QHash>
#include <algorithm>

#include "shell/NbFileNames.h"
#include "shell/NbPaths.h"
#include "shell/TvrConfig.h"

namespace tavrel {

namespace {

const QString kSrcPathsSection = QStringLiteral("SrcPaths");

// How many parts of a folder its short name shows.
constexpr qsizetype kDisplayNameParts = 3;

} // namespace

QString SrcLocationDisplayName(const QString& AFolder)
{
    const QString Full = PathFullDisplayName(AFolder);
    // The root counts as a part of its own, shown as "/".
    QStringList Parts = Full.split(u'/', Qt::SkipEmptyParts);
    if (Full.startsWith(u'/'))
        Parts.prepend(QStringLiteral("/"));
    QString Name;
    for (qsizetype P = std::max<qsizetype>(0, Parts.size() - kDisplayNameParts); P < Parts.size(); ++P)
        Name += QStringLiteral(" ■ ") + Parts[P];
    return Name;
}

TTvrSrcLocationHistory::TTvrSrcLocationHistory(QObject* AParent) : QAbstractListModel(AParent) {}

int TTvrSrcLocationHistory::rowCount(const QModelIndex& AParent) const
{
    return AParent.isValid() ? 0 : static_cast<int>(FFolders.size());
}

QVariant TTvrSrcLocationHistory::data(const QModelIndex& AIndex, int ARole) const
{
    if (!AIndex.isValid() || AIndex.row() >= rowCount())
        return {};
    const std::string& Folder = FFolders[static_cast<size_t>(AIndex.row())];
    switch (ARole) {
    case Qt::DisplayRole:
        return PathDisplay(Folder);
    case FolderRole:
        return ToByteArray(Folder);
    default:
        return {};
    }
}

bool TTvrSrcLocationHistory::Load(const TTvrConfig& AConfig)
{
    // The values by key once, so that ten thousand locations are read in
    // one pass; the first of a repeated key counts.
    QHash<QString, QString> Values;
    for (const auto& [Key, Value] : AConfig.ReadSectionKeyValues(kSrcPathsSection))
        Values.insert(Key, Value);
    std::vector<std::string> Folders;
    std::vector<std::string> Absent;
    bool FirstKept = false;
    for (qsizetype I = 0; I < Values.size(); ++I) {
        const QString Value = Values.value(QString::number(I)).trimmed();
        if (Value.isEmpty())
            break;
        std::string Folder = TTvrConfig::PathBytes(Value);
        // A location is a folder path ending in its separator, also when the
        // file was edited by hand.
        if (!Folder.ends_with('/'))
            Folder += '/';
        if (!FolderExists(Folder)) {
            Absent.push_back(std::move(Folder));
            continue;
        }
        if (I == 0)
            FirstKept = true;
        Folders.push_back(std::move(Folder));
    }
    beginResetModel();
    FFolders = std::move(Folders);
    FAbsent = std::move(Absent);
    FDisplayNames.assign(FFolders.size(), QString());
    endResetModel();
    return FirstKept;
}

void TTvrSrcLocationHistory::Save(TTvrConfig& AConfig) const
{
    TTvrConfig::TKeyValues KeyValues;
    KeyValues.reserve(FFolders.size() + FAbsent.size());
    for (const std::vector<std::string>* List : {&FFolders, &FAbsent}) {
        for (const std::string& Folder : *List)
            KeyValues.emplace_back(QString::number(KeyValues.size()), TTvrConfig::PathValue(Folder));
    }
    AConfig.WriteSectionKeyValues(kSrcPathsSection, KeyValues);
}

void TTvrSrcLocationHistory::MoveToTop(const std::string& AFolder)
{
    const auto Found = std::find(FFolders.begin(), FFolders.end(), AFolder);
    if (Found != FFolders.end()) {
        if (Found == FFolders.begin())
            return;
        Remove(static_cast<int>(Found - FFolders.begin()));
    }
    // Back again: no longer absent.
    std::erase(FAbsent, AFolder);
    beginInsertRows(QModelIndex(), 0, 0);
    FFolders.insert(FFolders.begin(), AFolder);
    FDisplayNames.insert(FDisplayNames.begin(), QString());
    endInsertRows();
}

void TTvrSrcLocationHistory::Remove(int AIndex)
{
    if (AIndex < 0 || AIndex >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), AIndex, AIndex);
    FFolders.erase(FFolders.begin() + AIndex);
    FDisplayNames.erase(FDisplayNames.begin() + AIndex);
    endRemoveRows();
}

const QString& TTvrSrcLocationHistory::DisplayName(int AIndex) const
{
    QString& Name = FDisplayNames[static_cast<size_t>(AIndex)];
    if (Name.isEmpty())
        Name = SrcLocationDisplayName(PathDisplay(FFolders[static_cast<size_t>(AIndex)]));
    return Name;
}

QStringList TTvrSrcLocationHistory::DisplayNames() const
{
    QStringList Names;
    for (int I = 0; I < rowCount(); ++I)
        Names.append(DisplayName(I));
    return Names;
}

} // namespace tavrel
