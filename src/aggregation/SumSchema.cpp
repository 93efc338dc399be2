// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumSchema.h"

namespace tavrel {

int TSumBookSchema::ColumnCount(int AMonthCount) const
{
    return static_cast<int>(FColumns.size()) + (FMonthColumns ? AMonthCount : 0);
}

TTvrFieldDefDynArray TSumBookSchema::FieldDefs(const TTvrFiscalMonths& AFiscalMonths) const
{
    TTvrFieldDefDynArray Defs = FColumns;
    if (FMonthColumns)
        for (const TTvrFiscalMonth& Month : AFiscalMonths)
            Defs.push_back({std::to_string(Month.Month) + "月", FMonthType, FMonthCharCount});
    return Defs;
}

} // namespace tavrel
