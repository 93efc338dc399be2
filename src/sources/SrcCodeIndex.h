// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>

#include "tables/TvrConvert.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The code with the letters A to Z folded to lower case: the key of every
// lookup that ignores letter case.
std::string CaseFoldKey(const std::string& ACode);

// The row that holds a code, with the case of A to Z ignored, for the
// masters' lookups. Built at the first lookup after the rows changed, so
// that the rows of a file are indexed once, not searched per lookup.
class TSrcCodeIndex {
public:
    // The rows changed: the next lookup builds the index again.
    void Reset()
    {
        FRows.clear();
        FBuilt.store(false, std::memory_order_relaxed);
    }

    // The position of the row holding ACode, or -1. ACodeOf(I) gives the
    // code of row I, or nullptr for a row that holds none. Two rows with
    // equal codes raise ETvrError with the duplicate message of ATitle.
    template <typename TCodeOf>
    bool Find(const std::string& ACode, int& AIndex, int ARowCount, TCodeOf ACodeOf, const char* ATitle) const
    {
        // The books are made on several threads that all look codes up: the
        // first lookup builds the index under the lock, the others wait for
        // it, and later lookups only read.
        if (!FBuilt.load(std::memory_order_acquire)) {
            const std::lock_guard<std::mutex> Lock(FBuilding);
            if (!FBuilt.load(std::memory_order_relaxed)) {
                FRows.clear();
                for (int I = 0; I < ARowCount; ++I) {
                    const std::string* Code = ACodeOf(I);
                    if (Code != nullptr && !FRows.emplace(CaseFoldKey(*Code), I).second)
                        throw ETvrError(DuplicateMessage(ATitle, *Code));
                }
                FBuilt.store(true, std::memory_order_release);
            }
        }
        const auto It = FRows.find(CaseFoldKey(ACode));
        AIndex = It == FRows.end() ? -1 : It->second;
        return AIndex >= 0;
    }

private:
    mutable std::unordered_map<std::string, int> FRows;
    mutable std::atomic<bool> FBuilt = false;
    mutable std::mutex FBuilding;
};

} // namespace tavrel
