// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcKinsen.h"

#include <algorithm>
#include <cmath>

#include "sources/SrcLoading.h"
#include "sources/SrcTables.h"
#include "tables/TvrColumns.h"
#include "tables/TvrList.h"

namespace tavrel {

namespace {

const std::string& NameOf(const TSrcKamokuItem* AItem, bool ACodeName)
{
    static const std::string Empty;
    if (AItem == nullptr)
        return Empty;
    return ACodeName ? AItem->CodeName() : AItem->Code();
}

// Whether both amounts of the starting row were read: a row whose
// conversions stopped before them, or that lacks one, has its own message,
// and a comparison would only add a false one about balances that may well
// be right.
bool OpeningAmountsRead(const TSrcKinsen& ARow)
{
    return ARow.KCASH().IsNumber() && ARow.KBANK().IsNumber();
}

// The starting row's cash plus bank against the budget of the opening-balance
// account.
bool OpeningBalanceMatches(const TSrcKinsen& ARow, const TTvrValue& ABudget)
{
    if (!OpeningAmountsRead(ARow) || !ABudget.IsNumber())
        return false;
    return AmountsAgree(ARow.KCASH().AsFloat() + ARow.KBANK().AsFloat(), ABudget.AsFloat());
}

} // namespace

const std::string& TSrcKinsen::TantoshaName() const
{
    static const std::string Empty;
    return FTantosha != nullptr ? FTantosha->TNAME() : Empty;
}

const std::string& TSrcKinsen::TantoshaCodeName() const
{
    static const std::string Empty;
    return FTantosha != nullptr ? FTantosha->CodeName() : Empty;
}

const TSrcKamokuItem* TSrcKinsen::Kamoku() const
{
    if (FKamoku3 != nullptr)
        return FKamoku3;
    return FKamoku2 != nullptr ? FKamoku2 : FKamoku1;
}

const std::string& TSrcKinsen::Kamoku1Code() const { return NameOf(FKamoku1, false); }
const std::string& TSrcKinsen::Kamoku1CodeName() const { return NameOf(FKamoku1, true); }
const std::string& TSrcKinsen::Kamoku2Code() const { return NameOf(FKamoku2, false); }
const std::string& TSrcKinsen::Kamoku2CodeName() const { return NameOf(FKamoku2, true); }
const std::string& TSrcKinsen::Kamoku3Code() const { return NameOf(FKamoku3, false); }
const std::string& TSrcKinsen::Kamoku3CodeName() const { return NameOf(FKamoku3, true); }

void TSrcKinsen::SetKamoku(TSrcKamokuInout AInout, TSrcKamokuLevel ALevel,
                           const TSrcKamokuItem* AKamoku1, const TSrcKamokuItem* AKamoku2,
                           const TSrcKamokuItem* AKamoku3)
{
    FKamokuInout = AInout;
    FKamokuLevel = ALevel;
    FKamoku1 = AKamoku1;
    FKamoku2 = AKamoku2;
    FKamoku3 = AKamoku3;
}

bool TSrcKinsen::SetFromStrings(std::span<const std::string> AStrings, bool AFirstKinsen,
                                bool AIgnoreTantosha, const TTvrRegionalSettings& ASettings,
                                TTvrDate AToday)
{
    *this = TSrcKinsen();
    FKDATE = AToday.DateOnly();
    FTradingDate = FKDATE;
    FEmpty = !HasNonEmptyField(AStrings);
    if (FEmpty)
        return true;
    const size_t N = AStrings.size();
    const auto Invalid = [&](const char* ATitle) {
        FHint = InvalidMessage(ATitle);
        return false;
    };

    TTvrDate Date;
    if (!TryTextToDate(AStrings[ktKDATE], ASettings, Date))
        return Invalid("日付");
    FKDATE = Date.DateOnly();
    FKDATEConverted = true;
    if (N > ktKSDATE) {
        FKSDATE = TextToDateValue(AStrings[ktKSDATE], ASettings);
        if (!FKSDATE.IsNull() && !FKSDATE.IsDate())
            return Invalid("領収書日付");
    }
    if (N > ktKSNOTE)
        FKSNOTE = AStrings[ktKSNOTE];
    if (N > ktKAITE)
        FKAITE = AStrings[ktKAITE];
    if (N > ktKTNUM) {
        FKTNUM = TextToIntegerValue(AStrings[ktKTNUM], ASettings);
        if (!FKTNUM.IsNull() && !FKTNUM.IsInteger())
            return Invalid("摘要番号");
    }
    if (N > ktKTEKI)
        FKTEKI = AStrings[ktKTEKI];
    if (N > ktKTCODE && !AIgnoreTantosha)
        FKTCODE = AStrings[ktKTCODE];
    if (N > ktKSCODE)
        FKSCODE = AStrings[ktKSCODE];
    if (N > ktKCASH) {
        FKCASH = TextToFloatValue(AStrings[ktKCASH], ASettings);
        if (!FKCASH.IsNull() && !FKCASH.IsNumber())
            return Invalid("現金");
    }
    if (N > ktKBANK) {
        FKBANK = TextToFloatValue(AStrings[ktKBANK], ASettings);
        if (!FKBANK.IsNull() && !FKBANK.IsNumber())
            return Invalid("預金");
    }

    if (AFirstKinsen) {
        if (!FKSDATE.IsDate())
            FHint = "先頭行の領収書日付には会計終了日を指定してください。";
        else if (FKSDATE.Date().Day() <= FKDATE.Day())
            FHint = "先頭行の会計終了日が無効です。開始日より新しい日付を指定してください。";
        else if (FKSCODE != kOpeningCode)
            FHint = std::string("先頭行には科目に ") + kOpeningCode + " (開始残高)を指定してください。";
        else if (FKCASH.IsNull() || FKBANK.IsNull())
            FHint = "先頭行には現金と預金の開始残高を指定してください。";
    } else {
        const double C = FKCASH.AsFloat();
        const double B = FKBANK.AsFloat();
        if (C == 0 && B == 0)
            FHint = "金銭の取引がありません。";
        else if (C != 0 && B != 0) {
            if (C != -B)
                FHint = "資金移動が無効です。差引ゼロにしてください。";
            else if (!FKSCODE.empty())
                FHint = "資金移動では科目コードを指定しないでください。";
        } else if (FKSCODE.empty()) {
            FHint = "収支科目を指定してください。";
        }
    }
    return FHint.empty();
}

TSrcKinsens::TSrcKinsens(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                         const TSrcTantoshaMaster* ATantoshaMaster,
                         const TSrcKamokuMaster& AKamokuMaster, const TTvrRegionalSettings& ASettings,
                         TTvrDate AToday)
    : FSendMessage(ASendMessage), FTantoshaMaster(ATantoshaMaster), FKamokuMaster(AKamokuMaster)
{
    Load(AFileName, ASettings, AToday);
}

const TSrcKinsen& TSrcKinsens::Kinsens(int AIndex) const
{
    const auto& Row = FKinsens[static_cast<size_t>(AIndex)];
    return Row ? *Row : FBlank;
}

int TSrcKinsens::Add()
{
    FKinsens.push_back(std::make_unique<TSrcKinsen>());
    return Count() - 1;
}

void TSrcKinsens::Clear()
{
    FCompleted = true;
    ClearFromBack(FKinsens);
    FKinsenStartingIndex = -1;
    FFiscalFirstDate = TTvrDate();
    FFiscalLastDate = TTvrDate();
}

void TSrcKinsens::SendError(const std::string& AMessage)
{
    FCompleted = false;
    FSendMessage(AMessage);
}

void TSrcKinsens::Load(const std::string& AFileName, const TTvrRegionalSettings& ASettings,
                       TTvrDate AToday)
{
    FSendMessage(LoadingMessage(TSrcTableKind::Kinsen));
    Clear();
    FBlank.SetFromStrings({}, false, true, ASettings, AToday);
    const bool IgnoreTantosha = FTantoshaMaster == nullptr;
    const TSrcKamokuItems& Items = FKamokuMaster.KamokuItems();
    TSrcLineReader Reader(AFileName, ktColumnCount);
    FKinsens.reserve(static_cast<size_t>(Reader.LineCount()));
    TTvrDate PreviousDate;
    std::vector<std::string> Fields;
    const bool Whole = Reader.ForEachLine(Fields, [&](int ALineNumber, const std::vector<std::string>& AFields) {
        // Blank lines keep no row of their own, so that a file of a million
        // blank lines stays small.
        if (!HasNonEmptyField(AFields)) {
            FKinsens.push_back(nullptr);
            return true;
        }
        const int Index = Add();
        TSrcKinsen& Row = *FKinsens[static_cast<size_t>(Index)];
        const bool First = FKinsenStartingIndex < 0;
        if (!Row.SetFromStrings(AFields, First, IgnoreTantosha, ASettings, AToday))
            SendError(RowPrefix(ALineNumber) + Row.Hint());
        if (Row.Empty())
            return true;

        if (First) {
            FKinsenStartingIndex = Index;
            FFiscalFirstDate = Row.KDATE();
            if (Row.KSDATE().IsDate())
                FFiscalLastDate = Row.KSDATE().Date().DateOnly();
            else
                FCompleted = false;
            PreviousDate = FFiscalFirstDate;
            const TSrcKamokuGrans& Grans = FKamokuMaster.Grans();
            const int Opening = Grans.IndexOf(kOpeningCode);
            if (OpeningAmountsRead(Row)
                && !OpeningBalanceMatches(Row, Opening >= 0 ? Grans.Grans(Opening).KYOSAN() : TTvrValue()))
                SendError(RowPrefix(ALineNumber) + "開始残高の現金と預金の合計が科目マスタの開始残高と異なります。");
            if (!FCompleted)
                return false;
        }

        // A row whose date did not convert has been reported already; its
        // stand-in date would make every later row look out of order, so it
        // takes no part in the period and order checks.
        if (Row.KDATEConverted()) {
            const int32_t Day = Row.KDATE().Day();
            if (Day < FFiscalFirstDate.Day() || Day > FFiscalLastDate.Day()) {
                SendError(RowPrefix(ALineNumber) + "日付が会計期間内にありません。");
                return true;
            }
            if (Day < PreviousDate.Day()) {
                SendError(RowPrefix(ALineNumber) + "日付の順序が無効です。");
                return true;
            }
            PreviousDate = Row.KDATE();
        }

        if (Row.KSDATE().IsDate()) {
            const TTvrDate Receipt = Row.KSDATE().Date();
            Row.SetTradingDate(Receipt);
            Row.SetAltRecDate(Receipt.Day() != Row.KDATE().Day() ? Row.KSDATE() : TTvrValue("-"));
        } else {
            Row.SetTradingDate(Row.KDATE());
            Row.SetAltRecDate(Row.KSDATE());
        }

        if (!Row.KTCODE().empty()) {
            int Person = -1;
            if (FTantoshaMaster->Tantoshas().Find(Row.KTCODE(), Person)) {
                Row.SetTantosha(&FTantoshaMaster->Tantoshas().Tantoshas(Person));
            } else {
                FCompleted = false;
                FTantoshaMaster->SendMessage()(RowPrefix(ALineNumber) + InvalidMessage("担当者"));
            }
        }

        if (!Row.KSCODE().empty()) {
            TSrcKamokuInout Inout = skiCarrying;
            TSrcKamokuLevel Level = sklGran;
            int Index1 = -1;
            int Index2 = -1;
            int Index3 = -1;
            if (Items.Find(Row.KSCODE(), Inout, Level, Index1, Index2, Index3)) {
                const auto Item = [&](int AIndex) {
                    return AIndex >= 0 ? &Items.KamokuItems(AIndex) : nullptr;
                };
                Row.SetKamoku(Inout, Level, Item(Index1), Item(Index2), Item(Index3));
            } else {
                SendError(RowPrefix(ALineNumber) + InvalidMessage("科目"));
            }
        }

        double Traded = 0.0;
        if (Row.KCASH().IsNumber())
            Traded += Row.KCASH().AsFloat();
        if (Row.KBANK().IsNumber())
            Traded += Row.KBANK().AsFloat();
        Row.SetKingakuTraded(Traded);
        Row.SetKingakuBooked(Row.KamokuInout() == skiExpense ? -Traded : Traded);
        return true;
    }, [&](const std::string& AMessage) { SendError(AMessage); });
    // A table that stopped at a quote not closed has said all it will say:
    // its starting row may simply lie beyond that line.
    if (Whole && FKinsenStartingIndex < 0)
        throw ETvrError(std::string(SrcTableInfo(TSrcTableKind::Kinsen).Caption)
                        + "に先頭行（会計期間と開始残高の行）がありません。");
}

bool TTvrFiscalMonth::Contains(TTvrDate ADate) const
{
    const int32_t Day = ADate.Day();
    return FirstDate.Day() <= Day && Day <= LastDate.Day();
}

int FiscalMonthIndexOf(const TTvrFiscalMonths& AFiscalMonths, TTvrDate ADate)
{
    // The months are in order of time without gaps: a binary search finds
    // the first one that ends on or after the date.
    const auto It = std::lower_bound(AFiscalMonths.begin(), AFiscalMonths.end(), ADate.Day(),
                                     [](const TTvrFiscalMonth& AMonth, int32_t ADay) {
                                         return AMonth.LastDate.Day() < ADay;
                                     });
    if (It == AFiscalMonths.end() || !It->Contains(ADate))
        return -1;
    return static_cast<int>(It - AFiscalMonths.begin());
}

int TTvrIndices::Add(int32_t AIndex)
{
    FIndices.push_back(AIndex);
    return Count() - 1;
}

void TTvrIndiceses::SetCount(int ACount)
{
    while (Count() > ACount)
        FIndiceses.pop_back();
    while (Count() < ACount)
        FIndiceses.push_back(std::make_unique<TTvrIndices>());
}

TSrcKinsenTable::TSrcKinsenTable(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                                 const TSrcTantoshaMaster* ATantoshaMaster,
                                 const TSrcKamokuMaster& AKamokuMaster, const TTvrRegionalSettings& ASettings,
                                 TTvrDate AToday)
    : FKinsens(std::make_unique<TSrcKinsens>(AFileName, ASendMessage, ATantoshaMaster, AKamokuMaster,
                                             ASettings, AToday)),
      FTantoshaMaster(ATantoshaMaster), FKamokuMaster(AKamokuMaster)
{
    FKinsenStartingIndex = FKinsens->KinsenStartingIndex();
    FFiscalFirstDate = FKinsens->FiscalFirstDate();
    FFiscalLastDate = FKinsens->FiscalLastDate();
    BuildFiscalMonths();
    // A load that stopped before any starting row has no opening balances.
    if (FKinsenStartingIndex >= 0) {
        const TSrcKinsen& Start = FKinsens->Kinsens(FKinsenStartingIndex);
        FFiscalStartingCash = Start.KCASH().AsFloat();
        FFiscalStartingBank = Start.KBANK().AsFloat();
    }
    FFiscalStartingTotal = FFiscalStartingCash + FFiscalStartingBank;
    IndexRows();
}

void TSrcKinsenTable::BuildFiscalMonths()
{
    // Month k starts on the first day plus k calendar months, each counted
    // from the first day: stepping from the previous month's start would
    // lose the 31st at the first short month and make a year of 13 months.
    // After a load that stopped at the starting row the last day may be
    // missing or not after the first: then there are no months.
    std::vector<TTvrDate> Starts;
    for (int K = 0;; ++K) {
        const TTvrDate Start = FFiscalFirstDate.AddMonths(K);
        if (Start.Day() > FFiscalLastDate.Day())
            break;
        Starts.push_back(Start);
    }
    FFiscalMonthCount = static_cast<int>(Starts.size());
    FKinsenMonthlyIndices->SetCount(FFiscalMonthCount);
    FFiscalMonths.resize(Starts.size());
    for (size_t K = 0; K < Starts.size(); ++K) {
        int Year = 0;
        int Month = 0;
        int Day = 0;
        Starts[K].Decode(Year, Month, Day);
        FFiscalMonths[K].Month = Month;
        FFiscalMonths[K].FirstDate = Starts[K];
        FFiscalMonths[K].LastDate =
            TTvrDate::FromSerial(FFiscalFirstDate.AddMonths(static_cast<int>(K) + 1).Serial() - 1);
    }
}

void TSrcKinsenTable::IndexRows()
{
    double CarryingCash = FFiscalStartingCash;
    double CarryingBank = FFiscalStartingBank;
    int Month = 0;
    for (int I = FKinsenStartingIndex + 1; I < FKinsens->Count(); ++I) {
        const TSrcKinsen& Row = FKinsens->Kinsens(I);
        if (Row.Empty())
            continue;
        FKinsenAllIndices->Add(I);
        // The month position only moves forward. In a table that did not
        // complete, a row may lie in no month or out of order; it is then
        // left out of the months and the position stays where it was.
        const int M = FiscalMonthIndexOf(FFiscalMonths, Row.KDATE());
        if (M >= Month) {
            Month = M;
            FKinsenMonthlyIndices->Indiceses(Month).Add(I);
        }
        if (Row.KCASH().IsNumber())
            CarryingCash += Row.KCASH().AsFloat();
        if (Row.KBANK().IsNumber())
            CarryingBank += Row.KBANK().AsFloat();
    }
    FFiscalCarryingCash = CarryingCash;
    FFiscalCarryingBank = CarryingBank;
    FFiscalCarryingTotal = CarryingCash + CarryingBank;
}

namespace {

constexpr TTvrColumn<TSrcKinsenColumn> kKinsenColumns[] = {
    {ktKDATE, "日付", sftDate, 12},
    {ktKSDATE, "領収書日付", sftDate, 12},
    {ktKSNOTE, "出納記号", sftString, 10},
    {ktKAITE, "相手名", sftString, 20},
    {ktKTNUM, "摘要番号", sftInteger, 5},
    {ktKTEKI, "摘要明細", sftString, 20},
    {ktKTCODE, "担当者", sftString, 6},
    {ktKSCODE, "科目", sftString, 8},
    {ktKCASH, "現金", sftDouble, 12},
    {ktKBANK, "預金", sftDouble, 12},
};
static_assert(ColumnsInOrder(kKinsenColumns, ktColumnCount));

} // namespace

const TTvrFieldDefDynArray& TSrcKinsenTable::FieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kKinsenColumns);
    return Defs;
}

} // namespace tavrel
