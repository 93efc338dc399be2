// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtPdf.h"

#include <QBuffer>
#include <string_view>

#include "print/PrtPdfText.h"
#include "tables/TvrCsv.h"
#include "tables/TvrValue.h"

namespace tavrel {

namespace {

// Fine enough for any line and glyph position on paper.
constexpr int kPdfResolution = 1200;

} // namespace

TPrtPdfWriter::TPrtPdfWriter(QIODevice* ADevice) : QPdfWriter(ADevice)
{
    setResolution(kPdfResolution);
    setCreator(QStringLiteral("Tavrel"));
}

void TPrtPdfWriter::NoteText(const QString& AText) { AddCodePoints(AText, FDrawn); }

QByteArray PagesPdf(const std::vector<TPrtPage>& APages, const QString& ATitle)
{
    // A PDF file holds at least one page.
    if (APages.empty())
        throw ETvrError("印刷するページがありません。");
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    TPrtAliases Aliases;
    {
        TPrtPdfWriter Writer(&Buffer);
        Writer.setTitle(ATitle);
        if (!PaintPages(Writer, APages))
            throw ETvrError("PDFファイルを描画できませんでした。");
        Aliases = GlyphAliases(Writer.Drawn(), PrtFonts());
    }
    return MendToUnicodeMaps(Buffer.data(), Aliases);
}

void WritePagesPdf(const std::string& APath, const std::vector<TPrtPage>& APages, const QString& ATitle)
{
    const QByteArray Bytes = PagesPdf(APages, ATitle);
    WriteFileIfChanged(APath, std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())),
                       TTvrWriteDurability::Regenerable);
}

} // namespace tavrel
