// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// tavrel-print-shots FOLDER PICTURES: runs the aggregation on the example
// tables in FOLDER as `tavrel-sumup --pdf --pdf-books` does (books,
// documents and both PDF files into FOLDER/output, drawn by the page
// layer's functions handed to the run), then copies 総会資料.pdf and 帳簿.pdf
// into PICTURES and draws charts.png there (the charts of the year the run
// made). Needs no display.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <optional>
#include <string>

#include "aggregation/TvrSumup.h"
#include "print/PrtCharts.h"
#include "print/PrtGuiSession.h"
#include "print/PrtSheets.h"
#include "print/PrtYearEnd.h"
#include "reports/RptCharts.h"
#include "reports/RptRequest.h"
#include "sources/SrcTables.h"

using namespace tavrel;

namespace {

std::string TableName(TSrcTableKind AKind) { return std::string(SrcTableInfo(AKind).FileName); }

TTvrDate CurrentDate()
{
    const QDate Today = QDate::currentDate();
    return TTvrDate::Encode(Today.year(), Today.month(), Today.day());
}

// The charts at 150 dots per inch, on white, as large as on an A4 page.
bool SaveCharts(const TRptCharts& ACharts, const QString& AFileName)
{
    QImage Image(1140, 1560, QImage::Format_RGB32);
    const int DotsPerMetre = static_cast<int>(150 / 0.0254);
    Image.setDotsPerMeterX(DotsPerMetre);
    Image.setDotsPerMeterY(DotsPerMetre);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing);
    DrawCharts(Painter, QRectF(40, 40, Image.width() - 80, Image.height() - 80), ACharts, TTvrRegionalSettings());
    Painter.end();
    return Image.save(AFileName);
}

// Copies a file the run wrote (AFrom ends in a separator) into a folder.
bool CopyInto(const std::string& AFrom, const std::string& ATo, const char* AName)
{
    const QString Target = QString::fromStdString(ATo + "/" + AName);
    QFile::remove(Target);
    if (!QFile::copy(QString::fromStdString(AFrom + AName), Target)) {
        std::fprintf(stderr, "tavrel-print-shots: cannot copy %s\n", AName);
        return false;
    }
    std::printf("%s\n", qPrintable(Target));
    return true;
}

int Shots(const std::string& AFolder, const std::string& APictures)
{
    const std::string Folder = QDir(QString::fromStdString(AFolder)).absolutePath().toStdString() + "/";
    const std::string Output = Folder + kOutputFolderName + "/";
    TTvrSumup Sumup([](const std::string& AMessage) { std::fprintf(stderr, "%s\n", AMessage.c_str()); });
    TTvrExecuteParams Params;
    Params.PathInput = Folder;
    Params.PathOutput = Output;
    Params.KamokuMaster = TableName(TSrcTableKind::Kamoku);
    Params.TantoshaMaster = TableName(TSrcTableKind::Tantosha);
    Params.ZandakaTable = TableName(TSrcTableKind::Zandaka);
    Params.KinsenTable = TableName(TSrcTableKind::Kinsen);
    Params.Settings = TTvrRegionalSettings();
    Params.Today = CurrentDate();
    // The example club's treasurer and auditors, as the command line's
    // --org, --treasurer and --auditor would give them.
    TRptYearEndRequest& YearEnd = Params.YearEnd;
    YearEnd.YearEndPdf = true;
    YearEnd.BooksPdf = true;
    YearEnd.YearEndPdfMaker = WriteYearEndPdf;
    YearEnd.BooksPdfMaker = WriteBooksPdf;
    YearEnd.Params.Organisation = "さくら台三丁目町内会";
    YearEnd.Params.Treasurer = "渡辺　恵子";
    YearEnd.Params.Auditors = {"木村　和夫", "斎藤　由美"};
    YearEnd.Params.ReportDate = TTvrDate::Encode(2026, 4, 20);
    std::optional<TRptCharts> Charts;
    YearEnd.KeepSummary = [&Charts](TRptRunSummary ASummary) { Charts = std::move(ASummary.Charts); };
    if (!Sumup.Execute(Params) || !Charts)
        return 1;

    QDir().mkpath(QString::fromStdString(APictures));
    if (!CopyInto(Output, APictures, kBooksPdfName) || !CopyInto(Output, APictures, kYearEndPdfName))
        return 1;
    const QString ChartsFile = QString::fromStdString(APictures) + QStringLiteral("/charts.png");
    if (!SaveCharts(*Charts, ChartsFile))
        return 1;
    std::printf("%s\n", qPrintable(ChartsFile));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavrel-print-shots FOLDER PICTURES\n");
        return 2;
    }
    try {
        const TPrtGuiSession Session;
        return Shots(argv[1], argv[2]);
    } catch (const std::exception& E) {
        std::fprintf(stderr, "tavrel-print-shots: %s\n", E.what());
        return 1;
    }
}
