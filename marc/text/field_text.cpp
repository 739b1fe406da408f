// Field and subfield text in the numbered output forms. Each form is one row
// of a table: which steps shape the text and which encoder turns it into the
// result; the field member and the subfield member each have their table.
#include <array>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/display/rtf_text.h"
#include "marc/record/marc_record.h"
#include "marc/record/spaced_delimiters.h"
#include "marc/record/subfield_walk.h"
#include "marc/text/subfield_bars.h"

namespace {

// How the subfield delimiters are shown before the encoder.
enum class Delimiters : uint8_t {
    Untouched,  // no spacing, nothing replaced
    Bar,        // "|" for the delimiter, the code stays
    Blank,      // delimiter and code become one blank
    Kept,       // left to the encoder
};

enum class Encoder : uint8_t {
    None,         // the form has no text
    Raw,          // the shaped text itself
    Hex,          // Marc2HexDisplay
    Windows1252,  // Marc2MsoftAscii in the row's flavour
    Rtf,          // TranslateMarc2RTF
    LabelsRtf,    // TranslateDiacriticsIntoLabels, then TranslateMarc2RTF
    Plain,        // Marc2PlainText
    Proposal,     // the subject proposal of the current field
    NacoWalk,     // the NACO forms of the chosen subfields, as RTF
    NormWalk,     // the normalized forms of the chosen subfields, as RTF
    ByTag,        // form 3 for an 880 field, form 0 for any other
};

struct Form {
    Encoder encoder = Encoder::None;
    Delimiters delimiters = Delimiters::Untouched;
    bool collapse = false;  // blank runs collapsed before the encoder
    int32_t flavour = 0;    // of the Windows-1252 display
    bool trim = false;      // the encoder's result trimmed
};

constexpr int32_t kFormCount = 15;

constexpr std::array<Form, kFormCount> kFieldForms = {{
    /* 0 */ {Encoder::Hex, Delimiters::Bar},
    /* 1 */ {Encoder::Windows1252, Delimiters::Bar, true, 1, true},
    /* 2 */ {Encoder::Windows1252, Delimiters::Bar, false, 2},
    /* 3 */ {Encoder::Raw, Delimiters::Bar},
    /* 4 */ {Encoder::Proposal},
    /* 5 */ {Encoder::ByTag},
    /* 6 */ {Encoder::None},
    /* 7 */ {Encoder::Windows1252, Delimiters::Blank, true, 1},
    /* 8 */ {Encoder::Windows1252, Delimiters::Blank, true, 1, true},
    /* 9 */ {Encoder::Windows1252, Delimiters::Bar, false, 9},
    /* 10 */ {Encoder::Rtf, Delimiters::Kept},
    /* 11 */ {Encoder::LabelsRtf, Delimiters::Kept},
    /* 12 */ {Encoder::Rtf, Delimiters::Blank, true, 0, true},
    /* 13 */ {Encoder::NacoWalk},
    /* 14 */ {Encoder::NormWalk},
}};

constexpr std::array<Form, kFormCount> kSubfieldForms = {{
    /* 0 */ {Encoder::Hex, Delimiters::Bar},
    /* 1 */ {Encoder::Windows1252, Delimiters::Bar, false, 1},
    /* 2 */ {Encoder::Windows1252, Delimiters::Bar, false, 2},
    /* 3 */ {Encoder::Raw, Delimiters::Bar},
    /* 4 */ {Encoder::Proposal},
    /* 5 */ {Encoder::ByTag},
    /* 6 */ {Encoder::None},
    /* 7 */ {Encoder::Plain, Delimiters::Untouched},
    /* 8 */ {Encoder::Windows1252, Delimiters::Blank, false, 1},
    /* 9 */ {Encoder::Windows1252, Delimiters::Bar, false, 9},
    /* 10 */ {Encoder::None},
    /* 11 */ {Encoder::None},
    /* 12 */ {Encoder::None},
    /* 13 */ {Encoder::None},
    /* 14 */ {Encoder::None},
}};

const std::string kCodesLeftOutOfProposals = "0123456789w";

// The form of a code, 5 resolved by the current field's tag; null for a code
// without a form.
const Form* FormOf(const std::array<Form, kFormCount>& table, int32_t iOutput, const std::string& sTag) {
    if (iOutput < 0 || iOutput >= kFormCount) return nullptr;
    if (table[static_cast<size_t>(iOutput)].encoder == Encoder::ByTag) iOutput = sTag == "880" ? 3 : 0;
    return &table[static_cast<size_t>(iOutput)];
}

// Whether a record not held in UTF-8 is shaped as the same text in a UTF-8
// record (so that no step reads text an earlier step made UTF-8): every form
// but the hex and raw ones, which show the octets as the record holds them.
bool ShapedAsUtf8(bool bRecordIsUtf8, const Form& form) {
    return !bRecordIsUtf8 && form.encoder != Encoder::Hex && form.encoder != Encoder::Raw;
}

bool IsRtfEncoder(Encoder encoder) {
    return encoder == Encoder::Rtf || encoder == Encoder::LabelsRtf || encoder == Encoder::NacoWalk ||
           encoder == Encoder::NormWalk;
}

// RemoveDelimiters(AddSpacesAroundDelimiters(sText), sReplacement) in one pass.
std::string SpacedWithoutDelimiters(Utf8MarcRecordClass& r, const std::string& sText,
                                    const std::string& sReplacement) {
    const std::string sDelimiter = r.MarcDelimiter();
    const char delimiter = sDelimiter[0];
    const std::string sShown = sReplacement == sDelimiter ? "$" : sReplacement;
    if (sShown.find(delimiter) != std::string::npos)
        return r.RemoveDelimiters(r.AddSpacesAroundDelimiters(sText), sReplacement);
    const bool bCodeToo = sShown.empty() || sShown == " ";
    std::string sOut;
    sOut.reserve(sText.size() + sText.size() / 4 + 2);
    bool bSkip = false;  // the octet after a delimiter that goes with it
    spaced_delimiters::ForEachRun(sText, delimiter, [&](std::string_view run) {
        if (bSkip && !run.empty()) {
            run.remove_prefix(1);
            bSkip = false;
        }
        for (std::size_t p; (p = run.find(delimiter)) != std::string_view::npos;) {
            sOut += run.substr(0, p);
            if (!bCodeToo) {
                sOut += sShown;
                run.remove_prefix(p + 1);
            } else if (p + 1 < run.size()) {
                sOut += ' ';
                run.remove_prefix(p + 2);
            } else {
                sOut += ' ';
                bSkip = true;
                run = {};
            }
        }
        sOut += run;
    });
    return sOut;
}

// The shaping steps and the encoder of a row, on source text.
std::string Shape(Utf8MarcRecordClass& r, const Form& form, std::string sText) {
    if (form.delimiters == Delimiters::Bar) sText = SpacedWithoutDelimiters(r, sText, "|");
    else if (form.delimiters == Delimiters::Blank) sText = SpacedWithoutDelimiters(r, sText, "");
    else if (form.delimiters != Delimiters::Untouched) sText = r.AddSpacesAroundDelimiters(sText);
    if (form.collapse) sText = r.RemoveRepeatedCharacters(sText, " ");
    switch (form.encoder) {
        case Encoder::Hex: sText = r.Marc2HexDisplay(sText); break;
        case Encoder::Windows1252: sText = r.Marc2MsoftAscii(sText, form.flavour); break;
        case Encoder::Rtf: sText = r.TranslateMarc2RTF(sText, false, 10); break;
        case Encoder::LabelsRtf: sText = r.TranslateMarc2RTF(r.TranslateDiacriticsIntoLabels(sText), false, 10); break;
        case Encoder::Plain: sText = r.Marc2PlainText(sText); break;
        default: break;
    }
    if (form.trim) sText = rt::Trim(sText);
    return sText;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
}

}  // namespace

