// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

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
        ARows.Append();
    ALastMonth = Month;
}

// A balance is shown only on the last row of its date: the last row of the
// book, or one followed by an empty row or by a row of another date.
template <typename TRow, typename TDateOf>
bool ShowsBalance(const TRow& ARow, const TRow* ANext, TDateOf ADateOf)
{
    return ANext == nullptr || ANext->Empty() || ADateOf(*ANext).Day() != ADateOf(ARow).Day();
}

// The cash-in-hand and bank books: the opening row, an empty row, then the
// transactions that move that kind of money, with month separators.
template <typename TRows, typename THasAmount>
void AddMoneyRows(const TSrcKinsenTable& AKinsenTable, TRows& ARows, THasAmount AHasAmount)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    double Zandaka = 0.0;
    ARows.Append(Kinsens.Kinsens(AKinsenTable.KinsenStartingIndex()), Zandaka);
    ARows.Append();
    int LastMonth = -1;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
        const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
        if (!AHasAmount(Kinsen))
            continue;
        ApplyMonthSeparator(AKinsenTable, Kinsen, LastMonth, ARows);
        ARows.Append(Kinsen, Zandaka);
    }
}

bool MovesCash(const TSrcKinsen& AKinsen) { return AKinsen.KCASH().IsNumber(); }
bool MovesBank(const TSrcKinsen& AKinsen) { return AKinsen.KBANK().IsNumber(); }

// The rows of the cash book: the opening row, an empty row, the
// transactions with month separators, an empty row and the closing row.
template <typename TRows>
void AddKinsenRows(const TSrcKinsenTable& AKinsenTable, TTvrDate AToday, TRows& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    double Cash = 0.0;
    double Bank = 0.0;
    double Total = 0.0;
    ARows.Append(Kinsens.Kinsens(AKinsenTable.KinsenStartingIndex()), Cash, Bank, Total);
    ARows.Append();
    int LastMonth = -1;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
        const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
        ApplyMonthSeparator(AKinsenTable, Kinsen, LastMonth, ARows);
        ARows.Append(Kinsen, Cash, Bank, Total);
    }
    ARows.Append();
    ARows.Append(Cash, Bank, AToday);
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

TSumMoneyItem::TSumMoneyItem(const TSrcKinsen& AKinsen, const TTvrValue& AAmount, double& ABalance)
    : FKinsen(&AKinsen)
{
    const double Amount = AAmount.AsFloat();
    if (0 <= Amount)
        FReceived = AAmount;
    else
        FPaid = -Amount;
    ABalance += Amount;
    FBalance = ABalance;
}

void BuildKinsenRows(const TSrcKinsenTable& AKinsenTable, TTvrDate AToday, TSumKinsens& ARows)
{
    AddKinsenRows(AKinsenTable, AToday, ARows);
}

void BuildCashRows(const TSrcKinsenTable& AKinsenTable, TSumCashItems& ARows)
{
    AddMoneyRows(AKinsenTable, ARows, MovesCash);
}

void BuildBankRows(const TSrcKinsenTable& AKinsenTable, TSumBankItems& ARows)
{
    AddMoneyRows(AKinsenTable, ARows, MovesBank);
}

void MakeKinsenBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext,
                        TTvrTextOut& AOut)
{
    const auto DateOf = [](const TSumKinsen& ARow) { return ARow.KDATE(); };
    WriteBookRows<TSumKinsen>(
        AOut, KinsenBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddKinsenRows(AKinsenTable, AContext.Today, ARows); },
        [&](TSumLine& ALine, const TSumKinsen& ARow, const TSumKinsen* ANext, int AIndex) {
            ALine.Date(kbKDATE, ARow.KDATE());
            ALine.Value(kbKSDATE, ARow.KSDATE());
            ALine.Text(kbKSNOTE, ARow.KSNOTE());
            ALine.Text(kbKAITE, ARow.KAITE());
            ALine.Value(kbKTNUM, ARow.KTNUM());
            ALine.Text(kbKTEKI, ARow.KTEKI());
            ALine.Text(kbKTantosha, ARow.KTantosha());
            ALine.Text(kbKKamoku1, ARow.KKamoku1());
            ALine.Text(kbKKamoku2, ARow.KKamoku2());
            ALine.Text(kbKKamoku3, ARow.KKamoku3());
            ALine.Value(kbKCASH, ARow.KCASH());
            ALine.Value(kbKBANK, ARow.KBANK());
            // The opening row always shows its balance.
            if (AIndex == 0 || ShowsBalance(ARow, ANext, DateOf))
                ALine.Value(kbKCarrying, ARow.KCarrying());
        });
}

void MakeCashBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext,
                      TTvrTextOut& AOut)
{
    const auto DateOf = [](const TSumCashItem& ARow) { return ARow.CDATE(); };
    WriteBookRows<TSumCashItem>(
        AOut, CashBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddMoneyRows(AKinsenTable, ARows, MovesCash); },
        [&](TSumLine& ALine, const TSumCashItem& ARow, const TSumCashItem* ANext, int) {
            ALine.Date(cbCDATE, ARow.CDATE());
            ALine.Value(cbCSDATE, ARow.CSDATE());
            ALine.Text(cbCSNOTE, ARow.CSNOTE());
            ALine.Text(cbCAITE, ARow.CAITE());
            ALine.Value(cbCTNUM, ARow.CTNUM());
            ALine.Text(cbCTEKI, ARow.CTEKI());
            ALine.Value(cbCNyukin, ARow.CNyukin());
            ALine.Value(cbCShukkin, ARow.CShukkin());
            if (ShowsBalance(ARow, ANext, DateOf))
                ALine.Value(cbCZandaka, ARow.CZandaka());
        });
}

void MakeBankBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext,
                      TTvrTextOut& AOut)
{
    const auto DateOf = [](const TSumBankItem& ARow) { return ARow.BDATE(); };
    WriteBookRows<TSumBankItem>(
        AOut, BankBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddMoneyRows(AKinsenTable, ARows, MovesBank); },
        [&](TSumLine& ALine, const TSumBankItem& ARow, const TSumBankItem* ANext, int) {
            ALine.Date(bbBDATE, ARow.BDATE());
            ALine.Text(bbBSNOTE, ARow.BSNOTE());
            ALine.Text(bbBAITE, ARow.BAITE());
            ALine.Text(bbBTEKI, ARow.BTEKI());
            ALine.Value(bbBShiharai, ARow.BShiharai());
            ALine.Value(bbBAzukari, ARow.BAzukari());
            if (ShowsBalance(ARow, ANext, DateOf))
                ALine.Value(bbBZandaka, ARow.BZandaka());
        });
}

namespace {

constexpr TTvrColumn<TSumKinsenBookColumn> kKinsenBookColumns[] = {
    {kbKDATE, "日付", sftDate, 12},        {kbKSDATE, "領収書日付", sftDate, 12},
    {kbKSNOTE, "出納記号", sftString, 10}, {kbKAITE, "相手名", sftString, 20},
    {kbKTNUM, "摘要番号", sftInteger, 5},  {kbKTEKI, "摘要明細", sftString, 20},
    {kbKTantosha, "担当者", sftString, 10}, {kbKKamoku1, "大科目", sftString, 10},
    {kbKKamoku2, "中科目", sftString, 10}, {kbKKamoku3, "小科目", sftString, 10},
    {kbKCASH, "現金", sftDouble, 12},      {kbKBANK, "預金", sftDouble, 12},
    {kbKCarrying, "合計残高", sftDouble, 12},
};
static_assert(ColumnsInOrder(kKinsenBookColumns, kbColumnCount));

constexpr TTvrColumn<TSumCashBookColumn> kCashBookColumns[] = {
    {cbCDATE, "日付", sftDate, 12},        {cbCSDATE, "領収書日付", sftDate, 12},
    {cbCSNOTE, "出納記号", sftString, 10}, {cbCAITE, "相手名", sftString, 20},
    {cbCTNUM, "摘要番号", sftInteger, 5},  {cbCTEKI, "摘要明細", sftString, 20},
    {cbCNyukin, "入金", sftDouble, 12},    {cbCShukkin, "出金", sftDouble, 12},
    {cbCZandaka, "残高", sftDouble, 12},
};
static_assert(ColumnsInOrder(kCashBookColumns, cbColumnCount));

constexpr TTvrColumn<TSumBankBookColumn> kBankBookColumns[] = {
    {bbBDATE, "日付", sftDate, 12},           {bbBSNOTE, "出納記号", sftString, 10},
    {bbBAITE, "相手名", sftString, 20},       {bbBTEKI, "摘要明細", sftString, 20},
    {bbBShiharai, "支払金額", sftDouble, 12}, {bbBAzukari, "預金額", sftDouble, 12},
    {bbBZandaka, "残高", sftDouble, 12},
};
static_assert(ColumnsInOrder(kBankBookColumns, bbColumnCount));

} // namespace

const TSumBookSchema& KinsenBookSchema()
{
    static const TSumBookSchema Schema(kKinsenBookName, kKinsenBookColumns);
    return Schema;
}

const TSumBookSchema& CashBookSchema()
{
    static const TSumBookSchema Schema(kCashBookName, kCashBookColumns);
    return Schema;
}

const TSumBookSchema& BankBookSchema()
{
    static const TSumBookSchema Schema(kBankBookName, kBankBookColumns);
    return Schema;
}

} // namespace tavrel
