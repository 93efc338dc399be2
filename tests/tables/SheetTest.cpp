// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Sheets: typed cells loaded from a CSV file, titled by column definitions.

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tables/TvrCsv.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"
#include "TablesTestSupport.h"

using namespace tavrel;
using namespace tavrel::testing_support;
using namespace tavrel::test;

namespace {

const TTvrRegionalSettings kJapan{};

// Text, integer, float and date columns, in that order.
const std::vector<TTvrFieldDef> kFourColumns = {
    {"名前", sftString, 20},
    {"数量", sftInteger, 8},
    {"金額", sftDouble, 12},
    {"日付", sftDate, 10},
};

class SheetTest : public ::testing::Test {
protected:
    TempFolder Folder;

    std::string Write(std::string_view AName, std::string_view ABytes)
    {
        const std::string Name = Folder.Path(AName);
        WriteBytes(Name, ABytes);
        return Name;
    }

    static void ExpectRow(const TTvrSheet& ASheet, int ARow, const std::vector<TTvrValue>& AExpected)
    {
        ASSERT_EQ(ASheet.ColCount(), static_cast<int>(AExpected.size()));
        for (int Col = 0; Col < ASheet.ColCount(); ++Col) {
            const TTvrValue Actual = ASheet.Cells(Col, ARow);
            EXPECT_EQ(Actual, AExpected[static_cast<size_t>(Col)])
                << "row " << ARow << " col " << Col << ": got " << Describe(Actual) << ", expected "
                << Describe(AExpected[static_cast<size_t>(Col)]);
        }
    }
};

} // namespace

TEST(TvrFields, AddCopiesTheDefinition)
{
    TTvrFields Fields;
    EXPECT_EQ(Fields.Count(), 0);
    TTvrFieldDef Def{"科目", sftInteger, 7};
    EXPECT_EQ(Fields.Add(Def), 0);
    Def.Name = "changed";
    EXPECT_EQ(Fields.Add({"日付", sftDate, 10}), 1);
    ASSERT_EQ(Fields.Count(), 2);
    EXPECT_EQ(Fields.Fields(0).Name(), "科目");
    EXPECT_EQ(Fields.Fields(0).FieldType(), sftInteger);
    EXPECT_EQ(Fields.Fields(0).CharCount(), 7);
    EXPECT_EQ(Fields.Fields(1).Name(), "日付");
    EXPECT_EQ(Fields.Fields(1).FieldType(), sftDate);
    Fields.Clear();
    EXPECT_EQ(Fields.Count(), 0);
}

TEST(TvrSheet, NewSheetIsEmpty)
{
    const TTvrSheet Sheet;
    EXPECT_EQ(Sheet.ColCount(), 0);
    EXPECT_EQ(Sheet.RowCount(), 0);
    EXPECT_EQ(Sheet.FileName(), "");
    EXPECT_EQ(Sheet.Fields().Count(), 0);
}

TEST(TvrSheets, AddAndClear)
{
    TTvrSheets Sheets;
    EXPECT_EQ(Sheets.Count(), 0);
    EXPECT_EQ(Sheets.Add(), 0);
    EXPECT_EQ(Sheets.Add(), 1);
    ASSERT_EQ(Sheets.Count(), 2);
    EXPECT_NE(&Sheets.Sheets(0), &Sheets.Sheets(1));
    EXPECT_EQ(Sheets.Sheets(1).RowCount(), 0);
    Sheets.Clear();
    EXPECT_EQ(Sheets.Count(), 0);
}

