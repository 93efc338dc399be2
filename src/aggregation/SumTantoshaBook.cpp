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

void BuildTantoshaRows(const TSrcKinsenTable& AKinsenTable, TSumTantoshas& ARows)
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
        if (ARows.Count() > 0)
            ARows.Add();
        ARows.Add(Tantosha);
        const auto It = ByPerson.find(&Tantosha);
        if (It == ByPerson.end())
            continue;
        for (const int32_t Index : It->second)
            ARows.Add(Kinsens.Kinsens(Index));
    }
}

std::string MakeTantoshaBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger&, const TSumContext& AContext)
{
    TSumTantoshas Rows;
    BuildTantoshaRows(AKinsenTable, Rows);
    return BookRowsText(Rows, 10, AContext.Settings, [&](TSumLine& ALine, int AIndex) {
        const TSumTantosha& Row = Rows.Tantoshas(AIndex);
        ALine.Value(0, Row.TDATE());
        ALine.Value(1, Row.TSDATE());
        ALine.Text(2, Row.TSNOTE());
        ALine.Text(3, Row.TAITE());
        ALine.Text(4, Row.TTEKI());
        ALine.Text(5, Row.TKamoku1());
        ALine.Text(6, Row.TKamoku2());
        ALine.Text(7, Row.TKamoku3());
        ALine.Value(8, Row.TNyukin());
        ALine.Value(9, Row.TShukkin());
    });
}

const TTvrFieldDefDynArray& TantoshaBookFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = {
        {"日付", sftDate, 12},       {"領収書日付", sftDate, 12}, {"出納記号", sftString, 10},
        {"相手名", sftString, 20},   {"摘要明細", sftString, 20}, {"大科目", sftString, 10},
        {"中科目", sftString, 10},   {"小科目", sftString, 10},   {"入金", sftDouble, 12},
        {"出金", sftDouble, 12},
    };
    return Defs;
}

} // namespace tavrel
