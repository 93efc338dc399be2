#include "aggregation/SumKinsenBooks.h"

namespace tavrel {

namespace {

// Before a transaction of another fiscal month than the last one added, an
// empty row, unless the list holds only the opening row and its separator.
template <typename TRows>
void ApplyMonthSeparator(const TSrcKinsenTable& AKinsenTable, const TSrcKinsen& AKinsen,
                         int& ALastMonth, TRows& ARows)
{
    const int Month = FiscalMonthIndexOf(AKinsenTable.FiscalMonths(), AKinsen.KDATE());
    if (Month == ALastMonth)
        return;
    if (ARows.Count() > 2)
        ARows.Add();
    ALastMonth = Month;
}

// A balance is shown only on the last row of its date: the last row of the
// list, or one followed by an empty row or by a row of another date.
template <typename TRows, typename TDateOf>
bool ShowsBalance(const TRows& ARows, int AIndex, TDateOf ADateOf)
{
    if (AIndex + 1 >= ARows.Count())
        return true;
    const auto& Next = ARows.Row(AIndex + 1);
    return Next.Empty() || ADateOf(Next).Day() != ADateOf(ARows.Row(AIndex)).Day();
}

// The cash-in-hand and bank books: the opening row, an empty row, then the
// transactions that move that kind of money, with month separators.
template <typename TRows, typename THasAmount>
void BuildMoneyRows(const TSrcKinsenTable& AKinsenTable, TRows& ARows, THasAmount AHasAmount)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    double Zandaka = 0.0;
    ARows.Add(Kinsens.Kinsens(AKinsenTable.KinsenStartingIndex()), Zandaka);
    ARows.Add();
    int LastMonth = -1;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
        const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
        if (!AHasAmount(Kinsen))
            continue;
        ApplyMonthSeparator(AKinsenTable, Kinsen, LastMonth, ARows);
        ARows.Add(Kinsen, Zandaka);
    }
}

} // namespace

TSumKinsen::TSumKinsen(const TSrcKinsen& AKinsen, double& ACarryingCash, double& ACarryingBank,
                       double& ACarryingTotal)
    : FEmpty(false), FKinsen(&AKinsen), FKDATE(AKinsen.KDATE())
{
    double Carrying = ACarryingTotal;
    if (AKinsen.KCASH().IsNumber()) {
        ACarryingCash += AKinsen.KCASH().AsFloat();
        Carrying += AKinsen.KCASH().AsFloat();
    }
    if (AKinsen.KBANK().IsNumber()) {
        ACarryingBank += AKinsen.KBANK().AsFloat();
        Carrying += AKinsen.KBANK().AsFloat();
    }
    ACarryingTotal = Carrying;
    FKCarrying = Carrying;
}

TSumKinsen::TSumKinsen(double ACarryingCash, double ACarryingBank, TTvrDate AToday)
    : FEmpty(false), FKDATE(AToday.DateOnly()), FKCASH(ACarryingCash), FKBANK(ACarryingBank),
      FKCarrying(ACarryingCash + ACarryingBank)
{
}

const TTvrValue& TSumKinsen::KSDATE() const { return FKinsen ? FKinsen->AltRecDate() : NullValue(); }
const std::string& TSumKinsen::KSNOTE() const { return FKinsen ? FKinsen->KSNOTE() : EmptyText(); }
const std::string& TSumKinsen::KAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const TTvrValue& TSumKinsen::KTNUM() const { return FKinsen ? FKinsen->KTNUM() : NullValue(); }

const std::string& TSumKinsen::KTEKI() const
{
    static const std::string Total = "合計";
    if (FKinsen != nullptr)
        return FKinsen->KTEKI();
    return FEmpty ? EmptyText() : Total;
}

const std::string& TSumKinsen::KTantosha() const
{
    return FKinsen ? FKinsen->TantoshaCodeName() : EmptyText();
}

const std::string& TSumKinsen::KKamoku1() const { return FKinsen ? FKinsen->Kamoku1CodeName() : EmptyText(); }
const std::string& TSumKinsen::KKamoku2() const { return FKinsen ? FKinsen->Kamoku2CodeName() : EmptyText(); }
const std::string& TSumKinsen::KKamoku3() const { return FKinsen ? FKinsen->Kamoku3CodeName() : EmptyText(); }
const TTvrValue& TSumKinsen::KCASH() const { return FKinsen ? FKinsen->KCASH() : FKCASH; }
const TTvrValue& TSumKinsen::KBANK() const { return FKinsen ? FKinsen->KBANK() : FKBANK; }

TSumCashItem::TSumCashItem(const TSrcKinsen& AKinsen, double& AZandaka) : FKinsen(&AKinsen)
{
    const double Cash = AKinsen.KCASH().AsFloat();
    if (0 <= Cash)
        FCNyukin = AKinsen.KCASH();
    else
        FCShukkin = -Cash;
    AZandaka += Cash;
    FCZandaka = AZandaka;
}

TSumBankItem::TSumBankItem(const TSrcKinsen& AKinsen, double& AZandaka) : FKinsen(&AKinsen)
{
    const double Bank = AKinsen.KBANK().AsFloat();
    if (Bank < 0)
        FBShiharai = -Bank;
    else
        FBAzukari = AKinsen.KBANK();
    AZandaka += Bank;
    FBZandaka = AZandaka;
}

