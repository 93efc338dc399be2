// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The CSV text format shared by every file: lines, fields, encodings and the
// write that leaves an unchanged file alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tables/TvrCodePage.h"
#include "tables/TvrCsv.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"
#include "TablesTestSupport.h"

using namespace tavrel;
using namespace tavrel::testing_support;
using namespace tavrel::test;

namespace {

using TFields = std::vector<std::string>;

// 日本 in code page 932 and in UTF-8.
constexpr std::string_view kNihonCp932 = "\x93\xFA\x96\x7B";
constexpr std::string_view kNihonUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC";
// あ
constexpr std::string_view kACp932 = "\x82\xA0";
constexpr std::string_view kAUtf8 = "\xE3\x81\x82";
// Half-width katakana ｱ: one byte in code page 932.
constexpr std::string_view kHalfACp932 = "\xB1";
constexpr std::string_view kHalfAUtf8 = "\xEF\xBD\xB1";
// ① (a code page 932 extension)
constexpr std::string_view kCircled1Cp932 = "\x87\x40";
constexpr std::string_view kCircled1Utf8 = "\xE2\x91\xA0";
// ～ full-width tilde, which code page 932 holds at 81 60.
constexpr std::string_view kFullTildeCp932 = "\x81\x60";
constexpr std::string_view kFullTildeUtf8 = "\xEF\xBD\x9E";
// 〜 wave dash, which code page 932 cannot hold.
constexpr std::string_view kWaveDashUtf8 = "\xE3\x80\x9C";
// 😀
constexpr std::string_view kEmojiUtf8 = "\xF0\x9F\x98\x80";
// U+FFFD
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

std::string Cat(std::initializer_list<std::string_view> AParts)
{
    std::string Result;
    for (const std::string_view Part : AParts)
        Result += Part;
    return Result;
}

} // namespace

// ---------------------------------------------------------------------------
// Splitting a line

TEST(SplitCsvLine, FieldsOfALine)
{
    struct TCase {
        std::string Line;
        TFields Expected;
    };
    const TCase Cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"a, b ,c", {"a", "b", "c"}},
        // An unquoted field runs to the next comma: blanks inside it stay,
        // as a spreadsheet leaves them unquoted; those at its ends go.
        {"ab cd,100", {"ab cd", "100"}},
        {"01,佐藤 恵子,会計", {"01", "佐藤 恵子", "会計"}},
        {"2025/05/10,,,,,役員会 茶菓子,,200,-800,", {"2025/05/10", "", "", "", "", "役員会 茶菓子", "", "200", "-800", ""}},
        {"  a  b  ,  c  d  ", {"a  b", "c  d"}},
        {"a \"b\" c,d", {"a \"b\" c", "d"}},
        {"\"ab\"cd ef,g", {"ab", "cd ef", "g"}},
        {"\"ab cd\",100", {"ab cd", "100"}},
        {"x,", {"x", ""}},
        {",", {"", ""}},
        {",,", {"", "", ""}},
        {",x", {"", "x"}},
        {"a,,b", {"a", "", "b"}},
        {"a, ,b", {"a", "", "b"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"\"\"", {""}},
        {"\"\",\"\"", {"", ""}},
        {"\"\"\"\"", {"\""}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\" a \",b", {" a ", "b"}},
        {"\"open", {"open"}},
        {"\"open, still \"\"in\"\"", {"open, still \"in\""}},
        {"  a", {"a"}},
        {"\t a,b \t", {"a", "b"}},
        {"a\tb", {"a\tb"}},
        {"a\x01" "b", {"a\x01" "b"}},
        {"  \"q\" , r ", {"q", "r"}},
        {"x, ", {"x"}},
        {"a ,", {"a", ""}},
        {"a\"b", {"a\"b"}},
        {"", {}},
        {"   ", {}},
        {"\t", {}},
        {"\xE3\x80\x80", {"\xE3\x80\x80"}},
        {"a\xE3\x80\x80" "b,c", {"a\xE3\x80\x80" "b", "c"}},
        {Cat({kNihonUtf8, ",", kAUtf8}), {std::string(kNihonUtf8), std::string(kAUtf8)}},
        {"1,\"1,234\",abc", {"1", "1,234", "abc"}},
        {"\"a\",", {"a", ""}},
        {"\"a\" ,", {"a", ""}},
        {"\"a\" b", {"a", "b"}},
        {"a,\"", {"a", ""}},
        {" , ", {""}},
        {"a , ", {"a"}},
    };
    for (const TCase& C : Cases) {
        const TFields Actual = SplitCsvLine(C.Line);
        EXPECT_EQ(Actual, C.Expected) << "line <" << Escaped(C.Line) << "> gave " << Joined(Actual);
    }
}

// A quoted field that its line does not close is a cell that went on in the
// next line (a line break typed in a spreadsheet's cell): the split says so,
// and still gives the field up to the end of the line.
TEST(SplitCsvLine, TellsAQuoteNotClosedByTheEndOfTheLine)
{
    struct TCase {
        std::string Line;
        bool Closed;
        TFields Expected;
    };
    // clang-format off
    const TCase Cases[] = {
        {"01,佐藤,\"会計", false, {"01", "佐藤", "会計"}},
        {"\"open", false, {"open"}},
        {"\"open, still \"\"in\"\"", false, {"open, still \"in\""}},
        {"a,\"", false, {"a", ""}},
        {"\"a\"\"", false, {"a\""}},
        {"\"a\",\"b", false, {"a", "b"}},
        {"\"a\",\"b\"", true, {"a", "b"}},
        {"\"\"", true, {""}},
        {"a\"b", true, {"a\"b"}},
        {"a \"b", true, {"a \"b"}},
        {"\"a\"b\"", true, {"a", "b\""}},
        {"", true, {}},
    };
    // clang-format on
    for (const TCase& C : Cases) {
        TFields Fields = {"old"};
        EXPECT_EQ(SplitCsvLine(C.Line, Fields), C.Closed) << "line <" << Escaped(C.Line) << ">";
        EXPECT_EQ(Fields, C.Expected) << "line <" << Escaped(C.Line) << "> gave " << Joined(Fields);
        EXPECT_EQ(SplitCsvLine(C.Line), C.Expected) << "line <" << Escaped(C.Line) << ">";
    }
    // The quote is found beyond the fields a reader keeps, too.
    TFields Fields;
    EXPECT_FALSE(SplitCsvLine("a,b,c,\"d", Fields, 2));
    EXPECT_TRUE(SplitCsvLine("a,b,c,\"d\"", Fields, 2));
}

