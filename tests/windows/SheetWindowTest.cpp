// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QPainter>
#include <QFontMetrics>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "shell/NbCellText.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "windows/TvrSheetWindow.h"

namespace tavrel {
namespace {

const TTvrDate kToday = TTvrDate::Encode(2024, 4, 4);

// Source tables and books written into a temporary folder and loaded as the
// run loads them.
class SheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    std::string Write(const std::string& AName, const std::string& AContent)
    {
        const QString Path = FDir.filePath(QString::fromStdString(AName));
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(AContent.data(), static_cast<qint64>(AContent.size()));
        return Path.toStdString();
    }

    void Add(TTvrSheets& ASheets, const std::string& AName, const std::string& AContent,
             const TTvrFieldDefDynArray& AFieldDefs)
    {
        const std::string Path = Write(AName, AContent);
        ASheets.Sheets(ASheets.Add()).LoadFromFile(Path, AFieldDefs, TTvrRegionalSettings());
    }

    // A sheet as a run keeps it: its file read only when asked.
    void AddDeferred(TTvrSheets& ASheets, const std::string& AName, const std::string& AContent,
                     const TTvrFieldDefDynArray& AFieldDefs)
    {
        const std::string Path = Write(AName, AContent);
        ASheets.Sheets(ASheets.Add()).LoadFromFileDeferred(Path, AFieldDefs, TTvrRegionalSettings());
    }

    // A text sheet of ARows lines and ACols columns whose cells name their
    // place ("r3c4").
    void AddWide(TTvrSheets& ASheets, const std::string& AName, int ARows, int ACols)
    {
        TTvrFieldDefDynArray Defs;
        for (int C = 0; C < ACols; ++C)
            Defs.push_back({QStringLiteral("c%1").arg(C).toStdString(), sftString, 10});
        QString Content;
        for (int R = 0; R < ARows; ++R) {
            for (int C = 0; C < ACols; ++C)
                Content += QStringLiteral("%1r%2c%3").arg(C ? QStringLiteral(",") : QString()).arg(R).arg(C);
            Content += QStringLiteral("\r\n");
        }
        Add(ASheets, AName, Content.toStdString(), Defs);
    }

    QTemporaryDir FDir;
    TTvrSheets FInputs;
    TTvrSheets FOutputs;
};

TTvrFieldDefDynArray TextFields(int ACount)
{
    TTvrFieldDefDynArray Defs;
    for (int C = 0; C < ACount; ++C)
        Defs.push_back({QStringLiteral("t%1").arg(C).toStdString(), sftString, 8});
    return Defs;
}

QString ShownFile(const TTvrSheetWindow& AWindow)
{
    return QFileInfo(QString::fromStdString(
                         AWindow.VisibleGrid()->SheetModel()->Values()->FileName()))
        .fileName();
}

TEST_F(SheetWindowTest, SelectsTheFirstBookOrElseTheLastSourceTable)
{
    Add(FInputs, "a.csv", "1\r\n", TextFields(1));
    Add(FInputs, "b.csv", "2\r\n", TextFields(1));
    Add(FOutputs, "x.csv", "3\r\n", TextFields(1));
    Add(FOutputs, "y.csv", "4\r\n", TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("集計データビュー"));
    EXPECT_EQ(Window.SheetIndex(), 2);
    EXPECT_EQ(Window.SheetList()->currentRow(), 2);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("x.csv"));
    ASSERT_EQ(Window.SheetList()->count(), 4);
    EXPECT_EQ(Window.SheetList()->item(0)->text(), QStringLiteral("a.csv"));
    EXPECT_EQ(Window.SheetList()->item(3)->text(), QStringLiteral("y.csv"));
    EXPECT_FALSE(Window.SheetInfos()[1].Output);
    EXPECT_TRUE(Window.SheetInfos()[2].Output);
    EXPECT_FALSE(Window.HeadImage()->pixmap().isNull());

    TTvrSheets NoOutputs;
    Window.Setup(FInputs, NoOutputs, kToday);
    EXPECT_EQ(Window.SheetIndex(), 1);
    EXPECT_EQ(Window.SheetList()->count(), 2);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("b.csv"));
}

