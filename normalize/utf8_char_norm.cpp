// The comparison form of one character: Utf8CharClass.Utf8CharNorm and its
// rule members, one per general category. Letters lose their diacritics and
// come out as capitals, marks and format controls vanish, most punctuation and
// every currency or mathematical sign becomes a blank, and the few characters
// that carry meaning in headings pass through.
//
// Every rule compares the current character's octet value with fixed keys. The
// tables below are written with code points; a key stands for the octet value
// of the code point's UTF-8 form.

#include "chars/utf8_char.h"

#include "common/runtime.h"
#include "normalize/latin_letters.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

constexpr uint32_t kNoCodePoint = 0xFFFFFFFFu;

// The octet value of a code point's UTF-8 form (basic plane).
constexpr OctetValue ValueOf(uint32_t cp) {
    if (cp < 0x80) return cp;
    if (cp < 0x800) return ((0xC0u | (cp >> 6)) << 8) | (0x80u | (cp & 0x3Fu));
    return ((0xE0u | (cp >> 12)) << 16) | ((0x80u | ((cp >> 6) & 0x3Fu)) << 8) | (0x80u | (cp & 0x3Fu));
}

// The code point whose UTF-8 form has this octet value; kNoCodePoint for a value
// that is no shortest one- to three-octet UTF-8 form.
uint32_t CodePointOf(OctetValue value) {
    uint32_t cp = kNoCodePoint;
    if (value < 0x80) {
        cp = static_cast<uint32_t>(value);
    } else if (value >= 0xC000 && value <= 0xDFFF) {
        cp = ((static_cast<uint32_t>(value) >> 8 & 0x1Fu) << 6) | (static_cast<uint32_t>(value) & 0x3Fu);
    } else if (value >= 0xE00000 && value <= 0xEFFFFF) {
        uint32_t v = static_cast<uint32_t>(value);
        cp = ((v >> 16 & 0x0Fu) << 12) | ((v >> 8 & 0x3Fu) << 6) | (v & 0x3Fu);
    }
    // Continuation octets, overlong forms: the value must be the code point's own form.
    return cp != kNoCodePoint && ValueOf(cp) == value ? cp : kNoCodePoint;
}

// One row of a letter table: the code points First to Last, every Step-th one,
// fold as How says.
enum class Fold : uint8_t {
    Text,     // the literal Text ("" for empty)
    Capital,  // the one capital Target
    Shift,    // the code point plus Shift
};

struct LetterRow {
    uint16_t First;
    uint16_t Last;
    uint8_t Step;
    Fold How;
    const char* Text;
    uint16_t Target;
    int16_t Shift;
};

constexpr LetterRow Txt(uint16_t first, uint16_t last, uint8_t step, const char* text) {
    return {first, last, step, Fold::Text, text, 0, 0};
}
constexpr LetterRow Txt(uint16_t cp, const char* text) { return Txt(cp, cp, 1, text); }
constexpr LetterRow Cap(uint16_t first, uint16_t last, uint8_t step, uint16_t target) {
    return {first, last, step, Fold::Capital, nullptr, target, 0};
}
constexpr LetterRow Cap(uint16_t cp, uint16_t target) { return Cap(cp, cp, 1, target); }
constexpr LetterRow Shf(uint16_t first, uint16_t last, uint8_t step, int16_t shift) {
    return {first, last, step, Fold::Shift, nullptr, 0, shift};
}

