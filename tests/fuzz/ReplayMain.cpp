// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// Replays a fuzz target's corpus: every file in the folders given on the
// command line goes through the target once. Built with the ordinary
// compiler, so that `make test` checks every past finding stays fixed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize);

int main(int argc, char** argv)
{
    int Count = 0;
    for (int I = 1; I < argc; ++I) {
        std::vector<std::filesystem::path> Files;
        for (const auto& Entry : std::filesystem::directory_iterator(argv[I]))
            if (Entry.is_regular_file())
                Files.push_back(Entry.path());
        std::sort(Files.begin(), Files.end());
        for (const auto& File : Files) {
            std::ifstream Stream(File, std::ios::binary);
            const std::string Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
            ++Count;
        }
    }
    std::printf("%d passed, 0 failed\n", Count);
    return Count > 0 ? 0 : 1;
}
