// The record's comparison forms of text: NormString and NormStringNaco, and
// the normalization scheme they pass to the shared character object.
//
// UTF-8 text goes character by character through the character object's
// Utf8CharNorm. 8-bit text goes octet by octet through two maps: the set's own
// map into MARC-8 codes (NormOctetV for "V", NormOctetMarc8 for "M" and "O"),
// then NormOctetFinal into the form. Their composition is kept per octet, made
// on first use, so a text costs one table look-up per octet.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc8/escape_designation.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kDelimiter = '\x1F';
constexpr char kEscape = '\x1B';
// Positions of the 8-bit scan are 16-bit counts.
constexpr size_t kLongest8BitText = 32767;

// Appends octets to a text, letting no blank follow a blank. The room for the
// expected length is made once, so appending allocates nothing.
class CollapsingAppender {
public:
    CollapsingAppender(std::string& text, size_t expected) : text_(text), size_(text.size()) {
        text_.resize(size_ + expected);
    }
    ~CollapsingAppender() { text_.resize(size_); }
    CollapsingAppender(const CollapsingAppender&) = delete;
    CollapsingAppender& operator=(const CollapsingAppender&) = delete;

    void Append(const char* octets, size_t length) {
        if (size_ + length > text_.size()) text_.resize(2 * (size_ + length));
        for (size_t i = 0; i < length; ++i) {
            const char c = octets[i];
            if (c == kBlank && size_ > 0 && text_[size_ - 1] == kBlank) continue;
            text_[size_++] = c;
        }
    }
    void Append(const std::string& octets) { Append(octets.data(), octets.size()); }

private:
    std::string& text_;
    size_t size_;
};

// The comparison form of one character, at most three octets; Known False
// for a character whose form must come from the character object.
struct ShortNormForm {
    char Text[3];
    uint8_t Length;
    bool Known;
};

// The forms of the one- and two-octet characters (U+0000 to U+07FF), which
// hold most heading text, made once from the character object itself. The
// subfield delimiter and the commercial at, whose forms depend on the scheme,
// are left to the character object.
constexpr uint32_t kKnownFormCount = 0x800;
constexpr uint32_t kNoKnownForm = 0xFFFFFFFFu;

const ShortNormForm* KnownUtf8NormForms() {
    static const std::vector<ShortNormForm> forms = [] {
        std::vector<ShortNormForm> made(kKnownFormCount);
        Utf8CharClass chars;
        for (uint32_t cp = 0; cp < kKnownFormCount; ++cp) {
            chars.Utf8Char(chars.UcsNumericToUtf8(static_cast<int32_t>(cp)));
            const std::string form = chars.Utf8CharNorm("V");
            made[cp].Known = form.size() <= sizeof made[cp].Text && cp != 0x1F && cp != '@';
            made[cp].Length = static_cast<uint8_t>(form.copy(made[cp].Text, sizeof made[cp].Text));
        }
        return made;
    }();
    return forms.data();
}

// The octet count that each lead octet announces, read once from the
// character object.
const uint8_t* OctetCountsByLead() {
    static const std::vector<uint8_t> counts = [] {
        std::vector<uint8_t> made(256);
        Utf8CharClass chars;
        for (int lead = 0; lead < 256; ++lead)
            made[static_cast<size_t>(lead)] = static_cast<uint8_t>(chars.Utf8CharOctets(std::string(1, static_cast<char>(lead))));
        return made;
    }();
    return counts.data();
}

// The index of the known form of the character at i, or kNoKnownForm: an
// ASCII character or a well-formed two-octet one.
uint32_t KnownFormKey(const std::string& sText, size_t i, size_t step) {
    const unsigned char lead = static_cast<unsigned char>(sText[i]);
    if (step == 1) return lead < 0x80 ? lead : kNoKnownForm;
    if (step != 2 || i + 1 >= sText.size()) return kNoKnownForm;
    const unsigned char trail = static_cast<unsigned char>(sText[i + 1]);
    if (lead < 0xC2 || (trail & 0xC0) != 0x80) return kNoKnownForm;
    return (static_cast<uint32_t>(lead & 0x1F) << 6) | (trail & 0x3Fu);
}

