// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The browse button: its glyph, and real controls under the offscreen
// platform.
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "shell/NbBrowseButton.h"

namespace tavrel {
namespace {

TEST(BrowseButtonGlyph, ThreeDotsCentred)
{
    const QImage Glyph = BrowseButtonGlyph(QSize(23, 26));
    ASSERT_EQ(Glyph.size(), QSize(19, 22));
    // Columns 19/2 - 5 = 4, 8 and 12, two pixels wide; rows 10 and 11.
    for (int Y = 0; Y < Glyph.height(); ++Y) {
        for (int X = 0; X < Glyph.width(); ++X) {
            const bool Dot = (Y == 10 || Y == 11) && (X == 4 || X == 5 || X == 8 || X == 9 || X == 12 || X == 13);
            EXPECT_EQ(Glyph.pixelColor(X, Y), Dot ? QColor(Qt::black) : QColor(Qt::transparent)) << X << "," << Y;
        }
    }
}

// A combo box that records the keys its own handler receives.
class TKeyComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> Keys;

protected:
    void keyPressEvent(QKeyEvent* AEvent) override
    {
        Keys.emplace_back(AEvent->key(), AEvent->modifiers());
        QComboBox::keyPressEvent(AEvent);
    }
};

class BrowseButtonTest : public ::testing::Test {
protected:
    BrowseButtonTest()
    {
        FWindow.resize(400, 100);
        FCombo = new TKeyComboBox(&FWindow);
        FCombo->setEditable(true);
        FCombo->setGeometry(10, 10, 200, 24);
        SetControlDoubleClick(FCombo, [this] { ++FBrowsed; });
        FPanel = AttachBrowseButton(FCombo, nullptr, -1);
        FWindow.show();
        FCombo->setFocus();
    }

    QWidget FWindow;
    TKeyComboBox* FCombo = nullptr;
    QWidget* FPanel = nullptr;
    int FBrowsed = 0;
};

TEST_F(BrowseButtonTest, SitsRightOfTheNarrowedControl)
{
    ASSERT_NE(FPanel, nullptr);
    EXPECT_EQ(FCombo->geometry(), QRect(10, 10, 176, 24));
    EXPECT_EQ(FPanel->geometry(), QRect(187, 9, 23, 26));
    auto* Button = FPanel->findChild<QToolButton*>("BrowseButton");
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->geometry(), QRect(0, 0, 23, 26));
    EXPECT_EQ(Button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Button->iconSize(), QSize(19, 22));
    QTest::mouseClick(Button, Qt::LeftButton);
    EXPECT_EQ(FBrowsed, 1);
}

TEST_F(BrowseButtonTest, F9WithoutModifiersClicksTheButton)
{
    // clang-format off
    struct Case { Qt::KeyboardModifiers Held; int Browsed; };
    const Case kCases[] = {
        {Qt::NoModifier,      1},
        {Qt::ControlModifier, 0},
        {Qt::ShiftModifier,   0},
        {Qt::AltModifier,     0},
        {Qt::KeypadModifier,  1},
    };
    // clang-format on
    for (const Case& C : kCases) {
        FBrowsed = 0;
        FCombo->Keys.clear();
        // Keys reach the combo box's edit field first, as typed keys do.
        QTest::keyClick(FCombo->lineEdit(), Qt::Key_F9, C.Held);
        EXPECT_EQ(FBrowsed, C.Browsed) << C.Held;
        // A key not consumed goes on to the combo box's own handler.
        const std::pair<int, Qt::KeyboardModifiers> F9(Qt::Key_F9, C.Held);
        EXPECT_EQ(std::count(FCombo->Keys.begin(), FCombo->Keys.end(), F9) > 0, C.Browsed == 0) << C.Held;
    }
}

TEST_F(BrowseButtonTest, OtherKeysAndDoubleClicksReachTheControl)
{
    QTest::keyClicks(FCombo->lineEdit(), "abc");
    EXPECT_EQ(FCombo->currentText(), "abc");
    EXPECT_EQ(FBrowsed, 0);
    QTest::mouseDClick(FCombo->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(FBrowsed, 1);
}

TEST(AttachBrowseButton, PanelsGetAPushButtonThatTheLabelLeadsTo)
{
    QWidget Window;
    auto* Panel = new QFrame(&Window);
    Panel->setGeometry(0, 30, 100, 40);
    auto* Label = new QLabel("場所(&L)", &Window);
    int Browsed = 0;
    SetControlDoubleClick(Panel, [&] { ++Browsed; });
    QWidget* Holder = AttachBrowseButton(Panel, Label, -1);
    ASSERT_NE(Holder, nullptr);
    auto* Button = Holder->findChild<QPushButton*>("BrowseButton");
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Label->buddy(), Button);
    EXPECT_EQ(Panel->width(), 76);
    Button->click();
    EXPECT_EQ(Browsed, 1);

    // Any other kind of control stays as it was.
    auto* Other = new QLabel("x", &Window);
    Other->setGeometry(0, 0, 100, 20);
    EXPECT_EQ(AttachBrowseButton(Other, nullptr, -1), nullptr);
    EXPECT_EQ(Other->geometry(), QRect(0, 0, 100, 20));
}

} // namespace
} // namespace tavrel
