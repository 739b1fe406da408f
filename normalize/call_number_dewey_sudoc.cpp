// Call-number normalization of Dewey and SuDoc numbers, the test whether a
// holdings field carries a real call number, and two older pieces of the LC
// rules that nothing calls.
#include <algorithm>
#include <cstdint>
#include <string>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "normalize/call_number_text.h"
#include "platform/events.h"

using callnumber::CharAt;
using callnumber::EndsWithBlank;
using callnumber::IsDigitAt;

namespace {

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsSmall(char c) { return c >= 'a' && c <= 'z'; }

// The run of ASCII digits at the 0-based index.
std::string DigitRun(const std::string& s, size_t i) {
    size_t end = i;
    while (end < s.size() && rt::IsAsciiDigit(s[end])) ++end;
    return s.substr(std::min(i, s.size()), end - std::min(i, end));
}

// A number right-aligned in four columns; four digits or more stay whole.
std::string InFourColumns(const std::string& sDigits) {
    return sDigits.size() < 4 ? rt::Space(static_cast<int32_t>(4 - sDigits.size())) + sDigits : sDigits;
}

enum class Mark { Blank, Letter, Digit };

}  // namespace

const Utf8MarcRecordClass::CallNumberPlaceholderTable Utf8MarcRecordClass::CallNumberPlaceholders = {
    {"INQUIRE", "IN PROCESS", "LANGUAGE MAT", "ON ORDER", "APPRO", "YANK"}, "qmtor", "ZIZAZ"};

// ---------------------------------------------------------------- Dewey

std::string Utf8MarcRecordClass::NormalizeCallNumberDewey(const std::string& sCallNumber) {
    Utf8CharClass& chars = SharedChar();
    Utf8CharClass& previous = CallNumberChar();
    Utf8CharClass& ahead = CallNumberChar2();
    const std::string s = SafeUCase(sCallNumber);
    std::string head;
    CharAt(previous, s, 0);
    for (size_t i = 0; i < s.size();) {
        platform::DoEvents();
        const std::string ch = CharAt(chars, s, i);
        i += ch.size();
        const std::string category = chars.Utf8CharCategory();
        if (category == "Nd") {
            if (previous.Utf8CharCategory() != "Nd") head += " ";
            head += ch;
            previous.Utf8Char(ch);
        } else if (category == "Lu") {
            const std::string form = chars.Utf8CharNorm("V");
            if (previous.Utf8CharCategory() == "Nd") head += " ";
            head += form;
            previous.Utf8Char(ch);
        } else if (ch == " ") {
            if (!EndsWithBlank(head)) head += " ";
            previous.Utf8Char(" ");
        } else if (ch.size() == 1 && std::string_view("-/;,:[(])").find(ch[0]) != std::string_view::npos) {
            head += " " + ch + " ";
            previous.Utf8Char(" ");
        } else if (ch == ".") {
            if (!IsDigitAt(ahead, s, i)) {
                head += " ";
                previous.Utf8Char("a");
            } else {
                head += previous.Utf8CharCategory() == "Nd" ? "." : " .";
                previous.Utf8Char("0");
            }
        } else if (head.empty()) {
            previous.Utf8Char("");
        }
    }
    if (!head.empty() && head.back() == '.') head.pop_back();
    head = RemoveRepeatedCharacters(rt::Trim(head), " ");

    // Zeros in front of a one- or two-digit class number.
    size_t first = 0;
    while (first < head.size()) {
        const std::string ch = CharAt(chars, head, first);
        if (chars.Utf8CharCategory() == "Nd") break;
        first += ch.size();
    }
    if (first < head.size()) {
        const size_t end = head.find_first_of(" .", first);
        if (end != std::string::npos && end - first <= 2) head.insert(first, 3 - (end - first), '0');
    }
    return head;
}

// ---------------------------------------------------------------- SuDoc

