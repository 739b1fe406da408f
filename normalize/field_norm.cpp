// Field normal forms: one comparison form of a whole heading field, built
// from the subfields that make up the heading for its tag and record format.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';
constexpr std::string_view kEveryLetter = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kBibliographicFormats = "BDFMPSU";

bool IsBibliographicFormat(const std::string& sFormat) {
    return sFormat.size() == 1 && kBibliographicFormats.find(sFormat[0]) != std::string_view::npos;
}

bool TagIn(const std::string& sTag, std::initializer_list<std::string_view> tags) {
    for (std::string_view tag : tags)
        if (sTag == tag) return true;
    return false;
}

// Each list in the two forms of its row: as it stands, and with the
// subdivision codes "vxyz" after it.
constexpr std::string_view kNameCodes = "abcdfgklmnoprsqtvxyz";
constexpr std::string_view kCorporateCodes = "abcdfgklmnoprstvxyz";
constexpr std::string_view kMeetingCodes = "acdefgklnpsqtvxyz";
constexpr std::string_view kUniformTitleCodes = "adfgklmnoprstvxyz";
constexpr std::string_view kEveryLetterAndSubdivisions = "abcdefghijklmnopqrstuvwxyzvxyz";

std::string_view WithoutSubdivisions(std::string_view codes) { return codes.substr(0, codes.size() - 4); }

std::string_view AuthorityCodes(const std::string& t) {
    if (TagIn(t, {"100", "400", "500", "700"})) return kNameCodes;
    if (TagIn(t, {"110", "410", "510", "710"})) return kCorporateCodes;
    if (TagIn(t, {"111", "411", "511", "711"})) return kMeetingCodes;
    if (TagIn(t, {"130", "430", "530", "730"})) return kUniformTitleCodes;
    if (TagIn(t, {"150", "450", "550", "750"})) return "abcdvxyz";
    if (TagIn(t, {"151", "451", "551", "751"})) return "avxyz";
    if (TagIn(t, {"155", "455", "555", "755"})) return "abvxyz";
    if (TagIn(t, {"180", "181", "182", "185", "480", "481", "482", "485", "580", "581", "582", "585", "780", "781",
                  "782", "785"}))
        return "vxyz";
    return kEveryLetter;
}

// A tag beginning "6" keeps the subdivision codes of its row.
std::string_view BibliographicCodes(const std::string& t) {
    std::string_view codes = kEveryLetterAndSubdivisions;
    if (TagIn(t, {"100", "400", "500", "600", "700", "800"}))
        codes = kNameCodes;
    else if (TagIn(t, {"110", "410", "510", "610", "710", "810"}))
        codes = kCorporateCodes;
    else if (TagIn(t, {"111", "411", "511", "611", "711", "811"}))
        codes = kMeetingCodes;
    else if (TagIn(t, {"130", "440", "490", "530", "630", "730", "830"}))
        codes = kUniformTitleCodes;
    else if (TagIn(t, {"210", "211", "245", "246", "740"}))
        codes = "abnpvxyz";
    else if (t == "650")
        codes = "abcdvxyz";
    else if (t == "651")
        codes = "avxyz";
    else if (t == "655")
        codes = "abvxyz";
    return !t.empty() && t[0] == '6' ? codes : WithoutSubdivisions(codes);
}

std::string_view CountingCodes(const std::string& sFormat, const std::string& sTag) {
    if (sFormat == "A") return AuthorityCodes(sTag);
    if (!IsBibliographicFormat(sFormat)) return kEveryLetter;
    return BibliographicCodes(sTag);
}

// Collapses runs of blanks and trims, in place.
void CollapseAndTrim(std::string& s) {
    size_t kept = 0;
    for (char c : s)
        if (c != ' ' || (kept > 0 && s[kept - 1] != ' ')) s[kept++] = c;
    if (kept > 0 && s[kept - 1] == ' ') --kept;
    s.resize(kept);
}

bool CodeCounts(std::string_view sCodes, const std::string& sCode) {
    return sCode.size() == 1 && sCodes.find(sCode[0]) != std::string_view::npos;
}

}  // namespace

std::string Utf8MarcRecordClass::ListSubfieldsForNormalization(const std::string& sFormat, const std::string& sTag) {
    return std::string(CountingCodes(sFormat, sTag));
}

