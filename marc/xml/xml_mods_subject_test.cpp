// The MODS document's subject and classification sections: the subject
// headings with their names, titles and subdivisions, the coded and
// cartographic subjects, the classification table, and hostile or 8-bit
// values read back by libxml2.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using record_test::TaggedField;

// What an XPath expression finds: an element as "name=text", an attribute
// as its value; in document order.
std::vector<std::string> Found(xmlDoc* doc, const std::string& expression) {
    std::vector<std::string> found;
    xmlXPathContext* context = xmlXPathNewContext(doc);
    xml_test::RegisterNamespaces(context);
    xmlXPathObject* result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context);
    EXPECT_TRUE(result && result->type == XPATH_NODESET) << expression;
    if (result && result->type == XPATH_NODESET && result->nodesetval)
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlNode* node = result->nodesetval->nodeTab[i];
            const std::string text = xml_test::Content(node);
            found.push_back(node->type == XML_ELEMENT_NODE ? reinterpret_cast<const char*>(node->name) + ("=" + text)
                                                           : text);
        }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return found;
}

// The document's lines that begin with the prefix after CR LF and two TABs.
std::vector<std::string> Lines(const std::string& sDocument, const std::string& prefix) {
    std::vector<std::string> lines;
    const std::string start = "\r\n\t\t" + prefix;
    for (size_t at = sDocument.find(start); at != std::string::npos; at = sDocument.find(start, at + 1)) {
        const size_t end = sDocument.find("\r\n", at + 2);
        lines.push_back(sDocument.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4));
    }
    return lines;
}

struct Case {
    const char* what;
    std::vector<TaggedField> fields;
    // An XPath expression and everything it must find, in order.
    std::vector<std::pair<std::string, std::vector<std::string>>> expect;
    // Lines of the document that must be present, exactly.
    std::vector<std::string> lines = {};
};

// Runs each case through form 1 and checks the structure, the XPath
// expectations and the exact lines; form 5 gives the same subject and
// classification lines, and a second call gives the same document.
void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A control number keeps the shortest records loadable.
        std::vector<TaggedField> fields = {{"001", "subject-test"}};
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        Utf8MarcRecordClass record;
        xml_test::Load(record, kBib, fields);
        const std::string sDocument = record.XMLRecordOut(1);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        if (!doc) continue;
        for (const auto& [expression, expected] : c.expect)
            EXPECT_EQ(Found(doc.get(), expression), expected) << expression << "\n" << sDocument;
        for (const std::string& line : c.lines)
            EXPECT_NE(sDocument.find("\r\n\t\t" + line + "\r\n"), std::string::npos) << line << "\n" << sDocument;
        const std::string sLocal = record.XMLRecordOut(5);
        for (const char* prefix : {"<subject", "<classification"})
            EXPECT_EQ(Lines(sLocal, prefix), Lines(sDocument, prefix)) << prefix;
        EXPECT_EQ(record.XMLRecordOut(1), sDocument);
    }
}

const std::string kSubject = "//mods:subject";

TEST(XmlModsSubject, AuthorityFromSecondIndicator) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
        {"0", {"lcsh"}}, {"1", {"lcshac"}}, {"2", {"mesh"}}, {"3", {"nal"}}, {"4", {}}, {"5", {"csh"}},
        {"6", {"rvm"}},  {" ", {}},         {"7", {"local"}}, {"9", {}}};
    for (const char* tag : {"600", "610", "611", "630", "650", "651"})
        for (const auto& [indicator, authority] : table) {
            const std::string what = std::string(tag) + " second indicator '" + indicator + "'";
            RunCases({{what.c_str(),
                       {{tag, D("1" + indicator + "$aHeading$2local")}},
                       {{kSubject + "/@authority", authority}}}});
        }
    RunCases({
        {"indicator 7 without $2 gives no authority",
         {{"650", D(" 7$aCats")}},
         {{kSubject + "/@authority", {}}, {kSubject, {"subject=Cats"}}}},
        {"indicator 7 takes the first $2",
         {{"650", D(" 7$aCats$2fast$2other")}},
         {{kSubject + "/@authority", {"fast"}}}},
        {"indicator 7 with the $2 before the heading still takes the whole field",
         {{"650", D(" 7$2gnd$aCats$xHistory")}},
         {{kSubject + "/@authority", {"gnd"}}, {kSubject + "/*", {"topic=Cats", "topic=History"}}}},
        {"a 653 never has an authority",
         {{"653", D(" 0$aKeyword$2fast")}},
         {{kSubject + "/@authority", {}}, {kSubject + "/*", {"topic=Keyword"}}}},
    });
}

