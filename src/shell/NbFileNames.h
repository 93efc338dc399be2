// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// File and folder names as Linux keeps them, bytes that need not be UTF-8
// (a stick written on Windows holds code page 932 names), and as the user
// reads them. The windows keep the bytes for every file operation and the
// run, and show the text.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace tavrel {

// The text a file name shows, and the text the keywords are looked for in:
// UTF-8 as it is; a name that is not UTF-8 as code page 932 when it decodes
// cleanly, else with U+FFFD for each byte that does not decode.
QString FileNameDisplay(std::string_view ABytes);
// The same for a path, one part at a time, so that a folder of code page
// 932 names under a UTF-8 home shows whole.
QString PathDisplay(std::string_view APath);

// A path Qt gives back as bytes again. Qt decodes names as UTF-8 and puts
// U+FFFD for bytes that are not, so the folder picker's answer for a folder
// of a Windows stick is not its name: each part is found again among the
// entries of its folder by the text Qt shows for it. A part not found, or
// shown alike by two entries, keeps its UTF-8 bytes.
std::string LocalPathBytes(const QString& APath);

// The full path of a folder (relative ones from the current folder) as
// bytes, with "." and ".." resolved and a trailing separator.
std::string ExpandFolderBytes(std::string_view APath);
// Whether the bytes name a folder (a link to one counts).
bool FolderExists(const std::string& APath);

inline QByteArray ToByteArray(std::string_view ABytes)
{
    return QByteArray(ABytes.data(), static_cast<qsizetype>(ABytes.size()));
}
inline std::string FromByteArray(const QByteArray& ABytes)
{
    return std::string(ABytes.constData(), static_cast<size_t>(ABytes.size()));
}

} // namespace tavrel
