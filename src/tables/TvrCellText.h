// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The texts of a sheet's cells as the user reads them: in the viewer's grid,
// on its clipboard, and on printed pages, which must show the same.

#include <string>

#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// A number as the viewer displays it: rounded to a whole number, halves away
// from zero, with the thousands separator and no decimals (1,235 for 1234.5).
std::string DisplayNumberText(double AValue, const TTvrRegionalSettings& ASettings);

// The text of a value of a column of the given type: null gives empty text,
// a number its display form (ACopy false) or the plain decimal of the books
// (ACopy true), a date its short date in both forms, a text itself.
std::string ValueCellText(const TTvrValue& AValue, TTvrFieldType AFieldType, bool ACopy,
                          const TTvrRegionalSettings& ASettings);
// True for a number in an integer or float column.
bool IsNumericValue(const TTvrValue& AValue, TTvrFieldType AFieldType);

} // namespace tavrel
