// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// tavrel-screens: shows the windows over the source tables and the books of
// a run, for pictures and for timing the viewer.
//
//   tavrel-screens shots FOLDER PICTURES  runs the aggregation on the source
//       tables in FOLDER (books into FOLDER/output) and saves viewer-source.png,
//       viewer-book.png, viewer-statement.png, viewer-print-preview.png (the
//       print preview of the first book), charts-window.png (the chart
//       window), version.png and mksrc.png (the source-data creation dialog
//       after a paste with one invalid cell) into PICTURES, then
//       main-before.png, main-menu.png (its menu with the year-end commands),
//       yearend-dialog.png (the dialog of 総会資料を作成... filled in) and
//       main-after.png (the main window on FOLDER before and after a run) and
//       main-failed.png (a run over a copy of FOLDER with two bad rows in the
//       cash-book table)
//   tavrel-screens bench FOLDER  runs the aggregation on FOLDER, then times the
//       viewer's creation with Setup and the first painting of the first book
//   tavrel-screens bench-locations COUNT  times the main window's opening
//       with COUNT remembered locations (folders made for it in a temporary
//       folder), its first painting, the choice of the last location (which
//       writes the history) and the painting of the open list
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QMessageBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "aggregation/TvrSumup.h"
#include "shell/NbFonts.h"
#include "shell/NbMessageBox.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "shell/TvrLocale.h"
#include "sources/SrcTables.h"
#include "windows/TvrChartWindow.h"
#include "windows/TvrProgramIcon.h"
#include "windows/TvrMainWindow.h"
#include "windows/TvrMksrcDialog.h"
#include "windows/TvrRunController.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrVersionDialog.h"
#include "windows/TvrYearEndDialog.h"

using namespace tavrel;