// Both tables are read with the base letter in place of a precomposed Latin
// letter (latin_letters.h), so that é folds as e and É as E, as their
// decompositions do; the letters with horn are letters of their own here.
//
// Small letters. A small letter not listed is empty.
constexpr LetterRow kSmallLetters[] = {
    Shf(0x0061, 0x007A, 1, -0x20),  // a-z
    Txt(0x00DF, "SS"),
    Txt(0x00E6, "AE"),
    Txt(0x00F0, "D"),
    Txt(0x00F8, "O"),
    Txt(0x00FE, "TH"),
    Txt(0x0111, "D"),
    Txt(0x0131, "I"),
    Txt(0x0138, "K"),
    Txt(0x0142, "L"),
    Txt(0x0153, "OE"),
    Txt(0x01A1, "O"),
    Txt(0x01B0, "U"),
    // Greek: the capital of the base letter.
    Cap(0x0390, 0x0399),
    Cap(0x03AC, 0x0391),
    Cap(0x03AD, 0x0395),
    Cap(0x03AE, 0x0397),
    Cap(0x03AF, 0x0399),
    Cap(0x03B0, 0x03A5),
    Shf(0x03B1, 0x03C1, 1, -0x20),
    Cap(0x03C2, 0x03A3),  // final sigma
    Shf(0x03C3, 0x03C9, 1, -0x20),
    Cap(0x03CA, 0x0399),
    Cap(0x03CB, 0x03A5),
    Cap(0x03CC, 0x039F),
    Cap(0x03CD, 0x03A5),
    Cap(0x03CE, 0x03A9),
    Txt(0x03D7, nullptr),  // unchanged
    Cap(0x03DB, 0x03A3),
    Shf(0x03DD, 0x03EF, 2, -1),
    Txt(0x03F3, nullptr),  // unchanged
    // Cyrillic.
    Shf(0x0430, 0x0438, 1, -0x20),
    Cap(0x0439, 0x0418),  // й
    Shf(0x043A, 0x044F, 1, -0x20),
    Cap(0x0450, 0x0415),  // ѐ
    Cap(0x0451, 0x0415),  // ё, like ѐ and ӗ
    Shf(0x0452, 0x0452, 1, -0x50),
    Cap(0x0453, 0x0413),  // ѓ
    Shf(0x0454, 0x0456, 1, -0x50),
    Cap(0x0457, 0x0406),  // ї
    Shf(0x0458, 0x045B, 1, -0x50),
    Cap(0x045C, 0x041A),  // ќ
    Cap(0x045D, 0x0418),  // ѝ
    Cap(0x045E, 0x0423),  // ў
    Shf(0x045F, 0x045F, 1, -0x50),
    Shf(0x0461, 0x0475, 2, -1),
    Cap(0x0477, 0x0474),  // ѷ
    Shf(0x0479, 0x0481, 2, -1),
    Shf(0x048D, 0x04BF, 2, -1),
    Cap(0x04C2, 0x04C1),
    Shf(0x04C4, 0x04C4, 1, -1),
    Shf(0x04C8, 0x04C8, 1, -1),
    Shf(0x04CC, 0x04CC, 1, -1),
    Cap(0x04D1, 0x0410),
    Cap(0x04D3, 0x0410),
    Cap(0x04D5, 0x04D4),
    Cap(0x04D7, 0x0415),
    Cap(0x04D9, 0x04D8),
    Cap(0x04DB, 0x04D8),
    Cap(0x04DD, 0x0416),
    Cap(0x04DF, 0x0417),
    Cap(0x04E1, 0x04E0),
    Cap(0x04E3, 0x0418),
    Cap(0x04E5, 0x0418),
    Cap(0x04E7, 0x041E),
    Cap(0x04E9, 0x04E8),
    Cap(0x04EB, 0x04E8),
    Cap(0x04ED, 0x042D),
    Cap(0x04EF, 0x0423),
    Cap(0x04F1, 0x0423),
    Cap(0x04F3, 0x0423),
    Cap(0x04F5, 0x0427),
    Cap(0x04F9, 0x042B),
    // Armenian.
    Shf(0x0561, 0x0586, 1, -0x30),
};

