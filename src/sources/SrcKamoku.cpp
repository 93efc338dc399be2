// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcKamoku.h"

#include "sources/SrcLoading.h"
#include "sources/SrcTables.h"
#include "tables/TvrConvert.h"
#include "tables/TvrColumns.h"
#include "tables/TvrCsv.h"
#include "tables/TvrList.h"

namespace tavrel {

const TSrcKamokuItem& TSrcKamokuItems::KamokuItems(int AIndex) const
{
    static const TSrcKamokuItem Blank;
    const auto& Item = FItems.at(static_cast<size_t>(AIndex));
    return Item ? *Item : Blank;
}

int TSrcKamokuItems::Add()
{
    AddItem();
    return Count() - 1;
}

TSrcKamokuItem& TSrcKamokuItems::AddItem()
{
    FItems.push_back(std::make_unique<TSrcKamokuItem>());
    FFullCodes.Reset();
    return *FItems.back();
}

void TSrcKamokuItems::AddBlank()
{
    FItems.push_back(nullptr);
}

void TSrcKamokuItems::Clear()
{
    ClearFromBack(FItems);
    FFullCodes.Reset();
}

bool TSrcKamokuItems::Find(const std::string& AFullCode, int& AIndex) const
{
    // The duplicate check of the loader already rejects full codes that
    // differ only in the case of A to Z, so a completed master never meets
    // an equal key here.
    const auto FullCodeOf = [this](int AItem) {
        const TSrcKamokuItem& Item = KamokuItems(AItem);
        return Item.KCODE1().empty() ? nullptr : &Item.FullCode();
    };
    return FFullCodes.Find(AFullCode, AIndex, Count(), FullCodeOf, "完全コード");
}

const TSrcKamokuItem* TSrcKamokuItems::ItemOf(const TSrcKamokuItem& ANode) const
{
    int Index = -1;
    return Find(ANode.FullCode(), Index) ? &KamokuItems(Index) : nullptr;
}

bool TSrcKamokuItems::Find(const std::string& AFullCode, TSrcKamokuInout& AKamokuInout,
                           TSrcKamokuLevel& AKamokuLevel, int& AIndex1, int& AIndex2,
                           int& AIndex3) const
{
    AKamokuInout = skiCarrying;
    AKamokuLevel = sklGran;
    AIndex1 = -1;
    AIndex2 = -1;
    AIndex3 = -1;
    int Index = -1;
    if (!Find(AFullCode, Index))
        return false;
    const TSrcKamokuItem& Item = KamokuItems(Index);
    AKamokuInout = Item.Inout();
    AKamokuLevel = Item.Level();
    switch (Item.Level()) {
    case sklGran:
        AIndex1 = Index;
        break;
    case sklMidd:
        Find(Item.KCODE1(), AIndex1);
        AIndex2 = Index;
        break;
    case sklConc:
        Find(Item.KCODE1(), AIndex1);
        if (!Item.KCODE2().empty())
            Find(Item.KCODE1() + "." + Item.KCODE2(), AIndex2);
        AIndex3 = Index;
        break;
    }
    return true;
}

template <typename TNode>
int TSrcKamokuNodes<TNode>::Add(const TSrcKamokuItem& AKamokuItem)
{
    auto Node = std::make_unique<TNode>();
    Node->Assign(AKamokuItem);
    FFirstByCode.emplace(CaseFoldKey(Node->Code()), Count());
    FNodes.push_back(std::move(Node));
    return Count() - 1;
}

template <typename TNode>
int TSrcKamokuNodes<TNode>::IndexOf(const std::string& ACode) const
{
    const auto It = FFirstByCode.find(CaseFoldKey(ACode));
    return It == FFirstByCode.end() ? -1 : It->second;
}

template <typename TNode>
void TSrcKamokuNodes<TNode>::Clear()
{
    ClearFromBack(FNodes);
    FFirstByCode.clear();
}

template class TSrcKamokuNodes<TSrcKamokuConc>;
template class TSrcKamokuNodes<TSrcKamokuMidd>;
template class TSrcKamokuNodes<TSrcKamokuGran>;

void TSrcKamokuGran::MakeGranConc()
{
    FGranConc = true;
    if (!FConcs)
        FConcs = std::make_unique<TSrcKamokuConcs>();
}

namespace {

constexpr TTvrColumn<TSrcKamokuColumn> kKamokuColumns[] = {
    {kmCode1, "コード1", sftString, 8},
    {kmName1Code2, "科目名1/コード2", sftString, 16},
    {kmName2Code3, "科目名2/コード3", sftString, 16},
    {kmName3, "科目名3", sftString, 16},
    {kmKYOSAN, "予算額", sftDouble, 12},
    {kmKMEMO, "メモ", sftString, 50},
};
static_assert(ColumnsInOrder(kKamokuColumns, kmColumnCount));

} // namespace

const TTvrFieldDefDynArray& TSrcKamokuMaster::FieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kKamokuColumns);
    return Defs;
}

