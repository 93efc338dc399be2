// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptRequest.h"

#include <stdexcept>

namespace tavrel {

void CheckYearEndRequest(const TRptYearEndRequest& ARequest)
{
    if (ARequest.YearEndPdf && !ARequest.YearEndPdfMaker)
        throw std::logic_error("the year-end PDF is asked for, but no function to draw it was given");
    if (ARequest.BooksPdf && !ARequest.BooksPdfMaker)
        throw std::logic_error("the books' PDF is asked for, but no function to draw it was given");
    if (ARequest.Params.Auditors.size() > kMaxAuditors)
        throw std::logic_error("more than three auditors were given");
}

} // namespace tavrel
