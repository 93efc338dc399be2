// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// The browse button: a small button showing three dots beside a combo
// box, edit field or panel, that does what a double click on the control
// does, and F9 in the control.

#include <QImage>
#include <QObject>
#include <QSize>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QLabel;
class QWidget;

namespace tavrel {

// What double-clicking the control does; the browse button runs the same.
void SetControlDoubleClick(QWidget* AControl, std::function<void()> AHandler);
// Runs the control's double-click handler; false when it has none.
bool RunControlDoubleClick(QWidget* AControl);
bool HasControlDoubleClick(QWidget* AControl);

// The three-dots glyph of a browse button of this size: three black 2 x 2
// dots on a transparent image 4 pixels smaller.
QImage BrowseButtonGlyph(QSize AButtonSize);

// Puts a 23-pixel browse button to the right of an edit field, combo box,
// panel (QFrame) or paint box (plain QWidget), narrowing the control by 24
// pixels; the button runs the control's double-click handler. For an edit
// field or combo box it is a tool button that takes no focus and F9 in the
// control clicks it; otherwise a push button that ALabel (when given) leads
// to. ATabOrder < 0 puts the button right after the control in the tab
// chain; in Qt other values only keep the order of creation. Returns the
// panel holding the button, or nullptr when the control is of another kind
// and left unchanged.
QWidget* AttachBrowseButton(QWidget* AControl, QLabel* ALabel, int32_t ATabOrder);

// The key handler of a control with a browse button: F9 without Shift, Ctrl
// or Alt clicks the button and is consumed; every other key goes on to the
// control.
class TNbAdxEditEvent : public QObject {
public:
    TNbAdxEditEvent(QObject* AOwner, QWidget* AControl, QAbstractButton* AButton);
    bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

private:
    QWidget* FControl;
    QAbstractButton* FButton;
};

} // namespace tavrel
