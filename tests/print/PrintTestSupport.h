// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Helpers of the page layer's tests: metrics of a fixed rule for layouts
// that must not depend on a font, PDF files read as a user reads them
// (poppler's pdftotext and pdfinfo), and a run of the example year.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "aggregation/SumLedger.h"
#include "aggregation/TvrSumup.h"
#include "print/PrtPage.h"
#include "reports/RptYearEnd.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTables.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"

namespace tavrel::printtest {

using test::TempFolder;
using test::Today;
using test::Ymd;

// Every character half as wide as its size when it is ASCII, as wide as
// its size otherwise; a line 1.4 times its size.
class TFixedMetrics final : public TPrtMetrics {
public:
    double TextWidth(const QString& AText, double APointSize, bool) const override
    {
        double Width = 0.0;
        for (const char32_t C : AText.toUcs4())
            Width += C < 0x80 ? APointSize / 2 : APointSize;
        return Width;
    }
    double LineHeight(double APointSize) const override { return APointSize * 1.4; }
};

inline std::string Run(const char* AProgram, const QStringList& AArguments)
{
    QProcess Process;
    Process.start(QString::fromUtf8(AProgram), AArguments);
    if (!Process.waitForFinished(60000) || Process.exitStatus() != QProcess::NormalExit || Process.exitCode() != 0)
        throw std::runtime_error(std::string(AProgram) + " failed: " + Process.readAllStandardError().toStdString());
    return Process.readAllStandardOutput().toStdString();
}

// The text of one page (from 1), or of all pages (0), as pdftotext lays it
// out.
inline std::string PdfText(const std::string& AFileName, int APage = 0)
{
    QStringList Arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (APage > 0)
        Arguments << QStringLiteral("-f") << QString::number(APage) << QStringLiteral("-l") << QString::number(APage);
    Arguments << QString::fromStdString(AFileName) << QStringLiteral("-");
    return Run(TAVREL_PDFTOTEXT, Arguments);
}

// The lines of the text with the blanks pdftotext lays them out with
// removed from both ends, the empty ones left out.
inline std::vector<std::string> Lines(const std::string& AText)
{
    std::vector<std::string> Result;
    for (const QString& Line : QString::fromStdString(AText).split(QRegularExpression(QStringLiteral("[\n\f]")))) {
        const QString Trimmed = Line.trimmed();
        if (!Trimmed.isEmpty())
            Result.push_back(Trimmed.toStdString());
    }
    return Result;
}

// The size of every page in points, as pdfinfo reports it ("595 x 842").
inline std::vector<std::string> PdfPageSizes(const std::string& AFileName)
{
    const std::string Info = Run(TAVREL_PDFINFO, {QString::fromStdString(AFileName)});
    const QRegularExpression PagesLine(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const int Pages = PagesLine.match(QString::fromStdString(Info)).captured(1).toInt();
    const std::string Sizes = Run(TAVREL_PDFINFO, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                   QString::number(Pages), QString::fromStdString(AFileName)});
    std::vector<std::string> Result;
    const QRegularExpression SizeLine(QStringLiteral("^Page\\s+\\d+ size:\\s+([\\d.]+ x [\\d.]+) pts"),
                                      QRegularExpression::MultilineOption);
    auto It = SizeLine.globalMatch(QString::fromStdString(Sizes));
    while (It.hasNext())
        Result.push_back(It.next().captured(1).toStdString());
    return Result;
}

// The words of each page with their boxes in points from the page's
// top-left corner, as pdftotext -bbox finds them.
struct TWordBox {
    std::string Word;
    QRectF Box;
};
struct TPageWords {
    QSizeF Size;
    std::vector<TWordBox> Words;
};

inline std::vector<TPageWords> PdfWords(const std::string& AFileName)
{
    const QString Html = QString::fromStdString(
        Run(TAVREL_PDFTOTEXT, {QStringLiteral("-bbox"), QString::fromStdString(AFileName), QStringLiteral("-")}));
    std::vector<TPageWords> Pages;
    const QRegularExpression Item(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|"
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto It = Item.globalMatch(Html); It.hasNext();) {
        const auto M = It.next();
        if (!M.captured(1).isEmpty()) {
            Pages.push_back({QSizeF(M.captured(1).toDouble(), M.captured(2).toDouble()), {}});
        } else if (!Pages.empty()) {
            const QPointF TopLeft(M.captured(3).toDouble(), M.captured(4).toDouble());
            const QPointF BottomRight(M.captured(5).toDouble(), M.captured(6).toDouble());
            Pages.back().Words.push_back({M.captured(7).toStdString(), QRectF(TopLeft, BottomRight)});
        }
    }
    return Pages;
}

inline int CountOf(const std::string& AText, const std::string& APart)
{
    int Count = 0;
    for (size_t At = AText.find(APart); At != std::string::npos; At = AText.find(APart, At + APart.size()))
        ++Count;
    return Count;
}

// A copy of the example tables, run as the command line runs them: the
// books in "<folder>/output", the checked tables and the ledger kept for the
// year-end PDF.
class TExampleYear {
public:
    TExampleYear()
        : FSumup([](const std::string&) {})
    {
        for (const auto& Entry : std::filesystem::directory_iterator(TAVREL_EXAMPLES))
            if (Entry.path().extension() == ".csv")
                std::filesystem::copy_file(Entry.path(), FFolder.Path(Entry.path().filename().string()));
        TTvrExecuteParams Params;
        Params.PathInput = FFolder.Path() + "/";
        Params.PathOutput = FFolder.Path("output") + "/";
        Params.KamokuMaster = Name(TSrcTableKind::Kamoku);
        Params.TantoshaMaster = Name(TSrcTableKind::Tantosha);
        Params.ZandakaTable = Name(TSrcTableKind::Zandaka);
        Params.KinsenTable = Name(TSrcTableKind::Kinsen);
        Params.Today = Today();
        if (!FSumup.Execute(Params))
            throw std::runtime_error("the example year did not run");
        const TTvrExecuteSendMessage Quiet = [](const std::string&) {};
        Kamoku = std::make_unique<TSrcKamokuMaster>(Params.PathInput + Params.KamokuMaster, Quiet, Settings);
        Tantosha = std::make_unique<TSrcTantoshaMaster>(Params.PathInput + Params.TantoshaMaster, Quiet);
        Zandaka = std::make_unique<TSrcZandakaTable>(Params.PathInput + Params.ZandakaTable, Quiet, Settings, Today());
        Kinsen = std::make_unique<TSrcKinsenTable>(Params.PathInput + Params.KinsenTable, Quiet, Tantosha.get(),
                                                   *Kamoku, Settings, Today());
        Ledger = std::make_unique<TSumLedger>(*Kinsen);
    }

    const TTvrSumup& Sumup() const { return FSumup; }
    std::string Path(const std::string& AName) const { return FFolder.Path(AName); }

    const TTvrRegionalSettings Settings{};
    std::unique_ptr<TSrcKamokuMaster> Kamoku;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
    std::unique_ptr<TSrcZandakaTable> Zandaka;
    std::unique_ptr<TSrcKinsenTable> Kinsen;
    std::unique_ptr<TSumLedger> Ledger;

private:
    static std::string Name(TSrcTableKind AKind) { return std::string(SrcTableInfo(AKind).FileName); }

    TempFolder FFolder;
    TTvrSumup FSumup;
};

} // namespace tavrel::printtest
