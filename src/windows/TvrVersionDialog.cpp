// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrVersionDialog.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/NbFonts.h"
#include "shell/TvrEnvironment.h"
#include "shell/NbFileInfo.h"
#include "windows/TvrProgramIcon.h"

namespace tavrel {

namespace {

QLabel* MakeLabel(QWidget* AParent, const char* AName, int ALeft, int ATop, const QFont& AFont, const QColor& AColor)
{
    auto* Label = new QLabel(AParent);
    Label->setObjectName(QLatin1String(AName));
    Label->move(ALeft, ATop);
    Label->setFont(AFont);
    QPalette Palette = Label->palette();
    Palette.setColor(QPalette::WindowText, AColor);
    Label->setPalette(Palette);
    return Label;
}

} // namespace

TTvrVersionDialog::TTvrVersionDialog(QWidget* AOwner, const QString& AProgramFile)
    : QDialog(AOwner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("TvrVersionDialog"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(ProgramIcon());
    setFont(MeiryoFont(11, false));
    setFixedSize(299, 127);
    setAutoFillBackground(true);
    QPalette White = palette();
    White.setColor(QPalette::Window, Qt::white);
    setPalette(White);

    FImage1 = new QLabel(this);
    FImage1->setObjectName(QStringLiteral("Image1"));
    FImage1->move(18, 18);
    const QColor Navy(0x00, 0x00, 0x80);
    FLabel1 = MakeLabel(this, "Label1", 86, 18, MeiryoFont(13, true), Navy);
    FLabel2 = MakeLabel(this, "Label2", 86, 35, MeiryoFont(9, false), QColor(0x80, 0x80, 0x80));
    FLabel3 = MakeLabel(this, "Label3", 86, 50, MeiryoFont(12, true), Navy);

    FPanel1 = new QFrame(this);
    FPanel1->setObjectName(QStringLiteral("Panel1"));
    FPanel1->setFrameShape(QFrame::NoFrame);
    FPanel1->setGeometry(0, 127 - 41, 299, 41);
    FPanel1->setAutoFillBackground(true);
    QPalette Own = FPanel1->palette();
    Own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    FPanel1->setPalette(Own);
    FButton1 = new QPushButton(QStringLiteral("OK"), FPanel1);
    FButton1->setObjectName(QStringLiteral("Button1"));
    FButton1->setGeometry(215, 8, 75, 25);
    FButton1->setDefault(true);
    connect(FButton1, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate(AProgramFile);
}

void TTvrVersionDialog::FormCreate(const QString& AProgramFile)
{
    FImage1->setPixmap(ProgramIcon().pixmap(48, 48));
    FImage1->adjustSize();
    TNbFileInfo Info;
    ReadFileInfo(AProgramFile.isEmpty() ? QApplication::applicationFilePath() : AProgramFile, Info);
    FLabel1->setText(QStringLiteral("%1  %2").arg(ApplicationTitle(), Info.ProductVersion));
    FLabel2->setText(QStringLiteral("ミロナカイケイガカリ／タヴレル"));
    FLabel3->setText(Info.CompanyName);
    for (QLabel* Label : {FLabel1, FLabel2, FLabel3})
        Label->adjustSize();
}

void TTvrVersionDialog::keyPressEvent(QKeyEvent* AEvent)
{
    if (AEvent->key() == Qt::Key_Escape && AEvent->modifiers() == Qt::NoModifier) {
        FButton1->click();
        return;
    }
    QDialog::keyPressEvent(AEvent);
}

} // namespace tavrel
