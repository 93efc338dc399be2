// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// The columns of the major and of the middle item statement, by position.
enum TSumGranMeisaiBookColumn { gbKamoku1, gbKamoku2, gbKamoku3, gbKessan, gbColumnCount };
enum TSumMiddMeisaiBookColumn { dbKamoku2, dbKamoku3, dbKAITE, dbKTEKI, dbDate, dbTantosha, dbKingaku, dbColumnCount };

const TSumBookSchema& GranMeisaiBookSchema();
const TSumBookSchema& MiddMeisaiBookSchema();

// A row of the major item statement "16大科目明細書.csv": an item's label in
// the column of its level with its actual amount.
class TSumGranMeisai {
public:
    TSumGranMeisai() = default;
    // "code.name (budget)", with "■ " before a major item's, and SumAll.
    static TSumGranMeisai CreateItem(const TSrcKamokuItem& ANode, const TSumLedger& ALedger,
                                     const TTvrRegionalSettings& ASettings);
    // "その他" in the column of ALevel, with the part of the parent's amount
    // that lies in none of its listed sub-items.
    static TSumGranMeisai CreateOthers(TSrcKamokuLevel ALevel, double ARemainder);

    bool Empty() const { return FEmpty; }
    const std::string& Kamoku1() const { return FKamoku[sklGran]; }
    const std::string& Kamoku2() const { return FKamoku[sklMidd]; }
    const std::string& Kamoku3() const { return FKamoku[sklConc]; }
    double Kessan() const { return FKessan; }

private:
    TSumGranMeisai(TSrcKamokuLevel ALevel, std::string ALabel, double AKessan);

    bool FEmpty = true;
    std::string FKamoku[3];
    double FKessan = 0.0;
};

class TSumGranMeisais : public TSumRowList<TSumGranMeisai> {
public:
    const TSumGranMeisai& GranMeisais(int AIndex) const { return Row(AIndex); }
    int Add(TSumGranMeisai ARow) { return Append(std::move(ARow)); }
};

// A row of the middle item statement "17中科目明細書.csv": a heading, a minor
// item, an "その他" row or a transaction.
class TSumMiddMeisai {
public:
    TSumMiddMeisai() = default;
    // The heading of a middle item: "◆ " and its path of codes and names
    // with its budget; its amount is SumAll.
    static TSumMiddMeisai CreateMidd(const TSrcKamokuMidd& AMidd, const TSumLedger& ALedger,
                                     const TTvrRegionalSettings& ASettings);
    // The heading of a major item: "◆ code.name.その他" when it has middle
    // items, else "■ code.name (budget)"; its amount is SumExceptMidds.
    static TSumMiddMeisai CreateMidd(const TSrcKamokuGran& AGran, const TSumLedger& ALedger,
                                     const TTvrRegionalSettings& ASettings);
    static TSumMiddMeisai CreateConc(const TSrcKamokuConc& AConc, const TSumLedger& ALedger,
                                     const TTvrRegionalSettings& ASettings);
    // "その他" in the minor column.
    static TSumMiddMeisai CreateConc(double AKingaku);
    static TSumMiddMeisai CreateKinsen(const TSrcKinsen& AKinsen);

    bool Empty() const { return FEmpty; }
    const std::string& Kamoku2() const { return FKamoku2; }
    const std::string& Kamoku3() const { return FKamoku3; }
    const std::string& KAITE() const;
    const std::string& KTEKI() const;
    // The transaction's trading date; 0 (no date) on other rows.
    TTvrDate Date() const;
    const std::string& Tantosha() const;
    double Kingaku() const { return FKingaku; }

private:
    TSumMiddMeisai(std::string AKamoku2, std::string AKamoku3, double AKingaku);

    bool FEmpty = true;
    const TSrcKinsen* FKinsen = nullptr;
    std::string FKamoku2;
    std::string FKamoku3;
    double FKingaku = 0.0;
};

class TSumMiddMeisais : public TSumRowList<TSumMiddMeisai> {
public:
    const TSumMiddMeisai& MiddMeisais(int AIndex) const { return Row(AIndex); }
    int Add(TSumMiddMeisai ARow) { return Append(std::move(ARow)); }
};

void BuildGranMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                         const TTvrRegionalSettings& ASettings, TSumGranMeisais& ARows);
void BuildMiddMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                         const TTvrRegionalSettings& ASettings, TSumMiddMeisais& ARows);

void MakeGranMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                            const TSumContext& AContext, TTvrTextOut& AOut);
void MakeMiddMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                            const TSumContext& AContext, TTvrTextOut& AOut);

} // namespace tavrel
