// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QKeySequence>
#include <QHeaderView>
#include <QObject>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>

class QAbstractItemDelegate;
class QAbstractItemModel;
class QAction;
class QToolButton;

namespace tavrel {

// The pieces that the grids of the viewer and of the source-data dialog share.

// The role of a data cell that tells whether it shows a number (a bool):
// numbers are drawn right-aligned. Both grids' models answer it.
inline constexpr int kGridNumericRole = Qt::UserRole + 1;

// The width of one character of a column's CharCount: the letter "x", or a
// digit when that is wider. The face that stands in for Meiryo here draws
// digits wider than its "x", and a column of 12 characters must still show
// a date of 10 digits and separators whole.
int GridCharWidth(const QFont& AFont);

// How many characters wide the row numbers are: six hold the numbers up to
// 99,999.
inline constexpr int kGridRowNumberChars = 6;

// Sets a grid up as both grids are: the model and the delegate; read-only,
// one item selected at a time (the caller may allow more), scrolled by
// whole cells, lines between cells, one line a cell, Tab leaving the grid;
// titles and row numbers drawn by TTvrGridHeader, one row high and
// kGridRowNumberChars wide, neither clickable nor highlighted; rows one
// text line high by the Meiryo rule, of fixed height; columns resizable by
// the user; "No" in the top-left cell.
void SetupGrid(QTableView* AGrid, QAbstractItemModel* AModel, QAbstractItemDelegate* ADelegate);

// A panel of a grid window, named for the tests.
QFrame* MakeGridPanel(QWidget* AParent, const char* AName, QFrame::Shape AShape);
// A command of a grid window, named for the tests, whose shortcut works
// anywhere in the window.
QAction* MakeGridAction(QWidget* AWindow, const char* AName, const QString& ACaption, const QKeySequence& AShortcut);
// The button of a command in a grid window's tool bar: the command's
// caption, no focus, flat until the mouse is over it; 83 x 25 pixels, the
// buttons 86 pixels apart from the left (x = 2, 88, 174 ...).
QToolButton* MakeToolBarButton(QWidget* APanel, const char* AName, QAction* AAction, int APosition);

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
// kGridNumericRole is true) right-aligned, other texts left; the focus frame on
// the current cell while the grid has the focus. A cell's text may take
// another colour (ATextColor), and the frame may be left out (AShowFocus
// false).
class TTvrGridCellDelegate : public QStyledItemDelegate {
public:
    using TTextColor = std::function<std::optional<QColor>(const QModelIndex& AIndex)>;
    using TShowFocus = std::function<bool()>;

    TTvrGridCellDelegate(QTableView* AGrid, TTextColor ATextColor = {}, TShowFocus AShowFocus = {});
    void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;
    // Rows one text line high by the Meiryo row-height rule.
    QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;

private:
    QTableView* FGrid;
    TTextColor FTextColor;
    TShowFocus FShowFocus;
};

} // namespace tavrel
