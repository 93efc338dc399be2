// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbHints.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace tavrel {

QString ItemHintDecision(const QString& AItemText, const QString& AHint, QSize AHintSize, const QRect& AItemRect)
{
    if (!AHint.isEmpty() && AHint == AItemText && AHintSize.width() <= AItemRect.width() - 4
        && AHintSize.height() <= AItemRect.height() - 2)
        return QString();
    return AHint;
}

TNbItemHint::TNbItemHint(QWidget* AControl, TNbGetItemHint AGetItemHint)
    : QObject(AControl), FControl(AControl), FGetItemHint(std::move(AGetItemHint))
{
    AControl->installEventFilter(this);
    if (auto* View = qobject_cast<QAbstractItemView*>(AControl))
        View->viewport()->installEventFilter(this);
}

QString TNbItemHint::HintAt(const QPoint& APos, QRect* AItemRect) const
{
    QModelIndex Index;
    QString ItemText;
    QRect ItemRect;
    if (auto* View = qobject_cast<QAbstractItemView*>(FControl)) {
        Index = View->indexAt(APos);
        if (Index.isValid()) {
            ItemText = Index.data(Qt::DisplayRole).toString();
            // A list item is as wide as its text; what counts is the part
            // the viewport shows.
            ItemRect = View->visualRect(Index).intersected(View->viewport()->rect());
        }
    }
    if (!Index.isValid() && qobject_cast<QAbstractItemView*>(FControl) && !FGetItemHint)
        return QString();
    const QString Hint = FGetItemHint ? FGetItemHint(FControl, Index) : ItemText;
    const QFontMetrics Metrics = FControl->fontMetrics();
    const int LineHeight = std::max(1, Metrics.lineSpacing());
    const QSize HintSize(Metrics.boundingRect(QRect(), Qt::AlignLeft, Hint).width(),
                         static_cast<int>(Hint.count(u'\n') + 1) * LineHeight);
    if (AItemRect)
        *AItemRect = ItemRect;
    // Qt lays an item row out exactly one text line high, where Windows
    // leaves a margin around it; the height therefore counts in whole lines:
    // a hint fits when the row shows as many lines as it has.
    QRect Fit = ItemRect;
    Fit.setHeight(std::max(1, ItemRect.height() / LineHeight) * LineHeight + 2);
    return ItemHintDecision(ItemText, Hint, HintSize, Fit);
}

bool TNbItemHint::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AEvent->type() != QEvent::ToolTip)
        return QObject::eventFilter(AWatched, AEvent);
    auto* Help = static_cast<QHelpEvent*>(AEvent);
    auto* View = qobject_cast<QAbstractItemView*>(FControl);
    // An item view receives its events on the viewport, in its coordinates.
    const QPoint Pos = (View && AWatched == FControl) ? View->viewport()->mapFrom(FControl, Help->pos()) : Help->pos();
    QRect ItemRect;
    const QString NewHint = HintAt(Pos, &ItemRect);
    if (NewHint != FHint)
        QToolTip::hideText();
    FHint = NewHint;
    if (FHint.isEmpty()) {
        QToolTip::hideText();
    } else {
        QWidget* Area = View ? View->viewport() : FControl;
        QToolTip::showText(Help->globalPos(), FHint, Area, ItemRect, HintHidePause());
    }
    return true;
}

namespace {

int32_t GHintHidePause = -1;

// Qt keeps a hint up for a time that grows with its length; the
// application's hint pause replaces it for every control that has a hint.
class THintPauseFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override
    {
        if (AEvent->type() != QEvent::ToolTip || GHintHidePause < 0)
            return false;
        auto* Widget = qobject_cast<QWidget*>(AWatched);
        if (!Widget || Widget->toolTip().isEmpty())
            return false;
        auto* Help = static_cast<QHelpEvent*>(AEvent);
        QToolTip::showText(Help->globalPos(), Widget->toolTip(), Widget, QRect(), GHintHidePause);
        return true;
    }
};

} // namespace

void SetHintHidePause(int32_t AMilliseconds)
{
    static THintPauseFilter* Filter = nullptr;
    GHintHidePause = AMilliseconds;
    if (!Filter && QCoreApplication::instance()) {
        Filter = new THintPauseFilter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(Filter);
    }
}

int32_t HintHidePause()
{
    return GHintHidePause;
}

} // namespace tavrel
