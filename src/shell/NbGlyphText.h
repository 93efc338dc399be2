// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// A file's or folder's small icon followed by a text, as the file lists and
// the viewer's header draw it, and where the icons come from.

#include <QColor>
#include <QFontMetrics>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QFileIconProvider;
class QLabel;
class QPainter;
class QWidget;

namespace tavrel {

enum TNbGlyphTextDrawingStyle { ngtdsNormal, ngtdsSelected, ngtdsFocused, ngtdsDisabled };
enum TNbGlyphTextTarget { ngttImage, ngttPaintBox, ngttCanvas };
enum TNbGlyphTextTextRendering { ngttrNone, ngttrSimple, ngttrFullPath1, ngttrFullPath2 };

// A list of icons of one size.
struct TNbImageList {
    QSize IconSize {16, 16};
    std::vector<QIcon> Icons;
};

// The text as a glyph text shows it in AWidth pixels: whole for ngttrNone
// and ngttrFullPath2 (which cut it at the edge), with an ellipsis at the end
// for ngttrSimple, in the middle for ngttrFullPath1.
QString GlyphTextShown(const QFontMetrics& AMetrics, const QString& AText, int AWidth,
                       TNbGlyphTextTextRendering ARendering);

// Draws a file's or folder's small icon followed by a text. A plain value;
// the painter must be open on the target while drawing (in Qt a painter
// exists only during painting: on the picture a label shows, or on a paint
// box within its paint event).
struct TNbGlyphText {
    QPainter* FCanvas = nullptr;
    TNbGlyphTextDrawingStyle FDrawingStyle = ngtdsNormal;
    std::optional<QColor> FGBkColor;
    int32_t FGMargin = 0;
    int32_t FHSpacing1 = 4;
    int32_t FHSpacing2 = 6;
    QLabel* FImage = nullptr;
    QWidget* FPaintBox = nullptr;
    TNbGlyphTextTarget FTarget = ngttCanvas;
    QString FTextDisplayed;
    bool FTextModified = false;
    TNbGlyphTextTextRendering FTextRendering = ngttrSimple;

    void Initialize(QLabel* AImage, QPainter* ACanvas);
    void Initialize(QWidget* APaintBox, QPainter* ACanvas);
    void Initialize(QPainter* ACanvas);

    // The icon AImageIndex of the list at the point, over the background
    // box when FGBkColor holds a colour; a negative index draws the box only.
    void Draw(int32_t ALeft, int32_t ATop, const TNbImageList& AImageList, int32_t AImageIndex);
    // Fills the rectangle, then draws the icon and the text.
    void Draw(const QRect& ARect, const TNbImageList& AImageList, int32_t AImageIndex, const QString& AText);
    // The same with the small icon of the file or folder (a path ending in a
    // separator): its own icon where it exists, else the generic icon of a
    // folder or of files with its extension.
    void Draw(const QRect& ARect, const QString& AIconPath, const QString& AText);

private:
    void DrawIcon(int32_t ALeft, int32_t ATop, QSize ASize, const QIcon* AIcon);
    void DrawWithIcon(const QRect& ARect, QSize AIconSize, const QIcon* AIcon, const QString& AText);
};

// The small icon for a file or a folder path, as TNbGlyphText draws it.
QIcon SmallIconForPath(const QString& APath);

// The small and large file icons of CheckEnvironment; nullptr outside it.
QFileIconProvider* FileIconProvider();
void SetFileIconProvider(QFileIconProvider* AProvider);

} // namespace tavrel