TEST(XmlModsSubject, Headings) {
    RunCases({
        {"650 with $a and $x on one line",
         {{"650", D(" 0$aCats$xBehavior.")}},
         {{kSubject + "/*", {"topic=Cats", "topic=Behavior."}}},
         {"<subject authority=\"lcsh\"><topic>Cats</topic><topic>Behavior.</topic></subject>"}},
        {"650 $a $b $c $d in one topic, subdivisions in field order",
         {{"650", D(" 0$aArt$bMedieval$zFrance$xHistory$vPictorial works$y500-1500$dx")}},
         {{kSubject + "/*",
           {"topic=Art Medieval x", "geographic=France", "topic=History", "genre=Pictorial works",
            "temporal=500-1500"}}}},
        {"600 with $a, $d and $x",
         {{"600", D("10$aSmith, John,$d1900-1980$xHomes.")}},
         {{kSubject + "/mods:name/@type", {"personal"}},
          {kSubject + "/mods:name/*", {"namePart=Smith, John,", "namePart=1900-1980"}},
          {kSubject + "/mods:name/mods:namePart/@type", {"date"}},
          {kSubject + "/*", {"name=Smith, John,1900-1980", "topic=Homes."}}},
         {"<subject authority=\"lcsh\"><name type=\"personal\"><namePart>Smith, John,</namePart>"
          "<namePart type=\"date\">1900-1980</namePart></name><topic>Homes.</topic></subject>"}},
        {"600 terms of address, every $a and $q in one part",
         {{"600", D("00$aJohn$bII,$cKing,$qJ.$d1167-1216")}},
         {{kSubject + "/mods:name/*",
           {"namePart=John J.", "namePart=II, King,", "namePart=1167-1216"}}}},
        {"600 with only $c as terms of address",
         {{"600", D("00$aPius$cSaint")}},
         {{kSubject + "/mods:name/mods:namePart[@type='termsOfAddress']", {"namePart=Saint"}}}},
        {"600 roles: $e as a text term, $4 as a marcrelator code, $u an affiliation",
         {{"600", D("10$aDoe, Jane$eeditor$4edt$uUniversity")}},
         {{kSubject + "/mods:name/mods:role/mods:roleTerm[@type='text']", {"roleTerm=editor"}},
          {kSubject + "/mods:name/mods:role/mods:roleTerm[@type='code'][@authority='marcrelator']",
           {"roleTerm=edt"}},
          {kSubject + "/mods:name/mods:affiliation", {"affiliation=University"}},
          {kSubject + "/mods:role", {}}}},
        {"600 with only subdivisions gives no name",
         {{"600", D("10$vBiography$xJuvenile literature")}},
         {{kSubject + "/*", {"genre=Biography", "topic=Juvenile literature"}}}},
        {"610 with two $b and a $c",
         {{"610", D("20$aUnited States.$bCongress.$bSenate.$c(Washington)$eauthor$4aut$xHistory")}},
         {{kSubject + "/mods:name/@type", {"corporate"}},
          {kSubject + "/mods:name/mods:namePart",
           {"namePart=United States.", "namePart=Congress.", "namePart=Senate.", "namePart=(Washington)"}},
          {kSubject + "/mods:name/mods:role/mods:roleTerm", {"roleTerm=author", "roleTerm=aut"}},
          {kSubject + "/mods:topic", {"topic=History"}}}},
        {"610 $c $d $n $p in one part",
         {{"610", D("10$aChurch.$nNo. 2$dParis$pArchive")}},
         {{kSubject + "/mods:name/mods:namePart", {"namePart=Church.", "namePart=No. 2 Paris Archive"}}}},
        {"611 in one part with a coded role only",
         {{"611", D("20$aCongress$n(3rd :$d1990 :$cRome)$eSecretariat$4org$vCongresses")}},
         {{kSubject + "/mods:name/@type", {"conference"}},
          {kSubject + "/mods:name/mods:namePart",
           {"namePart=Congress (3rd : 1990 : Rome) Secretariat"}},
          {kSubject + "/mods:name/mods:role/mods:roleTerm[@type='code']", {"roleTerm=org"}},
          {kSubject + "//mods:roleTerm[@type='text']", {}},
          {kSubject + "/mods:genre", {"genre=Congresses"}}}},
        {"630 with $a, $n and $p: the parts inside titleInfo after the title",
         {{"630", D("00$aBible.$nPart 2.$pPsalms.$xCriticism")}},
         {{kSubject + "/*", {"titleInfo=Bible.Part 2.Psalms.", "topic=Criticism"}},
          {kSubject + "/mods:titleInfo/*", {"title=Bible.", "partNumber=Part 2.", "partName=Psalms."}},
          {kSubject + "/mods:partNumber | " + kSubject + "/mods:partName", {}}},
         {"<subject authority=\"lcsh\"><titleInfo><title>Bible.</title><partNumber>Part 2.</partNumber>"
          "<partName>Psalms.</partName></titleInfo><topic>Criticism</topic></subject>"}},
        {"630 $f before the $n joins the title, after it the part",
         {{"630", D("00$aHymns$fEnglish$nNo. 1$fLatin")}},
         {{kSubject + "/mods:titleInfo/*", {"title=Hymns English", "partNumber=No. 1 Latin"}}}},
        {"630 without title subfields still gives an empty titleInfo",
         {{"630", D("00$xCriticism")}},
         {{kSubject + "/mods:titleInfo", {"titleInfo="}}},
         {"<subject authority=\"lcsh\"><titleInfo></titleInfo><topic>Criticism</topic></subject>"}},
        {"630 with a coded role after its titleInfo",
         {{"630", D("04$aBeowulf$4aut")}},
         {{kSubject + "/*", {"titleInfo=Beowulf", "role=aut"}}}},
        {"651 writes only its first $a",
         {{"651", D(" 0$aFrance$aGaul$zParis$yHistory")}},
         {{kSubject + "/*", {"geographic=France", "geographic=Paris", "temporal=History"}}}},
        {"653 gives a topic for each $a and no subdivisions",
         {{"653", D("  $aone$atwo$xnot a subdivision$athree")}},
         {{kSubject + "/*", {"topic=one", "topic=two", "topic=three"}}}},
        {"653 without $a gives nothing", {{"653", D("  $bx")}}, {{kSubject, {}}}},
        {"other 6XX fields give nothing here",
         {{"654", D(" 0$aTerm")}, {"657", D(" 7$aFunction$2local")}, {"690", D(" 0$aLocal")},
          {"655", D(" 7$aGenre$2lcgft")}, {"656", D(" 7$2lcsh")}},
         {{kSubject, {}}}},
        {"a label after a TAB becomes displayLabel",
         {{"650", D(" 0$aCats\tSee also&more$xHistory")}},
         {{kSubject + "/mods:topic/@displayLabel", {"See also&more"}},
          {kSubject + "/*", {"topic=Cats", "topic=History"}}}},
        {"several fields in record order",
         {{"651", D(" 0$aItaly")}, {"650", D(" 0$aArt")}, {"600", D("10$aDante")}},
         {{kSubject + "/*", {"geographic=Italy", "topic=Art", "name=Dante"}}}},
    });
}

