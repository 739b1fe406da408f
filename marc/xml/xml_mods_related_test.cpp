// The MODS document's related items: series, constituent works, the original
// of a reproduction, related electronic resources and the linking entries,
// read back with libxml2 and checked element by element.
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
using xml_test::kBib;
using xml_test::TaggedField;

const std::string kItem = "/mods:modsCollection/mods:mods/mods:relatedItem";

// An XPath expression ("R" at its start standing for the related items) and
// the texts of the nodes it must find, in document order.
struct Check {
    std::string xpath;
    std::vector<std::string> texts;
};

struct Case {
    const char* what;
    std::vector<TaggedField> fields;
    std::vector<Check> checks;
};

std::string Expand(const std::string& xpath) { return xpath[0] == 'R' ? kItem + xpath.substr(1) : xpath; }

// The document of a book holding the fields after its 001 and 245.
std::string Document(Utf8MarcRecordClass& record, const std::vector<TaggedField>& fields, int form = 1,
                     const char* sSet = "U") {
    std::vector<TaggedField> all = {{"001", "related1"}, {"245", D("10$aThe book.")}};
    all.insert(all.end(), fields.begin(), fields.end());
    // Leader/09 blank for a MARC-8 record.
    xml_test::Load(record, std::string(sSet) == "U" ? kBib : "00000nam  2200000 a 4500", all, sSet);
    return record.XMLRecordOut(form);
}

void RunCases(const std::vector<Case>& cases, const std::string& sNuc = "") {
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        if (!sNuc.empty()) record.Nuc(sNuc);
        const std::string sDocument = Document(record, c.fields);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        if (!doc) continue;
        for (const Check& check : c.checks)
            EXPECT_EQ(xml_test::XPathTexts(doc.get(), Expand(check.xpath)), check.texts)
                << c.what << ": " << check.xpath << "\n"
                << sDocument;
    }
}

TEST(XmlModsRelated, SeriesStatements) {
    RunCases({
        {"440 title and volume",
         {{"440", D(" 0$aSeries ;$vv. 1")}},
         {{"R/@type", {"series"}}, {"R/mods:titleInfo/mods:title", {"Series ;"}},
          {"R/mods:titleInfo/mods:partNumber", {"v. 1"}}}},
        {"440 keeps its first volume",
         {{"440", D(" 0$aSeries$vv. 1$vv. 2")}},
         {{"R/mods:titleInfo/mods:partNumber", {"v. 1"}}}},
        {"440 whose first subfield is not $a",
         {{"440", D(" 0$61$aSeries$vv. 2")}},
         {{"R/mods:titleInfo/mods:title", {}}, {"R/mods:titleInfo/mods:partNumber", {"v. 2"}}}},
        {"440 without $a and $v",
         {{"440", D(" 0$x1234-5678")}},
         {{"R/@type", {"series"}}, {"R/mods:titleInfo", {""}}}},
        {"490 titles each with a volume",
         {{"490", D("0 $aFirst$v1$aSecond$v2$v2a")}},
         {{"R/@type", {}},
          {"R/mods:titleInfo/mods:title", {"First", "Second"}},
          {"R/mods:titleInfo/mods:partNumber", {"1", "2 2a"}}}},
        {"490 title after title",
         {{"490", D("0 $aFirst$aSecond")}},
         {{"R[1]/@type", {}},
          {"R[2]/@type", {"series"}},
          {"R/mods:titleInfo/mods:title", {"First", "Second"}},
          {"R/mods:title", {}}}},
        {"490 volume before any title",
         {{"490", D("0 $v9$aOnly")}},
         {{"R/@type", {"series"}}, {"R/mods:titleInfo/mods:title", {"Only"}}, {"R//mods:partNumber", {}}}},
        {"490 traced", {{"490", D("1 $aTraced$v1")}, {"490", D("  $aBlank")}}, {{"R", {}}}},
    });
}

