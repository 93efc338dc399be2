// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The program-wide settings every window relies on: the application title,
// the four environment variables and their start-up check, the folder of
// the user documentation and the one configuration object.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tavrel {

class TTvrConfig;

// "ミロナ会計係／Tavrel": the caption of the base and main windows and the
// value of AppSystemName.
QString ApplicationTitle();

// The names of the four environment variables.
inline constexpr const char* kAppSystemId = "AppSystemId";
inline constexpr const char* kAppSystemName = "AppSystemName";
inline constexpr const char* kAppProgramName = "AppProgramName";
inline constexpr const char* kAppLocation = "AppLocation";

// Sets the four variables: AppSystemId and AppProgramName "Tavrel",
// AppSystemName the title, AppLocation the program file's folder with a
// trailing separator. False when one could not be set.
bool SetApplicationEnvironment();

// The text of the box CheckEnvironment shows when a variable is empty, with
// "\n" for its line breaks and %1 to %5 for its values: the title and the
// four names.
QString EnvironmentErrorText();
QStringList EnvironmentErrorValues();

// The start-up check, counted: only the first call (and the first after
// ReleaseEnvironment brought the count back to 0) reads the four variables.
// When one is empty it shows the error box and ends the process at once
// with exit code 0; otherwise it sets up the file icons of TNbGlyphText.
// Later calls only count.
void CheckEnvironment();
// Counts one call of CheckEnvironment back; at 0 the file icons go. A call
// without a CheckEnvironment before it does nothing.
void ReleaseEnvironment();
// How many CheckEnvironment calls are not yet released.
int EnvironmentCount();

// The folder of the user documentation with a trailing separator: "Documents"
// beside the program file when it exists (a build tree), else
// AInstalledFolder (the installed program's share/doc/tavrel).
QString DocumentsFolderFor(const QString& AProgramFolder, const QString& AInstalledFolder);
// The same for this program.
QString DocumentsFolder();

// The one configuration object, created at start-up and freed at exit.
TTvrConfig& Config();
bool HasConfig();
// Also forgets whether a refused write was said (Remember).
void SetConfig(std::unique_ptr<TTvrConfig> AConfig);

// Remembering is best-effort, what it serves is not: runs AWrite on the
// configuration and returns true when it went through. A write the file
// refuses (a read-only file or folder, a FIFO or a link to nothing in its
// place, a value it cannot hold) is said in the error box once, and not
// again until a write has gone through; the caller goes on either way.
// Without a configuration nothing is written, and the result is true.
bool Remember(const std::function<void(TTvrConfig&)>& AWrite);
// At start-up: says in the error box why the configuration file cannot be
// used (TTvrConfig::Problem), when it cannot; the refused writes that
// follow are then not said again. The program goes on without remembering.
void ReportConfigProblem();

} // namespace tavrel
