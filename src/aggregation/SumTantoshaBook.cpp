// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumTantoshaBook.h"

#include <unordered_map>

#include "tables/TvrConvert.h"

namespace tavrel {

TSumTantosha::TSumTantosha(const TSrcTantosha& ATantosha)
    : FEmpty(false), FTDATE("■ " + ATantosha.CodeName())
{
}

TSumTantosha::TSumTantosha(const TSrcKinsen& AKinsen)
    : FEmpty(false), FKinsen(&AKinsen), FTDATE(AKinsen.KDATE())
{
    for (const TTvrValue* Amount : {&AKinsen.KCASH(), &AKinsen.KBANK()}) {
        if (!Amount->IsNumber())
            continue;
        if (0 <= Amount->AsFloat())
            FTNyukin = AddNullable(FTNyukin, *Amount);
        else
            FTShukkin = AddNullable(FTShukkin, TTvrValue(-Amount->AsFloat()));
    }
}

const TTvrValue& TSumTantosha::TSDATE() const
{
    return FKinsen ? FKinsen->AltRecDate() : NullValue();
}

const std::string& TSumTantosha::TSNOTE() const { return FKinsen ? FKinsen->KSNOTE() : EmptyText(); }
const std::string& TSumTantosha::TAITE() const { return FKinsen ? FKinsen->KAITE() : EmptyText(); }
const std::string& TSumTantosha::TTEKI() const { return FKinsen ? FKinsen->KTEKI() : EmptyText(); }
const std::string& TSumTantosha::TKamoku1() const { return FKinsen ? FKinsen->Kamoku1CodeName() : EmptyText(); }
const std::string& TSumTantosha::TKamoku2() const { return FKinsen ? FKinsen->Kamoku2CodeName() : EmptyText(); }
const std::string& TSumTantosha::TKamoku3() const { return FKinsen ? FKinsen->Kamoku3CodeName() : EmptyText(); }

namespace {

template <typename TRows>
void AddTantoshaRows(const TSrcKinsenTable& AKinsenTable, TRows& ARows)
{
    const TSrcKinsens& Kinsens = AKinsenTable.Kinsens();
    // The transactions grouped once by the person their code was resolved
    // to (the lookup ignores the case of A to Z, so comparing the typed code
    // would lose rows such as a01 against A01), in table order.
    std::unordered_map<const TSrcTantosha*, std::vector<int32_t>> ByPerson;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items()) {
        const TSrcKinsen& Kinsen = Kinsens.Kinsens(Index);
        if (Kinsen.TantoshaSet())
            ByPerson[Kinsen.Tantosha()].push_back(Index);
    }
    const TSrcTantoshas& Tantoshas = AKinsenTable.TantoshaMaster()->Tantoshas();
    for (int P = 0; P < Tantoshas.Count(); ++P) {
        const TSrcTantosha& Tantosha = Tantoshas.Tantoshas(P);
        if (Tantosha.Empty())
            continue;
        ARows.Separate();
        ARows.Append(Tantosha);
        const auto It = ByPerson.find(&Tantosha);
        if (It == ByPerson.end())
            continue;
        for (const int32_t Index : It->second)
            ARows.Append(Kinsens.Kinsens(Index));
    }
}

} // namespace

void BuildTantoshaRows(const TSrcKinsenTable& AKinsenTable, TSumTantoshas& ARows)
{
    AddTantoshaRows(AKinsenTable, ARows);
}

void MakeTantoshaBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext,
                          TTvrTextOut& AOut)
{
    WriteBookRows<TSumTantosha>(
        AOut, TantoshaBookSchema().ColumnCount(), AContext.Settings,
        [&](auto& ARows) { AddTantoshaRows(AKinsenTable, ARows); },
        [](TSumLine& ALine, const TSumTantosha& ARow, const TSumTantosha*, int) {
            ALine.Value(tbTDATE, ARow.TDATE());
            ALine.Value(tbTSDATE, ARow.TSDATE());
            ALine.Text(tbTSNOTE, ARow.TSNOTE());
            ALine.Text(tbTAITE, ARow.TAITE());
            ALine.Text(tbTTEKI, ARow.TTEKI());
            ALine.Text(tbTKamoku1, ARow.TKamoku1());
            ALine.Text(tbTKamoku2, ARow.TKamoku2());
            ALine.Text(tbTKamoku3, ARow.TKamoku3());
            ALine.Value(tbTNyukin, ARow.TNyukin());
            ALine.Value(tbTShukkin, ARow.TShukkin());
        });
}

namespace {

constexpr TTvrColumn<TSumTantoshaBookColumn> kTantoshaBookColumns[] = {
    {tbTDATE, "日付", sftDate, 12},        {tbTSDATE, "領収書日付", sftDate, 12},
    {tbTSNOTE, "出納記号", sftString, 10}, {tbTAITE, "相手名", sftString, 20},
    {tbTTEKI, "摘要明細", sftString, 20},  {tbTKamoku1, "大科目", sftString, 10},
    {tbTKamoku2, "中科目", sftString, 10}, {tbTKamoku3, "小科目", sftString, 10},
    {tbTNyukin, "入金", sftDouble, 12},    {tbTShukkin, "出金", sftDouble, 12},
};
static_assert(ColumnsInOrder(kTantoshaBookColumns, tbColumnCount));

} // namespace

const TSumBookSchema& TantoshaBookSchema()
{
    static const TSumBookSchema Schema(kTantoshaBookName, kTantoshaBookColumns);
    return Schema;
}

} // namespace tavrel
