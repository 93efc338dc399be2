// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The columns of the balance table, by position.
enum TSrcZandakaColumn { ztZDATE, ztZCASH, ztZBANK, ztColumnCount };

// One row of the balance table: a date with the cash and bank balances.
class TSrcZandaka {
public:
    bool Empty() const { return FEmpty; }
    const std::string& Hint() const { return FHint; }
    TTvrDate ZDATE() const { return FZDATE; }
    const TTvrValue& ZCASH() const { return FZCASH; }
    const TTvrValue& ZBANK() const { return FZBANK; }

    // Fills the row from the fields of one line; false (with Hint, the first
    // failing check) when the row is bad. AToday is the date of a row whose
    // date is missing.
    bool SetFromStrings(std::span<const std::string> AStrings, const TTvrRegionalSettings& ASettings,
                        TTvrDate AToday);

private:
    bool FEmpty = true;
    std::string FHint;
    TTvrDate FZDATE;
    TTvrValue FZCASH;
    TTvrValue FZBANK;
};

class TSrcZandakas {
public:
    // Loads the file when AFileName is not empty. Raises ETvrError, with the
    // row prefix of the current line, when the file cannot be read or a row
    // raises an error.
    TSrcZandakas(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                 const TTvrRegionalSettings& ASettings, TTvrDate AToday);
    TSrcZandakas(const TSrcZandakas&) = delete;
    TSrcZandakas& operator=(const TSrcZandakas&) = delete;
    ~TSrcZandakas() { Clear(); }

    bool Completed() const { return FCompleted; }
    int Count() const { return static_cast<int>(FZandakas.size()); }
    // A blank line's row is a shared empty one.
    const TSrcZandaka& Zandakas(int AIndex) const;
    int Add();
    void Clear();

private:
    bool FCompleted = true;
    std::vector<std::unique_ptr<TSrcZandaka>> FZandakas;
    // The row every blank line shares.
    TSrcZandaka FBlank;
    TTvrExecuteSendMessage FSendMessage;
};

// The balance table as the run creates it. No book is computed from it.
class TSrcZandakaTable {
public:
    TSrcZandakaTable(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage,
                     const TTvrRegionalSettings& ASettings, TTvrDate AToday)
        : FZandakas(std::make_unique<TSrcZandakas>(AFileName, ASendMessage, ASettings, AToday))
    {
    }
    const TSrcZandakas& Zandakas() const { return *FZandakas; }
    bool Completed() const { return FZandakas->Completed(); }

    static const TTvrFieldDefDynArray& FieldDefs();

private:
    std::unique_ptr<TSrcZandakas> FZandakas;
};

} // namespace tavrel
