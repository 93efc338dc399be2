// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrYearEndDialog.h"

#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/NbFonts.h"
#include "windows/TvrProgramIcon.h"

namespace tavrel {

namespace {

// Longer texts than any name of a club, its year or a person: the file
// keeps them whole, but the page would have to shrink them.
constexpr int kMaxNameLength = 100;

QLineEdit* NameEdit(QWidget* AParent, const char* AName, const std::string& AText)
{
    auto* Edit = new QLineEdit(QString::fromStdString(AText), AParent);
    Edit->setObjectName(QLatin1String(AName));
    Edit->setMaxLength(kMaxNameLength);
    Edit->setMinimumWidth(260);
    return Edit;
}

std::string Trimmed(const QLineEdit* AEdit)
{
    return AEdit->text().trimmed().toStdString();
}

} // namespace

QString DateEditFormat(const TTvrRegionalSettings& ASettings)
{
    const QString Sep = QString::fromStdString(ASettings.DateSeparator);
    switch (ASettings.ShortDateOrder) {
    case TTvrDateOrder::MDY:
        return QStringLiteral("MM") + Sep + QStringLiteral("dd") + Sep + QStringLiteral("yyyy");
    case TTvrDateOrder::DMY:
        return QStringLiteral("dd") + Sep + QStringLiteral("MM") + Sep + QStringLiteral("yyyy");
    case TTvrDateOrder::YMD:
        break;
    }
    return QStringLiteral("yyyy") + Sep + QStringLiteral("MM") + Sep + QStringLiteral("dd");
}

TTvrYearEndDialog::TTvrYearEndDialog(const TRptParams& AParams, const TTvrRegionalSettings& ASettings,
                                     TTvrDate AToday, QWidget* AParent)
    : QDialog(AParent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("TvrYearEndDialog"));
    setWindowTitle(QStringLiteral("総会資料の作成"));
    setWindowIcon(ProgramIcon());
    setFont(MeiryoFont(11));

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(16, 14, 16, 12);
    Layout->setSpacing(12);
    auto* Instruction = new QLabel(
        QStringLiteral("総会資料 (収支決算書、残高照合表、総会資料.pdf) に記載する内容を入力します。"
                       "[OK] をクリックすると集計を行い、総会資料を作成して開きます。"),
        this);
    Instruction->setObjectName(QStringLiteral("InstructionLabel"));
    Instruction->setTextFormat(Qt::PlainText);
    Instruction->setWordWrap(true);
    Layout->addWidget(Instruction);

    auto* Form = new QFormLayout();
    Form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FOrganisationEdit = NameEdit(this, "OrganisationEdit", AParams.Organisation);
    Form->addRow(QStringLiteral("団体名 :"), FOrganisationEdit);
    FYearTitleEdit = NameEdit(this, "YearTitleEdit", AParams.YearTitle);
    FYearTitleEdit->setPlaceholderText(QStringLiteral("空欄: 期間から (例 2025年度)"));
    Form->addRow(QStringLiteral("年度表示 :"), FYearTitleEdit);
    FTreasurerEdit = NameEdit(this, "TreasurerEdit", AParams.Treasurer);
    Form->addRow(QStringLiteral("会計 :"), FTreasurerEdit);
    for (size_t I = 0; I < FAuditorEdits.size(); ++I) {
        const std::string Name = I < AParams.Auditors.size() ? AParams.Auditors[I] : std::string();
        FAuditorEdits[I] = NameEdit(this, "", Name);
        FAuditorEdits[I]->setObjectName(QStringLiteral("AuditorEdit%1").arg(I + 1));
        Form->addRow(QStringLiteral("監事 %1 :").arg(I + 1), FAuditorEdits[I]);
    }
    FReportDateEdit = new QDateEdit(this);
    FReportDateEdit->setObjectName(QStringLiteral("ReportDateEdit"));
    FReportDateEdit->setCalendarPopup(true);
    FReportDateEdit->setDisplayFormat(DateEditFormat(ASettings));
    int Year = 0, Month = 0, Day = 0;
    AParams.ReportDate.value_or(AToday).Decode(Year, Month, Day);
    FReportDateEdit->setDate(QDate(Year, Month, Day));
    auto* DateRow = new QHBoxLayout();
    DateRow->addWidget(FReportDateEdit);
    DateRow->addStretch(1);
    Form->addRow(QStringLiteral("作成日 :"), DateRow);
    Layout->addLayout(Form);

    auto* Buttons = new QHBoxLayout();
    Buttons->addStretch(1);
    FOkButton = new QPushButton(QStringLiteral("OK"), this);
    FOkButton->setObjectName(QStringLiteral("OkButton"));
    FOkButton->setDefault(true);
    FCancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    FCancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton* Button : {FOkButton, FCancelButton}) {
        Button->setFixedSize(75, 25);
        Buttons->addWidget(Button);
    }
    Layout->addLayout(Buttons);
    connect(FOkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setFixedWidth(440);
    setFixedHeight(sizeHint().height());
    FOrganisationEdit->setFocus();
}

TRptParams TTvrYearEndDialog::Params() const
{
    TRptParams Params;
    Params.Organisation = Trimmed(FOrganisationEdit);
    Params.YearTitle = Trimmed(FYearTitleEdit);
    Params.Treasurer = Trimmed(FTreasurerEdit);
    for (const QLineEdit* Edit : FAuditorEdits)
        Params.Auditors.push_back(Trimmed(Edit));
    const QDate Date = FReportDateEdit->date();
    Params.ReportDate = TTvrDate::Encode(Date.year(), Date.month(), Date.day());
    return Params;
}

} // namespace tavrel