TEST_F(SheetWindowTest, ReturningToASheetRestoresItsCellAndScrollingUntilTheNextSetup)
{
    AddWide(FInputs, "a.csv", 300, 30);
    AddWide(FInputs, "b.csv", 300, 30);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    ASSERT_EQ(ShownFile(Window), QStringLiteral("b.csv"));
    Window.SheetList()->setCurrentRow(0);
    ASSERT_EQ(ShownFile(Window), QStringLiteral("a.csv"));
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    Grid->setCurrentIndex(Grid->model()->index(120, 7));
    Grid->horizontalScrollBar()->setValue(4);
    Grid->verticalScrollBar()->setValue(100);

    Window.SheetList()->setCurrentRow(1);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("b.csv"));
    EXPECT_NE(Window.VisibleGrid(), Grid);
    EXPECT_FALSE(Grid->isVisible());
    EXPECT_EQ(Window.VisibleGrid()->currentIndex().row(), 0);
    EXPECT_EQ(Window.VisibleGrid()->verticalScrollBar()->value(), 0);

    Window.SheetList()->setCurrentRow(0);
    TTvrSheetGrid* Back = Window.VisibleGrid();
    EXPECT_TRUE(Back->isVisible());
    EXPECT_EQ(Back->currentIndex().row(), 120);
    EXPECT_EQ(Back->currentIndex().column(), 7);
    EXPECT_EQ(Back->horizontalScrollBar()->value(), 4);
    EXPECT_EQ(Back->verticalScrollBar()->value(), 100);

    // A new run: every sheet starts at its first data cell.
    Window.Setup(FInputs, FOutputs, kToday);
    for (const TTvrSheetInfo& Info : Window.SheetInfos())
        EXPECT_EQ(Info.PrevCol, -1);
    Window.SheetList()->setCurrentRow(0);
    Back = Window.VisibleGrid();
    EXPECT_EQ(ShownFile(Window), QStringLiteral("a.csv"));
    EXPECT_EQ(Back->currentIndex(), Back->model()->index(0, 0));
    EXPECT_EQ(Back->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Back->verticalScrollBar()->value(), 0);
}

