// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The texts printed pages say besides the cells: names, the period, the
// print date, and amounts as statements write them.

#include <QString>
#include <string>

#include "reports/RptYearEnd.h"
#include "tables/TvrValue.h"

namespace tavrel {

struct TPrtFrame;

QString PrtString(const std::string& AText);

// A whole amount as Japanese statements write it: thousands separators, a
// negative amount after △ (-1200 is △1,200).
QString StatementAmountText(double AValue, const TTvrRegionalSettings& ASettings);

// "2025/04/01～2026/03/31" in the regional settings' short date.
QString PeriodText(TTvrDate AFirst, TTvrDate ALast, const TTvrRegionalSettings& ASettings);

// A sheet's name as its pages head it: the file name without its folder
// and without ".csv" (11金銭出納簿).
QString SheetDisplayName(const std::string& AFileName);
// A document's name as its title says it: without the number its file
// name starts with (22残高照合表.csv is 残高照合表).
QString DocumentName(const std::string& AFileName);

// False for a header whose dates were never set: the pages of a run that
// stopped before the cash-book table gave a period, whose source tables
// are still printed.
bool HasPeriod(const TRptPageHeader& AHeader);

// The running texts of every page: the organisation and year title, the
// period (none without one), the print date.
TPrtFrame PageFrame(const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday);

} // namespace tavrel
