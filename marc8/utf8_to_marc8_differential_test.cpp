// UTF-8 records written to MARC-8 by this system and read back by `yaz-marcdump -f marc8 -t utf8`
// (Debian's yaz), compared field by field with the record as it was held in UTF-8 after its load.
// Allowed on purpose:
// - "&#x...;" references, which yaz leaves as text, are decoded on yaz's side;
// - the directional marks U+200E and U+200F are dropped;
// - the record held after the load is the reference, so whatever the load substitutes or
//   decomposes is already in it;
// - the script code and orientation of $6 in 880 fields, the rebuilt 066 and leader/09;
// - the order of the marks behind one base letter (MARC-8 puts them in the mark buffer's order).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"

namespace {

struct Field {
    std::string sTag;
    std::string sData;  // indicators and text, delimiters as they stand
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitRecords(const std::string& file) {
    std::vector<std::string> records;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find('\x1D', at);
        if (end == std::string::npos) break;
        records.push_back(file.substr(at, end + 1 - at));
        at = end + 1;
    }
    return records;
}

std::size_t Number(const std::string& s, std::size_t at, std::size_t len) {
    std::size_t v = 0;
    for (std::size_t i = at; i < at + len && i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return 0;
        v = v * 10 + static_cast<std::size_t>(s[i] - '0');
    }
    return v;
}

std::vector<Field> Fields(const std::string& s) {
    std::vector<Field> fields;
    const std::size_t base = Number(s, 12, 5);
    for (std::size_t at = 24; at + 12 <= base && s[at] != '\x1E'; at += 12) {
        const std::size_t length = Number(s, at + 3, 4);
        const std::size_t start = Number(s, at + 7, 5);
        if (length == 0 || base + start + length > s.size()) break;
        fields.push_back({s.substr(at, 3), s.substr(base + start, length - 1)});
    }
    return fields;
}

std::vector<char32_t> Decode(const std::string& s) {
    std::vector<char32_t> cps;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        cps.push_back(cp);
        i += n;
    }
    return cps;
}

std::string Encode(const std::vector<char32_t>& cps) {
    std::string s;
    for (char32_t cp : cps) s += test_octets::U(cp);
    return s;
}

bool IsMark(char32_t cp) { return (cp >= 0x300 && cp <= 0x36F) || (cp >= 0xFE20 && cp <= 0xFE2F); }

