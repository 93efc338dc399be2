// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// tavrel-sumup reads the system's regional settings at start: the same
// tables convert or not depending on the locale it runs under, and the books
// write dates in that locale's short date format.
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ShellTestSupport.h"

namespace tavrel {
namespace {

std::string Quote(const std::string& AText)
{
    std::string Quoted = "'";
    for (const char C : AText)
        Quoted += (C == '\'') ? std::string("'\\''") : std::string(1, C);
    return Quoted + "'";
}

// The two tables of a small club, the dates written as ADates gives them
// (opening day, closing day, one transaction), UTF-8 with a mark.
void WriteTables(const QString& AFolder, const std::vector<std::string>& ADates)
{
    WriteAll(AFolder + "/科目.csv", "\xEF\xBB\xBF" "000,前期繰越,,,1500,\r\n101,会費,,,1000,\r\n");
    WriteAll(AFolder + "/出納.csv", "\xEF\xBB\xBF" + ADates[0] + "," + ADates[1] + ",,,,開始,,000,1000,500\r\n"
                                        + ADates[2] + ",,,,,会費,,101,100,\r\n");
}

TEST(SumupRegionalSettings, FollowTheLocaleItRunsUnder)
{
    // clang-format off
    struct Case { const char* Locale; std::vector<std::string> Dates; int Status; const char* BookDate; };
    const Case kCases[] = {
        {"C",           {"2025/04/01", "2026/03/31", "2025/04/05"}, 0, "2025/04/05"},
        {"POSIX",       {"2025/04/01", "2026/03/31", "2025/04/05"}, 0, "2025/04/05"},
        {"C.UTF-8",     {"2025/04/01", "2026/03/31", "2025/04/05"}, 0, "2025/04/05"},
        {"ja_JP.UTF-8", {"2025/04/01", "2026/03/31", "2025/04/05"}, 0, "2025/04/05"},
        {"de_DE.UTF-8", {"01.04.2025", "31.03.2026", "05.04.2025"}, 0, "05.04.2025"},
        {"en_US.UTF-8", {"04/01/2025", "03/31/2026", "04/05/2025"}, 0, "04/05/2025"},
        {"C",           {"01.04.2025", "31.03.2026", "05.04.2025"}, 1, nullptr},
    };
    // clang-format on
    for (const Case& C : kCases) {
        QTemporaryDir Dir;
        WriteTables(Dir.path(), C.Dates);
        const std::string Folder = Dir.path().toStdString();
        const std::string Command = "env -u LANGUAGE LC_ALL=" + std::string(C.Locale) + " LANG=" + C.Locale + " "
                                    + Quote(TAVREL_SUMUP) + " --kamoku 科目.csv --kinsen 出納.csv --tantosha ''"
                                    + " --zandaka '' --today 2026-03-31 " + Quote(Folder) + " >"
                                    + Quote(Folder + "/log.txt") + " 2>&1";
        const int Raw = std::system(Command.c_str());
        ASSERT_TRUE(Raw != -1 && WIFEXITED(Raw)) << C.Locale;
        const std::string Log = ReadAll(Dir.path() + "/log.txt");
        EXPECT_EQ(WEXITSTATUS(Raw), C.Status) << C.Locale << "\n" << Log;
        if (C.BookDate) {
            const std::string Book = ReadAll(Dir.path() + "/output/11金銭出納簿.csv");
            EXPECT_NE(Book.find(C.BookDate), std::string::npos) << C.Locale << "\n" << Book;
        }
    }
}

} // namespace
} // namespace tavrel
