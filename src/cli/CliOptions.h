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
    bool Version = false;
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

// A usage error: the text (Japanese, like the log) goes to standard error,
// the exit status is 2.
class ECliUsage : public std::runtime_error {
public:
    explicit ECliUsage(const std::string& AMessage) : std::runtime_error(AMessage) {}
};

// The text of --help and of a usage error.
const std::string& CliUsage();

// A date option's value: exactly YYYY-MM-DD, so that a script's date is
// never misread; ECliUsage naming the option otherwise.
TTvrDate ParseCliDate(const std::string& AOption, const std::string& AText);

// Raises ECliUsage, naming the option, for an unknown option (any argument
// with a leading hyphen before "--"), a missing value, an empty --output, a
// bad date, or a missing or extra source folder.
TCliOptions ParseCliOptions(const std::vector<std::string>& AArgs);

// The parameters of the run: each table not named on the command line is
// chosen as the main window chooses without a remembered choice (the first
// .csv file of the folder, in name order, whose name holds the table's
// keyword), never a file named like a book or a year-end document. The run
// keeps no sheet of the files (KeepSheets): nothing shows them. Names
// are kept as their bytes; a name that is not UTF-8 (code page 932 from a
// Windows stick) is matched by its text. Raises ECliUsage with the system's
// reason when the folder cannot be opened or listed, when it is not a
// folder, and when no account-title master or cash-book table is named or
// found.
TTvrExecuteParams MakeExecuteParams(const TCliOptions& AOptions, TTvrDate ADefaultToday);

// One line per table, in the registry's order, saying which file the run
// reads: "収支科目マスタ: 収支科目マスタ.csv", or "(使用しない)". Printed
// before the run, so that a backup copy chosen by its name is seen.
std::vector<std::string> ChosenFileLines(const TTvrExecuteParams& AParams);

} // namespace tavrel
