// A record has one reading: every document and every display of a record held
// in an 8-bit set ("M", "O", "V") gives what it gives for the same record (the
// octets it holds) loaded into UTF-8. Only the hex display and the raw form,
// which show the octets held, and the stored comparison forms (13, 14) are
// left out. Documents are compared as libxml2 reads them (canonical form).
#include <gtest/gtest.h>
#include <libxml/c14n.h>

#include <functional>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/display/display_test_text.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/xml/xml_test_support.h"

namespace {

using display_test::Hex;
using record_test::Iso2709;
using record_test::TaggedField;

const std::string kBibMarc8 = "00000nam  2200000 a 4500";
const std::string kAuthMarc8 = "00000nz   2200000n  4500";

// The record as held in sSet, loaded from its octets in sIn (MARC-8 unless
// named), and the octets it holds loaded into UTF-8. False when either load
// refuses it.
bool LoadHeldAndUtf8(const std::string& sRecord, const char* sSet, Utf8MarcRecordClass& held,
                     Utf8MarcRecordClass& utf8, const char* sIn = "M") {
    held.CharacterSetIn(sIn);
    held.CharacterSetOut(sSet);
    held.MarcRecordIn(sRecord);
    if (held.MarcRecordIn().empty()) return false;
    const std::string sHeld = held.MarcRecordOut();
    held.FldChangedClearAll();  // the output's own rewrites are no difference
    utf8.CharacterSetIn(sSet);
    utf8.CharacterSetOut("U");
    utf8.MarcRecordIn(sHeld);
    return !utf8.MarcRecordIn().empty();
}

// The canonical form of a document as libxml2 reads it; "" for no document,
// and a failure when it is not well-formed. The lengths in a MARCXML leader
// count the octets of the record as held, so they are left out.
std::string Canonical(const std::string& sDocument, const std::string& what) {
    if (sDocument.empty()) return "";
    const xml_test::XmlDoc doc = xml_test::Parse(sDocument);
    EXPECT_TRUE(doc) << what << "\n" << sDocument;
    if (!doc) return "not well-formed";
    xmlChar* text = nullptr;
    const int size = xmlC14NDocDumpMemory(doc.get(), nullptr, XML_C14N_1_0, nullptr, 0, &text);
    std::string out = size >= 0 && text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size)) : "";
    xmlFree(text);
    for (size_t at = out.find("<marc:leader>"); at != std::string::npos; at = out.find("<marc:leader>", at + 1)) {
        const size_t leader = at + std::string("<marc:leader>").size();
        if (leader + 17 > out.size()) break;
        out.replace(leader, 5, 5, '#');
        out.replace(leader + 12, 5, 5, '#');
    }
    return out;
}

