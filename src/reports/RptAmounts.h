// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "tables/TvrConvert.h"
#include "tables/TvrValue.h"

namespace tavrel {

// A text field of a document: null when the text is empty.
inline TTvrValue TextField(const std::string& AText)
{
    return AText.empty() ? TTvrValue() : TTvrValue(AText);
}

} // namespace tavrel
