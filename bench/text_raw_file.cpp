// Loads each record of a file of ISO 2709 records into a record object (not
// timed) and times TextRaw of it, as `yaz-marcdump FILE` prints every record
// as text. Prints the records, the octets of text made and the seconds spent
// in TextRaw.
//
// Usage: text_raw_file FILE
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: text_raw_file FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Utf8MarcRecordClass record;
    long records = 0;
    long long octets = 0;
    std::chrono::steady_clock::duration spent{};
    for (size_t start = 0; start < file.size();) {
        size_t end = file.find('\x1D', start);
        end = end == std::string::npos ? file.size() : end + 1;
        try {
            record.MarcRecordIn(file.substr(start, end - start));
        } catch (const RaisedError&) {
            start = end;
            continue;
        }
        start = end;
        const auto t0 = std::chrono::steady_clock::now();
        const std::string text = record.TextRaw();
        spent += std::chrono::steady_clock::now() - t0;
        octets += static_cast<long long>(text.size());
        ++records;
    }
    const double seconds = std::chrono::duration<double>(spent).count();
    std::printf("records %ld octets %lld seconds %.6f us/record %.3f\n", records, octets, seconds,
                records > 0 ? seconds * 1e6 / static_cast<double>(records) : 0.0);
    return 0;
}
