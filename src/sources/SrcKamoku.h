// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sources/SrcCodeIndex.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The code of the opening-balance account: the major item whose budget is
// the opening balance of the year and on which the cash book's starting row
// is booked.
inline constexpr char kOpeningCode[] = "000";

// The columns of the account-title master, by position. What a column holds
// depends on the level of the row: a major row gives its code and name in
// the first two, a middle row in the second and third, a minor row in the
// third and fourth.
enum TSrcKamokuColumn { kmCode1, kmName1Code2, kmName2Code3, kmName3, kmKYOSAN, kmKMEMO, kmColumnCount };

// Direction of an account, from the first character of its major code.
enum TSrcKamokuInout { skiCarrying, skiIncome, skiExpense };
// Level of an account: major, middle or minor item.
enum TSrcKamokuLevel { sklGran, sklMidd, sklConc };

// One row of the account-title master.
class TSrcKamokuItem {
public:
    const std::string& KCODE1() const { return FKCODE1; }
    const std::string& KCODE2() const { return FKCODE2; }
    const std::string& KCODE3() const { return FKCODE3; }
    const std::string& KNAME() const { return FKNAME; }
    const TTvrValue& KYOSAN() const { return FKYOSAN; }
    const std::string& KMEMO() const { return FKMEMO; }
    TSrcKamokuInout Inout() const { return FInout; }
    TSrcKamokuLevel Level() const { return FLevel; }
    const std::string& Code() const { return FCode; }
    const std::string& CodeName() const { return FCodeName; }
    const std::string& FullCode() const { return FFullCode; }
    const std::string& FullName() const { return FFullName; }

    void SetKCODE1(std::string AValue) { FKCODE1 = std::move(AValue); }
    void SetKCODE2(std::string AValue) { FKCODE2 = std::move(AValue); }
    void SetKCODE3(std::string AValue) { FKCODE3 = std::move(AValue); }
    void SetKNAME(std::string AValue) { FKNAME = std::move(AValue); }
    void SetKYOSAN(TTvrValue AValue) { FKYOSAN = std::move(AValue); }
    void SetKMEMO(std::string AValue) { FKMEMO = std::move(AValue); }
    void SetInout(TSrcKamokuInout AValue) { FInout = AValue; }
    void SetLevel(TSrcKamokuLevel AValue) { FLevel = AValue; }
    void SetCode(std::string AValue) { FCode = std::move(AValue); }
    void SetCodeName(std::string AValue) { FCodeName = std::move(AValue); }
    void SetFullCode(std::string AValue) { FFullCode = std::move(AValue); }
    void SetFullName(std::string AValue) { FFullName = std::move(AValue); }

    // Copies every field of the row from another item.
    void Assign(const TSrcKamokuItem& AKamokuItem) { *this = AKamokuItem; }

private:
    std::string FKCODE1;
    std::string FKCODE2;
    std::string FKCODE3;
    std::string FKNAME;
    TTvrValue FKYOSAN;
    std::string FKMEMO;
    TSrcKamokuInout FInout = skiCarrying;
    TSrcKamokuLevel FLevel = sklGran;
    std::string FCode;
    std::string FCodeName;
    std::string FFullCode;
    std::string FFullName;
};

// Every row of the file in file order, blank lines included, so that item k
// is line k+1.
class TSrcKamokuItems {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // A blank line's item is a shared empty one.
    const TSrcKamokuItem& KamokuItems(int AIndex) const;
    int Add();
    // Appends a row and gives it for filling in.
    TSrcKamokuItem& AddItem();
    // Appends the empty item of a blank line. Blank lines keep no item of
    // their own, so that a file of a million blank lines stays small.
    void AddBlank();
    void Clear();
    ~TSrcKamokuItems() { Clear(); }

    // The item index of the account with that full code (case of A to Z
    // ignored), or -1.
    bool Find(const std::string& AFullCode, int& AIndex) const;
    // The item a node of the tree was copied from (the one a transaction's
    // account refers to), found by its full code; none when there is none.
    const TSrcKamokuItem* ItemOf(const TSrcKamokuItem& ANode) const;
    // Resolves a full code to its direction, level and the item indices of
    // its major, middle and minor item (-1 where there is none).
    bool Find(const std::string& AFullCode, TSrcKamokuInout& AKamokuInout,
              TSrcKamokuLevel& AKamokuLevel, int& AIndex1, int& AIndex2, int& AIndex3) const;

private:
    std::vector<std::unique_ptr<TSrcKamokuItem>> FItems;
    // Full code -> item index.
    TSrcCodeIndex FFullCodes;
};

