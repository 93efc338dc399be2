// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sources/SrcKinsen.h"
#include "tables/TvrColumns.h"
#include "tables/TvrSheet.h"

namespace tavrel {

// The folder the books are written to when no other is chosen: "output"
// inside the source-data location.
inline constexpr char kOutputFolderName[] = "output";

// The names of the eight books in the output folder, in the order written.
inline constexpr const char* kKinsenBookName = "11金銭出納簿.csv";
inline constexpr const char* kCashBookName = "12現金出納簿.csv";
inline constexpr const char* kBankBookName = "13預金通帳.csv";
inline constexpr const char* kTantoshaBookName = "14担当者出納簿.csv";
inline constexpr const char* kShushiMeisaiBookName = "15収支科目明細書.csv";
inline constexpr const char* kGranMeisaiBookName = "16大科目明細書.csv";
inline constexpr const char* kMiddMeisaiBookName = "17中科目明細書.csv";
inline constexpr const char* kShisanBookName = "18試算表.csv";
// The names the year-end documents take in the same folder.
inline constexpr const char* kStatementDocumentName = "21収支決算書.csv";
inline constexpr const char* kReconciliationDocumentName = "22残高照合表.csv";

// What the program knows of a book before building it: its file name and
// its columns. The definitions the run loads the book's sheet with and the
// number of fields its builder writes on every line both come from here.
class TSumBookSchema {
public:
    // A book of fixed columns.
    template <typename TColumn, size_t N>
    TSumBookSchema(const char* AFileName, const TTvrColumn<TColumn> (&AColumns)[N])
        : FFileName(AFileName), FColumns(FieldDefsOf(AColumns))
    {
    }
    // A book of fixed columns followed by one column per fiscal month of the
    // period, titled "%d月" with the month's number, all of one type and
    // width.
    template <typename TColumn, size_t N>
    TSumBookSchema(const char* AFileName, const TTvrColumn<TColumn> (&AColumns)[N], TTvrFieldType AMonthType,
                   int32_t AMonthCharCount)
        : FFileName(AFileName), FColumns(FieldDefsOf(AColumns)), FMonthColumns(true), FMonthType(AMonthType),
          FMonthCharCount(AMonthCharCount)
    {
    }

    const std::string& FileName() const { return FFileName; }
    // The fields of every line of the book for a period of AMonthCount
    // fiscal months (which only a book with month columns depends on).
    int ColumnCount(int AMonthCount = 0) const;
    // The columns of the book for a period of these fiscal months.
    TTvrFieldDefDynArray FieldDefs(const TTvrFiscalMonths& AFiscalMonths) const;

private:
    std::string FFileName;
    TTvrFieldDefDynArray FColumns;
    bool FMonthColumns = false;
    TTvrFieldType FMonthType = sftString;
    int32_t FMonthCharCount = 0;
};

} // namespace tavrel