TEST_F(SheetTest, CellsFollowTheColumnTypes)
{
    const std::string Name = Write("types.csv",
                                   "alpha,\"1,234\",\"-1,500.25\",2024/04/01\r\n"
                                   "beta,abc,1e3,2024-4-1\r\n"
                                   "\"g h\", 12 ,12.5,2024/13/01\r\n"
                                   "\"\",,x,2023/02/29\r\n"
                                   "\" d \",\" 7 \",\" 2 \",\" 2024.4.1 \"\r\n");
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    EXPECT_EQ(Sheet.FileName(), Name);
    EXPECT_EQ(Sheet.ColCount(), 4);
    ASSERT_EQ(Sheet.RowCount(), 5);
    ExpectRow(Sheet, 0, {TTvrValue("alpha"), TTvrValue(int32_t{1234}), TTvrValue(-1500.25), TTvrValue(Ymd(2024, 4, 1))});
    ExpectRow(Sheet, 1, {TTvrValue("beta"), TTvrValue("abc"), TTvrValue(1000.0), TTvrValue(Ymd(2024, 4, 1))});
    ExpectRow(Sheet, 2, {TTvrValue("g h"), TTvrValue(int32_t{12}), TTvrValue(12.5), TTvrValue("2024/13/01")});
    // An empty field is an empty text in a text column and null elsewhere.
    ExpectRow(Sheet, 3, {TTvrValue(""), TTvrValue(), TTvrValue("x"), TTvrValue("2023/02/29")});
    // Quoted blanks stay in a text column; the conversions trim.
    ExpectRow(Sheet, 4, {TTvrValue(" d "), TTvrValue(int32_t{7}), TTvrValue(2.0), TTvrValue(Ymd(2024, 4, 1))});

    for (int Col = 0; Col < 4; ++Col) {
        EXPECT_EQ(Sheet.Fields().Fields(Col).Name(), kFourColumns[static_cast<size_t>(Col)].Name);
        EXPECT_EQ(Sheet.Fields().Fields(Col).FieldType(), kFourColumns[static_cast<size_t>(Col)].FieldType);
        EXPECT_EQ(Sheet.Fields().Fields(Col).CharCount(), kFourColumns[static_cast<size_t>(Col)].CharCount);
    }
}

TEST_F(SheetTest, BlankLinesGiveNullRowsAndLaterRowsKeepTheirIndex)
{
    const std::string Name = Write("blank.csv",
                                   "a,1,1,2024/04/01\r\n"
                                   "\r\n"
                                   ",,,\r\n"
                                   "   \r\n"
                                   "\"\"\r\n"
                                   "b,2,2,2024/04/02\r\n");
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 6);
    ExpectRow(Sheet, 0, {TTvrValue("a"), TTvrValue(int32_t{1}), TTvrValue(1.0), TTvrValue(Ymd(2024, 4, 1))});
    for (int Row = 1; Row <= 4; ++Row)
        ExpectRow(Sheet, Row, {TTvrValue(), TTvrValue(), TTvrValue(), TTvrValue()});
    ExpectRow(Sheet, 5, {TTvrValue("b"), TTvrValue(int32_t{2}), TTvrValue(2.0), TTvrValue(Ymd(2024, 4, 2))});
}

TEST_F(SheetTest, FewerFieldsLeaveNullsAndExtraFieldsAreIgnored)
{
    const std::string Name = Write("ragged.csv",
                                   "a\r\n"
                                   "b,5\r\n"
                                   "c,6,7.5,2024/04/01,extra,more\r\n"
                                   "d,\r\n");
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 4);
    ExpectRow(Sheet, 0, {TTvrValue("a"), TTvrValue(), TTvrValue(), TTvrValue()});
    ExpectRow(Sheet, 1, {TTvrValue("b"), TTvrValue(int32_t{5}), TTvrValue(), TTvrValue()});
    ExpectRow(Sheet, 2, {TTvrValue("c"), TTvrValue(int32_t{6}), TTvrValue(7.5), TTvrValue(Ymd(2024, 4, 1))});
    ExpectRow(Sheet, 3, {TTvrValue("d"), TTvrValue(), TTvrValue(), TTvrValue()});
}

TEST_F(SheetTest, LineEndsDoNotChangeTheRows)
{
    const std::string Bodies[] = {
        "a,1\r\nb,2\r\n",
        "a,1\r\nb,2",
        "a,1\nb,2\n",
        "a,1\rb,2",
    };
    const std::vector<TTvrFieldDef> Defs = {{"k", sftString, 4}, {"v", sftInteger, 4}};
    for (const std::string& Body : Bodies) {
        TTvrSheet Sheet;
        Sheet.LoadFromFile(Write("ends.csv", Body), Defs, kJapan);
        ASSERT_EQ(Sheet.RowCount(), 2) << Escaped(Body);
        EXPECT_EQ(Sheet.Cells(0, 1), TTvrValue("b")) << Escaped(Body);
        EXPECT_EQ(Sheet.Cells(1, 1), TTvrValue(int32_t{2})) << Escaped(Body);
    }
}

