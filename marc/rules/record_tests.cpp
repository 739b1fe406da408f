// Record tests a cataloguer runs before saving: subfields whose comparison
// form is empty (the fields as they now stand), headings that do not begin
// with their expected subfield and delimiters followed by a blank (both in
// the record text as loaded). Each fault is one line; lines are joined by
// CR LF.
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiterOctet = '\x1F';

// A field of the loaded record text: its tag and its text after the
// indicators, without the field terminator.
struct RawField {
    std::string tag;
    std::string_view text;
};

// A part of a text; a start or length beyond it is cut to it.
std::string_view Part(std::string_view s, int64_t start, int64_t length) {
    if (start < 0) start = 0;
    if (length <= 0 || start >= static_cast<int64_t>(s.size())) return {};
    return s.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

// The data fields of an ISO 2709 text by its directory: control fields and
// fields too short to hold subfields are passed over.
std::vector<RawField> RawDataFields(std::string_view sRecord) {
    std::vector<RawField> fields;
    if (sRecord.empty()) return fields;
    const int64_t lBase = rt::Digits(Part(sRecord, 12, 5), rt::DigitSkip::Blanks, 1'000'000'000);
    const std::string_view sDirectory = Part(sRecord, 24, lBase - 25);
    const std::string_view sData = Part(sRecord, lBase, static_cast<int64_t>(sRecord.size()) - lBase - 1);
    for (size_t i = 0; i + 12 <= sDirectory.size(); i += 12) {
        const std::string_view sEntry = sDirectory.substr(i, 12);
        const std::string sTag(sEntry.substr(0, 3));
        if (sTag.compare(0, 2, "00") == 0) continue;
        const int64_t lLength = rt::Digits(sEntry.substr(3, 4), rt::DigitSkip::Nothing);
        const int64_t lStart = rt::Digits(sEntry.substr(7, 5), rt::DigitSkip::Nothing);
        if (lLength < 4) continue;
        fields.push_back({sTag, Part(sData, lStart + 2, lLength - 3)});
    }
    return fields;
}

void AddLine(std::string& sMessages, const std::string& sLine) {
    if (!sMessages.empty()) sMessages += "\r\n";
    sMessages += sLine;
}

// The code after the first delimiter, "" without one.
std::string FirstCode(std::string_view sText) {
    const size_t i = sText.find(kDelimiterOctet);
    return i == std::string_view::npos || i + 1 >= sText.size() ? std::string() : std::string(1, sText[i + 1]);
}

bool TagIn(const std::string& sTag, std::string_view sLow, std::string_view sHigh) {
    return sTag >= sLow && sTag <= sHigh;
}

}  // namespace

std::string Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsBib() const {
    return m.FieldsToTestForEmptySubfieldsBib.empty() ? "*" : m.FieldsToTestForEmptySubfieldsBib;
}
void Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsBib(const std::string& vNewValue) {
    m.FieldsToTestForEmptySubfieldsBib = vNewValue == "*" ? "" : vNewValue;
}
std::string Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsAuth() const {
    return m.FieldsToTestForEmptySubfieldsAuth.empty() ? "*" : m.FieldsToTestForEmptySubfieldsAuth;
}
void Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsAuth(const std::string& vNewValue) {
    m.FieldsToTestForEmptySubfieldsAuth = vNewValue == "*" ? "" : vNewValue;
}
std::string Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsHold() const {
    return m.FieldsToTestForEmptySubfieldsHold.empty() ? "*" : m.FieldsToTestForEmptySubfieldsHold;
}
void Utf8MarcRecordClass::FieldsToTestForEmptySubfieldsHold(const std::string& vNewValue) {
    m.FieldsToTestForEmptySubfieldsHold = vNewValue == "*" ? "" : vNewValue;
}

bool Utf8MarcRecordClass::TestRecordForEmptySubfields(std::string& sReturnMessages) {
    sReturnMessages.clear();
    const std::string sFormat = MarcRecordFormat();
    const std::string& sList = sFormat == "A"   ? m.FieldsToTestForEmptySubfieldsAuth
                               : sFormat == "H" ? m.FieldsToTestForEmptySubfieldsHold
                                                : m.FieldsToTestForEmptySubfieldsBib;
    const bool bEveryField = sList.size() < 3;
    const int16_t iFld = FldPointer();
    const int16_t iSfd = SfdPointer();
    const auto restore = [&] {
        FldPointer(iFld);
        SfdPointer(iSfd);
    };
    try {
        FldMoveTop();
        while (FldMoveNext(true)) {
            const std::string sTag = FldTag();
            if (FldIsControl()) continue;
            if (!bEveryField && sList.find(sTag) == std::string::npos) continue;
            // Deleted subfields are no part of the record as it stands.
            bool bLive = false;
            for (SfdMoveFirst(); SfdPointer() >= 0; SfdMoveNext()) {
                if (SfdDeleted()) continue;
                bLive = true;
                if (SfdNorm().empty()) AddLine(sReturnMessages, sTag + " $" + SfdCode() + " normalizes to nothing");
            }
            if (!bLive) AddLine(sReturnMessages, sTag + " $ normalizes to nothing");
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return !sReturnMessages.empty();
}

bool Utf8MarcRecordClass::TestRecordForLeadingSubfield(std::string& sReturnMessages) {
    sReturnMessages.clear();
    const std::string sFormat = MarcRecordFormat();
    if (sFormat.size() != 1 || std::string_view("ABDFMPSU").find(sFormat[0]) == std::string_view::npos) return false;
    const bool bAuthority = sFormat == "A";
    for (const RawField& field : RawDataFields(m.MarcRecordIn)) {
        const std::string& sTag = field.tag;
        std::string sExpected = "a";
        std::string sAllowed = "68";
        if (bAuthority) {
            if (sTag[0] != '1' && sTag[0] != '4' && sTag[0] != '5') continue;
            const std::string sLast2 = sTag.substr(1);
            sExpected = sLast2 == "80" ? "x" : sLast2 == "81" ? "z" : sLast2 == "82" ? "y" : sLast2 == "85" ? "v" : "a";
            if (sTag[0] != '1') sAllowed = "wi68";
        } else {
            if (!(TagIn(sTag, "100", "130") || sTag == "222" || sTag == "240" || sTag == "245" ||
                  TagIn(sTag, "400", "440") || TagIn(sTag, "600", "651") || sTag == "655" ||
                  TagIn(sTag, "700", "740") || TagIn(sTag, "800", "830")))
                continue;
            if (TagIn(sTag, "700", "740")) sAllowed += "i";
        }
        const std::string sFirst = FirstCode(field.text);
        if (sFirst == sExpected) continue;
        // Otherwise the field passes when the expected subfield comes after
        // subfields that may stand before it only.
        const size_t iExpected = field.text.find(std::string(1, kDelimiterOctet) + sExpected);
        std::string sBadCode = sFirst;
        if (iExpected != std::string_view::npos) {
            const std::string_view sBefore = field.text.substr(0, iExpected);
            bool bPasses = true;
            for (size_t i = sBefore.find(kDelimiterOctet); bPasses && i != std::string_view::npos;
                 i = sBefore.find(kDelimiterOctet, i + 1)) {
                if (i + 1 < sBefore.size() && sAllowed.find(sBefore[i + 1]) != std::string::npos) continue;
                bPasses = false;
                if (bAuthority) sBadCode = i + 1 < sBefore.size() ? std::string(1, sBefore[i + 1]) : std::string();
            }
            if (bPasses) continue;
        }
        AddLine(sReturnMessages, sTag + " began with unexpected subfield $" + sBadCode);
    }
    return !sReturnMessages.empty();
}

bool Utf8MarcRecordClass::TestRecordForBlankSubfieldCodes(std::string& sReturnMessages) {
    sReturnMessages.clear();
    for (const RawField& field : RawDataFields(m.MarcRecordIn))
        if (field.text.find(std::string(1, kDelimiterOctet) + " ") != std::string_view::npos)
            AddLine(sReturnMessages, field.tag + " has 'blank' subfield");
    return !sReturnMessages.empty();
}
