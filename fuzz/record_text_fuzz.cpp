// Calls the record's text, case and character-class helpers with texts and
// arguments taken from the input, in a UTF-8 record and in an 8-bit record.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>

#include "marc/record/marc_record.h"

namespace {

// Reads the input from the front: numbers, then texts split at octet 0x00.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int32_t Number() {
        int32_t value = 0;
        const size_t n = std::min<size_t>(sizeof value, size_ - pos_);
        std::memcpy(&value, data_ + pos_, n);
        pos_ += n;
        return value;
    }
    // Small numbers most of the time, so that positions meet the texts.
    int32_t Position() {
        const int32_t value = Number();
        return (value & 0x100) ? value : value % 64;
    }
    std::string Text() {
        std::string text;
        while (pos_ < size_ && data_[pos_] != 0) text += static_cast<char>(data_[pos_++]);
        if (pos_ < size_) ++pos_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

void Exercise(Utf8MarcRecordClass& r, Input& in) {
    const int32_t p1 = in.Position(), p2 = in.Position();
    const int16_t k = static_cast<int16_t>(in.Position());
    const std::string a = in.Text(), b = in.Text(), c = in.Text();
    std::string out;
    int16_t value = static_cast<int16_t>(p1);

    r.SafeStuff(a, p1, k, b);
    r.SafeMid(a, p1, p2, (p2 & 1) != 0);
    r.SafeRight(a, p2);
    r.Rat(a, b);
    r.RatExtended(a, b, 1);
    r.ReplaceCharacters(a, b, c, true);
    r.RemoveRepeatedCharacters(a, b);
    r.RemoveSpaces(a);
    r.AddSpacesAroundDelimiters(a);
    r.RemoveSpacesAroundDelimiters(a);
    r.RemoveDelimiters(a, b);
    r.ExtractSubfield(a, b, out, p1);
    r.CLCL(a, b);
    r.LeftPad(a, k, b);
    r.LeftPadNumber(p1, k, b);
    r.RemoveLeadingCharacter(a, b);
    r.RemoveTrailingCharacter(a, b);
    std::string front = a;
    r.RemoveTextFromFront(b, front, (p1 & 1) != 0);
    r.LesserNonZero(p1, p2);

    r.SafeUCase(a);
    r.SafeLCase(a);
    r.UCaseFirstWord(a, (p2 & 2) != 0);
    r.LCaseFirstWord(a);
    r.SafeTitleCase(a, b);
    r.SafeSentenceCase(a);
    r.IsTrue(a);
    r.CharIsNumeric(a, value);
    r.CharIsAlpha(a);
    r.CharIsUpper(a);
    r.CharIsLower(a);
    r.StringIsNumeric(a, b);
    r.CharCategory(a);
    r.SafeLen(a);
    r.LengthInCharacters(a);
    r.LastNondiacriticCharacter(a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;
    Input inUtf8(data, size);
    Exercise(utf8, inUtf8);
    Input inMarc8(data, size);
    Exercise(marc8, inMarc8);
    return 0;
}
