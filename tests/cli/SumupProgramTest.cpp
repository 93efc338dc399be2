// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The tavrel-sumup program run as a separate process: its exit status, what
// it prints on standard output and standard error, which files it reads and
// where it writes the books.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "cli/CliOptions.h"
#include "shell/NbFileInfo.h"

namespace tavrel {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using test::FromCp932;
using test::ReadBytes;
using test::ToCp932;

std::vector<std::string> SplitLf(const std::string& AText)
{
    std::vector<std::string> Lines;
    size_t Start = 0;
    while (Start < AText.size()) {
        size_t End = AText.find('\n', Start);
        if (End == std::string::npos) {
            Lines.push_back(AText.substr(Start) + "<no LF>");
            break;
        }
        Lines.push_back(AText.substr(Start, End - Start));
        Start = End + 1;
    }
    return Lines;
}

// The lines of a book, decoded from code page 932 (CR LF line ends).
std::vector<std::string> BookLines(const std::string& AFileName)
{
    std::vector<std::string> Lines;
    for (std::string Line : SplitLf(FromCp932(ReadBytes(AFileName)))) {
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        else
            Line += "<no CR>";
        Lines.push_back(Line);
    }
    return Lines;
}

// The folder the program reads from and writes to, and where its standard
// output and error are caught.
class Folder : public test::TempFolder {
public:
    // The lines as UTF-8 with a byte-order mark, CR LF line ends.
    void Write(const std::string& AName, const std::vector<std::string>& ALines) const
    {
        std::string Text;
        for (const std::string& Line : ALines)
            Text += Line + "\r\n";
        WriteUtf8(AName, Text);
    }
};

struct Result {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& AText)
{
    std::string Quoted = "'";
    for (const char C : AText) {
        if (C == '\'')
            Quoted += "'\\''";
        else
            Quoted += C;
    }
    return Quoted + "'";
}

// How the program is started besides its arguments.
struct Start {
    // Standard output is a pipe whose reading end is already closed: every
    // write to it fails (SIGPIPE, unless ignored).
    bool ClosedStdout = false;
    // As the user nobody, so that a folder without read permission is
    // unreadable even when the tests run as root.
    bool AsNobody = false;
    // Without a display server, as on a server or in a cron job.
    bool NoDisplay = false;
};

// Runs the program with these arguments; standard output and error are
// caught in files of AFolder.
Result Sumup(const Folder& AFolder, const std::vector<std::string>& AArgs, Start AStart = {})
{
    // The program follows the regional settings of the locale it runs
    // under; these tests expect the Japanese conventions of the C locale.
    std::string Command = "LC_ALL=C.UTF-8 ";
    if (AStart.NoDisplay)
        Command += "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    if (AStart.AsNobody && ::geteuid() == 0)
        Command += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    Command += Quote(TAVREL_SUMUP);
    for (const std::string& Arg : AArgs) {
        Command += ' ';
        Command += Quote(Arg);
    }
    const std::string OutFile = AFolder.Path("stdout.txt");
    const std::string ErrFile = AFolder.Path("stderr.txt");
    Command += " 2>";
    Command += Quote(ErrFile);
    Command += " </dev/null";
    Result R;
    if (AStart.ClosedStdout) {
        // The shell runs with a pipe as standard output whose only reading
        // end this process closes before the program writes.
        int Pipe[2];
        if (::pipe(Pipe) != 0)
            return R;
        const pid_t Child = ::fork();
        if (Child == 0) {
            ::close(Pipe[0]);
            ::dup2(Pipe[1], STDOUT_FILENO);
            ::close(Pipe[1]);
            ::execl("/bin/sh", "sh", "-c", Command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(Pipe[0]);
        ::close(Pipe[1]);
        int Raw = 0;
        ::waitpid(Child, &Raw, 0);
        R.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : 128 + (WIFSIGNALED(Raw) ? WTERMSIG(Raw) : 0);
    } else {
        Command += " >";
        Command += Quote(OutFile);
        const int Raw = std::system(Command.c_str());
        R.Status = (Raw != -1 && WIFEXITED(Raw)) ? WEXITSTATUS(Raw) : -1;
        R.Out = ReadBytes(OutFile);
    }
    R.Err = ReadBytes(ErrFile);
    return R;
}

const std::vector<std::string> kKamoku = {
    "000,前期繰越,,,1500,", "101,会費,,,1000,", "201,事務費,,,500,",
};
const std::vector<std::string> kTantosha = {"01,会計,", "02,庶務,"};
const std::vector<std::string> kZandaka = {"2025/04/30,1100,500"};
const std::vector<std::string> kKinsen = {
    "2025/04/01,2026/03/31,,,,開始,,000,1000,500",
    "2025/04/05,,,,,会費,01,101,100,",
    "2025/05/06,,,,,用紙,02,201,-30,",
};

// A source folder with the four tables under names holding their keywords.
void WriteClub(const Folder& AFolder, const std::string& ASub = "data")
{
    AFolder.Write(ASub + "/収支科目マスタ.csv", kKamoku);
    AFolder.Write(ASub + "/担当者マスタ.csv", kTantosha);
    AFolder.Write(ASub + "/残高テーブル.csv", kZandaka);
    AFolder.Write(ASub + "/金銭出納テーブル.csv", kKinsen);
}

const std::vector<std::string> kBooks = {
    "11金銭出納簿.csv", "12現金出納簿.csv", "13預金通帳.csv", "14担当者出納簿.csv",
    "15収支科目明細書.csv", "16大科目明細書.csv", "17中科目明細書.csv", "18試算表.csv",
};

std::vector<std::string> CompleteLog(bool ATantosha, bool AZandaka)
{
    std::vector<std::string> Log = {"収支科目マスタ読込中..."};
    if (ATantosha)
        Log.push_back("担当者マスタ読込中...");
    if (AZandaka)
        Log.push_back("残高テーブル読込中...");
    Log.push_back("金銭出納テーブル読込中...");
    Log.push_back("");
    for (const std::string& Book : kBooks)
        if (ATantosha || Book != "14担当者出納簿.csv")
            Log.push_back(Book + " 作成中...");
    Log.push_back("");
    Log.push_back("集計が完了しました。");
    return Log;
}

TEST(SumupProgram, HelpPrintsTheUsageAndSucceeds)
{
    Folder F;
    const Result R = Sumup(F, {"--help"});
    EXPECT_EQ(R.Status, 0);
    EXPECT_EQ(R.Out, CliUsage());
    EXPECT_THAT(R.Out, StartsWith("使い方: tavrel-sumup [--kamoku FILE] [--tantosha FILE] [--zandaka FILE] [--kinsen FILE]"));
    EXPECT_EQ(R.Err, "");
}

// The version comes from the block the build embeds in the program file, the
// one the desktop program's version dialog reads; --help lists the option.
TEST(SumupProgram, VersionPrintsTheVersionOfTheBlock)
{
    Folder F;
    TNbFileInfo Info;
    ReadFileInfo(QString::fromUtf8(TAVREL_SUMUP), Info);
    ASSERT_FALSE(Info.ProductVersion.isEmpty()) << "the program carries no version block";
    EXPECT_EQ(Info.ProductVersion.toStdString(), TAVREL_PROJECT_VERSION ".0");
    const Result R = Sumup(F, {"--version"});
    EXPECT_EQ(R.Status, 0);
    EXPECT_EQ(R.Out, "tavrel-sumup (ミロナ会計係／Tavrel) " + Info.ProductVersion.toStdString() + "\n");
    EXPECT_EQ(R.Err, "");
    EXPECT_THAT(Sumup(F, {"--help"}).Out, HasSubstr("--version"));
}

struct UsageCase {
    const char* Name;
    std::vector<std::string> Args;  // "@" stands for the temporary folder
    const char* Message;
};

class SumupUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(SumupUsageError, ExitsWithTwoAndExplainsOnStandardError)
{
    Folder F;
    F.Write("empty/メモ.csv", {"a"});
    F.Write("half/収支科目マスタ.csv", kKamoku);
    F.Write("half2/金銭出納テーブル.csv", kKinsen);
    F.Write("full/収支科目マスタ.csv", kKamoku);
    F.Write("full/金銭出納テーブル.csv", kKinsen);
    std::vector<std::string> Args;
    for (const std::string& Arg : GetParam().Args)
        Args.push_back(Arg.size() >= 1 && Arg[0] == '@' ? F.Path() + Arg.substr(1) : Arg);
    const Result R = Sumup(F, Args);
    EXPECT_EQ(R.Status, 2);
    EXPECT_EQ(R.Out, "");
    EXPECT_THAT(R.Err, StartsWith("tavrel-sumup: "));
    EXPECT_THAT(R.Err, HasSubstr(GetParam().Message));
    EXPECT_THAT(R.Err, HasSubstr("使い方: tavrel-sumup"));
    EXPECT_FALSE(std::filesystem::exists(F.Path("half/output")));
    EXPECT_FALSE(std::filesystem::exists(F.Path("full/output")));
}

INSTANTIATE_TEST_SUITE_P(SumupProgram, SumupUsageError, ::testing::Values(
    UsageCase{"NoSourceFolder", {}, "SOURCE_DIR"},
    UsageCase{"UnknownOption", {"--quiet", "@/half"}, "--quiet"},
    UsageCase{"MissingValue", {"@/half", "--kinsen"}, "--kinsen"},
    UsageCase{"BadToday", {"--today", "10.12.2026", "@/half"}, "--today"},
    UsageCase{"TwoSourceFolders", {"@/half", "@/half2"}, "SOURCE_DIR"},
    UsageCase{"SourceFolderMissing", {"@/nowhere"}, "nowhere"},
    UsageCase{"NoTablesInTheFolder", {"@/empty"}, "収支科目マスタ"},
    UsageCase{"NoCashBookTable", {"@/half"}, "金銭出納テーブル"},
    UsageCase{"NoAccountTitleMaster", {"@/half2"}, "収支科目マスタ"},
    UsageCase{"FourthAuditor", {"--auditor", "a", "--auditor", "b", "--auditor", "c", "--auditor", "d", "@/full"},
              "--auditor"},
    UsageCase{"BadReportDate", {"--reports", "--report-date", "20260420", "@/full"}, "--report-date"},
    UsageCase{"ReportsWithAValue", {"--reports=1", "@/full"}, "--reports"},
    UsageCase{"NextYearFolderHoldsSourceData", {"--reports", "--next-year", "@/half", "@/full"},
              "/half\" には既にソースデータがあります。"},
    UsageCase{"NextYearIntoTheSourceFolder", {"--next-year", "@/full", "@/full"}, "には既にソースデータがあります。"}),
    [](const ::testing::TestParamInfo<UsageCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(SumupProgram, CompleteRunPrintsTheLogAndWritesTheBooksIntoTheOutputSubfolder)
{
    Folder F;
    WriteClub(F);
    const Result R = Sumup(F, {"--today", "2026-12-10", F.Path("data")});
    EXPECT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(CompleteLog(true, true)));
    EXPECT_THAT(SplitLf(R.Err), ElementsAre("収支科目マスタ: 収支科目マスタ.csv", "担当者マスタ: 担当者マスタ.csv",
                                            "残高テーブル: 残高テーブル.csv", "金銭出納テーブル: 金銭出納テーブル.csv"));
    for (const std::string& Book : kBooks)
        EXPECT_TRUE(std::filesystem::is_regular_file(F.Path("data/output/" + Book))) << Book;
    EXPECT_THAT(BookLines(F.Path("data/output/11金銭出納簿.csv")),
                ElementsAre("2025/04/01,2026/03/31,,,,開始,,000.前期繰越,,,1000,500,1500",
                            ",,,,,,,,,,,,",
                            "2025/04/05,,,,,会費,01.会計,101.会費,,,100,,1600",
                            ",,,,,,,,,,,,",
                            "2025/05/06,,,,,用紙,02.庶務,201.事務費,,,-30,,1570",
                            ",,,,,,,,,,,,",
                            "2026/12/10,,,,,合計,,,,,1070,500,1570"));
}

// What the command line must do with odd folders, odd files and odd
// terminals: each case sets up a folder ("@" stands for it in the arguments
// and the expected texts), runs the program and checks its status, its
// output and its books.
struct CommandCase {
    const char* Name;
    void (*Setup)(const Folder& AFolder);
    std::vector<std::string> Args;
    Start How;
    int Status;
    // Texts that standard error and standard output must hold.
    std::vector<std::string> Err;
    std::vector<std::string> Out;
    // Texts that standard output must not hold.
    std::vector<std::string> NotOut;
    // The folder that holds all eight books afterwards; none when empty.
    std::string Books;
};

void PrintTo(const CommandCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

std::string WithFolder(const std::string& AText, const Folder& AFolder)
{
    std::string Text = AText;
    for (size_t Pos = Text.find('@'); Pos != std::string::npos; Pos = Text.find('@', Pos + AFolder.Path().size()))
        Text.replace(Pos, 1, AFolder.Path());
    return Text;
}

// The chosen files as printed, one line per table.
std::string Chosen(const std::string& AKamoku, const std::string& ATantosha, const std::string& AZandaka,
                   const std::string& AKinsen)
{
    return "収支科目マスタ: " + AKamoku + "\n担当者マスタ: " + ATantosha + "\n残高テーブル: " + AZandaka
           + "\n金銭出納テーブル: " + AKinsen + "\n";
}

// A table written under a name given as bytes.
void WriteNamed(const Folder& AFolder, const std::string& AName, const std::vector<std::string>& ALines)
{
    AFolder.Write(AName, ALines);
}

const std::string kSjisFolder = ToCp932("会計２０２５");

class SumupCommandLine : public ::testing::TestWithParam<CommandCase> {};

TEST_P(SumupCommandLine, Behaves)
{
    const CommandCase& Case = GetParam();
    Folder F;
    Case.Setup(F);
    std::vector<std::string> Args;
    for (const std::string& Arg : Case.Args)
        Args.push_back(WithFolder(Arg, F));
    const Result R = Sumup(F, Args, Case.How);
    EXPECT_EQ(R.Status, Case.Status) << "out:\n" << R.Out << "err:\n" << R.Err;
    for (const std::string& Text : Case.Err)
        EXPECT_THAT(R.Err, HasSubstr(WithFolder(Text, F)));
    for (const std::string& Text : Case.Out)
        EXPECT_THAT(R.Out, HasSubstr(WithFolder(Text, F)));
    for (const std::string& Text : Case.NotOut)
        EXPECT_THAT(R.Out, Not(HasSubstr(WithFolder(Text, F))));
    if (!Case.Books.empty()) {
        for (const std::string& Book : kBooks)
            EXPECT_TRUE(std::filesystem::is_regular_file(WithFolder(Case.Books, F) + "/" + Book)) << Book;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SumupProgram, SumupCommandLine, ::testing::Values(
    // A book or a year-end document holds a table's keyword in its name and
    // sorts before the tables: it is never taken for one.
    CommandCase{"BooksAndDocumentsAreNeverChosen",
        [](const Folder& F) {
            WriteClub(F);
            for (const char* Name : {"data/11金銭出納簿.csv", "data/14担当者出納簿.csv", "data/15収支科目明細書.CSV",
                                     "data/22残高照合表.csv"})
                F.Write(Name, {"not a table"});
        },
        {"@/data"}, {}, 0,
        {Chosen("収支科目マスタ.csv", "担当者マスタ.csv", "残高テーブル.csv", "金銭出納テーブル.csv")},
        {"集計が完了しました。"}, {}, "@/data/output"},
    // A backup copy sorts before the table: the choice is shown before the
    // run, and an unused table says so.
    CommandCase{"ChosenFilesArePrintedBeforeTheRun",
        [](const Folder& F) {
            F.Write("data/収支科目マスタ (コピー).csv", kKamoku);
            F.Write("data/収支科目マスタ.csv", kKamoku);
            F.Write("data/金銭出納テーブル.csv", kKinsen);
        },
        {"--zandaka=", "@/data"}, {}, 0,
        {Chosen("収支科目マスタ (コピー).csv", "(使用しない)", "(使用しない)", "金銭出納テーブル.csv")},
        {"集計が完了しました。"}, {}, ""},
    CommandCase{"AbsoluteFileIsUsedAsGiven",
        [](const Folder& F) {
            WriteClub(F);
            F.Write("elsewhere/出納2025.csv", kKinsen);
            F.Write("data/金銭出納テーブル.csv", {"2025/04/01,2026/03/31,,,,開始,,000,1,1"});
        },
        {"--kinsen", "@/elsewhere/出納2025.csv", "@/data"}, {}, 0,
        {"金銭出納テーブル: @/elsewhere/出納2025.csv\n"}, {"集計が完了しました。"}, {}, "@/data/output"},
    // A FIFO or a device is refused at once instead of holding the run.
    CommandCase{"FifoIsRefused",
        [](const Folder& F) {
            WriteClub(F);
            ::mkfifo(F.Path("data/pipe.csv").c_str(), 0600);
        },
        {"--kinsen", "pipe.csv", "@/data"}, {}, 1, {},
        {"ファイル \"@/data/pipe.csv\" を開けません。通常のファイルではありません。", "集計は中止されました。"}, {}, ""},
    CommandCase{"DeviceIsRefused", [](const Folder& F) { WriteClub(F); },
        {"--kamoku", "/dev/zero", "@/data"}, {}, 1, {"収支科目マスタ: /dev/zero\n"},
        {"ファイル \"/dev/zero\" を開けません。通常のファイルではありません。", "集計は中止されました。"}, {}, ""},
    // A book that would land on a source table stops the run.
    CommandCase{"OutputOverASourceTable",
        [](const Folder& F) {
            WriteClub(F);
            F.Write("data/11金銭出納簿.csv", kKinsen);
        },
        {"--kinsen", "11金銭出納簿.csv", "--output", "@/data", "@/data"}, {}, 1, {},
        {"出力先 \"@/data/11金銭出納簿.csv\" はソースデータのファイルです。\n\n集計は中止されました。\n"}, {}, ""},
    // Usage errors name the option, in Japanese like the log.
    CommandCase{"EmptyOutputIsAUsageError", [](const Folder& F) { WriteClub(F); },
        {"--output=", "@/data"}, {}, 2, {"tavrel-sumup: --output: 出力フォルダが空です。", "使い方: tavrel-sumup"},
        {}, {}, ""},
    CommandCase{"ShortUnknownOptionIsAUsageError", [](const Folder& F) { WriteClub(F); },
        {"-x", "@/data"}, {}, 2, {"tavrel-sumup: 不明なオプションです: -x\n"}, {}, {}, ""},
    CommandCase{"UnknownOptionInJapanese", [](const Folder& F) { WriteClub(F); },
        {"@/data", "--quiet"}, {}, 2, {"tavrel-sumup: 不明なオプションです: --quiet\n"}, {}, {}, ""},
    CommandCase{"FolderNamedLikeAnOptionAfterDoubleDash",
        [](const Folder& F) { WriteClub(F, "-data"); },
        {"--", "@/-data"}, {}, 0, {}, {"集計が完了しました。"}, {}, "@/-data/output"},
    // A closed standard output ends neither the run nor its books.
    CommandCase{"ClosedStandardOutput", [](const Folder& F) { WriteClub(F); },
        {"@/data"}, {true, false}, 0, {"金銭出納テーブル: 金銭出納テーブル.csv\n"}, {}, {}, "@/data/output"},
    // A code in the person master that holds escape sequences (C0 and C1)
    // is quoted by the duplicate message: the terminal gets U+FFFD.
    CommandCase{"ControlCharactersOfALogLine",
        [](const Folder& F) {
            WriteClub(F);
            F.Write("data/担当者マスタ.csv", {"\"a\x1B]0;x\x07y\",会計", "\"a\x1B]0;x\x07y\",庶務", "\"b\xC2\x9B" "2J\",x",
                                          "\"b\xC2\x9B" "2J\",y"});
        },
        {"@/data"}, {}, 1, {},
        {"2行: 担当者コード 'a\xEF\xBF\xBD]0;x\xEF\xBF\xBDy' が重複しています。",
         "4行: 担当者コード 'b\xEF\xBF\xBD" "2J' が重複しています。"},
        {"\x1B", "\x07", "\xC2\x9B"}, ""},
    // A folder from a Windows stick: the tables' names are code page 932
    // bytes; they are chosen by their text and read by their bytes.
    CommandCase{"CodePage932FileNames",
        [](const Folder& F) {
            WriteNamed(F, "data/" + ToCp932("収支科目マスタ.csv"), kKamoku);
            WriteNamed(F, "data/" + ToCp932("担当者マスタ.csv"), kTantosha);
            WriteNamed(F, "data/" + ToCp932("残高テーブル.csv"), kZandaka);
            WriteNamed(F, "data/" + ToCp932("金銭出納テーブル.csv"), kKinsen);
        },
        {"@/data"}, {}, 0,
        {Chosen("収支科目マスタ.csv", "担当者マスタ.csv", "残高テーブル.csv", "金銭出納テーブル.csv")},
        {"集計が完了しました。"}, {}, "@/data/output"},
    CommandCase{"SourceFolderNotUtf8",
        [](const Folder& F) { WriteClub(F, kSjisFolder); },
        {"@/" + kSjisFolder}, {}, 0, {}, {"集計が完了しました。"}, {}, "@/" + kSjisFolder + "/output"},
    // A folder that cannot be read says why; a file given as the folder
    // says it is not one.
    CommandCase{"UnreadableSourceFolder",
        [](const Folder& F) {
            WriteClub(F);
            ::chmod(F.Path().c_str(), 0755);
            ::chmod(F.Path("data").c_str(), 0311);
        },
        {"@/data"}, {false, true}, 2,
        {"tavrel-sumup: SOURCE_DIR \"@/data\" を開けません。" + std::generic_category().message(EACCES) + "\n"},
        {}, {}, ""},
    CommandCase{"FileGivenAsTheSourceFolder",
        [](const Folder& F) { WriteClub(F); },
        {"@/data/収支科目マスタ.csv"}, {}, 2,
        {"tavrel-sumup: SOURCE_DIR \"@/data/収支科目マスタ.csv\" はフォルダではありません。\n"}, {}, {}, ""}),
    [](const ::testing::TestParamInfo<CommandCase>& AInfo) { return std::string(AInfo.param.Name); });
// clang-format on

TEST(SumupProgram, TodaySetsTheDateOfTheClosingRow)
{
    Folder F;
    WriteClub(F);
    const Result R = Sumup(F, {F.Path("data"), "--today=2027-01-31"});
    ASSERT_EQ(R.Status, 0) << R.Out << R.Err;
    const std::vector<std::string> Lines = BookLines(F.Path("data/output/11金銭出納簿.csv"));
    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines.back(), "2027/01/31,,,,,合計,,,,,1070,500,1570");
}

TEST(SumupProgram, StoppedRunExitsWithOne)
{
    Folder F;
    WriteClub(F);
    std::vector<std::string> Bad = kKinsen;
    Bad.push_back("2025/03/31,,,,,前年,,101,5,");
    F.Write("data/金銭出納テーブル.csv", Bad);
    const Result R = Sumup(F, {"--today", "2026-12-10", F.Path("data")});
    EXPECT_EQ(R.Status, 1);
    EXPECT_THAT(SplitLf(R.Out), ElementsAre("収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...",
                                            "金銭出納テーブル読込中...", "4行: 日付が会計期間内にありません。", "",
                                            "集計は中止されました。"));
    EXPECT_THAT(SplitLf(R.Err), ElementsAre("収支科目マスタ: 収支科目マスタ.csv", "担当者マスタ: 担当者マスタ.csv",
                                            "残高テーブル: 残高テーブル.csv", "金銭出納テーブル: 金銭出納テーブル.csv"));
    EXPECT_FALSE(std::filesystem::exists(F.Path("data/output/11金銭出納簿.csv")));
}

TEST(SumupProgram, UnwritableOutputExitsWithOneAndPrintsThePlatformMessage)
{
    Folder F;
    WriteClub(F);
    F.Write("blocked", {"a file"});
    const Result R = Sumup(F, {"--output", F.Path("blocked"), F.Path("data")});
    EXPECT_EQ(R.Status, 1);
    const std::vector<std::string> Lines = SplitLf(R.Out);
    ASSERT_EQ(Lines.size(), 9u) << R.Out;
    EXPECT_EQ(Lines[5], "11金銭出納簿.csv 作成中...");
    EXPECT_THAT(Lines[6], HasSubstr(std::generic_category().message(ENOTDIR)));
    EXPECT_EQ(Lines[7], "");
    EXPECT_EQ(Lines[8], "集計は中止されました。");
}

TEST(SumupProgram, ChoosesCsvFilesInAnyLetterCaseInNameOrder)
{
    Folder F;
    // Sorted before the good master: a folder and a file of another type.
    std::filesystem::create_directories(F.Path("data/収支科目.csv"));
    F.Write("data/収支科目.tsv", {"garbage"});
    F.Write("data/収支科目マスタ.CSV", kKamoku);
    // Sorted after it: a master that would stop the run.
    F.Write("data/収支科目マスタ_旧.csv", {"101,会費,,,,"});
    F.Write("data/金銭出納テーブル.Csv", kKinsen);
    F.Write("data/金銭出納テーブル_下書き.csv", {"x"});
    const Result R = Sumup(F, {"--today", "2026-12-10", F.Path("data")});
    EXPECT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(CompleteLog(false, false)));
}

TEST(SumupProgram, EmptyTableNamesLeaveThoseTablesOut)
{
    Folder F;
    WriteClub(F);
    // Both optional tables are broken: using either would stop the run.
    F.Write("data/担当者マスタ.csv", {"01,会計,", "01,庶務,"});
    F.Write("data/残高テーブル.csv", {"昨日,1,2"});
    EXPECT_EQ(Sumup(F, {F.Path("data")}).Status, 1);

    const Result R = Sumup(F, {"--tantosha", "", "--zandaka=", F.Path("data")});
    EXPECT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(CompleteLog(false, false)));
    EXPECT_FALSE(std::filesystem::exists(F.Path("data/output/14担当者出納簿.csv")));
    EXPECT_TRUE(std::filesystem::exists(F.Path("data/output/13預金通帳.csv")));
}

TEST(SumupProgram, TablesWithoutTheirFileAreNotUsed)
{
    Folder F;
    F.Write("data/収支科目マスタ.csv", kKamoku);
    F.Write("data/金銭出納テーブル.csv", kKinsen);
    const Result R = Sumup(F, {F.Path("data")});
    EXPECT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(CompleteLog(false, false)));
    EXPECT_FALSE(std::filesystem::exists(F.Path("data/output/14担当者出納簿.csv")));
}

TEST(SumupProgram, NamedFilesAndOutputFolder)
{
    Folder F;
    F.Write("data/科目.csv", kKamoku);
    F.Write("data/人.csv", kTantosha);
    F.Write("data/出納.csv", kKinsen);
    // Files with the keywords that must not be taken instead.
    F.Write("data/収支科目マスタ.csv", {"x"});
    F.Write("data/金銭出納テーブル.csv", {"x"});
    const Result R = Sumup(F, {"--kamoku", "科目.csv", "--tantosha", "人.csv", "--kinsen", "出納.csv", "--output",
                               F.Path("books/2025"), F.Path("data")});
    EXPECT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(CompleteLog(true, false)));
    for (const std::string& Book : kBooks)
        EXPECT_TRUE(std::filesystem::is_regular_file(F.Path("books/2025/" + Book))) << Book;
    EXPECT_FALSE(std::filesystem::exists(F.Path("data/output")));
}

std::string CopyExamples(const Folder& AFolder, const std::string& AName)
{
    return test::CopyCsvFiles(TAVREL_EXAMPLES, AFolder.Path(AName));
}

const std::vector<std::string> kExampleLog = {
    "収支科目マスタ読込中...", "担当者マスタ読込中...", "残高テーブル読込中...", "金銭出納テーブル読込中...", "",
    "11金銭出納簿.csv 作成中...", "12現金出納簿.csv 作成中...", "13預金通帳.csv 作成中...",
    "14担当者出納簿.csv 作成中...", "15収支科目明細書.csv 作成中...", "16大科目明細書.csv 作成中...",
    "17中科目明細書.csv 作成中...", "18試算表.csv 作成中...", "21収支決算書.csv 作成中...",
    "22残高照合表.csv 作成中...",
};

std::vector<std::string> Concat(std::vector<std::string> AFirst, const std::vector<std::string>& ASecond)
{
    AFirst.insert(AFirst.end(), ASecond.begin(), ASecond.end());
    return AFirst;
}

TEST(SumupProgram, ReportsOnTheExampleYear)
{
    Folder F;
    const std::string Year = CopyExamples(F, "2025");
    const Result R = Sumup(F, {"--reports", "--org", "さくら台三丁目町内会", "--treasurer", "佐藤　恵子", "--auditor",
                               "高橋　正樹", "--today", "2026-04-20", Year});
    ASSERT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out),
                ElementsAreArray(Concat(kExampleLog, {"", "残高照合: 6件中6件が一致しました。", "", "集計が完了しました。"})));
    const std::vector<std::string> Statement = BookLines(Year + "/output/21収支決算書.csv");
    ASSERT_EQ(Statement.size(), 33u);
    EXPECT_EQ(Statement[0], "\"さくら台三丁目町内会 2025年度 収支決算書\",,,,");
    EXPECT_EQ(Statement[11], "収入合計,2139775,2130152,-9623,");
    EXPECT_EQ(Statement[22], "支出合計,1085000,1009672,75328,");
    EXPECT_EQ(Statement[24], "次年度繰越金,1054775,1120480,65705,");
    EXPECT_EQ(Statement[25], "　うち現金,,21670,,");
    EXPECT_EQ(Statement[26], "　うち預金,,1098810,,");
    // The report date is --today's unless given.
    EXPECT_EQ(Statement[29], "2026/04/20,会計,佐藤　恵子,,");
    EXPECT_EQ(Statement[32], ",監事,高橋　正樹,,印");
    EXPECT_EQ(BookLines(Year + "/output/22残高照合表.csv").size(), 7u);

    const Result Dated = Sumup(F, {"--reports", "--today", "2026-04-20", "--report-date=2026-05-10", Year});
    ASSERT_EQ(Dated.Status, 0) << Dated.Out << Dated.Err;
    EXPECT_EQ(BookLines(Year + "/output/21収支決算書.csv")[29], "2026/05/10,会計,,,");
}

