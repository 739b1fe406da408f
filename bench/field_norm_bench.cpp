// The field normal form that every candidate of a field find is compared in,
// against NormString of the same field text, and the nonfiling-character
// removal that every loaded $a goes through, with the heap allocations of
// each call counted.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"

namespace {

std::atomic<long> gAllocations{0};

}  // namespace

// Every allocation is counted; malloc and free serve the replaced operators.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

std::string D(std::string s) {
    for (char& c : s)
        if (c == '$') c = '\x1F';
    return s;
}

// Typical headings: a title with an article, a name with dates, a subject
// with subdivisions (UTF-8, decomposed).
struct Heading {
    const char* tag;
    std::string field;  // indicators and text
};
const std::vector<Heading> kHeadings = {
    {"245", D("14$aThe hobbit, or, There and back again /$cJ.R.R. Tolkien ; illustrated by the author.")},
    {"100", D("1 $aDvor\xCC\x8C" "a\xCC\x81" "k, Antoni\xCC\x81" "n,$d1841-1904.")},
    {"650", D(" 0$aMiddle Earth (Imaginary place)$vFiction.$xHistory$y20th century.")},
};

Utf8MarcRecordClass& LoadedRecord() {
    static Utf8MarcRecordClass record;
    static bool loaded = false;
    if (!loaded) {
        std::vector<record_test::TaggedField> fields{{"001", "bench1"}};
        for (const Heading& h : kHeadings) fields.emplace_back(h.tag, h.field);
        record.MarcRecordIn(record_test::Iso2709("00000nam a2200000 a 4500", fields));
        loaded = true;
    }
    return record;
}

void Allocations(benchmark::State& state, long before) {
    state.counters["allocs/call"] = benchmark::Counter(static_cast<double>(gAllocations.load() - before) /
                                                       static_cast<double>(state.iterations()));
}

void FldNormOf(benchmark::State& state, int which) {
    Utf8MarcRecordClass& record = LoadedRecord();
    record.FldFindFirst(kHeadings[static_cast<size_t>(which)].tag, "");
    const long before = gAllocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(record.FldNorm());
    Allocations(state, before);
}

void NormStringOf(benchmark::State& state, int which) {
    Utf8MarcRecordClass& record = LoadedRecord();
    record.FldFindFirst(kHeadings[static_cast<size_t>(which)].tag, "");
    const std::string text = record.FldText();
    const long before = gAllocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(record.NormString(text, true, "V"));
    Allocations(state, before);
}

void RemoveNonfilingOf(benchmark::State& state, int which) {
    Utf8MarcRecordClass& record = LoadedRecord();
    const Heading& h = kHeadings[static_cast<size_t>(which)];
    const std::string indicators = h.field.substr(0, 2);
    std::string a = h.field.substr(4);
    a = a.substr(0, a.find('\x1F'));
    std::string sIndicators;
    const long before = gAllocations.load();
    for (auto _ : state) {
        sIndicators = indicators;
        benchmark::DoNotOptimize(record.RemoveNonfilingCharacters("B", h.tag, sIndicators, a, true));
    }
    Allocations(state, before);
}

BENCHMARK_CAPTURE(FldNormOf, Title245, 0);
BENCHMARK_CAPTURE(NormStringOf, Title245, 0);
BENCHMARK_CAPTURE(FldNormOf, Name100, 1);
BENCHMARK_CAPTURE(NormStringOf, Name100, 1);
BENCHMARK_CAPTURE(FldNormOf, Subject650, 2);
BENCHMARK_CAPTURE(NormStringOf, Subject650, 2);
BENCHMARK_CAPTURE(RemoveNonfilingOf, Title245Article, 0);
BENCHMARK_CAPTURE(RemoveNonfilingOf, Name100NothingRemoved, 1);
BENCHMARK_CAPTURE(RemoveNonfilingOf, Subject650NothingRemoved, 2);


}  // namespace
