// The MODS document's titleInfo, name, typeOfResource and originInfo
// sections, through XMLRecordOut of loaded records: each document read back
// with libxml2 and xmllint, its elements checked by XPath and its exact
// layout by substrings.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using xml_test::TaggedField;
using xml_test::XPathNumber;
using xml_test::XPathTexts;

// The sections' elements are children of the one mods element; other
// sections nest elements of the same names deeper down.
const std::string kMods = "/mods:modsCollection/mods:mods/";
const std::string kTitle = kMods + "mods:titleInfo";
const std::string kName = kMods + "mods:name";
const std::string kOrigin = kMods + "mods:originInfo";

// A bibliographic leader with the given type of record (06) and
// bibliographic level (07).
std::string Leader(char type, char level) {
    std::string leader = kBib;
    leader[6] = type;
    leader[7] = level;
    return leader;
}

// A 008 of 40 characters: type of date, the two dates and the country code.
std::string Fixed008(const std::string& type, const std::string& date1, const std::string& date2,
                     const std::string& country) {
    std::string s = "991231" + type + date1 + date2 + country;
    s.resize(40, ' ');
    return s;
}

// XPath expressions with the texts they must find, in document order.
using XPathChecks = std::vector<std::pair<std::string, std::vector<std::string>>>;

struct DocCase {
    const char* what;
    std::vector<TaggedField> fields;
    int form = 1;
    XPathChecks xpaths = {};
    std::vector<std::string> substrings = {};  // each must occur in the document
    std::vector<std::string> absent = {};  // none may occur
    std::string leader = kBib;
};

void RunCases(const std::vector<DocCase>& cases) {
    for (const DocCase& c : cases) {
        SCOPED_TRACE(c.what);
        Utf8MarcRecordClass record;
        // A control number keeps a record of one short field above the
        // least length of a record.
        std::vector<TaggedField> fields = {{"001", "mods-titles"}};
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        xml_test::Load(record, c.leader, fields);
        const std::string sDocument = record.XMLRecordOut(c.form);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        if (!doc) continue;
        for (const auto& [expression, expected] : c.xpaths)
            EXPECT_EQ(XPathTexts(doc.get(), expression), expected) << expression << "\n" << sDocument;
        for (const std::string& s : c.substrings)
            EXPECT_NE(sDocument.find(s), std::string::npos) << "missing: " << s << "\n" << sDocument;
        for (const std::string& s : c.absent)
            EXPECT_EQ(sDocument.find(s), std::string::npos) << "present: " << s << "\n" << sDocument;
    }
}

// ---------------------------------------------------------------- titleInfo

