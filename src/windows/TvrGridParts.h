#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QHeaderView>
#include <QObject>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>

namespace tavrel {

// The pieces that the grids of the viewer and of the source-data dialog share.

// The titles and row numbers: the style's header background, then the text
// by DrawCellText, titles centred, row numbers right-aligned.
class TTvrGridHeader : public QHeaderView {
public:
    TTvrGridHeader(Qt::Orientation AOrientation, QWidget* AParent) : QHeaderView(AOrientation, AParent) {}
    void SetFixedExtent(int AExtent) { FExtent = AExtent; }
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* APainter, const QRect& ARect, int ALogicalIndex) const override;

private:
    int FExtent = 20;
};

// The top-left cell of a grid: the title "No" of the row numbers, drawn on
// the view's corner button.
class TTvrCornerPainter : public QObject {
public:
    explicit TTvrCornerPainter(QAbstractButton* ACorner);
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    QAbstractButton* FCorner;
};

// The data cells: the highlight behind a selected (or the current) cell,
// else the grid's background; the text on one line, numbers (cells whose
// ANumericRole is true) right-aligned, other texts left; the focus frame on
// the current cell while the grid has the focus. A cell's text may take
// another colour (ATextColor), and the frame may be left out (AShowFocus
// false).
class TTvrGridCellDelegate : public QStyledItemDelegate {
public:
    using TTextColor = std::function<std::optional<QColor>(const QModelIndex& AIndex)>;
    using TShowFocus = std::function<bool()>;

    TTvrGridCellDelegate(QTableView* AGrid, int ANumericRole, TTextColor ATextColor = {}, TShowFocus AShowFocus = {});
    void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;
    // Rows one text line high by the Meiryo row-height rule.
    QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;

private:
    QTableView* FGrid;
    int FNumericRole;
    TTextColor FTextColor;
    TShowFocus FShowFocus;
};

} // namespace tavrel
