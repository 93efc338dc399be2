// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "TestSupport.h"
#include "shell/NbCellText.h"
#include "shell/NbFonts.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "sources/SrcTables.h"
#include "tables/TvrCsv.h"
#include "windows/TvrGridParts.h"
#include "windows/TvrMksrcDialog.h"

namespace tavrel {
namespace {

// A box that ShowMessageBox really showed, answered by BoxAnswerer.
struct TAnsweredBox {
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Answers every message box that comes up while it lives with OK (the
// seam answers only the first box of an action).
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            for (QWidget* Widget : QApplication::topLevelWidgets()) {
                auto* Box = qobject_cast<QMessageBox*>(Widget);
                if (Box && Box->isVisible()) {
                    Boxes.push_back({Box->text(), Box->icon()});
                    Box->done(QMessageBox::Ok);
                }
            }
        });
        FTimer.start(20);
    }
    std::vector<TAnsweredBox> Boxes;

private:
    QTimer FTimer;
};

// The configuration of one test, removed with it.
class ScopedConfig {
public:
    explicit ScopedConfig(const QString& AFolder) { SetConfig(std::make_unique<TTvrConfig>(AFolder)); }
    ~ScopedConfig() { SetConfig(nullptr); }
    ScopedConfig(const ScopedConfig&) = delete;
    ScopedConfig& operator=(const ScopedConfig&) = delete;
};

const QString kSentinel = QStringLiteral("sentinel");

// The dialog is opened for the person master.
const QString kDataName = [] {
    const std::string_view Caption = SrcTableInfo(TSrcTableKind::Tantosha).Caption;
    return QString::fromUtf8(Caption.data(), static_cast<qsizetype>(Caption.size()));
}();

// True when no message box took the pending seam answer: the answer is
// still there for a box of our own.
bool NoBoxShown()
{
    ShowMessageBox(nmkInformation, kSentinel, nmbOk);
    return LastMessageBox() && LastMessageBox()->Text == kSentinel;
}

class MksrcDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    TTvrMksrcParams Params(const TTvrFieldDefDynArray& AFieldDefs, const QString& AName = QStringLiteral("m.csv"))
    {
        TTvrMksrcParams Result;
        Result.DataName = kDataName;
        Result.FileName = FDir.filePath(AName).toStdString();
        Result.FieldDefs = AFieldDefs;
        return Result;
    }

    // Fills the clipboard and pastes; the warning a paste may show is
    // answered through the seam.
    static void Paste(TTvrMksrcDialog& ADialog, const QString& AText)
    {
        QGuiApplication::clipboard()->setText(AText);
        SetNextMessageBoxResult(QMessageBox::Ok);
        ADialog.ActPaste()->trigger();
    }

    // Saves with OK in the question; a BoxAnswerer takes any later box.
    static void Save(TTvrMksrcDialog& ADialog)
    {
        SetNextMessageBoxResult(QMessageBox::Ok);
        ADialog.ActSave()->trigger();
    }

    static QByteArray ReadAll(const QString& APath)
    {
        QFile File(APath);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir FDir;
};

const TTvrFieldDefDynArray kThreeText = {{"コード", sftString, 6}, {"名前", sftString, 10}, {"メモ", sftString, 20}};
const TTvrFieldDefDynArray kTyped = {
    {"文字", sftString, 8}, {"整数", sftInteger, 8}, {"実数", sftDouble, 8}, {"日付", sftDate, 10}};

// ---------------------------------------------------------------- layout

