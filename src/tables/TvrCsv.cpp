// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrCsv.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>
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

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The code page 932 bytes of a text given in pieces, for as long as the text
// holds only characters the code page holds, and whether those bytes taken
// together would read back as UTF-8 (half-width kana such as "ﾃｽ" do). The
// buffer serves piece after piece.
class TCp932Pieces {
public:
    void Reset() { FLook = TTvrUtf8Look(); }

    // The bytes of the piece, valid until the next call, in ABytes; false
    // when the piece holds a character code page 932 cannot hold.
    bool Encode(std::string_view APiece, std::string_view& ABytes)
    {
        if (APiece.size() > FCapacity) {
            FCapacity = std::max(APiece.size(), 2 * FCapacity);
            FBuffer = std::make_unique_for_overwrite<char[]>(FCapacity);
        }
        size_t Length = 0;
        if (!TryEncodeCp932(APiece, FBuffer.get(), Length))
            return false;
        ABytes = std::string_view(FBuffer.get(), Length);
        FLook.Add(ABytes);
        return true;
    }

    // Every byte given reads back as UTF-8: the text must be written as
    // UTF-8 with a mark instead, so that it always reads back as written.
    bool ReadsAsUtf8() const { return FLook.LooksLikeUtf8(); }

private:
    TTvrUtf8Look FLook;
    std::unique_ptr<char[]> FBuffer;
    size_t FCapacity = 0;
};

} // namespace

