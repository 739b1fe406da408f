// The element builders through the MODS name members, and the Dublin Core
// documents (RDF and OAI): golden documents, hostile values read back by
// libxml2, xmllint and rapper, the small oai_dc schema and XPath checks.
#include <gtest/gtest.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/record_test_access.h"
#include "marc/xml/xml_test_support.h"

namespace {

using record_test::Iso2709;
using xml_test::D;
using xml_test::kAuth;
using xml_test::kBib;
using xml_test::kHold;
using xml_test::TaggedField;

const std::string kSource = EXITDESK_SOURCE_DIR;

using xml_test::Load;
using xml_test::Shell;
using xml_test::XPathNumber;

// ---------------------------------------------------------------- MODS names

struct NameCase {
    const char* what;
    char member;  // 'P' personal, 'C' corporate, 'F' conference, 'G' generic with sField
    std::string tag, data, role, type, authority, field;
    std::string expected;  // what is appended to sOut after "\r\n\t\t"
};

TEST(XmlBuilders, NameMembersAndTheWalk) {
    testsupport::TempSettingsFolder folder;
    const std::string q = "\"";
    const std::vector<NameCase> cases = {
        {"personal: $d between $a and $b passed over by the $a walk; dates, terms, role from $e",
         'P', "100", D("1 $aSmith,$qJ.$dd1$bIII,$cSir$edirector."), "", "personal", "naf", "",
         "<name type=\"personal\" authority=\"naf\"><namePart>Smith, J.</namePart><namePart type=\"date\">d1"
         "</namePart><namePart type=\"termsOfAddress\">III, Sir</namePart><role><roleTerm type=\"text\">"
         "director.</roleTerm></role></name>"},
        {"personal: $a only, no type or authority gives <name > with the blank", 'P', "700", D("1 $aA & B"), "",
         "", "", "", "<name ><namePart>A &amp; B</namePart></name>"},
        {"personal: a caller's role wins over $e and is escaped", 'P', "700", D("1 $aA$eignored"), "R&D <x>", "",
         "", "", "<name ><namePart>A</namePart><role><roleTerm type=\"text\">R&amp;D &lt;x&gt;</roleTerm></role></name>"},
        {"personal: $4 a coded role term, $u an affiliation, $9 a display form, labels never written", 'P', "100",
         D("1 $aA\tlabel&$4aut$uUniv & Co$9A., disp"), "", "", "", "",
         "<name ><namePart>A</namePart><role><roleTerm type=\"code\" authority=\"marcrelator\">aut</roleTerm>"
         "</role><affiliation>Univ &amp; Co</affiliation><displayForm>A., disp</displayForm></name>"},
        {"personal: no $a gives nothing", 'P', "100", D("1 $dd1$bIII"), "", "personal", "", "", ""},
        {"corporate: every $b its own part, in field order, then c/d/n", 'C', "110",
         D("2 $aCorp.$bOne.$cplace$bTwo.$n3$ecomp."), "", "corporate", "", "",
         "<name type=\"corporate\"><namePart>Corp.</namePart><namePart>One.</namePart><namePart>Two.</namePart>"
         "<namePart>place 3</namePart><namePart>comp.</namePart></name>"},
        {"conference: one part of acdenq; $4 a role", 'F', "111", D("2 $aMeet$n(2nd :$d1990 :$cRome)$4orm"), "",
         "conference", "", "",
         "<name type=\"conference\"><namePart>Meet (2nd : 1990 : Rome)</namePart><role><roleTerm type=\"code\" "
         "authority=\"marcrelator\">orm</roleTerm></role></name>"},
        {"generic: an authority with a double quote is pasted in after the type", 'G', "100", D("1 $aA"), "", "personal",
         " authority=" + q + "x" + q, "<namePart>P</namePart>",
         "<name type=\"personal\" authority=\"x\"><namePart>P</namePart></name>"},
        {"generic: authority alone", 'G', "100", D("1 $aA"), "", "", "naf", "<namePart>P</namePart>",
         "<name authority=\"naf\"><namePart>P</namePart></name>"},
        {"generic: an empty run writes nothing", 'G', "100", D("1 $aA"), "role", "personal", "naf", "", ""},
    };
    for (const NameCase& c : cases) {
        Utf8MarcRecordClass record;
        Load(record, kBib, {{"001", "x"}, {c.tag, c.data}});
        ASSERT_TRUE(record.FldFindFirst(c.tag, ""));
        std::string sOut = "head", sCrlf = "\r\n\t\t", sAuthority = c.authority;
        switch (c.member) {
            case 'P': record.XmlModsAssembleNamePersonal(sOut, c.role, c.type, sCrlf, sAuthority); break;
            case 'C': record.XmlModsAssembleNameCorporate(sOut, c.role, c.type, sCrlf, sAuthority); break;
            case 'F': record.XmlModsAssembleNameConference(sOut, c.role, c.type, sCrlf, sAuthority); break;
            default: record.XmlModsAssembleNameGeneric(sOut, c.field, c.type, c.role, sCrlf, sAuthority); break;
        }
        EXPECT_EQ(sOut, c.expected.empty() ? "head" : "head\r\n\t\t" + c.expected) << c.what;
        if (!c.expected.empty() && c.member != 'G') {
            EXPECT_TRUE(xml_test::Parse(c.expected)) << c.what;
        }
    }
}

// ---------------------------------------------------------------- Dublin Core documents

// A record that reaches every step of both documents.
const std::vector<TaggedField> kFull = {
    {"001", "ocm0001 & 2"},
    {"008", "850913s1986    nyu           00110 eng  "},
    {"020", D("  $a0940450348 (v. 1)$cUSD 5")},
    {"020", D("  $a978094045034")},
    {"041", D("0 $aengfre$hgerit$ba&b")},
    {"050", D("00$aPS1300$b.A1")},
    {"100", D("1 $aSmith, A.\tlabel$d1900-")},
    {"245", D("10$aThe title :$bsub /$cby A.")},
    {"245", D("10$aSecond title.")},
    {"246", D("3 $aOther title")},
    {"260", D("  $aNew York :$bPub,$c1986$gprinted 1987")},
    {"300", D("  $a100 p.")},
    {"500", D("  $aA note & more.")},
    {"533", D("  $aPhotocopy.$d1990.$eMicrofilm <35mm>")},
    {"540", D("  $aFree use.")},
    {"546", D("  $bLatin script.")},
    {"600", D("10$aSmith, A.$xBiography.")},
    {"650", D(" 0$aCats$zFrance$xHistory$vJuvenile.")},
    {"651", D(" 0$aParis.")},
    {"690", D(" 0$aLocal.")},
    {"700", D("1 $aJones, B.")},
    {"786", D("0 $oOrig$tSource title")},
    {"856", D("40$qtext/html$uhttp://x.org/?a=1&b=2")},
};

TEST(XmlDublinCore, GoldenDocumentsWellFormedRdfAndOaiSchema) {
    testsupport::TempSettingsFolder folder;
    const bool bUpdate = std::getenv("EXITDESK_UPDATE_GOLDEN") != nullptr;
    for (const auto& [form, name] : {std::pair{2, "dc-rdf"}, std::pair{4, "dc-oai"}}) {
        Utf8MarcRecordClass record;
        Load(record, kBib, kFull);
        const std::string sDocument = record.XMLRecordOut(form);
        const std::string path = kSource + "/testdata/xml/" + name + ".xml";
        if (bUpdate) testsupport::WriteFile(path, sDocument);
        EXPECT_EQ(sDocument, testsupport::ReadFile(path)) << name;
        EXPECT_EQ(Shell("xmllint --noout --nonet '" + path + "' 2>/dev/null"), 0) << name;
        if (form == 2)
            EXPECT_EQ(Shell("rapper -q -i rdfxml -c '" + path + "' >/dev/null 2>&1"), 0) << name;
        else
            EXPECT_EQ(Shell("xmllint --noout --nonet --schema '" + kSource +
                            "/testdata/schemas/oai_dc_small.xsd' '" + path + "' 2>/dev/null"),
                      0)
                << name;
    }
}

TEST(XmlDublinCore, Structure) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    Load(record, kBib, kFull);
    const xml_test::XmlDoc rdf = xml_test::Parse(record.XMLRecordOut(2));
    ASSERT_TRUE(rdf);
    struct Check {
        const char* xpath;
        double expected;
    };
    for (const Check& c : std::vector<Check>{
             {"count(/rdf:RDF/rdf:Description)", 1},
             {"count(/rdf:RDF/*)", 1},
             {"count(/rdf:RDF/rdf:Description/@*)", 0},
             {"count(//dc:*[@*])", 0},
             {"count(/rdf:RDF/rdf:Description/dc:title)", 2},
             {"count(//dc:subject/rdf:Description/dcq:subjectQualifier)", 4},
             {"count(//dc:subject/rdf:Description[dcq:subjectQualifier='topical']/rdf:value"
              "[.='Cats -- France -- History -- Juvenile.'])", 1},
             {"count(//dc:language)", 6},  // eng fre ger (the "it" dropped), a&b, the note, 008
             {"count(//dc:language[.='a&b'])", 1},
             {"count(//dc:format[.='Microfilm <35mm>'])", 1},
             {"count(//dc:date)", 4},
         })
        EXPECT_EQ(XPathNumber(rdf.get(), c.xpath), c.expected) << c.xpath;

