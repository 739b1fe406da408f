// Translation among the 8-bit sets "M", "O" and "V" with a table of 256 cells, the walk that
// applies it to every field of the record (880 fields with escapes piece by piece), and the
// record translations from Windows-1252 text ("L") to an 8-bit set and to UTF-8.
//
// Only octets read in the Latin sets are rewritten: the walkers follow the escape sequences, and
// an octet from 0x80 read while G1 holds another set (extended Cyrillic or Arabic, EACC) is a
// letter of that set and stays. "M" and "O" to "V" turn the Greek, superscript and subscript
// runs into single octets and drop the escapes around them; runs of the scripts that "V" cannot
// hold are copied with their escapes and with the escape that leaves them.
#include <array>
#include <string_view>

#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"
#include "marc8/escape_designation.h"

namespace {

using marc8::kEscape;

constexpr char kDelimiter = '\x1F';

constexpr std::array<std::string_view, 6> kModes = {"M2O", "M2V", "O2M", "O2V", "V2M", "V2O"};

unsigned OctetAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

std::string Octet(unsigned v) { return std::string(1, static_cast<char>(v)); }

// ESC, the set letter, the character, ESC "s".
std::string EscapeRun(char set, char c) { return std::string{kEscape, set, c, kEscape, 's'}; }

}  // namespace

// ---------------------------------------------------------------- tables

void Utf8MarcRecordClass::SetUpTranslation(int32_t& Translation) {
    if (Translation < 0 || Translation > 5) return;
    const std::string sMode(kModes[static_cast<size_t>(Translation)]);
    if (m.TranslationTableName == sMode) return;

    m.TranslationTableName = sMode;
    m.TranslationTableTop = 255;
    m.TranslationTable.assign(256, TranslationCell{});
    auto row = [this](unsigned octet, const std::string& sReplacement) {
        m.TranslationTable[octet] = TranslationCell{true, sReplacement};
    };
    // The symbols of 0xC0 and 0xC2-0xC6 in "M" and "O" and their octets in "V".
    constexpr unsigned kSymbolsV[] = {0x90, 0, 0x92, 0x93, 0x94, 0x95, 0x96};
    if (sMode == "M2V" || sMode == "O2V") {
        for (unsigned n = 0; n < 7; ++n)
            if (kSymbolsV[n] != 0) row(0xC0 + n, Octet(kSymbolsV[n]));
        if (sMode == "M2V") row(0xC1, Octet(0xA0));
        else row(0xBE, Octet(0xA0));
        // "V" holds superscripts where MARC-8 has the sharp s and the euro sign: they become
        // references, which read back as the same characters.
        row(0xC7, "&#x00df;");
        row(0xC8, "&#x20ac;");
    } else if (sMode == "M2O") {
        row(0xC1, m.TranslationLScriptO);
    } else if (sMode == "O2M") {
        // The script small l of "M" itself, whatever set the record is going to.
        row(0xBE, m.TranslationLScriptM);
    } else {  // "V2M", "V2O"
        row(0x90, m.TranslationDegree);
        row(0x92, m.TranslationPressing);
        row(0x93, m.TranslationCopyright);
        row(0x94, m.TranslationSharp);
        row(0x95, m.TranslationQuestionInverted);
        row(0x96, m.TranslationExclamationInverted);
        row(0xA0, sMode == "V2M" ? m.TranslationLScriptM : m.TranslationLScriptO);
        constexpr std::string_view kGreek = "abc", kDigits = "0123456789+-()";
        for (size_t n = 0; n < kGreek.size(); ++n) row(OctetAt(m.GreekCodesV, n), EscapeRun('g', kGreek[n]));
        for (size_t n = 0; n < kDigits.size(); ++n) {
            row(OctetAt(m.SuperscriptCodesV, n), EscapeRun('p', kDigits[n]));
            row(OctetAt(m.SubscriptCodesV, n), EscapeRun('b', kDigits[n]));
        }
    }
}

// ---------------------------------------------------------------- one text