std::string Utf8MarcRecordClass::NormalizeCallNumberSudoc(const std::string& sCallNumber) {
    const std::string s = SafeUCase(sCallNumber);
    const size_t colon = s.find(':');
    const std::string stem = rt::Trim(colon == std::string::npos ? std::string_view(s) : std::string_view(s).substr(0, colon));
    std::string suffix = colon == std::string::npos ? std::string() : rt::Trim(std::string_view(s).substr(colon + 1));
    // One UTF-8 character in a UTF-8 record, one octet otherwise.
    auto step = [&](const std::string& text, size_t i) {
        if (!m.RecordIsUtf8) return size_t{1};
        return std::min(static_cast<size_t>(CharStepAt(text, i)), text.size() - i);
    };

    std::string head;
    Mark mark = Mark::Blank;
    for (size_t i = 0; i < stem.size();) {
        const size_t n = step(stem, i);
        const char c = n == 1 ? stem[i] : '\0';
        if (IsCapital(c) || IsSmall(c)) {
            if (mark == Mark::Digit) head += " ";
            head += rt::UCaseChar(c);
            mark = Mark::Letter;
        } else if (rt::IsAsciiDigit(c)) {
            if (mark == Mark::Letter) head += " ";
            const std::string run = DigitRun(stem, i);
            head += InFourColumns(run);
            mark = Mark::Digit;
            i += run.size();
            continue;
        } else if (c == ' ') {
            if (!EndsWithBlank(head)) head += " ";
            mark = Mark::Blank;
        } else if (c == '.' || c == '/' || c == '-') {
            head = rt::Trim(head) + "  ";
            mark = Mark::Blank;
        }
        i += n;
    }
    head = rt::Trim(head) + "  " + MarcDelimiter() + " ";

    // Blanks single, and none between two digits.
    suffix = RemoveRepeatedCharacters(suffix, " ");
    for (size_t k = suffix.size(); k-- > 1;) {
        if (suffix[k] == ' ' && k + 1 < suffix.size() && rt::IsAsciiDigit(suffix[k - 1]) &&
            rt::IsAsciiDigit(suffix[k + 1]))
            suffix.erase(k, 1);
    }

    mark = Mark::Blank;
    for (size_t i = 0; i < suffix.size();) {
        const size_t n = step(suffix, i);
        const char c = n == 1 ? suffix[i] : '\0';
        i += n;
        const bool bMore = i < suffix.size();
        if (IsCapital(c) || (IsSmall(c) && c != 'v')) {
            if (mark == Mark::Digit) head += " ";
            head += rt::UCaseChar(c);
            mark = Mark::Letter;
        } else if (c == 'v') {
            if (EndsWithBlank(head) && bMore && suffix[i] == '.') {
                head += "v .";
                ++i;
                while (i < suffix.size() && suffix[i] == ' ') ++i;
            } else {
                if (mark == Mark::Digit && !EndsWithBlank(head)) head += " ";
                head += "V";
            }
            mark = Mark::Letter;
        } else if (rt::IsAsciiDigit(c)) {
            if (mark == Mark::Letter) head += " ";
            head += c;
            mark = Mark::Digit;
        } else if (c == ' ') {
            if (!EndsWithBlank(head)) head += " ";
            mark = Mark::Blank;
        } else if (c == '/') {
            if (!bMore || suffix[i] == ' ') continue;
            if (mark == Mark::Digit) {
                // The suffix is trimmed, so only blanks at the front could go.
                while (i < suffix.size() && suffix[i] == ' ') ++i;
                if (i < suffix.size() && IsCapital(suffix[i])) {
                    mark = Mark::Letter;
                } else {
                    head += " ";
                    mark = Mark::Blank;
                }
            } else if (mark == Mark::Letter) {
                if (rt::IsAsciiDigit(suffix[i])) {
                    head += " ";
                    mark = Mark::Blank;
                }
            }
        } else if (c == '.') {
            head += " .";
            while (i < suffix.size() && suffix[i] == ' ') ++i;
            if (i < suffix.size()) {
                const char first = suffix[i];
                mark = rt::IsAsciiDigit(first)                   ? Mark::Digit
                       : (IsCapital(first) || IsSmall(first)) ? Mark::Letter
                                                                : Mark::Blank;
            }
        } else if (c == '-') {
            if (mark == Mark::Digit) {
                // The head's last number right-aligned in four columns.
                const int16_t a = callnumber::Position16(Rat(head, " "));
                const size_t length = head.size() - static_cast<size_t>(a);
                if (length < 5) head.insert(static_cast<size_t>(a), 4 - length, ' ');
            }
            head = rt::Trim(head) + " ";
            mark = Mark::Blank;
            const std::string run = DigitRun(suffix, i);
            if (!run.empty()) {
                head += InFourColumns(run);
                i += run.size();
                mark = Mark::Digit;
            }
        }
    }
    return head;
}

// ---------------------------------------------------------------- the call-number test

