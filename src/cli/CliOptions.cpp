// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "cli/CliOptions.h"

#include <filesystem>

#include "aggregation/TvrSourceFiles.h"
#include "cli/CliYearEndOptions.h"
#include "sources/SrcTables.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

// The options that name a source table, in the order of the registry, with
// the English name the usage text gives the table and the fields of the
// options and of the run's parameters that they fill.
struct TCliTableOption {
    TSrcTableKind Kind;
    const char* Option;
    const char* Description;
    std::optional<std::string> TCliOptions::*Given;
    std::string TTvrExecuteParams::*FileName;
};

const TCliTableOption kTableOptions[] = {
    {TSrcTableKind::Kamoku, "--kamoku", "account-title master", &TCliOptions::Kamoku, &TTvrExecuteParams::KamokuMaster},
    {TSrcTableKind::Tantosha, "--tantosha", "person master", &TCliOptions::Tantosha,
     &TTvrExecuteParams::TantoshaMaster},
    {TSrcTableKind::Zandaka, "--zandaka", "balance table", &TCliOptions::Zandaka, &TTvrExecuteParams::ZandakaTable},
    {TSrcTableKind::Kinsen, "--kinsen", "cash-book table", &TCliOptions::Kinsen, &TTvrExecuteParams::KinsenTable},
};

// An option and its value, padded to the column where the explanations of
// the usage text begin; one too long for it has its explanation on the next
// line, in that column.
std::string UsageOption(const std::string& AOption)
{
    constexpr size_t kColumn = 19;
    std::string Line = "  " + AOption;
    if (Line.size() >= kColumn)
        return Line + "\n" + std::string(kColumn, ' ');
    Line.resize(kColumn, ' ');
    return Line;
}

std::string MakeCliUsage()
{
    std::string Usage = "Usage: tavrel-sumup";
    for (const TCliTableOption& Table : kTableOptions)
        Usage += std::string(" [") + Table.Option + " FILE]";
    Usage += "\n"
             "                    [--output DIR] [--today YYYY-MM-DD]\n";
    Usage += YearEndSynopsis();
    Usage += "                    SOURCE_DIR\n"
             "\n"
             "Checks the four source tables in SOURCE_DIR and writes the eight books into\n"
             "the output folder, printing the log of the run; when asked, also the\n"
             "year-end documents and next year's source tables.\n"
             "\n";
    for (const TCliTableOption& Table : kTableOptions) {
        const TSrcTableInfo& Info = SrcTableInfo(Table.Kind);
        Usage += UsageOption(std::string(Table.Option) + " FILE") + Table.Description;
        if (Info.Optional)
            Usage += "; an empty FILE leaves it out (default: " + std::string(Info.Keyword) + ")\n";
        else
            Usage += " (default: first *.csv holding " + std::string(Info.Keyword) + ")\n";
    }
    Usage += UsageOption("--output DIR") + "folder of the books (default: SOURCE_DIR/" + kOutputFolderName + ")\n";
    Usage += UsageOption("--today DATE") + "the date that stands for today (default: the current date)\n";
    for (const auto& [Option, Description] : YearEndOptionLines()) {
        Usage += UsageOption(Option);
        for (const char C : Description) {
            Usage += C;
            if (C == '\n')
                Usage += UsageOption("");
        }
        Usage += "\n";
    }
    Usage += UsageOption("--help") + "show this text\n"
             "\n"
             "FILE is a name relative to SOURCE_DIR. Exit status: 0 when the run is\n"
             "complete (a reconciliation that finds a mismatch included), 1 when it was\n"
             "stopped, 2 for a usage error.\n";
    return Usage;
}

} // namespace

TTvrDate ParseCliDate(const std::string& AOption, const std::string& AText)
{
    int Year = 0;
    int Month = 0;
    int Day = 0;
    TTvrDate Date;
    char Tail = 0;
    if (AText.size() != 10 || AText[4] != '-' || AText[7] != '-'
        || std::sscanf(AText.c_str(), "%4d-%2d-%2d%c", &Year, &Month, &Day, &Tail) != 3
        || !TTvrDate::TryEncode(Year, Month, Day, Date))
        throw ECliUsage(AOption + ": not a date of the form YYYY-MM-DD: " + AText);
    return Date;
}

const std::string& CliUsage()
{
    static const std::string Usage = MakeCliUsage();
    return Usage;
}

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
        if (SetYearEndFlag(Name, Value, Options))
            continue;
        std::optional<std::string>* Target = nullptr;
        for (const TCliTableOption& Table : kTableOptions)
            if (Name == Table.Option)
                Target = &(Options.*Table.Given);
        if (Name == "--output")
            Target = &Options.Output;
        else if (Target == nullptr && Name != "--today" && !IsYearEndValueOption(Name))
            throw ECliUsage("unknown option: " + Name);
        if (!Value) {
            if (I + 1 >= AArgs.size())
                throw ECliUsage(Name + ": a value is missing");
            Value = AArgs[++I];
        }
        if (Target != nullptr)
            *Target = *Value;
        else if (Name == "--today")
            Options.Today = ParseCliDate(Name, *Value);
        else
            SetYearEndValue(Name, *Value, Options);
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
    TTvrExecuteParams Params;
    Params.PathInput = AOptions.SourceDir;
    Params.PathOutput = AOptions.Output ? *AOptions.Output
                                        : (std::filesystem::path(AOptions.SourceDir) / kOutputFolderName).string();
    for (const TCliTableOption& Table : kTableOptions) {
        const TSrcTableInfo& Info = SrcTableInfo(Table.Kind);
        const std::optional<std::string>& Given = AOptions.*Table.Given;
        std::string& FileName = Params.*Table.FileName;
        FileName = Given ? *Given : FindByKeyword(Names, Info.Keyword);
        if (FileName.empty() && !Info.Optional)
            throw ECliUsage(std::string("no ") + Table.Description + " (" + std::string(Info.Caption)
                            + ") is named or found in " + AOptions.SourceDir);
    }
    Params.Today = AOptions.Today ? *AOptions.Today : ADefaultToday;
    ApplyYearEndOptions(AOptions, Params);
    return Params;
}

} // namespace tavrel
