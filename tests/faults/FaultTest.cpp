// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// A whole run against what goes wrong outside the program: missing and
// unreadable files, folders in the wrong place, read-only books, a disk that
// fills up in the middle of a book, and files that are not tables at all.
// Every test also checks that the run left the source tables exactly as
// they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <random>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TestSupport.h"
#include "aggregation/TvrSumup.h"
#include "tables/TvrCsv.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using test::ReadBytes;
using test::WriteBytes;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

const char* const kKamoku = "収支科目マスタ.csv";
const char* const kTantosha = "担当者マスタ.csv";
const char* const kZandaka = "残高テーブル.csv";
const char* const kKinsen = "金銭出納テーブル.csv";

// The bytes and modification time of every file directly in a folder.
struct TSnapshot {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> Files;
    bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snapshot(const fs::path& AFolder)
{
    TSnapshot Result;
    for (const auto& Entry : fs::directory_iterator(AFolder))
        if (Entry.is_regular_file())
            Result.Files[Entry.path().filename().string()] = {ReadBytes(Entry.path()),
                                                               fs::last_write_time(Entry.path())};
    return Result;
}

// A copy of the example association's year in a fresh folder, run with a
// fixed date; the source files are compared before and after every test.
class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = FTemp.Path();
        for (const auto& Entry : fs::directory_iterator(TAVREL_EXAMPLES))
            if (Entry.path().extension() == ".csv")
                fs::copy_file(Entry.path(), FFolder / Entry.path().filename());
        FSources = Snapshot(FFolder);
    }

    void TearDown() override
    {
        // Whatever happened, the run never wrote to a source table.
        for (const auto& [Name, File] : FSources.Files) {
            const fs::path Path = FFolder / Name;
            if (!fs::is_regular_file(Path))
                continue;
            EXPECT_EQ(ReadBytes(Path), File.first) << Name << " was changed by the run";
            EXPECT_EQ(fs::last_write_time(Path), File.second) << Name << " was touched by the run";
        }
    }

    fs::path Output() const { return FFolder / "output"; }

    // The sources changed on purpose by a test are snapshotted again.
    void SourcesChanged() { FSources = Snapshot(FFolder); }

    bool Run(const fs::path& AOutput = {})
    {
        FLog.clear();
        TTvrExecuteParams Params;
        Params.PathInput = FFolder.string();
        Params.PathOutput = (AOutput.empty() ? Output() : AOutput).string();
        Params.KamokuMaster = kKamoku;
        Params.TantoshaMaster = kTantosha;
        Params.ZandakaTable = kZandaka;
        Params.KinsenTable = kKinsen;
        Params.Today = test::Today();
        TTvrSumup Sumup([this](const std::string& AMessage) {
            if (FLastLineOnly)
                FLog.clear();
            FLog.push_back(AMessage);
        });
        return Sumup.Execute(Params);
    }

    std::vector<std::string> TemporaryFiles() const
    {
        std::vector<std::string> Names;
        for (const auto& Entry : fs::directory_iterator(Output()))
            if (Entry.path().extension() == ".tmp")
                Names.push_back(Entry.path().filename().string());
        return Names;
    }

    // The log's last three lines: the error, an empty line, the verdict.
    void ExpectStoppedWith(const std::string& AErrorPart) const
    {
        ASSERT_GE(FLog.size(), 3u);
        EXPECT_THAT(FLog[FLog.size() - 3], HasSubstr(AErrorPart));
        EXPECT_EQ(FLog[FLog.size() - 2], "");
        EXPECT_EQ(FLog.back(), "集計は中止されました。");
    }

    test::TempFolder FTemp;
    fs::path FFolder;
    TSnapshot FSources;
    std::vector<std::string> FLog;
    // Keeps the log from counting in the memory of a run: a person master
    // of a thousand equal codes reports half a million duplicates.
    bool FLastLineOnly = false;
};

TEST_F(FaultTest, ExampleYearRunsComplete)
{
    ASSERT_TRUE(Run());
    EXPECT_EQ(FLog.back(), "集計が完了しました。");
}

TEST_F(FaultTest, MissingSourceFileStopsTheRunNamingTheFile)
{
    for (const char* Name : {kKamoku, kTantosha, kZandaka, kKinsen}) {
        const fs::path Path = FFolder / Name;
        const std::string Bytes = ReadBytes(Path);
        fs::remove(Path);
        EXPECT_FALSE(Run()) << Name;
        ExpectStoppedWith("ファイル \"" + Path.string() + "\" を開けません。No such file or directory");
        WriteBytes(Path, Bytes);
        fs::last_write_time(Path, FSources.Files[Name].second);
    }
}

