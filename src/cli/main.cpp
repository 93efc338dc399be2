// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// tavrel-sumup: one aggregation run from the command line, for batch runs
// and scripts. Its interface is relied on by other tools; see CliUsage.
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <iostream>
#include <malloc.h>
#include <optional>

#include "aggregation/TvrSourceFiles.h"
#include "aggregation/TvrSumup.h"
#include "cli/CliOptions.h"
#include "cli/CliText.h"
#include "print/PrtGuiSession.h"
#include "shell/NbFileInfo.h"
#include "print/PrtSheets.h"
#include "print/PrtYearEnd.h"
#include "shell/TvrLocale.h"

using namespace tavrel;

namespace {

TTvrDate CurrentLocalDate()
{
    const std::time_t Now = std::time(nullptr);
    std::tm Local {};
    ::localtime_r(&Now, &Local);
    return TTvrDate::Encode(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday);
}

// "tavrel-sumup (ミロナ会計係／Tavrel) 0.2.0.0": the program's name, the
// product it belongs to and its version, as the version block the build
// embeds in the program file says them.
std::string VersionText()
{
    TNbFileInfo Info;
    ReadFileInfo(QStringLiteral("/proc/self/exe"), Info);
    return (Info.InternalName + QStringLiteral(" (") + Info.FileDescription + QStringLiteral(") ")
            + Info.ProductVersion)
        .toStdString();
}

int Run(int argc, char** argv)
{
    TTvrExecuteParams Params;
    try {
        const TCliOptions Options = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (Options.Help) {
            std::fputs(CliUsage().c_str(), stdout);
            return 0;
        }
        if (Options.Version) {
            std::printf("%s\n", VersionText().c_str());
            return 0;
        }
        Params = MakeExecuteParams(Options, CurrentLocalDate());
        Params.Settings = SystemRegionalSettings();
    } catch (const ECliUsage& E) {
        std::fprintf(stderr, "tavrel-sumup: %s\n\n%s", TerminalText(E.what()).c_str(), CliUsage().c_str());
        return 2;
    }
    // The page layer draws the PDF files; it needs a session of Qt's GUI
    // module (offscreen: no display is needed), started only when a PDF is
    // asked for, so that a plain run stays as light as before.
    std::optional<TPrtGuiSession> GuiSession;
    if (Params.YearEnd.YearEndPdf || Params.YearEnd.BooksPdf) {
        GuiSession.emplace();
        Params.YearEnd.YearEndPdfMaker = WriteYearEndPdf;
        Params.YearEnd.BooksPdfMaker = WriteBooksPdf;
    }
    for (const std::string& Line : ChosenFileLines(Params))
        std::fprintf(stderr, "%s\n", TerminalText(Line).c_str());
    std::fflush(stderr);

    const TTvrExecuteSendMessage Log = [](const std::string& AMessage) {
        for (const std::string& Line : LogLines(AMessage))
            std::cout << TerminalText(Line) << '\n';
        std::cout.flush();
    };
    TTvrSumup Sumup(Log);
    return Sumup.Execute(Params) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // A run allocates and frees buffers of the size of each book, one book
    // after the other; keeping freed memory for the next book instead of
    // handing it back saves the system the work of clearing fresh pages.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    // A reader that stops early (tavrel-sumup DIR | head -1) must not end
    // the run half way: the log is lost, the books are still written.
    std::signal(SIGPIPE, SIG_IGN);

    try {
        return Run(argc, argv);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "tavrel-sumup: %s\n", TerminalText(ErrorMessageOf(E)).c_str());
    } catch (...) {
        std::fprintf(stderr, "tavrel-sumup: 予期しないエラーが発生しました。\n");
    }
    return 1;
}
