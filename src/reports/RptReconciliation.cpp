// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptReconciliation.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "reports/RptAmounts.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrColumns.h"

namespace tavrel {

namespace {

constexpr TTvrColumn<TRptReconciliationColumn> kReconciliationColumns[] = {
    {rrLine, "行", sftInteger, 5},
    {rrDate, "日付", sftDate, 12},
    {rrCashCounted, "現金(実査)", sftDouble, 12},
    {rrCashBook, "現金(帳簿)", sftDouble, 12},
    {rrCashDifference, "現金差額", sftDouble, 12},
    {rrBankCounted, "預金(通帳)", sftDouble, 12},
    {rrBankBook, "預金(帳簿)", sftDouble, 12},
    {rrBankDifference, "預金差額", sftDouble, 12},
    {rrVerdict, "判定", sftString, 8},
    {rrCandidates, "候補", sftString, 40},
};
static_assert(ColumnsInOrder(kReconciliationColumns, rrColumnCount));

// The candidates of one side, at most this many: enough to look up by hand,
// few enough to read on one line.
constexpr size_t kMaxCandidates = 5;

// One side of the cash book (cash or bank): its balance after each row and
// the rows by amount. The rows of a checked cash-book table are in date
// order, so the rows dated on or before a day are always the first ones.
class TBookSide {
public:
    TBookSide(const TSrcKinsenTable& AKinsenTable, bool ABank)
        : FKinsens(AKinsenTable.Kinsens()),
          FStart(ABank ? AKinsenTable.FiscalStartingBank() : AKinsenTable.FiscalStartingCash())
    {
        const std::vector<int32_t>& Rows = AKinsenTable.KinsenAllIndices().Items();
        FRows = &Rows;
        FRunning.reserve(Rows.size());
        // Added in table order from the starting row's balance, as the cash
        // book and the bank book add them.
        double Balance = FStart;
        for (size_t P = 0; P < Rows.size(); ++P) {
            const TTvrValue& Amount = Side(FKinsens.Kinsens(Rows[P]), ABank);
            if (Amount.IsNumber()) {
                Balance += Amount.AsFloat();
                if (Amount.AsFloat() != 0)
                    FByAmount.emplace_back(Amount.AsFloat(), static_cast<int>(P));
            }
            FRunning.push_back(Balance);
        }
        std::sort(FByAmount.begin(), FByAmount.end());
    }

    // The balance after the first ARowCount rows.
    double BalanceAfter(int ARowCount) const
    {
        return ARowCount == 0 ? FStart : FRunning[static_cast<size_t>(ARowCount - 1)];
    }

    // The cash-book line numbers, ascending, of the first ARowCount rows
    // whose amount would explain the difference: the difference with its sign
    // turned, or half of that.
    std::vector<int> Candidates(double ADifference, int ARowCount) const
    {
        std::vector<int> Positions;
        for (const double Target : {-ADifference, -ADifference / 2})
            AddMatches(Target, ARowCount, Positions);
        std::sort(Positions.begin(), Positions.end());
        Positions.erase(std::unique(Positions.begin(), Positions.end()), Positions.end());
        if (Positions.size() > kMaxCandidates)
            Positions.resize(kMaxCandidates);
        std::vector<int> Lines;
        for (const int P : Positions)
            Lines.push_back((*FRows)[static_cast<size_t>(P)] + 1);
        return Lines;
    }

private:
    static const TTvrValue& Side(const TSrcKinsen& ARow, bool ABank) { return ABank ? ARow.KBANK() : ARow.KCASH(); }

    // The first few rows of each amount that agrees with the target. Only the
    // amounts near it are looked at, and of each only its first rows, so
    // that a balance table of many rows against a cash book of a million
    // costs no more than a few searches per row.
    void AddMatches(double ATarget, int ARowCount, std::vector<int>& APositions) const
    {
        // Wider than the tolerance of AmountsAgree, which each amount found
        // is then held to.
        const double Window = 2e-9 * std::max(1.0, std::fabs(ATarget));
        auto It = std::lower_bound(FByAmount.begin(), FByAmount.end(), std::make_pair(ATarget - Window, INT_MIN));
        while (It != FByAmount.end() && It->first <= ATarget + Window) {
            const double Amount = It->first;
            const auto End = std::upper_bound(It, FByAmount.end(), std::make_pair(Amount, INT_MAX));
            if (AmountsAgree(Amount, ATarget)) {
                size_t Taken = 0;
                for (auto Row = It; Row != End && Taken < kMaxCandidates && Row->second < ARowCount; ++Row, ++Taken)
                    APositions.push_back(Row->second);
            }
            It = End;
        }
    }

