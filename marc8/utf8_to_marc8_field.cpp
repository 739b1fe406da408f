// UTF-8 to MARC-8 of fields and records: the subfield writer (escape sequences at every change of
// code table, marks before their base character, numeric references for what MARC-8 lacks), the
// joining of digits and punctuation into the script runs of 880 fields, the script codes of $6
// and 066, and the whole-record walk.
//
// The writer walks each subfield forward once and appends, producing in linear time the octets
// that a walk from the end of the subfield, prepending, would give.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chars/utf8_char.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc8/combining_mark_ranges.h"
#include "marc8/escape_designation.h"
#include "marc8/marc8_tables.h"
#include "normalize/latin_letters.h"
#include "platform/events.h"

namespace {

constexpr char kDelimiter = '\x1F';
constexpr char kEsc = marc8::kEscape;

unsigned char OctetAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 character at `at`, and its code point; 0 when the octet
// there does not start one (a stray continuation octet, an overlong or surrogate form, a lead
// octet cut short).
std::size_t WellFormedCharacter(std::string_view s, std::size_t at, char32_t& cp) {
    const unsigned char lead = OctetAt(s, at);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (at + len > s.size()) return 0;
    const unsigned char second = OctetAt(s, at + 1);
    if (second < lo || second > hi) return 0;
    cp = lead & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char c = OctetAt(s, at + k);
        if (!IsContinuation(c)) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

void AppendHex4(std::string& out, unsigned value) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

// "&#x" and the lower-case hex of the character, four digits, or the two UTF-16 code units run
// together beyond U+FFFF, and ";".
void AppendReference(std::string& out, char32_t cp) {
    out += "&#x";
    if (cp > 0xFFFF) {
        const char32_t v = cp - 0x10000;
        AppendHex4(out, static_cast<unsigned>(0xD800 + (v >> 10)));
        AppendHex4(out, static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
    } else {
        AppendHex4(out, static_cast<unsigned>(cp));
    }
    out += ';';
}

// ASCII that MARC-8 holds as itself in table "1", unchanged. ESC is not among them: written as
// itself it would start an escape sequence.
bool PlainAscii(unsigned char c) { return (c >= 0x20 && c <= 0x7E) || (c >= 0x1D && c <= 0x1F); }

// The G1 sets that a run designates away from extended Latin.
bool ExtendedG1(char code) { return code == ':' || code == ';'; }

bool IsScriptRun(std::string_view d) { return d == "(2" || d == "(N" || d == "(3"; }

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Whether every octet of the text means the same character in the script set of designation d
// as in the basic set (Hebrew 0x22 is gershayim, basic Arabic 0x2C the Arabic comma ...).
bool SameInScriptSet(std::string_view d, std::string_view text) {
    const auto designation = marc8::FindDesignation(d);
    if (!designation) return false;
    const marc8::SetTable& table = marc8::SetTableOf(designation->set);
    return std::all_of(text.begin(), text.end(), [&table](char c) {
        const auto octet = static_cast<unsigned char>(c);
        return table[octet] == octet;
    });
}

// One run of a translated piece: its designation (the octets after ESC) and its text.
struct EscapeRun {
    std::string_view designation;
    std::string_view text;
};

}  // namespace

// ---------------------------------------------------------------- the subfield writer

namespace {

// One combining mark of a cluster: its octet, the table that holds it and its combining class.
struct PendingMark {
    char cOctet;
    char cTable;
    int iClass;
};

// What the writer has read of one base character and what follows it up to the next base: the
// marks (in text order) go before it, the references after it.
struct PendingCluster {
    bool bHasBase = false;
    std::string sBase;
    char cTable = '1';
    std::vector<PendingMark> marks;
    std::string sReferences;  // basic-Latin text
    void Clear() {
        bHasBase = false;
        sBase.clear();
        cTable = '1';
        marks.clear();
        sReferences.clear();
    }
};

// The class of a one-octet result that is a combining mark: of the basic table, the marks of the
// list of classes (the octet and its three digits; extended Cyrillic and Arabic letters share the
// octets 0xE0 and up, so only results of the basic table are ANSEL marks); of the Greek, Hebrew
// and Arabic tables, their own marks. -1 for a base character.
int MarkClassOf(std::string_view sClassList, char cTable, const std::string& sMarc8) {
    if (sMarc8.size() != 1) return -1;
    const auto octet = static_cast<unsigned char>(sMarc8[0]);
    switch (cTable) {
        case '1': {
            const std::size_t at = octet < 0x80 ? std::string_view::npos : sClassList.find(sMarc8[0]);
            if (at == std::string_view::npos) return -1;
            return static_cast<int>(rt::Digits(sClassList.substr(at + 1, 3), rt::DigitSkip::Nothing));
        }
        case '5': return marc8::ScriptMarkClass(marc8::Marc8Set::Hebrew, octet);
        case '7': return marc8::ScriptMarkClass(marc8::Marc8Set::BasicArabic, octet);
        case ';': return marc8::ScriptMarkClass(marc8::Marc8Set::ExtendedArabic, octet);
        case '8': return marc8::ScriptMarkClass(marc8::Marc8Set::Greek, octet);
        default: return -1;
    }
}

}  // namespace

void Utf8MarcRecordClass::TranslateUtf82MarcPiece(std::string sTag, std::string sPiece, std::string& sResult,
                                                  bool& bChanged, bool& bError,
                                                  std::string& sMarc8CharacterSetCodes, std::string& sCodeList) {
    const bool b880 = sTag == "880";
    Utf8CharClass& chars = *m.MyUtf8Char;
    std::string out;
    out.reserve(sPiece.size() + 16);

    // The delimiter and its code are written as they stand and are never a base character.
    std::size_t i = 0;
    if (!sPiece.empty() && sPiece[0] == kDelimiter) {
        i = sPiece.size() > 1 && OctetAt(sPiece, 1) < 0x80 ? 2 : 1;
        out.append(sPiece, 0, i);
    }

    // Every piece starts in the basic set; a switch writes ESC and the designation, and leaving
    // an extended G1 set designates extended Latin back into G1.
    char cInForce = '1';
    auto switchTo = [&](char cTable) {
        if (cTable == cInForce) return;
        if (ExtendedG1(cInForce)) out += "\x1B)!E";
        out += kEsc;
        out += TranslateUtf82MarcShortCodeToLong(std::string(1, cTable));
        cInForce = cTable;
    };

    std::vector<char> baseCodes;  // 880 fields: the table of every base character, in text order
    PendingCluster cluster;
    auto writeCluster = [&]() {
        if (!cluster.marks.empty()) {
            // In ascending class, marks of one class in text order; each in its own set, so a
            // mark of the Greek, Hebrew or Arabic set stands directly before its letter.
            if (cluster.marks.size() > 1)
                std::stable_sort(cluster.marks.begin(), cluster.marks.end(),
                                 [](const PendingMark& a, const PendingMark& b) { return a.iClass < b.iClass; });
            for (const PendingMark& mark : cluster.marks) {
                switchTo(mark.cTable);
                out += mark.cOctet;
            }
        }
        if (cluster.bHasBase) {
            switchTo(cluster.cTable);
            out += cluster.sBase;
        }
        if (!cluster.sReferences.empty()) {
            switchTo('1');
            out += cluster.sReferences;
        }
        cluster.Clear();
    };

    std::string sCharacter;
    std::string sMarc8;
    std::string sTable;
    std::string sSetOut = m.CharacterSetOut;
    const std::size_t n = sPiece.size();
    while (i < n) {
        const unsigned char lead = OctetAt(sPiece, i);
        if (PlainAscii(lead)) {
            // The common case, as the one-character translator gives it: itself, table "1". In a
            // run of them each but the last is a whole cluster, written at once; the last waits
            // for marks that may follow it.
            if (cluster.bHasBase || !cluster.marks.empty() || !cluster.sReferences.empty()) writeCluster();
            std::size_t last = i;
            while (last + 1 < n && PlainAscii(OctetAt(sPiece, last + 1))) ++last;
            if (last > i) {
                switchTo('1');
                out.append(sPiece, i, last - i);
            }
            cluster.bHasBase = true;
            cluster.sBase.assign(1, sPiece[last]);
            cluster.cTable = '1';
            if (b880) baseCodes.insert(baseCodes.end(), last - i + 1, '1');
            i = last + 1;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = WellFormedCharacter(sPiece, i, cp);
        if (len == 0) {
            // A malformed octet stands alone as the replacement character.
            bError = true;
            bChanged = true;
            AppendReference(cluster.sReferences, 0xFFFD);
            ++i;
            continue;
        }
        sCharacter.assign(sPiece, i, len);
        i += len;
        bool bOneChanged = false;
        bool bCharacterError = false;
        chars.TranslateUtf82MarcOneCharacter(sSetOut, sTable, sCharacter, sMarc8, bOneChanged, bCharacterError);
        // ESC is written as a reference, as the other controls are.
        if (cp == 0x1B) bCharacterError = true;
        if (bOneChanged) bChanged = true;
        if (bCharacterError) {
            bError = true;
            bChanged = true;
            if (marc8::IsCombiningMark(cp)) {
                // A mark MARC-8 lacks follows its base as a reference.
                AppendReference(cluster.sReferences, cp);
                continue;
            }
            // Any other character is a base of its own: the marks that follow it stand before
            // its reference.
            if (cluster.bHasBase || !cluster.marks.empty() || !cluster.sReferences.empty()) writeCluster();
            cluster.bHasBase = true;
            AppendReference(cluster.sBase, cp);
            cluster.cTable = '1';
            continue;
        }
        const char cTable = sTable.empty() ? '1' : sTable[0];
        // The directional marks give nothing and count as marks.
        if (sMarc8.empty()) {
            bChanged = true;
            continue;
        }
        const int iClass = MarkClassOf(m.Marc8DiacriticClasses, cTable, sMarc8);
        if (iClass >= 0) {
            cluster.marks.push_back({sMarc8[0], cTable, iClass});
            bChanged = true;
            continue;
        }
        if (cluster.bHasBase || !cluster.marks.empty() || !cluster.sReferences.empty()) writeCluster();
        cluster.bHasBase = true;
        cluster.sBase = sMarc8;
        cluster.cTable = cTable;
        if (b880) baseCodes.push_back(cTable);
    }
    writeCluster();
    if (ExtendedG1(cInForce)) out += "\x1B)!E";

    // The subfield ends in the basic set.
    // (A forward search first: most pieces hold no escape, and it finds that fastest.)
    const std::size_t lastEscape = out.find(kEsc) == std::string::npos ? std::string::npos : out.rfind(kEsc);
    if (lastEscape != std::string::npos) {
        const std::string_view after = std::string_view(out).substr(lastEscape + 1);
        const bool bEndsBasic = after.substr(0, 2) == "(B";
        if (!b880 && out.find("\x1B(") == std::string::npos && out.find("\x1B$") == std::string::npos) {
            if (after.substr(0, 1) != "s") out += "\x1Bs";
        } else if (!bEndsBasic) {
            out += "\x1B(B";
        }
    }

    if (b880 && !baseCodes.empty()) {
        // The set list takes each code once, in the order a walk from the end of the piece meets it.
        for (auto it = baseCodes.rbegin(); it != baseCodes.rend(); ++it) {
            const std::string sEntry = std::string(" ") + *it + " ";
            if (sMarc8CharacterSetCodes.find(sEntry) == std::string::npos) sMarc8CharacterSetCodes += sEntry;
        }
        std::string sList;
        sList.reserve(baseCodes.size() * 3 + sCodeList.size());
        for (char c : baseCodes) {
            sList += ' ';
            sList += c;
            sList += ' ';
        }
        sCodeList = sList + sCodeList;
    }
    sResult = std::move(out);
}

// ---------------------------------------------------------------- 880 runs

void Utf8MarcRecordClass::TidyVernacularEscapes(std::string& sPiece, std::string& sScratch) {
    if (sPiece.find("\x1B(2") == std::string::npos && sPiece.find("\x1B(N") == std::string::npos &&
        sPiece.find("\x1B(3") == std::string::npos)
        return;
    const std::string_view piece(sPiece);
    const std::size_t first = piece.find(kEsc);
    std::vector<EscapeRun> runs;
    for (std::size_t at = first; at != std::string_view::npos;) {
        const marc8::EscapeSequence seq = marc8::ReadEscape(piece, at);
        const std::size_t textAt = std::min(piece.size(), at + seq.Length());
        const std::size_t next = piece.find(kEsc, textAt);
        runs.push_back({seq.designation, piece.substr(textAt, next == std::string_view::npos ? std::string_view::npos
                                                                                              : next - textAt)});
        at = next;
    }

    std::string& out = sScratch;
    out.clear();
    out.reserve(sPiece.size());
    out.append(piece.substr(0, first));
    auto writeRun = [&out](std::string_view d, std::string_view text) {
        out += kEsc;
        out.append(d);
        out.append(text);
    };
    std::string_view sPrevious;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const EscapeRun& run = runs[r];
        const bool bLast = r + 1 == runs.size();
        const std::string_view d = sPrevious;
        const bool bCandidate = run.designation == "(B" && IsScriptRun(d) &&
                                (bLast || runs[r + 1].designation == d);
        bool b20 = false, b30 = false, bOther = false;
        if (bCandidate) ClassifyTextOctets(std::string(run.text), b20, b30, bOther);
        if (!bCandidate || bOther) {
            writeRun(run.designation, run.text);
            sPrevious = run.designation;
            continue;
        }
        // Only octets that mean the same character in the script set are joined into its run.
        bool bJoin = false;
        bool bSplit = false;
        if (d == "(3") {
            bool bDigit = false;
            for (char c : run.text) bDigit = bDigit || IsAsciiDigit(c);
            if (!b20) {
                bJoin = false;
            } else if (!b30 || !bDigit) {
                bJoin = SameInScriptSet(d, run.text);
            } else {
                bSplit = true;
            }
        } else {
            bJoin = (b20 || b30) && SameInScriptSet(d, run.text);
        }
        if (bJoin) {
            out.append(run.text);
            if (bLast) {
                out += "\x1B(B";
            } else {
                out.append(runs[r + 1].text);
                ++r;
            }
            sPrevious = d;
            continue;
        }
        if (bSplit) {
            // The digits and what lies between them stay a basic-set run; the piece before the
            // first digit joins the Arabic run before, the piece after the last digit the one
            // after, each only when the Arabic set reads it as the basic set does.
            std::size_t from = run.text.find_first_of("0123456789");
            std::size_t to = run.text.find_last_of("0123456789") + 1;
            if (!SameInScriptSet(d, run.text.substr(0, from))) from = 0;
            if (!bLast && !SameInScriptSet(d, run.text.substr(to))) to = run.text.size();
            out.append(run.text.substr(0, from));
            writeRun("(B", run.text.substr(from, to - from));
            const std::string_view after = run.text.substr(to);
            if (bLast) {
                out.append(after);
            } else {
                // Written right after the escape of the following Arabic run.
                writeRun(runs[r + 1].designation, after);
                out.append(runs[r + 1].text);
                ++r;
                sPrevious = runs[r].designation;
                continue;
            }
            sPrevious = run.designation;
            continue;
        }
        writeRun(run.designation, run.text);
        sPrevious = run.designation;
    }
    sPiece.swap(out);
    out.clear();
}

// ---------------------------------------------------------------- script codes

std::string Utf8MarcRecordClass::ScriptCodesFromTableCodes(std::string sCodes, std::string sSeparator) {
    // The words between blanks, as splitting off the first word again and again gives them (an
    // empty word between two blanks, none after a last blank), in one pass.
    std::string sResult;
    std::string sCode;
    for (std::size_t at = 0; at < sCodes.size();) {
        platform::DoEvents();
        const std::size_t blank = std::min(sCodes.find(' ', at), sCodes.size());
        sCode.assign(sCodes, at, blank - at);
        at = blank + 1;
        if (sCode.empty() || (sCode.size() == 1 && std::string_view("1234sgbp").find(sCode[0]) != std::string_view::npos))
            continue;
        if (sCode.size() == 1) {
            switch (sCode[0]) {
                case '5': sResult += sSeparator + "(2"; break;
                case '6': sResult += sSeparator + "(N"; break;
                case '7': sResult += sSeparator + "(3"; break;
                case '8': sResult += sSeparator + "(S"; break;
                case '9': sResult += sSeparator + "$1"; break;
                default: break;
            }
        } else if (sCode.size() == 2) {
            sResult += sSeparator + sCode;
        }
    }
    return sResult;
}

// ---------------------------------------------------------------- one field

void Utf8MarcRecordClass::TranslateUtf82MarcOneField(std::string& sMarc8CharacterSetCodes, std::string& sTag,
                                                     std::string& sText, bool& bChanged, bool& bError) {
    m.CombiningMarkCount = 0;
    const bool b880 = sTag == "880";
    std::string sNew;
    sNew.reserve(sText.size() + 16);
    std::string sFieldCodes;
    std::string sPieceCodes;
    std::string sResult;
    std::string sScratch;
    bool bPieceChanged = false;
    // A precomposed Latin letter is written as its base letter and marks, which MARC-8 holds.
    std::string sDecomposed;
    const std::string& sSource = latin_letters::Decompose(sText, sDecomposed) ? sDecomposed : sText;
    std::size_t at = 0;
    const std::size_t n = sSource.size();
    while (at < n) {
        // A piece runs from a delimiter (or the start) up to the next delimiter; an empty
        // subfield is a piece of its own.
        const std::size_t next = sSource.find(kDelimiter, at + 1);
        const std::size_t end = next == std::string::npos ? n : next;
        sPieceCodes.clear();
        TranslateUtf82MarcPiece(sTag, sSource.substr(at, end - at), sResult, bPieceChanged, bError,
                                sMarc8CharacterSetCodes, sPieceCodes);
        if (b880) TidyVernacularEscapes(sResult, sScratch);
        sNew += sResult;
        sFieldCodes += sPieceCodes;
        at = end;
    }

    if (b880) {
        const std::string sScripts = ScriptCodesFromTableCodes(sFieldCodes, "/");
        const std::size_t six = sNew.find("\x1F" "6");
        if (!sScripts.empty() && six != std::string::npos) {
            std::string sCode = sScripts.substr(1);
            sCode = sCode.substr(0, sCode.find('/'));
            const std::size_t textAt = six + 2;
            const std::size_t textEnd = std::min(sNew.find(kDelimiter, textAt), sNew.size());
            std::string s6 = sNew.substr(textAt, textEnd - textAt);
            s6 = s6.substr(0, s6.find('/'));
            s6 += "/" + sCode;
            if (sCode == "(2" || sCode == "(3") s6 += "/r";
            sNew.replace(textAt, textEnd - textAt, s6);
        }
    }
    if (bPieceChanged || sNew != sText) bChanged = true;
    sText = std::move(sNew);
}

// ---------------------------------------------------------------- the record

void Utf8MarcRecordClass::TranslateRecordUtf8ToMarc8() {
    const int16_t iCurrent = m.FldPointer;
    const int16_t iCount = m.FldCount;
    std::string sSetList;
    bool bChanged = false;
    bool bError = false;
    std::string sTag;
    std::string sIndicators;
    std::string sField;
    FldMoveTop();
    while (FldMoveNext(true)) {
        const int16_t iField = m.FldPointer;
        if (iField >= iCount || FldIsControl()) continue;
        FldLoadInfo(sTag, sIndicators, sField);
        // The changed flag is cleared once for the walk: from the first changed field on,
        // every later data field is written back.
        std::string sNew = sField;
        TranslateUtf82MarcOneField(sSetList, sTag, sNew, bChanged, bError);
        if (bChanged) {
            if (sNew == sField) {
                // The same octets: the field only takes its changed mark.
                FldChanged(true);
            } else {
                FldText(sNew);
            }
            m.MarcRecordTranslated = true;
        }
        FldPointer(iField);
    }
    FldDeleteEvery066();

    std::string sCodes = rt::Trim(sSetList);
    sCodes = RemoveRepeatedCharacters(sCodes, " ");
    const std::string sScripts = ScriptCodesFromTableCodes(sCodes, "\x1F" "c");
    if (!sScripts.empty()) FldAddGeneric("066", "  ", sScripts, 3);
    m.Leader = SafeStuff(m.Leader, 10, 1, " ");
    FldPointer(iCurrent);
}

// ---------------------------------------------------------------- tests of text

bool Utf8MarcRecordClass::Utf8TextContainsOnlyMarc8Characters(std::string sIn) {
    Utf8CharClass& chars = *m.MyUtf8Char;
    std::size_t at = 0;
    while (at < sIn.size()) {
        chars.Utf8Char(sIn.substr(at, 4));
        const std::string sCode = chars.Utf8CharCategoryMarc8();
        if (sCode != "1" && sCode != "3") return false;
        const int16_t len = chars.Utf8CharOctets(sIn.substr(at, 4));
        at += static_cast<std::size_t>(len > 0 ? len : 1);
    }
    return true;
}

void Utf8MarcRecordClass::TranslateUtf8Text2Marc(std::string& X, std::string& Y) {
    (void)X;
    (void)Y;
}
