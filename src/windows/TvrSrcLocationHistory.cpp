// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrSrcLocationHistory.h"

#include <algorithm>

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

TTvrSrcLocationHistory::TTvrSrcLocationHistory(QObject* AParent) : QStringListModel(AParent)
{
    // The short names follow every change of the list.
    connect(this, &QAbstractItemModel::modelReset, this, [this] { UpdateDisplayNames(); });
    connect(this, &QAbstractItemModel::rowsInserted, this, [this] { UpdateDisplayNames(); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateDisplayNames(); });
    connect(this, &QAbstractItemModel::dataChanged, this, [this] { UpdateDisplayNames(); });
}

bool TTvrSrcLocationHistory::Load(const TTvrConfig& AConfig)
{
    const TTvrConfig::TKeyValues KeyValues = AConfig.ReadSectionKeyValues(kSrcPathsSection);
    QStringList Folders;
    bool FirstKept = false;
    for (size_t I = 0; I < KeyValues.size(); ++I) {
        const QString Key = QString::number(I);
        const auto Found = std::find_if(KeyValues.begin(), KeyValues.end(), [&Key](const auto& APair) {
            return APair.first.compare(Key, Qt::CaseInsensitive) == 0;
        });
        QString Value = Found != KeyValues.end() ? Found->second.trimmed() : QString();
        if (Value.isEmpty())
            break;
        // A location is a folder path ending in its separator, also when the
        // file was edited by hand.
        if (!Value.endsWith(u'/'))
            Value += u'/';
        if (!DirectoryExistsQuiet(Value))
            continue;
        Folders.append(Value);
        if (I == 0)
            FirstKept = true;
    }
    setStringList(Folders);
    return FirstKept;
}

void TTvrSrcLocationHistory::Save(TTvrConfig& AConfig) const
{
    TTvrConfig::TKeyValues KeyValues;
    const QStringList Folders = stringList();
    for (qsizetype I = 0; I < Folders.size(); ++I)
        KeyValues.emplace_back(QString::number(I), Folders[I]);
    AConfig.WriteSectionKeyValues(kSrcPathsSection, KeyValues);
}

void TTvrSrcLocationHistory::MoveToTop(const QString& AFolder)
{
    const int Found = static_cast<int>(stringList().indexOf(AFolder));
    if (Found == 0)
        return;
    if (Found > 0)
        removeRows(Found, 1);
    insertRows(0, 1);
    setData(index(0), AFolder);
}

void TTvrSrcLocationHistory::Remove(int AIndex)
{
    removeRows(AIndex, 1);
}

void TTvrSrcLocationHistory::UpdateDisplayNames()
{
    FDisplayNames.clear();
    for (const QString& Folder : stringList())
        FDisplayNames.append(SrcLocationDisplayName(Folder));
}

} // namespace tavrel
