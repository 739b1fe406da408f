// The file reader on real files in a temporary folder, made from Debian's
// sample files of libmarc-perl (plain records; microlif.001 ends with the
// octets 1A 0A). Every damaged layout must still give back the sample
// records exactly: where a length field was damaged, the reader's rewritten
// length field is the sample's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/marc_file.h"
#include "marc/record/marc_record.h"

namespace {

const std::string kExamples = "/usr/share/doc/libmarc-perl/examples/";
const std::string kBom = "\xEF\xBB\xBF";

using Records = std::vector<std::string>;

Records RecordsOf(const std::string& sFile) {
    Records records;
    size_t at = 0;
    for (size_t end; (end = sFile.find('\x1D', at)) != std::string::npos; at = end + 1)
        records.push_back(sFile.substr(at, end + 1 - at));
    return records;
}

const std::string& Microlif() {
    static const std::string file = testsupport::ReadFile(kExamples + "microlif.001");
    return file;
}
const std::string& Specials() {
    static const std::string file = testsupport::ReadFile(kExamples + "specials.001");
    return file;
}
const Records& MicrolifRecords() {
    static const Records records = RecordsOf(Microlif());
    return records;
}

std::string Join(const Records& records, const std::string& sBetween = "") {
    std::string s;
    for (const auto& r : records) s += r + sBetween;
    return s;
}

// A record whose length field says `length` instead of its true length.
std::string WithLengthField(const std::string& sRecord, const std::string& sLength) {
    return sLength + sRecord.substr(5);
}
std::string LengthPlus(const std::string& sRecord, int delta) {
    char field[8];
    std::snprintf(field, sizeof field, "%05d", static_cast<int>(sRecord.size()) + delta);
    return WithLengthField(sRecord, field);
}

// Segments of at most `piece` data characters: type 0 for a record in one
// segment, else 1, 2 ... 3; `filler` follows the record in its last segment
// and `between` stands between segments.
std::string Segmented(const Records& records, size_t piece, const std::string& sFiller = "",
                      const std::string& sBetween = "") {
    std::string out;
    auto segment = [&](char type, const std::string& data) {
        char header[8];
        std::snprintf(header, sizeof header, "%c%04zu", type, data.size() + 5);
        out += (out.empty() ? "" : sBetween) + header + data;
    };
    for (const auto& record : records) {
        const std::string data = record + sFiller;
        if (data.size() <= piece) {
            segment('0', data);
            continue;
        }
        for (size_t at = 0; at < data.size(); at += piece)
            segment(at == 0 ? '1' : at + piece >= data.size() ? '3' : '2', data.substr(at, piece));
    }
    return out;
}

// Record by record, so that a failure names the first record that differs.
void ExpectRecords(const Records& actual, const Records& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].size(), expected[i].size()) << "record " << i;
        ASSERT_TRUE(actual[i] == expected[i]) << "record " << i;
    }
}

struct LayoutCase {
    const char* name;
    std::function<std::string()> content;
    std::function<Records()> expected;
    bool segmented;
};

class MarcFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& sContent, const std::string& sName = "records.mrc") {
        const std::string path = folder.File(sName);
        testsupport::WriteFile(path, sContent);
        return path;
    }

    // Every record to the end; then the reader is closed, at its end, and
    // stays there.
    Records ReadAll(Utf8MarcFileClass& reader) {
        Records records;
        std::string sRecord = "not emptied";
        while (reader.ReadNextRecord(sRecord, false)) {
            EXPECT_FALSE(reader.EndOfFile());
            records.push_back(sRecord);
            sRecord = "not emptied";
        }
        EXPECT_EQ(sRecord, "");
        EXPECT_TRUE(reader.EndOfFile());
        EXPECT_EQ(reader.RecordIndex(), static_cast<int32_t>(records.size()));
        EXPECT_FALSE(reader.ReadNextRecord(sRecord, false));
        return records;
    }

    Records ReadFile(const std::string& sContent, bool* pSegmented = nullptr) {
        Utf8MarcFileClass reader;
        reader.OpenFile(Write(sContent), false);
        if (pSegmented) *pSegmented = reader.FileIsSegmented();
        return ReadAll(reader);
    }

    // Each file gives its records and is taken for the layout it has.
    void ReadLayouts(const std::vector<LayoutCase>& cases) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            bool bSegmented = !c.segmented;
            ExpectRecords(ReadFile(c.content(), &bSegmented), c.expected());
            EXPECT_EQ(bSegmented, c.segmented);
        }
    }

    testsupport::TempSettingsFolder folder;
};

