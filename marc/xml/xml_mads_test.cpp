// The MADS document of authority records (forms 1, 3 and 5): the heading
// kinds and sections as one table, a golden document, XPath checks of its
// structure, hostile values read back by libxml2 and xmllint, a MARC-8
// record, and Debian's sample records (bibliographic ones get MODS, the
// authority records of idzebra MADS).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kAuth;
using xml_test::Load;
using xml_test::Shell;
using xml_test::TaggedField;
using xml_test::XPathNumber;
using xml_test::XPathTexts;

const std::string kSource = EXITDESK_SOURCE_DIR;

// An authority record's 008 with the given thesaurus code at 008/11.
std::string Auth008(char thesaurus) {
    std::string s = "000906n| acannaabn          |a aaa      ";
    s[11] = thesaurus;
    return s;
}

// The heading as it stands inside its authority element.
std::string Authority(const std::string& heading) {
    return "\r\n\t\t<authority>\r\n" + heading + "\r\n\t\t</authority>";
}

std::string Related(const std::string& start, const std::string& heading) {
    return "\r\n\t\t" + start + "\r\n" + heading + "\r\n\t\t</related>";
}

std::string Variant(const std::string& type, const std::string& heading) {
    return "\r\n\t\t<variant type=\"" + type + "\">\r\n" + heading + "\r\n\t\t</variant>";
}

std::string Identifier(const std::string& type, const std::string& text) {
    return "\r\n\t\t\t<identifier type=\"" + type + "\">" + text + "</identifier>";
}

struct MadsCase {
    std::string what;
    char thesaurus;  // 008/11; '\0' for a record without 008
    std::vector<TaggedField> fields;
    std::vector<std::string> present = {};  // exact pieces of the document
    std::vector<std::string> absent = {};
    const char* cursorTag = nullptr;  // where the caller leaves the cursor
};

