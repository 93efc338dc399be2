// Real widgets under the offscreen platform.
#include <QComboBox>
#include <algorithm>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "shell/Nubix.h"
#include "ShellTestSupport.h"

namespace tavrel {
namespace {

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

TEST(ShowMessageBox, AnsweredThroughTheSeam)
{
    const TScopedEnv Program("AppProgramName", "Tavrel");
    // clang-format off
    struct Case { TNbMessageKind Kind; TNbMessageButtons Buttons; int Result; TNbMessageAnswer Answer;
                  QMessageBox::Icon Icon; };
    const Case kCases[] = {
        {nmkError,       nmbOk,               QMessageBox::Ok,     nmaOk,     QMessageBox::Critical},
        {nmkWarning,     nmbOkCancel,         QMessageBox::Cancel, nmaCancel, QMessageBox::Warning},
        {nmkQuestion,    nmbYesNoCancel,      QMessageBox::No,     nmaNo,     QMessageBox::Question},
        {nmkInformation, nmbAbortRetryIgnore, QMessageBox::Ignore, nmaIgnore, QMessageBox::Information},
        {nmkNotice,      nmbRetryCancel,      QMessageBox::Retry,  nmaRetry,  QMessageBox::Information},
        {nmkQuestion,    nmbYesNo,            -1,                  nmaNone,   QMessageBox::Question},
    };
    // clang-format on
    for (const Case& C : kCases) {
        SetNextMessageBoxResult(C.Result);
        EXPECT_EQ(ShowMessageBox(C.Kind, R"(1行目\n2行目 a\\b)", C.Buttons), C.Answer) << C.Kind;
        ASSERT_TRUE(LastMessageBox().has_value());
        EXPECT_EQ(LastMessageBox()->Caption, "Tavrel");
        EXPECT_EQ(LastMessageBox()->Text, "1行目\n2行目 a\\b");
        EXPECT_EQ(LastMessageBox()->Icon, C.Icon) << C.Kind;
        EXPECT_EQ(LastMessageBox()->Buttons, MessageBoxButtons(C.Buttons)) << C.Kind;
    }
}

TEST(ShowMessageBox, CaptionIsTheProgramsBaseNameWithoutAppProgramName)
{
    const TScopedEnv Program("AppProgramName", "");
    SetNextMessageBoxResult(QMessageBox::Ok);
    ShowMessageBox(nmkInformation, "x");
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Caption, "shell_test");
}

// The hint that a tool-tip event at the middle of the row brings.
QString HintOfRow(QListWidget& AList, TNbItemHint& AHint, int ARow)
{
    const QRect Rect = AList.visualItemRect(AList.item(ARow));
    QHelpEvent Event(QEvent::ToolTip, Rect.center(), AList.viewport()->mapToGlobal(Rect.center()));
    QApplication::sendEvent(AList.viewport(), &Event);
    return AHint.Hint();
}

TEST(TNbItemHint, OnlyForItemsThatDoNotFit)
{
    QListWidget List;
    List.resize(120, 100);
    List.addItems({"短い", "とても長い項目の名前がリストの幅を超えています"});
    auto* Hint = new TNbItemHint(&List, nullptr);
    List.show();
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "");
    EXPECT_EQ(HintOfRow(List, *Hint, 1), "とても長い項目の名前がリストの幅を超えています");
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "");
}

TEST(TNbItemHint, TheCallbackGivesTheHint)
{
    QListWidget List;
    List.resize(300, 100);
    List.addItems({"a", "b"});
    auto* Hint = new TNbItemHint(&List, [&](QWidget* ASender, const QModelIndex& AParam) {
        EXPECT_EQ(ASender, &List);
        return AParam.row() == 1 ? QString("b") : QString("行 %1").arg(AParam.row());
    });
    List.show();
    EXPECT_EQ(HintOfRow(List, *Hint, 0), "行 0");
    EXPECT_EQ(HintOfRow(List, *Hint, 1), "") << "the item's own text, fully visible";
}

TEST(TNbItemHint, GridCellsAndTheirPosition)
{
    QTableWidget Grid(2, 2);
    Grid.resize(400, 200);
    Grid.setColumnWidth(0, 60);
    Grid.setColumnWidth(1, 200);
    const QString Long = "金銭出納テーブル.csv の長い摘要";
    Grid.setItem(0, 0, new QTableWidgetItem(Long));
    Grid.setItem(0, 1, new QTableWidgetItem(Long));
    Grid.setItem(1, 0, new QTableWidgetItem("短"));
    auto* Hint = new TNbItemHint(&Grid, nullptr);
    Grid.show();
    // clang-format off
    struct Case { int Row; int Column; QString Shown; };
    const Case kCases[] = {{0, 0, Long}, {0, 1, ""}, {1, 0, ""}, {1, 1, ""}};
    // clang-format on
    for (const Case& C : kCases) {
        const QRect Rect = Grid.visualRect(Grid.model()->index(C.Row, C.Column));
        QHelpEvent Event(QEvent::ToolTip, Rect.center(), Grid.viewport()->mapToGlobal(Rect.center()));
        QApplication::sendEvent(Grid.viewport(), &Event);
        EXPECT_EQ(Hint->Hint(), C.Shown) << C.Row << "," << C.Column;
    }
}

TEST(TTvrTaskBarWindow, IsATopLevelWindowOfItsOwn)
{
    TTvrTaskBarWindow Window;
    EXPECT_TRUE(Window.isWindow());
    EXPECT_EQ(Window.parentWidget(), nullptr);
}

} // namespace
} // namespace tavrel
