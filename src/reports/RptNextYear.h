// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <vector>

#include "tables/TvrValue.h"

namespace tavrel {

class TSrcKinsenTable;

// This year's source files that next year's tables are made from.
struct TRptNextYearSources {
    std::string KamokuMaster;
    // Empty when the run used no person master: next year gets none either.
    std::string TantoshaMaster;
    std::string KinsenTable;
};

// One of next year's tables: its file name (as the source-data dialog names
// a new table) and its text, lines ending in CR LF.
struct TRptTableText {
    std::string FileName;
    std::string Text;
};

// Next year's source tables, made exactly from this year's so that no
// figure is carried forward by hand:
// - 収支科目マスタ.csv: every line of this year's master split and made
//   again, blank lines included; the budget of the major row whose trimmed
//   code is "000" becomes the closing cash plus the closing bank balance
//   (the row padded to five fields when shorter); every other budget stays
//   as the draft of next year's;
// - 担当者マスタ.csv, only when this year has a person master: every line
//   split and made again;
// - 残高テーブル.csv: the last day of this period with the closing cash and
//   bank balance, the count at the hand-over;
// - 金銭出納テーブル.csv: the starting row of the next period (the day after
//   this period's last day, and that last day a year on, 29 February
//   becoming 28 February), fields 3 to 7 of this year's starting row as
//   split, the opening-balance code and the closing cash and bank balance.
// Numbers and dates are written as the books write them. Raises ETvrError
// when a file cannot be read again or the next period has no calendar date.
std::vector<TRptTableText> MakeNextYearTables(const TRptNextYearSources& ASources,
                                              const TSrcKinsenTable& AKinsenTable,
                                              const TTvrRegionalSettings& ASettings);

// The name a treasurer gives next year's folder: next year's default year
// title, "<year of the day after this period's last day>年度" (2026年度 after
// a period ending on 2026/03/31). The period's last day is read from the
// starting row (the first line that is not blank) of the cash-book table
// file, without loading the table, so that the name can be proposed before
// a run. Empty when the file cannot be read or its starting row holds no
// valid last day.
std::string NextYearFolderName(const std::string& AKinsenTable, const TTvrRegionalSettings& ASettings);

// Raises ETvrError with フォルダ "<folder>" には既にソースデータがあります。 when
// the folder holds an entry of any of the four source tables' file names,
// and with the platform's text when the path is there but no folder.
void CheckNextYearFolder(const std::string& AFolder);

// Writes the tables into the folder, creating it when missing, each with
// the log line "次年度 <file name> 作成中..." before it. Nothing is
// overwritten: the folder is checked first (CheckNextYearFolder), and when a
// write fails the tables written before it are removed again, so that the
// folder holds all of next year's tables or none.
void WriteNextYearTables(const std::string& AFolder, const std::vector<TRptTableText>& ATables,
                         const TTvrExecuteSendMessage& ASendMessage);

} // namespace tavrel