// An owning list of tree nodes in file order, with IndexOf by code.
template <typename TNode>
class TSrcKamokuNodes {
public:
    int Count() const { return static_cast<int>(FNodes.size()); }
    const TNode& Nodes(int AIndex) const { return *FNodes.at(static_cast<size_t>(AIndex)); }
    TNode& Nodes(int AIndex) { return *FNodes.at(static_cast<size_t>(AIndex)); }
    // Appends a copy of the item and returns its index.
    int Add(const TSrcKamokuItem& AKamokuItem);
    // The index of the first node whose Code equals ACode with the case of A
    // to Z ignored; -1 when there is none.
    int IndexOf(const std::string& ACode) const;
    void Clear();
    ~TSrcKamokuNodes() { Clear(); }

private:
    std::vector<std::unique_ptr<TNode>> FNodes;
    std::unordered_map<std::string, int> FFirstByCode;
};

// A minor item.
class TSrcKamokuConc : public TSrcKamokuItem {};

class TSrcKamokuConcs : public TSrcKamokuNodes<TSrcKamokuConc> {
public:
    const TSrcKamokuConc& Concs(int AIndex) const { return Nodes(AIndex); }
};

// A middle item with its minor items.
class TSrcKamokuMidd : public TSrcKamokuItem {
public:
    const TSrcKamokuConcs& Concs() const { return *FConcs; }
    TSrcKamokuConcs& Concs() { return *FConcs; }

private:
    std::unique_ptr<TSrcKamokuConcs> FConcs = std::make_unique<TSrcKamokuConcs>();
};

class TSrcKamokuMidds : public TSrcKamokuNodes<TSrcKamokuMidd> {
public:
    const TSrcKamokuMidd& Midds(int AIndex) const { return Nodes(AIndex); }
    TSrcKamokuMidd& Midds(int AIndex) { return Nodes(AIndex); }
};

// A major item: either middle items or, when GranConc, minor items directly
// (never both); possibly neither. The sums of its transactions are not kept
// here but in the ledger of a run (TSumLedger).
class TSrcKamokuGran : public TSrcKamokuItem {
public:
    bool GranConc() const { return FGranConc; }
    const TSrcKamokuMidds& Midds() const { return *FMidds; }
    TSrcKamokuMidds& Midds() { return *FMidds; }
    // Present only when GranConc is true.
    const TSrcKamokuConcs* Concs() const { return FConcs.get(); }
    TSrcKamokuConcs* Concs() { return FConcs.get(); }
    // Turns the major item into one with minor items directly under it.
    void MakeGranConc();

private:
    bool FGranConc = false;
    std::unique_ptr<TSrcKamokuMidds> FMidds = std::make_unique<TSrcKamokuMidds>();
    std::unique_ptr<TSrcKamokuConcs> FConcs;
};

class TSrcKamokuGrans : public TSrcKamokuNodes<TSrcKamokuGran> {
public:
    const TSrcKamokuGran& Grans(int AIndex) const { return Nodes(AIndex); }
    TSrcKamokuGran& Grans(int AIndex) { return Nodes(AIndex); }
};

// The account-title master: loaded, checked and built into the tree by the
// constructor. Only when Completed is true does Grans hold the tree and does
// the opening-balance account exist. Raises ETvrError, with the row prefix of the
// current line, when the file cannot be read or a row raises an error.
class TSrcKamokuMaster {
public:
    TSrcKamokuMaster(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                     const TTvrRegionalSettings& ASettings);
    TSrcKamokuMaster(const TSrcKamokuMaster&) = delete;
    TSrcKamokuMaster& operator=(const TSrcKamokuMaster&) = delete;

    bool Completed() const { return FCompleted; }
    const TSrcKamokuGrans& Grans() const { return *FGrans; }
    const TSrcKamokuItems& KamokuItems() const { return *FKamokuItems; }

    // The columns of the file, for the sheet and the source-data dialog.
    static const TTvrFieldDefDynArray& FieldDefs();

private:
    void Load(const std::string& AFileName, const TTvrRegionalSettings& ASettings);
    void BuildTree();
    void SendError(const std::string& AMessage);

    TTvrExecuteSendMessage FSendMessage;
    bool FCompleted = true;
    std::unique_ptr<TSrcKamokuGrans> FGrans = std::make_unique<TSrcKamokuGrans>();
    std::unique_ptr<TSrcKamokuItems> FKamokuItems = std::make_unique<TSrcKamokuItems>();
};

} // namespace tavrel
