#pragma once
// Test texts of the display members: "<C3 A9>" stands for the octets written
// in hexadecimal between the brackets, "$" for the subfield delimiter, and
// every other character for itself. Texts that hold "<" themselves write
// the octets in braces instead: "{C3 A9}".

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"

namespace display_test {

inline std::string T(const std::string& s, char open = '<', char closing = '>') {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == open) {
            const size_t close = s.find(closing, i);
            out += test_octets::O(s.substr(i + 1, close - i - 1));
            i = close;
        } else {
            out += s[i] == '$' ? '\x1F' : s[i];
        }
    }
    return out;
}

inline std::string B(const std::string& s) { return T(s, '{', '}'); }

// Octets as hexadecimal pairs, for comparisons that print readably.
inline std::string Hex(const std::string& s) { return UtliMiscNonUtf8::TextToHex(s); }

// One case of a table: a text and what a member makes of it in a record of
// each of the output sets named by the letters of sets ("UMOV").
struct SetCase {
    const char* sets;
    const char* in;
    const char* out;
};

// Records held in each output set, made on first use.
class RecordsBySet {
public:
    Utf8MarcRecordClass& In(const std::string& sSet) {
        auto& record = records_[sSet];
        if (!record) {
            record = std::make_unique<Utf8MarcRecordClass>();
            record->CharacterSetOut(sSet);
        }
        return *record;
    }
    // Every case in each of its sets: convert(record, text) gives the
    // expected text; texts are written for the reader `text` (T or B).
    template <class Convert>
    void ExpectInEachSet(const std::vector<SetCase>& cases, Convert convert,
                         std::string (*text)(const std::string&) = [](const std::string& s) { return T(s); }) {
        for (const SetCase& k : cases)
            for (const char* set = k.sets; *set; ++set)
                EXPECT_EQ(Hex(convert(In(std::string(1, *set)), text(k.in))), Hex(text(k.out)))
                    << k.in << " in " << *set;
    }

private:
    std::map<std::string, std::unique_ptr<Utf8MarcRecordClass>> records_;
};

}  // namespace display_test
