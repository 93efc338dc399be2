// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tables/TvrValue.h"

namespace tavrel {

// The one CSV format of every file the system reads or writes: no header
// line, columns by position, comma separator, double-quote quoting, CR LF
// line ends, code page 932 without a byte-order mark.

// The whole content of a file; ETvrError with the platform's text when it
// cannot be opened or read (missing, unreadable, a folder), and with a text
// of its own for anything else that is not a regular file (a FIFO, a
// device), which is refused at once rather than waited for or read without
// end.
std::string ReadFileBytes(const std::string& AFileName);

// Splits a decoded text at CR LF, lone CR and lone LF. A line end after the
// last line adds no empty line; an empty text has no lines.
std::vector<std::string_view> SplitTextLines(std::string_view AText);

// The file's text as lines: bytes decoded (byte-order mark, UTF-8 without a
// mark, else code page 932; a NUL ends the text), then split into lines.
std::vector<std::string> ReadTextLines(const std::string& AFileName);

// The fields of one line: leading blanks skipped; a quoted field runs to its
// closing quote (doubled quotes inside stand for one), or to the end of the
// line when nothing closes it; an unquoted field runs to the next comma,
// without the blanks at its two ends (blanks inside it stay, as a
// spreadsheet writes them); a comma at the end of the line adds an empty
// field.
std::vector<std::string> SplitCsvLine(std::string_view ALine);
// The same, into AFields, reusing its strings (the loaders split millions).
// Returns false when a quoted field is not closed by the end of the line:
// the cell went on in the next line (a line break typed inside a
// spreadsheet's cell), which a reader of rows must not take for two rows.
bool SplitCsvLine(std::string_view ALine, std::vector<std::string>& AFields);
// The first AMaxFields fields only, for readers that use no more: later
// fields are dropped, except the first non-empty one, which is kept after
// them so that HasNonEmptyField still tells a blank line. A line of millions
// of commas then costs no more than its first fields. The result is that of
// the whole line.
bool SplitCsvLine(std::string_view ALine, std::vector<std::string>& AFields, size_t AMaxFields);

// True when at least one field is non-empty; a line for which it is false is
// a blank line everywhere in the system.
bool HasNonEmptyField(std::span<const std::string> AFields);

// One line of fields: a field holding a double quote, a comma, a semicolon
// or a blank is quoted, its quotes doubled; a single empty field is written
// as "".
std::string MakeCsvLine(std::span<const std::string> AFields);
void AppendCsvLine(std::string& ATarget, std::span<const std::string> AFields);
void AppendCsvLine(std::string& ATarget, std::span<const std::string_view> AFields);

// The bytes of a file of these lines, each followed by CR LF: code page 932
// without a mark, or, when a line holds a character code page 932 cannot
// hold (or the code page 932 bytes would read back as UTF-8), UTF-8 with a
// byte-order mark, so that no character is ever lost.
std::string EncodeTextLines(std::span<const std::string> ALines);
// The same for a text whose lines already end in CR LF.
std::string EncodeText(std::string_view AText);

// How carefully a written file is kept, and what a symbolic link at its
// path stands for.
enum class TTvrWriteDurability {
    // Forced to the disk before the rename: what the user typed (source
    // tables, configuration), which nothing could make again.
    Durable,
    // Left to the system's own write-back: the books, which a run can always
    // make again from the sources. The rename still never shows a half file
    // to a reader, and the run does not wait eight times for the disk.
    Regenerable,
};
enum class TTvrLinkWrite {
    // The file the user chose (a source table, the configuration): the file
    // the link points to is replaced, and the link stays.
    WriteThrough,
    // A file the program names itself in a folder others may write into
    // (the books): the link is replaced by the file, and the temporary file
    // is made beside the link. A planted link can then never make a run
    // overwrite a file elsewhere.
    Replace,
};

// A file replaced only when its content changes, written in pieces as the
// content is made. The pieces are compared with the file's present content
// as they come, a buffer at a time, and nothing is written while the two
// agree; from the first difference on, the content goes to a temporary file
// beside the file (the agreeing part copied from the file itself), which
// Commit renames over it, keeping its permission bits. A file without write
// permission is not replaced; a folder, a device or a pipe at the path never
// is. A failure, or a writer destroyed before Commit, leaves the old content
// whole and no temporary file behind. Raises ETvrError with the platform's
// text.
class TTvrFileWriter {
public:
    TTvrFileWriter(const std::string& AFileName, TTvrWriteDurability ADurability, TTvrLinkWrite ALinkWrite);
    TTvrFileWriter(TTvrFileWriter&&) noexcept;
    TTvrFileWriter& operator=(TTvrFileWriter&&) noexcept;
    ~TTvrFileWriter();

