#pragma once
// Helpers of the display members: UTF-8 characters as whole units, and a text
// built from its end towards its start.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace display_text {

inline unsigned OctetAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

// The code point of a Windows-1252 octet from 0x80 to 0xFF; 0 for the octets
// that the set leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) and below 0x80.
uint16_t Windows1252CodePoint(unsigned octet);

// Windows-1252 text read by the set's chart into UTF-8, octet by octet; the
// undefined octets become the C1 controls of their value.
std::string Windows1252ToUtf8(std::string_view sText);

// The octet count that a lead octet announces, as the character object counts
// it: 1 below 0xC0, 2 for 0xC0-0xDF, 3 for 0xE0-0xEF, 4 from 0xF0.
inline size_t AnnouncedOctets(unsigned lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// The length of the well-formed character that starts at index i (an octet
// below 0x80, or a lead octet followed by the continuation octets it
// announces); 0 when the octet there is a stray one.
inline size_t CharacterStartingAt(std::string_view s, size_t i) {
    const unsigned lead = OctetAt(s, i);
    if (lead < 0x80) return 1;
    if (lead < 0xC0) return 0;
    const size_t k = AnnouncedOctets(lead);
    if (i + k > s.size()) return 0;
    for (size_t j = i + 1; j < i + k; ++j)
        if ((OctetAt(s, j) & 0xC0) != 0x80) return 0;
    return k;
}

// The length of the well-formed character that ends just before index end;
// 0 when the octet at end - 1 belongs to none (end must be at least 1).
inline size_t CharacterEndingAt(std::string_view s, size_t end) {
    const unsigned last = OctetAt(s, end - 1);
    if (last < 0x80) return 1;
    if (last >= 0xC0) return 0;
    for (size_t k = 2; k <= 4 && k <= end; ++k) {
        const unsigned octet = OctetAt(s, end - k);
        if ((octet & 0xC0) == 0x80) continue;
        return octet >= 0xC0 && AnnouncedOctets(octet) == k ? k : 0;
    }
    return 0;
}

// A text made from its last octet back to its first: Prepend puts octets in
// front of what was made so far, which is kept reversed so that every step
// costs only what it adds.
class BackwardText {
public:
    explicit BackwardText(size_t reserve) { reversed_.reserve(reserve); }
    void Prepend(std::string_view s) { reversed_.append(s.rbegin(), s.rend()); }
    void Prepend(char c) { reversed_.push_back(c); }
    // The octet k places into what was made (0 is its first), -1 past its end.
    int At(size_t k) const {
        return k < reversed_.size() ? static_cast<unsigned char>(reversed_[reversed_.size() - 1 - k]) : -1;
    }
    size_t Size() const { return reversed_.size(); }
    void DropFirst() { reversed_.pop_back(); }
    // Puts an octet after the first k octets made (k at most Size()).
    void InsertAfter(size_t k, char c) { reversed_.insert(reversed_.end() - static_cast<std::ptrdiff_t>(k), c); }
    void Append(char c) { reversed_.insert(reversed_.begin(), c); }
    std::string Text() const { return std::string(reversed_.rbegin(), reversed_.rend()); }

private:
    std::string reversed_;
};

}  // namespace display_text