TEST(XmlModsRelated, NameTitlesAndTitles) {
    RunCases({
        {"700 without $t", {{"700", D("1 $aName, Ann.")}}, {{"R", {}}}},
        {"700 with $t",
         {{"700", D("12$aName, Ann,$d1900-$tWorks.$nPart 1.$pPoems.")}},
         {{"R/@type", {"constituent"}},
          {"R/mods:titleInfo/mods:title", {"Works."}},
          {"R/mods:titleInfo/mods:partNumber", {"Part 1.", "Poems."}},
          {"R/mods:name/@type", {"personal"}},
          {"R/mods:name/@authority", {"naf"}},
          {"R/mods:name/mods:namePart", {"Name, Ann,", "1900-"}},
          {"R/mods:name/mods:role/mods:roleTerm[@type='text']", {"Contributor"}}}},
        {"700 with $e",
         {{"700", D("1 $aName.$eeditor.$tWorks.")}},
         {{"R/mods:name/mods:role/mods:roleTerm", {"editor."}}}},
        {"710 with $e and $4",
         {{"710", D("2 $aBody.$tReport.$eissuer$4isb")}},
         {{"R/mods:name/@type", {"corporate"}}, {"R/mods:name/mods:role/mods:roleTerm[@type='text']", {"isb"}}}},
        {"711 without $4",
         {{"711", D("2 $aMeeting$tProceedings.")}},
         {{"R/mods:name/@type", {"conference"}}, {"R/mods:name/mods:role", {}}}},
        {"800 with $v",
         {{"800", D("1 $aName.$tSeries ;$vv. 3.$nNew series.")}},
         {{"R/@type", {"series"}},
          {"R/mods:titleInfo/mods:partNumber", {"v. 3.", "New series."}},
          {"R/mods:name/mods:role/mods:roleTerm", {"Contributor"}}}},
        {"800 without $v after one with it",
         {{"800", D("1 $aName.$tOne ;$vv. 3.")}, {"800", D("1 $aName.$tTwo.")}},
         {{"R[2]/mods:titleInfo/mods:title", {"Two."}}, {"R[2]//mods:partNumber", {}}}},
        {"811 with $4",
         {{"811", D("2 $aMeeting.$tSeries.$4orm")}},
         {{"R/mods:name/mods:role/mods:roleTerm[@type='text']", {"orm"}}}},
        {"730 analytical",
         {{"730", D("02$aUniform.$nPart 2.$hsound recording.$x1234-5678")}},
         {{"R/@type", {"constituent"}},
          {"R/mods:title", {}},
          {"R/mods:titleInfo/mods:title", {"Uniform."}},
          {"R/mods:titleInfo/mods:partNumber", {"Part 2."}},
          {"R/mods:physicalDescription/mods:form", {"sound recording."}},
          {"R/mods:identifier[@type='issn']", {"1234-5678"}},
          {"R/mods:titleInfo/*[not(self::mods:title or self::mods:partNumber)]", {}}}},
        {"740 analytical",
         {{"740", D("02$aAdded title.$pPart.$hvideo.")}},
         {{"R/@type", {"constituent"}},
          {"R/mods:titleInfo/mods:title", {"Added title."}},
          {"R/mods:titleInfo/mods:partNumber", {"Part."}},
          {"R/mods:physicalDescription/mods:form", {"video."}},
          {"R/mods:titleInfo/mods:physicalDescription", {}}}},
        {"730 and 740 not analytical", {{"730", D("0 $aUniform.")}, {"740", D("01$aOther.")}}, {{"R", {}}}},
        {"830 with volume, form and ISSN",
         {{"830", D(" 0$aSeries ;$vno. 5.$hmicroform.$x2345-6789")}},
         {{"R/@type", {"series"}},
          {"R/mods:titleInfo/mods:title", {"Series ;"}},
          {"R/mods:titleInfo/mods:partNumber", {"no. 5."}},
          {"R/mods:identifier[@type='issn']", {"2345-6789"}},
          {"R/mods:physicalDescription/mods:form", {"microform."}},
          {"R/mods:titleInfo/mods:identifier", {}}}},
        {"534 with $p only", {{"534", D("  $pOriginal version:")}}, {{"R", {}}}},
        {"534 original",
         {{"534", D("  $pOriginal:$aAuthor, A.$tOld title.$bEd. 2.$cPublisher,$x3456-7890$z0123456789")}},
         {{"R/@type", {"original"}},
          {"R/mods:title", {}},
          {"R/mods:titleInfo/mods:title", {"Old title."}},
          {"R/mods:name/mods:namePart", {"Author, A."}},
          {"R/mods:originInfo/mods:publisher", {"Publisher,"}},
          {"R/mods:originInfo/mods:edition", {"Ed. 2."}},
          {"R/mods:identifier[@type='issn']", {"3456-7890"}},
          {"R/mods:identifier[@type='isbn']", {"0123456789"}}}},
        {"856 related resource",
         {{"856", D("42$qtext/html$uhttp://example.org/")}},
         {{"R/@type", {}},
          {"R/mods:physicalDescription/mods:internetMediaType", {"text/html"}},
          {"R/mods:internetMediaType", {}}}},
        {"856 not related, or without $q",
         {{"856", D("40$qtext/html")}, {"856", D("42$uhttp://example.org/")}, {"510", D("4 $aIndex.")}},
         {{"R", {}}}},
        {"fields in record order",
         {{"440", D(" 0$aOne")}, {"490", D("0 $aTwo")}, {"700", D("1 $aN.$tThree")}, {"773", D("0 $tFour")},
          {"830", D(" 0$aFive")}},
         {{"R/@type", {"series", "series", "constituent", "host", "series"}}}},
    });
}

