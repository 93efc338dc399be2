// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// What a run guards in its output folder: a book never lands on a source
// table nor writes through a planted link, two runs never write one folder
// at once, no book of an earlier run and no leftover temporary file stays
// beside the books; and whatever goes wrong inside a run ends it with a
// message, never the program.

#include "AggregationTestSupport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

namespace tavrel::aggtest {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Not;

Sources SmallClub(bool ATantosha)
{
    Sources S;
    S.Kamoku = {"000,前期繰越,,,1500,", "101,会費,,,1000,", "201,事務費,,,500,"};
    S.Tantosha = {"01,会計,"};
    S.UseTantosha = ATantosha;
    S.Kinsen = {"2025/04/01,2026/03/31,,,,開始,,000,1000,500", "2025/04/05,,,,,会費,01,101,100,"};
    return S;
}

bool IsLink(const std::string& APath)
{
    struct stat St {};
    return ::lstat(APath.c_str(), &St) == 0 && S_ISLNK(St.st_mode);
}

// A process id that runs no longer.
pid_t EndedProcess()
{
    const pid_t Child = ::fork();
    if (Child == 0)
        ::_exit(0);
    ::waitpid(Child, nullptr, 0);
    return Child;
}

// The output folder is the source folder and the cash-book table is named
// like a book, or a link in the output folder points at a source table:
// before anything is loaded the run stops, and writes nothing.
TEST(OutputFolder, BookNeverReplacesASourceTable)
{
    struct TCase {
        const char* What;
        std::string Kinsen;       // the cash-book table's name in src/
        std::string Output;       // relative to the temporary folder
        std::string LinkName;     // a link in the output folder to src/<Kinsen>, or none
        std::string Book;         // the book path named in the message
    };
    const TCase Cases[] = {
        {"source folder as output", "11金銭出納簿.csv", "src", "", "src/11金銭出納簿.csv"},
        {"source folder as output, last book", "18試算表.csv", "src/.", "", "src/18試算表.csv"},
        {"link to the cash-book table", kKinsenFile, "out", "18試算表.csv", "out/18試算表.csv"},
        {"link to it under the person book's name", kKinsenFile, "out", "14担当者出納簿.csv",
         "out/14担当者出納簿.csv"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        TempFolder Temp;
        const Sources S = SmallClub(false);
        WriteTable(Temp, "src/" + kKamokuFile, S.Kamoku);
        const std::string Kinsen = WriteTable(Temp, "src/" + C.Kinsen, S.Kinsen);
        const std::string Before = ReadBytes(Kinsen);
        if (!C.LinkName.empty()) {
            std::filesystem::create_directories(Temp.Path(C.Output));
            ASSERT_EQ(::symlink(Kinsen.c_str(), Temp.Path(C.Output + "/" + C.LinkName).c_str()), 0);
        }
        const std::vector<std::string> SourcesBefore = TempFolder::Entries(Temp.Path("src"));
        SumupRun R;
        EXPECT_FALSE(R.Execute(Temp.Path("src"), Temp.Path(C.Output), kKamokuFile, "", "", C.Kinsen));
        EXPECT_THAT(R.Log, ElementsAre("出力先 \"" + Temp.Path(C.Book) + "\" はソースデータのファイルです。", "",
                                       "集計は中止されました。"));
        EXPECT_EQ(ReadBytes(Kinsen), Before);
        EXPECT_EQ(TempFolder::Entries(Temp.Path("src")), SourcesBefore);
        if (!C.LinkName.empty()) {
            EXPECT_TRUE(IsLink(Temp.Path(C.Output + "/" + C.LinkName)));
            EXPECT_THAT(TempFolder::Entries(Temp.Path(C.Output)), ElementsAre(C.LinkName));
        }
        EXPECT_EQ(R.Sumup().Inputs().Count(), 0);
    }
}

// A link planted at a book's path to a file of the user elsewhere: the book
// replaces the link, and the file keeps its bytes.
TEST(OutputFolder, PlantedLinkIsReplacedByTheBook)
{
    TempFolder Temp;
    const std::string Victim = Temp.WriteBytes("home/.bashrc", "export PATH=/usr/bin\n");
    std::filesystem::create_directories(Temp.Path("out"));
    ASSERT_EQ(::symlink(Victim.c_str(), Temp.Path("out/12現金出納簿.csv").c_str()), 0);
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub(true))) << LogText(R.Log);
    EXPECT_EQ(ReadBytes(Victim), "export PATH=/usr/bin\n");
    EXPECT_FALSE(IsLink(R.Book(kCashBookName)));
    EXPECT_EQ(BookLines(R.Book(kCashBookName)).size(), 3u);
    EXPECT_THAT(TempFolder::Entries(Temp.Path("home")), ElementsAre(".bashrc"));
}

