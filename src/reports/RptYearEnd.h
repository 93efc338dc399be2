// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reports/RptDocument.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

class TSrcKinsenTable;
class TSrcZandakaTable;
class TSumLedger;

// What the treasurer asks of the year-end documents: who hands them in, to
// whom, and on which day. Empty texts are left out where the documents
// allow it.
struct TRptParams {
    // 団体名; may be empty.
    std::string Organisation;
    // 年度表示; empty: "<year of the period's first day>年度".
    std::string YearTitle;
    // 会計; may be empty.
    std::string Treasurer;
    // 監事: up to three.
    std::vector<std::string> Auditors;
    // 作成日; none: the run's today.
    std::optional<TTvrDate> ReportDate;
};

// What heads every printed page: the organisation and the year title (when
// the documents' settings have them), and the fiscal period.
struct TRptPageHeader {
    std::string Organisation;
    std::string YearTitle;
    TTvrDate FirstDate;
    TTvrDate LastDate;
};

// A written book or document, as the page layer reads it back.
struct TRptBookFile {
    std::string Path;
    TTvrFieldDefDynArray FieldDefs;
};

// Everything the year-end PDF is drawn from: the page layer computes no
// figure of its own, it lays out these values (and the charts made from the
// same tables and sums).
struct TRptYearEndInputs {
    const TSrcKinsenTable& KinsenTable;
    const TSumLedger& Ledger;
    // None when the run had no balance table.
    const TSrcZandakaTable* ZandakaTable;
    const TRptDocument& Statement;
    // None without a balance table.
    const TRptDocument* Reconciliation;
    TRptPageHeader Header;
    TTvrRegionalSettings Settings;
    // The day the PDF is made, for the footer.
    TTvrDate Today;
};

// The page layer's drawing functions, given to the run by a front end that
// links it (the engine cannot): each writes one PDF file at APath or raises
// ETvrError with the platform's text.
using TRptYearEndPdfMaker = std::function<void(const std::string& APath, const TRptYearEndInputs& AInputs)>;
using TRptBooksPdfMaker = std::function<void(const std::string& APath, const std::vector<TRptBookFile>& ABooks,
                                             const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings,
                                             TTvrDate AToday)>;

} // namespace tavrel