TEST(SplitCsvLine, ReusedListHoldsOnlyTheNewFields)
{
    TFields Fields = {"old1", "old2", "old3", "old4"};
    SplitCsvLine("a,b", Fields);
    EXPECT_EQ(Fields, (TFields{"a", "b"}));
    SplitCsvLine("\"x y\",,z,", Fields);
    EXPECT_EQ(Fields, (TFields{"x y", "", "z", ""}));
    SplitCsvLine(",", Fields);
    EXPECT_EQ(Fields, (TFields{"", ""}));
    SplitCsvLine("  ", Fields);
    EXPECT_TRUE(Fields.empty()) << Joined(Fields);
}

TEST(HasNonEmptyField, BlankLines)
{
    struct TCase {
        TFields Fields;
        bool Expected;
    };
    const TCase Cases[] = {
        {{}, false},        {{""}, false},          {{"", "", ""}, false},
        {{"", "x"}, true},  {{"x"}, true},          {{" "}, true},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(HasNonEmptyField(C.Fields), C.Expected) << Joined(C.Fields);

    EXPECT_FALSE(HasNonEmptyField(SplitCsvLine(",,,")));
    EXPECT_FALSE(HasNonEmptyField(SplitCsvLine("\"\"")));
    EXPECT_FALSE(HasNonEmptyField(SplitCsvLine(" , ,")));
    EXPECT_TRUE(HasNonEmptyField(SplitCsvLine(",\" \",")));
}

// ---------------------------------------------------------------------------
// Making a line

TEST(MakeCsvLine, QuotesOnlyWhereNeeded)
{
    struct TCase {
        TFields Fields;
        std::string Expected;
    };
    const TCase Cases[] = {
        {{"a", "", "b c"}, "a,,\"b c\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{""}, "\"\""},
        {TFields(13, ""), ",,,,,,,,,,,,"},
        {{"", ""}, ","},
        {{}, ""},
        {{"a", "b"}, "a,b"},
        {{"1,234"}, "\"1,234\""},
        // A spreadsheet's CSV import splits at semicolons too.
        {{"封筒;切手", "1"}, "\"封筒;切手\",1"},
        {{";"}, "\";\""},
        {{"\""}, "\"\"\"\""},
        {{" lead"}, "\" lead\""},
        {{"trail "}, "\"trail \""},
        {{"tab\there"}, "\"tab\there\""},
        {{"x", ""}, "x,"},
        {{"", "x"}, ",x"},
        {{"\xE3\x80\x80"}, "\xE3\x80\x80"},
        {{std::string(kNihonUtf8), "-1500", "2024/04/01"}, Cat({kNihonUtf8, ",-1500,2024/04/01"})},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(MakeCsvLine(C.Fields), C.Expected) << "fields " << Joined(C.Fields);
        std::string Appended = "prefix|";
        AppendCsvLine(Appended, C.Fields);
        EXPECT_EQ(Appended, "prefix|" + C.Expected) << "fields " << Joined(C.Fields);
    }
}

TEST(MakeCsvLine, SplitGivesTheFieldsBack)
{
    const TFields Cases[] = {
        {"a", "b", "c"},
        {"a", "", "b c"},
        {""},
        {"", ""},
        {"", "", ""},
        {"x", ""},
        {"", "x"},
        TFields(13, ""),
        {"say \"hi\""},
        {"\""},
        {"\"\""},
        {"\"", ","},
        {" lead", "trail ", " both "},
        {"1,234", "-1,500.25"},
        {"a,b,c"},
        {"tab\there", "cr\rlf\n"},
        {std::string(kNihonUtf8), std::string(kAUtf8) + " " + std::string(kNihonUtf8)},
        {"\xE3\x80\x80", "\xE3\x80\x80" "x"},
        {"\"quoted\"text", "text\"quoted\""},
        {"封筒;切手", ";"},
        {"a\x01" "b", "x y  z"},
        {"", "", "x", "", ""},
    };
    for (const TFields& Fields : Cases) {
        const std::string Line = MakeCsvLine(Fields);
        const TFields Back = SplitCsvLine(Line);
        EXPECT_EQ(Back, Fields) << "fields " << Joined(Fields) << " line <" << Escaped(Line)
                                << "> gave " << Joined(Back);
    }
}

// ---------------------------------------------------------------------------
// Lines of a text and of a file

TEST(SplitTextLines, LineEnds)
{
    struct TCase {
        std::string_view Text;
        TFields Expected;
    };
    const TCase Cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"", {}},
        {"only", {"only"}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const TCase& C : Cases) {
        const std::vector<std::string_view> Views = SplitTextLines(C.Text);
        const TFields Actual(Views.begin(), Views.end());
        EXPECT_EQ(Actual, C.Expected) << "text <" << Escaped(C.Text) << "> gave " << Joined(Actual);
    }
}

class TextFileTest : public ::testing::Test {
protected:
    TempFolder Folder;

    TFields ReadBack(std::string_view ABytes)
    {
        const std::string Name = Folder.Path("lines.csv");
        WriteBytes(Name, ABytes);
        return ReadTextLines(Name);
    }
};

