// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Printing from a window: Qt's print preview with the system's printers,
// showing the pages a painter draws on the printer chosen.

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace tavrel {

// Paints every page on the device; false when painting could not start.
using TNbPaintPages = std::function<bool(QPagedPaintDevice& ADevice)>;

// Shows the print preview of what APaint draws, modal over AForm and titled
// ATitle: the pages as they will be printed, the system's printers to
// choose from (its default printer first) and the button that prints.
// APaint is called whenever the preview or the printer needs the pages. An
// error it raises, or painting that cannot start, is said in a box and the
// preview stays.
void ShowPrintPreview(const QString& ATitle, const TNbPaintPages& APaint, QWidget* AForm);
// Test seam: the next ShowPrintPreview shows no dialog but paints once on
// ADevice (a PDF writer, say), as the preview asks its printer for the
// pages, and returns. The device must live until then.
void SetNextPrintPreviewDevice(QPagedPaintDevice* ADevice);

} // namespace tavrel
