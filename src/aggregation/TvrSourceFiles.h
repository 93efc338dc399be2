// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>
#include <vector>


namespace tavrel {

// The names of the regular files of a folder whose names end in ".csv" in
// any letter case (files from other systems often end in .CSV), in byte
// order of their UTF-8 names. An unreadable folder gives no names.
std::vector<std::string> ListCsvFiles(const std::string& AFolder);

// The first name that contains the keyword, or the empty text.
std::string FindByKeyword(const std::vector<std::string>& ANames, std::string_view AKeyword);

// The lines of one log message: split at CR LF, CR and LF; an empty
// message is one empty line.
std::vector<std::string> LogLines(std::string_view AMessage);

} // namespace tavrel