    const xml_test::XmlDoc oai = xml_test::Parse(record.XMLRecordOut(4));
    ASSERT_TRUE(oai);
    for (const Check& c : std::vector<Check>{
             {"count(/oai_dc:dc)", 1},
             {"count(/oai_dc:dc/*[namespace-uri()!='http://purl.org/dc/elements/1.1/'])", 0},
             {"count(//dc:identifier[.='ocm0001 & 2'])", 1},
             {"count(//dc:identifier[.='URN:ISBN:0940450348'])", 1},
             {"count(//dc:identifier[starts-with(.,'URN:ISBN:978')])", 0},  // 12 octets, no blank
             {"count(//dc:rights[.='Free use.'])", 1},
             {"count(//dc:description[.='Free use.'])", 1},
             {"count(//dc:date)", 3},  // dated by the 260 $c: no 008 date
         })
        EXPECT_EQ(XPathNumber(oai.get(), c.xpath), c.expected) << c.xpath;
    // The control number comes after the contributors and before any subject.
    const std::string sOai = record.XMLRecordOut(4);
    EXPECT_LT(sOai.find("<dc:contributor>"), sOai.find("<dc:identifier>ocm0001"));
    EXPECT_LT(sOai.find("<dc:identifier>ocm0001"), sOai.find("<dc:subject>"));
}

