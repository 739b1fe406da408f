// The record's input and output character sets: the set letters, the rule
// that decides the set of a loaded record, the octet census that tells the
// 8-bit sets apart, and the dispatch of a whole-record translation when the
// output set changes.
#include <array>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace {

constexpr const char* kMarcClassSource = "MarcClass";

// The whole-record translation that takes a record from one set to another.
enum class RecordTranslation {
    None,
    SingleByte,          // among "M", "O" and "V"
    Marc8ToUtf8,         // from "M", "O" or "V" to "U"
    Utf8ToMarc8,         // from "U" to "M", "O" or "V"
    Utf8ToWindows1252,   // from "U" to "L": refused, the MARC-8 writer would hold MARC-8 under "L"
    Windows1252ToMarc8,  // from "L" to "M", "O" or "V"
    Windows1252ToUtf8,   // from "L" to "U"
    Marc8ToWindows1252,  // from "M", "O" or "V" to "L"
};

RecordTranslation RecordTranslationBetween(const std::string& sFrom, const std::string& sTo) {
    if (sFrom == sTo) return RecordTranslation::None;
    if (sFrom == "U") return sTo == "L" ? RecordTranslation::Utf8ToWindows1252 : RecordTranslation::Utf8ToMarc8;
    if (sFrom == "L") return sTo == "U" ? RecordTranslation::Windows1252ToUtf8 : RecordTranslation::Windows1252ToMarc8;
    if (sTo == "U") return RecordTranslation::Marc8ToUtf8;
    if (sTo == "L") return RecordTranslation::Marc8ToWindows1252;
    return RecordTranslation::SingleByte;
}

const char* RecordTranslationName(RecordTranslation kind) {
    switch (kind) {
        case RecordTranslation::None: break;
        case RecordTranslation::SingleByte: return "8-bit set to 8-bit set";
        case RecordTranslation::Marc8ToUtf8: return "MARC-8 to UTF-8";
        case RecordTranslation::Utf8ToMarc8: return "UTF-8 to MARC-8";
        case RecordTranslation::Utf8ToWindows1252: return "UTF-8 to Windows-1252";
        case RecordTranslation::Windows1252ToMarc8: return "Windows-1252 to MARC-8";
        case RecordTranslation::Windows1252ToUtf8: return "Windows-1252 to UTF-8";
        case RecordTranslation::Marc8ToWindows1252: return "MARC-8 to Windows-1252";
    }
    return "";
}

// Whether the record translation has been built. A translation that has not
// is refused before anything changes, so that no record is ever handed out
// in its old set under the name of the new one.
bool RecordTranslationBuilt(RecordTranslation kind) {
    return kind == RecordTranslation::None || kind == RecordTranslation::SingleByte ||
           kind == RecordTranslation::Windows1252ToMarc8 || kind == RecordTranslation::Windows1252ToUtf8 ||
           kind == RecordTranslation::Marc8ToUtf8 || kind == RecordTranslation::Utf8ToMarc8;
}

[[noreturn]] void RaiseTranslationMissing(RecordTranslation kind) {
    throw RaisedError(ErrorNumber::InvalidProcedureCall, kMarcClassSource,
                      std::string("No record translation from ") + RecordTranslationName(kind) +
                          " is available");
}

// The census classes of the octets of an 8-bit record.
enum class OctetClass : uint8_t { Plain, Escape, SetV, LScriptO, SymbolM, Illegal };

constexpr std::array<OctetClass, 256> MakeOctetClasses() {
    std::array<OctetClass, 256> classes{};
    auto set = [&classes](int first, int last, OctetClass c) {
        for (int i = first; i <= last; ++i) classes[static_cast<size_t>(i)] = c;
    };
    set(0x00, 0xFF, OctetClass::Illegal);
    set(0x1D, 0x7E, OctetClass::Plain);
    set(0xA1, 0xAE, OctetClass::Plain);
    set(0xB0, 0xBA, OctetClass::Plain);
    set(0xBC, 0xBD, OctetClass::Plain);
    set(0xE0, 0xFB, OctetClass::Plain);
    set(0xFE, 0xFE, OctetClass::Plain);
    set(0x1B, 0x1B, OctetClass::Escape);
    set(0x90, 0x90, OctetClass::SetV);
    set(0x92, 0x96, OctetClass::SetV);
    set(0xA0, 0xA0, OctetClass::SetV);
    set(0xAF, 0xAF, OctetClass::SetV);
    set(0xBB, 0xBB, OctetClass::SetV);
    set(0xBF, 0xBF, OctetClass::SetV);
    // The sharp s and the euro sign of MARC-8 are superscripts 7 and 8 in "V": alone they speak
    // for neither set.
    set(0xC7, 0xC8, OctetClass::Plain);
    set(0xC9, 0xCD, OctetClass::SetV);
    set(0xD0, 0xDD, OctetClass::SetV);
    set(0xBE, 0xBE, OctetClass::LScriptO);
    set(0xC0, 0xC6, OctetClass::SymbolM);
    return classes;
}