std::string Utf8MarcRecordClass::NormalizeWholeField(const std::string& sNormalizationScheme,
                                                     const std::string& sMarcFormat, const std::string& sTag,
                                                     const std::string& sIndicators, const std::string& sInputText,
                                                     std::string& sReturnedSubfieldsOfInterestButNotNormalized) {
    // The record's scheme comes back on every way out, a raised error
    // included. A scheme already in force (in the record and its character
    // object) is neither set nor put back.
    struct SchemeGuard {
        Utf8MarcRecordClass& record;
        std::string saved;
        bool bChanged = false;
        ~SchemeGuard() {
            if (!bChanged) return;
            try {
                record.NormalizationScheme(saved);
            } catch (...) {  // the saved letter was accepted once; nothing to report
            }
        }
    } restore{*this, m.NormalizationScheme};

    bool bNaco = false;
    bool bSplitAtComma = false;
    const bool bKnown = sNormalizationScheme == "P" || sNormalizationScheme == "Q";
    const std::string_view sScheme = bKnown ? std::string_view(sNormalizationScheme) : std::string_view("V");
    if (sScheme == "P") {
        bNaco = bSplitAtComma = true;
    } else if (sScheme == "Q") {
        bNaco = true;
        if (sMarcFormat == "A")
            bSplitAtComma = rt::InStr("100 400 500", sTag) > 0;
        else if (IsBibliographicFormat(sMarcFormat))
            bSplitAtComma = rt::InStr("100 400 500 600 700 800", sTag) > 0;
        else
            bSplitAtComma = true;
    }
    const char* sLetter = bNaco ? "P" : "V";
    if (m.NormalizationScheme != sLetter || SharedChar().NormalizationScheme() != sLetter) {
        restore.bChanged = true;
        NormalizationScheme(sLetter);
    }

    const std::string_view sCodes = CountingCodes(sMarcFormat, sTag);
    std::string& sOut = sReturnedSubfieldsOfInterestButNotNormalized;
    sOut.clear();
    std::string sForm;
    sForm.reserve(sInputText.size() + 8);
    std::string sPiece;

    // Reading starts after the first $a; without one, at the start, as $a.
    const auto trimmed = [](std::string_view s) {
        const size_t first = s.find_first_not_of(' ');
        if (first == std::string_view::npos) return std::string_view();
        return s.substr(first, s.find_last_not_of(' ') - first + 1);
    };
    std::string_view rest = sInputText;
    const size_t firstA = sInputText.find("\x1F" "a");
    if (firstA != std::string::npos) rest = trimmed(rest.substr(firstA + 2));
    std::string sCode = "a";

    for (;;) {
        const size_t d = rest.find(kDelimiter);
        std::string_view piece = trimmed(rest.substr(0, d));
        std::string sNextCode;
        if (d != std::string_view::npos) {
            sNextCode = std::string(rest.substr(d + 1, 1));
            rest = trimmed(rest.substr(std::min(d + 2, rest.size())));
        }
        // A delimiter at the very start leaves an empty piece, which is skipped.
        const bool bSkip = (d == 0) || !CodeCounts(sCodes, sCode);
        if (!bSkip) sPiece.assign(piece);  // one buffer serves every piece
        if (!bSkip && sCode == "a") {
            if (NonfilingMayApply(sMarcFormat, sTag, sPiece)) {
                std::string sIndicatorsCopy = sIndicators;
                sPiece = RemoveNonfilingCharacters(sMarcFormat, sTag, sIndicatorsCopy, sPiece, true);
            }
            sOut += kDelimiter;
            sOut += 'a';
            sOut += sPiece;
            if (bNaco) {
                sForm += kDelimiter;
                sForm += 'a';
                const size_t comma = sPiece.find(',');
                if (!bSplitAtComma || comma == std::string::npos || comma + 1 == sPiece.size()) {
                    sForm += NormString(sPiece, true, std::string(sScheme));
                } else {
                    sForm += NormString(sPiece.substr(0, comma), true, "V");
                    sForm += ", ";
                    sForm += NormString(sPiece.substr(comma + 1), true, std::string(sScheme));
                }
            } else {
                sForm += ' ';
                sForm += NormString(sPiece, true, std::string(sScheme));
            }
        } else if (!bSkip) {
            sOut += kDelimiter;
            sOut += sCode;
            sOut += sPiece;
            if (!bNaco) {
                sForm += ' ';
                sForm += NormString(sPiece, true, std::string(sScheme));
            } else if (!(sMarcFormat == "A" && (sCode == "w" || rt::IsAsciiDigit(sCode[0])))) {
                sForm += kDelimiter;
                sForm += sCode;
                sForm += NormStringNaco(sPiece, true, std::string(sScheme), sMarcFormat, sTag, sCode);
            }
        }
        if (d == std::string_view::npos || rest.empty()) break;
        sCode = std::move(sNextCode);
    }
    CollapseAndTrim(sForm);
    return sForm;
}

