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
    : FFields(static_cast<size_t>(AColumnCount)), FSettings(ASettings)
{
}

void TSumLine::Clear()
{
    for (std::string& Field : FFields)
        Field.clear();
}

void TSumLine::Text(int ACol, const std::string& AText)
{
    FFields.at(static_cast<size_t>(ACol)) = AText;
}

void TSumLine::Number(int ACol, double AValue)
{
    std::string& Field = FFields.at(static_cast<size_t>(ACol));
    Field.clear();
    AppendNumberText(Field, AValue, FSettings);
}

void TSumLine::Date(int ACol, TTvrDate ADate)
{
    FFields.at(static_cast<size_t>(ACol)) = BookDateText(ADate, FSettings);
}

void TSumLine::Value(int ACol, const TTvrValue& AValue)
{
    if (AValue.IsDate())
        Date(ACol, AValue.Date());
    else if (AValue.IsText())
        Text(ACol, AValue.Text());
    else if (AValue.IsInteger())
        FFields.at(static_cast<size_t>(ACol)) = std::to_string(AValue.Integer());
    else if (AValue.IsFloat())
        Number(ACol, AValue.AsFloat());
    else
        FFields.at(static_cast<size_t>(ACol)).clear();
}

void TSumLine::AppendTo(std::string& ATarget) const
{
    AppendCsvLine(ATarget, FFields);
    ATarget += "\r\n";
}

void SendBookProgress(const std::string& AFileName, const TTvrExecuteSendMessage& ASendMessage)
{
    ASendMessage(ExtractFileName(AFileName) + " 作成中...");
}

} // namespace tavrel
