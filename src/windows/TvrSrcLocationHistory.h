// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The source-data locations the main window remembers from one use of the
// program to the next, most recent first.

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace tavrel {

class TTvrConfig;

// The remembered locations: the items of the main window's location box (a
// folder path with its separator each, as bytes), kept in the configuration
// section SrcPaths as key = position, value = folder. The history has no
// length limit; the user shortens it.
//
// A remembered folder that is not there at the moment (a stick not plugged
// in) is not listed, but it is not forgotten either: it is written back
// after the listed ones, so that it is listed again once it is back.
class TTvrSrcLocationHistory : public QAbstractListModel {
public:
    // The folder's bytes (a QByteArray) of an item; its display text is the
    // folder as the user reads it (PathDisplay).
    static constexpr int FolderRole = Qt::UserRole;

    explicit TTvrSrcLocationHistory(QObject* AParent);

    int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override;

    // Reads the history: the values of the keys 0, 1, 2 ... up to the first
    // key that is missing or has an empty value, wherever they stand in the
    // section. Folders that are gone are not listed but kept (Absent). True
    // when the first remembered folder is there: it was the current location.
    bool Load(const TTvrConfig& AConfig);
    // Writes the whole history, the listed locations then the absent ones,
    // replacing the section.
    void Save(TTvrConfig& AConfig) const;

    // Makes the folder the first location, listed once (and no longer
    // absent). Folder names differ by letter case on Linux: /data/Acc and
    // /data/acc are two locations.
    void MoveToTop(const std::string& AFolder);
    // Forgets the listed location at the position.
    void Remove(int AIndex);

    const std::vector<std::string>& Folders() const { return FFolders; }
    const std::vector<std::string>& Absent() const { return FAbsent; }
    // The short name drawn for the location at the position, made when it is
    // first asked for: ten thousand remembered folders open the window at
    // once, and only the few drawn need theirs.
    const QString& DisplayName(int AIndex) const;
    // Every short name, in the order of the list.
    QStringList DisplayNames() const;

private:
    std::vector<std::string> FFolders;
    std::vector<std::string> FAbsent;
    // Empty where not made yet; a short name is never empty.
    mutable std::vector<QString> FDisplayNames;
};

// The short name of a location: the last three parts of its full display
// name (the root counts as a part, shown as "/"), each after " ■ ".
QString SrcLocationDisplayName(const QString& AFolder);

} // namespace tavrel
