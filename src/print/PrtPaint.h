// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Painting of laid-out pages and of text, on any paged device: a PDF file
// (QPdfWriter) or a printer (QPrinter), with the same code.

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <vector>

#include "print/PrtPage.h"

namespace tavrel {

// The font of every printed text: Noto Sans CJK JP, which the program
// depends on, so that a page looks the same on every machine.
QFont PrtFont(double APointSize, bool ABold);
// Every font the pages use, regular and bold.
std::vector<QFont> PrtFonts();

// The metrics of PrtFont, in points.
class TPrtFontMetrics final : public TPrtMetrics {
public:
    TPrtFontMetrics();
    double TextWidth(const QString& AText, double APointSize, bool ABold) const override;
    double LineHeight(double APointSize) const override;

private:
    QFontMetricsF FRegular;
    QFontMetricsF FBold;
};

// A device that wants to know every text drawn on it (a PDF file mends its
// text layer with them).
class TPrtTextSink {
public:
    virtual ~TPrtTextSink() = default;
    virtual void NoteText(const QString& AText) = 0;
};

// Draws one line of text with the painter's font in a rectangle of device
// coordinates: condensed (down to a little over half its width, then cut
// with "…") when wider than the rectangle, so that it never runs out of it.
void DrawPrtText(QPainter& APainter, const QRectF& ARect, const QString& AText, Qt::Alignment AAlign);

// The width in device units of the text in the font on the painter's
// device, as DrawPrtText sets it.
double PrtTextWidth(const QPainter& APainter, const QFont& AFont, const QString& AText);

// How many device units make a point on the painter's device.
double DevicePerPoint(const QPainter& APainter);

// Paints the pages on the device, each in its orientation, on A4 paper.
// The painter must not be active on the device. Returns false when painting
// could not start.
bool PaintPages(QPagedPaintDevice& ADevice, const std::vector<TPrtPage>& APages);

} // namespace tavrel
