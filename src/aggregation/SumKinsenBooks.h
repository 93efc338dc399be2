// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// The columns of the three books, by position.
enum TSumKinsenBookColumn {
    kbKDATE, kbKSDATE, kbKSNOTE, kbKAITE, kbKTNUM, kbKTEKI, kbKTantosha, kbKKamoku1, kbKKamoku2, kbKKamoku3,
    kbKCASH, kbKBANK, kbKCarrying, kbColumnCount
};
enum TSumCashBookColumn {
    cbCDATE, cbCSDATE, cbCSNOTE, cbCAITE, cbCTNUM, cbCTEKI, cbCNyukin, cbCShukkin, cbCZandaka, cbColumnCount
};
enum TSumBankBookColumn { bbBDATE, bbBSNOTE, bbBAITE, bbBTEKI, bbBShiharai, bbBAzukari, bbBZandaka, bbColumnCount };

const TSumBookSchema& KinsenBookSchema();
const TSumBookSchema& CashBookSchema();
const TSumBookSchema& BankBookSchema();

// A row of the cash book "11金銭出納簿.csv". A transaction row reads its
// texts from the cash-book row it was made from.
class TSumKinsen {
public:
    // An empty row: a separator.
    TSumKinsen() = default;
    // A transaction row; updates the three running balances.
    TSumKinsen(const TSrcKinsen& AKinsen, double& ACarryingCash, double& ACarryingBank,
               double& ACarryingTotal);
    // The closing row, dated AToday: "合計" with the running cash and bank.
    TSumKinsen(double ACarryingCash, double ACarryingBank, TTvrDate AToday);

    bool Empty() const { return FEmpty; }
    TTvrDate KDATE() const { return FKDATE; }
    const TTvrValue& KSDATE() const;
    const std::string& KSNOTE() const;
    const std::string& KAITE() const;
    const TTvrValue& KTNUM() const;
    const std::string& KTEKI() const;
    const std::string& KTantosha() const;
    const std::string& KKamoku1() const;
    const std::string& KKamoku2() const;
    const std::string& KKamoku3() const;
    const TTvrValue& KCASH() const;
    const TTvrValue& KBANK() const;
    const TTvrValue& KCarrying() const { return FKCarrying; }

private:
    bool FEmpty = true;
    const TSrcKinsen* FKinsen = nullptr;
    TTvrDate FKDATE;
    // Only the closing row holds its own amounts.
    TTvrValue FKCASH;
    TTvrValue FKBANK;
    TTvrValue FKCarrying;
};

class TSumKinsens : public TSumRowList<TSumKinsen> {
public:
    const TSumKinsen& Kinsens(int AIndex) const { return Row(AIndex); }
    int Add() { return Append(); }
    int Add(const TSrcKinsen& AKinsen, double& ACarryingCash, double& ACarryingBank, double& ACarryingTotal)
    {
        return Append(AKinsen, ACarryingCash, ACarryingBank, ACarryingTotal);
    }
    int Add(double ACarryingCash, double ACarryingBank, TTvrDate AToday)
    {
        return Append(ACarryingCash, ACarryingBank, AToday);
    }
};

// A movement of one kind of money, cash or bank: the amount received (0
// included) or paid, and the running balance after it.
class TSumMoneyItem {
public:
    TSumMoneyItem() = default;
    // Updates the running balance by the amount.
    TSumMoneyItem(const TSrcKinsen& AKinsen, const TTvrValue& AAmount, double& ABalance);

    bool Empty() const { return FKinsen == nullptr; }

protected:
    const TSrcKinsen* FKinsen = nullptr;
    TTvrValue FReceived;
    TTvrValue FPaid;
    TTvrValue FBalance;
};

// A row of the cash-in-hand book "12現金出納簿.csv".
class TSumCashItem : public TSumMoneyItem {
public:
    TSumCashItem() = default;
    TSumCashItem(const TSrcKinsen& AKinsen, double& AZandaka) : TSumMoneyItem(AKinsen, AKinsen.KCASH(), AZandaka) {}

    TTvrDate CDATE() const { return FKinsen->KDATE(); }
    const TTvrValue& CSDATE() const { return FKinsen->AltRecDate(); }
    const std::string& CSNOTE() const { return FKinsen->KSNOTE(); }
    const std::string& CAITE() const { return FKinsen->KAITE(); }
    const TTvrValue& CTNUM() const { return FKinsen->KTNUM(); }
    const std::string& CTEKI() const { return FKinsen->KTEKI(); }
    const TTvrValue& CNyukin() const { return FReceived; }
    const TTvrValue& CShukkin() const { return FPaid; }
    const TTvrValue& CZandaka() const { return FBalance; }
};

class TSumCashItems : public TSumRowList<TSumCashItem> {
public:
    const TSumCashItem& CashItems(int AIndex) const { return Row(AIndex); }
    int Add() { return Append(); }
    int Add(const TSrcKinsen& AKinsen, double& AZandaka) { return Append(AKinsen, AZandaka); }
};

// A row of the bank book "13預金通帳.csv": a deposit (0 included) or a
// payment.
class TSumBankItem : public TSumMoneyItem {
public:
    TSumBankItem() = default;
    TSumBankItem(const TSrcKinsen& AKinsen, double& AZandaka) : TSumMoneyItem(AKinsen, AKinsen.KBANK(), AZandaka) {}

    TTvrDate BDATE() const { return FKinsen->KDATE(); }
    const std::string& BSNOTE() const { return FKinsen->KSNOTE(); }
    const std::string& BAITE() const { return FKinsen->KAITE(); }
    const std::string& BTEKI() const { return FKinsen->KTEKI(); }
    const TTvrValue& BShiharai() const { return FPaid; }
    const TTvrValue& BAzukari() const { return FReceived; }
    const TTvrValue& BZandaka() const { return FBalance; }
};

class TSumBankItems : public TSumRowList<TSumBankItem> {
public:
    const TSumBankItem& BankItems(int AIndex) const { return Row(AIndex); }
    int Add() { return Append(); }
    int Add(const TSrcKinsen& AKinsen, double& AZandaka) { return Append(AKinsen, AZandaka); }
};

// The rows of the three books, as their builders make them.
void BuildKinsenRows(const TSrcKinsenTable& AKinsenTable, TTvrDate AToday, TSumKinsens& ARows);
void BuildCashRows(const TSrcKinsenTable& AKinsenTable, TSumCashItems& ARows);
void BuildBankRows(const TSrcKinsenTable& AKinsenTable, TSumBankItems& ARows);

void MakeKinsenBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger, const TSumContext& AContext,
                        TTvrTextOut& AOut);
void MakeCashBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger, const TSumContext& AContext,
                      TTvrTextOut& AOut);
void MakeBankBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger, const TSumContext& AContext,
                      TTvrTextOut& AOut);

} // namespace tavrel