TEST_F(MksrcDialogTest, LayoutCaptionsColumnsAndShortcuts)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    EXPECT_EQ(Dialog.windowTitle(), QStringLiteral("ソースデータ作成"));
    EXPECT_EQ(Dialog.ActPaste()->text(), QStringLiteral("貼り付け"));
    EXPECT_EQ(Dialog.ActSave()->text(), QStringLiteral("保存"));
    EXPECT_EQ(Dialog.ActPaste()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(Dialog.ActSave()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Dialog.HeadPanel()->text(), QStringLiteral(" 作成するソースデータ : ") + kDataName);
    EXPECT_TRUE(Dialog.HeadPanel()->toolTip().endsWith(QStringLiteral("\n・ファイル名 : m.csv")))
        << Dialog.HeadPanel()->toolTip().toStdString();
    EXPECT_TRUE(Dialog.HeadPanel()->toolTip().startsWith(QStringLiteral("作成するソースデータ\n・ソースデータの場所 : ")));
    auto* Paste = Dialog.findChild<QToolButton*>(QStringLiteral("IcPasteSpeedButton"));
    auto* Save = Dialog.findChild<QToolButton*>(QStringLiteral("IcSaveSpeedButton"));
    ASSERT_TRUE(Paste && Save);
    EXPECT_EQ(Paste->geometry(), QRect(2, 4, 83, 25));
    EXPECT_EQ(Save->geometry(), QRect(88, 4, 83, 25));

    QTableView* Grid = Dialog.Grid();
    const QFontMetrics Metrics(Grid->font());
    const int X = std::max(Metrics.horizontalAdvance(QLatin1Char('x')), Metrics.horizontalAdvance(QLatin1Char('0')));
    ASSERT_EQ(Dialog.Model()->columnCount(), 3);
    for (int J = 0; J < 3; ++J) {
        EXPECT_EQ(Grid->horizontalHeader()->sectionSize(J), kThreeText[static_cast<size_t>(J)].CharCount * X);
        EXPECT_EQ(Dialog.Model()->headerData(J, Qt::Horizontal).toString().toStdString(),
                  kThreeText[static_cast<size_t>(J)].Name);
    }
    EXPECT_EQ(Grid->verticalHeader()->sizeHint().width(), 6 * X);
    EXPECT_EQ(Grid->verticalHeader()->defaultSectionSize(), RowHeightForFont(Grid->font(), 11));
    // Cleared: one empty disabled row, Save not possible.
    EXPECT_EQ(Dialog.Model()->rowCount(), 1);
    EXPECT_FALSE(Grid->isEnabled());
    EXPECT_FALSE(Dialog.ActSave()->isEnabled());
    EXPECT_EQ(Grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(MksrcDialogTest, CtrlVPastesAndCtrlSAsksInTheShownDialog)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb"));
    QTest::keyClick(&Dialog, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Dialog.CellText(1, 0), QStringLiteral("b"));
    EXPECT_TRUE(Dialog.Grid()->isEnabled());
    EXPECT_TRUE(Dialog.Grid()->hasFocus());
    EXPECT_EQ(Dialog.Grid()->currentIndex(), Dialog.Model()->index(0, 0));
    // Ctrl+S asks before saving; Cancel writes nothing.
    SetNextMessageBoxResult(QMessageBox::Cancel);
    QTest::keyClick(&Dialog, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(LastMessageBox());
    EXPECT_TRUE(LastMessageBox()->Text.endsWith(QStringLiteral("ファイル名 : m.csv")));
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath(QStringLiteral("m.csv"))));
}

// ---------------------------------------------------------------- paste

TEST_F(MksrcDialogTest, ThreeRowsOfTwoCellsIntoThreeColumns)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Paste(Dialog, QStringLiteral("a\tb\r\nc\td\r\ne\tf"));
    EXPECT_TRUE(NoBoxShown());
    ASSERT_EQ(Dialog.Model()->rowCount(), 3);
    const char* const Expected[3][3] = {{"a", "b", ""}, {"c", "d", ""}, {"e", "f", ""}};
    for (int R = 0; R < 3; ++R) {
        EXPECT_EQ(Dialog.Model()->headerData(R, Qt::Vertical).toString(), QString::number(R + 1));
        for (int C = 0; C < 3; ++C)
            EXPECT_EQ(Dialog.CellText(C, R), QString::fromUtf8(Expected[R][C])) << R << "," << C;
    }
    EXPECT_TRUE(Dialog.ActSave()->isEnabled());
    EXPECT_TRUE(Dialog.Grid()->isEnabled());
}

struct TSplitCase {
    const char* Clipboard;
    std::vector<std::vector<const char*>> Rows;
};

class MksrcPasteSplit : public MksrcDialogTest, public ::testing::WithParamInterface<TSplitCase> {};

TEST_P(MksrcPasteSplit, RowsAndCellsAsPasted)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Paste(Dialog, QString::fromUtf8(GetParam().Clipboard));
    EXPECT_TRUE(NoBoxShown());
    const auto& Rows = GetParam().Rows;
    ASSERT_EQ(Dialog.Model()->rowCount(), static_cast<int>(Rows.size()));
    for (size_t R = 0; R < Rows.size(); ++R)
        for (size_t C = 0; C < 3; ++C)
            EXPECT_EQ(Dialog.CellText(static_cast<int>(C), static_cast<int>(R)).toStdString(), std::string(Rows[R][C]))
                << "row " << R << " column " << C;
}