std::string EncodeText(std::string_view AText)
{
    TCp932Pieces Cp932;
    std::string_view Bytes;
    if (Cp932.Encode(AText, Bytes) && !Cp932.ReadsAsUtf8())
        return std::string(Bytes);
    std::string Result(kUtf8Mark);
    Result.append(AText);
    return Result;
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

// ---------------------------------------------------------------- writing

namespace {

// The bytes of a file compared at a time.
constexpr size_t kCompareSize = 256 * 1024;

// Reads up to ASize bytes at AOffset, fewer only at the end of the file;
// the number read, or -1.
ssize_t ReadAt(int AFd, char* ABuffer, size_t ASize, off_t AOffset)
{
    size_t Done = 0;
    while (Done < ASize) {
        const ssize_t N = ::pread(AFd, ABuffer + Done, ASize - Done, AOffset + static_cast<off_t>(Done));
        if (N < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (N == 0)
            break;
        Done += static_cast<size_t>(N);
    }
    return static_cast<ssize_t>(Done);
}

} // namespace

struct TTvrFileWriter::TState {
    enum class TStep { Comparing, Writing, Unchanged, Finished, Committed };

    // The name the caller gave, for messages; the file replaced.
    std::string FileName;
    std::string Target;
    TTvrWriteDurability Durability = TTvrWriteDurability::Durable;
    // A regular file is there, with this status.
    bool Exists = false;
    struct stat Status {};
    TStep Step = TStep::Comparing;
    // While comparing: the present file, and how many of its bytes the
    // content has matched so far.
    int Old = -1;
    off_t Agreed = 0;
    std::unique_ptr<char[]> Buffer;
    // From the first difference on: the temporary file.
    std::string Temporary;
    int Fd = -1;

    ~TState()
    {
        CloseOld();
        Abandon();
    }

    void CloseOld()
    {
        if (Old >= 0)
            ::close(Old);
        Old = -1;
    }

    void OpenOld()
    {
        Agreed = 0;
        if (Exists)
            Old = ::open(Target.c_str(), O_RDONLY | O_CLOEXEC);
    }

    // The temporary file closed and removed.
    void Abandon()
    {
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
        if (!Temporary.empty())
            ::unlink(Temporary.c_str());
        Temporary.clear();
    }

    [[noreturn]] void Fail(int AErrno)
    {
        CloseOld();
        Abandon();
        RaiseCreateError(FileName, AErrno);
    }

    char* CompareBuffer()
    {
        if (!Buffer)
            Buffer = std::make_unique_for_overwrite<char[]>(kCompareSize);
        return Buffer.get();
    }

    // Compares the bytes with the present file from where they agree so far
    // and takes the leading part that agrees; ABytes keeps the rest.
    void Compare(std::string_view& ABytes)
    {
        if (Old < 0)
            return;
        char* const Present = CompareBuffer();
        while (!ABytes.empty()) {
            const size_t Size = std::min(ABytes.size(), kCompareSize);
            const ssize_t Read = ReadAt(Old, Present, Size, Agreed);
            if (Read != static_cast<ssize_t>(Size) || std::memcmp(Present, ABytes.data(), Size) != 0)
                return;
            Agreed += static_cast<off_t>(Size);
            ABytes.remove_prefix(Size);
        }
    }

    // The content differs from the present file from byte Agreed on: the
    // temporary file gets the agreeing part of the present file, and the
    // rest of the content after it.
    void Diverge()
    {
        // A read-only file stays as it is, as writing in place would fail;
        // the permission bits count even for a user (root) who could write.
        if (Exists && ((Status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(Target.c_str(), W_OK) != 0))
            Fail(EACCES);
        const size_t Slash = Target.rfind('/');
        const std::string Folder = Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
        const std::string Name = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
        for (int Attempt = 0; Attempt < 100 && Fd < 0; ++Attempt) {
            Temporary = Folder + TemporaryName(Name);
            Fd = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (Fd < 0) {
                const int Error = errno;
                Temporary.clear();
                if (Error != EEXIST)
                    Fail(Error);
            }
        }
        if (Fd < 0)
            Fail(EEXIST);
        CopyAgreed();
        CloseOld();
        Step = TStep::Writing;
    }

    // The first Agreed bytes of the present file into the temporary file:
    // inside the kernel where the file system can, else through the buffer.
    void CopyAgreed()
    {
        off_t From = 0;
        while (From < Agreed) {
            const ssize_t N = ::copy_file_range(Old, &From, Fd, nullptr, static_cast<size_t>(Agreed - From), 0);
            if (N > 0)
                continue;
            if (N < 0 && errno == EINTR)
                continue;
            if (N < 0 && errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
                Fail(errno);
            break;
        }
        char* const Present = CompareBuffer();
        while (From < Agreed) {
            const ssize_t Read = ReadAt(Old, Present, std::min<size_t>(kCompareSize, static_cast<size_t>(Agreed - From)), From);
            if (Read <= 0)
                Fail(Read < 0 ? errno : EIO);
            if (!WriteAll(Fd, std::string_view(Present, static_cast<size_t>(Read))))
                Fail(errno);
            From += Read;
        }
    }
};

TTvrFileWriter::TTvrFileWriter(const std::string& AFileName, TTvrWriteDurability ADurability,
                               TTvrLinkWrite ALinkWrite)
    : FState(std::make_unique<TState>())
{
    TState& S = *FState;
    S.FileName = AFileName;
    S.Target = AFileName;
    S.Durability = ADurability;
    bool Exists = false;
    if (ALinkWrite == TTvrLinkWrite::Replace) {
        // A link is never written through: it is replaced like any file that
        // differs from the new content.
        Exists = ::lstat(AFileName.c_str(), &S.Status) == 0 && !S_ISLNK(S.Status.st_mode);
    } else {
        S.Target = ResolvedTarget(AFileName);
        Exists = ::stat(S.Target.c_str(), &S.Status) == 0;
    }
    // A folder, a device or a pipe is never replaced by a file.
    if (Exists && !S_ISREG(S.Status.st_mode))
        RaiseCreateError(AFileName, S_ISDIR(S.Status.st_mode) ? EISDIR : EINVAL);
    S.Exists = Exists;
    S.OpenOld();
}

TTvrFileWriter::TTvrFileWriter(TTvrFileWriter&&) noexcept = default;
TTvrFileWriter& TTvrFileWriter::operator=(TTvrFileWriter&&) noexcept = default;
TTvrFileWriter::~TTvrFileWriter() = default;

void TTvrFileWriter::Write(std::string_view ABytes)
{
    TState& S = *FState;
    if (S.Step == TState::TStep::Comparing) {
        S.Compare(ABytes);
        if (ABytes.empty())
            return;
        S.Diverge();
    }
    if (S.Step != TState::TStep::Writing)
        throw std::logic_error("TTvrFileWriter::Write after Finish");
    if (!WriteAll(S.Fd, ABytes))
        S.Fail(errno);
}

void TTvrFileWriter::Restart()
{
    TState& S = *FState;
    if (S.Step != TState::TStep::Comparing && S.Step != TState::TStep::Writing)
        throw std::logic_error("TTvrFileWriter::Restart after Finish");
    S.Abandon();
    S.CloseOld();
    S.OpenOld();
    S.Step = TState::TStep::Comparing;
}

bool TTvrFileWriter::Finish()
{
    TState& S = *FState;
    if (S.Step == TState::TStep::Comparing) {
        // The content agreed with the file so far: it is the same content
        // only when the file ends there too.
        char End = 0;
        if (S.Old >= 0 && S.Agreed == S.Status.st_size && ReadAt(S.Old, &End, 1, S.Agreed) == 0) {
            S.CloseOld();
            S.Step = TState::TStep::Unchanged;
            return false;
        }
        S.Diverge();
    }
    if (S.Step != TState::TStep::Writing)
        throw std::logic_error("TTvrFileWriter::Finish twice");
    if (S.Exists && ::fchmod(S.Fd, S.Status.st_mode & 07777) != 0)
        S.Fail(errno);
    if (S.Durability == TTvrWriteDurability::Durable && ::fsync(S.Fd) != 0)
        S.Fail(errno);
    const int Closed = ::close(S.Fd);
    S.Fd = -1;
    if (Closed != 0)
        S.Fail(errno);
    S.Step = TState::TStep::Finished;
    return true;
}

void TTvrFileWriter::Commit()
{
    TState& S = *FState;
    if (S.Step == TState::TStep::Unchanged) {
        S.Step = TState::TStep::Committed;
        return;
    }
    if (S.Step != TState::TStep::Finished)
        throw std::logic_error("TTvrFileWriter::Commit before Finish");
    if (::rename(S.Temporary.c_str(), S.Target.c_str()) != 0)
        S.Fail(errno);
    S.Temporary.clear();
    S.Step = TState::TStep::Committed;
}

TTvrTextOut::TTvrTextOut()
{
    FText.reserve(kTextPieceSize + kTextPieceSize / 4);
}

void TTvrTextOut::Flush()
{
    if (FText.empty())
        return;
    Take(FText);
    FText.clear();
}

std::string TTvrTextCollector::Result()
{
    Flush();
    return FResult;
}

namespace {

// Thrown from a piece of a text that code page 932 cannot hold: the text is
// made again, as UTF-8.
struct TNeedsUtf8 {};

} // namespace

// The pieces of one text into one file at a time.
class TTvrTextWriter::TOut final : public TTvrTextOut {
public:
    void Begin(TTvrFileWriter& AFile, bool ACp932)
    {
        Discard();
        FFile = &AFile;
        FCp932 = ACp932;
        FPieces.Reset();
        if (!ACp932)
            AFile.Write(kUtf8Mark);
    }

    bool ReadsAsUtf8() const { return FCp932 && FPieces.ReadsAsUtf8(); }

protected:
    void Take(std::string_view APiece) override
    {
        if (!FCp932) {
            FFile->Write(APiece);
            return;
        }
        std::string_view Bytes;
        if (!FPieces.Encode(APiece, Bytes))
            throw TNeedsUtf8();
        FFile->Write(Bytes);
    }

private:
    TTvrFileWriter* FFile = nullptr;
    bool FCp932 = true;
    TCp932Pieces FPieces;
};

TTvrTextWriter::TTvrTextWriter() : FOut(std::make_unique<TOut>()) {}
TTvrTextWriter::~TTvrTextWriter() = default;

TTvrFileWriter TTvrTextWriter::Write(const std::string& AFileName, const TTvrMakeText& AMake,
                                     TTvrWriteDurability ADurability, TTvrLinkWrite ALinkWrite)
{
    TTvrFileWriter File(AFileName, ADurability, ALinkWrite);
    bool Utf8 = false;
    try {
        FOut->Begin(File, true);
        AMake(*FOut);
        FOut->Flush();
        Utf8 = FOut->ReadsAsUtf8();
    } catch (const TNeedsUtf8&) {
        Utf8 = true;
    }
    if (Utf8) {
        File.Restart();
        FOut->Begin(File, false);
        AMake(*FOut);
        FOut->Flush();
    }
    File.Finish();
    return File;
}

bool WriteFileIfChanged(const std::string& AFileName, std::string_view ABytes, TTvrWriteDurability ADurability,
                        TTvrLinkWrite ALinkWrite)
{
    TTvrFileWriter File(AFileName, ADurability, ALinkWrite);
    File.Write(ABytes);
    const bool Changed = File.Finish();
    File.Commit();
    return Changed;
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