TEST(XmlModsRelated, LinkingEntries) {
    RunCases({
        {"776 other format",
         {{"776", D("08$iOnline version:$aAuthor, A.$tTitle.$w(XYZ)123")}},
         {{"R/@type", {"otherFormat"}},
          {"R/@displayLabel", {"Online version:"}},
          {"R/mods:name/mods:namePart", {"Author, A."}},
          {"R/mods:name/mods:role/mods:roleTerm[@type='text']", {"creator"}},
          {"R/mods:titleInfo/mods:title", {"Title."}},
          {"R/mods:identifier", {}}}},
        {"787 with $w only", {{"787", D("08$w(ABC)1")}}, {{"R/@type", {}}, {"R/mods:titleInfo", {""}}}},
        {"773 with $3 and $i", {{"773", D("0 $iIn:$3Part one$tHost.")}}, {{"R/@displayLabel", {"Part one"}}}},
        {"773 with $t, $g and $q",
         {{"773", D("0 $tJournal.$gVol. 2, no. 3$q2:3<45")}},
         {{"R/@type", {"host"}},
          {"R/mods:titleInfo/mods:title", {"Journal."}},
          {"R/mods:titleInfo/mods:partNumber", {"Vol. 2, no. 3"}},
          {"R/mods:part/mods:text", {"Vol. 2, no. 3"}},
          {"R/mods:part/mods:detail/mods:number", {"2", "3<45"}},
          {"R/mods:part/mods:detail/@level", {"1", "2"}}}},
        {"780 with $t, $p and $s",
         {{"780", D("00$tEarlier.$pAbbr.$sUniform.$g1990")}},
         {{"R/@type", {"preceding"}},
          {"R/mods:titleInfo[not(@type)]/mods:title", {"Earlier."}},
          {"R/mods:titleInfo[not(@type)]/mods:partNumber", {"1990"}},
          {"R/mods:titleInfo[@type='abbreviated']/mods:title", {"Abbr.", "Uniform."}},
          {"R//mods:titleInfo/mods:titleInfo", {}}}},
        {"775 with $f, $d, $b and $e",
         {{"775", D("0 $tOther.$bEd.$dPlace : Pub.$fgw$eger")}},
         {{"R/@type", {"otherVersion"}},
          {"R/mods:originInfo/mods:place/mods:placeTerm[@type='code']", {"gw"}},
          {"R/mods:originInfo/mods:publisher", {"Place : Pub."}},
          {"R/mods:originInfo/mods:edition", {"Ed."}},
          {"R/mods:language/mods:languageTerm[@authority='iso639-2b'][@type='code']", {"ger"}}}},
        {"776 with $e and $f",
         {{"776", D("0 $tOther.$eger$fgw")}},
         {{"R/mods:language", {}}, {"R/mods:originInfo", {}}}},
        {"760 and 765 with $o",
         {{"760", D("0 $tMain series.$o12$h300 p.$nNote.")}, {"765", D("0 $tOriginal.$o34")}},
         {{"R[1]/mods:identifier[not(@type)]", {"12"}},
          {"R[1]/mods:physicalDescription/mods:extent", {"300 p."}},
          {"R[1]/mods:note", {"Note."}},
          {"R[2]/@type", {}},
          {"R[2]/mods:identifier", {}}}},
        {"786 with $j",
         {{"786", D("0 $tSource.$j19991231")}},
         {{"R/@type", {"original"}}, {"R/mods:subject/mods:temporal[@encoding='iso8601']", {"19991231"}}}},
        {"785 with $x and $z",
         {{"785", D("00$tLater.$x1111-2222$z0123456789$z9876543210")}},
         {{"R/@type", {"succeeding"}},
          {"R/mods:identifier[@type='issn']", {"1111-2222"}},
          {"R/mods:identifier[@type='isbn']", {"0123456789 9876543210"}}}},
        {"other tags between 760 and 787", {{"761", D("0 $tNothing.")}, {"788", D("0 $tNothing.")}}, {{"R", {}}}},
    });
}

