// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// AnalyzeName against the floor: a plain copy of as many bytes as it outputs.
#include "letter_table.h"
#include "name_analysis.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <string>

namespace {

const velinora::LetterTable& Table() {
    static const velinora::LetterTable table = velinora::BuildLetterTable();
    return table;
}

// A realistic mix: mostly letters, some upper case, spaces and hyphens.
std::u16string MakeName(std::size_t length) {
    constexpr std::u16string_view pattern = u"Мария-Антоанета Иванова ";
    std::u16string name;
    name.reserve(length);
    while (name.size() < length)
        name += pattern.substr(0, length - name.size());
    return name;
}

void BM_AnalyzeName(benchmark::State& state) {
    const std::u16string name = MakeName(static_cast<std::size_t>(state.range(0)));
    std::size_t outputUnits = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark loop idiom
        std::u16string result = velinora::AnalyzeName(name, Table());
        outputUnits = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * outputUnits * sizeof(char16_t)));
    state.counters["out_units"] = static_cast<double>(outputUnits);
}

// The floor: allocate and fill a buffer the size of the result.
void BM_CopyFloor(benchmark::State& state) {
    const std::u16string name = MakeName(static_cast<std::size_t>(state.range(0)));
    const std::size_t bytes = velinora::AnalyzeName(name, Table()).size() * sizeof(char16_t);
    const auto source = std::make_unique<char[]>(bytes + 1); // NOLINT(modernize-avoid-c-arrays)
    std::memset(source.get(), 'x', bytes);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): benchmark loop idiom
        // A raw buffer, as the floor must not pay for initialising it.
        const auto copy =
            std::make_unique_for_overwrite<char[]>(bytes + 1); // NOLINT(modernize-avoid-c-arrays)
        std::memcpy(copy.get(), source.get(), bytes);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

} // namespace

BENCHMARK(BM_AnalyzeName)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_CopyFloor)->Arg(10)->Arg(1000)->Arg(100000);
