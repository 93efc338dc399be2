#include "windows/TvrGridParts.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include "shell/Nubix.h"

namespace tavrel {

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

} // namespace tavrel