INSTANTIATE_TEST_SUITE_P(Cases, MksrcPasteSplit,
    ::testing::Values(
        TSplitCase {"a\tb\r\n", {{"a", "b", ""}}},
        TSplitCase {"a\n\nb\n", {{"a", "", ""}, {"", "", ""}, {"b", "", ""}}},
        TSplitCase {"a\rb\r\nc\nd", {{"a", "", ""}, {"b", "", ""}, {"c", "", ""}, {"d", "", ""}}},
        TSplitCase {"x\t\ty", {{"x", "", "y"}}},
        TSplitCase {"x\t", {{"x", "", ""}}},
        TSplitCase {"1\t2\t3\t4\t5", {{"1", "2", "3"}}},
        TSplitCase {" s \t\"q\"\t全角　", {{" s ", "\"q\"", "全角　"}}},
        TSplitCase {"\n", {{"", "", ""}}}));

TEST_F(MksrcDialogTest, AnEmptyClipboardWarnsAndClearsTheSheet)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Paste(Dialog, QStringLiteral("a\tb\nc"));
    ASSERT_EQ(Dialog.Model()->rowCount(), 2);
    QGuiApplication::clipboard()->clear();
    SetNextMessageBoxResult(QMessageBox::Ok);
    Dialog.ActPaste()->trigger();
    ASSERT_TRUE(LastMessageBox());
    EXPECT_EQ(LastMessageBox()->Text, QStringLiteral("クリップボードに該当するデータはありません。"));
    EXPECT_EQ(LastMessageBox()->Icon, MessageBoxIcon(nmkWarning));
    EXPECT_EQ(Dialog.Model()->rowCount(), 1);
    EXPECT_EQ(Dialog.CellText(0, 0), QString());
    EXPECT_FALSE(Dialog.Grid()->isEnabled());
    EXPECT_FALSE(Dialog.ActSave()->isEnabled());
}

// ---------------------------------------------------------------- checks

struct TCheckCase {
    int Column;
    const char* Text;
    bool Valid;
};

class MksrcCellCheck : public MksrcDialogTest, public ::testing::WithParamInterface<TCheckCase> {};

