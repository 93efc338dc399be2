// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtPaint.h"

#include <QPageSize>
#include <QPen>
#include <QTextOption>
#include <algorithm>

namespace tavrel {

namespace {

// Text is measured and set at this pixel size and scaled: the advances of
// an unhinted outline font grow in proportion to its size. Qt keeps the
// glyphs of a font of up to 64 pixels in its cache; above that, every text
// would load its outlines again (ten times slower).
constexpr double kMetricsPixels = 48.0;
// A text is condensed to no less than this part of its width.
constexpr double kMinCondense = 0.55;

// The font at the size text is measured and set at.
QFont DesignFont(const QFont& AFont)
{
    QFont Design = AFont;
    Design.setPixelSize(static_cast<int>(kMetricsPixels));
    return Design;
}

// What the design font is scaled by to be the font's size on the device.
double DesignScale(const QPainter& APainter, const QFont& AFont)
{
    return AFont.pointSizeF() * DevicePerPoint(APainter) / kMetricsPixels;
}

QRectF ToDevice(const QRectF& ARect, double AScale)
{
    return QRectF(ARect.left() * AScale, ARect.top() * AScale, ARect.width() * AScale, ARect.height() * AScale);
}

void PaintPage(QPainter& APainter, const TPrtPage& APage)
{
    const double K = DevicePerPoint(APainter);
    for (const TPrtBox& Box : APage.Boxes) {
        const QRectF Rect = ToDevice(Box.Rect, K);
        if (Box.Fill.isValid())
            APainter.fillRect(Rect, Box.Fill);
        if (Box.Outline.isValid()) {
            APainter.setPen(QPen(Box.Outline, Box.OutlineWidth * K, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            APainter.setBrush(Qt::NoBrush);
            APainter.drawRect(Rect);
        }
    }
    for (const TPrtPicture& Picture : APage.Pictures) {
        APainter.save();
        Picture.Draw(APainter, ToDevice(Picture.Rect, K));
        APainter.restore();
    }
    for (const TPrtRule& Rule : APage.Rules) {
        APainter.setPen(QPen(Rule.Color, Rule.Width * K, Qt::SolidLine, Qt::FlatCap));
        APainter.drawLine(QLineF(Rule.Line.p1() * K, Rule.Line.p2() * K));
    }
    for (const TPrtText& Text : APage.Texts) {
        APainter.setFont(PrtFont(Text.PointSize, Text.Bold));
        APainter.setPen(Text.Color);
        DrawPrtText(APainter, ToDevice(Text.Rect, K), Text.Text, Text.Align);
    }
}

// The device's page: A4 in the orientation, without margins where the
// device allows it.
void SetPage(QPagedPaintDevice& ADevice, QPageLayout::Orientation AOrientation)
{
    ADevice.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), AOrientation, QMarginsF(0, 0, 0, 0)));
}

// Page coordinates start at the paper's corner; a printer that keeps
// margins of its own starts its device coordinates inside them.
void PlaceOrigin(QPainter& APainter, QPagedPaintDevice& ADevice)
{
    const QRectF Paint = ADevice.pageLayout().paintRect(QPageLayout::Point);
    const double K = DevicePerPoint(APainter);
    APainter.resetTransform();
    APainter.translate(-Paint.left() * K, -Paint.top() * K);
}

} // namespace

QFont PrtFont(double APointSize, bool ABold)
{
    QFont Font(QStringLiteral("Noto Sans CJK JP"));
    Font.setPointSizeF(APointSize);
    Font.setBold(ABold);
    // Unhinted outlines: the text is as wide on paper as the layout
    // measured it, at every size.
    Font.setHintingPreference(QFont::PreferNoHinting);
    return Font;
}

std::vector<QFont> PrtFonts() { return {PrtFont(10.0, false), PrtFont(10.0, true)}; }

TPrtFontMetrics::TPrtFontMetrics() : FRegular(DesignFont(PrtFont(10.0, false))), FBold(DesignFont(PrtFont(10.0, true))) {}

double TPrtFontMetrics::TextWidth(const QString& AText, double APointSize, bool ABold) const
{
    return (ABold ? FBold : FRegular).horizontalAdvance(AText) * APointSize / kMetricsPixels;
}

double TPrtFontMetrics::LineHeight(double APointSize) const
{
    return FRegular.height() * APointSize / kMetricsPixels;
}

double PrtTextWidth(const QPainter& APainter, const QFont& AFont, const QString& AText)
{
    return QFontMetricsF(DesignFont(AFont)).horizontalAdvance(AText) * DesignScale(APainter, AFont);
}

double DevicePerPoint(const QPainter& APainter)
{
    return APainter.device()->logicalDpiY() / 72.0;
}

void DrawPrtText(QPainter& APainter, const QRectF& ARect, const QString& AText, Qt::Alignment AAlign)
{
    if (AText.isEmpty())
        return;
    // Text is set at one large pixel size and scaled to the size asked for:
    // a device rounds a font's pixel size to a whole number (9 points are
    // 37.5 pixels at 300 dots per inch, set as 38), which would make a
    // printer's text wider than the PDF file's and than the layout
    // measured. So the text has the font's own proportions at every size
    // and on every device.
    const QFont Design = DesignFont(APainter.font());
    const QFontMetricsF Metrics(Design);
    const double Scale = DesignScale(APainter, APainter.font());
    const double Width = Metrics.horizontalAdvance(AText) * Scale;
    QString Shown = AText;
    double Factor = 1.0;
    if (Width > ARect.width() && ARect.width() > 0) {
        Factor = std::max(kMinCondense, ARect.width() / Width);
        if (Width * Factor > ARect.width())
            Shown = Metrics.elidedText(AText, Qt::ElideRight, ARect.width() / (Factor * Scale));
    }
    if (auto* Sink = dynamic_cast<TPrtTextSink*>(APainter.device()))
        Sink->NoteText(Shown);
    QTextOption Option(AAlign);
    Option.setWrapMode(QTextOption::NoWrap);
    APainter.save();
    APainter.setFont(Design);
    APainter.translate(ARect.topLeft());
    APainter.scale(Scale * Factor, Scale);
    APainter.drawText(QRectF(0, 0, ARect.width() / (Scale * Factor), ARect.height() / Scale), Shown, Option);
    APainter.restore();
}

bool PaintPages(QPagedPaintDevice& ADevice, const std::vector<TPrtPage>& APages)
{
    if (APages.empty())
        return true;
    SetPage(ADevice, APages.front().Orientation);
    QPainter Painter;
    if (!Painter.begin(&ADevice))
        return false;
    Painter.setRenderHint(QPainter::Antialiasing);
    for (size_t I = 0; I < APages.size(); ++I) {
        if (I > 0) {
            SetPage(ADevice, APages[I].Orientation);
            ADevice.newPage();
        }
        PlaceOrigin(Painter, ADevice);
        PaintPage(Painter, APages[I]);
    }
    return Painter.end();
}

} // namespace tavrel
