// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "tables/TvrCsv.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

class TSrcKinsenTable;
class TSumLedger;

// What every book builder is given besides the checked tables and the
// ledger: the regional settings and the date that stands for today (the
// closing row of the cash book).
struct TSumContext {
    TTvrRegionalSettings Settings;
    TTvrDate Today;
};

// The signature every book builder shares: the book's text, one line per
// row, made from the checked cash-book table (with the masters it refers
// to), the ledger of the run and the context. A builder changes nothing, so
// that any book can be built alone and in any order.
using TSumBookText = std::string (*)(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                                     const TSumContext& AContext);

// The empty text and the null value that rows without a source return.
const std::string& EmptyText();
const TTvrValue& NullValue();

// An owning list of book rows, freed from the last to the first.
template <typename TRow>
class TSumRowList {
public:
    TSumRowList() = default;
    TSumRowList(const TSumRowList&) = delete;
    TSumRowList& operator=(const TSumRowList&) = delete;
    ~TSumRowList()
    {
        while (!FRows.empty())
            FRows.pop_back();
    }
    int Count() const { return static_cast<int>(FRows.size()); }
    const TRow& Row(int AIndex) const { return FRows.at(static_cast<size_t>(AIndex)); }
    TRow& Row(int AIndex) { return FRows.at(static_cast<size_t>(AIndex)); }
    // Constructs the row in place at the end and returns its index.
    template <typename... TArgs>
    int Append(TArgs&&... AArgs)
    {
        FRows.emplace_back(std::forward<TArgs>(AArgs)...);
        return Count() - 1;
    }
    // An empty row, unless the list is still empty: the separator before
    // every block of a book but the first.
    void Separate()
    {
        if (!FRows.empty())
            FRows.emplace_back();
    }

private:
    std::vector<TRow> FRows;
};

// The field buffer of one line of a book: exactly as many fields as the book
// has columns, all empty until set, written as the books write values.
// Texts are referred to, not copied (a book has millions of them): a text
// given to Text or Value must live until the line has been appended.
class TSumLine {
public:
    TSumLine(int AColumnCount, const TTvrRegionalSettings& ASettings);
    void Clear();
    void Text(int ACol, std::string_view AText);
    void Number(int ACol, double AValue);
    void Date(int ACol, TTvrDate ADate);
    // A date as date text, a text unchanged, an integer as its digits, a
    // float as number text, nothing as an empty field.
    void Value(int ACol, const TTvrValue& AValue);
    // The line with its CR LF appended to ATarget.
    void AppendTo(std::string& ATarget) const;

private:
    std::string& Owned(int ACol);

    std::vector<std::string_view> FFields;
    // The texts the line makes itself: numbers, dates.
    std::vector<std::string> FOwned;
    const TTvrRegionalSettings& FSettings;
    // The date text written last: the rows of a book come in date order.
    int32_t FLastDay = 0;
    std::string FLastDateText;
};

// APrefix, the name, a space and the budget text, trimmed so that a missing
// budget leaves no trailing space: the label of an item with its budget.
std::string BudgetLabel(const std::string& APrefix, const std::string& AName, const TTvrValue& ABudget,
                        const TTvrRegionalSettings& ASettings);

// Encodes the text and writes it only when the file's content changes. A
// symbolic link at the book's path is replaced by the book, never written
// through.
void WriteBookText(const std::string& AFileName, std::string_view AText);

// The text of a book: one line per row (an empty row is a line of empty
// fields), each ending in CR LF.
template <typename TRows, typename TFill>
std::string BookRowsText(const TRows& ARows, int AColumnCount, const TTvrRegionalSettings& ASettings, TFill AFill)
{
    TSumLine Line(AColumnCount, ASettings);
    std::string Text;
    // About the size of a line of the longest books, so that the text of a
    // million rows is not copied again and again while it grows.
    Text.reserve(static_cast<size_t>(ARows.Count()) * (24 + 12 * static_cast<size_t>(AColumnCount)));
    for (int I = 0; I < ARows.Count(); ++I) {
        Line.Clear();
        if (!ARows.Row(I).Empty())
            AFill(Line, I);
        Line.AppendTo(Text);
    }
    return Text;
}

} // namespace tavrel
