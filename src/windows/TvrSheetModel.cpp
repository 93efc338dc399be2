// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrSheetModel.h"

#include <vector>

#include "tables/TvrConvert.h"
#include "windows/TvrGridParts.h"

namespace tavrel {

TTvrSheetModel::TTvrSheetModel(const TTvrRegionalSettings& ASettings, QObject* AParent)
    : QAbstractTableModel(AParent), FSettings(ASettings)
{
}

void TTvrSheetModel::Load(const TTvrSheet& ASheet)
{
    std::vector<TTvrFieldDef> FieldDefs;
    for (int I = 0; I < ASheet.Fields().Count(); ++I) {
        const TTvrField& Field = ASheet.Fields().Fields(I);
        FieldDefs.push_back({Field.Name(), Field.FieldType(), Field.CharCount()});
    }
    auto Values = std::make_unique<TTvrSheet>();
    Values->LoadFromFile(ASheet.FileName(), FieldDefs, FSettings);
    beginResetModel();
    FValues = std::move(Values);
    endResetModel();
}

QString TTvrSheetModel::CellText(int ACol, int ARow, bool ACopy) const
{
    if (!FValues || ACol < 0 || ACol >= FieldCount() || ARow < 0 || ARow >= LineCount())
        return QString();
    return QString::fromStdString(ValueCellText(FValues->Cells(ACol, ARow),
                                                FValues->Fields().Fields(ACol).FieldType(), ACopy, FSettings));
}

bool TTvrSheetModel::IsNumericCell(int ACol, int ARow) const
{
    if (!FValues || ACol < 0 || ACol >= FieldCount() || ARow < 0 || ARow >= LineCount())
        return false;
    return IsNumericValue(FValues->Cells(ACol, ARow), FValues->Fields().Fields(ACol).FieldType());
}

int TTvrSheetModel::rowCount(const QModelIndex& AParent) const
{
    if (AParent.isValid() || !FValues)
        return 0;
    return std::max(1, LineCount());
}

int TTvrSheetModel::columnCount(const QModelIndex& AParent) const
{
    return AParent.isValid() ? 0 : FieldCount();
}

QVariant TTvrSheetModel::data(const QModelIndex& AIndex, int ARole) const
{
    if (!AIndex.isValid())
        return QVariant();
    switch (ARole) {
    case Qt::DisplayRole:
        return CellText(AIndex.column(), AIndex.row(), false);
    case kGridNumericRole:
        return IsNumericCell(AIndex.column(), AIndex.row());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsNumericCell(AIndex.column(), AIndex.row()) ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return QVariant();
    }
}

QVariant TTvrSheetModel::headerData(int ASection, Qt::Orientation AOrientation, int ARole) const
{
    if (ARole != Qt::DisplayRole)
        return QVariant();
    if (AOrientation == Qt::Horizontal) {
        if (ASection < 0 || ASection >= FieldCount())
            return QVariant();
        return QString::fromStdString(FValues->Fields().Fields(ASection).Name());
    }
    // The empty row of a file without lines has no number.
    if (ASection < 0 || ASection >= LineCount())
        return QString();
    return QString::number(ASection + 1);
}

Qt::ItemFlags TTvrSheetModel::flags(const QModelIndex& AIndex) const
{
    if (!AIndex.isValid() || IsEmpty())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace tavrel
