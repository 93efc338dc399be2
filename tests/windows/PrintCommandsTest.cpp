// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// The viewer's print commands and the chart window over the sheets of a run
// of the example year: the pages printed through the preview's seam and the
// PDF files saved, read back as a user reads them (pdftotext), and the
// charts of the year shown.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

#include "aggregation/TvrSumup.h"
#include "shell/NbMessageBox.h"
#include "shell/NbPrint.h"
#include "shell/NbShellOpen.h"
#include "sources/SrcTables.h"
#include "windows/TvrChartWindow.h"
#include "windows/TvrSheetWindow.h"

namespace tavrel {
namespace {

const QString kPeriod = QStringLiteral("期間 2025/04/01～2026/03/31");
const QString kOrganisation = QStringLiteral("さくら台三丁目町内会 2025年度");

// The text of a PDF file as pdftotext lays it out.
QString PdfText(const QString& AFileName)
{
    QProcess Process;
    Process.start(QStringLiteral(TAVREL_PDFTOTEXT),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), AFileName,
                   QStringLiteral("-")});
    if (!Process.waitForFinished(60000) || Process.exitCode() != 0)
        return QStringLiteral("(pdftotext failed: %1)").arg(QString::fromUtf8(Process.readAllStandardError()));
    return QString::fromUtf8(Process.readAllStandardOutput());
}

// The printer's file is Qt's own, whose text layer names some characters
// drawn with a shared glyph by another that shares it: a radical (金 as
// U+2FA6), which the compatibility form gives back as the character, or the
// wave dash for the full-width tilde of the period, which the period is
// matched with either way.
QString PrintedText(const QString& AFileName)
{
    return PdfText(AFileName).normalized(QString::NormalizationForm_KC);
}
const QRegularExpression kPrintedPeriod(QStringLiteral("期間 2025/04/01[～〜~]2026/03/31"));

// A copy of the example tables run with the year-end documents, as the
// desktop's run makes them; the viewer over its sheets with the year the
// run told of.
class PrintCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FData.isValid());
        const QString Folder = FData.filePath(QStringLiteral("会計"));
        QDir().mkpath(Folder);
        for (const QFileInfo& File : QDir(QStringLiteral(TAVREL_EXAMPLES)).entryInfoList({QStringLiteral("*.csv")}))
            QFile::copy(File.absoluteFilePath(), Folder + u'/' + File.fileName());
        TTvrExecuteParams Params;
        Params.PathInput = Folder.toStdString() + '/';
        Params.PathOutput = Params.PathInput + "output/";
        const auto Name = [](TSrcTableKind AKind) { return std::string(SrcTableInfo(AKind).FileName); };
        Params.KamokuMaster = Name(TSrcTableKind::Kamoku);
        Params.TantoshaMaster = Name(TSrcTableKind::Tantosha);
        Params.ZandakaTable = Name(TSrcTableKind::Zandaka);
        Params.KinsenTable = Name(TSrcTableKind::Kinsen);
        Params.Today = TTvrDate::Encode(2026, 4, 20);
        Params.YearEnd.Documents = true;
        Params.YearEnd.Params.Organisation = "さくら台三丁目町内会";
        Params.YearEnd.KeepSummary = [this](TRptRunSummary ASummary) {
            FYear.Header = ASummary.Header;
            FYear.Charts = ASummary.Charts;
        };
        ASSERT_TRUE(FSumup.Execute(Params));
        FYear.OutputFolder = Params.PathOutput;
        FOutput = QString::fromStdString(Params.PathOutput);
    }

    TTvrSheetWindow& Open()
    {
        FWindow = std::make_unique<TTvrSheetWindow>(FSumup.Inputs(), FSumup.Outputs(), TTvrRegionalSettings(),
                                                    TTvrSheetWindow::CurrentDate());
        FWindow->SetYear(FYear);
        FWindow->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
        return *FWindow;
    }

    // The column titles of a sheet of the run, by its place in the list.
    QStringList Titles(int AIndex) const
    {
        const int Inputs = FSumup.Inputs().Count();
        const TTvrSheet& Sheet = AIndex < Inputs ? FSumup.Inputs().Sheets(AIndex) : FSumup.Outputs().Sheets(AIndex - Inputs);
        QStringList Result;
        for (int C = 0; C < Sheet.ColCount(); ++C)
            Result << QString::fromStdString(Sheet.Fields().Fields(C).Name());
        return Result;
    }

    QTemporaryDir FData;
    TTvrSumup FSumup {[](const std::string&) {}};
    TTvrSheetYear FYear;
    QString FOutput;
    std::unique_ptr<TTvrSheetWindow> FWindow;
};

