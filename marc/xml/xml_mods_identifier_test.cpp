// The MODS document's identifier, location, accessCondition and recordInfo
// sections: their lines as written, read from whole documents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using xml_test::TaggedField;

// The document's lines (without CR LF) that start with two TABs and "<" plus
// the element name, or that hold only the two TABs; for "recordInfo" the
// lines from its start tag to its closing tag.
std::vector<std::string> Lines(const std::string& sDocument, const std::string& sElement) {
    std::vector<std::string> lines, out;
    for (size_t start = 0;;) {
        const size_t end = sDocument.find("\r\n", start);
        lines.push_back(sDocument.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    bool bInside = false;
    for (const std::string& line : lines) {
        if (sElement == "recordInfo") {
            if (line == "\t\t<recordInfo>") bInside = true;
            if (bInside) out.push_back(line);
            if (line == "\t\t</recordInfo>") bInside = false;
        } else if (line == "\t\t" || line.rfind("\t\t<" + sElement, 0) == 0) {
            out.push_back(line);
        }
    }
    return out;
}

struct Row {
    const char* name;
    std::vector<TaggedField> fields;
    int form;
    std::string sHandlePrefix;
    const char* element;
    std::vector<std::string> want;
};

void RunRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Utf8MarcRecordClass record;
        std::vector<TaggedField> fields = {{"245", D("00$aA title long enough for a record.")}};
        fields.insert(fields.end(), row.fields.begin(), row.fields.end());
        xml_test::Load(record, kBib, fields);
        record.LocalHandlePrefix(row.sHandlePrefix);
        const std::string sDocument = record.XMLRecordOut(row.form);
        xml_test::ExpectModsStructure(sDocument, row.name);
        EXPECT_EQ(Lines(sDocument, row.element), row.want) << row.name << "\n" << sDocument;
    }
}

const std::string kHandle = "https://hdl.example.org/2027/local.";

TEST(XmlModsIdentifier, LinksObjectIdsAndStandardNumbers) {
    const std::vector<Row> rows = {
        {"hdl and a colon keep the colon", {{"856", D("40$uhdl:2027/abc")}}, 1, "", "identifier",
         {"\t\t<identifier type=\"hdl\">:2027/abc</identifier>"}},
        {"urn:hdl", {{"856", D("40$uurn:hdl:2027/abc")}}, 1, "", "identifier",
         {"\t\t<identifier type=\"hdl\">:2027/abc</identifier>"}},
        {"doi, no colon", {{"856", D("40$udoi10.1000/182")}}, 1, "", "identifier",
         {"\t\t<identifier type=\"doi\">10.1000/182</identifier>"}},
        {"urn:doi", {{"856", D("40$uurn:doi:10.1/x")}}, 1, "", "identifier",
         {"\t\t<identifier type=\"doi\">:10.1/x</identifier>"}},
        {"web address gives none", {{"856", D("40$uhttp://example.org/doi")}}, 1, "", "identifier", {}},
        {"DOI in capitals gives none", {{"856", D("40$uDOI:10.1/x")}}, 1, "", "identifier", {}},
        {"only the first $u is tested", {{"856", D("40$uhttp://a.org$udoi:10.1/x")}}, 1, "", "identifier", {}},
        {"$9 without a handle prefix", {{"856", D("40$9ark1234")}}, 1, "", "identifier",
         {"\t\t<identifier displayLabel=\"Object ID\" type=\"local\">ark1234</identifier>"}},
        {"$9 with a handle prefix, every form", {{"856", D("40$9ark1234")}}, 5, kHandle, "identifier",
         {"\t\t<identifier displayLabel=\"Object ID\" type=\"local\">ark1234</identifier>",
          "\t\t<identifier displayLabel=\"Handle\" type=\"hdl\">" + kHandle + "ark1234</identifier>"}},
        {"$u and $9 give no $9 identifiers", {{"856", D("40$uhttp://a.org$9ark1")}}, 1, kHandle, "identifier", {}},
        {"link values escaped",
         {{"856", D("40$udoi:10.1/<a>&\"'")}, {"856", D("40$9a&b<c>")}},
         1,
         "https://h.example.org/?q=1&c=",
         "identifier",
         {"\t\t<identifier type=\"doi\">:10.1/&lt;a&gt;&amp;&quot;&apos;</identifier>",
          "\t\t<identifier displayLabel=\"Object ID\" type=\"local\">a&amp;b&lt;c&gt;</identifier>",
          "\t\t<identifier displayLabel=\"Handle\" type=\"hdl\">https://h.example.org/?q=1&amp;c=a&amp;b&lt;c&gt;"
          "</identifier>"}},
        {"856 before 0XX whatever the order",
         {{"020", D("  $a0306406152")}, {"856", D("40$uhdl:1/2")}, {"010", D("  $a  79021164 ")}},
         1,
         "",
         "identifier",
         {"\t\t<identifier type=\"hdl\">:1/2</identifier>", "\t\t<identifier type=\"isbn\">0306406152</identifier>",
          "\t\t<identifier type=\"lccn\">  79021164 </identifier>"}},
        {"first $a only, valid before invalid",
         {{"020", D("  $z111$a222 (pbk.)$a333")}, {"022", D("0 $a1234-5678$z8765-4321")}},
         1,
         "",
         "identifier",
         {"\t\t<identifier type=\"isbn\">222 (pbk.)</identifier>",
          "\t\t<identifier type=\"isbn\" invalid=\"yes\">111</identifier>",
          "\t\t<identifier type=\"issn\">1234-5678</identifier>",
          "\t\t<identifier type=\"issn\" invalid=\"yes\">8765-4321</identifier>"}},
        {"024 types by first indicator; a 024 without $a gives nothing",
         {{"024", D("0 $aUSABC0000001")},
          {"024", D("1 $a012345678905$z012345678912")},
          {"024", D("2 $aM-2306-7118-7")},
          {"024", D("3 $a9781234567897")},
          {"024", D("4 $a0002-8231(199601)")},
          {"024", D("7 $aurn:x$2uri")},
          {"024", D("8 $aunknown")},
          {"024", D("2 $zM-1234")},
          {"024", D("1 $z012345678929")}},
         1,
         "",
         "identifier",
         {"\t\t<identifier type=\"isrc\">USABC0000001</identifier>",
          "\t\t<identifier type=\"upc\">012345678905</identifier>",
          "\t\t<identifier type=\"upc\" invalid=\"yes\">012345678912</identifier>",
          "\t\t<identifier type=\"ismn\">M-2306-7118-7</identifier>",
          "\t\t<identifier type=\"sici\">0002-8231(199601)</identifier>"}},
        {"028 and 037 through the builder",
         {{"028", D("02$aH 4321$bHarmonia Mundi")},
          {"028", D("52$aX1$bY")},
          {"028", D("32$bSchott")},
          {"028", D("12$aM<1>$bEMI")},
          {"028", D("42$q9")},
          {"037", D("  $aST-1$bNTIS &amp;$cfree")}},
         1,
         "",
         "identifier",
         {"\t\t<identifier type=\"issue number\">H 4321 Harmonia Mundi</identifier>",
          "\t\t<identifier type=\"music plate\">Schott</identifier>",
          "\t\t<identifier type=\"matrix number\">M&lt;1&gt; EMI</identifier>",
          "\t\t<identifier type=\"stock number\">ST-1 NTIS &amp;amp;</identifier>"}},
    };
    RunRows(rows);
}

