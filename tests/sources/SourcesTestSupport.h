// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Helpers shared by the loader tests of the source tables: a collector for
// the progress messages, and small texts for dates, values and the kinds of
// account titles so that failures print readably. The temporary folder the
// input files are written to and the day the tests run on are those of every
// test program (TestSupport.h).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "sources/SrcKamoku.h"
#include "tables/TvrValue.h"

namespace tavrel::test {

// Every loader test runs with the Japanese conventions.
inline const TTvrRegionalSettings& Settings()
{
    static const TTvrRegionalSettings Value{};
    return Value;
}

inline TTvrDate D(int AYear, int AMonth, int ADay) { return TTvrDate::Encode(AYear, AMonth, ADay); }

// yyyy/mm/dd of the day, plus the time of day when there is one.
inline std::string DateText(TTvrDate ADate)
{
    int Year = 0, Month = 0, Day = 0;
    ADate.Decode(Year, Month, Day);
    std::ostringstream S;
    S << std::setfill('0') << std::setw(4) << Year << '/' << std::setw(2) << Month << '/' << std::setw(2)
      << Day;
    if (ADate.Serial() != static_cast<double>(ADate.Day()))
        S << " +time";
    return S.str();
}

inline std::string NumberText(double AValue)
{
    std::ostringstream S;
    S << std::setprecision(15) << AValue;
    return S.str();
}

// "null", "int:5", "float:1.5", "date:2019/04/01" or "text:abc".
inline std::string ValueText(const TTvrValue& AValue)
{
    if (AValue.IsNull())
        return "null";
    if (AValue.IsInteger())
        return "int:" + std::to_string(AValue.Integer());
    if (AValue.IsFloat())
        return "float:" + NumberText(AValue.AsFloat());
    if (AValue.IsDate())
        return "date:" + DateText(AValue.Date());
    return "text:" + AValue.Text();
}

inline std::string LevelText(TSrcKamokuLevel ALevel)
{
    switch (ALevel) {
    case sklGran: return "gran";
    case sklMidd: return "midd";
    case sklConc: return "conc";
    }
    return "?";
}

inline std::string InoutText(TSrcKamokuInout AInout)
{
    switch (AInout) {
    case skiCarrying: return "carrying";
    case skiIncome: return "income";
    case skiExpense: return "expense";
    }
    return "?";
}

// Collects what a loader sends through its progress callback.
struct MessageLog {
    std::vector<std::string> Lines;
    TTvrExecuteSendMessage Sink()
    {
        return [this](const std::string& AMessage) { Lines.push_back(AMessage); };
    }
};

// True when the text begins with a row prefix such as "12行: ".
inline bool HasRowPrefix(const std::string& AText)
{
    size_t Pos = 0;
    while (Pos < AText.size() && AText[Pos] >= '0' && AText[Pos] <= '9')
        ++Pos;
    return Pos > 0 && AText.compare(Pos, std::string("行: ").size(), "行: ") == 0;
}

// The expected log: the loader's opening line followed by the row messages.
inline std::vector<std::string> WithLead(const std::string& ALead, const std::vector<std::string>& AMessages)
{
    std::vector<std::string> Result{ALead};
    Result.insert(Result.end(), AMessages.begin(), AMessages.end());
    return Result;
}

} // namespace tavrel::test
