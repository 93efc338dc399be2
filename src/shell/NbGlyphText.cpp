// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbGlyphText.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeDatabase>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>
#include <algorithm>

#include "shell/NbPaths.h"

namespace tavrel {

namespace {

QFileIconProvider* GFileIconProvider = nullptr;

// The provider of CheckEnvironment, or one made on first use for programs
// and tests that draw without it.
QFileIconProvider& IconProvider()
{
    if (GFileIconProvider)
        return *GFileIconProvider;
    static QFileIconProvider Fallback;
    return Fallback;
}

} // namespace

QFileIconProvider* FileIconProvider()
{
    return GFileIconProvider;
}

void SetFileIconProvider(QFileIconProvider* AProvider)
{
    GFileIconProvider = AProvider;
}

QString GlyphTextShown(const QFontMetrics& AMetrics, const QString& AText, int AWidth,
                       TNbGlyphTextTextRendering ARendering)
{
    switch (ARendering) {
    case ngttrSimple:
        return AMetrics.elidedText(AText, Qt::ElideRight, std::max(0, AWidth), Qt::TextSingleLine);
    case ngttrFullPath1:
        return AMetrics.elidedText(AText, Qt::ElideMiddle, std::max(0, AWidth), Qt::TextSingleLine);
    case ngttrNone:
    case ngttrFullPath2:
        break;
    }
    return AText;
}

QIcon SmallIconForPath(const QString& APath)
{
    QFileIconProvider& Provider = IconProvider();
    const bool HasParent = APath.contains(u'/') && APath != QStringLiteral("/");
    if (APath.endsWith(u'/')) {
        if (HasParent && DirectoryExistsQuiet(APath))
            return Provider.icon(QFileInfo(APath));
        return Provider.icon(QFileIconProvider::Folder);
    }
    if (HasParent) {
        const QFileInfo Info(APath);
        if (Info.exists())
            return Provider.icon(Info);
    }
    // The generic icon of files with this extension; none or a bare "."
    // gives the icon of files of no known type.
    const QString Suffix = QFileInfo(APath).suffix();
    if (!Suffix.isEmpty()) {
        const QMimeType Mime = QMimeDatabase().mimeTypeForFile(QStringLiteral("x.") + Suffix,
                                                               QMimeDatabase::MatchExtension);
        if (!Mime.isDefault()) {
            const QIcon Icon = QIcon::fromTheme(Mime.iconName(), QIcon::fromTheme(Mime.genericIconName()));
            if (!Icon.isNull())
                return Icon;
        }
    }
    return Provider.icon(QFileIconProvider::File);
}

void TNbGlyphText::Initialize(QLabel* AImage, QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FImage = AImage;
    FTarget = ngttImage;
}

void TNbGlyphText::Initialize(QWidget* APaintBox, QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FPaintBox = APaintBox;
    FTarget = ngttPaintBox;
}

void TNbGlyphText::Initialize(QPainter* ACanvas)
{
    *this = TNbGlyphText();
    FCanvas = ACanvas;
    FTarget = ngttCanvas;
}

void TNbGlyphText::DrawIcon(int32_t ALeft, int32_t ATop, QSize ASize, const QIcon* AIcon)
{
    if (FGBkColor) {
        const QBrush Previous = FCanvas->brush();
        FCanvas->fillRect(QRect(QPoint(ALeft - FGMargin, ATop - FGMargin),
                                QPoint(ALeft + ASize.width() + FGMargin, ATop + ASize.height() + FGMargin)),
                          *FGBkColor);
        FCanvas->setBrush(Previous);
    }
    if (!AIcon || AIcon->isNull())
        return;
    QPixmap Pixmap = AIcon->pixmap(ASize);
    QColor Blend;
    int Percent = 0;
    const QColor Highlight = QGuiApplication::palette().color(QPalette::Highlight);
    switch (FDrawingStyle) {
    case ngtdsNormal:
        break;
    case ngtdsSelected:
        Blend = Highlight;
        Percent = 50;
        break;
    case ngtdsFocused:
        Blend = Highlight;
        Percent = 25;
        break;
    case ngtdsDisabled:
        Blend = QColor(0xC0, 0xC0, 0xC0);
        Percent = 25;
        break;
    }
    if (Percent > 0) {
        QPainter Over(&Pixmap);
        // Only the icon's own pixels take the colour; the background stays
        // transparent.
        Over.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        Blend.setAlpha(255 * Percent / 100);
        Over.fillRect(Pixmap.rect(), Blend);
    }
    FCanvas->drawPixmap(QRect(QPoint(ALeft, ATop), ASize), Pixmap);
}

void TNbGlyphText::Draw(int32_t ALeft, int32_t ATop, const TNbImageList& AImageList, int32_t AImageIndex)
{
    const bool Valid = AImageIndex >= 0 && static_cast<size_t>(AImageIndex) < AImageList.Icons.size();
    DrawIcon(ALeft, ATop, AImageList.IconSize, Valid ? &AImageList.Icons[static_cast<size_t>(AImageIndex)] : nullptr);
}

void TNbGlyphText::DrawWithIcon(const QRect& ARect, QSize AIconSize, const QIcon* AIcon, const QString& AText)
{
    const QPen PreviousPen = FCanvas->pen();
    const int32_t IconLeft = ARect.left() + FHSpacing1;
    // Windows rectangles end one past the last pixel; Qt's bottom() is the
    // last pixel itself.
    const int32_t Bottom = ARect.bottom() + 1;
    const int32_t IconTop = (ARect.top() + Bottom - AIconSize.height()) / 2;
    if (FDrawingStyle == ngtdsDisabled)
        FCanvas->setPen(QColor(0xC0, 0xC0, 0xC0));
    FCanvas->fillRect(ARect, FCanvas->brush());

    const QFontMetrics Metrics = FCanvas->fontMetrics();
    const int32_t TextHeight = Metrics.height();
    const int32_t TextTop = (ARect.top() + Bottom - TextHeight) / 2;
    const int32_t TextLeft = IconLeft + AIconSize.width() + FHSpacing2;
    FCanvas->save();
    FCanvas->setClipRect(ARect, Qt::IntersectClip);
    if (FTextRendering == ngttrNone) {
        FCanvas->drawText(QPoint(TextLeft, TextTop + Metrics.ascent()), AText);
        FTextDisplayed = AText;
    } else {
        const QRect TextRect(QPoint(TextLeft, TextTop), QPoint(ARect.right() + 1 - 2 - 1, TextTop + TextHeight - 1));
        FTextDisplayed = GlyphTextShown(Metrics, AText, TextRect.width(), FTextRendering);
        FCanvas->setClipRect(TextRect, Qt::IntersectClip);
        FCanvas->drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FTextDisplayed);
    }
    FCanvas->restore();
    FTextModified = FTextDisplayed != AText;
    DrawIcon(IconLeft, IconTop, AIconSize, AIcon);
    FCanvas->setPen(PreviousPen);
}

void TNbGlyphText::Draw(const QRect& ARect, const TNbImageList& AImageList, int32_t AImageIndex, const QString& AText)
{
    const bool Valid = AImageIndex >= 0 && static_cast<size_t>(AImageIndex) < AImageList.Icons.size();
    DrawWithIcon(ARect, AImageList.IconSize, Valid ? &AImageList.Icons[static_cast<size_t>(AImageIndex)] : nullptr,
                 AText);
}

void TNbGlyphText::Draw(const QRect& ARect, const QString& AIconPath, const QString& AText)
{
    const QIcon Icon = SmallIconForPath(AIconPath);
    DrawWithIcon(ARect, QSize(16, 16), &Icon, AText);
}

} // namespace tavrel