TEST(XmlModsSubject, CodedAndCartographicPasses) {
    RunCases({
        {"045 indicator 0 writes its first $b",
         {{"045", D("0 $ad6d7$bd1850$bd1860")}},
         {{kSubject + "/mods:temporal[@encoding='iso8601']", {"temporal=d1850"}}},
         {"<subject><temporal encoding=\"iso8601\">d1850</temporal></subject>"}},
        {"045 indicator 1 writes every $b",
         {{"045", D("1 $bd1850$cx$bd1860")}},
         {{kSubject, {"subject=d1850", "subject=d1860"}}}},
        {"045 indicator 2 writes a start and an end",
         {{"045", D("2 $bd1850$bd1860$bd1870")}},
         {{kSubject + "/mods:temporal/@point", {"start", "end"}},
          {kSubject + "/mods:temporal", {"temporal=d1850", "temporal=d1860"}}},
         {"<subject><temporal encoding=\"iso8601\" point=\"start\">d1850</temporal></subject>",
          "<subject><temporal encoding=\"iso8601\" point=\"end\">d1860</temporal></subject>"}},
        {"045 indicator 2 with one $b writes only the start",
         {{"045", D("2 $bd1850")}},
         {{kSubject + "/mods:temporal/@point", {"start"}}}},
        {"045 with a blank indicator gives nothing", {{"045", D("  $bd1850")}}, {{kSubject, {}}}},
        {"only the first 045 is read",
         {{"045", D("  $bd1850")}, {"045", D("1 $bd1900")}},
         {{kSubject, {}}}},
        {"043 codes, each a subject of its own",
         {{"043", D("  $an-us---$ae-fr---$bx$cFR")}, {"043", D("  $aa-ja---")}},
         {{kSubject + "/mods:geographicCode", {"geographicCode=n-us---", "geographicCode=e-fr---",
                                               "geographicCode=FR"}},
          {kSubject + "/mods:geographicCode/@authority", {"marcgac", "marcgac", "iso3166"}}},
         {"<subject><geographicCode authority=\"marcgac\">n-us---</geographicCode></subject>"}},
        {"752 places in subfield order",
         {{"752", D("  $aUnited States$bNew York$dNew York$hEarth")}, {"752", D("  $aEngland$cKent")}},
         {{kSubject + "/mods:hierarchicalGeographic/*",
           {"country=United States", "state=New York", "city=New York", "country=England", "county=Kent"}}},
         {"<subject><hierarchicalGeographic><country>United States</country><state>New York</state>"
          "<city>New York</city></hierarchicalGeographic></subject>"}},
        {"752 without place subfields gives nothing", {{"752", D("  $hEarth")}}, {{kSubject, {}}}},
        {"034 coordinates joined into one element",
         {{"034", D("1 $aa$b22000$dW1800000$eE1800000$fN0840000$gS0700000")}},
         {{kSubject + "/mods:cartographics/*", {"coordinates=W1800000 E1800000 N0840000 S0700000"}}}},
        {"034 without $d, $e, $f or $g gives nothing", {{"034", D("0 $aa$b22000")}}, {{kSubject, {}}}},
        {"255 $a, $b and $c each a subject",
         {{"255", D("  $aScale 1:22,000,000$bMiller projection$c(W 180--E 180/N 84--S 70)$zx")}},
         {{kSubject + "/mods:cartographics/*",
           {"scale=Scale 1:22,000,000", "coordinates=", "projection=Miller projection",
            "coordinates=(W 180--E 180/N 84--S 70)"}},
          {kSubject, {"subject=Scale 1:22,000,000", "subject=Miller projection",
                      "subject=(W 180--E 180/N 84--S 70)"}}},
         {"<subject><cartographics><scale>Scale 1:22,000,000</scale><coordinates></coordinates>"
          "</cartographics></subject>",
          "<subject><cartographics><projection>Miller projection</projection></cartographics></subject>"}},
        {"656 writes its first $a, a 656 without $a nothing",
         {{"656", D(" 7$aLibrarians.$aArchivists.$2itoamc")}, {"656", D(" 7$2itoamc")}},
         {{kSubject + "/*", {"occupation=Librarians."}}}},
        {"the passes in their order, whatever the record's order",
         {{"656", D(" 7$aNurses.")}, {"255", D("  $bMercator")}, {"034", D("0 $dW1")},
          {"752", D("  $aCanada")}, {"043", D("  $an-cn---")}, {"045", D("0 $bd1900")},
          {"650", D(" 0$aMaps.")}},
         {{kSubject + "/*",
           {"topic=Maps.", "temporal=d1900", "geographicCode=n-cn---", "hierarchicalGeographic=Canada",
            "cartographics=W1", "cartographics=Mercator", "occupation=Nurses."}}}},
    });
}