namespace {

QString FromView(std::string_view AText)
{
    return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

// The example tables carry the names the source-data dialog gives them.
QString FileNameOf(TSrcTableKind AKind)
{
    return FromView(SrcTableInfo(AKind).FileName);
}

// The run of the example tables; the year it tells of in AYear when given.
bool RunSumup(TTvrSumup& ASumup, const QString& AFolder, TTvrSheetYear* AYear = nullptr)
{
    TTvrExecuteParams Params;
    const std::string Folder = QDir(AFolder).absolutePath().toStdString() + "/";
    Params.PathInput = Folder;
    Params.PathOutput = Folder + kOutputFolderName + "/";
    Params.KamokuMaster = FileNameOf(TSrcTableKind::Kamoku).toStdString();
    Params.TantoshaMaster = FileNameOf(TSrcTableKind::Tantosha).toStdString();
    Params.ZandakaTable = FileNameOf(TSrcTableKind::Zandaka).toStdString();
    Params.KinsenTable = FileNameOf(TSrcTableKind::Kinsen).toStdString();
    Params.Today = TTvrSheetWindow::CurrentDate();
    if (AYear) {
        Params.YearEnd.Params.Organisation = "さくら台三丁目町内会";
        Params.YearEnd.KeepSummary = [AYear](TRptRunSummary ASummary) {
            AYear->Header = std::move(ASummary.Header);
            AYear->Charts = std::move(ASummary.Charts);
        };
        AYear->OutputFolder = Params.PathOutput;
    }
    return ASumup.Execute(Params);
}

bool Save(QWidget* AWidget, const QString& AFileName)
{
    QApplication::processEvents();
    if (!AWidget->grab().save(AFileName)) {
        std::fprintf(stderr, "tavrel-screens: cannot write %s\n", qPrintable(AFileName));
        return false;
    }
    std::printf("%s\n", qPrintable(AFileName));
    return true;
}

// The source-data creation dialog for the cash-book table after pasting
// three rows copied from a spreadsheet, one amount mistyped.
int ShotMksrc(QWidget* AParent, const QString& AFolder, const QString& APictures)
{
    TTvrMksrcParams Params;
    Params.Parent = AParent;
    const TSrcTableInfo& Kinsen = SrcTableInfo(TSrcTableKind::Kinsen);
    Params.DataName = FromView(Kinsen.Caption);
    Params.FileName = QDir(AFolder).absoluteFilePath(FromView(Kinsen.FileName)).toStdString();
    Params.FieldDefs = Kinsen.FieldDefs;
    TTvrMksrcDialog Dialog(Params);
    Dialog.show();
    if (!QTest::qWaitForWindowExposed(&Dialog))
        return 1;
    QGuiApplication::clipboard()->setText(QStringLiteral(
        "2025/04/01\t2026/03/31\t\t\t\t前期繰越\t01\t000\t48320\t812455\r\n"
        "2025/04/03\t\tレシート\tコンビニ\t52\t回覧板コピー\t05\t220\t-1,200\t\r\n"
        "2025/04/06\t2025/04/06\tレシート\tコンビニ\t\t役員会茶菓子\t01\t210\t-1,28O\t\r\n"));
    // The warning about the invalid cell is answered at once.
    SetNextMessageBoxResult(QMessageBox::Ok);
    Dialog.ActPaste()->trigger();
    return Save(&Dialog, APictures + QStringLiteral("/mksrc.png")) ? 0 : 1;
}

// Saves the modal window that AAction brings up, once it has painted, and
// closes it.
bool SaveModal(QAction* AAction, const QString& AFileName, const QSize& ASize,
               const std::function<void(QWidget&)>& APrepare = {})
{
    bool Saved = false;
    QTimer::singleShot(0, [&] {
        QWidget* Modal = QApplication::activeModalWidget();
        if (!Modal)
            return;
        if (ASize.isValid())
            Modal->resize(ASize);
        if (APrepare)
            APrepare(*Modal);
        QTest::qWait(500);
        Saved = Save(Modal, AFileName);
        Modal->close();
    });
    AAction->trigger();
    return Saved;
}

// The print preview of the book on show: its first page as it will print.
int ShotPrintPreview(TTvrSheetWindow& AWindow, const QString& APictures)
{
    return SaveModal(AWindow.ActPrint(), APictures + QStringLiteral("/viewer-print-preview.png"), QSize(1000, 800))
               ? 0
               : 1;
}

// The chart window over the year of the run.
int ShotCharts(TTvrSheetWindow& AWindow, const QString& APictures)
{
    AWindow.ActChart()->trigger();
    TTvrChartWindow* Charts = AWindow.ChartWindow();
    if (!Charts || !QTest::qWaitForWindowExposed(Charts))
        return 1;
    const bool Saved = Save(Charts, APictures + QStringLiteral("/charts-window.png"));
    Charts->hide();
    return Saved ? 0 : 1;
}

// A copy of the source tables with two rows of the cash-book table spoilt:
// an account code that is not in the master, and a day that does not exist.
bool MakeFailingCopy(const QString& AFolder, const QString& ACopy)
{
    QDir().mkpath(ACopy);
    for (const QFileInfo& File : QDir(AFolder).entryInfoList({QStringLiteral("*.csv")}, QDir::Files)) {
        QFile::remove(ACopy + u'/' + File.fileName());
        if (!QFile::copy(File.absoluteFilePath(), ACopy + u'/' + File.fileName()))
            return false;
    }
    QFile Kinsen(ACopy + u'/' + FileNameOf(TSrcTableKind::Kinsen));
    if (!Kinsen.open(QIODevice::ReadOnly))
        return false;
    QByteArray Bytes = Kinsen.readAll();
    Kinsen.close();
    Bytes.replace(",01,220.40,,-330", ",01,999.99,,-330");
    Bytes.replace("2025/04/17,2025/04/17", "2025/04/71,2025/04/17");
    return Kinsen.open(QIODevice::WriteOnly | QIODevice::Truncate) && Kinsen.write(Bytes) == Bytes.size();
}

// The main window's menu, opened from its button, with the year-end
// commands after the run's.
bool ShotMenu(TTvrMainWindow& AWindow, const QString& APictures)
{
    AWindow.MenuSpeedButton()->click();
    QMenu* Menu = AWindow.MenuPopupMenu();
    if (!QTest::qWaitForWindowExposed(Menu))
        return false;
    const bool Saved = Save(Menu, APictures + QStringLiteral("/main-menu.png"));
    Menu->hide();
    return Saved;
}

// The dialog of 総会資料を作成... as a treasurer fills it in.
void FillYearEndDialog(QWidget& ADialog)
{
    auto* Dialog = dynamic_cast<TTvrYearEndDialog*>(&ADialog);
    if (!Dialog)
        return;
    Dialog->OrganisationEdit()->setText(QStringLiteral("さくら台三丁目町内会"));
    Dialog->TreasurerEdit()->setText(QStringLiteral("渡辺　恵子"));
    Dialog->AuditorEdit(0)->setText(QStringLiteral("木村　和夫"));
    Dialog->AuditorEdit(1)->setText(QStringLiteral("斎藤　由美"));
    Dialog->ReportDateEdit()->setDate(QDate(2026, 4, 20));
}

// The main window on the example data: before a run, after it (the viewer
// opens beside it), and after a run that stopped on bad rows.
int ShotMain(const QString& AFolder, const QString& APictures)
{
    QTemporaryDir Documents;
    SetApplicationEnvironment();
    CheckEnvironment();
    SetConfig(std::make_unique<TTvrConfig>(Documents.path()));
    int Result = 1;
    {
        auto* Window = new TTvrMainWindow(TTvrRegionalSettings());
        Window->show();
        if (QTest::qWaitForWindowExposed(Window) && Window->OpenSrcLocation(AFolder)
            && Save(Window, APictures + QStringLiteral("/main-before.png")) && ShotMenu(*Window, APictures)
            && SaveModal(Window->ActYearEnd(), APictures + QStringLiteral("/yearend-dialog.png"), QSize(),
                         FillYearEndDialog)) {
            Window->ActTotExec()->trigger();
            QTest::qWait(200);
            const QString Failing = QDir(AFolder).absoluteFilePath(QStringLiteral("../failing"));
            if (Save(Window, APictures + QStringLiteral("/main-after.png")) && MakeFailingCopy(AFolder, Failing)
                && Window->OpenSrcLocation(Failing)) {
                // The warning of the failed run is answered at once.
                SetNextMessageBoxResult(QMessageBox::Ok);
                Window->ActTotExec()->trigger();
                QTest::qWait(200);
                if (Save(Window, APictures + QStringLiteral("/main-failed.png")))
                    Result = 0;
            }
        }
        delete Window;
    }
    SetConfig(nullptr);
    ReleaseEnvironment();
    return Result;
}

int Shots(const QString& AFolder, const QString& APictures)
{
    TTvrSumup Sumup([](const std::string& AMessage) { std::fprintf(stderr, "%s\n", AMessage.c_str()); });
    TTvrSheetYear Year;
    if (!RunSumup(Sumup, AFolder, &Year))
        return 1;
    QDir().mkpath(APictures);
    TTvrSheetWindow Window(Sumup.Inputs(), Sumup.Outputs(), TTvrRegionalSettings(), TTvrSheetWindow::CurrentDate());
    // As the run hands them over: the sheets, then their year.
    Window.SetYear(Year);
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window))
        return 1;
    // The last source table: the cash-book table.
    Window.SheetList()->setCurrentRow(Sumup.Inputs().Count() - 1);
    if (!Save(&Window, APictures + QStringLiteral("/viewer-source.png")))
        return 1;
    // The first book, as Setup chose it.
    Window.SheetList()->setCurrentRow(Sumup.Inputs().Count());
    if (!Save(&Window, APictures + QStringLiteral("/viewer-book.png")))
        return 1;
    // The trial balance, whose amounts run into the thousands.
    Window.SheetList()->setCurrentRow(Sumup.Inputs().Count() + 7);
    if (!Save(&Window, APictures + QStringLiteral("/viewer-statement.png")))
        return 1;
    Window.SheetList()->setCurrentRow(Sumup.Inputs().Count());
    if (ShotPrintPreview(Window, APictures) != 0 || ShotCharts(Window, APictures) != 0)
        return 1;
    TTvrVersionDialog Dialog(&Window);
    Dialog.show();
    if (!QTest::qWaitForWindowExposed(&Dialog))
        return 1;
    if (!Save(&Dialog, APictures + QStringLiteral("/version.png")))
        return 1;
    Dialog.hide();
    if (ShotMksrc(&Window, AFolder, APictures) != 0)
        return 1;
    Window.hide();
    return ShotMain(AFolder, APictures);
}

