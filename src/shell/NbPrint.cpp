// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbPrint.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <exception>

#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/NbWindows.h"

namespace tavrel {

namespace {

QPagedPaintDevice* GNextPrintPreviewDevice = nullptr;

// Paints on the device; an error is said in a box, since it cannot leave
// the preview's signal.
void PaintOrSay(const TNbPaintPages& APaint, QPagedPaintDevice& ADevice)
{
    try {
        if (!APaint(ADevice))
            ShowMessageBox(nmkWarning, QStringLiteral("印刷を開始できませんでした。"), nmbOk);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
}

} // namespace

void ShowPrintPreview(const QString& ATitle, const TNbPaintPages& APaint, QWidget* AForm)
{
    if (QPagedPaintDevice* Device = GNextPrintPreviewDevice) {
        GNextPrintPreviewDevice = nullptr;
        PaintOrSay(APaint, *Device);
        return;
    }
    const TNbOverrideCursor Arrow(Qt::ArrowCursor);
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setDocName(ATitle);
    Printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPrintPreviewDialog Preview(&Printer, AForm);
    Preview.setObjectName(QStringLiteral("PrintPreviewDialog"));
    Preview.setWindowTitle(QStringLiteral("印刷プレビュー - %1").arg(ATitle));
    QObject::connect(&Preview, &QPrintPreviewDialog::paintRequested, &Preview,
                     [&APaint](QPrinter* APrinter) { PaintOrSay(APaint, *APrinter); });
    Preview.exec();
    RepaintApplicationWindows();
}

void SetNextPrintPreviewDevice(QPagedPaintDevice* ADevice)
{
    GNextPrintPreviewDevice = ADevice;
}

} // namespace tavrel