TEST(XmlModsTitles, TitleInfoTable) {
    testsupport::TempSettingsFolder folder;
    const std::vector<DocCase> cases = {
        {"245 with nonfiling 4: nonSort, title, subTitle; $c not taken",
         {{"245", D("14$aThe cat /$bsub :$cby me.")}},
         1,
         {{kTitle + "/mods:nonSort", {"The "}},
          {kTitle + "/@type", {}},
          {"//mods:titleInfo//text()[contains(., 'by me')]", {}}},
         {"\r\n\t\t<titleInfo><nonSort>The </nonSort><title>cat /</title><subTitle>sub :</subTitle></titleInfo>"}},
        {"the same under form 5: final slash and colon trimmed with the blank",
         {{"245", D("14$aThe cat /$bsub :$cby me.")}},
         5,
         {},
         {"\r\n\t\t<titleInfo><nonSort>The </nonSort><title>cat</title><subTitle>sub</subTitle></titleInfo>"}},
        {"a non-digit second indicator counts as 0; a 740 keeps its article; a 740 of ind2 2 is passed over",
         {{"245", D("1x$aThe cat.")}, {"740", D("0 $aThe dog.")}, {"740", D("02$aAnalytic.")}},
         1,
         {{kTitle + "/mods:nonSort", {}},
          {kTitle + "/mods:title", {"The cat.", "The dog."}},
          {kTitle + "/@type", {"alternative"}}}},
        {"every title tag in record order with its type",
         {{"130", D("0 $aUni130")}, {"210", D("0 $aAbbr")}, {"240", D("10$aUni240")}, {"242", D("10$aTrans")},
          {"245", D("10$aMain")}, {"246", D("31$aPar")}, {"246", D("33$aOther")}, {"730", D("0 $aUni730")},
          {"730", D("02$aNo730")}, {"740", D("0 $aAlt")}, {"650", D(" 0$aNot a title")}},
         1,
         {{kTitle + "/mods:title", {"Uni130", "Abbr", "Uni240", "Trans", "Main", "Par", "Other", "Uni730", "Alt"}},
          {kTitle + "/@type",
           {"uniform", "abbreviated", "uniform", "translated", "translated", "alternative", "uniform", "alternative"}},
          {kTitle + "[mods:title='Main']/@type", {}}}},
        {"a 246 $i becomes the escaped label; a $a label is replaced by it",
         {{"245", D("10$aMain")}, {"246", D("1 $iCover & <spine>:$aOther\tLost")}},
         1,
         {{kTitle + "[2]/@displayLabel", {"Cover & <spine>:"}},
          {kTitle + "[2]/mods:title", {"Other"}}},
         {"<titleInfo type=\"alternative\" displayLabel=\"Cover &amp; &lt;spine&gt;:\"><title>Other</title>"}},
        {"a label after a TAB in $a goes onto titleInfo, escaped; title carries none",
         {{"245", D("10$aMain\tSeen & <kept>$bsub\tSub & label")}},
         1,
         {{kTitle + "/@displayLabel", {"Seen & <kept>"}},
          {kTitle + "/mods:title/@displayLabel", {}},
          {kTitle + "/mods:title", {"Main"}},
          {kTitle + "/mods:subTitle/@displayLabel", {"Sub & label"}},
          {kTitle + "/mods:subTitle", {"sub"}}},
         {"<titleInfo displayLabel=\"Seen &amp; &lt;kept&gt;\"><title>Main</title>"
          "<subTitle displayLabel=\"Sub &amp; label\">sub</subTitle></titleInfo>"}},
        {"$a $n $p $n: each part its own element, taking its following codes, labels kept",
         {{"245", D("10$aMain.$hvideo$nPart 1.$pIntro$kcoll\tName label$nPart 2.$bsub")}},
         1,
         {{kTitle + "/mods:partNumber", {"Part 1.", "Part 2."}},
          {kTitle + "/mods:partName/@displayLabel", {"Name label"}}},
         {"<titleInfo><title>Main. video</title><subTitle>sub</subTitle><partNumber>Part 1.</partNumber>"
          "<partName displayLabel=\"Name label\">Intro coll</partName><partNumber>Part 2.</partNumber></titleInfo>"}},
        {"form 5 leaves part elements untrimmed",
         {{"245", D("10$aMain /$nPart 1 /$pName :")}},
         5,
         {},
         {"<title>Main</title><partNumber>Part 1 /</partNumber><partName>Name :</partName>"}},
        {"no $a: a subTitle alone; a field of $c only gives no titleInfo",
         {{"245", D("10$bOnly sub")}, {"246", D("3 $cNothing")}},
         1,
         {{kTitle, {"Only sub"}}, {kTitle + "/mods:title", {}}}},
        {"nonfiling counted in characters of UTF-8 text",
         {{"245", D("13$a\xCE\xA4\xCE\xBF \xCE\xB2\xCE\xB9\xCE\xB2\xCE\xBB\xCE\xAF\xCE\xBF")}},
         1,
         {{kTitle + "/mods:nonSort", {"\xCE\xA4\xCE\xBF "}},
          {kTitle + "/mods:title", {"\xCE\xB2\xCE\xB9\xCE\xB2\xCE\xBB\xCE\xAF\xCE\xBF"}}}},
        // A count that reaches the whole content of $a takes nothing: the
        // title stays whole, without a nonSort.
        {"nonfiling count beyond the title",
         {{"245", D("19$aHamlet")}},
         1,
         {{kTitle + "/mods:nonSort", {}}, {kTitle + "/mods:title", {"Hamlet"}}},
         {"<titleInfo><title>Hamlet</title></titleInfo>"}},
        {"nonfiling count one above the title, with a subtitle",
         {{"245", D("14$aThe$bend")}},
         1,
         {{kTitle + "/mods:nonSort", {}}, {kTitle + "/mods:title", {"The"}}, {kTitle + "/mods:subTitle", {"end"}}}},
        {"nonfiling count equal to the title's length",
         {{"245", D("13$aThe")}},
         1,
         {{kTitle + "/mods:nonSort", {}}, {kTitle + "/mods:title", {"The"}}}},
        {"nonfiling count one below the title's length still cuts",
         {{"245", D("13$aThe.")}},
         1,
         {{kTitle + "/mods:nonSort", {"The"}}, {kTitle + "/mods:title", {"."}}}},
    };
    RunCases(cases);
}

