// Reads a file of MARC records with Utf8MarcFileClass::ReadNextRecord to its
// end, as `yaz-marcdump -n` reads and checks every record without printing.
// Prints the records read, their octets, the time of the reading loop and the
// process's peak resident size.
//
// Usage: marc_file_read FILE
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "marc/record/marc_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: marc_file_read FILE\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    Utf8MarcFileClass reader;
    reader.OpenFile(argv[1], false);
    if (reader.EndOfFile()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    long long octets = 0;
    std::string sRecord;
    while (reader.ReadNextRecord(sRecord, false)) octets += static_cast<long long>(sRecord.size());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records %d octets %lld seconds %.6f us/record %.3f peak_rss_kb %ld\n", reader.RecordIndex(), octets,
                seconds, reader.RecordIndex() > 0 ? seconds * 1e6 / reader.RecordIndex() : 0.0, usage.ru_maxrss);
    return 0;
}
