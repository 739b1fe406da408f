// The record's MARC-8 members around the field translations: the designation of a table code.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chars/utf8_char.h"
#include "marc/record/marc_record.h"
#include "marc8/escape_designation.h"
#include "marc8/marc8_tables.h"

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
std::size_t ReadReference(const std::string& s, std::size_t at, bool bAnyCase, std::size_t iMaxDigits,
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
    // A reference never makes structure: NUL, the delimiter and the terminators stay text.
    if (cp == 0 || cp == 0x1D || cp == 0x1E || cp == 0x1F) return 0;
    sUtf8 = Utf8Of(cp);
    return digits + 3 + (bSemicolon ? 1 : 0);
}

// Codes under which an ANSEL octet may be a combining mark outside 880 fields.
bool LatinLikeCode(const std::string& sCode) {
    return (sCode.size() == 1 && std::string_view("1234sgbp").find(sCode[0]) != std::string_view::npos) ||
           sCode == ")!E" || sCode == "(!E";
}

bool IsEaccG1(const std::string& sCode) { return sCode == "$)1"; }

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

// U+0314, the Greek set's rough breathing (dasia).
constexpr const char* kRoughBreathing = "\xCC\x94";

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

void Utf8MarcRecordClass::TranslateMarc2Utf8OneFieldFindBreak(std::string& sWork, std::string& sPiece,
                                                             std::string sCharacterSet0, std::string sCharacterSet1,
                                                             std::string& sNextCharacterSet0,
                                                             std::string& sNextCharacterSet1,
                                                             std::string& sUnreadEscape) {
    sUnreadEscape.clear();
    const std::size_t a = sWork.find(marc8::kEscape);
    const std::size_t searchEnd = a == std::string::npos ? sWork.size() : a;
    // A piece that starts with a delimiter keeps it and its code.
    const std::size_t from = !sWork.empty() && sWork[0] == kDelimiter ? std::min<std::size_t>(2, searchEnd) : 0;
    const bool bCutAtDelimiter = a != std::string::npos || sCharacterSet0 != "s" || sCharacterSet1 != "s";
    if (bCutAtDelimiter) {
        const std::size_t d = sWork.find(kDelimiter, from);
        if (d != std::string::npos && d < searchEnd) {
            sPiece = sWork.substr(0, d);
            sWork.erase(0, d);
            sNextCharacterSet0 = "s";
            sNextCharacterSet1 = "s";
            return;
        }
    }
    if (a == std::string::npos) {
        sPiece = std::move(sWork);
        sWork.clear();
        return;
    }
    sPiece = sWork.substr(0, a);
    const marc8::EscapeSequence seq = marc8::ReadEscape(sWork, a);
    if (!seq.complete) {
        // An escape that the field ends inside of: kept for the caller to write as octets.
        sUnreadEscape = sWork.substr(a);
        sWork.clear();
        return;
    }
    sNextCharacterSet0 = sCharacterSet0;
    sNextCharacterSet1 = sCharacterSet1;
    marc8::FollowEscape(seq.designation, sNextCharacterSet0, sNextCharacterSet1);
    sWork.erase(0, a + seq.Length());
    if (!sWork.empty() && sWork[0] == kDelimiter) {
        // An escape directly before a delimiter: the next subfield starts in the basic sets.
        sNextCharacterSet0 = "s";
        sNextCharacterSet1 = "s";
    }
}

