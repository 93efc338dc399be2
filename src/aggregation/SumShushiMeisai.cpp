// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumShushiMeisai.h"

#include "aggregation/SumLedger.h"

namespace tavrel {

TSumShushiMeisai TSumShushiMeisai::CreateTitle(const TSrcKamokuGran& AGran, double ASumAll,
                                               const TTvrRegionalSettings& ASettings)
{
    TSumShushiMeisai Row;
    Row.FEmpty = false;
    Row.FMTradingDate = BudgetLabel("■ ", AGran.CodeName(), AGran.KYOSAN(), ASettings);
    Row.FMKingaku = ASumAll;
    return Row;
}

TSumShushiMeisai TSumShushiMeisai::CreateKinsen(const TSrcKinsen& AKinsen)
{
    TSumShushiMeisai Row;
    Row.FEmpty = false;
    Row.FKinsen = &AKinsen;
    Row.FMTradingDate = AKinsen.TradingDate();
    Row.FMKingaku = AKinsen.KingakuBooked();
    return Row;
}

const std::string& TSumShushiMeisai::MSNOTE() const { return FKinsen ? FKinsen->KSNOTE() : EmptyText(); }
const std::string& TSumShushiMeisai::MAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const std::string& TSumShushiMeisai::MTEKI() const { return FKinsen ? FKinsen->KTEKI() : EmptyText(); }
const std::string& TSumShushiMeisai::MKamoku2() const { return FKinsen ? FKinsen->Kamoku2CodeName() : EmptyText(); }
const std::string& TSumShushiMeisai::MKamoku3() const { return FKinsen ? FKinsen->Kamoku3CodeName() : EmptyText(); }

namespace {

template <typename TRows>
void AddShushiMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                         const TTvrRegionalSettings& ASettings, TRows& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    const TSrcKamokuGrans& Grans = AKinsenTable.KamokuMaster().Grans();
    for (int G = 0; G < Grans.Count(); ++G) {
        const TSrcKamokuGran& Gran = Grans.Grans(G);
        if (Gran.Inout() == skiCarrying)
            continue;
        ARows.Separate();
        ARows.Append(TSumShushiMeisai::CreateTitle(Gran, ALedger.SumAll(Gran), ASettings));
        for (int M = 0; M < ALedger.MonthCount(); ++M)
            for (const int32_t Index : ALedger.Rows(Gran, M))
                ARows.Append(TSumShushiMeisai::CreateKinsen(Kinsens.Kinsens(Index)));
    }
}

} // namespace

void BuildShushiMeisaiRows(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                           const TTvrRegionalSettings& ASettings, TSumShushiMeisais& ARows)
{
    AddShushiMeisaiRows(AKinsenTable, ALedger, ASettings, ARows);
}

void MakeShushiMeisaiBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                              const TSumContext& AContext, TTvrTextOut& AOut)
{
    WriteBookRows<TSumShushiMeisai>(
        AOut, ShushiMeisaiBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddShushiMeisaiRows(AKinsenTable, ALedger, AContext.Settings, ARows); },
        [](TSumLine& ALine, const TSumShushiMeisai& ARow, const TSumShushiMeisai*, int) {
            ALine.Value(mbMTradingDate, ARow.MTradingDate());
            ALine.Text(mbMSNOTE, ARow.MSNOTE());
            ALine.Text(mbMAITE, ARow.MAITE());
            ALine.Text(mbMTEKI, ARow.MTEKI());
            ALine.Text(mbMKamoku2, ARow.MKamoku2());
            ALine.Text(mbMKamoku3, ARow.MKamoku3());
            ALine.Number(mbMKingaku, ARow.MKingaku());
        });
}

namespace {

constexpr TTvrColumn<TSumShushiMeisaiBookColumn> kShushiMeisaiBookColumns[] = {
    {mbMTradingDate, "発生日付", sftDate, 20}, {mbMSNOTE, "出納記号", sftString, 10},
    {mbMAITE, "相手名", sftString, 20},        {mbMTEKI, "摘要明細", sftString, 20},
    {mbMKamoku2, "中科目", sftString, 10},     {mbMKamoku3, "小科目", sftString, 10},
    {mbMKingaku, "金額", sftDouble, 12},
};
static_assert(ColumnsInOrder(kShushiMeisaiBookColumns, mbColumnCount));

} // namespace

const TSumBookSchema& ShushiMeisaiBookSchema()
{
    static const TSumBookSchema Schema(kShushiMeisaiBookName, kShushiMeisaiBookColumns);
    return Schema;
}

} // namespace tavrel
