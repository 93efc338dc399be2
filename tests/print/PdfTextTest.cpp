// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The text layer of the PDF files: the fonts' ToUnicode maps mended so that
// what a reader extracts, copies or searches is exactly what was drawn, and
// the file still whole after the maps grew.

#include "PrintTestSupport.h"

#include <gmock/gmock.h>

#include <QPdfWriter>
#include <QtEndian>
#include <map>

#include "print/PrtPaint.h"
#include "print/PrtPdf.h"
#include "print/PrtPdfText.h"

namespace tavrel::printtest {
namespace {

using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::Not;

const QByteArray kCMapHead = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                             "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                             "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
const QByteArray kCMapTail = "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";

// The glyph-to-text entries of a CMap made of bfchar blocks, read here
// independently of the code under test.
std::map<std::string, std::string> BfChars(const QByteArray& ACMap)
{
    std::map<std::string, std::string> Entries;
    const QString Text = QString::fromLatin1(ACMap);
    QRegularExpression Block(QStringLiteral("beginbfchar\\n(.*?)endbfchar"),
                             QRegularExpression::DotMatchesEverythingOption);
    for (auto B = Block.globalMatch(Text); B.hasNext();) {
        const QString Body = B.next().captured(1);
        QRegularExpression Pair(QStringLiteral("<([0-9A-F]+)> <([0-9A-F]+)>"));
        for (auto P = Pair.globalMatch(Body); P.hasNext();) {
            const auto M = P.next();
            Entries[M.captured(1).toStdString()] = M.captured(2).toStdString();
        }
    }
    return Entries;
}

TEST(MendCMap, RewritesEntriesOfEveryFormThroughTheAliases)
{
    const QByteArray CMap = kCMapHead +
                            "3 beginbfrange\n"
                            "<0000> <0000> <0000>\n"
                            "<0001> <0003> [<53CE> <2F40> <6C7A> ]\n"
                            "<0004> <0006> <2F0A>\n"
                            "endbfrange\n"
                            "2 beginbfchar\n"
                            "<0007> <301C>\n"
                            "<0008> <2E8F>\n"
                            "endbfchar\n" +
                            kCMapTail;
    const TPrtAliases Aliases = {{0x2F40, 0x652F}, {0x2F0B, 0x516B}, {0x301C, 0xFF5E}, {0x2E8F, 0x20BB7}};
    const QByteArray Mended = MendCMap(CMap, Aliases);
    EXPECT_TRUE(Mended.startsWith(kCMapHead));
    EXPECT_TRUE(Mended.endsWith(kCMapTail));
    const std::map<std::string, std::string> Expected = {
        {"0000", "0000"}, {"0001", "53CE"}, {"0002", "652F"}, {"0003", "6C7A"}, {"0004", "2F0A"},
        {"0005", "516B"}, {"0006", "2F0C"}, {"0007", "FF5E"}, {"0008", "D842DFB7"},
    };
    EXPECT_EQ(BfChars(Mended), Expected);
    EXPECT_FALSE(Mended.contains("bfrange"));
}

TEST(MendCMap, LeavesAMapAsItIsWhenNothingIsAliasedOrItCannotBeRead)
{
    const TPrtAliases Aliases = {{0x2F40, 0x652F}};
    const QByteArray Plain = kCMapHead + "1 beginbfrange\n<0001> <0002> [<53CE> <6C7A> ]\nendbfrange\n" + kCMapTail;
    const QByteArray Cids = kCMapHead + "1 begincidrange\n<0001> <0002> 5\nendcidrange\n" + kCMapTail;
    const QByteArray Broken = kCMapHead + "1 beginbfchar\n<0001> <2F40\nendbfchar\n" + kCMapTail;
    for (const QByteArray& CMap : {Plain, Cids, Broken, QByteArray("not a cmap")})
        EXPECT_EQ(MendCMap(CMap, Aliases), CMap) << CMap.toStdString();
}

TEST(GlyphAliases, MapsTheCodePointTheWriterPicksForAGlyphToTheCharacterDrawn)
{
    struct TCase {
        std::u32string Drawn;
        TPrtAliases Expected;
    };
    // clang-format off
    const TCase kCases[] = {
        // The Kangxi radicals come before the ideographs they share a glyph with.
        {U"支",         {{0x2F40, 0x652F}}},
        {U"入金",       {{0x2F0A, 0x5165}, {0x2FA6, 0x91D1}}},
        // The wave dash comes before the full-width tilde.
        {U"～",         {{0x301C, 0xFF5E}}},
        // Drawn as itself: nothing to mend.
        {U"A1,",        {}},
        {U"⼊",         {}},
        // Both drawn: the glyph cannot tell them apart; left as it is.
        {U"⼊入",       {}},
    };
    // clang-format on
    for (const TCase& C : kCases) {
        const std::set<char32_t> Drawn(C.Drawn.begin(), C.Drawn.end());
        TPrtAliases Aliases = GlyphAliases(Drawn, PrtFonts());
        // The space's glyph, which several blanks share, is not at issue here.
        EXPECT_EQ(Aliases, C.Expected) << QString::fromUcs4(C.Drawn.data(), C.Drawn.size()).toStdString();
    }
}

// A PDF file of four objects written by hand: a catalog, a font whose
// ToUnicode map is a Flate stream with its length in a fifth object.
QByteArray HandMadePdf(const QByteArray& ACMap)
{
    const QByteArray Stream = qCompress(ACMap).mid(4);
    QByteArray Pdf = "%PDF-1.4\n";
    std::vector<qsizetype> Offsets;
    const auto Object = [&](const QByteArray& ABody) {
        Offsets.push_back(Pdf.size());
        Pdf += QByteArray::number(static_cast<qsizetype>(Offsets.size())) + " 0 obj\n" + ABody + "\nendobj\n";
    };
    Object("<<\n/Type /Catalog\n>>");
    Object("<< /Type /Font\n/Subtype /Type0\n/ToUnicode 3 0 R>>");
    Object("<<\n/Length 4 0 R\n/Filter /FlateDecode\n>>\nstream\n" + Stream + "\nendstream");
    Object(QByteArray::number(Stream.size()));
    const qsizetype Xref = Pdf.size();
    Pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (const qsizetype Offset : Offsets)
        Pdf += QByteArray::number(Offset).rightJustified(10, '0') + " 00000 n \n";
    Pdf += "trailer\n<<\n/Size 5\n/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(Xref) + "\n%%EOF\n";
    return Pdf;
}

TEST(MendToUnicodeMaps, RewritesACompressedMapAndRebuildsTheCrossReferenceTable)
{
    const QByteArray CMap = kCMapHead + "1 beginbfrange\n<0001> <0002> [<53CE> <2F40> ]\nendbfrange\n" + kCMapTail;
    const QByteArray Pdf = HandMadePdf(CMap);
    const QByteArray Mended = MendToUnicodeMaps(Pdf, {{0x2F40, 0x652F}});
    ASSERT_NE(Mended, Pdf);

    // Every entry of the new table points at its object; startxref at it.
    const qsizetype StartXref = Mended.lastIndexOf("startxref\n");
    ASSERT_GE(StartXref, 0);
    const qsizetype Xref = Mended.mid(StartXref + 10).split('\n').front().toLongLong();
    ASSERT_TRUE(Mended.mid(Xref).startsWith("xref\n0 5\n0000000000 65535 f \n"));
    const QList<QByteArray> Entries = Mended.mid(Xref).split('\n').mid(3, 4);
    for (int N = 1; N <= 4; ++N) {
        const qsizetype Offset = Entries[N - 1].left(10).toLongLong();
        EXPECT_TRUE(Mended.mid(Offset).startsWith(QByteArray::number(N) + " 0 obj\n")) << N;
    }
    EXPECT_TRUE(Mended.contains("trailer\n<<\n/Size 5\n/Root 1 0 R\n>>\n"));

    // The map, inflated, says 支 where it said ⽀; its length is right.
    const qsizetype Three = Entries[2].left(10).toLongLong();
    const QByteArray Object = Mended.mid(Three);
    const qsizetype Length = QRegularExpression(QStringLiteral("/Length (\\d+)"))
                                 .match(QString::fromLatin1(Object.left(80)))
                                 .captured(1)
                                 .toLongLong();
    const qsizetype Data = Object.indexOf("stream\n") + 7;
    EXPECT_TRUE(Object.mid(Data + Length).startsWith("\nendstream\nendobj\n"));
    QByteArray Framed(4, '\0');
    qToBigEndian<quint32>(100000, Framed.data());
    const QByteArray Inflated = qUncompress(Framed + Object.mid(Data, Length));
    EXPECT_EQ(BfChars(Inflated), (std::map<std::string, std::string>{{"0001", "53CE"}, {"0002", "652F"}}));
}

TEST(MendToUnicodeMaps, LeavesAFileAsItIsWhenItHasNothingToMendOrCannotBeRead)
{
    const TPrtAliases Aliases = {{0x2F40, 0x652F}};
    const QByteArray Unaliased =
        HandMadePdf(kCMapHead + "1 beginbfchar\n<0001> <53CE>\nendbfchar\n" + kCMapTail);
    QByteArray NoXref = HandMadePdf(kCMapHead + "1 beginbfchar\n<0001> <2F40>\nendbfchar\n" + kCMapTail);
    NoXref.replace("xref\n0 5", "xrefs\n0 5");
    for (const QByteArray& Pdf : {Unaliased, NoXref, QByteArray("%PDF-1.4\n"), QByteArray()})
        EXPECT_EQ(MendToUnicodeMaps(Pdf, Aliases), Pdf);
}

// One line of text per entry, regular and bold, on an A4 page.
std::vector<TPrtPage> TextPage(const std::vector<QString>& ATexts)
{
    TPrtPage Page;
    Page.Size = TPrtPaper().PortraitSize;
    double Y = 60;
    for (const QString& Text : ATexts)
        for (const bool Bold : {false, true}) {
            Page.Texts.push_back({QRectF(50, Y, 500, 20), Text, 10.0, Bold, Qt::AlignLeft | Qt::AlignVCenter});
            Y += 24;
        }
    return {Page};
}

// The texts of a treasurer's documents whose characters share their glyphs
// with others that come earlier in the fonts' maps.
const std::vector<QString> kTrapTexts = {
    QStringLiteral("収支決算書 会費収入 山田"),
    QStringLiteral("金額 入金 出金 長谷川 高田 金子"),
    QStringLiteral("2025/04/01～2026/03/31 △1,200"),
    QStringLiteral("上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。"),
    QStringLiteral("■ 収入の部 前期繰越金 次年度繰越金 ⼀"),
};

TEST(PagesPdf, GivesBackExactlyTheTextsDrawn)
{
    TempFolder Temp;
    const std::string File = Temp.Path("t.pdf");
    WritePagesPdf(File, TextPage(kTrapTexts), QStringLiteral("t"));
    const std::vector<std::string> Extracted = Lines(PdfText(File));
    for (const QString& Text : kTrapTexts)
        EXPECT_EQ(CountOf(PdfText(File), Text.toStdString()), 2) << Text.toStdString();
    std::vector<std::string> Expected;
    for (const QString& Text : kTrapTexts)
        for (int Twice = 0; Twice < 2; ++Twice)
            Expected.push_back(Text.toStdString());
    EXPECT_EQ(Extracted, Expected);
}

// What the trap is: the same page from Qt's writer alone reads back with
// radicals and the wave dash.
TEST(PagesPdf, MendsWhatQtsWriterAloneGetsWrong)
{
    TempFolder Temp;
    const QString File = QString::fromStdString(Temp.Path("qt.pdf"));
    {
        QPdfWriter Writer(File);
        ASSERT_TRUE(PaintPages(Writer, TextPage(kTrapTexts)));
    }
    const std::string Text = PdfText(File.toStdString());
    EXPECT_EQ(CountOf(Text, "収支決算書"), 0);
    EXPECT_EQ(CountOf(Text, "収⽀決算書"), 2);
    EXPECT_EQ(CountOf(Text, "2025/04/01〜2026/03/31"), 2);
}

} // namespace
} // namespace tavrel::printtest