void BuildKinsenRows(const TSrcKinsenTable& AKinsenTable, TTvrDate AToday, TSumKinsens& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    double Cash = 0.0;
    double Bank = 0.0;
    double Total = 0.0;
    ARows.Add(Kinsens.Kinsens(AKinsenTable.KinsenStartingIndex()), Cash, Bank, Total);
    ARows.Add();
    int LastMonth = -1;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
        const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
        ApplyMonthSeparator(AKinsenTable, Kinsen, LastMonth, ARows);
        ARows.Add(Kinsen, Cash, Bank, Total);
    }
    ARows.Add();
    ARows.Add(Cash, Bank, AToday);
}

void BuildCashRows(const TSrcKinsenTable& AKinsenTable, TSumCashItems& ARows)
{
    BuildMoneyRows(AKinsenTable, ARows, [](const TSrcKinsen& AKinsen) { return AKinsen.KCASH().IsNumber(); });
}

void BuildBankRows(const TSrcKinsenTable& AKinsenTable, TSumBankItems& ARows)
{
    BuildMoneyRows(AKinsenTable, ARows, [](const TSrcKinsen& AKinsen) { return AKinsen.KBANK().IsNumber(); });
}

std::string MakeKinsenBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext)
{
    TSumKinsens Rows;
    BuildKinsenRows(AKinsenTable, AContext.Today, Rows);
    const auto DateOf = [](const TSumKinsen& ARow) { return ARow.KDATE(); };
    return BookRowsText(Rows, 13, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumKinsen& Row = Rows.Kinsens(AIndex);
        ALine.Date(0, Row.KDATE());
        ALine.Value(1, Row.KSDATE());
        ALine.Text(2, Row.KSNOTE());
        ALine.Text(3, Row.KAITE());
        ALine.Value(4, Row.KTNUM());
        ALine.Text(5, Row.KTEKI());
        ALine.Text(6, Row.KTantosha());
        ALine.Text(7, Row.KKamoku1());
        ALine.Text(8, Row.KKamoku2());
        ALine.Text(9, Row.KKamoku3());
        ALine.Value(10, Row.KCASH());
        ALine.Value(11, Row.KBANK());
        if (AIndex == 0 || ShowsBalance(Rows, AIndex, DateOf))
            ALine.Value(12, Row.KCarrying());
    });
}

std::string MakeCashBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext)
{
    TSumCashItems Rows;
    BuildCashRows(AKinsenTable, Rows);
    const auto DateOf = [](const TSumCashItem& ARow) { return ARow.CDATE(); };
    return BookRowsText(Rows, 9, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumCashItem& Row = Rows.CashItems(AIndex);
        ALine.Date(0, Row.CDATE());
        ALine.Value(1, Row.CSDATE());
        ALine.Text(2, Row.CSNOTE());
        ALine.Text(3, Row.CAITE());
        ALine.Value(4, Row.CTNUM());
        ALine.Text(5, Row.CTEKI());
        ALine.Value(6, Row.CNyukin());
        ALine.Value(7, Row.CShukkin());
        if (ShowsBalance(Rows, AIndex, DateOf))
            ALine.Value(8, Row.CZandaka());
    });
}

std::string MakeBankBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext)
{
    TSumBankItems Rows;
    BuildBankRows(AKinsenTable, Rows);
    const auto DateOf = [](const TSumBankItem& ARow) { return ARow.BDATE(); };
    return BookRowsText(Rows, 7, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumBankItem& Row = Rows.BankItems(AIndex);
        ALine.Date(0, Row.BDATE());
        ALine.Text(1, Row.BSNOTE());
        ALine.Text(2, Row.BAITE());
        ALine.Text(3, Row.BTEKI());
        ALine.Value(4, Row.BShiharai());
        ALine.Value(5, Row.BAzukari());
        if (ShowsBalance(Rows, AIndex, DateOf))
            ALine.Value(6, Row.BZandaka());
    });
}

const TTvrFieldDefDynArray& KinsenBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"日付", sftDate, 12},       {"領収書日付", sftDate, 12}, {"出納記号", sftString, 10},
        {"相手名", sftString, 20},   {"摘要番号", sftInteger, 5}, {"摘要明細", sftString, 20},
        {"担当者", sftString, 10},   {"大科目", sftString, 10},   {"中科目", sftString, 10},
        {"小科目", sftString, 10},   {"現金", sftDouble, 12},     {"預金", sftDouble, 12},
        {"合計残高", sftDouble, 12},
    };
    return Defs;
}

const TTvrFieldDefDynArray& CashBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"日付", sftDate, 12},     {"領収書日付", sftDate, 12}, {"出納記号", sftString, 10},
        {"相手名", sftString, 20}, {"摘要番号", sftInteger, 5}, {"摘要明細", sftString, 20},
        {"入金", sftDouble, 12},   {"出金", sftDouble, 12},     {"残高", sftDouble, 12},
    };
    return Defs;
}

const TTvrFieldDefDynArray& BankBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"日付", sftDate, 12},       {"出納記号", sftString, 10}, {"相手名", sftString, 20},
        {"摘要明細", sftString, 20}, {"支払金額", sftDouble, 12}, {"預金額", sftDouble, 12},
        {"残高", sftDouble, 12},
    };
    return Defs;
}

} // namespace tavrel