TEST(XmlMads, HeadingsAndSections) {
    testsupport::TempSettingsFolder folder;
    std::vector<MadsCase> cases = {
        {"a 100 with 008/11 a is a name of the name authority file: naf", 'a',
         {{"100", D("1 $aSmith, John,$d1900-1980.")}},
         {Authority("<name type=\"personal\" authority=\"naf\"><namePart>Smith, John,</namePart>"
                    "<namePart type=\"date\">1900-1980.</namePart></name>")}},
        {"a 100 with 008/11 n is naf too, whatever 040 $f says", 'n',
         {{"040", D("  $aDLC$flocal")}, {"100", D("1 $aSmith, J.")}},
         {Authority("<name type=\"personal\" authority=\"naf\"><namePart>Smith, J.</namePart></name>")}},
        {"a 150 with 008/11 a: lcsh", 'a', {{"150", D(" 0$aCats.")}},
         {Authority("<topic authority=\"lcsh\">Cats.</topic>")}},
        {"a 150 with 008/11 n: the 040 $f, escaped", 'n', {{"040", D("  $aDLC$floc&al")}, {"150", D(" 0$aCats.")}},
         {Authority("<topic authority=\"loc&amp;al\">Cats.</topic>")}},
        {"neither 008/11 nor 040 $f: no authority attribute", 'z', {{"150", D(" 0$aCats.")}},
         {Authority("<topic>Cats.</topic>")}},
        {"the caller's cursor on a field with $z does not decide the code", 'a',
         {{"150", D(" 0$aCats.")}, {"451", D(" 0$aParis$zFrance")}},
         {Authority("<topic authority=\"lcsh\">Cats.</topic>")}, {"naf"}, "451"},
        {"first indicator 0: given name; $b and $c terms of address", 'a',
         {{"100", D("0 $aJohn$bII,$cKing of England")}},
         {Authority("<name type=\"personal\" authority=\"naf\"><namePart type=\"given\">John</namePart>"
                    "<namePart type=\"termsOfAddress\">II, King of England</namePart></name>")}},
        {"first indicator 3: family name", 'a', {{"100", D("3 $aBach family.")}},
         {"<namePart type=\"family\">Bach family.</namePart>"}},
        {"corporate: every $b a part of its own, then c, d, n, p together", 'n',
         {{"110", D("2 $aCorp.$bOne.$cplace$bTwo.")}},
         {Authority("<name type=\"corporate\" authority=\"naf\"><namePart>Corp.</namePart><namePart>One.</namePart>"
                    "<namePart>Two.</namePart><namePart>place</namePart></name>")}},
        {"meeting with $n: the number is a name part and, in a titleInfo, a partNumber", 'n',
         {{"111", D("2 $aMeeting$n(2nd :$d1990)")}},
         {Authority("<name type=\"conference\" authority=\"naf\"><namePart>Meeting (2nd : 1990)</namePart></name>"
                    "<titleInfo><partNumber>(2nd : 1990)</partNumber></titleInfo>")}},
        {"name and title: one titleInfo holds title, partNumber and partName", 'a',
         {{"100", D("1 $aBach,$d1685-1750.$tWorks.$n1,$pOrgan.")}},
         {Authority("<name type=\"personal\" authority=\"naf\"><namePart>Bach,</namePart><namePart type=\"date\">"
                    "1685-1750.</namePart></name><titleInfo><title>Works.</title><partNumber>1,</partNumber>"
                    "<partName>Organ.</partName></titleInfo>")}},
        {"uniform title: the thesaurus on its titleInfo", 'a', {{"130", D(" 0$aBible.$pN.T.$lLatin.")}},
         {Authority("<titleInfo authority=\"naf\"><title>Bible.</title><partName>N.T. Latin.</partName></titleInfo>")}},
        {"uniform title of another thesaurus", 'c', {{"130", D(" 0$aBible.")}},
         {Authority("<titleInfo authority=\"mesh\"><title>Bible.</title></titleInfo>")}},
        {"subdivisions grouped by kind: $v, then $x, $y, $z, each in field order", 'a',
         {{"150", D(" 0$aCats$vA$xHistory$z<France>$y1900$vB")}},
         {Authority("<topic authority=\"lcsh\">Cats</topic><genre>A</genre><genre>B</genre><topic>History</topic>"
                    "<temporal>1900</temporal><geographic>&lt;France&gt;</geographic>")}},
        {"151 without a code: its first $a only, escaped", 'z', {{"151", D(" 0$aParis & co$aSecond")}},
         {Authority("<geographic>Paris &amp; co</geographic>")}, {"Second"}},
        {"151 with a code: from the first $a on", 'a', {{"151", D(" 0$aParis$aSecond")}},
         {Authority("<geographic authority=\"lcsh\">Paris Second</geographic>")}},
        {"155 with a code", 'k', {{"155", D(" 0$aPeriodicals.")}},
         {Authority("<genre authority=\"csh\">Periodicals.</genre>")}},
        {"148", 's', {{"148", D(" 0$a1900-1999")}}, {Authority("<temporal authority=\"sears\">1900-1999</temporal>")}},
        {"180: a heading of subdivisions", 'a', {{"180", D(" 0$xInventory control")}},
         {Authority("<topic>Inventory control</topic>")}},
        {"181, 182, 185 and their references", 'a',
         {{"185", D(" 0$vPeriodicals$xHistory")}, {"481", D(" 0$zParis")}, {"582", D(" 0$wg$y1900")}},
         {Authority("<genre>Periodicals</genre><topic>History</topic>"),
          Variant("other", "<geographic>Paris</geographic>"),
          Related("<related type=\"broader\">", "<temporal>1900</temporal>")}},
        {"see-also relations from $w", 'a',
         {{"150", D(" 0$aCats.")},
          {"500", D("1 $wb$aLater, A.")},
          {"500", D("1 $w$aEqual, B.")},
          {"500", D("1 $aOther, C.")},
          {"550", D(" 0$wg$aAnimals.")},
          {"510", D("2 $wh$aSub corp.")},
          {"530", D(" 0$wa$aOld title")}},
         {Related("<related type=\"later\">", "<name type=\"personal\"><namePart>Later, A.</namePart></name>"),
          Related("<related type=\"equivalent\">", "<name type=\"personal\"><namePart>Equal, B.</namePart></name>"),
          Related("<related type=\"other\">", "<name type=\"personal\"><namePart>Other, C.</namePart></name>"),
          Related("<related type=\"broader\">", "<topic>Animals.</topic>"),
          Related("<related type=\"narrower\">", "<name type=\"corporate\"><namePart>Sub corp.</namePart></name>"),
          Related("<related type=\"earlier\">", "<titleInfo><title>Old title</title></titleInfo>")}},
        {"see references: $w d an acronym, else other", 'a',
         {{"110", D("2 $aNational Library")}, {"410", D("2 $wd$aNL")}, {"410", D("2 $aLibrary, National")}},
         {Variant("acronym", "<name type=\"corporate\"><namePart>NL</namePart></name>"),
          Variant("other", "<name type=\"corporate\"><namePart>Library, National</namePart></name>")}},
        {"linking entries: thesaurus by second indicator; another 7XX keeps the code before it", 'a',
         {{"150", D(" 0$aCats.")},
          {"700", D("14$aSkipped, A.")},
          {"700", D("10$aSmith, J.")},
          {"781", D(" 0$zFrance")},
          {"748", D(" 0$a1900")},
          {"750", D(" 7$aFelines$2lo&c")},
          {"750", D(" 7$aNo source")},
          {"755", D(" 2$aPeriodicals")}},
         {Related("<related >", "<name type=\"personal\" authority=\"lcsh\"><namePart>Smith, J.</namePart></name>"),
          Related("<related >", "<geographic>France</geographic>"),
          Related("<related >", "<temporal authority=\"lcsh\">1900</temporal>"),
          Related("<related >", "<topic authority=\"lo&amp;c\">Felines</topic>"),
          Related("<related >", "<genre authority=\"mesh\">Periodicals</genre>")},
         {"Skipped", "No source"}},
        {"010 $a wins over a DNLM 035; 020 and 022 with $a", 'a',
         {{"010", D("  $an  00015403 ")},
          {"020", D("  $a0940450348")},
          {"020", D("  $cUSD 5")},
          {"022", D("  $a1234-5678")},
          {"035", D("  $a(DNLM)123")},
          {"150", D(" 0$aCats.")}},
         {Identifier("lccn", "n  00015403 ") + Identifier("isbn", "0940450348") + Identifier("issn", "1234-5678")},
         {"dnlm"}},
        {"without 010: the first DNLM 035 only", 'a',
         {{"035", D("  $a(OCoLC)1")},
          {"035", D("  $aNo (DNLM)1 here")},
          {"035", D("  $a(DNLM)2")},
          {"150", D(" 0$aCats.")}},
         {Identifier("dnlm", "No (DNLM)1 here")}, {"(DNLM)2"}},
        {"an 010 without $a gives no identifier, and no DNLM one either", 'a',
         {{"010", D("  $zn 1")}, {"035", D("  $a(DNLM)1")}, {"150", D(" 0$aCats.")}}, {}, {"<identifier"}},
        {"no 040, 005, 001 or 008: one empty creation date", '\0',
         {{"150", D(" 0$aCats.")}, {"670", D("  $aA source of some length.")}},
         {"\r\n\t\t<recordInfo>\r\n\t\t\t<recordCreationDate encoding=\"marc\"></recordCreationDate>"
          "\r\n\t\t</recordInfo>\r\n\t</mads>\r\n</madsCollection>"}},
        {"record information from 040, 008, 005, 001 and 003", 'a',
         {{"001", "n  001"},
          {"003", "DLC"},
          {"005", "20010915063228.0"},
          {"040", D("  $aDLC$beng$cDLC")},
          {"150", D(" 0$aCats.")}},
         {"\r\n\t\t<recordInfo>\r\n\t\t\t<recordContentSource authority=\"marcorg\">DLC</recordContentSource>"
          "\r\n\t\t\t<recordCreationDate encoding=\"marc\">000906</recordCreationDate>"
          "\r\n\t\t\t<recordChangeDate encoding=\"iso8601\">20010915063228.0</recordChangeDate>"
          "\r\n\t\t\t<recordIdentifier source=\"DLC\">n  001</recordIdentifier>"
          "\r\n\t\t\t<languageOfCataloging><languageTerm authority=\"iso639-2b\">eng</languageTerm>"
          "</languageOfCataloging>\r\n\t\t</recordInfo>"}},
        {"001 without 003", 'a', {{"001", "x1"}, {"150", D(" 0$aCats.")}},
         {"\r\n\t\t\t<recordIdentifier>x1</recordIdentifier>"}},
        {"a heading of no kind gives no authority element", 'a', {{"170", D(" 0$aNothing")}}, {}, {"<authority>"}},
    };
    // The thesaurus codes of 008/11.
    for (const auto& [c, code] : std::vector<std::pair<char, std::string>>{
             {'b', "lcshac"}, {'c', "mesh"}, {'d', "nal"}, {'k', "csh"}, {'s', "sears"}, {'v', "rvm"}})
        cases.push_back({std::string("008/11 ") + c, c, {{"150", D(" 0$aCats.")}},
                         {Authority("<topic authority=\"" + code + "\">Cats.</topic>")}});

    for (const MadsCase& c : cases) {
        std::vector<TaggedField> fields = c.fields;
        if (c.thesaurus != '\0') fields.insert(fields.begin(), {"008", Auth008(c.thesaurus)});
        Utf8MarcRecordClass record;
        Load(record, kAuth, fields);
        if (c.cursorTag) {
            ASSERT_TRUE(record.FldFindFirst(c.cursorTag, "")) << c.what;
        }
        const std::string sDocument = record.XMLRecordOut(1);
        for (const std::string& piece : c.present)
            EXPECT_NE(sDocument.find(piece), std::string::npos) << c.what << "\nwanted: " << piece << "\nin:\n"
                                                                << sDocument;
        for (const std::string& piece : c.absent)
            EXPECT_EQ(sDocument.find(piece), std::string::npos) << c.what << "\nunwanted: " << piece;
        EXPECT_TRUE(xml_test::Parse(sDocument)) << c.what << "\n" << sDocument;
        EXPECT_EQ(record.XMLRecordOut(3), sDocument) << c.what;
        EXPECT_EQ(record.XMLRecordOut(5), sDocument) << c.what;
        if (c.cursorTag) {
            EXPECT_EQ(record.FldTag(), c.cursorTag) << c.what;
        }
    }
}