    const TSrcKinsens& FKinsens;
    const std::vector<int32_t>* FRows = nullptr;
    double FStart;
    std::vector<double> FRunning;
    // (amount, position among the rows) of every row with an amount on this
    // side, sorted.
    std::vector<std::pair<double, int>> FByAmount;
};

// One side of one line of the reconciliation.
struct TSideCheck {
    bool Counted = false;
    bool Agrees = true;
    TTvrValue CountedValue;
    double Book = 0.0;
    TTvrValue Difference;
    std::vector<int> Candidates;
};

TSideCheck CheckSide(const TTvrValue& ACounted, const TBookSide& ASide, int ARowCount)
{
    TSideCheck Check;
    Check.Book = ASide.BalanceAfter(ARowCount);
    if (!ACounted.IsNumber())
        return Check;
    const double Counted = ACounted.AsFloat();
    Check.Counted = true;
    Check.CountedValue = Counted;
    Check.Agrees = AmountsAgree(Counted, Check.Book);
    if (Check.Agrees) {
        Check.Difference = 0.0;
    } else {
        const double Difference = Counted - Check.Book;
        Check.Difference = Difference;
        Check.Candidates = ASide.Candidates(Difference, ARowCount);
    }
    return Check;
}

// "現金: 3行 40行 / 預金: 7行"; empty without a candidate.
std::string CandidatesText(const TSideCheck& ACash, const TSideCheck& ABank)
{
    std::string Text;
    const auto Add = [&](const char* ASide, const std::vector<int>& ALines) {
        if (ALines.empty())
            return;
        if (!Text.empty())
            Text += " / ";
        Text += ASide;
        Text += ":";
        for (const int Line : ALines) {
            Text += ' ';
            Text += std::to_string(Line);
            Text += "行";
        }
    };
    Add("現金", ACash.Candidates);
    Add("預金", ABank.Candidates);
    return Text;
}

} // namespace

const TTvrFieldDefDynArray& ReconciliationFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kReconciliationColumns);
    return Defs;
}

TRptReconciliation MakeReconciliation(const TSrcKinsenTable& AKinsenTable, const TSrcZandakaTable& AZandakaTable)
{
    TRptReconciliation Result;
    TRptDocument& Doc = Result.Document;
    Doc.FileName = kReconciliationDocumentName;
    Doc.FieldDefs = ReconciliationFieldDefs();
    std::vector<TTvrValue> Titles;
    for (const TTvrFieldDef& Def : Doc.FieldDefs)
        Titles.emplace_back(Def.Name);
    Doc.AddRow(TRptRowKind::ColumnTitles, std::move(Titles));

    const TBookSide Cash(AKinsenTable, false);
    const TBookSide Bank(AKinsenTable, true);
    std::vector<int32_t> Days;
    for (const int32_t Index : AKinsenTable.KinsenAllIndices().Items())
        Days.push_back(AKinsenTable.Kinsens().Kinsens(Index).KDATE().Day());

    const TSrcZandakas& Zandakas = AZandakaTable.Zandakas();
    for (int I = 0; I < Zandakas.Count(); ++I) {
        const TSrcZandaka& Row = Zandakas.Zandakas(I);
        if (Row.Empty())
            continue;
        const int Line = I + 1;
        const int RowCount =
            static_cast<int>(std::upper_bound(Days.begin(), Days.end(), Row.ZDATE().Day()) - Days.begin());
        const TSideCheck CashCheck = CheckSide(Row.ZCASH(), Cash, RowCount);
        const TSideCheck BankCheck = CheckSide(Row.ZBANK(), Bank, RowCount);
        const char* Verdict = "記入なし";
        bool Disagrees = false;
        if (CashCheck.Counted || BankCheck.Counted) {
            ++Result.Compared;
            Disagrees = !CashCheck.Agrees || !BankCheck.Agrees;
            if (Disagrees)
                Result.Disagreeing.push_back(Line);
            else
                ++Result.Agreeing;
            Verdict = Disagrees ? "不一致" : "一致";
        }
        Doc.AddRow(TRptRowKind::Item,
                   {static_cast<int32_t>(Line), Row.ZDATE(), CashCheck.CountedValue, CashCheck.Book,
                    CashCheck.Difference, BankCheck.CountedValue, BankCheck.Book, BankCheck.Difference, Verdict,
                    TextField(CandidatesText(CashCheck, BankCheck))},
                   Disagrees);
    }
    return Result;
}

std::vector<std::string> ReconciliationLogLines(const TRptReconciliation& AReconciliation)
{
    if (AReconciliation.Compared == 0)
        return {"残高照合: 照合する行がありません。"};
    std::vector<std::string> Lines = {"残高照合: " + std::to_string(AReconciliation.Compared) + "件中"
                                      + std::to_string(AReconciliation.Agreeing) + "件が一致しました。"};
    if (!AReconciliation.Disagreeing.empty()) {
        std::string List;
        for (const int Line : AReconciliation.Disagreeing)
            List += (List.empty() ? "" : ", ") + std::to_string(Line) + "行";
        Lines.push_back("残高照合: 一致しない行があります（" + List + "）。");
    }
    return Lines;
}

} // namespace tavrel
