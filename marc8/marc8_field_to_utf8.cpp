// The record's MARC-8 members around the field translations: the designation of a table code.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chars/utf8_char.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc8/escape_designation.h"
#include "marc8/marc8_tables.h"

using marc8::SameCode;

std::string Utf8MarcRecordClass::TranslateUtf82MarcShortCodeToLong(const std::string& sShortCharacterSetCode) const {
    if (sShortCharacterSetCode.size() != 1) return sShortCharacterSetCode;
    switch (sShortCharacterSetCode[0]) {
        case '1': return "(B";
        case '2': return "s";
        case '3': return "b";
        case '4': return "p";
        case '5': return "(2";
        case '6': return "(N";
        case '7': return "(3";
        case '8': return "(S";
        case '9': return "$1";
        case ':': return ")Q";
        case ';': return ")4";
        default: return sShortCharacterSetCode;
    }
}

// ---------------------------------------------------------------- MARC-8 fields to UTF-8

namespace {

constexpr char kDelimiter = '\x1F';

unsigned char OctetOf(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// UTF-8 of a Unicode scalar value (no surrogates, at most 10FFFF).
std::string Utf8Of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

bool IsSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// A reference "&#x" hex-digits ";" at `at` (any case of x when bAnyCase): its length and the UTF-8
// of its character. Accepted: 1 to iMaxDigits hex digits of a scalar value, or (with more than 4
// allowed) the 8 digits of a surrogate pair as the MARC-8 writer puts them, of any character but
// the record's control characters. Anything else: 0.
std::size_t ReadReference(std::string_view s, std::size_t at, bool bAnyCase, std::size_t iMaxDigits,
                          bool bSemicolonRequired, std::string& sUtf8) {
    if (at + 3 > s.size() || s[at] != '&' || s[at + 1] != '#') return 0;
    if (!(s[at + 2] == 'x' || (bAnyCase && s[at + 2] == 'X'))) return 0;
    std::size_t i = at + 3;
    uint64_t value = 0;
    while (i < s.size() && i - (at + 3) < 9 && HexValue(s[i]) >= 0) value = value * 16 + static_cast<uint64_t>(HexValue(s[i++]));
    const std::size_t digits = i - (at + 3);
    if (digits == 0 || i >= s.size()) return 0;  // no digits, or the text ends inside the reference
    const bool bSemicolon = s[i] == ';';
    if (bSemicolonRequired && !bSemicolon) return 0;
    char32_t cp = 0;
    if (digits == 8 && iMaxDigits > 4 && bSemicolon) {
        const auto high = static_cast<char32_t>(value >> 16);
        const auto low = static_cast<char32_t>(value & 0xFFFF);
        if (high < 0xD800 || high > 0xDBFF || low < 0xDC00 || low > 0xDFFF) return 0;
        cp = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
    } else {
        if (digits > iMaxDigits || value > 0x10FFFF || IsSurrogate(static_cast<char32_t>(value))) return 0;
        cp = static_cast<char32_t>(value);
    }
    // A reference never makes structure: NUL, ESC, the delimiter and the terminators stay text.
    if (cp == 0 || cp == 0x1B || cp == 0x1D || cp == 0x1E || cp == 0x1F) return 0;
    sUtf8 = Utf8Of(cp);
    return digits + 3 + (bSemicolon ? 1 : 0);
}

// Codes under which an ANSEL octet may be a combining mark outside 880 fields.
bool LatinLikeCode(const std::string& sCode) {
    return (sCode.size() == 1 && std::string_view("1234sgbp").find(sCode[0]) != std::string_view::npos) ||
           SameCode(sCode, ")!E") || SameCode(sCode, "(!E");
}

bool IsEaccG1(const std::string& sCode) { return SameCode(sCode, "$)1"); }

// The octets of the run of combining marks (U+0300 to U+036F, U+FE20 to U+FE2F) at `at`.
std::size_t CombiningMarksAt(const std::string& s, std::size_t at) {
    std::size_t q = at;
    for (;;) {
        if (q + 1 < s.size() && (OctetOf(s, q) == 0xCC || (OctetOf(s, q) == 0xCD && OctetOf(s, q + 1) <= 0xAF))) {
            q += 2;
        } else if (q + 2 < s.size() && OctetOf(s, q) == 0xEF && OctetOf(s, q + 1) == 0xB8 && OctetOf(s, q + 2) >= 0xA0 &&
                   OctetOf(s, q + 2) <= 0xAF) {
            q += 3;
        } else {
            return q - at;
        }
    }
}

}  // namespace

void Utf8MarcRecordClass::TranslateMarc2Utf8OneField_Save(std::string, std::string, std::string&, std::string&, bool&,
                                                          bool&) {}

void Utf8MarcRecordClass::TranslateMarc2Utf8OneFieldFindBreak_Save(std::string&, std::string&, std::string,
                                                                   std::string&) {}

void Utf8MarcRecordClass::ClassifyTextOctets(std::string sText, bool& b20To2F, bool& b30To3F, bool& bOther) {
    b20To2F = b30To3F = bOther = false;
    for (char c : sText) {
        const auto octet = static_cast<unsigned char>(c);
        if (octet >= 0x20 && octet <= 0x2F) b20To2F = true;
        else if (octet >= 0x30 && octet <= 0x3F) b30To3F = true;
        else bOther = true;
    }
}

void Utf8MarcRecordClass::TranslateMarc2Utf8OneFieldFindBreakAdjustCode(std::string& sNextCharacterSet,
                                                                        int32_t iEscape, std::string& sWork) {
    // The designation is read whole by the one escape reader; sNextCharacterSet gets its code.
    const auto at = static_cast<std::size_t>(iEscape - 1);
    const marc8::EscapeSequence seq = marc8::ReadEscape(sWork, at);
    sNextCharacterSet = marc8::CodeOfDesignation(seq.designation);
    sWork.erase(0, std::min(sWork.size(), at + seq.Length()));
}

void Utf8MarcRecordClass::TranslateMarc2Utf8OneFieldFindBreak(const std::string& sField, std::size_t& iAt,
                                                             std::size_t& iPieceEnd,
                                                             const std::string& sCharacterSet0,
                                                             const std::string& sCharacterSet1,
                                                             std::string& sNextCharacterSet0,
                                                             std::string& sNextCharacterSet1,
                                                             std::string& sUnreadEscape) {
    sUnreadEscape.clear();
    const std::size_t start = iAt;
    const std::size_t a = sField.find(marc8::kEscape, start);
    const std::size_t searchEnd = a == std::string::npos ? sField.size() : a;
    // A piece that starts with a delimiter keeps it and its code.
    const std::size_t from =
        start < sField.size() && sField[start] == kDelimiter ? std::min(start + 2, searchEnd) : start;
    const bool bCutAtDelimiter =
        a != std::string::npos || !SameCode(sCharacterSet0, "s") || !SameCode(sCharacterSet1, "s");
    if (bCutAtDelimiter) {
        const std::size_t d = sField.find(kDelimiter, from);
        if (d != std::string::npos && d < searchEnd) {
            iPieceEnd = d;
            iAt = d;
            sNextCharacterSet0 = "s";
            sNextCharacterSet1 = "s";
            return;
        }
    }
    if (a == std::string::npos) {
        iPieceEnd = iAt = sField.size();
        return;
    }
    iPieceEnd = a;
    const marc8::EscapeSequence seq = marc8::ReadEscape(sField, a);
    sNextCharacterSet0 = sCharacterSet0;
    sNextCharacterSet1 = sCharacterSet1;
    if (seq.complete) {
        marc8::FollowEscape(seq.designation, sNextCharacterSet0, sNextCharacterSet1);
    } else {
        // An escape cut by the end of the field, a delimiter, a terminator or another escape:
        // kept for the caller to write as octets; the sets stay, and the octet that cut it is read.
        sUnreadEscape.assign(sField, a, seq.Length());
    }
    iAt = a + seq.Length();
    if (iAt < sField.size() && sField[iAt] == kDelimiter) {
        // An escape directly before a delimiter: the next subfield starts in the basic sets.
        sNextCharacterSet0 = "s";
        sNextCharacterSet1 = "s";
    }
}

namespace {

// UTF-8 of a code point of the single-octet tables into `out`; its length.
std::size_t EncodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
}

// The code point of a text that is exactly one whole UTF-8 character of two to four octets.
bool DecodeOneCharacter(std::string_view s, char32_t& cp) {
    if (s.size() < 2 || s.size() > 4) return false;
    const unsigned char lead = static_cast<unsigned char>(s[0]);
    const std::size_t n = lead >= 0xF0 && lead <= 0xF4 ? 4
                          : lead >= 0xE0              ? 3
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
    if (n != s.size()) return false;
    cp = lead & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[k]);
        if ((c & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    return true;
}

// The class that the list of classes gives a mark: the three digits after its first occurrence;
// -1 where the list does not hold it.
int16_t ClassInList(std::string_view sClassList, std::string_view sMark) {
    const std::size_t at = sMark.empty() ? 0 : sClassList.find(sMark);
    if (at == std::string_view::npos) return -1;
    return static_cast<int16_t>(rt::Digits(sClassList.substr(at + sMark.size(), 3), rt::DigitSkip::Nothing));
}

constexpr int16_t kNoMark = -2;

void BuildMarkClasses(Utf8MarcRecordState& m) {
    Utf8MarkClassTable& table = m.Utf8MarkClasses;
    table.Built = true;
    table.Exact = true;
    table.Marks.clear();
    for (const std::string* list : {&m.Utf8DiacriticsAbove, &m.Utf8DiacriticsBelow}) {
        const std::string_view s(*list);
        for (std::size_t i = 0; i < s.size();) {
            const unsigned char lead = static_cast<unsigned char>(s[i]);
            const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            char32_t cp = 0;
            if (n == 1 || !DecodeOneCharacter(s.substr(i, n), cp)) {
                // Not whole characters of two octets and more: the lists are searched as text.
                table.Exact = false;
                table.Marks.clear();
                return;
            }
            table.Marks.emplace_back(cp, ClassInList(m.Utf8DiacriticClasses, s.substr(i, n)));
            i += n;
        }
    }
    // The first occurrence of a mark gives its class, so equal marks keep the first.
    std::stable_sort(table.Marks.begin(), table.Marks.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    table.Marks.erase(std::unique(table.Marks.begin(), table.Marks.end(),
                                  [](const auto& x, const auto& y) { return x.first == y.first; }),
                      table.Marks.end());
}

// One mark of a known class into the record's combining-mark buffer.
void CollectMark(Utf8MarcRecordState& m, std::string_view sMark, int16_t iClass) {
    ++m.CombiningMarkCount;
    if (m.CombiningMarkSlots < m.CombiningMarkCount) {
        m.CombiningMarkSlots += 5;
        m.CombiningMarks.resize(static_cast<size_t>(m.CombiningMarkSlots) + 1);
    }
    CombiningMarkEntry& entry = m.CombiningMarks[static_cast<size_t>(m.CombiningMarkCount)];
    entry.Mark.assign(sMark);
    entry.CombiningClass = iClass;
    entry.Sequence = m.CombiningMarkCount;
}

// The marks collected so far, in ascending class (equal classes in MARC-8 order), onto sOut.
void FlushMarks(Utf8MarcRecordState& m, std::string& sOut) {
    if (m.CombiningMarkCount <= 0) return;
    const auto first = m.CombiningMarks.begin() + 1;
    const auto last = first + m.CombiningMarkCount;
    if (m.CombiningMarkCount > 1) {
        std::stable_sort(first, last, [](const CombiningMarkEntry& x, const CombiningMarkEntry& y) {
            return x.CombiningClass < y.CombiningClass;
        });
    }
    for (auto it = first; it != last; ++it) sOut += it->Mark;
    m.CombiningMarkCount = 0;
}

// Octets that are no character, as "[MARC+" and their hex digits "]".
void WriteMarker(const Utf8CharClass& chars, std::string_view octets, std::string& sOut) {
    sOut += "[MARC+";
    for (char c : octets) sOut += chars.Char2Hex(std::string(1, c));
    sOut += "]";
}

// Reads MARC-8 text into UTF-8, piece by piece, into the caller's buffer: a table look-up per
// octet in the single-octet sets, a search of the one EACC table for the East Asian set, and the
// combining marks, which precede their base character in MARC-8, put behind it in canonical
// order. The one-character translation of the character object serves what the tables do not
// hold (a code that selects no set).
class Marc8TextReader {
public:
    Marc8TextReader(Utf8MarcRecordState& state, Utf8CharClass& chars, bool b880)
        : m(state),
          chars(chars),
          // Inside a record run the octets are in the set the record came in; outside one (the RTF
          // writer) in the set the record is held in.
          sSetIn(state.Marc8ToUtf8RecordRun ? state.CharacterSetInEffective : state.CharacterSetOut),
          bSetV(SameCode(sSetIn, "V")),
          b880(b880) {
        if (!m.Utf8MarkClasses.Built) BuildMarkClasses(m);
    }

    // The UTF-8 of `text`, read in the sets sCode0 (octets below 0x80) and sCode1 (from 0x80),
    // appended to sOut. bChanged and bError are set, never cleared. Marks already in the record's
    // mark buffer go with the text's first base character, before its own marks of equal class.
    // Marks that the text ends with stay in the buffer when bHoldMarks (their base follows in the
    // next piece), else go onto sOut.
    void Append(const std::string& sCode0, const std::string& sCode1, std::string_view text, std::string& sOut,
                bool& bChanged, bool& bError, bool bHoldMarks = false);

private:
    // What octets of one half (G0 below 0x80, G1 from 0x80) are read in.
    struct Half {
        bool wide = false;  // three octets a character, East Asian
        std::string code;   // the code of the set, "$1" when wide
        const marc8::SetTable* table = nullptr;  // the single-octet set, when the code selects one
        marc8::OctetShift shift = marc8::OctetShift::None;
        bool mayBeMark = false;  // a character of the set may be a combining mark
        bool scriptMarks = false;  // the set holds marks of its own, found by octet
        marc8::Marc8Set set = marc8::Marc8Set::Latin;
        bool prepared = false;
    };
    void Prepare(Half& half, const std::string& sCode, bool bWide);
    // -2 no mark, -1 a mark without a class, else its class.
    int16_t MarkClass(std::string_view sUtf8, char32_t cp, bool bHaveCodePoint) const;
    void WriteRejected(std::string_view octets, std::string& sOut) const;

    Utf8MarcRecordState& m;
    Utf8CharClass& chars;
    const std::string& sSetIn;
    const bool bSetV;
    const bool b880;
    // The East Asian designation reads three octets as they stand in the one EACC table.
    inline static const bool bEaccByTable = [] {
        const auto eacc = marc8::FindDesignation("$1");
        return eacc && eacc->set == marc8::Marc8Set::Eacc && eacc->shift == marc8::OctetShift::None;
    }();
    Half g0;
    Half g1;
    std::array<Half, 6> seenSets;  // the first single-octet sets met
    std::size_t iSeenSets = 0;
    std::string sUtf8;   // the character object's answer
    std::string sOctets;
};

void Marc8TextReader::Prepare(Half& half, const std::string& sCode, bool bWide) {
    // The pieces of a field mostly keep the sets of the piece before.
    if (half.prepared && half.wide == bWide && (bWide || SameCode(half.code, sCode))) return;
    if (!bWide) {
        // A field goes back and forth between few sets: each is looked up once.
        for (std::size_t k = 0; k < iSeenSets; ++k) {
            if (SameCode(seenSets[k].code, sCode)) {
                half = seenSets[k];
                return;
            }
        }
    }
    half.prepared = true;
    half.wide = bWide;
    half.code = bWide ? std::string("$1") : sCode;
    half.table = nullptr;
    half.shift = marc8::OctetShift::None;
    half.scriptMarks = false;
    if (bWide) {
        half.mayBeMark = true;
        return;
    }
    const auto lookup = marc8::FindDesignation(sCode);
    if (lookup && lookup->set != marc8::Marc8Set::Eacc) {
        half.table = &marc8::SetTableOf(lookup->set, bSetV);
        half.shift = lookup->shift;
        half.set = lookup->set;
        half.scriptMarks = lookup->set == marc8::Marc8Set::Greek || lookup->set == marc8::Marc8Set::Hebrew ||
                           lookup->set == marc8::Marc8Set::BasicArabic || lookup->set == marc8::Marc8Set::ExtendedArabic;
    }
    half.mayBeMark = LatinLikeCode(sCode) || b880;
    if (iSeenSets < seenSets.size()) seenSets[iSeenSets++] = half;
}

int16_t Marc8TextReader::MarkClass(std::string_view sUtf8, char32_t cp, bool bHaveCodePoint) const {
    const Utf8MarkClassTable& table = m.Utf8MarkClasses;
    if (table.Exact && (bHaveCodePoint || DecodeOneCharacter(sUtf8, cp))) {
        const auto it = std::lower_bound(table.Marks.begin(), table.Marks.end(), cp,
                                         [](const auto& entry, char32_t value) { return entry.first < value; });
        return it != table.Marks.end() && it->first == cp ? it->second : kNoMark;
    }
    if (m.Utf8DiacriticsAbove.find(sUtf8) == std::string::npos &&
        m.Utf8DiacriticsBelow.find(sUtf8) == std::string::npos)
        return kNoMark;
    return ClassInList(m.Utf8DiacriticClasses, sUtf8);
}

void Marc8TextReader::WriteRejected(std::string_view octets, std::string& sOut) const {
    WriteMarker(chars, octets, sOut);
}

void Marc8TextReader::Append(const std::string& sCode0, const std::string& sCode1, std::string_view text,
                             std::string& sOut, bool& bChanged, bool& bError, bool bHoldMarks) {
    const bool bEaccG0 = SameCode(sCode0, "$1");
    // Octets from 0x80 take the width of the G1 set: three under an East Asian G1 designation,
    // or under ESC "$1" until another G1 set is designated.
    const bool bEaccG1 = IsEaccG1(sCode1) || SameCode(sCode1, "$1");
    Prepare(g0, sCode0, bEaccG0);
    Prepare(g1, sCode1, bEaccG1);
    char buffer[4];
    std::string sReference;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const unsigned char octet = static_cast<unsigned char>(text[i]);
        const bool bFromG0 = octet < 0x80;
        const Half& half = bFromG0 ? g0 : g1;
        if (!half.wide && octet == '&') {
            const std::size_t len = ReadReference(text, i, false, 6, true, sReference);
            if (len > 0) {
                // The marks before a reference belong to its character.
                sOut += sReference;
                FlushMarks(m, sOut);
                bChanged = true;
                i += len;
                continue;
            }
        }
        if (bFromG0 && half.table && half.shift == marc8::OctetShift::None) {
            // A run of octets the set reads as themselves (no set holds 0x00) is copied whole;
            // marks waiting go behind its first character.
            std::size_t j = i;
            while (j < n) {
                const unsigned char o = static_cast<unsigned char>(text[j]);
                if (o == 0 || o >= 0x80 || o == kDelimiter || (*half.table)[o] != o) break;
                if (o == '&' && j + 1 < n && text[j + 1] == '#') break;  // perhaps a reference
                ++j;
            }
            if (j > i) {
                sOut += text[i];
                FlushMarks(m, sOut);
                sOut.append(text.data() + i + 1, j - i - 1);
                i = j;
                continue;
            }
        }
        if (half.wide && bFromG0 &&
            (marc8::IsEaccBlank(octet) || (i + 3 > n && marc8::IsEaccLatinTail(text.substr(i))))) {
            // A blank where an East Asian character would start, and basic punctuation that ends
            // the run short of a character, are basic Latin.
            sOut += text[i];
            FlushMarks(m, sOut);
            ++i;
            continue;
        }
        const std::size_t width = half.wide ? 3 : 1;
        if (i + width > n) {
            // EACC octets short of a whole character.
            bError = true;
            WriteRejected(text.substr(i), sOut);
            break;
        }
        std::string_view utf8;
        char32_t cp = 0;
        bool bHaveCodePoint = false;
        bool bOneChanged = false;
        bool bCharacterError = false;
        int iScriptMarkClass = -1;
        if (half.table) {
            // A single-octet set: one look-up in its table.
            unsigned char o = octet;
            if (half.shift == marc8::OctetShift::Lower && o >= 0x80) o = static_cast<unsigned char>(o - 0x80);
            else if (half.shift == marc8::OctetShift::Raise && o < 0x80) o = static_cast<unsigned char>(o + 0x80);
            cp = (*half.table)[o];
            if (half.scriptMarks) iScriptMarkClass = marc8::ScriptMarkClass(half.set, o);
            if (cp == 0) {
                bCharacterError = true;
            } else {
                bHaveCodePoint = true;
                utf8 = std::string_view(buffer, EncodeUtf8(cp, buffer));
                bOneChanged = !(utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) == o);
            }
        } else if (half.wide && bEaccByTable) {
            uint32_t lCode = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                unsigned char c = static_cast<unsigned char>(text[i + k]);
                if (!bFromG0 && !bEaccG0) c &= 0x7F;
                buffer[k] = static_cast<char>(c);
                lCode = (lCode << 8) | c;
            }
            const marc8::EaccEntry* const end = marc8::EaccTable + marc8::kEaccEntryCount;
            const marc8::EaccEntry* it =
                std::lower_bound(marc8::EaccTable, end, lCode,
                                 [](const marc8::EaccEntry& entry, uint32_t code) { return entry.eacc < code; });
            if (it == end || it->eacc != lCode) {
                bCharacterError = true;
            } else {
                const std::string_view octets(buffer, 3);
                sUtf8.clear();
                for (int shift = 24; shift >= 0; shift -= 8) {
                    const auto c = static_cast<unsigned char>(it->utf8 >> shift);
                    if (c != 0 || !sUtf8.empty()) sUtf8 += static_cast<char>(c);
                }
                bOneChanged = sUtf8 != octets;
                utf8 = sUtf8;
            }
        } else {
            sOctets.assign(text.data() + i, width);
            if (half.wide && !bFromG0 && !bEaccG0) {
                for (char& c : sOctets) c = static_cast<char>(static_cast<unsigned char>(c) & 0x7F);
            }
            chars.TranslateMarc2Utf8OneCharacter(sSetIn, half.code, sOctets, sUtf8, bOneChanged, bCharacterError);
            utf8 = sUtf8;
        }
        i += width;
        if (bCharacterError) {
            bError = true;
            WriteRejected(text.substr(i - width, width), sOut);
            continue;
        }
        if (bOneChanged) bChanged = true;
        if (utf8.size() == 1 && utf8[0] == kDelimiter) {
            FlushMarks(m, sOut);
            sOut += utf8;
            continue;
        }
        if (iScriptMarkClass >= 0) {
            // The marks of the Greek, Hebrew and Arabic sets precede their base as ANSEL's do,
            // in every field.
            CollectMark(m, utf8, static_cast<int16_t>(iScriptMarkClass));
            bChanged = true;
            continue;
        }
        if (half.mayBeMark && utf8.size() > 1) {
            const int16_t iClass = MarkClass(utf8, cp, bHaveCodePoint);
            if (iClass != kNoMark) {
                // A mark the list of classes lacks is dropped.
                if (iClass >= 0) CollectMark(m, utf8, iClass);
                bChanged = true;
                continue;
            }
        }
        sOut += utf8;
        FlushMarks(m, sOut);
    }
    if (!bHoldMarks) FlushMarks(m, sOut);
}

}  // namespace

