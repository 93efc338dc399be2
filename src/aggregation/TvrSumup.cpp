// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/TvrSumup.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "aggregation/SumBookMaker.h"
#include "aggregation/SumBooks.h"
#include "aggregation/SumLedger.h"
#include "aggregation/SumOutputFolder.h"
#include "reports/RptNextYear.h"
#include "reports/RptRun.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrCsv.h"

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

// A source table's path: a name in the input folder, or an absolute path as
// given (the command line accepts one).
std::string SourcePath(const std::string& AInput, const std::string& AFileName)
{
    if (!AFileName.empty() && AFileName.front() == '/')
        return AFileName;
    return AInput + AFileName;
}

// The folder as the user names it: without the trailing separator.
std::string FolderText(const std::string& AFolder)
{
    return AFolder.size() > 1 && AFolder.back() == '/' ? AFolder.substr(0, AFolder.size() - 1) : AFolder;
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
    // Nothing that goes wrong inside a run ends the program: out of memory,
    // a failed thread or a fault of the program itself end the run with a
    // message like a file that cannot be read.
    try {
        Result = Run(AParams);
    } catch (const std::exception& E) {
        FSendMessage(ErrorMessageOf(E));
    } catch (...) {
        FSendMessage("予期しないエラーが発生しました。");
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
    const std::string KamokuPath = SourcePath(Input, AParams.KamokuMaster);
    const std::string TantoshaPath = AParams.TantoshaMaster.empty() ? "" : SourcePath(Input, AParams.TantoshaMaster);
    const std::string ZandakaPath = AParams.ZandakaTable.empty() ? "" : SourcePath(Input, AParams.ZandakaTable);
    const std::string KinsenPath = SourcePath(Input, AParams.KinsenTable);

    // A book written over a source table would destroy what the treasurer
    // typed: the output folder may be the source folder, or hold a link to
    // a source table.
    std::vector<std::string> Sources = {KamokuPath, KinsenPath};
    for (const std::string& Path : {TantoshaPath, ZandakaPath})
        if (!Path.empty())
            Sources.push_back(Path);
    if (const std::string Book = BookOverSource(Output, Sources); !Book.empty())
        throw ETvrError("出力先 \"" + Book + "\" はソースデータのファイルです。");

    // Next year's folder is refused before anything is read or written.
    if (!AParams.YearEnd.NextYearFolder.empty())
        CheckNextYearFolder(AParams.YearEnd.NextYearFolder);
    // Whether this worked shows when the first book is written.
    std::error_code Ignored;
    std::filesystem::create_directories(Output, Ignored);
    // Held to the end of the run, past the last book's write: two runs
    // writing one folder would leave a mix of both runs' books.
    const TSumFolderLock Lock(Output);
    if (Lock.Busy())
        throw ETvrError("出力フォルダ \"" + FolderText(Output) + "\" は他の集計で使用中です。");
    RemoveStaleTemporaryFiles(Output);

    // A kept sheet reads its file only when the viewer shows it: the
    // loaders have just read every table once.
    const auto LoadInput = [&](const std::string& APath, const TTvrFieldDefDynArray& ADefs) {
        if (AParams.KeepSheets)
            FInputs->Sheets(FInputs->Add()).LoadFromFileDeferred(APath, ADefs, Settings);
    };

    // The source objects live only during the run; the unique pointers free
    // them on every way out, the cash-book table first.
    const auto Kamoku = std::make_unique<TSrcKamokuMaster>(KamokuPath, FSendMessage, Settings);
    LoadInput(KamokuPath, TSrcKamokuMaster::FieldDefs());
    if (!Kamoku->Completed())
        return false;

    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
    if (!TantoshaPath.empty()) {
        Tantosha = std::make_unique<TSrcTantoshaMaster>(TantoshaPath, FSendMessage);
        LoadInput(TantoshaPath, TSrcTantoshaMaster::FieldDefs());
        if (!Tantosha->Completed())
            return false;
    }

    std::unique_ptr<TSrcZandakaTable> Zandaka;
    if (!ZandakaPath.empty()) {
        Zandaka = std::make_unique<TSrcZandakaTable>(ZandakaPath, FSendMessage, Settings, AParams.Today);
        LoadInput(ZandakaPath, TSrcZandakaTable::FieldDefs());
        if (!Zandaka->Completed())
            return false;
    }

    const auto Kinsen = std::make_unique<TSrcKinsenTable>(KinsenPath, FSendMessage, Tantosha.get(), *Kamoku,
                                                          Settings, AParams.Today);
    LoadInput(KinsenPath, TSrcKinsenTable::FieldDefs());
    if (!Kinsen->Completed())
        return false;

    FSendMessage("");
    const TSumLedger Ledger(*Kinsen);
    const TSumContext Context{Settings, AParams.Today};

    // The books are made side by side on other threads (TSumBookMaker) and
    // put in place here, one after the other. A book's line goes to the log
    // only once the book before it is in place, and a failed book stops the
    // run there: the log and the files are those of one book after another.
    // The threads only read the tables (the masters' lookup index, built at
    // the first lookup, is built under its own lock).
    std::vector<TSumBookMaker::TJob> Jobs;
    for (const TSumBook& Book : SumBooks())
        if (!Book.NeedsTantosha || Tantosha)
            Jobs.push_back({&Book, Output + Book.Schema.FileName()});
    TSumBookMaker Maker(Jobs, *Kinsen, Ledger, Context, TSumBookMaker::ThreadCount());
    std::vector<TRptBookFile> BookFiles;
    size_t Next = 0;
    for (const TSumBook& Book : SumBooks()) {
        const std::string Path = Output + Book.Schema.FileName();
        if (Book.NeedsTantosha && !Tantosha) {
            // A per-person book of an earlier run would stand beside this
            // run's books as if it were one of them.
            RemoveStaleBook(Path);
            continue;
        }
        FSendMessage(Book.Schema.FileName() + " 作成中...");
        Maker.Take(Next++).Commit();
        BookFiles.push_back({Path, Book.Schema.FieldDefs(Kinsen->FiscalMonths())});
        if (AParams.KeepSheets)
            FOutputs->Sheets(FOutputs->Add()).LoadFromFileDeferred(Path, BookFiles.back().FieldDefs, Settings);
    }

    const TRptRunResult Result{*Kinsen,
                               Ledger,
                               Zandaka.get(),
                               {KamokuPath, TantoshaPath, KinsenPath},
                               Output,
                               std::move(BookFiles)};
    MakeYearEndOutputs(AParams.YearEnd, Result, Context, FSendMessage, AParams.KeepSheets ? FOutputs.get() : nullptr);
    return true;
}

} // namespace tavrel
