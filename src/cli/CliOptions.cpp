#include "cli/CliOptions.h"

#include <filesystem>

#include "aggregation/TvrSourceFiles.h"
#include "tables/TvrConvert.h"

namespace tavrel {

const char* const kCliUsage =
    "Usage: tavrel-sumup [--kamoku FILE] [--tantosha FILE] [--zandaka FILE] [--kinsen FILE]\n"
    "                    [--output DIR] [--today YYYY-MM-DD] SOURCE_DIR\n"
    "\n"
    "Checks the four source tables in SOURCE_DIR and writes the eight books into\n"
    "the output folder, printing the log of the run.\n"
    "\n"
    "  --kamoku FILE    account-title master (default: first *.csv holding 収支科目)\n"
    "  --tantosha FILE  person master; an empty FILE leaves it out (default: 担当者)\n"
    "  --zandaka FILE   balance table; an empty FILE leaves it out (default: 残高)\n"
    "  --kinsen FILE    cash-book table (default: first *.csv holding 金銭出納)\n"
    "  --output DIR     folder of the books (default: SOURCE_DIR/output)\n"
    "  --today DATE     the date that stands for today (default: the current date)\n"
    "  --help           show this text\n"
    "\n"
    "FILE is a name relative to SOURCE_DIR. Exit status: 0 when the run is\n"
    "complete, 1 when it was stopped, 2 for a usage error.\n";

namespace {

TTvrDate ParseToday(const std::string& AText)
{
    // Exactly YYYY-MM-DD, so that a script's date is never misread.
    int Year = 0;
    int Month = 0;
    int Day = 0;
    TTvrDate Date;
    char Tail = 0;
    if (AText.size() != 10 || AText[4] != '-' || AText[7] != '-'
        || std::sscanf(AText.c_str(), "%4d-%2d-%2d%c", &Year, &Month, &Day, &Tail) != 3
        || !TTvrDate::TryEncode(Year, Month, Day, Date))
        throw ECliUsage("--today: not a date of the form YYYY-MM-DD: " + AText);
    return Date;
}

} // namespace

TCliOptions ParseCliOptions(const std::vector<std::string>& AArgs)
{
    TCliOptions Options;
    std::vector<std::string> Positional;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        const std::string& Arg = AArgs[I];
        if (Arg == "--help" || Arg == "-h") {
            Options.Help = true;
            continue;
        }
        if (Arg == "--") {
            Positional.insert(Positional.end(), AArgs.begin() + static_cast<long>(I) + 1, AArgs.end());
            break;
        }
        if (Arg.size() < 2 || Arg.compare(0, 2, "--") != 0) {
            Positional.push_back(Arg);
            continue;
        }
        std::string Name = Arg;
        std::optional<std::string> Value;
        const size_t Equal = Arg.find('=');
        if (Equal != std::string::npos) {
            Name = Arg.substr(0, Equal);
            Value = Arg.substr(Equal + 1);
        }
        std::optional<std::string>* Target = nullptr;
        if (Name == "--kamoku") Target = &Options.Kamoku;
        else if (Name == "--tantosha") Target = &Options.Tantosha;
        else if (Name == "--zandaka") Target = &Options.Zandaka;
        else if (Name == "--kinsen") Target = &Options.Kinsen;
        else if (Name == "--output") Target = &Options.Output;
        else if (Name != "--today") throw ECliUsage("unknown option: " + Name);
        if (!Value) {
            if (I + 1 >= AArgs.size())
                throw ECliUsage(Name + ": a value is missing");
            Value = AArgs[++I];
        }
        if (Target != nullptr)
            *Target = *Value;
        else
            Options.Today = ParseToday(*Value);
    }
    if (Options.Help)
        return Options;
    if (Positional.empty())
        throw ECliUsage("SOURCE_DIR is missing");
    if (Positional.size() > 1)
        throw ECliUsage("only one SOURCE_DIR may be given: " + Positional[1]);
    Options.SourceDir = Positional[0];
    return Options;
}

TTvrExecuteParams MakeExecuteParams(const TCliOptions& AOptions, TTvrDate ADefaultToday)
{
    std::error_code Error;
    if (!std::filesystem::is_directory(AOptions.SourceDir, Error))
        throw ECliUsage("SOURCE_DIR is not a folder: " + AOptions.SourceDir);
    const std::vector<std::string> Names = ListCsvFiles(AOptions.SourceDir);
    const auto Choose = [&](const std::optional<std::string>& AGiven, const char* AKeyword) {
        return AGiven ? *AGiven : FindByKeyword(Names, AKeyword);
    };
    TTvrExecuteParams Params;
    Params.PathInput = AOptions.SourceDir;
    Params.PathOutput = AOptions.Output ? *AOptions.Output
                                        : (std::filesystem::path(AOptions.SourceDir) / "output").string();
    Params.KamokuMaster = Choose(AOptions.Kamoku, kKamokuKeyword);
    Params.TantoshaMaster = Choose(AOptions.Tantosha, kTantoshaKeyword);
    Params.ZandakaTable = Choose(AOptions.Zandaka, kZandakaKeyword);
    Params.KinsenTable = Choose(AOptions.Kinsen, kKinsenKeyword);
    if (Params.KamokuMaster.empty())
        throw ECliUsage("no account-title master (収支科目マスタ) is named or found in " + AOptions.SourceDir);
    if (Params.KinsenTable.empty())
        throw ECliUsage("no cash-book table (金銭出納テーブル) is named or found in " + AOptions.SourceDir);
    Params.Today = AOptions.Today ? *AOptions.Today : ADefaultToday;
    return Params;
}

} // namespace tavrel
