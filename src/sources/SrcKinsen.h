// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sources/SrcKamoku.h"
#include "sources/SrcTantosha.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The columns of the cash-book table, by position.
enum TSrcKinsenColumn {
    ktKDATE, ktKSDATE, ktKSNOTE, ktKAITE, ktKTNUM, ktKTEKI, ktKTCODE, ktKSCODE, ktKCASH, ktKBANK, ktColumnCount
};

// One row of the cash-book table: the fields of the file, then what the
// loader derives from them and from the two masters.
class TSrcKinsen {
public:
    bool Empty() const { return FEmpty; }
    const std::string& Hint() const { return FHint; }
    TTvrDate KDATE() const { return FKDATE; }
    // False when column 1 did not convert and KDATE holds today's date.
    bool KDATEConverted() const { return FKDATEConverted; }
    const TTvrValue& KSDATE() const { return FKSDATE; }
    const std::string& KSNOTE() const { return FKSNOTE; }
    const std::string& KAITE() const { return FKAITE; }
    const TTvrValue& KTNUM() const { return FKTNUM; }
    const std::string& KTEKI() const { return FKTEKI; }
    const std::string& KTCODE() const { return FKTCODE; }
    const std::string& KSCODE() const { return FKSCODE; }
    const TTvrValue& KCASH() const { return FKCASH; }
    const TTvrValue& KBANK() const { return FKBANK; }

    TTvrDate TradingDate() const { return FTradingDate; }
    const TTvrValue& AltRecDate() const { return FAltRecDate; }
    // The person the code was resolved to, or none. The names are read from
    // the person master rather than copied into each of a million rows.
    const TSrcTantosha* Tantosha() const { return FTantosha; }
    bool TantoshaSet() const { return FTantosha != nullptr; }
    const std::string& TantoshaName() const;
    const std::string& TantoshaCodeName() const;
    TSrcKamokuInout KamokuInout() const { return FKamokuInout; }
    TSrcKamokuLevel KamokuLevel() const { return FKamokuLevel; }
    // The account items the code was resolved to (none where the account has
    // no such level); the codes and names below are theirs.
    const TSrcKamokuItem* Kamoku1() const { return FKamoku1; }
    const TSrcKamokuItem* Kamoku2() const { return FKamoku2; }
    const TSrcKamokuItem* Kamoku3() const { return FKamoku3; }
    // The account the code was resolved to, at its own level; none for a
    // row without an account.
    const TSrcKamokuItem* Kamoku() const;
    const std::string& Kamoku1Code() const;
    const std::string& Kamoku1CodeName() const;
    const std::string& Kamoku2Code() const;
    const std::string& Kamoku2CodeName() const;
    const std::string& Kamoku3Code() const;
    const std::string& Kamoku3CodeName() const;
    double KingakuTraded() const { return FKingakuTraded; }
    double KingakuBooked() const { return FKingakuBooked; }

    void SetTradingDate(TTvrDate AValue) { FTradingDate = AValue; }
    void SetAltRecDate(TTvrValue AValue) { FAltRecDate = std::move(AValue); }
    void SetTantosha(const TSrcTantosha* AValue) { FTantosha = AValue; }
    void SetKamoku(TSrcKamokuInout AInout, TSrcKamokuLevel ALevel, const TSrcKamokuItem* AKamoku1,
                   const TSrcKamokuItem* AKamoku2, const TSrcKamokuItem* AKamoku3);
    void SetKingakuTraded(double AValue) { FKingakuTraded = AValue; }
    void SetKingakuBooked(double AValue) { FKingakuBooked = AValue; }

    // Fills the fields of the file from one line and runs the row's own
    // checks; false (with Hint) at the first failure. AToday stands for the
    // date of a row whose date did not convert.
    bool SetFromStrings(std::span<const std::string> AStrings, bool AFirstKinsen, bool AIgnoreTantosha,
                        const TTvrRegionalSettings& ASettings, TTvrDate AToday);

private:
    bool FEmpty = true;
    bool FKDATEConverted = false;
    TSrcKamokuInout FKamokuInout = skiCarrying;
    TSrcKamokuLevel FKamokuLevel = sklGran;
    std::string FHint;
    TTvrDate FKDATE;
    TTvrValue FKSDATE;
    std::string FKSNOTE;
    std::string FKAITE;
    TTvrValue FKTNUM;
    std::string FKTEKI;
    std::string FKTCODE;
    std::string FKSCODE;
    TTvrValue FKCASH;
    TTvrValue FKBANK;
    TTvrDate FTradingDate;
    TTvrValue FAltRecDate;
    const TSrcTantosha* FTantosha = nullptr;
    const TSrcKamokuItem* FKamoku1 = nullptr;
    const TSrcKamokuItem* FKamoku2 = nullptr;
    const TSrcKamokuItem* FKamoku3 = nullptr;
    double FKingakuTraded = 0.0;
    double FKingakuBooked = 0.0;
};

// The rows of the cash-book table in file order, blank lines included.
class TSrcKinsens {
public:
    // Loads and checks the file against the masters (no person master: the
    // person column is ignored). Raises ETvrError, with the row prefix of the
    // current line, when the file cannot be read or a row raises an error,
    // and when the file has no starting row.
    TSrcKinsens(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                const TSrcTantoshaMaster* ATantoshaMaster, const TSrcKamokuMaster& AKamokuMaster,
                const TTvrRegionalSettings& ASettings, TTvrDate AToday);
    TSrcKinsens(const TSrcKinsens&) = delete;
    TSrcKinsens& operator=(const TSrcKinsens&) = delete;
    ~TSrcKinsens() { Clear(); }

