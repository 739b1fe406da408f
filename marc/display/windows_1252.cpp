// Windows-1252 text and record text, both ways: MsoftAscii2Marc turns text
// typed on a Windows workstation into the record's encoding, Marc2MsoftAscii
// turns record text into Windows-1252 (or, in the other flavours, into UTF-8
// limited to U+0000-U+00FF); a record held in an 8-bit set is shown as the
// same record loaded into UTF-8.
//
// One table of the 128 octets 0x80-0xFF serves both: each row names the
// Windows-1252 character (its code point) and its MARC-8, "V" and UTF-8
// forms. The letters with a diacritic are rows of a mark and a base letter, so
// the same rows give the merges of Marc2MsoftAscii, where a mark and its
// letter become one Windows-1252 letter again.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"
#include "normalize/latin_letters.h"

namespace {

using display_text::BackwardText;
using display_text::OctetAt;

// The eight combining marks that Windows-1252 letters carry.
enum Mark : uint8_t { kNoMark, kGrave, kAcute, kCircumflex, kTilde, kUmlaut, kHacek, kAngstrom, kCedilla };
constexpr int kMarkCount = 9;

struct MarkForms {
    uint8_t Marc8;
    uint16_t Ucs;
    std::string_view Utf8;
};
constexpr MarkForms kMarks[kMarkCount] = {
    {0, 0, ""},
    {0xE1, 0x0300, "\xCC\x80"}, {0xE2, 0x0301, "\xCC\x81"}, {0xE3, 0x0302, "\xCC\x82"},
    {0xE4, 0x0303, "\xCC\x83"}, {0xE8, 0x0308, "\xCC\x88"}, {0xE9, 0x030C, "\xCC\x8C"},
    {0xEA, 0x030A, "\xCC\x8A"}, {0xF0, 0x0327, "\xCC\xA7"},
};

// One octet of Windows-1252. A row with a mark stands for that mark (alone
// when Base is 0, else before Base in MARC-8 and after it in UTF-8); any other
// row gives its texts, V only where set "V" differs from MARC-8.
struct Cp1252Row {
    uint16_t Ucs;  // 0 where Windows-1252 has no character
    Mark MarkOf;
    char Base;
    const char* Marc8;
    const char* V;
    const char* Utf8;
};
constexpr Cp1252Row Text(uint16_t ucs, const char* both) { return {ucs, kNoMark, 0, both, nullptr, both}; }
constexpr Cp1252Row Named(uint16_t ucs, const char* marc8, const char* utf8, const char* v = nullptr) {
    return {ucs, kNoMark, 0, marc8, v, utf8};
}
constexpr Cp1252Row Letter(uint16_t ucs, Mark mark, char base) { return {ucs, mark, base, nullptr, nullptr, nullptr}; }
constexpr Cp1252Row Spacing(uint16_t ucs, Mark mark) { return {ucs, mark, 0, nullptr, nullptr, nullptr}; }
constexpr Cp1252Row Removed(uint16_t ucs) { return Text(ucs, ""); }

// The superscript escape runs of MARC-8.
#define SUPERSCRIPT_RUN(digit) "\x1B" "p" digit "\x1B" "s"

constexpr std::array<Cp1252Row, 128> kCp1252 = {{
    /* 0x80 */ Text(0x20AC, "euro"), Removed(0), Removed(0x201A), Removed(0x0192),
    /* 0x84 */ Removed(0x201E), Text(0x2026, "..."), Removed(0x2020), Removed(0x2021),
    /* 0x88 */ Spacing(0x02C6, kCircumflex), Text(0x2030, "0/00"), Letter(0x0160, kHacek, 'S'), Text(0x2039, "<"),
    /* 0x8C */ Named(0x0152, "\xA6", "\xC5\x92"), Removed(0), Letter(0x017D, kHacek, 'Z'), Removed(0),
    /* 0x90 */ Removed(0), Spacing(0x2018, kGrave), Named(0x2019, "\xA7", "\xCA\xB9"), Text(0x201C, "\""),
    /* 0x94 */ Named(0x201D, "\xB7", "\xCA\xBA"), Removed(0x2022), Text(0x2013, "-"), Text(0x2014, "--"),
    /* 0x98 */ Spacing(0x02DC, kTilde), Text(0x2122, "(TM)"), Letter(0x0161, kHacek, 's'), Text(0x203A, ">"),
    /* 0x9C */ Named(0x0153, "\xB6", "\xC5\x93"), Removed(0), Letter(0x017E, kHacek, 'z'), Letter(0x0178, kUmlaut, 'Y'),
    /* 0xA0 */ Removed(0x00A0), Named(0x00A1, "\xC6", "\xC2\xA1", "\x96"), Text(0x00A2, "cent"),
               Named(0x00A3, "\xB9", "\xC2\xA3"),
    /* 0xA4 */ Removed(0x00A4), Text(0x00A5, "yen"), Removed(0x00A6), Removed(0x00A7),
    /* 0xA8 */ Spacing(0x00A8, kUmlaut), Named(0x00A9, "\xC3", "\xC2\xA9", "\x93"), Text(0x00AA, "a"),
               Text(0x00AB, "\""),
    /* 0xAC */ Removed(0x00AC), Text(0x00AD, "-"), Named(0x00AE, "\xAA", "\xC2\xAE"), Removed(0x00AF),
    /* 0xB0 */ Named(0x00B0, "\xC0", "\xC2\xB0", "\x90"), Named(0x00B1, "\xAB", "\xC2\xB1"),
               Named(0x00B2, SUPERSCRIPT_RUN("2"), "\xC2\xB2", "\xC2"),
               Named(0x00B3, SUPERSCRIPT_RUN("3"), "\xC2\xB3", "\xC3"),
    /* 0xB4 */ Spacing(0x00B4, kAcute), Text(0x00B5, "mu"), Removed(0x00B6), Text(0x00B7, "*"),
    /* 0xB8 */ Named(0x00B8, "\xF7", "\xCC\xA6"), Named(0x00B9, SUPERSCRIPT_RUN("1"), "\xC2\xB9", "\xC1"),
               Named(0x00BA, SUPERSCRIPT_RUN("0"), "\xE2\x81\xB0", "\xC0"), Text(0x00BB, "\""),
    /* 0xBC */ Text(0x00BC, "1/4"), Text(0x00BD, "1/2"), Text(0x00BE, "3/4"),
               Named(0x00BF, "\xC5", "\xC2\xBF", "\x95"),
    /* 0xC0 */ Letter(0x00C0, kGrave, 'A'), Letter(0x00C1, kAcute, 'A'), Letter(0x00C2, kCircumflex, 'A'),
               Letter(0x00C3, kTilde, 'A'),
    /* 0xC4 */ Letter(0x00C4, kUmlaut, 'A'), Letter(0x00C5, kAngstrom, 'A'), Named(0x00C6, "\xA5", "\xC3\x86"),
               Letter(0x00C7, kCedilla, 'C'),
    /* 0xC8 */ Letter(0x00C8, kGrave, 'E'), Letter(0x00C9, kAcute, 'E'), Letter(0x00CA, kCircumflex, 'E'),
               Letter(0x00CB, kUmlaut, 'E'),
    /* 0xCC */ Letter(0x00CC, kGrave, 'I'), Letter(0x00CD, kAcute, 'I'), Letter(0x00CE, kCircumflex, 'I'),
               Letter(0x00CF, kUmlaut, 'I'),
    /* 0xD0 */ Named(0x00D0, "\xA3", "\xC4\x90"), Letter(0x00D1, kTilde, 'N'), Letter(0x00D2, kGrave, 'O'),
               Letter(0x00D3, kAcute, 'O'),
    /* 0xD4 */ Letter(0x00D4, kCircumflex, 'O'), Letter(0x00D5, kTilde, 'O'), Letter(0x00D6, kUmlaut, 'O'),
               Text(0x00D7, "x"),
    /* 0xD8 */ Named(0x00D8, "\xA2", "\xC3\x98"), Letter(0x00D9, kGrave, 'U'), Letter(0x00DA, kAcute, 'U'),
               Letter(0x00DB, kCircumflex, 'U'),
    /* 0xDC */ Letter(0x00DC, kUmlaut, 'U'), Letter(0x00DD, kAcute, 'Y'), Named(0x00DE, "\xA4", "\xC3\x9E"),
               Named(0x00DF, "ss", "\xCE\xB2"),
    /* 0xE0 */ Letter(0x00E0, kGrave, 'a'), Letter(0x00E1, kAcute, 'a'), Letter(0x00E2, kCircumflex, 'a'),
               Letter(0x00E3, kTilde, 'a'),
    /* 0xE4 */ Letter(0x00E4, kUmlaut, 'a'), Letter(0x00E5, kAngstrom, 'a'), Named(0x00E6, "\xB5", "\xC3\xA6"),
               Letter(0x00E7, kCedilla, 'c'),
    /* 0xE8 */ Letter(0x00E8, kGrave, 'e'), Letter(0x00E9, kAcute, 'e'), Letter(0x00EA, kCircumflex, 'e'),
               Letter(0x00EB, kUmlaut, 'e'),
    /* 0xEC */ Letter(0x00EC, kGrave, 'i'), Letter(0x00ED, kAcute, 'i'), Letter(0x00EE, kCircumflex, 'i'),
               Letter(0x00EF, kUmlaut, 'i'),
    /* 0xF0 */ Named(0x00F0, "\xBA", "\xC3\xB0"), Letter(0x00F1, kTilde, 'n'), Letter(0x00F2, kGrave, 'o'),
               Letter(0x00F3, kAcute, 'o'),
    /* 0xF4 */ Letter(0x00F4, kCircumflex, 'o'), Letter(0x00F5, kTilde, 'o'), Letter(0x00F6, kUmlaut, 'o'),
               Removed(0x00F7),
    /* 0xF8 */ Named(0x00F8, "\xB2", "\xC3\xB8"), Letter(0x00F9, kGrave, 'u'), Letter(0x00FA, kAcute, 'u'),
               Letter(0x00FB, kCircumflex, 'u'),
    /* 0xFC */ Letter(0x00FC, kUmlaut, 'u'), Letter(0x00FD, kAcute, 'y'), Named(0x00FE, "\xB4", "\xC3\xBE"),
               Letter(0x00FF, kUmlaut, 'y'),
}};
#undef SUPERSCRIPT_RUN

const Cp1252Row& RowOf(unsigned octet) { return kCp1252[octet - 0x80]; }

// The merges: a mark and an ASCII letter give the Windows-1252 letter of the
// row that holds them, 0 where there is none.
using MergeTable = std::array<std::array<uint8_t, 128>, kMarkCount>;
constexpr MergeTable BuildMerges() {
    MergeTable merges{};
    for (unsigned octet = 0x80; octet <= 0xFF; ++octet) {
        const Cp1252Row& row = kCp1252[octet - 0x80];
        if (row.MarkOf != kNoMark && row.Base != 0)
            merges[row.MarkOf][static_cast<unsigned char>(row.Base)] = static_cast<uint8_t>(octet);
    }
    return merges;
}
constexpr MergeTable kMerges = BuildMerges();

uint8_t Merged(Mark mark, int letter) { return letter >= 0 && letter < 0x80 ? kMerges[mark][letter] : 0; }

Mark MarkOfUcs(uint32_t ucs) {
    for (int i = 1; i < kMarkCount; ++i)
        if (kMarks[i].Ucs == ucs) return static_cast<Mark>(i);
    return kNoMark;
}

// A delimiter at the point of the walk: shown as "|", with a blank after the
// subfield code that follows it unless one is there, and a blank before it
// when the octet before it is no blank (bBlankBefore). The code is what the
// walk made of the character after the delimiter: one octet, except a
// character of the Latin-1 form (bUtf8Made), which the blank must not split.
void ShowDelimiter(BackwardText& out, bool bBlankBefore, bool bUtf8Made) {
    const size_t code = bUtf8Made && out.At(0) >= 0xC0 ? display_text::AnnouncedOctets(out.At(0)) : 1;
    if (out.Size() < code + 1) out.Append(' ');
    else if (out.At(code) != ' ') out.InsertAfter(code, ' ');
    out.Prepend('|');
    if (bBlankBefore) out.Prepend(' ');
}

// ---------------------------------------------------------------- UTF-8 text

// UTF-8 characters beyond Latin-1 that have a display of their own: the
// Windows-1252 form (flavours 1 and 9) and the Latin-1 form (other flavours).
// Sorted by code point.
struct NamedUtf8 {
    uint16_t Ucs;
    const char* Cp1252;
    const char* Latin1;
};
constexpr NamedUtf8 kNamedUtf8[] = {
    {0x0110, "\xD0", "\xC3\x90"}, {0x0111, "\xF0", "\xC3\xB0"}, {0x0131, "i", "i"},
    {0x0141, "L", "L"},           {0x0142, "l", "l"},           {0x0152, "\x8C", "OE"},
    {0x0153, "\x9C", "oe"},       {0x01A0, "O", "O"},           {0x01A1, "o", "o"},
    {0x01AF, "U", "U"},           {0x01B0, "u", "u"},           {0x02B9, "\x92", "'"},
    {0x02BA, "\x94", "\""},       {0x02BB, "'", "'"},           {0x02BC, "'", "'"},
    {0x03B1, "alpha", "alpha"},   {0x03B2, "\xDF", "beta"},     {0x03B3, "gamma", "gamma"},
    {0x2070, "\xBA", "0"},        {0x2074, "4", "4"},           {0x2075, "5", "5"},
    {0x2076, "6", "6"},           {0x2077, "7", "7"},           {0x2078, "8", "8"},
    {0x2079, "9", "9"},           {0x207A, "+", "+"},           {0x207B, "-", "-"},
    {0x207D, "(", "("},           {0x207E, ")", ")"},           {0x2080, "0", "0"},
    {0x2081, "1", "1"},           {0x2082, "2", "2"},           {0x2083, "3", "3"},
    {0x2084, "4", "4"},           {0x2085, "5", "5"},           {0x2086, "6", "6"},
    {0x2087, "7", "7"},           {0x2088, "8", "8"},           {0x2089, "9", "9"},
    {0x208A, "+", "+"},           {0x208B, "-", "-"},           {0x208D, "(", "("},
    {0x208E, ")", ")"},           {0x2113, "l", "l"},           {0x2117, "(p)", "(p)"},
    {0x266D, "flat", "flat"},     {0x266F, "#", "#"},
};
static_assert(std::is_sorted(std::begin(kNamedUtf8), std::end(kNamedUtf8),
                             [](const NamedUtf8& a, const NamedUtf8& b) { return a.Ucs < b.Ucs; }));

// The code point of a well-formed UTF-8 character given in its shortest form;
// 0 for any other form, which no table names.
uint32_t CodePoint(std::string_view c) {
    const unsigned lead = OctetAt(c, 0);
    uint32_t ucs = c.size() == 1 ? lead : lead & (0x7F >> c.size());
    for (size_t i = 1; i < c.size(); ++i) ucs = (ucs << 6) | (OctetAt(c, i) & 0x3F);
    static constexpr uint32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c.size() > 1 && (ucs < kShortest[c.size()] || ucs > 0x10FFFF)) return 0;
    return ucs;
}

