// XmlUnconditionText: entity and character references of XML or HTML text
// decoded back into record text.
//
// The text is walked from its last octet to its first; what lies to the right
// of the walk is final, and a reference's end is searched for in that final
// text (so a blank or line feed that a later reference gave can end an earlier
// one). The final text is built back to front in one buffer, and the positions
// of its terminators are kept on a stack, so the walk is linear in the text.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/xml/xml_entity_table.h"

namespace {

using xml_entities::kXmlEntities;
using xml_entities::XmlEntityEntry;

const XmlEntityEntry* FindEntity(std::string_view key) {
    const XmlEntityEntry* end = kXmlEntities + xml_entities::kXmlEntityCount;
    const XmlEntityEntry* at =
        std::lower_bound(kXmlEntities, end, key, [](const XmlEntityEntry& e, std::string_view k) { return e.Key < k; });
    return at != end && at->Key == key ? at : nullptr;
}

bool IsTerminator(char c) { return c == ';' || c == ' ' || c == '\n'; }

// A code point that XML 1.0 allows as a character.
bool XmlAllows(uint64_t cp) {
    return cp == 0x09 || cp == 0x0A || cp == 0x0D || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

// The final text, held back to front, with the positions of its terminators.
class ReversedText {
public:
    explicit ReversedText(size_t room) { octets_.reserve(room); }

    void Push(char c) {
        if (IsTerminator(c)) terminators_.push_back(octets_.size());
        octets_.push_back(c);
    }
    void PushText(std::string_view text) {
        for (auto it = text.rbegin(); it != text.rend(); ++it) Push(*it);
    }
    // Drop the first `count` octets of the final text.
    void DropFront(size_t count) {
        octets_.resize(octets_.size() - count);
        while (!terminators_.empty() && terminators_.back() >= octets_.size()) terminators_.pop_back();
    }
    bool Empty() const { return octets_.empty(); }
    char Front() const { return octets_.back(); }
    // The octet at a 0-based position from the front.
    char At(size_t k) const { return octets_[octets_.size() - 1 - k]; }
    // The position from the front of the nearest terminator, or the length.
    size_t NearestTerminator() const {
        return terminators_.empty() ? octets_.size() : octets_.size() - 1 - terminators_.back();
    }
    size_t Size() const { return octets_.size(); }
    std::string Forward() const { return std::string(octets_.rbegin(), octets_.rend()); }

private:
    std::string octets_;
    std::vector<size_t> terminators_;
};

// What a numeric reference gives.
struct NumericValue {
    bool Valid = false;           // false: the reference stays as it is
    bool Hexadecimal = false;     // read by the hexadecimal rules
    std::optional<uint32_t> Code; // none: the reference is removed
};

// The value of the digits of the name from `from` on (hexadecimal or
// decimal); none when a character is no digit or the value is past U+10FFFF.
std::optional<uint64_t> DigitsValue(const ReversedText& text, size_t from, size_t nameLength, bool bHex) {
    uint64_t value = 0;
    for (size_t k = from; k < nameLength; ++k) {
        const char c = text.At(k);
        const int digit = bHex ? rt::HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * (bHex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > 0x10FFFF) return std::nullopt;
    }
    return value;
}

// The name, the first `nameLength` octets of the final text, read as a
// numeric reference: "#" and decimal digits, "#x" or "x" and hexadecimal
// digits (either case). "#" and "#x" with no digits are removed.
NumericValue ReadNumeric(const ReversedText& text, size_t nameLength) {
    NumericValue result;
    if (nameLength == 0) return result;
    const char first = text.At(0);
    size_t from = 0;
    bool bHex = false;
    if (first == '#' && (nameLength == 1 || text.At(1) == 'x' || text.At(1) == 'X')) {
        from = 2;
        bHex = true;
    } else if (first == '#') {
        from = 1;
    } else if ((first == 'x' || first == 'X') && nameLength > 1) {
        from = 1;
        bHex = true;
    } else {
        return result;
    }
    result.Hexadecimal = bHex;
    if (from >= nameLength) {
        result.Valid = true;
        return result;
    }
    const std::optional<uint64_t> value = DigitsValue(text, from, nameLength, bHex);
    if (!value || !XmlAllows(*value)) return result;
    result.Valid = true;
    result.Code = static_cast<uint32_t>(*value);
    return result;
}

}  // namespace

std::string Utf8MarcRecordClass::XmlUnconditionText(const std::string& sText,
                                                    bool bTranslateUnknownAmpsersandNotations) {
    if (!m.RecordIsUtf8) return sText;
    Utf8CharClass& chars = SharedChar();

    ReversedText text(sText.size());
    std::optional<std::string> lastHexCharacter;
    std::string key;
    for (size_t i = sText.size(); i-- > 0;) {
        const char c = sText[i];
        if (c == '\xC2' && !text.Empty() && text.Front() == '\xA0') {
            text.DropFront(1);
            text.Push(' ');
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (c != '&') {
            text.Push(c);
            continue;
        }

        // A reference: its name runs to the nearest terminator; a ";" belongs
        // to the span replaced, a blank or line feed stays.
        const size_t nameLength = text.NearestTerminator();
        const size_t spanLength = nameLength + (nameLength < text.Size() && text.At(nameLength) == ';' ? 1 : 0);
        if (nameLength <= xml_entities::kXmlEntityLongestKey) {
            key.clear();
            for (size_t k = 0; k < nameLength; ++k) key += text.At(k);
            if (const XmlEntityEntry* entry = FindEntity(key)) {
                text.DropFront(spanLength);
                text.PushText(entry->Value);
                continue;
            }
        }
        const NumericValue numeric =
            bTranslateUnknownAmpsersandNotations ? ReadNumeric(text, nameLength) : NumericValue{};
        if (!numeric.Valid) {
            text.Push('&');
            continue;
        }
        std::string value;
        if (numeric.Code) {
            // Big-endian UTF-16 of the code point, through the character object.
            const uint32_t cp = *numeric.Code;
            std::string ucs;
            if (cp < 0x10000) {
                ucs = {static_cast<char>(cp >> 8), static_cast<char>(cp & 0xFF)};
            } else {
                const uint32_t high = 0xD800 + ((cp - 0x10000) >> 10);
                const uint32_t low = 0xDC00 + ((cp - 0x10000) & 0x3FF);
                ucs = {static_cast<char>(high >> 8), static_cast<char>(high & 0xFF), static_cast<char>(low >> 8),
                       static_cast<char>(low & 0xFF)};
            }
            value = chars.Ucs2Utf8(ucs);
        }
        if (numeric.Hexadecimal) lastHexCharacter = value;
        text.DropFront(spanLength);
        text.PushText(value);
    }
    // The shared character object is left on the last character that the
    // hexadecimal rules decoded (the leftmost such reference).
    if (lastHexCharacter) chars.Utf8Char(*lastHexCharacter);
    return text.Forward();
}