void Utf8MarcRecordClass::ApplyTranslation(std::string& sText, bool& bChanged) {
    const std::string& sMode = m.TranslationTableName;
    if (sMode.empty() || m.TranslationTable.size() < 256) return;
    if (sMode == "L2M") {
        const std::string sResult = MsoftAscii2Marc(sText);
        if (sResult != sText) {
            sText = sResult;
            bChanged = true;
        }
        return;
    }
    TranslateFollowingEscapes(sText, bChanged, false);
}

void Utf8MarcRecordClass::TranslateFollowingEscapes(std::string& sText, bool& bChanged, bool bKeepEscapes) {
    // Two sets of codes are kept as the field reader keeps them: those of the text read and those
    // of the text written. They part where an escape is dropped or a run becomes octets of "V";
    // before an octet is written, the written text is brought to codes that read it as the text
    // read does (ESC and the designation of the code that differs).
    const bool bRunsToV = !bKeepEscapes && (m.TranslationTableName == "M2V" || m.TranslationTableName == "O2V");
    std::string in0 = "s", in1 = "s";
    std::string out0 = "s", out1 = "s";
    std::string sOut;
    sOut.reserve(sText.size() + 8);
    auto writeEscape = [&](std::string_view d) {
        sOut += kEscape;
        sOut += d;
        marc8::FollowEscape(d, out0, out1);
    };
    auto syncG0 = [&](const std::string& target) {
        if (out0 != target) writeEscape(target);
    };
    auto syncG1 = [&](const std::string& target) {
        if (out1 == target || (marc8::IsLatinCodeG1(out1) && marc8::IsLatinCodeG1(target))) return;
        writeEscape(marc8::IsLatinCodeG1(target) ? std::string_view(")!E") : std::string_view(target));
    };
    // Octets of the Latin G1 set; they go out under a Latin G1 set, which for the octets of a
    // converted run may come with basic Latin in G0.
    auto toLatinG1 = [&](bool bMayLeaveG0) {
        if (marc8::IsLatinCodeG1(out1)) return;
        writeEscape(bMayLeaveG0 && out0 != "s" ? std::string_view("s") : std::string_view(")!E"));
    };

    const std::string_view text(sText);
    size_t i = 0;
    while (i < text.size()) {
        const unsigned v = OctetAt(text, i);
        if (v == static_cast<unsigned char>(kDelimiter)) {
            // Every subfield starts in the basic sets.
            sOut += kDelimiter;
            in0 = in1 = out0 = out1 = "s";
            ++i;
            continue;
        }
        if (v != static_cast<unsigned char>(kEscape)) {
            const TranslationCell& cell = m.TranslationTable[v];
            if (v < 0x80) {
                syncG0(in0);
                sOut += static_cast<char>(v);
            } else if (!marc8::IsLatinCodeG1(in1) || !cell.Changed) {
                syncG1(in1);
                sOut += static_cast<char>(v);
            } else {
                const std::string& rep = cell.Replacement;
                if (!rep.empty() && rep[0] == kEscape) {
                    // A Greek, superscript or subscript run, which returns to the G0 set in force.
                    writeEscape(std::string_view(rep).substr(1, 1));
                    sOut += rep[2];
                    writeEscape(in0);
                } else if (!rep.empty() && static_cast<unsigned char>(rep[0]) < 0x80) {
                    // A reference, basic Latin text.
                    syncG0("s");
                    sOut += rep;
                } else {
                    toLatinG1(false);
                    sOut += rep;
                }
                bChanged = true;
            }
            ++i;
            continue;
        }

        const marc8::EscapeSequence esc = marc8::ReadEscape(text, i);
        const size_t next = i + esc.Length();
        if (!esc.complete) {
            // A cut escape (at the end, or before a delimiter, a terminator or ESC) stays as it
            // stands and changes no set; the octet that cut it is read next.
            sOut += text.substr(i, esc.Length());
            i = next;
            continue;
        }
        const std::string_view d = esc.designation;
        marc8::FollowEscape(d, in0, in1);

        if (bRunsToV && (d == "g" || d == "b" || d == "p")) {
            // The run up to the next escape, or to the first delimiter before it, becomes the
            // octets of "V"; its escape goes, and its other octets are dropped.
            const std::string_view list = d == "g" ? std::string_view("abc") : std::string_view("0123456789+-()");
            const std::string& codes = d == "g" ? m.GreekCodesV : d == "b" ? m.SubscriptCodesV : m.SuperscriptCodesV;
            size_t end = text.find(kEscape, next);
            if (end == std::string_view::npos) end = text.size();
            const size_t delimiter = text.substr(0, end).find(kDelimiter, next);
            if (delimiter != std::string_view::npos) end = delimiter;
            for (size_t q = next; q < end; ++q) {
                const size_t at = list.find(text[q]);
                if (at == std::string_view::npos || at >= codes.size()) continue;
                toLatinG1(true);
                sOut += codes[at];
            }
            bChanged = true;
            i = end;
            continue;
        }
        // Back to basic Latin: in "V" text only where the text written is in another G0 set.
        if (!(bRunsToV && marc8::IsLatinG0(d) && out0 == "s")) {
            sOut += text.substr(i, esc.Length());
            marc8::FollowEscape(d, out0, out1);
        }
        i = next;
    }
    if (sOut != sText) sText = std::move(sOut);
}