TEST_F(MarcFileTest, PlainLayouts) {
    const Records& mic = MicrolifRecords();
    auto replaced = [&](size_t i, const std::string& sRecord) {
        Records r = mic;
        r[i] = sRecord;
        return Join(r);
    };
    auto all = [&] { return mic; };
    const std::vector<LayoutCase> cases = {
        {"microlif.001 as shipped", [] { return Microlif(); }, all, false},
        {"specials.001 as shipped", [] { return Specials(); }, [] { return RecordsOf(Specials()); }, false},
        {"CR LF between records", [&] { return Join(mic, "\r\n"); }, all, false},
        {"byte-order mark", [&] { return kBom + Join(mic); }, all, false},
        {"overstated by 20", [&] { return replaced(2, LengthPlus(mic[2], 20)); }, all, false},
        {"overstated by 5", [&] { return replaced(2, LengthPlus(mic[2], 5)); }, all, false},
        {"overstated past several records", [&] { return replaced(2, WithLengthField(mic[2], "09000")); }, all,
         false},
        {"overstated, CR LF between records",
         [&] {
             Records r = mic;
             r[4] = LengthPlus(r[4], 30);
             return Join(r, "\r\n");
         },
         all, false},
        {"overstated last record", [&] { return replaced(mic.size() - 1, LengthPlus(mic.back(), 100)); }, all,
         false},
        {"understated by 20", [&] { return replaced(2, LengthPlus(mic[2], -20)); }, all, false},
        {"understated to 00000", [&] { return replaced(2, WithLengthField(mic[2], "00000")); }, all, false},
        {"understated, CR LF between records",
         [&] {
             Records r = mic;
             r[4] = LengthPlus(r[4], -300);
             return Join(r, "\r\n");
         },
         all, false},
        // A record cut short by the end of the file is delivered as far as it
        // goes, for the load to refuse; filler at the end is no record.
        {"last record cut short", [&] { return Join({mic[0], mic[1], mic[2].substr(0, 100)}); },
         [&] { return Records{mic[0], mic[1], mic[2].substr(0, 100)}; }, false},
        {"cut inside the length field", [&] { return Join({mic[0], mic[1]}) + "\r\n012"; },
         [&] { return Records{mic[0], mic[1], "012"}; }, false},
        {"NULs, blanks and an end-of-file mark at the end",
         [&] { return Join(mic) + std::string(600, '\0') + "    \x1A\n"; }, all, false},
        // Each search for a terminator goes on where the last one stopped.
        {"200,000 length fields without terminators", [] { return std::string(1000000, '0'); },
         [] { return Records(200000, "00000"); }, false},
        {"understated, no terminator within 99,999",
         [&] { return "00010abcde" + std::string(100000, 'x') + mic[0]; },
         [&] { return Records{"00010abcde", mic[0]}; }, false},
    };
    ReadLayouts(cases);
}

TEST_F(MarcFileTest, SegmentedLayouts) {
    const Records& mic = MicrolifRecords();
    auto all = [&] { return mic; };
    // A record of 99,999 characters and more in type-2 segments.
    auto overlong = [] {
        std::string s = "19999" "99999" + std::string(9989, 'a');
        for (int i = 0; i < 11; ++i) s += "29999" + std::string(9994, 'b');
        return s + "30008xyz";
    };
    const std::vector<LayoutCase> cases = {
        {"type 0", [&] { return Segmented(mic, 9994); }, all, true},
        {"types 1, 2, 3 with filler", [&] { return Segmented(mic, 300, "^^^^^^^"); }, all, true},
        {"blanks between segments", [&] { return Segmented(mic, 250, "", "  "); }, all, true},
        {"byte-order mark", [&] { return kBom + Segmented(mic, 400); }, all, true},
        // A record whose segments stop early is delivered as far as it goes.
        {"a first segment without its end",
         [&] { return Segmented({mic[0]}, 300).substr(0, 305) + Segmented({mic[1]}, 9994); },
         [&] { return Records{mic[0].substr(0, 300), mic[1]}; }, true},
        {"cut by the end of the file", [&] { return Segmented({mic[0], mic[1]}, 300).substr(0, 1000); },
         // the first 1000 characters hold four segment headers
         [&] { return Records{mic[0], mic[1].substr(0, 1000 - 4 * 5 - mic[0].size())}; }, true},
        {"a bad segment length inside a record",
         [&] {
             std::string s = Segmented({mic[0]}, 300);
             s.replace(305, 5, "2x300");
             return s + Segmented({mic[1], mic[2]}, 300);
         },
         [&] { return Records{mic[0].substr(0, 300), mic[1], mic[2]}; }, true},
        {"NULs and blanks at the end", [&] { return Segmented(mic, 300) + std::string(700, '\0') + "  "; }, all,
         true},
        {"a length field that is no number gives an empty record",
         [&] { return Segmented({mic[0]}, 9994) + "00030abcdefghijklmnopqrstuvwxy" + Segmented({mic[1]}, 9994); },
         [&] { return Records{mic[0], "", mic[1]}; }, true},
        {"ends after a type character", [&] { return Segmented({mic[0]}, 9994) + "1"; },
         [&] { return Records{mic[0]}; }, true},
        // Reading resumes at the next place where a record's segment begins.
        {"a segment length below 5 is skipped",
         [&] { return Segmented({mic[0]}, 9994) + "00003" + Segmented({mic[1]}, 9994); },
         [&] { return Records{mic[0], mic[1]}; }, true},
        {"a segment length that is no number is skipped with what follows it",
         [&] { return Segmented({mic[0]}, 9994) + "1ab12" + mic[3].substr(0, 200) + Segmented({mic[1], mic[2]}, 300); },
         [&] { return Records{mic[0], mic[1], mic[2]}; }, true},
        {"no record beyond 99,999 characters", overlong,
         [] { return Records{"99999" + std::string(9989, 'a') + std::string(90005, 'b')}; }, true},
    };
    ReadLayouts(cases);
}

