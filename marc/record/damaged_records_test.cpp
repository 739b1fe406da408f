// Damaged variants of the sample records (Debian's libmarc-perl examples and
// the fixtures in testdata/), each followed by a sound record, in one file:
// every directory entry's start and length moved by -2 to +2, a terminator
// removed (the record length told), one stray octet before the data (the
// record length told, the base address not), the record terminator removed,
// the record cut. The file is read by Utf8MarcFileClass and every record it
// delivers is loaded. yaz-marcdump reads the same file once; what it keeps of
// each variant (its record at the variant's offset, written back by it as
// ISO 2709) is the reference.
//
// Checked, in two tests: the sound record after a damaged one is delivered as
// it is and loads as it loads alone, and what the reader delivers of the
// damaged one loads or is refused with one of the record tests' messages;
// every field of the sample that yaz keeps in a variant is in the variant's
// load (by tag and content), unless the load's warning is about that field or
// the load refuses the record. Each failure is listed with its variant.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_file.h"
#include "marc/record/marc_record.h"

namespace {

using record_test::TaggedField;
using Fields = std::vector<TaggedField>;

constexpr char kEndOfField = '\x1E';
constexpr char kEndOfRecord = '\x1D';

// The messages with which the record tests refuse a text.
const std::set<std::string>& RecordTestMessages() {
    static const std::set<std::string> messages = {
        "Too short to be a MARC record",
        "First 5 characters not all numeric",
        "Record length in leader does not match actual record length",
        "Base address of data longer than record length",
        "Base address of data unacceptable",
        "Directory does not end with end-of-field character",
        "Record does not end with end-of-record character",
        "Last field does not end with end-of-field character",
    };
    return messages;
}

std::vector<std::string> SampleRecords() {
    const std::vector<std::string> files = {
        "/usr/share/doc/libmarc-perl/examples/microlif.001",
        "/usr/share/doc/libmarc-perl/examples/specials.001",
        EXITDESK_SOURCE_DIR "/testdata/iso2709/utf8_records.mrc",
        EXITDESK_SOURCE_DIR "/testdata/marc8_differential/records.mrc",
    };
    std::vector<std::string> records;
    for (const std::string& path : files) {
        const std::string file = testsupport::ReadFile(path);
        EXPECT_FALSE(file.empty()) << path;
        for (size_t at = 0, end; (end = file.find(kEndOfRecord, at)) != std::string::npos; at = end + 1)
            records.push_back(file.substr(at, end + 1 - at));
    }
    return records;
}

size_t Number(const std::string& s, size_t at, size_t width) { return std::stoul(s.substr(at, width)); }

std::string Digits(size_t value, size_t width) {
    std::string s = std::to_string(value);
    return std::string(width - std::min(width, s.size()), '0') + s;
}

struct Variant {
    std::string description;
    std::string text;
    size_t sample;  // the record it was made from
};

// The variants of one sound record.
void AddVariants(const std::string& r, size_t sample, std::vector<Variant>& out) {
    const size_t base = Number(r, 12, 5);
    const size_t entries = (base - 1 - 24) / 12;
    const auto add = [&](const std::string& what, std::string text) {
        out.push_back({"record " + std::to_string(sample) + ": " + what, std::move(text), sample});
    };
    // The record length told anew after an octet was added or removed.
    const auto told = [](std::string text) { return text.replace(0, 5, Digits(text.size(), 5)); };
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = 24 + i * 12;
        const std::string tag = r.substr(entry, 3);
        const size_t length = Number(r, entry + 3, 4);
        const size_t start = Number(r, entry + 7, 5);
        for (const int delta : {-2, -1, 1, 2}) {
            const std::string sDelta = (delta > 0 ? "+" : "") + std::to_string(delta);
            const int movedStart = static_cast<int>(start) + delta;
            const int movedLength = static_cast<int>(length) + delta;
            if (movedStart >= 0)
                add("entry " + std::to_string(i + 1) + " (" + tag + ") start " + sDelta,
                    std::string(r).replace(entry + 7, 5, Digits(static_cast<size_t>(movedStart), 5)));
            if (movedLength >= 0)
                add("entry " + std::to_string(i + 1) + " (" + tag + ") length " + sDelta,
                    std::string(r).replace(entry + 3, 4, Digits(static_cast<size_t>(movedLength), 4)));
        }
        const size_t terminator = base + start + length - 1;
        if (length > 0 && terminator < r.size() && r[terminator] == kEndOfField)
            add("terminator of field " + std::to_string(i + 1) + " (" + tag + ") removed",
                told(std::string(r).erase(terminator, 1)));
    }
    add("directory terminator removed", told(std::string(r).erase(base - 1, 1)));
    add("one stray octet before the data", told(std::string(r).insert(base, 1, 'x')));
    add("record terminator removed", r.substr(0, r.size() - 1));
    for (const size_t keep : {size_t{3}, size_t{14}, size_t{24}, size_t{30}, 24 + (base - 24) / 2, base - 1, base,
                              base + 5, (base + r.size()) / 2, r.size() - 2})
        add("cut after " + std::to_string(keep) + " octets", r.substr(0, keep));
}

