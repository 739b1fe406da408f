// Subject-proposal text and plain text: field text (of a record held in an
// 8-bit set, as the same record loaded into UTF-8 reads it) rebuilt as Latin
// text of set "V" (one shared first pass), then each octet replaced by its
// written form from the member's octet table.
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_text::OctetAt;

// What an octet becomes: its written form, or a form that depends on the
// octet before it in the text.
enum class Context : uint8_t { None, DegreeAfterDigit, MinutesAfterDigit, SecondsAfterDigit };

struct OctetForm {
    std::string_view Written;
    bool Itself = false;
    Context Rule = Context::None;
};

using OctetTable = std::array<OctetForm, 256>;

// The written forms of the octets from 0x80 on, in set "V" (its layout of
// 0xBE and 0xC0 to 0xCF in rows of their own). Rows are {octet, form}.
struct Row {
    unsigned Octet;
    std::string_view Written;
};

OctetTable MakeTable(std::span<const Row> rows, std::span<const Row> layoutRows) {
    OctetTable table{};
    for (unsigned c = 0; c < 0x80; ++c) table[c].Itself = true;
    for (const Row& row : rows) table[row.Octet].Written = row.Written;
    for (const Row& row : layoutRows) table[row.Octet].Written = row.Written;
    return table;
}

// Rows of the subject-proposal table.
constexpr Row kProposalRows[] = {
    {0x90, "deg. "}, {0x91, "{(}l"}, {0x92, "{(}p{)}"}, {0x93, "\xA9"}, {0x94, "#"}, {0x95, "\xBF"},
    {0x96, "\xA1"}, {0xA0, "l"}, {0xA1, "{(}slash L{)}"}, {0xA2, "{(}slash O{)}"}, {0xA3, "{(}slash D{)}"},
    {0xA4, "{(}Thorn{)}"}, {0xA5, "{(}AE{)}"}, {0xA6, "{(}OE{)}"}, {0xA7, "{(}miagkii znak{)}"},
    {0xA8, "{(}dot center{)}"}, {0xA9, "flat"}, {0xAA, "{(}r{)}"}, {0xAB, "\xB1"}, {0xAC, "{(}O hook{)}"},
    {0xAD, "{(}U hook{)}"}, {0xAE, "alif"}, {0xAF, "alpha "}, {0xB0, "{(}ayn{)}"}, {0xB1, "{(}slash l{)}"},
    {0xB2, "{(}slash o{)}"}, {0xB3, "{(}slash d{)}"}, {0xB4, "{(}thorn{)}"}, {0xB5, "{(}ae{)}"},
    {0xB6, "{(}oe{)}"}, {0xB7, "{(}tvyerdi znak{)}"}, {0xB8, "{(}undotted i{)}"}, {0xBA, "{(}eth{)}"},
    {0xBC, "{(}o hook{)}"}, {0xBD, "{(}u hook{)}"}, {0xBF, " gamma "}, {0xD0, "0"}, {0xD1, "1"}, {0xD2, "2"},
    {0xD3, "3"}, {0xD4, "4"}, {0xD5, "5"}, {0xD6, "6"}, {0xD7, "7"}, {0xD8, "8"}, {0xD9, "9"}, {0xDA, "+"},
    {0xDB, "-"}, {0xDC, "{(}"}, {0xDD, "{)}"}, {0xE1, "{(}grave{)}"}, {0xE2, "{(}acute{)}"},
    {0xE3, "{(}circumflex{)}"}, {0xE4, "{(}tilde{)}"}, {0xE5, "{(}macron{)}"}, {0xE6, "{(}breve{)}"},
    {0xE7, "{(}dot above{)}"}, {0xE8, "{(}umlaut{)}"}, {0xE9, "{(}hacek{)}"}, {0xEA, "deg"},
    {0xEB, "{(}left ligature{)}"}, {0xEC, "{(}right ligature{)}"}, {0xED, "{(}comma off{)}"},
    {0xEE, "{(}double acute{)}"}, {0xF0, "{(}cedilla{)}"}, {0xF1, "{(}right hook{)}"},
    {0xF2, "{(}dot below{)}"}, {0xF3, "{(}double dot below{)}"}, {0xF6, "_"}, {0xF7, "{(}left hook{)}"},
    {0xF8, "{(}right cedilla{)}"}, {0xFA, "{(}double tilde 1{)}"}, {0xFB, "{(}double tilde 2{)}"},
};
constexpr Row kProposalRowsV[] = {
    {0xBE, "beta "}, {0xC0, "0"}, {0xC1, "1"}, {0xC2, "2"}, {0xC3, "3"}, {0xC4, "4"}, {0xC5, "5"},
    {0xC6, "6"}, {0xC7, "7"}, {0xC8, "8"}, {0xC9, "9"}, {0xCA, "+"}, {0xCB, "-"}, {0xCC, "{(}"}, {0xCD, "{)}"},
};