constexpr std::array<OctetClass, 256> kOctetClasses = MakeOctetClasses();

}  // namespace

// ---------------------------------------------------------------- input set

std::string Utf8MarcRecordClass::CharacterSetIn() const {
    return m.CharacterSetInEffective.empty() ? m.CharacterSetIn : m.CharacterSetInEffective;
}

void Utf8MarcRecordClass::CharacterSetIn(const std::string& vNewValue) {
    // The first character exactly as given: no trimming, no change of case.
    const std::string sLetter = vNewValue.substr(0, 1);
    if (sLetter != "V" && sLetter != "O" && sLetter != "M" && sLetter != "U" && sLetter != "L")
        throw RaisedError(ErrorNumber::InvalidPropertyValue, kMarcClassSource,
                          "Invalid value for CharacterSetIn property");
    m.CharacterSetIn = sLetter;
}

// ---------------------------------------------------------------- output set

std::string Utf8MarcRecordClass::CharacterSetOut() const { return m.CharacterSetOut; }

void Utf8MarcRecordClass::CharacterSetOut(const std::string& vNewValue) {
    // Every assignment first composes the output, for its effects on the
    // record (leader/22-23, the subfield cursor); the text is not used. The
    // recast of thesis notes is left to the caller's own output.
    std::string sUnusedErrorText;
    ComposeMarcRecordOut(false, sUnusedErrorText);

    const std::string sOld = m.CharacterSetOut;
    const std::string sLetter = rt::UCase(rt::Left(rt::Trim(vNewValue), 1));
    std::string sNew;
    if (sLetter == "V" || sLetter == "O" || sLetter == "M" || sLetter == "L" || sLetter == "U") {
        sNew = sLetter;
    } else if (sLetter == "Y") {
        sNew = "M";
    } else {
        throw RaisedError(ErrorNumber::InvalidPropertyValue, kMarcClassSource,
                          "Invalid value for CharacterSetOut property: " + vNewValue);
    }

    const bool bTranslate = RecordPresent() && sNew != sOld;
    if (bTranslate) {
        const RecordTranslation kind = RecordTranslationBetween(sOld, sNew);
        if (!RecordTranslationBuilt(kind)) RaiseTranslationMissing(kind);
    }

    m.CharacterSetOut = sNew;
    m.RecordIsUtf8 = sNew == "U";
    // Only "U" decides the LC pattern; the 8-bit letters leave it as it was.
    if (sNew == "U") m.OutputIsUlc = vNewValue == "ULC";

    if (bTranslate) {
        // The translation starts from the set the record is held in; the set
        // the record arrived in is given back afterwards, also when the
        // translation fails.
        struct RestoreInEffective {
            std::string& target;
            std::string saved;
            ~RestoreInEffective() { target = saved; }
        } restore{m.CharacterSetInEffective, m.CharacterSetInEffective};
        m.CharacterSetInEffective = sOld;
        TranslateRecordCharacterSet();
    }
}

std::string Utf8MarcRecordClass::CharacterEncodingScheme() const { return m.CharacterEncodingScheme; }

bool Utf8MarcRecordClass::MarcRecordTranslated() const { return m.MarcRecordTranslated; }

bool Utf8MarcRecordClass::RecordPresent() const { return !m.MarcRecordIn.empty() || m.NewRecordCreated; }

void Utf8MarcRecordClass::TranslateRecordCharacterSet() {
    m.MarcRecordTranslated = false;
    const RecordTranslation kind = RecordTranslationBetween(m.CharacterSetInEffective, m.CharacterSetOut);
    const std::string& sFrom = m.CharacterSetInEffective;
    const std::string& sTo = m.CharacterSetOut;
    switch (kind) {
        case RecordTranslation::None:
            return;
        case RecordTranslation::SingleByte:
            if (sFrom == "M") sTo == "O" ? TranslateRecordM2O() : TranslateRecordM2V();
            else if (sFrom == "O") sTo == "M" ? TranslateRecordO2M() : TranslateRecordO2V();
            else sTo == "M" ? TranslateRecordV2M() : TranslateRecordV2O();
            return;
        case RecordTranslation::Windows1252ToMarc8:
            TranslateRecordL2M();
            return;
        case RecordTranslation::Windows1252ToUtf8:
            TranslateRecordL2U();
            return;
        case RecordTranslation::Marc8ToUtf8:
            TranslateRecordMarc8ToUtf8();
            return;
        case RecordTranslation::Utf8ToMarc8:
            TranslateRecordUtf8ToMarc8();
            return;
        case RecordTranslation::Utf8ToWindows1252:
        case RecordTranslation::Marc8ToWindows1252:
            RaiseTranslationMissing(kind);
    }
}