bool Utf8MarcRecordClass::TestForCallNumber(const std::string& sIndicators, const std::string& sField,
                                            const std::string& sTnp) {
    std::string sText;
    if (ExtractSubfield(sField, "i", sText, 1) > 0 && !NormString(sText, true, "V").empty()) return true;
    std::string sCall;
    if (ExtractSubfield(sField, "h", sCall, 1) == 0) return false;
    const std::string sCallForm = NormString(sCall, true, "V");
    if (sCallForm.empty()) return false;

    const CallNumberPlaceholderTable& table = CallNumberPlaceholders;
    if (!sIndicators.empty() && sIndicators[0] != '8' && sIndicators[0] != ' ') return true;
    if (NormString(sTnp, true, "V") != table.TablePrefix) return true;
    for (const char* word : table.Words)
        if (sCallForm.find(word) != std::string::npos) return false;
    // "nn-nnnn" in the location that holds such placeholders.
    ExtractSubfield(sField, "b", sText, 1);
    if (sText != table.LocationCode || sCall.size() < 4 || sCall[2] != '-') return true;
    int16_t iIgnored = -99;
    for (const int32_t k : {1, 2, 4})
        if (!CharIsNumeric(rt::Mid(sCall, k, 1), iIgnored)) return true;
    return false;
}

// ---------------------------------------------------------------- older pieces

bool Utf8MarcRecordClass::CallNumberTakeLetters(std::string& sCallNumber, std::string& sLetters) {
    Utf8CharClass& chars = SharedChar();
    Utf8CharClass& ahead = CallNumberChar2();
    auto capitalAt = [&](size_t i) {
        if (i >= sCallNumber.size()) return false;
        const std::string ch = CharAt(ahead, sCallNumber, i);
        return (ch.size() == 1 && IsCapital(ch[0])) || ahead.Utf8CharCategory() == "Lu";
    };
    size_t i = 0;
    bool bNumberFollowsSlash = false;
    while (i < sCallNumber.size()) {
        const std::string ch = CharAt(chars, sCallNumber, i);
        if ((ch.size() == 1 && IsCapital(ch[0])) || chars.Utf8CharCategory() == "Lu") {
            sLetters += chars.Utf8CharNorm("V");
            i += ch.size();
        } else if (ch == " " && capitalAt(i + 1)) {
            ++i;
        } else if (ch == ".") {
            ++i;
            if (i >= sCallNumber.size() || IsDigitAt(ahead, sCallNumber, i)) sLetters += " ";
            break;
        } else if (ch == "/" && capitalAt(i + 1)) {
            sLetters += "  ";
            ++i;
        } else if (ch == "/" && IsDigitAt(ahead, sCallNumber, i + 1)) {
            ++i;
            bNumberFollowsSlash = true;
            break;
        } else {
            break;
        }
    }
    sCallNumber.erase(0, i);
    return bNumberFollowsSlash;
}

void Utf8MarcRecordClass::CallNumberTakeNumber(std::string& sCallNumber, std::string& sOutput, bool bWide,
                                               bool& bAppendBlank, std::string& sDigits) {
    Utf8CharClass& chars = SharedChar();
    Utf8CharClass& ahead = CallNumberChar2();
    size_t i = 0;
    bool bAfterHyphen = false;
    if (!sCallNumber.empty() && sCallNumber[0] == '-') {
        bAfterHyphen = true;
        ++i;
    }
    sDigits.clear();
    while (i < sCallNumber.size()) {
        const std::string ch = CharAt(chars, sCallNumber, i);
        if (chars.Utf8CharCategory() == "Nd") {
            sDigits += ch;
            i += ch.size();
        } else if (ch == "." && IsDigitAt(ahead, sCallNumber, i + 1)) {
            ++i;  // the fraction digits follow the integer digits directly
        } else {
            if (ch == "." || (ch == "/" && !IsDigitAt(ahead, sCallNumber, i + 1))) ++i;
            break;
        }
    }
    sCallNumber.erase(0, i);
    if (sDigits.empty()) return;
    const size_t columns = bWide || bAfterHyphen ? 5 : 4;
    if (!sOutput.empty() && !EndsWithBlank(sOutput)) sOutput += " ";
    if (sDigits.size() < columns) sOutput += rt::Space(static_cast<int32_t>(columns - sDigits.size()));
    sOutput += sDigits;
    if (bAppendBlank) sOutput += " ";
}