// Capitals. A capital not listed is unchanged. Ð is empty, while ð gives "D".
constexpr LetterRow kCapitals[] = {
    Txt(0x00C6, "AE"),
    Txt(0x00D0, ""),
    Txt(0x00D8, "O"),
    Txt(0x00DE, "TH"),
    // Latin Extended-A.
    Txt(0x0110, "D"),
    Txt(0x0126, "H"),
    Txt(0x0141, "L"),
    Txt(0x014A, "NG"),
    Txt(0x0152, "OE"),
    Txt(0x0166, "T"),
    // Latin Extended-B.
    Txt(0x0181, 0x0182, 1, "B"),
    Txt(0x0184, ""),
    Txt(0x0186, "O"),
    Txt(0x0187, "C"),
    Txt(0x0189, 0x018B, 1, "D"),
    Txt(0x018E, "E"),
    Txt(0x018F, ""),
    Txt(0x0190, "E"),
    Txt(0x0191, "F"),
    Txt(0x0193, "G"),
    Txt(0x0194, ""),
    Txt(0x0196, ""),
    Txt(0x0197, "I"),
    Txt(0x0198, "K"),
    Txt(0x019C, "M"),
    Txt(0x019D, "N"),
    Txt(0x019F, "O"),
    Txt(0x01A0, "O"),
    Txt(0x01A2, "OI"),
    Txt(0x01A4, "P"),
    Txt(0x01A6, "YR"),
    Txt(0x01A7, ""),
    Txt(0x01A9, ""),
    Txt(0x01AC, "T"),
    Txt(0x01AE, "T"),
    Txt(0x01AF, "U"),
    Txt(0x01B1, ""),
    Txt(0x01B2, "V"),
    Txt(0x01B3, "Y"),
    Txt(0x01B5, "Z"),
    Txt(0x01B7, 0x01B8, 1, ""),
    Txt(0x01BC, ""),
    Txt(0x01E4, "G"),
    Txt(0x01F6, 0x01F7, 1, ""),
    Txt(0x021C, ""),
    Txt(0x0222, ""),
    Txt(0x0224, "Z"),
    // Greek.
    Cap(0x0386, 0x0391),
    Cap(0x0388, 0x0395),
    Cap(0x0389, 0x0397),
    Cap(0x038A, 0x0399),
    Cap(0x038C, 0x039F),
    Cap(0x038E, 0x03A5),
    Cap(0x038F, 0x03A9),
    Cap(0x03D3, 0x03D4, 1, 0x03A5),
    // Cyrillic.
    Cap(0x0400, 0x0401, 1, 0x0415),  // Ѐ, and Ё like it
    Cap(0x0407, 0x0406),
    Cap(0x040C, 0x041A),
    Cap(0x040D, 0x0418),
    Cap(0x040E, 0x0423),
    Cap(0x0476, 0x0474),
    Cap(0x047C, 0x0460),
    Cap(0x04C1, 0x0416),
    Cap(0x04D0, 0x04D2, 2, 0x0410),
    Cap(0x04D6, 0x0415),
    Cap(0x04DA, 0x04D8),
    Cap(0x04DC, 0x0416),
    Cap(0x04DE, 0x0417),
    Cap(0x04E2, 0x04E4, 2, 0x0418),
    Cap(0x04E6, 0x041E),
    Cap(0x04EA, 0x04E8),
    Cap(0x04EC, 0x042D),
    Cap(0x04EE, 0x04F2, 2, 0x0423),
    Cap(0x04F4, 0x0427),
    Cap(0x04F8, 0x042B),
    // Georgian.
    Txt(0x10A0, 0x10C5, 1, ""),
    // Greek Extended.
    Txt(0x1F08, 0x1F0F, 1, ""),
    Txt(0x1F18, 0x1F1D, 1, ""),
    Txt(0x1F28, 0x1F2F, 1, ""),
    Txt(0x1F38, 0x1F3F, 1, ""),
    Txt(0x1F48, 0x1F4D, 1, ""),
    Txt(0x1F59, 0x1F5F, 2, ""),
    Txt(0x1F68, 0x1F6F, 1, ""),
    Txt(0x1FB8, 0x1FBB, 1, ""),
    Txt(0x1FC8, 0x1FCB, 1, ""),
    Txt(0x1FD8, 0x1FDB, 1, ""),
    Txt(0x1FE8, 0x1FEC, 1, ""),
    Txt(0x1FF8, 0x1FFB, 1, ""),
    // Ohm, Kelvin and Angstrom signs.
    Txt(0x2126, ""),
    Txt(0x212A, 0x212B, 1, ""),
};

constexpr bool RowsAscend(const LetterRow* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (rows[i].First > rows[i].Last || rows[i].Step == 0) return false;
        if (i > 0 && rows[i].First <= rows[i - 1].Last) return false;
    }
    return true;
}
static_assert(RowsAscend(kSmallLetters, std::size(kSmallLetters)), "small-letter rows out of order");
static_assert(RowsAscend(kCapitals, std::size(kCapitals)), "capital rows out of order");

// The row of a table that lists the code point, or nullptr.
template <std::size_t N>
const LetterRow* FindRow(const LetterRow (&rows)[N], uint32_t cp) {
    const LetterRow* row = std::upper_bound(std::begin(rows), std::end(rows), cp,
                                            [](uint32_t c, const LetterRow& r) { return c < r.First; });
    if (row == std::begin(rows)) return nullptr;
    --row;
    if (cp > row->Last || (cp - row->First) % row->Step != 0) return nullptr;
    return row;
}

// The folded form of a letter listed in a row; capitals are made by the
// character object.
OctetString FoldedBy(const Utf8CharClass& chars, const LetterRow& row, uint32_t cp, const OctetString& unchanged) {
    switch (row.How) {
        case Fold::Text:
            return row.Text != nullptr ? OctetString(row.Text) : unchanged;
        case Fold::Capital:
            return chars.UcsNumericToUtf8(row.Target);
        case Fold::Shift:
            return chars.UcsNumericToUtf8(static_cast<int32_t>(cp) + row.Shift);
    }
    return unchanged;
}