TEST_P(MksrcCellCheck, ByColumnType)
{
    TTvrMksrcDialog Dialog(Params(kTyped));
    QString Line;
    for (int C = 0; C < 4; ++C)
        Line += (C ? QStringLiteral("\t") : QString()) + (C == GetParam().Column ? QString::fromUtf8(GetParam().Text) : QString());
    Paste(Dialog, Line);
    EXPECT_EQ(Dialog.CellValid(GetParam().Column, 0), GetParam().Valid);
    EXPECT_EQ(Dialog.InvalidSome(), !GetParam().Valid);
    EXPECT_EQ(Dialog.Model()->index(0, GetParam().Column).data(TTvrMksrcModel::InvalidRole).toBool(), !GetParam().Valid);
    if (GetParam().Valid) {
        EXPECT_TRUE(NoBoxShown());
    } else {
        ASSERT_TRUE(LastMessageBox());
        EXPECT_EQ(LastMessageBox()->Text,
                  QStringLiteral("無効なデータがあります。\n無効と判断されたデータは赤字で表示されています。"));
        EXPECT_EQ(LastMessageBox()->Icon, MessageBoxIcon(nmkWarning));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MksrcCellCheck,
    ::testing::Values(
        TCheckCase {1, "1,234", true}, TCheckCase {1, "12a", false}, TCheckCase {1, "", true},
        TCheckCase {1, "-5", true}, TCheckCase {1, "1.5", false},
        TCheckCase {2, "1,234.5", true}, TCheckCase {2, "x", false}, TCheckCase {2, "", true},
        TCheckCase {3, "2024-04-01", true}, TCheckCase {3, "2024.04.01", true}, TCheckCase {3, "2024/04/01", true},
        TCheckCase {3, "2024/13/01", false}, TCheckCase {3, "明日", false}, TCheckCase {3, "", true},
        TCheckCase {0, "12a", true}, TCheckCase {0, "とても長い文字列がここにあります", true}));

TEST_F(MksrcDialogTest, APastedDateShowsWholeInItsColumn)
{
    // The dialog of the tables that hold dates, with their own columns.
    for (const TSrcTableKind Kind : {TSrcTableKind::Zandaka, TSrcTableKind::Kinsen}) {
        const TTvrFieldDefDynArray& Defs = SrcTableInfo(Kind).FieldDefs;
        TTvrMksrcDialog Dialog(Params(Defs));
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
        // Every column of every row the same date, of the widest digits.
        QStringList Lines;
        for (const char* Date : {"2024/04/01", "2000/08/28", "2088/12/30"})
            Lines.append(QStringList(static_cast<qsizetype>(Defs.size()), QLatin1String(Date)).join(u'\t'));
        Paste(Dialog, Lines.join(u'\n'));
        QTableView* Grid = Dialog.Grid();
        QImage Canvas(Grid->viewport()->size(), QImage::Format_ARGB32);
        QPainter Painter(&Canvas);
        Painter.setFont(Grid->font());
        int Checked = 0;
        for (size_t Column = 0; Column < Defs.size(); ++Column) {
            if (Defs[Column].FieldType != sftDate)
                continue;
            Grid->scrollTo(Grid->model()->index(0, static_cast<int>(Column)));
            for (int Row = 0; Row < 3; ++Row) {
                const QModelIndex Date = Grid->model()->index(Row, static_cast<int>(Column));
                // Drawn as the grid draws it, into the cell the grid hands its
                // delegate: less the line between the cells.
                const QRect Cell = Grid->visualRect(Date);
                EXPECT_FALSE(DrawCellText(Painter, Cell, Date.data().toString(), nctoLeft | nctoVCenter | nctoModify, 2, 2))
                    << Defs[Column].Name << ": " << Date.data().toString().toStdString() << " in " << Cell.width()
                    << " pixels";
                ++Checked;
            }
        }
        EXPECT_GT(Checked, 0);
    }
}

TEST_F(MksrcDialogTest, NumbersAreRightAlignedOnlyInNumericColumns)
{
    TTvrMksrcDialog Dialog(Params(kTyped));
    Paste(Dialog, QStringLiteral("1\t2\t3\t2024/04/01"));
    const bool Expected[] = {false, true, true, false};
    for (int C = 0; C < 4; ++C)
        EXPECT_EQ(Dialog.Model()->index(0, C).data(kGridNumericRole).toBool(), Expected[C]) << C;
}

// ---------------------------------------------------------------- save

struct TBytesCase {
    const char* Clipboard;
    QByteArray Bytes;
};

class MksrcSavedBytes : public MksrcDialogTest, public ::testing::WithParamInterface<TBytesCase> {};

TEST_P(MksrcSavedBytes, OneCsvLinePerRow)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Paste(Dialog, QString::fromUtf8(GetParam().Clipboard));
    Save(Dialog);
    ASSERT_TRUE(LastMessageBox());
    EXPECT_EQ(LastMessageBox()->Text,
              QStringLiteral("ソースデータを保存してこのダイアログを閉じます。\n\nファイル名 : m.csv"));
    EXPECT_EQ(LastMessageBox()->Buttons, MessageBoxButtons(nmbOkCancel));
    EXPECT_TRUE(Dialog.Saved());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QByteArray Bytes = ReadAll(FDir.filePath(QStringLiteral("m.csv")));
    EXPECT_EQ(Bytes.toHex(' ').toStdString(), GetParam().Bytes.toHex(' ').toStdString());

    // The tables read the file back with the texts as pasted.
    const std::vector<std::string> Lines = ReadTextLines(FDir.filePath(QStringLiteral("m.csv")).toStdString());
    ASSERT_EQ(static_cast<int>(Lines.size()), Dialog.Model()->rowCount());
    for (size_t R = 0; R < Lines.size(); ++R) {
        const std::vector<std::string> Fields = SplitCsvLine(Lines[R]);
        for (size_t C = 0; C < 3; ++C) {
            const std::string Field = C < Fields.size() ? Fields[C] : std::string();
            EXPECT_EQ(Field, Dialog.CellText(static_cast<int>(C), static_cast<int>(R)).toStdString());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MksrcSavedBytes,
    ::testing::Values(
        TBytesCase {"a\tb\tc\r\nd", QByteArray("a,b,c\r\nd,,\r\n")},
        TBytesCase {"a,b\tsay \"hi\"\tx y", QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"x y\"\r\n")},
        TBytesCase {"a\n\nb", QByteArray("a,,\r\n,,\r\nb,,\r\n")},
        TBytesCase {"担当\t当", QByteArray("\x92\x53\x93\x96,\x93\x96,\r\n")},
        TBytesCase {"担当\t한", QByteArray("\xEF\xBB\xBF担当,한,\r\n")}));

TEST_F(MksrcDialogTest, SavingTheSameRowsTwiceLeavesTheFileAndStillCloses)
{
    const QString Path = FDir.filePath(QStringLiteral("m.csv"));
    {
        TTvrMksrcDialog Dialog(Params(kThreeText));
        Paste(Dialog, QStringLiteral("a\tb"));
        Save(Dialog);
        ASSERT_TRUE(Dialog.Saved());
    }
    const QDateTime Old = QDateTime::currentDateTime().addDays(-3);
    {
        QFile File(Path);
        ASSERT_TRUE(File.open(QIODevice::ReadWrite));
        ASSERT_TRUE(File.setFileTime(Old, QFileDevice::FileModificationTime));
    }
    const QDateTime Before = QFileInfo(Path).lastModified();
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Paste(Dialog, QStringLiteral("a\tb"));
    BoxAnswerer Answerer;
    Save(Dialog);
    ASSERT_EQ(Answerer.Boxes.size(), 1u);
    EXPECT_EQ(Answerer.Boxes[0].Text, QStringLiteral("データに変更がないため、ファイルは更新されませんでした。"));
    EXPECT_EQ(Answerer.Boxes[0].Icon, MessageBoxIcon(nmkInformation));
    EXPECT_EQ(QFileInfo(Path).lastModified(), Before);
    EXPECT_TRUE(Dialog.Saved());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
}

TEST_F(MksrcDialogTest, CancelInTheQuestionKeepsTheDialogOpen)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    Paste(Dialog, QStringLiteral("a\tb\nc\td"));
    SetNextMessageBoxResult(QMessageBox::Cancel);
    Dialog.ActSave()->trigger();
    EXPECT_FALSE(Dialog.Saved());
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Dialog.Model()->rowCount(), 2);
    EXPECT_EQ(Dialog.CellText(1, 1), QStringLiteral("d"));
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath(QStringLiteral("m.csv"))));
}

