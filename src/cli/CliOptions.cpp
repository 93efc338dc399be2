// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "cli/CliOptions.h"

#include <cstdio>
#include <filesystem>

#include "aggregation/TvrSourceFiles.h"
#include "cli/CliYearEndOptions.h"
#include "sources/SrcTables.h"
#include "tables/TvrCodePage.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

// The options that name a source table, in the order of the registry, with
// the fields of the options and of the run's parameters that they fill.
struct TCliTableOption {
    TSrcTableKind Kind;
    const char* Option;
    std::optional<std::string> TCliOptions::*Given;
    std::string TTvrExecuteParams::*FileName;
};

const TCliTableOption kTableOptions[] = {
    {TSrcTableKind::Kamoku, "--kamoku", &TCliOptions::Kamoku, &TTvrExecuteParams::KamokuMaster},
    {TSrcTableKind::Tantosha, "--tantosha", &TCliOptions::Tantosha, &TTvrExecuteParams::TantoshaMaster},
    {TSrcTableKind::Zandaka, "--zandaka", &TCliOptions::Zandaka, &TTvrExecuteParams::ZandakaTable},
    {TSrcTableKind::Kinsen, "--kinsen", &TCliOptions::Kinsen, &TTvrExecuteParams::KinsenTable},
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
    std::string Usage = "使い方: tavrel-sumup";
    for (const TCliTableOption& Table : kTableOptions)
        Usage += std::string(" [") + Table.Option + " FILE]";
    Usage += "\n"
             "                    [--output DIR] [--today YYYY-MM-DD]\n";
    Usage += YearEndSynopsis();
    Usage += "                    SOURCE_DIR\n"
             "\n"
             "SOURCE_DIR の4つの表を検査し、8つの帳簿を出力フォルダに書き出して、\n"
             "集計ログを表示します。指定があれば、決算書類と次年度のソースデータも\n"
             "作成します。\n"
             "\n";
    for (const TCliTableOption& Table : kTableOptions) {
        const TSrcTableInfo& Info = SrcTableInfo(Table.Kind);
        Usage += UsageOption(std::string(Table.Option) + " FILE") + std::string(Info.Caption);
        if (Info.Optional)
            Usage += "。空の FILE なら使わない\n" + UsageOption("") + "（既定: 名前に「" + std::string(Info.Keyword)
                     + "」を含む最初の *.csv、なければ使わない）\n";
        else
            Usage += "（既定: 名前に「" + std::string(Info.Keyword) + "」を含む最初の *.csv）\n";
    }
    Usage += UsageOption("--output DIR") + "帳簿を書くフォルダ（既定: SOURCE_DIR/" + kOutputFolderName + "）\n";
    Usage += UsageOption("--today DATE") + "今日とする日付（既定: 今日の日付）\n";
    for (const auto& [Option, Description] : YearEndOptionLines()) {
        Usage += UsageOption(Option);
        for (const char C : Description) {
            Usage += C;
            if (C == '\n')
                Usage += UsageOption("");
        }
        Usage += "\n";
    }
    Usage += UsageOption("--help") + "この説明を表示する\n";
    Usage += UsageOption("--version") + "プログラムの名前と版を表示する\n"
             "\n"
             "FILE は SOURCE_DIR の中の名前です。絶対パスはそのまま使います。帳簿の名前の\n"
             "ファイルは表に選ばれません。終了ステータス: 集計が完了したとき 0（残高照合で\n"
             "一致しない行があっても 0）、中止されたとき 1、指定の誤りのとき 2。\n";
    return Usage;
}