// ---------------------------------------------------------------- golden document and structure

// A record that reaches every section.
const std::vector<TaggedField> kFull = {
    {"001", "n  00015403"},
    {"003", "DLC"},
    {"005", "20010915063228.0"},
    {"008", Auth008('a')},
    {"010", D("  $an  00015403")},
    {"020", D("  $a0940450348")},
    {"040", D("  $aDLC$beng$cDLC$dUk")},
    {"100", D("1 $aBach, Johann Sebastian,$d1685-1750.$tWorks.$n1,$pOrgan.")},
    {"400", D("1 $aBach, J. S.\tshort form")},
    {"410", D("2 $wd$aJSB")},
    {"430", D(" 0$aOrgan works")},
    {"500", D("1 $wb$aBach, Carl Philipp Emanuel")},
    {"510", D("2 $wg$aBach family & friends")},
    {"550", D(" 0$aComposers$zGermany$vBiography")},
    {"670", D("  $aGrove.")},
    {"700", D("10$aBach, Johann Sebastian")},
    {"750", D(" 7$aOrgan music$2local")},
    {"781", D(" 0$zLeipzig")},
};

TEST(XmlMads, GoldenDocumentAndStructure) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    Load(record, kAuth, kFull);
    const std::string sDocument = record.XMLRecordOut(1);
    const std::string path = kSource + "/testdata/xml/mads-form1.xml";
    if (std::getenv("EXITDESK_UPDATE_GOLDEN") != nullptr) testsupport::WriteFile(path, sDocument);
    EXPECT_EQ(sDocument, testsupport::ReadFile(path));
    EXPECT_EQ(Shell("xmllint --noout --nonet '" + path + "' 2>/dev/null"), 0);

    const xml_test::XmlDoc doc = xml_test::ExpectMadsStructure(sDocument);
    ASSERT_TRUE(doc);
    struct Check {
        const char* xpath;
        double expected;
    };
    const std::string m = "/mads:madsCollection/mads:mads/";
    for (const Check& c : std::vector<Check>{
             {"count(/mads:madsCollection/mads:mads/mads:authority/mads:name[@type='personal'][@authority='naf'])", 1},
             {"count(/mads:madsCollection/mads:mads/mads:authority/mads:name/mads:namePart)", 2},
             {"count(/mads:madsCollection/mads:mads/mads:authority/mads:titleInfo)", 1},
             {"count(/mads:madsCollection/mads:mads/mads:authority/mads:titleInfo/*)", 3},
             {"count(/mads:madsCollection/mads:mads/mads:authority/mads:titleInfo/mads:title[.='Works.'])", 1},
             {"count(//mads:title[not(parent::mads:titleInfo)])", 0},
             {"count(//mads:partNumber[not(parent::mads:titleInfo)])", 0},
             {"count(//mads:partName[not(parent::mads:titleInfo)])", 0},
             {"count(//mads:variant)", 3},
             {"count(//mads:variant[@type='acronym']/mads:name/mads:namePart[.='JSB'])", 1},
             {"count(//mads:variant[@type='other']/mads:titleInfo/mads:title[.='Organ works'])", 1},
             {"count(//mads:variant/mads:name/mads:namePart[@displayLabel='short form'])", 1},
             {"count(//mads:related)", 6},
             {"count(//mads:related[@type='later'])", 1},
             {"count(//mads:related[@type='broader']/mads:name[@type='corporate']/mads:namePart"
              "[.='Bach family & friends'])", 1},
             {"count(//mads:related[@type='other']/*)", 3},
             {"count(//mads:related[not(@type)])", 3},
             {"count(//mads:related[not(@type)]/mads:name[@authority='lcsh'])", 1},
             {"count(//mads:related[not(@type)]/mads:topic[@authority='local'])", 1},
             {"count(//mads:related[not(@type)]/mads:geographic[.='Leipzig'])", 1},
             {"count(/mads:madsCollection/mads:mads/mads:identifier)", 2},
             {"count(/mads:madsCollection/mads:mads/mads:recordInfo/*)", 5},
             {"count(//mads:url)", 0},
         })
        EXPECT_EQ(XPathNumber(doc.get(), c.xpath), c.expected) << c.xpath;
    EXPECT_EQ(XPathTexts(doc.get(), "/mads:madsCollection/@xsi:schemaLocation"),
              std::vector<std::string>{"http://www.loc.gov/mads/ http://www.loc.gov/standards/mads/mads.xsd"});
    // The sections stand in their order.
    std::vector<std::string> order;
    for (xmlNode* child = xmlDocGetRootElement(doc.get())->children; child; child = child->next)
        for (xmlNode* n = child->children; n; n = n->next)
            if (n->type == XML_ELEMENT_NODE && (order.empty() || order.back() != reinterpret_cast<const char*>(n->name)))
                order.emplace_back(reinterpret_cast<const char*>(n->name));
    EXPECT_EQ(order, (std::vector<std::string>{"authority", "related", "variant", "identifier", "recordInfo"}));
}

