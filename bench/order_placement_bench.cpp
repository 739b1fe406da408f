// Placement under the order rules on large records: a 650 of 1,600 $2 then
// 1,600 $a (9.6 KB), whose every $a the subfield rule moves before the $2s; a
// record of ten such fields (96 KB); and 32,765 FldAdd calls into one record,
// with the keys of a new record and under the bibliographic rules.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"

namespace {

std::string LongSubjectField() {
    std::string s = " 0";
    for (int i = 0; i < 1600; ++i) s += "\x1F" "2x";
    for (int i = 0; i < 1600; ++i) s += "\x1F" "ay";
    return s;
}

std::string RecordWithSubjects(int iFields) {
    std::vector<record_test::TaggedField> fields = {{"001", "1"}};
    for (int i = 0; i < iFields; ++i) fields.emplace_back("650", LongSubjectField());
    return record_test::Iso2709("00000cam a2200000 a 4500", fields);
}

void LoadLongFields(benchmark::State& state) {
    const std::string text = RecordWithSubjects(static_cast<int>(state.range(0)));
    Utf8MarcRecordClass record;
    record.SetDefaultFldOrderBib();
    for (auto _ : state) record.MarcRecordIn(text);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(LoadLongFields)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void AddManyFields(benchmark::State& state) {
    const bool bRules = state.range(0) != 0;
    for (auto _ : state) {
        Utf8MarcRecordClass record;
        int iFields = 0;
        if (bRules) {
            record.SetDefaultFldOrderBib();
            record.MarcRecordIn(record_test::Iso2709("00000cam a2200000 a 4500", {{"001", "1"}}));
            iFields = 1;
        }
        for (; iFields < 32765; ++iFields) record.FldAdd("500", "  ", "\x1F" "aNote", false);
        benchmark::DoNotOptimize(record.FldPointer());
    }
}
BENCHMARK(AddManyFields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