// Rows of the plain-text table.
constexpr Row kPlainRows[] = {
    {0x90, "deg. "}, {0x91, "l"}, {0x92, "(p)"}, {0x93, "(c)"}, {0x94, "#"}, {0x95, "?"}, {0x96, "!"},
    {0xA0, "l"}, {0xA1, "L"}, {0xA2, "O"}, {0xA3, "D"}, {0xA4, "Th"}, {0xA5, "Ae"}, {0xA6, "Oe"}, {0xA7, "'"},
    {0xA8, "."}, {0xA9, "flat"}, {0xAA, "(r)"}, {0xAB, "+/-"}, {0xAC, "O"}, {0xAD, "U"}, {0xAE, " alif "},
    {0xAF, " alpha "}, {0xB0, " ayn "}, {0xB1, "l"}, {0xB2, "o"}, {0xB3, "d"}, {0xB4, "th"}, {0xB5, "ae"},
    {0xB6, "oe"}, {0xB7, "\""}, {0xB8, "i"}, {0xBA, "th"}, {0xBC, "o"}, {0xBD, "u"}, {0xBF, " gamma "},
    {0xD0, "0"}, {0xD1, "1"}, {0xD2, "2"}, {0xD3, "3"}, {0xD4, "4"}, {0xD5, "5"}, {0xD6, "6"}, {0xD7, "7"},
    {0xD8, "8"}, {0xD9, "9"}, {0xDA, "+"}, {0xDB, "-"}, {0xDC, "("}, {0xDD, ")"},
};
constexpr Row kPlainRowsV[] = {
    {0xBE, " beta "}, {0xC0, "0"}, {0xC1, "1"}, {0xC2, "2"}, {0xC3, "3"}, {0xC4, "4"}, {0xC5, "5"},
    {0xC6, "6"}, {0xC7, "7"}, {0xC8, "8"}, {0xC9, "9"}, {0xCA, "+"}, {0xCB, "-"}, {0xCC, "("}, {0xCD, ")"},
};

OctetTable ProposalTable() {
    OctetTable table = MakeTable(kProposalRows, kProposalRowsV);
    table[0x28] = {"{(}", false, Context::None};
    table[0x29] = {"{)}", false, Context::None};
    table[0xA7].Rule = Context::MinutesAfterDigit;
    table[0xB7].Rule = Context::SecondsAfterDigit;
    table[0xC0].Rule = Context::DegreeAfterDigit;
    return table;
}

OctetTable PlainTable() { return MakeTable(kPlainRows, kPlainRowsV); }

// The second pass: every octet by its table entry; "before" is the octet to
// its left in the text as it was, never a written form.
std::string WriteByTable(const std::string& sText, const OctetTable& table) {
    std::string out;
    out.reserve(sText.size() + sText.size() / 2);
    for (size_t i = 0; i < sText.size(); ++i) {
        const OctetForm& form = table[OctetAt(sText, i)];
        if (form.Itself) {
            out += sText[i];
            continue;
        }
        const bool bAfterDigit = i > 0 && rt::IsAsciiDigit(sText[i - 1]);
        switch (form.Rule) {
            case Context::DegreeAfterDigit: out += bAfterDigit ? "deg. " : form.Written; break;
            case Context::MinutesAfterDigit: out += bAfterDigit ? "min. " : form.Written; break;
            case Context::SecondsAfterDigit: out += bAfterDigit ? "sec. " : form.Written; break;
            case Context::None: out += form.Written; break;
        }
    }
    return out;
}

}  // namespace

