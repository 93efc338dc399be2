// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "aggregation/TvrSumup.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

// The command line of tavrel-sumup, parsed.
struct TCliOptions {
    bool Help = false;
    std::string SourceDir;
    std::optional<std::string> Kamoku;
    std::optional<std::string> Tantosha;
    std::optional<std::string> Zandaka;
    std::optional<std::string> Kinsen;
    std::optional<std::string> Output;
    std::optional<TTvrDate> Today;
    // What is made after the books (see CliYearEndOptions.h): --reports,
    // --pdf, --pdf-books, the documents' texts and date, --next-year.
    bool Reports = false;
    bool Pdf = false;
    bool PdfBooks = false;
    TRptParams Report;
    std::optional<std::string> NextYear;
};

// A usage error: the text goes to standard error, the exit status is 2.
class ECliUsage : public std::runtime_error {
public:
    explicit ECliUsage(const std::string& AMessage) : std::runtime_error(AMessage) {}
};

// The text of --help and of a usage error.
const std::string& CliUsage();

// A date option's value: exactly YYYY-MM-DD, so that a script's date is
// never misread; ECliUsage naming the option otherwise.
TTvrDate ParseCliDate(const std::string& AOption, const std::string& AText);

// Raises ECliUsage for an unknown option, a missing value, a bad date or a
// missing or extra source folder.
TCliOptions ParseCliOptions(const std::vector<std::string>& AArgs);

// The parameters of the run: each table not named on the command line is
// chosen as the main window chooses without a remembered choice (the first
// .csv file of the folder, in name order, whose name holds the table's
// keyword). Raises ECliUsage when the folder does not exist or no
// account-title master or cash-book table is named or found.
TTvrExecuteParams MakeExecuteParams(const TCliOptions& AOptions, TTvrDate ADefaultToday);

} // namespace tavrel