TEST_F(SheetTest, CellsReadInAnyOrderAgree)
{
    std::string Body;
    for (int Row = 0; Row < 20; ++Row)
    {
        Body += 'n';
        Body += std::to_string(Row);
        Body += ',';
        Body += std::to_string(Row * 10);
        Body += "\r\n";
    }
    const std::vector<TTvrFieldDef> Defs = {{"k", sftString, 4}, {"v", sftInteger, 4}};
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Write("order.csv", Body), Defs, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 20);
    // Column by column, then backwards row by row.
    for (int Col = 0; Col < 2; ++Col)
        for (int Row = 0; Row < 20; ++Row)
            EXPECT_EQ(Sheet.Cells(Col, Row),
                      Col == 0 ? TTvrValue("n" + std::to_string(Row)) : TTvrValue(int32_t{Row * 10}))
                << "col " << Col << " row " << Row;
    for (int Row = 19; Row >= 0; --Row)
        for (int Col = 1; Col >= 0; --Col)
            EXPECT_EQ(Sheet.Cells(Col, Row),
                      Col == 0 ? TTvrValue("n" + std::to_string(Row)) : TTvrValue(int32_t{Row * 10}))
                << "col " << Col << " row " << Row;
}

TEST_F(SheetTest, Utf8WithMarkAndCodePage932LoadToEqualSheets)
{
    // 会費,3,"1,500",2024/04/01 / 山田 太郎 (quoted), ｱｲｳ / ①
    const std::string Utf8 =
        "\xEF\xBB\xBF"
        "\xE4\xBC\x9A\xE8\xB2\xBB,3,\"1,500\",2024/04/01\r\n"
        "\"\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E\",x,,2024-4-2\r\n"
        "\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3\r\n"
        "\xE2\x91\xA0,\xEF\xBC\x91\r\n";
    const std::string Cp932 =
        "\x89\xEF\x94\xEF,3,\"1,500\",2024/04/01\r\n"
        "\"\x8E\x52\x93\x63 \x91\xBE\x98\x59\",x,,2024-4-2\r\n"
        "\xB1\xB2\xB3\r\n"
        "\x87\x40,\x82\x50\r\n";
    TTvrSheet FromUtf8;
    TTvrSheet FromCp932;
    FromUtf8.LoadFromFile(Write("utf8.csv", Utf8), kFourColumns, kJapan);
    FromCp932.LoadFromFile(Write("cp932.csv", Cp932), kFourColumns, kJapan);
    ASSERT_EQ(FromUtf8.RowCount(), 4);
    ASSERT_EQ(FromCp932.RowCount(), 4);
    for (int Row = 0; Row < 4; ++Row)
        for (int Col = 0; Col < 4; ++Col)
            EXPECT_EQ(FromUtf8.Cells(Col, Row), FromCp932.Cells(Col, Row))
                << "row " << Row << " col " << Col << ": " << Describe(FromUtf8.Cells(Col, Row))
                << " vs " << Describe(FromCp932.Cells(Col, Row));
    ExpectRow(FromCp932, 0, {TTvrValue("\xE4\xBC\x9A\xE8\xB2\xBB"), TTvrValue(int32_t{3}), TTvrValue(1500.0),
                             TTvrValue(Ymd(2024, 4, 1))});
    ExpectRow(FromCp932, 1, {TTvrValue("\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E"), TTvrValue("x"),
                             TTvrValue(), TTvrValue(Ymd(2024, 4, 2))});
    ExpectRow(FromCp932, 3, {TTvrValue("\xE2\x91\xA0"), TTvrValue("\xEF\xBC\x91"), TTvrValue(), TTvrValue()});
}

