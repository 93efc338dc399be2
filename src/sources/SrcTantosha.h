// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sources/SrcCodeIndex.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// The columns of the person master, by position.
enum TSrcTantoshaColumn { tmTCODE, tmTNAME, tmTMEMO, tmColumnCount };

// One row of the person master.
class TSrcTantosha {
public:
    bool Empty() const { return FEmpty; }
    const std::string& Hint() const { return FHint; }
    const std::string& TCODE() const { return FTCODE; }
    const std::string& TNAME() const { return FTNAME; }
    const std::string& TMEMO() const { return FTMEMO; }
    const std::string& CodeName() const { return FCodeName; }

    // Fills the row from the fields of one line; false (with Hint) when a
    // non-blank row has no code.
    bool SetFromStrings(std::span<const std::string> AStrings);

private:
    bool FEmpty = true;
    std::string FHint;
    std::string FTCODE;
    std::string FTNAME;
    std::string FTMEMO;
    std::string FCodeName;
};

// The rows of the person master in file order, blank lines included.
class TSrcTantoshas {
public:
    // Loads the file when AFileName is not empty. Raises ETvrError, with the
    // row prefix of the current line, when the file cannot be read or a row
    // raises an error.
    TSrcTantoshas(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage);
    TSrcTantoshas(const TSrcTantoshas&) = delete;
    TSrcTantoshas& operator=(const TSrcTantoshas&) = delete;
    ~TSrcTantoshas() { Clear(); }

    bool Completed() const { return FCompleted; }
    int Count() const { return static_cast<int>(FTantoshas.size()); }
    // A blank line's row is a shared empty one.
    const TSrcTantosha& Tantoshas(int AIndex) const;
    int Add();
    void Clear();
    // The row of the person with that code (case of A to Z ignored; blank
    // rows are never found), or -1.
    bool Find(const std::string& ATCODE, int& AIndex) const;

private:
    void Load(const std::string& AFileName);

    bool FCompleted = true;
    std::vector<std::unique_ptr<TSrcTantosha>> FTantoshas;
    TSrcCodeIndex FTantoshaCodes;
    TTvrExecuteSendMessage FSendMessage;
};

// The person master as the run creates it.
class TSrcTantoshaMaster {
public:
    TSrcTantoshaMaster(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage)
        : FTantoshas(std::make_unique<TSrcTantoshas>(AFileName, ASendMessage)), FSendMessage(ASendMessage)
    {
    }
    const TSrcTantoshas& Tantoshas() const { return *FTantoshas; }
    TSrcTantoshas& Tantoshas() { return *FTantoshas; }
    const TTvrExecuteSendMessage& SendMessage() const { return FSendMessage; }
    bool Completed() const { return FTantoshas->Completed(); }

    static const TTvrFieldDefDynArray& FieldDefs();

private:
    std::unique_ptr<TSrcTantoshas> FTantoshas;
    TTvrExecuteSendMessage FSendMessage;
};

} // namespace tavrel