std::string Utf8MarcRecordClass::RebuildTextInSetV(const std::string& sText) {
    constexpr int kSubstitutionDepth = 3;
    static const std::string kSharpS = "\xC3\x9F";
    static const std::string kEuro = "\xE2\x82\xAC";
    Utf8CharClass& chars = SharedChar();
    std::string sSetV = "V";
    display_text::BackwardText rebuilt(sText.size());
    // The collection starts empty and is left empty.
    m.CombiningMarkCount = 0;
    bool bMarksWaiting = false;
    auto placeInFront = [&](std::string_view octets) {
        rebuilt.Prepend(octets);
        if (bMarksWaiting) {
            rebuilt.Prepend(FlushCombiningMarks());
            bMarksWaiting = false;
        }
    };
    const char delimiter = chars.MarcDelimiter()[0];
    // One character of two or more octets: its octets in set "V" go to the
    // front, a mark waits for the letter before it, another script is left
    // out. A character that no table holds is taken as its decomposed or
    // plain substitute, when it has one (a decomposition may hold a letter
    // that decomposes in its turn).
    std::function<void(const std::string&, int)> placeCharacter = [&](const std::string& sChar, int iSubstitutions) {
        if (sChar == kSharpS) return placeInFront("ss");
        if (sChar == kEuro) return placeInFront("euro");
        std::string sCharacter = sChar;
        std::string sTableName;
        std::string sOctets;
        bool bChanged = false;
        bool bError = false;
        chars.TranslateUtf82MarcOneCharacter(sSetV, sTableName, sCharacter, sOctets, bChanged, bError);
        if (sOctets.empty() && iSubstitutions > 0) {
            std::string sSubstitute;
            if (!chars.SubstituteUtf8Char(sChar, sSubstitute) || sSubstitute.find(delimiter) != std::string::npos)
                return;
            for (size_t end = sSubstitute.size(); end > 0;) {
                const size_t k = display_text::CharacterEndingAt(sSubstitute, end);
                if (k == 0) {
                    --end;
                    continue;
                }
                end -= k;
                if (k == 1) placeInFront(std::string_view(sSubstitute).substr(end, 1));
                else placeCharacter(sSubstitute.substr(end, k), iSubstitutions - 1);
            }
            return;
        }
        if (sTableName != "1" || sOctets.empty()) return;
        if (m.Marc8DiacriticsAbove.find(sOctets) != std::string::npos ||
            m.Marc8DiacriticsBelow.find(sOctets) != std::string::npos) {
            CollectCombiningMark(sOctets, m.Marc8DiacriticClasses);
            bMarksWaiting = true;
            return;
        }
        placeInFront(sOctets);
    };
    for (size_t end = sText.size(); end > 0;) {
        const size_t k = display_text::CharacterEndingAt(sText, end);
        if (k == 0) {
            // A lead octet without its continuation octets, or a stray
            // continuation octet: one octet, dropped.
            --end;
            continue;
        }
        end -= k;
        // ASCII, control octets included, stands for itself.
        if (k == 1) placeInFront(std::string_view(sText).substr(end, 1));
        else placeCharacter(sText.substr(end, k), kSubstitutionDepth);
    }
    // Marks with no character before them go to the front.
    if (bMarksWaiting) rebuilt.Prepend(FlushCombiningMarks());
    m.CombiningMarkCount = 0;
    return rebuilt.Text();
}

std::string Utf8MarcRecordClass::Marc2SacoProposal(const std::string& sIn) {
    if (sIn.empty()) return "";
    if (!m.RecordIsUtf8) return DisplayAsUtf8(sIn, [&](const std::string& s) { return Marc2SacoProposal(s); });
    static const OctetTable kLayoutV = ProposalTable();
    std::string sText = rt::Trim(AddSpacesAroundDelimiters(sIn));
    const char delimiter = MarcDelimiter()[0];
    for (char& c : sText)
        if (c == delimiter) c = '$';
    sText = RemoveRepeatedCharacters(rt::Trim(WriteByTable(RebuildTextInSetV(sText), kLayoutV)), " ");
    if (sText.compare(0, 2, "$a") == 0) sText = rt::Trim(std::string_view(sText).substr(2));
    return sText;
}

std::string Utf8MarcRecordClass::Marc2PlainText(const std::string& sIn) {
    if (sIn.empty()) return "";
    if (!m.RecordIsUtf8) return DisplayAsUtf8(sIn, [&](const std::string& s) { return Marc2PlainText(s); });
    static const OctetTable kLayoutV = PlainTable();
    std::string sText = RemoveRepeatedCharacters(rt::Trim(WriteByTable(RebuildTextInSetV(sIn), kLayoutV)), " ");
    if (sText.compare(0, 2, "$a") == 0) sText = rt::Trim(std::string_view(sText).substr(2));
    return sText;
}
