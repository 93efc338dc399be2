// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliOptions.h"

namespace tavrel {

// The options of tavrel-sumup that ask for more than the books: the
// year-end documents (--reports), their PDF (--pdf), the books' PDF
// (--pdf-books), the documents' texts and report date, and next year's
// source tables (--next-year).

// The lines of the usage's synopsis for these options.
std::string YearEndSynopsis();
// Each option with its value, and its explanation, for the usage text; an
// explanation of two lines holds a line break.
std::vector<std::pair<std::string, std::string>> YearEndOptionLines();

// Sets the flag named by the option (--reports, --pdf, --pdf-books) and
// returns true; false for any other option. Raises ECliUsage when a flag is
// given a value.
bool SetYearEndFlag(const std::string& AName, const std::optional<std::string>& AValue, TCliOptions& AOptions);
// True for an option of these that takes a value.
bool IsYearEndValueOption(const std::string& AName);
// Sets the option's value; raises ECliUsage for a fourth --auditor or a
// report date that is not YYYY-MM-DD.
void SetYearEndValue(const std::string& AName, const std::string& AValue, TCliOptions& AOptions);

// Fills the run's request from the options. Raises ECliUsage when next
// year's folder already holds source data or cannot be one, before anything
// is read.
void ApplyYearEndOptions(const TCliOptions& AOptions, TTvrExecuteParams& AParams);

} // namespace tavrel
