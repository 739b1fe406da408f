// 880 linkage ($6) and the tests for non-Latin ("vernacular") scripts and right-to-left text.
//
// The texts are read as UTF-8 octet by octet, yielding to the event loop at every position.
// A character is decoded here from the text itself, never past its end: a sequence whose
// continuation octets are missing or out of range counts as its first octet says and gets the
// script letter "Z". Nothing is kept between steps, so a call made during a yield sees the same
// results as one made without it.
#include <cstdint>
#include <string_view>

#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace {

unsigned OctetAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

constexpr uint32_t kMalformed = 0xFFFFFFFF;

// The code point of the character that starts at `pos`, taking as many octets as its first
// octet announces (4 for 0xF0 and up); kMalformed when the text ends first or a continuation
// octet is not 0x80-0xBF.
uint32_t CodePointAt(std::string_view s, size_t pos) {
    const unsigned lead = OctetAt(s, pos);
    size_t count = 1;
    uint32_t cp = lead;
    if (lead >= 0xF0) {
        count = 4;
        cp = lead & 0x07;
    } else if (lead >= 0xE0) {
        count = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xC0) {
        count = 2;
        cp = lead & 0x1F;
    } else {
        return lead;
    }
    if (pos + count > s.size()) return kMalformed;
    for (size_t k = 1; k < count; ++k) {
        const unsigned c = OctetAt(s, pos + k);
        if ((c & 0xC0) != 0x80) return kMalformed;
        cp = (cp << 6) | (c & 0x3F);
    }
    return cp;
}

struct ScriptRange {
    uint32_t first, last;
    char letter;
};

constexpr ScriptRange kScripts[] = {
    {0x0370, 0x03FF, 'G'},   {0x1F00, 0x1FFF, 'G'},   {0x0400, 0x052F, 'R'},   {0x0590, 0x05FF, 'H'},
    {0x0600, 0x06FF, 'A'},   {0x1100, 0x11FF, 'K'},   {0x3130, 0x318F, 'K'},   {0xAC00, 0xD7AE, 'K'},
    {0x3040, 0x30FF, 'J'},   {0x31F0, 0x31FF, 'J'},   {0xFF60, 0xFFCD, 'J'},   {0x2E80, 0x2FD5, 'C'},
    {0x2FF0, 0x2FFB, 'C'},   {0x3190, 0x319F, 'C'},   {0x3400, 0x4DFF, 'C'},   {0x4E00, 0x9FFF, 'C'},
    {0xF900, 0xFAFF, 'C'},   {0x20000, 0x2A6D6, 'C'}, {0x2F800, 0x2FA1D, 'C'},
};

char ScriptLetter(uint32_t cp) {
    for (const ScriptRange& r : kScripts)
        if (cp >= r.first && cp <= r.last) return r.letter;
    return 'Z';
}

// Whether the character at `pos` counts as vernacular, and the step to the next position.
bool CountsAsVernacular(std::string_view s, size_t pos, size_t& step) {
    const unsigned v = OctetAt(s, pos);
    if (v < 0xC0) {
        step = 1;
        return false;
    }
    if (v < 0xE0) {
        step = 2;
        // U+0370-U+037F count, the combining marks U+0340-U+036F do not; a final 0xCD has no
        // octet after it and does not count.
        if (v == 0xCD) return pos + 1 < s.size() && OctetAt(s, pos + 1) > 0xAF;
        return v >= 0xCE;
    }
    if (v >= 0xF1) {
        step = 4;
        return true;
    }
    step = 3;  // also for 0xF0: its fourth octet is passed over as an octet below 0xC0
    const uint32_t cp = CodePointAt(s, pos);
    if (v == 0xE2)
        return !((cp >= 0x2000 && cp <= 0x20CF) || cp == 0x2113 || cp == 0x2117 || cp == 0x266D || cp == 0x266F);
    if (v == 0xEF) return !(cp >= 0xFE20 && cp <= 0xFE23);
    return true;
}

}  // namespace

// ---------------------------------------------------------------- linkage

