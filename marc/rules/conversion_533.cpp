// The fixed-length data of a reproduction (533 $7) and the 539 field that
// holds the same elements one subfield each.
#include <array>
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

// One element of the 15 characters of a 533 $7 and its 539 subfield.
struct Element533 {
    int32_t Position;  // 1-based
    int32_t Length;
    char Code;
};

constexpr std::array<Element533, 7> kElements = {{
    {1, 1, 'a'},   // type of date or publication status
    {2, 4, 'b'},   // date 1
    {6, 4, 'c'},   // date 2
    {10, 3, 'd'},  // place of publication
    {13, 1, 'e'},  // frequency
    {14, 1, 'f'},  // regularity
    {15, 1, 'g'},  // form of item
}};
constexpr size_t kSfd7Length = 15;

// A place code of two letters and a blank ("fr ") is whole: it keeps its
// blank rather than taking a fill.
constexpr char kPlaceCode = 'd';
constexpr int32_t kShortPlaceCode = 2;

const Element533* ElementOf(char code) {
    for (const Element533& element : kElements)
        if (element.Code == code) return &element;
    return nullptr;
}

}  // namespace

std::string Utf8MarcRecordClass::Convert533Sfd7To539(std::string s533Subfield7) {
    const std::string sDelimiter = SharedChar().MarcDelimiter();
    std::string s = s533Subfield7;
    if (!s.empty() && s.compare(0, sDelimiter.size(), sDelimiter) == 0)
        s = rt::RTrim(s.size() > sDelimiter.size() + 1 ? s.substr(sDelimiter.size() + 1) : "");
    std::string s539;
    for (const Element533& element : kElements) {
        const int32_t iLast = element.Position + element.Length - 1;
        if (static_cast<int32_t>(s.size()) < iLast) continue;
        const std::string sValue = rt::Trim(rt::Mid(s, element.Position, element.Length));
        const int32_t iLength = static_cast<int32_t>(sValue.size());
        const bool bWhole =
            iLength == element.Length || (element.Code == kPlaceCode && iLength == kShortPlaceCode);
        if (bWhole) s539 += sDelimiter + element.Code + sValue;
    }
    return s539;
}

std::string Utf8MarcRecordClass::Convert539To533Sfd7(std::string sWhole539Field) {
    Utf8CharClass& chars = SharedChar();
    const std::string sDelimiter = chars.MarcDelimiter();
    const std::string sFill = chars.MarcFill();
    std::string sResult(kSfd7Length, ' ');

    const std::string& s = sWhole539Field;
    char code = 'a';
    size_t start = 0;
    if (s.compare(0, sDelimiter.size(), sDelimiter) == 0 && !s.empty()) {
        code = s.size() > sDelimiter.size() ? s[sDelimiter.size()] : '\0';
        start = std::min(s.size(), sDelimiter.size() + 1);
    }
    for (;;) {
        const size_t end = s.find(sDelimiter, start);
        const std::string sText = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (const Element533* element = ElementOf(code)) {
            std::string sValue = rt::RTrim(sText);
            if (element->Code == kPlaceCode && static_cast<int32_t>(sValue.size()) == kShortPlaceCode) {
                sValue += ' ';
            } else {
                for (int32_t i = 0; i < element->Length; ++i) sValue += sFill;
            }
            sResult = SafeStuff(sResult, element->Position, static_cast<int16_t>(element->Length),
                                sValue.substr(0, static_cast<size_t>(element->Length)));
        }
        // The next subfield is read only when something follows its code.
        if (end == std::string::npos) break;
        const size_t codeAt = end + sDelimiter.size();
        if (codeAt + 1 >= s.size()) break;
        code = s[codeAt];
        start = codeAt + 1;
    }
    return sResult;
}