TEST_F(MksrcDialogTest, AFileThatCannotBeWrittenKeepsItsContentAndTheDialogOpen)
{
    const QString Path = FDir.filePath(QStringLiteral("m.csv"));
    {
        QFile File(Path);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write("old\r\n");
    }
    ASSERT_TRUE(QFile::setPermissions(Path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    for (const QString& Target : {Path, FDir.filePath(QStringLiteral("missing/m.csv"))}) {
        TTvrMksrcParams P = Params(kThreeText);
        P.FileName = Target.toStdString();
        TTvrMksrcDialog Dialog(P);
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
        Paste(Dialog, QStringLiteral("a\tb"));
        BoxAnswerer Answerer;
        Save(Dialog);
        ASSERT_EQ(Answerer.Boxes.size(), 1u) << Target.toStdString();
        EXPECT_EQ(Answerer.Boxes[0].Icon, MessageBoxIcon(nmkError));
        EXPECT_FALSE(Answerer.Boxes[0].Text.isEmpty());
        EXPECT_FALSE(Dialog.Saved());
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Dialog.CellText(1, 0), QStringLiteral("b"));
        EXPECT_TRUE(Dialog.ActSave()->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(ReadAll(Path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("m.csv")});
}

// ---------------------------------------------------------------- modal use

TEST_F(MksrcDialogTest, ExecuteReturnsTrueOnlyAfterASuccessfulSave)
{
    TTvrMksrcParams P = Params(kThreeText);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb"));
    QTimer::singleShot(0, [] {
        auto* Dialog = dynamic_cast<TTvrMksrcDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        Dialog->ActPaste()->trigger();
        Save(*Dialog);
    });
    EXPECT_TRUE(ExecuteMksrcDialog(P));
    EXPECT_EQ(ReadAll(QString::fromStdString(P.FileName)), QByteArray("a,b,\r\n"));

    // The close box: not saved, nothing written.
    P.FileName = FDir.filePath(QStringLiteral("n.csv")).toStdString();
    QTimer::singleShot(0, [] {
        auto* Dialog = dynamic_cast<TTvrMksrcDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        Dialog->ActPaste()->trigger();
        Dialog->close();
    });
    EXPECT_FALSE(ExecuteMksrcDialog(P));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(P.FileName)));
}

// ---------------------------------------------------------------- size and hints

TEST_F(MksrcDialogTest, KeepsItsSizeInTheConfiguration)
{
    const ScopedConfig Scoped(FDir.path());
    {
        TTvrMksrcDialog Dialog(Params(kThreeText));
        EXPECT_EQ(Dialog.size(), QSize(800, 600));
    }
    Config().WriteInteger(QStringLiteral("Mksrc.Width"), 640);
    Config().WriteInteger(QStringLiteral("Mksrc.Height"), 480);
    {
        TTvrMksrcDialog Dialog(Params(kThreeText));
        EXPECT_EQ(Dialog.size(), QSize(640, 480));
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
        Dialog.resize(700, 500);
        QApplication::processEvents();
    }
    EXPECT_FALSE(Config().ReadBool(QStringLiteral("Mksrc.Maximized"), true));
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Mksrc.Width"), 0), 700);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Mksrc.Height"), 0), 500);

    // Closed maximised: the size before stays as it was.
    Config().WriteBool(QStringLiteral("Mksrc.Maximized"), true);
    {
        TTvrMksrcDialog Dialog(Params(kThreeText));
        EXPECT_TRUE(Dialog.windowState() & Qt::WindowMaximized);
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    }
    EXPECT_TRUE(Config().ReadBool(QStringLiteral("Mksrc.Maximized"), false));
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Mksrc.Width"), 0), 700);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Mksrc.Height"), 0), 500);
}

