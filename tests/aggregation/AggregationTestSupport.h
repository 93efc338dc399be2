// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

// Helpers shared by the tests of the aggregation run: source tables written
// as UTF-8 with a byte-order mark, expected books turned into code page 932
// bytes with CR LF, and a run that collects its log. The temporary folder,
// the code page conversions and the day every run happens on are those of
// every test program (TestSupport.h).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "aggregation/TvrSumup.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "tables/TvrValue.h"

namespace tavrel::aggtest {

using test::FromCp932;
using test::ReadBytes;
using test::TempFolder;
using test::ToCp932;
using test::Today;

// The standard names of the four source tables in a source folder.
inline const std::string kKamokuFile = "収支科目マスタ.csv";
inline const std::string kTantoshaFile = "担当者マスタ.csv";
inline const std::string kZandakaFile = "残高テーブル.csv";
inline const std::string kKinsenFile = "金銭出納テーブル.csv";

inline const std::vector<std::string> kAllBooks = {
    kKinsenBookName,       kCashBookName,       kBankBookName,       kTantoshaBookName,
    kShushiMeisaiBookName, kGranMeisaiBookName, kMiddMeisaiBookName, kShisanBookName,
};

// The bytes a book of these lines must have: each line in code page 932,
// followed by CR LF, the last one too, without a byte-order mark.
inline std::string BookBytes(const std::vector<std::string>& ALines)
{
    std::string Text;
    for (const std::string& Line : ALines)
        Text += Line + "\r\n";
    return ToCp932(Text);
}

// An empty row of a book of ACount fields: ACount - 1 commas.
inline std::string EmptyRow(int ACount) { return std::string(static_cast<size_t>(ACount - 1), ','); }

// The lines of a text whose every line must end in CR LF (a line without it
// is returned with the marker "<no CR LF>").
inline std::vector<std::string> TextLines(const std::string& AText)
{
    std::vector<std::string> Lines;
    size_t Start = 0;
    while (Start < AText.size()) {
        const size_t End = AText.find("\r\n", Start);
        if (End == std::string::npos) {
            Lines.push_back(AText.substr(Start) + "<no CR LF>");
            break;
        }
        Lines.push_back(AText.substr(Start, End - Start));
        Start = End + 2;
    }
    return Lines;
}

// The lines of a book, decoded from code page 932; every line must end in
// CR LF.
inline std::vector<std::string> BookLines(const std::string& AFileName)
{
    return TextLines(FromCp932(ReadBytes(AFileName)));
}

// The book holds exactly these lines, byte for byte.
inline void ExpectBook(const std::string& AFileName, const std::vector<std::string>& ALines)
{
    SCOPED_TRACE(AFileName);
    ASSERT_TRUE(std::filesystem::is_regular_file(AFileName)) << "book missing";
    EXPECT_THAT(BookLines(AFileName), ::testing::ElementsAreArray(ALines));
    EXPECT_EQ(ReadBytes(AFileName), BookBytes(ALines)) << "bytes differ";
}

// A line of a book of ACount fields: the given field texts (already quoted
// where the book must quote them), joined by commas, padded with empty fields.
inline std::string Fields(int ACount, const std::vector<std::string>& AFields)
{
    std::string Line;
    for (int I = 0; I < ACount; ++I) {
        if (I > 0)
            Line += ',';
        if (static_cast<size_t>(I) < AFields.size())
            Line += AFields[static_cast<size_t>(I)];
    }
    return Line;
}

// The folder of a stored set of source tables.
inline std::string Fixture(const std::string& AName) { return std::string(TAVREL_FIXTURES) + "/" + AName; }

// Lines joined with LF (the loaders accept any line end).
inline std::string Join(const std::vector<std::string>& ALines)
{
    std::string Text;
    for (const std::string& Line : ALines)
        Text += Line + "\n";
    return Text;
}

// The lines as UTF-8 with a byte-order mark into the file AName of the folder.
inline std::string WriteTable(const TempFolder& AFolder, const std::string& AName,
                              const std::vector<std::string>& ALines)
{
    return AFolder.WriteUtf8(AName, Join(ALines));
}

// The source tables of one run, written under their standard names into
// "<folder>/src"; the books go to "<folder>/out".
struct Sources {
    std::vector<std::string> Kamoku;
    std::vector<std::string> Tantosha;  // not written when empty and UseTantosha is false
    std::vector<std::string> Zandaka;
    std::vector<std::string> Kinsen;
    bool UseTantosha = false;
    bool UseZandaka = false;
};

// One TTvrSumup whose log is collected line by line.
class SumupRun {
public:
    SumupRun() : FSumup([this](const std::string& AMessage) { Log.push_back(AMessage); }) {}

