// Feeds arbitrary octets to the decomposition of UTF-8 text and to the
// character substitution, and loads them as the text of two fields of a UTF-8
// record (a 245 and an 880), which decomposes them on the way in. Checks that
// a decomposed text without the click letter has nothing left to decompose,
// that the flag tells a change, that an ASCII text without the click letter
// comes back unchanged, and that a false answer leaves the character as it
// was given.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "chars/utf8_char.h"
#include "common/raised_error.h"
#include "marc/record/marc_record.h"

namespace {

std::string Field(const std::string& tag, const std::string& content) { return tag + content; }

// A record of a 001 and the two fields, with the lengths filled in.
std::string Utf8Record(const std::string& text) {
    std::string directory, data;
    const std::string contents[][2] = {{"001", "1"}, {"245", "10\x1F" "a" + text}, {"880", "  \x1F" "6245-01\x1F" "a" + text}};
    char number[16];
    for (const auto& field : contents) {
        const std::string& content = field[1];
        if (content.size() + 1 > 9999) return "";
        std::snprintf(number, sizeof number, "%04zu%05zu", content.size() + 1, data.size());
        directory += Field(field[0], number);
        data += content + "\x1E";
    }
    std::string leader = "00000nam a2200000   4500";
    std::snprintf(number, sizeof number, "%05zu", 24 + directory.size() + 1);
    leader.replace(12, 5, number);
    std::string record = leader + directory + "\x1E" + data + "\x1D";
    if (record.size() > 99999) return "";
    std::snprintf(number, sizeof number, "%05zu", record.size());
    record.replace(0, 5, number);
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static Utf8MarcRecordClass record;

    bool bChanged = false;
    const std::string sOnce = record.DecomposeUnicodeCharactersInString(text, bChanged);
    if (bChanged != (sOnce != text)) std::abort();
    // A click letter becomes a delimiter, which makes the octet after it a
    // subfield code: only texts without one decompose to a fixed point.
    const bool bClick = text.find("\xC7\x82") != std::string::npos;
    bool bAgain = false;
    const std::string sTwice = record.DecomposeUnicodeCharactersInString(sOnce, bAgain);
    if (!bClick && (sTwice != sOnce || bAgain)) std::abort();
    bool bAscii = !bClick;
    for (char c : text) bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    if (bAscii && bChanged) std::abort();

    static Utf8CharClass chars;
    std::string sReturn;
    const std::string sChar = text.substr(0, 4);
    if (!chars.SubstituteUtf8Char(sChar, sReturn) && sReturn != sChar) std::abort();

    const std::string sRecord = Utf8Record(text);
    if (!sRecord.empty()) {
        static Utf8MarcRecordClass loaded;
        loaded.CharacterSetIn("U");
        loaded.CharacterSetOut("U");
        try {
            loaded.MarcRecordIn(sRecord);
        } catch (const RaisedError&) {
            // A field of more subfields than the record model holds is refused.
        }
        (void)loaded.MarcRecordOut();
    }
    return 0;
}