void Utf8MarcRecordClass::IdentifySubfield6Pieces(std::string sIncomingSubfield6Text, std::string& sReturnTag,
                                                  std::string& sReturnSequence, std::string& sReturnSuffix) {
    const std::string_view text(sIncomingSubfield6Text);
    sReturnSequence.clear();
    sReturnTag = std::string(text.substr(0, 3));
    std::string_view rest = text.substr(std::min<size_t>(3, text.size()));
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (!rest.empty() && !isDigit(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && isDigit(rest.front())) {
        sReturnSequence += rest.front();
        rest.remove_prefix(1);
    }
    while (sReturnSequence.size() < 2) sReturnSequence = "0" + sReturnSequence;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    sReturnSuffix = !rest.empty() && rest.front() != '/' ? "/" + std::string(rest) : std::string(rest);
}

std::string Utf8MarcRecordClass::FldTagTrue() const {
    const int16_t f = CurrentField();
    if (f < 0) return "";
    const FieldEntry& field = m.Fields[static_cast<size_t>(f)];
    if (field.Tag != "880") return field.Tag;
    // Along the subfield list, deleted subfields included, each entry at most once.
    size_t steps = 0;
    for (int16_t j = field.FirstSubfield; j >= 0 && static_cast<size_t>(j) < field.Subfields.size() &&
                                          steps++ < field.Subfields.size();
         j = field.Subfields[static_cast<size_t>(j)].NextSubfield) {
        const SubfieldEntry& sfd = field.Subfields[static_cast<size_t>(j)];
        if (sfd.Code == "6") return sfd.Text.substr(0, 3);
    }
    return field.Tag;
}

// ---------------------------------------------------------------- vernacular scripts

bool Utf8MarcRecordClass::VernacularDataCharacterize(std::string sIn, std::string& sCharacterSetsPresent) {
    bool bResult = false;
    const std::string_view text(sIn);
    for (size_t pos = 0; pos < text.size();) {
        platform::DoEvents();
        size_t step = 1;
        if (CountsAsVernacular(text, pos, step)) {
            bResult = true;
            const uint32_t cp = CodePointAt(text, pos);
            const char letter = cp == kMalformed ? 'Z' : ScriptLetter(cp);
            if (sCharacterSetsPresent.find(letter) == std::string::npos) sCharacterSetsPresent += letter;
        }
        pos += step;
    }
    return bResult;
}

bool Utf8MarcRecordClass::VernacularDataPresent(std::string sIn) {
    std::string sLetters;
    return VernacularDataCharacterize(std::move(sIn), sLetters);
}

namespace {
// Calls visit with the text of each live subfield of field f in list order until it returns true;
// whether one did. The links are read afresh at every step, since a yield inside visit may change
// the table; the walk ends when the field or the entry is no longer there, and visits at most as
// many entries as the field holds.
template <class Visit>
bool AnyLiveSubfield(const Utf8MarcRecordState& m, int16_t f, Visit visit) {
    if (f < 0) return false;
    auto field = [&m, f]() -> const FieldEntry* {
        return static_cast<size_t>(f) < m.Fields.size() ? &m.Fields[static_cast<size_t>(f)] : nullptr;
    };
    size_t steps = 0;
    for (int16_t j = field() ? field()->FirstSubfield : -1; j >= 0;) {
        const FieldEntry* entry = field();
        if (!entry || static_cast<size_t>(j) >= entry->Subfields.size() || steps++ > entry->Subfields.size()) break;
        const SubfieldEntry& sfd = entry->Subfields[static_cast<size_t>(j)];
        if (!sfd.Deleted && visit(std::string(sfd.Text))) return true;
        entry = field();
        if (!entry || static_cast<size_t>(j) >= entry->Subfields.size()) break;
        j = entry->Subfields[static_cast<size_t>(j)].NextSubfield;
    }
    return false;
}
}  // namespace

bool Utf8MarcRecordClass::FldCharacterizeVernacularData(std::string& sCharacterSetsContained) {
    sCharacterSetsContained.clear();
    bool bResult = false;
    std::string sShared;
    AnyLiveSubfield(m, CurrentField(), [&](std::string sText) {
        if (VernacularDataCharacterize(std::move(sText), sShared)) {
            bResult = true;
            for (char letter : sShared)
                if (sCharacterSetsContained.find(letter) == std::string::npos) sCharacterSetsContained += letter;
        }
        return false;  // every subfield is examined
    });
    return bResult;
}

bool Utf8MarcRecordClass::FldContainsVernacularData() {
    return AnyLiveSubfield(m, CurrentField(), [this](std::string sText) { return VernacularDataPresent(std::move(sText)); });
}

bool Utf8MarcRecordClass::SfdContainsVernacularData() {
    const int16_t f = CurrentField();
    if (f < 0 || m.SfdAtTop || m.SfdPointer < 0) return false;
    const FieldEntry& field = m.Fields[static_cast<size_t>(f)];
    if (static_cast<size_t>(m.SfdPointer) >= field.Subfields.size()) return false;
    return VernacularDataPresent(field.Subfields[static_cast<size_t>(m.SfdPointer)].Text);
}

bool Utf8MarcRecordClass::ContainsRightToLeftCharacters(std::string sIn) {
    const std::string_view text(sIn);
    for (size_t pos = 0; pos < text.size(); ++pos) {
        platform::DoEvents();
        const unsigned v = OctetAt(text, pos);
        if (v >= 0xD6 && v <= 0xDB) {
            const uint32_t cp = CodePointAt(text, pos);
            if (cp != kMalformed && cp >= 0x0590 && cp <= 0x06FF) return true;
        } else if (v == 0xE2) {
            const uint32_t cp = CodePointAt(text, pos);
            if (cp == 0x200E || cp == 0x200F || cp == 0x202A || cp == 0x202B || cp == 0x202D || cp == 0x202E)
                return true;
        }
    }
    return false;
}
