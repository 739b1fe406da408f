#include "marc8/marc8_tables.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "chars/utf8_char.h"
#include "common/utli_misc_non_utf8.h"

namespace marc8 {

namespace {

// ---- building the single-octet tables ----

// Octets first..last map to the code points from cp on, in order.
constexpr void Run(SetTable& t, int first, int last, char16_t cp) {
    for (int octet = first; octet <= last; ++octet) t[octet] = static_cast<char16_t>(cp + (octet - first));
}

// Octets first, first + 1, ... map to the listed code points.
constexpr void List(SetTable& t, int first, std::initializer_list<char16_t> cps) {
    for (char16_t cp : cps) t[first++] = cp;
}

// Octets first..last stand for themselves.
constexpr void Same(SetTable& t, int first, int last) { Run(t, first, last, static_cast<char16_t>(first)); }

constexpr SetTable MakeLatin(bool bVariantV) {
    SetTable t{};
    t[0x1B] = 0x1B;
    Same(t, 0x1D, 0x7E);
    List(t, 0x88, {0x0098, 0x009C});
    List(t, 0x8D, {0x200D, 0x200C});
    List(t, 0xA1, {0x0141, 0x00D8, 0x0110, 0x00DE, 0x00C6, 0x0152, 0x02B9, 0x00B7, 0x266D,
                   0x00AE, 0x00B1, 0x01A0, 0x01AF, 0x02BC});
    List(t, 0xB0, {0x02BB, 0x0142, 0x00F8, 0x0111, 0x00FE, 0x00E6, 0x0153, 0x02BA, 0x0131, 0x00A3, 0x00F0});
    // 0xBB is the dagger: the UTF-8 to MARC-8 table writes U+2020 as 0xBB, so it reads back.
    t[0xBB] = 0x2020;
    List(t, 0xBC, {0x01A1, 0x01B0});
    List(t, 0xC0, {0x00B0, 0x2113, 0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1, 0x00DF, 0x20AC});
    List(t, 0xE0, {0x0309, 0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308, 0x030C, 0x030A,
                   0xFE20, 0xFE21, 0x0315, 0x030B, 0x0310});
    List(t, 0xF0, {0x0327, 0x0328, 0x0323, 0x0324, 0x0325, 0x0333, 0x0332, 0x0326, 0x031C, 0x032E,
                   0xFE22, 0xFE23});
    t[0xFE] = 0x0313;
    // Octets of this system's own: alpha, gamma, script small l, the superscripts from nine on,
    // the subscripts.
    t[0xAF] = 0x03B1;
    t[0xBF] = 0x03B3;
    t[0xBE] = 0x2113;
    List(t, 0xC9, {0x2079, 0x207A, 0x207B, 0x207D, 0x207E});
    Run(t, 0xD0, 0xD9, 0x2080);
    List(t, 0xDA, {0x208A, 0x208B, 0x208D, 0x208E});
    if (bVariantV) {
        t[0xBE] = 0x03B2;
        List(t, 0xC0, {0x2070, 0x00B9, 0x00B2, 0x00B3});
        Run(t, 0xC4, 0xC8, 0x2074);
        t[0x90] = 0x00B0;
        List(t, 0x92, {0x2117, 0x00A9, 0x266F, 0x00BF, 0x00A1});
        t[0xA0] = 0x2113;
    }
    return t;
}

constexpr SetTable MakeGreekSymbols() {
    SetTable t{};
    Run(t, 0x61, 0x63, 0x03B1);
    return t;
}

// Superscripts or subscripts: the digits at 0x30 to 0x39; plus, minus and the parentheses.
constexpr SetTable MakeScripts(std::array<char16_t, 10> digits, char16_t plus, char16_t minus, char16_t left,
                               char16_t right) {
    SetTable t{};
    for (int digit = 0; digit < 10; ++digit) t[0x30 + digit] = digits[digit];
    t[0x2B] = plus;
    t[0x2D] = minus;
    t[0x28] = left;
    t[0x29] = right;
    return t;
}

constexpr SetTable MakeHebrew() {
    SetTable t{};
    Same(t, 0x20, 0x3F);
    List(t, 0x22, {0x05F4});
    List(t, 0x27, {0x05F3});
    List(t, 0x2D, {0x05BE});
    List(t, 0x40, {0x05B7, 0x05B8, 0x05B6, 0x05B5, 0x05B4, 0x05B9, 0x05BB, 0x05B0, 0x05B2, 0x05B3, 0x05B1,
                   0x05BC, 0x05BF, 0x05C1, 0xFB1E});
    t[0x5B] = 0x5B;
    t[0x5D] = 0x5D;
    Run(t, 0x60, 0x7A, 0x05D0);
    Run(t, 0x7B, 0x7D, 0x05F0);
    return t;
}

constexpr SetTable MakeBasicCyrillic() {
    SetTable t{};
    Same(t, 0x20, 0x3F);
    List(t, 0x40, {0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433, 0x0445});
    Run(t, 0x49, 0x50, 0x0438);
    t[0x51] = 0x044F;
    Run(t, 0x52, 0x55, 0x0440);
    List(t, 0x56, {0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A});
    // The capitals of the letters at 0x40 to 0x5E.
    for (int octet = 0x60; octet <= 0x7E; ++octet) t[octet] = static_cast<char16_t>(t[octet - 0x20] - 0x20);
    return t;
}

constexpr SetTable MakeExtendedCyrillic() {
    SetTable t{};
    t[0x20] = 0x20;
    t[0xC0] = 0x0491;
    Run(t, 0xC1, 0xC3, 0x0452);
    t[0xC4] = 0x0451;
    Run(t, 0xC5, 0xCC, 0x0455);
    List(t, 0xCD, {0x045E, 0x045F});
    List(t, 0xD0, {0x0463, 0x0473, 0x0475, 0x046B});
    t[0xDB] = 0x005B;
    t[0xDD] = 0x005D;
    t[0xDF] = 0x005F;
    t[0xE0] = 0x0490;
    Run(t, 0xE1, 0xE3, 0x0402);
    t[0xE4] = 0x0401;
    Run(t, 0xE5, 0xEC, 0x0405);
    List(t, 0xED, {0x040E, 0x040F, 0x042A, 0x0462, 0x0472, 0x0474, 0x046A});
    return t;
}

constexpr SetTable MakeBasicArabic() {
    SetTable t{};
    Same(t, 0x20, 0x2F);
    List(t, 0x25, {0x066A});
    List(t, 0x2A, {0x066D});
    List(t, 0x2C, {0x060C});
    Run(t, 0x30, 0x39, 0x0660);
    Same(t, 0x3A, 0x3E);
    t[0x3B] = 0x061B;
    t[0x3F] = 0x061F;
    Run(t, 0x41, 0x5A, 0x0621);
    t[0x5B] = 0x5B;
    t[0x5D] = 0x5D;
    Run(t, 0x60, 0x72, 0x0640);
    List(t, 0x73, {0x0671, 0x0670});
    List(t, 0x78, {0x066C, 0x201D, 0x201C});
    return t;
}

constexpr SetTable MakeExtendedArabic() {
    SetTable t{};
    t[0x20] = 0x20;
    t[0xA1] = 0x06FD;
    Run(t, 0xA2, 0xA3, 0x0672);
    Run(t, 0xA4, 0xB1, 0x0679);
    t[0xB2] = 0x06BF;
    Run(t, 0xB3, 0xC8, 0x0687);
    t[0xC9] = 0x06FA;
    Run(t, 0xCA, 0xCB, 0x069D);
    t[0xCC] = 0x06FB;
    Run(t, 0xCD, 0xCE, 0x069F);
    t[0xCF] = 0x06FC;
    Run(t, 0xD0, 0xE7, 0x06A1);
    Run(t, 0xE8, 0xEB, 0x06BA);
    List(t, 0xEC, {0x06B9, 0x06BE, 0x06C0});
    Run(t, 0xEF, 0xF1, 0x06C4);
    List(t, 0xF2, {0x06CA, 0x06CB});
    Run(t, 0xF4, 0xF5, 0x06CD);
    List(t, 0xF6, {0x06D0, 0x06D2, 0x06D3});
    List(t, 0xFD, {0x0306, 0x030C});
    return t;
}

constexpr SetTable MakeGreek() {
    SetTable t{};
    t[0x20] = 0x20;
    List(t, 0x21, {0x0300, 0x0301, 0x0308, 0x0342, 0x0313, 0x0314, 0x0345});
    List(t, 0x30, {0x00AB, 0x00BB, 0x201C, 0x201D, 0x0374, 0x0375});
    t[0x3B] = 0x0387;
    t[0x3F] = 0x037E;
    List(t, 0x41, {0x0391, 0x0392});
    Run(t, 0x44, 0x46, 0x0393);
    List(t, 0x47, {0x03DA, 0x03DC});
    Run(t, 0x49, 0x53, 0x0396);
    List(t, 0x54, {0x03DE, 0x03A1, 0x03A3});
    Run(t, 0x58, 0x5D, 0x03A4);
    t[0x5E] = 0x03E0;
    List(t, 0x61, {0x03B1, 0x03B2, 0x03D0});
    Run(t, 0x64, 0x66, 0x03B3);
    List(t, 0x67, {0x03DB, 0x03DD});
    Run(t, 0x69, 0x73, 0x03B6);
    List(t, 0x74, {0x03DF, 0x03C1, 0x03C3, 0x03C2});
    Run(t, 0x78, 0x7D, 0x03C4);
    t[0x7E] = 0x03E1;
    return t;
}

constexpr SetTable kLatin = MakeLatin(false);
constexpr SetTable kLatinV = MakeLatin(true);
constexpr SetTable kGreekSymbols = MakeGreekSymbols();
constexpr SetTable kSubscripts = MakeScripts({0x2080, 0x2081, 0x2082, 0x2083, 0x2084, 0x2085, 0x2086, 0x2087, 0x2088, 0x2089},
                                            0x208A, 0x208B, 0x208D, 0x208E);
constexpr SetTable kSuperscripts = MakeScripts({0x2070, 0x00B9, 0x00B2, 0x00B3, 0x2074, 0x2075, 0x2076, 0x2077, 0x2078, 0x2079},
                                              0x207A, 0x207B, 0x207D, 0x207E);
constexpr SetTable kHebrew = MakeHebrew();
constexpr SetTable kBasicCyrillic = MakeBasicCyrillic();
constexpr SetTable kExtendedCyrillic = MakeExtendedCyrillic();
constexpr SetTable kBasicArabic = MakeBasicArabic();
constexpr SetTable kExtendedArabic = MakeExtendedArabic();
constexpr SetTable kGreek = MakeGreek();
constexpr SetTable kNone{};

struct DesignationName {
    std::string_view name;
    Designation designation;
};

constexpr DesignationName kDesignations[] = {
    {"1", {Marc8Set::Latin, OctetShift::None}},
    {"s", {Marc8Set::Latin, OctetShift::None}},
    {"(B", {Marc8Set::Latin, OctetShift::None}},
    {")!E", {Marc8Set::Latin, OctetShift::None}},
    {"(!E", {Marc8Set::Latin, OctetShift::Raise}},
    {"2", {Marc8Set::GreekSymbols, OctetShift::None}},
    {"g", {Marc8Set::GreekSymbols, OctetShift::None}},
    {"3", {Marc8Set::Subscripts, OctetShift::None}},
    {"b", {Marc8Set::Subscripts, OctetShift::None}},
    {"4", {Marc8Set::Superscripts, OctetShift::None}},
    {"p", {Marc8Set::Superscripts, OctetShift::None}},
    {"5", {Marc8Set::Hebrew, OctetShift::None}},
    {"(2", {Marc8Set::Hebrew, OctetShift::None}},
    {")2", {Marc8Set::Hebrew, OctetShift::Lower}},
    // The table code "6" selects basic Cyrillic, as every other table code selects its set.
    {"6", {Marc8Set::BasicCyrillic, OctetShift::None}},
    {"(N", {Marc8Set::BasicCyrillic, OctetShift::None}},
    {")N", {Marc8Set::BasicCyrillic, OctetShift::Lower}},
    {":", {Marc8Set::ExtendedCyrillic, OctetShift::None}},
    {")Q", {Marc8Set::ExtendedCyrillic, OctetShift::None}},
    {"(Q", {Marc8Set::ExtendedCyrillic, OctetShift::Raise}},
    {"7", {Marc8Set::BasicArabic, OctetShift::None}},
    {"(3", {Marc8Set::BasicArabic, OctetShift::None}},
    {")3", {Marc8Set::BasicArabic, OctetShift::Lower}},
    {";", {Marc8Set::ExtendedArabic, OctetShift::None}},
    {")4", {Marc8Set::ExtendedArabic, OctetShift::None}},
    {"(4", {Marc8Set::ExtendedArabic, OctetShift::Raise}},
    {"8", {Marc8Set::Greek, OctetShift::None}},
    {"(S", {Marc8Set::Greek, OctetShift::None}},
    {")S", {Marc8Set::Greek, OctetShift::Lower}},
    {"9", {Marc8Set::Eacc, OctetShift::None}},
    {"$1", {Marc8Set::Eacc, OctetShift::None}},
};

// ---- UTF-8 helpers ----

std::string Utf8Of(char16_t cp) {
    static const Utf8CharClass converter;
    return converter.UcsNumericToUtf8(cp);
}

std::string HexOf(std::string_view sOctets) { return UtliMiscNonUtf8::TextToHex(std::string(sOctets)); }

// The packed form of 1 to 4 octets whose first octet is not 0x00; nothing for any other text, which
// no packed value can stand for.
std::optional<uint32_t> Pack(std::string_view sOctets) {
    if (sOctets.empty() || sOctets.size() > 4 || sOctets.front() == '\0') return std::nullopt;
    uint32_t lPacked = 0;
    for (unsigned char octet : sOctets) lPacked = (lPacked << 8) | octet;
    return lPacked;
}

// ---- building the UTF-8 to MARC-8 tables ----

bool IsLatinOwnOctet(int octet) {
    return octet == 0xAF || octet == 0xBE || octet == 0xBF || (octet >= 0xC9 && octet <= 0xDD);
}

// Entries for the octets of a set whose characters lie outside ASCII.
void AddSet(std::vector<Utf82MarcEntry>& entries, const SetTable& table, char code, bool bSkipLatinOwn = false) {
    for (int octet = 0; octet < 256; ++octet) {
        if (table[octet] < 0x80 || (bSkipLatinOwn && IsLatinOwnOctet(octet))) continue;
        entries.push_back({HexOf(Utf8Of(table[octet])), static_cast<unsigned char>(octet), code});
    }
}

std::string TextOf(const std::vector<Utf82MarcEntry>& entries) {
    std::string sText;
    for (const auto& entry : entries) {
        sText += ' ' + entry.sKey + ':' + HexOf(std::string(1, static_cast<char>(entry.octet))) + ':' + entry.code;
    }
    return sText;
}

std::vector<Utf82MarcEntry> MakeUtf82Marc() {
    std::vector<Utf82MarcEntry> entries;
    AddSet(entries, kLatin, '1', true);
    entries.push_back({"CABE", 0xAE, '1'});  // U+02BE, an alternative form of the alif
    // Alpha, beta and gamma of the Greek symbols carry keys that no character has, so that these
    // characters are written in the Greek set.
    for (int octet = 0x61; octet <= 0x63; ++octet) {
        entries.push_back({'X' + HexOf(Utf8Of(kGreekSymbols[octet])).substr(1), static_cast<unsigned char>(octet), '2'});
    }
    AddSet(entries, kSubscripts, '3');
    AddSet(entries, kSuperscripts, '4');
    AddSet(entries, kHebrew, '5');
    AddSet(entries, kBasicCyrillic, '6');
    AddSet(entries, kExtendedCyrillic, '6');
    AddSet(entries, kBasicArabic, '7');
    AddSet(entries, kExtendedArabic, '7');
    AddSet(entries, kGreek, '8');

    // Ascending by key, the X keys where their C keys sort; a key held by two sets lists the lower
    // table code first, and that entry is the one a look-up finds.
    auto sortKey = [](const Utf82MarcEntry& e) { return e.sKey[0] == 'X' ? 'C' + e.sKey.substr(1) : e.sKey; };
    std::stable_sort(entries.begin(), entries.end(), [&](const Utf82MarcEntry& a, const Utf82MarcEntry& b) {
        return std::pair(sortKey(a), a.code) < std::pair(sortKey(b), b.code);
    });
    // The ligature left half and the Hebrew point varika close the table.
    for (const auto& last : {std::pair("EFB8A0", '1'), std::pair("EFAC9E", '5')}) {
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Utf82MarcEntry& e) { return e.sKey == last.first && e.code == last.second; });
        if (it != entries.end()) std::rotate(it, it + 1, entries.end());
    }
    return entries;
}

