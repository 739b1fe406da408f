// ISO 2709 input: the structural tests of a record text, the load that turns
// its directory into the field table, and the getters of the loaded record.
#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kEndOfField = '\x1E';
constexpr char kEndOfRecord = '\x1D';

// The number of a leader's or a directory's digits: blanks skipped anywhere,
// reading stops at any other non-digit.
int32_t NumberAt(const std::string& s, size_t start, size_t length) {
    if (start >= s.size()) return 0;
    return static_cast<int32_t>(rt::Digits(std::string_view(s).substr(start, length), rt::DigitSkip::Blanks));
}

}  // namespace

bool Utf8MarcRecordClass::IsMarc(const std::string& sSuspect) {
    m.IsMarcErrorText.clear();
    const auto fail = [this](const char* sMessage) {
        m.IsMarcErrorText = sMessage;
        return false;
    };
    const size_t length = sSuspect.size();
    if (length < 50) return fail("Too short to be a MARC record");
    for (size_t i = 0; i < 5; ++i)
        if (!rt::IsAsciiDigit(sSuspect[i])) return fail("First 5 characters not all numeric");
    const int32_t recordLength = NumberAt(sSuspect, 0, 5);
    if (static_cast<int32_t>(length) < recordLength)
        return fail("Record length in leader does not match actual record length");
    const int32_t base = NumberAt(sSuspect, 12, 5);
    if (base > recordLength) return fail("Base address of data longer than record length");
    if (base < 1) return fail("Base address of data unacceptable");
    if (sSuspect[static_cast<size_t>(base - 1)] != kEndOfField)
        return fail("Directory does not end with end-of-field character");
    if (sSuspect[length - 1] != kEndOfRecord) return fail("Record does not end with end-of-record character");
    if (sSuspect[length - 2] != kEndOfField) return fail("Last field does not end with end-of-field character");
    return true;
}

std::string Utf8MarcRecordClass::MarcRecordIn() const { return m.MarcRecordIn; }

std::string Utf8MarcRecordClass::IsMarcErrorText() const { return m.IsMarcErrorText; }

std::string Utf8MarcRecordClass::MarcRecordFormat() const { return m.MarcRecordFormat; }

bool Utf8MarcRecordClass::IsAuthority() const { return m.IsAuthority; }

void Utf8MarcRecordClass::MarkModifiedIfReordered() {
    for (int16_t i = 0; i < m.FldCount; ++i) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        if (field.NextField != i + 1 && field.NextField != -1) {
            m.MarcRecordModified = true;
            return;
        }
        for (int16_t j = 0; j < field.SubfieldTop; ++j) {
            const int16_t next = field.Subfields[static_cast<size_t>(j)].NextSubfield;
            if (next == -1) break;
            if (next != j + 1) {
                m.MarcRecordModified = true;
                return;
            }
        }
        if (field.NextField == -1) return;
    }
}

// Stand-in until the decomposition of UTF-8 records on load is built.
void Utf8MarcRecordClass::AutoDecomposeFields() {}
