// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "aggregation/TvrSourceFiles.h"
#include "aggregation/TvrSumup.h"
#include "shell/NbHints.h"
#include "shell/NbFileNames.h"
#include "shell/NbMessageBox.h"
#include "shell/NbShellOpen.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "sources/SrcTables.h"
#include "tables/TvrCsv.h"
#include "windows/TvrBaseWindow.h"
#include "windows/TvrMainWindow.h"
#include "windows/TvrMksrcDialog.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrVersionDialog.h"
#include "windows/TvrYearEndDialog.h"

namespace tavrel {
namespace {

QString FromView(std::string_view AText)
{
    return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

QString Caption(TSrcTableKind AKind)
{
    return FromView(SrcTableInfo(AKind).Caption);
}

QString Keyword(TSrcTableKind AKind)
{
    return FromView(SrcTableInfo(AKind).Keyword);
}

// The example tables carry the names the source-data dialog gives them.
const QString kKamoku = FromView(SrcTableInfo(TSrcTableKind::Kamoku).FileName);
const QString kTantosha = FromView(SrcTableInfo(TSrcTableKind::Tantosha).FileName);
const QString kZandaka = FromView(SrcTableInfo(TSrcTableKind::Zandaka).FileName);
const QString kKinsen = FromView(SrcTableInfo(TSrcTableKind::Kinsen).FileName);

QStringList LogLinesOf(const TTvrMainWindow& AWindow)
{
    QStringList Lines;
    for (QTextBlock Block = AWindow.TotProgressMemo()->document()->begin(); Block.isValid(); Block = Block.next())
        Lines.append(Block.text());
    if (Lines.size() == 1 && Lines[0].isEmpty())
        Lines.clear();
    return Lines;
}

// Chooses an item of a combo box as the user does.
void Choose(QComboBox* ACombo, int AIndex)
{
    ACombo->setCurrentIndex(AIndex);
    emit ACombo->activated(AIndex);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDocuments.isValid());
        ASSERT_TRUE(FData.isValid());
        SetApplicationEnvironment();
        CheckEnvironment();
        SetConfig(std::make_unique<TTvrConfig>(FDocuments.path()));
    }

    void TearDown() override
    {
        delete FWindow.data();
        SetConfig(nullptr);
        ReleaseEnvironment();
    }

    // A folder of the data holding a copy of the example tables (with other
    // names when given).
    QString ExampleFolder(const QString& AName, const QStringList& ANames = {kKamoku, kTantosha, kZandaka, kKinsen})
    {
        const QString Folder = FData.filePath(AName);
        QDir().mkpath(Folder);
        const QString Sources[] = {kKamoku, kTantosha, kZandaka, kKinsen};
        for (qsizetype I = 0; I < ANames.size(); ++I)
            QFile::copy(QStringLiteral(TAVREL_EXAMPLES "/") + Sources[I], Folder + u'/' + ANames[I]);
        return Folder + u'/';
    }

    // Three folders of the example tables, remembered as a, b, c.
    std::tuple<QString, QString, QString> ThreeRememberedLocations()
    {
        const QString A = ExampleFolder(QStringLiteral("a"));
        const QString B = ExampleFolder(QStringLiteral("b"));
        const QString C = ExampleFolder(QStringLiteral("c"));
        Config().WriteSectionValues(QStringLiteral("SrcPaths"),
                                    {QStringLiteral("0=") + A, QStringLiteral("1=") + B, QStringLiteral("2=") + C});
        return {A, B, C};
    }

    TTvrMainWindow& Open()
    {
        FWindow = new TTvrMainWindow(TTvrRegionalSettings());
        FWindow->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(FWindow));
        return *FWindow;
    }

    static void Spoil(const QString& AFile, const QByteArray& AFrom, const QByteArray& ATo)
    {
        QFile File(AFile);
        ASSERT_TRUE(File.open(QIODevice::ReadOnly));
        QByteArray Bytes = File.readAll();
        File.close();
        ASSERT_TRUE(Bytes.contains(AFrom));
        Bytes.replace(AFrom, ATo);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        File.write(Bytes);
    }

    QTemporaryDir FDocuments;
    QTemporaryDir FData;
    QPointer<TTvrMainWindow> FWindow;
};

// The line of the log that says a table is being read.
QString Reading(TSrcTableKind AKind)
{
    return Caption(AKind) + QStringLiteral("読込中...");
}

const QStringList kCompleteLog = {
    Reading(TSrcTableKind::Kamoku),
    Reading(TSrcTableKind::Tantosha),
    Reading(TSrcTableKind::Zandaka),
    Reading(TSrcTableKind::Kinsen),
    QString(),
    QStringLiteral("11金銭出納簿.csv 作成中..."),
    QStringLiteral("12現金出納簿.csv 作成中..."),
    QStringLiteral("13預金通帳.csv 作成中..."),
    QStringLiteral("14担当者出納簿.csv 作成中..."),
    QStringLiteral("15収支科目明細書.csv 作成中..."),
    QStringLiteral("16大科目明細書.csv 作成中..."),
    QStringLiteral("17中科目明細書.csv 作成中..."),
    QStringLiteral("18試算表.csv 作成中..."),
    QString(),
    QStringLiteral("集計が完了しました。"),
};

// ---------------------------------------------------------------- start

TEST_F(MainWindowTest, FirstStartWithoutConfigurationChoosesNothing)
{
    TTvrMainWindow& Window = Open();
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("ミロナ会計係／Tavrel"));
    EXPECT_EQ(Window.size(), QSize(549, 632));
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 0);
    EXPECT_TRUE(Window.SrcPath().isEmpty());
    for (QComboBox* Combo : {Window.SrcKamokuComboBox(), Window.SrcTantoshaComboBox(), Window.SrcZandakaComboBox(),
                             Window.SrcKinsenComboBox()}) {
        EXPECT_EQ(Combo->currentIndex(), -1);
        EXPECT_FALSE(Combo->isEnabled());
    }
    EXPECT_FALSE(Window.SrcKamokuButton()->isEnabled());
    EXPECT_FALSE(Window.ActSrcClip(TSrcTableKind::Kamoku)->isEnabled());
    EXPECT_FALSE(Window.ActTotExec()->isEnabled());
    EXPECT_FALSE(Window.TotExecButton()->isEnabled());
    EXPECT_TRUE(Window.TotProgressMemo()->toPlainText().isEmpty());
    EXPECT_EQ(Window.SheetWindow(), nullptr);
}

TEST_F(MainWindowTest, PopupMenuHoldsEveryCommandInOrder)
{
    TTvrMainWindow& Window = Open();
    QStringList Items;
    for (QAction* Action : Window.MenuPopupMenu()->actions())
        Items.append(Action->isSeparator() ? QStringLiteral("-") : Action->text());
    // Each table's two commands, in the tables' order.
    QStringList Tables;
    for (const TSrcTableKind Kind : {TSrcTableKind::Kamoku, TSrcTableKind::Tantosha, TSrcTableKind::Zandaka,
                                     TSrcTableKind::Kinsen})
        Tables << Caption(Kind) + QStringLiteral("を選択") << Caption(Kind) + QStringLiteral("をクリップから作成");
    EXPECT_EQ(Items, (QStringList{QStringLiteral("データソースの場所"), QStringLiteral("-")} + Tables
                      + QStringList{QStringLiteral("-"), QStringLiteral("集計データ作成・表示"), QStringLiteral("-"),
                                    QStringLiteral("総会資料を作成..."), QStringLiteral("次年度のソースデータを作成..."),
                                    QStringLiteral("-"), QStringLiteral("ドキュメントフォルダを開く"),
                                    QStringLiteral("バージョン情報"), QStringLiteral("-"), QStringLiteral("終了")}));
    // The version dialog comes up modally, owned by the window, and goes
    // with OK.
    QString VersionTitle;
    QWidget* VersionParent = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* Dialog = dynamic_cast<TTvrVersionDialog*>(QApplication::activeModalWidget())) {
            VersionTitle = Dialog->windowTitle();
            VersionParent = Dialog->parentWidget();
            Dialog->accept();
        }
    });
    Window.ActHelpVersion()->trigger();
    EXPECT_EQ(VersionTitle, QStringLiteral("バージョン情報"));
    EXPECT_EQ(VersionParent, &Window);
    EXPECT_EQ(Window.MenuSpeedButton()->toolTip(),
              QStringLiteral("・このボタンをクリックするか、ウィンドウの上で右クリックするとメニューが開きます。\n"
                             "・説明書を見るには [ドキュメントフォルダを開く] を実行します。"));
}