TEST(XmlModsRelated, LocalIdentifierFromTheInstitutionsCode) {
    RunCases({{"776 whose $w holds the code",
          {{"776", D("08$aAuthor.$tTitle.$w(XYZ)123$w(ABC)9")}},
          {{"R/mods:identifier[@type='local']", {"(XYZ)123 (ABC)9"}}}},
         {"776 whose first $w lacks it",
          {{"776", D("08$tTitle.$w(ABC)9$w(XYZ)123")}},
          {{"R/mods:identifier", {}}}}},
        "XYZ");
}

TEST(XmlModsRelated, HostPartDetails) {
    const struct {
        const char* q;
        std::vector<std::string> numbers;
        std::vector<std::string> extent;
    } cases[] = {
        {"12:3:45", {"12", "3", "45"}, {}},
        {"1:2:3:4:5", {"1", "2", "3"}, {"4:5"}},
        {"12", {"12"}, {}},
        {"12:", {"12"}, {}},
        {":7", {"", "7"}, {}},
        {"a&b:c", {"a&b", "c"}, {}},
    };
    for (const auto& c : cases) {
        Utf8MarcRecordClass record;
        const std::string sDocument = Document(record, {{"773", D("0 $tHost.$q") + c.q}});
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.q);
        if (!doc) continue;
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "/mods:part/mods:detail/mods:number"), c.numbers) << c.q;
        std::vector<std::string> levels;
        for (size_t i = 1; i <= c.numbers.size(); ++i) levels.push_back(std::to_string(i));
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "/mods:part/mods:detail/@level"), levels) << c.q;
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "/mods:part/mods:extent/mods:start"), c.extent) << c.q;
    }
}

TEST(XmlModsRelated, HostIdentifierByPrefix) {
    const struct {
        const char* id;
        const char* type;
        const char* content;
    } cases[] = {
        {"doi10.1000/182", "doi", "10.1000/182"},
        {"doi:10.1000/182", "doi", ":10.1000/182"},
        {"hdl1721.1/5", "hdl", "1721.1/5"},
        {"urn:doi10.1/x", "doi", "10.1/x"},
        {"urn:hdl1721.1/5", "hdl", "1721.1/5"},
        {"DOI10.1000/182", "unknown", "DOI10.1000/182"},
        {"urn:isbn:123", "unknown", "urn:isbn:123"},
        {"hdl1/<a href=\"x\">&'", "hdl", "1/<a href=\"x\">&'"},
    };
    for (const auto& c : cases) {
        Utf8MarcRecordClass record;
        const std::string sDocument = Document(record, {{"773", D("0 $tHost.$9") + c.id}, {"776", D("0 $9doi1")}});
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.id);
        if (!doc) continue;
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "/mods:identifier/@type"), std::vector<std::string>{c.type})
            << c.id;
        EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "/mods:identifier"), std::vector<std::string>{c.content})
            << c.id;
    }
}

