// The reader's searches through unixODBC and the SQLite driver: headings and
// subdivisions, call numbers, standard numbers, barcodes and links. Run by
// scripts/bench_searches.sh on the library of 100,000 bibliographic records
// made by tools/demo/make_demo.py (with its index rows); its folder is given
// in $EXITDESK_BENCH_RECORDS.
//
// Each benchmark takes its terms from the library's own rows, runs one search
// per iteration and fetches the first 20 rows; it reports the median, p90 and
// the rows each term matches (mean and largest, counted once before timing).
// BM_IndexPlans checks that every statement the searches send searches an
// index (no SCAN in its query plan), but for the truncated search in CHR form
// (a LIKE against an expression) and the load of the call-number types.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/utli_misc_non_utf8.h"
#include "bench/bench_library.h"
#include "db/library_reader.h"

namespace {

// Every statement the reader sends, when statements are being recorded.
bool recording = false;
std::vector<std::string>& Sent() {
    static std::vector<std::string> sent;
    return sent;
}

const OdbcApi& RecordingApi() {
    static const OdbcApi api = [] {
        OdbcApi a = DriverManagerApi();
        a.ExecDirect = [](SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length) {
            if (recording)
                Sent().emplace_back(reinterpret_cast<const char*>(text),
                                    length == SQL_NTS ? std::strlen(reinterpret_cast<const char*>(text))
                                                      : static_cast<size_t>(length));
            return DriverManagerApi().ExecDirect(statement, text, length);
        };
        return a;
    }();
    return api;
}

std::unique_ptr<VgerReaderClass7> Reader(benchmark::State& state) {
    return bench_library::Reader(state, "scripts/bench_searches.sh", RecordingApi());
}

// The rows of a query, each column read as hexadecimal octets where the query says RAWTOHEX.
std::vector<std::vector<std::string>> Query(VgerReaderClass7& reader, const std::string& sql, int16_t columns,
                                            bool hex = false) {
    int16_t set = 0;
    reader.ExecuteSQL(sql, set);
    std::vector<std::vector<std::string>> rows;
    while (reader.GetNextRow(set)) {
        std::vector<std::string> row;
        for (int16_t c = 1; c <= columns; ++c) {
            const std::string value = reader.CurrentRow(set, c);
            row.push_back(hex ? UtliMiscNonUtf8::HexToText(value) : value);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

using Search = std::function<void(VgerReaderClass7&, const std::vector<std::string>&, int16_t&)>;
using Terms = std::function<std::vector<std::vector<std::string>>(VgerReaderClass7&)>;

// One search per iteration over the terms in turn, the first 20 rows fetched.
void Measure(benchmark::State& state, const Terms& terms, const Search& search) {
    auto reader = Reader(state);
    if (!reader) return;
    const std::vector<std::vector<std::string>> all = terms(*reader);
    if (all.empty()) {
        state.SkipWithError("no terms in the library (made without index rows?)");
        return;
    }
    // Rows per term, counted once, untimed.
    double total = 0;
    size_t largest = 0;
    for (const auto& term : all) {
        int16_t set = 0;
        search(*reader, term, set);
        size_t rows = 0;
        while (reader->GetNextRow(set)) ++rows;
        total += static_cast<double>(rows);
        largest = std::max(largest, rows);
    }
    std::vector<double> micros;
    size_t next = 0;
    int16_t set = 0;  // a new set on the first call, reused after
    for (auto _ : state) {
        const auto& term = all[next++ % all.size()];
        const auto start = std::chrono::steady_clock::now();
        search(*reader, term, set);
        for (int row = 0; row < 20 && reader->GetNextRow(set); ++row) benchmark::DoNotOptimize(reader->CurrentRow(set, 1));
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    bench_library::ReportPercentiles(state, micros);
    state.counters["rows_mean"] = total / static_cast<double>(all.size());
    state.counters["rows_max"] = static_cast<double>(largest);
    state.counters["terms"] = static_cast<double>(all.size());
}

bool NonLatin(const std::string& s) { return !s.empty() && static_cast<unsigned char>(s[0]) >= 0xC0; }

// ---- terms from the library's rows ----

std::vector<std::vector<std::string>> BibHeadings(VgerReaderClass7& r) {
    return Query(r, "SELECT RAWTOHEX(DISPLAY_HEADING) FROM main.BIB_INDEX WHERE INDEX_CODE = '700H' GROUP BY "
                    "NORMAL_HEADING ORDER BY COUNT(*) LIMIT 40", 1, true);
}

// Heading normal forms (a normal form is its own normal form), Latin or not.
std::vector<std::vector<std::string>> Headings(VgerReaderClass7& r, bool nonLatin) {
    std::vector<std::vector<std::string>> picked;
    for (auto& row : Query(r, "SELECT RAWTOHEX(NORMAL_HEADING) FROM main.HEADING", 1, true))
        if (NonLatin(row[0]) == nonLatin && picked.size() < 40) picked.push_back(row);
    return picked;
}

std::vector<std::vector<std::string>> Prefixes(std::vector<std::vector<std::string>> rows, size_t keep) {
    for (auto& row : rows) {
        // Cut at a character boundary.
        size_t cut = std::min(keep, row[0].size());
        while (cut > 0 && cut < row[0].size() && (static_cast<unsigned char>(row[0][cut]) & 0xC0) == 0x80) --cut;
        row[0] = row[0].substr(0, cut);
    }
    return rows;
}

std::vector<std::vector<std::string>> HeadingIds(VgerReaderClass7& r, const std::string& where) {
    return Query(r, "SELECT HEADING_ID FROM main.HEADING " + where + " LIMIT 40", 1);
}

std::vector<std::vector<std::string>> Subdivisions(VgerReaderClass7& r) {
    return Query(r, "SELECT HEADING_TYPE, RAWTOHEX(NORMAL_SUBDIV), SUBDIV_ID FROM main.SUBDIVISION LIMIT 40", 3, false);
}

std::vector<std::vector<std::string>> CallNumbers(VgerReaderClass7& r) {
    return Query(r, "SELECT CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO) FROM main.MFHD_MASTER WHERE MFHD_ID IN (SELECT "
                    "MFHD_ID FROM main.MFHD_MASTER ORDER BY MFHD_ID LIMIT 100 OFFSET 5000)",
                 2, false);
}

std::string Hex(const std::string& s) { return UtliMiscNonUtf8::HexToText(s); }

// ---- the benchmarks ----

void BM_SearchBibHeading(benchmark::State& state) {
    Measure(state, BibHeadings, [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        r.SearchBibHeading("700", "1 ", t[0], set, false);
    });
}
BENCHMARK(BM_SearchBibHeading)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchBibHeadingTruncated(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Prefixes(BibHeadings(r), 24); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchBibHeading("personal", "1 ", t[0], set, true);
            });
}
BENCHMARK(BM_SearchBibHeadingTruncated)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeading(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Headings(r, false); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeading(t[0], set, false, true, "", "");
            });
}
BENCHMARK(BM_SearchHeading)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeadingTruncated(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Prefixes(Headings(r, false), 12); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeading(t[0], set, true, true, "", "");
            });
}
BENCHMARK(BM_SearchHeadingTruncated)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeadingChrForm(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Headings(r, true); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeading(t[0], set, false, true, "", "");
            });
}
BENCHMARK(BM_SearchHeadingChrForm)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// A LIKE against an expression: no index; every heading is read.
void BM_SearchHeadingChrFormTruncated(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Prefixes(Headings(r, true), 8); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeading(t[0], set, true, true, "", "");
            });
}
BENCHMARK(BM_SearchHeadingChrFormTruncated)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeadingBlock(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Prefixes(Headings(r, false), 12); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeadingBlock(t[0], set, true, true, "", "", 20);
            });
}
BENCHMARK(BM_SearchHeadingBlock)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeadingIDAuth(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return HeadingIds(r, "WHERE STAFFREFS > 0"); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeadingIDAuth(t[0], set);
            });
}
BENCHMARK(BM_SearchHeadingIDAuth)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchHeadingIDBib(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return HeadingIds(r, "WHERE STAFFBIBS > 0 ORDER BY STAFFBIBS"); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchHeadingIDBib(t[0], set);
            });
}
BENCHMARK(BM_SearchHeadingIDBib)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchSubdiv(benchmark::State& state) {
    Measure(state, Subdivisions, [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        r.SearchSubdiv(t[0], Hex(t[1]), set, false, true, "");
    });
}
BENCHMARK(BM_SearchSubdiv)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchSubdivIDAuth(benchmark::State& state) {
    Measure(state, Subdivisions, [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        r.SearchSubdivIDAuth(t[2], set);
    });
}
BENCHMARK(BM_SearchSubdivIDAuth)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchSubdivIDBib(benchmark::State& state) {
    Measure(state, Subdivisions, [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        r.SearchSubdivIDBib(t[2], set);
    });
}
BENCHMARK(BM_SearchSubdivIDBib)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchSubdivIDHeading(benchmark::State& state) {
    Measure(state, Subdivisions, [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        r.SearchSubdivIDHeading(t[2], set, std::nullopt);
    });
}
BENCHMARK(BM_SearchSubdivIDHeading)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Call numbers: native or normal, in holdings or in the bibliographic index, exact or truncated.
void BM_SearchCallNumber(benchmark::State& state) {
    const bool native = state.range(0) != 0;
    const bool bibIndex = state.range(1) != 0;
    const bool truncated = state.range(2) != 0;
    Measure(state, CallNumbers, [=](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
        std::string number = Hex(t[1]);
        if (truncated) number = number.substr(0, std::max<size_t>(1, number.size() * 2 / 3));
        r.SearchCallNumber(t[0], number, set, truncated, native, true, bibIndex);
    });
}
BENCHMARK(BM_SearchCallNumber)
    ->ArgNames({"native", "bibindex", "truncated"})
    ->ArgsProduct({{1, 0}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0);

void BM_SearchBibStandardNumber(benchmark::State& state) {
    Measure(state,
            [](VgerReaderClass7& r) {
                return Query(r, "SELECT DISPLAY_HEADING FROM main.BIB_INDEX WHERE INDEX_CODE = '020A' LIMIT 40", 1);
            },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchBibStandardNumber("020", "*", t[0], set, false, false);
            });
}
BENCHMARK(BM_SearchBibStandardNumber)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchAuthStandardNumber(benchmark::State& state) {
    Measure(state,
            [](VgerReaderClass7& r) {
                return Query(r, "SELECT DISPLAY_HEADING FROM main.AUTH_INDEX WHERE INDEX_CODE = 'A10A' LIMIT 40", 1);
            },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchAuthStandardNumber("010", "a", t[0], set, false, false);
            });
}
BENCHMARK(BM_SearchAuthStandardNumber)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchItemBarcode(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Query(r, "SELECT ITEM_BARCODE FROM main.ITEM_BARCODE LIMIT 200", 1); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchItemBarcode(t[0], set);
            });
}
BENCHMARK(BM_SearchItemBarcode)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchBarcodesForItem(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Query(r, "SELECT ITEM_ID FROM main.ITEM_BARCODE LIMIT 200", 1); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchBarcodesForItem(t[0], set);
            });
}
BENCHMARK(BM_SearchBarcodesForItem)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_SearchUrl(benchmark::State& state) {
    Measure(state, [](VgerReaderClass7& r) { return Query(r, "SELECT LINK FROM main.ELINK_INDEX LIMIT 40", 1); },
            [](VgerReaderClass7& r, const std::vector<std::string>& t, int16_t& set) {
                r.SearchUrl(t[0], set, false);
            });
}
BENCHMARK(BM_SearchUrl)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Each search form once, its statements recorded, then each statement's plan:
// SEARCH, never SCAN, but for the truncated CHR form and the call-number types.
void BM_IndexPlans(benchmark::State& state) {
    auto reader = Reader(state);
    if (!reader) return;
    VgerReaderClass7& r = *reader;
    int16_t set = 0;
    r.SearchHeadingIDBib("1", set);  // connects and probes
    const auto nonLatin = Headings(r, true);
    const std::string greek = nonLatin.empty() ? std::string("\xCE\x98") : nonLatin[0][0];
    r.CallNumberType("0");  // loads the call-number types
    Sent().clear();
    recording = true;
    r.SearchBibHeading("700", "1 ", "Smith", set, false);
    r.SearchBibHeading("245", "10", "Smith", set, true);
    r.SearchHeading("Smith", set, false, false, "AB", "p");
    r.SearchHeading("Smith ", set, true, true, "", "");
    r.SearchHeading(greek, set, false, true, "", "");
    r.SearchHeading(greek, set, true, true, "", "");
    r.SearchHeadingBlock("Smith", set, true, true, "A", "", 10);
    r.SearchHeadingIDAuth("1", set);
    r.SearchHeadingIDBib("1", set);
    r.SearchSubdiv("0", "History", set, true, false, "x");
    r.SearchSubdivIDAuth("1", set);
    r.SearchSubdivIDBib("1", set);
    r.SearchSubdivIDHeading("1", set, false);
    for (bool native : {true, false})
        for (bool bibIndex : {false, true})
            for (const char* type : {"0", "8"}) r.SearchCallNumber(type, "QA76", set, true, native, true, bibIndex);
    r.SearchBibStandardNumber("020", "*", "0306406152", set, true, false);
    r.SearchAuthStandardNumber("010", "a", "n 79021164", set, false, false);
    r.SearchItemBarcode("31234000000016", set);
    r.SearchBarcodesForItem("1", set);
    r.SearchUrl("http://example.org/", set, true);
    recording = false;
    const std::vector<std::string> statements = Sent();
    int scans = 0;
    for (auto _ : state) {
        scans = 0;
        for (const std::string& sql : statements) {
            const auto plan = Query(r, "EXPLAIN QUERY PLAN " + sql, 4);
            for (const auto& step : plan) {
                const bool chrTruncated = sql.find("NORMAL_HEADING LIKE CHR(") != std::string::npos;
                if (step[3].rfind("SCAN", 0) != 0 || chrTruncated) continue;
                ++scans;
                state.SkipWithError(("a table is scanned: " + sql + " -> " + step[3]).c_str());
            }
        }
    }
    state.counters["statements"] = static_cast<double>(statements.size());
    state.counters["scans"] = scans;
}
BENCHMARK(BM_IndexPlans)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
