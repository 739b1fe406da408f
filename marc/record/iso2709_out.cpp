// ISO 2709 output: the record in memory as leader, directory, data and
// terminators, and the getters of the record as loaded.
#include <cstdint>
#include <cstring>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';
constexpr char kEndOfField = '\x1E';
constexpr char kEndOfRecord = '\x1D';
constexpr size_t kMaxFieldLength = 9999;
constexpr size_t kMaxPosition = 99999;

// The two digits of each number from 00 to 99.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// A number as `width` decimal digits with leading zeros (it fits), written
// over the octets at `at`, two digits at a time.
template <int Width>
void WriteDigits(std::string& s, size_t at, size_t value) {
    char* const digits = s.data() + at;
    auto rest = static_cast<uint32_t>(value);  // at most 99999
    int i = Width;
    for (; i >= 2; i -= 2) {
        std::memcpy(digits + i - 2, kDigitPairs + 2 * (rest % 100), 2);
        rest /= 100;
    }
    if (i == 1) digits[0] = static_cast<char>('0' + rest % 10);
}

}  // namespace

std::string Utf8MarcRecordClass::MarcRecordOut() { return ComposeMarcRecordOut(true, m.MarcRecordOutErrorText); }

std::string Utf8MarcRecordClass::MarcRecordOutErrorText() const { return m.MarcRecordOutErrorText; }

