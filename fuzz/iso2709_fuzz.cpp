// Gives arbitrary octets (up to 100,000) to MarcRecordIn of a UTF-8 record
// object and of a MARC-8 one. When a load passes and its output is not empty,
// the output must load again, and from then on a record must write out at the
// same length. The first reload may still shorten it by design: texts trimmed
// once they stand at a subfield's end, the 008 cut to its format's length
// after a second 008 lengthened it, a text's final field terminator taken as
// the field's own. Outputs under the 50 characters that IsMarc asks for are
// not reloaded. A translation into the output set that is not available yet
// raises, and then leaves an empty record: a clean outcome.
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

// Loads a text; false when the load raised, which must leave no record.
bool Load(Utf8MarcRecordClass& record, const std::string& text) {
    try {
        record.MarcRecordIn(text);
        return true;
    } catch (const RaisedError&) {
        Check(record.MarcRecordIn().empty());
        Check(record.MarcRecordOut().empty());
        return false;
    }
}

void LoadThrice(Utf8MarcRecordClass& record, const std::string& text) {
    if (!Load(record, text) || record.MarcRecordIn().empty()) return;
    const std::string first = record.MarcRecordOut();
    if (first.size() < 50 || !Load(record, first)) return;
    Check(!record.MarcRecordIn().empty());
    const std::string second = record.MarcRecordOut();
    if (second.size() < 50 || !Load(record, second)) return;
    Check(!record.MarcRecordIn().empty());
    Check(record.MarcRecordOut().size() == second.size());
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
    LoadThrice(utf8, text);
    LoadThrice(*marc8, text);
    return 0;
}