TEST_F(MksrcDialogTest, HintsOnlyForCellsWhoseTextDoesNotFit)
{
    TTvrMksrcDialog Dialog(Params(kThreeText));
    Dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    const QString Long = QStringLiteral("とても長いコードの文字列");
    Paste(Dialog, QStringLiteral("%1\tb").arg(Long));
    QTableView* Grid = Dialog.Grid();
    EXPECT_EQ(Dialog.GetItemHint(Grid, Dialog.Model()->index(0, 0)), Long);
    EXPECT_EQ(Dialog.GetItemHint(&Dialog, Dialog.Model()->index(0, 0)), QString());
    TNbItemHint* Hint = nullptr;
    for (QObject* Child : Grid->children())
        if (auto* H = dynamic_cast<TNbItemHint*>(Child))
            Hint = H;
    ASSERT_NE(Hint, nullptr);
    const QRect Cell0 = Grid->visualRect(Dialog.Model()->index(0, 0));
    const QRect Cell1 = Grid->visualRect(Dialog.Model()->index(0, 1));
    EXPECT_EQ(Hint->HintAt(Cell0.center()), Long);
    EXPECT_EQ(Hint->HintAt(Cell1.center()), QString());
}

} // namespace
} // namespace tavrel

namespace tavrel {
namespace {

TEST_F(MksrcDialogTest, EscKeepsThePastedRowsOnlySaveOrTheCloseBoxEndTheDialog)
{
    TTvrMksrcParams P = Params(kThreeText);
    bool StillOpen = false;
    int Rows = 0;
    QTimer::singleShot(0, [&] {
        auto* Dialog = dynamic_cast<TTvrMksrcDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        Paste(*Dialog, QStringLiteral("01\t会計\n02\t会長"));
        // Esc where the user presses it: in the grid, and on the dialog.
        QTest::keyClick(Dialog->Grid(), Qt::Key_Escape);
        QTest::keyClick(Dialog, Qt::Key_Escape);
        QTest::keyClick(Dialog, Qt::Key_Escape, Qt::ShiftModifier);
        StillOpen = Dialog->isVisible();
        Rows = Dialog->Model()->rowCount();
        Dialog->close();
    });
    EXPECT_FALSE(ExecuteMksrcDialog(P));
    EXPECT_TRUE(StillOpen);
    EXPECT_EQ(Rows, 2);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(P.FileName)));
}

TEST_F(MksrcDialogTest, AFolderWhoseNameIsNotUtf8IsWrittenToAndShownDecoded)
{
    // The folder of a stick written on Windows: 会計 in code page 932.
    const std::string Folder = FDir.path().toStdString() + "/\x89\xEF\x8C\x76/";
    ASSERT_EQ(::mkdir(Folder.c_str(), 0700), 0);
    TTvrMksrcParams P = Params(kThreeText);
    P.FileName = Folder + "担当者マスタ.csv";
    TTvrMksrcDialog Dialog(P);
    EXPECT_TRUE(Dialog.HeadPanel()->toolTip().contains(QStringLiteral("/会計\n・ファイル名 : 担当者マスタ.csv")))
        << Dialog.HeadPanel()->toolTip().toStdString();
    Paste(Dialog, QStringLiteral("01\t会計"));
    Save(Dialog);
    EXPECT_TRUE(Dialog.Saved());
    EXPECT_EQ(test::ReadBytes(P.FileName), test::ToCp932("01,会計,\r\n"));
}

} // namespace
} // namespace tavrel
