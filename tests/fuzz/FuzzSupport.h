// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "tables/TvrValue.h"

namespace tavrel::fuzz {

// A folder of this process's own for the files a target hands to the
// loaders, which read files by name.
inline const std::string& WorkFolder()
{
    static const std::string Folder = [] {
        std::string Template = "/tmp/tavrel-fuzz-XXXXXX";
        if (::mkdtemp(Template.data()) == nullptr)
            std::abort();
        return Template;
    }();
    return Folder;
}

inline std::string WriteWorkFile(const std::string& AName, const uint8_t* AData, size_t ASize)
{
    const std::string Path = WorkFolder() + "/" + AName;
    std::ofstream(Path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(AData),
                                                                   static_cast<std::streamsize>(ASize));
    return Path;
}

inline std::string WriteWorkFile(const std::string& AName, const std::string& AText)
{
    return WriteWorkFile(AName, reinterpret_cast<const uint8_t*>(AText.data()), AText.size());
}

inline TTvrDate FuzzToday()
{
    return TTvrDate::Encode(2026, 12, 10);
}

// A property of the code under test does not hold: a finding.
[[noreturn]] inline void Violated()
{
    std::abort();
}

} // namespace tavrel::fuzz
