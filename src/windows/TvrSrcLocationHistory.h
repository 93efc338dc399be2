// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The source-data locations the main window remembers from one use of the
// program to the next, most recent first.

#include <QString>
#include <QStringList>
#include <QStringListModel>

namespace tavrel {

class TTvrConfig;

// The remembered locations: the items of the main window's location box (a
// folder path with its separator each), kept in the configuration section
// SrcPaths as key = position, value = folder. The history has no length
// limit; the user shortens it.
class TTvrSrcLocationHistory : public QStringListModel {
public:
    explicit TTvrSrcLocationHistory(QObject* AParent);

    // Reads the history: the values of the keys 0, 1, 2 ... up to the first
    // key that is missing or has an empty value, wherever they stand in the
    // section. Folders that are gone are left out. True when the first
    // remembered folder is still there: it was the current location.
    bool Load(const TTvrConfig& AConfig);
    // Writes the whole history, replacing the section.
    void Save(TTvrConfig& AConfig) const;

    // Makes the folder the first location, listed once. Folder names differ
    // by letter case on Linux: /data/Acc and /data/acc are two locations.
    void MoveToTop(const QString& AFolder);
    // Forgets the location at the position.
    void Remove(int AIndex);

    // The short name drawn for each location, in the same order.
    const QStringList& DisplayNames() const { return FDisplayNames; }

private:
    void UpdateDisplayNames();

    QStringList FDisplayNames;
};

// The short name of a location: the last three parts of its full display
// name (the root counts as a part, shown as "/"), each after " ■ ".
QString SrcLocationDisplayName(const QString& AFolder);

} // namespace tavrel
