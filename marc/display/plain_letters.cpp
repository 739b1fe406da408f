// Plainer letters for UTF-8 text: SubstituteRegularCharacters replaces the
// special Latin letters of the plain-letter table by one or two ASCII letters,
// RemoveDiacritics drops the combining marks (category "Mn"). Both read the
// text as UTF-8 whatever the record's encoding, and act only on well-formed
// characters: any other octet passes as itself, so MARC-8 text is not read as
// characters it does not hold.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/display/display_text.h"
#include "marc/display/plain_letter_table.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace plain_letters {

const PlainLetterEntry* FindPlainLetter(uint32_t code) {
    const PlainLetterEntry* end = kPlainLetters + kPlainLetterCount;
    const PlainLetterEntry* e = std::lower_bound(kPlainLetters, end, code,
                                                 [](const PlainLetterEntry& x, uint32_t c) { return x.Code < c; });
    return e != end && e->Code == code ? e : nullptr;
}

}  // namespace plain_letters

namespace {

// The code of a four-digit UCS form.
uint32_t FourDigitCode(const std::string& sHex) {
    uint32_t code = 0;
    for (char c : sHex) code = code * 16 + static_cast<uint32_t>(rt::HexDigitValue(c));
    return code;
}

}  // namespace

std::string Utf8MarcRecordClass::SubstituteRegularCharacters(const std::string& sIn) {
    Utf8CharClass& chars = SharedChar();
    display_text::BackwardText out(sIn.size());
    platform::DoEvents();
    for (size_t end = sIn.size(); end > 0;) {
        const size_t k = display_text::CharacterEndingAt(sIn, end);
        if (k == 0) {  // a stray octet
            out.Prepend(sIn[--end]);
        } else {
            const std::string_view c(sIn.data() + end - k, k);
            end -= k;
            chars.Utf8Char(std::string(c));
            // The table's keys are four-digit UCS forms; the character object
            // reads the octets, so only its form decides.
            const std::string sHex = chars.UcsHex();
            const plain_letters::PlainLetterEntry* entry =
                sHex.size() == 4 ? plain_letters::FindPlainLetter(FourDigitCode(sHex)) : nullptr;
            out.Prepend(entry ? std::string_view(entry->Replacement) : c);
        }
        platform::DoEvents();
    }
    return out.Text();
}

std::string Utf8MarcRecordClass::RemoveDiacritics(const std::string& sIn) {
    Utf8CharClass& chars = SharedChar();
    if (sIn.empty()) {
        chars.Utf8Char("");  // an empty character, as a walk over nothing leaves it
        return "";
    }
    std::string sResult;
    sResult.reserve(sIn.size());
    for (size_t p = 0; p < sIn.size();) {
        const size_t k = display_text::CharacterStartingAt(sIn, p);
        if (k == 0) {  // a stray octet
            sResult += sIn[p++];
            continue;
        }
        chars.Utf8Char(sIn.substr(p, k));
        if (chars.Utf8CharCategory() != "Mn") sResult.append(sIn, p, k);
        p += k;
    }
    return sResult;
}