TSrcKamokuMaster::TSrcKamokuMaster(const std::string& AFileName,
                                   const TTvrExecuteSendMessage& ASendMessage,
                                   const TTvrRegionalSettings& ASettings)
    : FSendMessage(ASendMessage)
{
    Load(AFileName, ASettings);
}

void TSrcKamokuMaster::SendError(const std::string& AMessage)
{
    FCompleted = false;
    FSendMessage(AMessage);
}

namespace {

// A major code: three characters; the opening-balance code or beginning
// with "1" or "2".
bool IsValidMajorCode(const std::string& ACode)
{
    if (ACode.size() != 3)
        return false;
    if (ACode[0] == '0')
        return ACode == kOpeningCode;
    return ACode[0] == '1' || ACode[0] == '2';
}

TSrcKamokuInout InoutOfMajorCode(const std::string& AKCODE1)
{
    if (!AKCODE1.empty() && AKCODE1[0] == '1')
        return skiIncome;
    if (!AKCODE1.empty() && AKCODE1[0] == '2')
        return skiExpense;
    return skiCarrying;
}

} // namespace

void TSrcKamokuMaster::Load(const std::string& AFileName, const TTvrRegionalSettings& ASettings)
{
    FCompleted = true;
    FSendMessage(LoadingMessage(TSrcTableKind::Kamoku));

    TSrcLineReader Reader(AFileName, kmColumnCount);
    std::string MajorCode;
    std::string MajorName;
    std::string MiddleCode;
    std::string MiddleName;
    // Full codes seen so far (case of A to Z folded) with how many rows hold
    // each: the duplicate check finds every equal earlier row at once.
    std::unordered_map<std::string, int> SeenFullCodes;
    std::vector<std::string> Fields;
    Reader.ForEachLine(Fields, [&](int ALineNumber, const std::vector<std::string>& AFields) {
        const std::string Prefix = RowPrefix(ALineNumber);
        if (!HasNonEmptyField(AFields)) {
            FKamokuItems->AddBlank();
            return true;
        }
        TSrcKamokuItem& Item = FKamokuItems->AddItem();
        const auto Field = [&](TSrcKamokuColumn AColumn) -> const std::string& {
            static const std::string Empty;
            return AColumn < AFields.size() ? AFields[AColumn] : Empty;
        };
        if (!Field(kmCode1).empty()) {
            Item.SetKCODE1(Trim(Field(kmCode1)));
            if (!IsValidMajorCode(Item.KCODE1())) {
                SendError(Prefix + InvalidMessage("コード1"));
                return false;
            }
            Item.SetKNAME(Field(kmName1Code2));
            Item.SetLevel(sklGran);
            Item.SetCode(Item.KCODE1());
            Item.SetFullCode(Item.KCODE1());
            Item.SetFullName(Item.KCODE1() + "." + Item.KNAME());
            MajorCode = Item.KCODE1();
            MajorName = Item.KNAME();
            MiddleCode.clear();
            MiddleName.clear();
        } else if (!Field(kmName1Code2).empty()) {
            if (MajorCode.empty()) {
                SendError(Prefix + "大科目コードが指定されていません。");
                return false;
            }
            Item.SetKCODE1(MajorCode);
            Item.SetKCODE2(Field(kmName1Code2));
            Item.SetKNAME(Field(kmName2Code3));
            Item.SetLevel(sklMidd);
            Item.SetCode(Item.KCODE2());
            Item.SetFullCode(Item.KCODE1() + "." + Item.KCODE2());
            Item.SetFullName(Item.KCODE1() + "." + MajorName + "." + Item.KCODE2() + "." + Item.KNAME());
            MiddleCode = Item.KCODE2();
            MiddleName = Item.KNAME();
        } else {
            if (Field(kmName2Code3).empty()) {
                SendError(Prefix + "科目の定義が無効です。");
                return false;
            }
            if (MajorCode.empty()) {
                SendError(Prefix + "大科目コードが指定されていません。");
                return false;
            }
            Item.SetKCODE1(MajorCode);
            Item.SetKCODE2(MiddleCode);
            Item.SetKCODE3(Field(kmName2Code3));
            Item.SetKNAME(Field(kmName3));
            Item.SetLevel(sklConc);
            Item.SetCode(Item.KCODE3());
            Item.SetFullCode(Item.KCODE1() + "." + Item.KCODE2() + "." + Item.KCODE3());
            // The path with names, as for middle items; nothing reads it.
            Item.SetFullName(Item.KCODE1() + "." + MajorName + "." + Item.KCODE2() + "." + MiddleName
                             + "." + Item.KCODE3() + "." + Item.KNAME());
        }
        Item.SetCodeName(Item.Code() + "." + Item.KNAME());
        if (AFields.size() > kmKYOSAN)
            Item.SetKYOSAN(TextToFloatValue(Field(kmKYOSAN), ASettings));
        if (AFields.size() > kmKMEMO)
            Item.SetKMEMO(Field(kmKMEMO));
        Item.SetInout(InoutOfMajorCode(Item.KCODE1()));

        if (Item.Level() == sklGran) {
            if (!Item.KYOSAN().IsNumber())
                SendError(Prefix + "大科目の予算が指定されていません。");
        } else if (Item.KYOSAN().IsText()) {
            SendError(Prefix + InvalidMessage("予算額"));
        }
        if (!FCompleted)
            return false;

        int& Seen = SeenFullCodes[CaseFoldKey(Item.FullCode())];
        for (int I = 0; I < Seen; ++I)
            SendError(Prefix + DuplicateMessage("完全コード", Item.FullCode()));
        ++Seen;
        return true;
    }, [&](const std::string& AMessage) { SendError(AMessage); });
    if (!FCompleted)
        return;

    int Index = -1;
    if (!FKamokuItems->Find(kOpeningCode, Index)) {
        SendError(std::string("開始残高科目（コード=") + kOpeningCode
                  + "）が登録されていません。開始残高科目を登録し、開始残高を予算額として登録してください。");
        return;
    }
    BuildTree();
}

void TSrcKamokuMaster::BuildTree()
{
    for (int I = 0; I < FKamokuItems->Count(); ++I) {
        const TSrcKamokuItem& Item = FKamokuItems->KamokuItems(I);
        if (Item.KCODE1().empty())
            continue;
        if (Item.Level() == sklGran) {
            FGrans->Add(Item);
            continue;
        }
        TSrcKamokuGran& Gran = FGrans->Grans(FGrans->IndexOf(Item.KCODE1()));
        if (Item.Level() == sklMidd) {
            if (Gran.GranConc()) {
                SendError(RowPrefix(I + 1) + "大小科目に設定されているため、ここに中科目を設定することはできません。");
                return;
            }
            Gran.Midds().Add(Item);
        } else if (!Item.KCODE2().empty()) {
            TSrcKamokuMidd& Midd = Gran.Midds().Midds(Gran.Midds().IndexOf(Item.KCODE2()));
            Midd.Concs().Add(Item);
        } else {
            Gran.MakeGranConc();
            Gran.Concs()->Add(Item);
        }
    }
}

} // namespace tavrel
