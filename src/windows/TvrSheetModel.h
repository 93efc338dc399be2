// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The values of one sheet as the viewer shows them: the sheet's file read
// again, its cells converted when the grid asks for them.

#include <QAbstractTableModel>
#include <QString>
#include <memory>

#include "tables/TvrCellText.h"
#include "tables/TvrSheet.h"
#include "tables/TvrValue.h"

namespace tavrel {

// A grid's model: one row per line of the file, one column per field of the
// sheet (the row numbers and titles are the headers). A file without lines
// shows one empty row. A cell in a number column that holds a number
// answers kGridNumericRole with true.
class TTvrSheetModel : public QAbstractTableModel {
public:
    TTvrSheetModel(const TTvrRegionalSettings& ASettings, QObject* AParent);

    // Reads the sheet's file again with the sheet's fields. Raises ETvrError
    // with the platform's text when the file cannot be read; the model then
    // keeps what it showed.
    void Load(const TTvrSheet& ASheet);
    bool IsEmpty() const { return LineCount() == 0; }
    int LineCount() const { return FValues ? FValues->RowCount() : 0; }
    int FieldCount() const { return FValues ? FValues->ColCount() : 0; }
    const TTvrSheet* Values() const { return FValues.get(); }

    QString CellText(int ACol, int ARow, bool ACopy) const;
    bool IsNumericCell(int ACol, int ARow) const;

    int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
    int columnCount(const QModelIndex& AParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override;
    QVariant headerData(int ASection, Qt::Orientation AOrientation, int ARole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& AIndex) const override;

private:
    TTvrRegionalSettings FSettings;
    std::unique_ptr<TTvrSheet> FValues;
};

} // namespace tavrel
