// Roman numerals: the value of a text of Roman digits, and the test whether
// a text is a numeral written place by place in subtractive or additive form.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"

namespace tables = series_tables;

namespace {

// The written form of one decimal digit of a place.
std::string WritePlace(int32_t d, const tables::RomanPlace& place, bool bAdditive) {
    const auto first = [](std::string_view s, int32_t n) { return std::string(s.substr(0, static_cast<size_t>(n))); };
    if (d <= 0) return "";
    if (d <= 3) return first(place.AdditiveLow, d);
    if (d == 4) return bAdditive ? first(place.AdditiveLow, 4) : std::string(place.SubtractiveFour);
    if (d <= 8) return first(place.FiveToEight, d - 4);
    return bAdditive ? first(place.AdditiveHigh, 5) : std::string(place.SubtractiveNine);
}

}  // namespace

int32_t Utf8MarcRecordClass::RomanNumberValue(const std::string& sNormalizedPutativeRomanNumeral) {
    int64_t total = 0;
    int largest = 0;
    for (size_t i = sNormalizedPutativeRomanNumeral.size(); i-- > 0;) {
        const char c = sNormalizedPutativeRomanNumeral[i];
        if (c == ' ') continue;
        const size_t digit = tables::RomanDigits.find(c);
        if (digit == std::string_view::npos) return 0;
        const int value = tables::RomanDigitValues[digit];
        // Compared with the largest digit to its right, not its neighbour: IIX is 8.
        if (value < largest) {
            total -= value;
        } else {
            total += value;
            largest = value;
        }
        if (total > std::numeric_limits<int32_t>::max() || total < std::numeric_limits<int32_t>::min())
            RaiseRuntimeError(ErrorNumber::Overflow);
    }
    return static_cast<int32_t>(total);
}

bool Utf8MarcRecordClass::IsThisARomanNumeral(const std::string& sPotentialRomanNumeral) {
    const int32_t v = RomanNumberValue(NormString(sPotentialRomanNumeral, true, "V"));
    if (v < 1) return false;
    const std::string T = RomanThousands(v);
    const std::string H[2] = {RomanHundreds(v), RomanHundredsAdditive(v)};
    const std::string X[2] = {RomanTens(v), RomanTensAdditive(v)};
    const std::string U[2] = {RomanUnits(v), RomanUnitsAdditive(v)};
    // The text exactly as passed: no trimming, no change of case.
    for (const std::string& h : H)
        for (const std::string& x : X)
            for (const std::string& u : U)
                if (sPotentialRomanNumeral == T + h + x + u) return true;
    return false;
}

std::string Utf8MarcRecordClass::RomanThousands(int32_t lValue) {
    return std::string(static_cast<size_t>(std::max(lValue / 1000, 0)), tables::RomanThousandLetter);
}
std::string Utf8MarcRecordClass::RomanHundreds(int32_t lValue) {
    return WritePlace((lValue % 1000) / 100, tables::RomanHundredsPlace, false);
}
std::string Utf8MarcRecordClass::RomanHundredsAdditive(int32_t lValue) {
    return WritePlace((lValue % 1000) / 100, tables::RomanHundredsPlace, true);
}
std::string Utf8MarcRecordClass::RomanTens(int32_t lValue) {
    return WritePlace((lValue % 100) / 10, tables::RomanTensPlace, false);
}
std::string Utf8MarcRecordClass::RomanTensAdditive(int32_t lValue) {
    return WritePlace((lValue % 100) / 10, tables::RomanTensPlace, true);
}
std::string Utf8MarcRecordClass::RomanUnits(int32_t lValue) {
    return WritePlace(lValue % 10, tables::RomanUnitsPlace, false);
}
std::string Utf8MarcRecordClass::RomanUnitsAdditive(int32_t lValue) {
    return WritePlace(lValue % 10, tables::RomanUnitsPlace, true);
}
