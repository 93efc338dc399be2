// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tavrel {

// The names of the regular files of a folder whose names end in ".csv" in
// any letter case (files from other systems often end in .CSV), as their
// bytes, in the order of their texts as the user reads them (FileNameText),
// then of their bytes. An unreadable folder gives no names; with AError, the
// reason is kept there (cleared when the folder was read).
std::vector<std::string> ListCsvFiles(const std::string& AFolder, std::error_code* AError = nullptr);

// True when the name is one the program writes into an output folder: one
// of the eight books or of the year-end documents, with ".csv" in any letter
// case. Such a file is never taken for a source table by its keyword.
bool IsOutputFileName(std::string_view AName);

// The first name whose text (FileNameText) contains the keyword and that is
// not an output file's name, or the empty text. The name is returned as its
// bytes.
std::string FindByKeyword(const std::vector<std::string>& ANames, std::string_view AKeyword);

// The lines of one log message: split at CR LF, CR and LF; an empty
// message is one empty line.
std::vector<std::string> LogLines(std::string_view AMessage);

} // namespace tavrel