// ---------------------------------------------------------------- hostile values

TEST(XmlMads, HostileValuesGiveSoundDocuments) {
    testsupport::TempSettingsFolder folder;
    struct Hostile {
        const char* what;
        std::string value;
        bool bReadsBack;  // libxml2 gives the value back unchanged
    };
    const std::vector<Hostile> cases = {
        {"specials", "<a> & \"b\" 'c' &amp;", true},
        {"C0 controls", std::string("a\x01\x02\x0B") + "b", false},
        {"malformed UTF-8", "a\xC3\x28 \xFF\xE2\x82 b", false},
        {"Greek and CJK", "\xCE\xB1\xCE\xB2\xCE\xB3 \xE6\xBC\xA2\xE5\xAD\x97", true},
    };
    for (const Hostile& h : cases) {
        const std::string v = h.value;
        const std::string s = "\x1F";
        // 008/00-05 from the value, 008/11 "z" so that the 040 $f names the thesaurus.
        std::string s008 = (v + "      ").substr(0, 6) + "n| acz";
        s008.resize(40, ' ');
        const std::vector<TaggedField> fields = {
            {"001", v},
            {"003", v},
            {"005", v},
            {"008", s008},
            {"020", "  " + s + "a" + v},
            {"022", "  " + s + "a" + v},
            {"035", "  " + s + "a(DNLM)" + v},
            {"040", "  " + s + "a" + v + s + "b" + v + s + "f" + v},
            {"150", " 0" + s + "a" + v + "\t" + v + s + "<" + v + s + "&" + v + s + "x" + v + "\t" + v + s + "y" + v +
                        s + "z" + v + s + "v" + v},
            {"400", "1 " + s + "w" + v + s + "a" + v + s + "b" + v + s + "d" + v + s + "t" + v + s + "n" + v},
            {"410", "2 " + s + "a" + v + s + "b" + v + s + "c" + v},
            {"411", "2 " + s + "a" + v + s + "n" + v + s + "p" + v},
            {"430", " 0" + s + "a" + v + s + "p" + v},
            {"451", " 0" + s + "a" + v},
            {"455", " 0" + s + "a" + v},
            {"448", " 0" + s + "a" + v},
            {"480", " 0" + s + "x" + v},
            {"500", "1 " + s + "w" + v + s + "a" + v},
            {"751", " 7" + s + "a" + v + s + "2" + v},
            {"755", " 7" + s + "a" + v + s + "2" + v},
        };
        Utf8MarcRecordClass record;
        Load(record, kAuth, fields);
        for (int form : {1, 3, 5}) {
            const std::string sDocument = record.XMLRecordOut(form);
            const xml_test::XmlDoc doc = xml_test::ExpectMadsStructure(sDocument, h.what + std::to_string(form));
            ASSERT_TRUE(doc) << h.what;
            if (!h.bReadsBack) continue;
            for (const char* xpath : {"//mads:authority/mads:topic/@authority", "//mads:related/mads:geographic/@authority",
                                      "//mads:related/mads:genre/@authority", "//mads:recordIdentifier",
                                      "//mads:recordIdentifier/@source", "//mads:recordCreationDate",
                                      "//mads:recordChangeDate", "//mads:recordContentSource",
                                      "//mads:languageTerm", "//mads:identifier[@type='isbn']",
                                      "//mads:variant/mads:geographic", "//mads:authority/mads:topic[1]/@displayLabel"}) {
                const std::vector<std::string> texts = XPathTexts(doc.get(), xpath);
                ASSERT_FALSE(texts.empty()) << h.what << " " << xpath;
                // The creation date holds the first six octets only.
                const std::string expected = std::string(xpath) == "//mads:recordCreationDate" ? v.substr(0, 6) : v;
                EXPECT_EQ(texts[0], expected) << h.what << " " << xpath;
            }
        }
    }
}

