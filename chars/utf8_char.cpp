#include "chars/utf8_char.h"

#include <algorithm>

#include "chars/unicode_tables.h"
#include "common/raised_error.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "common/flag_guard.h"

namespace {

unsigned Octet(const OctetString& s, size_t i) { return static_cast<unsigned char>(s[i]); }

void AppendOctet(OctetString& out, unsigned value) { out += static_cast<char>(value & 0xFF); }

// Octets a UTF-8 lead octet announces: 1 for ASCII and for a continuation
// octet, 4 for 11110xxx and for every octet from 0xF8 up.
int16_t AnnouncedOctets(unsigned b) {
    if (b < 0x80 || (b & 0x40) == 0) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    return 4;
}

// The entry of a sorted case table whose key is the value, or nullptr.
const unicode30::CaseEntry* FindCase(const unicode30::CaseEntry* table, size_t count, OctetValue value) {
    const unicode30::CaseEntry* end = table + count;
    const unicode30::CaseEntry* it = std::lower_bound(
        table, end, value, [](const unicode30::CaseEntry& e, OctetValue v) { return e.Key < v; });
    return (it != end && it->Key == value) ? it : nullptr;
}
}  // namespace

Utf8CharClass::Utf8CharClass()
    : DelimiterChar(1, '\x1F'),
      EndOfFieldChar(1, '\x1E'),
      EndOfRecordChar(1, '\x1D'),
      FillChar(1, '\x7C'),
      EscapeChar(1, '\x1B'),
      NonSortBeginUtf8(UcsHex2Utf8("0098")),
      NonSortEndUtf8(UcsHex2Utf8("009C")),
      NonSortEndMarc8(1, '\x89'),
      SchemeLetter("V") {}

// ---------------------------------------------------------------- conversions

OctetString Utf8CharClass::Ucs2Utf8(const OctetString& sUcsCharacter) const {
    OctetString out;
    if (sUcsCharacter.size() == 2) {
        unsigned v = Octet(sUcsCharacter, 0) * 256 + Octet(sUcsCharacter, 1);
        if (v < 0x80) {
            AppendOctet(out, v);
        } else if (v < 0x800) {
            AppendOctet(out, 0xC0 | (v >> 6));
            AppendOctet(out, 0x80 | (v & 0x3F));
        } else {
            AppendOctet(out, 0xE0 | (v >> 12));
            AppendOctet(out, 0x80 | ((v >> 6) & 0x3F));
            AppendOctet(out, 0x80 | (v & 0x3F));
        }
    } else if (sUcsCharacter.size() == 4) {
        // Only the low two bits of each high octet count; the surrogate ranges
        // are not tested.
        uint32_t cp = 0x10000 + ((Octet(sUcsCharacter, 0) & 3u) << 18) + (Octet(sUcsCharacter, 1) << 10) +
                      ((Octet(sUcsCharacter, 2) & 3u) << 8) + Octet(sUcsCharacter, 3);
        AppendOctet(out, 0xF0 | (cp >> 18));
        AppendOctet(out, 0x80 | ((cp >> 12) & 0x3F));
        AppendOctet(out, 0x80 | ((cp >> 6) & 0x3F));
        AppendOctet(out, 0x80 | (cp & 0x3F));
    } else {
        out = sUcsCharacter.substr(0, 2);
    }
    return out;
}

OctetString Utf8CharClass::Utf82Ucs(const OctetString& sUtf8Character) const {
    const OctetString& s = sUtf8Character;
    OctetString out;
    switch (s.size()) {
        case 0:
            break;
        case 1:
            AppendOctet(out, 0);
            AppendOctet(out, Octet(s, 0));
            break;
        case 2:
        case 3: {
            // Payload bits from their fixed places; lead and continuation octets
            // are not tested.
            unsigned v = s.size() == 2 ? ((Octet(s, 0) & 0x1F) << 6) | (Octet(s, 1) & 0x3F)
                                       : ((Octet(s, 0) & 0x0F) << 12) | ((Octet(s, 1) & 0x3F) << 6) |
                                             (Octet(s, 2) & 0x3F);
            AppendOctet(out, v >> 8);
            AppendOctet(out, v);
            break;
        }
        case 4: {
            uint32_t cp = ((Octet(s, 0) & 7u) << 18) | ((Octet(s, 1) & 0x3Fu) << 12) |
                          ((Octet(s, 2) & 0x3Fu) << 6) | (Octet(s, 3) & 0x3Fu);
            // Below U+10000 the difference wraps, so every sequence yields a pair.
            uint32_t d = (cp - 0x10000u) & 0xFFFFFu;
            unsigned high = 0xD800 + (d >> 10);
            unsigned low = 0xDC00 + (d & 0x3FF);
            AppendOctet(out, high >> 8);
            AppendOctet(out, high);
            AppendOctet(out, low >> 8);
            AppendOctet(out, low);
            break;
        }
        default:
            out = s.substr(0, 1);
            break;
    }
    return out;
}