std::vector<Utf82MarcEntry> MakeUtf82MarcV() {
    // Superscripts (digits, parentheses, plus and minus), subscripts in the same order, the
    // symbols, then alpha, beta and gamma; as the "V" octets read them.
    static constexpr int kOctets[] = {
        0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCC, 0xCD, 0xCA, 0xCB,
        0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDC, 0xDD, 0xDA, 0xDB,
        0x93, 0x94, 0x95, 0x96, 0x92, 0xA0, 0x90,
        0xAF, 0xBE, 0xBF,
    };
    std::vector<Utf82MarcEntry> entries;
    for (int octet : kOctets) entries.push_back({HexOf(Utf8Of(kLatinV[octet])), static_cast<unsigned char>(octet), '1'});
    return entries;
}

// An index of a table's entries sorted by key, equal keys in table order, so that a binary search
// finds the entry that comes first in the table.
class KeyIndex {
public:
    explicit KeyIndex(const std::vector<Utf82MarcEntry>& entries) {
        for (const auto& entry : entries) order_.push_back(&entry);
        std::stable_sort(order_.begin(), order_.end(),
                         [](const Utf82MarcEntry* a, const Utf82MarcEntry* b) { return a->sKey < b->sKey; });
    }
    const Utf82MarcEntry* Find(const std::string& sKey) const {
        auto it = std::lower_bound(order_.begin(), order_.end(), sKey,
                                   [](const Utf82MarcEntry* e, const std::string& key) { return e->sKey < key; });
        return it != order_.end() && (*it)->sKey == sKey ? *it : nullptr;
    }

private:
    std::vector<const Utf82MarcEntry*> order_;
};

}  // namespace

