// Precomposed Latin letters and their canonical decompositions give the same
// comparison forms, display texts and MARC-8; text that arrives decomposed
// keeps the forms it always had.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "chars/test_octets.h"
#include "common/runtime.h"
#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "normalize/latin_letters.h"

namespace {

using test_octets::U;

// ---------------------------------------------------------------- every letter

// What the members give for one text of a UTF-8 record.
struct Outputs {
    std::string Norm, Naco, Plain, Proposal, Windows1252, Latin1, Marc8;
    bool Marc8Error = false;
    bool operator==(const Outputs&) const = default;
};

Outputs OutputsOf(Utf8MarcRecordClass& r, const std::string& sText) {
    Outputs o;
    o.Norm = r.NormString(sText, true, "V");
    o.Naco = r.NormStringNaco(sText, true, "P", "B", "100", "a");
    o.Plain = r.Marc2PlainText(sText);
    o.Proposal = r.Marc2SacoProposal(sText);
    o.Windows1252 = r.Marc2MsoftAscii(sText, 1);
    o.Latin1 = r.Marc2MsoftAscii(sText, 2);
    std::string sCodes;
    std::string sTag = "100";
    o.Marc8 = "\x1F" "a" + sText;
    bool bChanged = false;
    r.TranslateUtf82MarcOneField(sCodes, sTag, o.Marc8, bChanged, o.Marc8Error);
    return o;
}

std::string Show(const Outputs& o) {
    return testing::PrintToString(std::vector<std::string>{o.Norm, o.Naco, o.Plain, o.Proposal, o.Windows1252,
                                                           o.Latin1, o.Marc8}) +
           (o.Marc8Error ? " error" : "");
}

// Every precomposed letter of the two ranges gives what its decomposition
// gives, between other letters, as a capital and in a word. The letters with
// horn are letters of MARC-8 and keep their own forms; their comparison and
// plain forms still equal those of the letter and the combining horn.
TEST(PrecomposedLetters, EveryLetterGivesWhatItsDecompositionGives) {
    Utf8MarcRecordClass record;
    record.CharacterSetIn("U");
    record.CharacterSetOut("U");
    size_t letters = 0;
    for (uint32_t cp = 0xC0; cp <= 0x1EFF; ++cp) {
        if (cp == 0x250) cp = 0x1E00;
        const char* decomposition = latin_letters::Decomposition(cp);
        if (decomposition == nullptr) continue;
        const std::string sDecomposed = decomposition;
        ++letters;
        for (const std::string& sFrame : {std::string("x#y"), std::string("#"), std::string("Bo#k, de#")}) {
            std::string sPrecomposed = sFrame, sDecomposedText = sFrame;
            for (size_t at; (at = sPrecomposed.find('#')) != std::string::npos;) sPrecomposed.replace(at, 1, U(cp));
            for (size_t at; (at = sDecomposedText.find('#')) != std::string::npos;)
                sDecomposedText.replace(at, 1, sDecomposed);
            const Outputs precomposed = OutputsOf(record, sPrecomposed);
            const Outputs decomposed = OutputsOf(record, sDecomposedText);
            ASSERT_EQ(precomposed, decomposed)
                << std::hex << cp << " " << sFrame << "\n" << Show(precomposed) << "\n" << Show(decomposed);
            // Nothing is dropped: an ASCII base letter comes through everywhere.
            const char base = sDecomposed[0];
            if (sFrame == "#" && static_cast<unsigned char>(base) < 0x80) {
                const std::string sBase(1, base);
                ASSERT_EQ(precomposed.Norm, rt::UCase(sBase)) << std::hex << cp;
                ASSERT_EQ(precomposed.Plain, sBase) << std::hex << cp;
                ASSERT_FALSE(precomposed.Windows1252.empty()) << std::hex << cp;
                // The letter is written, never as a reference (a mark that
                // MARC-8 lacks may be one).
                char sReference[16];
                std::snprintf(sReference, sizeof sReference, "&#x%04x;", static_cast<unsigned>(cp));
                ASSERT_NE(precomposed.Marc8.find(base, 2), std::string::npos) << std::hex << cp;
                ASSERT_EQ(precomposed.Marc8.find(sReference), std::string::npos) << std::hex << cp;
            }
        }
    }
    EXPECT_EQ(letters, 493u);

    const std::vector<std::pair<uint32_t, char>> horns = {{0x01A0, 'O'}, {0x01A1, 'o'}, {0x01AF, 'U'}, {0x01B0, 'u'}};
    for (const auto& [cp, base] : horns) {
        const std::string sHorn = std::string(1, base) + U(0x031B);
        EXPECT_EQ(record.NormString(U(cp), true, "V"), record.NormString(sHorn, true, "V")) << std::hex << cp;
        EXPECT_EQ(record.Marc2PlainText(U(cp)), record.Marc2PlainText(sHorn)) << std::hex << cp;
        EXPECT_EQ(record.Marc2PlainText(U(cp)), std::string(1, base)) << std::hex << cp;
    }
}

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

// ---------------------------------------------------------------- a record

// yaz-iconv's reading of a MARC-8 text.
std::string YazMarc8ToUtf8(const testsupport::TempSettingsFolder& folder, const std::string& sText) {
    const std::string path = folder.File("marc8.txt");
    testsupport::WriteFile(path, sText);
    FILE* pipe = popen(("yaz-iconv -f marc8 -t utf8 '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return "(no yaz-iconv)";
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// A record with "Nājī, Muḥammad, Việt" in 100 $a, loaded from ISO 2709 with
// the load's decomposition and without it (the cataloguing client's
// preference): both show, normalize and write to MARC-8 with every letter.
TEST(PrecomposedLetters, ARecordLoadedFromIso2709KeepsEveryLetter) {
    const std::string sName = "N" + U(0x0101) + "j" + U(0x012B) + ", Mu" + U(0x1E25) + "ammad, Vi" + U(0x1EC7) + "t";
    const std::string sDecomposed = "Na\xCC\x84" "ji\xCC\x84" ", Muh\xCC\xA3" "ammad, Vie\xCC\xA3\xCC\x82" "t";
    const std::string sRecord = record_test::Iso2709(
        "00000nam a2200000   4500",
        {{"001", "1"}, {"100", "1 \x1F" "a" + sName + ".\x1F" "d1950-"}, {"245", "10\x1F" "aQu" + U(0xE9) + "bec."}});
    for (const bool bBypassed : {false, true}) {
        SCOPED_TRACE(bBypassed ? "kept precomposed" : "decomposed on load");
        testsupport::TempSettingsFolder settings;
        if (bBypassed)
            testsupport::WriteFile(settings.File("registry.ini"),
                                   "[Software\\VB and VBA Program Settings\\RevoduvAde\\Preferences]\r\n"
                                   "BypassAutoDecompose=TRUE\r\n");
        Utf8MarcRecordClass record;
        record.CharacterSetIn("U");
        record.CharacterSetOut("U");
        record.MarcRecordIn(sRecord);
        ASSERT_EQ(record.IsMarcErrorText(), "");
        ASSERT_TRUE(record.FldFindFirst("100", ""));
        EXPECT_EQ(record.FldText(), "\x1F" "a" + (bBypassed ? sName : sDecomposed) + ".\x1F" "d1950-");
        ASSERT_TRUE(record.SfdFindFirst("a", ""));
        EXPECT_EQ(record.SfdNorm(), "NAJI MUHAMMAD VIET");
        EXPECT_EQ(record.SfdNormNaco(), "NAJI, MUHAMMAD VIET");
        EXPECT_EQ(record.FldNorm(), "NAJI MUHAMMAD VIET 1950");
        EXPECT_EQ(record.FldTextFormatted(1, false, 10, "", ""), "|a Naji, Muhammad, Viet. |d 1950-");
        EXPECT_EQ(record.FldTextFormatted(4, false, 10, "", ""),
                  "N(macron)aj(macron)i, Mu(dot below)hammad, Vi(dot below)(circumflex)et. $d 1950-");
        EXPECT_EQ(record.FldTextFormatted(8, false, 10, "", ""), "Naji, Muhammad, Viet. 1950-");
        ASSERT_TRUE(record.SfdFindFirst("a", ""));
        EXPECT_EQ(record.SfdTextFormatted(7), "Naji, Muhammad, Viet.");
        EXPECT_EQ(record.NormString("Qu" + U(0xE9) + "bec", true, "V"), "QUEBEC");
        EXPECT_TRUE(record.FldFindFirst("100", "NAJI MUHAMMAD VIET 1950"));

        // The MARC-8 record: marks before their letters, nothing as a reference,
        // and yaz reads the letters back.
        record.CharacterSetOut("M");
        ASSERT_TRUE(record.FldFindFirst("100", ""));
        const std::string sMarc8 = "\x1F" "a" "N\xE5" "aj\xE5" "i, Mu\xF2" "hammad, Vi\xF2\xE3" "et.\x1F" "d1950-";
        EXPECT_EQ(record.FldText(), sMarc8);
        EXPECT_EQ(YazMarc8ToUtf8(settings, sMarc8.substr(2, sMarc8.find('\x1F', 1) - 2)), sDecomposed + ".");
        EXPECT_EQ(record.MarcRecordOut().find("&#x"), std::string::npos);
    }
}

}  // namespace