TEST_F(FaultTest, FolderInPlaceOfASourceFileStopsTheRun)
{
    for (const char* Name : {kKamoku, kTantosha, kZandaka, kKinsen}) {
        const fs::path Path = FFolder / Name;
        const std::string Bytes = ReadBytes(Path);
        fs::remove(Path);
        fs::create_directory(Path);
        EXPECT_FALSE(Run()) << Name;
        ExpectStoppedWith("ファイル \"" + Path.string() + "\" を開けません。Is a directory");
        fs::remove(Path);
        WriteBytes(Path, Bytes);
        fs::last_write_time(Path, FSources.Files[Name].second);
    }
}

TEST_F(FaultTest, UnreadableSourceFileStopsTheRun)
{
    const fs::path Path = FFolder / kKinsen;
    fs::permissions(Path, fs::perms::none);
    const auto Check = [&] {
        const bool Result = Run();
        return !Result && FLog.size() >= 3
               && FLog[FLog.size() - 3] == "ファイル \"" + Path.string() + "\" を開けません。Permission denied";
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(Check()) << (FLog.size() >= 3 ? FLog[FLog.size() - 3] : "");
    } else {
        // Root reads any file: the run is made by an ordinary user (nobody)
        // in a child process.
        fs::permissions(FFolder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                                     | fs::perms::others_read | fs::perms::others_exec);
        const pid_t Child = ::fork();
        if (Child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            ::_exit(Check() ? 0 : 1);
        }
        int Status = 0;
        ::waitpid(Child, &Status, 0);
        ASSERT_TRUE(WIFEXITED(Status));
        ASSERT_NE(WEXITSTATUS(Status), 2) << "could not become the user nobody";
        EXPECT_EQ(WEXITSTATUS(Status), 0) << "the run as nobody did not stop with Permission denied";
    }
    fs::permissions(Path, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FaultTest, OutputFolderThatCannotBeCreatedStopsAtTheFirstBook)
{
    WriteBytes(Output(), "a file where the output folder should be");
    EXPECT_FALSE(Run());
    ExpectStoppedWith("ファイル \"" + (Output() / kKinsenBookName).string() + "\" を作成できません。");
    EXPECT_EQ(ReadBytes(Output()), "a file where the output folder should be");
}

TEST_F(FaultTest, ReadOnlyBookIsNotReplaced)
{
    ASSERT_TRUE(Run());
    const fs::path Book = Output() / kCashBookName;
    const std::string Before = ReadBytes(Book);
    fs::permissions(Book, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Another counterparty on one row changes every book that lists it.
    std::string Kinsen = ReadBytes(FFolder / kKinsen);
    const size_t Line = Kinsen.find("\r\n") + 2;
    Kinsen.insert(Kinsen.find(',', Kinsen.find(',', Kinsen.find(',', Line) + 1) + 1) + 1, "X");
    WriteBytes(FFolder / kKinsen, Kinsen);
    SourcesChanged();

    EXPECT_FALSE(Run());
    ExpectStoppedWith("ファイル \"" + Book.string() + "\" を作成できません。Permission denied");
    EXPECT_EQ(ReadBytes(Book), Before);
    EXPECT_THAT(TemporaryFiles(), ElementsAre());
}

// The disk fills up in the middle of the run: the largest book cannot be
// written whole. Books written before it are complete, the one that failed
// keeps its previous content, and no temporary file is left behind.
TEST_F(FaultTest, DiskFullInTheMiddleOfTheRunLosesNothing)
{
    // A period of a hundred years makes the trial balance (one column per
    // month) far larger than every other book.
    std::string Kinsen = ReadBytes(FFolder / kKinsen);
    const size_t LastDay = Kinsen.find("2026/03/31");
    ASSERT_NE(LastDay, std::string::npos);
    Kinsen.replace(LastDay, 10, "2125/03/31");
    WriteBytes(FFolder / kKinsen, Kinsen);
    SourcesChanged();
    ASSERT_TRUE(Run());
    const std::string OldShisan = ReadBytes(Output() / kShisanBookName);

    // One expense of 1 less changes every balance and every book.
    const size_t Expense = Kinsen.find(",-", Kinsen.find("\r\n") + 2);
    ASSERT_NE(Expense, std::string::npos);
    const size_t Digits = Expense + 2;
    size_t End = Digits;
    while (std::isdigit(static_cast<unsigned char>(Kinsen[End])))
        ++End;
    const long Amount = std::stol(Kinsen.substr(Digits, End - Digits));
    Kinsen.replace(Digits, End - Digits, std::to_string(Amount - 1));
    WriteBytes(FFolder / kKinsen, Kinsen);
    SourcesChanged();

    // What the books are when nothing fails.
    const fs::path Reference = FFolder / "reference";
    ASSERT_TRUE(Run(Reference));
    size_t Largest = 0;
    for (const char* Name : {kKinsenBookName, kCashBookName, kBankBookName, kTantoshaBookName,
                             kShushiMeisaiBookName, kGranMeisaiBookName, kMiddMeisaiBookName})
        Largest = std::max<size_t>(Largest, fs::file_size(Reference / Name));
    const size_t Shisan = fs::file_size(Reference / kShisanBookName);
    ASSERT_GT(Shisan, Largest + 2);

    // No file of this process may grow beyond the limit: the write of the
    // trial balance fails part way, as on a full disk.
    struct rlimit Old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &Old), 0);
    const auto OldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit Limit = Old;
    Limit.rlim_cur = (Largest + Shisan) / 2;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &Limit), 0);
    const bool Result = Run();
    ::setrlimit(RLIMIT_FSIZE, &Old);
    ::signal(SIGXFSZ, OldHandler);

    EXPECT_FALSE(Result);
    ExpectStoppedWith("ファイル \"" + (Output() / kShisanBookName).string() + "\" を作成できません。File too large");
    EXPECT_EQ(ReadBytes(Output() / kShisanBookName), OldShisan);
    for (const char* Name : {kKinsenBookName, kCashBookName, kBankBookName, kTantoshaBookName,
                             kShushiMeisaiBookName, kGranMeisaiBookName, kMiddMeisaiBookName})
        EXPECT_EQ(ReadBytes(Output() / Name), ReadBytes(Reference / Name)) << Name;
    EXPECT_THAT(TemporaryFiles(), ElementsAre());
}

