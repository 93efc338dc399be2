// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtTexts.h"

#include <cmath>

#include "print/PrtLayout.h"
#include "tables/TvrCellText.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"

namespace tavrel {

QString PrtString(const std::string& AText) { return QString::fromStdString(AText); }

QString StatementAmountText(double AValue, const TTvrRegionalSettings& ASettings)
{
    const double Rounded = std::round(AValue);
    if (Rounded < 0)
        return QStringLiteral("△") + PrtString(DisplayNumberText(-Rounded, ASettings));
    // -0.4 rounds to -0: a zero, without a sign.
    return PrtString(DisplayNumberText(Rounded == 0 ? 0.0 : Rounded, ASettings));
}

QString PeriodText(TTvrDate AFirst, TTvrDate ALast, const TTvrRegionalSettings& ASettings)
{
    return PrtString(BookDateText(AFirst, ASettings)) + QStringLiteral("～") + PrtString(BookDateText(ALast, ASettings));
}

QString SheetDisplayName(const std::string& AFileName)
{
    QString Name = PrtString(ExtractFileName(AFileName));
    if (Name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        Name.chop(4);
    return Name;
}

QString DocumentName(const std::string& AFileName)
{
    QString Name = SheetDisplayName(AFileName);
    qsizetype Digits = 0;
    while (Digits < Name.size() && Name[Digits].isDigit())
        ++Digits;
    return Digits < Name.size() ? Name.mid(Digits) : Name;
}

bool HasPeriod(const TRptPageHeader& AHeader)
{
    return AHeader.FirstDate != TTvrDate() || AHeader.LastDate != TTvrDate();
}

TPrtFrame PageFrame(const TRptPageHeader& AHeader, const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    TPrtFrame Frame;
    QStringList Names;
    for (const std::string& Name : {AHeader.Organisation, AHeader.YearTitle})
        if (!Name.empty())
            Names << PrtString(Name);
    Frame.Organisation = Names.join(QLatin1Char(' '));
    if (HasPeriod(AHeader))
        Frame.Period = QStringLiteral("期間 ") + PeriodText(AHeader.FirstDate, AHeader.LastDate, ASettings);
    Frame.PrintDate = QStringLiteral("印刷日 ") + PrtString(BookDateText(AToday, ASettings));
    return Frame;
}

} // namespace tavrel