// The exact lines of the items, the name on a line of its own; the local
// profile changes nothing here; a second document of a record without labels
// is the same.
TEST(XmlModsRelated, LinesAndForms) {
    Utf8MarcRecordClass record;
    const std::string sDocument = Document(record, {{"440", D(" 0$aSeries$vv. 1")},
                                                    {"490", D("0 $aOne$v1$aTwo$aThree")},
                                                    {"700", D("1 $aName, A.$tWorks.")},
                                                    {"773", D("0 $iIn:$tHost.$9hdl1/2$q1:2")}});
    const std::string kLines =
        "\r\n\t\t<relatedItem type=\"series\"><titleInfo><title>Series</title><partNumber>v. 1</partNumber>"
        "</titleInfo></relatedItem>"
        "\r\n\t\t<relatedItem><titleInfo><title>One</title><partNumber>1</partNumber></titleInfo></relatedItem>"
        "\r\n\t\t<relatedItem><titleInfo><title>Two</title></titleInfo></relatedItem>"
        "\r\n\t\t<relatedItem type=\"series\"><titleInfo><title>Three</title></titleInfo></relatedItem>"
        "\r\n\t\t<relatedItem type=\"constituent\"><titleInfo><title>Works.</title></titleInfo>"
        "\r\n\t\t<name type=\"personal\" authority=\"naf\"><namePart>Name, A.</namePart>"
        "<role><roleTerm type=\"text\">Contributor</roleTerm></role></name></relatedItem>"
        "\r\n\t\t<relatedItem type=\"host\" displayLabel=\"In:\"><titleInfo><title>Host.</title></titleInfo>"
        "<identifier type=\"hdl\">1/2</identifier><part><detail level=\"1\"><number>1</number></detail>"
        "<detail level=\"2\"><number>2</number></detail></part></relatedItem>";
    EXPECT_NE(sDocument.find(kLines), std::string::npos) << sDocument;
    xml_test::ExpectModsStructure(sDocument);
    EXPECT_EQ(record.XMLRecordOut(1), sDocument);
    const std::string sLocal = record.XMLRecordOut(5);
    EXPECT_NE(sLocal.find(kLines), std::string::npos) << sLocal;
    // A deleted field gives nothing.
    ASSERT_TRUE(record.FldFindFirst("700", ""));
    record.FldDelete();
    const std::string sAfter = record.XMLRecordOut(1);
    EXPECT_EQ(sAfter.find("constituent"), std::string::npos) << sAfter;
    EXPECT_NE(sAfter.find("<relatedItem type=\"host\""), std::string::npos) << sAfter;
}

// Labels after a TAB: on the elements built from subfields, and on a host
// entry without $3 and $i cut from its first $t in the record itself.
TEST(XmlModsRelated, TabLabels) {
    Utf8MarcRecordClass record;
    const std::string sDocument = Document(record, {{"440", D(" 0$aSeries$vv. 1\tVolume")},
                                                    {"773", D("0 $tHost\tGone$gp. 5\tPages")},
                                                    {"776", D("0 $tOther\tKept")}});
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument);
    ASSERT_TRUE(doc);
    const auto texts = [&](const std::string& xpath) { return xml_test::XPathTexts(doc.get(), Expand(xpath)); };
    EXPECT_EQ(texts("R[1]/mods:titleInfo/mods:partNumber/@displayLabel"), std::vector<std::string>{"Volume"});
    EXPECT_EQ(texts("R[2]/mods:titleInfo/mods:title"), std::vector<std::string>{"Host"});
    EXPECT_EQ(texts("R[2]//@displayLabel"), std::vector<std::string>({"Pages", "Pages"}));
    EXPECT_EQ(texts("R[3]/mods:titleInfo/mods:title"), std::vector<std::string>{"Other"});
    EXPECT_EQ(texts("R[3]/mods:titleInfo/mods:title/@displayLabel"), std::vector<std::string>{"Kept"});
    ASSERT_TRUE(record.FldFindFirst("773", ""));
    ASSERT_TRUE(record.SfdFindFirst("t", ""));
    EXPECT_EQ(record.SfdText(), "Host");
    ASSERT_TRUE(record.FldFindFirst("776", ""));
    ASSERT_TRUE(record.SfdFindFirst("t", ""));
    EXPECT_EQ(record.SfdText(), "Other\tKept");
}