// A source table, a book and a document, each as the sheet on show.
struct TSheetCase {
    int Index;
    const char* Name;
};
const TSheetCase kSheets[] = {
    {3, "金銭出納テーブル"},
    {4, "11金銭出納簿"},
    {11, "18試算表"},
    {12, "21収支決算書"},
    {13, "22残高照合表"},
};

TEST_F(PrintCommandsTest, PdfSaveWritesTheSheetOnShowUnderTheYearsHeader)
{
    TTvrSheetWindow& Window = Open();
    ASSERT_EQ(Window.SheetList()->count(), 14);
    for (const TSheetCase& C : kSheets) {
        const QString Name = QString::fromUtf8(C.Name);
        Window.SheetList()->setCurrentRow(C.Index);
        const QString File = FData.filePath(QStringLiteral("保存/%1.pdf").arg(Name));
        QDir().mkpath(QFileInfo(File).path());
        SetNextSaveFileName(File);
        QTest::keyClick(Window.VisibleGrid(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        // Proposed in the output folder under the sheet's name.
        EXPECT_EQ(LastProposedSaveFileName(), FOutput + Name + QStringLiteral(".pdf")) << C.Name;
        const QString Text = PdfText(File);
        for (const QString& Title : Titles(C.Index))
            EXPECT_TRUE(Text.contains(Title)) << C.Name << ": " << Title.toStdString();
        for (const QString& Header : {Name, kPeriod, kOrganisation})
            EXPECT_TRUE(Text.contains(Header)) << C.Name << ": " << Header.toStdString();
        // Only the sheet on show.
        for (const TSheetCase& Other : kSheets) {
            if (Other.Index != C.Index) {
                EXPECT_FALSE(Text.contains(QString::fromUtf8(Other.Name))) << C.Name << ": " << Other.Name;
            }
        }
    }
    // The trial balance's two sections, each from a page of its own.
    Window.SheetList()->setCurrentRow(11);
    SetNextSaveFileName(FData.filePath(QStringLiteral("試算表.pdf")));
    Window.ActPdfSave()->trigger();
    const QStringList Pages = PdfText(FData.filePath(QStringLiteral("試算表.pdf"))).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(Pages.size(), 2);
    EXPECT_TRUE(Pages[1].contains(QStringLiteral("■ 合計試算表")));
}

TEST_F(PrintCommandsTest, PdfSaveCancelledOrNotReplacingWritesNothingAndAFailureIsSaid)
{
    TTvrSheetWindow& Window = Open();
    const QString Proposed = FOutput + QStringLiteral("11金銭出納簿.pdf");
    SetNextSaveFileName(std::nullopt);
    Window.ActPdfSave()->trigger();
    EXPECT_FALSE(QFileInfo::exists(Proposed));

    QFile Old(Proposed);
    ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
    Old.write("%PDF old");
    Old.close();
    SetNextSaveFileName(Proposed);
    SetNextMessageBoxResult(QMessageBox::No);
    Window.ActPdfSave()->trigger();
    ASSERT_TRUE(Old.open(QIODevice::ReadOnly));
    EXPECT_EQ(Old.readAll(), QByteArray("%PDF old"));
    Old.close();
    SetNextSaveFileName(Proposed);
    SetNextMessageBoxResult(QMessageBox::Yes);
    Window.ActPdfSave()->trigger();
    EXPECT_TRUE(PdfText(Proposed).contains(kPeriod));

    // A folder that is not there: the platform's reason in the error box.
    const int Before = MessageBoxCount();
    SetNextSaveFileName(FData.filePath(QStringLiteral("no/such/folder/x.pdf")));
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.ActPdfSave()->trigger();
    EXPECT_EQ(MessageBoxCount(), Before + 1);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_TRUE(LastMessageBox()->Text.contains(QStringLiteral("no/such/folder"))) << LastMessageBox()->Text.toStdString();
}

TEST_F(PrintCommandsTest, PrintPaintsTheSheetOnShowOnThePreviewsPrinter)
{
    TTvrSheetWindow& Window = Open();
    for (const TSheetCase& C : kSheets) {
        Window.SheetList()->setCurrentRow(C.Index);
        const QString File = FData.filePath(QStringLiteral("printer-%1.pdf").arg(C.Index));
        {
            QPdfWriter Printer(File);
            SetNextPrintPreviewDevice(&Printer);
            QTest::keyClick(Window.VisibleGrid(), Qt::Key_P, Qt::ControlModifier);
        }
        const QString Text = PrintedText(File);
        for (const QString& Title : Titles(C.Index))
            EXPECT_TRUE(Text.contains(Title.normalized(QString::NormalizationForm_KC)))
                << C.Name << ": " << Title.toStdString();
        EXPECT_TRUE(Text.contains(kPrintedPeriod)) << C.Name << "\n" << Text.toStdString();
        EXPECT_TRUE(Text.contains(QString::fromUtf8(C.Name).normalized(QString::NormalizationForm_KC))) << C.Name;
    }
}

// The run keeps its sheets unread: a book is read when it is chosen, and
// what is printed is the book as read then. A book gone before it is first
// shown gives the error, and the sheet still on show is the one printed.
TEST_F(PrintCommandsTest, ABookIsReadWhenChosenAndPrintedAsRead)
{
    TTvrSheetWindow& Window = Open();
    ASSERT_TRUE(QFile::remove(FOutput + QStringLiteral("18試算表.csv")));
    Window.SheetList()->setCurrentRow(5);
    SetNextMessageBoxResult(QMessageBox::Ok);
    Window.SheetList()->setCurrentRow(11);
    ASSERT_TRUE(LastMessageBox().has_value());
    EXPECT_EQ(LastMessageBox()->Icon, QMessageBox::Critical);
    EXPECT_EQ(Window.SheetIndex(), 5);

    const QString Kept = FData.filePath(QStringLiteral("kept.pdf"));
    SetNextSaveFileName(Kept);
    Window.ActPdfSave()->trigger();
    const QString KeptText = PdfText(Kept);
    EXPECT_TRUE(KeptText.contains(QStringLiteral("12現金出納簿"))) << KeptText.toStdString();
    EXPECT_FALSE(KeptText.contains(QStringLiteral("18試算表"))) << KeptText.toStdString();

    Window.SheetList()->setCurrentRow(12);
    const QString Statement = FData.filePath(QStringLiteral("statement.pdf"));
    SetNextSaveFileName(Statement);
    Window.ActPdfSave()->trigger();
    const QString StatementText = PdfText(Statement);
    for (const QString& Title : Titles(12))
        EXPECT_TRUE(StatementText.contains(Title)) << Title.toStdString();
    for (int I = 0; I < FSumup.Outputs().Count(); ++I)
        EXPECT_FALSE(FSumup.Outputs().Sheets(I).ContentRead()) << FSumup.Outputs().Sheets(I).FileName();
}

TEST_F(PrintCommandsTest, SheetsOfARunWithoutAPeriodPrintWithoutOne)
{
    TTvrSheetWindow& Window = Open();
    TTvrSheetYear Stopped;
    Stopped.Header.Organisation = "さくら台三丁目町内会";
    Window.SetYear(Stopped);
    EXPECT_FALSE(Window.ActChart()->isEnabled());
    Window.SheetList()->setCurrentRow(3);
    // No output folder known: proposed beside the table.
    const QString File = FData.filePath(QStringLiteral("table.pdf"));
    SetNextSaveFileName(File);
    Window.ActPdfSave()->trigger();
    EXPECT_EQ(LastProposedSaveFileName(), FData.filePath(QStringLiteral("会計/金銭出納テーブル.pdf")));
    const QString Text = PdfText(File);
    EXPECT_TRUE(Text.contains(QStringLiteral("さくら台三丁目町内会"))) << Text.toStdString();
    EXPECT_FALSE(Text.contains(QStringLiteral("期間"))) << Text.toStdString();
}

TEST_F(PrintCommandsTest, TheChartWindowShowsPrintsAndSavesTheChartsOfTheRun)
{
    TTvrSheetWindow& Window = Open();
    ASSERT_TRUE(Window.ActChart()->isEnabled());
    Window.ActChart()->trigger();
    TTvrChartWindow* Charts = Window.ChartWindow();
    ASSERT_NE(Charts, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Charts));
    EXPECT_EQ(Charts->windowTitle(), QStringLiteral("グラフ"));
    // The run's charts: the master's major items with their budgets and
    // actual amounts, the marked ones marked.
    ASSERT_TRUE(FYear.Charts.has_value());
    const auto Items = [](const TRptBudgetGroup& AGroup) {
        std::string Text;
        for (const TRptBudgetItem& Item : AGroup.Items)
            Text += Item.Name + " " + std::to_string(static_cast<long long>(Item.Budget)) + " "
                    + std::to_string(static_cast<long long>(Item.Actual)) + (Item.Marked ? " *" : "") + "\n";
        return Text;
    };
    EXPECT_EQ(Items(Charts->Charts().Budget.Incomes),
              "会費収入 720000 708800 *\n補助金収入 257000 256580 *\n事業収入 262000 259300 *\n雑収入 40000 44697\n");
    EXPECT_EQ(Items(Charts->Charts().Budget.Expenses), Items(FYear.Charts->Budget.Expenses));
    ASSERT_EQ(Charts->Charts().Money.Series.size(), 3u);
    EXPECT_EQ(Charts->Charts().Money.Series[0].MonthEnds.back(), 21670);
    EXPECT_EQ(Charts->Charts().Money.Series[1].MonthEnds.back(), 1098810);
    EXPECT_EQ(Charts->Charts().Money.Points.size(), FYear.Charts->Money.Points.size());

    // Drawn: both charts hold marks in their own halves of the area.
    const QImage Picture = Charts->ChartArea()->grab().toImage();
    const auto [Budget, Money] = Charts->ChartArea()->ChartRects();
    for (const QRectF& Rect : {Budget, Money}) {
        int Coloured = 0;
        const QRect Area = Rect.toRect().intersected(Picture.rect());
        for (int Y = Area.top(); Y <= Area.bottom(); Y += 2)
            for (int X = Area.left(); X <= Area.right(); X += 2) {
                const QColor Pixel = Picture.pixelColor(X, Y);
                Coloured += Pixel.saturation() > 60;
            }
        EXPECT_GT(Coloured, 200) << Rect.x() << "," << Rect.y();
    }

    // Saved and printed as a sheet is.
    const QString File = FData.filePath(QStringLiteral("グラフ.pdf"));
    SetNextSaveFileName(File);
    QTest::keyClick(Charts->ChartArea(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(LastProposedSaveFileName(), FOutput + QStringLiteral("グラフ.pdf"));
    const QString Text = PdfText(File);
    for (const QString& Printed : {QStringLiteral("予算と決算"), QStringLiteral("資金の推移"), QStringLiteral("会費収入"),
                                   QStringLiteral("グラフ"), kPeriod, kOrganisation})
        EXPECT_TRUE(Text.contains(Printed)) << Printed.toStdString();
    const QString Printed = FData.filePath(QStringLiteral("printer.pdf"));
    {
        QPdfWriter Printer(Printed);
        SetNextPrintPreviewDevice(&Printer);
        QTest::keyClick(Charts->ChartArea(), Qt::Key_P, Qt::ControlModifier);
    }
    EXPECT_TRUE(PrintedText(Printed).contains(QStringLiteral("予算と決算")));

    // The chart window goes with the viewer, and with a year that has no
    // charts.
    Window.hide();
    EXPECT_FALSE(Charts->isVisible());
    Window.show();
    Window.ActChart()->trigger();
    EXPECT_TRUE(Charts->isVisible());
    Window.SetYear(TTvrSheetYear());
    EXPECT_FALSE(Charts->isVisible());
    EXPECT_FALSE(Window.ActChart()->isEnabled());
}

} // namespace
} // namespace tavrel
