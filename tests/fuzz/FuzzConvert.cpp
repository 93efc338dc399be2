// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The conversions and value texts on arbitrary text, under two regional
// settings.
#include <cmath>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tables/TvrConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    using namespace tavrel;
    const std::string Text(reinterpret_cast<const char*>(AData), ASize);
    TTvrRegionalSettings European;
    European.ThousandSeparator = ".";
    European.DecimalSeparator = ",";
    European.DateSeparator = ".";
    European.ShortDateOrder = TTvrDateOrder::DMY;
    for (const TTvrRegionalSettings& Settings : {TTvrRegionalSettings(), European}) {
        int32_t Integer = 0;
        if (TryTextToInteger(Text, Settings, Integer) != TextToIntegerValue(Text, Settings).IsInteger()
            && !TrimView(Text).empty())
            fuzz::Violated();
        double Float = 0;
        if (TryTextToFloat(Text, Settings, Float)) {
            if (!std::isfinite(Float))
                fuzz::Violated();
            (void)NumberText(Float, Settings);
            (void)BudgetText(TTvrValue(Float), Settings);
        }
        TTvrDate Date;
        if (TryTextToDate(Text, Settings, Date)) {
            // A date the books write must read back as the same day.
            TTvrDate Back;
            if (!TryTextToDate(BookDateText(Date, Settings), Settings, Back) || Back.Day() != Date.Day())
                fuzz::Violated();
        }
        for (const auto& Strict : {+[](std::string_view A, const TTvrRegionalSettings& S) { (void)TextToInteger(A, S); },
                                   +[](std::string_view A, const TTvrRegionalSettings& S) { (void)TextToFloat(A, S); },
                                   +[](std::string_view A, const TTvrRegionalSettings& S) { (void)TextToDate(A, S); }}) {
            try {
                Strict(Text, Settings);
            } catch (const ETvrError&) {
            }
        }
        (void)TextToFloatValue(Text, Settings);
        (void)TextToDateValue(Text, Settings);
    }
    return 0;
}
