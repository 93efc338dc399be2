// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Loader tests of the cash-book table: the starting row, every row message
// with the period and order rules, the derived fields of the rows, the
// fiscal months, the row indices and the balances.

#include "SourcesTestSupport.h"

#include <stdexcept>

#include "aggregation/SumLedger.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"

namespace tavrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const char* const KinsenLead = "金銭出納テーブル読込中...";
const char* const BalanceDiffers = "開始残高の現金と預金の合計が科目マスタの開始残高と異なります。";

// The chart of accounts of every cash book below; the opening budget varies.
// Item indices: 0 000, 1 100, 2 100.10, 3 100.10.1, 4 200, 5 200..5,
// 6 210, 7 210.AB, 8 210.AB.x.
std::string MasterText(const std::string& AOpening)
{
    return "000,開始残高,,,\"" + AOpening + R"("
100,会費,,,900
,10,年会費,,600
,,1,正会員
200,支出,,,800
,,5,用紙
210,雑費,,,100
,AB,交通費
,,x,電車
)";
}

const char* const PersonText = R"(A01,山田
B02,佐藤,会計
)";

// The starting row of the fiscal year April 2019 to March 2020, 300 in cash
// and 200 in the bank.
const std::string StartRow = "2019/04/01,2020/03/31,,,,開始残高,,000,300,200\n";

// A fiscal month as "#4 2019/04/01-2019/04/30".
std::string MonthText(const TTvrFiscalMonth& AMonth)
{
    std::ostringstream Text;
    Text << '#' << AMonth.Month << ' ' << DateText(AMonth.FirstDate) << '-' << DateText(AMonth.LastDate);
    return Text.str();
}

std::vector<std::string> MonthTexts(const TTvrFiscalMonths& AMonths)
{
    std::vector<std::string> Result;
    for (const TTvrFiscalMonth& Month : AMonths)
        Result.push_back(MonthText(Month));
    return Result;
}

// The account and amount fields of a row.
std::string AccountText(const TSrcKinsen& ARow)
{
    return InoutText(ARow.KamokuInout()) + " " + LevelText(ARow.KamokuLevel()) + " [" + ARow.Kamoku1Code() + "|"
           + ARow.Kamoku1CodeName() + "] [" + ARow.Kamoku2Code() + "|" + ARow.Kamoku2CodeName() + "] ["
           + ARow.Kamoku3Code() + "|" + ARow.Kamoku3CodeName() + "] traded=" + NumberText(ARow.KingakuTraded())
           + " booked=" + NumberText(ARow.KingakuBooked());
}

std::vector<int> IndicesOf(const TTvrIndices& AIndices)
{
    std::vector<int> Result;
    for (int I = 0; I < AIndices.Count(); ++I)
        Result.push_back(AIndices.Indices(I));
    return Result;
}

class KinsenTableTest : public ::testing::Test {
protected:
    // Loads both masters (through the same log) and checks they completed.
    void LoadMasters(const std::string& AOpening = "500", bool AWithPersons = true)
    {
        Log.Lines.clear();
        Kamoku = std::make_unique<TSrcKamokuMaster>(Folder.WriteUtf8("kamoku.csv", MasterText(AOpening)), Log.Sink(),
                                                    Settings());
        ASSERT_TRUE(Kamoku->Completed()) << ::testing::PrintToString(Log.Lines);
        Tantosha.reset();
        if (AWithPersons) {
            Tantosha = std::make_unique<TSrcTantoshaMaster>(Folder.WriteUtf8("tantosha.csv", PersonText), Log.Sink());
            ASSERT_TRUE(Tantosha->Completed()) << ::testing::PrintToString(Log.Lines);
        }
    }

    // The cash book on the loaded masters; the log then holds only its lines.
    std::unique_ptr<TSrcKinsenTable> LoadTable(const std::string& AText)
    {
        Log.Lines.clear();
        return std::make_unique<TSrcKinsenTable>(Folder.WriteUtf8("kinsen.csv", AText), Log.Sink(), Tantosha.get(),
                                                 *Kamoku, Settings(), Today());
    }

    TempFolder Folder;
    MessageLog Log;
    std::unique_ptr<TSrcKamokuMaster> Kamoku;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
};

// ---------------------------------------------------------------------------
// The starting row: its own checks, the balance comparison, and the stop.

struct StartingRowCase {
    const char* Name;
    const char* Opening; // budget of 000
    const char* Csv;
    std::vector<std::string> Messages; // after the loading line
    int RowCount;                      // rows read before loading ended
};