std::string Utf8MarcRecordClass::FlushCombiningMarksByClass() {
    std::string sResult;
    FlushMarks(m, sResult);
    return sResult;
}

void Utf8MarcRecordClass::TranslateMarc2Utf8Text(std::string& sMarc8CharacterSetCode0,
                                                 std::string& sMarc8CharacterSetCode1, std::string sTag,
                                                 std::string& sText, bool& bChanged, bool& bError) {
    m.CombiningMarkCount = 0;
    if (sText.empty()) {
        bChanged = false;
        return;
    }
    std::string sOut;
    sOut.reserve(sText.size() * 2);
    Marc8TextReader(m, SharedChar(), SameCode(sTag, "880"))
        .Append(sMarc8CharacterSetCode0, sMarc8CharacterSetCode1, sText, sOut, bChanged, bError);
    sText = std::move(sOut);
}

void Utf8MarcRecordClass::TranslateHexCharacterReferences(std::string& sText) {
    // References the piece translation left: upper-case X, no ";" (ended by another character), or
    // split by an escape. One to four hex digits of a character; anything else stays text.
    // Marks that stood before the reference in MARC-8 were put behind its "&" by the piece
    // translation; they go behind the character.
    if (sText.size() < 3) return;
    std::string sUtf8;
    std::string sReference;
    for (std::size_t p = sText.size() - 3 + 1; p-- > 0;) {
        if (sText[p] != '&') continue;
        const std::size_t marks = CombiningMarksAt(sText, p + 1);
        if (marks == 0) {
            const std::size_t len = ReadReference(sText, p, true, 4, false, sUtf8);
            if (len > 0) sText.replace(p, len, sUtf8);
            continue;
        }
        sReference = "&" + sText.substr(p + 1 + marks, 16);
        const std::size_t len = ReadReference(sReference, 0, true, 4, false, sUtf8);
        if (len > 0) sText.replace(p, marks + len, sUtf8 + sText.substr(p + 1, marks));
    }
}

