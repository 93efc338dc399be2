// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "aggregation/TvrSourceFiles.h"

#include <algorithm>
#include <filesystem>

#include "aggregation/SumBooks.h"
#include "tables/TvrCodePage.h"
#include "tables/TvrCsv.h"

namespace tavrel {

namespace {

bool EndsWithCsv(std::string_view AName)
{
    if (AName.size() < 4)
        return false;
    std::string Ending(AName.substr(AName.size() - 4));
    std::transform(Ending.begin(), Ending.end(), Ending.begin(),
                   [](char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; });
    return Ending == ".csv";
}

} // namespace

std::vector<std::string> ListCsvFiles(const std::string& AFolder, std::error_code* AError)
{
    std::vector<std::pair<std::string, std::string>> Files;
    std::error_code Error;
    for (std::filesystem::directory_iterator It(AFolder, Error), End; !Error && It != End; It.increment(Error)) {
        std::error_code StatError;
        if (!It->is_regular_file(StatError))
            continue;
        std::string Name = It->path().filename().string();
        if (EndsWithCsv(Name))
            Files.emplace_back(FileNameText(Name), std::move(Name));
    }
    if (AError != nullptr)
        *AError = Error;
    if (Error)
        Files.clear();
    std::sort(Files.begin(), Files.end());
    std::vector<std::string> Names;
    Names.reserve(Files.size());
    for (auto& File : Files)
        Names.push_back(std::move(File.second));
    return Names;
}

bool IsOutputFileName(std::string_view AName)
{
    if (!EndsWithCsv(AName))
        return false;
    const std::string_view Stem = AName.substr(0, AName.size() - 4);
    const auto SameStem = [&](std::string_view AOutput) { return AOutput.substr(0, AOutput.size() - 4) == Stem; };
    for (const TSumBook& Book : SumBooks())
        if (SameStem(Book.Schema.FileName()))
            return true;
    return SameStem(kStatementDocumentName) || SameStem(kReconciliationDocumentName);
}

std::string FindByKeyword(const std::vector<std::string>& ANames, std::string_view AKeyword)
{
    for (const std::string& Name : ANames) {
        const std::string Text = FileNameText(Name);
        if (Text.find(AKeyword) != std::string::npos && !IsOutputFileName(Text))
            return Name;
    }
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
