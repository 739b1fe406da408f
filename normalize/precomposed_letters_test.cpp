// Precomposed Latin letters and their canonical decompositions give the same
// comparison forms, display texts and MARC-8; text that arrives decomposed
// keeps the forms it always had.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/test_support.h"
#include "marc/record/marc_record.h"

namespace {

// ---------------------------------------------------------------- decomposed fixtures

// FNV-1a over the outputs, each followed by a newline.
class Digest {
public:
    void Add(const std::string& s) {
        for (char c : s) Mix(static_cast<unsigned char>(c));
        Mix('\n');
    }
    uint64_t Value() const { return value_; }

private:
    void Mix(unsigned char c) {
        value_ ^= c;
        value_ *= 0x100000001B3ull;
    }
    uint64_t value_ = 0xCBF29CE484222325ull;
};

std::vector<std::string> SplitRecords(const std::string& file) {
    std::vector<std::string> records;
    for (size_t at = 0; at < file.size();) {
        const size_t end = file.find('\x1D', at);
        if (end == std::string::npos) break;
        records.push_back(file.substr(at, end + 1 - at));
        at = end + 1;
    }
    return records;
}

// What one member makes of the current data field of a loaded record.
using FieldOutput = std::function<void(Utf8MarcRecordClass&, Digest&)>;

struct Member {
    const char* Name;
    FieldOutput Output;
};

const std::vector<Member>& Members() {
    static const std::vector<Member> members = {
        {"field text", [](Utf8MarcRecordClass& r, Digest& d) { d.Add(r.FldText()); }},
        {"NormString", [](Utf8MarcRecordClass& r, Digest& d) { d.Add(r.NormString(r.FldText(), true, "V")); }},
        {"NormStringNaco",
         [](Utf8MarcRecordClass& r, Digest& d) {
             const std::string sFormat = r.MarcRecordFormat() == "A" ? "A" : "B";
             r.SfdMoveTop();
             while (r.SfdMoveNext()) d.Add(r.NormStringNaco(r.SfdText(), true, "P", sFormat, r.FldTag(), r.SfdCode()));
         }},
        {"field forms",
         [](Utf8MarcRecordClass& r, Digest& d) {
             d.Add(r.FldNorm());
             d.Add(r.FldNormNaco());
             d.Add(r.FldSortingForm(false));
         }},
        {"Marc2PlainText", [](Utf8MarcRecordClass& r, Digest& d) { d.Add(r.Marc2PlainText(r.FldText())); }},
        {"Marc2SacoProposal", [](Utf8MarcRecordClass& r, Digest& d) { d.Add(r.Marc2SacoProposal(r.FldText())); }},
        {"Marc2MsoftAscii",
         [](Utf8MarcRecordClass& r, Digest& d) {
             for (int32_t iFlavor : {1, 2, 9}) d.Add(r.Marc2MsoftAscii(r.FldText(), iFlavor));
         }},
        {"formatted text",
         [](Utf8MarcRecordClass& r, Digest& d) {
             for (int32_t iForm : {1, 4, 8}) d.Add(r.FldTextFormatted(iForm, false, 10, "", ""));
         }},
        {"TranslateUtf82MarcOneField",
         [](Utf8MarcRecordClass& r, Digest& d) {
             std::string sCodes;
             std::string sTag = r.FldTag();
             std::string sText = r.FldText();
             bool bChanged = false;
             bool bError = false;
             r.TranslateUtf82MarcOneField(sCodes, sTag, sText, bChanged, bError);
             d.Add(sText);
         }},
    };
    return members;
}

struct FixtureDigest {
    const char* File;
    const char* Member;
    uint64_t Value;
};

// The digests of the UTF-8 fixtures, whose letters arrive decomposed (the one
// precomposed letter of utf8_records.mrc is decomposed on load), as the
// members gave them before precomposed letters were taken as their
// decompositions. A change here changes stored index forms and displays.
TEST(PrecomposedLetters, DecomposedFixturesKeepEveryForm) {
    const std::vector<FixtureDigest> expected = {
        {"testdata/records/bib-utf8.mrc", "field text", 0x00E8492F5F208F0Cull},
        {"testdata/records/bib-utf8.mrc", "NormString", 0x446F4AA490B8E5C6ull},
        {"testdata/records/bib-utf8.mrc", "NormStringNaco", 0x8C5F564EDF1EA0ABull},
        {"testdata/records/bib-utf8.mrc", "field forms", 0xB1BF522D919F3C53ull},
        {"testdata/records/bib-utf8.mrc", "Marc2PlainText", 0xAAC655F3C3AD16BDull},
        {"testdata/records/bib-utf8.mrc", "Marc2SacoProposal", 0xA8464EF0F198DD37ull},
        {"testdata/records/bib-utf8.mrc", "Marc2MsoftAscii", 0xAC74719A8E95A5AEull},
        {"testdata/records/bib-utf8.mrc", "formatted text", 0x791B0DF250FDF2EBull},
        {"testdata/records/bib-utf8.mrc", "TranslateUtf82MarcOneField", 0x948C4A3FEC6A7605ull},
        {"testdata/records/auth-utf8.mrc", "field text", 0xD39973FBF55EF5F6ull},
        {"testdata/records/auth-utf8.mrc", "NormString", 0xD6972980948CA9E9ull},
        {"testdata/records/auth-utf8.mrc", "NormStringNaco", 0x0B9F8895BD80C551ull},
        {"testdata/records/auth-utf8.mrc", "field forms", 0x76746952C4FD9505ull},
        {"testdata/records/auth-utf8.mrc", "Marc2PlainText", 0xE93BA1DDC7E35A66ull},
        {"testdata/records/auth-utf8.mrc", "Marc2SacoProposal", 0x9ED58384B39CEFE8ull},
        {"testdata/records/auth-utf8.mrc", "Marc2MsoftAscii", 0x0CFE8145C097CF82ull},
        {"testdata/records/auth-utf8.mrc", "formatted text", 0xABF311D4AFB2948Dull},
        {"testdata/records/auth-utf8.mrc", "TranslateUtf82MarcOneField", 0xC0BD5CCDC37B79EAull},
        {"testdata/iso2709/utf8_records.mrc", "field text", 0x4BFFF52668764ECEull},
        {"testdata/iso2709/utf8_records.mrc", "NormString", 0xF04DC0BB01ABA4C7ull},
        {"testdata/iso2709/utf8_records.mrc", "NormStringNaco", 0x931FF551D17F0761ull},
        {"testdata/iso2709/utf8_records.mrc", "field forms", 0x82E962B95A9A96FCull},
        {"testdata/iso2709/utf8_records.mrc", "Marc2PlainText", 0x74927C1546FA4F7Cull},
        {"testdata/iso2709/utf8_records.mrc", "Marc2SacoProposal", 0x2777CCA5CB78B81Cull},
        {"testdata/iso2709/utf8_records.mrc", "Marc2MsoftAscii", 0x0A81E686EAFCAED4ull},
        {"testdata/iso2709/utf8_records.mrc", "formatted text", 0xDD2CDF1CEF6C6D26ull},
        {"testdata/iso2709/utf8_records.mrc", "TranslateUtf82MarcOneField", 0x5784BFE122D87943ull},
        {"testdata/records/bib-marc8.mrc", "field text", 0x16671EB9DFD2E154ull},
        {"testdata/records/bib-marc8.mrc", "NormString", 0x446F4AA490B8E5C6ull},
        {"testdata/records/bib-marc8.mrc", "NormStringNaco", 0x8C5F564EDF1EA0ABull},
        {"testdata/records/bib-marc8.mrc", "field forms", 0xB1BF522D919F3C53ull},
        {"testdata/records/bib-marc8.mrc", "Marc2PlainText", 0xAAC655F3C3AD16BDull},
        {"testdata/records/bib-marc8.mrc", "Marc2SacoProposal", 0xAEBE8FE204666389ull},
        {"testdata/records/bib-marc8.mrc", "Marc2MsoftAscii", 0xA9E098C346015A36ull},
        {"testdata/records/bib-marc8.mrc", "formatted text", 0x3D27E0C4E578A0CDull},
        {"testdata/records/bib-marc8.mrc", "TranslateUtf82MarcOneField", 0xD0A1535E6251D0DFull},
    };
    std::vector<FixtureDigest> actual;
    testsupport::TempSettingsFolder settings;
    // The MARC-8 records are read into UTF-8, which writes their marks after
    // the letters.
    const std::vector<std::pair<const char*, const char*>> sources = {
        {"testdata/records/bib-utf8.mrc", "U"},
        {"testdata/records/auth-utf8.mrc", "U"},
        {"testdata/iso2709/utf8_records.mrc", "U"},
        {"testdata/records/bib-marc8.mrc", "M"},
    };
    for (const auto& [file, sSetIn] : sources) {
        const std::vector<std::string> records =
            SplitRecords(testsupport::ReadFile(std::string(EXITDESK_SOURCE_DIR "/") + file));
        ASSERT_FALSE(records.empty()) << file;
        for (const Member& member : Members()) {
            Digest digest;
            Utf8MarcRecordClass record;
            record.CharacterSetIn(sSetIn);
            record.CharacterSetOut("U");
            for (const std::string& sRecord : records) {
                record.MarcRecordIn(sRecord);
                record.FldMoveTop();
                while (record.FldMoveNext(true)) {
                    if (record.FldTag() <= "009") continue;
                    member.Output(record, digest);
                }
            }
            actual.push_back({file, member.Name, digest.Value()});
        }
    }
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i].Value, expected[i].Value)
            << expected[i].File << " " << expected[i].Member << ": now 0x" << std::hex << actual[i].Value;
}

}  // namespace