// ---- single-octet sets ----

int ScriptMarkClass(Marc8Set set, unsigned char octet) {
    switch (set) {
        case Marc8Set::Greek:
            if (octet < 0x21 || octet > 0x27) return -1;
            return octet == 0x27 ? 240 : 230;  // ypogegrammeni; the accents and breathings
        case Marc8Set::Hebrew: {
            if (octet < 0x40 || octet > 0x4E) return -1;
            const char16_t cp = kHebrew[octet];
            if (cp >= 0x05B0 && cp <= 0x05B9) return 10 + (cp - 0x05B0);
            return cp == 0x05BB ? 20 : cp == 0x05BC ? 21 : cp == 0x05BF ? 23 : cp == 0x05C1 ? 24 : 26;  // FB1E
        }
        case Marc8Set::BasicArabic:
            if (octet < 0x6B || octet > 0x72) return -1;
            return 27 + (kBasicArabic[octet] - 0x064B);
        case Marc8Set::ExtendedArabic: return octet == 0xFD || octet == 0xFE ? 230 : -1;
        default: return -1;
    }
}

const SetTable& SetTableOf(Marc8Set set, bool bVariantV) {
    switch (set) {
        case Marc8Set::Latin: return bVariantV ? kLatinV : kLatin;
        case Marc8Set::GreekSymbols: return kGreekSymbols;
        case Marc8Set::Subscripts: return kSubscripts;
        case Marc8Set::Superscripts: return kSuperscripts;
        case Marc8Set::Hebrew: return kHebrew;
        case Marc8Set::BasicCyrillic: return kBasicCyrillic;
        case Marc8Set::ExtendedCyrillic: return kExtendedCyrillic;
        case Marc8Set::BasicArabic: return kBasicArabic;
        case Marc8Set::ExtendedArabic: return kExtendedArabic;
        case Marc8Set::Greek: return kGreek;
        case Marc8Set::Eacc: break;
    }
    return kNone;
}

