// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/TvrSourceFiles.h"

#include <algorithm>
#include <filesystem>

#include "tables/TvrCsv.h"

namespace tavrel {

std::vector<std::string> ListCsvFiles(const std::string& AFolder)
{
    std::vector<std::string> Names;
    std::error_code Error;
    for (std::filesystem::directory_iterator It(AFolder, Error), End; !Error && It != End; It.increment(Error)) {
        std::error_code StatError;
        if (!It->is_regular_file(StatError))
            continue;
        const std::string Name = It->path().filename().string();
        if (Name.size() < 4)
            continue;
        std::string Ending = Name.substr(Name.size() - 4);
        std::transform(Ending.begin(), Ending.end(), Ending.begin(),
                       [](char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; });
        if (Ending == ".csv")
            Names.push_back(Name);
    }
    std::sort(Names.begin(), Names.end());
    return Names;
}

std::string FindByKeyword(const std::vector<std::string>& ANames, std::string_view AKeyword)
{
    for (const std::string& Name : ANames)
        if (Name.find(AKeyword) != std::string::npos)
            return Name;
    return {};
}

std::vector<std::string> LogLines(std::string_view AMessage)
{
    std::vector<std::string> Lines;
    for (const std::string_view Line : SplitTextLines(AMessage))
        Lines.emplace_back(Line);
    if (Lines.empty())
        Lines.emplace_back();
    return Lines;
}

} // namespace tavrel
