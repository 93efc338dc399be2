// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The version strings of a program file: the block the build embeds in each
// program (TvrVersionBlock.cpp.in). Qt Core only, so that tavrel-sumup reads
// its own too.

#include <QString>

namespace tavrel {

// The twelve strings of a program file's version information, in order.
struct TNbFileInfo {
    QString Comments;
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString LegalTrademarks;
    QString OriginalFilename;
    QString PrivateBuild;
    QString ProductName;
    QString ProductVersion;
    QString SpecialBuild;
};

// Fills AInfo from the version block the build embeds in a program file
// (see TvrVersionBlock.cpp.in): each string trimmed of the codes 0 to 32 at
// both ends. A file that cannot be read, or holds no block, gives empty
// strings; an empty ProductName then becomes the file's name without folder.
// Never fails.
void ReadFileInfo(const QString& AFileName, TNbFileInfo& AInfo);

} // namespace tavrel