// A folder or file name as the user reads it in a message.
std::string Shown(const std::string& AName)
{
    return "\"" + FileNameText(AName) + "\"";
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
        throw ECliUsage(AOption + ": YYYY-MM-DD の形の日付ではありません: " + AText);
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
        if (Arg == "--version") {
            Options.Version = true;
            continue;
        }
        if (Arg == "--") {
            Positional.insert(Positional.end(), AArgs.begin() + static_cast<long>(I) + 1, AArgs.end());
            break;
        }
        // A lone "-" is a name; anything else with a leading hyphen is an
        // option (a folder named so comes after "--").
        if (Arg.size() < 2 || Arg[0] != '-') {
            Positional.push_back(Arg);
            continue;
        }
        std::string Name = Arg;
        std::optional<std::string> Value;
        const size_t Equal = Arg.find('=');
        if (Equal != std::string::npos && Arg.compare(0, 2, "--") == 0) {
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
            throw ECliUsage("不明なオプションです: " + Name);
        if (!Value) {
            if (I + 1 >= AArgs.size())
                throw ECliUsage(Name + ": 値がありません。");
            Value = AArgs[++I];
        }
        if (Name == "--output" && Value->empty())
            throw ECliUsage("--output: 出力フォルダが空です。");
        if (Target != nullptr)
            *Target = *Value;
        else if (Name == "--today")
            Options.Today = ParseCliDate(Name, *Value);
        else
            SetYearEndValue(Name, *Value, Options);
    }
    if (Options.Help || Options.Version)
        return Options;
    if (Positional.empty())
        throw ECliUsage("SOURCE_DIR が指定されていません。");
    if (Positional.size() > 1)
        throw ECliUsage("SOURCE_DIR は1つだけ指定できます: " + Positional[1]);
    Options.SourceDir = Positional[0];
    return Options;
}

TTvrExecuteParams MakeExecuteParams(const TCliOptions& AOptions, TTvrDate ADefaultToday)
{
    const std::string& Folder = AOptions.SourceDir;
    std::error_code Error;
    const std::filesystem::file_status Status = std::filesystem::status(Folder, Error);
    if (Error)
        throw ECliUsage("SOURCE_DIR " + Shown(Folder) + " を開けません。" + Error.message());
    if (!std::filesystem::is_directory(Status))
        throw ECliUsage("SOURCE_DIR " + Shown(Folder) + " はフォルダではありません。");
    // The folder is listed only when a table is left to the choice: a
    // folder that may be entered but not listed still serves named files.
    std::vector<std::string> Names;
    for (const TCliTableOption& Table : kTableOptions) {
        if (AOptions.*Table.Given)
            continue;
        Names = ListCsvFiles(Folder, &Error);
        if (Error)
            throw ECliUsage("SOURCE_DIR " + Shown(Folder) + " を開けません。" + Error.message());
        break;
    }
    TTvrExecuteParams Params;
    Params.PathInput = Folder;
    Params.PathOutput = AOptions.Output ? *AOptions.Output
                                        : (std::filesystem::path(Folder) / kOutputFolderName).string();
    for (const TCliTableOption& Table : kTableOptions) {
        const TSrcTableInfo& Info = SrcTableInfo(Table.Kind);
        const std::optional<std::string>& Given = AOptions.*Table.Given;
        std::string& FileName = Params.*Table.FileName;
        FileName = Given ? *Given : FindByKeyword(Names, Info.Keyword);
        if (FileName.empty() && !Info.Optional)
            throw ECliUsage(std::string(Info.Caption) + "が指定されていないか、" + Shown(Folder)
                            + " に見つかりません（" + Table.Option + "）。");
    }
    Params.Today = AOptions.Today ? *AOptions.Today : ADefaultToday;
    // The command line shows no sheet: the run reads no file a second time.
    Params.KeepSheets = false;
    ApplyYearEndOptions(AOptions, Params);
    return Params;
}

std::vector<std::string> ChosenFileLines(const TTvrExecuteParams& AParams)
{
    std::vector<std::string> Lines;
    for (const TCliTableOption& Table : kTableOptions) {
        const std::string& FileName = AParams.*Table.FileName;
        Lines.push_back(std::string(SrcTableInfo(Table.Kind).Caption) + ": "
                        + (FileName.empty() ? std::string("(使用しない)") : FileNameText(FileName)));
    }
    return Lines;
}

} // namespace tavrel
