// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// What a line of a year-end document is. The CSV file does not show it, but
// the page layer lays each kind out in its own way (a large centred title,
// ruled tables, signature lines with a seal box) without reading the texts.
enum class TRptRowKind {
    // Every field empty.
    Blank,
    // The document's title.
    Title,
    // The period: 期間 and "<first day>～<last day>".
    Period,
    // A section heading: ■ 収入の部.
    Heading,
    // The titles of the columns of the table that follows.
    ColumnTitles,
    // One item of a table.
    Item,
    // A total within a section: 当期収入合計.
    Subtotal,
    // A section's total: 収入合計, 支出合計.
    Total,
    // The carry-forward to the next year and the lines that split it.
    CarryForward,
    // A sentence: 上記のとおり報告します。
    Note,
    // A date with a name, or 監事 with a name and 印.
    Signature,
};

// One line of a document.
struct TRptRow {
    TRptRowKind Kind = TRptRowKind::Blank;
    // As many as the document has fields: null (an empty field), a text, a
    // number (64-bit float) or a date.
    std::vector<TTvrValue> Fields;
    // A line the reader must look at, such as a reconciliation line that
    // disagrees.
    bool Marked = false;
};

// A year-end document as plain values: the CSV file and the PDF are both
// made from it, so that they cannot disagree.
struct TRptDocument {
    // The file name in the output folder, e.g. 21収支決算書.csv.
    std::string FileName;
    // The columns the viewer shows the written file with; their count is the
    // number of fields of every row.
    TTvrFieldDefDynArray FieldDefs;
    std::vector<TRptRow> Rows;

    int FieldCount() const { return static_cast<int>(FieldDefs.size()); }

    // Appends a row of these fields, padded with empty ones to FieldCount.
    void AddRow(TRptRowKind AKind, std::vector<TTvrValue> AFields = {}, bool AMarked = false)
    {
        AFields.resize(FieldDefs.size());
        Rows.push_back(TRptRow{AKind, std::move(AFields), AMarked});
    }
};

} // namespace tavrel