TEST_F(TextFileTest, ReadTextLinesDecodesAndSplits)
{
    struct TCase {
        const char* What;
        std::string Bytes;
        TFields Expected;
    };
    const std::string Nihon(kNihonUtf8);
    const std::string R(kReplacementUtf8);
    const TCase Cases[] = {
        {"CR LF", "a,1\r\nb,2\r\n", {"a,1", "b,2"}},
        {"no final line end", "a,1\r\nb,2", {"a,1", "b,2"}},
        {"LF", "a,1\nb,2\n", {"a,1", "b,2"}},
        {"CR", "a,1\rb,2\r", {"a,1", "b,2"}},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"blank line kept", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"empty file", "", {}},
        {"one line end", "\r\n", {""}},
        // A NUL reads as one unreadable character and the text goes on.
        {"NUL in a line", std::string("a\r\nb\0c\r\nd", 9), {"a", "b" + R + "c", "d"}},
        {"NUL at the start", std::string("\0a\r\n", 4), {R + "a"}},
        {"NUL among eight ASCII bytes", std::string("abcdefg\0hijklmn", 15), {"abcdefg" + R + "hijklmn"}},
        {"NUL in code page 932", Cat({kNihonCp932, std::string_view("\0", 1), kACp932}), {Nihon + R + std::string(kAUtf8)}},
        {"NUL in UTF-8 without mark", Cat({kNihonUtf8, std::string_view("\0\0", 2), "x"}), {Nihon + R + R + "x"}},
        {"UTF-8 mark", Cat({"\xEF\xBB\xBF", kNihonUtf8, ",1\r\n"}), {Nihon + ",1"}},
        {"UTF-8 mark, ASCII only", "\xEF\xBB\xBF" "a,1\r\n", {"a,1"}},
        {"UTF-8 mark only", "\xEF\xBB\xBF", {}},
        {"UTF-8 mark and NUL", std::string("\xEF\xBB\xBF" "a\r\nb\0c", 9), {"a", "b" + R + "c"}},
        {"UTF-8 without mark", Cat({kNihonUtf8, ",", kAUtf8, "\r\nx\r\n"}),
         {Cat({kNihonUtf8, ",", kAUtf8}), "x"}},
        {"code page 932", Cat({kNihonCp932, ",", kACp932, ",", kHalfACp932, "\r\n", kCircled1Cp932, kFullTildeCp932}),
         {Cat({kNihonUtf8, ",", kAUtf8, ",", kHalfAUtf8}), Cat({kCircled1Utf8, kFullTildeUtf8})}},
        {"code page 932, ASCII only", "abc,1\r\n", {"abc,1"}},
        {"UTF-16 LE", std::string("\xFF\xFE" "a\0,\0\xE5\x65\x2C\x67\r\0\n\0b\0", 16),
         {"a," + Nihon, "b"}},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0,\x65\xE5\x67\x2C\0\r\0\n\0b", 16),
         {"a," + Nihon, "b"}},
        {"UTF-16 LE surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE\n\0", 8),
         {std::string(kEmojiUtf8)}},
        {"UTF-16 LE lone CR", std::string("\xFF\xFE" "a\0\r\0b\0", 8), {"a", "b"}},
        {"UTF-16 LE NUL", std::string("\xFF\xFE" "a\0\n\0\0\0b\0", 10), {"a", R + "b"}},
        {"UTF-16 BE NUL", std::string("\xFE\xFF\0a\0\0\0b", 8), {"a" + R + "b"}},
    };
    for (const TCase& C : Cases) {
        const TFields Actual = ReadBack(C.Bytes);
        EXPECT_EQ(Actual, C.Expected) << C.What << ": bytes <" << Escaped(C.Bytes) << "> gave "
                                      << Joined(Actual);
    }
}

TEST_F(TextFileTest, UndecodableCodePage932BytesBecomeReplacementCharacters)
{
    const std::string R(kReplacementUtf8);
    struct TCase {
        const char* What;
        std::string Bytes;
        std::string Expected;
    };
    const TCase Cases[] = {
        {"unassigned double-byte code", Cat({"a", "\x85\x40", "b"}), "a" + R + "b"},
        {"lead byte at the end", Cat({kACp932, "\x82"}), Cat({kAUtf8, kReplacementUtf8})},
        {"lead byte before a space", Cat({kACp932, "\x82 x"}), Cat({kAUtf8, kReplacementUtf8, " x"})},
    };
    for (const TCase& C : Cases) {
        const TFields Actual = ReadBack(C.Bytes);
        EXPECT_EQ(Actual, TFields{C.Expected}) << C.What << ": bytes <" << Escaped(C.Bytes)
                                               << "> gave " << Joined(Actual);
    }
}

TEST_F(TextFileTest, InvalidUtf8AfterAMarkBecomesReplacementCharacters)
{
    const TFields Actual = ReadBack("\xEF\xBB\xBF" "a\xFF" "b\r\n");
    EXPECT_EQ(Actual, TFields{Cat({"a", kReplacementUtf8, "b"})}) << Joined(Actual);
}

TEST_F(TextFileTest, MissingFileOrFolderRaises)
{
    EXPECT_THROW(ReadTextLines(Folder.Path("missing.csv")), ETvrError);
    EXPECT_THROW(ReadTextLines(Folder.Path()), ETvrError);
    try {
        ReadTextLines(Folder.Path("missing.csv"));
        ADD_FAILURE() << "no error";
    } catch (const ETvrError& E) {
        EXPECT_NE(std::string(E.what()).find(std::strerror(ENOENT)), std::string::npos) << E.what();
    }
}