std::string Latin1Utf8(unsigned octet) {
    return {static_cast<char>(0xC0 | (octet >> 6)), static_cast<char>(0x80 | (octet & 0x3F))};
}

// The display of a UTF-8 character of U+0080 and up other than a mark: true
// with the text, or false when it gets the replacement.
bool Utf8Display(uint32_t ucs, std::string_view octets, bool bCp1252, std::string& sText) {
    const auto named = std::lower_bound(std::begin(kNamedUtf8), std::end(kNamedUtf8), ucs,
                                        [](const NamedUtf8& e, uint32_t u) { return e.Ucs < u; });
    if (named != std::end(kNamedUtf8) && named->Ucs == ucs) {
        sText = bCp1252 ? named->Cp1252 : named->Latin1;
        return true;
    }
    // Latin-1 signs and letters: the same octet in Windows-1252, unchanged in
    // the Latin-1 form.
    if (ucs >= 0xA0 && ucs <= 0xFF) {
        sText = bCp1252 ? std::string(1, static_cast<char>(ucs)) : std::string(octets);
        return true;
    }
    // The characters Windows-1252 holds at 0x80-0x9F: their octet; in the
    // Latin-1 form only its letters with a caron or umlaut, as their letter.
    for (unsigned octet = 0x80; octet <= 0x9F; ++octet) {
        const Cp1252Row& row = RowOf(octet);
        if (row.Ucs != ucs || ucs == 0) continue;
        if (bCp1252) sText = std::string(1, static_cast<char>(octet));
        else if (row.Base != 0) sText = std::string(1, row.Base);
        else return false;
        return true;
    }
    return false;
}