bool field_text::AppendBarsFromSubfields(const FieldEntry& field, std::string& sOut) {
    if (field.IsControl) return false;
    constexpr char kDelimiter = '\x1F';
    size_t iLength = 0;
    const SubfieldWalk end = WalkLiveSubfields(field, [&](const SubfieldEntry& sfd) {
        if (sfd.Code.size() != 1 || sfd.Code[0] == kDelimiter || sfd.Text.find(kDelimiter) != std::string::npos)
            return false;
        iLength += 4 + sfd.Text.size();
        return true;
    });
    if (end != SubfieldWalk::Done) return false;
    sOut.reserve(sOut.size() + iLength);
    bool bFirst = true;
    WalkLiveSubfields(field, [&](const SubfieldEntry& sfd) {
        if (!bFirst) sOut += ' ';
        bFirst = false;
        sOut += '|';
        sOut += sfd.Code;
        sOut += ' ';
        sOut += sfd.Text;
        return true;
    });
    return true;
}

std::string Utf8MarcRecordClass::FldTextByWalk(int32_t iOutput, const std::string& sSubfieldsToInclude,
                                               const std::string& sSubfieldsToExclude) {
    const std::string sDelimiter = MarcDelimiter();
    std::string sSource;
    SfdMoveFirst();
    do {
        // Deleted subfields take no part, as in every other walk.
        if (SfdDeleted()) continue;
        const std::string sCode = SfdCode();
        if (iOutput == 4) {
            if (sCode.empty() || kCodesLeftOutOfProposals.find(sCode) != std::string::npos) continue;
            sSource += sDelimiter + sCode + SfdText();
        } else {
            // An empty include list takes every code.
            if (sCode.empty() ||
                (!sSubfieldsToInclude.empty() && sSubfieldsToInclude.find(sCode) == std::string::npos) ||
                sSubfieldsToExclude.find(sCode) != std::string::npos)
                continue;
            sSource += " " + sDelimiter + sCode + " " + (iOutput == 13 ? SfdNormNaco() : SfdNorm());
        }
    } while (SfdMoveNext());
    return sSource;
}