TEST_F(MainWindowTest, RememberedFolderPreselectsTheFourTablesByKeyword)
{
    // Names that only contain the keywords, among another CSV file that
    // contains none; no names remembered.
    const QString Kamoku = QStringLiteral("2025") + Keyword(TSrcTableKind::Kamoku) + QStringLiteral(".CSV");
    const QString Tantosha = Keyword(TSrcTableKind::Tantosha) + QStringLiteral(".csv");
    const QString Zandaka = Keyword(TSrcTableKind::Zandaka) + QStringLiteral("2025.csv");
    const QString Kinsen = Keyword(TSrcTableKind::Kinsen) + QStringLiteral("2025.csv");
    const QString Folder = ExampleFolder(QStringLiteral("会計"), {Kamoku, Tantosha, Zandaka, Kinsen});
    QFile::copy(QStringLiteral(TAVREL_EXAMPLES "/") + kKamoku, Folder + QStringLiteral("memo.csv"));
    QFile::copy(QStringLiteral(TAVREL_EXAMPLES "/") + kKamoku, Folder + QStringLiteral("notes.txt"));
    Config().WriteSectionValues(QStringLiteral("SrcPaths"), {QStringLiteral("0=") + Folder});

    TTvrMainWindow& Window = Open();
    EXPECT_EQ(Window.SrcPath(), Folder);
    EXPECT_EQ(Window.SrcLocationComboBox()->currentIndex(), 0);
    EXPECT_EQ(Window.SrcKamokuComboBox()->currentText(), Kamoku);
    EXPECT_EQ(Window.SrcTantoshaComboBox()->currentText(), Tantosha);
    EXPECT_EQ(Window.SrcZandakaComboBox()->currentText(), Zandaka);
    EXPECT_EQ(Window.SrcKinsenComboBox()->currentText(), Kinsen);
    // Five CSV files (not the text file); the not-used item only where a
    // table may be left out.
    EXPECT_EQ(Window.SrcKamokuComboBox()->count(), 5);
    EXPECT_EQ(Window.SrcTantoshaComboBox()->count(), 6);
    EXPECT_EQ(Window.SrcZandakaComboBox()->count(), 6);
    EXPECT_EQ(Window.SrcKinsenComboBox()->count(), 5);
    EXPECT_TRUE(Window.SrcTantoshaComboBox()->itemText(5).isEmpty());
    EXPECT_TRUE(Window.ActTotExec()->isEnabled());
    EXPECT_TRUE(Window.SrcKamokuButton()->isEnabled());
}

TEST_F(MainWindowTest, RememberedNamesWinOverKeywordsAndVanishedFoldersAreLeftOut)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    const QString Old = Caption(TSrcTableKind::Kinsen) + QStringLiteral("(旧)");
    QFile::copy(Folder + kKinsen, Folder + Old + QStringLiteral(".csv"));
    Config().WriteSectionValues(QStringLiteral("SrcPaths"),
                                {QStringLiteral("0=") + FData.filePath(QStringLiteral("gone")),
                                 QStringLiteral("1=") + Folder, QStringLiteral("3=") + Folder + QStringLiteral("x")});
    Config().WriteString(QStringLiteral("SrcKinsen"), Old + QStringLiteral(".CSV"));

    TTvrMainWindow& Window = Open();
    // The first remembered folder is gone: no location is current, the one
    // after it is listed, the list stops at the gap in the keys.
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 1);
    EXPECT_EQ(Window.SrcLocationComboBox()->currentIndex(), -1);
    EXPECT_FALSE(Window.ActTotExec()->isEnabled());
    Choose(Window.SrcLocationComboBox(), 0);
    EXPECT_EQ(Window.SrcPath(), Folder);
    Config().WriteString(QStringLiteral("SrcKinsen"), Old + QStringLiteral(".CSV"));
    delete FWindow.data();

    TTvrMainWindow& Again = Open();
    EXPECT_EQ(Again.SrcPath(), Folder);
    EXPECT_EQ(Again.SrcKinsenComboBox()->currentText(), Old + QStringLiteral(".csv"));
    EXPECT_EQ(Again.SrcKamokuComboBox()->currentText(), kKamoku);
}

// ---------------------------------------------------------------- location history

TEST_F(MainWindowTest, ChoosingALocationMovesItToTheTopOnce)
{
    const auto [A, B, C] = ThreeRememberedLocations();
    TTvrMainWindow& Window = Open();
    QStringList Lines;

    Choose(Window.SrcLocationComboBox(), 0);
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + A, QStringLiteral("1=") + B, QStringLiteral("2=") + C}));
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 3);

    Choose(Window.SrcLocationComboBox(), 2);
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + C, QStringLiteral("1=") + A, QStringLiteral("2=") + B}));
    EXPECT_EQ(Window.SrcPath(), C);
    EXPECT_EQ(Window.SrcLocationComboBox()->currentIndex(), 0);
    EXPECT_EQ(Window.SrcLocationComboBox()->itemText(0), C);

    // The folder picker's choice goes to the top as well, written with its
    // separator; a cancelled picker changes nothing.
    const QString D = ExampleFolder(QStringLiteral("d"));
    SetNextSelectedFolder(D.chopped(1));
    Window.ActSrcLocation()->trigger();
    SetNextSelectedFolder(std::nullopt);
    Window.ActSrcLocation()->trigger();
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + D, QStringLiteral("1=") + C, QStringLiteral("2=") + A,
                                  QStringLiteral("3=") + B}));
    EXPECT_EQ(Window.SrcPath(), D);
    // F9 in the box opens the picker, as the browse button does.
    SetNextSelectedFolder(A);
    Window.SrcLocationComboBox()->setFocus();
    QTest::keyClick(Window.SrcLocationComboBox(), Qt::Key_F9);
    EXPECT_EQ(Window.SrcPath(), A);
    SetNextSelectedFolder(D);
    QTest::keyClick(Window.SrcLocationComboBox(), Qt::Key_F9);
    // The short names: the last three parts of each folder.
    EXPECT_TRUE(Window.SrcLocationDisplayNames()[0].endsWith(QStringLiteral(" ■ d")));
    EXPECT_EQ(Window.SrcLocationDisplayNames()[0].count(QStringLiteral(" ■ ")), 3);
    EXPECT_TRUE(Window.SrcKinsenComboBox()->currentIndex() >= 0);
}

TEST_F(MainWindowTest, LetterCaseTellsFoldersAndFilesApart)
{
    // Two folders whose names differ only in letter case, the second also
    // holding a cash-book table whose name differs from the first's only in
    // letter case; the first remembered without its separator.
    const QString Lower = ExampleFolder(QStringLiteral("acc"));
    const QString Upper = ExampleFolder(QStringLiteral("Acc"), {kKamoku, kTantosha, kZandaka, QStringLiteral("kinsen.csv")});
    QFile::copy(Upper + QStringLiteral("kinsen.csv"), Upper + QStringLiteral("KINSEN.CSV"));
    Config().WriteSectionValues(QStringLiteral("SrcPaths"), {QStringLiteral("0=") + Lower.chopped(1)});
    Config().WriteString(QStringLiteral("SrcKinsen"), QStringLiteral("KINSEN.CSV"));
    TTvrMainWindow& Window = Open();
    EXPECT_EQ(Window.SrcPath(), Lower);

    ASSERT_TRUE(Window.OpenSrcLocation(Upper));
    EXPECT_EQ(Window.SrcPath(), Upper);
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 2);
    EXPECT_EQ(Window.SrcLocationComboBox()->itemText(0), Upper);
    EXPECT_EQ(Window.SrcKinsenComboBox()->currentText(), QStringLiteral("KINSEN.CSV"));
    QStringList Lines;
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + Upper, QStringLiteral("1=") + Lower}));
}

TEST_F(MainWindowTest, DeleteRemovesOnlyAnEntryBelowTheFirstWhileTheListIsOpen)
{
    const auto [A, B, C] = ThreeRememberedLocations();
    TTvrMainWindow& Window = Open();
    TTvrOwnerDrawComboBox* Combo = Window.SrcLocationComboBox();
    QStringList Lines;

    // The list closed: Delete does nothing.
    Combo->setFocus();
    QTest::keyClick(Combo, Qt::Key_Delete);
    EXPECT_EQ(Combo->count(), 3);

    Combo->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([Combo] { return Combo->ListOpen(); }));
    QAbstractItemView* List = Combo->view();
    // The first entry, the current location, stays.
    List->setCurrentIndex(List->model()->index(0, 0));
    QTest::keyClick(List, Qt::Key_Delete);
    EXPECT_EQ(Combo->count(), 3);
    // With Shift nothing is deleted either.
    List->setCurrentIndex(List->model()->index(1, 0));
    QTest::keyClick(List, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Combo->count(), 3);

    QTest::keyClick(List, Qt::Key_Delete);
    EXPECT_EQ(Combo->count(), 2);
    EXPECT_EQ(Combo->currentIndex(), 0);
    EXPECT_EQ(Window.SrcPath(), A);
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + A, QStringLiteral("1=") + C}));
    EXPECT_EQ(Window.SrcLocationDisplayNames().size(), 2);
    Combo->hidePopup();
}

