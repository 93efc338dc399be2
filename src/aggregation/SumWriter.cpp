// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/SumWriter.h"

#include "tables/TvrConvert.h"

namespace tavrel {

const std::string& EmptyText()
{
    static const std::string Empty;
    return Empty;
}

const TTvrValue& NullValue()
{
    static const TTvrValue Null;
    return Null;
}

TSumLine::TSumLine(int AColumnCount, const TTvrRegionalSettings& ASettings)
    : FFields(static_cast<size_t>(AColumnCount)), FOwned(static_cast<size_t>(AColumnCount)),
      FSettings(ASettings)
{
}

void TSumLine::Clear()
{
    for (std::string_view& Field : FFields)
        Field = {};
}

std::string& TSumLine::Owned(int ACol)
{
    std::string& Text = FOwned.at(static_cast<size_t>(ACol));
    Text.clear();
    return Text;
}

void TSumLine::Text(int ACol, std::string_view AText)
{
    FFields.at(static_cast<size_t>(ACol)) = AText;
}

void TSumLine::Number(int ACol, double AValue)
{
    std::string& Text = Owned(ACol);
    AppendNumberText(Text, AValue, FSettings);
    FFields[static_cast<size_t>(ACol)] = Text;
}

void TSumLine::Date(int ACol, TTvrDate ADate)
{
    if (FLastDateText.empty() || ADate.Day() != FLastDay) {
        FLastDay = ADate.Day();
        FLastDateText = BookDateText(ADate, FSettings);
    }
    std::string& Text = Owned(ACol);
    Text = FLastDateText;
    FFields[static_cast<size_t>(ACol)] = Text;
}

void TSumLine::Value(int ACol, const TTvrValue& AValue)
{
    if (AValue.IsDate()) {
        Date(ACol, AValue.Date());
    } else if (AValue.IsText()) {
        Text(ACol, AValue.Text());
    } else if (AValue.IsInteger()) {
        std::string& Text = Owned(ACol);
        Text = std::to_string(AValue.Integer());
        FFields[static_cast<size_t>(ACol)] = Text;
    } else if (AValue.IsFloat()) {
        Number(ACol, AValue.AsFloat());
    } else {
        FFields.at(static_cast<size_t>(ACol)) = {};
    }
}

void TSumLine::AppendTo(std::string& ATarget) const
{
    AppendCsvLine(ATarget, FFields);
    ATarget += "\r\n";
}

std::string BudgetLabel(const std::string& APrefix, const std::string& AName, const TTvrValue& ABudget,
                        const TTvrRegionalSettings& ASettings)
{
    return Trim(APrefix + AName + " " + BudgetText(ABudget, ASettings));
}

TTvrFileWriter WriteBookText(TTvrTextWriter& AWriter, const std::string& AFileName, const TTvrMakeText& AMake)
{
    return AWriter.Write(AFileName, AMake, TTvrWriteDurability::Regenerable, TTvrLinkWrite::Replace);
}

void WriteBookFile(const std::string& AFileName, const TTvrMakeText& AMake)
{
    TTvrTextWriter Writer;
    WriteBookText(Writer, AFileName, AMake).Commit();
}

} // namespace tavrel
