// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <algorithm>
#include <cmath>
#include <string>

#include "tables/TvrValue.h"

namespace tavrel {

// Two amounts that stand for the same sum: equal within a relative
// tolerance, the one the opening balance is checked with, since amounts
// typed with decimals (0.1 and 0.2 against 0.3) do not add up exactly in
// binary.
inline bool AmountsAgree(double A, double B)
{
    return std::fabs(A - B) <= 1e-9 * std::max({1.0, std::fabs(A), std::fabs(B)});
}

// A text field of a document: null when the text is empty.
inline TTvrValue TextField(const std::string& AText)
{
    return AText.empty() ? TTvrValue() : TTvrValue(AText);
}

} // namespace tavrel