// ---------------------------------------------------------------- file items

TEST_F(MainWindowTest, FileItemsShowTimeAndAge)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    const QDateTime Now = QDateTime::currentDateTime();
    const QDateTime ThreeDaysAgo = Now.addDays(-3);
    for (const auto& [Name, Time] : {std::pair{kKamoku, Now}, std::pair{kKinsen, ThreeDaysAgo}}) {
        QFile File(Folder + Name);
        ASSERT_TRUE(File.open(QIODevice::ReadWrite));
        ASSERT_TRUE(File.setFileTime(Time, QFileDevice::FileModificationTime));
    }
    SetNextSelectedFolder(Folder);
    TTvrMainWindow& Window = Open();
    Window.ActSrcLocation()->trigger();

    QComboBox* Combo = Window.SrcKamokuComboBox();
    const int Today = Combo->findText(kKamoku);
    const int Earlier = Combo->findText(kKinsen);
    ASSERT_GE(Today, 0);
    ASSERT_GE(Earlier, 0);
    EXPECT_EQ(Window.SrcFileItemText(Today), kKamoku + QStringLiteral("  ") + Now.toString(QStringLiteral("HH:mm"))
                                                  + QStringLiteral(" (本日)"));
    EXPECT_EQ(Window.SrcFileItemText(Earlier),
              kKinsen + QStringLiteral("  ") + ThreeDaysAgo.toString(QStringLiteral("yyyy:MM:dd HH:mm"))
                  + QStringLiteral(" (3日前)"));
    EXPECT_TRUE(Window.SrcFileItemText(Window.SrcTantoshaComboBox()->count() - 1).isEmpty());
    // The open list, painted: each row holds its icon and text on its own
    // background, the chosen row (here the not-used item) highlighted.
    auto* Tantosha = static_cast<TTvrOwnerDrawComboBox*>(Window.SrcTantoshaComboBox());
    Choose(Tantosha, Tantosha->count() - 1);
    Tantosha->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([Tantosha] { return Tantosha->ListOpen(); }));
    QAbstractItemView* List = Tantosha->view();
    const QImage Painted = List->viewport()->grab().toImage();
    for (int Row = 0; Row < Tantosha->count(); ++Row) {
        const QRect Rect = List->visualRect(List->model()->index(Row, 0));
        ASSERT_TRUE(List->viewport()->rect().contains(Rect)) << Row;
        const bool Chosen = Row == Tantosha->currentIndex();
        const QColor Background = Tantosha->palette().color(Chosen ? QPalette::Highlight : QPalette::Base);
        EXPECT_EQ(Painted.pixelColor(Rect.right() - 1, Rect.center().y()), Background) << Row;
        int Drawn = 0;
        for (int X = Rect.left(); X <= Rect.right(); ++X)
            for (int Y = Rect.top(); Y <= Rect.bottom(); ++Y)
                Drawn += Painted.pixelColor(X, Y) != Background;
        EXPECT_GT(Drawn, 20) << Row << ": nothing drawn";
    }
    Tantosha->hidePopup();
}

// ---------------------------------------------------------------- the run

TEST_F(MainWindowTest, ARunWritesTheLogInOrderWhileItRunsAndOpensTheViewer)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder.chopped(1)));
    ASSERT_TRUE(Window.ActTotExec()->isEnabled());

    // The log is painted during the run, not only after it.
    // Meanwhile the wait cursor is up and the button cannot start another
    // run.
    struct TPaintWatch : QObject {
        QPlainTextEdit* Memo = nullptr;
        QPushButton* Button = nullptr;
        std::vector<QString> TextAtPaint;
        bool WaitCursorAndButtonOff = true;
        bool eventFilter(QObject*, QEvent* AEvent) override
        {
            if (AEvent->type() == QEvent::Paint && !Memo->toPlainText().isEmpty()) {
                TextAtPaint.push_back(Memo->toPlainText());
                const QCursor* Cursor = QApplication::overrideCursor();
                WaitCursorAndButtonOff = WaitCursorAndButtonOff && Cursor && Cursor->shape() == Qt::WaitCursor
                                         && !Button->isEnabled();
            }
            return false;
        }
    } Watch;
    Watch.Memo = Window.TotProgressMemo();
    Watch.Button = Window.TotExecButton();
    Window.TotProgressMemo()->viewport()->installEventFilter(&Watch);
    Window.TotExecButton()->click();
    Window.TotProgressMemo()->viewport()->removeEventFilter(&Watch);

    EXPECT_EQ(LogLinesOf(Window), kCompleteLog);
    EXPECT_TRUE(Watch.WaitCursorAndButtonOff);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(std::any_of(Watch.TextAtPaint.begin(), Watch.TextAtPaint.end(), [](const QString& AText) {
        return AText.startsWith(kCompleteLog[0]) && !AText.contains(kCompleteLog.last());
    }));
    ASSERT_NE(Window.SheetWindow(), nullptr);
    EXPECT_TRUE(Window.SheetWindow()->isVisible());
    EXPECT_EQ(Window.SheetWindow()->SheetList()->count(), 12);
    EXPECT_TRUE(Window.TotExecButton()->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(Folder + QStringLiteral("output/18試算表.csv")));
    // The choice is remembered.
    EXPECT_EQ(Config().ReadString(QStringLiteral("SrcKinsen"), QString()), kKinsen);
    EXPECT_EQ(Config().ReadString(QStringLiteral("SrcTantosha"), QString()), kTantosha);
}

TEST_F(MainWindowTest, ABurstOfRejectedRowsReachesTheLogWholeAndInOrder)
{
    // Every row of the cash-book table after the first with an account code
    // that is not in the master.
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    {
        QFile File(Folder + kKinsen);
        ASSERT_TRUE(File.open(QIODevice::ReadOnly));
        QList<QByteArray> Lines = File.readAll().split('\n');
        File.close();
        for (qsizetype I = 1; I < Lines.size(); ++I) {
            QList<QByteArray> Fields = Lines[I].split(',');
            if (Fields.size() == 10)
                Fields[7] = "999";
            Lines[I] = Fields.join(',');
        }
        ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        File.write(Lines.join('\n'));
    }
    // What the engine itself says of these tables.
    QStringList Expected;
    {
        TTvrSumup Sumup([&Expected](const std::string& AMessage) {
            for (const std::string& Line : LogLines(AMessage))
                Expected.append(QString::fromStdString(Line));
        });
        TTvrExecuteParams Params;
        Params.PathInput = Folder.toStdString();
        Params.PathOutput = FData.filePath(QStringLiteral("elsewhere/")).toStdString();
        Params.KamokuMaster = kKamoku.toStdString();
        Params.TantoshaMaster = kTantosha.toStdString();
        Params.ZandakaTable = kZandaka.toStdString();
        Params.KinsenTable = kKinsen.toStdString();
        Params.Today = TTvrSheetWindow::CurrentDate();
        EXPECT_FALSE(Sumup.Execute(Params));
    }
    ASSERT_GT(Expected.size(), 200);

    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.ActTotExec()->trigger();
    EXPECT_EQ(LogLinesOf(Window), Expected);
}

TEST_F(MainWindowTest, RunningTwiceWithoutAChangeRunsOnceThenAnyChangeHidesTheViewer)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    Window.ActTotExec()->trigger();
    ASSERT_NE(Window.SheetWindow(), nullptr);
    const QStringList FirstLog = LogLinesOf(Window);

    // Nothing changed: the click only brings the viewer forward; a run
    // would write the trial balance again.
    const QString Book = Folder + QStringLiteral("output/18試算表.csv");
    ASSERT_TRUE(QFile::remove(Book));
    Window.TotExecButton()->click();
    EXPECT_EQ(LogLinesOf(Window), FirstLog);
    EXPECT_TRUE(Window.SheetWindow()->isVisible());
    EXPECT_FALSE(QFileInfo::exists(Book));

    // Choosing a file again is a change: the viewer goes and the log is
    // cleared; the next click runs.
    Choose(Window.SrcKinsenComboBox(), Window.SrcKinsenComboBox()->currentIndex());
    EXPECT_FALSE(Window.SheetWindow()->isVisible());
    EXPECT_TRUE(LogLinesOf(Window).isEmpty());
    Window.TotExecButton()->click();
    EXPECT_EQ(LogLinesOf(Window), FirstLog);
    EXPECT_TRUE(QFileInfo::exists(Book));
    EXPECT_TRUE(Window.SheetWindow()->isVisible());
}

