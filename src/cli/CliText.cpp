// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "cli/CliText.h"

#include "tables/TvrCodePage.h"

namespace tavrel {

std::string TerminalText(std::string_view ALine)
{
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    // Bytes that are not UTF-8 become U+FFFD first; the control characters
    // are then those of valid UTF-8 text.
    const std::string Text = DecodeUtf8(ALine);
    std::string Result;
    Result.reserve(Text.size());
    for (size_t I = 0; I < Text.size(); ++I) {
        const auto B = static_cast<unsigned char>(Text[I]);
        if (B < 0x20 || B == 0x7F) {
            Result += kReplacement;
        } else if (B == 0xC2 && I + 1 < Text.size() && static_cast<unsigned char>(Text[I + 1]) >= 0x80
                   && static_cast<unsigned char>(Text[I + 1]) <= 0x9F) {
            // U+0080 to U+009F: the C1 controls, CSI among them.
            Result += kReplacement;
            ++I;
        } else {
            Result.push_back(Text[I]);
        }
    }
    return Result;
}

} // namespace tavrel
