// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrGridParts.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionHeader>
#include <QToolButton>
#include <algorithm>

#include "shell/NbCellText.h"
#include "shell/NbFonts.h"

namespace tavrel {

QFrame* MakeGridPanel(QWidget* AParent, const char* AName, QFrame::Shape AShape)
{
    auto* Panel = new QFrame(AParent);
    Panel->setObjectName(QLatin1String(AName));
    Panel->setFrameShape(AShape);
    return Panel;
}

QAction* MakeGridAction(QWidget* AWindow, const char* AName, const QString& ACaption, const QKeySequence& AShortcut)
{
    auto* Action = new QAction(ACaption, AWindow);
    Action->setObjectName(QLatin1String(AName));
    Action->setShortcut(AShortcut);
    Action->setShortcutContext(Qt::WindowShortcut);
    AWindow->addAction(Action);
    return Action;
}

QToolButton* MakeToolBarButton(QWidget* APanel, const char* AName, QAction* AAction, int APosition)
{
    auto* Button = new QToolButton(APanel);
    Button->setObjectName(QLatin1String(AName));
    Button->setDefaultAction(AAction);
    Button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Button->setFocusPolicy(Qt::NoFocus);
    Button->setAutoRaise(true);
    Button->setGeometry(2 + 86 * APosition, 4, 83, 25);
    return Button;
}

int GridCharWidth(const QFont& AFont)
{
    const QFontMetrics Metrics(AFont);
    return std::max(Metrics.horizontalAdvance(QLatin1Char('x')), Metrics.horizontalAdvance(QLatin1Char('0')));
}

void SetupGrid(QTableView* AGrid, QAbstractItemModel* AModel, QAbstractItemDelegate* ADelegate)
{
    auto* Horizontal = new TTvrGridHeader(Qt::Horizontal, AGrid);
    auto* Vertical = new TTvrGridHeader(Qt::Vertical, AGrid);
    AGrid->setHorizontalHeader(Horizontal);
    AGrid->setVerticalHeader(Vertical);
    AGrid->setModel(AModel);
    AGrid->setItemDelegate(ADelegate);
    AGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    AGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    AGrid->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    AGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    AGrid->setShowGrid(true);
    AGrid->setWordWrap(false);
    AGrid->setCornerButtonEnabled(false);
    AGrid->setTabKeyNavigation(false);
    if (auto* Corner = AGrid->findChild<QAbstractButton*>())
        new TTvrCornerPainter(Corner);

    const int RowHeight = RowHeightForFont(AGrid->font(), 11);
    Vertical->setObjectName(QStringLiteral("RowNumbers"));
    Vertical->setMinimumSectionSize(1);
    Vertical->setDefaultSectionSize(RowHeight);
    Vertical->setSectionResizeMode(QHeaderView::Fixed);
    Vertical->SetFixedExtent(kGridRowNumberChars * GridCharWidth(AGrid->font()));
    Vertical->setHighlightSections(false);
    Horizontal->setMinimumSectionSize(4);
    Horizontal->setSectionResizeMode(QHeaderView::Interactive);
    Horizontal->setStretchLastSection(false);
    Horizontal->SetFixedExtent(RowHeight);
    Horizontal->setHighlightSections(false);
    Horizontal->setSectionsClickable(false);
}

QSize TTvrGridHeader::sizeHint() const
{
    QSize Size = QHeaderView::sizeHint();
    if (orientation() == Qt::Vertical)
        Size.setWidth(FExtent);
    else
        Size.setHeight(FExtent);
    return Size;
}

void TTvrGridHeader::paintSection(QPainter* APainter, const QRect& ARect, int ALogicalIndex) const
{
    if (!ARect.isValid())
        return;
    QStyleOptionHeader Option;
    initStyleOption(&Option);
    Option.rect = ARect;
    Option.section = ALogicalIndex;
    Option.text.clear();
    APainter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &Option, APainter, this);
    APainter->setFont(font());
    APainter->setPen(palette().color(QPalette::ButtonText));
    const QString Text = model() ? model()->headerData(ALogicalIndex, orientation()).toString() : QString();
    DrawCellText(*APainter, ARect, Text, (orientation() == Qt::Horizontal ? nctoHCenter : nctoRight) | nctoVCenter,
                 2, 2);
    APainter->restore();
}

TTvrCornerPainter::TTvrCornerPainter(QAbstractButton* ACorner) : QObject(ACorner), FCorner(ACorner)
{
    ACorner->installEventFilter(this);
}

bool TTvrCornerPainter::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AWatched != FCorner || AEvent->type() != QEvent::Paint)
        return QObject::eventFilter(AWatched, AEvent);
    QPainter Painter(FCorner);
    QStyleOptionHeader Option;
    Option.initFrom(FCorner);
    Option.state |= QStyle::State_Enabled;
    Option.position = QStyleOptionHeader::OnlyOneSection;
    FCorner->style()->drawControl(QStyle::CE_HeaderSection, &Option, &Painter, FCorner);
    Painter.setFont(FCorner->font());
    Painter.setPen(FCorner->palette().color(QPalette::Active, QPalette::ButtonText));
    DrawCellText(Painter, FCorner->rect(), QStringLiteral("No"), nctoHCenter | nctoVCenter, 2, 2);
    return true;
}

TTvrGridCellDelegate::TTvrGridCellDelegate(QTableView* AGrid, TTextColor ATextColor, TShowFocus AShowFocus)
    : QStyledItemDelegate(AGrid), FGrid(AGrid), FTextColor(std::move(ATextColor)), FShowFocus(std::move(AShowFocus))
{
}

void TTvrGridCellDelegate::paint(QPainter* APainter, const QStyleOptionViewItem& AOption,
                                 const QModelIndex& AIndex) const
{
    APainter->save();
    const bool Focused = AIndex == FGrid->currentIndex();
    const bool Selected = (AOption.state & QStyle::State_Selected) || (Focused && FGrid->isEnabled());
    const QPalette& Palette = AOption.palette;
    APainter->fillRect(AOption.rect, Selected ? Palette.brush(QPalette::Highlight) : Palette.brush(QPalette::Base));
    APainter->setFont(FGrid->font());
    QColor Color = Selected ? Palette.color(QPalette::HighlightedText) : Palette.color(QPalette::Text);
    if (FTextColor)
        Color = FTextColor(AIndex).value_or(Color);
    APainter->setPen(Color);
    const bool Numeric = AIndex.data(kGridNumericRole).toBool();
    DrawCellText(*APainter, AOption.rect, AIndex.data(Qt::DisplayRole).toString(),
                 (Numeric ? nctoRight : nctoLeft) | nctoVCenter, 2, 2);
    ResetControlCanvas(*APainter, *FGrid);
    if (Focused && FGrid->hasFocus() && (!FShowFocus || FShowFocus())) {
        QStyleOptionFocusRect FocusOption;
        FocusOption.rect = AOption.rect.adjusted(1, 1, -1, -1);
        FocusOption.state = QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        FocusOption.backgroundColor = Palette.color(QPalette::Highlight);
        FGrid->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &FocusOption, APainter, FGrid);
    }
    APainter->restore();
}

QSize TTvrGridCellDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(64, RowHeightForFont(FGrid->font(), 11));
}

} // namespace tavrel