// Every document and display of the two records compared; the number of
// comparisons made.
int CompareEveryDocumentAndDisplay(Utf8MarcRecordClass& held, Utf8MarcRecordClass& utf8, const std::string& what) {
    int compared = 0;
    const auto expectSame = [&](const std::string& a, const std::string& b, const std::string& which) {
        ++compared;
        EXPECT_EQ(Hex(a), Hex(b)) << what << ": " << which << "\n" << a << "\n" << b;
    };
    for (int32_t form = 0; form <= 5; ++form) {
        const std::string sHeld = held.XMLRecordOut(form);
        const std::string sUtf8 = utf8.XMLRecordOut(form);
        const std::string which = "document " + std::to_string(form);
        ++compared;
        EXPECT_EQ(Canonical(sHeld, what + " " + which), Canonical(sUtf8, what + " " + which)) << what << ": " << which;
    }

    using Display = std::function<std::string(Utf8MarcRecordClass&, const std::string&)>;
    const std::vector<std::pair<const char*, Display>> members = {
        {"Windows-1252 flavour 1", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 1); }},
        {"Latin-1 flavour 2", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 2); }},
        {"Windows-1252 flavour 9", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 9); }},
        {"labels", [](auto& r, const auto& s) { return r.TranslateDiacriticsIntoLabels(s); }},
        {"RTF", [](auto& r, const auto& s) { return r.TranslateMarc2RTF(s, true, 10); }},
        {"plain text", [](auto& r, const auto& s) { return r.Marc2PlainText(s); }},
        {"subject proposal", [](auto& r, const auto& s) { return r.Marc2SacoProposal(s); }},
    };
    // The fields side by side; the 066 is the 8-bit record's own.
    std::string sTags;
    bool bHeld = held.FldMoveFirst(true);
    bool bUtf8 = utf8.FldMoveFirst(true);
    for (; bHeld && bUtf8; bHeld = held.FldMoveNext(true), bUtf8 = utf8.FldMoveNext(true)) {
        if (held.FldTag() == "066" && !(bHeld = held.FldMoveNext(true))) break;
        const std::string sTag = held.FldTag();
        EXPECT_EQ(sTag, utf8.FldTag()) << what;
        if (sTag != utf8.FldTag()) return compared;
        sTags += sTag + " ";
        if (held.FldIsControl()) continue;
        const std::string field = what + " " + sTag;
        for (const auto& [name, show] : members)
            expectSame(show(held, held.FldText()), show(utf8, utf8.FldText()), field + " " + name);
        for (int32_t form : {1, 2, 4, 7, 8, 9, 10, 11, 12})
            expectSame(held.FldTextFormatted(form, true, 10, "", ""), utf8.FldTextFormatted(form, true, 10, "", ""),
                       field + " field form " + std::to_string(form));
        bool bSfdHeld = held.SfdMoveFirst();
        bool bSfdUtf8 = utf8.SfdMoveFirst();
        for (; bSfdHeld && bSfdUtf8; bSfdHeld = held.SfdMoveNext(), bSfdUtf8 = utf8.SfdMoveNext())
            for (int32_t form : {1, 2, 7, 8, 9})
                expectSame(held.SfdTextFormatted(form), utf8.SfdTextFormatted(form),
                           field + " $" + held.SfdCode() + " subfield form " + std::to_string(form));
        EXPECT_EQ(bSfdHeld, bSfdUtf8) << field;
    }
    // The 066 that a record written into MARC-8 gains may stand last.
    if (bHeld && !bUtf8 && held.FldTag() == "066") bHeld = held.FldMoveNext(true);
    EXPECT_EQ(bHeld, bUtf8) << what << ": the records hold other fields";
    // The record's text in every display form, without the fixed-field block
    // (leader/09 tells the sets apart).
    for (int32_t form : {1, 2, 7, 8, 9, 10, 11, 12})
        expectSame(held.TextFormatted(form, 3, sTags, false, 10), utf8.TextFormatted(form, 3, sTags, false, 10),
                   "record text form " + std::to_string(form));
    return compared;
}

// The fields of a bibliographic or an authority record that hold the text;
// "$" in the patterns is the delimiter, the text is put in at each "%".
std::vector<TaggedField> FieldsHolding(const std::string& t, bool bAuthority) {
    const auto field = [&t](const std::string& pattern) {
        std::string out;
        for (char c : pattern) out += c == '%' ? t : c == '$' ? std::string(1, '\x1F') : std::string(1, c);
        return out;
    };
    if (bAuthority)
        return {{"001", "n1"}, {"008", std::string(40, ' ')}, {"100", field("1 $a%$d1900-")},
                {"400", field("1 $a%")}, {"670", field("  $a%$b%")}};
    return {{"001", "b1"},
            {"008", std::string(40, ' ')},
            {"100", field("1 $a%$d1900-$4aut")},
            {"245", field("10$a% :$b% /$c%.")},
            {"260", field("  $a% :$b%,$c1999.")},
            {"500", field("  $a%.")},
            {"520", field("  $a%")},
            {"650", field(" 0$a%$x%.")},
            {"700", field("1 $a%$tTitle.")},
            {"880", field("10$6245-01$a%$b%")}};
}

// Texts in MARC-8 that another reader than the one MARC-8 reader reads
// otherwise; each in every field of a bibliographic and an authority record.
TEST(OneReading, DocumentsAndDisplaysOfTheHardCasesAreTheUtf8Records) {
    testsupport::TempSettingsFolder folder;
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"a reference", "x&#x03B1;y &#x0436;"},
        {"ESC (N and 0xC0, the companion Cyrillic set", "\x1B(NABV\xC0\x1B(B end"},
        {"a Greek mark before its letter", "\x1B(Sb\x22" "a\x1B(B end"},
        {"East Asian text in G1", "a \x1B$)1\xA1\xB0\xA1\xA1\xB0\xE4\x1B)!E b"},
        {"sharp s and euro sign", "Stra\xC7" "e \xC8" "5"},
        {"a label inside a Cyrillic run", "\x1B(N\x1B)!EAB\xC0\xE2" "CD\x1B(B"},
        {"Latin marks", "\xE2" "ecole \xF0" "c \xE8" "u"},
    };
    for (const auto& [what, text] : cases)
        for (bool bAuthority : {false, true})
            for (const char* sSet : {"M", "O", "V"}) {
                Utf8MarcRecordClass held;
                Utf8MarcRecordClass utf8;
                const std::string label = std::string(what) + (bAuthority ? " (authority)" : "") + " in " + sSet;
                ASSERT_TRUE(LoadHeldAndUtf8(Iso2709(bAuthority ? kAuthMarc8 : kBibMarc8, FieldsHolding(text, bAuthority)),
                                            sSet, held, utf8))
                    << label;
                EXPECT_GT(CompareEveryDocumentAndDisplay(held, utf8, label), 50) << label;
                EXPECT_EQ(held.CharacterSetOut(), sSet) << label;
            }
}