TEST_F(SheetWindowTest, AnEmptyFileShowsOneDisabledEmptyRow)
{
    Add(FOutputs, "empty.csv", "", TextFields(3));
    Add(FOutputs, "blank.csv", "\r\n", TextFields(3));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    EXPECT_FALSE(Grid->isEnabled());
    ASSERT_EQ(Grid->model()->rowCount(), 1);
    EXPECT_EQ(Grid->model()->columnCount(), 3);
    EXPECT_EQ(Grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("t1"));
    EXPECT_EQ(Grid->model()->headerData(0, Qt::Vertical).toString(), QString());
    EXPECT_EQ(Grid->model()->index(0, 0).data().toString(), QString());

    // A blank line is a row of its own, numbered.
    Window.SheetList()->setCurrentRow(1);
    EXPECT_TRUE(Window.VisibleGrid()->isEnabled());
    EXPECT_EQ(Window.VisibleGrid()->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
}

TEST_F(SheetWindowTest, CellTextInDisplayAndCopyForms)
{
    const TTvrFieldDefDynArray Defs = {
        {"整数", sftInteger, 10}, {"実数", sftDouble, 10}, {"日付", sftDate, 10}, {"文字", sftString, 10}};
    Add(FOutputs, "n.csv",
        "1234567,1234.5,2024/4/1,abc\r\n"
        "-1234567,-1234.5,x,1234\r\n"
        ",0.5,,\r\n"
        "abc,2.5E-6,2024/04/01 9:05,\r\n"
        "0,1E20,,\r\n",
        Defs);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    struct Case {
        int Col;
        int Row;
        const char* Display;
        const char* Copy;
        bool Numeric;
    };
    // clang-format off
    const Case kCases[] = {
        {0, 0, "1,234,567",  "1234567",  true},
        {1, 0, "1,235",      "1234.5",   true},
        {2, 0, "2024/04/01", "2024/04/01", false},
        {3, 0, "abc",        "abc",      false},
        {0, 1, "-1,234,567", "-1234567", true},
        {1, 1, "-1,235",     "-1234.5",  true},
        {2, 1, "x",          "x",        false},
        {3, 1, "1234",       "1234",     false},
        {0, 2, "",           "",         false},
        {1, 2, "1",          "0.5",      true},
        {0, 3, "abc",        "abc",      false},
        {1, 3, "0",          "2.5E-6",   true},
        {2, 3, "2024/04/01", "2024/04/01", false},
        {0, 4, "0",          "0",        true},
        {1, 4, "100,000,000,000,000,000,000", "1E20", true},
    };
    // clang-format on
    const QAbstractItemModel* Model = Window.VisibleGrid()->model();
    for (const Case& C : kCases) {
        const std::string Where = std::to_string(C.Col) + "," + std::to_string(C.Row);
        EXPECT_EQ(Window.CellText(C.Col, C.Row, false), QString::fromUtf8(C.Display)) << Where;
        EXPECT_EQ(Window.CellText(C.Col, C.Row, true), QString::fromUtf8(C.Copy)) << Where;
        EXPECT_EQ(Window.IsNumericCell(C.Col, C.Row), C.Numeric) << Where;
        EXPECT_EQ(Model->index(C.Row, C.Col).data().toString(), QString::fromUtf8(C.Display)) << Where;
        const auto Align = Model->index(C.Row, C.Col).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(bool(Align & Qt::AlignRight), C.Numeric) << Where;
    }
}

TEST_F(SheetWindowTest, CopiesTheSelectionAsTabSeparatedLinesJoinedByCrLf)
{
    const TTvrFieldDefDynArray Defs = {{"a", sftString, 5}, {"b", sftInteger, 5}, {"c", sftDouble, 5}, {"d", sftString, 5}};
    Add(FOutputs, "c.csv", "x0,1000,1.5,z0\r\nx1,2000,2.25,z1\r\nx2,3000,3,z2\r\n", Defs);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    const QAbstractItemModel* Model = Grid->model();
    Grid->selectionModel()->setCurrentIndex(Model->index(1, 0), QItemSelectionModel::NoUpdate);
    Grid->selectionModel()->select(QItemSelection(Model->index(1, 0), Model->index(2, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->clear();
    QTest::keyClick(Grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("x1\t2000\t2.25\r\nx2\t3000\t3"));

    // Select all: every data cell, never the titles or row numbers.
    QTest::keyClick(Grid, Qt::Key_A, Qt::ControlModifier);
    Window.ActCopyExecute();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("x0\t1000\t1.5\tz0\r\nx1\t2000\t2.25\tz1\r\nx2\t3000\t3\tz2"));
}

TEST_F(SheetWindowTest, RowModeScrollsWithLeftAndRightAndADoubleClickLeavesItOnTheCell)
{
    AddWide(FOutputs, "w.csv", 50, 40);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    const QAbstractItemModel* Model = Grid->model();
    Grid->setCurrentIndex(Model->index(3, 2));
    ASSERT_FALSE(Window.RowMode());

    QTest::keyClick(Grid, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(Window.RowMode());
    EXPECT_EQ(Grid->selectionBehavior(), QAbstractItemView::SelectRows);
    const QModelIndexList Selected = Grid->selectionModel()->selectedIndexes();
    EXPECT_EQ(Selected.size(), 40 - 2);
    for (const QModelIndex& Index : Selected)
        EXPECT_EQ(Index.row(), 3);

    QScrollBar* Bar = Grid->horizontalScrollBar();
    ASSERT_GT(Bar->maximum(), 1);
    EXPECT_EQ(Bar->value(), 0);
    QTest::keyClick(Grid, Qt::Key_Left);
    EXPECT_EQ(Bar->value(), 0);
    QTest::keyClick(Grid, Qt::Key_Right);
    QTest::keyClick(Grid, Qt::Key_Right);
    EXPECT_EQ(Bar->value(), 2);
    QTest::keyClick(Grid, Qt::Key_Left);
    EXPECT_EQ(Bar->value(), 1);
    EXPECT_EQ(Grid->currentIndex(), Model->index(3, 2));
    Bar->setValue(Bar->maximum());
    QTest::keyClick(Grid, Qt::Key_Right);
    EXPECT_EQ(Bar->value(), Bar->maximum());
    Bar->setValue(0);

    // Down moves whole rows in row mode.
    QTest::keyClick(Grid, Qt::Key_Down);
    EXPECT_EQ(Grid->currentIndex().row(), 4);
    EXPECT_TRUE(Grid->selectionModel()->isRowSelected(4, QModelIndex()));

    const QRect Cell = Grid->visualRect(Model->index(6, 3));
    QTest::mouseDClick(Grid->viewport(), Qt::LeftButton, Qt::NoModifier, Cell.center());
    EXPECT_FALSE(Window.RowMode());
    EXPECT_EQ(Grid->selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_EQ(Grid->currentIndex(), Model->index(6, 3));
    EXPECT_EQ(Grid->selectionModel()->selectedIndexes(), QModelIndexList {Model->index(6, 3)});

    // Out of row mode Right moves the current cell.
    QTest::keyClick(Grid, Qt::Key_Right);
    EXPECT_EQ(Grid->currentIndex(), Model->index(6, 4));
}

TEST_F(SheetWindowTest, EscHidesTheWindow)
{
    Add(FOutputs, "e.csv", "1\r\n", TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    for (QWidget* Target : {static_cast<QWidget*>(Window.VisibleGrid()), static_cast<QWidget*>(Window.SheetList())}) {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        QTest::keyClick(Target, Qt::Key_Escape, Qt::ShiftModifier);
        EXPECT_TRUE(Window.isVisible());
        QTest::keyClick(Target, Qt::Key_Escape);
        EXPECT_FALSE(Window.isVisible());
    }
}

TEST_F(SheetWindowTest, ListHintNamesTheFileAndItsTime)
{
    Add(FInputs, "a.csv", "1\r\n", TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    const QModelIndex Item = Window.SheetList()->model()->index(0, 0);
    EXPECT_EQ(Window.GetItemHint(Window.SheetList(), Item),
              QStringLiteral("a.csv\n") + Window.SheetInfos()[0].DateInfo1);
    EXPECT_EQ(Window.GetItemHint(&Window, QModelIndex()), QString());
}

TEST(SheetDateInfo, TodayShowsTheTimeOtherDaysTheDateAndAge)
{
    struct Case {
        TTvrDate File;
        const char* DateInfo1;
        const char* DateInfo2;
        bool IsToday;
    };
    const double Nine05 = (9 * 60 + 5) / 1440.0;
    // clang-format off
    const Case kCases[] = {
        {TTvrDate::FromSerial(kToday.Serial() + Nine05),     "09:05 (本日)",            "本日",  true},
        {TTvrDate::FromSerial(kToday.Serial() - 3 + Nine05), "2024-04-01 09:05 (3日前)", "3日前", false},
        {TTvrDate::FromSerial(kToday.Serial() + 2),          "2024-04-06 00:00 (2日前)", "2日前", false},
    };
    // clang-format on
    for (const Case& C : kCases) {
        TTvrSheetInfo Info;
        SheetDateInfo(C.File, kToday, Info);
        EXPECT_EQ(Info.DateInfo1, QString::fromUtf8(C.DateInfo1)) << C.DateInfo1;
        EXPECT_EQ(Info.DateInfo2, QString::fromUtf8(C.DateInfo2)) << C.DateInfo1;
        EXPECT_EQ(Info.IsToday, C.IsToday) << C.DateInfo1;
    }
}

// The configuration of one test, removed with it.
class ScopedConfig {
public:
    explicit ScopedConfig(const QString& AFolder) { SetConfig(std::make_unique<TTvrConfig>(AFolder)); }
    ~ScopedConfig() { SetConfig(nullptr); }
    ScopedConfig(const ScopedConfig&) = delete;
    ScopedConfig& operator=(const ScopedConfig&) = delete;
};

TEST_F(SheetWindowTest, KeepsItsPlaceInTheConfiguration)
{
    Add(FOutputs, "g.csv", "1\r\n", TextFields(1));
    const ScopedConfig Scoped(FDir.path());
    Config().WriteInteger(QStringLiteral("Sheet.Left"), 40);
    Config().WriteInteger(QStringLiteral("Sheet.Top"), 30);
    Config().WriteInteger(QStringLiteral("Sheet.Width"), 700);
    Config().WriteInteger(QStringLiteral("Sheet.Height"), 500);
    Config().WriteInteger(QStringLiteral("Sheet.ListWidth"), 180);
    {
        TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
        EXPECT_EQ(Window.pos(), QPoint(40, 30));
        EXPECT_EQ(Window.size(), QSize(700, 500));
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        EXPECT_EQ(Window.ListPanel()->width(), 180);
        Window.move(60, 70);
        Window.resize(640, 480);
        QApplication::processEvents();
    }
    EXPECT_FALSE(Config().ReadBool(QStringLiteral("Sheet.Maximized"), true));
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Left"), 0), 60);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Top"), 0), 70);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Width"), 0), 640);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Height"), 0), 480);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.ListWidth"), 0), 180);

    // Closed maximised: the place before stays as it was.
    Config().WriteBool(QStringLiteral("Sheet.Maximized"), true);
    {
        TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
        EXPECT_TRUE(Window.isMaximized());
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    EXPECT_TRUE(Config().ReadBool(QStringLiteral("Sheet.Maximized"), false));
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Left"), 0), 60);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Width"), 0), 640);
}