// The fields of the loaded record: tag and content (a data field's
// indicators and subfields).
Fields LoadedFields(Utf8MarcRecordClass& record) {
    Fields fields;
    for (bool more = record.FldMoveFirst(true); more; more = record.FldMoveNext(true))
        fields.emplace_back(record.FldTag(),
                            record.FldIsControl() ? record.FldText() : record.FldInd() + record.FldText());
    return fields;
}

// yaz-marcdump's records of a file written back as ISO 2709, by the offset
// at which it read each one.
std::map<size_t, std::string> YazRecords(const std::string& path) {
    std::string out;
    FILE* pipe = popen(("yaz-marcdump -p -o marc '" + path + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return {};
    std::array<char, 65536> buffer{};
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
    pclose(pipe);
    std::map<size_t, std::string> records;
    const std::string kMark = "<!-- Record ";
    for (size_t at = out.find(kMark); at != std::string::npos;) {
        const size_t offset = out.find(" offset ", at);
        const size_t body = out.find("-->\n", at);
        if (offset == std::string::npos || body == std::string::npos) break;
        const size_t start = body + 4;
        const size_t next = out.find(kMark, start);
        records[std::stoul(out.substr(offset + 8))] =
            out.substr(start, next == std::string::npos ? next : next - start);
        at = next;
    }
    return records;
}

// The fields of a record with a sound directory, as written.
Fields YazFields(const std::string& r) {
    Fields fields;
    if (r.size() < 25) return fields;
    const size_t base = Number(r, 12, 5);
    for (size_t entry = 24; entry + 12 < base && base <= r.size(); entry += 12) {
        const size_t length = Number(r, entry + 3, 4);
        const size_t start = Number(r, entry + 7, 5);
        if (length == 0 || base + start + length > r.size()) continue;
        fields.emplace_back(r.substr(entry, 3), r.substr(base + start, length - 1));
    }
    return fields;
}

// A field's content as it is printed: the delimiter as $, a field terminator
// as #, other octets outside printable ASCII in hex.
std::string Shown(const std::string& s) {
    std::string out;
    for (const char c : s) {
        const auto octet = static_cast<unsigned char>(c);
        if (c == '\x1F') out += '$';
        else if (c == kEndOfField) out += '#';
        else if (octet >= 0x20 && octet < 0x7F) out += c;
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", octet);
            out += hex;
        }
    }
    return out;
}

// A field of the tag whose content holds the text.
bool HasField(const Fields& fields, const std::string& tag, const std::string& text) {
    return std::any_of(fields.begin(), fields.end(), [&](const TaggedField& f) {
        return f.first == tag && f.second.find(text) != std::string::npos;
    });
}

// The warning is about the field of the tag.
bool WarningNames(const std::string& warning, const std::string& tag) {
    return warning.rfind("Field " + tag + " ", 0) == 0;
}

// What the reading and the loads of all variants found, by the variant.
struct Outcome {
    size_t variants = 0;
    // The sound records and what the reader delivered of the damaged ones.
    std::vector<std::string> records;
    // Fields that yaz keeps and the load loses without a word.
    std::vector<std::string> fields;
};

Outcome Check() {
    Outcome outcome;
    const std::vector<std::string> samples = SampleRecords();
    if (samples.size() < 20) {
        outcome.records.push_back("too few sample records");
        return outcome;
    }
    std::vector<Variant> variants;
    for (size_t s = 0; s < samples.size(); ++s) AddVariants(samples[s], s, variants);

    // Each variant, then the next sample as the sound record.
    const auto soundAfter = [&](const Variant& v) -> const std::string& {
        return samples[(v.sample + 1) % samples.size()];
    };
    std::string file;
    std::vector<size_t> offsets;
    for (const Variant& v : variants) {
        offsets.push_back(file.size());
        file += v.text + soundAfter(v);
    }
    testsupport::TempSettingsFolder folder;
    const std::string path = folder.File("variants.mrc");
    testsupport::WriteFile(path, file);

    std::vector<std::string> delivered;
    Utf8MarcFileClass reader;
    reader.OpenFile(path, false);
    for (std::string sRecord; reader.ReadNextRecord(sRecord, false);) delivered.push_back(sRecord);

    const std::map<size_t, std::string> yaz = YazRecords(path);
    if (yaz.empty()) outcome.fields.push_back("yaz-marcdump gave nothing");

    // One record object for each character set, set once.
    std::map<std::string, Utf8MarcRecordClass> objects;
    const auto objectFor = [&](const std::string& sample) -> Utf8MarcRecordClass& {
        const std::string set = sample[9] == 'a' ? "U" : "M";
        const auto [at, made] = objects.try_emplace(set);
        if (made) {
            at->second.CharacterSetIn(set);
            at->second.CharacterSetOut(set);
            at->second.MakeNoChange(true);
        }
        return at->second;
    };
    // Each sample loaded, and each of its fields as written (raw) and as
    // loaded alone in a record of its own (fields the load drops are left out).
    struct SampleField {
        std::string tag, raw, loaded;
    };
    std::vector<Fields> alone;
    std::vector<std::vector<SampleField>> sampleFields;
    for (const std::string& sample : samples) {
        Utf8MarcRecordClass& record = objectFor(sample);
        record.MarcRecordIn(sample);
        alone.push_back(LoadedFields(record));
        sampleFields.emplace_back();
        for (const auto& [tag, raw] : YazFields(sample)) {
            record.MarcRecordIn(record_test::Iso2709(sample.substr(0, 24), {{tag, raw}}));
            const Fields one = LoadedFields(record);
            if (one.size() == 1) sampleFields.back().push_back({tag, raw, one[0].second});
        }
    }

    outcome.variants = variants.size();
    const auto fail = [&](const Variant& v, const std::string& kind, const std::string& what) {
        (kind == "field lost" ? outcome.fields : outcome.records).push_back(v.description + ": " + kind + what);
    };
    size_t next = 0;
    for (size_t i = 0; i < variants.size(); ++i) {
        const Variant& v = variants[i];
        const std::string& sound = soundAfter(v);
        // What the reader delivered of the variant, up to the sound record.
        size_t found = next;
        while (found < delivered.size() && found < next + 4 && delivered[found] != sound) ++found;
        if (found == delivered.size() || delivered[found] != sound) {
            fail(v, "the sound record after it is lost", "");
            ++next;  // taken, most likely, into the damaged one
            continue;
        }
        Utf8MarcRecordClass& record = objectFor(samples[v.sample]);
        for (size_t part = next; part < found; ++part) {
            record.MarcRecordIn(delivered[part]);
            const std::string error = record.IsMarcErrorText();
            if (!error.empty() && RecordTestMessages().count(error) == 0) {
                fail(v, "refused with a message of no record test", ": " + error);
                continue;
            }
            if (part > next) {
                if (error.empty()) fail(v, "a second record delivered and loaded", "");
                continue;
            }
            if (!error.empty()) continue;
            const Fields loaded = LoadedFields(record);
            const std::string warning = record.LoadWarningText();
            // The fields of the sound record that yaz keeps in the variant:
            // yaz's field of the tag holds the field as written, but perhaps
            // for one octet at either end.
            const auto atOffset = yaz.find(offsets[i]);
            if (atOffset == yaz.end()) continue;
            const Fields yazFields = YazFields(atOffset->second);
            for (const SampleField& field : sampleFields[v.sample]) {
                const std::string core = field.raw.size() > 2 ? field.raw.substr(1, field.raw.size() - 2) : field.raw;
                if (!HasField(yazFields, field.tag, core) || HasField(loaded, field.tag, field.loaded) ||
                    WarningNames(warning, field.tag))
                    continue;
                fail(v, "field lost", " " + field.tag + " \"" + Shown(field.raw) + "\" (warning \"" + warning + "\")");
            }
        }
        Utf8MarcRecordClass& soundRecord = objectFor(sound);
        soundRecord.MarcRecordIn(delivered[found]);
        if (soundRecord.IsMarcErrorText() != "" || LoadedFields(soundRecord) != alone[(v.sample + 1) % samples.size()])
            fail(v, "the sound record after it loads otherwise than alone", "");
        next = found + 1;
    }

    return outcome;
}

const Outcome& Checked() {
    static const Outcome outcome = Check();
    return outcome;
}

std::string Listed(const std::vector<std::string>& failures) {
    std::string list =
        std::to_string(Checked().variants) + " variants, " + std::to_string(failures.size()) + " failures:";
    for (const std::string& f : failures) list += "\n" + f;
    return list;
}

// The sound record after a damaged one is delivered whole and loads as it
// loads alone; the damaged one is loaded or refused with a record test's
// message, and nothing else is delivered before the sound one but what the
// record tests refuse.
TEST(DamagedRecords, TheSoundRecordAfterADamagedOneIsNeverLost) {
    EXPECT_TRUE(Checked().records.empty()) << Listed(Checked().records);
}

// Every field that yaz keeps in a variant is in the load, unless the load's
// warning is about that field or the load refuses the record.
TEST(DamagedRecords, NoFieldThatYazKeepsIsLost) { EXPECT_TRUE(Checked().fields.empty()) << Listed(Checked().fields); }

}  // namespace