std::optional<Designation> FindDesignation(std::string_view sTableDesignation) {
    for (const auto& entry : kDesignations) {
        if (entry.name == sTableDesignation) return entry.designation;
    }
    return std::nullopt;
}

// ---- EACC ----

std::span<const EaccEntry> EaccChunk(int16_t iChunk) {
    if (iChunk < 1 || iChunk > kEaccChunkCount) return {};
    const std::size_t first = (iChunk - 1) * kEaccChunkSize;
    return std::span<const EaccEntry>(EaccTable).subspan(first, std::min(kEaccChunkSize, kEaccEntryCount - first));
}

uint32_t EaccChunkKey(int16_t iChunk) {
    return iChunk >= 1 && iChunk < kEaccChunkCount ? EaccTable[iChunk * kEaccChunkSize].eacc : 0;
}

int16_t EaccChunkOf(std::string_view sEaccCharacter) {
    // Binary search for the first key greater than the character, keys compared as octet strings.
    int16_t low = 1;
    int16_t high = kEaccChunkCount;  // the chunk when no key is greater
    while (low < high) {
        const int16_t middle = static_cast<int16_t>((low + high) / 2);
        const std::string sKey = UnpackOctets(EaccChunkKey(middle));
        if (sKey > sEaccCharacter) {
            high = middle;
        } else {
            low = static_cast<int16_t>(middle + 1);
        }
    }
    return low;
}