TEST_F(MainWindowTest, AFileMendedSinceTheRunIsRunAgainWhileTheViewerIsOpen)
{
    // The treasurer runs, sees the books, mends a row in the spreadsheet and
    // saves, then clicks again with the viewer still open: the mend is
    // checked.
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    Window.ActTotExec()->trigger();
    ASSERT_NE(Window.SheetWindow(), nullptr);
    ASSERT_TRUE(Window.SheetWindow()->isVisible());
    ASSERT_EQ(LogLinesOf(Window).last(), QStringLiteral("集計が完了しました。"));

    // Same size, same file: only its time tells the change.
    Spoil(Folder + kKinsen, ",01,220.40,,-330", ",01,999.99,,-330");
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.TotExecButton()->click();
    const QStringList Log = LogLinesOf(Window);
    EXPECT_EQ(Log.last(), QStringLiteral("集計は中止されました。")) << Log.join(u'\n').toStdString();
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Warning);
    // The viewer shows the tables of this run.
    EXPECT_EQ(Window.SheetWindow()->SheetList()->count(), 4);
}

TEST_F(MainWindowTest, AFailedRunWarnsAndKeepsItsLogInView)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    Spoil(Folder + kKinsen, "2025/04/17,2025/04/17", "2025/04/71,2025/04/17");
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.ActTotExec()->trigger();

    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Text, QStringLiteral("集計を完了できませんでした。\n[集計ログ:] を確認してください。"));
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Warning);
    const QStringList Log = LogLinesOf(Window);
    EXPECT_TRUE(Log.contains(QStringLiteral("14行: 日付が無効です。"))) << Log.join(u'\n').toStdString();
    EXPECT_EQ(Log.last(), QStringLiteral("集計は中止されました。"));
    EXPECT_FALSE(QFileInfo::exists(Folder + QStringLiteral("output/18試算表.csv")));
    // The viewer shows the tables that were read, behind the window.
    ASSERT_NE(Window.SheetWindow(), nullptr);
    EXPECT_EQ(Window.SheetWindow()->SheetList()->count(), 4);
    EXPECT_TRUE(Window.TotExecButton()->isEnabled());
}

TEST_F(MainWindowTest, ANotUsedPersonMasterRunsWithoutItAndIsRemembered)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    QComboBox* Tantosha = Window.SrcTantoshaComboBox();
    Choose(Tantosha, Tantosha->count() - 1);
    EXPECT_TRUE(Window.ActTotExec()->isEnabled());
    Window.ActTotExec()->trigger();
    // Without the person master the example's person codes are not checked;
    // the run completes.
    const QStringList Log = LogLinesOf(Window);
    EXPECT_FALSE(Log.contains(Reading(TSrcTableKind::Tantosha)));
    EXPECT_EQ(Log.last(), QStringLiteral("集計が完了しました。"));
    EXPECT_TRUE(Config().ValueExists(QStringLiteral("SrcTantosha")));
    EXPECT_EQ(Config().ReadString(QStringLiteral("SrcTantosha"), QStringLiteral("x")), QString());
    delete FWindow.data();

    // The next start chooses the not-used item again.
    TTvrMainWindow& Again = Open();
    EXPECT_EQ(Again.SrcTantoshaComboBox()->currentIndex(), Again.SrcTantoshaComboBox()->count() - 1);
    EXPECT_EQ(Again.SrcZandakaComboBox()->currentText(), kZandaka);
}

// ---------------------------------------------------------------- tables from the clipboard

TEST_F(MainWindowTest, ATableMadeFromTheClipboardBecomesTheChosenFile)
{
    const QString Old = Keyword(TSrcTableKind::Tantosha) + QStringLiteral("(旧).csv");
    const QString Folder = ExampleFolder(QStringLiteral("会計"), {kKamoku, Old, kZandaka, kKinsen});
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    ASSERT_EQ(Window.SrcTantoshaComboBox()->currentText(), Old);

    QString Title;
    int Columns = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* Widget : QApplication::topLevelWidgets()) {
            auto* Dialog = dynamic_cast<TTvrMksrcDialog*>(Widget);
            if (!Dialog || !Dialog->isVisible())
                continue;
            Title = Dialog->HeadPanel()->text();
            Columns = Dialog->Model()->columnCount();
            QGuiApplication::clipboard()->setText(QStringLiteral("01\t会計\n02\t会長\n"));
            Dialog->ActPaste()->trigger();
            SetNextMessageBoxResult(QMessageBox::Ok);
            Dialog->ActSave()->trigger();
        }
    });
    Window.SrcTantoshaButton()->click();
    EXPECT_TRUE(Title.contains(Caption(TSrcTableKind::Tantosha))) << Title.toStdString();
    EXPECT_EQ(Columns, 3);
    EXPECT_TRUE(QFileInfo::exists(Folder + kTantosha));
    EXPECT_EQ(Window.SrcTantoshaComboBox()->currentText(), kTantosha);
    EXPECT_TRUE(Window.ActTotExec()->isEnabled());
}

// ---------------------------------------------------------------- closing

TEST_F(MainWindowTest, ClosingAsksAndCancelKeepsTheWindowOpen)
{
    TTvrMainWindow& Window = Open();
    SetNextMessageBoxResult(QMessageBox::Cancel);
    EXPECT_FALSE(Window.close());
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Text, QStringLiteral("ミロナ会計係／Tavrel を終了します。"));
    EXPECT_TRUE(Window.isVisible());

    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.ActExit()->trigger();
    // The window frees itself.
    EXPECT_TRUE(QTest::qWaitFor([this] { return FWindow.isNull(); }));
}

// ---------------------------------------------------------------- program entry

TEST_F(MainWindowTest, TheProgramArgumentOpensAFolderAndClosingTheMainWindowEndsTheProgram)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    // The base window brings its own configuration.
    SetConfig(nullptr);
    ReleaseEnvironment();
    QTemporaryDir Documents;
    auto Base = std::make_unique<TTvrBaseWindow>(Folder.toStdString(), Documents.path());
    EXPECT_EQ(HintHidePause(), 600000);
    EXPECT_FALSE(Base->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Base->MainWindow() != nullptr; }));
    QPointer<TTvrMainWindow> Window = Base->MainWindow();
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->SrcPath(), Folder);
    EXPECT_EQ(Window->SrcKinsenComboBox()->currentText(), kKinsen);
    EXPECT_TRUE(Window->ActTotExec()->isEnabled());
    QStringList Lines;
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, QStringList{QStringLiteral("0=") + Folder});
    EXPECT_TRUE(QFileInfo::exists(Documents.filePath(QStringLiteral("Tavrel/Tavrel.ini"))));

    // With the viewer open. (A warning would be answered, not waited for.)
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window->ActTotExec()->trigger();
    EXPECT_EQ(LogLinesOf(*Window).last(), QStringLiteral("集計が完了しました。"));
    QPointer<TTvrSheetWindow> Viewer = Window->SheetWindow();
    ASSERT_FALSE(Viewer.isNull());
    EXPECT_TRUE(Viewer->isVisible());
    QTest::qWait(50);
    EXPECT_FALSE(Base->Finished());

    SetNextMessageBoxResult(QMessageBox::Ok);
    Window->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Base->Finished(); }));
    EXPECT_TRUE(Window.isNull());
    EXPECT_TRUE(Viewer.isNull());
    Base.reset();
    EXPECT_FALSE(HasConfig());
    EXPECT_EQ(EnvironmentCount(), 0);
    // TearDown's configuration and environment again.
    CheckEnvironment();
    SetConfig(std::make_unique<TTvrConfig>(FDocuments.path()));
}

TEST_F(MainWindowTest, AProgramArgumentThatIsNoFolderIsRefused)
{
    TTvrMainWindow& Window = Open();
    SetNextMessageBoxResult(QMessageBox::Ok);
    EXPECT_FALSE(Window.OpenSrcLocation(FData.filePath(QStringLiteral("nothing"))));
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_TRUE(LastMessageBox()->Text.contains(QStringLiteral("が見つかりません。")));
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 0);
}

TEST(DocumentsFolderTest, TheGuideLiesBesideTheBuiltProgram)
{
    const QString Folder = DocumentsFolderFor(QStringLiteral(TAVREL_PROGRAM_FOLDER), QStringLiteral("/nonexistent"));
    EXPECT_EQ(Folder, QDir(QStringLiteral(TAVREL_PROGRAM_FOLDER "/Documents")).absolutePath() + u'/');
    EXPECT_TRUE(QFileInfo(Folder + QStringLiteral("説明書.html")).isFile());
}

} // namespace
} // namespace tavrel

// ---------------------------------------------------------------- file names as bytes