// The PDF files are drawn without a display (DISPLAY and WAYLAND_DISPLAY
// unset), after the documents and before next year's tables, and hold what
// they print as text.
TEST(SumupProgram, PdfFilesWithoutADisplay)
{
    Folder F;
    const std::string Year = CopyExamples(F, "2025");
    const Result R = Sumup(F, {"--pdf", "--pdf-books", "--org", "さくら台三丁目町内会", "--auditor", "高橋　正樹",
                               "--auditor", "中村　弘", "--today", "2026-04-20", Year},
                           {.NoDisplay = true});
    ASSERT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out), ElementsAreArray(Concat(kExampleLog, {"総会資料.pdf 作成中...", "帳簿.pdf 作成中...", "",
                                                                      "残高照合: 6件中6件が一致しました。", "",
                                                                      "集計が完了しました。"})));
    for (const char* Name : {"総会資料.pdf", "帳簿.pdf"})
        EXPECT_EQ(ReadBytes(Year + "/output/" + Name).substr(0, 5), "%PDF-") << Name;
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::string Text = F.Path("yearend.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + Quote(Year + "/output/総会資料.pdf") + " " + Quote(Text)).c_str()), 0);
    const std::string YearEnd = ReadBytes(Text);
    for (const char* Printed : {"さくら台三丁目町内会 2025年度 収支決算書", "1,120,480", "高橋", "中村"})
        EXPECT_THAT(YearEnd, HasSubstr(Printed));
    ASSERT_EQ(std::system(("pdftotext -f 1 -l 1 " + Quote(Year + "/output/帳簿.pdf") + " " + Quote(Text)).c_str()), 0);
    EXPECT_THAT(ReadBytes(Text), HasSubstr("摘要明細"));
}

