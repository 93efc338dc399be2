// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/TvrLocale.h"

#include <QString>

namespace tavrel {
namespace {

bool IsFormatLetter(QChar AChar)
{
    return AChar.isLetter() || AChar == u'\'';
}

// The first character after the first run of format letters, when it is
// neither a letter nor a blank: "yyyy/MM/dd" gives "/", "dd.MM.yy" ".",
// "yy. M. d." ".".
QString FirstSeparator(const QString& AFormat)
{
    qsizetype I = 0;
    while (I < AFormat.size() && !IsFormatLetter(AFormat[I]))
        ++I;
    while (I < AFormat.size() && IsFormatLetter(AFormat[I]))
        ++I;
    if (I < AFormat.size() && !AFormat[I].isSpace())
        return QString(AFormat[I]);
    return QString();
}

// The order of the first year, month and day fields of a date format; YMD
// when one of them is missing.
TTvrDateOrder DateOrderOf(const QString& AFormat)
{
    const qsizetype Y = AFormat.indexOf(u'y');
    const qsizetype M = AFormat.indexOf(u'M');
    const qsizetype D = AFormat.indexOf(u'd');
    if (Y < 0 || M < 0 || D < 0)
        return TTvrDateOrder::YMD;
    if (D < M && M < Y)
        return TTvrDateOrder::DMY;
    if (M < D && D < Y)
        return TTvrDateOrder::MDY;
    return TTvrDateOrder::YMD;
}

} // namespace

TTvrRegionalSettings RegionalSettingsFromLocale(const QLocale& ALocale)
{
    TTvrRegionalSettings Settings;
    if (ALocale.language() == QLocale::C)
        return Settings;

    const QString Group = ALocale.groupSeparator();
    const QString Decimal = ALocale.decimalPoint();
    // A locale without a distinct decimal separator would make numbers
    // ambiguous; keep the defaults then.
    if (!Decimal.isEmpty() && Decimal != Group) {
        Settings.DecimalSeparator = Decimal.toStdString();
        Settings.ThousandSeparator = Group.toStdString();
    }

    const QString DateFormat = ALocale.dateFormat(QLocale::ShortFormat);
    Settings.ShortDateOrder = DateOrderOf(DateFormat);
    const QString DateSep = FirstSeparator(DateFormat);
    if (!DateSep.isEmpty())
        Settings.DateSeparator = DateSep.toStdString();

    const QString TimeSep = FirstSeparator(ALocale.timeFormat(QLocale::ShortFormat));
    if (!TimeSep.isEmpty())
        Settings.TimeSeparator = TimeSep.toStdString();
    return Settings;
}

TTvrRegionalSettings SystemRegionalSettings()
{
    return RegionalSettingsFromLocale(QLocale::system());
}

} // namespace tavrel