namespace {

// The octets below 0x80 that the basic Latin set reads as themselves, for the set "V" (1) and the
// others (0), leaving out the escape.
const std::array<bool, 128>& PlainLatinOctets(bool bSetV) {
    static const auto tables = [] {
        std::array<std::array<bool, 128>, 2> result{};
        const auto latin = marc8::FindDesignation("s");
        for (int v = 0; v < 2; ++v) {
            if (!latin || latin->shift != marc8::OctetShift::None) continue;
            const marc8::SetTable& table = marc8::SetTableOf(latin->set, v == 1);
            for (unsigned o = 0; o < 128; ++o) result[v][o] = table[o] == o && o != 0 && o != 0x1B;
        }
        return result;
    }();
    return tables[bSetV ? 1 : 0];
}

}  // namespace

void Utf8MarcRecordClass::TranslateMarc2Utf8OneField(std::string sMarcRecordFormat, std::string sTag,
                                                     std::string& sIndicators, std::string& sField, bool& bChanged,
                                                     bool& bError) {
    // The nonfiling count: marks at the end of the skipped zone belong to the first filing
    // character, so they leave the count.
    int iIndicator = 0;
    if (SameCode(sMarcRecordFormat, "A")) {
        if (SameCode(sTag, "130") || SameCode(sTag, "430") || SameCode(sTag, "530")) iIndicator = 2;
    } else if (!SameCode(sMarcRecordFormat, "H")) {
        if (SameCode(sTag, "130") || SameCode(sTag, "430") || SameCode(sTag, "630") || SameCode(sTag, "730"))
            iIndicator = 1;
        if (SameCode(sTag, "222") || SameCode(sTag, "240") || SameCode(sTag, "242") || SameCode(sTag, "243") ||
            SameCode(sTag, "245") || SameCode(sTag, "440") || SameCode(sTag, "830"))
            iIndicator = 2;
    }
    if (iIndicator > 0 && sIndicators.size() >= static_cast<std::size_t>(iIndicator)) {
        const char cCount = sIndicators[static_cast<std::size_t>(iIndicator - 1)];
        const std::size_t n = cCount >= '0' && cCount <= '9' ? static_cast<std::size_t>(cCount - '0') : 0;
        if (n >= 1) {
            const std::size_t head = std::min<std::size_t>(2, sField.size());
            std::size_t zone = std::min(n, sField.size() - head);
            while (zone > 0 && OctetOf(sField, head + zone - 1) >= 0xE0) --zone;
            if (zone < n) {
                sIndicators[static_cast<std::size_t>(iIndicator - 1)] = static_cast<char>('0' + zone);
                bChanged = true;
            }
        }
    }

    // Most fields are basic Latin throughout: one piece that reads as itself.
    m.CombiningMarkCount = 0;
    const std::string& sSetIn = m.Marc8ToUtf8RecordRun ? m.CharacterSetInEffective : m.CharacterSetOut;
    const std::array<bool, 128>& plain = PlainLatinOctets(SameCode(sSetIn, "V"));
    const auto isPlain = [&plain](char c) {
        const auto octet = static_cast<unsigned char>(c);
        return octet < 0x80 && plain[octet];
    };
    // Without "#" no "&" starts a reference.
    if (std::all_of(sField.begin(), sField.end(), isPlain) &&
        (sField.empty() || m.Marc8Diacritics.find(sField.back()) == std::string::npos) &&
        (sField.find('&') == std::string::npos || sField.find('#') == std::string::npos))
        return;

    Utf8CharClass& chars = SharedChar();
    Marc8TextReader reader(m, chars, SameCode(sTag, "880"));
    std::string sCode0 = "s";
    std::string sCode1 = "s";
    std::string sNext0 = "s";
    std::string sNext1 = "s";
    std::string sUnreadEscape;
    std::string sOut;
    sOut.reserve(sField.size() * 2);
    bool bPieceChanged = false;
    std::size_t iAt = 0;
    std::size_t iPieceStart = 0;
    std::size_t iPieceEnd = 0;
    TranslateMarc2Utf8OneFieldFindBreak(sField, iAt, iPieceEnd, sCode0, sCode1, sNext0, sNext1, sUnreadEscape);
    // Marks with no base yet in their piece stay in the record's mark buffer, with their classes,
    // and go with the first base character of the pieces after it, in one canonical order with
    // that character's own marks.
    for (;;) {
        std::size_t iCutStart = iPieceEnd;
        if (SameCode(sCode1, "s") || SameCode(sCode1, ")!E") || SameCode(sCode1, "(!E")) {
            // Marks that end the piece wait for the first character of the next one.
            while (iCutStart > iPieceStart && m.Marc8Diacritics.find(sField[iCutStart - 1]) != std::string::npos)
                --iCutStart;
        }
        reader.Append(sCode0, sCode1, std::string_view(sField).substr(iPieceStart, iCutStart - iPieceStart), sOut,
                      bPieceChanged, bError, true);
        // The marks cut from the piece's end stood behind the marks the piece left (a Greek
        // breathing before an escape).
        for (std::size_t k = iCutStart; k < iPieceEnd; ++k) {
            chars.Marc8Char(std::string(1, sField[k]));
            CollectCombiningMark(chars.Utf8Char(), m.Utf8DiacriticClasses);
        }
        if (!sUnreadEscape.empty()) {
            // A cut escape ends the piece: the marks before it have no base, and it is a marker.
            FlushMarks(m, sOut);
            WriteMarker(chars, sUnreadEscape, sOut);
            sUnreadEscape.clear();
            bError = true;
        }
        if (iAt >= sField.size()) break;
        sCode0 = sNext0;
        sCode1 = sNext1;
        iPieceStart = iAt;
        TranslateMarc2Utf8OneFieldFindBreak(sField, iAt, iPieceEnd, sCode0, sCode1, sNext0, sNext1, sUnreadEscape);
    }
    if (m.CombiningMarkCount > 0) {
        // Marks with no base character left in the field.
        FlushMarks(m, sOut);
        bError = true;
    }
    // Also "&" with marks behind it and then "#": the marks before a reference.
    if (sOut.find('&') != std::string::npos && sOut.find('#') != std::string::npos) TranslateHexCharacterReferences(sOut);
    if (m.OutputIsUlc) sOut = TranslateMarc2Utf8OneFieldLcPattern(sTag, sOut);
    if (sOut != sField) {
        bChanged = true;
        sField = std::move(sOut);
    }
}