std::string UnpackOctets(uint32_t lPacked) {
    std::string sOctets;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto octet = static_cast<unsigned char>(lPacked >> shift);
        if (octet != 0 || !sOctets.empty()) sOctets += static_cast<char>(octet);
    }
    return sOctets;
}

std::optional<std::string> Utf8ToEacc(std::string_view sUtf8Character) {
    const auto lPacked = Pack(sUtf8Character);
    if (!lPacked) return std::nullopt;
    // Entries sorted by UTF-8, then by code.
    static const std::vector<const EaccEntry*> byUtf8 = [] {
        std::vector<const EaccEntry*> order;
        for (const auto& entry : EaccTable) order.push_back(&entry);
        std::stable_sort(order.begin(), order.end(), [](const EaccEntry* a, const EaccEntry* b) { return a->utf8 < b->utf8; });
        return order;
    }();
    auto it = std::lower_bound(byUtf8.begin(), byUtf8.end(), *lPacked,
                               [](const EaccEntry* e, uint32_t value) { return e->utf8 < value; });
    if (it == byUtf8.end() || (*it)->utf8 != *lPacked) return std::nullopt;
    std::string sEacc = UnpackOctets((*it)->eacc);
    return sEacc;
}

// ---- UTF-8 to MARC-8 ----

