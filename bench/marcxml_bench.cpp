// XMLRecordOut(0) alone on loaded records: the UTF-8 records of
// testdata/iso2709/utf8_records.mrc (scripts, diacritics, 880 fields), each
// loaded once into its own record object before the timing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/marc_record.h"

namespace {

void MarcxmlOut(benchmark::State& state) {
    const std::string file = testsupport::ReadFile(std::string(EXITDESK_SOURCE_DIR) + "/testdata/iso2709/utf8_records.mrc");
    std::vector<std::unique_ptr<Utf8MarcRecordClass>> records;
    for (size_t at = 0; at < file.size();) {
        size_t end = file.find('\x1D', at);
        end = end == std::string::npos ? file.size() : end + 1;
        auto record = std::make_unique<Utf8MarcRecordClass>();
        record->MarcRecordIn(file.substr(at, end - at));
        if (!record->MarcRecordIn().empty()) records.push_back(std::move(record));
        at = end;
    }
    if (records.empty()) {
        state.SkipWithError("no record loaded");
        return;
    }
    size_t octets = 0, next = 0;
    for (auto _ : state) {
        const std::string sDocument = records[next]->XMLRecordOut(0);
        next = (next + 1) % records.size();
        octets += sDocument.size();
        benchmark::DoNotOptimize(sDocument.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(octets));
    state.counters["records"] = static_cast<double>(records.size());
}
BENCHMARK(MarcxmlOut);

}  // namespace
