// Loads arbitrary octets into a UTF-8 record object and a MARC-8 one, writes
// every form of XMLRecordOut and reads each document back with libxml2: a
// document that is not empty must be well-formed. A form whose document is
// not built yet, or a translation that is not available, raises: a clean
// outcome, after which the output set and the cursor must be the caller's.
#include <libxml/parser.h>

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

void Silence(void*, const char*, ...) {}

void WriteEveryForm(Utf8MarcRecordClass& record) {
    for (int32_t form = 0; form <= 5; ++form) {
        const std::string sSet = record.CharacterSetOut();
        const int16_t fld = record.FldPointer();
        std::string sDocument;
        try {
            sDocument = record.XMLRecordOut(form);
        } catch (const RaisedError&) {
        }
        Check(record.CharacterSetOut() == sSet);
        Check(record.FldPointer() == fld);
        if (sDocument.empty()) continue;
        xmlDoc* doc = xmlReadMemory(sDocument.data(), static_cast<int>(sDocument.size()), "fuzz.xml", nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        Check(doc != nullptr);
        xmlFreeDoc(doc);
    }
}

void Run(const char* sSet, const std::string& text) {
    Utf8MarcRecordClass record;
    record.CharacterSetIn(sSet);
    try {
        record.CharacterSetOut(sSet);
        record.MarcRecordIn(text);
    } catch (const RaisedError&) {
        return;
    }
    if (record.MarcRecordIn().empty()) return;
    record.FldMoveFirst(true);
    WriteEveryForm(record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool bQuiet = [] {
        xmlSetGenericErrorFunc(nullptr, Silence);
        return true;
    }();
    (void)bQuiet;
    if (size > 100000) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    Run("U", text);
    Run("M", text);
    return 0;
}