TEST(XmlDublinCore, OaiIsbnIsTheLeadingRunOfDigitsAndX) {
    testsupport::TempSettingsFolder folder;
    struct Case {
        std::string a;     // the 020 $a
        std::string isbn;  // "" for no identifier
    };
    const std::vector<Case> cases = {
        {"0-306-40615-2", "0306406152"},
        {"0 306 40615 2", "0306406152"},
        {"2268040259 (br.)", "2268040259"},
        {"978-0-306-40615-7", "9780306406157"},
        {"978 0 306 40615 7 (pbk.)", "9780306406157"},
        {"9780306406157 : $10.00", "9780306406157"},
        {"080442957x", "080442957X"},
        {"0-8044-2957-X (v. 2)", "080442957X"},
        {"0940450348", "0940450348"},
        {"978094045034", ""},            // 12 characters
        {"0-306-40615-2 9780306406157", ""},  // blanks between runs join them: 23 characters
        {"(pbk.) 0306406152", ""},       // no leading run
        {"", ""},
        {"03064061521", ""},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        Load(record, kBib, {{"001", "x"}, {"020", D("  $a" + c.a + "$cUSD 5")}, {"245", D("10$aT.")}});
        const xml_test::XmlDoc doc = xml_test::Parse(record.XMLRecordOut(4));
        ASSERT_TRUE(doc) << c.a;
        const std::vector<std::string> expected =
            c.isbn.empty() ? std::vector<std::string>{} : std::vector<std::string>{"URN:ISBN:" + c.isbn};
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), "//dc:identifier[starts-with(., 'URN:ISBN:')]"), expected) << c.a;
    }
}

