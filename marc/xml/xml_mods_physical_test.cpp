// The MODS document's language, physicalDescription, abstract,
// tableOfContents, targetAudience and note sections, read back with libxml2:
// each case a record loaded from fields, its document through XMLRecordOut
// (form 1, or 5 for the local profile), the elements checked by XPath.
#include <gtest/gtest.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using xml_test::Load;
using xml_test::TaggedField;
using xml_test::XPathNumber;
using xml_test::XPathTexts;

// A leader of the given type (leader/06) and level (leader/07).
std::string Leader(char type, char level = 'm') {
    std::string leader = kBib;
    leader[6] = type;
    leader[7] = level;
    return leader;
}

// An 008 of 40 blanks with the given characters at their positions.
std::string Fixed008(const std::map<int, std::string>& values = {}) {
    std::string s(40, ' ');
    for (const auto& [position, value] : values) s.replace(static_cast<size_t>(position), value.size(), value);
    return s;
}

// Each node an XPath expression finds, written as its local name, its
// attributes in document order (" name=value") and, after "|", its text.
std::vector<std::string> Rendered(xmlDoc* doc, const std::string& expression) {
    std::vector<std::string> out;
    xmlXPathContext* context = xmlXPathNewContext(doc);
    xml_test::RegisterNamespaces(context);
    xmlXPathObject* result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context);
    if (result && result->type == XPATH_NODESET && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlNode* node = result->nodesetval->nodeTab[i];
            std::string line = reinterpret_cast<const char*>(node->name);
            for (xmlAttr* a = node->properties; a; a = a->next) {
                line += " ";
                if (a->ns && a->ns->prefix) line += std::string(reinterpret_cast<const char*>(a->ns->prefix)) + ":";
                xmlChar* value = xmlNodeListGetString(doc, a->children, 1);
                line += std::string(reinterpret_cast<const char*>(a->name)) + "=" +
                        (value ? reinterpret_cast<const char*>(value) : "");
                xmlFree(value);
            }
            out.push_back(line + "|" + xml_test::Content(node));
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return out;
}

