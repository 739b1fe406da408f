// Precomposed Latin letters and their canonical decompositions, from the
// generated table, indexed by code point over the two ranges it covers.
#include "normalize/latin_letters.h"

#include <array>

#include "normalize/substitution_tables.h"

namespace {

constexpr uint32_t kFirstRangeStart = 0x00C0, kFirstRangeEnd = 0x024F;
constexpr uint32_t kSecondRangeStart = 0x1E00, kSecondRangeEnd = 0x1EFF;
constexpr uint32_t kFirstRangeSize = kFirstRangeEnd - kFirstRangeStart + 1;
constexpr uint32_t kIndexSize = kFirstRangeSize + (kSecondRangeEnd - kSecondRangeStart + 1);

// The slot of a code point of the two ranges; kIndexSize for any other.
uint32_t SlotOf(uint32_t cp) {
    if (cp >= kFirstRangeStart && cp <= kFirstRangeEnd) return cp - kFirstRangeStart;
    if (cp >= kSecondRangeStart && cp <= kSecondRangeEnd) return kFirstRangeSize + (cp - kSecondRangeStart);
    return kIndexSize;
}

const std::array<const char*, kIndexSize>& Index() {
    static const std::array<const char*, kIndexSize> index = [] {
        std::array<const char*, kIndexSize> made{};
        for (std::size_t i = 0; i < substitution::kLatinDecompositionCount; ++i) {
            const substitution::LatinDecomposition& e = substitution::kLatinDecompositions[i];
            made[SlotOf(e.CodePoint)] = e.Octets;
        }
        return made;
    }();
    return index;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The octet count of the well-formed precomposed letter that starts at i,
// with its code point; 0 for anything else. Only the lead octets C3 to C9
// (U+00C0 to U+027F) and E1 followed by B8 to BB (U+1E00 to U+1EFF) can begin
// one.
std::size_t LetterAt(std::string_view s, std::size_t i, uint32_t& cp) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    if (lead >= 0xC3 && lead <= 0xC9) {
        if (i + 1 >= s.size() || !IsContinuation(static_cast<unsigned char>(s[i + 1]))) return 0;
        cp = (static_cast<uint32_t>(lead & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
        return 2;
    }
    if (lead == 0xE1 && i + 2 < s.size()) {
        const unsigned char second = static_cast<unsigned char>(s[i + 1]);
        if (second < 0xB8 || second > 0xBB || !IsContinuation(static_cast<unsigned char>(s[i + 2]))) return 0;
        cp = 0x1000u | (static_cast<uint32_t>(second & 0x3F) << 6) | (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
        return 3;
    }
    return 0;
}

}  // namespace

namespace latin_letters {

const char* Decomposition(uint32_t cp) {
    const uint32_t slot = SlotOf(cp);
    return slot < kIndexSize ? Index()[slot] : nullptr;
}

uint32_t BaseLetter(const char* decomposition) {
    const unsigned char lead = static_cast<unsigned char>(decomposition[0]);
    if (lead < 0x80) return lead;
    // The base letters beyond ASCII (Æ, Ø, ezh, long s and the letters with
    // horn) have two octets.
    return (static_cast<uint32_t>(lead & 0x1F) << 6) | (static_cast<unsigned char>(decomposition[1]) & 0x3Fu);
}

bool Decompose(std::string_view s, std::string& sOut) {
    std::size_t copied = 0;  // s[0, copied) is in sOut already
    bool bAny = false;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0xC3) {
            ++i;
            continue;
        }
        uint32_t cp = 0;
        const std::size_t k = LetterAt(s, i, cp);
        const char* decomposition = k != 0 ? Decomposition(cp) : nullptr;
        if (decomposition == nullptr) {
            ++i;
            continue;
        }
        if (!bAny) {
            sOut.clear();
            sOut.reserve(s.size() + 16);
            bAny = true;
        }
        sOut.append(s.substr(copied, i - copied));
        sOut += decomposition;
        i += k;
        copied = i;
    }
    if (bAny) sOut.append(s.substr(copied));
    return bAny;
}

}  // namespace latin_letters
