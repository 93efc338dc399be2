// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <string>
#include <string_view>

#include "tables/TvrSheet.h"

namespace tavrel {

// The four source tables of a source-data location, in the order the run
// loads them and the main window lists them.
enum class TSrcTableKind { Kamoku, Tantosha, Zandaka, Kinsen };

inline constexpr std::array<TSrcTableKind, 4> kSrcTableKinds = {
    TSrcTableKind::Kamoku, TSrcTableKind::Tantosha, TSrcTableKind::Zandaka, TSrcTableKind::Kinsen};

// What the program knows of one source table before it reads it: every
// place that names a table, chooses its file, proposes a name for a new one
// or shows it as a sheet reads it from here.
struct TSrcTableInfo {
    TSrcTableKind Kind;
    // The table's name as the user reads it: "収支科目マスタ".
    std::string_view Caption;
    // The text a file name holds to be chosen for the table when no choice
    // is remembered: "収支科目".
    std::string_view Keyword;
    // The name the source-data dialog gives a table it makes:
    // "収支科目マスタ.csv".
    std::string_view FileName;
    // Whether a run may go without it (the person master and the balance
    // table).
    bool Optional;
    // The columns of the file, for its sheet and the source-data dialog.
    const TTvrFieldDefDynArray& FieldDefs;
};

const TSrcTableInfo& SrcTableInfo(TSrcTableKind AKind);

// The line a loader sends when it starts: "収支科目マスタ読込中...".
std::string LoadingMessage(TSrcTableKind AKind);

} // namespace tavrel
