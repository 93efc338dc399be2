// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// PDF files of laid-out pages.

#include <QIODevice>
#include <QPdfWriter>
#include <QString>
#include <set>
#include <string>
#include <vector>

#include "print/PrtPage.h"
#include "print/PrtPaint.h"

namespace tavrel {

// A PDF writer that keeps the characters of every text drawn on it.
class TPrtPdfWriter final : public QPdfWriter, public TPrtTextSink {
public:
    explicit TPrtPdfWriter(QIODevice* ADevice);
    void NoteText(const QString& AText) override;
    const std::set<char32_t>& Drawn() const { return FDrawn; }

private:
    std::set<char32_t> FDrawn;
};

// The pages as the bytes of a PDF file: A4, the fonts embedded, the text
// selectable and extracted exactly as drawn. Raises ETvrError when there
// is no page or the pages cannot be painted.
QByteArray PagesPdf(const std::vector<TPrtPage>& APages, const QString& ATitle);

// Writes the pages as a PDF file at APath, replacing it atomically. Raises
// ETvrError with the platform's text when it cannot be written.
void WritePagesPdf(const std::string& APath, const std::vector<TPrtPage>& APages, const QString& ATitle);

} // namespace tavrel
