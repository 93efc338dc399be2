// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/TvrEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "shell/NbGlyphText.h"
#include "shell/NbMessageBox.h"
#include "shell/NbPaths.h"
#include "shell/TvrConfig.h"
#include "tables/TvrValue.h"

#ifndef TAVREL_INSTALLED_DOCUMENTS
#define TAVREL_INSTALLED_DOCUMENTS "/usr/local/share/doc/tavrel/"
#endif

namespace tavrel {
namespace {

int GEnvironmentCount = 0;
std::unique_ptr<QFileIconProvider> GIconProvider;
std::unique_ptr<TTvrConfig> GConfig;
// A refused write was said and no write has gone through since.
bool GRememberFailureShown = false;

QString ProgramFolder()
{
    QString Folder = QCoreApplication::applicationDirPath();
    if (!Folder.endsWith(u'/'))
        Folder += u'/';
    return Folder;
}

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("ミロナ会計係／Tavrel");
}

bool SetApplicationEnvironment()
{
    return qputenv(kAppSystemId, "Tavrel") && qputenv(kAppSystemName, ApplicationTitle().toUtf8())
           && qputenv(kAppProgramName, "Tavrel") && qputenv(kAppLocation, ProgramFolder().toUtf8());
}

QStringList EnvironmentErrorValues()
{
    return {ApplicationTitle(), QLatin1String(kAppSystemId), QLatin1String(kAppSystemName),
            QLatin1String(kAppProgramName), QLatin1String(kAppLocation)};
}

QString EnvironmentErrorText()
{
    return QStringLiteral("'%1' cannot run!\\nEnvironment variables below must be all set.\\n\\n%2\\n%3\\n%4\\n%5");
}

void CheckEnvironment()
{
    if (GEnvironmentCount++ > 0)
        return;
    const char* const Names[] = {kAppSystemId, kAppSystemName, kAppProgramName, kAppLocation};
    for (const char* Name : Names) {
        if (!qEnvironmentVariableIsEmpty(Name))
            continue;
        ShowMessageBox(nmkError, EnvironmentErrorText(), EnvironmentErrorValues(), nmbOk);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    // Qt gives file icons through one provider, in any size asked for: 16 x 16
    // for the small icons, 48 x 48 for the large ones.
    GIconProvider = std::make_unique<QFileIconProvider>();
    SetFileIconProvider(GIconProvider.get());
}

void ReleaseEnvironment()
{
    if (GEnvironmentCount == 0)
        return;
    if (--GEnvironmentCount == 0) {
        SetFileIconProvider(nullptr);
        GIconProvider.reset();
    }
}

int EnvironmentCount()
{
    return GEnvironmentCount;
}

QString DocumentsFolderFor(const QString& AProgramFolder, const QString& AInstalledFolder)
{
    const QString BesideProgram = QDir(AProgramFolder).absoluteFilePath(QStringLiteral("Documents"));
    const QString Folder = QFileInfo(BesideProgram).isDir() ? BesideProgram : QDir(AInstalledFolder).absolutePath();
    return ExpandFolderPath(Folder);
}

QString DocumentsFolder()
{
    return DocumentsFolderFor(ProgramFolder(), QStringLiteral(TAVREL_INSTALLED_DOCUMENTS));
}

TTvrConfig& Config()
{
    return *GConfig;
}

bool HasConfig()
{
    return GConfig != nullptr;
}

void SetConfig(std::unique_ptr<TTvrConfig> AConfig)
{
    GConfig = std::move(AConfig);
    GRememberFailureShown = false;
}

bool Remember(const std::function<void(TTvrConfig&)>& AWrite)
{
    if (!GConfig)
        return true;
    try {
        AWrite(*GConfig);
    } catch (const std::exception& E) {
        if (!GRememberFailureShown) {
            GRememberFailureShown = true;
            ShowErrorMessage(E);
        }
        return false;
    }
    GRememberFailureShown = false;
    return true;
}

void ReportConfigProblem()
{
    if (!GConfig)
        return;
    const QString Problem = GConfig->Problem();
    if (Problem.isEmpty())
        return;
    GRememberFailureShown = true;
    ShowErrorMessage(ETvrError(Problem.toStdString()));
}

} // namespace tavrel