// Writing MODS cuts the label from the first $a of a title field: the
// second document has none there, and the record keeps the cut text.
TEST(XmlModsTitles, TitleLabelIsCutFromTheRecord) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    xml_test::Load(record, kBib, {{"245", D("10$aMain\tLabel$bsub")}, {"740", D("0 $aAlt\tOther")}});
    const std::string sFirst = record.XMLRecordOut(1);
    const std::string sSecond = record.XMLRecordOut(1);
    EXPECT_NE(sFirst.find("<titleInfo displayLabel=\"Label\"><title>Main</title>"), std::string::npos) << sFirst;
    EXPECT_NE(sFirst.find("<titleInfo type=\"alternative\" displayLabel=\"Other\">"), std::string::npos) << sFirst;
    EXPECT_EQ(sSecond.find("displayLabel"), std::string::npos) << sSecond;
    EXPECT_NE(sSecond.find("<titleInfo><title>Main</title><subTitle>sub</subTitle></titleInfo>"), std::string::npos);
    ASSERT_TRUE(record.FldFindFirst("245", ""));
    ASSERT_TRUE(record.SfdFindFirst("a", ""));
    EXPECT_EQ(record.SfdText(), "Main");
    EXPECT_EQ(record.MarcRecordOut().find('\t'), std::string::npos);
}

// ---------------------------------------------------------------- name

TEST(XmlModsTitles, NameTable) {
    testsupport::TempSettingsFolder folder;
    const std::vector<DocCase> cases = {
        {"100 without $8 gets Creator; a $8 is the role, escaped; 700 without role under form 1",
         {{"100", D("1 $aSmith, J.$d1900-")}, {"110", D("2 $aCorp.$8Issuer & <co>")}, {"700", D("1 $aDoe, A.")},
          {"111", D("2 $aMeeting$d(1990)")}},
         1,
         {{kName + "/@type", {"personal", "corporate", "personal", "conference"}},
          {kName + "/@authority", {}},
          {kName + "/mods:role/mods:roleTerm", {"Creator", "Issuer & <co>", "Creator"}},
          {"count(" + kName + "[3]/mods:role)", {}}},
         {"\r\n\t\t<name type=\"personal\"><namePart>Smith, J.</namePart><namePart type=\"date\">1900-</namePart>"
          "<role><roleTerm type=\"text\">Creator</roleTerm></role></name>",
          "<roleTerm type=\"text\">Issuer &amp; &lt;co&gt;</roleTerm>",
          "\r\n\t\t<name type=\"personal\"><namePart>Doe, A.</namePart></name>",
          "<name type=\"conference\"><namePart>Meeting (1990)</namePart>"}},
        {"form 5: naf on every name, Contributor for added entries",
         {{"100", D("1 $aSmith, J.")}, {"700", D("1 $aDoe, A.")}, {"720", D("  $aSomeone")}},
         5,
         {{kName + "/@authority", {"naf", "naf", "naf"}},
          {kName + "/mods:role/mods:roleTerm", {"Creator", "Contributor", "Contributor"}}},
         {"\r\n\t\t<name authority=\"naf\"><namePart>Someone</namePart>"}},
        {"a 700 $e is the role when there is no $8; $8 wins over $e",
         {{"700", D("1 $aDoe, A.$eill.")}, {"700", D("1 $aRoe, B.$eill.$8editor")}},
         1,
         {{kName + "/mods:role/mods:roleTerm", {"ill.", "editor"}}}},
        {"711 built as a corporate name of type corporate; 700 and 710 with $t give no name",
         {{"711", D("2 $aConf.$d(1990)$eSub.")}, {"700", D("1 $aDoe, A.$tWorks.")},
          {"710", D("2 $aCorp.$tLaws.")}},
         1,
         {{kName + "/@type", {"corporate"}}, {kName + "/mods:namePart", {"Conf.", "(1990)", "Sub."}}}},
        {"720 with first indicator 1 is personal, else no type: the name start tag keeps its blank",
         {{"720", D("1 $aOne")}, {"720", D("2 $aTwo")}},
         1,
         {{kName + "/@type", {"personal"}}},
         {"\r\n\t\t<name type=\"personal\"><namePart>One</namePart></name>",
          "\r\n\t\t<name ><namePart>Two</namePart></name>"}},
        {"a name field without $a gives nothing; other tags are passed over",
         {{"100", D("1 $dd1$bIII")}, {"600", D("10$aSubject")}, {"710", D("2 $bsub only")}},
         1,
         {{kName, {}}}},
    };
    RunCases(cases);
}