// The number of UTF-8 characters of a well-formed text.
int Characters(const std::string& s) {
    int n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// The number of lines that hold nothing but the two TABs of a section line.
int EmptyLines(const std::string& sDocument) {
    int n = 0;
    for (size_t at = sDocument.find("\n\t\t\r\n"); at != std::string::npos; at = sDocument.find("\n\t\t\r\n", at + 1))
        ++n;
    return n;
}

struct Case {
    const char* what;
    std::string leader;
    std::vector<TaggedField> fields;
    int form;                            // 1, or 5 for the local profile
    std::vector<std::string> expected;   // Rendered() of the section's elements
    int emptyLines = 0;
};

// Writes each case's document, checks its structure and the elements the
// expression finds.
void Check(const std::vector<Case>& cases, const std::string& expression) {
    for (const Case& c : cases) {
        // An 001 first, so that even a record of one short field is long enough to load.
        std::vector<TaggedField> fields = {{"001", "case"}};
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        Utf8MarcRecordClass record;
        Load(record, c.leader, fields);
        const std::string sDocument = record.XMLRecordOut(c.form);
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        if (!doc) continue;
        EXPECT_EQ(Rendered(doc.get(), expression), c.expected) << c.what << "\n" << sDocument;
        EXPECT_EQ(EmptyLines(sDocument), c.emptyLines) << c.what << "\n" << sDocument;
    }
}

// ---------------------------------------------------------------- language

TEST(XmlModsLanguage, CodesFrom041Or008) {
    const std::string lang = "languageTerm type=code authority=";
    const std::vector<Case> cases = {
        {"two 041s: six letters give two codes, then $a and $d", kBib,
         {{"008", Fixed008({{35, "ger"}})}, {"041", D("1 $aengfre")}, {"041", D("0 $aita$dspa$bdut$hrus")}}, 1,
         {lang + "iso639-2b|eng", lang + "iso639-2b|fre", lang + "iso639-2b|ita", lang + "iso639-2b|spa"}},
        {"$e counts; five letters give one code, the rest dropped", kBib, {{"041", D("0 $efrenc")}}, 1,
         {lang + "iso639-2b|fre"}},
        {"a source other than rfc3066 passes the field over, and the 008 is not used", kBib,
         {{"008", Fixed008({{35, "ger"}})}, {"041", D("07$aen$2ISO 639-1")}}, 1, {}},
        {"source rfc3066 and a two-letter code", kBib, {{"041", D("07$aen$2rfc3066")}, {"041", D("0 $agre")}}, 1,
         {lang + "rfc3066|en", lang + "iso639-2b|gre"}},
        {"no 041: the 008 code", kBib, {{"008", Fixed008({{35, "fre"}})}}, 1, {lang + "iso639-2b|fre"}},
        {"no 041: three blanks give nothing", kBib, {{"008", Fixed008()}}, 1, {}},
        {"no 041: a fill character gives nothing", kBib, {{"008", Fixed008({{35, "en|"}})}}, 1, {}},
        {"no 041 and no 008: one empty code", kBib, {{"245", D("10$aT")}}, 1, {lang + "iso639-2b|"}},
        {"no 041: the 008 code escaped", kBib, {{"008", Fixed008({{35, "<&>"}})}}, 1, {lang + "iso639-2b|<&>"}},
        {"an empty $a gives one empty code", kBib, {{"041", D("0 $a$beng")}}, 1, {lang + "iso639-2b|"}},
    };
    Check(cases, "//mods:language/mods:languageTerm");
}

// The one cutter serves the MODS language section and the Dublin Core
// document: the raw text is cut by characters, then each piece escaped.
TEST(XmlModsLanguage, SharedCutterWithReferencesAndMultiOctetCharacters) {
    struct CutCase {
        const char* what;
        std::string text;
        std::vector<std::string> codes;
    };
    const std::vector<CutCase> cases = {
        {"an ampersand inside a code is not split", "a&bcd&", {"a&b", "cd&"}},
        {"all five specials", "<>&\"'x", {"<>&", "\"'x"}},
        {"Greek letters count as one character each", "\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD",
         {"\xCE\xB5\xCE\xBB\xCE\xBB"}},
        {"CJK characters of three octets", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97",
         {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97"}},
        {"a short text is one code", "e&", {"e&"}},
    };
    for (const CutCase& c : cases) {
        Utf8MarcRecordClass record;
        Load(record, kBib, {{"008", Fixed008({{35, "zzz"}})}, {"041", D("0 $a" + c.text)}});
        const std::string sMods = record.XMLRecordOut(1);
        xml_test::XmlDoc mods = xml_test::ExpectModsStructure(sMods, c.what);
        ASSERT_TRUE(mods) << c.what;
        EXPECT_EQ(XPathTexts(mods.get(), "//mods:languageTerm"), c.codes) << c.what;

        const std::string sDc = record.XMLRecordOut(2);
        xml_test::XmlDoc dc = xml_test::Parse(sDc);
        ASSERT_TRUE(dc) << c.what << "\n" << sDc;
        std::vector<std::string> dcCodes = XPathTexts(dc.get(), "//dc:language");
        ASSERT_FALSE(dcCodes.empty()) << c.what;
        EXPECT_EQ(dcCodes.back(), "zzz") << c.what;  // the 008 code closes the list
        dcCodes.pop_back();
        EXPECT_EQ(dcCodes, c.codes) << c.what;
    }
}

// ---------------------------------------------------------------- physicalDescription

TEST(XmlModsPhysicalDescription, Children) {
    const std::string marcform = "form authority=marcform|";
    const std::string gmd = "form authority=gmd|";
    // An electronic resource's 007 whose 007/13 is the given code.
    const auto computer007 = [](char quality) { return std::string("cr una---apaa") + quality; };
    const std::vector<Case> cases = {
        {"book, 008/23 blank: print", kBib, {{"008", Fixed008()}}, 1, {marcform + "print"}},
        {"book, 008/23 r: print; s: electronic", kBib, {{"008", Fixed008({{23, "s"}})}}, 1,
         {marcform + "electronic"}},
        {"book, 008/23 outside the table: no element at all", kBib, {{"008", Fixed008({{23, "o"}})}}, 1, {}},
        {"score, 008/23 blank: print", Leader('c'), {{"008", Fixed008()}}, 1, {marcform + "print"}},
        {"sound recording, 008/23 blank: no form", Leader('j'), {{"008", Fixed008()}}, 1, {}},
        {"sound recording, 008/23 f: braille", Leader('j'), {{"008", Fixed008({{23, "f"}})}}, 1,
         {marcform + "braille"}},
        {"map, 008/29 a: microfilm", Leader('e'), {{"008", Fixed008({{29, "a"}})}}, 1, {marcform + "microfilm"}},
        {"visual material, 008/29 b: microfiche", Leader('g'), {{"008", Fixed008({{29, "b"}, {23, "a"}})}}, 1,
         {marcform + "microfiche"}},
        {"serial: no form from the 008", Leader('a', 's'), {{"008", Fixed008({{23, "a"}, {29, "a"}})}}, 1, {}},
        {"computer file: electronic only, whatever its 008 and 007", Leader('m'),
         {{"007", "m   a       a"}, {"008", Fixed008({{23, "a"}})}}, 1, {marcform + "electronic"}},
        {"computer file without 008: still electronic", Leader('m'), {{"245", D("10$aT")}}, 1,
         {marcform + "electronic"}},
        {"gmd of 245 and 246 in field order after the 008 form; 240 and 247 passed over", kBib,
         {{"008", Fixed008()},
          {"240", D("10$aU$hnot")},
          {"245", D("10$aT$h[microform] &")},
          {"246", D("3 $aV$h[sound]")},
          {"247", D("10$aW$hnot")}},
         1, {marcform + "print", gmd + "[microform] &", gmd + "[sound]"}},
        {"256 $a: a form without authority", Leader('m'), {{"256", D("  $aComputer data (2 files : <1 MB>)")}}, 1,
         {marcform + "electronic", "form|Computer data (2 files : <1 MB>)"}},
        {"extents: $a $b $c joined by blanks, labels cut; a second 300 a second extent; $3 alone nothing",
         Leader('a', 's'),
         {{"300", D("  $3v.1$a2 v. :$bill.\tlabel ;$c24 cm.")}, {"300", D("  $c30 cm.$eatlas")}, {"300", D("  $3only")}},
         1, {"extent|2 v. : ill. 24 cm.", "extent|30 cm. atlas"}},
        {"856 $q media types, 007/13 reformatting quality of electronic resources", Leader('a', 's'),
         {{"007", computer007('p')},
          {"007", computer007('a')},
          {"007", computer007('x')},
          {"007", "hd afb---baca"},
          {"007", "cr"},
          {"856", D("40$uhttp://x$qimage/jpeg")},
          {"856", D("40$uhttp://y")},
          {"856", D("40$qtext/html & more")}},
         1,
         {"internetMediaType|image/jpeg", "internetMediaType|text/html & more", "reformattingQuality|preservation",
          "reformattingQuality|access"}},
        {"the first 300's typed note and physical facets, escaped; a second 300's are ignored", Leader('a', 's'),
         {{"300", D("  $a1 v.$nA<b>//x & y$dgold \"leaf\"")}, {"300", D("  $a2 v.$nT//z$dsilver")}}, 1,
         {"extent|1 v.", "extent|2 v.", "note type=A<b>|x & y", "note displayLabel=Physical facets|gold \"leaf\""}},
        {"a $n without // gives no note, nor one with an empty type", Leader('a', 's'),
         {{"300", D("  $nno separator$n//x")}}, 1, {}},
        {"a $n with an empty text gives no note", Leader('a', 's'), {{"300", D("  $ntype//")}}, 1, {}},
        {"local profile: image and reformatted digital after the gmd, before 256", Leader('m'),
         {{"245", D("10$aT$h[electronic resource]")}, {"256", D("  $aData")}}, 5,
         {marcform + "electronic", gmd + "[electronic resource]", "internetMediaType|image",
          "digitalOrigin|reformatted digital", "form|Data"}},
        {"local profile: a serial with nothing else still has the two children", Leader('a', 's'),
         {{"300", D("  $3only")}}, 5, {"internetMediaType|image", "digitalOrigin|reformatted digital"}},
    };
    Check(cases, "//mods:physicalDescription/*");
}

TEST(XmlModsPhysicalDescription, LayoutOfTheElement) {
    Utf8MarcRecordClass record;
    Load(record, kBib, {{"008", Fixed008()}, {"300", D("  $a1 v.$dvellum")}});
    const std::string sDocument = record.XMLRecordOut(1);
    EXPECT_NE(sDocument.find("\r\n\t\t<physicalDescription>"
                             "\r\n\t\t\t<form authority=\"marcform\">print</form>"
                             "\r\n\t\t\t<extent>1 v.</extent>"
                             "\r\n\t\t\t<note displayLabel=\"Physical facets\">vellum</note>"
                             "\r\n\t\t</physicalDescription>"),
              std::string::npos)
        << sDocument;
    EXPECT_EQ(XPathNumber(xml_test::Parse(sDocument).get(), "count(//mods:physicalDescription)"), 1);
}

// ---------------------------------------------------------------- abstract to note

const char* const kNotes = "//mods:mods/*[self::mods:abstract or self::mods:tableOfContents or "
                           "self::mods:targetAudience or self::mods:note]";

TEST(XmlModsNotes, AbstractContentsAudience) {
    const std::vector<Case> cases = {
        {"520 with $u: the link as xlink:href; 505 with $u the same", kBib,
         {{"505", D("0 $aCh. 1 -- Ch. 2$uhttp://toc?a=1&b=2")}, {"520", D("  $aSummary & more$bexpanded$uhttp://a")}},
         1,
         {"abstract xlink:href=http://a|Summary & more expanded",
          "tableOfContents xlink:href=http://toc?a=1&b=2|Ch. 1 -- Ch. 2"}},
        {"a 520 with $u alone: an empty line and no abstract", kBib, {{"520", D("  $uhttp://a")}}, 1, {}, 1},
        {"505 $t $r $t $r in field order; $a label as displayLabel", kBib,
         {{"505", D("00$tOne /$rA. --$tTwo /$rB.")}, {"505", D("0 $aContents\tLabel & co")}}, 1,
         {"tableOfContents|One / A. -- Two / B.", "tableOfContents displayLabel=Label & co|Contents"}},
        {"book: the 521, then 008/22 j as juvenile", kBib,
         {{"008", Fixed008({{22, "j"}})}, {"521", D("  $aAges 5-8.$bPublisher.")}}, 1,
         {"targetAudience|Ages 5-8. Publisher.", "targetAudience authority=marctarget|juvenile"}},
        {"map: only the 521; an empty 521 an empty line", Leader('e'),
         {{"008", Fixed008({{22, "j"}})}, {"521", D("  $aGrade 3\tReading grade")}, {"521", D("  $3x")}}, 1,
         {"targetAudience displayLabel=Reading grade|Grade 3"}, 1},
        {"serial: no coded audience", Leader('a', 's'), {{"008", Fixed008({{22, "a"}})}}, 1, {}},
        {"a computer file codes it", Leader('m'), {{"008", Fixed008({{22, "d"}})}}, 1,
         {"targetAudience authority=marctarget|adolescent"}},
        {"a sound recording codes it; an empty 505 an empty line", Leader('j'),
         {{"008", Fixed008({{22, "e"}})}, {"505", D("0 $uhttp://toc")}}, 1,
         {"targetAudience authority=marctarget|adult"}, 1},
        {"book 008/22 blank or fill: nothing", kBib, {{"008", Fixed008({{22, "|"}})}}, 1, {}},
    };
    Check(cases, kNotes);
}

TEST(XmlModsNotes, CodedTargetAudienceTable) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"a", "preschool"}, {"b", "juvenile"},    {"c", "juvenile"}, {"d", "adolescent"}, {"e", "adult"},
        {"f", "specialized"}, {"g", "general"},   {"j", "juvenile"}, {"h", ""},           {" ", ""}};
    for (const auto& [code, term] : table) {
        Utf8MarcRecordClass record;
        Load(record, Leader('g'), {{"008", Fixed008({{22, code}})}});
        xml_test::XmlDoc doc = xml_test::Parse(record.XMLRecordOut(1));
        ASSERT_TRUE(doc);
        const std::vector<std::string> expected =
            term.empty() ? std::vector<std::string>{} : std::vector<std::string>{term};
        EXPECT_EQ(XPathTexts(doc.get(), "//mods:targetAudience[@authority='marctarget']"), expected) << code;
    }
}