std::string Utf8MarcRecordClass::FlushCombiningMarksByClass() {
    // Ascending class; marks of equal class keep their MARC-8 order.
    if (m.CombiningMarkCount <= 0) return "";
    const auto first = m.CombiningMarks.begin() + 1;
    const auto last = first + m.CombiningMarkCount;
    std::stable_sort(first, last, [](const CombiningMarkEntry& x, const CombiningMarkEntry& y) {
        return x.CombiningClass < y.CombiningClass;
    });
    std::string sResult;
    for (auto it = first; it != last; ++it) sResult += it->Mark;
    m.CombiningMarkCount = 0;
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
    Utf8CharClass& chars = *m.MyUtf8Char;
    // Inside a record run the octets are in the set the record came in; outside one (the RTF
    // writer) in the set the record is held in.
    const std::string& sSetIn = m.Marc8ToUtf8RecordRun ? m.CharacterSetInEffective : m.CharacterSetOut;
    const bool bEaccG0 = sMarc8CharacterSetCode0 == "$1";
    // Octets from 0x80 take the width of the G1 set: three under an East Asian G1 designation,
    // or under ESC "$1" until another G1 set is designated.
    const bool bEaccG1 = IsEaccG1(sMarc8CharacterSetCode1) || sMarc8CharacterSetCode1 == "$1";
    const bool b880 = sTag == "880";
    std::string sOut;
    sOut.reserve(sText.size() * 2);
    std::string sUtf8;
    std::string sOctets;
    const bool bSetV = sSetIn == "V";
    std::string sLookupCode;
    std::optional<marc8::Designation> lookup;
    auto writeRejected = [&](std::string_view octets) {
        sOut += "[MARC+";
        for (char c : octets) sOut += chars.Char2Hex(std::string(1, c));
        sOut += "]";
    };
    std::size_t i = 0;
    const std::size_t n = sText.size();
    while (i < n) {
        const unsigned char octet = OctetOf(sText, i);
        const bool bFromG0 = octet < 0x80;
        const bool bWide = bFromG0 ? bEaccG0 : bEaccG1;
        if (!bWide && sText[i] == '&') {
            const std::size_t len = ReadReference(sText, i, false, 6, true, sUtf8);
            if (len > 0) {
                // The marks before a reference belong to its character.
                sOut += sUtf8;
                sOut += FlushCombiningMarksByClass();
                bChanged = true;
                i += len;
                continue;
            }
        }
        const std::size_t width = bWide ? 3 : 1;
        if (i + width > n) {
            // EACC octets short of a whole character.
            bError = true;
            writeRejected(std::string_view(sText).substr(i));
            break;
        }
        sOctets.assign(sText, i, width);
        std::string sCode = bFromG0 ? sMarc8CharacterSetCode0 : sMarc8CharacterSetCode1;
        if (bWide) {
            if (!bFromG0 && !bEaccG0) {
                for (char& c : sOctets) c = static_cast<char>(static_cast<unsigned char>(c) & 0x7F);
            }
            sCode = "$1";
        }
        bool bOneChanged = false;
        bool bCharacterError = false;
        if (!bWide && sCode != sLookupCode) {
            sLookupCode = sCode;
            lookup = marc8::FindDesignation(sCode);
        }
        if (!bWide && lookup && lookup->set != marc8::Marc8Set::Eacc) {
            // A single-octet set: one look-up in its table, as the one-character translation
            // makes it.
            unsigned char o = octet;
            if (lookup->shift == marc8::OctetShift::Lower && o >= 0x80) o = static_cast<unsigned char>(o - 0x80);
            else if (lookup->shift == marc8::OctetShift::Raise && o < 0x80) o = static_cast<unsigned char>(o + 0x80);
            const char16_t cp = marc8::SetTableOf(lookup->set, bSetV)[o];
            if (cp == 0) {
                bCharacterError = true;
                sUtf8.clear();
            } else {
                sUtf8 = Utf8Of(cp);
                bOneChanged = !(sUtf8.size() == 1 && static_cast<unsigned char>(sUtf8[0]) == o);
            }
        } else {
            chars.TranslateMarc2Utf8OneCharacter(sSetIn, sCode, sOctets, sUtf8, bOneChanged, bCharacterError);
        }
        i += width;
        if (bCharacterError) {
            bError = true;
            writeRejected(std::string_view(sText).substr(i - width, width));
            continue;
        }
        if (bOneChanged) bChanged = true;
        if (sUtf8.size() == 1 && sUtf8[0] == kDelimiter) {
            sOut += FlushCombiningMarksByClass();
            sOut += sUtf8;
            continue;
        }
        bool bMayBeMark = bWide || LatinLikeCode(sCode) || b880;
        const bool bGreekSet = sCode == "8" || sCode == "(S" || sCode == ")S";
        if (!bMayBeMark && bGreekSet) {
            bMayBeMark = sUtf8 == chars.Utf8Alpha() || sUtf8 == chars.Utf8Beta() || sUtf8 == chars.Utf8Gamma();
            // The Greek set's own marks (0x21 to 0x27 of either half) precede their base as
            // ANSEL's do.
            const unsigned char position = octet & 0x7F;
            bMayBeMark = bMayBeMark || (position >= 0x21 && position <= 0x27);
        }
        if (bMayBeMark && sUtf8 == kRoughBreathing) {
            // The rough breathing is no ANSEL mark: it has a class of its own here.
            CollectCombiningMark(sUtf8, std::string(kRoughBreathing) + "230");
            bChanged = true;
            continue;
        }
        if (bMayBeMark && sUtf8.size() > 1 &&
            (m.Utf8DiacriticsAbove.find(sUtf8) != std::string::npos ||
             m.Utf8DiacriticsBelow.find(sUtf8) != std::string::npos)) {
            CollectCombiningMark(sUtf8, m.Utf8DiacriticClasses);
            bChanged = true;
            continue;
        }
        sOut += sUtf8;
        sOut += FlushCombiningMarksByClass();
    }
    sOut += FlushCombiningMarksByClass();
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

void Utf8MarcRecordClass::TranslateMarc2Utf8OneField(std::string sMarcRecordFormat, std::string sTag,
                                                     std::string& sIndicators, std::string& sField, bool& bChanged,
                                                     bool& bError) {
    // The nonfiling count: marks at the end of the skipped zone belong to the first filing
    // character, so they leave the count.
    int iIndicator = 0;
    if (sMarcRecordFormat == "A") {
        if (sTag == "130" || sTag == "430" || sTag == "530") iIndicator = 2;
    } else if (sMarcRecordFormat != "H") {
        if (sTag == "130" || sTag == "430" || sTag == "630" || sTag == "730") iIndicator = 1;
        if (sTag == "222" || sTag == "240" || sTag == "242" || sTag == "243" || sTag == "245" || sTag == "440" ||
            sTag == "830")
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

    std::string sWork = sField;
    std::string sPiece;
    std::string sCode0 = "s";
    std::string sCode1 = "s";
    std::string sNext0 = "s";
    std::string sNext1 = "s";
    std::string sUnreadEscape;
    std::string sWaiting;
    std::string sTrailing;
    std::string sOut;
    sOut.reserve(sField.size() * 2);
    bool bPieceChanged = false;
    Utf8CharClass& chars = *m.MyUtf8Char;
    TranslateMarc2Utf8OneFieldFindBreak(sWork, sPiece, sCode0, sCode1, sNext0, sNext1, sUnreadEscape);
    for (;;) {
        sTrailing.clear();
        if (sCode1 == "s" || sCode1 == ")!E" || sCode1 == "(!E") {
            // Marks that end the piece wait for the first character of the next one.
            std::size_t start = sPiece.size();
            while (start > 0 && m.Marc8Diacritics.find(sPiece[start - 1]) != std::string::npos) --start;
            if (start < sPiece.size()) {
                m.CombiningMarkCount = 0;
                for (std::size_t k = start; k < sPiece.size(); ++k) {
                    chars.Marc8Char(std::string(1, sPiece[k]));
                    CollectCombiningMark(chars.Utf8Char(), m.Utf8DiacriticClasses);
                }
                sPiece.erase(start);
                sTrailing = FlushCombiningMarksByClass();
            }
        }
        TranslateMarc2Utf8Text(sCode0, sCode1, sTag, sPiece, bPieceChanged, bError);
        if (!sWaiting.empty()) {
            if (sPiece.empty()) {
                sTrailing = sWaiting + sTrailing;
            } else if (sPiece[0] == kDelimiter) {
                // No base before the delimiter: the marks stay before it.
                sOut += sWaiting;
            } else {
                const std::size_t first = static_cast<std::size_t>(std::max<int16_t>(1, chars.Utf8CharOctets(sPiece)));
                sPiece.insert(std::min(first, sPiece.size()), sWaiting);
            }
            sWaiting.clear();
        }
        sOut += sPiece;
        if (sWork.empty()) break;
        sCode0 = sNext0;
        sCode1 = sNext1;
        TranslateMarc2Utf8OneFieldFindBreak(sWork, sPiece, sCode0, sCode1, sNext0, sNext1, sUnreadEscape);
        sWaiting = std::move(sTrailing);
    }
    if (!sTrailing.empty()) {
        // Marks with no base character left in the field.
        sOut += sTrailing;
        bError = true;
    }
    if (!sUnreadEscape.empty()) {
        sOut += "[MARC+";
        for (char c : sUnreadEscape) sOut += chars.Char2Hex(std::string(1, c));
        sOut += "]";
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
    if (sTag != "880") return sOut;
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
        if (iField >= iCount || sTag == "005" || sTag == "006" || sTag == "007" || sTag == "008") continue;
        // The flags are cleared once for the walk: after the first changed field every field is
        // written back.
        TranslateMarc2Utf8OneField(sFormat, sTag, sIndicators, sField, bChanged, bError);
        if (bChanged) {
            FldChange(sTag, sIndicators, sField);
            m.MarcRecordTranslated = true;
        }
        FldPointer(iField);
    }
    while (FldFindFirst("066", "")) FldDelete();
    if (m.Leader.size() >= 10) m.Leader[9] = 'a';
}
