// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// tavrel-print-shots FOLDER PICTURES: runs the aggregation on the example
// tables in FOLDER (books into FOLDER/output), then writes into PICTURES
// 帳簿.pdf (the eight books), 総会資料.pdf (the year-end PDF of the example
// year's documents, made by hand until the run makes them) and charts.png
// (the charts of the year). Needs no display.
#include <QDate>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>
#include <string>

#include "aggregation/SumLedger.h"
#include "aggregation/TvrSumup.h"
#include "print/PrtCharts.h"
#include "print/PrtGuiSession.h"
#include "print/PrtSheets.h"
#include "print/PrtYearEnd.h"
#include "print/shots/PrtExampleDocuments.h"
#include "reports/RptCharts.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTables.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

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

int Shots(const std::string& AFolder, const std::string& APictures)
{
    const std::string Folder = QDir(QString::fromStdString(AFolder)).absolutePath().toStdString() + "/";
    const std::string Output = Folder + kOutputFolderName + "/";
    const TTvrRegionalSettings Settings;
    const TTvrDate Today = CurrentDate();
    TTvrSumup Sumup([](const std::string& AMessage) { std::fprintf(stderr, "%s\n", AMessage.c_str()); });
    TTvrExecuteParams Params;
    Params.PathInput = Folder;
    Params.PathOutput = Output;
    Params.KamokuMaster = TableName(TSrcTableKind::Kamoku);
    Params.TantoshaMaster = TableName(TSrcTableKind::Tantosha);
    Params.ZandakaTable = TableName(TSrcTableKind::Zandaka);
    Params.KinsenTable = TableName(TSrcTableKind::Kinsen);
    Params.Settings = Settings;
    Params.Today = Today;
    if (!Sumup.Execute(Params))
        return 1;
    QDir().mkpath(QString::fromStdString(APictures));

    const TRptPageHeader Header = ExamplePageHeader();
    WriteBooksPdf(APictures + "/帳簿.pdf", BookFilesOf(Sumup.Outputs()), Header, Settings, Today);
    std::printf("%s/帳簿.pdf\n", APictures.c_str());

    const TTvrExecuteSendMessage Quiet = [](const std::string&) {};
    const TSrcKamokuMaster Kamoku(Folder + Params.KamokuMaster, Quiet, Settings);
    const TSrcTantoshaMaster Tantosha(Folder + Params.TantoshaMaster, Quiet);
    const TSrcZandakaTable Zandaka(Folder + Params.ZandakaTable, Quiet, Settings, Today);
    const TSrcKinsenTable Kinsen(Folder + Params.KinsenTable, Quiet, &Tantosha, Kamoku, Settings, Today);
    const TSumLedger Ledger(Kinsen);
    const TRptDocument Statement = ExampleStatement();
    const TRptDocument Reconciliation = ExampleReconciliation();
    const TRptYearEndInputs Inputs{Kinsen, Ledger, &Zandaka, Statement, &Reconciliation, Header, Settings, Today};
    WriteYearEndPdf(APictures + "/総会資料.pdf", Inputs);
    std::printf("%s/総会資料.pdf\n", APictures.c_str());

    const QString Charts = QString::fromStdString(APictures) + QStringLiteral("/charts.png");
    if (!SaveCharts(MakeCharts(Kinsen, Ledger, &Zandaka), Charts))
        return 1;
    std::printf("%s\n", qPrintable(Charts));
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
