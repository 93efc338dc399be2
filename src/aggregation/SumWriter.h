// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <utility>
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
// row, made into AOut from the checked cash-book table (with the masters it
// refers to), the ledger of the run and the context. A builder changes
// nothing, so that any book can be built alone, in any order, on any
// thread, and made again to the same text.
using TSumBookText = void (*)(const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                              const TSumContext& AContext, TTvrTextOut& AOut);

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
    // The line with its CR LF as the next line of a text.
    void WriteTo(TTvrTextOut& AOut) const
    {
        AppendTo(AOut.Text());
        AOut.LineDone();
    }

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

// Writes the text AMake makes to a book's file with the books' routine: code
// page 932, or UTF-8 with a byte-order mark when the text needs it; the file
// replaced only when its content changes, and a symbolic link at its path
// replaced by the book, never written through. The file is finished, not
// yet in place: Commit puts it there.
TTvrFileWriter WriteBookText(TTvrTextWriter& AWriter, const std::string& AFileName, const TTvrMakeText& AMake);
// The same, put in place at once: a single book or document, written
// with buffers of its own.
void WriteBookFile(const std::string& AFileName, const TTvrMakeText& AMake);

// The rows of a book as they are made, each written as its line as soon as
// the row after it is known: a line may depend on the next row (a balance is
// shown only on the last row of its date). Only that one row is kept, never
// the book's rows. It appends as TSumRowList does, so that one builder
// serves both.
template <typename TRow, typename TFill>
class TSumRowStream {
public:
    // AFill(ALine, ARow, ANext, AIndex) sets the fields of a row that is not
    // empty; ANext is the row after it, none after the last row.
    TSumRowStream(TTvrTextOut& AOut, int AColumnCount, const TTvrRegionalSettings& ASettings, TFill AFill)
        : FOut(AOut), FLine(AColumnCount, ASettings), FFill(std::move(AFill))
    {
    }
    TSumRowStream(const TSumRowStream&) = delete;
    TSumRowStream& operator=(const TSumRowStream&) = delete;

    int Count() const { return FCount; }
    // Constructs the row and returns its index.
    template <typename... TArgs>
    int Append(TArgs&&... AArgs)
    {
        TRow Next(std::forward<TArgs>(AArgs)...);
        if (FCount > 0)
            WriteHeld(&Next);
        FHeld = std::move(Next);
        return FCount++;
    }
    // An empty row, unless no row came yet: the separator before every
    // block of a book but the first.
    void Separate()
    {
        if (FCount > 0)
            Append();
    }
    // Writes the last row.
    void Finish()
    {
        if (FCount > 0)
            WriteHeld(nullptr);
    }

private:
    void WriteHeld(const TRow* ANext)
    {
        FLine.Clear();
        if (!FHeld.Empty())
            FFill(FLine, static_cast<const TRow&>(FHeld), ANext, FCount - 1);
        FLine.WriteTo(FOut);
    }

    TTvrTextOut& FOut;
    TSumLine FLine;
    TFill FFill;
    TRow FHeld;
    int FCount = 0;
};

// A book's text: AAddRows(ARows) appends the rows to a TSumRowStream of
// them, whose lines AFill fills (see TSumRowStream).
template <typename TRow, typename TAddRows, typename TFill>
void WriteBookRows(TTvrTextOut& AOut, int AColumnCount, const TTvrRegionalSettings& ASettings, TAddRows AAddRows,
                   TFill AFill)
{
    TSumRowStream<TRow, TFill> Rows(AOut, AColumnCount, ASettings, std::move(AFill));
    AAddRows(Rows);
    Rows.Finish();
}

} // namespace tavrel