TEST(XmlModsNotes, Notes) {
    const std::vector<TaggedField> kAvailable = {{"245", D("10$aT")},
                                                 {"530", D("  $aAlso available as microfilm.")},
                                                 {"590", D("  $aLocal.")}};
    const std::vector<Case> cases = {
        {"500 with a label, a plain 500; the label escaped", kBib,
         {{"500", D("  $aNote one\tA & \"B\" <c>")}, {"500", D("  $aNote two.")}}, 1,
         {"note displayLabel=A & \"B\" <c>|Note one", "note|Note two."}},
        {"500: only $a taken, each cut at its TAB, the label of the first subfield", kBib,
         {{"500", D("  $3v.1\tFrom v.$aOne\tx$5DLC$aTwo")}}, 1, {"note displayLabel=From v.|One Two"}},
        {"500 that takes nothing: an empty line", kBib, {{"500", D("  $5DLC")}}, 1, {}, 1},
        {"511 performers, 518 venue, link before type", kBib,
         {{"511", D("0 $aCast & crew$uhttp://p")}, {"518", D("  $aRecorded in <Rome>")}}, 1,
         {"note xlink:href=http://p type=performers|Cast & crew", "note type=venue|Recorded in <Rome>"}},
        {"504, 530, 590 plain notes; 505 506 510 520 521 539 540 not here", kBib,
         {{"504", D("  $aBibliography.")},
          {"506", D("  $aRestricted.")},
          {"510", D("4 $aIndex.")},
          {"530", D("  $aOther form.")},
          {"539", D("  $aFixed.")},
          {"540", D("  $aTerms.")},
          {"590", D("  $aLocal.$uhttp://l")}},
         1, {"note|Bibliography.", "note|Other form.", "note xlink:href=http://l|Local."}},
        {"$6 and $8 never in the text, $3 and $5 are; a label of another note kept", kBib,
         {{"546", D("  $6880-01$3Text$aIn Greek\tLanguage$81\\c")}}, 1,
         {"note displayLabel=Language|Text In Greek"}},
        {"an empty note field still gives its line", kBib, {{"504", D("  $6880-02$81\\c")}}, 1, {}, 1},
        {"form 1: the other-format note is written", kBib, kAvailable, 1,
         {"note|Also available as microfilm.", "note|Local."}},
        {"local profile: the other-format note left out", kBib, kAvailable, 5, {"note|Local."}},
        {"statement of responsibility, escaped, after the notes", kBib,
         {{"245", D("10$aT /$cby A & B.")}, {"500", D("  $aN.")}}, 1,
         {"note|N.", "note type=statement of responsibility|by A & B."}},
        {"245 without $c, or no 245: no statement", kBib, {{"245", D("10$aT")}, {"246", D("1 $aT$cx")}}, 1, {}},
    };
    Check(cases, kNotes);
}