TEST_F(SheetTest, OtherRegionalSettings)
{
    const TTvrRegionalSettings Settings{".", ",", ".", TTvrDateOrder::DMY, ":"};
    const std::string Name = Write("eu.csv", "a,1.234,\"1.234,5\",04.01.2024\r\n"
                                             "b,\"1,5\",\"12,5\",2024/04/01\r\n");
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, Settings);
    ASSERT_EQ(Sheet.RowCount(), 2);
    ExpectRow(Sheet, 0, {TTvrValue("a"), TTvrValue(int32_t{1234}), TTvrValue(1234.5), TTvrValue(Ymd(2024, 1, 4))});
    ExpectRow(Sheet, 1, {TTvrValue("b"), TTvrValue("1,5"), TTvrValue(12.5), TTvrValue("2024/04/01")});
}

TEST_F(SheetTest, SheetWithoutColumnsHasNoRows)
{
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Write("nocols.csv", "a,1\r\nb,2\r\n"), std::vector<TTvrFieldDef>{}, kJapan);
    EXPECT_EQ(Sheet.ColCount(), 0);
    EXPECT_EQ(Sheet.RowCount(), 0);
}

TEST_F(SheetTest, EmptyFileHasNoRows)
{
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Write("empty.csv", ""), kFourColumns, kJapan);
    EXPECT_EQ(Sheet.ColCount(), 4);
    EXPECT_EQ(Sheet.RowCount(), 0);
}

TEST_F(SheetTest, LoadingAgainReplacesEverything)
{
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Write("first.csv", "a,1,1,2024/04/01\r\nb,2,2,2024/04/02\r\nc,3,3,2024/04/03\r\n"),
                       kFourColumns, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 3);
    EXPECT_EQ(Sheet.Cells(0, 0), TTvrValue("a"));

    const std::vector<TTvrFieldDef> Defs = {{"v", sftInteger, 4}, {"k", sftString, 4}};
    const std::string Second = Write("second.csv", "10,x\r\n");
    Sheet.LoadFromFile(Second, Defs, kJapan);
    EXPECT_EQ(Sheet.FileName(), Second);
    ASSERT_EQ(Sheet.ColCount(), 2);
    ASSERT_EQ(Sheet.RowCount(), 1);
    EXPECT_EQ(Sheet.Fields().Fields(0).Name(), "v");
    EXPECT_EQ(Sheet.Cells(0, 0), TTvrValue(int32_t{10}));
    EXPECT_EQ(Sheet.Cells(1, 0), TTvrValue("x"));
}

TEST_F(SheetTest, MissingFileRaisesAndKeepsNameAndFields)
{
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Write("before.csv", "a,1,1,2024/04/01\r\n"), kFourColumns, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 1);

    const std::vector<TTvrFieldDef> Defs = {{"v", sftInteger, 4}, {"k", sftString, 4}};
    const std::string Missing = Folder.Path("missing.csv");
    EXPECT_THROW(Sheet.LoadFromFile(Missing, Defs, kJapan), ETvrError);
    EXPECT_EQ(Sheet.FileName(), Missing);
    ASSERT_EQ(Sheet.ColCount(), 2);
    EXPECT_EQ(Sheet.Fields().Fields(0).Name(), "v");
    EXPECT_EQ(Sheet.Fields().Fields(1).Name(), "k");
    EXPECT_EQ(Sheet.RowCount(), 0);
}

TEST_F(SheetTest, FolderNameRaises)
{
    TTvrSheet Sheet;
    EXPECT_THROW(Sheet.LoadFromFile(Folder.Path(), kFourColumns, kJapan), ETvrError);
    EXPECT_EQ(Sheet.FileName(), Folder.Path());
    EXPECT_EQ(Sheet.ColCount(), 4);
    EXPECT_EQ(Sheet.RowCount(), 0);
}