TEST(XmlDublinCore, KindsWithoutDocumentAndCursorKept) {
    testsupport::TempSettingsFolder folder;
    for (const std::string& leader : {kAuth, kHold}) {
        Utf8MarcRecordClass record;
        Load(record, leader, {{"001", "x"}, {"100", D("1 $aA$dB")}});
        record.FldFindFirst("100", "");
        record.SfdFindFirst("d", "");
        EXPECT_EQ(record.XMLRecordOut(2), "");
        EXPECT_EQ(record.XMLRecordOut(4), "");
        EXPECT_EQ(record.SfdCode(), "d");
    }
    Utf8MarcRecordClass record;
    Load(record, kBib, kFull);
    record.FldFindFirst("650", "");
    record.SfdFindFirst("x", "");
    record.XMLRecordOut(2);
    EXPECT_EQ(record.FldTag(), "650");
    EXPECT_EQ(record.SfdCode(), "x");
}

// Hostile values in every place a document takes text from; each document
// must be well-formed, pass rapper (RDF) or the small schema (OAI).
TEST(XmlDublinCore, HostileValuesGiveSoundDocuments) {
    testsupport::TempSettingsFolder folder;
    struct Hostile {
        const char* what;
        std::string value;
        const char* set = "U";
    };
    const std::vector<Hostile> cases = {
        {"specials", "<a> & \"b\" 'c' &amp;"},
        {"label with specials", "text\t<lab> & \"q\""},
        {"C0 controls", std::string("a\x01\x02\x0B") + "b"},
        {"malformed UTF-8", "a\xC3\x28 \xFF\xE2\x82 b"},
        {"Greek and CJK", "\xCE\xB1\xCE\xB2\xCE\xB3 \xE6\xBC\xA2\xE5\xAD\x97"},
        {"superscript zero", "30\xE2\x81\xB0"},
    };
    for (const Hostile& h : cases) {
        const std::string v = h.value;
        const std::string s = "\x1F";
        const std::vector<TaggedField> fields = {
            {"001", v},
            {"008", "850913s1986    nyu           00110 " + v.substr(0, 3) + "  "},
            {"020", "  " + s + "a" + v},
            {"041", "0 " + s + "a" + v},
            {"050", "00" + s + "a" + v},
            {"100", "1 " + s + "a" + v},
            {"245", "10" + s + "a" + v + s + "b" + v},
            {"260", "  " + s + "a" + v + s + "b" + v + s + "c" + v},
            {"533", "  " + s + "d" + v + s + "e" + v},
            {"540", "  " + s + "a" + v},
            {"546", "  " + s + "a" + v},
            {"650", " 0" + s + "a" + v + s + "x" + v},
            {"786", "0 " + s + "t" + v},
            {"856", "40" + s + "q" + v + s + "u" + v},
        };
        for (int form : {2, 4}) {
            Utf8MarcRecordClass record;
            Load(record, kBib, fields);
            const std::string sDocument = record.XMLRecordOut(form);
            EXPECT_TRUE(xml_test::Parse(sDocument)) << h.what << " form " << form;
            const std::string path = folder.File("hostile.xml");
            testsupport::WriteFile(path, sDocument);
            EXPECT_EQ(Shell("xmllint --noout --nonet '" + path + "' 2>/dev/null"), 0) << h.what << form;
            if (form == 2)
                EXPECT_EQ(Shell("rapper -q -i rdfxml -c '" + path + "' >/dev/null 2>&1"), 0) << h.what;
            else
                EXPECT_EQ(Shell("xmllint --noout --nonet --schema '" + kSource +
                                "/testdata/schemas/oai_dc_small.xsd' '" + path + "' 2>/dev/null"),
                          0)
                    << h.what;
            EXPECT_EQ(sDocument.find("\xE2\x81\xB0"), std::string::npos);
        }
    }
}

// A MARC-8 record under output set "M": every text converted to UTF-8, the
// 041 codes cut by characters.
TEST(XmlDublinCore, Marc8RecordComesOutInUtf8) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    // E2 is the MARC-8 acute, written before its letter.
    Load(record, "00000nam  2200000 a 4500",
         {{"001", "x"}, {"245", D("10$aCaf\xE2" "e & co")}, {"650", D(" 0$aD\xE2" "ej\xE2" "a vu")}}, "M");
    for (int form : {2, 4}) {
        const std::string sDocument = record.XMLRecordOut(form);
        EXPECT_NE(sDocument.find("Cafe\xCC\x81 &amp; co"), std::string::npos) << sDocument;
        EXPECT_TRUE(xml_test::Parse(sDocument));
        EXPECT_EQ(record.CharacterSetOut(), "M");
    }
}

}  // namespace