// Characters before the first record are passed over before the layout is
// tested, as the readers pass them over between records.
TEST_F(MarcFileTest, JunkBeforeTheFirstRecord) {
    const Records& mic = MicrolifRecords();
    for (const std::string& sPrefix : Records{"\n", "\r\n", " ", "     ", "x\n", "\r\n\r\n\r", kBom + "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(sPrefix));
        ReadLayouts({{"plain", [&] { return sPrefix + Join(mic, "\r\n"); }, [&] { return mic; }, false},
                     {"segmented", [&] { return sPrefix + Segmented(mic, 300); }, [&] { return mic; }, true}});
    }
}

// What the reader delivers from a damaged file is refused by the load with
// its message; the sound records around it load.
TEST_F(MarcFileTest, CutRecordsAreRefusedByTheLoad) {
    const Records& mic = MicrolifRecords();
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::string> messages;  // one per record delivered, "" for a load
    };
    const std::vector<Case> cases = {
        {"plain, cut", Join({mic[0], mic[1].substr(0, 300)}),
         {"", "Record length in leader does not match actual record length"}},
        {"plain, cut in the length field", mic[0] + "01", {"", "Too short to be a MARC record"}},
        {"segmented, cut", Segmented({mic[0], mic[1]}, 300).substr(0, 700),
         {"", "Record length in leader does not match actual record length"}},
        {"segmented, a length field that is no number",
         Segmented({mic[0]}, 9994) + "00030abcdefghijklmnopqrstuvwxy" + Segmented({mic[1]}, 9994),
         {"", "Too short to be a MARC record", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Utf8MarcFileClass reader;
        reader.OpenFile(Write(c.content), false);
        Utf8MarcRecordClass record;
        std::vector<std::string> messages;
        for (std::string sRecord; reader.ReadNextRecord(sRecord, false);) {
            record.MarcRecordIn(sRecord);
            messages.push_back(record.IsMarcErrorText());
        }
        EXPECT_EQ(messages, c.messages);
    }
}

// A record without its terminator, or cut short anywhere, followed by sound
// records: the damaged text is delivered as read and refused by the load with
// its message; the sound records come out whole and load. Nothing merges.
TEST_F(MarcFileTest, ADamagedRecordNeverTakesTheNextOne) {
    const Records& mic = MicrolifRecords();
    const std::string& damaged = mic[2];
    const size_t base = std::stoul(damaged.substr(12, 5));
    const std::string kShort = "Too short to be a MARC record";
    const std::string kLength = "Record length in leader does not match actual record length";
    struct Case {
        std::string name;
        size_t keep;  // octets of the damaged record kept
        std::string between;  // what stands between the records
        std::string message;
    };
    const std::vector<Case> cases = {
        {"record terminator removed", damaged.size() - 1, "", kLength},
        {"record terminator removed, CR LF between records", damaged.size() - 1, "\r\n",
         "Record does not end with end-of-record character"},
        {"cut in the length field", 3, "", kShort},
        {"cut in the length field, CR LF between records", 3, "\r\n", kShort},
        {"cut at leader/05", 5, "", kShort},
        {"cut inside the leader", 14, "", kShort},
        {"cut after the leader", 24, "", kShort},
        {"cut inside the first entry", 30, "", kShort},
        {"cut inside the directory", 24 + (base - 24) / 2, "", kLength},
        {"cut before the directory's terminator", base - 1, "", kLength},
        {"cut after the directory", base, "", kLength},
        {"cut inside the first field", base + 5, "", kLength},
        {"cut inside the data", (base + damaged.size()) / 2, "", kLength},
        {"cut inside the data, CR LF between records", (base + damaged.size()) / 2, "\r\n", kLength},
        {"cut before the last field terminator", damaged.size() - 2, "", kLength},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sDamaged = damaged.substr(0, c.keep) + c.between;
        ASSERT_EQ(ReadFile(Join({mic[0], sDamaged, mic[3], mic[4]})), (Records{mic[0], sDamaged, mic[3], mic[4]}));
        Utf8MarcRecordClass record;
        record.MarcRecordIn(sDamaged);
        EXPECT_EQ(record.IsMarcErrorText(), c.message);
        record.MarcRecordIn(mic[3]);
        EXPECT_EQ(record.IsMarcErrorText(), "");
    }
}

TEST_F(MarcFileTest, FilesThatDoNotOpen) {
    // The Windows-path mapping places C:\Temp\ in the temporary folder.
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string sOldTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", folder.Path().c_str(), 1);
    Write(MicrolifRecords()[0], "mapped.mrc");
    Write(std::string(28, '0'), "short.mrc");

    struct Case {
        std::string name;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"C:\\Temp\\mapped.mrc", true},
        {folder.File("short.mrc"), false},
        {folder.File("missing.mrc"), false},
        {folder.Path(), false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Utf8MarcFileClass reader;
        EXPECT_TRUE(reader.EndOfFile());
        reader.MarcFileName(c.name);
        EXPECT_EQ(reader.MarcFileName(), c.name);
        EXPECT_EQ(reader.EndOfFile(), !c.opens);
        EXPECT_EQ(ReadAll(reader).size(), c.opens ? 1u : 0u);
    }
    if (oldTmp) setenv("TMPDIR", sOldTmp.c_str(), 1);
    else unsetenv("TMPDIR");
}

TEST_F(MarcFileTest, OpeningAgainAndClosing) {
    const Records& mic = MicrolifRecords();
    Utf8MarcFileClass reader;
    // An overstated length leaves characters pushed back; a new open forgets them.
    reader.OpenFile(Write(LengthPlus(mic[0], 40) + mic[1], "a.mrc"), false);
    std::string sRecord;
    ASSERT_TRUE(reader.ReadNextRecord(sRecord, false));
    reader.OpenFile(Write(Segmented({mic[2], mic[3]}, 300), "b.mrc"), false);
    EXPECT_TRUE(reader.FileIsSegmented());
    EXPECT_EQ(reader.RecordIndex(), 0);
    ASSERT_TRUE(reader.ReadNextRecord(sRecord, false));
    EXPECT_EQ(sRecord, mic[2]);
    reader.CloseFile();
    EXPECT_TRUE(reader.EndOfFile());
    EXPECT_FALSE(reader.ReadNextRecord(sRecord, false));
    EXPECT_EQ(reader.RecordIndex(), 1);
}

// Verdicts of single records: the first microlif record is plain ASCII ("M");
// octets of the other sets at the end of its last field give the others.
std::string WithVerdict(char verdict) {
    std::string r = MicrolifRecords()[0];
    const size_t last = r.size() - 3;
    switch (verdict) {
        case 'V': r[last] = '\x90'; break;
        case 'X': r[last] = '\xBE'; break;
        case 'O': r[last] = '\xBE', r[last - 1] = '\x1B'; break;
        case 'Y': r[last] = '\xC0'; break;
        case 'U': r[9] = 'a'; break;
        default: break;
    }
    return r;
}

TEST_F(MarcFileTest, CharacterizeCharacterSet) {
    struct Case {
        std::string verdicts;  // one record per letter
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"MM", "M"},   {"MX", "O"},   {"XM", "O"},  {"XX", "V"},  {"XMV", "V"}, {"XO", "O"},  {"MXO", "O"},
        {"XOY", "M"},  {"XOV", "M"},  {"YV", "V"},  {"VY", "V"},  {"VV", "M"},  {"YY", "M"},  {"OO", "M"},
        {"MUX", "U"},  {"UU", "U"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verdicts);
        Records records;
        for (char v : c.verdicts) records.push_back(WithVerdict(v));
        for (const bool bSegmented : {false, true}) {
            Utf8MarcFileClass reader;
            reader.OpenFile(Write(bSegmented ? Segmented(records, 300) : Join(records, "\r\n")), false);
            std::string sRecord;
            ASSERT_TRUE(reader.ReadNextRecord(sRecord, false));
            EXPECT_EQ(reader.CharacterizeCharacterSet(), c.expected);
            // The caller's place is kept: the next record follows the first.
            EXPECT_EQ(reader.RecordIndex(), 1);
            ASSERT_TRUE(reader.ReadNextRecord(sRecord, false));
            EXPECT_EQ(sRecord, records[1]);
        }
    }

    Utf8MarcFileClass reader;
    EXPECT_EQ(reader.CharacterizeCharacterSet(), "M");  // no file
    reader.OpenFile(Write(std::string(40, '\n')), false);
    EXPECT_EQ(reader.CharacterizeCharacterSet(), "M");  // no records
}

}  // namespace