bool IsAsciiCapitalOrDigit(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// What both set maps do alike: the punctuation passes, the blank, the digits
// and the capitals stay, a-z become capitals and 0x5E-0x60 go. Gives false for
// an octet that the set's own rules decide.
bool CommonOctetCode(unsigned char c, std::string& sCode) {
    if ((c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x5D) ||
        (c >= 0x7B && c <= 0x7D) || c == kBlank || IsAsciiCapitalOrDigit(c)) {
        sCode.assign(1, static_cast<char>(c));
        return true;
    }
    if (c >= 'a' && c <= 'z') {
        sCode.assign(1, rt::UCaseChar(static_cast<char>(c)));
        return true;
    }
    if (c >= 0x5E && c <= 0x60) {
        sCode.clear();
        return true;
    }
    return false;
}

}  // namespace

// ---------------------------------------------------------------- scheme

std::string Utf8MarcRecordClass::NormalizationScheme() const { return m.NormalizationScheme; }

void Utf8MarcRecordClass::NormalizationScheme(const std::string& vNewValue) {
    // The letter itself, as the record's own calls give it, is taken as it stands.
    const bool bLetter = vNewValue.size() == 1 && (vNewValue[0] == 'V' || vNewValue[0] == 'P');
    const std::string sLetter = bLetter ? vNewValue : rt::UCase(rt::Left(rt::Trim(vNewValue), 1));
    if (sLetter != "V" && sLetter != "P")
        throw RaisedError(ErrorNumber::InvalidPropertyValue, "MarcClass",
                          "Invalid value for NormalizationScheme property");
    m.NormalizationScheme = sLetter;
    SharedChar().NormalizationScheme(sLetter);
}

// ---------------------------------------------------------------- the forms

std::string Utf8MarcRecordClass::NormString(const std::string& sCharacterString, bool bTrim,
                                            const std::string& /*sScheme*/) {
    // Every scheme argument gives the form of scheme "V".
    std::string sForm;
    if (m.RecordIsUtf8) {
        AppendUtf8NormForm(sForm, sCharacterString, "V", false, false);
    } else {
        AppendEightBitNormForm(sForm, sCharacterString);
    }
    return bTrim ? rt::Trim(sForm) : sForm;
}

std::string Utf8MarcRecordClass::NormStringNaco(const std::string& sCharacterString, bool bTrim,
                                                const std::string& sScheme, const std::string& sRecordFormat,
                                                const std::string& sTag, const std::string& sSfdCode) {
    // The comma of a name or title heading's $a and the hyphen of a personal
    // name's $d dates survive in UTF-8 text under the NACO scheme.
    bool bCommaRule = false;
    bool bHyphenRule = false;
    if (m.RecordIsUtf8 && sScheme == "P") {
        const std::string sTagFirst = rt::Left(sTag, 1);
        const bool bHeadingTag =
            (sRecordFormat == "A" && (sTag.empty() || rt::InStr("145", sTagFirst) > 0)) ||
            (sRecordFormat == "B" && !sTag.empty() && rt::InStr("124678", sTagFirst) > 0);
        bCommaRule = bHeadingTag && sSfdCode == "a";
        bHyphenRule = bHeadingTag && sSfdCode == "d" && rt::Mid(sTag, 2, 2) == "00";
    }

    std::string sForm;
    if (m.RecordIsUtf8) {
        AppendUtf8NormForm(sForm, sCharacterString, sScheme, bCommaRule, bHyphenRule);
    } else {
        AppendEightBitNormForm(sForm, sCharacterString);
    }
    if (bTrim) sForm = rt::Trim(sForm);
    if (bCommaRule && !sForm.empty() && sForm.back() == ',') sForm.pop_back();
    if (bHyphenRule && !sForm.empty() && sForm.front() != '-' && sForm.back() != '-') {
        // A closed range of dates: "1900-1980" becomes "1900 1980".
        for (char& c : sForm)
            if (c == '-') c = kBlank;
    }
    return rt::Trim(RemoveRepeatedCharacters(sForm, " "));
}

