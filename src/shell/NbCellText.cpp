// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbCellText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace tavrel {

Qt::Alignment CellTextAlignment(TNbCellTextOptions AOptions)
{
    Qt::Alignment Align = Qt::AlignLeft;
    if (AOptions & nctoHCenter)
        Align = Qt::AlignHCenter;
    else if (AOptions & nctoRight)
        Align = Qt::AlignRight;
    if (AOptions & nctoVCenter)
        Align |= Qt::AlignVCenter;
    else if (AOptions & nctoBottom)
        Align |= Qt::AlignBottom;
    else
        Align |= Qt::AlignTop;
    return Align;
}

bool DrawCellText(QPainter& ACanvas, const QRect& ARect, const QString& AText, TNbCellTextOptions AOptions,
                  int32_t ADx, int32_t ADy)
{
    const QRect R = ARect.adjusted(ADx, ADy, -ADx, -ADy);
    const QString Shown = ACanvas.fontMetrics().elidedText(AText, Qt::ElideRight, std::max(0, R.width()),
                                                           Qt::TextSingleLine);
    if (R.isValid()) {
        ACanvas.save();
        ACanvas.setClipRect(R, Qt::IntersectClip);
        ACanvas.drawText(R, static_cast<int>(CellTextAlignment(AOptions)) | Qt::TextSingleLine, Shown);
        ACanvas.restore();
    }
    return (AOptions & nctoModify) != 0 && Shown != AText;
}

void ResetControlCanvas(QPainter& ACanvas, const QWidget& AControl)
{
    ACanvas.setFont(AControl.font());
    ACanvas.setPen(AControl.palette().color(AControl.foregroundRole()));
    ACanvas.setBrush(AControl.palette().brush(AControl.backgroundRole()));
}

void ResetControlCanvas(QPainter& ACanvas)
{
    if (ACanvas.device() && ACanvas.device()->devType() == QInternal::Widget) {
        ResetControlCanvas(ACanvas, *static_cast<QWidget*>(ACanvas.device()));
        return;
    }
    ACanvas.setFont(QFont());
    ACanvas.setPen(QPen());
    ACanvas.setBrush(QBrush());
}

} // namespace tavrel
