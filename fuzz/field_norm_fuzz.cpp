// Runs arbitrary octets through the field forms, the nonfiling-character
// removal and the standard numbers, in a UTF-8 record and in a MARC-8
// record. The zone removal never lengthens a text, a count never removes
// more than the text, the record's scheme comes back from every field form,
// and a converted ISBN has ten or thirteen digits or is the text given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

namespace {

void Check(bool bHolds) {
    if (!bHolds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;
    static const char* const kFormats[] = {"A", "B", "Q", "H", "S", ""};
    static const char* const kTags[] = {"245", "130", "100", "650", "010", "020", "022", "035", "001", ""};
    static const char* const kSchemes[] = {"V", "P", "Q", "x"};
    if (size < 3) return 0;
    // Octet 0 picks the record, format and tag; octets 1 and 2 are the
    // indicators; the rest is the text.
    Utf8MarcRecordClass& record = (data[0] & 0x80) ? marc8 : utf8;
    const std::string format = kFormats[(data[0] & 0x7F) % std::size(kFormats)];
    const std::string tag = kTags[(data[0] >> 3) % std::size(kTags)];
    const std::string indicators(reinterpret_cast<const char*>(data + 1), 2);
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

    std::string zone = text;
    record.RemoveNonfilingZone(zone);
    Check(zone.size() <= text.size());
    std::string sIndicators = indicators;
    record.RemoveNonfilingCharacters(format, tag, sIndicators, text, (data[0] & 1) != 0);
    Check(sIndicators.size() == indicators.size());

    const std::string saved = record.NormalizationScheme();
    for (const char* scheme : kSchemes) {
        std::string sSubfields;
        try {
            record.NormalizeWholeField(scheme, format, tag, indicators, text, sSubfields);
        } catch (const RaisedError&) {  // an 8-bit text beyond 32,767 octets
        }
        Check(record.NormalizationScheme() == saved);
    }
    try {
        record.GenerateNacoFormFromRaw(tag, text);
    } catch (const RaisedError&) {
    }

    record.NormalizeStandardNumber(tag, text);
    record.CheckISXN(text);
    const std::string to10 = record.ConvertISBN13To10(text);
    Check(to10 == text || to10.size() == 10);
    const std::string to13 = record.ConvertISBN10To13(text);
    Check(to13.size() >= 13 || to13.find('-') == std::string::npos);
    return 0;
}
