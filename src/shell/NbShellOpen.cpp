// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbShellOpen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>
#include <QUrl>
#include <QWidget>

#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/NbPaths.h"
#include "shell/NbWindows.h"

namespace tavrel {

namespace {

std::optional<bool> GNextOpenWithShellResult;
QString GLastOpenedWithShell;
bool GHasNextSelectedFolder = false;
std::optional<QString> GNextSelectedFolder;
QString GLastSelectFolderStart;
bool GHasNextSaveFileName = false;
std::optional<QString> GNextSaveFileName;
QString GLastProposedSaveFileName;

// Brings the window that asked back in front of the others once a picker
// is gone.
void RestoreFront(QWidget* AForm)
{
    RepaintApplicationWindows();
    QWidget* Front = AForm ? AForm : QApplication::activeWindow();
    if (Front) {
        Front->repaint();
        Front->raise();
        Front->activateWindow();
    }
}

} // namespace

QString OsErrorText(int32_t ACode)
{
    switch (ACode) {
    case kOsErrorFileNotFound:
        return QStringLiteral("指定されたファイルが見つかりません。");
    case kOsErrorPathNotFound:
        return QStringLiteral("指定されたパスが見つかりません。");
    case kOsErrorAccessDenied:
        return QStringLiteral("アクセスが拒否されました。");
    case kOsErrorNotEnoughMemory:
        return QStringLiteral("このコマンドを実行するのに十分なメモリがありません。");
    case kOsErrorSharingViolation:
        return QStringLiteral("別のプロセスが使用中のため、ファイルにアクセスできません。");
    case kOsErrorNoAssociation:
        return QStringLiteral("指定されたファイルに関連付けられたアプリケーションがありません。");
    case kOsErrorDdeFail:
        return QStringLiteral("アプリケーションへのコマンドの送信中にエラーが発生しました。");
    case kOsErrorDllNotFound:
        return QStringLiteral("このアプリケーションを実行するために必要なライブラリ ファイルが見つかりません。");
    default:
        return QStringLiteral("システム エラー (コード %1) が発生しました。").arg(ACode);
    }
}

void RaiseOsError(int32_t ACode, const QString& ADetail)
{
    const QString Message = (OsErrorText(ACode) + QStringLiteral("\n\n") + ADetail).trimmed();
    throw ETvrOsError(Message.toStdString(), ACode);
}

void OpenWithShell(const QString& APath)
{
    GLastOpenedWithShell = APath;
    const QFileInfo Info(APath);
    if (!Info.exists())
        RaiseOsError(Info.dir().exists() ? kOsErrorFileNotFound : kOsErrorPathNotFound, APath);
    if (!Info.isReadable())
        RaiseOsError(kOsErrorAccessDenied, APath);
    bool Opened = false;
    if (GNextOpenWithShellResult) {
        Opened = *GNextOpenWithShellResult;
        GNextOpenWithShellResult.reset();
    } else {
        Opened = QDesktopServices::openUrl(QUrl::fromLocalFile(Info.absoluteFilePath()));
    }
    // The desktop does not say why it could not open the file; it exists and
    // is readable, so no program is associated with it.
    if (!Opened)
        RaiseOsError(kOsErrorNoAssociation, APath);
}

void SetNextOpenWithShellResult(bool AOpened)
{
    GNextOpenWithShellResult = AOpened;
}

QString LastOpenedWithShell()
{
    return GLastOpenedWithShell;
}

bool SelectFolder(const QString& ACaption, QString& APath, QWidget* AForm)
{
    // The arrow while the picker is up, whatever cursor the caller shows.
    const TNbOverrideCursor Arrow(Qt::ArrowCursor);
    GLastSelectFolderStart = APath;
    const QString Start = APath.isEmpty() ? SpecialFolderPath(kSpecialFolderDesktop) : APath;
    QString Chosen;
    bool Confirmed = false;
    if (GHasNextSelectedFolder) {
        GHasNextSelectedFolder = false;
        Confirmed = GNextSelectedFolder.has_value();
        Chosen = GNextSelectedFolder.value_or(QString());
    } else {
        // The title takes the caption's first line; the rest of the
        // instruction is shown in the dialog above Qt's own picker, which
        // can make a new folder and takes typed paths.
        const qsizetype LineEnd = ACaption.indexOf(u'\n');
        QDialog Dialog(AForm);
        Dialog.setObjectName(QStringLiteral("SelectFolderDialog"));
        Dialog.setWindowTitle(LineEnd < 0 ? ACaption : ACaption.left(LineEnd));
        auto* Layout = new QVBoxLayout(&Dialog);
        const QString Instruction = LineEnd < 0 ? QString() : ACaption.mid(LineEnd + 1).trimmed();
        if (!Instruction.isEmpty()) {
            auto* Label = new QLabel(Instruction, &Dialog);
            Label->setObjectName(QStringLiteral("SelectFolderInstruction"));
            Label->setTextFormat(Qt::PlainText);
            Label->setWordWrap(true);
            Layout->addWidget(Label);
        }
        auto* Picker = new QFileDialog(&Dialog, QString(), Start);
        Picker->setWindowFlags(Qt::Widget);
        Picker->setFileMode(QFileDialog::Directory);
        Picker->setOption(QFileDialog::ShowDirsOnly, true);
        Picker->setOption(QFileDialog::DontUseNativeDialog, true);
        Layout->addWidget(Picker);
        QObject::connect(Picker, &QFileDialog::finished, &Dialog, &QDialog::done);
        Dialog.resize(Picker->sizeHint().width(), Picker->sizeHint().height() + 40);
        Confirmed = Dialog.exec() == QDialog::Accepted;
        if (Confirmed && !Picker->selectedFiles().isEmpty())
            Chosen = Picker->selectedFiles().constFirst();
    }
    bool Result = false;
    if (Confirmed && !Chosen.isEmpty()) {
        APath = Chosen.endsWith(u'/') ? Chosen : Chosen + u'/';
        Result = true;
    } else if (Confirmed) {
        QApplication::beep();
    }
    RestoreFront(AForm);
    return Result;
}

void SetNextSelectedFolder(std::optional<QString> AFolder)
{
    GHasNextSelectedFolder = true;
    GNextSelectedFolder = std::move(AFolder);
}

QString LastSelectFolderStart()
{
    return GLastSelectFolderStart;
}

std::optional<QString> SelectSaveFileName(const QString& ACaption, const QString& AProposed, const QString& AFilter,
                                          const QString& ASuffix, QWidget* AForm)
{
    const TNbOverrideCursor Arrow(Qt::ArrowCursor);
    GLastProposedSaveFileName = AProposed;
    std::optional<QString> Chosen;
    if (GHasNextSaveFileName) {
        GHasNextSaveFileName = false;
        Chosen = std::move(GNextSaveFileName);
        GNextSaveFileName.reset();
    } else {
        // Qt's own picker, as the folder picker is; the question about a
        // file that exists is the program's own, below.
        QFileDialog Picker(AForm, ACaption, AProposed, AFilter);
        Picker.setObjectName(QStringLiteral("SelectSaveFileDialog"));
        Picker.setAcceptMode(QFileDialog::AcceptSave);
        Picker.setFileMode(QFileDialog::AnyFile);
        Picker.setOption(QFileDialog::DontUseNativeDialog, true);
        Picker.setOption(QFileDialog::DontConfirmOverwrite, true);
        Picker.setDefaultSuffix(ASuffix);
        Picker.selectFile(AProposed);
        if (Picker.exec() == QDialog::Accepted && !Picker.selectedFiles().isEmpty())
            Chosen = Picker.selectedFiles().constFirst();
    }
    RestoreFront(AForm);
    if (!Chosen || Chosen->isEmpty())
        return std::nullopt;
    if (!ASuffix.isEmpty() && QFileInfo(*Chosen).suffix().isEmpty())
        *Chosen += u'.' + ASuffix;
    if (QFileInfo::exists(*Chosen)
        && ShowMessageBox(nmkQuestion, QStringLiteral("ファイル \"%1\" は既にあります。\n置き換えますか？"), {*Chosen},
                          nmbYesNo)
               != nmaYes)
        return std::nullopt;
    return Chosen;
}

void SetNextSaveFileName(std::optional<QString> AFileName)
{
    GHasNextSaveFileName = true;
    GNextSaveFileName = std::move(AFileName);
}

QString LastProposedSaveFileName()
{
    return GLastProposedSaveFileName;
}


} // namespace tavrel