// What the record read into UTF-8 shows where another reading showed
// something else: each text held in the set, shown by one document or display.
TEST(OneReading, TheHardCasesShowTheirLetters) {
    testsupport::TempSettingsFolder folder;
    using Show = std::function<std::string(Utf8MarcRecordClass&)>;
    const Show dublinCore = [](Utf8MarcRecordClass& r) { return r.XMLRecordOut(2); };
    const Show mods = [](Utf8MarcRecordClass& r) { return r.XMLRecordOut(1); };
    const auto fieldForm = [](int32_t form) {
        return Show([form](Utf8MarcRecordClass& r) {
            r.FldFindFirst("245", "");
            return r.FldTextFormatted(form, false, 10, "", "");
        });
    };
    struct Case {
        const char* sets;
        std::string text;
        Show show;
        std::string shown;  // what the result holds
    };
    const std::vector<Case> cases = {
        {"MOV", "x&#x03B1;y", dublinCore, "x\xCE\xB1y"},
        {"MOV", "\x1B(NAB\xC0\x1B(B", mods, "\xD0\xB0\xD0\xB1\xD2\x91"},  // абґ, no degree sign
        {"MOV", "\x1B(Sb\x22" "a\x1B(B", mods, "\xCE\xB2\xCE\xB1\xCC\x81"},  // the acute on alpha
        {"MOV", "\x1B$)1\xA1\xB0\xA1\x1B)!E", mods, "\xE4\xB8\x80"},
        {"V", "Stra\xC7" "e \xC8" "5", mods, "Stra\xC3\x9F" "e \xE2\x82\xAC" "5"},
        {"V", "Stra\xC7" "e \xC8" "5", fieldForm(1), "Stra\xDF" "e \x80" "5"},
        {"V", "Stra\xC7" "e \xC8" "5", fieldForm(4), "Strasse euro5"},
        // The label stands outside the Cyrillic run, as RTF of its letters.
        {"MOV", "\x1B(N\x1B)!EAB\xC0" "CD\x1B(B", fieldForm(11), "\\u1073?<-degree->\\u1094?"},
    };
    for (const Case& c : cases)
        for (const char* set = c.sets; *set; ++set) {
            Utf8MarcRecordClass held;
            Utf8MarcRecordClass utf8;
            const std::string sSet(1, *set);
            ASSERT_TRUE(LoadHeldAndUtf8(Iso2709(kBibMarc8, FieldsHolding(c.text, false)), sSet.c_str(), held, utf8));
            const std::string shown = c.show(held);
            EXPECT_NE(shown.find(c.shown), std::string::npos) << Hex(c.text) << " in " << sSet << "\n" << shown;
        }
}

// Every record of the sample files, held in each 8-bit set: the MARC-8 files
// read as held, the UTF-8 files written into the set on their load.
TEST(OneReading, DocumentsAndDisplaysOfTheSampleRecordsAreTheUtf8Records) {
    testsupport::TempSettingsFolder folder;
    const std::string kSource = EXITDESK_SOURCE_DIR;
    struct SampleFile {
        const char* file;
        const char* set;
    };
    for (const auto [file, sIn] : {SampleFile{"bib-marc8.mrc", "M"}, SampleFile{"auth-marc8.mrc", "M"},
                                   SampleFile{"microlif.mrc", "M"}, SampleFile{"bib-utf8.mrc", "U"},
                                   SampleFile{"auth-utf8.mrc", "U"}}) {
        Utf8MarcFileClass reader;
        reader.OpenFile(kSource + "/testdata/records/" + file);
        std::string sRecord;
        int records = 0;
        while (reader.ReadNextRecord(sRecord))
            for (const char* sSet : {"M", "O", "V"}) {
                Utf8MarcRecordClass held;
                Utf8MarcRecordClass utf8;
                const std::string label = std::string(file) + " record " + std::to_string(records) + " in " + sSet;
                ASSERT_TRUE(LoadHeldAndUtf8(sRecord, sSet, held, utf8, sIn)) << label;
                CompareEveryDocumentAndDisplay(held, utf8, label);
                records += sSet[0] == 'V';
            }
        reader.CloseFile();
        EXPECT_GT(records, 0) << file;
    }
}

}  // namespace