// ---------------------------------------------------------------- typeOfResource

TEST(XmlModsTitles, TypeOfResourceTable) {
    testsupport::TempSettingsFolder folder;
    struct Case {
        char type, level;
        std::string expected;  // the element, or "" for none
    };
    const std::vector<Case> cases = {
        {'a', 'm', "<typeOfResource>text</typeOfResource>"},
        {'t', 'c', "<typeOfResource collection=\"yes\" manuscript=\"yes\">text</typeOfResource>"},
        {'c', 'm', "<typeOfResource>notated music</typeOfResource>"},
        {'d', 'm', "<typeOfResource manuscript=\"yes\">notated music</typeOfResource>"},
        {'e', 'c', "<typeOfResource collection=\"yes\">cartographic</typeOfResource>"},
        {'f', 'm', "<typeOfResource manuscript=\"yes\">cartographic</typeOfResource>"},
        {'g', 'm', "<typeOfResource>moving image</typeOfResource>"},
        {'i', 'm', "<typeOfResource>sound recording-nonmusical</typeOfResource>"},
        {'j', 'm', "<typeOfResource>sound recording-musical</typeOfResource>"},
        {'k', 'm', "<typeOfResource>still image</typeOfResource>"},
        {'m', 'm', "<typeOfResource>software, multimedia</typeOfResource>"},
        {'p', 'c', "<typeOfResource collection=\"yes\" manuscript=\"yes\">mixed material</typeOfResource>"},
        {'r', 'm', "<typeOfResource>three dimensional object</typeOfResource>"},
        {'o', 'c', ""},
        {'b', 'm', ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("leader/06-07 ") + c.type + c.level);
        Utf8MarcRecordClass record;
        xml_test::Load(record, Leader(c.type, c.level), {{"001", "mods-titles"}, {"245", D("10$aTitle")}});
        const std::string sDocument = record.XMLRecordOut(1);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument);
        if (!doc) continue;
        if (c.expected.empty()) {
            EXPECT_EQ(XPathNumber(doc.get(), "count(" + kMods + "mods:typeOfResource)"), 0) << sDocument;
        } else {
            EXPECT_EQ(XPathNumber(doc.get(), "count(" + kMods + "mods:typeOfResource)"), 1) << sDocument;
            EXPECT_NE(sDocument.find("\r\n\t\t" + c.expected), std::string::npos) << sDocument;
        }
    }
}

// ---------------------------------------------------------------- originInfo