// The viewer's sheet of a FIFO or a device would wait or read without end:
// it is refused with a message, like a folder.
TEST_F(SheetTest, OnlyRegularFilesLoad)
{
    const std::string Fifo = Folder.Path("fifo.csv");
    ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
    for (const std::string& Path : {Fifo, std::string("/dev/zero")}) {
        TTvrSheet Sheet;
        try {
            Sheet.LoadFromFile(Path, kFourColumns, kJapan);
            ADD_FAILURE() << Path << " loaded";
        } catch (const ETvrError& E) {
            EXPECT_EQ(std::string(E.what()), "ファイル \"" + Path + "\" を開けません。通常のファイルではありません。");
        }
        EXPECT_EQ(Sheet.FileName(), Path);
        EXPECT_EQ(Sheet.RowCount(), 0);
    }
}

// A book may hold a total beyond the amounts a table may hold: its sheet
// shows it as the number it is.
TEST_F(SheetTest, NumbersBeyondTheAmountsOfATableStayNumbers)
{
    const std::string Name = Write("large.csv", "a,1,9007199254740993,2024/4/1\r\nb,1,1E20,\r\nc,1,1.8e308,\r\n");
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    EXPECT_EQ(Sheet.Cells(2, 0), TTvrValue(9007199254740993.0));
    EXPECT_EQ(Sheet.Cells(2, 1), TTvrValue(1e20));
    EXPECT_EQ(Sheet.Cells(2, 2), TTvrValue("1.8e308"));
}

TEST_F(SheetTest, FileTimeStampIsTheModificationTimeInLocalTime)
{
    const std::string Name = Write("stamp.csv", "a\r\n");
    SetModificationTime(Name, LocalTime(2023, 5, 17, 10, 20, 30));
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    EXPECT_EQ(Sheet.FileTimeStamp().DateOnly(), Ymd(2023, 5, 17));
    EXPECT_NEAR(Sheet.FileTimeStamp().Serial(),
                Ymd(2023, 5, 17).Serial() + (10 * 3600 + 20 * 60 + 30) / 86400.0, 1e-7);

    // Through a link, the time of the file the link points to.
    const std::string Link = Folder.Path("link.csv");
    ASSERT_EQ(::symlink(Name.c_str(), Link.c_str()), 0);
    TTvrSheet Linked;
    Linked.LoadFromFile(Link, kFourColumns, kJapan);
    EXPECT_EQ(Linked.FileTimeStamp().DateOnly(), Ymd(2023, 5, 17));
    EXPECT_EQ(Linked.Cells(0, 0), TTvrValue("a"));
}

TEST_F(SheetTest, WrittenRowsLoadBack)
{
    // The path every writer takes: fields -> lines -> bytes -> file.
    const std::vector<std::vector<std::string>> Rows = {
        {"\xE4\xBC\x9A\xE8\xB2\xBB \xE5\x85\xA5\xE9\x87\x91", "1,500", "-2500.5", "2024/04/01"},
        {"", "", "", ""},
        {"say \"hi\"", "abc", "1E15", "2024-4-2"},
        {"\xE3\x80\x9C", "$1F", "0.00001", ""},
    };
    std::vector<std::string> Lines;
    for (const auto& Row : Rows)
        Lines.push_back(MakeCsvLine(Row));
    const std::string Name = Folder.Path("written.csv");
    ASSERT_TRUE(WriteFileIfChanged(Name, EncodeTextLines(Lines)));
    TTvrSheet Sheet;
    Sheet.LoadFromFile(Name, kFourColumns, kJapan);
    ASSERT_EQ(Sheet.RowCount(), 4);
    ExpectRow(Sheet, 0, {TTvrValue(Rows[0][0]), TTvrValue(int32_t{1500}), TTvrValue(-2500.5), TTvrValue(Ymd(2024, 4, 1))});
    ExpectRow(Sheet, 1, {TTvrValue(), TTvrValue(), TTvrValue(), TTvrValue()});
    ExpectRow(Sheet, 2, {TTvrValue("say \"hi\""), TTvrValue("abc"), TTvrValue(1e15), TTvrValue(Ymd(2024, 4, 2))});
    ExpectRow(Sheet, 3, {TTvrValue("\xE3\x80\x9C"), TTvrValue(int32_t{31}), TTvrValue(0.00001), TTvrValue()});
}
