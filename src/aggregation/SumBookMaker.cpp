// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumBookMaker.h"

#include <algorithm>

namespace tavrel {

TSumBookMaker::TSumBookMaker(std::vector<TJob> AJobs, const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                             const TSumContext& AContext, int AThreadCount)
    : FJobs(std::move(AJobs)), FKinsenTable(AKinsenTable), FLedger(ALedger), FContext(AContext),
      FResults(FJobs.size())
{
    try {
        const int Count = std::min(std::max(AThreadCount, 1), static_cast<int>(std::max<size_t>(FJobs.size(), 1)));
        for (int I = 0; I < Count; ++I)
            FThreads.emplace_back([this] { Work(); });
    } catch (...) {
        // A thread that could not start ends the run like any error, once
        // the threads that did start have stopped.
        Stop();
        throw;
    }
}

TSumBookMaker::~TSumBookMaker()
{
    Stop();
}

void TSumBookMaker::Stop()
{
    {
        const std::lock_guard<std::mutex> Lock(FMutex);
        FStopped = true;
    }
    for (std::thread& Thread : FThreads)
        if (Thread.joinable())
            Thread.join();
}

int TSumBookMaker::ThreadCount()
{
    const unsigned Cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(Cores, 2u, 4u));
}

void TSumBookMaker::Work()
{
    TTvrTextWriter Writer;
    for (;;) {
        size_t Index = 0;
        {
            const std::lock_guard<std::mutex> Lock(FMutex);
            if (FStopped || FNext == FJobs.size())
                return;
            Index = FNext++;
        }
        const TJob& Job = FJobs[Index];
        TResult Result;
        try {
            Result.File.emplace(WriteBookText(Writer, Job.Path, [&](TTvrTextOut& AOut) {
                Job.Book->MakeText(FKinsenTable, FLedger, FContext, AOut);
            }));
        } catch (...) {
            Result.Error = std::current_exception();
        }
        Result.Done = true;
        {
            const std::lock_guard<std::mutex> Lock(FMutex);
            FResults[Index] = std::move(Result);
        }
        FDone.notify_all();
    }
}

TTvrFileWriter TSumBookMaker::Take(size_t AIndex)
{
    std::unique_lock<std::mutex> Lock(FMutex);
    FDone.wait(Lock, [&] { return FResults.at(AIndex).Done; });
    TResult& Result = FResults[AIndex];
    if (Result.Error)
        std::rethrow_exception(Result.Error);
    if (!Result.File)
        throw std::logic_error("TSumBookMaker::Take: the book was taken before");
    TTvrFileWriter File = std::move(*Result.File);
    Result.File.reset();
    return File;
}

} // namespace tavrel
