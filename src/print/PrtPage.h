// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// A printed page as plain values: texts in boxes, rules, shaded areas and
// pictures, placed in points (1/72 inch) from the paper's top-left corner.
// The layouts make these without painting, so that tests can read what a
// page holds; one painter draws them on a PDF file or a printer alike.

#include <QColor>
#include <QLineF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace tavrel {

// One line of text in a box. A text wider than its box is condensed to fit
// when painted; it is never wrapped and never runs outside the box.
struct TPrtText {
    QRectF Rect;
    QString Text;
    double PointSize = 9.0;
    bool Bold = false;
    Qt::Alignment Align = Qt::AlignLeft | Qt::AlignVCenter;
    QColor Color = Qt::black;
};

struct TPrtRule {
    QLineF Line;
    double Width = 0.5;
    QColor Color = Qt::black;
};

// A rectangle, filled, outlined or both (an invalid colour draws nothing).
struct TPrtBox {
    QRectF Rect;
    QColor Fill;
    QColor Outline;
    double OutlineWidth = 0.5;
};

// Something the page layer draws itself into a rectangle of the page, such
// as the charts. The painter's coordinates are the device's.
struct TPrtPicture {
    QRectF Rect;
    std::function<void(QPainter& APainter, const QRectF& ADeviceRect)> Draw;
};

struct TPrtPage {
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    // The paper as oriented, in points.
    QSizeF Size;
    // What the running header names the page after, such as a book's name.
    QString SheetName;
    // A page that carries no running header (the first page of a document
    // whose own title says what the header would).
    bool NoHeader = false;
    // The factor a table was shrunk by so that its columns fit the width.
    double Scale = 1.0;
    // The rows of the laid-out table on this page, by their index in it.
    std::vector<int> Rows;

    // Painted in this order: boxes, pictures, rules, texts.
    std::vector<TPrtBox> Boxes;
    std::vector<TPrtPicture> Pictures;
    std::vector<TPrtRule> Rules;
    std::vector<TPrtText> Texts;
};

// The paper and its margins.
struct TPrtPaper {
    // A4 portrait.
    QSizeF PortraitSize = QSizeF(210.0 * 72.0 / 25.4, 297.0 * 72.0 / 25.4);
    // 15 mm on every side.
    double Margin = 15.0 * 72.0 / 25.4;

    QSizeF Size(QPageLayout::Orientation AOrientation) const
    {
        return AOrientation == QPageLayout::Portrait ? PortraitSize : PortraitSize.transposed();
    }
    // The area inside the margins.
    QRectF Content(QPageLayout::Orientation AOrientation) const
    {
        const QSizeF S = Size(AOrientation);
        return QRectF(Margin, Margin, S.width() - 2 * Margin, S.height() - 2 * Margin);
    }
};

// How wide a text is and how tall a line of it, in points: the layouts ask
// this of the fonts the painter will use, tests of a fixed rule.
class TPrtMetrics {
public:
    virtual ~TPrtMetrics() = default;
    virtual double TextWidth(const QString& AText, double APointSize, bool ABold) const = 0;
    // From the top of the highest glyph to the bottom of the lowest.
    virtual double LineHeight(double APointSize) const = 0;
};

} // namespace tavrel
