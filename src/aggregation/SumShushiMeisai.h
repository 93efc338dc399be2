// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// The columns of the income-expense item statement, by position.
enum TSumShushiMeisaiBookColumn {
    mbMTradingDate, mbMSNOTE, mbMAITE, mbMTEKI, mbMKamoku2, mbMKamoku3, mbMKingaku, mbColumnCount
};

const TSumBookSchema& ShushiMeisaiBookSchema();

// A row of the income-expense item statement "15収支科目明細書.csv": a major
// item's title row or one of its transactions.
class TSumShushiMeisai {
public:
    TSumShushiMeisai() = default;
    // "■ code.name (budget)" with the item's total.
    static TSumShushiMeisai CreateTitle(const TSrcKamokuGran& AGran, double ASumAll,
                                        const TTvrRegionalSettings& ASettings);
    // A transaction with its booked amount.
    static TSumShushiMeisai CreateKinsen(const TSrcKinsen& AKinsen);

    bool Empty() const { return FEmpty; }
    // The transaction's trading date, or the title text.
    const TTvrValue& MTradingDate() const { return FMTradingDate; }
    const std::string& MSNOTE() const;
    const std::string& MAITE() const;
    const std::string& MTEKI() const;
    const std::string& MKamoku2() const;
    const std::string& MKamoku3() const;
    double MKingaku() const { return FMKingaku; }

private:
    bool FEmpty = true;
    const TSrcKinsen* FKinsen = nullptr;
    TTvrValue FMTradingDate;
    double FMKingaku = 0.0;
};

class TSumShushiMeisais : public TSumRowList<TSumShushiMeisai> {
public:
    const TSumShushiMeisai& ShushiMeisais(int AIndex) const { return Row(AIndex); }
    int Add(TSumShushiMeisai ARow) { return Append(std::move(ARow)); }
};

// For every income and expense major item, its title row with its total and
// its transactions month by month, as the ledger grouped them.
void BuildShushiMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                           const TTvrRegionalSettings& ASettings, TSumShushiMeisais& ARows);

void MakeShushiMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                              const TSumContext& AContext, TTvrTextOut& AOut);

} // namespace tavrel