// A second run that finds the output folder held by another ends at once
// with a message, writing nothing; once the folder is free it runs.
TEST(OutputFolder, SecondRunOnAHeldFolderWritesNothing)
{
    TempFolder Temp;
    std::filesystem::create_directories(Temp.Path("out"));
    const int Held = ::open(Temp.Path("out").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(Held, 0);
    ASSERT_EQ(::flock(Held, LOCK_EX | LOCK_NB), 0);
    SumupRun R;
    EXPECT_FALSE(R.Execute(Temp, SmallClub(true)));
    EXPECT_THAT(R.Log, ElementsAre("出力フォルダ \"" + Temp.Path("out") + "\" は他の集計で使用中です。", "",
                                   "集計は中止されました。"));
    EXPECT_THAT(TempFolder::Entries(Temp.Path("out")), ElementsAre());
    EXPECT_EQ(R.Sumup().Inputs().Count(), 0);

    ::close(Held);
    ASSERT_TRUE(R.Execute(Temp, SmallClub(true))) << LogText(R.Log);
    // The run let the folder go when it ended.
    const int Again = ::open(Temp.Path("out").c_str(), O_RDONLY | O_DIRECTORY);
    EXPECT_EQ(::flock(Again, LOCK_EX | LOCK_NB), 0);
    ::close(Again);
}

// A run without a person master removes the per-person book an earlier run
// left, so that the folder never holds books of two runs; only that name,
// and only a regular file.
TEST(OutputFolder, RunWithoutPersonMasterRemovesAStalePersonBook)
{
    TempFolder Temp;
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub(true))) << LogText(R.Log);
    ASSERT_TRUE(std::filesystem::is_regular_file(R.Book(kTantoshaBookName)));
    Temp.WriteBytes("out/14担当者出納簿.csv.bak", "kept");
    ASSERT_TRUE(R.Execute(Temp, SmallClub(false))) << LogText(R.Log);
    std::vector<std::string> Expected = kAllBooks;
    Expected.erase(Expected.begin() + 3);
    Expected.push_back("14担当者出納簿.csv.bak");
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(TempFolder::Entries(Temp.Path("out")), Expected);
    EXPECT_THAT(R.Log, Not(Contains("14担当者出納簿.csv 作成中...")));

    // A link or a folder of that name is not a book of this program.
    const std::string Target = Temp.WriteBytes("elsewhere.csv", "x");
    ASSERT_EQ(::symlink(Target.c_str(), R.Book(kTantoshaBookName).c_str()), 0);
    ASSERT_TRUE(R.Execute(Temp, SmallClub(false))) << LogText(R.Log);
    EXPECT_TRUE(IsLink(R.Book(kTantoshaBookName)));
    EXPECT_EQ(ReadBytes(Target), "x");
    ::unlink(R.Book(kTantoshaBookName).c_str());
    std::filesystem::create_directories(R.Book(kTantoshaBookName));
    ASSERT_TRUE(R.Execute(Temp, SmallClub(false))) << LogText(R.Log);
    EXPECT_TRUE(std::filesystem::is_directory(R.Book(kTantoshaBookName)));
}

// A run that was killed while writing left its temporary file; the next run
// removes it, and leaves the temporary file of a writer that still runs.
TEST(OutputFolder, TemporaryFilesOfKilledRunsAreRemoved)
{
    TempFolder Temp;
    const std::string Dead = ".11金銭出納簿.csv." + std::to_string(EndedProcess()) + "-0.tmp";
    const std::string Live = ".12現金出納簿.csv." + std::to_string(::getpid()) + "-0.tmp";
    Temp.WriteBytes("out/" + Dead, "half a book");
    Temp.WriteBytes("out/" + Live, "being written");
    SumupRun R;
    ASSERT_TRUE(R.Execute(Temp, SmallClub(true))) << LogText(R.Log);
    std::vector<std::string> Expected = kAllBooks;
    Expected.push_back(Live);
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(TempFolder::Entries(Temp.Path("out")), Expected);
}

// An error of any kind inside the run (here raised by the log itself, at a
// chosen line) becomes a message and the run's verdict.
TEST(OutputFolder, EveryErrorInsideTheRunEndsItWithAMessage)
{
    struct TCase {
        const char* What;
        std::string Line; // the log line at which the error is raised
        std::function<void()> Raise;
        std::string Message;
    };
    const TCase Cases[] = {
        {"out of memory while loading", "金銭出納テーブル読込中...", [] { throw std::bad_alloc(); },
         "メモリが不足しています。"},
        {"out of memory at a row", "2行: 担当者が無効です。", [] { throw std::bad_alloc(); },
         "2行: メモリが不足しています。"},
        {"a standard error while writing", "13預金通帳.csv 作成中...", [] { throw std::out_of_range("vector"); },
         "予期しないエラーが発生しました。vector"},
        {"not a standard error", "12現金出納簿.csv 作成中...", [] { throw 42; }, "予期しないエラーが発生しました。"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        TempFolder Temp;
        Sources S = SmallClub(true);
        S.Kinsen[1] = "2025/04/05,,,,,会費,99,101,100,";
        if (C.Line.find("作成中") != std::string::npos)
            S.Kinsen[1] = "2025/04/05,,,,,会費,01,101,100,";
        std::vector<std::string> Log;
        bool Raised = false;
        TTvrSumup Sumup([&](const std::string& AMessage) {
            Log.push_back(AMessage);
            if (AMessage == C.Line && !Raised) {
                Raised = true;
                C.Raise();
            }
        });
        WriteTable(Temp, "src/" + kKamokuFile, S.Kamoku);
        WriteTable(Temp, "src/" + kTantoshaFile, S.Tantosha);
        WriteTable(Temp, "src/" + kKinsenFile, S.Kinsen);
        TTvrExecuteParams Params;
        Params.PathInput = Temp.Path("src");
        Params.PathOutput = Temp.Path("out");
        Params.KamokuMaster = kKamokuFile;
        Params.TantoshaMaster = kTantoshaFile;
        Params.KinsenTable = kKinsenFile;
        Params.Today = Today();
        EXPECT_FALSE(Sumup.Execute(Params));
        ASSERT_TRUE(Raised);
        ASSERT_GE(Log.size(), 4u);
        EXPECT_EQ(Log[Log.size() - 4], C.Line);
        EXPECT_THAT(std::vector<std::string>(Log.end() - 3, Log.end()),
                    ElementsAre(C.Message, "", "集計は中止されました。"))
            << LogText(Log);
    }
}

} // namespace
} // namespace tavrel::aggtest
