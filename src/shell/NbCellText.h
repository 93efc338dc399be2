// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// One line of text in a cell of an owner-drawn list or grid, and the
// control's drawing surface given back after drawing.

#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;
class QWidget;

namespace tavrel {

enum TNbCellTextOption : unsigned {
    nctoLeft = 0x01,
    nctoHCenter = 0x02,
    nctoRight = 0x04,
    nctoTop = 0x08,
    nctoVCenter = 0x10,
    nctoBottom = 0x20,
    // The result tells whether the text had to be shortened.
    nctoModify = 0x40
};
using TNbCellTextOptions = unsigned;

// Left and top unless another alignment is given.
Qt::Alignment CellTextAlignment(TNbCellTextOptions AOptions);
// Draws the text on one line in ARect shrunk by ADx at the left and right
// and ADy at the top and bottom, shortened with an ellipsis at its end when
// too wide, never outside the rectangle. With nctoModify, true when it was
// shortened; otherwise false.
bool DrawCellText(QPainter& ACanvas, const QRect& ARect, const QString& AText, TNbCellTextOptions AOptions,
                  int32_t ADx, int32_t ADy);

// Gives the painter the control's font, pen (text colour) and brush (base
// colour) again.
void ResetControlCanvas(QPainter& ACanvas, const QWidget& AControl);
// The same with the widget the painter paints on; a painter on anything
// else gets a painter's initial font, pen and brush.
void ResetControlCanvas(QPainter& ACanvas);

} // namespace tavrel
