// Normalizes arbitrary octets as call numbers of every type, in a UTF-8 record
// and in an 8-bit record, and tests them as 852 fields. Nothing may escape:
// a call number the rules cannot take gives "".
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "marc/record/marc_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;
    static const char* const kTypes[] = {"0", "1", "2", "3", "L", "N", "D", "S", "", "d"};
    if (size == 0) return 0;
    // The first octet picks the type and the record; the rest is the call number.
    const std::string type = kTypes[data[0] % std::size(kTypes)];
    Utf8MarcRecordClass& record = (data[0] & 0x80) ? marc8 : utf8;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    record.NormalizeCallNumber(text, type);
    record.TestForCallNumber(type, text, "ZIZAZ");
    return 0;
}
