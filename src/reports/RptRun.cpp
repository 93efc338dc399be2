// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <system_error>

#include "reports/RptCharts.h"
#include "reports/RptReconciliation.h"
#include "reports/RptStatement.h"
#include "reports/RptWriter.h"
#include "sources/SrcKinsen.h"

namespace tavrel {

namespace {

// Removes the file when it is a regular file (never a link, a folder or
// anything else of that name): a document of an earlier run that this run
// does not make, which the viewer and the treasurer would otherwise take
// for this year's.
void RemoveStaleDocument(const std::string& AFileName)
{
    struct stat St {};
    if (::lstat(AFileName.c_str(), &St) != 0 || !S_ISREG(St.st_mode))
        return;
    if (::unlink(AFileName.c_str()) != 0 && errno != ENOENT)
        throw ETvrError("ファイル \"" + AFileName + "\" を削除できません。" + std::generic_category().message(errno));
}

} // namespace

TRptPageHeader ReportPageHeader(const TRptParams& AParams, const TSrcKinsenTable& AKinsenTable, TTvrDate AToday)
{
    const TRptParams Params = ResolveReportParams(AParams, AKinsenTable.FiscalFirstDate(), AToday);
    return TRptPageHeader{Params.Organisation, Params.YearTitle, AKinsenTable.FiscalFirstDate(),
                          AKinsenTable.FiscalLastDate()};
}

void MakeYearEndOutputs(const TRptYearEndRequest& ARequest, const TRptRunResult& ARun,
                        const TSumContext& AContext, const TTvrExecuteSendMessage& ASendMessage,
                        TTvrSheets* AOutputs)
{
    CheckYearEndRequest(ARequest);
    if (ARequest.KeepSummary)
        ARequest.KeepSummary({ReportPageHeader(ARequest.Params, ARun.KinsenTable, AContext.Today),
                              MakeCharts(ARun.KinsenTable, ARun.Ledger, ARun.ZandakaTable)});
    const TTvrRegionalSettings& Settings = AContext.Settings;
    const auto Write = [&](const TRptDocument& ADocument) {
        const std::string Path = ARun.OutputFolder + ADocument.FileName;
        ASendMessage(ADocument.FileName + " 作成中...");
        WriteDocument(Path, ADocument, Settings);
        if (AOutputs != nullptr)
            AOutputs->Sheets(AOutputs->Add()).LoadFromFileDeferred(Path, ADocument.FieldDefs, Settings);
    };

    std::optional<TRptDocument> Statement;
    std::optional<TRptReconciliation> Reconciliation;
    if (ARequest.MakesDocuments()) {
        Statement = MakeStatement(ARun.KinsenTable, ARun.Ledger, ARequest.Params, AContext);
        Write(*Statement);
        if (ARun.ZandakaTable != nullptr) {
            Reconciliation = MakeReconciliation(ARun.KinsenTable, *ARun.ZandakaTable);
            Write(Reconciliation->Document);
        } else {
            RemoveStaleDocument(ARun.OutputFolder + kReconciliationDocumentName);
        }
    }

    const TRptPageHeader Header = ReportPageHeader(ARequest.Params, ARun.KinsenTable, AContext.Today);
    if (ARequest.YearEndPdf) {
        ASendMessage(std::string(kYearEndPdfName) + " 作成中...");
        const TRptYearEndInputs Inputs{ARun.KinsenTable,
                                       ARun.Ledger,
                                       ARun.ZandakaTable,
                                       *Statement,
                                       Reconciliation ? &Reconciliation->Document : nullptr,
                                       Header,
                                       Settings,
                                       AContext.Today};
        ARequest.YearEndPdfMaker(ARun.OutputFolder + kYearEndPdfName, Inputs);
    }
    if (ARequest.BooksPdf) {
        ASendMessage(std::string(kBooksPdfName) + " 作成中...");
        ARequest.BooksPdfMaker(ARun.OutputFolder + kBooksPdfName, ARun.Books, Header, Settings, AContext.Today);
    }

    if (!ARequest.NextYearFolder.empty())
        WriteNextYearTables(ARequest.NextYearFolder,
                            MakeNextYearTables(ARun.Sources, ARun.KinsenTable, Settings), ASendMessage);

    if (Reconciliation) {
        ASendMessage("");
        for (const std::string& Line : ReconciliationLogLines(*Reconciliation))
            ASendMessage(Line);
    }
}

} // namespace tavrel
