// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>

#include "tables/TvrSheet.h"

namespace tavrel {

// One entry of a file's column table: the named position by which the code
// reads or writes the column, with the column's title, type and width. The
// positions (an enum whose last enumerator is the column count) and the
// definitions a sheet is loaded with come from one such table, so that they
// cannot disagree.
template <typename TColumn>
struct TTvrColumn {
    TColumn Column;
    const char* Name;
    TTvrFieldType FieldType;
    int32_t CharCount;
};

// True when the table lists the positions 0, 1, ... ACount - 1, each in its
// own place. Every table is checked with it in a static_assert beside it.
template <typename TColumn, size_t N>
constexpr bool ColumnsInOrder(const TTvrColumn<TColumn> (&AColumns)[N], TColumn ACount)
{
    if (N != static_cast<size_t>(ACount))
        return false;
    for (size_t I = 0; I < N; ++I)
        if (static_cast<size_t>(AColumns[I].Column) != I)
            return false;
    return true;
}

// The column definitions of the table, in order.
template <typename TColumn, size_t N>
TTvrFieldDefDynArray FieldDefsOf(const TTvrColumn<TColumn> (&AColumns)[N])
{
    TTvrFieldDefDynArray Defs;
    Defs.reserve(N);
    for (const TTvrColumn<TColumn>& Column : AColumns)
        Defs.push_back({Column.Name, Column.FieldType, Column.CharCount});
    return Defs;
}

} // namespace tavrel