// A MARC-8 record under output set "M": the document is UTF-8, the set stays.
TEST(XmlMads, Marc8RecordComesOutInUtf8) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    // E2 is the MARC-8 acute, written before its letter.
    Load(record, "00000nz   2200000n  4500",
         {{"001", "x"}, {"008", Auth008('z')}, {"040", D("  $aDLC$fl\xE2" "ocal")}, {"150", D(" 0$aCaf\xE2" "e & co")},
          {"450", D(" 0$aD\xE2" "ej\xE2" "a vu")}},
         "M");
    for (int form : {1, 3, 5}) {
        const std::string sDocument = record.XMLRecordOut(form);
        EXPECT_NE(sDocument.find("<topic authority=\"lo\xCC\x81" "cal\">Cafe\xCC\x81 &amp; co</topic>"),
                  std::string::npos)
            << sDocument;
        EXPECT_NE(sDocument.find("<topic>De\xCC\x81ja\xCC\x81 vu</topic>"), std::string::npos) << sDocument;
        xml_test::ExpectMadsStructure(sDocument, "MARC-8");
        EXPECT_EQ(record.CharacterSetOut(), "M");
    }
}

// ---------------------------------------------------------------- Debian's sample records

// Every record of a file that loads.
std::vector<std::string> RecordsOf(const std::string& path) {
    std::vector<std::string> records;
    Utf8MarcFileClass reader;
    reader.OpenFile(path);
    std::string sRecord;
    while (reader.ReadNextRecord(sRecord)) records.push_back(sRecord);
    return records;
}

