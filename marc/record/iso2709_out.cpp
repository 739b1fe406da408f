// ISO 2709 output: the record in memory as leader, directory, data and
// terminators, and the getters of the record as loaded.
#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';
constexpr char kEndOfField = '\x1E';
constexpr char kEndOfRecord = '\x1D';
constexpr size_t kMaxFieldLength = 9999;
constexpr size_t kMaxPosition = 99999;

// A number as `width` decimal digits with leading zeros (it fits).
void AppendDigits(std::string& s, size_t value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    s.append(digits, static_cast<size_t>(width));
}

void WriteDigits(std::string& s, size_t at, size_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        s[at + static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

std::string Utf8MarcRecordClass::MarcRecordOut() { return ComposeMarcRecordOut(true, m.MarcRecordOutErrorText); }

std::string Utf8MarcRecordClass::MarcRecordOutErrorText() const { return m.MarcRecordOutErrorText; }

std::string Utf8MarcRecordClass::ComposeMarcRecordOut(bool bReCast502, std::string& sErrorText) {
    sErrorText.clear();
    // The recast leaves the cursor where it found it.
    if (bReCast502) ReCastAll502Fields();
    if (m.FldCount < 1 || m.FldFirst < 0) return "";

    const int16_t iRemembered = m.FldPointer;
    // Data and directory are composed in buffers kept from one output to the
    // next; the record is then made in one piece.
    std::string& sDirectory = m.MarcRecordOutDirectory;
    std::string& sData = m.MarcRecordOutData;
    sDirectory.clear();
    sData.clear();
    // The walk follows the links; the count bounds it even over a broken list.
    int32_t visited = 0;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount && visited <= m.FldCount && sErrorText.empty();
         i = m.Fields[static_cast<size_t>(i)].NextField, ++visited) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        if (field.Deleted || field.Tag.size() != 3) continue;
        const bool bControl = field.IsControl;
        const size_t start = sData.size();
        if (bControl) {
            if (field.FirstSubfield >= 0 && field.FirstSubfield <= field.SubfieldTop) {
                const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(field.FirstSubfield)];
                if (!subfield.Deleted) sData += subfield.Text;
            }
        } else {
            // Indicators that are not two characters (an insertion keeps empty
            // ones) are padded with blanks, so the first subfield stays one.
            const std::string& sInd = field.Indicators;
            sData += sInd.size() > 0 ? sInd[0] : ' ';
            sData += sInd.size() > 1 ? sInd[1] : ' ';
            const size_t textStart = sData.size();
            int32_t steps = 0;
            for (int16_t j = field.FirstSubfield; j >= 0 && j <= field.SubfieldTop && steps <= field.SubfieldTop;
                 j = field.Subfields[static_cast<size_t>(j)].NextSubfield, ++steps) {
                const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(j)];
                if (subfield.Deleted) continue;
                sData += kDelimiter;
                sData += subfield.Code;
                sData += subfield.Text;
            }
            // A field without a live subfield is left out.
            if (sData.size() == textStart) sData.resize(start);
        }
        if (sData.size() == start) continue;

        if (sData.back() != kEndOfField) sData += kEndOfField;
        const size_t length = sData.size() - start;
        // (One pass over the octets; find_first_of would search the set once per octet.)
        size_t terminator = start;
        while (terminator < sData.size() && sData[terminator] != kEndOfField && sData[terminator] != kEndOfRecord)
            ++terminator;
        if (terminator < sData.size() - 1) {
            // A terminator inside the field would end it early for every reader.
            sErrorText = "Field " + field.Tag + " contains a field or record terminator";
        } else if (length > kMaxFieldLength) {
            sErrorText = "Field " + field.Tag + " is longer than 9999 characters";
        } else if (start > kMaxPosition) {
            sErrorText = "Field " + field.Tag + " starts beyond position 99999";
        } else {
            sDirectory += field.Tag;
            AppendDigits(sDirectory, length, 4);
            AppendDigits(sDirectory, start, 5);
        }
    }

    // Back to the remembered field, its subfield cursor on its first subfield.
    FldPointer(iRemembered);

    // A leader cut short (a failed load, then additions) is completed from the
    // default leader; 22-23 are always written as "00".
    if (m.Leader.size() < 24) m.Leader += m.DefaultLeader.substr(m.Leader.size());
    if (m.Leader.compare(22, 2, "00") != 0) m.Leader = m.Leader.substr(0, 22) + "00";
    if (!sErrorText.empty()) return "";

    if (m.RecordIsUtf8) {
        // U+02BE is written as U+02BC; both are two octets.
        for (size_t p = sData.find(m.Utf8AlifVariant); p != std::string::npos && !m.Utf8AlifVariant.empty();
             p = sData.find(m.Utf8AlifVariant, p + m.Utf8AlifVariant.size()))
            sData.replace(p, m.Utf8AlifVariant.size(), m.Utf8Alif);
    }

    std::string sRecord;
    sRecord.reserve(m.Leader.size() + sDirectory.size() + sData.size() + 2);
    sRecord += m.Leader;
    sRecord += sDirectory;
    sRecord += kEndOfField;
    const size_t base = sRecord.size();
    sRecord += sData;
    sRecord += kEndOfRecord;
    if (sRecord.size() > kMaxPosition) {
        sErrorText = "Record is longer than 99999 characters";
        return "";
    }
    WriteDigits(sRecord, 12, base, 5);
    WriteDigits(sRecord, 0, sRecord.size(), 5);
    return sRecord;
}

std::string Utf8MarcRecordClass::Directory() const { return m.Directory; }

std::string Utf8MarcRecordClass::FldDirectory() const {
    if (m.FldPointer < 0 || m.FldPointer >= m.FldCount) return "";
    return m.Fields[static_cast<size_t>(m.FldPointer)].DirectoryEntry;
}

int16_t Utf8MarcRecordClass::Fld008Length() const { return m.Fld008Length; }
