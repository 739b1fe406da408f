// Splitting a field's text into subfields with the normal and NACO forms of
// every subfield, as the record load does for every field: a name-title
// heading rewritten in place, in a UTF-8 and in a MARC-8 record.
#include <benchmark/benchmark.h>

#include <string>

#include "marc/record/marc_record.h"

namespace {

// "$aDvořák, Antonín,$d1841-1904.$tSymfonie,$nč. 9,$rE moll" (decomposed
// UTF-8, and MARC-8 with each mark before its letter): five subfields.
const std::string kUtf8Field =
    "\x1F" "aDvor\xCC\x8C" "a\xCC\x81" "k, Antoni\xCC\x81" "n,\x1F" "d1841-1904.\x1F" "tSymfonie,\x1F"
    "nc\xCC\x8C" ". 9,\x1F" "rE moll";
const std::string kMarc8Field =
    "\x1F" "aDvo\xE9r\xE2" "ak, Anton\xE2" "in,\x1F" "d1841-1904.\x1F" "tSymfonie,\x1F" "n\xE9" "c. 9,\x1F"
    "rE moll";
constexpr int64_t kSubfields = 5;

void SplitField(benchmark::State& state, const char* set, const std::string& field) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut(set);
    record.FldAdd("100", "1 ", field, false);
    for (auto _ : state) record.FldText(field);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSubfields);
}

BENCHMARK_CAPTURE(SplitField, Utf8, "U", kUtf8Field);
BENCHMARK_CAPTURE(SplitField, Marc8, "M", kMarc8Field);

}  // namespace
