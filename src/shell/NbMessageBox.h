// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The message boxes through which the system says everything it has to
// say: caption, icon and sound by kind, the line-break escapes of the text,
// and the answer as a small enumeration.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <exception>
#include <optional>

namespace tavrel {

enum TNbMessageKind { nmkWarning, nmkError, nmkInformation, nmkNotice, nmkQuestion };
enum TNbMessageButtons { nmbOk, nmbOkCancel, nmbAbortRetryIgnore, nmbYesNoCancel, nmbYesNo, nmbRetryCancel };
enum TNbMessageAnswer {
    nmaOk = 0,
    nmaCancel = 1,
    nmaAbort = 2,
    nmaRetry = 3,
    nmaIgnore = 4,
    nmaYes = 5,
    nmaNo = 6,
    nmaNone = 255
};

// The text as the box shows it: a doubled backslash stands for one
// backslash; "~n", then "\r\n", "\n" and "\r" (the literal pairs, any letter
// case) become line feeds.
QString MessageBoxText(const QString& AText);
// The program's own text with values put in: the escapes of ATemplate are
// turned as above first, then each %1 to %9 is replaced by its value exactly
// as it is, so that a folder named 2024~nenkan or a file name holding a
// backslash shows as it is named. A %n without a value stays.
QString MessageBoxText(const QString& ATemplate, const QStringList& AValues);
// AppProgramName, or the program file's name without folder and extension.
QString MessageBoxCaption();
QMessageBox::Icon MessageBoxIcon(TNbMessageKind AKind);
QMessageBox::StandardButtons MessageBoxButtons(TNbMessageButtons AButtons);
// OK, Cancel, Abort, Retry, Ignore, Yes and No to their answers; anything
// else to nmaNone.
TNbMessageAnswer MessageBoxAnswer(int AResult);

// Shows the text modally with the kind's icon, after the system's beep;
// then repaints the application's main window and the active window. Never
// fails: an unexpected result is nmaNone.
TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& AText, TNbMessageButtons AButtons = nmbOk);
// The same for a text with values put in (MessageBoxText with values).
TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& ATemplate, const QStringList& AValues,
                                TNbMessageButtons AButtons = nmbOk);

// The error box of every error that ends a window's action: the error's own
// text (the engine's and the system's texts are UTF-8) exactly as it is, with
// OK. Such a text names files and folders and already holds its line
// breaks, so no escape in it is turned.
void ShowErrorMessage(const std::exception& AError);

// A box as ShowMessageBox built it.
struct TNbShownMessageBox {
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
};
// Test seam: the next ShowMessageBox builds its box but, instead of showing
// it, records it and takes AResult (a QMessageBox::StandardButton, or any
// other number) as the user's answer.
void SetNextMessageBoxResult(int AResult);
// The box the seam answered last.
const std::optional<TNbShownMessageBox>& LastMessageBox();
// How many boxes ShowMessageBox has built so far, answered by the seam or
// shown.
int MessageBoxCount();

} // namespace tavrel
