// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrCsv.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "tables/TvrCodePage.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

std::string OsMessage(int AErrno)
{
    return std::generic_category().message(AErrno);
}

[[noreturn]] void RaiseOpenError(const std::string& AFileName, int AErrno)
{
    throw ETvrError("ファイル \"" + AFileName + "\" を開けません。" + OsMessage(AErrno));
}

[[noreturn]] void RaiseCreateError(const std::string& AFileName, int AErrno)
{
    throw ETvrError("ファイル \"" + AFileName + "\" を作成できません。" + OsMessage(AErrno));
}

// A FIFO would hold the run until something writes into it, and a device
// such as /dev/zero never ends: only regular files are read.
[[noreturn]] void RaiseNotRegularError(const std::string& AFileName)
{
    throw ETvrError("ファイル \"" + AFileName + "\" を開けません。通常のファイルではありません。");
}

// Closes a descriptor when it goes out of scope.
class TFileHandle {
public:
    explicit TFileHandle(int AFd) : FFd(AFd) {}
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() { Close(); }
    int Fd() const { return FFd; }
    int Close()
    {
        const int Result = FFd >= 0 ? ::close(FFd) : 0;
        FFd = -1;
        return Result;
    }

private:
    int FFd;
};

bool ReadAll(int AFd, std::string& AResult, size_t ASizeHint)
{
    // Reads straight into the result; the size is only a hint, since a file
    // may grow or shrink while it is read.
    AResult.resize(std::max<size_t>(ASizeHint + 1, 4096));
    size_t Used = 0;
    for (;;) {
        if (Used == AResult.size())
            AResult.resize(AResult.size() * 2);
        const ssize_t N = ::read(AFd, AResult.data() + Used, AResult.size() - Used);
        if (N < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (N == 0) {
            AResult.resize(Used);
            return true;
        }
        Used += static_cast<size_t>(N);
    }
}

bool WriteAll(int AFd, std::string_view ABytes)
{
    while (!ABytes.empty()) {
        const ssize_t N = ::write(AFd, ABytes.data(), ABytes.size());
        if (N < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        ABytes.remove_prefix(static_cast<size_t>(N));
    }
    return true;
}

// The file a path names, with a symbolic link followed, so that replacing it
// replaces the file the link points to rather than the link.
std::string ResolvedTarget(const std::string& AFileName)
{
    struct stat St {};
    if (::lstat(AFileName.c_str(), &St) == 0 && S_ISLNK(St.st_mode)) {
        char* Real = ::realpath(AFileName.c_str(), nullptr);
        if (Real != nullptr) {
            std::string Result(Real);
            std::free(Real);
            return Result;
        }
    }
    return AFileName;
}

std::atomic<unsigned> GTemporaryCounter{0};

// The name of the temporary file that replaces the file AName of a folder:
// hidden, the name, the writer's process id and a counter, ".tmp". The
// process id lets a later run tell the leftover of a killed one.
std::string TemporaryName(const std::string& AName)
{
    return "." + AName + "." + std::to_string(::getpid()) + "-" + std::to_string(GTemporaryCounter++) + ".tmp";
}

bool AllDigits(std::string_view AText)
{
    return !AText.empty() && std::all_of(AText.begin(), AText.end(), [](char C) { return C >= '0' && C <= '9'; });
}

// The process id in a name of TemporaryName's pattern, or 0 for any other
// name.
pid_t TemporaryWriter(std::string_view AName)
{
    constexpr std::string_view kEnding = ".tmp";
    if (AName.size() < 2 + kEnding.size() || AName[0] != '.' || !AName.ends_with(kEnding))
        return 0;
    std::string_view Rest = AName.substr(1, AName.size() - 1 - kEnding.size());
    const size_t Dash = Rest.rfind('-');
    if (Dash == std::string_view::npos || !AllDigits(Rest.substr(Dash + 1)))
        return 0;
    Rest = Rest.substr(0, Dash);
    const size_t Dot = Rest.rfind('.');
    // The file's own name comes before the dot and may not be empty.
    if (Dot == std::string_view::npos || Dot == 0 || !AllDigits(Rest.substr(Dot + 1)))
        return 0;
    const std::string_view Digits = Rest.substr(Dot + 1);
    if (Digits.size() > 9)
        return 0;
    return static_cast<pid_t>(std::stol(std::string(Digits)));
}

} // namespace

std::string ReadFileBytes(const std::string& AFileName)
{
    // Opened without waiting, so that a FIFO is refused at once instead of
    // waiting for a writer; a regular file reads the same either way.
    TFileHandle File(::open(AFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (File.Fd() < 0)
        RaiseOpenError(AFileName, errno);
    struct stat St {};
    if (::fstat(File.Fd(), &St) != 0)
        RaiseOpenError(AFileName, errno);
    if (S_ISDIR(St.st_mode))
        RaiseOpenError(AFileName, EISDIR);
    if (!S_ISREG(St.st_mode))
        RaiseNotRegularError(AFileName);
    const int Flags = ::fcntl(File.Fd(), F_GETFL);
    if (Flags >= 0)
        (void)::fcntl(File.Fd(), F_SETFL, Flags & ~O_NONBLOCK);
    std::string Bytes;
    if (!ReadAll(File.Fd(), Bytes, static_cast<size_t>(St.st_size)))
        RaiseOpenError(AFileName, errno);
    return Bytes;
}

std::vector<std::string_view> SplitTextLines(std::string_view AText)
{
    std::vector<std::string_view> Lines;
    const char* const Begin = AText.data();
    const char* const End = Begin + AText.size();
    const char* Start = Begin;
    const char* Pos = Begin;
    // The next LF and the next CR, found with memchr (fast on long texts)
    // and looked for again only once passed.
    const char* NextLf = nullptr;
    const char* NextCr = nullptr;
    const auto Find = [&](const char*& ANext, char AChar) {
        if (ANext == nullptr || ANext < Pos) {
            const void* Found = std::memchr(Pos, AChar, static_cast<size_t>(End - Pos));
            ANext = Found != nullptr ? static_cast<const char*>(Found) : End;
        }
        return ANext;
    };
    while (Pos < End) {
        const char* Lf = Find(NextLf, '\n');
        const char* Cr = Find(NextCr, '\r');
        const char* Eol = std::min(Lf, Cr);
        if (Eol == End)
            break;
        Lines.emplace_back(Start, static_cast<size_t>(Eol - Start));
        Pos = Eol + ((*Eol == '\r' && Eol + 1 < End && Eol[1] == '\n') ? 2 : 1);
        Start = Pos;
    }
    if (Start < End)
        Lines.emplace_back(Start, static_cast<size_t>(End - Start));
    return Lines;
}

std::vector<std::string> ReadTextLines(const std::string& AFileName)
{
    const std::string Text = DecodeFileText(ReadFileBytes(AFileName));
    std::vector<std::string> Lines;
    for (const std::string_view Line : SplitTextLines(Text))
        Lines.emplace_back(Line);
    return Lines;
}

bool SplitCsvLine(std::string_view ALine, std::vector<std::string>& AFields, size_t AMaxFields)
{
    bool Closed = true;
    size_t Count = 0;
    bool KeptLater = false;
    std::string Later;
    // A field after the first AMaxFields goes to Later and is kept only when
    // it is the first non-empty one of them.
    const auto NextField = [&]() -> std::string& {
        if (Count >= AMaxFields) {
            Later.clear();
            return Later;
        }
        if (Count == AFields.size())
            AFields.emplace_back();
        std::string& Field = AFields[Count++];
        Field.clear();
        return Field;
    };
    const auto KeepLater = [&] {
        if (Count >= AMaxFields && !KeptLater && !Later.empty()) {
            if (Count == AFields.size())
                AFields.emplace_back();
            AFields[Count++] = Later;
            KeptLater = true;
        }
    };
    const size_t N = ALine.size();
    size_t Pos = 0;
    while (Pos < N && IsBlank(ALine[Pos]))
        ++Pos;
    while (Pos < N) {
        std::string& Field = NextField();
        if (ALine[Pos] == '"') {
            ++Pos;
            bool Closing = false;
            while (Pos < N) {
                if (ALine[Pos] == '"') {
                    if (Pos + 1 < N && ALine[Pos + 1] == '"') {
                        Field.push_back('"');
                        Pos += 2;
                        continue;
                    }
                    ++Pos;
                    Closing = true;
                    break;
                }
                const size_t Next = ALine.find('"', Pos);
                const size_t End = Next == std::string_view::npos ? N : Next;
                Field.append(ALine.substr(Pos, End - Pos));
                Pos = End;
            }
            Closed = Closed && Closing;
        } else {
            // A spreadsheet leaves a blank inside a cell unquoted: the field
            // runs to the next comma, without the blanks at its two ends.
            const size_t Comma = ALine.find(',', Pos);
            const size_t Start = Pos;
            Pos = Comma == std::string_view::npos ? N : Comma;
            size_t End = Pos;
            while (End > Start && IsBlank(ALine[End - 1]))
                --End;
            Field.assign(ALine.substr(Start, End - Start));
        }
        KeepLater();
        while (Pos < N && IsBlank(ALine[Pos]))
            ++Pos;
        if (Pos < N && ALine[Pos] == ',') {
            if (Pos == N - 1)
                NextField();
            ++Pos;
            while (Pos < N && IsBlank(ALine[Pos]))
                ++Pos;
        }
    }
    AFields.resize(Count);
    return Closed;
}

bool SplitCsvLine(std::string_view ALine, std::vector<std::string>& AFields)
{
    return SplitCsvLine(ALine, AFields, std::numeric_limits<size_t>::max());
}

std::vector<std::string> SplitCsvLine(std::string_view ALine)
{
    std::vector<std::string> Fields;
    SplitCsvLine(ALine, Fields);
    return Fields;
}

bool HasNonEmptyField(std::span<const std::string> AFields)
{
    for (const std::string& Field : AFields)
        if (!Field.empty())
            return true;
    return false;
}

namespace {

// The characters that make a field quoted: the double quote, the comma, the
// blanks (codes 1 to 32), and the semicolon, at which a spreadsheet's CSV
// import also splits by default.
constexpr std::array<bool, 256> kNeedsQuotes = [] {
    std::array<bool, 256> Table{};
    for (int C = 1; C <= 32; ++C)
        Table[static_cast<size_t>(C)] = true;
    Table['"'] = true;
    Table[','] = true;
    Table[';'] = true;
    return Table;
}();

void AppendCsvField(std::string& ATarget, std::string_view AField)
{
    const bool NeedsQuotes = std::any_of(AField.begin(), AField.end(), [](char C) {
        return kNeedsQuotes[static_cast<unsigned char>(C)];
    });
    if (!NeedsQuotes) {
        ATarget += AField;
        return;
    }
    ATarget.push_back('"');
    for (const char C : AField) {
        if (C == '"')
            ATarget.push_back('"');
        ATarget.push_back(C);
    }
    ATarget.push_back('"');
}

template <typename TField>
void AppendCsvFields(std::string& ATarget, std::span<const TField> AFields)
{
    if (AFields.size() == 1 && AFields[0].empty()) {
        ATarget += "\"\"";
        return;
    }
    for (size_t I = 0; I < AFields.size(); ++I) {
        if (I > 0)
            ATarget.push_back(',');
        AppendCsvField(ATarget, AFields[I]);
    }
}

} // namespace

void AppendCsvLine(std::string& ATarget, std::span<const std::string> AFields)
{
    AppendCsvFields(ATarget, AFields);
}

void AppendCsvLine(std::string& ATarget, std::span<const std::string_view> AFields)
{
    AppendCsvFields(ATarget, AFields);
}

std::string MakeCsvLine(std::span<const std::string> AFields)
{
    std::string Line;
    AppendCsvLine(Line, AFields);
    return Line;
}

std::string EncodeText(std::string_view AText)
{
    // Code page 932 bytes that happen to form valid UTF-8 (half-width kana
    // such as "ﾃｽ" do) would be read back as UTF-8: such a text is written
    // as UTF-8 with a mark too, so that it always reads back as written.
    std::string Bytes;
    if (TryEncodeCp932(AText, Bytes) && !LooksLikeUtf8(Bytes))
        return Bytes;
    Bytes.assign("\xEF\xBB\xBF");
    Bytes.append(AText);
    return Bytes;
}

std::string EncodeTextLines(std::span<const std::string> ALines)
{
    std::string Text;
    size_t Size = 0;
    for (const std::string& Line : ALines)
        Size += Line.size() + 2;
    Text.reserve(Size);
    for (const std::string& Line : ALines) {
        Text += Line;
        Text += "\r\n";
    }
    return EncodeText(Text);
}

bool WriteFileIfChanged(const std::string& AFileName, std::string_view ABytes, TTvrWriteDurability ADurability,
                        TTvrLinkWrite ALinkWrite)
{
    std::string Target = AFileName;
    struct stat St {};
    bool Exists = false;
    if (ALinkWrite == TTvrLinkWrite::Replace) {
        // A link is never written through: it is replaced like any file that
        // differs from the new content.
        Exists = ::lstat(AFileName.c_str(), &St) == 0 && !S_ISLNK(St.st_mode);
    } else {
        Target = ResolvedTarget(AFileName);
        Exists = ::stat(Target.c_str(), &St) == 0;
    }
    if (Exists && S_ISREG(St.st_mode)) {
        if (static_cast<size_t>(St.st_size) == ABytes.size()) {
            TFileHandle File(::open(Target.c_str(), O_RDONLY | O_CLOEXEC));
            std::string Old;
            if (File.Fd() >= 0 && ReadAll(File.Fd(), Old, ABytes.size()) && Old == ABytes)
                return false;
        }
        // A read-only file stays as it is, as writing in place would fail;
        // the permission bits count even for a user (root) who could write.
        if ((St.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(Target.c_str(), W_OK) != 0)
            RaiseCreateError(AFileName, EACCES);
    } else if (Exists) {
        // A folder, a device or a pipe is never replaced by a file.
        RaiseCreateError(AFileName, S_ISDIR(St.st_mode) ? EISDIR : EINVAL);
    }

    const size_t Slash = Target.rfind('/');
    const std::string Folder = Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
    const std::string Name = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
    std::string Temporary;
    int Fd = -1;
    for (int Attempt = 0; Attempt < 100 && Fd < 0; ++Attempt) {
        Temporary = Folder + TemporaryName(Name);
        Fd = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd < 0 && errno != EEXIST)
            RaiseCreateError(AFileName, errno);
    }
    if (Fd < 0)
        RaiseCreateError(AFileName, EEXIST);
    TFileHandle File(Fd);
    const auto Fail = [&](int AErrno) {
        File.Close();
        ::unlink(Temporary.c_str());
        RaiseCreateError(AFileName, AErrno);
    };
    if (!WriteAll(File.Fd(), ABytes))
        Fail(errno);
    if (Exists && ::fchmod(File.Fd(), St.st_mode & 07777) != 0)
        Fail(errno);
    if (ADurability == TTvrWriteDurability::Durable && ::fsync(File.Fd()) != 0)
        Fail(errno);
    if (File.Close() != 0)
        Fail(errno);
    if (::rename(Temporary.c_str(), Target.c_str()) != 0)
        Fail(errno);
    return true;
}

void RemoveStaleTemporaryFiles(const std::string& AFolder)
{
    DIR* const Folder = ::opendir(AFolder.empty() ? "." : AFolder.c_str());
    if (Folder == nullptr)
        return;
    std::vector<std::string> Stale;
    while (const struct dirent* Entry = ::readdir(Folder)) {
        const pid_t Writer = TemporaryWriter(Entry->d_name);
        // A writer that still runs may be writing it now; kill with no
        // signal only asks whether the process exists.
        if (Writer <= 0 || Writer == ::getpid() || ::kill(Writer, 0) == 0 || errno != ESRCH)
            continue;
        Stale.emplace_back(Entry->d_name);
    }
    ::closedir(Folder);
    const std::string Prefix = AFolder.empty() || AFolder.back() == '/' ? AFolder : AFolder + "/";
    for (const std::string& Name : Stale) {
        struct stat St {};
        const std::string Path = Prefix + Name;
        if (::lstat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode))
            (void)::unlink(Path.c_str());
    }
}

bool TryFileModificationTime(const std::string& AFileName, TTvrDate& AResult)
{
    struct stat St {};
    if (::stat(AFileName.c_str(), &St) != 0)
        RaiseOpenError(AFileName, errno);
    if (S_ISDIR(St.st_mode))
        RaiseOpenError(AFileName, EISDIR);
    struct tm Local {};
    const time_t Seconds = St.st_mtim.tv_sec;
    // A time whose year does not fit the calendar (a file from a broken
    // clock or an archive) has no date: the caller shows it as unknown.
    TTvrDate Day;
    if (::localtime_r(&Seconds, &Local) == nullptr || Local.tm_year > INT_MAX - 1900
        || !TTvrDate::TryEncode(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday, Day))
        return false;
    const double Fraction = (Local.tm_hour * 3600.0 + Local.tm_min * 60.0 + Local.tm_sec
                             + St.st_mtim.tv_nsec / 1e9)
                            / 86400.0;
    AResult = TTvrDate::FromSerial(Day.Serial() + Fraction);
    return true;
}

TTvrDate FileModificationTime(const std::string& AFileName)
{
    TTvrDate Result;
    if (!TryFileModificationTime(AFileName, Result))
        throw ETvrError("ファイル \"" + AFileName + "\" の更新日時が範囲外です。");
    return Result;
}

std::string ExtractFileName(std::string_view APath)
{
    const size_t Slash = APath.rfind('/');
    return std::string(Slash == std::string_view::npos ? APath : APath.substr(Slash + 1));
}

} // namespace tavrel
