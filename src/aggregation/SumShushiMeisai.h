#pragma once

#include <string>
#include <unordered_map>

#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// A row of the income-expense item statement "15収支科目明細書.csv": a major
// item's title row or one of its transactions.
class TSumShushiMeisai {
public:
    TSumShushiMeisai() = default;
    static TSumShushiMeisai CreateEmpty() { return {}; }
    // "■ code.name (budget)"; the amount is set once the item's total is known.
    static TSumShushiMeisai CreateTitle(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings);
    // A transaction: its booked amount, added to both running sums.
    static TSumShushiMeisai CreateKinsen(const TSrcKinsen& AKinsen, double& ASum1, double& ASum2);

    bool Empty() const { return FEmpty; }
    // The transaction's trading date, or the title text.
    const TTvrValue& MTradingDate() const { return FMTradingDate; }
    const std::string& MSNOTE() const;
    const std::string& MAITE() const;
    const std::string& MTEKI() const;
    const std::string& MKamoku2() const;
    const std::string& MKamoku3() const;
    double MKingaku() const { return FMKingaku; }
    void SetMKingaku(double AValue) { FMKingaku = AValue; }

private:
    bool FEmpty = true;
    const TSrcKinsen* FKinsen = nullptr;
    TTvrValue FMTradingDate;
    double FMKingaku = 0.0;
};

class TSumShushiMeisais : public TSumRowList<TSumShushiMeisai> {
public:
    const TSumShushiMeisai& ShushiMeisais(int AIndex) const { return Row(AIndex); }
    TSumShushiMeisai& ShushiMeisais(int AIndex) { return Row(AIndex); }
    int AddEmpty() { return Append(TSumShushiMeisai::CreateEmpty()); }
    int AddTitle(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings)
    {
        return Append(TSumShushiMeisai::CreateTitle(AGran, ASettings));
    }
    int AddKinsen(const TSrcKinsen& AKinsen, double& ASum1, double& ASum2)
    {
        return Append(TSumShushiMeisai::CreateKinsen(AKinsen, ASum1, ASum2));
    }
};

// The booked amounts of the transactions, summed once per account they were
// resolved to, in table order, so that every item's sum comes from one walk
// over the table.
class TSumItemSums {
public:
    explicit TSumItemSums(const TSrcKinsenTable& AKinsenTable);
    // The sum of the transactions booked to the middle item or any of its
    // minor items.
    double MiddSum(const TSrcKamokuItem& AMidd) const;
    // The sum of the transactions booked to the minor item.
    double ConcSum(const TSrcKamokuItem& AConc) const;
    // The item of the account master that a tree node was copied from.
    const TSrcKamokuItem* ItemOf(const TSrcKamokuItem& ANode) const;

private:
    const TSrcKamokuItems& FItems;
    std::unordered_map<const TSrcKamokuItem*, double> FMiddSums;
    std::unordered_map<const TSrcKamokuItem*, double> FConcSums;
};

// Sets the SumAll of each minor item of the list and returns their sum.
double SumConcs(const TSumItemSums& ASums, TSrcKamokuConcs& AConcs);

// Builds the statement's rows and stores every sum of the account tree that
// the later books print.
void BuildShushiMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                           TSumShushiMeisais& ARows);

// The text of the book, without writing it.
std::string MakeShushiMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext);
std::string WriteShushiMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                  const TSumContext& AContext);

const TTvrFieldDefDynArray& ShushiMeisaiBookFieldDefs();

// APrefix, the name, a space and the budget text, trimmed so that a missing
// budget leaves no trailing space: the label of an item with its budget.
std::string BudgetLabel(const std::string& APrefix, const std::string& AName, const TTvrValue& ABudget,
                        const TTvrRegionalSettings& ASettings);

} // namespace tavrel