std::string Utf8ToCp1252(const std::string& sIn, int32_t sFlavor, std::string_view R, Utf8CharClass& chars) {
    const bool bCp1252 = sFlavor == 1 || sFlavor == 9;
    const bool bMerge = sFlavor != 9;
    BackwardText out(sIn.size() + 8);
    std::string_view last;
    std::string sText;
    for (size_t end = sIn.size(); end > 0;) {
        const size_t k = display_text::CharacterEndingAt(sIn, end);
        if (k == 0) {  // a stray octet
            out.Prepend(R);
            --end;
            continue;
        }
        const size_t p = end - k;
        const std::string_view c(sIn.data() + p, k);
        last = c;
        end = p;
        const uint32_t ucs = CodePoint(c);
        if (ucs == 0x1F) {
            ShowDelimiter(out, p > 0 && sIn[p - 1] != ' ', !bCp1252);
        } else if (k == 1) {
            out.Prepend(c);
        } else if (Utf8Display(ucs, c, bCp1252, sText)) {
            out.Prepend(sText);
        } else if (const Mark mark = bMerge ? MarkOfUcs(ucs) : kNoMark; mark != kNoMark) {
            // Only the octet right before the mark may be its letter.
            const uint8_t letter = p > 0 ? Merged(mark, static_cast<int>(OctetAt(sIn, p - 1))) : 0;
            if (letter == 0) {
                out.Prepend(R);
            } else {
                if (bCp1252) out.Prepend(static_cast<char>(letter));
                else if (letter >= 0xC0) out.Prepend(Latin1Utf8(letter));
                else out.Prepend(sIn[p - 1]);
                end = p - 1;
            }
        } else if (const char* decomposition = latin_letters::Decomposition(ucs)) {
            // A precomposed letter that the target lacks shows as its base
            // letter and marks would.
            out.Prepend(Utf8ToCp1252(decomposition, sFlavor, R, chars));
        } else {
            out.Prepend(R);
        }
    }
    // The walk leaves the character object on the last character it examined.
    if (!last.empty()) chars.Utf8Char(std::string(last));
    return out.Text();
}

}  // namespace

