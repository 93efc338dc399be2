// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The source-data creation dialog: rows copied to the clipboard (cells
// separated by tabs, rows by line ends) are pasted into a read-only grid
// whose columns are one source table's columns, checked against their
// columns' types, and saved as that table's CSV file.

#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <QTableView>
#include <cstdint>
#include <string>
#include <vector>

#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

class QAction;
class QLabel;

namespace tavrel {

struct TTvrMksrcParams {
    // The window that owns the dialog (the main window).
    QWidget* Parent = nullptr;
    // The source table's name as the user knows it: its caption.
    QString DataName;
    // Full path of the CSV file to write, as bytes (the folder's name need
    // not be UTF-8).
    std::string FileName;
    // The source table's columns in file order.
    TTvrFieldDefDynArray FieldDefs;
    // The conventions the cells are checked with: the system's, read once
    // at start-up.
    TTvrRegionalSettings Settings;
};

// Shows the dialog modally; true exactly when it was closed by a successful
// save.
bool ExecuteMksrcDialog(const TTvrMksrcParams& AParams);

// The pasted rows: the texts exactly as pasted, each with its validity.
class TTvrMksrcModel : public QAbstractTableModel {
public:
    // Whether a cell's text failed its column's check (a bool); the cells
    // also answer kGridNumericRole.
    static constexpr int InvalidRole = Qt::UserRole + 2;

    TTvrMksrcModel(const TTvrFieldDefDynArray& AFieldDefs, QObject* AParent);

    int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
    int columnCount(const QModelIndex& AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override;
    QVariant headerData(int ASection, Qt::Orientation AOrientation, int ARole = Qt::DisplayRole) const override;

    struct TCell {
        QString Text;
        bool Valid = true;
    };
    using TRow = std::vector<TCell>;
    void SetRows(std::vector<TRow> ARows);
    const std::vector<TRow>& Rows() const { return FRows; }

private:
    TTvrFieldDefDynArray FFieldDefs;
    std::vector<TRow> FRows;
};

class TTvrMksrcDialog : public QDialog {
public:
    explicit TTvrMksrcDialog(const TTvrMksrcParams& AParams);
    // Keeps the dialog's size in the configuration when there is one.
    ~TTvrMksrcDialog() override;

    // Runs the paste for ActPaste and the save for ActSave.
    void ActExecute(QAction* ASender);
    // The grid's hint: the cell's text (shown only when it does not fit).
    QString GetItemHint(QWidget* ASender, const QModelIndex& AParam) const;

    // True once a successful save closed the dialog.
    bool Saved() const { return FSaved; }
    bool InvalidSome() const { return FInvalidSome; }

    QAction* ActPaste() const { return FActPaste; }
    QAction* ActSave() const { return FActSave; }
    QTableView* Grid() const { return FViSheetStringGrid; }
    TTvrMksrcModel* Model() const { return FModel; }
    QLabel* HeadPanel() const { return FViHeadPanel; }
    // The text and validity of a data cell (column 0 is the first field,
    // row 0 the first line).
    QString CellText(int32_t ACol, int32_t ARow) const;
    bool CellValid(int32_t ACol, int32_t ARow) const;

protected:
    // Esc does not close the dialog: it would drop the pasted rows without
    // a question. Only Save and the close box end it.
    void keyPressEvent(QKeyEvent* AEvent) override;

private:
    void ClearSheet();
    void SetSheetEnabled(bool AEnabled);
    void Paste();
    void Save();

    QWidget* FhnParent = nullptr;
    int32_t FFieldDefCount = 0;
    TTvrFieldDefDynArray FFieldDefs;
    std::string FFileName;
    TTvrRegionalSettings FSettings;
    bool FInvalidSome = false;
    bool FSaved = false;

    QLabel* FViHeadPanel = nullptr;
    QTableView* FViSheetStringGrid = nullptr;
    TTvrMksrcModel* FModel = nullptr;
    QAction* FActPaste = nullptr;
    QAction* FActSave = nullptr;
};

} // namespace tavrel
