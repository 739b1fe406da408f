// The frame of every XML document the record writes: the choice of document
// by form and record kind, the state saved before a document is built and put
// back after it, the common end, and the three helpers every document builds
// its text with (AddQuotes, XmlTags, XmlConditionText).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// What the escaper does with an octet: pass it, replace it by a reference,
// drop or replace a control XML forbids, read a multi-octet character, or
// keep a TAB, LF or CR as a reader gives it back (White).
enum class OctetKind : uint8_t { Pass, Special, Forbidden, High, White };

constexpr std::array<OctetKind, 256> MakeOctetKinds() {
    std::array<OctetKind, 256> kinds{};
    for (int i = 0; i < 0x20; ++i) kinds[static_cast<size_t>(i)] = OctetKind::Forbidden;
    kinds['\t'] = kinds['\n'] = kinds['\r'] = OctetKind::White;
    kinds['<'] = kinds['>'] = kinds['&'] = kinds['"'] = kinds['\''] = OctetKind::Special;
    for (int i = 0x80; i < 0x100; ++i) kinds[static_cast<size_t>(i)] = OctetKind::High;
    return kinds;
}

constexpr std::array<OctetKind, 256> kOctetKinds = MakeOctetKinds();

std::string_view ReferenceOf(char c) {
    switch (c) {
        case '\t': return "&#9;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '&': return "&amp;";
        case '"': return "&quot;";
        default: return "&apos;";
    }
}

// The length of the well-formed UTF-8 character at text[i], or 0 when the
// octets there are malformed; then `bad` is the length of the maximal
// malformed prefix (at least 1), which becomes one U+FFFD.
size_t WellFormedLength(std::string_view text, size_t i, size_t& bad) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = at(i);
    size_t need;
    unsigned low = 0x80, high = 0xBF;  // the range of the second octet
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        if (lead == 0xE0) low = 0xA0;        // overlong
        else if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        if (lead == 0xF0) low = 0x90;        // overlong
        else if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        bad = 1;  // a stray continuation octet, C0, C1 or F5 to FF
        return 0;
    }
    size_t k = 1;
    for (; k < need; ++k) {
        if (i + k >= text.size()) break;
        const unsigned v = at(i + k);
        const bool ok = k == 1 ? v >= low && v <= high : v >= 0x80 && v <= 0xBF;
        if (!ok) break;
    }
    if (k < need) {
        bad = k;
        return 0;
    }
    return need;
}

}  // namespace

// ---------------------------------------------------------------- helpers

std::string Utf8MarcRecordClass::AddQuotes(const std::string& sInputString) {
    // A reader turns a TAB, LF or CR of an attribute value into a blank; as
    // character references they come back as they are.
    std::string sOut;
    sOut.reserve(sInputString.size() + 2 * m.QuoteCharacter.size());
    sOut += m.QuoteCharacter;
    for (char c : sInputString) {
        if (kOctetKinds[static_cast<unsigned char>(c)] == OctetKind::White) sOut += ReferenceOf(c);
        else sOut += c;
    }
    sOut += m.QuoteCharacter;
    return sOut;
}

std::string Utf8MarcRecordClass::XmlTags(const std::string& sTag, const std::string& sText) {
    const size_t blank = sTag.find(' ');
    const std::string_view sName = std::string_view(sTag).substr(0, blank);
    std::string sOut;
    sOut.reserve(2 * sTag.size() + sText.size() + 5);
    sOut += '<';
    sOut += sTag;
    sOut += '>';
    sOut += sText;
    sOut += "</";
    sOut += sName;
    sOut += '>';
    return sOut;
}

std::string Utf8MarcRecordClass::XmlConditionText(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size() + 16);
    AppendXmlConditionText(sOut, sText);
    return sOut;
}

void Utf8MarcRecordClass::AppendXmlConditionText(std::string& sOut, std::string_view sText, bool bAttribute) const {
    const bool bUtf8 = m.RecordIsUtf8;
    size_t run = 0;  // start of the octets not yet appended
    size_t i = 0;
    const size_t n = sText.size();
    while (i < n) {
        const char c = sText[i];
        const OctetKind kind = kOctetKinds[static_cast<unsigned char>(c)];
        // A CR in text comes back from a reader as LF, and in an attribute a
        // TAB, LF or CR as a blank, unless written as a reference.
        if (kind == OctetKind::Pass || (kind == OctetKind::High && !bUtf8) ||
            (kind == OctetKind::White && c != '\r' && !bAttribute)) {
            ++i;
            continue;
        }
        if (kind == OctetKind::High) {
            size_t bad = 0;
            const size_t length = WellFormedLength(sText, i, bad);
            // U+FFFE and U+FFFF are no XML characters either.
            const bool bNonCharacter = length == 3 && static_cast<unsigned char>(c) == 0xEF &&
                                       static_cast<unsigned char>(sText[i + 1]) == 0xBF &&
                                       (static_cast<unsigned char>(sText[i + 2]) & 0xFE) == 0xBE;
            if (length > 0 && !bNonCharacter) {
                i += length;
                continue;
            }
            sOut.append(sText, run, i - run);
            sOut += kReplacementCharacter;
            i += length > 0 ? length : bad;
            run = i;
            continue;
        }
        sOut.append(sText, run, i - run);
        if (kind == OctetKind::Special || kind == OctetKind::White) sOut += ReferenceOf(c);
        else if (bUtf8) sOut += kReplacementCharacter;
        ++i;
        run = i;
    }
    sOut.append(sText, run, n - run);
}