    bool Completed() const { return FCompleted; }
    int Count() const { return static_cast<int>(FKinsens.size()); }
    // A blank line's row is a shared empty one.
    const TSrcKinsen& Kinsens(int AIndex) const;
    int KinsenStartingIndex() const { return FKinsenStartingIndex; }
    TTvrDate FiscalFirstDate() const { return FFiscalFirstDate; }
    TTvrDate FiscalLastDate() const { return FFiscalLastDate; }
    int Add();
    void Clear();

private:
    void Load(const std::string& AFileName, const TTvrRegionalSettings& ASettings, TTvrDate AToday);
    void SendError(const std::string& AMessage);

    bool FCompleted = true;
    std::vector<std::unique_ptr<TSrcKinsen>> FKinsens;
    // The row every blank line shares.
    TSrcKinsen FBlank;
    int FKinsenStartingIndex = -1;
    TTvrDate FFiscalFirstDate;
    TTvrDate FFiscalLastDate;
    TTvrExecuteSendMessage FSendMessage;
    const TSrcTantoshaMaster* FTantoshaMaster;
    const TSrcKamokuMaster& FKamokuMaster;
};

// One month of the fiscal period; the period's months follow each other
// without gaps.
struct TTvrFiscalMonth {
    int32_t Month = 0;
    TTvrDate FirstDate;
    TTvrDate LastDate;
    // FirstDate <= ADate <= LastDate, comparing days only.
    bool Contains(TTvrDate ADate) const;
};

using TTvrFiscalMonths = std::vector<TTvrFiscalMonth>;

// The index of the first month that contains the date, or -1.
int FiscalMonthIndexOf(const TTvrFiscalMonths& AFiscalMonths, TTvrDate ADate);

// Row positions into the cash-book rows, in the order added.
class TTvrIndices {
public:
    int Count() const { return static_cast<int>(FIndices.size()); }
    int32_t Indices(int AIndex) const { return FIndices[static_cast<size_t>(AIndex)]; }
    int Add(int32_t AIndex);
    const std::vector<int32_t>& Items() const { return FIndices; }

private:
    std::vector<int32_t> FIndices;
};

class TTvrIndiceses {
public:
    int Count() const { return static_cast<int>(FIndiceses.size()); }
    // A smaller count frees the lists at the end, the last first; a larger
    // one appends empty lists.
    void SetCount(int ACount);
    const TTvrIndices& Indiceses(int AIndex) const { return *FIndiceses.at(static_cast<size_t>(AIndex)); }
    TTvrIndices& Indiceses(int AIndex) { return *FIndiceses.at(static_cast<size_t>(AIndex)); }
    ~TTvrIndiceses() { SetCount(0); }

private:
    std::vector<std::unique_ptr<TTvrIndices>> FIndiceses;
};

// The cash-book table as the run creates it and the books read it: the rows,
// the fiscal months, the row indices per month and the balances. It refers to
// the two masters it was checked against and changes neither.
class TSrcKinsenTable {
public:
    TSrcKinsenTable(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                    const TSrcTantoshaMaster* ATantoshaMaster, const TSrcKamokuMaster& AKamokuMaster,
                    const TTvrRegionalSettings& ASettings, TTvrDate AToday);
    TSrcKinsenTable(const TSrcKinsenTable&) = delete;
    TSrcKinsenTable& operator=(const TSrcKinsenTable&) = delete;

    bool Completed() const { return FKinsens->Completed(); }
    const TSrcKinsens& Kinsens() const { return *FKinsens; }
    int KinsenStartingIndex() const { return FKinsenStartingIndex; }
    const TTvrIndices& KinsenAllIndices() const { return *FKinsenAllIndices; }
    const TTvrIndiceses& KinsenMonthlyIndices() const { return *FKinsenMonthlyIndices; }
    TTvrDate FiscalFirstDate() const { return FFiscalFirstDate; }
    TTvrDate FiscalLastDate() const { return FFiscalLastDate; }
    int FiscalMonthCount() const { return FFiscalMonthCount; }
    const TTvrFiscalMonths& FiscalMonths() const { return FFiscalMonths; }
    double FiscalStartingCash() const { return FFiscalStartingCash; }
    double FiscalStartingBank() const { return FFiscalStartingBank; }
    double FiscalStartingTotal() const { return FFiscalStartingTotal; }
    double FiscalCarryingCash() const { return FFiscalCarryingCash; }
    double FiscalCarryingBank() const { return FFiscalCarryingBank; }
    double FiscalCarryingTotal() const { return FFiscalCarryingTotal; }
    const TSrcTantoshaMaster* TantoshaMaster() const { return FTantoshaMaster; }
    const TSrcKamokuMaster& KamokuMaster() const { return FKamokuMaster; }

    static const TTvrFieldDefDynArray& FieldDefs();

private:
    void BuildFiscalMonths();
    void IndexRows();

    std::unique_ptr<TSrcKinsens> FKinsens;
    int FKinsenStartingIndex = -1;
    std::unique_ptr<TTvrIndices> FKinsenAllIndices = std::make_unique<TTvrIndices>();
    std::unique_ptr<TTvrIndiceses> FKinsenMonthlyIndices = std::make_unique<TTvrIndiceses>();
    TTvrDate FFiscalFirstDate;
    TTvrDate FFiscalLastDate;
    int FFiscalMonthCount = 0;
    TTvrFiscalMonths FFiscalMonths;
    double FFiscalStartingCash = 0.0;
    double FFiscalStartingBank = 0.0;
    double FFiscalStartingTotal = 0.0;
    double FFiscalCarryingCash = 0.0;
    double FFiscalCarryingBank = 0.0;
    double FFiscalCarryingTotal = 0.0;
    const TSrcTantoshaMaster* FTantoshaMaster;
    const TSrcKamokuMaster& FKamokuMaster;
};

} // namespace tavrel
