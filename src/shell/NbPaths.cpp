// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tavrel {

QString ExpandFolderPath(const QString& APath)
{
    QString Full = QDir::cleanPath(QDir::current().absoluteFilePath(APath));
    if (!Full.endsWith(u'/'))
        Full += u'/';
    return Full;
}

QString PathDisplayName(const QString& APath)
{
    const QString Full = ExpandFolderPath(APath);
    if (Full == QStringLiteral("/"))
        return Full;
    return Full.section(u'/', -2, -2);
}

QString PathFullDisplayName(const QString& APath)
{
    QString Folder = ExpandFolderPath(APath);
    if (Folder == QStringLiteral("/"))
        return PathDisplayName(Folder);
    QString Result = PathDisplayName(Folder);
    for (;;) {
        Folder = Folder.left(Folder.lastIndexOf(u'/', Folder.size() - 2) + 1);
        if (Folder == QStringLiteral("/"))
            break;
        Result = PathDisplayName(Folder) + u'/' + Result;
    }
    return QStringLiteral("/") + Result;
}

bool IsDriveRoot(const QString& APath)
{
    return ExpandFolderPath(APath) == QStringLiteral("/");
}

bool DirectoryExistsQuiet(const QString& APath)
{
    return !APath.isEmpty() && QFileInfo(APath).isDir();
}

QString SpecialFolderPath(int32_t ACode)
{
    QStandardPaths::StandardLocation Location = QStandardPaths::DesktopLocation;
    switch (ACode) {
    case kSpecialFolderDocuments:
        Location = QStandardPaths::DocumentsLocation;
        break;
    case kSpecialFolderRoamingData:
        Location = QStandardPaths::GenericConfigLocation;
        break;
    case kSpecialFolderLocalData:
        Location = QStandardPaths::GenericDataLocation;
        break;
    case kSpecialFolderApplications:
        Location = QStandardPaths::ApplicationsLocation;
        break;
    default:
        break;
    }
    const QString Path = QStandardPaths::writableLocation(Location);
    if (Path.isEmpty())
        return QString();
    return ExpandFolderPath(Path);
}

} // namespace tavrel