// A FIFO would hold the reader until something writes into it, and
// /dev/zero never ends: only regular files are read, and the others are
// refused at once with a message.
TEST_F(TextFileTest, OnlyRegularFilesAreRead)
{
    const std::string Fifo = Folder.Path("fifo.csv");
    ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
    struct TCase {
        std::string Path;
        std::string Message;
    };
    const TCase Cases[] = {
        {Fifo, "ファイル \"" + Fifo + "\" を開けません。通常のファイルではありません。"},
        {"/dev/zero", "ファイル \"/dev/zero\" を開けません。通常のファイルではありません。"},
        {"/dev/null", "ファイル \"/dev/null\" を開けません。通常のファイルではありません。"},
        {Folder.Path(), "ファイル \"" + Folder.Path() + "\" を開けません。" + std::strerror(EISDIR)},
    };
    for (const TCase& C : Cases) {
        try {
            ReadFileBytes(C.Path);
            ADD_FAILURE() << C.Path << " was read";
        } catch (const ETvrError& E) {
            EXPECT_EQ(std::string(E.what()), C.Message);
        }
        EXPECT_THROW(ReadTextLines(C.Path), ETvrError) << C.Path;
    }
    // A link to a regular file is read as the file.
    const std::string Real = Folder.WriteBytes("real.csv", "a,1\r\n");
    ASSERT_EQ(::symlink(Real.c_str(), Folder.Path("link.csv").c_str()), 0);
    EXPECT_EQ(ReadTextLines(Folder.Path("link.csv")), TFields{"a,1"});
}

// ---------------------------------------------------------------------------
// Encoding lines

TEST(EncodeTextLines, CodePage932WithCrLf)
{
    struct TCase {
        const char* What;
        TFields Lines;
        std::string Expected;
    };
    const TCase Cases[] = {
        {"ASCII", {"a,1", "b,2"}, "a,1\r\nb,2\r\n"},
        {"no lines", {}, ""},
        {"one empty line", {""}, "\r\n"},
        {"empty lines", {"", ""}, "\r\n\r\n"},
        {"Japanese", {Cat({kNihonUtf8, ",", kAUtf8}), Cat({kHalfAUtf8, kCircled1Utf8, kFullTildeUtf8})},
         Cat({kNihonCp932, ",", kACp932, "\r\n", kHalfACp932, kCircled1Cp932, kFullTildeCp932, "\r\n"})},
        {"full-width space", {"\xE3\x80\x80"}, "\x81\x40\r\n"},
        // Full-width minus, yen, parallel, not sign and horizontal bar, as
        // code page 932 maps them.
        {"code page 932 forms", {"\xEF\xBC\x8D\xEF\xBF\xA5\xE2\x88\xA5\xEF\xBF\xA2\xE2\x80\x95"},
         "\x81\x7C\x81\x8F\x81\x61\x81\xCA\x81\x5C\r\n"},
    };
    for (const TCase& C : Cases) {
        const std::string Bytes = EncodeTextLines(C.Lines);
        EXPECT_EQ(Escaped(Bytes), Escaped(C.Expected)) << C.What;
    }
    EXPECT_EQ(Escaped(EncodeText(Cat({kNihonUtf8, "\r\n"}))), Escaped(Cat({kNihonCp932, "\r\n"})));
}

TEST(EncodeTextLines, UnrepresentableCharacterGivesUtf8WithMark)
{
    struct TCase {
        const char* What;
        TFields Lines;
    };
    const TCase Cases[] = {
        {"wave dash", {Cat({kNihonUtf8, ",1"}), Cat({"10", kWaveDashUtf8, "20"})}},
        {"emoji", {Cat({"a", kEmojiUtf8}), Cat({kNihonUtf8})}},
        {"emoji in the first line", {std::string(kEmojiUtf8), "x"}},
        {"yen sign U+00A5", {"\xC2\xA5" "1,500"}},
        {"minus sign U+2212", {"\xE2\x88\x92" "300"}},
        {"double vertical line U+2016", {"a\xE2\x80\x96" "b"}},
        {"em dash U+2014", {"a\xE2\x80\x94" "b"}},
        // Half-width ﾃｽ is C3 BD in code page 932, which is also valid
        // UTF-8 and would be read back as another character.
        {"code page 932 bytes that read as UTF-8", {"\xEF\xBE\x83\xEF\xBD\xBD"}},
    };
    for (const TCase& C : Cases) {
        std::string Expected = "\xEF\xBB\xBF";
        for (const std::string& Line : C.Lines)
            Expected += Line + "\r\n";
        EXPECT_EQ(Escaped(EncodeTextLines(C.Lines)), Escaped(Expected)) << C.What;
    }
}

TEST(EncodeTextLines, ReadBackUnchanged)
{
    TempFolder Folder;
    const TFields Cases[] = {
        {"a,1", "b,2"},
        {Cat({kNihonUtf8, ",", kAUtf8, ",", kHalfAUtf8}), Cat({kCircled1Utf8, kFullTildeUtf8})},
        {Cat({kNihonUtf8, ",1"}), Cat({"10", kWaveDashUtf8, "20"})},
        {Cat({kEmojiUtf8, ",", kNihonUtf8}), ""},
        {"\xEF\xBE\x83\xEF\xBD\xBD", "1"},
        {"", "x", ""},
        {},
    };
    for (const TFields& Lines : Cases) {
        const std::string Name = Folder.Path("round.csv");
        WriteBytes(Name, EncodeTextLines(Lines));
        const TFields Back = ReadTextLines(Name);
        EXPECT_EQ(Back, Lines) << "lines " << Joined(Lines) << " gave " << Joined(Back);
    }
}

TEST(TryEncodeCp932, ExactCharactersOnly)
{
    std::string Bytes;
    ASSERT_TRUE(TryEncodeCp932(Cat({kNihonUtf8, "a"}), Bytes));
    EXPECT_EQ(Escaped(Bytes), Escaped(Cat({kNihonCp932, "a"})));
    EXPECT_FALSE(TryEncodeCp932(kWaveDashUtf8, Bytes));
    EXPECT_FALSE(TryEncodeCp932(kEmojiUtf8, Bytes));
    EXPECT_EQ(DecodeCp932(Cat({kNihonCp932, kFullTildeCp932})), Cat({kNihonUtf8, kFullTildeUtf8}));
}

