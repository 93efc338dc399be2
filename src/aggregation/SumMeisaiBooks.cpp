// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumMeisaiBooks.h"

#include <unordered_map>
#include <vector>

#include "aggregation/SumLedger.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

const char* const kOthers = "その他";

// An "その他" row is shown only when some, but not all, of the parent's
// amount lies in its listed sub-items.
bool RemainderShown(double ARemainder, double AParentSumAll)
{
    return ARemainder != 0 && ARemainder != AParentSumAll;
}

// The cash-book rows grouped once by the account their code was resolved
// to, in table order.
class TKinsensByAccount {
public:
    explicit TKinsensByAccount(const TSrcKinsenTable& AKinsenTable)
        : FItems(AKinsenTable.KamokuMaster().KamokuItems())
    {
        const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
        for (int I = 0; I < Kinsens.Count(); ++I) {
            const TSrcKamokuItem* Account = Kinsens.Kinsens(I).Kamoku();
            if (Account != nullptr)
                FRows[Account].push_back(I);
        }
    }

    // The rows booked to the account of this tree node (none: empty).
    const std::vector<int32_t>& RowsOf(const TSrcKamokuItem& ANode) const
    {
        static const std::vector<int32_t> None;
        const auto It = FRows.find(FItems.ItemOf(ANode));
        return It == FRows.end() ? None : It->second;
    }

private:
    const TSrcKamokuItems& FItems;
    std::unordered_map<const TSrcKamokuItem*, std::vector<int32_t>> FRows;
};

// The middle item statement's rows as they are added.
template <typename TRows>
class TMiddMeisaiBuilder {
public:
    TMiddMeisaiBuilder(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                       const TTvrRegionalSettings& ASettings, TRows& ARows)
        : FKinsens(AKinsenTable.Kinsens()), FLedger(ALedger), FSettings(ASettings), FByAccount(AKinsenTable),
          FRows(ARows)
    {
    }

    // Each minor item with its transactions, then, when the parent has
    // transactions of its own, "その他" (only after minor items) and those.
    void AddConcsAndKinsens(const TSrcKamokuConcs& AConcs, double ARemainder, const TSrcKamokuItem& AParent)
    {
        for (int C = 0; C < AConcs.Count(); ++C) {
            const TSrcKamokuConc& Conc = AConcs.Concs(C);
            FRows.Append(TSumMiddMeisai::CreateConc(Conc, FLedger, FSettings));
            AddKinsens(FByAccount.RowsOf(Conc));
        }
        const std::vector<int32_t>& Own = FByAccount.RowsOf(AParent);
        if (Own.empty())
            return;
        if (AConcs.Count() > 0)
            FRows.Append(TSumMiddMeisai::CreateConc(ARemainder));
        AddKinsens(Own);
    }

    // The major item's own transactions under its heading, when it has any.
    void AddGranKinsens(const TSrcKamokuGran& AGran)
    {
        const std::vector<int32_t>& Own = FByAccount.RowsOf(AGran);
        if (Own.empty())
            return;
        FRows.Separate();
        FRows.Append(TSumMiddMeisai::CreateMidd(AGran, FLedger, FSettings));
        AddKinsens(Own);
    }

private:
    void AddKinsens(const std::vector<int32_t>& AIndices)
    {
        for (const int32_t Index : AIndices)
            FRows.Append(TSumMiddMeisai::CreateKinsen(FKinsens.Kinsens(Index)));
    }

    const TSrcKinsens& FKinsens;
    const TSumLedger& FLedger;
    const TTvrRegionalSettings& FSettings;
    const TKinsensByAccount FByAccount;
    TRows& FRows;
};

} // namespace

TSumGranMeisai::TSumGranMeisai(TSrcKamokuLevel ALevel, std::string ALabel, double AKessan)
    : FEmpty(false), FKessan(AKessan)
{
    FKamoku[ALevel] = std::move(ALabel);
}

TSumGranMeisai TSumGranMeisai::CreateItem(const TSrcKamokuItem& ANode, const TSumLedger& ALedger,
                                          const TTvrRegionalSettings& ASettings)
{
    const char* const Prefix = ANode.Level() == sklGran ? "■ " : "";
    return TSumGranMeisai(ANode.Level(), BudgetLabel(Prefix, ANode.CodeName(), ANode.KYOSAN(), ASettings),
                          ALedger.SumAll(ANode));
}