    // The next bytes of the content.
    void Write(std::string_view ABytes);
    // Forgets every byte written so far: the content starts again.
    void Restart();
    // The content is complete. True when it differs from the file's (the
    // new content is then complete, and flushed when durable), false when
    // the file already holds exactly these bytes: it is left untouched, its
    // time too.
    bool Finish();
    // Puts the new content in place; nothing for an unchanged file. Files
    // finished together are thus replaced in the order their caller wants.
    void Commit();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// Where a text goes as it is made: its lines are appended to Text(), and
// LineDone() after each line hands the text on in pieces of about
// kTextPieceSize bytes that end with a line, so that a text of any length is
// never held whole.
class TTvrTextOut {
public:
    static constexpr size_t kTextPieceSize = 256 * 1024;

    TTvrTextOut();
    virtual ~TTvrTextOut() = default;
    TTvrTextOut(const TTvrTextOut&) = delete;
    TTvrTextOut& operator=(const TTvrTextOut&) = delete;

    std::string& Text() { return FText; }
    void LineDone()
    {
        if (FText.size() >= kTextPieceSize)
            Flush();
    }
    // Hands on what Text() holds.
    void Flush();

protected:
    // The next piece of the text.
    virtual void Take(std::string_view APiece) = 0;
    // Drops what Text() holds, keeping its room.
    void Discard() { FText.clear(); }

private:
    std::string FText;
};

// A text made in pieces, collected whole: for a text that is small, or
// wanted in memory.
class TTvrTextCollector final : public TTvrTextOut {
public:
    // The text made so far.
    std::string Result();

protected:
    void Take(std::string_view APiece) override { FResult.append(APiece); }

private:
    std::string FResult;
};

// Makes a text into the text target given.
using TTvrMakeText = std::function<void(TTvrTextOut& AOut)>;

// Writes texts made in pieces to files, each encoded as EncodeText encodes a
// whole text: code page 932, or UTF-8 with a byte-order mark when the text
// turns out to need it, even in its last piece, in which case the text is
// made a second time from the start. Its buffers serve file after file.
class TTvrTextWriter {
public:
    TTvrTextWriter();
    ~TTvrTextWriter();
    TTvrTextWriter(const TTvrTextWriter&) = delete;
    TTvrTextWriter& operator=(const TTvrTextWriter&) = delete;

    // The file with the text AMake makes, finished and not yet committed
    // (TTvrFileWriter). AMake must make the same text every time it is
    // called.
    TTvrFileWriter Write(const std::string& AFileName, const TTvrMakeText& AMake, TTvrWriteDurability ADurability,
                         TTvrLinkWrite ALinkWrite);

private:
    class TOut;
    std::unique_ptr<TOut> FOut;
};

// Writes the bytes unless the file already holds exactly them (a
// TTvrFileWriter given the bytes in one piece and committed at once).
// Returns true when it wrote, false when the file was left untouched (its
// time too).
bool WriteFileIfChanged(const std::string& AFileName, std::string_view ABytes,
                        TTvrWriteDurability ADurability = TTvrWriteDurability::Durable,
                        TTvrLinkWrite ALinkWrite = TTvrLinkWrite::WriteThrough);

// Removes the temporary files of WriteFileIfChanged's naming in the folder
// whose writing process no longer runs: what a run that was killed while
// writing left behind. Files of running processes, links and anything not
// of the pattern are left alone; failures are ignored.
void RemoveStaleTemporaryFiles(const std::string& AFolder);

// The last-modification time of a file (a link followed) in local time.
// Returns false, leaving AResult unchanged, when the time lies outside the
// years 1 to 9999 that a date holds: the time is unknown. ETvrError with the
// platform's text when the file's status cannot be read (missing, a folder).
[[nodiscard]] bool TryFileModificationTime(const std::string& AFileName, TTvrDate& AResult);
// The same, with ETvrError when the time is unknown.
TTvrDate FileModificationTime(const std::string& AFileName);

// The file-name part of a path: the text after the last path separator.
std::string ExtractFileName(std::string_view APath);

} // namespace tavrel
