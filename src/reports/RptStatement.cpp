// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptStatement.h"

#include "aggregation/SumLedger.h"
#include "aggregation/SumShisanBook.h"
#include "reports/RptAmounts.h"
#include "sources/SrcKinsen.h"
#include "tables/TvrColumns.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

constexpr TTvrColumn<TRptStatementColumn> kStatementColumns[] = {
    {rsKamoku, "科目", sftString, 20},
    {rsBudget, "予算額", sftDouble, 12},
    {rsActual, "決算額", sftDouble, 12},
    {rsDifference, "増減/残額", sftDouble, 12},
    {rsMemo, "備考", sftString, 30},
};
static_assert(ColumnsInOrder(kStatementColumns, rsColumnCount));

// A text the treasurer typed, fit for one field of one line: a line break
// or a tab would split or shift the printed line, so every control
// character becomes a space; blanks at both ends go.
std::string CleanText(const std::string& AText)
{
    std::string Text = AText;
    for (char& C : Text)
        if (static_cast<unsigned char>(C) < 32 || C == '\x7F')
            C = ' ';
    return Trim(Text);
}

} // namespace

const TTvrFieldDefDynArray& StatementFieldDefs()
{
    static const TTvrFieldDefDynArray Defs = FieldDefsOf(kStatementColumns);
    return Defs;
}

TRptParams ResolveReportParams(const TRptParams& AParams, TTvrDate AFirstDate, TTvrDate AToday)
{
    TRptParams Result;
    Result.Organisation = CleanText(AParams.Organisation);
    Result.YearTitle = CleanText(AParams.YearTitle);
    if (Result.YearTitle.empty()) {
        int Year = 0;
        int Month = 0;
        int Day = 0;
        AFirstDate.Decode(Year, Month, Day);
        Result.YearTitle = std::to_string(Year) + "年度";
    }
    Result.Treasurer = CleanText(AParams.Treasurer);
    for (const std::string& Auditor : AParams.Auditors) {
        std::string Name = CleanText(Auditor);
        if (!Name.empty())
            Result.Auditors.push_back(std::move(Name));
    }
    Result.ReportDate = (AParams.ReportDate ? *AParams.ReportDate : AToday).DateOnly();
    return Result;
}

TRptDocument MakeStatement(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                           const TRptParams& AParams, const TSumContext& AContext)
{
    const TRptParams Params = ResolveReportParams(AParams, AKinsenTable.FiscalFirstDate(), AContext.Today);
    // The figures of the trial balance's year section, so that the two can
    // never disagree: budgets and actuals per major item in master order,
    // and their totals added in that order.
    const TSumShisanBook Book(AKinsenTable, ALedger);
    const TSumShisanTable& Year = Book.Cumulative();
    const double S = ALedger.OpeningBalance();

    TRptDocument Doc;
    Doc.FileName = kStatementDocumentName;
    Doc.FieldDefs = StatementFieldDefs();
    using K = TRptRowKind;

    std::string Title;
    for (const std::string* Part : {&Params.Organisation, &Params.YearTitle}) {
        if (!Part->empty())
            Title += *Part + " ";
    }
    Doc.AddRow(K::Title, {Title + "収支決算書"});
    Doc.AddRow(K::Period, {"期間", BookDateText(AKinsenTable.FiscalFirstDate(), AContext.Settings) + "～"
                                      + BookDateText(AKinsenTable.FiscalLastDate(), AContext.Settings)});
    Doc.AddRow(K::Blank);

    const auto ColumnTitles = [&](const char* ADifference) {
        Doc.AddRow(K::ColumnTitles, {"科目", "予算額", "決算額", ADifference, "備考"});
    };
    Doc.AddRow(K::Heading, {"■ 収入の部"});
    ColumnTitles("増減");
    const TSrcKamokuGran* Opening = Book.Opening();
    Doc.AddRow(K::Item, {TextField(Opening ? Opening->KNAME() : std::string()), S, S, 0.0,
                         TextField(Opening ? Opening->KMEMO() : std::string())});
    for (size_t I = 0; I < Book.Incomes().size(); ++I) {
        const TSumShisanAmounts& Item = Year.Incomes[I];
        Doc.AddRow(K::Item, {TextField(Book.Incomes()[I]->KNAME()), Item.Budget, Item.Actual,
                             Item.Actual - Item.Budget, TextField(Book.Incomes()[I]->KMEMO())});
    }
    const double IncomeBudget = Year.IncomeTotal.Budget;
    const double IncomeActual = Year.IncomeTotal.Actual;
    Doc.AddRow(K::Subtotal, {"当期収入合計", IncomeBudget, IncomeActual, IncomeActual - IncomeBudget});
    const double TotalBudget = S + IncomeBudget;
    const double TotalActual = S + IncomeActual;
    Doc.AddRow(K::Total, {"収入合計", TotalBudget, TotalActual, TotalActual - TotalBudget});
    Doc.AddRow(K::Blank);

    Doc.AddRow(K::Heading, {"■ 支出の部"});
    ColumnTitles("残額");
    for (size_t I = 0; I < Book.Expenses().size(); ++I) {
        const TSumShisanAmounts& Item = Year.Expenses[I];
        Doc.AddRow(K::Item, {TextField(Book.Expenses()[I]->KNAME()), Item.Budget, Item.Actual,
                             Item.Budget - Item.Actual, TextField(Book.Expenses()[I]->KMEMO())});
    }
    const double ExpenseBudget = Year.ExpenseTotal.Budget;
    const double ExpenseActual = Year.ExpenseTotal.Actual;
    Doc.AddRow(K::Total, {"支出合計", ExpenseBudget, ExpenseActual, ExpenseBudget - ExpenseActual});
    Doc.AddRow(K::Blank);

    // The carry-forward: the closing amount of the trial balance, and how
    // the cash book splits it into cash and bank.
    const double B = TotalBudget - ExpenseBudget;
    const double C = TotalActual - ExpenseActual;
    Doc.AddRow(K::CarryForward, {"次年度繰越金", B, C, C - B});
    const double Cash = AKinsenTable.FiscalCarryingCash();
    const double Bank = AKinsenTable.FiscalCarryingBank();
    Doc.AddRow(K::CarryForward, {"　うち現金", TTvrValue(), Cash});
    Doc.AddRow(K::CarryForward, {"　うち預金", TTvrValue(), Bank});
    // A later row booked to the opening-balance account moves the cash book
    // but lies in no section of the statement: the only way the two differ.
    if (!AmountsAgree(Cash + Bank, C))
        Doc.AddRow(K::CarryForward,
                   {"　差額", TTvrValue(), C - (Cash + Bank), TTvrValue(),
                    std::string("科目") + kOpeningCode + "に記帳された行の計"},
                   true);

    Doc.AddRow(K::Blank);
    Doc.AddRow(K::Note, {"上記のとおり報告します。"});
    Doc.AddRow(K::Signature, {*Params.ReportDate, "会計", TextField(Params.Treasurer)});
    Doc.AddRow(K::Blank);
    Doc.AddRow(K::Note, {"上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。"});
    // Without a name, two lines to sign by hand.
    std::vector<std::string> Auditors = Params.Auditors;
    if (Auditors.empty())
        Auditors.resize(2);
    for (const std::string& Auditor : Auditors)
        Doc.AddRow(K::Signature, {TTvrValue(), "監事", TextField(Auditor), TTvrValue(), "印"});
    return Doc;
}

} // namespace tavrel
