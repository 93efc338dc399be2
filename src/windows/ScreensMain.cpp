// tavrel-screens: shows the viewer and the version dialog over the books of
// a run, for pictures and for timing the viewer.
//
//   tavrel-screens shots FOLDER PICTURES  runs the aggregation on the source
//       tables in FOLDER (books into FOLDER/output) and saves viewer-source.png,
//       viewer-book.png, viewer-statement.png and version.png into PICTURES
//   tavrel-screens bench FOLDER  runs the aggregation on FOLDER, then times the
//       viewer's creation with Setup and the first painting of the first book
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <string>

#include "aggregation/TvrSumup.h"
#include "shell/Nubix.h"
#include "windows/NbFileInfo.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrVersionDialog.h"

using namespace tavrel;

namespace {

bool RunSumup(TTvrSumup& ASumup, const QString& AFolder)
{
    TTvrExecuteParams Params;
    const std::string Folder = QDir(AFolder).absolutePath().toStdString() + "/";
    Params.PathInput = Folder;
    Params.PathOutput = Folder + "output/";
    Params.KamokuMaster = "収支科目マスタ.csv";
    Params.TantoshaMaster = "担当者マスタ.csv";
    Params.ZandakaTable = "残高テーブル.csv";
    Params.KinsenTable = "金銭出納テーブル.csv";
    Params.Today = TTvrSheetWindow::CurrentDate();
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

int Shots(const QString& AFolder, const QString& APictures)
{
    TTvrSumup Sumup([](const std::string& AMessage) { std::fprintf(stderr, "%s\n", AMessage.c_str()); });
    if (!RunSumup(Sumup, AFolder))
        return 1;
    QDir().mkpath(APictures);
    TTvrSheetWindow Window(Sumup.Inputs(), Sumup.Outputs(), TTvrRegionalSettings(), TTvrSheetWindow::CurrentDate());
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
    TTvrVersionDialog Dialog(&Window);
    Dialog.show();
    if (!QTest::qWaitForWindowExposed(&Dialog))
        return 1;
    return Save(&Dialog, APictures + QStringLiteral("/version.png")) ? 0 : 1;
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
    std::fprintf(stderr, "usage: tavrel-screens shots FOLDER PICTURES | tavrel-screens bench FOLDER\n");
    return 2;
}
