// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrPrintCommands.h"

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <exception>
#include <optional>

#include "shell/NbFileNames.h"
#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/NbPrint.h"
#include "shell/NbShellOpen.h"
#include "windows/TvrGridParts.h"

namespace tavrel {

namespace {

// The tool bar's button says what the command says, its dots too: both
// ask something before they print (Qt would leave them out of a button).
QAction* MakeAskingAction(QWidget* AWindow, const char* AName, const QString& ACaption, const QKeySequence& AShortcut)
{
    QAction* Action = MakeGridAction(AWindow, AName, ACaption, AShortcut);
    Action->setIconText(ACaption);
    return Action;
}

} // namespace

QAction* MakePrintAction(QWidget* AWindow)
{
    return MakeAskingAction(AWindow, "ActPrint", QStringLiteral("印刷..."), QKeySequence(Qt::CTRL | Qt::Key_P));
}

QAction* MakePdfSaveAction(QWidget* AWindow)
{
    return MakeAskingAction(AWindow, "ActPdfSave", QStringLiteral("PDF保存..."),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
}

void PrintWithPreview(const TTvrPrintout& APrintout, QWidget* AWindow)
{
    ShowPrintPreview(APrintout.Name, APrintout.Paint, AWindow);
}

std::string SavePrintoutPdf(const TTvrPrintout& APrintout, QWidget* AWindow)
{
    // Qt's picker speaks in UTF-8 names; the name it gives back is found
    // again as bytes.
    const QString Proposed = QFile::decodeName(ToByteArray(APrintout.Folder)) + APrintout.Name + QStringLiteral(".pdf");
    const std::optional<QString> Chosen =
        SelectSaveFileName(QStringLiteral("PDF保存"), Proposed, QStringLiteral("PDF ファイル (*.pdf)"),
                           QStringLiteral("pdf"), AWindow);
    if (!Chosen)
        return std::string();
    const std::string Path = LocalPathBytes(*Chosen);
    try {
        const TNbOverrideCursor Wait;
        APrintout.WritePdf(Path);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return std::string();
    }
    return Path;
}

} // namespace tavrel
