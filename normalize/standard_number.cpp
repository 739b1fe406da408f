// Standard numbers: the comparison form of an LCCN, ISBN, ISSN or system
// control number, the check-character test of ISBN, ISSN, EAN-13 and ISMN,
// and the conversions between the 10- and 13-character ISBN.
//
// Text is octets throughout: every test and filter compares single octets,
// so a multi-octet UTF-8 character or a MARC-8 diacritic is simply an octet
// outside the sets named here.
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr std::string_view kLettersDigitsBlank = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
constexpr std::string_view kLettersDigitsHyphenBlank = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789- ";
// The characters of an ISBN; the first other one starts its qualifier.
constexpr std::string_view kIsbnCharacters = "0123456789X-";

std::string WithoutHyphens(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '-') out += c;
    return out;
}

bool AllDigits(std::string_view s) {
    for (char c : s)
        if (!rt::IsAsciiDigit(c)) return false;
    return true;
}

int Digit(char c) { return rt::IsAsciiDigit(c) ? c - '0' : 0; }

// Where the ISBN of a text ends: its first octet that no ISBN holds.
size_t IsbnEnd(std::string_view s) {
    const size_t end = s.find_first_not_of(kIsbnCharacters);
    return end == std::string_view::npos ? s.size() : end;
}

// The EAN-13 check digit of twelve digits, weighted 1, 3, 1, 3, ...
char Ean13CheckDigit(std::string_view body) {
    int sum = 0;
    for (size_t i = 0; i < body.size(); ++i) sum += Digit(body[i]) * (i % 2 == 0 ? 1 : 3);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

}  // namespace

void Utf8MarcRecordClass::KeepOnlyCharacters(std::string& sText, const std::string& sAllowedCharacters) {
    size_t kept = 0;
    for (char c : sText)
        if (sAllowedCharacters.find(c) != std::string::npos) sText[kept++] = c;
    sText.resize(kept);
}

std::string Utf8MarcRecordClass::NormalizeStandardNumber(const std::string& sStandardNumberTag,
                                                         const std::string& sStandardNumberText) {
    std::string s;
    if (sStandardNumberTag == "010" || sStandardNumberTag == "020") {
        s = rt::Trim(SafeUCase(sStandardNumberText));
        KeepOnlyCharacters(s, std::string(kLettersDigitsBlank));
        s = RemoveRepeatedCharacters(s, " ");
    } else if (sStandardNumberTag == "022") {
        s = rt::Trim(SafeUCase(sStandardNumberText));
        KeepOnlyCharacters(s, std::string(kLettersDigitsHyphenBlank));
        for (char& c : s)
            if (c == '-') c = ' ';
        s = RemoveRepeatedCharacters(s, " ");
    } else if (sStandardNumberTag == "035") {
        // The source in parentheses goes: (OCoLC)ocm12345678 is OCM12345678.
        s = rt::Trim(SafeUCase(sStandardNumberText));
        const size_t close = s.find(')');
        if (!s.empty() && s[0] == '(' && close != std::string::npos) s = rt::Trim(s.substr(close + 1));
    } else {
        s = sStandardNumberText;
    }
    return rt::Trim(s);
}

bool Utf8MarcRecordClass::CheckISXN(const std::string& sIsbnOrIssn) {
    // Blanks stay and count towards the length.
    const std::string s = WithoutHyphens(SafeUCase(sIsbnOrIssn));
    const size_t n = s.size();
    if (n != 8 && n != 10 && n != 13) return false;

    if (s[0] == 'M') {
        // The 10-character ISMN: "M" counts 3 with weight 3, then nine digits
        // weighted 1, 3, 1, ...; a missing or non-digit character fails.
        if (n != 10 || !AllDigits(std::string_view(s).substr(1))) return false;
        int sum = 3 * 3;
        for (size_t i = 1; i < 10; ++i) sum += Digit(s[i]) * (i % 2 == 1 ? 1 : 3);
        return sum % 10 == 0;
    }

    const char check = s[n - 1];
    if (check != 'X' && !rt::IsAsciiDigit(check)) return false;

    if (n == 13) {
        // EAN-13: twelve digits and the check digit; "X" never matches.
        const std::string_view body = std::string_view(s).substr(0, 12);
        return AllDigits(body) && check == Ean13CheckDigit(body);
    }

    // ISSN (8) and ISBN-10 (10): digits weighted n down to 2, the check
    // character ("X" is 10) weighted 1, the total a multiple of 11.
    const int checkValue = check == 'X' ? 10 : check - '0';
    int sum = checkValue;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (!rt::IsAsciiDigit(s[i])) return false;
        sum += (s[i] - '0') * static_cast<int>(n - i);
    }
    return sum % 11 == 0;
}

std::string Utf8MarcRecordClass::ConvertISBN13To10(const std::string& s13CharacterISBN) {
    std::string copy = WithoutHyphens(s13CharacterISBN);
    copy.resize(IsbnEnd(copy));
    // Only thirteen digits beginning 978 have an ISBN-10; anything else (979,
    // an "X" in the body, a fourteenth digit) comes back as it was given.
    if (copy.size() != 13 || !AllDigits(copy) || copy.compare(0, 3, "978") != 0) return s13CharacterISBN;
    std::string result = copy.substr(3, 9);
    int sum = 0;
    for (size_t i = 0; i < 9; ++i) sum += (result[i] - '0') * static_cast<int>(10 - i);
    const int check = 11 - sum % 11;
    result += check == 10 ? 'X' : check == 11 ? '0' : static_cast<char>('0' + check);
    return result;
}

std::string Utf8MarcRecordClass::ConvertISBN10To13(const std::string& s10CharacterISBN) {
    const std::string whole = WithoutHyphens(s10CharacterISBN);
    const size_t end = IsbnEnd(whole);
    const std::string_view number = std::string_view(whole).substr(0, end);
    const std::string_view tail = std::string_view(whole).substr(end);
    // A 9-digit Standard Book Number is an ISBN-10 with a leading 0; the old
    // check character goes either way.
    std::string body;
    if (number.size() == 9 && AllDigits(number.substr(0, 8))) {
        body = "9780";
        body += number.substr(0, 8);
    } else if (number.size() == 10 && AllDigits(number.substr(0, 9))) {
        body = "978";
        body += number.substr(0, 9);
    } else {
        return whole;
    }
    body += Ean13CheckDigit(body);
    body += tail;
    return body;
}