// The resident memory of this process now, in bytes.
size_t ResidentMemory()
{
    std::ifstream Statm("/proc/self/statm");
    size_t Pages = 0;
    size_t Resident = 0;
    Statm >> Pages >> Resident;
    return Resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// How far the peak memory of a child process doing the work rose above what
// it inherited, in bytes; the child must end normally.
size_t ChildPeakMemory(const std::function<void()>& AWork)
{
    const size_t Inherited = ResidentMemory();
    const pid_t Child = ::fork();
    if (Child == 0) {
        AWork();
        ::_exit(0);
    }
    int Status = 0;
    struct rusage Usage {};
    ::wait4(Child, &Status, 0, &Usage);
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "the run did not end normally";
    const size_t Peak = static_cast<size_t>(Usage.ru_maxrss) * 1024;
    return Peak > Inherited ? Peak - Inherited : 0;
}

// Files that are not what a treasurer meant to save: each table in turn
// replaced by it. The run reports rows or stops with a message, never
// crashes, and its memory stays within a small multiple of the file.
TEST_F(FaultTest, HostileFilesGiveMessagesNotCrashes)
{
    std::mt19937 Random(20261210);
    std::string Binary(1 << 20, '\0');
    for (char& C : Binary)
        C = static_cast<char>(Random());
    std::string InvalidCp932;
    for (int I = 0; I < 1000; ++I)
        InvalidCp932 += "2025/04/01,\x81\x7F\xFF,\x80\xA0\xFD,\xE0,1\r\n";
    struct TCase {
        const char* What;
        std::string Bytes;
    };
    const TCase Cases[] = {
        {"invalid code page 932 bytes", InvalidCp932},
        {"NUL bytes", std::string("2025/04/01,a\0b,c\r\n\0\0\0,x\r\n", 20)},
        {"a 10 MB line", std::string(10 << 20, 'a')},
        {"a 10 MB line of commas", std::string(10 << 20, ',')},
        {"a million blank lines", [] {
             std::string S;
             for (int I = 0; I < 1000000; ++I)
                 S += "\r\n";
             return S;
         }()},
        {"a binary file", Binary},
    };
    for (const char* Name : {kKamoku, kTantosha, kZandaka, kKinsen}) {
        const fs::path Path = FFolder / Name;
        const std::string Original = ReadBytes(Path);
        for (const TCase& C : Cases) {
            WriteBytes(Path, C.Bytes);
            const size_t Peak = ChildPeakMemory([&] {
                FLastLineOnly = true;
                Run();
                // Every log ends with the verdict of the run.
                if (FLog.empty() || (FLog.back() != "集計は中止されました。" && FLog.back() != "集計が完了しました。"))
                    ::_exit(1);
            });
            if (!kSanitized) {
                EXPECT_LT(Peak, 32u * 1024 * 1024 + 40 * C.Bytes.size()) << Name << ": " << C.What;
            }
        }
        WriteBytes(Path, Original);
        fs::last_write_time(Path, FSources.Files[Name].second);
    }
}

} // namespace
} // namespace tavrel
