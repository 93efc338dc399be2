// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>

#include "reports/RptCharts.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

// What the viewer knows of the year of its sheets besides the sheets, from
// the run that made them: what heads their printed pages (the organisation
// and year title of the location's year-end settings, and the fiscal
// period of the cash-book table; no period when the run stopped before it
// was known), the output folder where a sheet's PDF file is proposed, and
// the charts of the year (none when the run did not complete).
struct TTvrSheetYear {
    TRptPageHeader Header;
    // Bytes, with its separator; empty: a PDF file is proposed beside the
    // sheet's own file.
    std::string OutputFolder;
    std::optional<TRptCharts> Charts;
};

} // namespace tavrel
