// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbFileNames.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <vector>

#include "tables/TvrCodePage.h"

namespace tavrel {

namespace {

bool IsUtf8(std::string_view ABytes)
{
    const QByteArray Bytes = ToByteArray(ABytes);
    // Qt's decoder also refuses overlong forms and surrogates.
    return QString::fromUtf8(Bytes).toUtf8() == Bytes;
}

// The names of a folder's entries, as bytes; none when it cannot be read.
std::vector<std::string> EntryNames(const std::string& AFolder)
{
    std::vector<std::string> Names;
    DIR* Dir = ::opendir(AFolder.c_str());
    if (Dir == nullptr)
        return Names;
    while (const dirent* Entry = ::readdir(Dir)) {
        const std::string_view Name(Entry->d_name);
        if (Name != "." && Name != "..")
            Names.emplace_back(Name);
    }
    ::closedir(Dir);
    return Names;
}

} // namespace

QString FileNameDisplay(std::string_view ABytes)
{
    return QString::fromStdString(FileNameText(ABytes));
}

QString PathDisplay(std::string_view APath)
{
    if (IsUtf8(APath))
        return QString::fromUtf8(ToByteArray(APath));
    QString Text;
    for (size_t Begin = 0; Begin <= APath.size();) {
        const size_t Slash = std::min(APath.find('/', Begin), APath.size());
        Text += FileNameDisplay(APath.substr(Begin, Slash - Begin));
        if (Slash < APath.size())
            Text += u'/';
        Begin = Slash + 1;
    }
    return Text;
}

std::string LocalPathBytes(const QString& APath)
{
    const QString Full = QDir::cleanPath(QDir::current().absoluteFilePath(APath));
    // The folder found so far, with its separator.
    std::string Folder = "/";
    for (const QString& Part : Full.split(u'/', Qt::SkipEmptyParts)) {
        std::string Bytes = Part.toStdString();
        struct stat St {};
        if (::lstat(std::string(Folder).append(Bytes).c_str(), &St) != 0) {
            // The name Qt showed: one entry of the folder shows so.
            int Matches = 0;
            std::string Found;
            for (const std::string& Name : EntryNames(Folder)) {
                if (QFile::decodeName(ToByteArray(Name)) == Part) {
                    Found = Name;
                    ++Matches;
                }
            }
            if (Matches == 1)
                Bytes = Found;
        }
        Folder.append(Bytes).push_back('/');
    }
    // The separator at the end only where the path given had one.
    if (Folder.size() > 1 && !APath.endsWith(u'/'))
        Folder.pop_back();
    return Folder;
}

std::string ExpandFolderBytes(std::string_view APath)
{
    std::error_code Error;
    std::filesystem::path Path(APath);
    if (Path.is_relative())
        Path = std::filesystem::current_path(Error) / Path;
    std::string Full = Path.lexically_normal().string();
    if (!Full.ends_with('/'))
        Full += '/';
    return Full;
}

bool FolderExists(const std::string& APath)
{
    struct stat St {};
    return !APath.empty() && ::stat(APath.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

} // namespace tavrel
