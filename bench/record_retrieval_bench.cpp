// The reader's record look-ups through unixODBC and the SQLite driver: a
// bibliographic, authority and holdings record with all their details, the
// holdings of a bibliographic record with their rows, and an operator's
// permissions. Run by scripts/bench.sh on a library of 100,000 bibliographic
// records made by tools/demo/make_demo.py; its folder is given in
// $EXITDESK_BENCH_RECORDS.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_library.h"
#include "db/library_reader.h"

namespace {

// The generator's numbering of stored records.
constexpr int64_t kFirstBib = 10000001;
constexpr int64_t kFirstAuth = 1;
constexpr int64_t kFirstHold = 20000001;

std::unique_ptr<VgerReaderClass7> Reader(benchmark::State& state) {
    return bench_library::Reader(state, "scripts/bench.sh", DriverManagerApi());
}

// Runs one look-up per iteration with a random number of the range and
// reports the median, p90 and p99 in microseconds.
void Measure(benchmark::State& state, int64_t first, int64_t count,
             const std::function<void(VgerReaderClass7&, const std::string&)>& lookUp) {
    auto reader = Reader(state);
    if (!reader) return;
    lookUp(*reader, std::to_string(first));  // connects and probes once
    std::mt19937 random(12345);
    std::vector<double> micros;
    for (auto _ : state) {
        const std::string number = std::to_string(first + static_cast<int64_t>(random() % count));
        const auto start = std::chrono::steady_clock::now();
        lookUp(*reader, number);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    bench_library::ReportPercentiles(state, micros);
}

void BM_RetrieveBibRecord(benchmark::State& state) {
    Measure(state, kFirstBib, 100000, [](VgerReaderClass7& r, const std::string& n) {
        r.RetrieveBibRecord(n);
        benchmark::DoNotOptimize(r.BibOwningLibraryName());
    });
}
BENCHMARK(BM_RetrieveBibRecord)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_RetrieveAuthRecord(benchmark::State& state) {
    Measure(state, kFirstAuth, 10000, [](VgerReaderClass7& r, const std::string& n) { r.RetrieveAuthRecord(n); });
}
BENCHMARK(BM_RetrieveAuthRecord)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// A holdings record of the generator without a location raises; it still counts.
void BM_RetrieveHoldRecord(benchmark::State& state) {
    Measure(state, kFirstHold, 120000, [](VgerReaderClass7& r, const std::string& n) {
        try {
            r.RetrieveHoldRecord(n);
        } catch (...) {
        }
    });
}
BENCHMARK(BM_RetrieveHoldRecord)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_SearchHoldNumbersForBib(benchmark::State& state) {
    int16_t set = 0;  // a new set on the first call, reused after
    Measure(state, kFirstBib, 100000, [&set](VgerReaderClass7& r, const std::string& n) {
        r.SearchHoldNumbersForBib(n, set);
        while (r.GetNextRow(set)) benchmark::DoNotOptimize(r.CurrentRow(set, 1));
    });
}
BENCHMARK(BM_SearchHoldNumbersForBib)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_RetrieveOperatorPermissions(benchmark::State& state) {
    Measure(state, 0, 1, [](VgerReaderClass7& r, const std::string&) {
        std::string id = "cat01";
        r.RetrieveOperatorPermissions(id);
    });
}
BENCHMARK(BM_RetrieveOperatorPermissions)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