// The label of the 245 $c is written once: the note section cuts it from the
// record, so a second document and the ISO 2709 output have no TAB there.
TEST(XmlModsNotes, StatementOfResponsibilityLabelIsCutFromTheRecord) {
    struct LabelCase {
        const char* what;
        std::string c;
        std::string first;   // Rendered() of the note, first document
        std::string second;  // the same, second document
        std::string after;   // the record's 245 $c afterwards
    };
    const std::vector<LabelCase> cases = {
        {"a label", "by A & B.\tResp. & co", "note type=statement of responsibility displayLabel=Resp. & co|by A & B.",
         "note type=statement of responsibility|by A & B.", "by A & B."},
        {"no label: the record stays", "by A.", "note type=statement of responsibility|by A.",
         "note type=statement of responsibility|by A.", "by A."},
    };
    for (const LabelCase& c : cases) {
        Utf8MarcRecordClass record;
        Load(record, kBib, {{"245", D("10$aT /$c" + c.c)}});
        const std::string sFirst = record.XMLRecordOut(1);
        xml_test::XmlDoc first = xml_test::ExpectModsStructure(sFirst, c.what);
        ASSERT_TRUE(first);
        EXPECT_EQ(Rendered(first.get(), "//mods:note"), std::vector<std::string>{c.first}) << c.what;
        ASSERT_TRUE(record.FldFindFirst("245", ""));
        ASSERT_TRUE(record.SfdFindFirst("c", ""));
        EXPECT_EQ(record.SfdText(), c.after) << c.what;
        const std::string sSecond = record.XMLRecordOut(1);
        xml_test::XmlDoc second = xml_test::Parse(sSecond);
        ASSERT_TRUE(second);
        EXPECT_EQ(Rendered(second.get(), "//mods:note"), std::vector<std::string>{c.second}) << c.what;
        EXPECT_EQ(record.XMLRecordOut(1), sSecond) << c.what;
        EXPECT_EQ(record.MarcRecordOut().find('\t'), std::string::npos) << c.what;
    }
}