void Utf8MarcRecordClass::FldDeleteEvery066() {
    // With an event pump the finds run as they are, for their yields may run other code.
    if (platform::EventPumpInstalled()) {
        while (FldFindFirst("066", "")) FldDelete();
        return;
    }
    // Else one walk leaves what the finds leave: every live field that the tag
    // list "066" matches (an X of the tag matches any digit) deleted, the search
    // saved without text, the edge flags down, and the last field of the list
    // made current on the last find's way to no field.
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;
    m.FldSearchText = NormString("", true, "V");
    FldTakeSearchTags("066");
    const auto matches = [](const std::string& sTag) {
        static const char kWanted[] = "066";
        if (sTag.size() < 3) return false;
        for (size_t i = 0; i < 3; ++i)
            if (sTag[i] != kWanted[i] && sTag[i] != 'X') return false;
        return true;
    };
    int16_t iLast = -1;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount; i = m.Fields[static_cast<size_t>(i)].NextField) {
        FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        iLast = i;
        if (field.Deleted || !matches(field.Tag)) continue;
        field.Deleted = true;
        if (i == m.Fld008Pointer) m.Fld008Pointer = -1;
    }
    if (iLast >= 0) FldPointer(iLast);
    FldPointer(-1);
}

// ---------------------------------------------------------------- the set of a loaded record

void Utf8MarcRecordClass::DecideCharacterSetInEffective(const std::string& sMarcRecord) {
    m.CharacterSetInEffective = m.CharacterSetIn;
    m.CharacterEncodingScheme = rt::Mid(sMarcRecord, 10, 1);
    if (m.CharacterEncodingScheme == "a") {
        m.CharacterSetInEffective = "U";
    } else if (m.CharacterSetInEffective == "U") {
        // A configured "U" for a record whose leader does not say UTF-8: the
        // octets decide. "X" is read as "V", "Y" as "M".
        const std::string sVerdict = CharacterizeCharacterSet(sMarcRecord).substr(0, 1);
        m.CharacterSetInEffective = sVerdict == "X" ? "V" : sVerdict == "Y" ? "M" : sVerdict;
    }
}

std::string Utf8MarcRecordClass::HoldLoadInInputSet() {
    // "ULC" only while the output is UTF-8: an 8-bit letter set after "ULC"
    // leaves the LC flag on, and the record must still go back to that letter.
    const std::string sReturnTo = m.OutputIsUlc && m.CharacterSetOut == "U" ? "ULC" : m.CharacterSetOut;
    CharacterSetOut(CharacterSetIn());
    return sReturnTo;
}

void Utf8MarcRecordClass::ReturnLoadToOutputSet(const std::string& sReturnTo) {
    if (m.CharacterSetOut != sReturnTo) CharacterSetOut(sReturnTo);
}

std::string Utf8MarcRecordClass::CharacterizeCharacterSet(const std::string& sMarcRecord) {
    const std::string& sText = sMarcRecord.empty() ? m.MarcRecordIn : sMarcRecord;
    const bool bUtf8 = sMarcRecord.empty() ? m.CharacterEncodingScheme == "a"
                                           : sMarcRecord.size() >= 10 && sMarcRecord[9] == 'a';
    if (bUtf8) return "U";

    std::array<bool, 256> seen{};
    for (size_t i = 24; i < sText.size(); ++i) seen[static_cast<unsigned char>(sText[i])] = true;
    bool bEscape = false, bSetV = false, bLScriptO = false, bSymbolM = false;
    std::string sIllegal;
    for (int octet = 0; octet < 256; ++octet) {
        if (!seen[static_cast<size_t>(octet)]) continue;
        switch (kOctetClasses[static_cast<size_t>(octet)]) {
            case OctetClass::Plain: break;
            case OctetClass::Escape: bEscape = true; break;
            case OctetClass::SetV: bSetV = true; break;
            case OctetClass::LScriptO: bLScriptO = true; break;
            case OctetClass::SymbolM: bSymbolM = true; break;
            case OctetClass::Illegal: sIllegal += " " + std::to_string(octet); break;
        }
    }

    std::string sVerdict;
    if (bSymbolM) {
        sVerdict = bEscape ? "O" : bSetV ? "V" : "Y";
    } else if (bLScriptO) {
        sVerdict = bSetV ? "V" : bEscape ? "O" : "X";
    } else if (bSetV) {
        sVerdict = bEscape ? "X" : "V";
    } else {
        sVerdict = "M";
    }
    return sIllegal.empty() ? sVerdict : sVerdict + " Illegal character(s):" + sIllegal;
}

// ---------------------------------------------------------------- translation available

void Utf8MarcRecordClass::RequireRecordTranslation(const std::string& sFrom, const std::string& sTo) const {
    const RecordTranslation kind = RecordTranslationBetween(sFrom, sTo);
    if (RecordTranslationBuilt(kind)) return;
    if (sFrom == "U" && sTo == "L")
        throw RaisedError(ErrorNumber::InvalidProcedureCall, kMarcClassSource,
                          "No record translation from UTF-8 to Windows-1252 is available");
    RaiseTranslationMissing(kind);
}