    bool Execute(const std::string& AInput, const std::string& AOutput, const std::string& AKamoku,
                 const std::string& ATantosha, const std::string& AZandaka, const std::string& AKinsen,
                 TTvrDate AToday = Today())
    {
        Log.clear();
        TTvrExecuteParams Params;
        Params.PathInput = AInput;
        Params.PathOutput = AOutput;
        Params.KamokuMaster = AKamoku;
        Params.TantoshaMaster = ATantosha;
        Params.ZandakaTable = AZandaka;
        Params.KinsenTable = AKinsen;
        Params.Settings = TTvrRegionalSettings{};
        Params.Today = AToday;
        Params.YearEnd = YearEnd;
        Params.KeepSheets = KeepSheets;
        return FSumup.Execute(Params);
    }

    // Writes the sources into ATemp and runs on them; the books go to Out().
    bool Execute(const TempFolder& ATemp, const Sources& ASources, TTvrDate AToday = Today())
    {
        WriteTable(ATemp, "src/" + kKamokuFile, ASources.Kamoku);
        if (ASources.UseTantosha)
            WriteTable(ATemp, "src/" + kTantoshaFile, ASources.Tantosha);
        if (ASources.UseZandaka)
            WriteTable(ATemp, "src/" + kZandakaFile, ASources.Zandaka);
        WriteTable(ATemp, "src/" + kKinsenFile, ASources.Kinsen);
        FOut = ATemp.Path("out");
        return Execute(ATemp.Path("src"), FOut, kKamokuFile, ASources.UseTantosha ? kTantoshaFile : "",
                       ASources.UseZandaka ? kZandakaFile : "", kKinsenFile, AToday);
    }

    // Runs on a stored fixture folder; the books go to "<ATemp>/out".
    bool ExecuteFixture(const std::string& AName, const TempFolder& ATemp, bool ATantosha, bool AZandaka)
    {
        FOut = ATemp.Path("out");
        return Execute(Fixture(AName), FOut, kKamokuFile, ATantosha ? kTantoshaFile : "",
                       AZandaka ? kZandakaFile : "", kKinsenFile);
    }

    std::string Book(const std::string& AName) const { return FOut + "/" + AName; }
    const TTvrSumup& Sumup() const { return FSumup; }

    std::vector<std::string> Log;
    // What each run makes after its books: nothing unless a test asks.
    TRptYearEndRequest YearEnd;
    // Whether the run keeps its files as sheets, as the desktop program's
    // runs do.
    bool KeepSheets = true;

private:
    TTvrSumup FSumup;
    std::string FOut;
};

// The source tables of a folder (under their standard names) loaded as a
// run loads them, without a run: for building a book or a ledger on its own.
struct LoadedTables {
    LoadedTables(const std::string& AFolder, bool ATantosha)
    {
        const TTvrExecuteSendMessage Sink = [this](const std::string& AMessage) { Log.push_back(AMessage); };
        const std::string Folder = AFolder + "/";
        Kamoku = std::make_unique<TSrcKamokuMaster>(Folder + kKamokuFile, Sink, Settings);
        if (!Kamoku->Completed())
            return;
        if (ATantosha) {
            Tantosha = std::make_unique<TSrcTantoshaMaster>(Folder + kTantoshaFile, Sink);
            if (!Tantosha->Completed())
                return;
        }
        Kinsen = std::make_unique<TSrcKinsenTable>(Folder + kKinsenFile, Sink, Tantosha.get(), *Kamoku, Settings,
                                                   Today());
    }
    // The loaders keep a callback that refers to this object.
    LoadedTables(const LoadedTables&) = delete;
    LoadedTables& operator=(const LoadedTables&) = delete;

    bool Completed() const { return Kinsen && Kinsen->Completed(); }

    std::vector<std::string> Log;
    const TTvrRegionalSettings Settings{};
    std::unique_ptr<TSrcKamokuMaster> Kamoku;
    std::unique_ptr<TSrcTantoshaMaster> Tantosha;
    std::unique_ptr<TSrcKinsenTable> Kinsen;
};

// The log of the run ended with its verdict, for readable failures.
inline std::string LogText(const std::vector<std::string>& ALog)
{
    std::string Text;
    for (const std::string& Line : ALog)
        Text += "  | " + Line + "\n";
    return Text;
}

} // namespace tavrel::aggtest