std::string Utf8MarcRecordClass::TranslateMarc2Utf8OneFieldLcPattern(std::string sTag, std::string sOut) {
    if (!SameCode(sTag, "880")) return sOut;
    // Only fields with Hebrew or Arabic.
    bool bRightToLeft = false;
    for (std::size_t i = 0; i + 1 < sOut.size() && !bRightToLeft; ++i) {
        const unsigned char lead = OctetOf(sOut, i);
        if (lead != 0xD7 && lead != 0xD8 && lead != 0xD9 && lead != 0xDA && lead != 0xDB) continue;
        const char32_t cp = (static_cast<char32_t>(lead & 0x1F) << 6) | (OctetOf(sOut, i + 1) & 0x3F);
        bRightToLeft = (cp >= 0x05D0 && cp <= 0x05F4) || (cp >= 0x0600 && cp <= 0x06FF);
    }
    if (!bRightToLeft) return sOut;
    const std::string sRlm = MarcRightToLeftMarker();
    const std::string sLre = m.MyUtf8Char->Utf8LeftToRightEmbedding();
    const std::string sPdf = m.MyUtf8Char->Utf8PopDirectionalFormatting();
    auto endsWithAt = [&](std::size_t end, const std::string& what) {
        return end >= what.size() && sOut.compare(end - what.size(), what.size(), what) == 0;
    };
    for (std::size_t p = sOut.size() - 1; p-- > 0;) {
        if (sOut[p] != kDelimiter) continue;
        const std::size_t q = sOut.find(kDelimiter, p + 1);
        if (q != std::string::npos && !endsWithAt(q, sRlm)) sOut.insert(q, sRlm);
        const char code = sOut[p + 1];
        if (code != '6') {
            if (sOut.compare(p + 2, sRlm.size(), sRlm) != 0) sOut.insert(p + 2, sRlm);
            continue;
        }
        const std::size_t c = sOut.find("\x1F" "c");
        if (sOut.compare(p + 1, 4, "6260") != 0 || c == std::string::npos) continue;
        const std::size_t at = std::min(sOut.size(), c + 2 + sRlm.size());
        if (sOut.compare(at, sLre.size(), sLre) != 0) sOut.insert(at, sLre);
        // The end of the field, where subfield c of a 260 stands: the date closes before its full stop.
        if (endsWithAt(sOut.size(), sPdf)) continue;
        const std::size_t pdfAt = sOut.find(sPdf, c);
        if (pdfAt != std::string::npos && pdfAt + sPdf.size() + 1 == sOut.size() && sOut.back() == '.') continue;
        if (endsWithAt(sOut.size(), "." + sPdf)) continue;
        if (!sOut.empty() && sOut.back() == '.') {
            sOut.insert(sOut.size() - 1, sPdf);
        } else {
            sOut += sPdf;
        }
    }
    return sOut;
}

