#include "aggregation/SumShushiMeisai.h"

#include "tables/TvrConvert.h"

namespace tavrel {

std::string BudgetLabel(const std::string& APrefix, const std::string& AName, const TTvrValue& ABudget,
                        const TTvrRegionalSettings& ASettings)
{
    return Trim(APrefix + AName + " " + BudgetText(ABudget, ASettings));
}

TSumShushiMeisai TSumShushiMeisai::CreateTitle(const TSrcKamokuGran& AGran,
                                               const TTvrRegionalSettings& ASettings)
{
    TSumShushiMeisai Row;
    Row.FEmpty = false;
    Row.FMTradingDate = BudgetLabel("■ ", AGran.CodeName(), AGran.KYOSAN(), ASettings);
    return Row;
}

TSumShushiMeisai TSumShushiMeisai::CreateKinsen(const TSrcKinsen& AKinsen, double& ASum1, double& ASum2)
{
    TSumShushiMeisai Row;
    Row.FEmpty = false;
    Row.FKinsen = &AKinsen;
    Row.FMTradingDate = AKinsen.TradingDate();
    Row.FMKingaku = AKinsen.KingakuBooked();
    ASum1 += AKinsen.KingakuBooked();
    ASum2 += AKinsen.KingakuBooked();
    return Row;
}

const std::string& TSumShushiMeisai::MSNOTE() const { return FKinsen ? FKinsen->KSNOTE() : EmptyText(); }
const std::string& TSumShushiMeisai::MAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const std::string& TSumShushiMeisai::MTEKI() const { return FKinsen ? FKinsen->KTEKI() : EmptyText(); }
const std::string& TSumShushiMeisai::MKamoku2() const { return FKinsen ? FKinsen->Kamoku2CodeName() : EmptyText(); }
const std::string& TSumShushiMeisai::MKamoku3() const { return FKinsen ? FKinsen->Kamoku3CodeName() : EmptyText(); }

TSumItemSums::TSumItemSums(const TSrcKinsenTable& AKinsenTable)
    : FItems(AKinsenTable.KamokuMaster().KamokuItems())
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

const TSrcKamokuItem* TSumItemSums::ItemOf(const TSrcKamokuItem& ANode) const
{
    int Index = -1;
    return FItems.Find(ANode.FullCode(), Index) ? &FItems.KamokuItems(Index) : nullptr;
}

double TSumItemSums::MiddSum(const TSrcKamokuItem& AMidd) const
{
    const auto It = FMiddSums.find(ItemOf(AMidd));
    return It == FMiddSums.end() ? 0.0 : It->second;
}

double TSumItemSums::ConcSum(const TSrcKamokuItem& AConc) const
{
    const auto It = FConcSums.find(ItemOf(AConc));
    return It == FConcSums.end() ? 0.0 : It->second;
}

double SumConcs(const TSumItemSums& ASums, TSrcKamokuConcs& AConcs)
{
    double Result = 0.0;
    for (int I = 0; I < AConcs.Count(); ++I) {
        TSrcKamokuConc& Conc = AConcs.Concs(I);
        Conc.SetSumAll(ASums.ConcSum(Conc));
        Result += Conc.SumAll();
    }
    return Result;
}

void BuildShushiMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TTvrRegionalSettings& ASettings,
                           TSumShushiMeisais& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    const int MonthCount = AKinsenTable.FiscalMonthCount();
    const TSumItemSums Sums(AKinsenTable);

    // Each month's transactions grouped once by their major item, in table
    // order, instead of walking the month once per major item.
    std::unordered_map<const TSrcKamokuItem*, int> GranOfItem;
    for (int G = 0; G < Grans.Count(); ++G)
        GranOfItem.emplace(Sums.ItemOf(Grans.Grans(G)), G);
    std::vector<std::vector<std::vector<int32_t>>> ByGranAndMonth(
        static_cast<size_t>(Grans.Count()), std::vector<std::vector<int32_t>>(static_cast<size_t>(MonthCount)));
    for (int M = 0; M < MonthCount; ++M) {
        for (const int32_t Index : AKinsenTable.KinsenMonthlyIndices().Indiceses(M).Items()) {
            const auto It = GranOfItem.find(Kinsens.Kinsens(Index).Kamoku1());
            if (It != GranOfItem.end())
                ByGranAndMonth[static_cast<size_t>(It->second)][static_cast<size_t>(M)].push_back(Index);
        }
    }

    for (int G = 0; G < Grans.Count(); ++G) {
        TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        if (ARows.Count() > 0)
            ARows.AddEmpty();
        const int Title = ARows.AddTitle(Gran, ASettings);
        double Total = 0.0;
        for (int M = 0; M < MonthCount; ++M) {
            double MonthSum = 0.0;
            for (const int32_t Index : ByGranAndMonth[static_cast<size_t>(G)][static_cast<size_t>(M)])
                ARows.AddKinsen(Kinsens.Kinsens(Index), MonthSum, Total);
            Gran.SetSumsMonthly(M, MonthSum);
            Gran.SetSumsMonths(M, Total);
        }
        Gran.SetSumAll(Total);
        ARows.ShushiMeisais(Title).SetMKingaku(Total);

        double MiddleTotal = 0.0;
        for (int D = 0; D < Gran.Midds().Count(); ++D) {
            TSrcKamokuMidd& Midd = Gran.Midds().Midds(D);
            const double S = Sums.MiddSum(Midd);
            Midd.SetSumAll(S);
            MiddleTotal += S;
            Midd.SetSumExceptConcs(S - SumConcs(Sums, Midd.Concs()));
        }
        Gran.SetSumExceptMidds(Total - MiddleTotal);
        if (Gran.GranConc())
            Gran.SetSumExceptConcs(Total - SumConcs(Sums, *Gran.Concs()));
    }
}

std::string MakeShushiMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumContext& AContext)
{
    TSumShushiMeisais Rows;
    BuildShushiMeisaiRows(AKinsenTable, AContext.Settings, Rows);
    return BookRowsText(Rows, 7, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumShushiMeisai& Row = Rows.ShushiMeisais(AIndex);
        ALine.Value(0, Row.MTradingDate());
        ALine.Text(1, Row.MSNOTE());
        ALine.Text(2, Row.MAITE());
        ALine.Text(3, Row.MTEKI());
        ALine.Text(4, Row.MKamoku2());
        ALine.Text(5, Row.MKamoku3());
        ALine.Number(6, Row.MKingaku());
    });
}

std::string WriteShushiMeisaiBook(const TSrcKinsenTable& AKinsenTable, const std::string& AFileName,
                                  const TSumContext& AContext)
{
    return WriteBook(MakeShushiMeisaiBookText, AKinsenTable, AFileName, AContext);
}

const TTvrFieldDefDynArray& ShushiMeisaiBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"発生日付", sftDate, 20},   {"出納記号", sftString, 10}, {"相手名", sftString, 20},
        {"摘要明細", sftString, 20}, {"中科目", sftString, 10},   {"小科目", sftString, 10},
        {"金額", sftDouble, 12},
    };
    return Defs;
}

} // namespace tavrel
