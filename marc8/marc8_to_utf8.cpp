// Utf8CharClass's MARC-8 to UTF-8 members: the one-character translation, the EACC chunk look-up,
// the whole-text translation of Latin MARC-8, and the UTF-8 to MARC-8 tables as text.

#include <algorithm>

#include "chars/utf8_char.h"
#include "marc8/marc8_tables.h"

namespace {

constexpr char kEscape = '\x1B';

// The octets of the variant "V" that hold what MARC-8 keeps elsewhere: the symbols, the script
// small l, alpha, beta and gamma.
bool IsVariantOwnOctet(unsigned char octet) {
    return octet == 0x90 || (octet >= 0x92 && octet <= 0x96) || octet == 0xA0 || octet == 0xAF || octet == 0xBE ||
           octet == 0xBF;
}

// The Latin octets from 0x80 up that the whole-text translation knows: the nonsort marks and
// ANSEL with the superscripts and subscripts, and in the variant "V" its own octets. It drops
// the other control octets, the dagger, and alpha and gamma outside "V".
bool WholeTextKnows(unsigned char octet, bool bVariantV) {
    if (bVariantV && IsVariantOwnOctet(octet)) return true;
    if (octet < 0xA1) return octet == 0x88 || octet == 0x89;
    return octet != 0xAF && octet != 0xBB && octet != 0xBF;
}

}  // namespace

const std::string& Utf8CharClass::Utf82MarcTable() { return marc8::Utf82MarcText(); }
const std::string& Utf8CharClass::Utf82MarcTableV() { return marc8::Utf82MarcTextV(); }
const std::string& Utf8CharClass::Utf82MarcTableO() { return marc8::Utf82MarcTextO(); }

void Utf8CharClass::TranslateMarc2Utf8OneCharacter(std::string sCharacterSetIn, Marc8TableDesignation sTableDesignation,
                                                   OctetString sMarc8Character, OctetString& sUtf8Character,
                                                   bool& bChanged, bool& bCharacterError) const {
    bCharacterError = false;
    bChanged = false;
    sUtf8Character.clear();

    const auto designation = marc8::FindDesignation(sTableDesignation);
    if (!designation) {
        bCharacterError = true;
        return;
    }

    if (!sMarc8Character.empty()) {
        const auto first = static_cast<unsigned char>(sMarc8Character[0]);
        if (designation->shift == marc8::OctetShift::Lower && first >= 0x80) {
            sMarc8Character = OctetString(1, static_cast<char>(first - 0x80));
        } else if (designation->shift == marc8::OctetShift::Raise && first < 0x80) {
            sMarc8Character = OctetString(1, static_cast<char>(first + 0x80));
        }
    }

    if (designation->set == marc8::Marc8Set::Eacc) {
        Eacc2Utf8(sMarc8Character, sUtf8Character, marc8::EaccChunkOf(sMarc8Character), bCharacterError);
    } else {
        const auto& table = marc8::SetTableOf(designation->set, sCharacterSetIn == "V");
        const char16_t cp = sMarc8Character.size() == 1 ? table[static_cast<unsigned char>(sMarc8Character[0])] : 0;
        if (cp == 0) {
            bCharacterError = true;
        } else {
            sUtf8Character = UcsNumericToUtf8(cp);
        }
    }

    if (!bCharacterError) bChanged = sUtf8Character != sMarc8Character;
}

void Utf8CharClass::Eacc2Utf8(OctetString sEaccCharacter, OctetString& sUtf8Character, int16_t iChunk,
                              bool& bCharacterError) const {
    sUtf8Character.clear();
    bCharacterError = true;
    if (sEaccCharacter.size() != 3) return;
    uint32_t lCode = 0;
    for (unsigned char octet : sEaccCharacter) lCode = (lCode << 8) | octet;
    const auto chunk = marc8::EaccChunk(iChunk);
    const auto it = std::lower_bound(chunk.begin(), chunk.end(), lCode,
                                     [](const marc8::EaccEntry& entry, uint32_t code) { return entry.eacc < code; });
    if (it == chunk.end() || it->eacc != lCode) return;
    sUtf8Character = marc8::UnpackOctets(it->utf8);
    bCharacterError = false;
}

OctetString Utf8CharClass::Marc82Utf8(const OctetString& sIn, const std::string& sInputCharacterSet) const {
    const bool bVariantV = sInputCharacterSet == "V";
    const auto& latin = marc8::SetTableOf(marc8::Marc8Set::Latin, bVariantV);

    OctetString sOut;
    OctetString sMarks;  // combining marks waiting for their base character
    bool bPending = false;
    auto flush = [&] {
        if (bPending) {
            sOut += sMarks;
            sMarks.clear();
            bPending = false;
        }
    };

    const std::size_t n = sIn.size();
    std::size_t p = 0;
    while (p < n) {
        const auto octet = static_cast<unsigned char>(sIn[p]);
        if (octet == kEscape) {
            const char letter = p + 1 < n ? sIn[p + 1] : '\0';
            if (letter == 's') {  // back to the basic Latin set; pending marks stay pending
                p += 2;
                continue;
            }
            // The run goes up to the next escape or the end of the text.
            const std::size_t start = std::min(p + 2, n);
            const std::size_t end = std::min(sIn.find(kEscape, start), n);
            const marc8::SetTable* runTable = letter == 'p'   ? &marc8::SetTableOf(marc8::Marc8Set::Superscripts)
                                              : letter == 'b' ? &marc8::SetTableOf(marc8::Marc8Set::Subscripts)
                                              : letter == 'g' ? &marc8::SetTableOf(marc8::Marc8Set::GreekSymbols)
                                                              : nullptr;
            if (runTable) {
                for (std::size_t q = start; q < end; ++q) {
                    const char16_t cp = (*runTable)[static_cast<unsigned char>(sIn[q])];
                    if (cp != 0) sOut += UcsNumericToUtf8(cp);
                    flush();
                }
            }
            p = end;
            continue;
        }

        if (octet < 0x80) {
            sOut += static_cast<char>(octet);
            flush();
        } else if (octet < 0xE0) {
            if (WholeTextKnows(octet, bVariantV) && latin[octet] != 0) sOut += UcsNumericToUtf8(latin[octet]);
            flush();
        } else {
            // A combining mark comes before its base character in MARC-8 and after it in UTF-8.
            bPending = true;
            if (latin[octet] != 0) sMarks += UcsNumericToUtf8(latin[octet]);
        }
        ++p;
    }
    sOut += sMarks;
    return sOut;
}