std::string Utf8MarcRecordClass::FldTextFormatted(int32_t iOutput, bool bIncludeRtfWrapper,
                                                  int16_t iRtfFontSizeInPoints,
                                                  const std::string& sSubfieldsToInclude,
                                                  const std::string& sSubfieldsToExclude) {
    if (FldPointer() < 0) return "";
    const Form* form = FormOf(kFieldForms, iOutput, FldTag());
    if (form == nullptr) return "";
    std::string sText;
    switch (form->encoder) {
        case Encoder::None: return "";
        case Encoder::Proposal:
            sText = Marc2SacoProposal(FldTextByWalk(4, "", ""));
            ReplaceAll(sText, "{(}", "(");
            ReplaceAll(sText, "{)}", ")");
            return sText;
        case Encoder::NacoWalk:
        case Encoder::NormWalk:
            sText = TranslateMarc2RTF(rt::Trim(FldTextByWalk(iOutput, sSubfieldsToInclude, sSubfieldsToExclude)),
                                      false, 10);
            break;
        default: {
            const int16_t fld = CurrentField();
            const bool bBars = form->encoder == Encoder::Raw && form->delimiters == Delimiters::Bar &&
                               !form->collapse && !form->trim && sSubfieldsToInclude.empty() &&
                               sSubfieldsToExclude.empty() && fld >= 0;
            if (bBars && field_text::AppendBarsFromSubfields(m.Fields[static_cast<size_t>(fld)], sText)) return sText;
            // An empty include list shows every subfield, whatever its code.
            const std::string sSource = sSubfieldsToInclude.empty()
                                            ? FldTextWithoutCertainSubfields(sSubfieldsToExclude)
                                            : FldTextWithOnlyCertainSubfields(sSubfieldsToInclude, sSubfieldsToExclude);
            const auto shape = [&](const std::string& s) { return Shape(*this, *form, s); };
            const bool bAsUtf8 = ShapedAsUtf8(m.RecordIsUtf8, *form);
            sText = bAsUtf8 ? DisplayAsUtf8(sSource, shape) : shape(sSource);
        }
    }
    if (IsRtfEncoder(form->encoder) && bIncludeRtfWrapper)
        return rtf_text::ParagraphDocument(sText, iRtfFontSizeInPoints);
    return sText;
}

std::string Utf8MarcRecordClass::SfdTextFormatted(int32_t iOutput) {
    if (FldPointer() < 0 || SfdPointer() < 0 || m.SfdAtTop) return "";
    const Form* form = FormOf(kSubfieldForms, iOutput, FldTag());
    if (form == nullptr || form->encoder == Encoder::None) return "";
    if (form->encoder == Encoder::Proposal) return FldTextFormatted(4, false, 10, "", "");
    const auto shape = [&](const std::string& s) { return Shape(*this, *form, s); };
    const bool bAsUtf8 = ShapedAsUtf8(m.RecordIsUtf8, *form);
    return bAsUtf8 ? DisplayAsUtf8(SfdText(), shape) : shape(SfdText());
}
