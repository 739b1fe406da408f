// Writes arbitrary octets to a file and reads it with the file reader to its
// end, then asks for the file's character set. No record may be longer than
// 99,999 octets; every record delivered counts; the reader ends closed. The
// character-set verdict is one of its four letters, and a reader that asks
// for it half-way goes on with the record that followed, so that its records
// are the same as those of a reader that never asked.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "marc/record/marc_file.h"
#include "platform/paths.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The input file, removed at exit; the name outlives every exit handler.
const std::string& FilePath() {
    static const std::string* const path = [] {
        auto* p = new std::string(platform::TempFolder() + "/exitdesk-fuzz-marc-file-" + std::to_string(getpid()) +
                                  ".mrc");
        std::atexit([] { std::remove(FilePath().c_str()); });
        return p;
    }();
    return *path;
}

std::vector<std::string> ReadToEnd(Utf8MarcFileClass& reader, std::vector<std::string> records) {
    std::string sRecord;
    while (reader.ReadNextRecord(sRecord, false)) {
        Check(sRecord.size() <= 99999);
        Check(!reader.EndOfFile());
        records.push_back(sRecord);
        Check(reader.RecordIndex() == static_cast<int32_t>(records.size()));
    }
    Check(sRecord.empty());
    Check(reader.EndOfFile());
    Check(!reader.ReadNextRecord(sRecord, false));
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(FilePath().c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // One reader for every input, as a caller reads file after file.
    static Utf8MarcFileClass reader;
    reader.OpenFile(FilePath(), false);
    const bool bOpened = !reader.EndOfFile();
    Check(bOpened == (size >= 29));
    const std::vector<std::string> records = ReadToEnd(reader, {});
    Check(reader.CharacterizeCharacterSet() == "M");  // the file is closed now

    reader.OpenFile(FilePath(), false);
    std::vector<std::string> again;
    std::string sRecord;
    for (size_t i = 0; i < records.size() / 2 && reader.ReadNextRecord(sRecord, false); ++i) again.push_back(sRecord);
    const std::string sVerdict = reader.CharacterizeCharacterSet();
    Check(sVerdict == "M" || sVerdict == "O" || sVerdict == "V" || sVerdict == "U");
    Check(reader.RecordIndex() == static_cast<int32_t>(again.size()));
    Check(ReadToEnd(reader, again) == records);
    return 0;
}
