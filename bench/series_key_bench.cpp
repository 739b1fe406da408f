// The sortable key (mode 4) of a series numbering as long as a $v may be:
// 9,999 octets of "N.F. 1 ", whose new-series letters every single-letter
// pass weighs, in a UTF-8 and in a MARC-8 record.
#include <benchmark/benchmark.h>

#include <string>

#include "marc/record/marc_record.h"

namespace {

std::string LongNumbering() {
    const std::string sUnit = "N.F. 1 ";
    std::string v;
    while (v.size() + sUnit.size() <= 9999) v += sUnit;
    v.append(9999 - v.size(), 'x');
    return v;
}

void SeriesKeyIn(benchmark::State& state, const char* set) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut(set);
    const std::string v = LongNumbering();
    for (auto _ : state) benchmark::DoNotOptimize(record.NormalizeSeriesNumberForSorting(4, "", "", v));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(v.size()));
}

BENCHMARK_CAPTURE(SeriesKeyIn, Utf8, "U")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SeriesKeyIn, Marc8, "M")->Unit(benchmark::kMillisecond);

}  // namespace
