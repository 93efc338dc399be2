// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <vector>

namespace tavrel {

// Frees the elements of an owning list from the last to the first.
template <typename T>
void ClearFromBack(std::vector<std::unique_ptr<T>>& AList)
{
    while (!AList.empty())
        AList.pop_back();
}

} // namespace tavrel
