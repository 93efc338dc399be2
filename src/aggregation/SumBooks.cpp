// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumBooks.h"

#include "aggregation/SumKinsenBooks.h"
#include "aggregation/SumMeisaiBooks.h"
#include "aggregation/SumShisanBook.h"
#include "aggregation/SumShushiMeisai.h"
#include "aggregation/SumTantoshaBook.h"

namespace tavrel {

const std::vector<TSumBook>& SumBooks()
{
    static const std::vector<TSumBook> Books = {
        {KinsenBookSchema(), MakeKinsenBookText, false},
        {CashBookSchema(), MakeCashBookText, false},
        {BankBookSchema(), MakeBankBookText, false},
        {TantoshaBookSchema(), MakeTantoshaBookText, true},
        {ShushiMeisaiBookSchema(), MakeShushiMeisaiBookText, false},
        {GranMeisaiBookSchema(), MakeGranMeisaiBookText, false},
        {MiddMeisaiBookSchema(), MakeMiddMeisaiBookText, false},
        {ShisanBookSchema(), MakeShisanBookText, false},
    };
    return Books;
}

} // namespace tavrel