int Bench(const QString& AFolder)
{
    TTvrSumup Sumup([](const std::string&) {});
    QElapsedTimer Timer;
    Timer.start();
    if (!RunSumup(Sumup, AFolder))
        return 1;
    std::printf("aggregation run: %.2f s\n", static_cast<double>(Timer.elapsed()) / 1000.0);
    const TTvrSheet& Book = Sumup.Outputs().Sheets(0);
    Timer.restart();
    TTvrSheetWindow Window(Sumup.Inputs(), Sumup.Outputs(), TTvrRegionalSettings(), TTvrSheetWindow::CurrentDate());
    const qint64 SetupMs = Timer.elapsed();
    Window.show();
    QApplication::processEvents();
    // The first picture of the window with the book in its grid.
    Window.grab();
    const qint64 ShownMs = Timer.elapsed();
    std::printf("viewer: %s, %d rows: Setup %lld ms, shown %lld ms\n", Book.FileName().c_str(), Book.RowCount(),
                static_cast<long long>(SetupMs), static_cast<long long>(ShownMs));
    // Scrolling to the end and back.
    Timer.restart();
    Window.VisibleGrid()->scrollToBottom();
    Window.grab();
    Window.VisibleGrid()->scrollToTop();
    Window.grab();
    std::printf("viewer: to the last row and back %lld ms\n", static_cast<long long>(Timer.elapsed()));
    // Choosing the cash-book table in the list.
    Timer.restart();
    Window.SheetList()->setCurrentRow(Sumup.Inputs().Count() - 1);
    Window.grab();
    std::printf("viewer: %s chosen and shown %lld ms\n", Sumup.Inputs().Sheets(Sumup.Inputs().Count() - 1).FileName().c_str(),
                static_cast<long long>(Timer.elapsed()));
    return 0;
}