TEST(XmlMads, BibliographicSamplesGetModsNotMads) {
    testsupport::TempSettingsFolder folder;
    const std::string path = "/usr/share/doc/libmarc-perl/examples/microlif.001";
    if (!std::filesystem::exists(path)) GTEST_FAIL() << path << " is missing: scripts/install-deps.sh installs it";
    const int loaded = xml_test::ForEachLoadedRecord(path, [](Utf8MarcRecordClass& record, const std::string&) {
        for (int form : {1, 3, 5}) {
            const std::string sDocument = record.XMLRecordOut(form);
            xml_test::ExpectModsStructure(sDocument, "microlif form " + std::to_string(form));
            EXPECT_EQ(sDocument.find("madsCollection"), std::string::npos);
        }
    });
    EXPECT_GT(loaded, 0);
}

TEST(XmlMads, IdzebraAuthoritiesGiveMadsWithAnAuthority) {
    testsupport::TempSettingsFolder folder;
    if (Shell("command -v yaz-marcdump > /dev/null") != 0) GTEST_SKIP() << "yaz-marcdump is not installed";
    bool bInventoryControl = false;
    for (const char* name : {"collection-namemrc", "collection-subjmrc"}) {
        const std::string gz = std::string("/usr/share/doc/idzebra-2.0/examples/marcxml/") + name + ".xml.gz";
        if (!std::filesystem::exists(gz)) {
            ADD_FAILURE() << gz << " is missing: scripts/install-deps.sh installs it";
            continue;
        }
        const std::string xml = folder.File(std::string(name) + ".xml"), mrc = folder.File(std::string(name) + ".mrc");
        ASSERT_EQ(Shell("zcat '" + gz + "' > '" + xml + "'"), 0);
        ASSERT_EQ(Shell("yaz-marcdump -i marcxml -o marc -l 9=97 '" + xml + "' > '" + mrc + "' 2>/dev/null"), 0);
        const std::vector<std::string> records = RecordsOf(mrc);
        ASSERT_FALSE(records.empty()) << name;
        for (size_t i = 0; i < records.size(); ++i) {
            const std::string what = std::string(name) + " record " + std::to_string(i);
            Utf8MarcRecordClass record;
            record.MarcRecordIn(records[i]);
            ASSERT_FALSE(record.MarcRecordIn().empty()) << what << ": " << record.IsMarcErrorText();
            ASSERT_EQ(record.MarcRecordFormat(), "A") << what;
            const std::string sDocument = record.XMLRecordOut(1);
            const xml_test::XmlDoc doc = xml_test::ExpectMadsStructure(sDocument, what);
            EXPECT_EQ(record.XMLRecordOut(3), sDocument) << what;
            EXPECT_EQ(record.XMLRecordOut(5), sDocument) << what;
            if (doc && XPathNumber(doc.get(), "count(//mads:authority/mads:topic[.='Inventory control'])") == 1)
                bInventoryControl = true;
        }
    }
    // The one 180 among them has its subdivision as its heading.
    EXPECT_TRUE(bInventoryControl);
}

}  // namespace
