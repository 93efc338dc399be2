// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Cell text and glyph text drawn on pictures.
#include <QFileIconProvider>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "shell/NbCellText.h"
#include "shell/NbGlyphText.h"

namespace tavrel {
namespace {

TEST(CellTextAlignment, LeftAndTopUnlessAsked)
{
    // clang-format off
    struct Case { TNbCellTextOptions Options; Qt::Alignment Align; };
    const Case kCases[] = {
        {0,                                Qt::AlignLeft | Qt::AlignTop},
        {nctoModify,                       Qt::AlignLeft | Qt::AlignTop},
        {nctoHCenter | nctoVCenter,        Qt::AlignHCenter | Qt::AlignVCenter},
        {nctoRight | nctoVCenter,          Qt::AlignRight | Qt::AlignVCenter},
        {nctoLeft | nctoBottom,            Qt::AlignLeft | Qt::AlignBottom},
        {nctoRight | nctoTop | nctoModify, Qt::AlignRight | Qt::AlignTop},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(CellTextAlignment(C.Options), C.Align) << C.Options;
}

// Pixels other than white outside ARect.
int MarkedOutside(const QImage& AImage, const QRect& ARect)
{
    int Marked = 0;
    for (int Y = 0; Y < AImage.height(); ++Y)
        for (int X = 0; X < AImage.width(); ++X)
            if (!ARect.contains(X, Y) && AImage.pixel(X, Y) != qRgb(255, 255, 255))
                ++Marked;
    return Marked;
}

TEST(DrawCellText, ShortensTooLongTextsAndStaysInsideTheShrunkRectangle)
{
    QImage Image(200, 60, QImage::Format_RGB32);
    const QRect Cell(20, 10, 80, 30);
    // clang-format off
    struct Case { const char* Text; TNbCellTextOptions Options; bool Modified; };
    const Case kCases[] = {
        {"12",                                   nctoModify | nctoRight | nctoVCenter, false},
        {"とても長い摘要の文字列です。ここまで", nctoModify | nctoLeft | nctoVCenter,  true},
        {"とても長い摘要の文字列です。ここまで", nctoLeft | nctoVCenter,               false},
        {"WWWWWWWWWWWWWWWWWWWWWWWW",             nctoModify | nctoHCenter | nctoBottom, true},
    };
    // clang-format on
    for (const Case& C : kCases) {
        Image.fill(Qt::white);
        QPainter Painter(&Image);
        QFont Font(QStringLiteral("Noto Sans CJK JP"));
        Font.setPixelSize(16);
        Painter.setFont(Font);
        Painter.setPen(Qt::black);
        EXPECT_EQ(DrawCellText(Painter, Cell, QString::fromUtf8(C.Text), C.Options, 2, 2), C.Modified) << C.Text;
        Painter.end();
        EXPECT_EQ(MarkedOutside(Image, Cell.adjusted(2, 2, -2, -2)), 0) << C.Text;
        EXPECT_GT(MarkedOutside(Image, QRect()), 0) << C.Text << ": nothing drawn";
    }
}

TEST(ResetControlCanvas, GivesTheControlsFontPenAndBrushBack)
{
    QWidget Control;
    QFont Font(QStringLiteral("メイリオ"));
    Font.setPixelSize(11);
    Control.setFont(Font);
    QImage Image(10, 10, QImage::Format_RGB32);
    QPainter Painter(&Image);
    QFont Bold = Font;
    Bold.setBold(true);
    Painter.setFont(Bold);
    Painter.setPen(Qt::red);
    ResetControlCanvas(Painter, Control);
    EXPECT_EQ(Painter.font(), Control.font());
    EXPECT_EQ(Painter.pen().color(), Control.palette().color(Control.foregroundRole()));
    EXPECT_EQ(Painter.brush(), Control.palette().brush(Control.backgroundRole()));
    ResetControlCanvas(Painter);
    EXPECT_EQ(Painter.font(), QFont());
    EXPECT_EQ(Painter.pen(), QPen());
}

TEST(GlyphTextShown, EachRendering)
{
    QFont Font(QStringLiteral("Noto Sans CJK JP"));
    Font.setPixelSize(12);
    const QFontMetrics Metrics(Font);
    const QString Path = QStringLiteral("/home/kaikei/帳簿/2025年度/金銭出納テーブル.csv");
    const int Narrow = Metrics.horizontalAdvance(Path) / 2;
    const int Wide = Metrics.horizontalAdvance(Path) + 10;
    for (const auto Rendering : {ngttrNone, ngttrSimple, ngttrFullPath1, ngttrFullPath2})
        EXPECT_EQ(GlyphTextShown(Metrics, Path, Wide, Rendering), Path) << Rendering;
    EXPECT_EQ(GlyphTextShown(Metrics, Path, Narrow, ngttrNone), Path);
    EXPECT_EQ(GlyphTextShown(Metrics, Path, Narrow, ngttrFullPath2), Path);
    const QString Simple = GlyphTextShown(Metrics, Path, Narrow, ngttrSimple);
    EXPECT_TRUE(Simple.endsWith(QChar(0x2026))) << Simple.toStdString();
    EXPECT_TRUE(Path.startsWith(Simple.chopped(1))) << Simple.toStdString();
    const QString Middle = GlyphTextShown(Metrics, Path, Narrow, ngttrFullPath1);
    EXPECT_TRUE(Middle.contains(QChar(0x2026))) << Middle.toStdString();
    EXPECT_TRUE(Middle.startsWith(QStringLiteral("/h"))) << Middle.toStdString();
    EXPECT_TRUE(Middle.endsWith(QStringLiteral("テーブル.csv"))) << Middle.toStdString();
    EXPECT_LE(Metrics.horizontalAdvance(Middle), Narrow);
}

TEST(TNbGlyphText, InitializeSetsTheDefaults)
{
    QImage Image(100, 20, QImage::Format_RGB32);
    QPainter Painter(&Image);
    TNbGlyphText Glyph;
    Glyph.FTextRendering = ngttrNone;
    Glyph.FHSpacing1 = 9;
    Glyph.FTextModified = true;
    Glyph.FGBkColor = QColor(Qt::red);
    QWidget PaintBox;
    Glyph.Initialize(&PaintBox, &Painter);
    EXPECT_EQ(Glyph.FTarget, ngttPaintBox);
    EXPECT_EQ(Glyph.FPaintBox, &PaintBox);
    EXPECT_EQ(Glyph.FImage, nullptr);
    EXPECT_EQ(Glyph.FCanvas, &Painter);
    EXPECT_EQ(Glyph.FDrawingStyle, ngtdsNormal);
    EXPECT_FALSE(Glyph.FGBkColor.has_value());
    EXPECT_EQ(Glyph.FGMargin, 0);
    EXPECT_EQ(Glyph.FHSpacing1, 4);
    EXPECT_EQ(Glyph.FHSpacing2, 6);
    EXPECT_TRUE(Glyph.FTextDisplayed.isEmpty());
    EXPECT_FALSE(Glyph.FTextModified);
    EXPECT_EQ(Glyph.FTextRendering, ngttrSimple);
    Glyph.Initialize(&Painter);
    EXPECT_EQ(Glyph.FTarget, ngttCanvas);
    EXPECT_EQ(Glyph.FPaintBox, nullptr);
}

TEST(TNbGlyphText, DrawsIconAndTextAndTellsWhetherItShortened)
{
    QImage Image(120, 20, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    Painter.setBrush(Qt::white);
    Painter.setPen(Qt::black);
    TNbGlyphText Glyph;
    Glyph.Initialize(&Painter);
    const QRect Rect(0, 0, 120, 20);
    Glyph.Draw(Rect, QStringLiteral("/no/such/folder/"), QStringLiteral("短い"));
    EXPECT_EQ(Glyph.FTextDisplayed, QStringLiteral("短い"));
    EXPECT_FALSE(Glyph.FTextModified);
    const QString Long = QStringLiteral("とても長いフォルダーの名前がここに続きます");
    Glyph.Draw(Rect, QStringLiteral("/no/such/file.csv"), Long);
    EXPECT_TRUE(Glyph.FTextModified);
    EXPECT_TRUE(Glyph.FTextDisplayed.endsWith(QChar(0x2026)));

    // A negative index draws the text without an icon: the icon's place
    // stays the background colour.
    Image.fill(Qt::white);
    TNbImageList List;
    List.Icons.push_back(QFileIconProvider().icon(QFileIconProvider::Folder));
    Glyph.Draw(Rect, List, -1, QStringLiteral("x"));
    Painter.end();
    for (int Y = 2; Y < 18; ++Y)
        for (int X = 4; X < 20; ++X)
            ASSERT_EQ(Image.pixel(X, Y), qRgb(255, 255, 255)) << X << "," << Y;
}

TEST(SmallIconForPath, GenericIconsForWhatIsNotThere)
{
    QFileIconProvider Provider;
    const auto Image = [](const QIcon& AIcon) { return AIcon.pixmap(16, 16).toImage(); };
    const QImage Folder = Image(Provider.icon(QFileIconProvider::Folder));
    const QImage File = Image(Provider.icon(QFileIconProvider::File));
    ASSERT_NE(Folder, File);
    EXPECT_EQ(Image(SmallIconForPath("/no/such/folder/")), Folder);
    EXPECT_EQ(Image(SmallIconForPath("folder/")), Folder);
    EXPECT_EQ(Image(SmallIconForPath("/no/such/README")), File);
    EXPECT_EQ(Image(SmallIconForPath("/no/such/file.")), File);
    QTemporaryDir Dir;
    EXPECT_EQ(Image(SmallIconForPath(Dir.path() + "/")), Folder);
}

} // namespace
} // namespace tavrel
