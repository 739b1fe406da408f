// Gives arbitrary octets (up to 100,000) to MarcRecordIn of a UTF-8 record
// object and of a MARC-8 one. When a load passes and its output is not empty
// (nor under the 50 characters that IsMarc asks for, nor holding a field whose
// text ends with the field terminator), the output must load again and be
// written out at the same length. A translation into the output set that is
// not available yet raises, and then leaves an empty record: a clean outcome.
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

// A field whose text ends with the field terminator is written without a
// second one, so that terminator ends the field when the output is read
// again: the field's text then loses it (and what trimming it uncovers).
bool SomeFieldEndsWithTerminator(Utf8MarcRecordClass& record) {
    for (bool found = record.FldMoveFirst(true); found; found = record.FldMoveNext(true)) {
        const std::string text = record.FldText();
        if (!text.empty() && text.back() == '\x1E') return true;
    }
    return false;
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
    // IsMarc takes no text under 50 characters, which a record of one short
    // field writes.
    if (first.size() < 50 || SomeFieldEndsWithTerminator(record)) return;
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