OctetValue Utf8CharClass::Utf8Asc(const OctetString& sUtf8Character) const {
    // The count of octets was a 16-bit number: a longer string gives 0.
    if (sUtf8Character.size() > 32767) return 0;
    OctetValue value = 0;
    size_t from = sUtf8Character.size() > 4 ? sUtf8Character.size() - 4 : 0;
    for (size_t i = from; i < sUtf8Character.size(); ++i) value = value * 256 + Octet(sUtf8Character, i);
    return value;
}

OctetString Utf8CharClass::UcsHex2Utf8(const std::string& sInput) const {
    std::string digits = rt::UCase(sInput);
    switch (digits.size()) {
        case 0:
            return "";
        case 1:
        case 3:
            digits.insert(0, 1, '0');
            break;
        case 2:
        case 4:
        case 8:
            break;
        default:
            digits.resize(4);
            break;
    }
    OctetString ucs = UtliMiscNonUtf8::HexToText(digits);
    if (ucs.size() < 2) ucs.insert(0, 1, '\0');
    return Ucs2Utf8(ucs);
}

// ---------------------------------------------------------------- the current character

OctetString Utf8CharClass::Utf8Char() const { return CurrentUtf8; }

void Utf8CharClass::Utf8Char(const OctetString& vNewValue) {
    // An empty value keeps the count held before.
    if (!vNewValue.empty()) CurrentOctetCount = AnnouncedOctets(Octet(vNewValue, 0));
    CurrentUtf8 = vNewValue.substr(0, static_cast<size_t>(CurrentOctetCount));
    CurrentValue = CurrentOctetCount != 0 ? Utf8Asc(CurrentUtf8) : 0;
    CategoryIsCached = false;
    if (!SyncInProgress) {
        FlagGuard guard(SyncInProgress);
        UcsChar(Utf82Ucs(CurrentUtf8));
    }
}

int16_t Utf8CharClass::Utf8CharOctets(const OctetString& sChar) const {
    return sChar.empty() ? CurrentOctetCount : AnnouncedOctets(Octet(sChar, 0));
}

OctetString Utf8CharClass::UcsChar() const { return CurrentUcs; }

void Utf8CharClass::UcsChar(const OctetString& vNewValue) {
    switch (vNewValue.size()) {
        case 0:
            CurrentUcs.clear();
            break;
        case 1:
        case 3:
            break;  // not a UCS form: the one held before stays
        case 2:
        case 4:
            CurrentUcs = vNewValue;
            break;
        default:
            CurrentUcs = vNewValue.substr(0, 2);
            break;
    }
    if (!SyncInProgress) {
        FlagGuard guard(SyncInProgress);
        Utf8Char(Ucs2Utf8(CurrentUcs));
    }
}

std::string Utf8CharClass::UcsHex() const { return UtliMiscNonUtf8::TextToHex(CurrentUcs); }

void Utf8CharClass::UcsHex(const std::string& vNewValue) { Utf8Char(UcsHex2Utf8(vNewValue)); }

OctetValue Utf8CharClass::Utf8CharAsc() const { return CurrentValue; }

void Utf8CharClass::Utf8CharAsc(const OctetValue& vNewValue) {
    // Octet values never exceed four octets; anything else cannot be a character.
    if (vNewValue < 0 || vNewValue > 0xFFFFFFFFll) RaiseRuntimeError(ErrorNumber::Overflow, "Utf8CharClass");
    CurrentValue = vNewValue;
    OctetString octets;
    int shift = vNewValue > 0xFFFFFF ? 24 : vNewValue > 0xFFFF ? 16 : vNewValue > 0xFF ? 8 : 0;
    for (; shift >= 0; shift -= 8) AppendOctet(octets, static_cast<unsigned>(vNewValue >> shift));
    Utf8Char(octets);
}

// ---------------------------------------------------------------- case and category

OctetString Utf8CharClass::Utf8CharLCase() const {
    const unicode30::CaseEntry* e = FindCase(unicode30::kLowerCase, unicode30::kLowerCaseCount, CurrentValue);
    return e ? OctetString(e->Octets) : CurrentUtf8;
}

OctetString Utf8CharClass::Utf8CharUCase() const {
    const unicode30::CaseEntry* e = FindCase(unicode30::kUpperCase, unicode30::kUpperCaseCount, CurrentValue);
    return e ? OctetString(e->Octets) : CurrentUtf8;
}

