// Reads a file of MARC records with Utf8MarcFileClass::ReadNextRecord to its
// end, as `yaz-marcdump -n` reads and checks every record without printing.
// Prints the records read, their octets, the time of the reading loop and the
// process's peak resident size. With --load each record is also loaded into
// one record object and written out again, so that the peak size shows what
// the object keeps from one record to the next.
//
// Usage: marc_file_read [--load] FILE
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "marc/record/marc_file.h"
#include "marc/record/marc_record.h"

int main(int argc, char** argv) {
    const bool bLoad = argc == 3 && std::string(argv[1]) == "--load";
    if (argc != 2 && !bLoad) {
        std::fprintf(stderr, "usage: marc_file_read [--load] FILE\n");
        return 2;
    }
    const char* sFile = argv[argc - 1];
    const auto start = std::chrono::steady_clock::now();
    Utf8MarcFileClass reader;
    reader.OpenFile(sFile, false);
    if (reader.EndOfFile()) {
        std::fprintf(stderr, "cannot read %s\n", sFile);
        return 1;
    }
    long long octets = 0, written = 0;
    std::string sRecord;
    // Made only for --load, so that the reader's own figures stay its own.
    std::unique_ptr<Utf8MarcRecordClass> record;
    if (bLoad) record = std::make_unique<Utf8MarcRecordClass>();
    while (reader.ReadNextRecord(sRecord, false)) {
        octets += static_cast<long long>(sRecord.size());
        if (!bLoad) continue;
        record->MarcRecordIn(sRecord);
        written += static_cast<long long>(record->MarcRecordOut().size());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records %d octets %lld written %lld seconds %.6f us/record %.3f peak_rss_kb %ld\n",
                reader.RecordIndex(), octets, written, seconds,
                reader.RecordIndex() > 0 ? seconds * 1e6 / reader.RecordIndex() : 0.0, usage.ru_maxrss);
    return 0;
}
