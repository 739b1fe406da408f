// The OCLC screen font: record text of an 8-bit set and the octet codes of
// that font, both ways, through set "V". The font writes a combining mark
// after its letter (MARC-8 before it), has one-octet codes of its own for the
// Greek letters, script l, subscripts and superscripts, writes short ASCII
// labels for a few signs, and 0xDF for the delimiter.
//
// Both walks go from the last octet to the first and build their result from
// its end, so a character is converted once and the marks that stood beside
// it are placed after (or before) what it became.
#include <string>
#include <string_view>

#include "common/raised_error.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace {

using display_text::BackwardText;

constexpr int32_t kModeM2V = 1, kModeO2V = 3, kModeV2M = 4, kModeV2O = 5;

// The marks moved past one character, in their two groups.
struct WaitingMarks {
    std::string Above;
    std::string Other;
    bool Any() const { return !Above.empty() || !Other.empty(); }
    void Clear() {
        Above.clear();
        Other.clear();
    }
};

}  // namespace

std::string Utf8MarcRecordClass::Marc2OclcScreenFont(std::string sField) {
    const std::string sSet = CharacterSetOut();
    int32_t iMode = -1;
    if (sSet == "M") iMode = kModeM2V;
    else if (sSet == "O") iMode = kModeO2V;
    else if (sSet != "V") return sField;
    if (iMode >= 0) {
        SetUpTranslation(iMode);
        bool bChanged = false;
        ApplyTranslation(sField, bChanged);
    }

    const std::string_view labels = m.OclcScreenFontLabels;
    const unsigned delimiter = static_cast<unsigned char>(MarcDelimiter()[0]);
    BackwardText out(sField.size() * 2);
    // The length of what the character after the current position became:
    // the marks that stood before that character go right after it.
    size_t followingLength = 0;
    WaitingMarks marks;
    auto placeMarks = [&] {
        const std::string group = marks.Above + marks.Other;
        for (size_t k = group.size(); k-- > 0;) out.InsertAfter(followingLength, group[k]);
        marks.Clear();
    };
    auto prepend = [&](std::string_view unit) {
        out.Prepend(unit);
        if (!unit.empty()) followingLength = unit.size();
    };

    for (size_t i = sField.size(); i-- > 0;) {
        platform::DoEvents();
        const char c = sField[i];
        const unsigned v = static_cast<unsigned char>(c);
        if (v >= 0xE0) {
            (m.Marc8DiacriticsAbove.find(c) != std::string::npos ? marks.Above : marks.Other) += c;
        } else if (v >= 0x80) {
            if (marks.Any()) placeMarks();
            if (const size_t k = labels.find(c); k != std::string_view::npos) {
                const size_t blank = labels.find(' ', k + 1);
                prepend(labels.substr(k + 1, blank == std::string_view::npos ? std::string_view::npos : blank - k - 1));
            } else if (const size_t j = m.OclcScreenFontMarcCodes.find(c); j != std::string::npos) {
                prepend(std::string_view(m.OclcScreenFontCodes).substr(j, 1));
            } else {
                prepend(std::string_view(&sField[i], 1));
            }
        } else {
            if (marks.Any()) placeMarks();
            prepend(v == delimiter ? std::string_view(m.OclcScreenFontDelimiter) : std::string_view(&sField[i], 1));
        }
    }
    // Marks before the first character go after what it became.
    if (marks.Any()) placeMarks();
    return out.Text();
}

std::string Utf8MarcRecordClass::OclcScreenFont2Marc(std::string sField) {
    const std::string sSet = CharacterSetOut();
    if (sSet != "M" && sSet != "O" && sSet != "V") return sField;
    // The walk counts positions in 16 bits.
    if (sField.size() > 32767) RaiseRuntimeError(ErrorNumber::Overflow);

    const std::string alif = SharedChar().Marc8Alif();
    BackwardText out(sField.size() + 8);
    WaitingMarks marks;
    for (size_t n = sField.size(); n-- > 0;) {
        const char c = sField[n];
        const unsigned v = static_cast<unsigned char>(c);
        if (v >= 0xE0) {
            std::string& group = m.Marc8DiacriticsAbove.find(c) != std::string::npos ? marks.Above : marks.Other;
            group.insert(group.begin(), c);
            continue;
        }
        if (v >= 0x80) {
            const size_t k = m.OclcScreenFontCodes.find(c);
            out.Prepend(k == std::string::npos ? c : m.OclcScreenFontMarcCodes[k]);
            // Before a special character the above marks come first.
            out.Prepend(marks.Other);
            out.Prepend(marks.Above);
        } else {
            // Before an ASCII character (and the alif that 0x02 becomes) the
            // other marks come first.
            if (v == 0x02) out.Prepend(alif);
            else out.Prepend(c);
            out.Prepend(marks.Above);
            out.Prepend(marks.Other);
        }
        marks.Clear();
    }
    // Marks before every character stay at the front.
    out.Prepend(marks.Above);
    out.Prepend(marks.Other);

    std::string sText = out.Text();
    int32_t iMode = sSet == "M" ? kModeV2M : sSet == "O" ? kModeV2O : -1;
    if (iMode >= 0) {
        SetUpTranslation(iMode);
        bool bChanged = false;
        ApplyTranslation(sText, bChanged);
    }
    return sText;
}
