// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "cli/CliYearEndOptions.h"

#include "reports/RptNextYear.h"
#include "reports/RptReconciliation.h"
#include "reports/RptRequest.h"
#include "reports/RptStatement.h"

namespace tavrel {

namespace {

struct TYearEndFlag {
    const char* Option;
    bool TCliOptions::*Flag;
};

const TYearEndFlag kFlags[] = {
    {"--reports", &TCliOptions::Reports},
    {"--pdf", &TCliOptions::Pdf},
    {"--pdf-books", &TCliOptions::PdfBooks},
};

// The options that take a text into the documents' parameters.
struct TYearEndText {
    const char* Option;
    std::string TRptParams::*Text;
};

const TYearEndText kTexts[] = {
    {"--org", &TRptParams::Organisation},
    {"--year-title", &TRptParams::YearTitle},
    {"--treasurer", &TRptParams::Treasurer},
};

} // namespace

std::string YearEndSynopsis()
{
    return "                    [--reports] [--pdf] [--pdf-books] [--org TEXT]\n"
           "                    [--year-title TEXT] [--treasurer TEXT] [--auditor TEXT]...\n"
           "                    [--report-date YYYY-MM-DD] [--next-year DIR]\n";
}

std::vector<std::pair<std::string, std::string>> YearEndOptionLines()
{
    return {
        {"--reports", std::string("also write ") + kStatementFileName + " and, with a balance table,\n"
                          + kReconciliationFileName},
        {"--pdf", std::string("as --reports, and draw the documents as ") + kYearEndPdfName},
        {"--pdf-books", std::string("also write the books as pages into ") + kBooksPdfName},
        {"--org TEXT", "the organisation's name in the documents (default: none)"},
        {"--year-title TEXT", "the year title (default: the year of the first day and 年度)"},
        {"--treasurer TEXT", "the treasurer's name under the report (default: none)"},
        {"--auditor TEXT", "an auditor's name; at most three times"},
        {"--report-date DATE", "the report date of the statement (default: --today's date)"},
        {"--next-year DIR", "write next year's four source tables into DIR,\nwhich must hold none of them"},
    };
}

bool SetYearEndFlag(const std::string& AName, const std::optional<std::string>& AValue, TCliOptions& AOptions)
{
    for (const TYearEndFlag& Flag : kFlags) {
        if (AName != Flag.Option)
            continue;
        if (AValue)
            throw ECliUsage(AName + ": この指定には値を付けません: " + *AValue);
        AOptions.*Flag.Flag = true;
        return true;
    }
    return false;
}

bool IsYearEndValueOption(const std::string& AName)
{
    for (const TYearEndText& Text : kTexts)
        if (AName == Text.Option)
            return true;
    return AName == "--auditor" || AName == "--report-date" || AName == "--next-year";
}

void SetYearEndValue(const std::string& AName, const std::string& AValue, TCliOptions& AOptions)
{
    for (const TYearEndText& Text : kTexts) {
        if (AName == Text.Option) {
            AOptions.Report.*Text.Text = AValue;
            return;
        }
    }
    if (AName == "--auditor") {
        if (AOptions.Report.Auditors.size() >= kMaxAuditors)
            throw ECliUsage(AName + ": 監事は" + std::to_string(kMaxAuditors) + "人まで指定できます: " + AValue);
        AOptions.Report.Auditors.push_back(AValue);
    } else if (AName == "--report-date") {
        AOptions.Report.ReportDate = ParseCliDate(AName, AValue);
    } else if (AName == "--next-year") {
        AOptions.NextYear = AValue;
    }
}

void ApplyYearEndOptions(const TCliOptions& AOptions, TTvrExecuteParams& AParams)
{
    TRptYearEndRequest& Request = AParams.YearEnd;
    Request.Documents = AOptions.Reports || AOptions.Pdf;
    Request.YearEndPdf = AOptions.Pdf;
    Request.BooksPdf = AOptions.PdfBooks;
    Request.Params = AOptions.Report;
    if (!AOptions.NextYear)
        return;
    if (AOptions.NextYear->empty())
        throw ECliUsage("--next-year: フォルダが指定されていません。");
    Request.NextYearFolder = *AOptions.NextYear;
    try {
        CheckNextYearFolder(Request.NextYearFolder);
    } catch (const ETvrError& E) {
        throw ECliUsage(E.what());
    }
}

} // namespace tavrel