// ---------------------------------------------------------------- UTF-8 text

void Utf8MarcRecordClass::AppendUtf8NormForm(std::string& sForm, const std::string& sText,
                                              const std::string& sScheme, bool bKeepCommas, bool bKeepHyphens) {
    Utf8CharClass& chars = SharedChar();
    const ShortNormForm* known = KnownUtf8NormForms();
    const uint8_t* octetCounts = OctetCountsByLead();
    // No character's form is longer than the character.
    CollapsingAppender out(sForm, sText.size());
    std::string sChar;  // one character at a time; short enough never to allocate
    size_t last = 0;    // where the last character begins
    for (size_t i = 0; i < sText.size();) {
        const unsigned char lead = static_cast<unsigned char>(sText[i]);
        const size_t step = octetCounts[lead];
        last = i;
        const uint32_t key = KnownFormKey(sText, i, step);
        if (key != kNoKnownForm && known[key].Known && !(bKeepCommas && lead == ',') && !(bKeepHyphens && lead == '-')) {
            out.Append(known[key].Text, known[key].Length);
        } else {
            sChar.assign(sText, i, step);
            chars.Utf8Char(sChar);
            if ((bKeepCommas && sChar == ",") || (bKeepHyphens && sChar == "-")) {
                out.Append(sChar);
            } else {
                out.Append(chars.Utf8CharNorm(sScheme));
            }
        }
        i += step;
    }
    // The walk leaves the last character current, as if every character had
    // been made current in turn.
    if (!sText.empty()) {
        sChar.assign(sText, last, std::string::npos);
        chars.Utf8Char(sChar);
    }
}

// ---------------------------------------------------------------- 8-bit text

void Utf8MarcRecordClass::AppendEightBitNormForm(std::string& sForm, const std::string& sText) {
    const bool bSetV = m.CharacterSetOut == "V";
    if (!bSetV && m.CharacterSetOut != "M" && m.CharacterSetOut != "O") return;
    if (sText.size() > kLongest8BitText) RaiseRuntimeError(ErrorNumber::Overflow, "MarcClass");
    if (m.NormOctetForms.empty()) BuildNormOctetForms();
    const NormOctetForm* forms = m.NormOctetForms.data() + (bSetV ? 0 : 256);

    // No octet gives more than two.
    CollapsingAppender out(sForm, 2 * sText.size());
    size_t codes = 0;  // length of the MARC-8 codes between the two maps
    auto appendCode = [&](const std::string& sCode) {
        ++codes;
        out.Append(NormOctetFinal(sCode));
    };
    const size_t n = sText.size();
    // An escape is skipped with the octet after it, unless that octet is one no escape takes (a
    // delimiter, a terminator, ESC), which is read next.
    auto PastEscape = [&](size_t at) { return at + (at + 1 < n && marc8::EndsEscape(sText[at + 1]) ? 1 : 2); };
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c == kDelimiter) {
            // The delimiter and its subfield code become one blank.
            appendCode(" ");
            i += 2;
        } else if (c == kEscape) {
            const bool bGreek = i + 1 < n && sText[i + 1] == 'g';
            i = PastEscape(i);
            if (!bGreek) continue;
            // A run of Greek symbols: a, b and c are alpha, beta and gamma; an
            // escape ends the run with the octet after it, a delimiter ends it
            // and is read as usual; anything else is dropped.
            while (i < n) {
                const char g = sText[i];
                if (g == kDelimiter) break;
                if (g == kEscape) {
                    i = PastEscape(i);
                    break;
                }
                if (g == 'a') appendCode(m.Marc8CodeAlpha);
                if (g == 'b') appendCode(m.Marc8CodeBeta);
                if (g == 'c') appendCode(m.Marc8CodeGamma);
                ++i;
            }
        } else {
            const NormOctetForm& form = forms[c];
            codes += form.CodeLength;
            out.Append(form.Text, form.Length);
            ++i;
        }
        if (codes > kLongest8BitText) RaiseRuntimeError(ErrorNumber::Overflow, "MarcClass");
    }
}