// A precomposed Latin letter folds as the base letter of its canonical
// decomposition, its marks being empty: cp and the unchanged octets become the
// base letter's. Other letters stay as they are.
void TakeBaseLetter(const Utf8CharClass& chars, uint32_t& cp, OctetString& unchanged) {
    const char* decomposition = latin_letters::Decomposition(cp);
    if (decomposition == nullptr) return;
    cp = latin_letters::BaseLetter(decomposition);
    unchanged = chars.UcsNumericToUtf8(static_cast<int32_t>(cp));
}

constexpr OctetValue V(uint32_t cp) { return ValueOf(cp); }

}  // namespace

// ---------------------------------------------------------------- scheme and dispatch

std::string Utf8CharClass::NormalizationScheme() const { return SchemeLetter; }

void Utf8CharClass::NormalizationScheme(const std::string& vNewValue) {
    // The letter itself is taken as it stands.
    if (vNewValue.size() == 1 && (vNewValue[0] == 'V' || vNewValue[0] == 'P')) {
        SchemeLetter = vNewValue;
        return;
    }
    std::string letter = rt::UCase(rt::Left(rt::Trim(vNewValue), 1));
    SchemeLetter = (letter == "P" || letter == "V") ? letter : "V";
}

OctetString Utf8CharClass::Utf8CharNorm(const std::string& sScheme) {
    if (!CategoryIsCached) Utf8CharCategory();
    const std::string& category = CachedCategory;
    if (category.size() != 2) return "";
    const char major = category[0];
    const char minor = category[1];
    switch (major) {
        case 'C':
            switch (minor) {
                case 'c': return Utf8CharNormCc();
                case 'f': return Utf8CharNormCf();
                case 'o': return Utf8CharNormCo();
                case 's': return Utf8CharNormCs();
            }
            break;
        case 'L':
            switch (minor) {
                case 'l': return Utf8CharNormLl();
                case 'm': return Utf8CharNormLm();
                case 'o': return Utf8CharNormLo();
                case 'u': return Utf8CharNormLu();
                case 't': return Utf8CharNormLt();
            }
            break;
        case 'M':
            switch (minor) {
                case 'e': return Utf8CharNormMe();
                case 'n': return Utf8CharNormMn();
                case 'c': return Utf8CharNormMc();
            }
            break;
        case 'N':
            switch (minor) {
                case 'd': return Utf8CharNormNd();
                case 'l': return Utf8CharNormNl();
                case 'o': return Utf8CharNormNo();
            }
            break;
        case 'P':
            switch (minor) {
                case 'c': return Utf8CharNormPc();
                case 'd': return Utf8CharNormPd();
                case 'e': return Utf8CharNormPe();
                case 'f': return Utf8CharNormPf();
                case 'i': return Utf8CharNormPi();
                case 'o': return Utf8CharNormPo(sScheme);
                case 's': return Utf8CharNormPs();
            }
            break;
        case 'Z':
            switch (minor) {
                case 'l': return Utf8CharNormZl();
                case 'p': return Utf8CharNormZp();
                case 's': return Utf8CharNormZs();
                case 'Z': return Utf8CharNormZZ();
            }
            break;
        case 'S':
            switch (minor) {
                case 'c': return Utf8CharNormSc();
                case 'k': return Utf8CharNormSk();
                case 'm': return Utf8CharNormSm();
                case 'o': return Utf8CharNormSo();
            }
            break;
    }
    return "";
}

// ---------------------------------------------------------------- letters

OctetString Utf8CharClass::Utf8CharNormLl() {
    uint32_t cp = CodePointOf(CurrentValue);
    OctetString unchanged = CurrentUtf8;
    if (cp != kNoCodePoint) TakeBaseLetter(*this, cp, unchanged);
    const LetterRow* row = cp == kNoCodePoint ? nullptr : FindRow(kSmallLetters, cp);
    return row != nullptr ? FoldedBy(*this, *row, cp, unchanged) : OctetString();
}

OctetString Utf8CharClass::Utf8CharNormLu() {
    uint32_t cp = CodePointOf(CurrentValue);
    OctetString unchanged = CurrentUtf8;
    if (cp != kNoCodePoint) TakeBaseLetter(*this, cp, unchanged);
    const LetterRow* row = cp == kNoCodePoint ? nullptr : FindRow(kCapitals, cp);
    return row != nullptr ? FoldedBy(*this, *row, cp, unchanged) : unchanged;
}

OctetString Utf8CharClass::Utf8CharNormLm() { return ""; }
OctetString Utf8CharClass::Utf8CharNormLo() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormLt() { return CurrentUtf8; }

// ---------------------------------------------------------------- compatibility characters

