// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrSheet.h"

#include "tables/TvrCodePage.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"
#include "tables/TvrList.h"

namespace tavrel {

int TTvrFields::Add(const TTvrFieldDef& AFieldDef)
{
    FFields.push_back(std::make_unique<TTvrField>(AFieldDef));
    return Count() - 1;
}

void TTvrFields::Clear()
{
    ClearFromBack(FFields);
}

void TTvrSheet::Clear()
{
    FFields.Clear();
    FFileName.clear();
    FFileTimeStamp = TTvrDate();
    FFileTimeStampKnown = false;
    FDeferred = false;
    FLines.clear();
    FText = TTvrFileText();
    FCachedRow = -1;
    FCachedFields.clear();
}

void TTvrSheet::SetFile(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                        const TTvrRegionalSettings& ASettings)
{
    Clear();
    for (const TTvrFieldDef& Def : AFieldDefs)
        FFields.Add(Def);
    FFileName = AFileName;
    FSettings = ASettings;
    TTvrDate Time;
    FFileTimeStampKnown = TryFileModificationTime(AFileName, Time);
    FFileTimeStamp = FFileTimeStampKnown ? Time : TTvrDate();
}

void TTvrSheet::LoadFromFile(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                             const TTvrRegionalSettings& ASettings)
{
    SetFile(AFileName, AFieldDefs, ASettings);
    ReadContent();
}

void TTvrSheet::LoadFromFileDeferred(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                                     const TTvrRegionalSettings& ASettings)
{
    SetFile(AFileName, AFieldDefs, ASettings);
    FDeferred = true;
}

void TTvrSheet::ReadContent() const
{
    FText = TTvrFileText(ReadFileBytes(FFileName));
    FLines = SplitTextLines(FText.Body());
}

int TTvrSheet::RowCount() const
{
    if (ColCount() == 0)
        return 0;
    if (FDeferred) {
        ReadContent();
        FDeferred = false;
    }
    return static_cast<int>(FLines.size());
}

const std::vector<std::string>& TTvrSheet::RowFields(int ARow) const
{
    if (FCachedRow != ARow) {
        SplitCsvLine(FText.Decode(FLines.at(static_cast<size_t>(ARow))), FCachedFields,
                     static_cast<size_t>(ColCount()));
        if (!HasNonEmptyField(FCachedFields))
            FCachedFields.clear();
        FCachedRow = ARow;
    }
    return FCachedFields;
}

TTvrValue TTvrSheet::Cells(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        throw std::out_of_range("TTvrSheet::Cells: no such cell");
    const std::vector<std::string>& Row = RowFields(ARow);
    if (static_cast<size_t>(ACol) >= Row.size())
        return {};
    const std::string& Text = Row[static_cast<size_t>(ACol)];
    switch (FFields.Fields(ACol).FieldType()) {
    case sftString: return Text;
    case sftInteger: return TextToIntegerValue(Text, FSettings);
    // A sheet shows what the file holds: a book's total may lie beyond the
    // amounts a table may hold.
    case sftDouble: return TextToFloatValue(Text, FSettings, TTvrNumberRange::Finite);
    case sftDate: return TextToDateValue(Text, FSettings);
    }
    return {};
}

int TTvrSheets::Add()
{
    FSheets.push_back(std::make_unique<TTvrSheet>());
    return Count() - 1;
}

int TTvrSheets::Add(std::unique_ptr<TTvrSheet> ASheet)
{
    FSheets.push_back(std::move(ASheet));
    return Count() - 1;
}

void TTvrSheets::Clear()
{
    ClearFromBack(FSheets);
}

} // namespace tavrel
