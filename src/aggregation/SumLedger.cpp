// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumLedger.h"

namespace tavrel {

namespace {

// The booked amounts of the transactions, summed once per middle and per
// minor account they were resolved to, in table order, so that every item's
// sum comes from one walk over the table.
class TItemSums {
public:
    explicit TItemSums(const TSrcKinsenTable& AKinsenTable) : FItems(AKinsenTable.KamokuMaster().KamokuItems())
    {
        const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
        for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
            const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
            if (Kinsen.Kamoku2() != nullptr)
                FMiddSums[Kinsen.Kamoku2()] += Kinsen.KingakuBooked();
            if (Kinsen.Kamoku3() != nullptr)
                FConcSums[Kinsen.Kamoku3()] += Kinsen.KingakuBooked();
        }
    }

    // The transactions booked to the middle item or any of its minor items.
    double MiddSum(const TSrcKamokuItem& AMidd) const { return Find(FMiddSums, AMidd); }
    // The transactions booked to the minor item.
    double ConcSum(const TSrcKamokuItem& AConc) const { return Find(FConcSums, AConc); }

private:
    double Find(const std::unordered_map<const TSrcKamokuItem*, double>& ASums, const TSrcKamokuItem& ANode) const
    {
        const auto It = ASums.find(FItems.ItemOf(ANode));
        return It == ASums.end() ? 0.0 : It->second;
    }

    const TSrcKamokuItems& FItems;
    std::unordered_map<const TSrcKamokuItem*, double> FMiddSums;
    std::unordered_map<const TSrcKamokuItem*, double> FConcSums;
};

} // namespace

TSumLedger::TSumLedger(const TSrcKinsenTable& AKinsenTable) : FMonthCount(AKinsenTable.FiscalMonthCount())
{
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    AddNodes(Grans);
    const int Opening = Grans.IndexOf(kOpeningCode);
    if (Opening >= 0) {
        FOpening = &Grans.Grans(Opening);
        FOpeningBalance = FOpening->KYOSAN().AsFloat();
    }
    GroupRows(AKinsenTable);

    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    const TItemSums ItemSums(AKinsenTable);
    // Sets the SumAll of each minor item of the list and returns their sum.
    const auto SumConcs = [&](const TSrcKamokuConcs& AConcs) {
        double Result = 0.0;
        for (int C = 0; C < AConcs.Count(); ++C) {
            TNodeSums& Conc = FSums.at(&AConcs.Concs(C));
            Conc.SumAll = ItemSums.ConcSum(AConcs.Concs(C));
            Result += Conc.SumAll;
        }
        return Result;
    };
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        TNodeSums& Sums = FSums.at(&Gran);
        double Total = 0.0;
        for (int M = 0; M < FMonthCount; ++M) {
            double MonthSum = 0.0;
            for (const int32_t Index : Sums.Rows[static_cast<size_t>(M)]) {
                const double Booked = Kinsens.Kinsens(Index).KingakuBooked();
                MonthSum += Booked;
                Total += Booked;
            }
            Sums.SumsMonthly[static_cast<size_t>(M)] = MonthSum;
            Sums.SumsMonths[static_cast<size_t>(M)] = Total;
        }
        Sums.SumAll = Total;

        double MiddleTotal = 0.0;
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            TNodeSums& MiddSums = FSums.at(&Midd);
            MiddSums.SumAll = ItemSums.MiddSum(Midd);
            MiddleTotal += MiddSums.SumAll;
            MiddSums.SumExceptConcs = MiddSums.SumAll - SumConcs(Midd.Concs());
        }
        Sums.SumExceptMidds = Total - MiddleTotal;
        if (Gran.GranConc())
            Sums.SumExceptConcs = Total - SumConcs(*Gran.Concs());
    }
}

void TSumLedger::AddNodes(const TSrcKamokuGrans& AGrans)
{
    const auto AddConcs = [this](const TSrcKamokuConcs* AConcs) {
        for (int C = 0; AConcs != nullptr && C < AConcs->Count(); ++C)
            FSums[&AConcs->Concs(C)];
    };
    for (int G = 0; G < AGrans.Count(); ++G) {
        const TSrcKamokuGran& Gran = AGrans.Grans(G);
        TNodeSums& Sums = FSums[&Gran];
        Sums.SumsMonthly.assign(static_cast<size_t>(FMonthCount), 0.0);
        Sums.SumsMonths.assign(static_cast<size_t>(FMonthCount), 0.0);
        Sums.Rows.resize(static_cast<size_t>(FMonthCount));
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            FSums[&Gran.Midds().Midds(D)];
            AddConcs(&Gran.Midds().Midds(D).Concs());
        }
        AddConcs(Gran.Concs());
    }
}

void TSumLedger::GroupRows(const TSrcKinsenTable& AKinsenTable)
{
    // Each month's transactions grouped once by their major item, in table
    // order, instead of walking the month once per major item.
    const TSrcKamokuItems& Items = AKinsenTable.KamokuMaster().KamokuItems();
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    std::unordered_map<const TSrcKamokuItem*, TNodeSums*> GranOfItem;
    for (int G = 0; G < Grans.Count(); ++G)
        if (Grans.Grans(G).Inout() != skiCarrying)
            GranOfItem.emplace(Items.ItemOf(Grans.Grans(G)), &FSums.at(&Grans.Grans(G)));
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    for (int M = 0; M < FMonthCount; ++M) {
        for (const int32_t Index : AKinsenTable.KinsenMonthlyIndices().Indiceses(M).Items()) {
            const auto It = GranOfItem.find(Kinsens.Kinsens(Index).Kamoku1());
            if (It != GranOfItem.end())
                It->second->Rows[static_cast<size_t>(M)].push_back(Index);
        }
    }
}

const TSumLedger::TNodeSums& TSumLedger::Sums(const TSrcKamokuItem& ANode) const
{
    return FSums.at(&ANode);
}

const std::vector<int32_t>& TSumLedger::Rows(const TSrcKamokuGran& AGran, int AMonth) const
{
    return Sums(AGran).Rows.at(static_cast<size_t>(AMonth));
}

double TSumLedger::SumAll(const TSrcKamokuItem& ANode) const { return Sums(ANode).SumAll; }
double TSumLedger::SumExceptMidds(const TSrcKamokuGran& AGran) const { return Sums(AGran).SumExceptMidds; }
double TSumLedger::SumExceptConcs(const TSrcKamokuGran& AGran) const { return Sums(AGran).SumExceptConcs; }
double TSumLedger::SumExceptConcs(const TSrcKamokuMidd& AMidd) const { return Sums(AMidd).SumExceptConcs; }

double TSumLedger::SumsMonthly(const TSrcKamokuGran& AGran, int AMonth) const
{
    return Sums(AGran).SumsMonthly.at(static_cast<size_t>(AMonth));
}

double TSumLedger::SumsMonths(const TSrcKamokuGran& AGran, int AMonth) const
{
    return Sums(AGran).SumsMonths.at(static_cast<size_t>(AMonth));
}

} // namespace tavrel