TSumGranMeisai TSumGranMeisai::CreateOthers(TSrcKamokuLevel ALevel, double ARemainder)
{
    return TSumGranMeisai(ALevel, kOthers, ARemainder);
}

TSumMiddMeisai::TSumMiddMeisai(std::string AKamoku2, std::string AKamoku3, double AKingaku)
    : FEmpty(false), FKamoku2(std::move(AKamoku2)), FKamoku3(std::move(AKamoku3)), FKingaku(AKingaku)
{
}

TSumMiddMeisai TSumMiddMeisai::CreateMidd(const TSrcKamokuMidd& AMidd, const TSumLedger& ALedger,
                                          const TTvrRegionalSettings& ASettings)
{
    return TSumMiddMeisai(BudgetLabel("◆ ", AMidd.FullName(), AMidd.KYOSAN(), ASettings), "", ALedger.SumAll(AMidd));
}

TSumMiddMeisai TSumMiddMeisai::CreateMidd(const TSrcKamokuGran& AGran, const TSumLedger& ALedger,
                                          const TTvrRegionalSettings& ASettings)
{
    std::string Heading = AGran.Midds().Count() > 0 ? "◆ " + AGran.CodeName() + "." + kOthers
                                                    : BudgetLabel("■ ", AGran.CodeName(), AGran.KYOSAN(), ASettings);
    return TSumMiddMeisai(std::move(Heading), "", ALedger.SumExceptMidds(AGran));
}

TSumMiddMeisai TSumMiddMeisai::CreateConc(const TSrcKamokuConc& AConc, const TSumLedger& ALedger,
                                          const TTvrRegionalSettings& ASettings)
{
    return TSumMiddMeisai("", BudgetLabel("", AConc.CodeName(), AConc.KYOSAN(), ASettings), ALedger.SumAll(AConc));
}

TSumMiddMeisai TSumMiddMeisai::CreateConc(double AKingaku)
{
    return TSumMiddMeisai("", kOthers, AKingaku);
}

TSumMiddMeisai TSumMiddMeisai::CreateKinsen(const TSrcKinsen& AKinsen)
{
    TSumMiddMeisai Row("", "", AKinsen.KingakuBooked());
    Row.FKinsen = &AKinsen;
    return Row;
}

const std::string& TSumMiddMeisai::KAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const std::string& TSumMiddMeisai::KTEKI() const { return FKinsen ? FKinsen->KTEKI() : EmptyText(); }
TTvrDate TSumMiddMeisai::Date() const { return FKinsen ? FKinsen->TradingDate() : TTvrDate(); }

const std::string& TSumMiddMeisai::Tantosha() const
{
    return FKinsen ? FKinsen->TantoshaName() : EmptyText();
}

namespace {

template <typename TRows>
void AddGranMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                       const TTvrRegionalSettings& ASettings, TRows& ARows)
{
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    // The minor items of a parent, then "その他" for what lies in none of them.
    const auto AddConcs = [&](const TSrcKamokuConcs& AConcs, double ARemainder, double AParentSumAll) {
        for (int C = 0; C < AConcs.Count(); ++C)
            ARows.Append(TSumGranMeisai::CreateItem(AConcs.Concs(C), ALedger, ASettings));
        if (RemainderShown(ARemainder, AParentSumAll))
            ARows.Append(TSumGranMeisai::CreateOthers(sklConc, ARemainder));
    };
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        ARows.Separate();
        ARows.Append(TSumGranMeisai::CreateItem(Gran, ALedger, ASettings));
        if (Gran.GranConc()) {
            AddConcs(*Gran.Concs(), ALedger.SumExceptConcs(Gran), ALedger.SumAll(Gran));
            continue;
        }
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            ARows.Append(TSumGranMeisai::CreateItem(Midd, ALedger, ASettings));
            AddConcs(Midd.Concs(), ALedger.SumExceptConcs(Midd), ALedger.SumAll(Midd));
        }
        if (RemainderShown(ALedger.SumExceptMidds(Gran), ALedger.SumAll(Gran)))
            ARows.Append(TSumGranMeisai::CreateOthers(sklMidd, ALedger.SumExceptMidds(Gran)));
    }
}