const std::vector<Utf82MarcEntry>& Utf82MarcEntries() {
    static const std::vector<Utf82MarcEntry> entries = MakeUtf82Marc();
    return entries;
}

const std::vector<Utf82MarcEntry>& Utf82MarcEntriesV() {
    static const std::vector<Utf82MarcEntry> entries = MakeUtf82MarcV();
    return entries;
}

const std::vector<Utf82MarcEntry>& Utf82MarcEntriesO() {
    static const std::vector<Utf82MarcEntry> entries = {{HexOf(Utf8Of(kLatin[0xBE])), 0xBE, '1'}};
    return entries;
}

const std::string& Utf82MarcText() {
    static const std::string sText = TextOf(Utf82MarcEntries());
    return sText;
}

const std::string& Utf82MarcTextV() {
    // The groups (superscripts, subscripts, symbols, Greek) stand three spaces apart and the parts
    // of a group two; the text ends in a space.
    static const std::string sText = [] {
        std::string text = TextOf(Utf82MarcEntriesV());
        for (const char* sFirstOfPart : {" E281BD:", " E2828D:", " E28497:"}) {
            text.insert(text.find(sFirstOfPart), 1, ' ');
        }
        for (const char* sFirstOfGroup : {" E28280:", " C2A9:", " CEB1:"}) {
            text.insert(text.find(sFirstOfGroup), 2, ' ');
        }
        return text + ' ';
    }();
    return sText;
}

const std::string& Utf82MarcTextO() {
    static const std::string sText = TextOf(Utf82MarcEntriesO());
    return sText;
}

const Utf82MarcEntry* FindUtf82Marc(std::string_view sUtf8Character, std::string_view sCharacterSetOut) {
    static const KeyIndex main(Utf82MarcEntries());
    static const KeyIndex variantV(Utf82MarcEntriesV());
    static const KeyIndex variantO(Utf82MarcEntriesO());
    const std::string sKey = HexOf(sUtf8Character);
    if (sKey.empty()) return nullptr;
    const Utf82MarcEntry* found = nullptr;
    if (sCharacterSetOut == "V") found = variantV.Find(sKey);
    if (sCharacterSetOut == "O") found = variantO.Find(sKey);
    return found ? found : main.Find(sKey);
}

}  // namespace marc8
