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
// by the window, all of one fixed height. A double click runs the box's
// double-click handler (SetControlDoubleClick) when it has one.
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

protected:
    void paintEvent(QPaintEvent* AEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* AEvent) override;

private:
    friend class TTvrOwnerDrawDelegate;
    TTvrDrawComboItem FDrawItem;
    int32_t FItemHeight = 16;
};

} // namespace tavrel
