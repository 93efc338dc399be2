// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// What every loader shares, tried on each table: tables as a spreadsheet
// saves them (blanks inside a cell, a line break inside a quoted cell), a
// NUL in the file, and amounts too large to be exact.

#include "SourcesTestSupport.h"

#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTables.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

namespace tavrel::test {
namespace {

using ::testing::ElementsAreArray;

const char* const kMaster = "000,開始残高,,,500\n100,会費,,,900\n,10,年会費,,600\n200,支出,,,800\n,,5,用紙\n";
const char* const kPersons = "01,会計\n02,庶務\n";
const char* const kStart = "2025/04/01,2026/03/31,,,,開始残高,,000,300,200\n";

struct TLoaded {
    std::vector<std::string> Messages; // after the loading line
    bool Completed = false;
};

class SharedRulesTest : public ::testing::Test {
protected:
    // Loads the table of this kind from the text; the cash-book table over
    // the fixed masters. An error raised by the loader fails the test.
    TLoaded Load(TSrcTableKind AKind, const std::string& AText)
    {
        MessageLog Log;
        const std::string Path = Folder.WriteUtf8("table.csv", AText);
        TLoaded Result;
        switch (AKind) {
        case TSrcTableKind::Kamoku:
            Result.Completed = TSrcKamokuMaster(Path, Log.Sink(), Settings()).Completed();
            break;
        case TSrcTableKind::Tantosha:
            Result.Completed = TSrcTantoshaMaster(Path, Log.Sink()).Completed();
            break;
        case TSrcTableKind::Zandaka:
            Result.Completed = TSrcZandakaTable(Path, Log.Sink(), Settings(), Today()).Completed();
            break;
        case TSrcTableKind::Kinsen:
            Result.Completed = LoadKinsen(Path, Log)->Completed();
            break;
        }
        EXPECT_FALSE(Log.Lines.empty());
        if (!Log.Lines.empty()) {
            EXPECT_EQ(Log.Lines.front(), LoadingMessage(AKind));
        }
        Result.Messages.assign(Log.Lines.begin() + (Log.Lines.empty() ? 0 : 1), Log.Lines.end());
        return Result;
    }

    std::unique_ptr<TSrcKinsenTable> LoadKinsen(const std::string& APath, MessageLog& ALog)
    {
        MessageLog Ignored;
        Kamoku = std::make_unique<TSrcKamokuMaster>(Folder.WriteUtf8("kamoku.csv", kMaster), Ignored.Sink(),
                                                    Settings());
        Tantosha = std::make_unique<TSrcTantoshaMaster>(Folder.WriteUtf8("tantosha.csv", kPersons), Ignored.Sink());
        EXPECT_TRUE(Kamoku->Completed() && Tantosha->Completed());
        return std::make_unique<TSrcKinsenTable>(APath, ALog.Sink(), Tantosha.get(), *Kamoku, Settings(), Today());
    }