TEST(XmlModsTitles, OriginInfoDatesFrom008) {
    testsupport::TempSettingsFolder folder;
    const std::string kIssued = kOrigin + "/mods:dateIssued";
    const std::vector<DocCase> cases = {
        {"single date", {{"008", Fixed008("s", "1999", "    ", "nyu")}}, 1,
         {{kIssued, {"1999"}}},
         {"<dateIssued encoding=\"marc\">1999</dateIssued>"}},
        {"single date under form 5 is the key date", {{"008", Fixed008("s", "1999", "    ", "nyu")}}, 5,
         {{kIssued + "/@keyDate", {"yes"}}},
         {"<dateIssued keyDate=\"yes\" encoding=\"marc\">1999</dateIssued>"}},
        {"range under form 5: key date on the start only", {{"008", Fixed008("m", "1990", "1995", "nyu")}}, 5,
         {{kIssued, {"1990", "1995"}}},
         {"\r\n\t\t\t<dateIssued keyDate=\"yes\" encoding=\"marc\" point=\"start\">1990</dateIssued>"
          "\r\n\t\t\t<dateIssued encoding=\"marc\" point=\"end\">1995</dateIssued>"}},
        {"range with date 1 blank: the end carries the key date", {{"008", Fixed008("d", "    ", "1995", "nyu")}}, 5,
         {{kIssued, {"1995"}}},
         {"<dateIssued keyDate=\"yes\" encoding=\"marc\" point=\"end\">1995</dateIssued>"}},
        {"questionable range", {{"008", Fixed008("q", "19uu", "1950", "nyu")}}, 5,
         {{kIssued + "/@qualifier", {"questionable", "questionable"}}},
         {"<dateIssued keyDate=\"yes\" qualifier=\"questionable\" encoding=\"marc\" point=\"start\">19uu</dateIssued>"
          "\r\n\t\t\t<dateIssued qualifier=\"questionable\" encoding=\"marc\" point=\"end\">1950</dateIssued>"}},
        {"range under form 1 has no key date", {{"008", Fixed008("c", "1990", "9999", "nyu")}}, 1,
         {{kIssued + "/@keyDate", {}}},
         {"<dateIssued encoding=\"marc\" point=\"start\">1990</dateIssued>"
          "\r\n\t\t\t<dateIssued encoding=\"marc\" point=\"end\">9999</dateIssued>"}},
        {"publication and copyright dates", {{"008", Fixed008("t", "1990", "1988", "nyu")}}, 5,
         {{kOrigin + "/mods:copyrightDate", {"1988"}}, {kOrigin + "/mods:copyrightDate/@*", {}}},
         {"<dateIssued keyDate=\"yes\" encoding=\"marc\">1990</dateIssued>"
          "\r\n\t\t\t<copyrightDate>1988</copyrightDate>"}},
        {"copyright date alone takes the key date", {{"008", Fixed008("t", "    ", "1988", "nyu")}}, 5,
         {{kIssued, {}}, {kOrigin + "/mods:copyrightDate/@keyDate", {"yes"}}}},
        {"types b and n give no dates", {{"008", Fixed008("b", "1990", "1995", "nyu")}}, 1, {{kIssued, {}}}},
        {"type n", {{"008", Fixed008("n", "1990", "1995", "nyu")}}, 5, {{kIssued, {}}}},
        {"dates and the place code are escaped",
         {{"008", Fixed008("m", "19<&", "\"'>9", "a&b")}}, 1,
         {{kIssued, {"19<&", "\"'>9"}}, {kOrigin + "/mods:place/mods:placeTerm[@type='code']", {"a&b"}}}},
    };
    RunCases(cases);
}

