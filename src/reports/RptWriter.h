// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

#include "reports/RptDocument.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The CSV text of a document as the books write theirs: one line per row,
// each of exactly FieldCount fields (an empty row is that many empty
// fields), numbers as the books' number text, dates as the books' date text,
// each line ending in CR LF. Raises std::logic_error for a row of more
// fields than the document has.
std::string DocumentText(const TRptDocument& ADocument, const TTvrRegionalSettings& ASettings);

// Writes the document's text to the file with the books' routine: code page
// 932, or UTF-8 with a byte-order mark when a character needs it; atomic;
// an unchanged file is not touched. Raises ETvrError with the platform's
// text.
void WriteDocument(const std::string& AFileName, const TRptDocument& ADocument,
                   const TTvrRegionalSettings& ASettings);

} // namespace tavrel