// ---------------------------------------------------------------------------
// Writing a file

class WriteFileTest : public ::testing::Test {
protected:
    TempFolder Folder;
    const time_t OldTime = LocalTime(2001, 2, 3, 4, 5, 6);

    std::string Target() const { return Folder.Path("book.csv"); }
};

TEST_F(WriteFileTest, WritesThenLeavesAnUnchangedFileAlone)
{
    const std::string Bytes = EncodeTextLines(TFields{Cat({kNihonUtf8, ",1,500"}), "x,2"});
    EXPECT_TRUE(WriteFileIfChanged(Target(), Bytes));
    EXPECT_EQ(Escaped(ReadBytes(Target())), Escaped(Bytes));

    SetModificationTime(Target(), OldTime);
    EXPECT_FALSE(WriteFileIfChanged(Target(), Bytes));
    EXPECT_EQ(StatOf(Target()).st_mtim.tv_sec, OldTime);
    EXPECT_EQ(Escaped(ReadBytes(Target())), Escaped(Bytes));
    EXPECT_EQ(Folder.Entries(), TFields{"book.csv"});
}

TEST_F(WriteFileTest, NewContentReplacesTheFile)
{
    struct TCase {
        const char* What;
        std::string Old, New;
    };
    const TCase Cases[] = {
        {"different bytes, same length", "a,1\r\n", "a,2\r\n"},
        {"longer", "a\r\n", "a\r\nb\r\n"},
        {"shorter", "a\r\nb\r\n", "a\r\n"},
        {"prefix of the old", "abc", "ab"},
        {"to empty", "a\r\n", ""},
        {"from empty", "", "a\r\n"},
    };
    for (const TCase& C : Cases) {
        WriteBytes(Target(), C.Old);
        SetModificationTime(Target(), OldTime);
        EXPECT_TRUE(WriteFileIfChanged(Target(), C.New)) << C.What;
        EXPECT_EQ(Escaped(ReadBytes(Target())), Escaped(C.New)) << C.What;
        EXPECT_NE(StatOf(Target()).st_mtim.tv_sec, OldTime) << C.What;
        EXPECT_EQ(Folder.Entries(), TFields{"book.csv"}) << C.What << ": a temporary file was left";
        EXPECT_FALSE(WriteFileIfChanged(Target(), C.New)) << C.What;
    }
}

TEST_F(WriteFileTest, NewEmptyFileIsWritten)
{
    EXPECT_TRUE(WriteFileIfChanged(Target(), ""));
    struct stat St {};
    ASSERT_EQ(::stat(Target().c_str(), &St), 0);
    EXPECT_EQ(St.st_size, 0);
    EXPECT_FALSE(WriteFileIfChanged(Target(), ""));
}

TEST_F(WriteFileTest, NewFileFollowsTheUmask)
{
    const mode_t Saved = ::umask(022);
    const bool Written = WriteFileIfChanged(Target(), "a\r\n");
    ::umask(Saved);
    EXPECT_TRUE(Written);
    EXPECT_EQ(StatOf(Target()).st_mode & 07777, mode_t{0644});
}

TEST_F(WriteFileTest, ReplacedFileKeepsItsPermissionBits)
{
    for (const mode_t Mode : {mode_t{0640}, mode_t{0600}, mode_t{0664}, mode_t{0755}}) {
        WriteBytes(Target(), "old\r\n");
        ASSERT_EQ(::chmod(Target().c_str(), Mode), 0);
        EXPECT_TRUE(WriteFileIfChanged(Target(), "new\r\n"));
        EXPECT_EQ(StatOf(Target()).st_mode & 07777, Mode) << std::oct << Mode;
        EXPECT_EQ(ReadBytes(Target()), "new\r\n");
    }
}

TEST_F(WriteFileTest, ReadOnlyFileIsNotReplaced)
{
    WriteBytes(Target(), "old\r\n");
    ASSERT_EQ(::chmod(Target().c_str(), 0444), 0);
    try {
        WriteFileIfChanged(Target(), "new\r\n");
        ADD_FAILURE() << "a read-only file was replaced (running as uid " << ::getuid() << ")";
    } catch (const ETvrError& E) {
        EXPECT_NE(std::string(E.what()).find(std::strerror(EACCES)), std::string::npos) << E.what();
    }
    EXPECT_EQ(ReadBytes(Target()), "old\r\n");
    EXPECT_EQ(StatOf(Target()).st_mode & 07777, mode_t{0444});
    EXPECT_EQ(Folder.Entries(), TFields{"book.csv"});

    // The same content needs no write, so it is no error.
    EXPECT_FALSE(WriteFileIfChanged(Target(), "old\r\n"));
}

TEST_F(WriteFileTest, MissingFolderRaises)
{
    const std::string Name = Folder.Path("no-such-folder/book.csv");
    try {
        WriteFileIfChanged(Name, "a\r\n");
        ADD_FAILURE() << "no error";
    } catch (const ETvrError& E) {
        EXPECT_NE(std::string(E.what()).find(std::strerror(ENOENT)), std::string::npos) << E.what();
    }
    EXPECT_EQ(Folder.Entries(), TFields{});
}

TEST_F(WriteFileTest, FolderInPlaceOfTheFileRaises)
{
    ASSERT_EQ(::mkdir(Target().c_str(), 0755), 0);
    EXPECT_THROW(WriteFileIfChanged(Target(), "a\r\n"), ETvrError);
    EXPECT_EQ(Folder.Entries(), TFields{"book.csv"});
}

