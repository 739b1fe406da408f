// Decomposition of UTF-8 records on load: the characters that the character
// object's SubstituteUtf8Char knows are replaced in the text of every variable
// field, unless the cataloguing client's preference of the current user turns
// this off.
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/runtime.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"
#include "marc/record/subfield_walk.h"
#include "platform/profile.h"

namespace {

constexpr char kDelimiter = '\x1F';

// The lead octets of every character that has a substitute: U+0096 to U+024F
// (C2 to C9), U+1E00 to U+1EFF (E1), U+2010 to U+2026 (E2) and the private-use
// characters (EE). Other characters are passed over without asking the
// character object.
constexpr std::array<bool, 256> kMayHaveSubstitute = [] {
    std::array<bool, 256> a{};
    for (unsigned lead : {0xC2u, 0xC3u, 0xC4u, 0xC5u, 0xC6u, 0xC7u, 0xC8u, 0xC9u, 0xE1u, 0xE2u, 0xEEu}) a[lead] = true;
    return a;
}();

bool MayHoldSubstitutes(std::string_view s) {
    // Eight octets at a time while they are all ASCII.
    size_t i = 0;
    for (uint64_t word; i + 8 <= s.size(); i += 8) {
        std::memcpy(&word, s.data() + i, 8);
        if ((word & 0x8080808080808080ull) == 0) continue;
        for (size_t k = i; k < i + 8; ++k)
            if (kMayHaveSubstitute[static_cast<unsigned char>(s[k])]) return true;
    }
    for (; i < s.size(); ++i)
        if (kMayHaveSubstitute[static_cast<unsigned char>(s[i])]) return true;
    return false;
}

// The first test of the decomposition made on a field's live subfields in
// place, rather than on the field's text joined from them: false only when
// no octet of that text can begin a character with a substitute. A broken
// subfield list is left to the decomposition.
bool FieldMayHoldSubstitutes(const FieldEntry& field) {
    return WalkLiveSubfields(field, [](const SubfieldEntry& sfd) {
               return !MayHoldSubstitutes(sfd.Text) && !MayHoldSubstitutes(sfd.Code);
           }) != SubfieldWalk::Done;
}

}  // namespace

std::string Utf8MarcRecordClass::DecomposeUnicodeCharactersInString(const std::string& sField, bool& bChanged) {
    if (!MayHoldSubstitutes(sField)) return sField;
    Utf8CharClass& chars = SharedChar();
    const std::string_view s(sField);
    std::string sOut;
    std::string sChar;
    std::string sSubstitute;
    size_t copied = 0;  // s[0, copied) is in sOut already
    size_t i = 0;
    while (i < s.size()) {
        const unsigned octet = static_cast<unsigned char>(s[i]);
        if (s[i] == kDelimiter) {
            // The code after a delimiter is one octet, whatever follows it.
            i += 2;
            continue;
        }
        // Other octets are passed over one by one (no continuation octet is
        // a lead octet of the list), and so is an octet that begins no
        // well-formed character: it is never joined with what follows it.
        const size_t k = kMayHaveSubstitute[octet] ? display_text::CharacterStartingAt(s, i) : 0;
        if (k == 0) {
            ++i;
            continue;
        }
        sChar.assign(s.substr(i, k));
        if (chars.SubstituteUtf8Char(sChar, sSubstitute)) {
            if (sOut.empty()) sOut.reserve(s.size() + 16);
            sOut.append(s.substr(copied, i - copied));
            sOut += sSubstitute;
            copied = i + k;
        }
        i += k;
    }
    if (copied == 0) return sField;
    bChanged = true;
    sOut.append(s.substr(copied));
    return sOut;
}

void Utf8MarcRecordClass::AutoDecomposeFields() {
    if (m.AutoDecomposeBypassed) return;
    if (!m.AutoDecomposePreferenceRead) {
        m.AutoDecomposePreferenceRead = true;
        const std::string sBypass = ReadRegistryValue(static_cast<int32_t>(platform::kHkeyCurrentUser),
                                                      "Software\\VB and VBA Program Settings\\RevoduvAde\\Preferences",
                                                      "BypassAutoDecompose");
        if (rt::UCase(sBypass) == "TRUE") {
            m.AutoDecomposeBypassed = true;
            return;
        }
    }
    // The fields were built from the record's data: when no octet of it can
    // begin a character with a substitute, no field changes.
    if (!MayHoldSubstitutes(m.RecordDataIn)) return;

    // The live fields in list order. The walk follows the links itself and
    // reads a field's text without the cursor move's loading of subfield-order
    // rules; only a field to rewrite becomes the current field.
    for (int16_t iField = m.FldFirst; iField >= 0 && iField < m.FldCount;
         iField = m.Fields[static_cast<size_t>(iField)].NextField) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(iField)];
        if (field.Deleted || field.IsControl || !FieldMayHoldSubstitutes(field)) continue;
        m.FldPointer = iField;
        bool bChanged = false;
        const std::string sDecomposed = DecomposeUnicodeCharactersInString(FldText(), bChanged);
        if (!bChanged) continue;
        // A field that its new text moves elsewhere in the order leaves its
        // old slot behind, still linked: the walk goes on from there.
        FldPointer(iField);
        FldText(sDecomposed);
    }
    FldPointer(-1);
}

std::string Utf8MarcRecordClass::ReadRegistryValue(int32_t hRootKey, const std::string& sKeyPath,
                                                   const std::string& sValueName) {
    const uint32_t root = static_cast<uint32_t>(hRootKey);
    if (root < platform::kHkeyClassesRoot || root > platform::kHkeyDynData) return "";
    const std::optional<platform::RegistryData> data = platform::QueryRegistryValue(root, sKeyPath, sValueName);
    if (!data) return "";
    // A value of no octets is the empty text.
    if (data->Type == platform::kRegSz) return data->Text;
    if (data->Type == platform::kRegDword) return std::to_string(static_cast<int32_t>(data->Number));
    return "";
}
