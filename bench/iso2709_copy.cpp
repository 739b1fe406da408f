// Reads a file of ISO 2709 records, loads each into a record object with
// MarcRecordIn and writes MarcRecordOut, as `yaz-marcdump -i marc -o marc`
// copies a file. Prints the records read, written and refused, and the time
// of the load-and-output loop.
//
// Usage: iso2709_copy INPUT OUTPUT [INPUT-SET [OUTPUT-SET]]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: iso2709_copy INPUT OUTPUT [INPUT-SET [OUTPUT-SET]]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::ofstream out(argv[2], std::ios::binary);
    static char buffer[1 << 20];
    out.rdbuf()->pubsetbuf(buffer, sizeof buffer);

    const auto start = std::chrono::steady_clock::now();
    Utf8MarcRecordClass record;
    if (argc > 3) record.CharacterSetIn(argv[3]);
    if (argc > 4) record.CharacterSetOut(argv[4]);
    long read = 0, written = 0, refused = 0;
    for (size_t at = 0; at < file.size();) {
        size_t end = file.find('\x1D', at);
        end = end == std::string::npos ? file.size() : end + 1;
        ++read;
        try {
            record.MarcRecordIn(file.substr(at, end - at));
            const std::string sRecord = record.MarcRecordOut();
            if (sRecord.empty()) ++refused;
            else ++written;
            out.write(sRecord.data(), static_cast<std::streamsize>(sRecord.size()));
        } catch (const RaisedError&) {
            ++refused;
        }
        at = end;
    }
    out.flush();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("records %ld written %ld refused %ld seconds %.6f us/record %.3f\n", read, written, refused,
                seconds, read > 0 ? seconds * 1e6 / static_cast<double>(read) : 0.0);
    return 0;
}