namespace tavrel {
namespace {

class MainWindowBytesTest : public MainWindowTest {
protected:
    // A folder of the data (its name given as bytes) holding the example
    // tables under the names given as bytes; its path with the separator.
    std::string BytesFolder(const std::string& AName, const std::vector<std::string>& ANames)
    {
        const std::string Folder = FData.path().toStdString() + "/" + AName + "/";
        std::filesystem::create_directories(Folder);
        const QString Sources[] = {kKamoku, kTantosha, kZandaka, kKinsen};
        for (size_t I = 0; I < ANames.size(); ++I)
            std::filesystem::copy_file((QStringLiteral(TAVREL_EXAMPLES "/") + Sources[I % 4]).toStdString(),
                                       Folder + ANames[I]);
        return Folder;
    }
};

// The items of a file box as the user reads them.
QStringList Items(const QComboBox* ACombo)
{
    QStringList Texts;
    for (int I = 0; I < ACombo->count(); ++I)
        Texts.append(ACombo->itemText(I));
    return Texts;
}

TEST_F(MainWindowBytesTest, AFolderHoldingOneCodePage932NameListsEveryFileAndRuns)
{
    const std::string Memo = test::ToCp932("科目メモ.csv");
    const std::string Folder = BytesFolder("会計", {kKamoku.toStdString(), kTantosha.toStdString(),
                                                    kZandaka.toStdString(), kKinsen.toStdString(), Memo});
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    EXPECT_EQ(Window.SrcKamokuComboBox()->count(), 5);
    EXPECT_TRUE(Items(Window.SrcKamokuComboBox()).contains(QStringLiteral("科目メモ.csv")))
        << Items(Window.SrcKamokuComboBox()).join(u',').toStdString();
    EXPECT_EQ(Window.SrcKinsenComboBox()->currentText(), kKinsen);
    Window.ActTotExec()->trigger();
    EXPECT_EQ(LogLinesOf(Window), kCompleteLog);
}

TEST_F(MainWindowBytesTest, AFolderOfAWindowsStickWithCodePage932NamesIsListedRunAndRemembered)
{
    // The folder and the four tables named in code page 932 bytes, none of
    // them UTF-8.
    const std::string Name = test::ToCp932("2025年度");
    std::vector<std::string> Names;
    for (const QString& Table : {kKamoku, kTantosha, kZandaka, kKinsen})
        Names.push_back(test::ToCp932(Table.toStdString()));
    const std::string Folder = BytesFolder(Name, Names);
    // Chosen in the picker, which shows such a name with U+FFFD.
    SetNextSelectedFolder(QFile::decodeName(ToByteArray(Folder)));
    TTvrMainWindow& Window = Open();
    Window.ActSrcLocation()->trigger();
    EXPECT_EQ(Window.SrcFolder(), Folder);
    EXPECT_TRUE(Window.SrcPath().endsWith(QStringLiteral("/2025年度/"))) << Window.SrcPath().toStdString();
    // Chosen by keyword in the names as read.
    const QString Tables[] = {kKamoku, kTantosha, kZandaka, kKinsen};
    for (const TSrcTableKind Kind : kSrcTableKinds) {
        EXPECT_EQ(Window.SrcComboBox(Kind)->currentText(), Tables[static_cast<size_t>(Kind)]);
        EXPECT_EQ(Window.SrcFileName(Kind), Names[static_cast<size_t>(Kind)]);
    }
    EXPECT_TRUE(Window.SrcFileItemText(0).contains(QStringLiteral(".csv  "))) << Window.SrcFileItemText(0).toStdString();
    Window.ActTotExec()->trigger();
    EXPECT_EQ(LogLinesOf(Window), kCompleteLog);
    EXPECT_TRUE(std::filesystem::exists(Folder + "output/18試算表.csv"));
    ASSERT_NE(Window.SheetWindow(), nullptr);
    EXPECT_EQ(Window.SheetWindow()->SheetList()->item(0)->text(), kKamoku);
    delete FWindow.data();

    // The next start: the same folder and the same files, from a
    // configuration that stayed UTF-8.
    QFile Ini(Config().FileName());
    ASSERT_TRUE(Ini.open(QIODevice::ReadOnly));
    const QByteArray Text = Ini.readAll();
    EXPECT_EQ(QString::fromUtf8(Text).toUtf8(), Text);
    TTvrMainWindow& Again = Open();
    EXPECT_EQ(Again.SrcFolder(), Folder);
    for (const TSrcTableKind Kind : kSrcTableKinds)
        EXPECT_EQ(Again.SrcFileName(Kind), Names[static_cast<size_t>(Kind)]);
}

TEST_F(MainWindowBytesTest, TheProgramsArgumentNeedNotBeUtf8)
{
    const std::string Folder = BytesFolder(test::ToCp932("会計"), {kKamoku.toStdString(), kTantosha.toStdString(),
                                                                   kZandaka.toStdString(), kKinsen.toStdString()});
    SetConfig(nullptr);
    ReleaseEnvironment();
    QTemporaryDir Documents;
    auto Base = std::make_unique<TTvrBaseWindow>(Folder.substr(0, Folder.size() - 1), Documents.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Base->MainWindow() != nullptr; }));
    EXPECT_EQ(Base->MainWindow()->SrcFolder(), Folder);
    EXPECT_TRUE(Base->MainWindow()->ActTotExec()->isEnabled());
    QStringList Lines;
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    ASSERT_EQ(Lines.size(), 1);
    EXPECT_EQ(TTvrConfig::PathBytes(Lines[0].mid(2)), Folder);
    SetNextMessageBoxResult(QMessageBox::Ok);
    Base->MainWindow()->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Base->Finished(); }));
    Base.reset();
    CheckEnvironment();
    SetConfig(std::make_unique<TTvrConfig>(FDocuments.path()));
}

// ---------------------------------------------------------------- a configuration it cannot write

TEST_F(MainWindowTest, ARunWithAReadOnlyConfigurationSaysSoOnceAndWritesItsBooks)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    Config().WriteInteger(QStringLiteral("Sheet.Width"), 700);
    const QString Ini = Config().FileName();
    ASSERT_TRUE(QFile::setPermissions(Ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    TTvrMainWindow& Window = Open();
    const int Before = MessageBoxCount();
    SetNextMessageBoxResult(QMessageBox::Ok);
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(LastMessageBox()->Text.contains(Ini)) << LastMessageBox()->Text.toStdString();
    // The location is current all the same, and every run writes its books.
    EXPECT_EQ(Window.SrcPath(), Folder);
    for (int Run = 0; Run < 2; ++Run) {
        ASSERT_TRUE(QFile::remove(Folder + QStringLiteral("output/18試算表.csv")) || Run == 0);
        Choose(Window.SrcKinsenComboBox(), Window.SrcKinsenComboBox()->currentIndex());
        Window.TotExecButton()->click();
        EXPECT_EQ(LogLinesOf(Window), kCompleteLog) << Run;
        EXPECT_TRUE(QFileInfo::exists(Folder + QStringLiteral("output/18試算表.csv"))) << Run;
    }
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    EXPECT_EQ(Config().ReadInteger(QStringLiteral("Sheet.Width"), 0), 700);
}

TEST_F(MainWindowTest, ARememberedLocationThatIsAbsentIsKeptAfterTheListedOnes)
{
    const auto [A, B, C] = ThreeRememberedLocations();
    // The stick holding b is not plugged in.
    ASSERT_TRUE(QDir(B).removeRecursively());
    TTvrMainWindow& Window = Open();
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 2);
    const QString D = ExampleFolder(QStringLiteral("d"));
    ASSERT_TRUE(Window.OpenSrcLocation(D));
    QStringList Lines;
    Config().ReadSectionValues(QStringLiteral("SrcPaths"), Lines);
    EXPECT_EQ(Lines, (QStringList{QStringLiteral("0=") + D, QStringLiteral("1=") + A, QStringLiteral("2=") + C,
                                  QStringLiteral("3=") + B}));
}

// ---------------------------------------------------------------- what cannot be read

TEST_F(MainWindowTest, AFifoInPlaceOfATableFailsTheRunAtOnce)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    ASSERT_TRUE(QFile::remove(Folder + kKinsen));
    ASSERT_EQ(::mkfifo((Folder + kKinsen).toUtf8().constData(), 0600), 0);
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.TotExecButton()->click();
    const QStringList Log = LogLinesOf(Window);
    ASSERT_FALSE(Log.isEmpty());
    EXPECT_TRUE(Log.join(u'\n').contains(QStringLiteral("通常のファイルではありません"))) << Log.join(u'\n').toStdString();
    EXPECT_EQ(Log.last(), QStringLiteral("集計は中止されました。"));
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Warning);
    EXPECT_TRUE(Window.TotExecButton()->isEnabled());
}