std::string Utf8MarcRecordClass::GenerateNacoFormFromRaw(const std::string& sTag, const std::string& sField) {
    std::string sForm;
    std::string sCode = "a";
    size_t pos = 0;
    if (!sField.empty() && sField[0] == kDelimiter) {
        sCode = sField.substr(1, 1);
        pos = 2;
    }
    while (pos < sField.size()) {
        const size_t d = sField.find(kDelimiter, pos);
        const std::string sPiece = sField.substr(pos, d == std::string::npos ? std::string::npos : d - pos);
        std::string sNextCode;
        if (d == std::string::npos) {
            pos = sField.size();
        } else {
            sNextCode = sField.substr(d + 1, 1);
            pos = d + 2;
        }
        if (sCode == "a") {
            // Each $a starts the form afresh.
            const std::string sA = rt::Trim(sPiece);
            const size_t comma = sA.find(',');
            sForm.assign(1, kDelimiter);
            sForm += 'a';
            if (comma != std::string::npos && comma + 1 < sA.size()) {
                sForm += NormString(sA.substr(0, comma), true, "V");
                sForm += ", ";
                sForm += NormString(sA.substr(comma + 1), true, "V");
            } else {
                sForm += NormString(sA, true, "V");
            }
        } else if (sCode.size() == 1 && sCode != "w" && !rt::IsAsciiDigit(sCode[0])) {
            sForm += kDelimiter;
            sForm += sCode;
            sForm += NormStringNaco(sPiece, true, "P", "A", sTag, sCode);
        }
        sCode = std::move(sNextCode);
    }
    return sForm;
}

std::string Utf8MarcRecordClass::FldNorm() {
    if (CurrentField() < 0) return "";
    std::string sSubfields;
    return NormalizeWholeField("V", m.MarcRecordFormat, FldTag(), FldInd(), FldText(), sSubfields);
}

std::string Utf8MarcRecordClass::FldNormNaco() {
    if (CurrentField() < 0) return "";
    std::string sSubfields;
    return NormalizeWholeField("P", m.MarcRecordFormat, FldTag(), FldInd(), FldText(), sSubfields);
}

std::string Utf8MarcRecordClass::FldNormNacoAlmost() {
    if (CurrentField() < 0) return "";
    std::string sSubfields;
    return NormalizeWholeField("Q", m.MarcRecordFormat, FldTag(), FldInd(), FldText(), sSubfields);
}

std::string Utf8MarcRecordClass::FldTextNormalizable() {
    const int16_t fld = CurrentField();
    if (fld < 0) return "";
    const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    if (field.IsControl) {
        if (field.FirstSubfield < 0) return "";
        return field.Subfields[static_cast<size_t>(field.FirstSubfield)].Text;
    }
    const std::string_view sCodes = CountingCodes(m.MarcRecordFormat, field.Tag);
    std::string sText;
    for (int16_t i = field.FirstSubfield; i >= 0;) {
        const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(i)];
        if (!subfield.Deleted && CodeCounts(sCodes, subfield.Code)) {
            sText += kDelimiter;
            sText += subfield.Code;
            sText += subfield.Text;
        }
        i = subfield.NextSubfield;
    }
    return sText;
}

void Utf8MarcRecordClass::FldLoadInfoNormalizable(std::string& sTag, std::string& sIndicators, std::string& sField) {
    sTag = FldTag();
    sIndicators = FldInd();
    sField = FldTextNormalizable();
}
