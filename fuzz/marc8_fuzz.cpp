// Feeds arbitrary octets to the MARC-8 to UTF-8 translation, as a whole text and one character at a
// time under a designation taken from the input, and to the reverse table look-ups. Checks that the
// whole-text result is UTF-8 and that the one-character flags agree with the result.
// The same octets go to the record's single-byte translation of a piece in each mode, its 8-bit
// text to UTF-8 conversion in each 8-bit set, and its script tests: the conversion must give
// UTF-8 whenever it reports a change, a text without escapes or octets from 0x80 must come
// through every mode unchanged, and a script is reported exactly when a letter is. Whole fields
// from each 8-bit set and the reference pass must give UTF-8.
// The octets, taken as UTF-8, go to the MARC-8 writer of one field (an 880 and another tag): plain
// ASCII comes through unchanged, and whatever it writes this system reads back as UTF-8; the same
// after the load's decomposition. A UTF-8 record holding them is set to MARC-8 and back. No
// translation writes more delimiters, terminators, NULs or escapes than it was given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chars/utf8_char.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "marc8/marc8_tables.h"

namespace {

bool IsUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t count = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (count == 0 || i + count > s.size()) return false;
        for (std::size_t k = 1; k < count; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += count;
    }
    return true;
}

const char* const kDesignations[] = {"1", "s", "(B", ")!E", "(!E", "2", "g", "3", "b", "4", "p", "5", "(2", ")2",
                                     "6", "(N", ")N", ":", ")Q", "(Q", "7", "(3", ")3", ";", ")4", "(4", "8",
                                     "(S", ")S", "9", "$1", "?", ""};

// A translation never writes more delimiters, terminators, NULs or escapes than it read: a
// reference never makes structure.
bool StructureGrew(const std::string& sIn, const std::string& sOut) {
    for (const char c : {'\x1F', '\x1E', '\x1D', '\0', '\x1B'}) {
        if (std::count(sOut.begin(), sOut.end(), c) > std::count(sIn.begin(), sIn.end(), c)) return true;
    }
    return false;
}

bool IsPlainAscii(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\x1B') return false;
    return true;
}

void FuzzRecordMembers(const std::string& text) {
    static Utf8MarcRecordClass record;
    const bool bPlain = IsPlainAscii(text);
    for (int32_t iMode = 0; iMode <= 5; ++iMode) {
        int32_t iAsked = iMode;
        record.SetUpTranslation(iAsked);
        std::string sPiece = text;
        bool bChanged = false;
        record.Translate880FieldTranslateThePiece(sPiece, bChanged);
        if (bPlain && (bChanged || sPiece != text)) std::abort();
    }
    for (const char* sSet : {"M", "O", "V"}) {
        record.CharacterSetOut(sSet);
        std::string sText = text;
        bool bChanged = false;
        record.LatinMarc8Text2Utf8(sText, bChanged);
        if (bChanged ? !IsUtf8(sText) : sText != text) std::abort();
    }
    // Whole fields from each 8-bit set, in an 880 and another field, with indicators from the
    // input: the result is always UTF-8.
    for (const char* sSet : {"M", "O", "V"}) {
        record.CharacterSetOut(sSet);
        for (const char* sTag : {"880", "245"}) {
            std::string sIndicators = text.substr(0, 2);
            std::string sField = text;
            bool bChanged = false;
            bool bError = false;
            record.TranslateMarc2Utf8OneField("a", sTag, sIndicators, sField, bChanged, bError);
            if (!IsUtf8(sField) || (!bChanged && sField != text) || StructureGrew(text, sField)) std::abort();
        }
    }
    for (const char* sTag : {"880", "245"}) {
        record.CharacterSetOut("M");
        std::string sSetList;
        std::string sTagCopy = sTag;
        std::string sField = text;
        bool bChanged = false;
        bool bError = false;
        record.TranslateUtf82MarcOneField(sSetList, sTagCopy, sField, bChanged, bError);
        const bool bPrintable =
            std::all_of(text.begin(), text.end(), [](char c) { return (c >= 0x20 && c <= 0x7E) || c == '\x1F'; });
        if (bPrintable && (bChanged || bError || sField != text)) std::abort();
        std::string sIndicators = "  ";
        bool bBackChanged = false;
        bool bBackError = false;
        record.TranslateMarc2Utf8OneField("a", sTag, sIndicators, sField, bBackChanged, bBackError);
        if (!IsUtf8(sField) || StructureGrew(text, sField)) std::abort();
    }
    record.Utf8TextContainsOnlyMarc8Characters(text);
    // The load's decomposition takes the same octets; what it gives, the writer takes.
    bool bDecomposed = false;
    std::string sDecomposed = record.DecomposeUnicodeCharactersInString(text, bDecomposed);
    if (!bDecomposed && sDecomposed != text) std::abort();
    {
        record.CharacterSetOut("M");
        std::string sSetList;
        std::string sTag = "880";
        bool bChanged = false;
        bool bError = false;
        record.TranslateUtf82MarcOneField(sSetList, sTag, sDecomposed, bChanged, bError);
    }
    {
        Utf8MarcRecordClass utf8;
        const std::string sData = "  \x1F" "6100-01\x1F" "a" + text;
        utf8.MarcRecordIn(record_test::Iso2709("00000nam a2200000   4500",
                                               {{"001", "1"}, {"245", sData}, {"880", sData}}));
        utf8.CharacterSetOut("M");
        utf8.MarcRecordOut();
        utf8.CharacterSetOut("U");
        utf8.MarcRecordOut();
    }
    std::string sReferences = text;
    RecordTestAccess::TranslateHexCharacterReferences(record, sReferences);
    if ((IsUtf8(text) && !IsUtf8(sReferences)) || StructureGrew(text, sReferences)) std::abort();
    std::string sLetters;
    if (record.VernacularDataCharacterize(text, sLetters) == sLetters.empty()) std::abort();
    record.ContainsRightToLeftCharacters(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Utf8CharClass chars;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* sSet : {"M", "V"}) {
        if (!IsUtf8(chars.Marc82Utf8(text, sSet))) std::abort();
    }
    FuzzRecordMembers(text);
    if (size == 0) return 0;
    const char* sDesignation = kDesignations[data[0] % std::size(kDesignations)];
    for (std::size_t p = 1; p < size; p += 3) {
        std::string sUtf8;
        bool bChanged = false;
        bool bError = false;
        chars.TranslateMarc2Utf8OneCharacter(data[0] & 0x80 ? "V" : "M", sDesignation, text.substr(p, 1 + p % 3), sUtf8,
                                             bChanged, bError);
        if (bError == !sUtf8.empty() || (bError && bChanged)) std::abort();
        // The reverse look-ups take any octets.
        marc8::Utf8ToEacc(text.substr(p, 4));
        marc8::FindUtf82Marc(text.substr(p, 3), sDesignation);
    }
    return 0;
}