// Takes from this thread, for its life, root's right to read what the
// permission bits forbid, so that a folder of mode 000 is unreadable also
// when the tests run as root.
class TWithoutRootOverride {
public:
    TWithoutRootOverride()
    {
        FHeader.version = _LINUX_CAPABILITY_VERSION_3;
        FSaved = ::syscall(SYS_capget, &FHeader, FData) == 0;
        if (!FSaved)
            return;
        __user_cap_data_struct Lowered[2] = {FData[0], FData[1]};
        Lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        ::syscall(SYS_capset, &FHeader, Lowered);
    }
    ~TWithoutRootOverride()
    {
        if (FSaved)
            ::syscall(SYS_capset, &FHeader, FData);
    }
    TWithoutRootOverride(const TWithoutRootOverride&) = delete;
    TWithoutRootOverride& operator=(const TWithoutRootOverride&) = delete;

private:
    __user_cap_header_struct FHeader {};
    __user_cap_data_struct FData[2] {};
    bool FSaved = false;
};

TEST_F(MainWindowTest, AnUnreadableSourceFolderGivesTheSystemsReason)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(QFile::setPermissions(Folder, QFileDevice::Permissions()));
    {
        const TWithoutRootOverride NotRoot;
        SetNextMessageBoxResult(QMessageBox::Ok);
        ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    }
    ASSERT_TRUE(QFile::setPermissions(Folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_EQ(LastMessageBox()->Text,
              QStringLiteral("フォルダ \"%1\" を開けません。Permission denied").arg(Folder));
    EXPECT_EQ(Window.SrcKamokuComboBox()->count(), 0);
}

TEST_F(MainWindowTest, AProgramArgumentThatIsNoFolderIsRefusedWithItsNameAsItIs)
{
    const QString File = ExampleFolder(QStringLiteral("a")) + kKamoku;
    // A folder whose name holds what the boxes otherwise turn into line breaks.
    const QString Odd = FData.filePath(QStringLiteral("2024~nenkan\\n"));
    // clang-format off
    struct Case { QString Argument; QString Text; };
    const Case kCases[] = {
        {FData.filePath(QStringLiteral("nothing")), QStringLiteral("フォルダ \"%1\" が見つかりません。")},
        {File,                                      QStringLiteral("\"%1\" はフォルダではありません。")},
        {Odd,                                       QStringLiteral("フォルダ \"%1\" が見つかりません。")},
    };
    // clang-format on
    TTvrMainWindow& Window = Open();
    for (const Case& C : kCases) {
        SetNextMessageBoxResult(QMessageBox::Ok);
        EXPECT_FALSE(Window.OpenSrcLocation(C.Argument)) << C.Argument.toStdString();
        ASSERT_TRUE(LastMessageBox().has_value());
        EXPECT_EQ(LastMessageBox()->Text, C.Text.arg(C.Argument));
        EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Warning);
    }
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 0);
    // The folder itself, once made, opens under its own name.
    ASSERT_TRUE(QDir().mkpath(Odd));
    ASSERT_TRUE(Window.OpenSrcLocation(Odd));
    EXPECT_EQ(Window.SrcPath(), Odd + u'/');
}

TEST_F(MainWindowTest, AFileTimeADateCannotHoldIsShownAsUnknown)
{
    // A file system that holds the year 30000 (ext4 stops at 2446).
    QTemporaryDir Shm(QStringLiteral("/dev/shm/tavrel-test-XXXXXX"));
    if (!Shm.isValid())
        GTEST_SKIP() << "no /dev/shm";
    const QString Folder = Shm.path() + u'/';
    for (const QString& Name : {kKamoku, kTantosha, kZandaka, kKinsen})
        ASSERT_TRUE(QFile::copy(QStringLiteral(TAVREL_EXAMPLES "/") + Name, Folder + Name));
    const timespec Times[2] = {{0, UTIME_OMIT}, {884541340800, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (Folder + kKinsen).toUtf8().constData(), Times, 0), 0);
    struct stat St {};
    ASSERT_EQ(::stat((Folder + kKinsen).toUtf8().constData(), &St), 0);
    if (St.st_mtim.tv_sec != Times[1].tv_sec)
        GTEST_SKIP() << "the file system cannot hold the year 30000";

    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    QComboBox* Combo = Window.SrcKinsenComboBox();
    const int Index = Combo->findText(kKinsen);
    ASSERT_GE(Index, 0);
    EXPECT_EQ(Window.SrcFileItemText(Index), kKinsen + QStringLiteral("  (日時不明)"));
    EXPECT_FALSE(Window.SrcFiles()[static_cast<size_t>(Index)].TimeKnown);
    EXPECT_EQ(Combo->currentIndex(), Index);
    EXPECT_TRUE(Window.ActTotExec()->isEnabled());
    // Painted closed and open.
    EXPECT_FALSE(Window.grab().isNull());
    Combo->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([Combo] { return static_cast<TTvrOwnerDrawComboBox*>(Combo)->ListOpen(); }));
    EXPECT_FALSE(Combo->view()->grab().isNull());
    Combo->hidePopup();
}

// ---------------------------------------------------------------- the location box's double click

TEST_F(MainWindowTest, ARealDoubleClickOnTheLocationBoxOpensTheFolderPicker)
{
    const auto [A, B, C] = ThreeRememberedLocations();
    TTvrMainWindow& Window = Open();
    TTvrOwnerDrawComboBox* Combo = Window.SrcLocationComboBox();
    QWindow* Handle = Window.windowHandle();
    ASSERT_NE(Handle, nullptr);
    const QPoint At = Combo->mapTo(&Window, Combo->rect().center());

    // One click opens the list and no picker.
    QTest::mouseClick(Handle, Qt::LeftButton, Qt::NoModifier, At);
    EXPECT_TRUE(QTest::qWaitFor([Combo] { return Combo->ListOpen(); }));
    Combo->hidePopup();
    ASSERT_TRUE(QTest::qWaitFor([Combo] { return !Combo->ListOpen(); }));
    EXPECT_EQ(Window.SrcPath(), A);

    // Two clicks in quick succession: the picker, and its folder is current.
    const QString D = ExampleFolder(QStringLiteral("d"));
    SetNextSelectedFolder(D);
    QTest::mouseDClick(Handle, Qt::LeftButton, Qt::NoModifier, At);
    EXPECT_EQ(Window.SrcPath(), D);
    EXPECT_FALSE(Combo->ListOpen());
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 4);
}

// ---------------------------------------------------------------- the program's arguments and errors

TEST(TavrelArguments, TwoArgumentsShowTheUsageInABoxAndOnStandardError)
{
    // clang-format off
    struct Case { std::vector<std::string> Arguments; std::optional<int> Status; const char* Error; };
    const Case kCases[] = {
        {{"tavrel"},                   std::nullopt, nullptr},
        {{"tavrel", "/data/会計"},     std::nullopt, nullptr},
        {{"tavrel", "/a", "/b"},       2,            "引数が多すぎます。フォルダは一つだけ指定できます。"},
        {{"tavrel", "-x"},             2,            "\"-x\" は使えないオプションです。"},
        {{"tavrel", "--help"},         0,            nullptr},
        {{"tavrel", "--version"},      0,            nullptr},
    };
    // clang-format on
    for (const Case& C : kCases) {
        const int Before = MessageBoxCount();
        SetNextMessageBoxResult(QMessageBox::Ok);
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_EQ(CheckTavrelArguments(C.Arguments), C.Status) << C.Arguments.size();
        const std::string Err = testing::internal::GetCapturedStderr();
        const std::string Out = testing::internal::GetCapturedStdout();
        const std::string Usage = TavrelUsageText().toStdString();
        if (C.Error) {
            EXPECT_EQ(MessageBoxCount(), Before + 1);
            ASSERT_TRUE(LastMessageBox().has_value());
            EXPECT_EQ(LastMessageBox()->Text.toStdString(), std::string(C.Error) + "\n\n" + Usage);
            EXPECT_EQ(Err, "tavrel: " + std::string(C.Error) + "\n" + Usage + "\n");
        } else {
            EXPECT_EQ(MessageBoxCount(), Before) << C.Arguments.size();
            if (!C.Status)
                EXPECT_EQ(Out, std::string());
            else if (C.Arguments[1] == "--help")
                EXPECT_EQ(Out, Usage + "\n");
            else
                EXPECT_EQ(Out, "ミロナ会計係／Tavrel \n") << "the tests carry no version block";
            // The seam's answer the arguments did not take.
            ShowMessageBox(nmkInformation, QStringLiteral("x"));
        }
    }
    EXPECT_TRUE(TavrelUsageText().startsWith(QStringLiteral("使い方: tavrel [フォルダ]")));
    // The options the program answers without a window are listed.
    for (const char* Option : {"  --help ", "  --version "})
        EXPECT_TRUE(TavrelUsageText().contains(QLatin1String(Option))) << Option;
}

