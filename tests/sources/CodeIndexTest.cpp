// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The masters' code index: letter case ignored, duplicates refused, built
// again after the rows change, and built once when the books' threads look
// codes up at the same moment.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "sources/SrcCodeIndex.h"
#include "tables/TvrValue.h"

namespace tavrel::test {
namespace {

struct TCodes {
    std::vector<std::string> Rows;
    bool Find(const TSrcCodeIndex& AIndex, const std::string& ACode, int& AAt) const
    {
        return AIndex.Find(
            ACode, AAt, static_cast<int>(Rows.size()),
            [this](int I) { return Rows[I].empty() ? nullptr : &Rows[I]; }, "担当者コード");
    }
};

TEST(CodeIndex, FindsACodeWhateverItsLetterCaseAndSkipsRowsWithoutOne)
{
    TCodes Codes{{"A01", "", "b02"}};
    TSrcCodeIndex Index;
    int At = -2;
    EXPECT_TRUE(Codes.Find(Index, "a01", At));
    EXPECT_EQ(At, 0);
    EXPECT_TRUE(Codes.Find(Index, "B02", At));
    EXPECT_EQ(At, 2);
    EXPECT_FALSE(Codes.Find(Index, "", At));
    EXPECT_EQ(At, -1);
}

TEST(CodeIndex, RowsChangedAreIndexedAgainAndADuplicateIsRefused)
{
    TCodes Codes{{"01"}};
    TSrcCodeIndex Index;
    int At = -1;
    EXPECT_FALSE(Codes.Find(Index, "02", At));
    Codes.Rows.push_back("02");
    Index.Reset();
    EXPECT_TRUE(Codes.Find(Index, "02", At));
    EXPECT_EQ(At, 1);
    Codes.Rows.push_back("a1");
    Codes.Rows.push_back("A1");
    Index.Reset();
    EXPECT_THROW(Codes.Find(Index, "01", At), ETvrError);
}

// Several threads make their first lookups together, as the books' threads
// do on a master no check has looked into: each finds every code where it
// is.
TEST(CodeIndex, ThreadsLookingUpTogetherAllFindEveryCode)
{
    TCodes Codes;
    for (int I = 0; I < 20000; ++I)
        Codes.Rows.push_back("K" + std::to_string(I));
    for (int Round = 0; Round < 10; ++Round) {
        TSrcCodeIndex Index;
        std::atomic<int> Ready = 0;
        std::atomic<int> Wrong = 0;
        std::vector<std::thread> Threads;
        constexpr int kThreads = 4;
        for (int T = 0; T < kThreads; ++T)
            Threads.emplace_back([&, T] {
                ++Ready;
                while (Ready.load() < kThreads) {
                }
                for (int I = T; I < 20000; I += 7) {
                    int At = -1;
                    if (!Codes.Find(Index, "k" + std::to_string(I), At) || At != I)
                        ++Wrong;
                }
            });
        for (std::thread& Thread : Threads)
            Thread.join();
        EXPECT_EQ(Wrong.load(), 0) << "round " << Round;
    }
}

} // namespace
} // namespace tavrel::test
