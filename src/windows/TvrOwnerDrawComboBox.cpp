// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrOwnerDrawComboBox.h"

#include <QAbstractItemView>
#include <QListView>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "shell/NbBrowseButton.h"

namespace tavrel {

// The items of the open list, drawn by the box's window at the box's item
// height.
class TTvrOwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit TTvrOwnerDrawDelegate(TTvrOwnerDrawComboBox* ACombo) : QStyledItemDelegate(ACombo), FCombo(ACombo) {}

    void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
    {
        APainter->save();
        APainter->setFont(FCombo->font());
        FCombo->FDrawItem(*APainter, AIndex.row(), AOption.rect, AOption.state, true);
        APainter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(AOption, AIndex).width(), FCombo->FItemHeight);
    }

private:
    TTvrOwnerDrawComboBox* FCombo;
};

TTvrOwnerDrawComboBox::TTvrOwnerDrawComboBox(QWidget* AParent, TTvrDrawComboItem ADrawItem)
    : QComboBox(AParent), FDrawItem(std::move(ADrawItem))
{
    setItemDelegate(new TTvrOwnerDrawDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Every item is one fixed height: the list need not measure ten
    // thousand remembered locations one by one before it opens.
    if (auto* List = qobject_cast<QListView*>(view()))
        List->setUniformItemSizes(true);
    // The open list takes the mouse: the list where the item under the mouse
    // lies, the frame around it (the popup itself) elsewhere.
    view()->viewport()->installEventFilter(this);
    if (QWidget* Popup = view()->parentWidget())
        Popup->installEventFilter(this);
}

void TTvrOwnerDrawComboBox::SetItemHeight(int32_t AHeight)
{
    FItemHeight = AHeight;
    // The closed box: the item's height and the frame around it.
    resize(width(), AHeight + 6);
}

bool TTvrOwnerDrawComboBox::ListOpen() const
{
    return view() && view()->isVisible();
}

void TTvrOwnerDrawComboBox::SetItemColours(QPainter& ACanvas, QStyle::State AState, bool AListOpen) const
{
    const bool Selected = AListOpen && (AState & QStyle::State_Selected);
    ACanvas.setBrush(palette().color(Selected ? QPalette::Highlight : QPalette::Base));
    ACanvas.setPen(palette().color(Selected ? QPalette::HighlightedText : QPalette::Text));
}

void TTvrOwnerDrawComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    // The frame and the arrow come from the style; the chosen item is drawn
    // by the window in the field.
    Option.currentText.clear();
    Option.currentIcon = QIcon();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    const QRect Field = style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0) {
        Painter.save();
        Painter.setClipRect(Field);
        FDrawItem(Painter, currentIndex(), Field, Option.state, false);
        Painter.restore();
    }
}

void TTvrOwnerDrawComboBox::mousePressEvent(QMouseEvent* AEvent)
{
    if (AEvent->button() == Qt::LeftButton && !ListOpen()) {
        FPressTime = AEvent->timestamp();
        FPressPos = AEvent->globalPosition().toPoint();
    }
    QComboBox::mousePressEvent(AEvent);
}

void TTvrOwnerDrawComboBox::mouseDoubleClickEvent(QMouseEvent* AEvent)
{
    // The double click whose second press the list took: already run.
    if (FDoubleClickTime != 0 && AEvent->timestamp() == FDoubleClickTime)
        return;
    if (!RunControlDoubleClick(this))
        QComboBox::mouseDoubleClickEvent(AEvent);
}

bool TTvrOwnerDrawComboBox::CompletesDoubleClick(const QMouseEvent& AEvent) const
{
    if (FPressTime == 0 || AEvent.button() != Qt::LeftButton || !HasControlDoubleClick(const_cast<TTvrOwnerDrawComboBox*>(this)))
        return false;
    const QStyleHints* Hints = QGuiApplication::styleHints();
    const QPoint Pos = AEvent.globalPosition().toPoint();
    return AEvent.timestamp() >= FPressTime
           && AEvent.timestamp() - FPressTime <= static_cast<quint64>(Hints->mouseDoubleClickInterval())
           && (Pos - FPressPos).manhattanLength() <= Hints->mouseDoubleClickDistance()
           && rect().contains(mapFromGlobal(Pos));
}

void TTvrOwnerDrawComboBox::RunDoubleClick(const QMouseEvent& AEvent)
{
    FPressTime = 0;
    FDoubleClickTime = AEvent.timestamp();
    hidePopup();
    RunControlDoubleClick(this);
}

bool TTvrOwnerDrawComboBox::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    const QEvent::Type Type = AEvent->type();
    if (Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonDblClick
        || Type == QEvent::MouseButtonRelease) {
        const auto* Mouse = static_cast<QMouseEvent*>(AEvent);
        // The rest of a double click already run goes nowhere.
        if (FDoubleClickTime != 0 && Mouse->timestamp() == FDoubleClickTime)
            return true;
        if (Type != QEvent::MouseButtonRelease && ListOpen() && CompletesDoubleClick(*Mouse)) {
            RunDoubleClick(*Mouse);
            return true;
        }
    }
    return QComboBox::eventFilter(AWatched, AEvent);
}

} // namespace tavrel