void Utf8MarcRecordClass::BuildNormOctetForms() {
    std::vector<NormOctetForm> forms(512);
    for (int set = 0; set < 2; ++set) {
        const bool bSetV = set == 0;
        for (int octet = 0; octet < 256; ++octet) {
            const std::string sOctet(1, static_cast<char>(octet));
            std::string sCodes;
            // The script small l: 0xA0 in "V", 0xBE and 0xC1 in "M" and "O".
            if (bSetV ? octet == 0xA0 : (octet == 0xBE || octet == 0xC1)) {
                sCodes = m.Marc8CodeLScript;
            } else {
                sCodes = bSetV ? NormOctetV(sOctet) : NormOctetMarc8(sOctet);
            }
            std::string sText;
            for (char code : sCodes) sText += NormOctetFinal(std::string(1, code));
            NormOctetForm& form = forms[static_cast<size_t>(set * 256 + octet)];
            form.Length = static_cast<uint8_t>(sText.copy(form.Text, sizeof form.Text));
            form.CodeLength = static_cast<uint8_t>(sCodes.size());
        }
    }
    m.NormOctetForms = std::move(forms);
}

std::string Utf8MarcRecordClass::NormOctetV(const std::string& sOctet) {
    if (sOctet.empty()) return "";
    const unsigned char c = static_cast<unsigned char>(sOctet[0]);
    std::string sCode;
    if (CommonOctetCode(c, sCode)) return sCode;
    if (c < 0x20) return sOctet;                                                         // controls
    if (c >= 0xC0 && c <= 0xC9) return std::string(1, static_cast<char>('0' + c - 0xC0));  // superscript digits
    if (c >= 0xD0 && c <= 0xD9) return std::string(1, static_cast<char>('0' + c - 0xD0));  // subscript digits
    const std::string* signs[] = {&m.Marc8CodeSuperscriptPlus, &m.Marc8CodeSuperscriptMinus,
                                  &m.Marc8CodeSuperscriptParensLeft, &m.Marc8CodeSuperscriptParensRight};
    if (c >= 0xCA && c <= 0xCD) return *signs[c - 0xCA];
    if (c >= 0xDA && c <= 0xDD) return *signs[c - 0xDA];
    switch (c) {
        case 0x90: return m.Marc8CodeDegree;
        case 0x92: return m.Marc8CodePressing;
        case 0x93: return m.Marc8CodeCopyright;
        case 0x94: return m.Marc8CodeSharp;
        case 0x95: return m.Marc8CodeQuestionInverted;
        case 0x96: return m.Marc8CodeExclamationInverted;
        case 0x87: return m.Marc8CodeBraceLeft;
        case 0xAF: return m.Marc8CodeAlpha;
        case 0xBE: return m.Marc8CodeBeta;
        case 0xBF: return m.Marc8CodeGamma;
        case 0xB8: return "I";
        case 0xA1: case 0xB1: return m.Marc8CodeLSlashUpper;
        case 0xA2: case 0xB2: return m.Marc8CodeOSlashUpper;
        case 0xA3: case 0xB3: return m.Marc8CodeDSlashUpper;
        case 0xA4: case 0xB4: return m.Marc8CodeThornUpper;
        case 0xA5: case 0xB5: return m.Marc8CodeAEUpper;
        case 0xA6: case 0xB6: return m.Marc8CodeOEUpper;
        case 0xAC: case 0xBC: return m.Marc8CodeOHookUpper;
        case 0xAD: case 0xBD: return m.Marc8CodeUHookUpper;
        case 0xA9: case 0xAA: case 0xAB: case 0xAE: case 0xB0: case 0xB9: case 0xBA:
            return sOctet;
        default:
            return "";
    }
}