TEST(XmlModsSubject, DeletedFieldsGiveNothing) {
    const std::vector<TaggedField> fields = {
        {"600", D("10$aName")},     {"650", D(" 0$aTopic")},       {"653", D("  $aTerm")},
        {"045", D("0 $bd1850")},    {"043", D("  $an-us---")},     {"752", D("  $aCountry")},
        {"034", D("0 $dW1")},       {"255", D("  $aScale")},       {"656", D(" 7$aJob")},
        {"050", D("00$aQA76$b.A1")}, {"082", D("04$a005$222")},    {"084", D("  $aX1$2rvk")}};
    Utf8MarcRecordClass record;
    xml_test::Load(record, kBib, fields);
    for (const std::string tag : {"600", "650", "653", "045", "043", "752", "034", "255", "656", "050", "082", "084"}) {
        ASSERT_TRUE(record.FldFindFirst(tag, "")) << tag;
        record.FldDelete();
    }
    const std::string sDocument = record.XMLRecordOut(1);
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument);
    ASSERT_TRUE(doc);
    EXPECT_EQ(Found(doc.get(), kSubject), std::vector<std::string>{}) << sDocument;
    EXPECT_EQ(Found(doc.get(), "//mods:classification"), std::vector<std::string>{}) << sDocument;
}

const std::string kClass = "//mods:classification";