TEST(UncaughtErrorDeathTest, AnErrorThatEscapesASlotEndsTheProgramWithAMessageAndStatusOne)
{
    ASSERT_NE(dynamic_cast<TTvrApplication*>(QCoreApplication::instance()), nullptr);
    // clang-format off
    struct Case { const char* Name; std::function<void()> Throw; QString Detail; };
    const Case kCases[] = {
        {"out of memory",    [] { throw std::bad_alloc(); },                                 QStringLiteral("メモリが足りません。")},
        {"a system's error", [] { throw ETvrError("ファイル \"a~n.csv\" を開けません。"); }, QStringLiteral("ファイル \"a~n.csv\" を開けません。")},
        {"anything else",    [] { throw 42; },                                               QStringLiteral("原因のわからないエラーです。")},
    };
    // clang-format on
    for (const Case& C : kCases) {
        // The program's own event loop, in a process of its own: the end of
        // the loop ends every loop of the process.
        EXPECT_EXIT(
            {
                QObject Target;
                QObject::connect(&Target, &QObject::objectNameChanged, &Target, [&C] { C.Throw(); });
                QTimer::singleShot(0, &Target, [&Target] { Target.setObjectName(QStringLiteral("x")); });
                SetNextMessageBoxResult(QMessageBox::Ok);
                const int Status = QCoreApplication::exec();
                const bool Said = LastMessageBox() && LastMessageBox()->Icon == QMessageBox::Critical
                                  && LastMessageBox()->Text
                                         == QStringLiteral("予期しないエラーのため ミロナ会計係／Tavrel を終了します。\n\n")
                                                + C.Detail;
                std::exit(Said ? Status : 3);
            },
            ::testing::ExitedWithCode(1), "tavrel: ")
            << C.Name;
    }
}

} // namespace
} // namespace tavrel

// ---------------------------------------------------------------- the year-end