    TempFolder Folder;
    std::unique_ptr<TSrcKamokuMaster> Kamoku;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
};

struct TRuleCase {
    const char* Name;
    TSrcTableKind Kind;
    std::string Csv;
    std::vector<std::string> Messages;
};

void PrintTo(const TRuleCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

class SharedRuleMessages : public SharedRulesTest, public ::testing::WithParamInterface<TRuleCase> {};

TEST_P(SharedRuleMessages, ReportRowsAsTheRuleSays)
{
    const TRuleCase& Case = GetParam();
    const TLoaded Loaded = Load(Case.Kind, Case.Csv);
    EXPECT_THAT(Loaded.Messages, ElementsAreArray(Case.Messages));
    EXPECT_EQ(Loaded.Completed, Case.Messages.empty());
}

const std::string kNul(1, '\0');

// clang-format off
const TRuleCase kRuleCases[] = {
    // A quoted cell that goes on in the next line (Alt+Enter in a
    // spreadsheet): the line gets its message, earlier lines keep theirs,
    // and nothing later is read or said about the table.
    {"PersonMemoWithLineBreak", TSrcTableKind::Tantosha,
     "01,佐藤 恵子,\"会計\n2025年度から\"\n02,鈴木\n",
     {"1行: 引用符が閉じていません。"}},
    {"PersonEarlierMessagesKept", TSrcTableKind::Tantosha,
     "01,山田\n01,佐藤\n\n03,\"田中\n\"\n01,鈴木\n",
     {"2行: 担当者コード '01' が重複しています。", "4行: 引用符が閉じていません。"}},
    {"MasterNotClosedBeforeItsOpeningAccount", TSrcTableKind::Kamoku,
     "100,会費,,,900,\"メモ\n\"\n000,開始残高,,,500\n",
     {"1行: 引用符が閉じていません。"}},
    {"MasterNotClosedInAnIgnoredColumn", TSrcTableKind::Kamoku,
     "000,開始残高,,,500\n100,会費,,,900,メモ,\"余分\n",
     {"2行: 引用符が閉じていません。"}},
    {"BalanceNotClosed", TSrcTableKind::Zandaka,
     "2025/04/30,100,200\n2025/05/31,\"100\n,200\"\n2025/06/31,1,1\n",
     {"2行: 引用符が閉じていません。"}},
    // Not even the missing starting row is reported.
    {"CashBookNotClosedBeforeItsStartingRow", TSrcTableKind::Kinsen,
     "\n\"2025/04/01\n\",2026/03/31,,,,開始残高,,000,300,200\n",
     {"2行: 引用符が閉じていません。"}},
    {"CashBookDescriptionWithLineBreak", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/04/05,,,,,\"役員会\n茶菓子\",,200..5,-800,\n2025/04/06,,,,,,,100,,\n",
     {"2行: 引用符が閉じていません。"}},
    // Blanks inside an unquoted cell stay in it and shift no column.
    {"CashBookDescriptionWithSpaces", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/05/10,,,お店 A,,役員会 茶菓子,01,200..5,-800,\n", {}},
    {"PersonNameWithSpaces", TSrcTableKind::Tantosha, "01,佐藤 恵子,会計 担当\n", {}},
    // A NUL is an unreadable character like an undecodable byte: a date or
    // amount holding one is invalid, and the rows after it are read.
    {"NulInADate", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/04/1" + kNul + "0,,,,,会費,01,100,1000,\n2025/04/11,,,,,,,100,,\n",
     {"2行: 日付が無効です。", "3行: 金銭の取引がありません。"}},
    {"NulInAnAmount", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/04/10,,,,,会費,01,100,10" + kNul + "0,\n2025/04/11,,,,,,,100,,\n",
     {"2行: 現金が無効です。", "3行: 金銭の取引がありません。"}},
    {"NulInABalance", TSrcTableKind::Zandaka,
     "2025/04/30,1" + kNul + ",200\n2025/05/31,x,1\n",
     {"1行: 現金残高が無効です。", "2行: 現金残高が無効です。"}},
    // Amounts beyond the largest exact whole number are not numbers.
    {"MajorBudgetBeyondExact", TSrcTableKind::Kamoku,
     "000,開始残高,,,500\n100,会費,,,9007199254740992\n",
     {"2行: 大科目の予算が指定されていません。"}},
    {"MiddleBudgetBeyondExact", TSrcTableKind::Kamoku,
     "000,開始残高,,,500\n100,会費,,,900\n,10,年会費,,1e16\n",
     {"3行: 予算額が無効です。"}},
    {"LargestExactBudgetIsANumber", TSrcTableKind::Kamoku,
     "000,開始残高,,,9007199254740991\n100,会費,,,-9007199254740991\n", {}},
    {"CashBeyondExact", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/04/10,,,,,,,100,1.7e308,\n2025/04/10,,,,,,,100,1.7e308,\n",
     {"2行: 現金が無効です。", "3行: 現金が無効です。"}},
    {"BankBeyondExact", TSrcTableKind::Kinsen,
     std::string(kStart) + "2025/04/10,,,,,,,100,,-9007199254740992\n",
     {"2行: 預金が無効です。"}},
    {"BalanceBeyondExact", TSrcTableKind::Zandaka, "2025/04/30,0,10000000000000000\n",
     {"1行: 預金残高が無効です。"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Loaders, SharedRuleMessages, ::testing::ValuesIn(kRuleCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// The texts of a row keep what the spreadsheet had in the cell.
TEST_F(SharedRulesTest, InnerBlanksAndNulsStayInTheRowsTexts)
{
    MessageLog Log;
    const auto Table = LoadKinsen(
        Folder.WriteUtf8("kinsen.csv", std::string(kStart) + "2025/05/10,,,お店 A,,役員会" + kNul
                                           + "茶菓子 2箱,01,200..5,-800,\n"),
        Log);
    ASSERT_TRUE(Table->Completed()) << ::testing::PrintToString(Log.Lines);
    const TSrcKinsen& Row = Table->Kinsens().Kinsens(1);
    EXPECT_EQ(Row.KAITE(), "お店 A");
    EXPECT_EQ(Row.KTEKI(), "役員会\xEF\xBF\xBD茶菓子 2箱");
    EXPECT_EQ(Row.KTCODE(), "01");
    EXPECT_EQ(Row.KSCODE(), "200..5");
    EXPECT_EQ(ValueText(Row.KCASH()), "float:-800");

    const TSrcTantoshaMaster Persons(Folder.WriteUtf8("persons.csv", "01,佐藤 恵子,会計 担当\n"), Log.Sink());
    ASSERT_TRUE(Persons.Completed());
    EXPECT_EQ(Persons.Tantoshas().Tantoshas(0).TNAME(), "佐藤 恵子");
    EXPECT_EQ(Persons.Tantoshas().Tantoshas(0).TMEMO(), "会計 担当");
}

} // namespace
} // namespace tavrel::test
