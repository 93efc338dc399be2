// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Folder paths as the user sees them, and the system's special folders.

#include <QString>
#include <cstdint>

namespace tavrel {

// The full path of APath (relative to the current folder) with a trailing
// separator.
QString ExpandFolderPath(const QString& APath);
// The name the user sees: the last component of the full path; "/" for the
// root.
QString PathDisplayName(const QString& APath);
// The root followed by the display names of the folders down to the path,
// separated by "/"; the root alone for the root.
QString PathFullDisplayName(const QString& APath);
bool IsDriveRoot(const QString& APath);
// Whether the folder exists (Linux shows no critical-error dialogs to
// suppress).
bool DirectoryExistsQuiet(const QString& APath);

// The codes of SpecialFolderPath; any other code is the desktop.
inline constexpr int32_t kSpecialFolderDesktop = 0;
inline constexpr int32_t kSpecialFolderDocuments = 1;
// The roaming application data: XDG config.
inline constexpr int32_t kSpecialFolderRoamingData = 2;
// The local application data: XDG data.
inline constexpr int32_t kSpecialFolderLocalData = 3;
inline constexpr int32_t kSpecialFolderApplications = 4;

// The special folder of the code: the full path with a trailing separator,
// or empty text when the system has none.
QString SpecialFolderPath(int32_t ACode);

} // namespace tavrel
