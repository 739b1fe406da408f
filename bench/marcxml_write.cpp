// Reads a file of ISO 2709 records with Utf8MarcFileClass, loads each into a
// record object and writes its MARCXML document (XMLRecordOut(0)) to
// standard output, as `yaz-marcdump -i marc -o marcxml` converts a file.
// Prints to standard error the records read, written and refused, the time
// of the whole loop and the time spent in XMLRecordOut alone.
//
// Usage: marcxml_write FILE
#include <chrono>
#include <cstdio>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_file.h"
#include "marc/record/marc_record.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: marcxml_write FILE\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    Utf8MarcFileClass reader;
    reader.OpenFile(argv[1]);
    if (reader.EndOfFile()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    Utf8MarcRecordClass record;
    long read = 0, written = 0, refused = 0;
    Clock::duration writing{};
    std::string sRecord;
    while (reader.ReadNextRecord(sRecord)) {
        ++read;
        try {
            record.MarcRecordIn(sRecord);
            if (record.MarcRecordIn().empty()) {
                ++refused;
                continue;
            }
            const auto before = Clock::now();
            const std::string sDocument = record.XMLRecordOut(0);
            writing += Clock::now() - before;
            std::fwrite(sDocument.data(), 1, sDocument.size(), stdout);
            ++written;
        } catch (const RaisedError&) {
            ++refused;
        }
    }
    std::fflush(stdout);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double xml = std::chrono::duration<double>(writing).count();
    std::fprintf(stderr, "records %ld written %ld refused %ld seconds %.6f xml_seconds %.6f\n", read, written,
                 refused, seconds, xml);
    return 0;
}
