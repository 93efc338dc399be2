// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "sources/SrcKinsen.h"

namespace tavrel {

// The sums of a run over the account tree, computed once from the checked
// cash-book table before any book is built and never changed afterwards.
// Every book reads its figures here, so that any book can be built alone,
// in any order, with the same figures.
//
// The ledger refers to the tree nodes of the table's account-title master
// (the major, middle and minor items of Grans) and is valid while that
// master lives. Every sum adds the booked amounts (KingakuBooked) in the
// order of the transactions in the table, in 64-bit floating point. The
// opening-balance item has no transactions here: all its sums, and those of
// any item under it, are 0.
class TSumLedger {
public:
    explicit TSumLedger(const TSrcKinsenTable& AKinsenTable);
    TSumLedger(const TSumLedger&) = delete;
    TSumLedger& operator=(const TSumLedger&) = delete;

    // The fiscal months of the table.
    int MonthCount() const { return FMonthCount; }

    // The transactions booked to the major item in the fiscal month, as
    // positions into the table's rows, in table order.
    const std::vector<int32_t>& Rows(const TSrcKamokuGran& AGran, int AMonth) const;

    // A major item: the sum of all its transactions. A middle item: of those
    // booked to it or to any of its minor items. A minor item: of those
    // booked to it.
    double SumAll(const TSrcKamokuItem& ANode) const;
    // The major item's SumAll less the SumAll of its middle items.
    double SumExceptMidds(const TSrcKamokuGran& AGran) const;
    // The item's SumAll less the SumAll of its minor items; 0 for a major
    // item whose minor items do not hang directly under it.
    double SumExceptConcs(const TSrcKamokuGran& AGran) const;
    double SumExceptConcs(const TSrcKamokuMidd& AMidd) const;
    // The sum of the major item's transactions in the fiscal month, and the
    // running sum up to and including that month.
    double SumsMonthly(const TSrcKamokuGran& AGran, int AMonth) const;
    double SumsMonths(const TSrcKamokuGran& AGran, int AMonth) const;

    // The opening-balance item, and its budget as the balance the year
    // starts from (0 when the master has no such item).
    const TSrcKamokuGran* Opening() const { return FOpening; }
    double OpeningBalance() const { return FOpeningBalance; }

private:
    struct TNodeSums {
        double SumAll = 0.0;
        double SumExceptMidds = 0.0;
        double SumExceptConcs = 0.0;
        // Major items only: one entry per fiscal month.
        std::vector<double> SumsMonthly;
        std::vector<double> SumsMonths;
        std::vector<std::vector<int32_t>> Rows;
    };
    const TNodeSums& Sums(const TSrcKamokuItem& ANode) const;
    void AddNodes(const TSrcKamokuGrans& AGrans);
    void GroupRows(const TSrcKinsenTable& AKinsenTable);

    int FMonthCount = 0;
    std::unordered_map<const TSrcKamokuItem*, TNodeSums> FSums;
    const TSrcKamokuGran* FOpening = nullptr;
    double FOpeningBalance = 0.0;
};

} // namespace tavrel
