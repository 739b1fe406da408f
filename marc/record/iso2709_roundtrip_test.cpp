// Round trips of real records: Debian's sample files of libmarc-perl (ASCII,
// leader/09 blank) and the UTF-8 fixtures made by yaz. The output must equal
// the input but for the leader's lengths, leader/22-23 and the changes the
// load makes by design (among them the decomposition of UTF-8 records);
// yaz-marcdump must read it without a warning.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"

namespace {

using record_test::Iso2709;
using record_test::TaggedField;
using record_test::YazDump;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitRecords(const std::string& file) {
    std::vector<std::string> records;
    for (size_t at = 0; at < file.size();) {
        // What follows the last terminator (a DOS end-of-file mark) is no record.
        const size_t end = file.find('\x1D', at);
        if (end == std::string::npos) break;
        records.push_back(file.substr(at, end + 1 - at));
        at = end + 1;
    }
    return records;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// What the load keeps of a field, read independently of the record object:
// a control field with its delimiters as fill characters and the 008 at its
// format's length; a data field's text from its first delimiter on, split
// into subfields, texts and codes trimmed from tag 011 on, later empty
// subfields dropped.
std::string ExpectedContent(const std::string& tag, const std::string& content, const std::string& format) {
    if (tag.compare(0, 2, "00") == 0) {
        std::string text = content;
        for (char& c : text)
            if (c == '\x1F') c = '|';
        if (tag == "008") {
            const size_t length = format == "H" ? 32 : format == "Q" ? 15 : format == "W" ? 14 : 40;
            if (text.size() < length) text.append(length - text.size(), ' ');
            else if (format != "Q" && format != "W") text.resize(length);
        }
        return text;
    }
    const std::string indicators = content.substr(0, 2);
    const std::string text = content.size() > 2 ? content.substr(2) : "";
    const bool trim = tag >= "011";
    size_t at = text.find('\x1F');
    if (at == std::string::npos) return "";
    std::string out;
    bool first = true;
    while (at != std::string::npos) {
        std::string code = text.substr(at + 1, 1);
        const size_t next = text.find('\x1F', at + 1);
        std::string value = at + 2 <= text.size() ? text.substr(at + 2, next == std::string::npos ? std::string::npos
                                                                                                 : next - at - 2)
                                                  : "";
        if (trim) {
            value = Trim(value);
            code = Trim(code);
        }
        if (code.empty()) code = "9";
        if (first || !value.empty()) out += "\x1F" + code + value;
        first = false;
        at = next;
    }
    return out.empty() ? "" : indicators + out;
}

std::string ExpectedOutput(std::string input, const std::string& format, bool utf8) {
    // In UTF-8 records U+02BE is read as U+02BC (two octets each).
    for (size_t at = 0; utf8 && (at = input.find("\xCA\xBE", at)) != std::string::npos; at += 2)
        input.replace(at, 2, "\xCA\xBC");
    const size_t base = std::stoul(input.substr(12, 5));
    std::vector<TaggedField> fields;
    for (size_t at = 24; at + 12 <= base - 1; at += 12) {
        const std::string tag = input.substr(at, 3);
        const size_t length = std::stoul(input.substr(at + 3, 4));
        const size_t start = std::stoul(input.substr(at + 7, 5));
        std::string data = input.substr(base + start, length - 1);
        // The load decomposes the variable fields of UTF-8 records: of the
        // fixtures' characters, sharp s and c with caron.
        const std::pair<const char*, const char*> decomposed[] = {{"\xC3\x9F", "ss"}, {"\xC4\x8D", "c\xCC\x8C"}};
        for (const auto& [from, to] : decomposed)
            for (size_t p = 0; utf8 && tag.compare(0, 2, "00") != 0 && (p = data.find(from, p)) != std::string::npos;)
                data.replace(p, 2, to), p += std::string(to).size();
        const std::string content = ExpectedContent(tag, data, format);
        if (!content.empty()) fields.emplace_back(tag, content);
    }
    std::string leader = input.substr(0, 24);
    leader.replace(22, 2, "00");
    return Iso2709(leader, fields);
}

// Lines of yaz's dump that report a fault: "(...)" notes and "<!-- -->" comments.
std::vector<std::string> YazWarnings(const std::string& dump) {
    std::vector<std::string> warnings;
    size_t at = 0;
    while (at < dump.size()) {
        size_t end = dump.find('\n', at);
        if (end == std::string::npos) end = dump.size();
        const std::string line = dump.substr(at, end - at);
        if (line.rfind("(", 0) == 0 || line.rfind("<!--", 0) == 0) warnings.push_back(line);
        at = end + 1;
    }
    return warnings;
}

struct RoundTripCase {
    const char* Name;
    std::string Path;
    const char* CharacterSet;
};

class RecordRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RecordRoundTrip, OutputEqualsInputButForTheDesignedChanges) {
    const RoundTripCase& c = GetParam();
    const std::string file = ReadFile(c.Path);
    ASSERT_FALSE(file.empty()) << c.Path;
    Utf8MarcRecordClass record;
    record.CharacterSetIn(c.CharacterSet);
    record.CharacterSetOut(c.CharacterSet);
    record.MakeNoChange(true);

    std::string written;
    size_t count = 0;
    for (const std::string& input : SplitRecords(file)) {
        record.MarcRecordIn(input);
        ASSERT_EQ(record.IsMarcErrorText(), "") << c.Name << " record " << count;
        const std::string output = record.MarcRecordOut();
        EXPECT_EQ(output, ExpectedOutput(input, record.MarcRecordFormat(), c.CharacterSet[0] == 'U')) << c.Name << " record " << count;
        EXPECT_EQ(record.MarcRecordOutErrorText(), "");
        written += output;
        ++count;
    }
    EXPECT_GT(count, 0u);

    testsupport::TempSettingsFolder folder;
    const std::string path = folder.File("out.mrc");
    std::ofstream(path, std::ios::binary) << written;
    const std::string dump = YazDump(path);
    EXPECT_EQ(YazWarnings(dump), std::vector<std::string>{}) << dump.substr(0, 2000);
    size_t leaders = 0;
    for (size_t at = 0; (at = dump.find("\n\n", at)) != std::string::npos; at += 2) ++leaders;
    EXPECT_EQ(leaders, count);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RecordRoundTrip,
    ::testing::Values(
        RoundTripCase{"microlif", "/usr/share/doc/libmarc-perl/examples/microlif.001", "M"},
        RoundTripCase{"specials", "/usr/share/doc/libmarc-perl/examples/specials.001", "M"},
        RoundTripCase{"utf8", EXITDESK_SOURCE_DIR "/testdata/iso2709/utf8_records.mrc", "U"}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.Name); });

}  // namespace
