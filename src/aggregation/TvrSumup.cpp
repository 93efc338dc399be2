// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/TvrSumup.h"

#include <filesystem>
#include <future>
#include <system_error>

#include "aggregation/SumBooks.h"
#include "aggregation/SumLedger.h"
#include "reports/RptNextYear.h"
#include "reports/RptRun.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

namespace tavrel {

namespace {

// A folder as a full path ending in a path separator.
std::string FolderPath(const std::string& APath)
{
    std::string Result = std::filesystem::absolute(std::filesystem::path(APath)).lexically_normal().string();
    if (Result.empty() || Result.back() != '/')
        Result.push_back('/');
    return Result;
}

} // namespace

TTvrSumup::TTvrSumup(TTvrExecuteSendMessage ASendMessage) : FSendMessage(std::move(ASendMessage)) {}

TTvrSumup::~TTvrSumup()
{
    FOutputs.reset();
    FInputs.reset();
}

bool TTvrSumup::Execute(const TTvrExecuteParams& AParams)
{
    CheckYearEndRequest(AParams.YearEnd);
    FInputs->Clear();
    FOutputs->Clear();
    bool Result = false;
    try {
        Result = Run(AParams);
    } catch (const ETvrError& E) {
        FSendMessage(E.what());
    } catch (const std::filesystem::filesystem_error& E) {
        FSendMessage(E.what());
    }
    FSendMessage("");
    FSendMessage(Result ? "集計が完了しました。" : "集計は中止されました。");
    return Result;
}

bool TTvrSumup::Run(const TTvrExecuteParams& AParams)
{
    const TTvrRegionalSettings& Settings = AParams.Settings;
    const std::string Input = FolderPath(AParams.PathInput);
    const std::string Output = FolderPath(AParams.PathOutput);
    // Next year's folder is refused before anything is read or written.
    if (!AParams.YearEnd.NextYearFolder.empty())
        CheckNextYearFolder(AParams.YearEnd.NextYearFolder);
    // Whether this worked shows when the first book is written.
    std::error_code Ignored;
    std::filesystem::create_directories(Output, Ignored);

    const auto LoadInput = [&](const std::string& APath, const TTvrFieldDefDynArray& ADefs) {
        FInputs->Sheets(FInputs->Add()).LoadFromFile(APath, ADefs, Settings);
    };

    // The source objects live only during the run; the unique pointers free
    // them on every way out, the cash-book table first.
    const std::string KamokuPath = Input + AParams.KamokuMaster;
    const auto Kamoku = std::make_unique<TSrcKamokuMaster>(KamokuPath, FSendMessage, Settings);
    LoadInput(KamokuPath, TSrcKamokuMaster::FieldDefs());
    if (!Kamoku->Completed())
        return false;

    std::string TantoshaPath;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
    if (!AParams.TantoshaMaster.empty()) {
        const std::string Path = Input + AParams.TantoshaMaster;
        TantoshaPath = Path;
        Tantosha = std::make_unique<TSrcTantoshaMaster>(Path, FSendMessage);
        LoadInput(Path, TSrcTantoshaMaster::FieldDefs());
        if (!Tantosha->Completed())
            return false;
    }

    std::unique_ptr<TSrcZandakaTable> Zandaka;
    if (!AParams.ZandakaTable.empty()) {
        const std::string Path = Input + AParams.ZandakaTable;
        Zandaka = std::make_unique<TSrcZandakaTable>(Path, FSendMessage, Settings, AParams.Today);
        LoadInput(Path, TSrcZandakaTable::FieldDefs());
        if (!Zandaka->Completed())
            return false;
    }

    const std::string KinsenPath = Input + AParams.KinsenTable;
    const auto Kinsen = std::make_unique<TSrcKinsenTable>(KinsenPath, FSendMessage, Tantosha.get(), *Kamoku,
                                                          Settings, AParams.Today);
    LoadInput(KinsenPath, TSrcKinsenTable::FieldDefs());
    if (!Kinsen->Completed())
        return false;

    FSendMessage("");
    const TSumLedger Ledger(*Kinsen);
    const TSumContext Context{Settings, AParams.Today};

    // Each book's text is made on this thread while the book before it is
    // encoded, written and read back as a sheet on another, so that a run
    // uses both cores of a small machine. A book's line goes to the log only
    // once the book before it has been written, and a failed write stops the
    // run there: the log and the files are those of one book after another.
    std::vector<TRptBookFile> BookFiles;
    std::future<std::unique_ptr<TTvrSheet>> Pending;
    const auto FinishPending = [&] {
        if (Pending.valid())
            FOutputs->Add(Pending.get());
    };
    for (const TSumBook& Book : SumBooks()) {
        if (Book.NeedsTantosha && !Tantosha)
            continue;
        std::string Text = Book.MakeText(*Kinsen, Ledger, Context);
        FinishPending();
        const std::string Path = Output + Book.Schema.FileName();
        FSendMessage(Book.Schema.FileName() + " 作成中...");
        BookFiles.push_back({Path, Book.Schema.FieldDefs(Kinsen->FiscalMonths())});
        Pending = std::async(std::launch::async, [Path, Text = std::move(Text), FieldDefs = BookFiles.back().FieldDefs,
                                                  &Settings]() mutable {
            WriteBookText(Path, Text);
            std::string().swap(Text);
            auto Sheet = std::make_unique<TTvrSheet>();
            Sheet->LoadFromFile(Path, FieldDefs, Settings);
            return Sheet;
        });
    }
    FinishPending();

    const TRptRunResult Result{*Kinsen,
                               Ledger,
                               Zandaka.get(),
                               {KamokuPath, TantoshaPath, KinsenPath},
                               Output,
                               std::move(BookFiles)};
    MakeYearEndOutputs(AParams.YearEnd, Result, Context, FSendMessage, *FOutputs);
    return true;
}

} // namespace tavrel
