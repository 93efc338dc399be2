// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Decoding, line splitting, field splitting and line making on arbitrary
// bytes; splitting a made line must give back the fields.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "tables/TvrCodePage.h"
#include "tables/TvrCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    using namespace tavrel;
    const TTvrFileText Text{std::string(reinterpret_cast<const char*>(AData), ASize)};
    std::vector<std::string> Fields;
    std::vector<std::string> Again;
    for (const std::string_view Line : SplitTextLines(Text.Body())) {
        SplitCsvLine(Text.Decode(Line), Fields);
        const std::string Made = MakeCsvLine(Fields);
        SplitCsvLine(Made, Again);
        if (Again != Fields)
            fuzz::Violated();
        const std::string Bytes = EncodeTextLines(std::vector<std::string>{Made});
        const TTvrFileText Back{Bytes};
        if (Back.Decode(Back.Body()) != Made + "\r\n")
            fuzz::Violated();
    }
    return 0;
}