std::string Utf8MarcRecordClass::ComposeMarcRecordOut(bool bReCast502, std::string& sErrorText) {
    sErrorText.clear();
    // The recast leaves the cursor where it found it.
    if (bReCast502) ReCastAll502Fields();
    if (m.FldCount < 1 || m.FldFirst < 0) return "";

    // A leader cut short (a failed load, then additions) is completed from the
    // default leader; 22-23 are always written as "00". This holds also for a
    // record that is then refused.
    if (m.Leader.size() < 24) m.Leader += m.DefaultLeader.substr(m.Leader.size());
    if (m.Leader.compare(22, 2, "00") != 0) m.Leader.replace(22, std::string::npos, "00");

    // The walk follows the links; the count bounds it even over a broken list.
    const auto walk = [this](auto&& visit) {
        int32_t visited = 0;
        for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount && visited <= m.FldCount;
             i = m.Fields[static_cast<size_t>(i)].NextField, ++visited) {
            const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
            if (field.Deleted || field.Tag.size() != 3) continue;
            if (!visit(field)) return;
        }
    };
    const auto liveSubfields = [](const FieldEntry& field, auto&& visit) {
        int32_t steps = 0;
        for (int16_t j = field.FirstSubfield; j >= 0 && j <= field.SubfieldTop && steps <= field.SubfieldTop;
             j = field.Subfields[static_cast<size_t>(j)].NextSubfield, ++steps) {
            const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(j)];
            if (!subfield.Deleted) visit(subfield);
        }
    };
    const auto controlText = [](const FieldEntry& field) -> const std::string* {
        if (field.FirstSubfield < 0 || field.FirstSubfield > field.SubfieldTop) return nullptr;
        const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(field.FirstSubfield)];
        return subfield.Deleted ? nullptr : &subfield.Text;
    };

    // The record is made in one buffer: leader, room for a directory entry
    // per field that may be written, then the data. A first walk counts the
    // entries and octets at most needed, so the buffer is allocated once and
    // the second walk writes into it without a test of its room.
    size_t entries = 0;
    size_t dataBound = 0;
    walk([&](const FieldEntry& field) {
        ++entries;
        if (field.IsControl) {
            const std::string* sText = controlText(field);
            dataBound += (sText ? sText->size() : 0) + 1;
        } else {
            dataBound += 3;
            liveSubfields(field, [&](const SubfieldEntry& subfield) {
                dataBound += 1 + subfield.Code.size() + subfield.Text.size();
            });
        }
        return true;
    });
    const size_t leaderLength = m.Leader.size();
    const size_t dataStart = leaderLength + entries * 12 + 1;
    std::string sRecord(dataStart + dataBound + 1, '\0');
    char* const buffer = sRecord.data();
    std::memcpy(buffer, m.Leader.data(), leaderLength);
    buffer[dataStart - 1] = kEndOfField;
    size_t end = dataStart;
    const auto put = [&](const std::string& s) {
        std::memcpy(buffer + end, s.data(), s.size());
        end += s.size();
    };
    size_t written = 0;

    const int16_t iRemembered = m.FldPointer;
    walk([&](const FieldEntry& field) {
        const size_t start = end;
        if (field.IsControl) {
            if (const std::string* sText = controlText(field)) put(*sText);
        } else {
            // Indicators that are not two characters (an insertion keeps empty
            // ones) are padded with blanks, so the first subfield stays one.
            const std::string& sInd = field.Indicators;
            buffer[end++] = sInd.size() > 0 ? sInd[0] : ' ';
            buffer[end++] = sInd.size() > 1 ? sInd[1] : ' ';
            const size_t textStart = end;
            liveSubfields(field, [&](const SubfieldEntry& subfield) {
                buffer[end++] = kDelimiter;
                if (subfield.Code.size() == 1) buffer[end++] = subfield.Code[0];
                else put(subfield.Code);
                put(subfield.Text);
            });
            // A field without a live subfield is left out.
            if (end == textStart) end = start;
        }
        if (end == start) return true;

        if (buffer[end - 1] != kEndOfField) buffer[end++] = kEndOfField;
        const size_t length = end - start;
        const size_t position = start - dataStart;
        // A terminator inside the field would end it early for every reader.
        const char* const first = buffer + start;
        const size_t inner = length - 1;
        if (std::memchr(first, kEndOfField, inner) != nullptr || std::memchr(first, kEndOfRecord, inner) != nullptr) {
            sErrorText = "Field " + field.Tag + " contains a field or record terminator";
        } else if (length > kMaxFieldLength) {
            sErrorText = "Field " + field.Tag + " is longer than 9999 characters";
        } else if (position > kMaxPosition) {
            sErrorText = "Field " + field.Tag + " starts beyond position 99999";
        } else {
            const size_t at = leaderLength + written * 12;
            std::memcpy(buffer + at, field.Tag.data(), 3);
            WriteDigits<4>(sRecord, at + 3, length);
            WriteDigits<5>(sRecord, at + 7, position);
            ++written;
        }
        return sErrorText.empty();
    });
    sRecord.resize(end);

    // Back to the remembered field, its subfield cursor on its first subfield.
    FldPointer(iRemembered);
    if (!sErrorText.empty()) return "";

    // Fields left out leave room in the directory that is closed up.
    const size_t base = leaderLength + written * 12 + 1;
    if (written < entries) sRecord.erase(base - 1, (entries - written) * 12);

    if (m.RecordIsUtf8 && !m.Utf8AlifVariant.empty()) {
        // U+02BE is written as U+02BC; both are two octets.
        const std::string& sVariant = m.Utf8AlifVariant;
        for (size_t p = sRecord.find(sVariant, base); p != std::string::npos;
             p = sRecord.find(sVariant, p + sVariant.size()))
            sRecord.replace(p, sVariant.size(), m.Utf8Alif);
    }

    sRecord += kEndOfRecord;
    if (sRecord.size() > kMaxPosition) {
        sErrorText = "Record is longer than 99999 characters";
        return "";
    }
    WriteDigits<5>(sRecord, 12, base);
    WriteDigits<5>(sRecord, 0, sRecord.size());
    return sRecord;
}

std::string Utf8MarcRecordClass::Directory() const { return m.Directory; }

std::string Utf8MarcRecordClass::FldDirectory() const {
    if (m.FldPointer < 0 || m.FldPointer >= m.FldCount) return "";
    return m.Fields[static_cast<size_t>(m.FldPointer)].DirectoryEntry;
}

int16_t Utf8MarcRecordClass::Fld008Length() const { return m.Fld008Length; }