std::string Utf8MarcRecordClass::XmlTextFromRecord(const std::string& sText) { return TextReadAsUtf8(sText); }

// ---------------------------------------------------------------- the frame

std::string Utf8MarcRecordClass::XMLRecordOut(int32_t sForm) {
    m.XmlTabTab = "\t\t";
    m.XmlCrlfTabTab = "\r\n\t\t";
    m.XmlTabTabTab = "\t\t\t";
    m.XmlCrlfTabTabTab = "\r\n\t\t\t";

    const std::string sSavedSet = m.CharacterSetOut;
    const int16_t iSavedFld = m.FldPointer;
    const int16_t iSavedSfd = m.SfdPointer;
    m.LocalProfile = false;

    // Puts the cursor back through its lets, as the common end does.
    auto restoreCursor = [&] {
        FldPointer(iSavedFld);
        SfdPointer(iSavedSfd);
    };

    if (sForm < 0 || sForm > 5) {
        restoreCursor();
        return "";
    }
    const std::string sKind = MarcRecordFormat();
    const bool bBibliographic = sKind.size() == 1 && std::string_view("BDFMPSU").find(sKind[0]) != std::string_view::npos;
    bool bDocument = false;
    switch (sForm) {
        case 0: bDocument = true; break;
        case 1: case 3: case 5: bDocument = sKind == "A" || bBibliographic; break;
        default: bDocument = bBibliographic; break;
    }
    if (!bDocument) return "";

    // Everything that can refuse the call does so before anything changes.
    // Text of set "L" has no reading as MARC-8, and no way back from "U".
    if (sSavedSet == "L") RequireRecordTranslation("U", "L");
    // A record has one reading: every document of a record held in an 8-bit
    // set is built from the same record in UTF-8.
    const bool bSwitch = sSavedSet != "U";
    if (bSwitch && RecordPresent()) RequireRecordTranslation(sSavedSet, "U");

    // A document of a record held in an 8-bit set is built from a UTF-8 copy:
    // the state as held is kept aside and put back whole afterwards, so that
    // the translation there and back never changes the record (a 066 moved or
    // added, escape runs rewritten). The record's character objects stay its own.
    std::optional<Utf8MarcRecordState> held;
    if (bSwitch) held.emplace(m);

    // Puts back the record as held, then the field, then the subfield, on
    // every way out.
    struct Restore {
        Utf8MarcRecordClass& record;
        std::optional<Utf8MarcRecordState>& held;
        std::function<void()> cursor;
        bool bDone = false;
        void Finish() {
            bDone = true;
            Utf8MarcRecordState& m = record.m;
            if (held) {
                held->MyUtf8Char = std::move(m.MyUtf8Char);
                held->MyUtf8CharCallNumber = std::move(m.MyUtf8CharCallNumber);
                held->MyUtf8CharCallNumber2 = std::move(m.MyUtf8CharCallNumber2);
                m = std::move(*held);
                held.reset();
                // A rule memo of a walk in progress names the copy's tables.
                SfdOrderMemo::Forget(m);
                m.FldSearchText.clear();
            }
            m.LocalProfile = false;
            cursor();
        }
        ~Restore() {
            if (bDone) return;
            try {
                Finish();
            } catch (...) {
                // The error that ended the document is the one the caller gets.
            }
        }
    } restore{*this, held, restoreCursor};

    // The documents walk the fields with tag finds without text; a text the
    // caller's last find saved would otherwise filter those walks and drop
    // fields from the document.
    m.FldSearchText.clear();
    if (bSwitch) CharacterSetOut("U");
    std::string sDocument;
    switch (sForm) {
        case 0: sDocument = XmlMarcxmlDocument(); break;
        case 2: case 4: sDocument = XmlDublinCoreDocument(sForm == 4); break;
        default:
            // The MADS document does not read the local profile: form 5
            // gives the same document as forms 1 and 3.
            m.LocalProfile = sForm == 5;
            sDocument = sKind == "A" ? XmlMadsDocument() : XmlModsDocument();
            break;
    }
    restore.Finish();

    // A superscript zero is written as the degree sign, never the reverse.
    const Utf8CharClass& chars = SharedChar();
    const std::string sSuperscript0 = chars.Utf8Superscript0();
    if (sDocument.find(sSuperscript0) == std::string::npos) return sDocument;
    return ReplaceCharacters(sDocument, sSuperscript0, chars.Utf8Degree(), false);
}