template <typename TRows>
void AddMiddMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                       const TTvrRegionalSettings& ASettings, TRows& ARows)
{
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    TMiddMeisaiBuilder<TRows> Builder(AKinsenTable, ALedger, ASettings, ARows);
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        if (Gran.GranConc()) {
            ARows.Separate();
            ARows.Append(TSumMiddMeisai::CreateMidd(Gran, ALedger, ASettings));
            Builder.AddConcsAndKinsens(*Gran.Concs(), ALedger.SumExceptConcs(Gran), Gran);
            continue;
        }
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            ARows.Separate();
            ARows.Append(TSumMiddMeisai::CreateMidd(Midd, ALedger, ASettings));
            Builder.AddConcsAndKinsens(Midd.Concs(), ALedger.SumExceptConcs(Midd), Midd);
        }
        Builder.AddGranKinsens(Gran);
    }
}

} // namespace

void BuildGranMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                         const TTvrRegionalSettings& ASettings, TSumGranMeisais& ARows)
{
    AddGranMeisaiRows(AKinsenTable, ALedger, ASettings, ARows);
}

void BuildMiddMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                         const TTvrRegionalSettings& ASettings, TSumMiddMeisais& ARows)
{
    AddMiddMeisaiRows(AKinsenTable, ALedger, ASettings, ARows);
}

void MakeGranMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                            const TSumContext& AContext, TTvrTextOut& AOut)
{
    WriteBookRows<TSumGranMeisai>(
        AOut, GranMeisaiBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddGranMeisaiRows(AKinsenTable, ALedger, AContext.Settings, ARows); },
        [](TSumLine& ALine, const TSumGranMeisai& ARow, const TSumGranMeisai*, int) {
            ALine.Text(gbKamoku1, ARow.Kamoku1());
            ALine.Text(gbKamoku2, ARow.Kamoku2());
            ALine.Text(gbKamoku3, ARow.Kamoku3());
            ALine.Number(gbKessan, ARow.Kessan());
        });
}

void MakeMiddMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                            const TSumContext& AContext, TTvrTextOut& AOut)
{
    WriteBookRows<TSumMiddMeisai>(
        AOut, MiddMeisaiBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddMiddMeisaiRows(AKinsenTable, ALedger, AContext.Settings, ARows); },
        [](TSumLine& ALine, const TSumMiddMeisai& ARow, const TSumMiddMeisai*, int) {
            ALine.Text(dbKamoku2, ARow.Kamoku2());
            ALine.Text(dbKamoku3, ARow.Kamoku3());
            ALine.Text(dbKAITE, ARow.KAITE());
            ALine.Text(dbKTEKI, ARow.KTEKI());
            if (ARow.Date().Serial() != 0)
                ALine.Date(dbDate, ARow.Date());
            ALine.Text(dbTantosha, ARow.Tantosha());
            ALine.Number(dbKingaku, ARow.Kingaku());
        });
}

namespace {

constexpr TTvrColumn<TSumGranMeisaiBookColumn> kGranMeisaiBookColumns[] = {
    {gbKamoku1, "大科目(予算)", sftString, 30},
    {gbKamoku2, "中科目(予算)", sftString, 25},
    {gbKamoku3, "小科目(予算)", sftString, 25},
    {gbKessan, "決算額", sftDouble, 12},
};
static_assert(ColumnsInOrder(kGranMeisaiBookColumns, gbColumnCount));

// The trading date is a text column here, unlike in the income-expense item
// statement: headings and item rows leave it empty.
constexpr TTvrColumn<TSumMiddMeisaiBookColumn> kMiddMeisaiBookColumns[] = {
    {dbKamoku2, "大科目/中科目(予算)", sftString, 30}, {dbKamoku3, "小科目(予算)", sftString, 20},
    {dbKAITE, "相手名", sftString, 25},                {dbKTEKI, "摘要明細", sftString, 25},
    {dbDate, "発生日付", sftString, 10},               {dbTantosha, "担当者", sftString, 6},
    {dbKingaku, "金額", sftDouble, 12},
};
static_assert(ColumnsInOrder(kMiddMeisaiBookColumns, dbColumnCount));

} // namespace

const TSumBookSchema& GranMeisaiBookSchema()
{
    static const TSumBookSchema Schema(kGranMeisaiBookName, kGranMeisaiBookColumns);
    return Schema;
}

const TSumBookSchema& MiddMeisaiBookSchema()
{
    static const TSumBookSchema Schema(kMiddMeisaiBookName, kMiddMeisaiBookColumns);
    return Schema;
}

} // namespace tavrel
