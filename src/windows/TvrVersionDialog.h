// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The version dialog: the program's icon, title and version, the reading of
// the Japanese title and the company of the program file's version block.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QFrame;

namespace tavrel {

class TTvrVersionDialog : public QDialog {
public:
    // Fills the dialog from the version block of AProgramFile (the running
    // program when empty).
    explicit TTvrVersionDialog(QWidget* AOwner, const QString& AProgramFile = QString());

    QLabel* Label1() const { return FLabel1; }
    QLabel* Label2() const { return FLabel2; }
    QLabel* Label3() const { return FLabel3; }
    QLabel* Image1() const { return FImage1; }
    QPushButton* Button1() const { return FButton1; }

protected:
    // OK is also the cancel button: Esc closes the dialog with the result OK.
    void keyPressEvent(QKeyEvent* AEvent) override;

private:
    void FormCreate(const QString& AProgramFile);

    QLabel* FImage1 = nullptr;
    QLabel* FLabel1 = nullptr;
    QLabel* FLabel2 = nullptr;
    QLabel* FLabel3 = nullptr;
    QFrame* FPanel1 = nullptr;
    QPushButton* FButton1 = nullptr;
};

} // namespace tavrel