// Failures name the case.
void PrintTo(const StartingRowCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

// The second line of each failing case would itself be reported if read.
const StartingRowCase StartingRowCases[] = {
    {"Budget500Matches", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,300,200\n2019/04/10,,,,,,,,,\n",
     {"2行: 金銭の取引がありません。"}, 2},
    {"Budget600Differs", "600", "2019/04/01,2020/03/31,,,,開始残高,,000,300,200\n2019/04/10,,,,,,,,,\n",
     {"1行: 開始残高の現金と預金の合計が科目マスタの開始残高と異なります。"}, 1},
    {"ZeroCashAllowed", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,0,500\n", {}, 1},
    {"ToleranceTenthsAddUp", "0.3", "2019/04/01,2020/03/31,,,,開始残高,,000,0.1,0.2\n", {}, 1},
    {"ToleranceStillRejectsOtherSums", "0.3", "2019/04/01,2020/03/31,,,,開始残高,,000,0.1,0.2001\n2019/04/10\n",
     {"1行: 開始残高の現金と預金の合計が科目マスタの開始残高と異なります。"}, 1},
    {"ReceiptDateMissing", "500", "2019/04/01,,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 先頭行の領収書日付には会計終了日を指定してください。"}, 1},
    {"LastDaySameAsFirst", "500", "2019/04/01,2019/04/01,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 先頭行の会計終了日が無効です。開始日より新しい日付を指定してください。"}, 1},
    {"LastDayBeforeFirst", "500", "2019/04/01,2019/03/31,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 先頭行の会計終了日が無効です。開始日より新しい日付を指定してください。"}, 1},
    {"AccountNot000", "500", "2019/04/01,2020/03/31,,,,開始残高,,100,300,200\n2019/04/10\n",
     {"1行: 先頭行には科目に 000 (開始残高)を指定してください。"}, 1},
    {"AccountEmpty", "500", "2019/04/01,2020/03/31,,,,開始残高,,,300,200\n2019/04/10\n",
     {"1行: 先頭行には科目に 000 (開始残高)を指定してください。"}, 1},
    // A starting row that lacks an amount, or whose conversions stopped
    // before its amounts, has its own message and no comparison: its
    // balances may well be right.
    {"CashEmpty", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,,500\n2019/04/10\n",
     {"1行: 先頭行には現金と預金の開始残高を指定してください。"}, 1},
    {"BankColumnAbsent", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,500\n2019/04/10\n",
     {"1行: 先頭行には現金と預金の開始残高を指定してください。"}, 1},
    {"FirstFailingCheckOnly", "500", "2019/04/01,,,,,開始残高,,100,,\n2019/04/10\n",
     {"1行: 先頭行の領収書日付には会計終了日を指定してください。"}, 1},
    {"DateNotADate", "500", "2019/04/31,2020/03/31,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 日付が無効です。"}, 1},
    {"ReceiptDateText", "500", "2019/04/01,年度末,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 領収書日付が無効です。"}, 1},
    {"DescriptionNumberBad", "500", "2019/04/01,2020/03/31,,,1.5,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 摘要番号が無効です。"}, 1},
    {"CashText", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,三百,200\n2019/04/10\n",
     {"1行: 現金が無効です。"}, 1},
    {"BankText", "500", "2019/04/01,2020/03/31,,,,開始残高,,000,300,二百\n2019/04/10\n",
     {"1行: 預金が無効です。"}, 1},
    // Both amounts read: the comparison stays, even after another message.
    {"ReceiptDateMissingBalanceDiffers", "600", "2019/04/01,,,,,開始残高,,000,300,200\n2019/04/10\n",
     {"1行: 先頭行の領収書日付には会計終了日を指定してください。", "1行: 開始残高の現金と預金の合計が科目マスタの開始残高と異なります。"}, 1},
    {"AccountNot000BalanceDiffers", "600", "2019/04/01,2020/03/31,,,,開始残高,,100,300,200\n2019/04/10\n",
     {"1行: 先頭行には科目に 000 (開始残高)を指定してください。", "1行: 開始残高の現金と預金の合計が科目マスタの開始残高と異なります。"}, 1},
    // Blank lines before the starting row count in its row number.
    {"AfterBlankLines", "500", "\n,,\n2019/04/01,2020/03/31,,,,開始残高,,000,300,300\n2019/04/10\n",
     {"3行: 開始残高の現金と預金の合計が科目マスタの開始残高と異なります。"}, 3},
};

class KinsenStartingRowTest : public KinsenTableTest, public ::testing::WithParamInterface<StartingRowCase> {};