TEST_F(SheetWindowTest, APlaceOffEveryScreenIsBroughtBackOntoTheNearest)
{
    Add(FOutputs, "d.csv", "1\r\n", TextFields(1));
    const ScopedConfig Scoped(FDir.path());
    // Left on a second screen, larger than this one, that is gone now.
    const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
    Config().WriteInteger(QStringLiteral("Sheet.Left"), Area.right() + 1200);
    Config().WriteInteger(QStringLiteral("Sheet.Top"), Area.top() + 40);
    Config().WriteInteger(QStringLiteral("Sheet.Width"), Area.width() + 300);
    Config().WriteInteger(QStringLiteral("Sheet.Height"), Area.height() / 2);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    // Its place (where its frame begins) and its size on the screen; the
    // frame around it is the desktop's.
    EXPECT_TRUE(Area.contains(QRect(Window.pos(), Window.size())))
        << Window.x() << "," << Window.y() << " " << Window.width() << "x" << Window.height();
    EXPECT_EQ(Window.size(), QSize(Area.width(), Area.height() / 2));
    EXPECT_EQ(Window.y(), Area.top() + 40);
}

TEST_F(SheetWindowTest, DefaultsWithoutAConfiguration)
{
    Add(FOutputs, "d.csv", "1\r\n", TextFields(1));
    const ScopedConfig Scoped(FDir.path());
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    EXPECT_EQ(Window.pos(), QPoint(0, 0));
    EXPECT_EQ(Window.size(), QSize(800, 600));
    EXPECT_FALSE(Window.isMaximized());
}

