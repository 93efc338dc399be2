// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbMessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include "shell/NbWindows.h"

namespace tavrel {

namespace {

std::optional<int> GNextMessageBoxResult;
std::optional<TNbShownMessageBox> GLastMessageBox;
int GMessageBoxCount = 0;

// Replaces every AFrom (any letter case) by ATo.
void ReplaceAll(QString& AText, const QString& AFrom, const QString& ATo)
{
    AText.replace(AFrom, ATo, Qt::CaseInsensitive);
}

} // namespace

QString MessageBoxText(const QString& AText)
{
    const QString Placeholder(QChar(1));
    QString Text = AText;
    Text.replace(QStringLiteral("\\\\"), Placeholder);
    ReplaceAll(Text, QStringLiteral("~n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\r\\n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\n"), QStringLiteral("\n"));
    ReplaceAll(Text, QStringLiteral("\\r"), QStringLiteral("\n"));
    Text.replace(Placeholder, QStringLiteral("\\"));
    return Text;
}

QString MessageBoxText(const QString& ATemplate, const QStringList& AValues)
{
    const QString Text = MessageBoxText(ATemplate);
    // One pass over the template: a value is never searched for markers of
    // the values after it, as a chain of QString::arg would.
    QString Result;
    Result.reserve(Text.size());
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'%' && I + 1 < Text.size() && Text[I + 1] >= u'1' && Text[I + 1] <= u'9') {
            const qsizetype Value = Text[I + 1].unicode() - u'1';
            if (Value < AValues.size()) {
                Result += AValues[Value];
                ++I;
                continue;
            }
        }
        Result += Text[I];
    }
    return Result;
}

QString MessageBoxCaption()
{
    const QString Name = qEnvironmentVariable("AppProgramName");
    if (!Name.isEmpty())
        return Name;
    const QString Program = QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                         : QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QFileInfo(Program).completeBaseName();
}

QMessageBox::Icon MessageBoxIcon(TNbMessageKind AKind)
{
    switch (AKind) {
    case nmkWarning:
        return QMessageBox::Warning;
    case nmkError:
        return QMessageBox::Critical;
    case nmkInformation:
    case nmkNotice:
        return QMessageBox::Information;
    case nmkQuestion:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons MessageBoxButtons(TNbMessageButtons AButtons)
{
    switch (AButtons) {
    case nmbOk:
        return QMessageBox::Ok;
    case nmbOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case nmbAbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case nmbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case nmbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case nmbRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TNbMessageAnswer MessageBoxAnswer(int AResult)
{
    switch (AResult) {
    case QMessageBox::Ok:
        return nmaOk;
    case QMessageBox::Cancel:
        return nmaCancel;
    case QMessageBox::Abort:
        return nmaAbort;
    case QMessageBox::Retry:
        return nmaRetry;
    case QMessageBox::Ignore:
        return nmaIgnore;
    case QMessageBox::Yes:
        return nmaYes;
    case QMessageBox::No:
        return nmaNo;
    default:
        return nmaNone;
    }
}

namespace {

// Shows the text exactly as given.
TNbMessageAnswer ShowBox(TNbMessageKind AKind, const QString& AText, TNbMessageButtons AButtons)
{
    QMessageBox Box(MessageBoxIcon(AKind), MessageBoxCaption(), AText, MessageBoxButtons(AButtons),
                    QApplication::activeWindow());
    // A file name is shown as named, never read as markup.
    Box.setTextFormat(Qt::PlainText);
    ++GMessageBoxCount;
    // Linux desktops have one bell for every kind of message.
    QApplication::beep();
    int Result = 0;
    if (GNextMessageBoxResult) {
        Result = *GNextMessageBoxResult;
        GNextMessageBoxResult.reset();
        GLastMessageBox = TNbShownMessageBox {Box.windowTitle(), Box.text(), Box.icon(), Box.standardButtons()};
    } else {
        Result = Box.exec();
    }
    RepaintApplicationWindows();
    return MessageBoxAnswer(Result);
}

} // namespace

TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& AText, TNbMessageButtons AButtons)
{
    return ShowBox(AKind, MessageBoxText(AText), AButtons);
}

TNbMessageAnswer ShowMessageBox(TNbMessageKind AKind, const QString& ATemplate, const QStringList& AValues,
                                TNbMessageButtons AButtons)
{
    return ShowBox(AKind, MessageBoxText(ATemplate, AValues), AButtons);
}

void ShowErrorMessage(const std::exception& AError)
{
    ShowBox(nmkError, QString::fromUtf8(AError.what()), nmbOk);
}

void SetNextMessageBoxResult(int AResult)
{
    GNextMessageBoxResult = AResult;
}

const std::optional<TNbShownMessageBox>& LastMessageBox()
{
    return GLastMessageBox;
}

int MessageBoxCount()
{
    return GMessageBoxCount;
}

} // namespace tavrel