std::string Utf8CharClass::Utf8CharCategory() {
    if (CategoryIsCached) return CachedCategory;
    CategoryIsCached = true;
    using unicode30::kCategoryListCount;
    using unicode30::kCategoryLists;
    using unicode30::kCategorySpans;
    // The list: the last whose first value is not above the current value.
    const unicode30::CategoryList* list =
        std::upper_bound(kCategoryLists, kCategoryLists + kCategoryListCount, CurrentValue,
                         [](OctetValue v, const unicode30::CategoryList& l) { return v < l.FirstValue; }) -
        1;
    // Within it, the last span that begins at or below the value.
    const unicode30::CategorySpan* first = kCategorySpans + list->FirstSpan;
    const unicode30::CategorySpan* end = kCategorySpans + (list + 1)->FirstSpan;
    const unicode30::CategorySpan* span = std::upper_bound(
        first, end, CurrentValue, [](OctetValue v, const unicode30::CategorySpan& s) { return v < s.First; });
    if (span != first && CurrentValue <= (span - 1)->Last) {
        CachedCategory = unicode30::kCategoryCodes[(span - 1)->Code];
    } else {
        CachedCategory.clear();
    }
    return CachedCategory;
}

// ---------------------------------------------------------------- control characters and tests

int32_t Utf8CharClass::Utf8CharFindFirstOctet(const OctetString& sIn, int32_t lPtr) const {
    if (sIn.empty()) return 0;
    if (lPtr == 0 || lPtr == 1) return 1;
    if (lPtr < 0) return lPtr;
    int64_t pos = std::min<int64_t>(lPtr, static_cast<int64_t>(sIn.size()));
    while (pos >= 2 && (Octet(sIn, static_cast<size_t>(pos - 1)) & 0xC0) == 0x80) --pos;
    return static_cast<int32_t>(pos);
}

namespace {

// Runs of decimal digits of category Nd: the octet value of the first and the
// digit value it stands for; each run holds ten digits (Ethiopic nine).
struct DigitRun {
    OctetValue First;
    int16_t FirstDigit;
};
constexpr DigitRun kDigitRuns[] = {
    {0x30, 0},        // ASCII
    {0xD9A0, 0},      // Arabic-Indic
    {0xDBB0, 0},      // Extended Arabic-Indic
    {0xE0A5A6, 0},    // Devanagari
    {0xE0A7A6, 0},    // Bengali
    {0xE0A9A6, 0},    // Gurmukhi
    {0xE0ABA6, 0},    // Gujarati
    {0xE0ADA6, 0},    // Oriya
    {0xE0AFA6, 0},    // Tamil
    {0xE0B1A6, 0},    // Telugu
    {0xE0B3A6, 0},    // Kannada
    {0xE0B5A6, 0},    // Malayalam
    {0xE0B990, 0},    // Thai
    {0xE0BB90, 0},    // Lao
    {0xE0BCA0, 0},    // Tibetan
    {0xE18180, 0},    // Myanmar
    {0xE18DA9, 1},    // Ethiopic (one to nine)
    {0xE19FA0, 0},    // Khmer
    {0xE1A090, 0},    // Mongolian
};

}  // namespace

int16_t Utf8CharClass::Utf8CharVal(const OctetString& sChar) {
    if (CurrentUtf8 != sChar) Utf8Char(sChar);
    if (Utf8CharCategory() != "Nd") return 0;
    for (const DigitRun& run : kDigitRuns) {
        OctetValue last = run.First + (9 - run.FirstDigit);
        if (CurrentValue >= run.First && CurrentValue <= last)
            return static_cast<int16_t>(CurrentValue - run.First + run.FirstDigit);
    }
    return 0;
}

std::string Utf8CharClass::Char2Hex(const OctetString& sChar) const {
    return sChar.empty() ? std::string() : UtliMiscNonUtf8::TextToHex(sChar.substr(0, 1));
}

namespace {

// A hexadecimal digit as this helper reads it: 0-9, A-E, and 15 for anything
// else (F included, lower case included).
unsigned LooseHexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'E') return static_cast<unsigned>(c - 'A' + 10);
    return 15;
}

}  // namespace

OctetString Utf8CharClass::Hex2Char(const std::string& sString) const {
    if (sString.empty()) return "";
    unsigned high = sString.size() == 1 ? 0 : LooseHexDigit(sString[sString.size() - 2]);
    unsigned low = LooseHexDigit(sString.back());
    return OctetString(1, static_cast<char>(high * 16 + low));
}

OctetString Utf8CharClass::UcsNumericToUtf8(int32_t lInputValue) const {
    // Only the low 16 bits count (negative values in two's complement).
    unsigned v = static_cast<uint32_t>(lInputValue) & 0xFFFFu;
    OctetString ucs;
    AppendOctet(ucs, v >> 8);
    AppendOctet(ucs, v);
    return Ucs2Utf8(ucs);
}

bool Utf8CharClass::Utf8CharNonRoman() const {
    if (CurrentValue < 0xCDB0) return false;                              // up to U+036F
    if (CurrentValue >= 0xE281B0 && CurrentValue <= 0xE2829F) return false;  // U+2070..U+209F
    if (CurrentValue >= 0xEFB8A0 && CurrentValue <= 0xEFB8A3) return false;  // U+FE20..U+FE23
    return true;
}

std::string Utf8CharClass::Utf8CharHex() const { return UtliMiscNonUtf8::TextToHex(CurrentUtf8); }