TEST(XmlModsClassification, Table) {
    RunCases({
        {"050 joins $a and $b",
         {{"050", D("00$aQA76.73$b.C153")}},
         {{kClass + "/@authority", {"lcc"}}, {kClass, {"classification=QA76.73 .C153"}}},
         {"<classification authority=\"lcc\">QA76.73 .C153</classification>"}},
        {"050 with two $a and a $b in field order",
         {{"050", D("00$aPS3545$aPS3546$b.A1$3v. 1")}},
         {{kClass, {"classification=PS3545 PS3546 .A1"}}}},
        {"082 with $2 gives the edition",
         {{"082", D("04$a005.133$222$a005.13")}},
         {{kClass + "/@edition", {"22"}}, {kClass, {"classification=005.133 005.13"}}},
         {"<classification authority=\"ddc\" edition=\"22\">005.133 005.13</classification>"}},
        {"082 without $2 has no edition", {{"082", D("04$a005.133")}}, {{kClass + "/@edition", {}}, {kClass + "/@authority", {"ddc"}}}},
        {"080 takes $x too",
         {{"080", D("  $a821.111$bAB$x(075)")}},
         {{kClass + "/@authority", {"udc"}}, {kClass, {"classification=821.111 AB (075)"}}}},
        {"060", {{"060", D("00$aW 100$bB1")}}, {{kClass + "/@authority", {"nlm"}}, {kClass, {"classification=W 100 B1"}}}},
        {"086 first indicator 0", {{"086", D("0 $aA 1.1:$b2")}}, {{kClass + "/@authority", {"sudocs"}}, {kClass, {"classification=A 1.1: 2"}}}},
        {"086 first indicator 1", {{"086", D("1 $aZ1-1$22")}}, {{kClass + "/@authority", {"candocs"}}}},
        {"086 blank indicator with $2: only its $a",
         {{"086", D("  $aHE 20.6209:$bx$2ordocs")}},
         {{kClass + "/@authority", {"ordocs"}}, {kClass, {"classification=HE 20.6209:"}}}},
        {"086 blank indicator without $2 gives nothing", {{"086", D("  $aHE 20")}}, {{kClass, {}}}},
        {"084 with $2",
         {{"084", D("  $aST 250$bJ35$2rvk")}},
         {{kClass + "/@authority", {"rvk"}}, {kClass, {"classification=ST 250 J35"}}}},
        {"084 without $2 gives nothing", {{"084", D("  $aST 250")}}, {{kClass, {}}}},
        {"050 holding only $3 gives nothing", {{"050", D("00$3v. 1")}}, {{kClass, {}}}},
        {"other 0XX fields give nothing",
         {{"001", "ctl1"}, {"008", "000000s2000    xxu           000 0 eng d"}, {"020", D("  $a0123456789")},
          {"035", D("  $a(OCoLC)1")}, {"040", D("  $aDLC")}, {"055", D("00$aQA1")}, {"070", D("0 $aSF1")}},
         {{kClass, {}}}},
        {"several fields in record order, labels as displayLabel",
         {{"082", D("04$a900\tDewey")}, {"050", D("00$aD1")}, {"050", D("00$aD2")}},
         {{kClass, {"classification=900", "classification=D1", "classification=D2"}},
          {kClass + "/@displayLabel", {"Dewey"}}}},
    });
}