int BenchLocations(int ACount)
{
    QTemporaryDir Documents;
    QTemporaryDir Data;
    if (!Documents.isValid() || !Data.isValid())
        return 1;
    SetApplicationEnvironment();
    CheckEnvironment();
    SetConfig(std::make_unique<TTvrConfig>(Documents.path()));
    TTvrConfig::TKeyValues Locations;
    for (int I = 0; I < ACount; ++I) {
        const QString Folder = Data.filePath(QStringLiteral("年度%1").arg(I, 5, 10, QLatin1Char('0')));
        if (!QDir().mkpath(Folder))
            return 1;
        Locations.emplace_back(QString::number(I), Folder + u'/');
    }
    Config().WriteSectionKeyValues(QStringLiteral("SrcPaths"), Locations);
    const auto Ms = [](const QElapsedTimer& ATimer) { return static_cast<double>(ATimer.nsecsElapsed()) / 1e6; };
    QElapsedTimer Timer;
    Timer.start();
    auto* Window = new TTvrMainWindow(SystemRegionalSettings());
    const double CreatedMs = Ms(Timer);
    Window->show();
    QApplication::processEvents();
    Window->grab();
    const double ShownMs = Ms(Timer);
    std::printf("main window with %d remembered locations: created %.1f ms, shown and painted %.1f ms\n", ACount,
                CreatedMs, ShownMs);
    Timer.restart();
    TTvrOwnerDrawComboBox* Combo = Window->SrcLocationComboBox();
    Combo->setCurrentIndex(Combo->count() - 1);
    emit Combo->activated(Combo->count() - 1);
    std::printf("the last location chosen, the history written: %.1f ms\n", Ms(Timer));
    Timer.restart();
    Combo->showPopup();
    Combo->view()->viewport()->grab();
    std::printf("the open list painted: %.1f ms\n", Ms(Timer));
    Combo->hidePopup();
    delete Window;
    SetConfig(nullptr);
    ReleaseEnvironment();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    InstallFontSubstitutes();
    App.setWindowIcon(ProgramIcon());
    const QStringList Args = App.arguments();
    if (Args.size() == 4 && Args[1] == QStringLiteral("shots"))
        return Shots(Args[2], Args[3]);
    if (Args.size() == 3 && Args[1] == QStringLiteral("bench"))
        return Bench(Args[2]);
    if (Args.size() == 3 && Args[1] == QStringLiteral("bench-locations"))
        return BenchLocations(Args[2].toInt());
    std::fprintf(stderr, "usage: tavrel-screens shots FOLDER PICTURES | tavrel-screens bench FOLDER"
                         " | tavrel-screens bench-locations COUNT\n");
    return 2;
}