// The text as compared: directional marks dropped, the marks behind each base sorted.
std::string Comparable(const std::string& s) {
    std::vector<char32_t> cps = Decode(s);
    std::erase_if(cps, [](char32_t cp) { return cp == 0x200E || cp == 0x200F; });
    for (std::size_t i = 0; i < cps.size();) {
        std::size_t j = i;
        while (j < cps.size() && IsMark(cps[j])) ++j;
        std::sort(cps.begin() + static_cast<std::ptrdiff_t>(i), cps.begin() + static_cast<std::ptrdiff_t>(j));
        i = j == i ? i + 1 : j;
    }
    return Encode(cps);
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// yaz's reading with the references this system writes ("&#x" four or eight lower-case hex
// digits ";") decoded.
std::string DecodeReferences(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s.compare(i, 3, "&#x") == 0) {
            std::size_t j = i + 3;
            char32_t v = 0;
            while (j < s.size() && Hex(s[j]) >= 0 && j - i - 3 < 8) v = v * 16 + static_cast<char32_t>(Hex(s[j++]));
            const std::size_t digits = j - i - 3;
            // A reference never stands for the delimiter, a terminator or NUL.
            const bool bStructure = digits == 4 && (v == 0 || (v >= 0x1D && v <= 0x1F));
            if (j < s.size() && s[j] == ';' && (digits == 4 || digits == 8) && !bStructure) {
                if (digits == 8) v = 0x10000 + (((v >> 16) - 0xD800) << 10) + ((v & 0xFFFF) - 0xDC00);
                out += Encode({v});
                i = j + 1;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

// $6 of an 880 without its script code and orientation.
std::string WithoutScriptOf6(const std::string& sTag, std::string s) {
    if (sTag != "880") return s;
    const std::size_t six = s.find("\x1F" "6");
    if (six == std::string::npos) return s;
    const std::size_t end = std::min(s.find('\x1F', six + 2), s.size());
    const std::size_t slash = s.find('/', six + 2);
    if (slash < end) s.erase(slash, end - slash);
    return s;
}

std::string D(std::string s) {
    std::replace(s.begin(), s.end(), '$', '\x1F');
    return s;
}

// Records of our own: characters MARC-8 lacks, Cyrillic with Ё beside an accented Latin word,
// Hebrew and Arabic 880 fields with directional marks, an old 066, subscripts, Greek, East Asian.
std::vector<std::string> OwnRecords() {
    const std::string leader = "00000nam a2200000   4500";
    const std::string s008 = "901231s1990    xx            000 0 rus d";
    return {
        record_test::Iso2709(leader, {{"001", "own-1"},
                                      {"008", s008},
                                      {"066", D("  $c(N")},
                                      {"100", D("1 $6880-01$aChajkovskij, P.")},
                                      {"245", D("10$a\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0 and cafe\xCC\x81 $bx")},
                                      {"500", D("  $aNo MARC-8: \xE0\xA0\x80 \xF0\x9D\x84\x9E \xE2\x98\x83.")},
                                      {"500", D("  $aH\xE2\x82\x82O, x\xC2\xB2, \xCE\xB1\xCE\xB2, \xE4\xB8\x80\xE4\xBA\x8C.")},
                                      {"880", D("1 $6100-01/(N$a\xD0\xA7\xD0\xB0\xD0\xB9\xD0\xBA\xD0\xBE\xD0\xB2\xD1\x81"
                                                "\xD0\xBA\xD0\xB8\xD0\xB9, \xD0\x81.")}}),
        record_test::Iso2709(leader, {{"001", "own-2"},
                                      {"008", s008},
                                      {"245", D("10$6880-01$aSefer")},
                                      {"260", D("  $6880-02$aTel Aviv")},
                                      {"880", D("10$6245-01$a\xE2\x80\x8F\xD7\xA1\xD7\xA4\xD7\xA8 1990, \xD7\x90.")},
                                      {"880", D("  $6260-02$a\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9 :"
                                                "$c1995.")}}),
        // Each case where a field lost its structure or a character its meaning on the way
        // through MARC-8: a reference to the delimiter and the terminators as text, East Asian
        // beside extended Cyrillic and Arabic, the sharp s and the euro sign, a Greek accent,
        // Hebrew gershayim and Arabic text with commas.
        record_test::Iso2709(leader, {{"001", "own-3"},
                                      {"008", s008},
                                      {"245", D("10$aTitle&#x001F;cInjected author&#x001E;&#x001d;&#x0000;")},
                                      {"500", D("  $a\xE4\xB8\x80\xD0\x81 \xE4\xB8\x80\xDA\xAD$b\xE4\xB8\x80\xDA\xAD")},
                                      {"500", D("  $aStra\xC3\x9F" "e 10\xE2\x82\xAC")},
                                      {"500", D("  $ax\xCE\xB1\xCC\x81n \xCE\xAC")},
                                      {"880", D("  $6500-01$a\xD7\xAA\xD7\xA9\"\xD7\x9F \xD7\x90-\xD7\x91 "
                                                "\xD7\x90'\xD7\x91")},
                                      {"880", D("  $6500-02$a\xD8\xA7, \xD8\xA8 12, \xD8\xA7 1995% \xD8\xA8; "
                                                "\xD8\xA7?")}}),
    };
}

// The record fixtures in UTF-8 and the records above.
std::vector<std::string> Inputs() {
    std::vector<std::string> inputs;
    for (const char* path : {"/testdata/records/bib-utf8.mrc", "/testdata/records/auth-utf8.mrc",
                             "/testdata/iso2709/utf8_records.mrc"}) {
        for (std::string& r : SplitRecords(ReadFile(std::string(EXITDESK_SOURCE_DIR) + path))) inputs.push_back(r);
    }
    for (std::string& r : OwnRecords()) inputs.push_back(r);
    return inputs;
}

}  // namespace

TEST(Utf8ToMarc8Differential, YazReadsWhatThisSystemWrites) {
    if (std::system("yaz-marcdump -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "yaz-marcdump is not installed";
    const std::vector<std::string> inputs = Inputs();
    ASSERT_GT(inputs.size(), 50u);

    std::vector<std::vector<Field>> held;
    std::string sMarc8;
    for (const std::string& sInput : inputs) {
        Utf8MarcRecordClass record;
        record.MarcRecordIn(sInput);
        ASSERT_EQ(record.CharacterSetOut(), "U");
        held.push_back(Fields(record.MarcRecordOut()));
        record.CharacterSetOut("M");
        const std::string sOut = record.MarcRecordOut();
        ASSERT_FALSE(sOut.empty());
        EXPECT_EQ(sOut[9], ' ');
        sMarc8 += sOut;
    }

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("utf8_to_marc8_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + std::to_string(reinterpret_cast<std::uintptr_t>(&held)));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "ours-marc8.mrc").string();
    const std::string out = (dir / "yaz-utf8.mrc").string();
    std::ofstream(in, std::ios::binary) << sMarc8;
    const std::string command = "yaz-marcdump -f marc8 -t utf8 -i marc -o marc '" + in + "' > '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::string> read = SplitRecords(ReadFile(out));
    std::filesystem::remove_all(dir);
    ASSERT_EQ(read.size(), inputs.size());

    int fieldsCompared = 0;
    for (std::size_t r = 0; r < read.size(); ++r) {
        std::vector<Field> expected = held[r];
        std::vector<Field> actual = Fields(read[r]);
        std::erase_if(expected, [](const Field& f) { return f.sTag == "066"; });
        std::erase_if(actual, [](const Field& f) { return f.sTag == "066"; });
        ASSERT_EQ(actual.size(), expected.size()) << "record " << r;
        for (std::size_t f = 0; f < actual.size(); ++f) {
            ASSERT_EQ(actual[f].sTag, expected[f].sTag) << "record " << r;
            const std::string& sTag = expected[f].sTag;
            EXPECT_EQ(Comparable(WithoutScriptOf6(sTag, DecodeReferences(actual[f].sData))),
                      Comparable(WithoutScriptOf6(sTag, expected[f].sData)))
                << "record " << r << " field " << sTag;
            ++fieldsCompared;
        }
    }
    EXPECT_GT(fieldsCompared, 1000);
}

// The same records set to MARC-8 and back to UTF-8 by this system: every field comes back, less
// the same differences (its own reader decodes the references).
TEST(Utf8ToMarc8Differential, ThisSystemReadsBackWhatItWrites) {
    const std::vector<std::string> inputs = Inputs();
    for (std::size_t r = 0; r < inputs.size(); ++r) {
        Utf8MarcRecordClass record;
        record.MarcRecordIn(inputs[r]);
        std::vector<Field> expected = Fields(record.MarcRecordOut());
        record.CharacterSetOut("M");
        record.CharacterSetOut("U");
        const std::string sBack = record.MarcRecordOut();
        EXPECT_EQ(sBack[9], 'a');
        std::vector<Field> actual = Fields(sBack);
        std::erase_if(expected, [](const Field& f) { return f.sTag == "066"; });
        ASSERT_EQ(actual.size(), expected.size()) << "record " << r;
        for (std::size_t f = 0; f < actual.size(); ++f) {
            ASSERT_EQ(actual[f].sTag, expected[f].sTag) << "record " << r;
            const std::string& sTag = expected[f].sTag;
            EXPECT_EQ(Comparable(WithoutScriptOf6(sTag, actual[f].sData)),
                      Comparable(WithoutScriptOf6(sTag, expected[f].sData)))
                << "record " << r << " field " << sTag;
        }
    }
}

// Characters MARC-8 lacks keep the marks that follow them, on the way out and back.
TEST(Utf8ToMarc8Differential, MarksStayWithTheirBaseBesideReferences) {
    const std::string sData = D("  $ax\xC9\x99\xCC\x81n$by\xE2\x98\x83\xCC\xA3\xCC\x88z");
    Utf8MarcRecordClass record;
    record.MarcRecordIn(record_test::Iso2709("00000nam a2200000   4500", {{"001", "1"}, {"500", sData}}));
    record.CharacterSetOut("M");
    ASSERT_TRUE(record.FldFindFirst("500", ""));
    EXPECT_EQ(record.FldText(), D("$ax\xE2&#x0259;n$by\xF2\xE8&#x2603;z"));
    record.CharacterSetOut("U");
    ASSERT_TRUE(record.FldFindFirst("500", ""));
    EXPECT_EQ(record.FldText(), sData.substr(2));
}


// Pointed Hebrew, voweled Arabic and polytonic Greek, decomposed, in a 500 and (Hebrew and Arabic)
// an 880: what this system writes in MARC-8 yaz reads to the same text, and this system reads back
// unchanged; what yaz writes in MARC-8 this system loads to the same text.
TEST(Utf8ToMarc8Differential, MarksOfEverySetAgreeWithYazBothWays) {
    if (std::system("yaz-marcdump -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "yaz-marcdump is not installed";
    const std::string sShalom = "\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D";
    const std::string sBereshit =
        "\xD7\x91\xD6\xB0\xD6\xBC\xD7\xA8\xD6\xB5\xD7\x90\xD7\xA9\xD6\xB4\xD7\x81\xD7\x99\xD7\xAA";
    const std::string sKataba = "\xD9\x83\xD9\x8E\xD8\xAA\xD9\x8E\xD8\xA8\xD9\x8E";
    const std::vector<std::string> words = {
        sShalom, sBereshit, sKataba,
        "\xCE\x91\xCC\x93\xCE\xB8\xCE\xB7\xCD\x82\xCE\xBD\xCE\xB1\xCE\xB9",  // Ἀθῆναι
        "\xCF\x81\xCC\x94\xCE\xB7\xCC\x81\xCF\x84\xCF\x89\xCF\x81",          // ῥήτωρ
        "\xCF\x89\xCC\x93\xCD\x85\xCE\xB4\xCE\xB7\xCC\x81",                  // ᾠδή
        "\xCE\xB1\xCC\x94\xCC\x81\xCE\xBC\xCE\xB1",                          // ἅμα
    };
    std::vector<std::pair<std::string, std::string>> fields = {{"001", "marks"}};
    for (const std::string& w : words) fields.push_back({"500", D("  $a") + w});
    fields.push_back({"500", D("  $6880-01$aShalom")});
    fields.push_back({"880", D("  $6500-01/(2/r$a") + sShalom + " " + sBereshit});
    fields.push_back({"880", D("  $6500-02/(3/r$a") + sKataba});
    const std::string sUtf8 = record_test::Iso2709("00000nam a2200000 a 4500", fields);
    const std::vector<Field> given = Fields(sUtf8);

    Utf8MarcRecordClass record;
    record.MarcRecordIn(sUtf8);
    ASSERT_EQ(record.CharacterSetOut(), "U");
    record.CharacterSetOut("M");
    const std::string sOurs = record.MarcRecordOut();
    record.CharacterSetOut("U");
    const std::vector<Field> back = Fields(record.MarcRecordOut());

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("marks_" + std::to_string(reinterpret_cast<std::uintptr_t>(&record)));
    std::filesystem::create_directories(dir);
    std::ofstream((dir / "ours.mrc").string(), std::ios::binary) << sOurs;
    std::ofstream((dir / "utf8.mrc").string(), std::ios::binary) << sUtf8;
    const std::string sRead = "yaz-marcdump -f marc8 -t utf8 -i marc -o marc '" + (dir / "ours.mrc").string() +
                              "' > '" + (dir / "yaz-read.mrc").string() + "'";
    // Leader/09 blank: the record yaz writes is in MARC-8.
    const std::string sWrite = "yaz-marcdump -f utf8 -t marc8 -l 9=32 -i marc -o marc '" + (dir / "utf8.mrc").string() +
                               "' > '" + (dir / "yaz-written.mrc").string() + "'";
    ASSERT_EQ(std::system(sRead.c_str()), 0) << sRead;
    ASSERT_EQ(std::system(sWrite.c_str()), 0) << sWrite;
    std::vector<Field> yazRead = Fields(ReadFile((dir / "yaz-read.mrc").string()));
    std::erase_if(yazRead, [](const Field& f) { return f.sTag == "066"; });
    const std::string sYazWritten = ReadFile((dir / "yaz-written.mrc").string());
    std::filesystem::remove_all(dir);

    Utf8MarcRecordClass loaded;
    loaded.CharacterSetIn("M");
    loaded.CharacterSetOut("U");
    loaded.MarcRecordIn(sYazWritten);
    EXPECT_EQ(loaded.IsMarcErrorText(), "");
    std::vector<Field> ourReading = Fields(loaded.MarcRecordOut());
    std::erase_if(ourReading, [](const Field& f) { return f.sTag == "066"; });

    ASSERT_EQ(back.size(), given.size());
    ASSERT_EQ(ourReading.size(), given.size());
    ASSERT_EQ(yazRead.size(), given.size());
    for (std::size_t f = 1; f < given.size(); ++f) {
        const std::string& sTag = given[f].sTag;
        const std::string sWant = Comparable(WithoutScriptOf6(sTag, given[f].sData));
        if (sTag == "500") {
            EXPECT_EQ(back[f].sData, given[f].sData) << "ours, back";
        }
        EXPECT_EQ(Comparable(WithoutScriptOf6(sTag, back[f].sData)), sWant) << "ours, back";
        EXPECT_EQ(Comparable(WithoutScriptOf6(sTag, yazRead[f].sData)), sWant) << "ours, read by yaz";
        EXPECT_EQ(Comparable(WithoutScriptOf6(sTag, ourReading[f].sData)), sWant) << "yaz's, loaded here";
    }
}