TEST_P(KinsenStartingRowTest, ChecksStartingRowAndStops)
{
    const StartingRowCase& Case = GetParam();
    LoadMasters(Case.Opening);
    const auto Table = LoadTable(Case.Csv);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(KinsenLead, Case.Messages)));
    EXPECT_EQ(Table->Completed(), Case.Messages.empty());
    EXPECT_EQ(Table->Kinsens().Count(), Case.RowCount);
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenStartingRowTest, ::testing::ValuesIn(StartingRowCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(KinsenTableTest, NoStartingRowRaises)
{
    LoadMasters();
    const char* const Texts[] = {"", "\n,,\n   \n,,,,,,,,,\n"};
    for (const char* Text : Texts) {
        SCOPED_TRACE(::testing::PrintToString(std::string(Text)));
        try {
            LoadTable(Text);
            ADD_FAILURE() << "no error raised";
        } catch (const ETvrError& E) {
            EXPECT_STREQ(E.what(), "金銭出納テーブルに先頭行（会計期間と開始残高の行）がありません。");
        }
        EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    }
}

TEST_F(KinsenTableTest, UnreadableFileRaisesWithoutRowPrefix)
{
    LoadMasters();
    const std::string Paths[] = {Folder.Path("missing.csv"), Folder.Path("")};
    for (const std::string& Path : Paths) {
        SCOPED_TRACE(Path);
        try {
            TSrcKinsenTable Table(Path, Log.Sink(), Tantosha.get(), *Kamoku, Settings(), Today());
            ADD_FAILURE() << "no error raised";
        } catch (const ETvrError& E) {
            EXPECT_STRNE(E.what(), "");
            EXPECT_FALSE(HasRowPrefix(E.what())) << E.what();
        }
    }
}

// ---------------------------------------------------------------------------
// Later rows: own checks, period and order, person and account.

struct LaterRowCase {
    const char* Name;
    const char* Rows;                  // the lines after StartRow
    std::vector<std::string> Messages; // after the loading line
};

// Failures name the case.
void PrintTo(const LaterRowCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const LaterRowCase LaterRowCases[] = {
    {"AllValid", "2019/04/01,,,,,,A01,100,1000,\n2019/04/01,,,,,,,200..5,-10,\n2020/03/31,,,,,,,,-50,50\n", {}},
    // The row's own checks; each row is kept and loading goes on.
    {"NoMoneyBothEmpty", "2019/04/10,,,,,会費,,100,,\n2019/04/11,,,,,,,100,5,\n", {"2行: 金銭の取引がありません。"}},
    {"NoMoneyBothZero", "2019/04/10,,,,,会費,,100,0,0\n", {"2行: 金銭の取引がありません。"}},
    {"NoMoneyDateOnly", "2019/04/10\n", {"2行: 金銭の取引がありません。"}},
    {"TransferNotNetting", "2019/04/10,,,,,振替,,,-50,40\n", {"2行: 資金移動が無効です。差引ゼロにしてください。"}},
    {"TransferNotNettingWithAccount", "2019/04/10,,,,,振替,,100,-50,40\n",
     {"2行: 資金移動が無効です。差引ゼロにしてください。"}},
    {"TransferWithAccount", "2019/04/10,,,,,振替,,100,-50,50\n", {"2行: 資金移動では科目コードを指定しないでください。"}},
    {"CashWithoutAccount", "2019/04/10,,,,,会費,A01,,1000,\n", {"2行: 収支科目を指定してください。"}},
    {"BankWithoutAccount", "2019/04/10,,,,,会費,,,0,1000\n", {"2行: 収支科目を指定してください。"}},
    {"ReceiptDateBad", "2019/04/10,2019/02/30,,,,,Z99,999,1000,\n", {"2行: 領収書日付が無効です。"}},
    {"DescriptionNumberNotWhole", "2019/04/10,,,,1.5,,A01,100,1000,\n", {"2行: 摘要番号が無効です。"}},
    {"DescriptionNumberText", "2019/04/10,,,,第一,,A01,100,1000,\n", {"2行: 摘要番号が無効です。"}},
    {"BankText", "2019/04/10,,,,,,A01,100,,千\n", {"2行: 預金が無効です。"}},
    // Person and account are read before the amounts, so a bad amount is
    // followed by their messages.
    {"CashTextThenPersonAndAccount", "2019/04/10,,,,,,Z99,999,abc,\n",
     {"2行: 現金が無効です。", "2行: 担当者が無効です。", "2行: 科目が無効です。"}},
    {"NoMoneyThenPersonAndAccount", "2019/04/10,,,,,,Z99,999,,\n",
     {"2行: 金銭の取引がありません。", "2行: 担当者が無効です。", "2行: 科目が無効です。"}},
    {"UnknownPerson", "2019/04/10,,,,,,Z99,100,1000,\n", {"2行: 担当者が無効です。"}},
    {"UnknownAccount", "2019/04/10,,,,,,A01,100.20,1000,\n", {"2行: 科目が無効です。"}},
    {"MinorWithOneDot", "2019/04/10,,,,,,,200.5,-10,\n", {"2行: 科目が無効です。"}},
    // Period: the rest of the row is skipped.
    {"BeforePeriod", "2019/03/31,,,,,,Z99,999,1000,\n", {"2行: 日付が会計期間内にありません。"}},
    {"AfterPeriod", "2020/04/01,,,,,,Z99,999,1000,\n", {"2行: 日付が会計期間内にありません。"}},
    {"OwnFailureThenPeriod", "2020/05/01,,,,,,Z99,999,,\n",
     {"2行: 金銭の取引がありません。", "2行: 日付が会計期間内にありません。"}},
    // Order: each row is compared with the previous accepted row.
    {"SameDayInOrder", "2019/04/10,,,,,,,100,1,\n2019/04/10,,,,,,,100,2,\n", {}},
    {"OrderComparedWithLastAcceptedRow",
     "2019/04/10,,,,,,,100,1,\n2019/04/05,,,,,,,100,2,\n2019/04/07,,,,,,,100,3,\n2019/04/10,,,,,,,100,4,\n"
     "2019/04/11,,,,,,,100,5,\n",
     {"3行: 日付の順序が無効です。", "4行: 日付の順序が無効です。"}},
    {"OutOfOrderSkipsPersonAndAccount", "2019/04/10,,,,,,,100,1,\n2019/04/05,,,,,,Z99,999,2,\n",
     {"3行: 日付の順序が無効です。"}},
    {"OutOfPeriodRowIsNotPrevious",
     "2019/04/10,,,,,,,100,1,\n2020/05/01,,,,,,,100,2,\n2019/04/12,,,,,,,100,3,\n",
     {"3行: 日付が会計期間内にありません。"}},
    // A row that failed its own checks with a valid date still takes part.
    {"OwnFailureStillBecomesPrevious", "2019/05/01,,,,,,,100,,\n2019/04/20,,,,,,,100,3,\n",
     {"2行: 金銭の取引がありません。", "3行: 日付の順序が無効です。"}},
    {"OwnFailureStillCheckedForOrder", "2019/05/01,,,,,,,100,1,\n2019/04/20,,,,,,,,-5,4\n",
     {"3行: 資金移動が無効です。差引ゼロにしてください。", "3行: 日付の順序が無効です。"}},
    // A date that did not convert gets only its own message: no period or
    // order message, and it does not become the previous date.
    {"UnconvertedDateOnlyOwnMessage", "2019/04/10,,,,,,,100,1,\n2019/04/31,,,,,,Z99,999,,\n2019/04/11,,,,,,,100,2,\n",
     {"3行: 日付が無効です。"}},
    {"BlankLinesCountInRowNumbers", "\n,,\n2019/04/10,,,,,,,,,\n", {"4行: 金銭の取引がありません。"}},
    {"EveryBadRowReported", "2019/04/10,,,,,,,,,\n2019/04/11,,,,,,,,5,\n2019/04/12,,,,,,,100,5,5\n",
     {"2行: 金銭の取引がありません。", "3行: 収支科目を指定してください。", "4行: 資金移動が無効です。差引ゼロにしてください。"}},
};

class KinsenLaterRowTest : public KinsenTableTest, public ::testing::WithParamInterface<LaterRowCase> {};

TEST_P(KinsenLaterRowTest, ReportsRowMessages)
{
    const LaterRowCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable(StartRow + Case.Rows);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(KinsenLead, Case.Messages)));
    EXPECT_EQ(Table->Completed(), Case.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenLaterRowTest, ::testing::ValuesIn(LaterRowCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// Today (2026-12-10) inside the fiscal period: a row whose date did not
// convert must not stand in with today's date for the order check.
struct UnconvertedDateCase {
    const char* Name;
    const char* Csv;
    std::vector<std::string> Messages;
};

// Failures name the case.
void PrintTo(const UnconvertedDateCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const UnconvertedDateCase UnconvertedDateCases[] = {
    {"NextCorrectRowNotReported",
     "2026/04/01,2027/03/31,,,,開始残高,,000,300,200\n2026/04/10,,,,,,,100,1,\n2026/13/01,,,,,,,100,2,\n"
     "2026/05/01,,,,,,,100,3,\n",
     {"3行: 日付が無効です。"}},
    {"PreviousDateStaysThatOfLastAcceptedRow",
     "2026/04/01,2027/03/31,,,,開始残高,,000,300,200\n2026/06/01,,,,,,,100,1,\n日付,,,,,,,100,2,\n"
     "2026/05/01,,,,,,,100,3,\n2026/06/02,,,,,,,100,4,\n",
     {"3行: 日付が無効です。", "4行: 日付の順序が無効です。"}},
};

class KinsenUnconvertedDateTest : public KinsenTableTest,
                                  public ::testing::WithParamInterface<UnconvertedDateCase> {};

TEST_P(KinsenUnconvertedDateTest, TakesNoPartInPeriodAndOrder)
{
    const UnconvertedDateCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable(Case.Csv);
    EXPECT_THAT(Log.Lines, ElementsAreArray(WithLead(KinsenLead, Case.Messages)));
    EXPECT_FALSE(Table->Completed());
    // The row keeps today's date and nothing from its later columns.
    const TSrcKinsen& Row = Table->Kinsens().Kinsens(2);
    EXPECT_EQ(DateText(Row.KDATE()), "2026/12/10");
    EXPECT_EQ(Row.KSCODE(), "");
    EXPECT_EQ(ValueText(Row.KCASH()), "null");
    EXPECT_EQ(Row.Hint(), "日付が無効です。");
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenUnconvertedDateTest, ::testing::ValuesIn(UnconvertedDateCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Accounts and amounts of a row.

struct AmountCase {
    const char* Name;
    const char* Row;
    const char* Expected; // AccountText of the row
};

// Failures name the case.
void PrintTo(const AmountCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const AmountCase AmountCases[] = {
    {"IncomeMinor", "2019/04/10,,,,,,,100.10.1,1000,",
     "income conc [100|100.会費] [10|10.年会費] [1|1.正会員] traded=1000 booked=1000"},
    {"IncomeMiddleCash20", "2019/04/10,,,,,,,100.10,20,",
     "income midd [100|100.会費] [10|10.年会費] [|] traded=20 booked=20"},
    {"IncomeMajorByBank", "2019/04/10,,,,,,,100,,20", "income gran [100|100.会費] [|] [|] traded=20 booked=20"},
    {"ExpensePaid", "2019/04/10,,,,,,,200..5,-30,",
     "expense conc [200|200.支出] [|] [5|5.用紙] traded=-30 booked=30"},
    {"ExpenseRefund", "2019/04/10,,,,,,,200..5,30,",
     "expense conc [200|200.支出] [|] [5|5.用紙] traded=30 booked=-30"},
    {"ExpenseMinorByBank", "2019/04/10,,,,,,,210.AB.x,0,-100",
     "expense conc [210|210.雑費] [AB|AB.交通費] [x|x.電車] traded=-100 booked=100"},
    {"ExpenseMiddle", "2019/04/10,,,,,,,210.AB,-7,",
     "expense midd [210|210.雑費] [AB|AB.交通費] [|] traded=-7 booked=7"},
    {"AccountIgnoringCase", "2019/04/10,,,,,,,210.ab.X,-8,",
     "expense conc [210|210.雑費] [AB|AB.交通費] [x|x.電車] traded=-8 booked=8"},
    {"TransferCashToBank", "2019/04/10,,,,,,,,-50,50", "carrying gran [|] [|] [|] traded=0 booked=0"},
    {"TransferBankToCash", "2019/04/10,,,,,,,,50.5,-50.5", "carrying gran [|] [|] [|] traded=0 booked=0"},
    {"OpeningAccountOnLaterRow", "2019/04/10,,,,,,,000,100,",
     "carrying gran [000|000.開始残高] [|] [|] traded=100 booked=100"},
};

class KinsenAmountTest : public KinsenTableTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(KinsenAmountTest, ResolvesAccountAndBooksAmount)
{
    const AmountCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable(StartRow + Case.Row + "\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    ASSERT_TRUE(Table->Completed());
    ASSERT_EQ(Table->Kinsens().Count(), 2);
    EXPECT_EQ(AccountText(Table->Kinsens().Kinsens(1)), Case.Expected);
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenAmountTest, ::testing::ValuesIn(AmountCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// The account items of a row are those of the account-title master.
TEST_F(KinsenTableTest, AccountItemsComeFromTheMaster)
{
    LoadMasters();
    const auto Table = LoadTable(StartRow + "2019/04/10,,,,,,,100.10.1,1000,\n2019/04/11,,,,,,,200..5,-5,\n");
    ASSERT_TRUE(Table->Completed());
    const TSrcKinsen& Income = Table->Kinsens().Kinsens(1);
    EXPECT_EQ(Income.Kamoku1(), &Kamoku->KamokuItems().KamokuItems(1));
    EXPECT_EQ(Income.Kamoku2(), &Kamoku->KamokuItems().KamokuItems(2));
    EXPECT_EQ(Income.Kamoku3(), &Kamoku->KamokuItems().KamokuItems(3));
    const TSrcKinsen& Expense = Table->Kinsens().Kinsens(2);
    EXPECT_EQ(Expense.Kamoku1(), &Kamoku->KamokuItems().KamokuItems(4));
    EXPECT_EQ(Expense.Kamoku2(), nullptr);
    EXPECT_EQ(Expense.Kamoku3(), &Kamoku->KamokuItems().KamokuItems(5));
}

// ---------------------------------------------------------------------------
// Receipt dates.

struct ReceiptDateCase {
    const char* Name;
    const char* ReceiptDate; // column 2 of a row dated 2019/04/10
    const char* TradingDate;
    const char* AltRecDate;
};

// Failures name the case.
void PrintTo(const ReceiptDateCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const ReceiptDateCase ReceiptDateCases[] = {
    {"SameDay", "2019/04/10", "2019/04/10", "text:-"},
    {"SameDayOtherForm", "2019-4-10", "2019/04/10", "text:-"},
    {"Earlier", "2019/04/08", "2019/04/08", "date:2019/04/08"},
    {"Later", "2019/04/12", "2019/04/12", "date:2019/04/12"},
    {"BeforeThePeriod", "2019/03/20", "2019/03/20", "date:2019/03/20"},
    {"Absent", "", "2019/04/10", "null"},
};

class KinsenReceiptDateTest : public KinsenTableTest, public ::testing::WithParamInterface<ReceiptDateCase> {};

TEST_P(KinsenReceiptDateTest, SetsTradingAndShownReceiptDate)
{
    const ReceiptDateCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable(StartRow + "2019/04/10," + Case.ReceiptDate + ",,,,,,100,1000,\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    const TSrcKinsen& Row = Table->Kinsens().Kinsens(1);
    EXPECT_EQ(DateText(Row.KDATE()), "2019/04/10");
    EXPECT_EQ(DateText(Row.TradingDate()), Case.TradingDate);
    EXPECT_EQ(ValueText(Row.AltRecDate()), Case.AltRecDate);
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenReceiptDateTest, ::testing::ValuesIn(ReceiptDateCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Persons.

TEST_F(KinsenTableTest, PersonLookedUpIgnoringCase)
{
    LoadMasters();
    const auto Table = LoadTable(StartRow + "2019/04/10,,,,,,a01,100,1000,\n2019/04/11,,,,,,,100,5,\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    const TSrcKinsen& Row = Table->Kinsens().Kinsens(1);
    EXPECT_EQ(Row.KTCODE(), "a01");
    EXPECT_TRUE(Row.TantoshaSet());
    EXPECT_EQ(Row.TantoshaName(), "山田");
    EXPECT_EQ(Row.TantoshaCodeName(), "A01.山田");
    const TSrcKinsen& NoPerson = Table->Kinsens().Kinsens(2);
    EXPECT_FALSE(NoPerson.TantoshaSet());
    EXPECT_EQ(NoPerson.TantoshaName(), "");
    EXPECT_EQ(NoPerson.TantoshaCodeName(), "");
}

TEST_F(KinsenTableTest, PersonsIgnoredWithoutPersonMaster)
{
    LoadMasters("500", false);
    const auto Table = LoadTable(StartRow + "2019/04/10,,,,,,Z99,100,1000,\n2019/04/11,,,,,,A01,100,5,\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    EXPECT_TRUE(Table->Completed());
    for (int I = 1; I <= 2; ++I) {
        const TSrcKinsen& Row = Table->Kinsens().Kinsens(I);
        EXPECT_EQ(Row.KTCODE(), "") << I;
        EXPECT_FALSE(Row.TantoshaSet()) << I;
        EXPECT_EQ(Row.TantoshaCodeName(), "") << I;
    }
}

// The person-lookup error goes through the person master's callback; the
// others through the table's.
TEST_F(KinsenTableTest, PersonMessageThroughPersonMasterCallback)
{
    LoadMasters("500", false);
    MessageLog PersonLog;
    const TSrcTantoshaMaster Persons(Folder.WriteUtf8("persons.csv", PersonText), PersonLog.Sink());
    Log.Lines.clear();
    const TSrcKinsenTable Table(Folder.WriteUtf8("kinsen.csv", StartRow + "2019/04/10,,,,,,Z99,999,1000,\n"),
                                Log.Sink(), &Persons, *Kamoku, Settings(), Today());
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead, "2行: 科目が無効です。"));
    EXPECT_THAT(PersonLog.Lines, ElementsAre("担当者マスタ読込中...", "2行: 担当者が無効です。"));
    EXPECT_FALSE(Table.Completed());
}

// ---------------------------------------------------------------------------
// Fiscal months.

struct FiscalMonthCase {
    const char* Name;
    const char* First;
    const char* Last;
    std::vector<std::string> Months;
};

// Failures name the case.
void PrintTo(const FiscalMonthCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const FiscalMonthCase FiscalMonthCases[] = {
    {"AprilToMarch", "2019/04/01", "2020/03/31",
     {"#4 2019/04/01-2019/04/30", "#5 2019/05/01-2019/05/31", "#6 2019/06/01-2019/06/30",
      "#7 2019/07/01-2019/07/31", "#8 2019/08/01-2019/08/31", "#9 2019/09/01-2019/09/30",
      "#10 2019/10/01-2019/10/31", "#11 2019/11/01-2019/11/30", "#12 2019/12/01-2019/12/31",
      "#1 2020/01/01-2020/01/31", "#2 2020/02/01-2020/02/29", "#3 2020/03/01-2020/03/31"}},
    // A last day in the middle of a month still gives the whole month.
    {"LastDayMidMarch", "2019/04/01", "2020/03/15",
     {"#4 2019/04/01-2019/04/30", "#5 2019/05/01-2019/05/31", "#6 2019/06/01-2019/06/30",
      "#7 2019/07/01-2019/07/31", "#8 2019/08/01-2019/08/31", "#9 2019/09/01-2019/09/30",
      "#10 2019/10/01-2019/10/31", "#11 2019/11/01-2019/11/30", "#12 2019/12/01-2019/12/31",
      "#1 2020/01/01-2020/01/31", "#2 2020/02/01-2020/02/29", "#3 2020/03/01-2020/03/31"}},
    {"StartOnThe15th", "2019/04/15", "2020/04/14",
     {"#4 2019/04/15-2019/05/14", "#5 2019/05/15-2019/06/14", "#6 2019/06/15-2019/07/14",
      "#7 2019/07/15-2019/08/14", "#8 2019/08/15-2019/09/14", "#9 2019/09/15-2019/10/14",
      "#10 2019/10/15-2019/11/14", "#11 2019/11/15-2019/12/14", "#12 2019/12/15-2020/01/14",
      "#1 2020/01/15-2020/02/14", "#2 2020/02/15-2020/03/14", "#3 2020/03/15-2020/04/14"}},
    // Month k starts on the first day plus k calendar months, clamped to
    // the month's last day: the 31st comes back after every short month.
    {"StartOnJanuary31stLeapYear", "2020/01/31", "2020/06/30",
     {"#1 2020/01/31-2020/02/28", "#2 2020/02/29-2020/03/30", "#3 2020/03/31-2020/04/29",
      "#4 2020/04/30-2020/05/30", "#5 2020/05/31-2020/06/29", "#6 2020/06/30-2020/07/30"}},
    {"StartOnJanuary31stCommonYear", "2019/01/31", "2019/04/30",
     {"#1 2019/01/31-2019/02/27", "#2 2019/02/28-2019/03/30", "#3 2019/03/31-2019/04/29",
      "#4 2019/04/30-2019/05/30"}},
    // A year from the 31st has twelve months, never a thirteenth of its
    // last days.
    {"YearFromJanuary31st", "2025/01/31", "2026/01/30",
     {"#1 2025/01/31-2025/02/27", "#2 2025/02/28-2025/03/30", "#3 2025/03/31-2025/04/29",
      "#4 2025/04/30-2025/05/30", "#5 2025/05/31-2025/06/29", "#6 2025/06/30-2025/07/30",
      "#7 2025/07/31-2025/08/30", "#8 2025/08/31-2025/09/29", "#9 2025/09/30-2025/10/30",
      "#10 2025/10/31-2025/11/29", "#11 2025/11/30-2025/12/30", "#12 2025/12/31-2026/01/30"}},
    {"StartOnDecember31stOverLeapFebruary", "2023/12/31", "2024/03/10",
     {"#12 2023/12/31-2024/01/30", "#1 2024/01/31-2024/02/28", "#2 2024/02/29-2024/03/30"}},
    {"StartOnFebruary29th", "2024/02/29", "2024/05/28",
     {"#2 2024/02/29-2024/03/28", "#3 2024/03/29-2024/04/28", "#4 2024/04/29-2024/05/28"}},
    {"QuarterYear", "2019/04/01", "2019/06/30",
     {"#4 2019/04/01-2019/04/30", "#5 2019/05/01-2019/05/31", "#6 2019/06/01-2019/06/30"}},
    {"LastDayBeforeMonthEnd", "2019/04/01", "2019/06/29",
     {"#4 2019/04/01-2019/04/30", "#5 2019/05/01-2019/05/31", "#6 2019/06/01-2019/06/30"}},
    {"TwoDays", "2019/04/01", "2019/04/02", {"#4 2019/04/01-2019/04/30"}},
    {"LastDayIsNextMonthStart", "2019/04/15", "2019/05/15", {"#4 2019/04/15-2019/05/14", "#5 2019/05/15-2019/06/14"}},
};

class KinsenFiscalMonthTest : public KinsenTableTest, public ::testing::WithParamInterface<FiscalMonthCase> {};

TEST_P(KinsenFiscalMonthTest, DividesThePeriod)
{
    const FiscalMonthCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable(std::string(Case.First) + "," + Case.Last + ",,,,開始残高,,000,300,200\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    ASSERT_TRUE(Table->Completed());
    EXPECT_EQ(DateText(Table->FiscalFirstDate()), Case.First);
    EXPECT_EQ(DateText(Table->FiscalLastDate()), Case.Last);
    EXPECT_THAT(MonthTexts(Table->FiscalMonths()), ElementsAreArray(Case.Months));
    const int Count = static_cast<int>(Case.Months.size());
    EXPECT_EQ(Table->FiscalMonthCount(), Count);
    EXPECT_EQ(Table->KinsenMonthlyIndices().Count(), Count);
    // The ledger of the table has one monthly sum per month for every major
    // item.
    const TSumLedger Ledger(*Table);
    EXPECT_EQ(Ledger.MonthCount(), Count);
    for (int G = 0; G < Kamoku->Grans().Count(); ++G) {
        const TSrcKamokuGran& Gran = Kamoku->Grans().Grans(G);
        EXPECT_EQ(Ledger.SumsMonthly(Gran, Count - 1), 0.0) << Gran.FullCode();
        EXPECT_THROW(Ledger.SumsMonthly(Gran, Count), std::out_of_range) << Gran.FullCode();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenFiscalMonthTest, ::testing::ValuesIn(FiscalMonthCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// With the last day on 15 March, the March month still runs to the 31st but
// a row dated 20 March lies outside the period.
TEST_F(KinsenTableTest, LastDayMidMonthLimitsThePeriod)
{
    LoadMasters();
    const auto Table = LoadTable(
        "2019/04/01,2020/03/15,,,,開始残高,,000,300,200\n2020/03/15,,,,,,,100,1,\n2020/03/20,,,,,,,100,2,\n");
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead, "3行: 日付が会計期間内にありません。"));
    EXPECT_EQ(Table->FiscalMonthCount(), 12);
    EXPECT_EQ(MonthText(Table->FiscalMonths().back()), "#3 2020/03/01-2020/03/31");
}

struct MonthIndexCase {
    const char* Name;
    TTvrDate Date;
    int Index;
};

// Failures name the case.
void PrintTo(const MonthIndexCase& ACase, std::ostream* AStream) { *AStream << ACase.Name; }

const MonthIndexCase MonthIndexCases[] = {
    {"FirstDay", D(2019, 4, 15), 0},
    {"LastDayOfFirstMonth", D(2019, 5, 14), 0},
    {"LastDayOfFirstMonthWithTime", TTvrDate::FromSerial(D(2019, 5, 14).Serial() + 0.75), 0},
    {"FirstDayOfSecondMonth", D(2019, 5, 15), 1},
    {"MiddleMonth", D(2019, 12, 31), 8},
    {"LastMonthEnd", D(2020, 4, 14), 11},
    {"BeforeTheMonths", D(2019, 4, 14), -1},
    {"AfterTheMonths", D(2020, 4, 15), -1},
};

class KinsenMonthIndexTest : public KinsenTableTest, public ::testing::WithParamInterface<MonthIndexCase> {};

TEST_P(KinsenMonthIndexTest, FindsTheMonthOfADate)
{
    const MonthIndexCase& Case = GetParam();
    LoadMasters();
    const auto Table = LoadTable("2019/04/15,2020/04/14,,,,開始残高,,000,300,200\n");
    ASSERT_TRUE(Table->Completed());
    const TTvrFiscalMonths& Months = Table->FiscalMonths();
    EXPECT_EQ(FiscalMonthIndexOf(Months, Case.Date), Case.Index);
    if (Case.Index >= 0) {
        EXPECT_TRUE(Months[static_cast<size_t>(Case.Index)].Contains(Case.Date));
        if (Case.Index > 0) {
            EXPECT_FALSE(Months[static_cast<size_t>(Case.Index) - 1].Contains(Case.Date));
        }
    } else {
        EXPECT_FALSE(Months.front().Contains(Case.Date));
        EXPECT_FALSE(Months.back().Contains(Case.Date));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinsen, KinsenMonthIndexTest, ::testing::ValuesIn(MonthIndexCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// A complete small year: rows, indices and balances.

const char* const SmallYear = R"(
,,
2019/04/01,2020/03/31,,,,開始残高,,000,300,200
2019/04/01,,入,会員Ａ,1,年会費,A01,100.10.1,1000,

2019/04/30,2019/04/28,出,文具店,,用紙,b02,200..5,-120,
2019/05/01,2019/05/01,,,,預け入れ,,,-500,500
2019/05/20,,,,,返金,,200..5,30,
,,,,
2020/03/31,,,,,振込,A01,100,,2000
)";

TEST_F(KinsenTableTest, SmallYearIndicesAndBalances)
{
    LoadMasters();
    const auto Table = LoadTable(SmallYear);
    EXPECT_THAT(Log.Lines, ElementsAre(KinsenLead));
    ASSERT_TRUE(Table->Completed());
    EXPECT_EQ(Table->Kinsens().Count(), 10);
    EXPECT_EQ(Table->KinsenStartingIndex(), 2);
    EXPECT_EQ(Table->Kinsens().KinsenStartingIndex(), 2);
    EXPECT_EQ(DateText(Table->FiscalFirstDate()), "2019/04/01");
    EXPECT_EQ(DateText(Table->FiscalLastDate()), "2020/03/31");
    EXPECT_EQ(Table->FiscalMonthCount(), 12);

    // The starting row and blank rows are not indexed.
    EXPECT_THAT(IndicesOf(Table->KinsenAllIndices()), ElementsAre(3, 5, 6, 7, 9));
    ASSERT_EQ(Table->KinsenMonthlyIndices().Count(), 12);
    std::vector<std::vector<int>> Monthly;
    for (int M = 0; M < 12; ++M)
        Monthly.push_back(IndicesOf(Table->KinsenMonthlyIndices().Indiceses(M)));
    const std::vector<int> None;
    EXPECT_THAT(Monthly, ElementsAre(ElementsAre(3, 5), ElementsAre(6, 7), None, None, None, None, None, None, None,
                                     None, None, ElementsAre(9)));

    EXPECT_EQ(Table->FiscalStartingCash(), 300.0);
    EXPECT_EQ(Table->FiscalStartingBank(), 200.0);
    EXPECT_EQ(Table->FiscalStartingTotal(), 500.0);
    EXPECT_EQ(Table->FiscalCarryingCash(), 300.0 + 1000 - 120 - 500 + 30);
    EXPECT_EQ(Table->FiscalCarryingBank(), 200.0 + 500 + 2000);
    EXPECT_EQ(Table->FiscalCarryingTotal(), 710.0 + 2700);

    const TSrcKinsen& Dues = Table->Kinsens().Kinsens(3);
    EXPECT_EQ(Dues.KSNOTE(), "入");
    EXPECT_EQ(Dues.KAITE(), "会員Ａ");
    EXPECT_EQ(ValueText(Dues.KTNUM()), "int:1");
    EXPECT_EQ(Dues.KTEKI(), "年会費");
    EXPECT_EQ(Dues.KTCODE(), "A01");
    EXPECT_EQ(Dues.KSCODE(), "100.10.1");
    EXPECT_EQ(ValueText(Dues.KCASH()), "float:1000");
    EXPECT_EQ(ValueText(Dues.KBANK()), "null");
    EXPECT_EQ(Dues.TantoshaCodeName(), "A01.山田");
    EXPECT_EQ(AccountText(Dues), "income conc [100|100.会費] [10|10.年会費] [1|1.正会員] traded=1000 booked=1000");

    const TSrcKinsen& Paper = Table->Kinsens().Kinsens(5);
    EXPECT_EQ(Paper.TantoshaCodeName(), "B02.佐藤");
    EXPECT_EQ(DateText(Paper.TradingDate()), "2019/04/28");
    EXPECT_EQ(AccountText(Paper), "expense conc [200|200.支出] [|] [5|5.用紙] traded=-120 booked=120");

    const TSrcKinsen& Transfer = Table->Kinsens().Kinsens(6);
    EXPECT_EQ(ValueText(Transfer.AltRecDate()), "text:-");
    EXPECT_EQ(AccountText(Transfer), "carrying gran [|] [|] [|] traded=0 booked=0");

    EXPECT_TRUE(Table->Kinsens().Kinsens(0).Empty());
    EXPECT_TRUE(Table->Kinsens().Kinsens(8).Empty());
    EXPECT_FALSE(Table->Kinsens().Kinsens(2).Empty());

    const TSumLedger Ledger(*Table);
    EXPECT_EQ(Ledger.MonthCount(), Table->FiscalMonthCount());
    for (int G = 0; G < Kamoku->Grans().Count(); ++G) {
        const TSrcKamokuGran& Gran = Kamoku->Grans().Grans(G);
        EXPECT_EQ(Ledger.SumsMonths(Gran, Table->FiscalMonthCount() - 1), Ledger.SumAll(Gran)) << Gran.FullCode();
        EXPECT_THROW(Ledger.SumsMonths(Gran, Table->FiscalMonthCount()), std::out_of_range) << Gran.FullCode();
    }
    EXPECT_EQ(&Table->KamokuMaster(), Kamoku.get());
    EXPECT_EQ(Table->TantoshaMaster(), Tantosha.get());
}

// The starting row's own fields.
TEST_F(KinsenTableTest, StartingRowFields)
{
    LoadMasters();
    const auto Table = LoadTable(StartRow);
    ASSERT_TRUE(Table->Completed());
    const TSrcKinsen& Start = Table->Kinsens().Kinsens(0);
    EXPECT_EQ(DateText(Start.KDATE()), "2019/04/01");
    EXPECT_EQ(ValueText(Start.KSDATE()), "date:2020/03/31");
    EXPECT_EQ(Start.KSCODE(), "000");
    EXPECT_TRUE(Table->KinsenAllIndices().Count() == 0);
    EXPECT_EQ(Table->FiscalCarryingTotal(), 500.0);
}

TEST_F(KinsenTableTest, Cp932File)
{
    LoadMasters();
    const auto Table = TSrcKinsenTable(
        Folder.WriteCp932("kinsen932.csv", StartRow + "2019/04/10,,,文具店,,用紙代,A01,200..5,-120,\n"), Log.Sink(),
        Tantosha.get(), *Kamoku, Settings(), Today());
    EXPECT_TRUE(Table.Completed());
    EXPECT_EQ(Table.Kinsens().Kinsens(1).KAITE(), "文具店");
    EXPECT_EQ(Table.Kinsens().Kinsens(1).KTEKI(), "用紙代");
}

TEST(KinsenFieldDefs, TenColumns)
{
    const TTvrFieldDefDynArray& Defs = TSrcKinsenTable::FieldDefs();
    ASSERT_EQ(Defs.size(), 10u);
    EXPECT_EQ(Defs[0].Name, "日付");
    EXPECT_EQ(Defs[1].Name, "領収書日付");
    EXPECT_EQ(Defs[4].FieldType, sftInteger);
    EXPECT_EQ(Defs[6].Name, "担当者");
    EXPECT_EQ(Defs[7].Name, "科目");
    EXPECT_EQ(Defs[9].Name, "預金");
}

} // namespace
} // namespace tavrel::test
