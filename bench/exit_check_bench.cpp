// Checks per second: the whole road from a scanned barcode to its verdict
// (the reader's item look-up and the circulation query through unixODBC and
// the SQLite driver), without the window. Run by scripts/bench.sh on a library
// of one million items made by tools/demo/make_demo.py; the folder of that
// library is given in $EXITDESK_BENCH_LIBRARY.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/fake_trestle_view.h"
#include "app/frm_trestle_main.h"

namespace {

std::vector<std::string> SampleBarcodes(const std::string& folder) {
    std::vector<std::string> barcodes;
    std::ifstream in(folder + "/sample-barcodes.txt");
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) barcodes.push_back(line);
    return barcodes;
}

void BM_CheckBarcode(benchmark::State& state) {
    const char* folder = std::getenv("EXITDESK_BENCH_LIBRARY");
    if (!folder) {
        state.SkipWithError("EXITDESK_BENCH_LIBRARY is not set (run scripts/bench.sh)");
        return;
    }
    std::string library = folder;
    setenv("ODBCSYSINI", library.c_str(), 1);
    setenv("ODBCINI", (library + "/odbc.ini").c_str(), 1);
    setenv("EXITDESK_SETTINGS_DIR", (library + "/settings").c_str(), 1);
    std::vector<std::string> barcodes = SampleBarcodes(library);
    if (barcodes.empty()) {
        state.SkipWithError("no sample-barcodes.txt in the library folder");
        return;
    }

    FakeTrestleView view;
    frmTrestleMain form(view, "");
    view.Form = &form;
    form.MyCode.PlaySound = [](const std::string&) {};
    form.Form_Load();
    if (form.Ended()) {
        state.SkipWithError("start-up failed");
        return;
    }
    form.MyCode.CheckBarcode(barcodes.front());  // connects and probes once

    std::mt19937 random(12345);
    std::vector<double> micros;
    size_t green = 0;
    for (auto _ : state) {
        const std::string& barcode = barcodes[random() % barcodes.size()];
        auto start = std::chrono::steady_clock::now();
        form.MyCode.CheckBarcode(barcode);
        auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        if (view.frame2Color == TrestleColor::Green) ++green;
        view.log.clear();
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * static_cast<double>(micros.size() - 1))]; };
    state.counters["median_us"] = at(0.5);
    state.counters["p90_us"] = at(0.9);
    state.counters["p99_us"] = at(0.99);
    state.counters["green_share"] = static_cast<double>(green) / static_cast<double>(micros.size());
    state.SetItemsProcessed(static_cast<int64_t>(micros.size()));
}
BENCHMARK(BM_CheckBarcode)->Unit(benchmark::kMicrosecond)->MinTime(3.0);

}  // namespace
