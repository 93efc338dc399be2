// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tables/TvrCodePage.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"

namespace tavrel {

// The line loop every source-table loader shares: the file is read once,
// each line decoded and is split into fields and handed on with its line
// number (counted from 1, blank lines included). An error raised while a
// line is processed becomes an error whose text is that line's row prefix
// followed by the original text; an error reading the file itself keeps its
// own text (its prefix is empty).
class TSrcLineReader {
public:
    // AColumnCount: the fields of a line the loader reads; later ones are
    // ignored.
    TSrcLineReader(const std::string& AFileName, size_t AColumnCount)
        : FText(ReadFileBytes(AFileName)), FLines(SplitTextLines(FText.Body())), FColumnCount(AColumnCount)
    {
    }

    int LineCount() const { return static_cast<int>(FLines.size()); }

    // Calls AHandler(line number, fields) for each line until it returns
    // false. A line whose quoted field is not closed by the end of the line
    // (a line break typed inside a spreadsheet's cell) is not split into
    // rows at all: AUnclosed(message) gets its row prefix and
    // "引用符が閉じていません。", no later line is read, and the result is
    // false. Otherwise the result is true.
    template <typename THandler, typename TUnclosed>
    bool ForEachLine(std::vector<std::string>& AFields, THandler&& AHandler, TUnclosed&& AUnclosed) const
    {
        for (size_t I = 0; I < FLines.size(); ++I) {
            const int LineNumber = static_cast<int>(I) + 1;
            try {
                if (!SplitCsvLine(FText.Decode(FLines[I]), AFields, FColumnCount)) {
                    AUnclosed(RowPrefix(LineNumber) + "引用符が閉じていません。");
                    return false;
                }
                if (!AHandler(LineNumber, static_cast<const std::vector<std::string>&>(AFields)))
                    return true;
            } catch (const std::exception& E) {
                throw ETvrError(RowPrefix(LineNumber) + ErrorMessageOf(E));
            }
        }
        return true;
    }

private:
    TTvrFileText FText;
    std::vector<std::string_view> FLines;
    size_t FColumnCount;
};

} // namespace tavrel
