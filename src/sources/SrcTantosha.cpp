// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcTantosha.h"

#include <unordered_map>

#include "sources/SrcLoading.h"
#include "sources/SrcTables.h"
#include "tables/TvrColumns.h"
#include "tables/TvrList.h"

namespace tavrel {

bool TSrcTantosha::SetFromStrings(std::span<const std::string> AStrings)
{
    FEmpty = true;
    FHint.clear();
    FTCODE.clear();
    FTNAME.clear();
    FTMEMO.clear();
    FCodeName.clear();
    FEmpty = !HasNonEmptyField(AStrings);
    if (FEmpty)
        return true;
    FTCODE = Trim(AStrings[tmTCODE]);
    if (FTCODE.empty()) {
        FHint = InvalidMessage("担当者コード");
        return false;
    }
    if (AStrings.size() > tmTNAME)
        FTNAME = Trim(AStrings[tmTNAME]);
    if (AStrings.size() > tmTMEMO)
        FTMEMO = AStrings[tmTMEMO];
    FCodeName = FTCODE + "." + FTNAME;
    return true;
}

TSrcTantoshas::TSrcTantoshas(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage)
    : FSendMessage(ASendMessage)
{
    if (!AFileName.empty())
        Load(AFileName);
}

const TSrcTantosha& TSrcTantoshas::Tantoshas(int AIndex) const
{
    static const TSrcTantosha Blank;
    const auto& Row = FTantoshas.at(static_cast<size_t>(AIndex));
    return Row ? *Row : Blank;
}

int TSrcTantoshas::Add()
{
    FTantoshas.push_back(std::make_unique<TSrcTantosha>());
    FTantoshaCodes.Reset();
    return Count() - 1;
}

void TSrcTantoshas::Clear()
{
    FCompleted = true;
    ClearFromBack(FTantoshas);
    FTantoshaCodes.Reset();
}

void TSrcTantoshas::Load(const std::string& AFileName)
{
    FSendMessage(LoadingMessage(TSrcTableKind::Tantosha));
    Clear();
    TSrcLineReader Reader(AFileName, tmColumnCount);
    // Every earlier row's code (case of A to Z folded), blank rows counting
    // with an empty code, and how many rows hold it: each equal earlier row
    // gets its own message without comparing every pair of rows.
    std::unordered_map<std::string, int> EarlierCodes;
    std::vector<std::string> Fields;
    Reader.ForEachLine(Fields, [&](int ALineNumber, const std::vector<std::string>& AFields) {
        // Blank lines keep no row of their own, so that a file of a million
        // blank lines stays small.
        if (!HasNonEmptyField(AFields)) {
            FTantoshas.push_back(nullptr);
            FTantoshaCodes.Reset();
            ++EarlierCodes[std::string()];
            return true;
        }
        TSrcTantosha& Row = *FTantoshas[static_cast<size_t>(Add())];
        if (!Row.SetFromStrings(AFields)) {
            FSendMessage(RowPrefix(ALineNumber) + Row.Hint());
            FCompleted = false;
        }
        int& Earlier = EarlierCodes[CaseFoldKey(Row.TCODE())];
        if (!Row.Empty()) {
            for (int I = 0; I < Earlier; ++I) {
                FSendMessage(RowPrefix(ALineNumber) + DuplicateMessage("担当者コード", Row.TCODE()));
                FCompleted = false;
            }
        }
        ++Earlier;
        return true;
    }, [&](const std::string& AMessage) {
        FSendMessage(AMessage);
        FCompleted = false;
    });
}

bool TSrcTantoshas::Find(const std::string& ATCODE, int& AIndex) const
{
    const auto CodeOf = [this](int ARow) {
        const TSrcTantosha& Row = Tantoshas(ARow);
        return Row.Empty() ? nullptr : &Row.TCODE();
    };
    return FTantoshaCodes.Find(ATCODE, AIndex, Count(), CodeOf, "担当者コード");
}

namespace {

constexpr TTvrColumn<TSrcTantoshaColumn> kTantoshaColumns[] = {
    {tmTCODE, "担当者コード", sftString, 6},
    {tmTNAME, "担当者名", sftString, 10},
    {tmTMEMO, "メモ", sftString, 50},
};
static_assert(ColumnsInOrder(kTantoshaColumns, tmColumnCount));

} // namespace

const TTvrFieldDefDynArray& TSrcTantoshaMaster::FieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kTantoshaColumns);
    return Defs;
}

} // namespace tavrel
