// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "shell/NbBrowseButton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace tavrel {

namespace {

// Holds a control's double-click handler and runs it on double clicks of
// the control and of its inner edit field.
class TNbDoubleClick : public QObject {
public:
    TNbDoubleClick(QWidget* AControl, std::function<void()> AHandler)
        : QObject(AControl), FHandler(std::move(AHandler))
    {
        setObjectName(QStringLiteral("TNbDoubleClick"));
    }
    void Run() const
    {
        if (FHandler)
            FHandler();
    }
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override
    {
        if (AEvent->type() == QEvent::MouseButtonDblClick) {
            Run();
            return true;
        }
        return QObject::eventFilter(AWatched, AEvent);
    }

private:
    std::function<void()> FHandler;
};

TNbDoubleClick* DoubleClickOf(QWidget* AControl)
{
    return AControl->findChild<TNbDoubleClick*>(QStringLiteral("TNbDoubleClick"), Qt::FindDirectChildrenOnly);
}

// The widgets of the control that receive its mouse and key events.
QList<QWidget*> EventWidgets(QWidget* AControl)
{
    QList<QWidget*> Widgets {AControl};
    if (auto* Combo = qobject_cast<QComboBox*>(AControl); Combo && Combo->lineEdit())
        Widgets.append(Combo->lineEdit());
    return Widgets;
}

} // namespace

void SetControlDoubleClick(QWidget* AControl, std::function<void()> AHandler)
{
    delete DoubleClickOf(AControl);
    auto* Handler = new TNbDoubleClick(AControl, std::move(AHandler));
    for (QWidget* W : EventWidgets(AControl))
        W->installEventFilter(Handler);
}

bool RunControlDoubleClick(QWidget* AControl)
{
    const TNbDoubleClick* Handler = DoubleClickOf(AControl);
    if (!Handler)
        return false;
    Handler->Run();
    return true;
}

bool HasControlDoubleClick(QWidget* AControl)
{
    return DoubleClickOf(AControl) != nullptr;
}

QImage BrowseButtonGlyph(QSize AButtonSize)
{
    const QSize Size(std::max(0, AButtonSize.width() - 4), std::max(0, AButtonSize.height() - 4));
    QImage Image(Size, QImage::Format_ARGB32);
    Image.fill(Qt::transparent);
    const int W = Size.width();
    const int H = Size.height();
    for (const int X : {W / 2 - 5, W / 2 - 1, W / 2 + 3}) {
        for (int DX = 0; DX < 2; ++DX) {
            for (const int Y : {H / 2 - 1, H / 2}) {
                if (Image.valid(X + DX, Y))
                    Image.setPixelColor(X + DX, Y, Qt::black);
            }
        }
    }
    return Image;
}

TNbAdxEditEvent::TNbAdxEditEvent(QObject* AOwner, QWidget* AControl, QAbstractButton* AButton)
    : QObject(AOwner), FControl(AControl), FButton(AButton)
{
}

bool TNbAdxEditEvent::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AEvent->type() == QEvent::KeyPress) {
        const auto* Key = static_cast<QKeyEvent*>(AEvent);
        const Qt::KeyboardModifiers Held =
            Key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (Key->key() == Qt::Key_F9 && Held == Qt::NoModifier && FButton) {
            FButton->click();
            return true;
        }
    }
    return QObject::eventFilter(AWatched, AEvent);
}

QWidget* AttachBrowseButton(QWidget* AControl, QLabel* ALabel, int32_t ATabOrder)
{
    const bool IsEdit = qobject_cast<QLineEdit*>(AControl) || qobject_cast<QComboBox*>(AControl);
    // Only a plain frame (a panel) or a plain widget (a paint box): labels and
    // other controls are frames too.
    const bool IsPanel = AControl->metaObject() == &QFrame::staticMetaObject
                         || AControl->metaObject() == &QWidget::staticMetaObject;
    if (!IsEdit && !IsPanel)
        return nullptr;

    auto* Panel = new QWidget(AControl->parentWidget());
    Panel->setObjectName(AControl->objectName() + QStringLiteral("Browse"));
    Panel->setProperty("tavrelControl", QVariant::fromValue(static_cast<QObject*>(AControl)));
    AControl->resize(AControl->width() - 24, AControl->height());
    Panel->setGeometry(AControl->x() + AControl->width() + 1, AControl->y() - 1, 23, AControl->height() + 2);

    QAbstractButton* Button = nullptr;
    if (IsEdit) {
        auto* Tool = new QToolButton(Panel);
        Tool->setFocusPolicy(Qt::NoFocus);
        Button = Tool;
    } else {
        Button = new QPushButton(Panel);
        if (ALabel)
            ALabel->setBuddy(Button);
    }
    Button->setObjectName(QStringLiteral("BrowseButton"));
    Button->setGeometry(0, 0, Panel->width(), Panel->height());
    const QImage Glyph = BrowseButtonGlyph(Button->size());
    Button->setIcon(QIcon(QPixmap::fromImage(Glyph)));
    Button->setIconSize(Glyph.size());
    QObject::connect(Button, &QAbstractButton::clicked, AControl, [AControl] { RunControlDoubleClick(AControl); });

    if (IsEdit) {
        auto* Keys = new TNbAdxEditEvent(AControl, AControl, Button);
        for (QWidget* W : EventWidgets(AControl))
            W->installEventFilter(Keys);
    } else if (ATabOrder < 0) {
        QWidget::setTabOrder(AControl, Button);
    }
    if (AControl->isVisible())
        Panel->show();
    return Panel;
}

} // namespace tavrel
