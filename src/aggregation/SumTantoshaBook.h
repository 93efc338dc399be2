// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

// The columns of the per-person book, by position.
enum TSumTantoshaBookColumn {
    tbTDATE, tbTSDATE, tbTSNOTE, tbTAITE, tbTTEKI, tbTKamoku1, tbTKamoku2, tbTKamoku3, tbTNyukin, tbTShukkin,
    tbColumnCount
};

const TSumBookSchema& TantoshaBookSchema();

// A row of the per-person book "14担当者出納簿.csv": a person's title row or
// one of the person's transactions.
class TSumTantosha {
public:
    TSumTantosha() = default;
    // The title row "■ code.name".
    explicit TSumTantosha(const TSrcTantosha& ATantosha);
    // A transaction: its non-negative amounts received, its negative ones paid.
    explicit TSumTantosha(const TSrcKinsen& AKinsen);

    bool Empty() const { return FEmpty; }
    // The transaction's date, or the title text.
    const TTvrValue& TDATE() const { return FTDATE; }
    const TTvrValue& TSDATE() const;
    const std::string& TSNOTE() const;
    const std::string& TAITE() const;
    const std::string& TTEKI() const;
    const std::string& TKamoku1() const;
    const std::string& TKamoku2() const;
    const std::string& TKamoku3() const;
    const TTvrValue& TNyukin() const { return FTNyukin; }
    const TTvrValue& TShukkin() const { return FTShukkin; }

private:
    bool FEmpty = true;
    const TSrcKinsen* FKinsen = nullptr;
    TTvrValue FTDATE;
    TTvrValue FTNyukin;
    TTvrValue FTShukkin;
};

class TSumTantoshas : public TSumRowList<TSumTantosha> {
public:
    const TSumTantosha& Tantoshas(int AIndex) const { return Row(AIndex); }
    int Add() { return Append(); }
    int Add(const TSrcTantosha& ATantosha) { return Append(ATantosha); }
    int Add(const TSrcKinsen& AKinsen) { return Append(AKinsen); }
};

// One block per person of the person master (blank rows skipped), each with
// the transactions whose person code was resolved to that person.
void BuildTantoshaRows(const TSrcKinsenTable& AKinsenTable, TSumTantoshas& ARows);

// The book of a table loaded with a person master.
void MakeTantoshaBookText(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                          const TSumContext& AContext, TTvrTextOut& AOut);

} // namespace tavrel
