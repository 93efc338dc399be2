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

    // Calls AHandler(line number, fields) for each line until it returns false.
    template <typename THandler>
    void ForEachLine(std::vector<std::string>& AFields, THandler&& AHandler) const
    {
        for (size_t I = 0; I < FLines.size(); ++I) {
            const int LineNumber = static_cast<int>(I) + 1;
            try {
                SplitCsvLine(FText.Decode(FLines[I]), AFields, FColumnCount);
                if (!AHandler(LineNumber, static_cast<const std::vector<std::string>&>(AFields)))
                    return;
            } catch (const std::exception& E) {
                throw ETvrError(RowPrefix(LineNumber) + E.what());
            }
        }
    }

private:
    TTvrFileText FText;
    std::vector<std::string_view> FLines;
    size_t FColumnCount;
};

} // namespace tavrel