TEST_F(WriteFileTest, LinkedFileIsWrittenThroughTheLink)
{
    const std::string Real = Folder.Path("real.csv");
    const std::string Link = Folder.Path("link.csv");
    WriteBytes(Real, "old\r\n");
    ASSERT_EQ(::symlink(Real.c_str(), Link.c_str()), 0);
    EXPECT_TRUE(WriteFileIfChanged(Link, "new\r\n"));
    struct stat St {};
    ASSERT_EQ(::lstat(Link.c_str(), &St), 0);
    EXPECT_TRUE(S_ISLNK(St.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(ReadBytes(Real), "new\r\n");
    EXPECT_FALSE(WriteFileIfChanged(Link, "new\r\n"));
    EXPECT_EQ(Folder.Entries(), (TFields{"link.csv", "real.csv"}));
}

// A book's path in a shared output folder may hold a link that someone
// planted: the book replaces the link, the file it points to keeps its
// bytes and time, and nothing is made beside that file.
TEST_F(WriteFileTest, LinkAtABooksPathIsReplacedNotWrittenThrough)
{
    const std::string Victim = Folder.WriteBytes("home/.bashrc", "export A=1\n");
    SetModificationTime(Victim, OldTime);
    ::mkdir(Folder.Path("output").c_str(), 0755);
    const std::string Book = Folder.Path("output/11金銭出納簿.csv");
    struct TCase {
        const char* What;
        std::string LinkTarget;
        std::string Bytes;
    };
    const TCase Cases[] = {
        {"link to another file", Victim, "new book\r\n"},
        {"link to a file of the same bytes", Victim, "export A=1\n"},
        {"dangling link", Folder.Path("home/none.csv"), "new book\r\n"},
        {"link to a folder", Folder.Path("home"), "new book\r\n"},
    };
    for (const TCase& C : Cases) {
        std::remove(Book.c_str());
        ASSERT_EQ(::symlink(C.LinkTarget.c_str(), Book.c_str()), 0) << C.What;
        EXPECT_TRUE(WriteFileIfChanged(Book, C.Bytes, TTvrWriteDurability::Regenerable, TTvrLinkWrite::Replace))
            << C.What;
        struct stat St {};
        ASSERT_EQ(::lstat(Book.c_str(), &St), 0) << C.What;
        EXPECT_TRUE(S_ISREG(St.st_mode)) << C.What << ": the link is still there";
        EXPECT_EQ(ReadBytes(Book), C.Bytes) << C.What;
        EXPECT_EQ(ReadBytes(Victim), "export A=1\n") << C.What;
        EXPECT_EQ(StatOf(Victim).st_mtim.tv_sec, OldTime) << C.What;
        EXPECT_EQ(TempFolder::Entries(Folder.Path("home")), TFields{".bashrc"}) << C.What;
        EXPECT_EQ(TempFolder::Entries(Folder.Path("output")), TFields{"11金銭出納簿.csv"}) << C.What;
        // Now a file of its own: the same bytes leave it alone.
        EXPECT_FALSE(WriteFileIfChanged(Book, C.Bytes, TTvrWriteDurability::Regenerable, TTvrLinkWrite::Replace))
            << C.What;
    }
}

// A run that was killed while writing leaves its temporary file; a later
// run removes those of its own naming whose process has ended, and nothing
// else.
TEST_F(WriteFileTest, StaleTemporaryFilesOfEndedWritersAreRemoved)
{
    // A process that has ended: its id runs no longer.
    const pid_t Ended = ::fork();
    if (Ended == 0)
        ::_exit(0);
    ASSERT_GT(Ended, 0);
    ASSERT_EQ(::waitpid(Ended, nullptr, 0), Ended);
    const std::string Dead = std::to_string(Ended);
    const std::string Alive = std::to_string(::getpid());
    const TFields Removed = {
        ".11金銭出納簿.csv." + Dead + "-0.tmp",
        ".18試算表.csv." + Dead + "-17.tmp",
        ".a.b.csv." + Dead + "-3.tmp",
    };
    const TFields Kept = {
        ".11金銭出納簿.csv." + Alive + "-0.tmp",  // this process
        ".12現金出納簿.csv.1-0.tmp",               // the init process
        "11金銭出納簿.csv." + Dead + "-0.tmp",     // not hidden
        "." + Dead + "-0.tmp",                      // no name before the id
        ".x.csv." + Dead + "-.tmp",
        ".x.csv." + Dead + "-1a.tmp",
        ".x.csv.-1.tmp",
        ".x.csv." + Dead + "-1.tmp.bak",
        ".x.csv." + Dead + "-1.TMP",
        "11金銭出納簿.csv",
    };
    for (const std::string& Name : Removed)
        Folder.WriteBytes(Name, "half a book");
    for (const std::string& Name : Kept)
        Folder.WriteBytes(Name, "keep");
    // Of the pattern, but not a regular file: a folder and a link.
    const std::string DirName = ".d.csv." + Dead + "-0.tmp";
    const std::string LinkName = ".l.csv." + Dead + "-0.tmp";
    ASSERT_EQ(::mkdir(Folder.Path(DirName).c_str(), 0755), 0);
    ASSERT_EQ(::symlink(Folder.Path("11金銭出納簿.csv").c_str(), Folder.Path(LinkName).c_str()), 0);

    RemoveStaleTemporaryFiles(Folder.Path());

    TFields Expected = Kept;
    Expected.push_back(DirName);
    Expected.push_back(LinkName);
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Folder.Entries(), Expected);
    EXPECT_EQ(ReadBytes(Folder.Path("11金銭出納簿.csv")), "keep");
    // A folder that cannot be read is no error.
    RemoveStaleTemporaryFiles(Folder.Path("no-such-folder"));
}

// A text made in pieces: about 700 KB of ASCII lines, so that it spans several
// pieces and several buffers of comparison, then a last line.
void MakeLongText(TTvrTextOut& AOut, std::string_view ALastLine)
{
    for (int I = 0; I < 30000; ++I) {
        AOut.Text().append("2025/04/01,row " + std::to_string(I) + ",1500\r\n");
        AOut.LineDone();
    }
    AOut.Text().append(ALastLine);
    AOut.LineDone();
}

std::string LongText(std::string_view ALastLine)
{
    TTvrTextCollector Text;
    MakeLongText(Text, ALastLine);
    return Text.Result();
}

// A text written piece by piece gives the bytes the whole text's encoding
// gives, whatever the file held before: the file is replaced unless it held
// exactly those bytes, and then it keeps its time.
TEST_F(WriteFileTest, TextMadeInPiecesIsWrittenAsAWholeText)
{
    const std::string Last = Cat({"2026/03/31,", kNihonUtf8, ",0\r\n"});
    const std::string Encoded = EncodeText(LongText(Last));
    std::string LastByteDiffers = Encoded;
    LastByteDiffers.back() = 'x';
    struct TCase {
        const char* What;
        std::optional<std::string> Old;
        std::string LastLine;
        bool Changed;
        bool Utf8;
    };
    const TCase Cases[] = {
        {"no file", std::nullopt, Last, true, false},
        {"unchanged", Encoded, Last, false, false},
        {"only the last byte differs", LastByteDiffers, Last, true, false},
        {"old file longer", Encoded + "more\r\n", Last, true, false},
        {"old file shorter", Encoded.substr(0, Encoded.size() - 1), Last, true, false},
        {"old file empty", std::string(), Last, true, false},
        // The code page 932 bytes of every line but the last agree with the
        // file; the last line needs UTF-8: the whole file becomes UTF-8.
        {"unencodable character in the last line", Encoded, Cat({"2026/03/31,", kEmojiUtf8, "\r\n"}), true, true},
        // Half-width kana ﾃｽ, whose code page 932 bytes C3 BD read back as
        // UTF-8.
        {"kana in the last line that read as UTF-8", Encoded, "\xEF\xBE\x83\xEF\xBD\xBD\r\n", true, true},
    };
    TTvrTextWriter Writer;
    for (const TCase& C : Cases) {
        ::unlink(Target().c_str());
        if (C.Old) {
            WriteBytes(Target(), *C.Old);
            SetModificationTime(Target(), OldTime);
        }
        const std::string Expected = EncodeText(LongText(C.LastLine));
        TTvrFileWriter File = Writer.Write(
            Target(), [&](TTvrTextOut& AOut) { MakeLongText(AOut, C.LastLine); }, TTvrWriteDurability::Regenerable,
            TTvrLinkWrite::Replace);
        // Finished, not yet in place.
        if (C.Old)
            EXPECT_EQ(ReadBytes(Target()), *C.Old) << C.What;
        File.Commit();
        const std::string Written = ReadBytes(Target());
        EXPECT_EQ(Written.size(), Expected.size()) << C.What;
        EXPECT_TRUE(Written == Expected) << C.What;
        EXPECT_EQ(StatOf(Target()).st_mtim.tv_sec == OldTime, !C.Changed) << C.What;
        EXPECT_EQ(Folder.Entries(), TFields{"book.csv"}) << C.What << ": a temporary file was left";
        // Code page 932, or the whole text as UTF-8 after its mark.
        const std::string Text = LongText(C.LastLine);
        EXPECT_EQ(Written.substr(0, 3) == "\xEF\xBB\xBF" && Written.substr(3) == Text, C.Utf8) << C.What;
        std::string Cp932;
        EXPECT_EQ(TryEncodeCp932(Text, Cp932) && Written == Cp932, !C.Utf8) << C.What;
    }
}

// A writer destroyed before Commit leaves the old file and no temporary one.
TEST_F(WriteFileTest, TextWriterNotCommittedLeavesTheOldFile)
{
    WriteBytes(Target(), "old\r\n");
    {
        TTvrTextWriter Writer;
        TTvrFileWriter File = Writer.Write(
            Target(), [](TTvrTextOut& AOut) { MakeLongText(AOut, "new\r\n"); }, TTvrWriteDurability::Regenerable,
            TTvrLinkWrite::Replace);
    }
    EXPECT_EQ(ReadBytes(Target()), "old\r\n");
    EXPECT_EQ(Folder.Entries(), TFields{"book.csv"});
}

// Bytes given in pieces, cut anywhere, are judged as the whole bytes are.
TEST(Utf8Look, PiecesCutAnywhereJudgeAsTheWhole)
{
    const std::string Cases[] = {
        "plain ASCII",
        Cat({"a", kNihonUtf8, "b"}),
        Cat({kEmojiUtf8, "x"}),
        "\x83\x65\x83\x58",  // code page 932 カタカナ-like bytes
        "\xC3\xBD\xC3",       // cut short at the end
        "\xE3\x81",
        "ab\xFF",
    };
    for (const std::string& Bytes : Cases)
        for (size_t Cut = 0; Cut <= Bytes.size(); ++Cut)
            for (size_t Cut2 = Cut; Cut2 <= Bytes.size(); ++Cut2) {
                TTvrUtf8Look Look;
                Look.Add(std::string_view(Bytes).substr(0, Cut));
                Look.Add(std::string_view(Bytes).substr(Cut, Cut2 - Cut));
                Look.Add(std::string_view(Bytes).substr(Cut2));
                EXPECT_EQ(Look.LooksLikeUtf8(), LooksLikeUtf8(Bytes)) << Escaped(Bytes) << " cut at " << Cut << ", " << Cut2;
            }
}

TEST_F(WriteFileTest, WrittenLinesReadBack)
{
    const TFields Rows[] = {
        {"2024/04/01", Cat({kNihonUtf8, " ", kAUtf8}), "1,500"},
        {"", "say \"hi\"", ""},
        {"", "", ""},
    };
    TFields Lines;
    for (const auto& Row : Rows)
        Lines.push_back(MakeCsvLine(Row));
    ASSERT_TRUE(WriteFileIfChanged(Target(), EncodeTextLines(Lines)));
    const TFields Back = ReadTextLines(Target());
    ASSERT_EQ(Back.size(), std::size(Rows));
    for (size_t I = 0; I < Back.size(); ++I) {
        EXPECT_EQ(SplitCsvLine(Back[I]), Rows[I]) << "row " << I << " line <" << Back[I] << ">";
    }
}

// ---------------------------------------------------------------------------
// File names and times

TEST(ExtractFileName, TextAfterTheLastSlash)
{
    EXPECT_EQ(ExtractFileName("/a/b/c.csv"), "c.csv");
    EXPECT_EQ(ExtractFileName("c.csv"), "c.csv");
    EXPECT_EQ(ExtractFileName("/a/b/"), "");
    EXPECT_EQ(ExtractFileName(""), "");
}

TEST(FileModificationTime, LocalTimeOfTheFileFollowingLinks)
{
    TempFolder Folder;
    const std::string Name = Folder.Path("t.csv");
    WriteBytes(Name, "a\r\n");
    SetModificationTime(Name, LocalTime(2023, 5, 17, 10, 20, 30));
    const TTvrDate Expected = TTvrDate::FromSerial(TTvrDate::Encode(2023, 5, 17).Serial()
                                                   + (10 * 3600 + 20 * 60 + 30) / 86400.0);
    EXPECT_NEAR(FileModificationTime(Name).Serial(), Expected.Serial(), 1e-7);

    const std::string Link = Folder.Path("link.csv");
    ASSERT_EQ(::symlink(Name.c_str(), Link.c_str()), 0);
    EXPECT_NEAR(FileModificationTime(Link).Serial(), Expected.Serial(), 1e-7);

    EXPECT_THROW(FileModificationTime(Folder.Path("missing.csv")), ETvrError);
    EXPECT_THROW(FileModificationTime(Folder.Path()), ETvrError);
    TTvrDate Date;
    EXPECT_THROW((void)TryFileModificationTime(Folder.Path("missing.csv"), Date), ETvrError);
    ASSERT_TRUE(TryFileModificationTime(Link, Date));
    EXPECT_NEAR(Date.Serial(), Expected.Serial(), 1e-7);
}

// A file time outside the years 1 to 9999 (an archive or a broken clock)
// has no date: it is unknown, not an error of the file and never a crash.
// Only a file system of 64-bit times (tmpfs) can hold such a time.
TEST(FileModificationTime, TimeOutsideTheCalendarIsUnknown)
{
    char Template[] = "/dev/shm/tavrel-time-XXXXXX";
    if (::mkdtemp(Template) == nullptr)
        GTEST_SKIP() << "no /dev/shm to hold a file of year 10000";
    const std::string Name = std::string(Template) + "/t.csv";
    WriteBytes(Name, "a,1\r\n");
    // The first second of year 10000, and a second in year 0.
    for (const time_t Seconds : {time_t{253402300800}, time_t{-62135596900}}) {
        SCOPED_TRACE(Seconds);
        struct timespec Times[2] {};
        Times[0].tv_sec = Times[1].tv_sec = Seconds;
        ASSERT_EQ(::utimensat(AT_FDCWD, Name.c_str(), Times, 0), 0);
        if (StatOf(Name).st_mtim.tv_sec != Seconds) {
            ::unlink(Name.c_str());
            ::rmdir(Template);
            GTEST_SKIP() << "the file system cannot hold the time";
        }
        TTvrDate Date = TTvrDate::FromSerial(-1);
        EXPECT_FALSE(TryFileModificationTime(Name, Date));
        EXPECT_EQ(Date.Serial(), -1.0);
        try {
            FileModificationTime(Name);
            ADD_FAILURE() << "no error";
        } catch (const ETvrError& E) {
            EXPECT_EQ(std::string(E.what()), "ファイル \"" + Name + "\" の更新日時が範囲外です。");
        }
        // A sheet of the file loads, its time unknown.
        TTvrSheet Sheet;
        Sheet.LoadFromFile(Name, TTvrFieldDefDynArray{{"a", sftString, 4}, {"b", sftInteger, 4}}, TTvrRegionalSettings());
        EXPECT_FALSE(Sheet.FileTimeStampKnown());
        EXPECT_EQ(Sheet.FileTimeStamp().Serial(), 0.0);
        EXPECT_EQ(Sheet.Cells(1, 0), TTvrValue(int32_t{1}));
    }
    ::unlink(Name.c_str());
    ::rmdir(Template);
}

// A file name is bytes: one written on Windows holds code page 932. For the
// user and the keyword match it is read as that code page when it decodes
// cleanly, else shown with U+FFFD for the bytes that are no character.
TEST(FileNameText, Utf8ElseCodePage932ElseReplacementCharacters)
{
    const std::string R(kReplacementUtf8);
    struct TCase {
        const char* What;
        std::string Name;
        std::string Expected;
    };
    const TCase Cases[] = {
        {"UTF-8", "収支科目マスタ.csv", "収支科目マスタ.csv"},
        {"ASCII", "kamoku-2025.csv", "kamoku-2025.csv"},
        {"code page 932", ToCp932("収支科目マスタ.csv"), "収支科目マスタ.csv"},
        {"code page 932 half-width kana", "\xB6\xDD\xBC\xDE\xAE\xB3.csv", "ｶﾝｼﾞｮｳ.csv"},
        {"code page 932 path", "/media/usb/" + ToCp932("会計") + "/" + ToCp932("金銭出納テーブル.csv"),
         "/media/usb/会計/金銭出納テーブル.csv"},
        {"lead byte at the end", "a\x82", "a" + R},
        {"neither", "\xFF\xFE" "abc.csv", R + R + "abc.csv"},
        {"UTF-8 with one bad byte", "日本\xFF.csv", "日本" + R + ".csv"},
        {"empty", "", ""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(FileNameText(C.Name), C.Expected) << C.What << ": <" << Escaped(C.Name) << ">";
}