namespace tavrel {
namespace {

// The text of a PDF file's first page as pdftotext lays it out.
QString PdfFirstPageText(const QString& AFileName)
{
    QProcess Process;
    Process.start(QStringLiteral(TAVREL_PDFTOTEXT), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                     QStringLiteral("UTF-8"), QStringLiteral("-l"), QStringLiteral("1"),
                                                     AFileName, QStringLiteral("-")});
    Process.waitForFinished(60000);
    return QString::fromUtf8(Process.readAllStandardOutput());
}

// What the year-end dialog showed when it came up.
struct TShownYearEnd {
    QString Title;
    QString Organisation;
    QString YearTitle;
    QString Treasurer;
    QStringList Auditors;
    QDate ReportDate;
};

// Answers the year-end dialog once it is up: records what it shows, lets
// AFill type into it, then clicks OK (or Cancel).
void AnswerYearEndDialog(TShownYearEnd& AShown, const std::function<void(TTvrYearEndDialog&)>& AFill, bool AOk = true)
{
    QTimer::singleShot(0, [&AShown, AFill, AOk] {
        auto* Dialog = dynamic_cast<TTvrYearEndDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(Dialog, nullptr);
        AShown.Title = Dialog->windowTitle();
        AShown.Organisation = Dialog->OrganisationEdit()->text();
        AShown.YearTitle = Dialog->YearTitleEdit()->text();
        AShown.Treasurer = Dialog->TreasurerEdit()->text();
        AShown.Auditors.clear();
        for (size_t I = 0; I < kMaxAuditors; ++I)
            AShown.Auditors << Dialog->AuditorEdit(I)->text();
        AShown.ReportDate = Dialog->ReportDateEdit()->date();
        if (AFill)
            AFill(*Dialog);
        (AOk ? Dialog->OkButton() : Dialog->CancelButton())->click();
    });
}

const QStringList kYearEndLog = [] {
    QStringList Log = kCompleteLog.mid(0, kCompleteLog.size() - 2);
    Log << QStringLiteral("21収支決算書.csv 作成中...") << QStringLiteral("22残高照合表.csv 作成中...")
        << QStringLiteral("総会資料.pdf 作成中...") << QString() << QStringLiteral("残高照合: 6件中6件が一致しました。")
        << QString() << QStringLiteral("集計が完了しました。");
    return Log;
}();

TEST_F(MainWindowTest, TheYearEndCommandsAreThereOnlyWhenARunCanBe)
{
    TTvrMainWindow& Window = Open();
    EXPECT_FALSE(Window.ActYearEnd()->isEnabled());
    EXPECT_FALSE(Window.ActNextYear()->isEnabled());
    // A location without a cash-book table to choose.
    ASSERT_TRUE(Window.OpenSrcLocation(ExampleFolder(QStringLiteral("科目だけ"), {kKamoku})));
    EXPECT_FALSE(Window.ActYearEnd()->isEnabled());
    EXPECT_FALSE(Window.ActNextYear()->isEnabled());
    ASSERT_TRUE(Window.OpenSrcLocation(ExampleFolder(QStringLiteral("会計"))));
    EXPECT_TRUE(Window.ActYearEnd()->isEnabled());
    EXPECT_TRUE(Window.ActNextYear()->isEnabled());
}

TEST_F(MainWindowTest, TheYearEndRunListsTheDocumentsInTheViewerAndOpensThePdf)
{
    const QString Folder = ExampleFolder(QStringLiteral("会計"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    TShownYearEnd Shown;
    AnswerYearEndDialog(Shown, [](TTvrYearEndDialog& ADialog) {
        ADialog.OrganisationEdit()->setText(QStringLiteral("さくら台三丁目町内会"));
        ADialog.TreasurerEdit()->setText(QStringLiteral("渡辺恵子"));
        ADialog.AuditorEdit(0)->setText(QStringLiteral("木村和夫"));
        ADialog.AuditorEdit(2)->setText(QStringLiteral("斎藤由美"));
        ADialog.ReportDateEdit()->setDate(QDate(2026, 4, 20));
    });
    SetNextOpenWithShellResult(true);
    Window.ActYearEnd()->trigger();

    // The first time: nothing remembered, the report date today.
    EXPECT_EQ(Shown.Title, QStringLiteral("総会資料の作成"));
    EXPECT_TRUE(Shown.Organisation.isEmpty());
    EXPECT_EQ(Shown.Auditors, (QStringList{QString(), QString(), QString()}));
    EXPECT_EQ(Shown.ReportDate, QDate::currentDate());
    // The run as 集計データ作成・表示 makes it, with the documents and the PDF.
    EXPECT_EQ(LogLinesOf(Window), kYearEndLog);
    TTvrSheetWindow* Viewer = Window.SheetWindow();
    ASSERT_NE(Viewer, nullptr);
    EXPECT_TRUE(Viewer->isVisible());
    ASSERT_EQ(Viewer->SheetList()->count(), 14);
    EXPECT_EQ(Viewer->SheetList()->item(12)->text(), QStringLiteral("21収支決算書.csv"));
    EXPECT_EQ(Viewer->SheetList()->item(13)->text(), QStringLiteral("22残高照合表.csv"));
    // The year its sheets print under.
    EXPECT_EQ(Viewer->Year().Header.Organisation, "さくら台三丁目町内会");
    EXPECT_EQ(Viewer->Year().Header.YearTitle, "2025年度");
    EXPECT_EQ(Viewer->Year().Header.FirstDate.Serial(), TTvrDate::Encode(2025, 4, 1).Serial());
    EXPECT_EQ(Viewer->Year().Header.LastDate.Serial(), TTvrDate::Encode(2026, 3, 31).Serial());
    EXPECT_TRUE(Viewer->ActChart()->isEnabled());
    // The PDF, opened with the desktop's viewer.
    const QString Pdf = Folder + QStringLiteral("output/総会資料.pdf");
    EXPECT_EQ(LastOpenedWithShell(), Pdf);
    const QString Page1 = PdfFirstPageText(Pdf);
    for (const QString& Printed : {QStringLiteral("さくら台三丁目町内会 2025年度 収支決算書"), QStringLiteral("渡辺恵子"),
                                   QStringLiteral("木村和夫"), QStringLiteral("斎藤由美"), QStringLiteral("2026/04/20"),
                                   QStringLiteral("1,120,480")})
        EXPECT_TRUE(Page1.contains(Printed)) << Printed.toStdString() << "\n" << Page1.toStdString();

    // Again, with the viewer on screen: the documents are made by a run all
    // the same, from the values remembered. A PDF the desktop cannot open
    // is said in the error box.
    const QString Statement = Folder + QStringLiteral("output/21収支決算書.csv");
    ASSERT_TRUE(QFile::remove(Statement));
    AnswerYearEndDialog(Shown, {});
    SetNextOpenWithShellResult(false);
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.ActYearEnd()->trigger();
    EXPECT_EQ(Shown.Organisation, QStringLiteral("さくら台三丁目町内会"));
    EXPECT_EQ(Shown.Treasurer, QStringLiteral("渡辺恵子"));
    EXPECT_EQ(Shown.Auditors, (QStringList{QStringLiteral("木村和夫"), QString(), QStringLiteral("斎藤由美")}));
    EXPECT_EQ(Shown.ReportDate, QDate(2026, 4, 20));
    EXPECT_TRUE(QFileInfo::exists(Statement));
    EXPECT_EQ(LogLinesOf(Window), kYearEndLog);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_EQ(LastMessageBox()->Text, OsErrorText(kOsErrorNoAssociation) + QStringLiteral("\n\n") + Pdf);
}

TEST_F(MainWindowTest, TheYearEndSettingsAreRememberedForEachLocation)
{
    const QString A = ExampleFolder(QStringLiteral("a"));
    const QString B = ExampleFolder(QStringLiteral("b"));
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(A));
    TShownYearEnd Shown;
    const auto Organisation = [](const QString& AName) {
        return [AName](TTvrYearEndDialog& ADialog) { ADialog.OrganisationEdit()->setText(AName); };
    };
    SetNextOpenWithShellResult(true);
    AnswerYearEndDialog(Shown, Organisation(QStringLiteral("A町内会")));
    Window.ActYearEnd()->trigger();

    // Another location has its own; Cancel neither runs nor remembers.
    ASSERT_TRUE(Window.OpenSrcLocation(B));
    AnswerYearEndDialog(Shown, Organisation(QStringLiteral("取り消した名前")), false);
    Window.ActYearEnd()->trigger();
    EXPECT_TRUE(Shown.Organisation.isEmpty());
    EXPECT_TRUE(LogLinesOf(Window).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(B + QStringLiteral("output")));
    SetNextOpenWithShellResult(true);
    AnswerYearEndDialog(Shown, Organisation(QStringLiteral("B子ども会")));
    Window.ActYearEnd()->trigger();
    EXPECT_TRUE(Shown.Organisation.isEmpty());

    // Back on A, whose place in the list has changed.
    ASSERT_TRUE(Window.OpenSrcLocation(A));
    AnswerYearEndDialog(Shown, {}, false);
    Window.ActYearEnd()->trigger();
    EXPECT_EQ(Shown.Organisation, QStringLiteral("A町内会"));
    ASSERT_TRUE(Window.OpenSrcLocation(B));
    AnswerYearEndDialog(Shown, {}, false);
    Window.ActYearEnd()->trigger();
    EXPECT_EQ(Shown.Organisation, QStringLiteral("B子ども会"));
    // One section each, named by the folder it holds.
    EXPECT_EQ(Config().ReadSectionKeyValues(QStringLiteral("YearEnd.1")).front(),
              std::make_pair(QStringLiteral("Folder"), A));
    EXPECT_EQ(Config().ReadSectionKeyValues(QStringLiteral("YearEnd.2")).front(),
              std::make_pair(QStringLiteral("Folder"), B));
    EXPECT_TRUE(Config().ReadSectionKeyValues(QStringLiteral("YearEnd.3")).empty());
    // The viewer's printouts of a plain run are headed with the location's
    // names.
    Window.ActTotExec()->trigger();
    ASSERT_NE(Window.SheetWindow(), nullptr);
    EXPECT_EQ(Window.SheetWindow()->Year().Header.Organisation, "B子ども会");
}

TEST_F(MainWindowTest, NextYearsTablesGoIntoTheFolderProposedBesideTheLocationWhichBecomesTheLocation)
{
    const QString Folder = ExampleFolder(QStringLiteral("2025年度"));
    const QString Next = FData.filePath(QStringLiteral("2026年度")) + u'/';
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    // The treasurer takes the folder proposed, and moves to it.
    SetNextSelectedFolder(Next);
    SetNextMessageBoxResult(QMessageBox::Yes);
    Window.ActNextYear()->trigger();

    EXPECT_EQ(LastSelectFolderStart(), Next);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Question);
    EXPECT_EQ(LastMessageBox()->Text, QStringLiteral("次年度のソースデータをフォルダ \"%1\" に作成しました。\n\n"
                                                     "このフォルダをソースデータの場所にしますか？")
                                          .arg(Next.chopped(1)));
    for (const QString& Table : {kKamoku, kTantosha, kZandaka, kKinsen})
        EXPECT_TRUE(QFileInfo::exists(Next + Table)) << Table.toStdString();
    EXPECT_EQ(ReadTextLines((Next + kKinsen).toStdString()),
              std::vector<std::string>{"2026/04/01,2027/03/31,,,,前期繰越,01,000,21670,1098810"});
    // The new location, first in the list, its tables chosen.
    EXPECT_EQ(Window.SrcPath(), Next);
    EXPECT_EQ(Window.SrcLocationComboBox()->currentIndex(), 0);
    EXPECT_EQ(Window.SrcLocationComboBox()->count(), 2);
    for (const auto& [Kind, Name] : {std::pair(TSrcTableKind::Kamoku, kKamoku), std::pair(TSrcTableKind::Tantosha, kTantosha),
                                     std::pair(TSrcTableKind::Zandaka, kZandaka), std::pair(TSrcTableKind::Kinsen, kKinsen)})
        EXPECT_EQ(QString::fromStdString(Window.SrcFileName(Kind)), Name);
    // Next year runs on what was written.
    Window.ActTotExec()->trigger();
    EXPECT_EQ(LogLinesOf(Window).last(), QStringLiteral("集計が完了しました。"));
    ASSERT_NE(Window.SheetWindow(), nullptr);
    EXPECT_EQ(Window.SheetWindow()->Year().Header.FirstDate.Serial(), TTvrDate::Encode(2026, 4, 1).Serial());
}

TEST_F(MainWindowTest, ANextYearFolderThatHoldsSourceDataIsRefusedAndNothingIsWritten)
{
    const QString Folder = ExampleFolder(QStringLiteral("2025年度"));
    const QString Other = ExampleFolder(QStringLiteral("他の会"));
    const QString Proposed = FData.filePath(QStringLiteral("2026年度"));
    const auto Snapshot = [](const QString& AFolder) {
        QStringList Files;
        for (const QFileInfo& File : QDir(AFolder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
            Files << File.fileName() + u' ' + QString::number(File.size()) + u' '
                         + File.lastModified().toString(Qt::ISODateWithMs);
        return Files;
    };
    const QStringList Before = Snapshot(Other);
    TTvrMainWindow& Window = Open();
    ASSERT_TRUE(Window.OpenSrcLocation(Folder));
    for (const QString& Chosen : {Other, Folder}) {
        const int Boxes = MessageBoxCount();
        SetNextSelectedFolder(Chosen);
        SetNextMessageBoxResult(QMessageBox::Ok);
        Window.ActNextYear()->trigger();
        // The engine's own words, and no run.
        EXPECT_EQ(MessageBoxCount(), Boxes + 1);
        ASSERT_TRUE(LastMessageBox().has_value());
        EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
        EXPECT_EQ(LastMessageBox()->Text,
                  QStringLiteral("フォルダ \"%1\" には既にソースデータがあります。").arg(Chosen.chopped(1)));
        EXPECT_TRUE(LogLinesOf(Window).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(Folder + QStringLiteral("output")));
        // The folder proposed, not taken, is gone again.
        EXPECT_FALSE(QFileInfo::exists(Proposed));
    }
    EXPECT_EQ(Snapshot(Other), Before);

    // Cancelled: nothing at all.
    SetNextSelectedFolder(std::nullopt);
    Window.ActNextYear()->trigger();
    EXPECT_FALSE(QFileInfo::exists(Proposed));
    EXPECT_TRUE(LogLinesOf(Window).isEmpty());

    // Another new folder, and the location kept.
    const QString Elsewhere = FData.filePath(QStringLiteral("次の会計/2026"));
    SetNextSelectedFolder(Elsewhere);
    SetNextMessageBoxResult(QMessageBox::No);
    Window.ActNextYear()->trigger();
    EXPECT_TRUE(QFileInfo::exists(Elsewhere + u'/' + kKinsen));
    EXPECT_FALSE(QFileInfo::exists(Proposed));
    EXPECT_EQ(Window.SrcPath(), Folder);
    EXPECT_EQ(LogLinesOf(Window).last(), QStringLiteral("集計が完了しました。"));
    EXPECT_TRUE(LogLinesOf(Window).contains(QStringLiteral("次年度 金銭出納テーブル.csv 作成中...")));
}

} // namespace
} // namespace tavrel