TEST(XmlModsTitles, OriginInfoPlacesPublishersAndOtherDates) {
    testsupport::TempSettingsFolder folder;
    const std::string kCodePlace = "<place><placeTerm type=\"code\" authority=\"marccountry\">";
    const std::vector<DocCase> cases = {
        {"no 008: a code place of empty content, no dates; issuance always",
         {{"245", D("10$aTitle")}}, 1,
         {{kOrigin + "/*", {"", "monographic"}}},
         {"\r\n\t\t<originInfo>\r\n\t\t\t" + kCodePlace + "</placeTerm></place>"
          "\r\n\t\t\t<issuance>monographic</issuance>\r\n\t\t</originInfo>"}},
        {"fill characters or blanks give no code place",
         {{"008", Fixed008("s", "1999", "    ", "xx|")}}, 1,
         {{kOrigin + "/mods:place/mods:placeTerm", {}}}},
        {"blank country", {{"008", Fixed008("s", "1999", "    ", "   ")}}, 1,
         {{kOrigin + "/mods:place/mods:placeTerm", {}}}},
        {"code place, 044 text place, then 245 $f as dateIssued",
         {{"008", Fixed008("|", "    ", "    ", "nyu")}, {"044", D("  $ane & <x>$afr")},
          {"245", D("10$aT$f1920\tLabel$g1930")}},
         1,
         {{kOrigin + "/*", {"nyu", "ne & <x>", "1920", "monographic"}},
          {kOrigin + "/mods:place/mods:placeTerm/@type", {"code", "text"}}},
         {kCodePlace + "nyu</placeTerm></place>\r\n\t\t\t<place><placeTerm type=\"text\" authority=\"marccountry\">"
          "ne &amp; &lt;x&gt;</placeTerm></place>\r\n\t\t\t<dateIssued>1920</dateIssued>"}},
        {"245 $g only without $f", {{"245", D("10$aT$g1930-1940")}}, 1,
         {{kOrigin + "/mods:dateIssued", {"1930-1940"}}}},
        {"260s in order: place, publisher, dateIssued, dateCreated; a record without 245 keeps them",
         {{"260", D("  $aParis :$bPub & Co,$c1990.$g1989")}, {"260", D("  $aLondon$c1991")}}, 1,
         {{kOrigin + "/*",
           {"", "Paris :", "Pub & Co,", "1990.", "1989", "London", "1991", "monographic"}}},
         {"<publisher>Pub &amp; Co,</publisher>"}},
        {"a 260 before the 245 is read",
         {{"260", D("  $aParis")}, {"245", D("10$aT")}}, 1,
         {{kOrigin + "/mods:place/mods:placeTerm[@type='text']", {"Paris"}}}},
        {"033: ind1 2 gives start and end; 0 and 1 one start; other ind1 nothing",
         {{"033", D("2 $a19900101$a19900131")}, {"033", D("0 $a2000$a2001")}, {"033", D("1 $a2002")},
          {"033", D("  $a2003")}, {"033", D("2 $bnone")}},
         1,
         {{kOrigin + "/mods:dateCaptured", {"19900101", "19900131", "2000", "2002"}},
          {kOrigin + "/mods:dateCaptured/@point", {"start", "end", "start", "start"}},
          {kOrigin + "/mods:dateCaptured[1]/@*", {"iso8601", "start"}}}},
        {"046 codes in their order, first of each",
         {{"046", D("  $n2005$m2004$l2003$k2002$j2001$d2000$b1999$b1998")}}, 1,
         {{kOrigin + "/*", {"", "1999", "2000", "2001", "2002", "2003", "2004", "2005", "monographic"}}},
         {"\t<dateIssued encoding=\"marc\" point=\"start\">1999</dateIssued>",
          "\t<dateIssued encoding=\"marc\" point=\"end\">2000</dateIssued>", "\t<dateModified>2001</dateModified>",
          "\t<dateCreated point=\"start\">2002</dateCreated>", "\t<dateCreated point=\"end\">2003</dateCreated>",
          "\t<dateValid point=\"start\">2004</dateValid>", "\t<dateValid point=\"end\">2005</dateValid>"}},
        {"edition, continuing issuance, frequencies of the 310 and every 321 with labels",
         {{"250", D("  $a2nd ed. & more")}, {"310", D("  $aMonthly\tNow$b1990-")}, {"321", D("  $bsince 1950")},
          {"321", D("  $aWeekly")}},
         1,
         {{kOrigin + "/mods:edition", {"2nd ed. & more"}},
          {kOrigin + "/mods:issuance", {"continuing"}},
          {kOrigin + "/mods:frequency", {"Monthly 1990-", "since 1950", "Weekly"}}},
         {"\r\n\t\t\t<frequency>Monthly 1990-</frequency>"},
         {},
         Leader('a', 's')},
        {"a 310 label on its last taken subfield", {{"310", D("  $aMonthly$b1990-\tCurrent")}}, 1,
         {{kOrigin + "/mods:frequency/@displayLabel", {"Current"}}}},
    };
    RunCases(cases);
    for (char level : std::string("bis")) {
        Utf8MarcRecordClass record;
        xml_test::Load(record, Leader('a', level), {{"001", "mods-titles"}, {"245", D("10$aT")}});
        EXPECT_NE(record.XMLRecordOut(1).find("<issuance>continuing</issuance>"), std::string::npos) << level;
    }
}

