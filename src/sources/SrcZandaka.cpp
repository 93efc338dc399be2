// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcZandaka.h"

#include "sources/SrcLoading.h"
#include "sources/SrcTables.h"
#include "tables/TvrColumns.h"
#include "tables/TvrList.h"

namespace tavrel {

bool TSrcZandaka::SetFromStrings(std::span<const std::string> AStrings,
                                 const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    FEmpty = true;
    FHint.clear();
    FZDATE = AToday.DateOnly();
    FZCASH = TTvrValue();
    FZBANK = TTvrValue();
    FEmpty = !HasNonEmptyField(AStrings);
    if (FEmpty)
        return true;
    TTvrDate Date;
    if (!TryTextToDate(AStrings[ztZDATE], ASettings, Date)) {
        FHint = InvalidMessage("日付");
        return false;
    }
    FZDATE = Date.DateOnly();
    if (AStrings.size() > ztZCASH) {
        FZCASH = TextToFloatValue(AStrings[ztZCASH], ASettings);
        if (!FZCASH.IsNull() && !FZCASH.IsNumber()) {
            FHint = InvalidMessage("現金残高");
            return false;
        }
    }
    if (AStrings.size() > ztZBANK) {
        FZBANK = TextToFloatValue(AStrings[ztZBANK], ASettings);
        if (!FZBANK.IsNull() && !FZBANK.IsNumber()) {
            FHint = InvalidMessage("預金残高");
            return false;
        }
    }
    return true;
}

TSrcZandakas::TSrcZandakas(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                           const TTvrRegionalSettings& ASettings, TTvrDate AToday)
    : FSendMessage(ASendMessage)
{
    if (AFileName.empty())
        return;
    FSendMessage(LoadingMessage(TSrcTableKind::Zandaka));
    Clear();
    FBlank.SetFromStrings({}, ASettings, AToday);
    TSrcLineReader Reader(AFileName, ztColumnCount);
    std::vector<std::string> Fields;
    Reader.ForEachLine(Fields, [&](int ALineNumber, const std::vector<std::string>& AFields) {
        // Blank lines keep no row of their own, so that a file of a million
        // blank lines stays small.
        if (!HasNonEmptyField(AFields)) {
            FZandakas.push_back(nullptr);
            return true;
        }
        TSrcZandaka& Row = *FZandakas[static_cast<size_t>(Add())];
        if (!Row.SetFromStrings(AFields, ASettings, AToday)) {
            FSendMessage(RowPrefix(ALineNumber) + Row.Hint());
            FCompleted = false;
        }
        return true;
    }, [&](const std::string& AMessage) {
        FSendMessage(AMessage);
        FCompleted = false;
    });
}

const TSrcZandaka& TSrcZandakas::Zandakas(int AIndex) const
{
    const auto& Row = FZandakas.at(static_cast<size_t>(AIndex));
    return Row ? *Row : FBlank;
}

int TSrcZandakas::Add()
{
    FZandakas.push_back(std::make_unique<TSrcZandaka>());
    return Count() - 1;
}

void TSrcZandakas::Clear()
{
    FCompleted = true;
    ClearFromBack(FZandakas);
}

namespace {

constexpr TTvrColumn<TSrcZandakaColumn> kZandakaColumns[] = {
    {ztZDATE, "日付", sftDate, 12},
    {ztZCASH, "現金残高", sftDouble, 12},
    {ztZBANK, "預金残高", sftDouble, 12},
};
static_assert(ColumnsInOrder(kZandakaColumns, ztColumnCount));

} // namespace

const TTvrFieldDefDynArray& TSrcZandakaTable::FieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kZandakaColumns);
    return Defs;
}

} // namespace tavrel
