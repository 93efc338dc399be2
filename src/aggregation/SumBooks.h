// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <vector>

#include "aggregation/SumSchema.h"
#include "aggregation/SumWriter.h"

namespace tavrel {

// One book of a run: what it is, how its text is made, and whether it is
// made only when the run uses a person master.
struct TSumBook {
    const TSumBookSchema& Schema;
    TSumBookText MakeText;
    bool NeedsTantosha;
};

// The eight books in the order a run writes them.
const std::vector<TSumBook>& SumBooks();

} // namespace tavrel