TEST_F(SheetWindowTest, AFileThatCannotBeReadKeepsTheGridOnScreen)
{
    Add(FInputs, "a.csv", "first\r\n", TextFields(1));
    Add(FInputs, "b.csv", "second\r\n", TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    ASSERT_EQ(ShownFile(Window), QStringLiteral("b.csv"));
    ASSERT_TRUE(QFile::remove(FDir.filePath(QStringLiteral("a.csv"))));
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.SheetList()->setCurrentRow(0);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("b.csv"));
    EXPECT_EQ(Window.SheetIndex(), 1);
    EXPECT_EQ(Window.SheetList()->currentRow(), 1);
    EXPECT_EQ(Window.CellText(0, 0, false), QStringLiteral("second"));
}

// The sheets of a run, none read yet: the list shows every one at once, and
// a sheet's file is read when it is chosen, so that it shows what the file
// holds then; a book gone by then gives the error and leaves the grid.
TEST_F(SheetWindowTest, ASheetNotYetShownIsReadWhenChosen)
{
    AddDeferred(FInputs, "a.csv", "source\r\n", TextFields(1));
    AddDeferred(FOutputs, "x.csv", "first book\r\n", TextFields(1));
    AddDeferred(FOutputs, "y.csv", "second book\r\n", TextFields(1));
    AddDeferred(FOutputs, "z.csv", "third book\r\n", TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    ASSERT_EQ(Window.SheetList()->count(), 4);
    EXPECT_EQ(Window.SheetList()->item(3)->text(), QStringLiteral("z.csv"));
    EXPECT_EQ(ShownFile(Window), QStringLiteral("x.csv"));
    EXPECT_EQ(Window.CellText(0, 0, false), QStringLiteral("first book"));

    Write("y.csv", "changed\r\nafter the run\r\n");
    Window.SheetList()->setCurrentRow(2);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("y.csv"));
    EXPECT_EQ(Window.VisibleGrid()->SheetModel()->LineCount(), 2);
    EXPECT_EQ(Window.CellText(0, 1, false), QStringLiteral("after the run"));

    ASSERT_TRUE(QFile::remove(FDir.filePath(QStringLiteral("z.csv"))));
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.SheetList()->setCurrentRow(3);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_EQ(ShownFile(Window), QStringLiteral("y.csv"));
    EXPECT_EQ(Window.SheetIndex(), 2);
    EXPECT_EQ(Window.SheetList()->currentRow(), 2);
    EXPECT_EQ(Window.CellText(0, 1, false), QStringLiteral("after the run"));
    // The run's own sheets were never read: the viewer reads each file it shows.
    for (int I = 0; I < FOutputs.Count(); ++I)
        EXPECT_FALSE(FOutputs.Sheets(I).ContentRead()) << I;
}

} // namespace
} // namespace tavrel

