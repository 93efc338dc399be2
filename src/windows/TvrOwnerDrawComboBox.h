// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The main window's drop-down lists: the source-data locations and the
// files of the four source tables, every item drawn by the window.

#include <QComboBox>
#include <QRect>
#include <QStyle>
#include <cstdint>
#include <functional>

class QPainter;

namespace tavrel {

// How an owner-drawn combo box draws one item: in the open list (AListOpen)
// or in the closed box.
using TTvrDrawComboItem =
    std::function<void(QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState, bool AListOpen)>;

// A drop-down list whose items, in the list and in the closed box, are drawn
// by the window, all of one fixed height. A double click on the closed box
// runs the box's double-click handler (SetControlDoubleClick) when it has
// one. The first press of a double click opens the list, so the second one
// lands on the list: a press there soon after and close to the first, over
// the box, closes the list again and counts as the double click.
class TTvrOwnerDrawComboBox : public QComboBox {
public:
    TTvrOwnerDrawComboBox(QWidget* AParent, TTvrDrawComboItem ADrawItem);
    void SetItemHeight(int32_t AHeight);
    int32_t ItemHeight() const { return FItemHeight; }
    // Whether the drop-down list is open.
    bool ListOpen() const;

    // Gives the painter the colours of an item: the highlight for the item
    // under the mouse in the open list, else the box's own colours, so that
    // the chosen item is not drawn highlighted in the closed box.
    void SetItemColours(QPainter& ACanvas, QStyle::State AState, bool AListOpen) const;

    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void mousePressEvent(QMouseEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;

private:
    friend class TTvrOwnerDrawDelegate;
    // Whether a press in the open list completes a double click begun by a
    // press on the box.
    bool CompletesDoubleClick(const QMouseEvent& AEvent) const;
    void RunDoubleClick(const QMouseEvent& AEvent);

    TTvrDrawComboItem FDrawItem;
    int32_t FItemHeight = 16;
    // The last press on the closed box: its time (0 for none) and place.
    quint64 FPressTime = 0;
    QPoint FPressPos;
    // The time of the double click last run: its other events are not
    // taken for another one.
    quint64 FDoubleClickTime = 0;
};

} // namespace tavrel
