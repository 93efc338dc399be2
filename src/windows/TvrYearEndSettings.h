// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The year-end documents' settings of each source-data location, in the
// configuration: one section per location that has them, [YearEnd.1],
// [YearEnd.2] ..., holding the location's folder (Folder, as the location
// history writes it) with the organisation (Organisation), the year title
// (YearTitle), the treasurer (Treasurer), the three auditors (Auditor1 to
// Auditor3, as their fields hold them) and the report date (ReportDate,
// 2026-04-20; empty for today). A section is found by its folder, never by
// a position in the location list, so that choosing, adding or deleting
// locations leaves each location's settings where they are.

#include <optional>
#include <string>

#include "reports/RptYearEnd.h"

namespace tavrel {

class TTvrConfig;

// The settings of the location (its folder as bytes, with its separator);
// nullopt when none are remembered. Auditors holds three names, empty ones
// included, in their fields' order.
std::optional<TRptParams> ReadYearEndParams(const TTvrConfig& AConfig, const std::string& AFolder);
// Writes the settings of the location in one write of its section, which is
// added when the location has none. ETvrError when the file refuses it.
void WriteYearEndParams(TTvrConfig& AConfig, const std::string& AFolder, const TRptParams& AParams);

} // namespace tavrel
