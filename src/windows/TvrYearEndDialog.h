// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The dialog of 総会資料を作成...: what the year-end documents say of who
// hands them in, to whom and on which day: the organisation, the year
// title, the treasurer, three auditors and the report date.

#include <QDialog>
#include <array>

#include "reports/RptRequest.h"
#include "reports/RptYearEnd.h"
#include "tables/TvrValue.h"

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace tavrel {

// The report date's editor shows a date as the regional settings write it
// (2026/04/20 in the Japanese conventions).
QString DateEditFormat(const TTvrRegionalSettings& ASettings);

class TTvrYearEndDialog : public QDialog {
public:
    // Shows AParams (the location's remembered values); a report date of
    // none shows AToday.
    TTvrYearEndDialog(const TRptParams& AParams, const TTvrRegionalSettings& ASettings, TTvrDate AToday,
                      QWidget* AParent);

    // The values as the fields hold them, their blanks trimmed: three
    // auditors in their fields' order (the empty ones too), the report
    // date chosen.
    TRptParams Params() const;

    QLineEdit* OrganisationEdit() const { return FOrganisationEdit; }
    QLineEdit* YearTitleEdit() const { return FYearTitleEdit; }
    QLineEdit* TreasurerEdit() const { return FTreasurerEdit; }
    QLineEdit* AuditorEdit(size_t AIndex) const { return FAuditorEdits[AIndex]; }
    QDateEdit* ReportDateEdit() const { return FReportDateEdit; }
    QPushButton* OkButton() const { return FOkButton; }
    QPushButton* CancelButton() const { return FCancelButton; }

private:
    QLineEdit* FOrganisationEdit = nullptr;
    QLineEdit* FYearTitleEdit = nullptr;
    QLineEdit* FTreasurerEdit = nullptr;
    std::array<QLineEdit*, kMaxAuditors> FAuditorEdits {};
    QDateEdit* FReportDateEdit = nullptr;
    QPushButton* FOkButton = nullptr;
    QPushButton* FCancelButton = nullptr;
};

} // namespace tavrel