void Utf8MarcRecordClass::Translate880FieldTranslateThePiece(std::string& sPiece, bool& bChanged) {
    ApplyTranslation(sPiece, bChanged);
}

void Utf8MarcRecordClass::Translate880FieldText(std::string& sText, bool& bChanged) {
    const size_t first = sText.find(kEscape);
    if (first == std::string::npos) {
        ApplyTranslation(sText, bChanged);
        return;
    }
    std::string sResult = sText;
    if (m.TranslationTableName != "L2M") {
        // The escapes stay; the octets read in the Latin sets are translated where they stand.
        TranslateFollowingEscapes(sResult, bChanged, true);
    } else {
        // Windows-1252 text piece by piece: the pieces after a Latin designation.
        const std::string_view text(sText);
        std::string sPiece(text.substr(0, first));
        Translate880FieldTranslateThePiece(sPiece, bChanged);
        sResult = sPiece;
        bool bG1Latin = true;
        bool bLatin = true;
        size_t i = first;
        while (i < text.size()) {
            const marc8::EscapeSequence esc = marc8::ReadEscape(text, i);
            const std::string_view d = esc.designation;
            // A cut escape changes no set: its piece is read as the piece before it.
            if (esc.complete) {
                if (marc8::IsLatinG1(d)) bG1Latin = true;
                else if (marc8::DesignatesG1(d)) bG1Latin = false;
                bLatin = d == "p" || d == "s" || d == "g" || d == "b" || marc8::IsLatinG0(d) || marc8::IsLatinG1(d);
            }
            const size_t start = i + esc.Length();
            size_t end = text.find(kEscape, start);
            if (end == std::string_view::npos) end = text.size();
            sPiece.assign(text.substr(start, end - start));
            if (bLatin && bG1Latin) Translate880FieldTranslateThePiece(sPiece, bChanged);
            sResult += text.substr(i, esc.Length());
            sResult += sPiece;
            i = end;
        }
    }
    if (sResult != sText) {
        sText = std::move(sResult);
        bChanged = true;
    }
}

void Utf8MarcRecordClass::ReplaceAllOccurrences(std::string& sText, const std::string& sFind,
                                                const std::string& sReplacement, bool& bChanged) {
    // Searching again from the start would never end when the replacement
    // brings the search text back.
    if (sFind.empty() || sReplacement.find(sFind) != std::string::npos) return;
    for (size_t at = sText.find(sFind); at != std::string::npos; at = sText.find(sFind)) {
        sText.replace(at, sFind.size(), sReplacement);
        bChanged = true;
    }
}

// ---------------------------------------------------------------- the record

void Utf8MarcRecordClass::TranslateCurrentField() {
    // An 880 without escapes goes through the table whole all the same.
    bool bChanged = false;
    std::string sText = FldText();
    if (FldTag() == "880") Translate880FieldText(sText, bChanged);
    else ApplyTranslation(sText, bChanged);
    if (bChanged) {
        FldReplace(FldTag(), FldInd(), sText);
        m.MarcRecordTranslated = true;
    }
}