TEST(XmlModsIdentifier, LocationLines) {
    const std::vector<Row> rows = {
        {"first 852 only", {{"852", D("0 $aDLC$bMain$hPS1$jX 1$eBox 4")}, {"852", D("0 $aOther")}}, 1, "",
         "location", {"\t\t<location><physicalLocation>DLC Main X 1 Box 4</physicalLocation></location>"}},
        {"852 without a, b, j, e gives an empty line", {{"852", D("0 $hPS1")}}, 1, "", "location", {"\t\t"}},
        {"852 $3 escaped as the label", {{"852", D("0 $3v. 1 & <2>$aDLC")}}, 1, "", "location",
         {"\t\t<location><physicalLocation displayLabel=\"v. 1 &amp; &lt;2&gt;\">DLC</physicalLocation></location>"}},
        {"852 $3 label wins over a TAB label", {{"852", D("0 $3Copy 2$aDLC\tStacks")}}, 1, "", "location",
         {"\t\t<location><physicalLocation displayLabel=\"Copy 2\">DLC</physicalLocation></location>"}},
        {"852 TAB label without $3", {{"852", D("0 $aDLC\tStacks")}}, 1, "", "location",
         {"\t\t<location><physicalLocation displayLabel=\"Stacks\">DLC</physicalLocation></location>"}},
        {"856 link text and url escaped",
         {{"856", D("40$uhttp://a.org/?a=1&b=2$yFull \"text\"$3Part 1")}, {"856", D("40$uhttp://b.org")}},
         1,
         "",
         "location",
         {"\t\t<location><url displayLabel=\"Full &quot;text&quot; Part 1\">http://a.org/?a=1&amp;b=2</url></location>",
          "\t\t<location><url>http://b.org</url></location>"}},
        {"primary display on the first 856 under form 5",
         {{"856", D("40$uhttp://a.org$yText")}, {"856", D("40$uhttp://b.org")}},
         5,
         "",
         "location",
         {"\t\t<location><url displayLabel=\"Text\" usage=\"primary display\">http://a.org</url></location>",
          "\t\t<location><url>http://b.org</url></location>"}},
        {"primary display spent on an 856 without $u",
         {{"856", D("40$9ark1")}, {"856", D("40$uhttp://b.org")}},
         5,
         "",
         "location",
         {"\t\t<location><url>http://b.org</url></location>"}},
        {"form 1 never marks primary display", {{"856", D("40$uhttp://a.org")}}, 1, "", "location",
         {"\t\t<location><url>http://a.org</url></location>"}},
    };
    RunRows(rows);
}

