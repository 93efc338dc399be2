// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Hints: each item of a list or grid with its own hint, shown only where it
// adds something, and how long every hint of the program stays up.

#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace tavrel {

// The hint of an item: the callback's hint when one is set, else the item's
// text. Empty when the hint is the item's own text and fits its rectangle
// (hint width <= width - 4, height <= height - 2): a fully visible text
// needs no hint.
QString ItemHintDecision(const QString& AItemText, const QString& AHint, QSize AHintSize, const QRect& AItemRect);

// The hint callback: the control and the item under the mouse (an invalid
// index for a control without items).
using TNbGetItemHint = std::function<QString(QWidget* ASender, const QModelIndex& AParam)>;

// Gives each item of a list or grid (any item view) its own tool tip, shown
// only where it adds something; on other controls the callback's text.
class TNbItemHint : public QObject {
public:
    TNbItemHint(QWidget* AControl, TNbGetItemHint AGetItemHint);
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
    // The hint for a point of the control (or of an item view's viewport).
    QString HintAt(const QPoint& APos, QRect* AItemRect = nullptr) const;
    const QString& Hint() const { return FHint; }

private:
    QWidget* FControl;
    TNbGetItemHint FGetItemHint;
    QString FHint;
};

// How long a hint stays up while the mouse rests on its control, in
// milliseconds; negative for the platform's own time. Applies to every
// control's hint and to the item hints, from the call on.
void SetHintHidePause(int32_t AMilliseconds);
int32_t HintHidePause();

} // namespace tavrel
