// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the fuzz target each seed file of the folders given, as libFuzzer does with
// -runs=0, for builds without libFuzzer. The target aborts on a wrong analysis.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int seeds = 0;
    for (int arg = 1; arg < argc; ++arg) {
        for (const auto& seed : std::filesystem::directory_iterator(argv[arg])) {
            std::ifstream file(seed.path(), std::ios::binary);
            const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++seeds;
        }
    }
    std::cout << "ran " << seeds << " seeds\n";
    return seeds > 0 ? 0 : 1;
}
