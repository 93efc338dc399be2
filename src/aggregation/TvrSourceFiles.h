#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sources/SrcTables.h"

namespace tavrel {

// The keywords by which a source file is recognised in its folder, as the
// main window still spells them; the registry (SrcTableInfo) holds them.
// TODO(merge): remove once the windows use the registry
inline const char* const kKamokuKeyword = SrcTableInfo(TSrcTableKind::Kamoku).Keyword.data();
inline const char* const kTantoshaKeyword = SrcTableInfo(TSrcTableKind::Tantosha).Keyword.data();
inline const char* const kZandakaKeyword = SrcTableInfo(TSrcTableKind::Zandaka).Keyword.data();
inline const char* const kKinsenKeyword = SrcTableInfo(TSrcTableKind::Kinsen).Keyword.data();

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
