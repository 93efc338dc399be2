// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The two commands of a window whose content prints, the viewer's sheet on
// show and the chart window's charts: 印刷... opens the print preview, PDF保存...
// writes the same pages as a PDF file. The pages are the page layer's, as
// the command line draws them.

#include <QString>
#include <functional>
#include <string>

class QAction;
class QPagedPaintDevice;
class QWidget;

namespace tavrel {

// What a window prints.
struct TTvrPrintout {
    // The printout's title and the name its PDF file is proposed under
    // (with ".pdf"): 11金銭出納簿, グラフ.
    QString Name;
    // Where the PDF file is proposed: bytes, with the separator.
    std::string Folder;
    // Paints the pages on a printer; false when painting could not start.
    std::function<bool(QPagedPaintDevice& ADevice)> Paint;
    // Writes the pages as a PDF file at the path (bytes); raises ETvrError
    // with the platform's text when it cannot.
    std::function<void(const std::string& APath)> WritePdf;
};

// The commands, named for the tests, their shortcuts working anywhere in
// the window: 印刷... (Ctrl+P) and PDF保存... (Ctrl+Shift+S).
QAction* MakePrintAction(QWidget* AWindow);
QAction* MakePdfSaveAction(QWidget* AWindow);

// 印刷...: the print preview of the printout with the system's printers.
void PrintWithPreview(const TTvrPrintout& APrintout, QWidget* AWindow);
// PDF保存...: asks for the file name, proposing the printout's name with
// .pdf in its folder, and writes the file. An error is said in the error
// box. The path written (bytes), or empty when nothing was.
std::string SavePrintoutPdf(const TTvrPrintout& APrintout, QWidget* AWindow);

} // namespace tavrel
