// The helpers that hold logic, called without a window.
#include <QDir>
#include <QFileIconProvider>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "shell/Nubix.h"
#include "ShellTestSupport.h"

namespace tavrel {
namespace {

TEST(MessageBoxText, RewritesLineBreakEscapesInAnyCase)
{
    // clang-format off
    struct Case { const char* Text; const char* Shown; };
    const Case kCases[] = {
        {R"(a\nb)",        "a\nb"},
        {R"(a\Nb)",        "a\nb"},
        {"a~nb",           "a\nb"},
        {"a~Nb",           "a\nb"},
        {R"(a\r\nb)",      "a\nb"},
        {R"(a\R\Nb)",      "a\nb"},
        {R"(a\rb)",        "a\nb"},
        {R"(a\n\nb)",      "a\n\nb"},
        {R"(a\\b)",        R"(a\b)"},
        {R"(a\\nb)",       R"(a\nb)"},
        {R"(a\\\nb)",      "a\\\nb"},
        {"a\nb",           "a\nb"},
        {"a~b\\",          "a~b\\"},
        {"",               ""},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxText(QString::fromUtf8(C.Text)), QString::fromUtf8(C.Shown)) << C.Text;
}

TEST(MessageBoxAnswer, MapsTheBoxResult)
{
    // clang-format off
    struct Case { int Result; TNbMessageAnswer Answer; };
    const Case kCases[] = {
        {QMessageBox::Ok, nmaOk}, {QMessageBox::Cancel, nmaCancel}, {QMessageBox::Abort, nmaAbort},
        {QMessageBox::Retry, nmaRetry}, {QMessageBox::Ignore, nmaIgnore}, {QMessageBox::Yes, nmaYes},
        {QMessageBox::No, nmaNo}, {QMessageBox::Save, nmaNone}, {QMessageBox::Close, nmaNone}, {0, nmaNone},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxAnswer(C.Result), C.Answer) << C.Result;
    EXPECT_EQ(static_cast<int>(nmaNone), 255);
}

TEST(MessageBoxButtons, GivesTheButtonsOfEachChoice)
{
    using B = QMessageBox;
    // clang-format off
    struct Case { TNbMessageButtons Buttons; QMessageBox::StandardButtons Shown; };
    const Case kCases[] = {
        {nmbOk, B::Ok}, {nmbOkCancel, B::Ok | B::Cancel}, {nmbAbortRetryIgnore, B::Abort | B::Retry | B::Ignore},
        {nmbYesNoCancel, B::Yes | B::No | B::Cancel}, {nmbYesNo, B::Yes | B::No}, {nmbRetryCancel, B::Retry | B::Cancel},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MessageBoxButtons(C.Buttons), C.Shown) << C.Buttons;
}

TEST(RowHeightForFont, MeiryoTable)
{
    // clang-format off
    struct Case { int32_t Height; int32_t Leading; };
    const Case kCases[] = {
        {8, 0}, {-8, 0}, {0, 0}, {9, 2}, {-11, 2}, {17, 2}, {18, 3}, {24, 3},
        {25, 4}, {-25, 4}, {26, 5}, {27, 5}, {30, 6}, {200, 45},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(MeiryoInternalLeading(C.Height), C.Leading) << C.Height;
}

TEST(RowHeightForFont, MeiryoFontsOfTheWindows)
{
    // clang-format off
    struct Case { int Pixels; int32_t Extra; int32_t Height; };
    const Case kCases[] = {{11, 11, 20}, {12, 11, 21}, {12, 10, 20}, {8, 0, 8}, {26, 0, 21}};
    // clang-format on
    for (const Case& C : kCases) {
        QFont Font(QStringLiteral("メイリオ"));
        Font.setPixelSize(C.Pixels);
        EXPECT_EQ(RowHeightForFont(Font, C.Extra), C.Height) << C.Pixels << " + " << C.Extra;
    }
    // 9 points are 12 pixels at 96 dpi.
    QFont Points(QStringLiteral("メイリオ"));
    Points.setPointSize(9);
    EXPECT_EQ(FontHeightPixels(Points), 12);
    EXPECT_EQ(RowHeightForFont(Points, 11), 21);
}

TEST(RowHeightForFont, MeiryoIsDrawnWithTheJapaneseNotoFace)
{
    InstallFontSubstitutes();
    QFont Font(QStringLiteral("メイリオ"));
    Font.setPixelSize(12);
    EXPECT_EQ(QFontInfo(Font).family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(Font.family(), QStringLiteral("メイリオ")) << "the table goes by the family asked for";
    EXPECT_EQ(RowHeightForFont(Font, 11), 21);
}

TEST(RowHeightForFont, OtherFacesUseTheirMetrics)
{
    QFont Font(QStringLiteral("Noto Sans CJK JP"));
    Font.setPixelSize(40);
    const QFontMetrics Metrics(Font);
    EXPECT_EQ(FontInternalLeading(Font), std::max(0, Metrics.ascent() + Metrics.descent() - 40));
    EXPECT_EQ(RowHeightForFont(Font, 10), 50 - FontInternalLeading(Font));
}

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

TEST(PathNames, LastComponentAndFullName)
{
    // clang-format off
    struct Case { const char* Path; const char* Name; const char* Full; bool Root; };
    const Case kCases[] = {
        {"/",                     "/",       "/",                     true},
        {"/.",                    "/",       "/",                     true},
        {"/home/..",              "/",       "/",                     true},
        {"/data",                 "data",    "/data",                 false},
        {"/data/",                "data",    "/data",                 false},
        {"/home/kaikei/帳簿",     "帳簿",    "/home/kaikei/帳簿",     false},
        {"/home/kaikei/帳簿/",    "帳簿",    "/home/kaikei/帳簿",     false},
        {"/home//kaikei/./x/../帳簿", "帳簿", "/home/kaikei/帳簿",    false},
    };
    // clang-format on
    for (const Case& C : kCases) {
        const QString Path = QString::fromUtf8(C.Path);
        EXPECT_EQ(PathDisplayName(Path), QString::fromUtf8(C.Name)) << C.Path;
        EXPECT_EQ(PathFullDisplayName(Path), QString::fromUtf8(C.Full)) << C.Path;
        EXPECT_EQ(IsDriveRoot(Path), C.Root) << C.Path;
    }
    // A relative path is taken from the current folder.
    EXPECT_EQ(PathFullDisplayName("sub"), QDir::current().absoluteFilePath("sub"));
}

TEST(DirectoryExistsQuiet, OnlyForExistingFolders)
{
    QTemporaryDir Dir;
    WriteAll(Dir.path() + "/file.csv", "x");
    EXPECT_TRUE(DirectoryExistsQuiet(Dir.path()));
    EXPECT_TRUE(DirectoryExistsQuiet(Dir.path() + "/"));
    EXPECT_FALSE(DirectoryExistsQuiet(Dir.path() + "/file.csv"));
    EXPECT_FALSE(DirectoryExistsQuiet(Dir.path() + "/missing"));
    EXPECT_FALSE(DirectoryExistsQuiet(""));
}

TEST(SpecialFolderPath, FullPathsWithTrailingSeparator)
{
    const TScopedEnv Home("HOME", "/home/kaikei");
    EXPECT_EQ(SpecialFolderPath(1), "/home/kaikei/Documents/");
    EXPECT_EQ(SpecialFolderPath(0), "/home/kaikei/Desktop/");
    EXPECT_EQ(SpecialFolderPath(99), SpecialFolderPath(0));
    for (const int Code : {2, 3, 4}) {
        const QString Path = SpecialFolderPath(Code);
        EXPECT_TRUE(Path.startsWith("/") && Path.endsWith("/")) << Code << " " << Path.toStdString();
    }
}

TEST(OpenWithShell, RaisesTheOsErrorWithThePath)
{
    QTemporaryDir Dir;
    const QString File = Dir.path() + "/guide.html";
    WriteAll(File, "<html></html>");
    // clang-format off
    struct Case { QString Path; std::optional<bool> Desktop; int32_t Code; };
    const Case kCases[] = {
        {Dir.path() + "/missing.html",      std::nullopt, 2},
        {Dir.path() + "/no/such/file.html", std::nullopt, 3},
        {File,                              false,        1155},
        {File,                              true,         0},
    };
    // clang-format on
    for (const Case& C : kCases) {
        if (C.Desktop)
            SetNextOpenWithShellResult(*C.Desktop);
        try {
            OpenWithShell(C.Path);
            EXPECT_EQ(C.Code, 0) << C.Path.toStdString();
        } catch (const ETvrOsError& E) {
            EXPECT_EQ(E.Code(), C.Code) << C.Path.toStdString();
            EXPECT_EQ(QString::fromStdString(E.what()), OsErrorText(C.Code) + "\n\n" + C.Path);
        }
    }
}

TEST(RaiseOsError, TrimsTheMessage)
{
    try {
        RaiseOsError(5, "  /data/x  \n");
        FAIL();
    } catch (const ETvrOsError& E) {
        EXPECT_EQ(E.Code(), 5);
        EXPECT_EQ(QString::fromStdString(E.what()), OsErrorText(5) + "\n\n  /data/x");
    }
}

TEST(SelectFolder, ConfirmedEmptyAndCancelled)
{
    // clang-format off
    struct Case { std::optional<QString> Picked; bool Result; QString Path; };
    const Case kCases[] = {
        {QString("/data/2025"),  true,  "/data/2025/"},
        {QString("/data/2025/"), true,  "/data/2025/"},
        {QString(""),            false, "/start/"},
        {std::nullopt,           false, "/start/"},
    };
    // clang-format on
    for (const Case& C : kCases) {
        QString Path = "/start/";
        SetNextSelectedFolder(C.Picked);
        EXPECT_EQ(SelectFolder("参照", Path, nullptr), C.Result) << C.Picked.value_or("(cancel)").toStdString();
        EXPECT_EQ(Path, C.Path);
    }
}

TEST(ItemHintDecision, OnlyWhereTheTextDoesNotFit)
{
    const QRect Item(0, 0, 100, 20);
    // clang-format off
    struct Case { const char* Text; const char* Hint; QSize Size; const char* Shown; };
    const Case kCases[] = {
        {"fits",  "fits",  {96, 18},  ""},
        {"wide",  "wide",  {97, 18},  "wide"},
        {"tall",  "tall",  {96, 19},  "tall"},
        {"fits",  "other", {10, 10},  "other"},
        {"",      "",      {0, 0},    ""},
        {"",      "hint",  {10, 10},  "hint"},
    };
    // clang-format on
    for (const Case& C : kCases)
        EXPECT_EQ(ItemHintDecision(C.Text, C.Hint, C.Size, Item), QString(C.Shown)) << C.Text << "/" << C.Hint;
}

TEST(BrowseButtonGlyph, ThreeDotsCentred)
{
    const QImage Glyph = BrowseButtonGlyph(QSize(23, 26));
    ASSERT_EQ(Glyph.size(), QSize(19, 22));
    // Columns 19/2 - 5 = 4, 8 and 12, two pixels wide; rows 10 and 11.
    for (int Y = 0; Y < Glyph.height(); ++Y) {
        for (int X = 0; X < Glyph.width(); ++X) {
            const bool Dot = (Y == 10 || Y == 11) && (X == 4 || X == 5 || X == 8 || X == 9 || X == 12 || X == 13);
            EXPECT_EQ(Glyph.pixelColor(X, Y), Dot ? QColor(Qt::black) : QColor(Qt::transparent)) << X << "," << Y;
        }
    }
}

} // namespace
} // namespace tavrel