// ---------------------------------------------------------------- hostile text

// Values XML cannot carry as they stand, through every element of these
// sections: the documents stay well-formed and give the values back.
TEST(XmlModsTitles, HostileValuesComeBackEscaped) {
    testsupport::TempSettingsFolder folder;
    const std::string kSpecial = "<a> & \"b\" 'c'";
    const std::string kCjk = "\xE4\xB8\xAD\xE6\x96\x87";
    const std::vector<DocCase> cases = {
        {"the five special characters",
         {{"008", Fixed008("s", "1999", "    ", "<&>")}, {"100", D("1 $a" + kSpecial + "$8" + kSpecial)},
          {"245", D("10$a" + kSpecial + "\t" + kSpecial + "$b" + kSpecial + "$f" + kSpecial)},
          {"260", D("  $a" + kSpecial + "$b" + kSpecial)}, {"310", D("  $a" + kSpecial + "\t" + kSpecial)}},
         1,
         {{kTitle + "/mods:title", {kSpecial}},
          {kTitle + "/@displayLabel", {kSpecial}},
          {kTitle + "/mods:subTitle", {kSpecial}},
          {kName + "/mods:namePart", {kSpecial}},
          {kName + "/mods:role/mods:roleTerm", {kSpecial}},
          {kOrigin + "/mods:place/mods:placeTerm", {"<&>", kSpecial}},
          {kOrigin + "/mods:publisher", {kSpecial}},
          {kOrigin + "/mods:dateIssued", {kSpecial, "1999"}},
          {kOrigin + "/mods:frequency", {kSpecial}},
          {kOrigin + "/mods:frequency/@displayLabel", {kSpecial}}}},
        {"C0 controls and malformed UTF-8 become U+FFFD; Greek and CJK pass",
         {{"100", D("1 $aA\x01" "B\xC3")}, {"245", D("10$a\xCE\xB1\xCE\xB2 " + kCjk + "$b\xFF\x02")},
          {"260", D("  $b" + kCjk)}},
         1,
         {{kName + "/mods:namePart", {"A" + xml_test::kFffd + "B" + xml_test::kFffd}},
          {kTitle + "/mods:title", {"\xCE\xB1\xCE\xB2 " + kCjk}},
          {kTitle + "/mods:subTitle", {xml_test::kFffd + xml_test::kFffd}},
          {kOrigin + "/mods:publisher", {kCjk}}}},
    };
    RunCases(cases);
}

// Under output set "M" the document is the one of the record read into UTF-8
// (MARC-8 has no TAB: a marker, so no label); the nonfiling part counts the
// characters of the converted title.
TEST(XmlModsTitles, Marc8Record) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    xml_test::Load(record, "00000nam  2200000 a 4500",
                   {{"008", Fixed008("s", "1999", "    ", "fr ")},
                    {"100", D("1 $aB\xE2" "eb\xE2" "e,$8r\xE2" "ole")},
                    {"245", D("14$aLes \xE2" "ecoles\t\xE2" "e$bd\xE2" "et\xE2" "e")},
                    {"260", D("  $aQu\xE2" "ebec")}},
                   "M");
    const std::string sDocument = record.XMLRecordOut(1);
    const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument);
    ASSERT_TRUE(doc);
    const std::string e = "e\xCC\x81";  // e and the combining acute
    EXPECT_EQ(XPathTexts(doc.get(), kTitle + "/mods:nonSort"), std::vector<std::string>{"Les "});
    EXPECT_EQ(XPathTexts(doc.get(), kTitle + "/mods:title"), std::vector<std::string>{e + "coles[MARC+09]" + e});
    EXPECT_EQ(XPathTexts(doc.get(), kTitle + "/@displayLabel"), std::vector<std::string>{});
    EXPECT_EQ(XPathTexts(doc.get(), kTitle + "/mods:subTitle"), std::vector<std::string>{"d" + e + "t" + e});
    EXPECT_EQ(XPathTexts(doc.get(), kName + "/mods:namePart"), std::vector<std::string>{"B" + e + "b" + e + ","});
    EXPECT_EQ(XPathTexts(doc.get(), kName + "/mods:role/mods:roleTerm"), std::vector<std::string>{"ro\xCC\x81le"});
    EXPECT_EQ(XPathTexts(doc.get(), kOrigin + "/mods:place/mods:placeTerm"),
              (std::vector<std::string>{"fr ", "Qu" + e + "bec"}));
    EXPECT_EQ(record.CharacterSetOut(), "M");
}

