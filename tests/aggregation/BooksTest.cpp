// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The list of books and the schemas of the files: every book built alone
// from fresh tables and a fresh ledger is the book of a whole run, and every
// file, book or source table, has as many fields on a line as its column
// definitions say.

#include "AggregationTestSupport.h"

#include "aggregation/SumBooks.h"
#include "aggregation/SumLedger.h"
#include "sources/SrcTables.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrCsv.h"

namespace tavrel {

// Failures name a book by its file.
void PrintTo(const TSumBook& ABook, std::ostream* AStream) { *AStream << ABook.Schema.FileName(); }

} // namespace tavrel

namespace tavrel::aggtest {
namespace {

// Middle items, minor items under a middle item and directly under a major
// item, a person master, transactions in two months.
const char* const kEveryKindOfBook = "major_middle_statements";

// The name of a book's case: "Book11" for "11金銭出納簿.csv".
std::string CaseName(const ::testing::TestParamInfo<TSumBook>& AInfo)
{
    return "Book" + AInfo.param.Schema.FileName().substr(0, 2);
}

class BookBuiltAlone : public ::testing::TestWithParam<TSumBook> {};

TEST_P(BookBuiltAlone, EqualsTheSameBookOfAWholeRun)
{
    const TSumBook& Book = GetParam();
    TempFolder Temp;
    SumupRun Run;
    ASSERT_TRUE(Run.ExecuteFixture(kEveryKindOfBook, Temp, true, false)) << LogText(Run.Log);
    const std::string RunBook = ReadBytes(Run.Book(Book.Schema.FileName()));

    // Fresh tables and a fresh ledger: no other book is built before this one.
    const LoadedTables Tables(Fixture(kEveryKindOfBook), true);
    ASSERT_TRUE(Tables.Completed()) << LogText(Tables.Log);
    const TSumLedger Ledger(*Tables.Kinsen);
    const TSumContext Context{Tables.Settings, Today()};
    const std::string Alone = Temp.Path("alone.csv");
    WriteBookFile(Alone, [&](TTvrTextOut& AOut) { Book.MakeText(*Tables.Kinsen, Ledger, Context, AOut); });
    EXPECT_EQ(ReadBytes(Alone), RunBook);

    // Building every book, last first, on the same tables and ledger changes
    // nothing this book reads.
    for (auto It = SumBooks().rbegin(); It != SumBooks().rend(); ++It) {
        TTvrTextCollector Discarded;
        It->MakeText(*Tables.Kinsen, Ledger, Context, Discarded);
    }
    WriteBookFile(Alone, [&](TTvrTextOut& AOut) { Book.MakeText(*Tables.Kinsen, Ledger, Context, AOut); });
    EXPECT_EQ(ReadBytes(Alone), RunBook);
}

INSTANTIATE_TEST_SUITE_P(Books, BookBuiltAlone, ::testing::ValuesIn(SumBooks()), CaseName);

// Each book of the run has the schema's columns for the run's fiscal months:
// its sheet was loaded with them, and every line has exactly that many
// fields.
void ExpectBooksFollowTheirSchemas(const SumupRun& ARun, const TTvrFiscalMonths& AMonths)
{
    const TTvrSheets& Outputs = ARun.Sumup().Outputs();
    ASSERT_EQ(Outputs.Count(), static_cast<int>(SumBooks().size()));
    for (size_t B = 0; B < SumBooks().size(); ++B) {
        const TSumBookSchema& Schema = SumBooks()[B].Schema;
        SCOPED_TRACE(Schema.FileName());
        const TTvrFieldDefDynArray Defs = Schema.FieldDefs(AMonths);
        ASSERT_EQ(static_cast<int>(Defs.size()), Schema.ColumnCount(static_cast<int>(AMonths.size())));
        const TTvrSheet& Sheet = Outputs.Sheets(static_cast<int>(B));
        ASSERT_EQ(Sheet.FileName(), ARun.Book(Schema.FileName()));
        ASSERT_EQ(Sheet.ColCount(), static_cast<int>(Defs.size()));
        for (int C = 0; C < Sheet.ColCount(); ++C) {
            EXPECT_EQ(Sheet.Fields().Fields(C).Name(), Defs[static_cast<size_t>(C)].Name) << C;
            EXPECT_EQ(Sheet.Fields().Fields(C).FieldType(), Defs[static_cast<size_t>(C)].FieldType) << C;
            EXPECT_EQ(Sheet.Fields().Fields(C).CharCount(), Defs[static_cast<size_t>(C)].CharCount) << C;
        }
        const std::vector<std::string> Lines = BookLines(Sheet.FileName());
        ASSERT_FALSE(Lines.empty());
        for (size_t L = 0; L < Lines.size(); ++L)
            EXPECT_EQ(SplitCsvLine(Lines[L]).size(), Defs.size()) << "line " << L + 1 << ": " << Lines[L];
    }
}

TEST(BookSchemas, EveryLineOfEveryBookHasTheFieldsOfItsSchema)
{
    TempFolder Temp;
    SumupRun Run;
    ASSERT_TRUE(Run.ExecuteFixture(kEveryKindOfBook, Temp, true, false)) << LogText(Run.Log);
    const LoadedTables Tables(Fixture(kEveryKindOfBook), true);
    ASSERT_TRUE(Tables.Completed()) << LogText(Tables.Log);
    ASSERT_EQ(Tables.Kinsen->FiscalMonthCount(), 12);
    ExpectBooksFollowTheirSchemas(Run, Tables.Kinsen->FiscalMonths());
}

TEST(BookSchemas, APeriodOfSevenMonthsGivesTheTrialBalanceSevenMonthColumns)
{
    TempFolder Temp;
    Sources S;
    S.Kamoku = {"000,繰越金,,,1500,", "101,会費,,,1000,", ",01,年会費,,,", "201,事務費,,,700,", ",,1,用紙,,"};
    S.Tantosha = {"01,会計,"};
    S.UseTantosha = true;
    S.Kinsen = {
        "2025/10/01,2026/04/30,,,,開始,,000,1000,500",
        "2025/10/05,,,\"山田, 太郎\",,会費,01,101.01,100,",
        "2026/04/20,,,,,用紙,,201..1,-30,",
    };
    SumupRun Run;
    ASSERT_TRUE(Run.Execute(Temp, S)) << LogText(Run.Log);
    const LoadedTables Tables(Temp.Path("src"), true);
    ASSERT_TRUE(Tables.Completed()) << LogText(Tables.Log);
    ASSERT_EQ(Tables.Kinsen->FiscalMonthCount(), 7);
    ExpectBooksFollowTheirSchemas(Run, Tables.Kinsen->FiscalMonths());
}

// A line of the table's columns: the leading fields, empty fields, and
// ALast in the last column of the table's definitions.
std::string LineOfEveryColumn(TSrcTableKind AKind, std::vector<std::string> ALeading, const std::string& ALast)
{
    ALeading.resize(SrcTableInfo(AKind).FieldDefs.size() - 1);
    ALeading.push_back(ALast);
    return MakeCsvLine(ALeading);
}

// Every loader reads as many columns as its table's definitions: the last
// one arrives in the loaded row.
TEST(SourceTableSchemas, EveryLoaderReadsTheLastColumnOfItsDefinitions)
{
    TempFolder Temp;
    std::vector<std::string> Log;
    const TTvrExecuteSendMessage Sink = [&Log](const std::string& AMessage) { Log.push_back(AMessage); };
    const TTvrRegionalSettings Settings{};

    const TSrcKamokuMaster Kamoku(
        WriteTable(Temp, kKamokuFile,
                   {LineOfEveryColumn(TSrcTableKind::Kamoku, {"000", "繰越", "", "", "1500"}, "前年度から"),
                    LineOfEveryColumn(TSrcTableKind::Kamoku, {"101", "会費", "", "", "900"}, "会員から")}),
        Sink, Settings);
    ASSERT_TRUE(Kamoku.Completed()) << LogText(Log);
    EXPECT_EQ(Kamoku.KamokuItems().KamokuItems(0).KMEMO(), "前年度から");
    EXPECT_EQ(Kamoku.KamokuItems().KamokuItems(1).KMEMO(), "会員から");

    const TSrcTantoshaMaster Tantosha(
        WriteTable(Temp, kTantoshaFile, {LineOfEveryColumn(TSrcTableKind::Tantosha, {"01", "会計"}, "二年目")}), Sink);
    ASSERT_TRUE(Tantosha.Completed()) << LogText(Log);
    EXPECT_EQ(Tantosha.Tantoshas().Tantoshas(0).TMEMO(), "二年目");

    const TSrcZandakaTable Zandaka(
        WriteTable(Temp, kZandakaFile, {LineOfEveryColumn(TSrcTableKind::Zandaka, {"2025/04/30", "1100"}, "500")}),
        Sink, Settings, Today());
    ASSERT_TRUE(Zandaka.Completed()) << LogText(Log);
    EXPECT_EQ(Zandaka.Zandakas().Zandakas(0).ZBANK().AsFloat(), 500);

    const TSrcKinsenTable Kinsen(
        WriteTable(Temp, kKinsenFile,
                   {LineOfEveryColumn(TSrcTableKind::Kinsen,
                                      {"2025/04/01", "2026/03/31", "", "", "", "開始", "", "000", "1000"}, "500"),
                    LineOfEveryColumn(TSrcTableKind::Kinsen, {"2025/04/05", "", "", "", "", "会費", "01", "101"},
                                      "300")}),
        Sink, &Tantosha, Kamoku, Settings, Today());
    ASSERT_TRUE(Kinsen.Completed()) << LogText(Log);
    EXPECT_EQ(Kinsen.Kinsens().Kinsens(0).KBANK().AsFloat(), 500);
    EXPECT_EQ(Kinsen.Kinsens().Kinsens(1).KBANK().AsFloat(), 300);
}

} // namespace
} // namespace tavrel::aggtest