TEST(XmlModsIdentifier, AccessConditionLines) {
    const std::vector<Row> rows = {
        {"540 after 506 whatever the order",
         {{"540", D("  $aUse & reuse$dpublic")}, {"506", D("  $aOpen <to> all$5DLC")}},
         1,
         "",
         "accessCondition",
         {"\t\t<accessCondition type=\"restrictionOnAccess\">Open &lt;to&gt; all DLC</accessCondition>",
          "\t\t<accessCondition type=\"useAndReproduction\">Use &amp; reuse public</accessCondition>"}},
        {"506 without its subfields gives an empty line", {{"506", D("  $uhttp://a.org")}}, 1, "", "accessCondition",
         {"\t\t"}},
        {"TAB label as displayLabel", {{"540", D("  $aCC BY\tLicence")}}, 1, "", "accessCondition",
         {"\t\t<accessCondition type=\"useAndReproduction\" displayLabel=\"Licence\">CC BY</accessCondition>"}},
    };
    RunRows(rows);
}

TEST(XmlModsIdentifier, RecordInfoChildren) {
    const std::string kEng =
        "\t\t\t<languageOfCataloging><languageTerm authority=\"iso639-2b\">eng</languageTerm></languageOfCataloging>";
    const std::vector<Row> rows = {
        {"nothing but the creation date", {}, 1, "", "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordCreationDate encoding=\"marc\"></recordCreationDate>", "\t\t</recordInfo>"}},
        {"form 5 adds eng", {}, 5, "", "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordCreationDate encoding=\"marc\"></recordCreationDate>", kEng,
          "\t\t</recordInfo>"}},
        {"every child in order, 040 $b under form 5",
         {{"001", "ocm<1>&"},
          {"003", "O\"C"},
          {"005", "20260101120000.0"},
          {"008", "850101s1985    xx            000 0 eng d"},
          {"040", D("  $aDLC&$bfre$cDLC")}},
         5,
         "",
         "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordContentSource authority=\"marcorg\">DLC&amp;</recordContentSource>",
          "\t\t\t<recordCreationDate encoding=\"marc\">850101</recordCreationDate>",
          "\t\t\t<recordChangeDate encoding=\"iso8601\">20260101120000.0</recordChangeDate>",
          "\t\t\t<recordIdentifier source=\"O&quot;C\">ocm&lt;1&gt;&amp;</recordIdentifier>",
          "\t\t\t<languageOfCataloging><languageTerm authority=\"iso639-2b\">fre</languageTerm>"
          "</languageOfCataloging>",
          "\t\t</recordInfo>"}},
        {"003 without 001 adds nothing", {{"003", "DLC"}, {"008", "85<1&1s1985"}}, 1, "", "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordCreationDate encoding=\"marc\">85&lt;1&amp;1</recordCreationDate>",
          "\t\t</recordInfo>"}},
        {"001 without 003 has no source", {{"001", "12345"}}, 1, "", "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordCreationDate encoding=\"marc\"></recordCreationDate>",
          "\t\t\t<recordIdentifier>12345</recordIdentifier>", "\t\t</recordInfo>"}},
        {"040 without $a and $b", {{"040", D("  $cDLC")}}, 5, "", "recordInfo",
         {"\t\t<recordInfo>", "\t\t\t<recordCreationDate encoding=\"marc\"></recordCreationDate>", kEng,
          "\t\t</recordInfo>"}},
    };
    RunRows(rows);
}

TEST(XmlModsIdentifier, HandlePrefixProperty) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.LocalHandlePrefix(), "");
    record.LocalHandlePrefix(kHandle);
    EXPECT_EQ(record.LocalHandlePrefix(), kHandle);
    xml_test::Load(record, kBib, {{"245", D("00$aT.")}, {"856", D("40$9x1")}});
    EXPECT_EQ(record.LocalHandlePrefix(), kHandle);
    EXPECT_NE(record.XMLRecordOut(1).find(kHandle + "x1</identifier>"), std::string::npos);

    // The prefix is a setting, not record text: a MARC-8 record leaves it as
    // given (UTF-8), escaped.
    Utf8MarcRecordClass marc8;
    xml_test::Load(marc8, kBib, {{"245", D("00$aT.")}, {"856", D("40$9x1")}}, "M");
    marc8.LocalHandlePrefix("https://h\xC3\xA9.example.org/?a&b=");
    EXPECT_NE(marc8.XMLRecordOut(1).find(">https://h\xC3\xA9.example.org/?a&amp;b=x1</identifier>"), std::string::npos)
        << marc8.XMLRecordOut(1);
}

}  // namespace