// Every entry of a folder with its modification time, and a file's bytes.
std::vector<std::string> Snapshot(const std::string& AFolder)
{
    std::vector<std::string> Result;
    for (const auto& Entry : std::filesystem::recursive_directory_iterator(AFolder)) {
        const auto Time = std::filesystem::last_write_time(Entry.path()).time_since_epoch().count();
        std::string Line = Entry.path().string();
        Line += ' ';
        Line += std::to_string(Time);
        if (Entry.is_regular_file()) {
            Line += ' ';
            Line += ReadBytes(Entry.path().string());
        }
        Result.push_back(Line);
    }
    std::sort(Result.begin(), Result.end());
    return Result;
}

TEST(SumupProgram, NextYearRunsOnWhatThisYearWroteAndIsNeverOverwritten)
{
    Folder F;
    const std::string Year = CopyExamples(F, "2025");
    const std::string Next = F.Path("2026");
    const Result R = Sumup(F, {"--reports", "--next-year", Next, "--today", "2026-04-20", Year});
    ASSERT_EQ(R.Status, 0) << R.Out << R.Err;
    EXPECT_THAT(SplitLf(R.Out),
                ElementsAreArray(Concat(kExampleLog, {"次年度 収支科目マスタ.csv 作成中...", "次年度 担当者マスタ.csv 作成中...",
                                                      "次年度 残高テーブル.csv 作成中...", "次年度 金銭出納テーブル.csv 作成中...",
                                                      "", "残高照合: 6件中6件が一致しました。", "", "集計が完了しました。"})));
    EXPECT_THAT(BookLines(Next + "/金銭出納テーブル.csv"),
                ElementsAre("2026/04/01,2027/03/31,,,,前期繰越,01,000,21670,1098810"));

    // Next year's run completes on the four tables; its trial balance opens
    // with this year's carry-forward, and the count at the hand-over agrees.
    const Result Following = Sumup(F, {"--reports", "--today", "2027-04-20", Next});
    ASSERT_EQ(Following.Status, 0) << Following.Out << Following.Err;
    const std::vector<std::string> Log = SplitLf(Following.Out);
    EXPECT_THAT(std::vector<std::string>(Log.end() - 4, Log.end()),
                ElementsAre("", "残高照合: 1件中1件が一致しました。", "", "集計が完了しました。"));
    const std::vector<std::string> Trial = BookLines(Next + "/output/18試算表.csv");
    ASSERT_GE(Trial.size(), 3u);
    EXPECT_THAT(Trial[2], StartsWith("前期繰越金,1120480,1120480,"));
    EXPECT_THAT(BookLines(Next + "/output/22残高照合表.csv"),
                ElementsAre(::testing::_, "1,2026/03/31,21670,21670,0,1098810,1098810,0,一致,"));
    EXPECT_EQ(BookLines(Next + "/output/21収支決算書.csv")[5], "前期繰越金,1120480,1120480,0,令和6年度決算の次期繰越（現金＋預金）");

    // A second carry-forward into the same folder is refused before anything
    // is read, and leaves the folder as it was, to the file times.
    const std::vector<std::string> Before = Snapshot(Next);
    const Result Again = Sumup(F, {"--reports", "--next-year", Next, Year});
    EXPECT_EQ(Again.Status, 2);
    EXPECT_EQ(Again.Out, "");
    EXPECT_THAT(Again.Err, StartsWith("tavrel-sumup: フォルダ \"" + Next + "\" には既にソースデータがあります。\n"));
    EXPECT_EQ(Snapshot(Next), Before);
}

TEST(SumupProgram, RelativeSourceFolderWithTrailingSlash)
{
    Folder F;
    WriteClub(F);
    const std::string Command = "cd " + Quote(F.Path()) + " && LC_ALL=C.UTF-8 " + Quote(TAVREL_SUMUP) +
                                " data/ >" + Quote(F.Path("out.txt")) + " 2>&1";
    const int Raw = std::system(Command.c_str());
    ASSERT_TRUE(WIFEXITED(Raw));
    EXPECT_EQ(WEXITSTATUS(Raw), 0) << ReadBytes(F.Path("out.txt"));
    EXPECT_TRUE(std::filesystem::is_regular_file(F.Path("data/output/18試算表.csv")));
}

} // namespace
} // namespace tavrel
