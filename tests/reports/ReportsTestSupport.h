// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Helpers of the tests of the year-end documents: a small year written into
// a temporary folder and loaded as a run loads it (the ledger included), the
// lines of a document's CSV text, and a copy of the example data. The
// source tables, the temporary folder and the book readers are those of the
// aggregation tests.

#include "AggregationTestSupport.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "aggregation/SumLedger.h"
#include "reports/RptDocument.h"
#include "reports/RptWriter.h"
#include "sources/SrcZandaka.h"

namespace tavrel::rpttest {

using aggtest::BookLines;
using aggtest::kKamokuFile;
using aggtest::kKinsenFile;
using aggtest::kTantoshaFile;
using aggtest::kZandakaFile;
using aggtest::LogText;
using aggtest::Sources;
using aggtest::TextLines;
using aggtest::WriteTable;
using test::ReadBytes;
using test::TempFolder;
using test::Today;
using test::Ymd;

// The tables of one year written under their standard names into
// "<folder>/src" and loaded as a run loads them, with the ledger of the
// cash-book table.
class LoadedYear {
public:
    explicit LoadedYear(const Sources& ASources)
    {
        WriteTable(Temp, "src/" + kKamokuFile, ASources.Kamoku);
        if (ASources.UseTantosha)
            WriteTable(Temp, "src/" + kTantoshaFile, ASources.Tantosha);
        if (ASources.UseZandaka)
            WriteTable(Temp, "src/" + kZandakaFile, ASources.Zandaka);
        WriteTable(Temp, "src/" + kKinsenFile, ASources.Kinsen);
        const TTvrExecuteSendMessage Sink = [this](const std::string& AMessage) { Log.push_back(AMessage); };
        Kamoku = std::make_unique<TSrcKamokuMaster>(Source(kKamokuFile), Sink, Settings);
        if (!Kamoku->Completed())
            return;
        if (ASources.UseTantosha) {
            Tantosha = std::make_unique<TSrcTantoshaMaster>(Source(kTantoshaFile), Sink);
            if (!Tantosha->Completed())
                return;
        }
        if (ASources.UseZandaka) {
            Zandaka = std::make_unique<TSrcZandakaTable>(Source(kZandakaFile), Sink, Settings, Today());
            if (!Zandaka->Completed())
                return;
        }
        Kinsen = std::make_unique<TSrcKinsenTable>(Source(kKinsenFile), Sink, Tantosha.get(), *Kamoku, Settings,
                                                   Today());
        if (Kinsen->Completed())
            Ledger = std::make_unique<TSumLedger>(*Kinsen);
    }
    LoadedYear(const LoadedYear&) = delete;
    LoadedYear& operator=(const LoadedYear&) = delete;

    bool Completed() const { return Ledger != nullptr; }
    std::string Source(const std::string& AName) const { return Temp.Path("src/" + AName); }

    TempFolder Temp;
    std::vector<std::string> Log;
    const TTvrRegionalSettings Settings{};
    std::unique_ptr<TSrcKamokuMaster> Kamoku;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
    std::unique_ptr<TSrcZandakaTable> Zandaka;
    std::unique_ptr<TSrcKinsenTable> Kinsen;
    std::unique_ptr<TSumLedger> Ledger;
};

// The lines of the document as its CSV file holds them, in the Japanese
// conventions.
inline std::vector<std::string> DocumentLines(const TRptDocument& ADocument)
{
    return TextLines(DocumentText(ADocument, TTvrRegionalSettings{}));
}

inline std::vector<TRptRowKind> RowKinds(const TRptDocument& ADocument)
{
    std::vector<TRptRowKind> Kinds;
    for (const TRptRow& Row : ADocument.Rows)
        Kinds.push_back(Row.Kind);
    return Kinds;
}

// The four tables of the example data copied into the folder AName of ATemp;
// returns its path.
inline std::string CopyExamples(const TempFolder& ATemp, const std::string& AName)
{
    return test::CopyCsvFiles(TAVREL_EXAMPLES, ATemp.Path(AName));
}

} // namespace tavrel::rpttest
