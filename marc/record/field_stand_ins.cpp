// Stand-ins for the members that the field table calls before they are built
// in their own files: the order key and the loading of a tag's subfield-order
// rule (field and subfield order rules), the field split and the few subfield
// cursor members that the field rewrite uses (subfield table and cursor), and
// the field's comparison form (field normal forms). Each keeps its name and
// signature, so that its real body replaces the one here and the field code
// that calls it stays as it is.
#include <algorithm>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';

}  // namespace

// Stand-in: with the construction's keep-the-order rules every key is "*".
std::string Utf8MarcRecordClass::FldOrderKey(const std::string& sTag, const std::string& sIndicators,
                                             const std::string& sFieldText) {
    if (m.FldOrderKeyForTests) return m.FldOrderKeyForTests(sTag, sIndicators, sFieldText);
    return "*";
}

// Stand-in: the current subfield-order rule is not loaded yet.
void Utf8MarcRecordClass::SfdOrderLoad(const std::string& /*sTag*/) {}

// Stand-in: the subfields in text order, as the split stores them while no
// subfield-order test moves one. Text before the first delimiter is dropped;
// from tag "011" on texts and later codes are trimmed; an empty later subfield
// is dropped; an empty code becomes "9" (and marks the record modified); a
// control field holds its whole text in one subfield "9".
void Utf8MarcRecordClass::FldSplitText(int16_t iFld, const std::string& sFieldText) {
    FieldEntry& field = m.Fields[static_cast<size_t>(iFld)];
    field.FirstSubfield = -1;
    field.LastSubfield = -1;
    field.SubfieldTop = -1;
    const bool bTrim = field.Tag >= "011";

    auto add = [&](std::string sCode, std::string sText) {
        const bool bFirst = field.SubfieldTop < 0;
        if (sCode.size() != 1 || sCode == " ") {
            sCode.assign(1, '9');
            if (field.Tag.compare(0, 2, "00") != 0) m.MarcRecordModified = true;
        }
        if (!bFirst && sText.empty() && !(field.Tag == "853" && sCode == "a")) return;
        if (!bFirst) field.Changed = true;
        const int16_t slot = field.NewSubfieldSlot();
        field.SubfieldTop = slot;
        SubfieldEntry& sfd = field.Subfields[static_cast<size_t>(slot)];
        sfd.Code = std::move(sCode);
        sfd.Text = std::move(sText);
        sfd.Norm = NormString(sfd.Text, true, "V");
        sfd.NormNaco.clear();
        sfd.Deleted = false;
        sfd.NextSubfield = -1;
        sfd.PrevSubfield = field.LastSubfield;
        if (field.LastSubfield >= 0) field.Subfields[static_cast<size_t>(field.LastSubfield)].NextSubfield = slot;
        else field.FirstSubfield = slot;
        field.LastSubfield = slot;
        m.SfdPointer = slot;
    };
    auto trimmed = [bTrim](std::string_view s) {
        if (bTrim) {
            while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
            while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        }
        return s;
    };

    if (field.IsControl) {
        add("", sFieldText);
        return;
    }
    std::string_view rest(sFieldText);
    const size_t first = rest.find(kDelimiter);
    if (first == std::string_view::npos) return;
    std::string_view code = rest.substr(first + 1, 1);
    rest = trimmed(rest.substr(std::min(first + 2, rest.size())));
    for (;;) {
        const size_t next = rest.find(kDelimiter);
        std::string_view text = rest;
        std::string_view nextCode;
        if (next == std::string_view::npos) {
            rest = {};
        } else {
            text = trimmed(rest.substr(0, next));
            nextCode = trimmed(rest.substr(next + 1, 1));
            rest = trimmed(rest.substr(std::min(next + 2, rest.size())));
        }
        add(std::string(code), std::string(text));
        // A code with nothing after it is not added.
        if (rest.empty()) break;
        code = nextCode;
    }
}

// Stand-ins of the subfield cursor: assignment, the first, top and next moves,
// and the accessors of the current subfield.
int16_t Utf8MarcRecordClass::SfdPointer() const { return m.SfdPointer; }

void Utf8MarcRecordClass::SfdPointer(int16_t vNewValue) {
    const int16_t fld = CurrentField();
    if (fld < 0 || vNewValue < 0 || vNewValue > m.Fields[static_cast<size_t>(fld)].SubfieldTop) {
        m.SfdPointer = -1;
        m.SfdWasFound = false;
        return;
    }
    m.SfdPointer = vNewValue;
    m.SfdWasFound = true;
}

bool Utf8MarcRecordClass::SfdMoveFirst() {
    const int16_t fld = CurrentField();
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    if (fld < 0) {
        SfdPointer(-1);
        return false;
    }
    SfdPointer(m.Fields[static_cast<size_t>(fld)].FirstSubfield);
    return true;
}

bool Utf8MarcRecordClass::SfdMoveTop() {
    const bool bFound = SfdMoveFirst();
    m.SfdAtTop = bFound;
    m.SfdAtBottom = false;
    return bFound;
}

bool Utf8MarcRecordClass::SfdMoveNext() {
    const int16_t fld = CurrentField();
    if (fld < 0 || m.SfdPointer < 0) {
        SfdPointer(-1);
    } else {
        const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
        SfdPointer(m.SfdAtTop ? field.FirstSubfield
                              : (m.SfdPointer <= field.SubfieldTop
                                     ? field.Subfields[static_cast<size_t>(m.SfdPointer)].NextSubfield
                                     : int16_t{-1}));
    }
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return m.SfdWasFound;
}

std::string Utf8MarcRecordClass::SfdCode() {
    const int16_t fld = CurrentField();
    if (fld < 0 || m.SfdAtTop || m.SfdPointer < 0 || m.SfdPointer > m.Fields[static_cast<size_t>(fld)].SubfieldTop)
        return "";
    return m.Fields[static_cast<size_t>(fld)].Subfields[static_cast<size_t>(m.SfdPointer)].Code;
}

std::string Utf8MarcRecordClass::SfdText() {
    const int16_t fld = CurrentField();
    if (fld < 0 || m.SfdAtTop || m.SfdPointer < 0 || m.SfdPointer > m.Fields[static_cast<size_t>(fld)].SubfieldTop)
        return "";
    return m.Fields[static_cast<size_t>(fld)].Subfields[static_cast<size_t>(m.SfdPointer)].Text;
}

bool Utf8MarcRecordClass::SfdDeleted() {
    const int16_t fld = CurrentField();
    if (fld < 0 || m.SfdPointer < 0 || m.SfdPointer > m.Fields[static_cast<size_t>(fld)].SubfieldTop) return true;
    return m.Fields[static_cast<size_t>(fld)].Subfields[static_cast<size_t>(m.SfdPointer)].Deleted;
}

// Stand-in: flags the current subfield deleted and the field changed; the
// punctuation rule of 245 $h comes with the subfield table.
void Utf8MarcRecordClass::SfdDelete(bool /*bConsider245HPunctuation*/) {
    const int16_t fld = CurrentField();
    if (fld < 0 || m.SfdPointer < 0 || m.SfdPointer > m.Fields[static_cast<size_t>(fld)].SubfieldTop) return;
    FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    field.Subfields[static_cast<size_t>(m.SfdPointer)].Deleted = true;
    field.Changed = true;
}

// Stand-in: the comparison form of the field's text with every delimiter and
// its code taken as a blank.
std::string Utf8MarcRecordClass::FldNorm() {
    if (CurrentField() < 0) return "";
    return NormString(RemoveDelimiters(FldText(), " "), true, "V");
}
