// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The year-end documents of the example data (examples/), written out by
// hand line by line with the figures of its year, for the page layer's
// tests: the page layer draws documents, it does not make them, and its
// tests draw documents they can change line by line.

#include "reports/RptDocument.h"
#include "reports/RptYearEnd.h"

namespace tavrel {

// The statement's columns: 科目, 予算額, 決算額, 増減, 備考.
TTvrFieldDefDynArray ExampleStatementFields();
// The reconciliation's ten columns.
TTvrFieldDefDynArray ExampleReconciliationFields();

// 21収支決算書 of the example year, with a treasurer and two auditors.
TRptDocument ExampleStatement();
// 22残高照合表 of the example year: its six balance-table rows, all agreeing.
TRptDocument ExampleReconciliation();
// The page header of the example year: 2025/04/01 to 2026/03/31.
TRptPageHeader ExamplePageHeader();

} // namespace tavrel
