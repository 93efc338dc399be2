// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrCellText.h"

#include <cmath>
#include <cstdio>

#include "tables/TvrConvert.h"

namespace tavrel {

std::string DisplayNumberText(double AValue, const TTvrRegionalSettings& ASettings)
{
    const double Rounded = std::round(AValue);
    if (!std::isfinite(Rounded))
        return NumberText(AValue, ASettings);
    // The largest double has 309 digits.
    char Digits[400];
    std::snprintf(Digits, sizeof Digits, "%.0f", std::fabs(Rounded));
    const std::string_view Plain(Digits);
    std::string Result;
    if (Rounded < 0)
        Result += '-';
    for (size_t I = 0; I < Plain.size(); ++I) {
        if (I > 0 && (Plain.size() - I) % 3 == 0)
            Result += ASettings.ThousandSeparator;
        Result += Plain[I];
    }
    return Result;
}

std::string ValueCellText(const TTvrValue& AValue, TTvrFieldType AFieldType, bool ACopy,
                          const TTvrRegionalSettings& ASettings)
{
    if (AValue.IsNull())
        return std::string();
    if (AValue.IsText())
        return AValue.Text();
    switch (AFieldType) {
    case sftInteger:
    case sftDouble:
        if (AValue.IsNumber())
            return ACopy ? NumberText(AValue.AsFloat(), ASettings) : DisplayNumberText(AValue.AsFloat(), ASettings);
        break;
    case sftDate:
        if (AValue.IsDate())
            return BookDateText(AValue.Date(), ASettings);
        break;
    case sftString:
        break;
    }
    // A sheet converts a cell by its column's type only; nothing else reaches
    // here, but a value is never dropped silently.
    if (AValue.IsNumber())
        return NumberText(AValue.AsFloat(), ASettings);
    if (AValue.IsDate())
        return BookDateText(AValue.Date(), ASettings);
    return std::string();
}

bool IsNumericValue(const TTvrValue& AValue, TTvrFieldType AFieldType)
{
    return (AFieldType == sftInteger || AFieldType == sftDouble) && AValue.IsNumber();
}

} // namespace tavrel