std::string Utf8MarcRecordClass::NormOctetMarc8(const std::string& sOctet) {
    if (sOctet.empty()) return "";
    const unsigned char c = static_cast<unsigned char>(sOctet[0]);
    std::string sCode;
    if (CommonOctetCode(c, sCode)) return sCode;
    switch (c) {
        case 0xA1: case 0xB1: return m.Marc8CodeLSlashUpper;
        case 0xA2: case 0xB2: return m.Marc8CodeOSlashUpper;
        case 0xA3: case 0xB3: return m.Marc8CodeDSlashUpper;
        case 0xAC: case 0xBC: return m.Marc8CodeOHookUpper;
        case 0xAD: case 0xBD: return m.Marc8CodeUHookUpper;
        case 0xA4: case 0xB4: return "TH";
        case 0xA5: case 0xB5: return "AE";
        case 0xA6: case 0xB6: return "OE";
        case 0xB8: return "I";
        case 0xA9: case 0xAA: case 0xAE: case 0xB0: case 0xB9: case 0xBA:
        case 0xC0: case 0xC2: case 0xC3: case 0xC4: case 0xC5: case 0xC6:
            return sOctet;
        default:
            return "";  // controls and every other octet
    }
}

std::string Utf8MarcRecordClass::NormOctetFinal(const std::string& sCode) {
    if (sCode.empty()) return "";
    const unsigned char c = static_cast<unsigned char>(sCode[0]);
    if (IsAsciiCapitalOrDigit(c) || c == kBlank || c == '#' || c == '&' || c == '+') return sCode;
    // The record's codes of special letters, Greek letters and signs.
    const std::pair<const std::string*, const char*> forms[] = {
        {&m.Marc8CodeLSlashUpper, "L"},       {&m.Marc8CodeOSlashUpper, "O"},
        {&m.Marc8CodeDSlashUpper, "D"},       {&m.Marc8CodeThornUpper, "TH"},
        {&m.Marc8CodeAEUpper, "AE"},          {&m.Marc8CodeOEUpper, "OE"},
        {&m.Marc8CodeOHookUpper, "O"},        {&m.Marc8CodeUHookUpper, "U"},
        {&m.Marc8CodeLScript, "L"},           {&m.Marc8CodeEth, "D"},
        {&m.Marc8CodeAlpha, "A"},             {&m.Marc8CodeBeta, "B"},
        {&m.Marc8CodeGamma, "G"},             {&m.Marc8CodeFlat, nullptr},  // the flat keeps its octet
        {&m.Marc8CodeBritishPound, " "},      {&m.Marc8CodeBraceLeft, " "},
        {&m.Marc8CodeSuperscriptPlus, " "},   {&m.Marc8CodeSuperscriptMinus, " "},
        {&m.Marc8CodeSuperscriptParensLeft, " "}, {&m.Marc8CodeSuperscriptParensRight, " "},
    };
    for (const auto& [code, form] : forms)
        if (sCode == *code) return form != nullptr ? std::string(form) : sCode;
    const int16_t value = static_cast<int16_t>(c);
    if (value == m.Marc8ValueDegree || value == m.Marc8ValuePressing || value == m.Marc8ValueCopyright ||
        value == m.Marc8ValueSharp || value == m.Marc8ValueQuestionInverted ||
        value == m.Marc8ValueExclamationInverted)
        return "";
    switch (c) {
        case 0x27: case 0x5B: case 0x5D: case 0x5E: case 0x5F: case 0x60: case 0x7C: case 0x7E:
        case 0xA7: case 0xA8: case 0xAE: case 0xB0: case 0xB7: case 0xBB:
            return "";
        default:
            return c >= 0xE0 ? "" : " ";
    }
}
