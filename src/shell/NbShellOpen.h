// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Opening a file or folder with the program the desktop associates with
// it, the errors of the operating system that it raises, and the folder
// picker.

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "tables/TvrValue.h"

class QWidget;

namespace tavrel {

// The codes of the operating system's errors that OsErrorText names.
inline constexpr int32_t kOsErrorFileNotFound = 2;
inline constexpr int32_t kOsErrorPathNotFound = 3;
inline constexpr int32_t kOsErrorAccessDenied = 5;
inline constexpr int32_t kOsErrorNotEnoughMemory = 8;
inline constexpr int32_t kOsErrorSharingViolation = 32;
inline constexpr int32_t kOsErrorNoAssociation = 1155;
inline constexpr int32_t kOsErrorDdeFail = 1156;
inline constexpr int32_t kOsErrorDllNotFound = 1157;

// An error of the operating system: the text for its code, two line feeds
// and a detail.
class ETvrOsError : public ETvrError {
public:
    ETvrOsError(const std::string& AMessage, int32_t ACode) : ETvrError(AMessage), FCode(ACode) {}
    int32_t Code() const { return FCode; }

private:
    int32_t FCode;
};
// The system's text for the error code (the codes above; any other code
// gets a text that names it).
QString OsErrorText(int32_t ACode);
[[noreturn]] void RaiseOsError(int32_t ACode, const QString& ADetail);
// Opens the file or folder with its associated program; raises ETvrOsError
// (file not found, path not found, access denied, or no program
// associated) with the path as detail.
void OpenWithShell(const QString& APath);
// Test seam: the next OpenWithShell of an existing path takes this as the
// desktop's answer instead of asking it.
void SetNextOpenWithShellResult(bool AOpened);
// The path the last OpenWithShell was asked to open.
QString LastOpenedWithShell();

// Shows the folder picker starting at APath (the desktop when empty), with
// the first line of ACaption as its title and the rest shown inside it. A
// confirmed folder goes into APath with a trailing separator and gives
// true; an empty confirmation beeps and gives false; cancel gives false.
bool SelectFolder(const QString& ACaption, QString& APath, QWidget* AForm);
// Test seam: the next SelectFolder takes this as the picker's result (an
// empty text as an empty confirmation, nullopt as cancel) instead of
// showing it.
void SetNextSelectedFolder(std::optional<QString> AFolder);
// The folder the last SelectFolder started at (its APath as given), also
// when the seam answered it.
QString LastSelectFolderStart();

// Asks for the name of a file to write with the file picker, proposing
// AProposed (a full path: the folder it opens in and the name it offers).
// AFilter is the picker's filter ("PDF ファイル (*.pdf)"); ASuffix (without
// its dot) is added to a name typed without it. A file that exists is
// replaced only when the user says so in the question that follows. The
// full path chosen, or nullopt when the user cancelled or would not replace
// the file.
std::optional<QString> SelectSaveFileName(const QString& ACaption, const QString& AProposed, const QString& AFilter,
                                          const QString& ASuffix, QWidget* AForm);
// Test seam: the next SelectSaveFileName takes this as the picker's result
// (nullopt as cancel) instead of showing it; the question about a file
// that exists is still asked.
void SetNextSaveFileName(std::optional<QString> AFileName);
// What the last SelectSaveFileName proposed, also when the seam answered.
QString LastProposedSaveFileName();

} // namespace tavrel
