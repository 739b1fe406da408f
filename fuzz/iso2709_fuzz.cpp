// Gives arbitrary octets (up to 100,000) to MarcRecordIn of a UTF-8 record
// object and of a MARC-8 one. When a load passes and its output is not empty,
// the output must load again and be written out at the same length. A
// translation into the output set that is not available yet raises, and then
// leaves an empty record: a clean outcome.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void LoadTwice(Utf8MarcRecordClass& record, const std::string& text) {
    try {
        record.MarcRecordIn(text);
    } catch (const RaisedError&) {
        Check(record.MarcRecordIn().empty());
        Check(record.MarcRecordOut().empty());
        return;
    }
    if (record.MarcRecordIn().empty()) return;
    const std::string first = record.MarcRecordOut();
    if (first.empty()) return;
    try {
        record.MarcRecordIn(first);
    } catch (const RaisedError&) {
        return;
    }
    Check(!record.MarcRecordIn().empty());
    Check(record.MarcRecordOut().size() == first.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass* marc8 = [] {
        auto* record = new Utf8MarcRecordClass;
        record->CharacterSetIn("M");
        record->CharacterSetOut("M");
        return record;
    }();
    LoadTwice(utf8, text);
    LoadTwice(*marc8, text);
    return 0;
}
