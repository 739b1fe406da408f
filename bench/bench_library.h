// The benchmark library made by tools/demo/make_demo.py: a reader connected
// to it through unixODBC and the SQLite driver, its folder given in
// $EXITDESK_BENCH_RECORDS.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "db/library_reader.h"

namespace bench_library {

// A reader set up for the library; null, with the benchmark skipped, when the
// folder is not given (sScript names the script that gives it).
inline std::unique_ptr<VgerReaderClass7> Reader(benchmark::State& state, const std::string& sScript,
                                                const OdbcApi& api = DriverManagerApi()) {
    const char* folder = std::getenv("EXITDESK_BENCH_RECORDS");
    if (!folder) {
        state.SkipWithError(("EXITDESK_BENCH_RECORDS is not set (run " + sScript + ")").c_str());
        return nullptr;
    }
    const std::string library = folder;
    setenv("ODBCSYSINI", library.c_str(), 1);
    setenv("ODBCINI", (library + "/odbc.ini").c_str(), 1);
    setenv("EXITDESK_SETTINGS_DIR", (library + "/settings").c_str(), 1);
    auto reader = std::make_unique<VgerReaderClass7>(api);
    reader->DSN("EXITDESK_DEMO");
    reader->uID("circread");
    reader->PWD("exitdesk");
    reader->TableNamePrefix("main");
    return reader;
}

// Sorts the times of the iterations and reports their median, p90 and p99 in
// microseconds, and the iterations as items processed.
inline void ReportPercentiles(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * static_cast<double>(micros.size() - 1))]; };
    state.counters["median_us"] = at(0.5);
    state.counters["p90_us"] = at(0.9);
    state.counters["p99_us"] = at(0.99);
    state.SetItemsProcessed(static_cast<int64_t>(micros.size()));
}

}  // namespace bench_library