// Hostile values in every subfield the section reads: the document stays
// well-formed and gives each value back as it stood in the record.
TEST(XmlModsRelated, HostileValues) {
    const std::string kHostile = "a<b>&c\"d'e";
    const std::string kControls = std::string("x\x01y\x0Bz");
    const std::string kBad = "\xC3(\xFF";
    const std::string kGreekCjk = "\xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97";
    const std::string h = kHostile;
    Utf8MarcRecordClass record;
    record.Nuc("XYZ");
    const std::string sDocument = Document(
        record,
        {{"440", D(" 0$a" + h + "$v" + h)},
         {"490", D("0 $a" + h + "$v" + kControls + "$a" + kBad)},
         {"534", D("  $t" + h + "$a" + h + "$c" + h + "$b" + kBad + "$x" + h + "$z" + kGreekCjk)},
         {"700", D("1 $a" + h + "$t" + h + "$e" + h + "$n" + h)},
         {"710", D("2 $a" + h + "$t" + h + "$4" + h)},
         {"730", D("02$a" + h + "$h" + h + "$x" + h)},
         {"740", D("02$a" + h + "$p" + h + "$h" + kControls)},
         {"773", D("0 $3" + h + "$t" + h + "$g" + h + "$q" + h + ":" + kBad + "$9hdl" + h)},
         {"775", D("0 $i" + h + "$a" + h + "$t" + h + "$f" + h + "$d" + h + "$b" + h + "$e" + h + "$h" + h + "$n" + h)},
         {"776", D("0 $i" + kControls + "$t" + kGreekCjk + "$p" + h + "$s" + h + "$x" + h + "$z" + h + "$w" + h)},
         {"760", D("0 $o" + h + "$tT\t" + h)},
         {"786", D("0 $j" + h)},
         {"830", D(" 0$a" + h + "$v" + h + "$h" + h + "$x" + h)},
         {"856", D("42$q" + h)}});
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "hostile");
    ASSERT_TRUE(doc);
    const auto texts = [&](const std::string& xpath) { return xml_test::XPathTexts(doc.get(), Expand(xpath)); };
    EXPECT_EQ(texts("R[1]/mods:titleInfo/*"), std::vector<std::string>({h, h}));
    EXPECT_EQ(texts("R[@displayLabel]/@displayLabel"), std::vector<std::string>({h, h, "x\xEF\xBF\xBDy\xEF\xBF\xBDz"}));
    EXPECT_EQ(texts("R[@type='host']/mods:identifier"), std::vector<std::string>{h});
    const std::vector<std::string> numbers = texts("R[@type='host']/mods:part/mods:detail/mods:number");
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0], h);
    EXPECT_EQ(texts("R/mods:physicalDescription/mods:internetMediaType"), std::vector<std::string>{h});
    EXPECT_EQ(texts("R[@type='otherVersion']/mods:language/mods:languageTerm"), std::vector<std::string>{h});
    EXPECT_EQ(texts("R/mods:titleInfo/mods:title[@displayLabel]/@displayLabel"), std::vector<std::string>{h});
    EXPECT_EQ(texts("R[@type='otherFormat']/mods:titleInfo[not(@type)]/mods:title"),
              std::vector<std::string>{kGreekCjk});
    // Every title stands in a titleInfo.
    EXPECT_EQ(texts("R//mods:title[not(parent::mods:titleInfo)]"), std::vector<std::string>{});
}

// A record in MARC-8 under output set "M": the items come out in UTF-8.
TEST(XmlModsRelated, Marc8Record) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    // E2 is the MARC-8 acute, E1 the grave, each written before its letter.
    const std::string sDocument =
        Document(record, {{"440", D(" 0$aS\xE2" "erie")}, {"773", D("0 $iD\xE2" "ej\xE1" "a:$tHost")}}, 1, "M");
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "MARC-8");
    ASSERT_TRUE(doc);
    EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "[1]/mods:titleInfo/mods:title"),
              std::vector<std::string>{"Se\xCC\x81rie"});
    EXPECT_EQ(xml_test::XPathTexts(doc.get(), kItem + "[2]/@displayLabel"),
              std::vector<std::string>{"De\xCC\x81ja\xCC\x80:"});
    EXPECT_EQ(record.CharacterSetOut(), "M");
}

// The records of the Debian sample files: each document well-formed, every
// related title in a titleInfo; each file has series or linking fields, so
// some items must come out.
TEST(XmlModsRelated, SampleFiles) {
    testsupport::TempSettingsFolder folder;
    const std::string kExamples = "/usr/share/doc/libmarc-perl/examples/";
    const std::string kZebra = "/usr/share/doc/idzebra-2.0/examples/marc21/sample-marc.gz";
    if (!std::filesystem::exists(kExamples + "specials.001") || !std::filesystem::exists(kZebra))
        GTEST_SKIP() << "Debian sample records are missing";
    const std::string sZebra = folder.File("sample-marc.mrc");
    ASSERT_EQ(xml_test::Shell("zcat '" + kZebra + "' > '" + sZebra + "'"), 0);
    for (const std::string& path : {kExamples + "specials.001", kExamples + "microlif.001", sZebra}) {
        double items = 0;
        xml_test::ForEachLoadedRecord(path, [&](Utf8MarcRecordClass& record, const std::string&) {
            const std::string sDocument = record.XMLRecordOut(1);
            if (sDocument.empty()) return;
            const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, path);
            if (!doc) return;
            items += xml_test::XPathNumber(doc.get(), "count(" + kItem + ")");
            const std::string sBare = "count(" + kItem + "//mods:title[not(parent::mods:titleInfo)])";
            EXPECT_EQ(xml_test::XPathNumber(doc.get(), sBare), 0) << path;
        });
        EXPECT_GT(items, 0) << path;
    }
}

}  // namespace
