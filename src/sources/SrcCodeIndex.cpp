// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "sources/SrcCodeIndex.h"

namespace tavrel {

std::string CaseFoldKey(const std::string& ACode)
{
    std::string Key = ACode;
    for (char& C : Key)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    return Key;
}

} // namespace tavrel
