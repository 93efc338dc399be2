// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <string>

#include "aggregation/SumSchema.h"
#include "reports/RptRequest.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// What one aggregation run is asked to do.
struct TTvrExecuteParams {
    // The source-data location (a folder).
    std::string PathInput;
    // The folder the books are written to.
    std::string PathOutput;
    // File names relative to PathInput; an empty person master or balance
    // table means that table is not used.
    std::string KamokuMaster;
    std::string TantoshaMaster;
    std::string ZandakaTable;
    std::string KinsenTable;
    // The regional settings of every conversion and book.
    TTvrRegionalSettings Settings;
    // The date that stands for today: the cash book's closing row and a row
    // whose date did not convert. The engine never reads the clock.
    TTvrDate Today;
    // What the run makes after its books besides them: the year-end
    // documents, the PDF files, next year's tables. Nothing by default.
    TRptYearEndRequest YearEnd;
    // Whether the run keeps the files it read and wrote as sheets (Inputs,
    // Outputs) for a viewer. A kept sheet knows its file's name, columns and
    // time at once, and reads the file only when its rows are first asked
    // for. A front end that shows no sheet (the command line) keeps none.
    bool KeepSheets = true;
};

// One aggregation run: loads the source tables, stops at the first that is
// not complete, writes the eight books in their fixed order, and keeps every
// file it read or wrote as a sheet for the viewer when asked to.
class TTvrSumup {
public:
    explicit TTvrSumup(TTvrExecuteSendMessage ASendMessage);
    TTvrSumup(const TTvrSumup&) = delete;
    TTvrSumup& operator=(const TTvrSumup&) = delete;
    ~TTvrSumup();

    // Runs once; true when all books were written (and what AParams.YearEnd
    // asks for). An error the system raises inside the run becomes a log line
    // and a false result; a request the front end could not have meant
    // (CheckYearEndRequest) raises std::logic_error before anything is done.
    bool Execute(const TTvrExecuteParams& AParams);

    // Valid until the next Execute or the destruction of the run.
    const TTvrSheets& Inputs() const { return *FInputs; }
    const TTvrSheets& Outputs() const { return *FOutputs; }

private:
    bool Run(const TTvrExecuteParams& AParams);

    TTvrExecuteSendMessage FSendMessage;
    std::unique_ptr<TTvrSheets> FInputs = std::make_unique<TTvrSheets>();
    std::unique_ptr<TTvrSheets> FOutputs = std::make_unique<TTvrSheets>();
};

} // namespace tavrel
