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
        {"--reports", std::string(kStatementDocumentName) + " と、残高テーブルがあれば\n" + kReconciliationDocumentName
                          + " も書く"},
        {"--pdf", std::string("--reports に加えて、決算書類を ") + kYearEndPdfName + " に描く"},
        {"--pdf-books", std::string("8つの帳簿を ") + kBooksPdfName + " にも描く"},
        {"--org TEXT", "決算書類の団体名（既定: なし）"},
        {"--year-title TEXT", "年度表示（既定: 会計期間の初日の年と「年度」）"},
        {"--treasurer TEXT", "報告の会計の名前（既定: なし）"},
        {"--auditor TEXT", "監事の名前。3回まで指定できる"},
        {"--report-date DATE", "決算書の作成日（既定: --today の日付）"},
        {"--next-year DIR", "次年度の4つのソースデータを DIR に書く。DIR にはまだ\nソースデータがあってはならない"},
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
