#include "aggregation/SumMeisaiBooks.h"

#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

// An "その他" row is shown only when some, but not all, of the parent's
// amount lies in its listed sub-items.
bool RemainderShown(double ARemainder, double AParentSumAll)
{
    return ARemainder != 0 && ARemainder != AParentSumAll;
}

} // namespace

TSumGranMeisai TSumGranMeisai::CreateGran(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings)
{
    TSumGranMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku1 = BudgetLabel("■ ", AGran.CodeName(), AGran.KYOSAN(), ASettings);
    Row.FKessan = AGran.SumAll();
    return Row;
}

TSumGranMeisai TSumGranMeisai::CreateMidd(const TSrcKamokuMidd& AMidd, const TTvrRegionalSettings& ASettings)
{
    TSumGranMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku2 = BudgetLabel("", AMidd.CodeName(), AMidd.KYOSAN(), ASettings);
    Row.FKessan = AMidd.SumAll();
    return Row;
}

TSumGranMeisai TSumGranMeisai::CreateMidd(double ASumOthers)
{
    TSumGranMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku2 = "その他";
    Row.FKessan = ASumOthers;
    return Row;
}

TSumGranMeisai TSumGranMeisai::CreateConc(const TSrcKamokuConc& AConc, const TTvrRegionalSettings& ASettings)
{
    TSumGranMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku3 = BudgetLabel("", AConc.CodeName(), AConc.KYOSAN(), ASettings);
    Row.FKessan = AConc.SumAll();
    return Row;
}

TSumGranMeisai TSumGranMeisai::CreateConc(double ASumOthers)
{
    TSumGranMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku3 = "その他";
    Row.FKessan = ASumOthers;
    return Row;
}

TSumMiddMeisai TSumMiddMeisai::CreateMidd(const TSrcKamokuMidd& AMidd, const TTvrRegionalSettings& ASettings)
{
    TSumMiddMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku2 = BudgetLabel("◆ ", AMidd.FullName(), AMidd.KYOSAN(), ASettings);
    Row.FKingaku = AMidd.SumAll();
    return Row;
}

TSumMiddMeisai TSumMiddMeisai::CreateMidd(const TSrcKamokuGran& AGran, const TTvrRegionalSettings& ASettings)
{
    TSumMiddMeisai Row;
    Row.FEmpty = false;
    if (AGran.Midds().Count() > 0)
        Row.FKamoku2 = "◆ " + AGran.CodeName() + ".その他";
    else
        Row.FKamoku2 = BudgetLabel("■ ", AGran.CodeName(), AGran.KYOSAN(), ASettings);
    Row.FKingaku = AGran.SumExceptMidds();
    return Row;
}

TSumMiddMeisai TSumMiddMeisai::CreateConc(const TSrcKamokuConc& AConc, const TTvrRegionalSettings& ASettings)
{
    TSumMiddMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku3 = BudgetLabel("", AConc.CodeName(), AConc.KYOSAN(), ASettings);
    Row.FKingaku = AConc.SumAll();
    return Row;
}

TSumMiddMeisai TSumMiddMeisai::CreateConc(double AKingaku)
{
    TSumMiddMeisai Row;
    Row.FEmpty = false;
    Row.FKamoku3 = "その他";
    Row.FKingaku = AKingaku;
    return Row;
}

TSumMiddMeisai TSumMiddMeisai::CreateKinsen(const TSrcKinsen& AKinsen)
{
    TSumMiddMeisai Row;
    Row.FEmpty = false;
    Row.FKinsen = &AKinsen;
    Row.FKingaku = AKinsen.KingakuBooked();
    return Row;
}

const std::string& TSumMiddMeisai::KAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const std::string& TSumMiddMeisai::KTEKI() const { return FKinsen ? FKinsen->KTEKI() : EmptyText(); }
TTvrDate TSumMiddMeisai::Date() const { return FKinsen ? FKinsen->TradingDate() : TTvrDate(); }

const std::string& TSumMiddMeisai::Tantosha() const
{
    return FKinsen ? FKinsen->TantoshaName() : EmptyText();
}

TSumKinsensByAccount::TSumKinsensByAccount(const TSrcKinsenTable& AKinsenTable)
    : FItems(AKinsenTable.KamokuMaster().KamokuItems())
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    for (int I = 0; I < Kinsens.Count(); ++I) {
        const TSrcKamokuItem* Account = Kinsens.Kinsens(I).Kamoku();
        if (Account != nullptr)
            FRows[Account].push_back(I);
    }
}

const std::vector<int32_t>& TSumKinsensByAccount::RowsOf(const TSrcKamokuItem& ANode) const
{
    static const std::vector<int32_t> None;
    int Index = -1;
    if (!FItems.Find(ANode.FullCode(), Index))
        return None;
    const auto It = FRows.find(&FItems.KamokuItems(Index));
    return It == FRows.end() ? None : It->second;
}

