// Reads a file of ISO 2709 records, loads each into a record object with
// MarcRecordIn and writes MarcRecordOut, as `yaz-marcdump -i marc -o marc`
// copies a file. Prints the records read, written and refused, and the time
// of the load-and-output loop.
//
// Usage: iso2709_copy INPUT OUTPUT [INPUT-SET [OUTPUT-SET]]
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

// A file opened with a stdio buffer of the caller's; null when it cannot be.
static std::FILE* OpenBuffered(const char* sPath, const char* sMode, char* buffer, size_t size) {
    std::FILE* file = std::fopen(sPath, sMode);
    if (file != nullptr) std::setvbuf(file, buffer, _IOFBF, size);
    return file;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: iso2709_copy INPUT OUTPUT [INPUT-SET [OUTPUT-SET]]\n";
        return 2;
    }
    // Read record by record through a large stdio buffer, as yaz-marcdump
    // reads its input: the file is never held whole. Written through one too
    // (a stream's write of a record over a kilobyte would go to the file at
    // once, a system call a record).
    static char inBuffer[1 << 20], outBuffer[1 << 20];
    std::FILE* in = OpenBuffered(argv[1], "rb", inBuffer, sizeof inBuffer);
    std::FILE* out = in ? OpenBuffered(argv[2], "wb", outBuffer, sizeof outBuffer) : nullptr;
    if (in == nullptr || out == nullptr) {
        std::cerr << "cannot " << (in ? "write " : "read ") << argv[in ? 2 : 1] << "\n";
        return 1;
    }

    const auto start = std::chrono::steady_clock::now();
    Utf8MarcRecordClass record;
    if (argc > 3) record.CharacterSetIn(argv[3]);
    if (argc > 4) record.CharacterSetOut(argv[4]);
    long read = 0, written = 0, refused = 0;
    std::string sRecord;
    char* line = nullptr;
    size_t lineCapacity = 0;
    for (ssize_t length; (length = getdelim(&line, &lineCapacity, '\x1D', in)) > 0;) {
        ++read;
        try {
            sRecord.assign(line, static_cast<size_t>(length));
            record.MarcRecordIn(sRecord);
            const std::string sOut = record.MarcRecordOut();
            if (sOut.empty()) ++refused;
            else ++written;
            std::fwrite(sOut.data(), 1, sOut.size(), out);
        } catch (const RaisedError&) {
            ++refused;
        }
    }
    std::free(line);
    std::fclose(in);
    std::fclose(out);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("records %ld written %ld refused %ld seconds %.6f us/record %.3f\n", read, written, refused,
                seconds, read > 0 ? seconds * 1e6 / static_cast<double>(read) : 0.0);
    return 0;
}
