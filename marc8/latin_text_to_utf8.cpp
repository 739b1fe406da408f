// 8-bit record text to UTF-8 in one pass, and the combining-mark buffer of the translations.
//
// LatinMarc8Text2Utf8 reads text in the record's output set ("V" and "O" as such, any other
// letter as MARC-8): octets from 0x80 through the Latin table of the character object, each
// combining mark moved behind the character that follows it, the escape sequences followed
// (G0 for octets below 0x80, G1 from 0x80), other sets character by character (the Greek,
// Hebrew and Arabic sets' marks moved behind their base as ANSEL's are), and whatever no
// table holds written as "[MARC+" and its octets in hexadecimal.
#include <algorithm>
#include <string_view>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc8/escape_designation.h"
#include "marc8/marc8_tables.h"

namespace {

using marc8::kEscape;

unsigned OctetAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

bool IsCombiningMark(unsigned v) { return (v >= 0xE0 && v <= 0xFB) || v == 0xFE; }

// Whether octet v, read in the set of a designation, is one of that set's own marks.
bool IsScriptMark(std::string_view sDesignation, unsigned v) {
    const auto designation = marc8::FindDesignation(sDesignation);
    if (!designation) return false;
    if (designation->shift == marc8::OctetShift::Lower && v >= 0x80) v -= 0x80;
    else if (designation->shift == marc8::OctetShift::Raise && v < 0x80) v += 0x80;
    return marc8::ScriptMarkClass(designation->set, static_cast<unsigned char>(v)) >= 0;
}

// "[MARC+", two upper-case hexadecimal digits per octet, "]".
std::string UntranslatedOctets(std::string_view octets) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s = "[MARC+";
    for (unsigned char c : octets) {
        s += kHex[c >> 4];
        s += kHex[c & 0x0F];
    }
    return s + "]";
}

}  // namespace

// ---------------------------------------------------------------- 8-bit text to UTF-8

void Utf8MarcRecordClass::LatinMarc8Text2Utf8(std::string& sText, bool& bChanged) {
    // The XML writer hands over text held in the output set.
    const std::string sSet = m.CharacterSetOut == "V" || m.CharacterSetOut == "O" ? m.CharacterSetOut : "M";
    const Utf8CharClass& chars = SharedChar();
    const std::string_view text(sText);

    std::string sOut;
    sOut.reserve(text.size() + text.size() / 2);
    std::string sHeld;  // combining marks waiting for their base character
    auto flushHeld = [&] {
        if (sHeld.empty()) return;
        sOut += sHeld;
        sHeld.clear();
        bChanged = true;
    };
    std::string sUtf8;
    bool bOk = false, bError = false;
    // One character of a set through the character object; false when no table holds it.
    auto translate = [&](const std::string& sDesignation, std::string_view character) {
        chars.TranslateMarc2Utf8OneCharacter(sSet, sDesignation, std::string(character), sUtf8, bOk, bError);
        return !bError;
    };

    std::string sG0 = "s", sG1 = ")!E";
    bool bG0Latin = true, bG1Latin = true;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned v = OctetAt(text, i);
        if (v == static_cast<unsigned char>(kEscape)) {
            const marc8::EscapeSequence esc = marc8::ReadEscape(text, i);
            bChanged = true;  // the escape itself is never written
            if (!esc.complete) {
                // A cut escape (at the end, or before a delimiter, a terminator or ESC) is a
                // marker after the marks before it, and changes no set.
                flushHeld();
                sOut += UntranslatedOctets(text.substr(i, esc.Length()));
                i += esc.Length();
                continue;
            }
            const std::string_view d = esc.designation;
            if (marc8::IsLatinG0(d)) {
                sG0 = "s";
                bG0Latin = true;
            } else if (marc8::IsLatinG1(d)) {
                bG1Latin = true;
            } else if (marc8::DesignatesG1(d)) {
                sG1 = d;
                bG1Latin = false;
            } else {
                sG0 = d;
                bG0Latin = false;
            }
            i += esc.Length();
            continue;
        }

        const bool bG1 = v >= 0x80;
        const bool bLatin = bG1 ? bG1Latin : bG0Latin;
        if (bLatin && !bG1) {
            sOut += static_cast<char>(v);
            flushHeld();
            ++i;
            continue;
        }
        if (bLatin) {
            bChanged = true;
            const std::string_view octet = text.substr(i, 1);
            if (IsCombiningMark(v)) {
                if (translate("1", octet)) sHeld += sUtf8;
            } else {
                sOut += translate("1", octet) ? sUtf8 : UntranslatedOctets(octet);
                flushHeld();
            }
            ++i;
            continue;
        }

        const std::string& sDesignation = bG1 ? sG1 : sG0;
        const bool bOneOctetRun = sDesignation == "g" || sDesignation == "b" || sDesignation == "p";
        // Control octets belong to every set, and so does the blank, except in a run of
        // superscripts, subscripts or Greek symbols, which drops what it does not hold.
        if (!bG1 && (v < 0x20 || (v == 0x20 && !bOneOctetRun))) {
            sOut += static_cast<char>(v);
            flushHeld();
            ++i;
            continue;
        }
        // An East Asian character cut short by an escape ends before it; the escape is read.
        const size_t width = sDesignation[0] == '$' ? 3 : 1;
        std::string_view character = text.substr(i, width);
        if (const size_t cut = character.find(kEscape); cut != std::string_view::npos) character = character.substr(0, cut);
        if (character.size() < width && !bG1 && marc8::IsEaccLatinTail(character)) {
            // Basic punctuation that ends the run short of a character is basic Latin.
            sOut += character;
            flushHeld();
            i += character.size();
            continue;
        }
        if (character.size() < width) {
            sOut += UntranslatedOctets(character);
        } else if (translate(sDesignation, character)) {
            if (IsScriptMark(sDesignation, v)) {
                // The marks of the Greek, Hebrew and Arabic sets wait for their base as ANSEL's do.
                sHeld += sUtf8;
                bChanged = true;
                ++i;
                continue;
            }
            sOut += sUtf8;
        } else if (!bOneOctetRun) {
            sOut += UntranslatedOctets(character);
        }
        bChanged = true;
        flushHeld();
        i += character.size();
    }
    flushHeld();
    if (bChanged) sText = std::move(sOut);
}

