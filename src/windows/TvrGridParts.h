#pragma once

#include <QAbstractButton>
#include <QHeaderView>
#include <QObject>

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

} // namespace tavrel