void Utf8MarcRecordClass::TranslateRecordFields() {
    FldMoveTop();
    const int16_t iExisting = m.FldCount;
    while (FldMoveNext(true)) {
        const int16_t iField = m.FldPointer;
        if (iField >= iExisting || FldIsControl() || FldDeleted()) continue;
        TranslateCurrentField();
        FldPointer(iField);
    }
}

namespace {
int32_t ModeNumber(std::string_view sMode) {
    for (size_t n = 0; n < kModes.size(); ++n)
        if (kModes[n] == sMode) return static_cast<int32_t>(n);
    return -1;
}
}  // namespace

#define EXITDESK_RECORD_TRANSLATION(FROM_TO)                 \
    void Utf8MarcRecordClass::TranslateRecord##FROM_TO() {   \
        int32_t iMode = ModeNumber(#FROM_TO);                \
        SetUpTranslation(iMode);                             \
        TranslateRecordFields();                             \
    }
EXITDESK_RECORD_TRANSLATION(M2O)
EXITDESK_RECORD_TRANSLATION(M2V)
EXITDESK_RECORD_TRANSLATION(O2M)
EXITDESK_RECORD_TRANSLATION(O2V)
EXITDESK_RECORD_TRANSLATION(V2M)
EXITDESK_RECORD_TRANSLATION(V2O)
#undef EXITDESK_RECORD_TRANSLATION

void Utf8MarcRecordClass::TranslateRecordL2M() {
    if (m.TranslationTableName != "L2M") {
        m.TranslationTableName = "L2M";
        m.TranslationTableTop = 255;
        m.TranslationTable.assign(256, TranslationCell{});
    }
    TranslateRecordFields();
}

void Utf8MarcRecordClass::TranslateRecordL2U() {
    // The record's text is read by the Windows-1252 chart: every character
    // stays itself (not the typing conventions of MsoftAscii2Marc, which
    // hold a sharp s as a Greek beta).
    const bool bWasUtf8 = m.RecordIsUtf8;
    const int16_t iCurrent = m.FldPointer;
    m.RecordIsUtf8 = true;
    struct Restore {
        Utf8MarcRecordClass& r;
        bool bUtf8;
        ~Restore() { r.m.RecordIsUtf8 = bUtf8; }
    } restore{*this, bWasUtf8};

    // Each field that existed when the walk began is read once: a rewrite that
    // stores a field anew must not have its UTF-8 read as Windows-1252 again.
    FldMoveTop();
    const int16_t iExisting = m.FldCount;
    while (FldMoveNext(true)) {
        const int16_t iField = m.FldPointer;
        std::string sTag, sIndicators, sField;
        FldLoadInfo(sTag, sIndicators, sField);
        if (iField >= iExisting || sTag == "005" || sTag == "006" || sTag == "007" || sTag == "008") continue;
        const std::string sNew = display_text::Windows1252ToUtf8(sField);
        if (sNew != sField) {
            FldChange(sTag, sIndicators, sNew);
            m.MarcRecordTranslated = true;
        }
        FldPointer(iField);
    }
    while (FldFindFirst("066", "")) FldDelete();
    if (m.Leader.size() >= 10) m.Leader[9] = 'a';
    FldPointer(iCurrent);
}

// ---------------------------------------------------------------- walks that nothing calls

void Utf8MarcRecordClass::TranslateEscapedFields() {
    FldMoveTop();
    while (FldMoveNext(true)) {
        if (FldIsControl() || FldText().find(kEscape) == std::string::npos) continue;
        const int16_t iField = m.FldPointer;
        TranslateCurrentField();
        FldPointer(iField);
    }
}

void Utf8MarcRecordClass::TranslateFieldsByLinks() {
    // Along the stored links, deleted entries included, each entry at most once.
    const int16_t iExisting = m.FldCount;
    int16_t iField = m.FldFirst;
    for (int16_t iSteps = 0; iField >= 0 && iField < iExisting && iSteps < iExisting; ++iSteps) {
        try {
            FldPointer(iField);
            if (!FldIsControl()) TranslateCurrentField();
        } catch (const std::exception&) {
            // A field that cannot be rewritten is left as it was; the walk goes on.
        }
        if (iField >= static_cast<int16_t>(m.Fields.size())) break;
        iField = m.Fields[static_cast<size_t>(iField)].NextField;
    }
    FldPointer(-1);
}