void Utf8MarcRecordClass::TranslateRecordMarc8ToUtf8() {
    const SfdOrderMemo memo(m);  // the walk changes fields, never the order rules
    const bool bWasUtf8 = m.RecordIsUtf8;
    const int16_t iCurrent = m.FldPointer;
    m.RecordIsUtf8 = true;
    m.Marc8ToUtf8RecordRun = true;
    struct Restore {
        Utf8MarcRecordClass& r;
        bool bUtf8;
        int16_t iField;
        ~Restore() {
            r.m.RecordIsUtf8 = bUtf8;
            r.m.Marc8ToUtf8RecordRun = false;
            r.m.FldPointer = iField;
        }
    } restore{*this, bWasUtf8, iCurrent};

    const int16_t iCount = m.FldCount;
    bool bChanged = false;
    bool bError = false;
    std::string sTag;
    std::string sIndicators;
    std::string sField;
    const std::string sFormat = MarcRecordFormat();
    FldMoveTop();
    while (FldMoveNext(true)) {
        const int16_t iField = m.FldPointer;
        FldLoadInfo(sTag, sIndicators, sField);
        if (iField >= iCount || SameCode(sTag, "005") || SameCode(sTag, "006") || SameCode(sTag, "007") ||
            SameCode(sTag, "008"))
            continue;
        // The flags are cleared once for the walk: after the first changed field every field is
        // written back.
        TranslateMarc2Utf8OneField(sFormat, sTag, sIndicators, sField, bChanged, bError);
        if (bChanged) {
            FldChange(sTag, sIndicators, sField);
            m.MarcRecordTranslated = true;
        }
        FldPointer(iField);
    }
    FldDeleteEvery066();
    if (m.Leader.size() >= 10) m.Leader[9] = 'a';
}