// Values with markup, quotes, ampersands, references and a control octet in
// every subfield that these sections read, the authorities and the edition
// included: each comes back from libxml2 as it was (the control octet as
// U+FFFD).
TEST(XmlModsSubject, HostileValuesReadBack) {
    const std::string h = "<b a='1'>&amp; \"q\" ]]> \x01 &#x26;";
    const std::string read = "<b a='1'>&amp; \"q\" ]]> " + xml_test::kFffd + " &#x26;";
    const auto f = [&](const std::string& head, const std::string& codes) {
        std::string s = head;
        for (char code : codes) s += "\x1F" + std::string(1, code) + h;
        return s;
    };
    const std::vector<TaggedField> fields = {
        {"600", f("17", "ade4u2")}, {"610", f("10", "ab")},   {"611", f("10", "a")},
        {"630", f("00", "anp")},    {"650", f("07", "2avxyz")}, {"651", f("00", "a")},
        {"653", f("  ", "a")},      {"045", f("2 ", "b")},   {"043", f("  ", "ac")},
        {"752", f("  ", "abcd")},   {"034", f("1 ", "d")},   {"255", f("  ", "abc")},
        {"656", f(" 7", "a")},      {"050", f("00", "a")},   {"082", f("04", "a2")},
        {"084", f("  ", "2a")},     {"086", f("  ", "a2")}};
    Utf8MarcRecordClass record;
    xml_test::Load(record, kBib, fields);
    for (const int form : {1, 5}) {
        const std::string sDocument = record.XMLRecordOut(form);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "hostile");
        ASSERT_TRUE(doc);
        // Every leaf of these sections holds the value once, but the empty
        // coordinates element after a scale: 30 in the subjects (600: 5,
        // 610: 2, 611: 1, 630: 3, 650: 5, 651, 653, 045: 1 each, 043: 2,
        // 752: 4, 034: 1, 255: 3, 656: 1) and 4 classifications.
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kSubject +
                                                      "//*[not(*)][not(self::mods:coordinates and "
                                                      "preceding-sibling::mods:scale)] | " +
                                                      kClass),
                  std::vector<std::string>(34, read));
        // The two subject authorities from $2, the 082 edition, the 084 and
        // 086 authorities.
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kSubject + "[@authority != 'lcsh']/@authority | " + kClass + "/@edition | " + kClass +
                                                      "[not(@authority='lcc' or @authority='ddc')]/@authority"),
                  std::vector<std::string>(5, read));
        EXPECT_EQ(xml_test::XPathNumber(doc.get(), "count(" + kSubject + "//mods:roleTerm)"), 2);
        EXPECT_EQ(xml_test::XPathNumber(doc.get(), "count(" + kSubject + "/mods:titleInfo/mods:partName)"), 1);
    }
}

// A MARC-8 record: the texts, the authority and the edition come out in UTF-8.
TEST(XmlModsSubject, EightBitRecordInUtf8) {
    Utf8MarcRecordClass record;
    xml_test::Load(record, "00000nam  2200000 a 4500",
                   {{"001", "marc8"}, {"650", D(" 7$aCaf\xE2" "e & bar$2r\xE8" "ameau")}, {"082", D("04$a944$2\xE2" "ed")},
                    {"045", D("0 $b\xE2" "e")}},
                   "M");
    const std::string sDocument = record.XMLRecordOut(1);
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "MARC-8");
    ASSERT_TRUE(doc);
    EXPECT_EQ(Found(doc.get(), kSubject + "/*"),
              (std::vector<std::string>{"topic=Cafe\xCC\x81 & bar", "temporal=e\xCC\x81"}));
    EXPECT_EQ(Found(doc.get(), kSubject + "/@authority"), std::vector<std::string>{"ra\xCC\x88meau"});
    EXPECT_EQ(Found(doc.get(), kClass + "/@edition"), std::vector<std::string>{"e\xCC\x81" "d"});
    EXPECT_EQ(record.CharacterSetOut(), "M");
}

// Debian's sample records: every subject and classification written holds
// only the children these sections make, and none is empty.
TEST(XmlModsSubject, SampleRecords) {
    const std::string gz = "/usr/share/doc/idzebra-2.0/examples/marc21/sample-marc.gz";
    if (!std::filesystem::exists(gz)) GTEST_SKIP() << "idzebra-2.0-examples is not installed";
    const std::string path = ::testing::TempDir() + "subject-sample-marc.mrc";
    ASSERT_EQ(xml_test::Shell("zcat '" + gz + "' > '" + path + "'"), 0);
    int subjects = 0;
    xml_test::ForEachLoadedRecord(path, [&](Utf8MarcRecordClass& record, const std::string&) {
        if (record.MarcRecordFormat() == "A") return;
        for (const int form : {1, 5}) {
            const std::string sDocument = record.XMLRecordOut(form);
            const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "sample-marc");
            if (!doc) continue;
            subjects += static_cast<int>(xml_test::XPathNumber(doc.get(), "count(" + kSubject + ")"));
            EXPECT_EQ(Found(doc.get(),
                            kSubject + "/*[not(self::mods:topic or self::mods:geographic or self::mods:temporal or "
                                       "self::mods:genre or self::mods:name or self::mods:titleInfo or "
                                       "self::mods:geographicCode or self::mods:hierarchicalGeographic or "
                                       "self::mods:cartographics or self::mods:occupation)]"),
                      std::vector<std::string>{});
            EXPECT_EQ(Found(doc.get(), kSubject + "[not(*)] | " + kClass + "[not(@authority)] | " + kClass +
                                           "[string-length(normalize-space(.)) = 0]"),
                      std::vector<std::string>{});
        }
    });
    EXPECT_GT(subjects, 0);
}

}  // namespace