OctetString Utf8CharClass::Utf8CharNormZZ() {
    const OctetValue v = CurrentValue;
    if (v == V(0x00B9)) return "1";
    if (v == V(0x00B2)) return "2";
    if (v == V(0x00B3)) return "3";
    if (v == V(0x2070)) return "0";
    if (v >= V(0x2074) && v <= V(0x2079)) return std::string(1, static_cast<char>('4' + (v - V(0x2074))));
    if (v >= V(0x2080) && v <= V(0x2089)) return std::string(1, static_cast<char>('0' + (v - V(0x2080))));
    if (v == V(0x207A) || v == V(0x207B) || v == V(0x207D) || v == V(0x207E)) return " ";
    if (v == V(0x208A) || v == V(0x208B) || v == V(0x208D) || v == V(0x208E)) return " ";
    if (v == V(0x2113)) return "L";
    return "";
}

// ---------------------------------------------------------------- marks and numbers

OctetString Utf8CharClass::Utf8CharNormMn() { return ""; }
OctetString Utf8CharClass::Utf8CharNormMc() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormMe() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormNd() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormNl() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormNo() { return CurrentUtf8; }

// ---------------------------------------------------------------- punctuation

OctetString Utf8CharClass::Utf8CharNormPc() { return CurrentValue == V(0x005F) ? " " : CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormPd() { return CurrentValue == V(0x002D) ? " " : CurrentUtf8; }

OctetString Utf8CharClass::Utf8CharNormPs() {
    const OctetValue v = CurrentValue;
    if (v == V(0x0028) || v == V(0x007B) || v == V(0x3008)) return " ";
    if (v == V(0x005B)) return "";
    return CurrentUtf8;
}

OctetString Utf8CharClass::Utf8CharNormPe() {
    const OctetValue v = CurrentValue;
    if (v == V(0x0029) || v == V(0x007D) || v == V(0x3009)) return " ";
    if (v == V(0x005D)) return "";
    return CurrentUtf8;
}

OctetString Utf8CharClass::Utf8CharNormPi() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormPf() { return CurrentUtf8; }

OctetString Utf8CharClass::Utf8CharNormPo(const std::string& sScheme) {
    switch (CurrentValue) {
        case V(0x0023):  // #
        case V(0x0026):  // &
            return CurrentUtf8;
        case V(0x0027):  // apostrophe
        case V(0x00B7):  // middle dot
            return "";
        case V(0x0021):
        case V(0x0022):
        case V(0x0025):
        case V(0x002A):
        case V(0x002C):
        case V(0x002E):
        case V(0x002F):
        case V(0x003A):
        case V(0x003B):
        case V(0x003F):
        case V(0x005C):
        case V(0x00A1):
        case V(0x00BF):
            return " ";
        case V(0x0040):  // commercial at: kept only by the NACO scheme
            return sScheme == "P" ? CurrentUtf8 : OctetString(" ");
        default:
            return CurrentUtf8;
    }
}

// ---------------------------------------------------------------- symbols

OctetString Utf8CharClass::Utf8CharNormSm() {
    const OctetValue v = CurrentValue;
    if (v == V(0x002B) || v == V(0x266F)) return CurrentUtf8;
    if (v == V(0x007C) || v == V(0x2228)) return "";
    return " ";
}

OctetString Utf8CharClass::Utf8CharNormSc() { return " "; }

OctetString Utf8CharClass::Utf8CharNormSk() {
    const OctetValue v = CurrentValue;
    if (v == V(0x005E) || v == V(0x0060)) return " ";
    if (v == V(0x02B9) || v == V(0x02BA)) return "";
    return CurrentUtf8;
}

OctetString Utf8CharClass::Utf8CharNormSo() {
    const OctetValue v = CurrentValue;
    if (v == V(0x00A9) || v == V(0x00AE) || v == V(0x2117)) return " ";
    if (v == V(0x00B0)) return "0";
    return CurrentUtf8;
}

// ---------------------------------------------------------------- separators and controls

OctetString Utf8CharClass::Utf8CharNormZs() { return " "; }
OctetString Utf8CharClass::Utf8CharNormZl() { return CurrentUtf8; }
OctetString Utf8CharClass::Utf8CharNormZp() { return CurrentUtf8; }

OctetString Utf8CharClass::Utf8CharNormCc() {
    // The subfield delimiter survives only under the NACO scheme of the object.
    if (CurrentValue == V(0x001F) && SchemeLetter == "P") return CurrentUtf8;
    return "";
}

OctetString Utf8CharClass::Utf8CharNormCf() { return ""; }
OctetString Utf8CharClass::Utf8CharNormCs() { return ""; }
OctetString Utf8CharClass::Utf8CharNormCo() { return ""; }