// ---------------------------------------------------------------- the combining-mark buffer

void Utf8MarcRecordClass::CollectCombiningMark(std::string sMark, std::string sClassList) {
    const size_t at = sMark.empty() ? 0 : sClassList.find(sMark);
    if (at == std::string::npos) return;
    ++m.CombiningMarkCount;
    if (m.CombiningMarkSlots < m.CombiningMarkCount) {
        m.CombiningMarkSlots += 5;
        m.CombiningMarks.resize(static_cast<size_t>(m.CombiningMarkSlots) + 1);
    }
    CombiningMarkEntry& entry = m.CombiningMarks[static_cast<size_t>(m.CombiningMarkCount)];
    entry.Mark = sMark;
    const std::string_view classText = std::string_view(sClassList).substr(at + sMark.size(), 3);
    entry.CombiningClass = static_cast<int16_t>(rt::Digits(classText, rt::DigitSkip::Nothing));
    entry.Sequence = m.CombiningMarkCount;
}

std::string Utf8MarcRecordClass::FlushCombiningMarks() {
    if (m.CombiningMarkCount <= 0) return "";
    const auto first = m.CombiningMarks.begin() + 1;
    const auto last = first + m.CombiningMarkCount;
    std::string sResult;
    if (m.CombiningMarkCount > 1) {
        // Ascending class; equal classes in arrival order, but class 230 in reverse arrival.
        std::sort(first, last, [](const CombiningMarkEntry& a, const CombiningMarkEntry& b) {
            if (a.CombiningClass != b.CombiningClass) return a.CombiningClass < b.CombiningClass;
            return a.CombiningClass == 230 ? a.Sequence > b.Sequence : a.Sequence < b.Sequence;
        });
    }
    for (auto it = first; it != last; ++it) sResult += it->Mark;
    m.CombiningMarkCount = 0;
    return sResult;
}

// ---------------------------------------------------------------- older members that nothing calls

void Utf8MarcRecordClass::MoveMarc8DiacriticsBehindBase(std::string& sText, bool& bChanged) {
    std::string sOut;
    sOut.reserve(sText.size());
    size_t i = 0;
    bool bMoved = false;
    while (i < sText.size()) {
        size_t run = i;
        while (run < sText.size() && OctetAt(sText, run) >= 0xE0) ++run;
        if (run > i && run < sText.size()) {
            sOut += sText[run];
            sOut.append(sText, i, run - i);
            bMoved = true;
            i = run + 1;
        } else if (run > i) {  // marks that end the text have nothing to follow
            sOut.append(sText, i, run - i);
            i = run;
        } else {
            sOut += sText[i++];
        }
    }
    if (bMoved) {
        bChanged = true;
        sText = std::move(sOut);
    }
}

void Utf8MarcRecordClass::LatinMarc8Text2Utf8Backward(std::string& sText, bool& bChanged) {
    const Utf8CharClass& chars = SharedChar();
    // Built from the end: each octet below 0xE0 with the marks written before it.
    std::string sOut, sGroup, sTrailingMarks;
    size_t baseLength = 0;  // octets of the group's base
    for (size_t i = sText.size(); i-- > 0;) {
        const unsigned v = OctetAt(sText, i);
        if (v < 0xE0) {
            sOut.insert(0, sGroup);
            sGroup.assign(1, sText[i]);
            baseLength = 1;
        } else if (IsCombiningMark(v)) {
            const std::string sMark = chars.UcsNumericToUtf8(marc8::SetTableOf(marc8::Marc8Set::Latin)[v]);
            if (sGroup.empty()) sTrailingMarks.insert(0, sMark);
            else sGroup.insert(baseLength, sMark);
        }
    }
    sOut.insert(0, sGroup);
    sOut += sTrailingMarks;
    if (sOut != sText) {
        sText = std::move(sOut);
        bChanged = true;
    }
}

void Utf8MarcRecordClass::LatinMarc8Text2Utf8WithEscapes(std::string& sText, bool& bChanged) {
    const size_t first = sText.find(kEscape);
    if (first == std::string::npos) {
        LatinMarc8Text2Utf8(sText, bChanged);
        return;
    }
    std::string sOut = sText.substr(0, first);
    bool bPieceChanged = false;
    LatinMarc8Text2Utf8(sOut, bPieceChanged);
    for (size_t i = first; i < sText.size();) {
        const size_t start = std::min(i + 2, sText.size());
        size_t end = sText.find(kEscape, start);
        if (end == std::string::npos) end = sText.size();
        std::string sPiece = sText.substr(start, end - start);
        const char letter = i + 1 < sText.size() ? sText[i + 1] : '\0';
        if (letter == 's' || letter == 'p' || letter == 'g' || letter == 'b') {
            bPieceChanged = false;
            LatinMarc8Text2Utf8(sPiece, bPieceChanged);
        }
        sOut.append(sText, i, start - i);
        sOut += sPiece;
        i = end;
    }
    if (sOut != sText) {
        sText = std::move(sOut);
        bChanged = true;
    }
}