void AddConcsAndKinsens(TSumMiddMeisais& ARows, const TSrcKamokuConcs& AConcs, double ARemainder,
                        const TSrcKamokuItem& AParent, const TSrcKinsenTable& AKinsenTable,
                        const TSumKinsensByAccount& AByAccount, const TTvrRegionalSettings& ASettings)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    for (int C = 0; C < AConcs.Count(); ++C) {
        const TSrcKamokuConc& Conc = AConcs.Concs(C);
        ARows.Add(TSumMiddMeisai::CreateConc(Conc, ASettings));
        for (const int32_t Index : AByAccount.RowsOf(Conc))
            ARows.Add(TSumMiddMeisai::CreateKinsen(Kinsens.Kinsens(Index)));
    }
    const std::vector<int32_t>& Own = AByAccount.RowsOf(AParent);
    if (Own.empty())
        return;
    if (AConcs.Count() > 0)
        ARows.Add(TSumMiddMeisai::CreateConc(ARemainder));
    for (const int32_t Index : Own)
        ARows.Add(TSumMiddMeisai::CreateKinsen(Kinsens.Kinsens(Index)));
}

void BuildGranMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                         TSumGranMeisais& ARows)
{
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        if (ARows.Count() > 0)
            ARows.Add(TSumGranMeisai::CreateEmpty());
        ARows.Add(TSumGranMeisai::CreateGran(Gran, ASettings));
        if (Gran.GranConc()) {
            for (int C = 0; C < Gran.Concs()->Count(); ++C)
                ARows.Add(TSumGranMeisai::CreateConc(Gran.Concs()->Concs(C), ASettings));
            if (RemainderShown(Gran.SumExceptConcs(), Gran.SumAll()))
                ARows.Add(TSumGranMeisai::CreateConc(Gran.SumExceptConcs()));
            continue;
        }
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            ARows.Add(TSumGranMeisai::CreateMidd(Midd, ASettings));
            for (int C = 0; C < Midd.Concs().Count(); ++C)
                ARows.Add(TSumGranMeisai::CreateConc(Midd.Concs().Concs(C), ASettings));
            if (RemainderShown(Midd.SumExceptConcs(), Midd.SumAll()))
                ARows.Add(TSumGranMeisai::CreateConc(Midd.SumExceptConcs()));
        }
        if (RemainderShown(Gran.SumExceptMidds(), Gran.SumAll()))
            ARows.Add(TSumGranMeisai::CreateMidd(Gran.SumExceptMidds()));
    }
}

void BuildMiddMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                         TSumMiddMeisais& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    const TSumKinsensByAccount ByAccount(AKinsenTable);
    const auto Separate = [&ARows] {
        if (ARows.Count() > 0)
            ARows.Add(TSumMiddMeisai::CreateEmpty());
    };
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        if (Gran.GranConc()) {
            Separate();
            ARows.Add(TSumMiddMeisai::CreateMidd(Gran, ASettings));
            AddConcsAndKinsens(ARows, *Gran.Concs(), Gran.SumExceptConcs(), Gran, AKinsenTable, ByAccount,
                               ASettings);
            continue;
        }
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            const TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            Separate();
            ARows.Add(TSumMiddMeisai::CreateMidd(Midd, ASettings));
            AddConcsAndKinsens(ARows, Midd.Concs(), Midd.SumExceptConcs(), Midd, AKinsenTable, ByAccount,
                               ASettings);
        }
        const std::vector<int32_t>& Own = ByAccount.RowsOf(Gran);
        if (Own.empty())
            continue;
        Separate();
        ARows.Add(TSumMiddMeisai::CreateMidd(Gran, ASettings));
        for (const int32_t Index : Own)
            ARows.Add(TSumMiddMeisai::CreateKinsen(Kinsens.Kinsens(Index)));
    }
}

std::string MakeGranMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext)
{
    TSumGranMeisais Rows;
    BuildGranMeisaiRows(AKinsenTable, AContext.Settings, Rows);
    return BookRowsText(Rows, 4, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumGranMeisai& Row = Rows.GranMeisais(AIndex);
        ALine.Text(0, Row.Kamoku1());
        ALine.Text(1, Row.Kamoku2());
        ALine.Text(2, Row.Kamoku3());
        ALine.Number(3, Row.Kessan());
    });
}

std::string MakeMiddMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext)
{
    TSumMiddMeisais Rows;
    BuildMiddMeisaiRows(AKinsenTable, AContext.Settings, Rows);
    return BookRowsText(Rows, 7, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumMiddMeisai& Row = Rows.MiddMeisais(AIndex);
        ALine.Text(0, Row.Kamoku2());
        ALine.Text(1, Row.Kamoku3());
        ALine.Text(2, Row.KAITE());
        ALine.Text(3, Row.KTEKI());
        if (Row.Date().Serial() != 0)
            ALine.Date(4, Row.Date());
        ALine.Text(5, Row.Tantosha());
        ALine.Number(6, Row.Kingaku());
    });
}

std::string WriteGranMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                const TSumContext& AContext)
{
    return WriteBook(MakeGranMeisaiBookText, AKinsenTable, AFileName, AContext);
}

std::string WriteMiddMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                const TSumContext& AContext)
{
    return WriteBook(MakeMiddMeisaiBookText, AKinsenTable, AFileName, AContext);
}

const TTvrFieldDefDynArray& GranMeisaiBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"大科目(予算)", sftString, 30},
        {"中科目(予算)", sftString, 25},
        {"小科目(予算)", sftString, 25},
        {"決算額", sftDouble, 12},
    };
    return Defs;
}

const TTvrFieldDefDynArray& MiddMeisaiBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"大科目/中科目(予算)", sftString, 30}, {"小科目(予算)", sftString, 20},
        {"相手名", sftString, 25},              {"摘要明細", sftString, 25},
        {"発生日付", sftString, 10},            {"担当者", sftString, 6},
        {"金額", sftDouble, 12},
    };
    return Defs;
}

} // namespace tavrel
