// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptWriter.h"

#include <stdexcept>

#include "aggregation/SumWriter.h"

namespace tavrel {

namespace {

void MakeDocumentText(const TRptDocument& ADocument, const TTvrRegionalSettings& ASettings, TTvrTextOut& AOut)
{
    const int Count = ADocument.FieldCount();
    TSumLine Line(Count, ASettings);
    for (const TRptRow& Row : ADocument.Rows) {
        if (Row.Fields.size() > static_cast<size_t>(Count))
            throw std::logic_error("a row of " + ADocument.FileName + " has more fields than the document");
        Line.Clear();
        for (size_t I = 0; I < Row.Fields.size(); ++I)
            Line.Value(static_cast<int>(I), Row.Fields[I]);
        Line.WriteTo(AOut);
    }
}

} // namespace

std::string DocumentText(const TRptDocument& ADocument, const TTvrRegionalSettings& ASettings)
{
    TTvrTextCollector Text;
    MakeDocumentText(ADocument, ASettings, Text);
    return Text.Result();
}

void WriteDocument(const std::string& AFileName, const TRptDocument& ADocument,
                   const TTvrRegionalSettings& ASettings)
{
    WriteBookFile(AFileName, [&](TTvrTextOut& AOut) { MakeDocumentText(ADocument, ASettings, AOut); });
}

} // namespace tavrel
