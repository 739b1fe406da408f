// NormString over a typical heading with diacritics, as the record load runs
// it for every subfield (twice: the normal and the NACO form).
#include <benchmark/benchmark.h>

#include <string>

#include "marc/record/marc_record.h"

namespace {

// "Dvořák, Antonín, 1841-1904. Symfonie, č. 9, op. 95, e moll": decomposed
// UTF-8 (66 octets), and MARC-8 with each mark before its letter (60 octets).
const std::string kUtf8Heading =
    "Dvor\xCC\x8C" "a\xCC\x81" "k, Antoni\xCC\x81" "n, 1841-1904. Symfonie, c\xCC\x8C" ". 9, op. 95, e moll";
const std::string kMarc8Heading =
    "Dvo\xE9r\xE2" "ak, Anton\xE2" "in, 1841-1904. Symfonie, \xE9" "c. 9, op. 95, e moll";

void NormStringIn(benchmark::State& state, const char* set, const std::string& heading) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut(set);
    for (auto _ : state) benchmark::DoNotOptimize(record.NormString(heading, true, "V"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(heading.size()));
}

void NormStringNacoIn(benchmark::State& state, const char* set, const std::string& heading) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut(set);
    for (auto _ : state)
        benchmark::DoNotOptimize(record.NormStringNaco(heading, true, "P", "B", "100", "a"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(heading.size()));
}

BENCHMARK_CAPTURE(NormStringIn, Utf8, "U", kUtf8Heading);
BENCHMARK_CAPTURE(NormStringIn, Marc8, "M", kMarc8Heading);
BENCHMARK_CAPTURE(NormStringNacoIn, Utf8, "U", kUtf8Heading);

}  // namespace
