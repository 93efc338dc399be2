// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "aggregation/SumBooks.h"
#include "aggregation/SumWriter.h"
#include "tables/TvrCsv.h"

namespace tavrel {

// The books of a run made side by side: each book on one of a few threads,
// every thread with buffers of its own that serve book after book, written
// to its file but not yet in place; the run's thread takes them in their
// order and puts each in place only after the one before it, so that the
// files are those of one book after another. A book's text is a pure
// function of the tables, the ledger and the context, which the threads only
// read.
class TSumBookMaker {
public:
    struct TJob {
        const TSumBook* Book = nullptr;
        std::string Path;
    };

    // Starts making the books of AJobs, in their order, on AThreadCount
    // threads. The tables, the ledger and the context must outlive the maker.
    TSumBookMaker(std::vector<TJob> AJobs, const TSrcKinsenTable& AKinsenTable, const TSumLedger& ALedger,
                  const TSumContext& AContext, int AThreadCount);
    TSumBookMaker(const TSumBookMaker&) = delete;
    TSumBookMaker& operator=(const TSumBookMaker&) = delete;
    // Takes no further book and waits for the threads; a book made but not
    // taken leaves its file as it was and no temporary file.
    ~TSumBookMaker();

    // Waits for the book of job AIndex and returns its finished file
    // (TTvrFileWriter::Commit puts it in place); raises the error its making
    // or writing raised.
    TTvrFileWriter Take(size_t AIndex);

    // The threads a run makes its books on: as many as the cores, two to
    // four. The books' text is most of a run; more threads than four gain
    // little on eight books of unequal size.
    static int ThreadCount();

private:
    struct TResult {
        bool Done = false;
        std::optional<TTvrFileWriter> File;
        std::exception_ptr Error;
    };

    void Work();
    void Stop();

    const std::vector<TJob> FJobs;
    const TSrcKinsenTable& FKinsenTable;
    const TSumLedger& FLedger;
    const TSumContext& FContext;
    std::mutex FMutex;
    std::condition_variable FDone;
    std::vector<TResult> FResults;
    size_t FNext = 0;
    bool FStopped = false;
    std::vector<std::thread> FThreads;
};

} // namespace tavrel
