#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "aggregation/SumShushiMeisai.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// A row of the major item statement "16大科目明細書.csv": an item's label in
// the column of its level with its actual amount.
class TSumGranMeisai {
public:
    TSumGranMeisai() = default;
    static TSumGranMeisai CreateEmpty() { return {}; }
    static TSumGranMeisai CreateGran(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings);
    static TSumGranMeisai CreateMidd(const TSrcKamokuMidd& AMidd, const TTvrRegionalSettings& ASettings);
    // "その他" in the middle column.
    static TSumGranMeisai CreateMidd(double ASumOthers);
    static TSumGranMeisai CreateConc(const TSrcKamokuConc& AConc, const TTvrRegionalSettings& ASettings);
    // "その他" in the minor column.
    static TSumGranMeisai CreateConc(double ASumOthers);

    bool Empty() const { return FEmpty; }
    const std::string& Kamoku1() const { return FKamoku1; }
    const std::string& Kamoku2() const { return FKamoku2; }
    const std::string& Kamoku3() const { return FKamoku3; }
    double Kessan() const { return FKessan; }

private:
    bool FEmpty = true;
    std::string FKamoku1;
    std::string FKamoku2;
    std::string FKamoku3;
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
    static TSumMiddMeisai CreateEmpty() { return {}; }
    static TSumMiddMeisai CreateMidd(const TSrcKamokuMidd& AMidd, const TTvrRegionalSettings& ASettings);
    // The heading of a major item: "◆ code.name.その他" when it has middle
    // items, else "■ code.name (budget)"; its amount is SumExceptMidds.
    static TSumMiddMeisai CreateMidd(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings);
    static TSumMiddMeisai CreateConc(const TSrcKamokuConc& AConc, const TTvrRegionalSettings& ASettings);
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

// The cash-book rows grouped once by the account their code was resolved to,
// in table order.
class TSumKinsensByAccount {
public:
    explicit TSumKinsensByAccount(const TSrcKinsenTable& AKinsenTable);
    // The rows booked to the account of this tree node (none: empty).
    const std::vector<int32_t>& RowsOf(const TSrcKamokuItem& ANode) const;

private:
    const TSrcKamokuItems& FItems;
    std::unordered_map<const TSrcKamokuItem*, std::vector<int32_t>> FRows;
};

// Each minor item with its transactions, then, when the parent has
// transactions of its own, "その他" (only after minor items) and those.
void AddConcsAndKinsens(TSumMiddMeisais& ARows, const TSrcKamokuConcs& AConcs, double ARemainder,
                        const TSrcKamokuItem& AParent, const TSrcKinsenTable& AKinsenTable,
                        const TSumKinsensByAccount& AByAccount, const TTvrRegionalSettings& ASettings);

void BuildGranMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                         TSumGranMeisais& ARows);
void BuildMiddMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                         TSumMiddMeisais& ARows);

// The text of the book, without writing it.
std::string MakeGranMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext);
std::string WriteGranMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                const TSumContext& AContext);
// The text of the book, without writing it.
std::string MakeMiddMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext);
std::string WriteMiddMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                const TSumContext& AContext);

const TTvrFieldDefDynArray& GranMeisaiBookFieldDefs();
const TTvrFieldDefDynArray& MiddMeisaiBookFieldDefs();

} // namespace tavrel
