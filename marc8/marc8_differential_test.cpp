// MARC-8 records written by yaz-marcdump, loaded as MARC-8 and held in UTF-8, against yaz's own
// UTF-8 reading of them (testdata/marc8_differential, made by tools/capture_marc8_differential.py).
// Field by field, the two readings must agree but for what this system does on purpose:
// - 066 is removed (the record is in UTF-8: leader/09 "a");
// - "&#x...;" character references in the text are decoded;
// - the halves of the ligature and of the double tilde are U+FE20/U+FE21 and U+FE22/U+FE23, where
//   yaz writes U+0361 or U+0360 once behind the first letter;
// - marks of different classes come in ascending class (the captured reading is in canonical order;
//   marks of equal class keep their MARC-8 order in both);
// - a nonfiling indicator counts the same characters in UTF-8 octets.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Field {
    std::string sTag;
    std::string sIndicators;
    std::string sData;  // data fields: "$" code text, a "$" of the text as "$$"
    bool operator==(const Field&) const = default;
};

struct Reading {
    std::string sLeader;
    std::vector<Field> fields;
};

std::ostream& operator<<(std::ostream& os, const Field& f) { return os << f.sTag << " [" << f.sIndicators << "] " << f.sData; }

// The fields of an ISO 2709 record as written by MarcRecordOut, read through its directory.
Reading ReadIso2709(const std::string& s) {
    Reading r;
    r.sLeader = s.substr(0, 24);
    const std::size_t base = std::stoul(s.substr(12, 5));
    for (std::size_t at = 24; at + 12 <= base && s[at] != '\x1E'; at += 12) {
        Field f;
        f.sTag = s.substr(at, 3);
        const std::size_t length = std::stoul(s.substr(at + 3, 4));
        const std::size_t start = std::stoul(s.substr(at + 7, 5));
        std::string data = s.substr(base + start, length - 1);
        if (f.sTag < "010") {
            f.sData = data;
        } else {
            f.sIndicators = data.substr(0, 2);
            for (std::size_t i = 2; i < data.size(); ++i) {
                if (data[i] == '\x1F') f.sData += '$';
                else if (data[i] == '$') f.sData += "$$";
                else f.sData += data[i];
            }
        }
        r.fields.push_back(f);
    }
    return r;
}

std::map<int, Reading> ReadCapture(const std::string& path) {
    std::map<int, Reading> readings;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream columns(line);
        std::string sRecord, sTag, sIndicators, sData;
        std::getline(columns, sRecord, '\t');
        std::getline(columns, sTag, '\t');
        std::getline(columns, sIndicators, '\t');
        std::getline(columns, sData);
        Reading& r = readings[std::stoi(sRecord)];
        if (sTag == "LDR") r.sLeader = sData;
        else r.fields.push_back({sTag, sIndicators, sData});
    }
    return readings;
}

std::vector<char32_t> Decode(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? c : c & (0x3F >> (n - 1));
        for (int k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string Encode(const std::vector<char32_t>& cps) {
    std::string s;
    for (char32_t cp : cps) s += test_octets::U(cp);
    return s;
}

// yaz's text as this system writes it on purpose: references decoded, double marks in halves.
std::string AsThisSystemWrites(const std::string& sYaz) {
    std::vector<char32_t> in = Decode(sYaz), out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 3 < in.size() && in[i + 1] == '#' && in[i + 2] == 'x') {
            std::size_t j = i + 3;
            char32_t value = 0;
            auto hex = [](char32_t c) -> int {
                if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
                if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
                if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
                return -1;
            };
            while (j < in.size() && j - (i + 3) < 6 && hex(in[j]) >= 0) value = value * 16 + static_cast<char32_t>(hex(in[j++]));
            if (j > i + 3 && j < in.size() && in[j] == ';') {
                out.push_back(value);
                i = j;
                continue;
            }
        }
        if ((in[i] == 0x0361 || in[i] == 0x0360) && i + 1 < in.size()) {
            const char32_t first = in[i] == 0x0361 ? 0xFE20 : 0xFE22;
            out.push_back(first);
            out.push_back(in[++i]);
            out.push_back(first + 1);
            continue;
        }
        out.push_back(in[i]);
    }
    return Encode(out);
}

// Which indicator (1 or 2) of a tag counts nonfiling characters; 0: none.
int NonfilingIndicator(const std::string& sTag) {
    static const std::map<std::string, int> table = {{"130", 1}, {"222", 2}, {"240", 2}, {"242", 2}, {"243", 2},
                                                     {"245", 2}, {"440", 2}, {"630", 1}, {"730", 1}, {"740", 1},
                                                     {"830", 2}};
    const auto it = table.find(sTag);
    return it == table.end() ? 0 : it->second;
}

TEST(Marc8Differential, LoadsYazMarc8RecordsAsYazReadsThem) {
    const std::string dir = std::string(EXITDESK_SOURCE_DIR) + "/testdata/marc8_differential/";
    const std::string sFile = ReadFile(dir + "records.mrc");
    const std::map<int, Reading> yaz = ReadCapture(dir + "yaz_utf8.tsv");
    ASSERT_FALSE(sFile.empty());
    ASSERT_FALSE(yaz.empty());

    int n = 0;
    for (std::size_t at = 0; at < sFile.size(); ++n) {
        const std::size_t end = sFile.find('\x1D', at) + 1;
        const std::string sRecord = sFile.substr(at, end - at);
        at = end;
        SCOPED_TRACE("record " + std::to_string(n + 1));
        ASSERT_TRUE(yaz.count(n + 1));
        const Reading& theirs = yaz.at(n + 1);

        Utf8MarcRecordClass record;
        record.CharacterSetIn("M");
        record.CharacterSetOut("U");
        record.MarcRecordIn(sRecord);
        EXPECT_EQ(record.IsMarcErrorText(), "");
        const Reading ours = ReadIso2709(record.MarcRecordOut());

        EXPECT_EQ(ours.sLeader[9], 'a');
        EXPECT_EQ(ours.sLeader.substr(5, 7), theirs.sLeader.substr(5, 7));
        EXPECT_EQ(ours.sLeader.substr(17), theirs.sLeader.substr(17));

        std::vector<Field> expected;
        for (const Field& f : theirs.fields)
            if (f.sTag != "066") expected.push_back({f.sTag, f.sIndicators, AsThisSystemWrites(f.sData)});
        ASSERT_EQ(ours.fields.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            Field want = expected[i];
            const Field& got = ours.fields[i];
            std::string sTag = want.sTag;
            if (sTag == "880" && want.sData.rfind("$6", 0) == 0) sTag = want.sData.substr(2, 3);
            const int nonfiling = NonfilingIndicator(sTag);
            if (nonfiling > 0 && got.sIndicators != want.sIndicators) {
                // The count covers the same characters: as many code points of the title as the
                // MARC-8 count had octets (marks and letters of these titles are one octet each).
                const char c = want.sIndicators[nonfiling - 1];
                ASSERT_TRUE(c >= '0' && c <= '9') << want;
                const std::size_t a = want.sData.find("$a") + 2;
                const std::vector<char32_t> title = Decode(want.sData.substr(a));
                const std::string sPrefix = Encode({title.begin(), title.begin() + (c - '0')});
                want.sIndicators[nonfiling - 1] = static_cast<char>('0' + sPrefix.size());
            }
            EXPECT_EQ(got, want);
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(n), yaz.size());
}

}  // namespace
