// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtSheets.h"

#include <iterator>
#include <memory>

#include "aggregation/SumSchema.h"
#include "print/PrtPaint.h"
#include "print/PrtPdf.h"
#include "print/PrtTexts.h"
#include "tables/TvrCellText.h"
#include "tables/TvrCsv.h"

namespace tavrel {

namespace {

// The trial balance's sections (the monthly and the cumulative one) are
// headed by a row whose first cell begins with this mark.
const QString kSectionMark = QStringLiteral("■");

std::vector<TPrtPage> SheetPages(const TTvrSheet& ASheet, const TPrtFrame& AFrame, const TTvrRegionalSettings& ASettings,
                                 const TPrtPaper& APaper, const TPrtMetrics& AMetrics)
{
    std::vector<TPrtPage> Pages = LayOutTable(SheetTable(ASheet, ASettings), APaper, AMetrics);
    AddRunningTexts(Pages, AFrame, APaper);
    return Pages;
}

} // namespace

TPrtTable SheetTable(const TTvrSheet& ASheet, const TTvrRegionalSettings& ASettings)
{
    TPrtTable Table;
    Table.SheetName = SheetDisplayName(ASheet.FileName());
    for (int C = 0; C < ASheet.ColCount(); ++C) {
        const TTvrField& Field = ASheet.Fields().Fields(C);
        Table.Columns.push_back({PrtString(Field.Name()), Field.CharCount(),
                                 Field.FieldType() == sftInteger || Field.FieldType() == sftDouble});
    }
    const bool TrialBalance = ExtractFileName(ASheet.FileName()) == kShisanBookName;
    Table.Rows.reserve(static_cast<size_t>(ASheet.RowCount()));
    for (int R = 0; R < ASheet.RowCount(); ++R) {
        TPrtRow Row;
        for (int C = 0; C < ASheet.ColCount(); ++C) {
            const TTvrValue Value = ASheet.Cells(C, R);
            const TTvrFieldType Type = ASheet.Fields().Fields(C).FieldType();
            Row.Cells.push_back({PrtString(ValueCellText(Value, Type, false, ASettings)), IsNumericValue(Value, Type)});
        }
        Row.StartsPage = TrialBalance && !Row.Cells.empty() && Row.Cells.front().Text.startsWith(kSectionMark);
        Table.Rows.push_back(std::move(Row));
    }
    return Table;
}

std::vector<TPrtPage> LayOutSheets(std::span<const TTvrSheet* const> ASheets, const TRptPageHeader& AHeader,
                                   const TTvrRegionalSettings& ASettings, TTvrDate AToday, const TPrtPaper& APaper,
                                   const TPrtMetrics& AMetrics)
{
    const TPrtFrame Frame = PageFrame(AHeader, ASettings, AToday);
    std::vector<TPrtPage> Pages;
    for (const TTvrSheet* Sheet : ASheets) {
        std::vector<TPrtPage> SheetPagesOf = SheetPages(*Sheet, Frame, ASettings, APaper, AMetrics);
        std::move(SheetPagesOf.begin(), SheetPagesOf.end(), std::back_inserter(Pages));
    }
    return Pages;
}

bool PaintSheets(QPagedPaintDevice& ADevice, std::span<const TTvrSheet* const> ASheets,
                 const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    return PaintPages(ADevice, LayOutSheets(ASheets, AHeader, ASettings, AToday, TPrtPaper(), TPrtFontMetrics()));
}

void WriteSheetsPdf(const std::string& APath, std::span<const TTvrSheet* const> ASheets,
                    const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    const QString Title = ASheets.size() == 1 ? SheetDisplayName(ASheets.front()->FileName()) : QString();
    WritePagesPdf(APath, LayOutSheets(ASheets, AHeader, ASettings, AToday, TPrtPaper(), TPrtFontMetrics()), Title);
}

std::vector<TRptBookFile> BookFilesOf(const TTvrSheets& AOutputs)
{
    std::vector<TRptBookFile> Books;
    for (int I = 0; I < AOutputs.Count(); ++I) {
        const TTvrSheet& Sheet = AOutputs.Sheets(I);
        TRptBookFile Book{Sheet.FileName(), {}};
        for (int C = 0; C < Sheet.ColCount(); ++C) {
            const TTvrField& Field = Sheet.Fields().Fields(C);
            Book.FieldDefs.push_back({Field.Name(), Field.FieldType(), Field.CharCount()});
        }
        Books.push_back(std::move(Book));
    }
    return Books;
}

void WriteBooksPdf(const std::string& APath, const std::vector<TRptBookFile>& ABooks,
                   const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    std::vector<std::unique_ptr<TTvrSheet>> Sheets;
    std::vector<const TTvrSheet*> Order;
    for (const TRptBookFile& Book : ABooks) {
        auto Sheet = std::make_unique<TTvrSheet>();
        Sheet->LoadFromFile(Book.Path, Book.FieldDefs, ASettings);
        Order.push_back(Sheet.get());
        Sheets.push_back(std::move(Sheet));
    }
    WritePagesPdf(APath, LayOutSheets(Order, AHeader, ASettings, AToday, TPrtPaper(), TPrtFontMetrics()),
                  QStringLiteral("帳簿"));
}

} // namespace tavrel
