#pragma once

// Helpers shared by the tests of the aggregation run: a temporary folder per
// test, source tables written as UTF-8 with a byte-order mark, expected books
// turned into code page 932 bytes with CR LF (encoded here with iconv,
// independently of the engine's own encoder), and a run that collects its
// log.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "aggregation/TvrSumup.h"
#include "tables/TvrValue.h"

namespace tavrel::aggtest {

// Every run of these tests happens on the same day, with the Japanese
// conventions.
inline TTvrDate Today() { return TTvrDate::Encode(2026, 12, 10); }

// The standard names of the four source tables in a source folder.
inline const std::string kKamokuFile = "収支科目マスタ.csv";
inline const std::string kTantoshaFile = "担当者マスタ.csv";
inline const std::string kZandakaFile = "残高テーブル.csv";
inline const std::string kKinsenFile = "金銭出納テーブル.csv";

inline const std::vector<std::string> kAllBooks = {
    kKinsenBookName,       kCashBookName,       kBankBookName,       kTantoshaBookName,
    kShushiMeisaiBookName, kGranMeisaiBookName, kMiddMeisaiBookName, kShisanBookName,
};

inline std::string Convert(const std::string& AText, const char* ATo, const char* AFrom)
{
    iconv_t Cd = iconv_open(ATo, AFrom);
    if (Cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    std::string In = AText;
    std::string Out(In.size() * 4 + 16, '\0');
    char* InPtr = In.data();
    size_t InLeft = In.size();
    char* OutPtr = Out.data();
    size_t OutLeft = Out.size();
    const size_t Result = iconv(Cd, &InPtr, &InLeft, &OutPtr, &OutLeft);
    iconv_close(Cd);
    if (Result == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("iconv failed from ") + AFrom);
    Out.resize(Out.size() - OutLeft);
    return Out;
}

inline std::string ToCp932(const std::string& AUtf8) { return Convert(AUtf8, "CP932", "UTF-8"); }
inline std::string FromCp932(const std::string& ABytes) { return Convert(ABytes, "UTF-8", "CP932"); }

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

inline std::string ReadBytes(const std::string& AFileName)
{
    std::ifstream In(AFileName, std::ios::binary);
    if (!In)
        throw std::runtime_error("cannot read " + AFileName);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The lines of a book, decoded from code page 932; every line must end in
// CR LF (a line without it is returned with the marker "<no CR LF>").
inline std::vector<std::string> BookLines(const std::string& AFileName)
{
    const std::string Text = FromCp932(ReadBytes(AFileName));
    std::vector<std::string> Lines;
    size_t Start = 0;
    while (Start < Text.size()) {
        const size_t End = Text.find("\r\n", Start);
        if (End == std::string::npos) {
            Lines.push_back(Text.substr(Start) + "<no CR LF>");
            break;
        }
        Lines.push_back(Text.substr(Start, End - Start));
        Start = End + 2;
    }
    return Lines;
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

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test.
class TempFolder {
public:
    TempFolder()
    {
        std::string Template = (std::filesystem::temp_directory_path() / "tavrel-aggregation-XXXXXX").string();
        if (mkdtemp(Template.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        FPath = Template;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code Ignored;
        for (const auto& Entry : std::filesystem::recursive_directory_iterator(FPath, Ignored))
            ::chmod(Entry.path().c_str(), 0700);
        std::filesystem::remove_all(FPath, Ignored);
    }

    std::string Path() const { return FPath.string(); }
    std::string Path(const std::string& AName) const { return (FPath / AName).string(); }

    std::string WriteBytes(const std::string& AName, const std::string& ABytes) const
    {
        const std::string FileName = Path(AName);
        std::filesystem::create_directories(std::filesystem::path(FileName).parent_path());
        std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
        Out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
        Out.close();
        if (!Out)
            throw std::runtime_error("cannot write " + FileName);
        return FileName;
    }

    // The lines as UTF-8 with a byte-order mark.
    std::string WriteTable(const std::string& AName, const std::vector<std::string>& ALines) const
    {
        return WriteBytes(AName, "\xEF\xBB\xBF" + Join(ALines));
    }

private:
    std::filesystem::path FPath;
};

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
        Params.SendMessage = [this](const std::string& AMessage) { Log.push_back(AMessage); };
        Params.Settings = TTvrRegionalSettings{};
        Params.Today = AToday;
        return FSumup.Execute(Params);
    }

    // Writes the sources into ATemp and runs on them; the books go to Out().
    bool Execute(const TempFolder& ATemp, const Sources& ASources, TTvrDate AToday = Today())
    {
        ATemp.WriteTable("src/" + kKamokuFile, ASources.Kamoku);
        if (ASources.UseTantosha)
            ATemp.WriteTable("src/" + kTantoshaFile, ASources.Tantosha);
        if (ASources.UseZandaka)
            ATemp.WriteTable("src/" + kZandakaFile, ASources.Zandaka);
        ATemp.WriteTable("src/" + kKinsenFile, ASources.Kinsen);
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

private:
    TTvrSumup FSumup;
    std::string FOut;
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