namespace tavrel {
namespace {

TEST_F(SheetWindowTest, LayoutActionsAndSizesAtTheDesignResolution)
{
    const TTvrFieldDefDynArray Defs = {{"日付", sftDate, 10}, {"金額", sftInteger, 12}};
    Add(FInputs, "s.csv", "2024/04/01,100\r\n", Defs);
    // Dates of the widest digits the face has.
    Add(FOutputs, "o.csv", "2024/04/01,100\r\n2000/08/28,100\r\n2088/12/30,100\r\n1999/09/29,100\r\n", Defs);
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    struct Case {
        const char* Button;
        const char* Caption;
        QKeySequence Shortcut;
        int Left;
    };
    const Case kCases[] = {
        {"IcSelectAllSpeedButton", "すべて選択", QKeySequence(Qt::CTRL | Qt::Key_A), 2},
        {"IcCopySpeedButton", "コピー", QKeySequence(Qt::CTRL | Qt::Key_C), 88},
        {"IcRowSelectSpeedButton", "行選択", QKeySequence(Qt::CTRL | Qt::Key_R), 174},
        {"IcPrintSpeedButton", "印刷...", QKeySequence(Qt::CTRL | Qt::Key_P), 260},
        {"IcPdfSaveSpeedButton", "PDF保存...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), 346},
        {"IcChartSpeedButton", "グラフ", QKeySequence(), 432},
    };
    for (const Case& C : kCases) {
        auto* Button = Window.findChild<QToolButton*>(QLatin1String(C.Button));
        ASSERT_NE(Button, nullptr) << C.Button;
        EXPECT_EQ(Button->text(), QString::fromUtf8(C.Caption)) << C.Button;
        EXPECT_EQ(Button->defaultAction()->shortcut(), C.Shortcut) << C.Button;
        EXPECT_EQ(Button->geometry(), QRect(C.Left, 4, 83, 25)) << C.Button;
    }
    auto* Popup = Window.findChild<QMenu*>(QStringLiteral("PopupMenu"));
    ASSERT_NE(Popup, nullptr);
    QStringList Items;
    for (QAction* Action : Popup->actions())
        Items << (Action->isSeparator() ? QStringLiteral("-") : Action->text());
    EXPECT_EQ(Items, QStringList({"すべて選択", "-", "コピー", "-", "行選択"}));

    // Meiryo 12: list items 12 + 10 - 2, grid rows 12 + 11 - 2.
    QListWidget* List = Window.SheetList();
    EXPECT_EQ(List->visualItemRect(List->item(0)).height(), 20);
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    EXPECT_EQ(Grid->rowHeight(0), 21);
    // A character of a column is the letter "x", or a digit where that is
    // wider, as in the source-data dialog.
    const QFontMetrics Metrics(Grid->font());
    const int X = std::max(Metrics.horizontalAdvance(QLatin1Char('x')), Metrics.horizontalAdvance(QLatin1Char('0')));
    // Each date in its column of 10 characters shows whole: drawn as the
    // grid draws it, with the grid's own font, into its cell on the screen,
    // it is not shortened.
    EXPECT_EQ(Grid->columnWidth(0), 10 * X);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    QImage Canvas(Grid->viewport()->size(), QImage::Format_ARGB32);
    QPainter Painter(&Canvas);
    Painter.setFont(Grid->font());
    for (int Row = 0; Row < Grid->model()->rowCount(); ++Row) {
        const QModelIndex Date = Grid->model()->index(Row, 0);
        const QString Text = Date.data(Qt::DisplayRole).toString();
        ASSERT_EQ(Text.size(), 10) << Text.toStdString();
        // The cell as the grid hands it to its delegate: less the line
        // between the cells.
        const QRect Cell = Grid->visualRect(Date);
        ASSERT_EQ(Cell.width(), Grid->columnWidth(0) - 1);
        EXPECT_FALSE(DrawCellText(Painter, Cell, Text, nctoLeft | nctoVCenter | nctoModify, 2, 2))
            << Text.toStdString() << " in " << Cell.width() << " pixels";
    }
    Painter.end();
    EXPECT_EQ(Grid->columnWidth(1), 12 * X);
    EXPECT_EQ(Grid->verticalHeader()->sizeHint().width(), 6 * X);
    EXPECT_EQ(Grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("金額"));

    // The row-mode button stays down while row mode is on.
    auto* RowButton = Window.findChild<QToolButton*>(QStringLiteral("IcRowSelectSpeedButton"));
    Window.ActRowSelectExecute();
    EXPECT_TRUE(RowButton->isChecked());
    Window.ActRowSelectExecute();
    EXPECT_FALSE(RowButton->isChecked());
}

TEST_F(SheetWindowTest, RowNumbersBeyondSixLettersWidenTheirColumn)
{
    std::string Lines;
    for (int R = 0; R < 1000000; ++R)
        Lines += "\r\n";
    Add(FInputs, "short.csv", "1\r\n", TextFields(1));
    Add(FOutputs, "long.csv", Lines, TextFields(1));
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    ASSERT_EQ(Grid->model()->rowCount(), 1000000);
    const QFontMetrics Metrics = Grid->fontMetrics();
    EXPECT_GE(Grid->verticalHeader()->sizeHint().width(), Metrics.horizontalAdvance(QStringLiteral("1000000")) + 4);
    Window.SheetList()->setCurrentRow(0);
    EXPECT_EQ(Window.VisibleGrid()->verticalHeader()->sizeHint().width(),
              6 * std::max(Metrics.horizontalAdvance(QLatin1Char('x')), Metrics.horizontalAdvance(QLatin1Char('0'))));
}

TEST_F(SheetWindowTest, ACellHintIsItsTextOnlyWhereTheCellCutsItOff)
{
    // An unquoted field would end at the first blank.
    Add(FOutputs, "h.csv", "short,\"a text much too long for a column two letters wide\"\r\n",
        {{"a", sftString, 20}, {"b", sftString, 2}});
    TTvrSheetWindow Window(FInputs, FOutputs, TTvrRegionalSettings(), kToday);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    TTvrSheetGrid* Grid = Window.VisibleGrid();
    TNbItemHint* Hint = nullptr;
    for (QObject* Child : Grid->children())
        if (auto* Found = dynamic_cast<TNbItemHint*>(Child))
            Hint = Found;
    ASSERT_NE(Hint, nullptr);
    const QAbstractItemModel* Model = Grid->model();
    EXPECT_EQ(Hint->HintAt(Grid->visualRect(Model->index(0, 0)).center()), QString());
    EXPECT_EQ(Hint->HintAt(Grid->visualRect(Model->index(0, 1)).center()),
              QStringLiteral("a text much too long for a column two letters wide"));
}

} // namespace
} // namespace tavrel