uint16_t display_text::Windows1252CodePoint(unsigned octet) { return octet < 0x80 ? 0 : RowOf(octet).Ucs; }

// ---------------------------------------------------------------- members

std::string Utf8MarcRecordClass::MsoftAscii2Marc(const std::string& sIn) {
    SharedChar();
    const bool bUtf8 = m.RecordIsUtf8;
    const bool bSetV = m.CharacterSetOut == "V";
    std::string sText = sIn;
    for (int32_t i = static_cast<int32_t>(sText.size()); i >= 1; --i) {
        const unsigned v = OctetAt(sText, static_cast<size_t>(i - 1));
        if (v < 0x80) continue;
        const Cp1252Row& row = RowOf(v);
        std::string sReplacement;
        if (row.MarkOf != kNoMark) {
            const MarkForms& mark = kMarks[row.MarkOf];
            const std::string base = row.Base != 0 ? std::string(1, row.Base) : std::string();
            sReplacement = bUtf8 ? base + std::string(mark.Utf8) : static_cast<char>(mark.Marc8) + base;
        } else {
            sReplacement = bUtf8 ? row.Utf8 : (bSetV && row.V ? row.V : row.Marc8);
        }
        sText = SafeStuff(sText, i, 1, sReplacement);
    }
    return sText;
}

std::string Utf8MarcRecordClass::Marc2MsoftAscii(const std::string& sIn, int32_t sFlavor) {
    if (!m.RecordIsUtf8)
        return DisplayAsUtf8(sIn, [&](const std::string& s) { return Marc2MsoftAscii(s, sFlavor); });
    Utf8CharClass& chars = SharedChar();
    // The Latin-1 form writes the bullet as U+0095, so that it stays UTF-8.
    const std::string_view R = sFlavor == 2 ? "\xC2\x95" : sFlavor == 9 ? "\x95" : "";
    return Utf8ToCp1252(sIn, sFlavor, R, chars);
}