// ---------------------------------------------------------------- hostile values

// Hostile text in every value these sections take from the record: each
// document must be well-formed, and the specials must come back as given.
TEST(XmlModsPhysical, HostileValuesInEverySection) {
    struct Hostile {
        const char* what;
        std::string text;
        const char* set;
        std::string readBack;  // what libxml2 reads back; "" to check well-formedness only
    };
    const std::vector<Hostile> values = {
        {"the five specials", "<a> & \"b\" 'c'", "U", "<a> & \"b\" 'c'"},
        {"C0 controls", std::string("x\x01y\x1Bz\x7F", 6), "U", ""},
        {"malformed UTF-8", "x\xC3(\xE2\x82y\xF8\x80", "U", ""},
        {"Greek and CJK", "\xCE\xB1\xCE\xB2\xCE\xB3 \xE6\xBC\xA2\xE5\xAD\x97", "U",
         "\xCE\xB1\xCE\xB2\xCE\xB3 \xE6\xBC\xA2\xE5\xAD\x97"},
        {"MARC-8 under output set M", "Caf\xE2" "e & <x>", "M", "Cafe\xCC\x81 & <x>"},
    };
    for (const Hostile& v : values) {
        const std::string t = v.text;
        Utf8MarcRecordClass record;
        // Leader/09 blank for the MARC-8 record.
        Load(record, std::string(v.set) == "U" ? kBib : "00000nam  2200000 a 4500",
             {{"008", Fixed008({{22, "e"}, {35, "eng"}})},
              {"041", D("0 $a" + t)},
              {"245", D("10$aTitle$h" + t + "$c" + t + "\t" + t)},
              {"256", D("  $a" + t)},
              {"300", D("  $a" + t + "$n" + t + "//" + t + "$d" + t)},
              {"500", D("  $a" + t + "\t" + t)},
              {"505", D("0 $a" + t + "$u" + t)},
              {"511", D("0 $a" + t + "$u" + t)},
              {"520", D("  $a" + t + "\t" + t + "$u" + t)},
              {"521", D("  $a" + t)},
              {"856", D("40$q" + t)}},
             v.set);
        const std::string sDocument = record.XMLRecordOut(1);
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, v.what);
        if (!doc || v.readBack.empty()) continue;
        const std::vector<std::string> expressions = {
            "//mods:physicalDescription/mods:form[@authority='gmd']",
            "//mods:physicalDescription/mods:form[not(@authority)]",
            "//mods:extent",
            "//mods:physicalDescription/mods:note[@type]",
            "//mods:physicalDescription/mods:note[@type]/@type",
            "//mods:physicalDescription/mods:note[@displayLabel]",
            "//mods:physicalDescription/mods:internetMediaType",
            "//mods:abstract",
            "//mods:abstract/@displayLabel",
            "//mods:abstract/@xlink:href",
            "//mods:tableOfContents",
            "//mods:tableOfContents/@xlink:href",
            "//mods:targetAudience[not(@authority)]",
            "//mods:note[not(@type)][not(parent::mods:physicalDescription)]",
            "//mods:note[not(@type)][not(parent::mods:physicalDescription)]/@displayLabel",
            "//mods:note[@type='performers']",
            "//mods:note[@type='performers']/@xlink:href",
            "//mods:note[@type='statement of responsibility']",
            "//mods:note[@type='statement of responsibility']/@displayLabel",
        };
        // MARC-8 has no TAB: the record read into UTF-8 (as every document
        // reads it) holds a marker there, so those texts carry no label.
        const bool bTabIsText = std::string(v.set) == "U";
        const std::vector<std::string> tabbed = {"//mods:abstract", "//mods:note[not(@type)][not(parent::mods:physicalDescription)]",
                                                 "//mods:note[@type='statement of responsibility']"};
        for (const std::string& expression : expressions) {
            std::vector<std::string> expected{v.readBack};
            if (!bTabIsText && expression.ends_with("@displayLabel") &&
                expression.rfind("//mods:physicalDescription", 0) != 0)
                expected.clear();
            else if (!bTabIsText && std::find(tabbed.begin(), tabbed.end(), expression) != tabbed.end())
                expected[0] += "[MARC+09]" + v.readBack;
            EXPECT_EQ(XPathTexts(doc.get(), expression), expected) << v.what << ": " << expression << "\n" << sDocument;
        }
        // The 041 text cut into codes of three characters, the rest dropped.
        std::string sCodes;
        for (const std::string& sCode : XPathTexts(doc.get(), "//mods:languageTerm")) {
            EXPECT_EQ(Characters(sCode), 3) << v.what;
            sCodes += sCode;
        }
        EXPECT_EQ(v.readBack.rfind(sCodes, 0), 0) << v.what;
        EXPECT_EQ(Characters(sCodes), Characters(v.readBack) / 3 * 3) << v.what;
    }
}

// Debian's sample records (libmarc-perl): every record's documents, forms 1
// and 5, well-formed with the sections in order; the local profile always
// describes the digitized copy.
TEST(XmlModsPhysical, SampleRecords) {
    for (const char* name : {"microlif.001", "specials.001"}) {
        const std::string path = std::string("/usr/share/doc/libmarc-perl/examples/") + name;
        if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is missing (Debian libmarc-perl)";
        int documents = 0;
        xml_test::ForEachLoadedRecord(path, [&](Utf8MarcRecordClass& record, const std::string&) {
            const std::string what = std::string(name) + " record " + std::to_string(++documents);
            xml_test::ExpectModsStructure(record.XMLRecordOut(1), what);
            xml_test::XmlDoc local = xml_test::ExpectModsStructure(record.XMLRecordOut(5), what + ", form 5");
            if (!local) return;
            EXPECT_EQ(XPathNumber(local.get(), "count(//mods:physicalDescription[mods:internetMediaType='image']"
                                               "[mods:digitalOrigin='reformatted digital'])"),
                      1)
                << what;
        });
        EXPECT_GT(documents, 0) << name;
    }
}

}  // namespace