// A record without labels gives the same document every time, in both
// forms, and the cursor stands where it stood.
TEST(XmlModsTitles, SecondDocumentIsTheSame) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    xml_test::Load(record, Leader('a', 's'),
                   {{"008", Fixed008("m", "1990", "1995", "nyu")}, {"100", D("1 $aSmith, J.$eauthor.")},
                    {"245", D("14$aThe cat /$bsub :$nPart 1$pName$cby me.")}, {"246", D("1 $iAlso:$aOther")},
                    {"260", D("  $aParis :$bPub,$c1990.")}, {"310", D("  $aMonthly")}, {"700", D("1 $aDoe, A.")}});
    ASSERT_TRUE(record.FldFindFirst("260", ""));
    ASSERT_TRUE(record.SfdFindFirst("b", ""));
    const int16_t iField = record.FldPointer(), iSubfield = record.SfdPointer();
    for (int form : {1, 5}) {
        const std::string sFirst = record.XMLRecordOut(form);
        xml_test::ExpectModsStructure(sFirst);
        EXPECT_EQ(record.XMLRecordOut(form), sFirst) << form;
        EXPECT_EQ(record.FldPointer(), iField);
        EXPECT_EQ(record.SfdPointer(), iSubfield);
    }
}

// Debian's libmarc-perl sample records, both forms: well-formed, one
// titleInfo without type per 245, one name per name field with $a that these
// sections take, one originInfo, and the same document a second time.
TEST(XmlModsTitles, SampleRecords) {
    testsupport::TempSettingsFolder folder;
    int documents = 0;
    for (const char* name : {"microlif.001", "specials.001"}) {
        const std::string path = std::string("/usr/share/doc/libmarc-perl/examples/") + name;
        if (!std::filesystem::exists(path)) {
            ADD_FAILURE() << "missing sample " << path << " (Debian libmarc-perl)";
            continue;
        }
        xml_test::ForEachLoadedRecord(path, [&](Utf8MarcRecordClass& record, const std::string&) {
            int titles = 0, names = 0;
            record.FldMoveTop();
            while (record.FldMoveNext(true)) {
                const std::string sTag = record.FldTag();
                if (sTag == "245") ++titles;
                const bool bName = sTag == "100" || sTag == "110" || sTag == "111" || sTag == "720" ||
                                   ((sTag == "700" || sTag == "710" || sTag == "711") && !record.SfdFindFirst("t", ""));
                if (bName && record.SfdFindFirst("a", "")) ++names;
            }
            for (int form : {1, 5}) {
                const std::string what = std::string(name) + " record " + std::to_string(documents) + " form " +
                                         std::to_string(form);
                const std::string sDocument = record.XMLRecordOut(form);
                const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, what);
                if (!doc) continue;
                EXPECT_EQ(XPathNumber(doc.get(), "count(" + kTitle + "[not(@type)])"), titles) << what;
                EXPECT_EQ(XPathNumber(doc.get(), "count(" + kName + ")"), names) << what;
                EXPECT_EQ(XPathNumber(doc.get(), "count(" + kOrigin + "/mods:issuance)"), 1) << what;
                EXPECT_EQ(XPathNumber(doc.get(), "count(" + kOrigin + ")"), 1) << what;
                EXPECT_EQ(record.XMLRecordOut(form), sDocument) << what;
            }
            ++documents;
        });
    }
    EXPECT_GT(documents, 0);
}

}  // namespace
