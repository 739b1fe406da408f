// The MODS document's genre sections: the marcgt terms coded in the 008 (and
// the 007 fields of maps) by record kind, through the public member and the
// whole document, then the 655 headings with their sources and labels.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using xml_test::kFffd;
using xml_test::Load;
using xml_test::TaggedField;

// Leader/06-07 of each kind of record.
const std::string kSerial = "00000nas a2200000 a 4500";
const std::string kMusic = "00000njm a2200000 a 4500";
const std::string kMap = "00000nem a2200000 a 4500";
const std::string kVisual = "00000ngm a2200000 a 4500";
const std::string kComputer = "00000nmm a2200000 a 4500";
const std::string kMixed = "00000npc a2200000 a 4500";

// A 008 of blanks with the given texts at their zero-based positions.
std::string F008(const std::vector<std::pair<size_t, std::string>>& at, size_t length = 40) {
    std::string s(length, ' ');
    for (const auto& [position, text] : at) s.replace(position, text.size(), text);
    return s;
}

// Each genre element of a MODS document as "authority=.. label=..: text",
// an attribute left out when the element has none.
std::vector<std::string> GenreLines(xmlDoc* doc) {
    std::vector<std::string> lines;
    xmlXPathContext* context = xmlXPathNewContext(doc);
    xml_test::RegisterNamespaces(context);
    xmlXPathObject* result =
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>("/mods:modsCollection/mods:mods/mods:genre"), context);
    if (result && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlNode* node = result->nodesetval->nodeTab[i];
            std::string line;
            int known = 0, attributes = 0;
            if (xmlHasProp(node, reinterpret_cast<const xmlChar*>("authority"))) {
                line += "authority=" + xml_test::Attribute(node, "authority") + " ";
                ++known;
            }
            if (xmlHasProp(node, reinterpret_cast<const xmlChar*>("displayLabel"))) {
                line += "label=" + xml_test::Attribute(node, "displayLabel") + " ";
                ++known;
            }
            for (xmlAttr* a = node->properties; a; a = a->next) ++attributes;
            if (attributes != known) line += "(other attributes) ";
            lines.push_back(line + ": " + xml_test::Content(node));
        }
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return lines;
}

std::vector<std::string> Marcgt(const std::vector<std::string>& terms) {
    std::vector<std::string> lines;
    for (const std::string& term : terms) lines.push_back("authority=marcgt : " + term);
    return lines;
}

// ---------------------------------------------------------------- coded terms

struct CodedCase {
    const char* what;
    std::string leader;
    std::vector<TaggedField> fields;  // besides the 001
    std::vector<std::string> terms;   // in document order
};

TEST(XmlModsGenre, CodedTermsByKind) {
    const std::vector<CodedCase> cases = {
        // Books: nature of contents in table order, then 29, 30, 33, 34.
        {"book: abcd, conference, festschrift, fiction, biography a", kBib,
         {{"008", F008({{24, "abcd"}, {29, "1"}, {30, "1"}, {33, "1"}, {34, "a"}})}},
         {"abstract or summary", "bibliography", "catalog", "dictionary", "conference publication", "festschrift",
          "fiction", "biography"}},
        {"book: igfe in table order; comic strip; biography b", kBib,
         {{"008", F008({{24, "igfe"}, {33, "c"}, {34, "b"}})}},
         {"encyclopedia", "handbook", "legal article", "index", "comic strip", "biography"}},
        {"book: jklm with patent; drama; biography c", kBib, {{"008", F008({{24, "jklm"}, {33, "d"}, {34, "c"}})}},
         {"patent", "discography", "legislation", "theses", "drama", "biography"}},
        {"book: nopq; essay; biography d", kBib, {{"008", F008({{24, "nopq"}, {33, "e"}, {34, "d"}})}},
         {"survey of literature", "review", "programmed text", "filmography", "essay", "biography"}},
        {"book: rstv; novel; 34 e is no biography", kBib, {{"008", F008({{24, "rstv"}, {33, "f"}, {34, "e"}})}},
         {"directory", "statistics", "technical report", "legal case and case notes", "novel"}},
        {"book: wz; humor; 34 fill", kBib, {{"008", F008({{24, "wz  "}, {33, "h"}, {34, "|"}})}},
         {"law report or digest", "treaty", "humor, satire"}},
        {"book: b twice gives one term; letter", kBib, {{"008", F008({{24, "bb  "}, {33, "i"}})}},
         {"bibliography", "letter"}},
        {"book: i before b in the record; short story", kBib, {{"008", F008({{24, "ib  "}, {33, "j"}})}},
         {"bibliography", "index", "short story"}},
        {"book: poetry; 29 and 30 other than 1", kBib, {{"008", F008({{29, "0"}, {30, "|"}, {33, "p"}})}}, {"poetry"}},
        {"book: letters outside the table; speech", kBib, {{"008", F008({{24, "hxuy"}, {33, "s"}})}}, {"speech"}},
        {"book: 33 nonfiction, 33 in capitals", kBib, {{"008", F008({{24, "B"}, {33, "F"}})}}, {}},
        {"book: no 008", kBib, {{"245", D("10$aNo 008.")}}, {}},
        {"book: a 008 that ends at 25", kBib, {{"008", F008({{24, "b"}}, 26)}}, {"bibliography"}},
        // Serials: continuing resource, the books' run without "patent", 29.
        {"serial: periodical; j is never patent", kSerial, {{"008", F008({{21, "p"}, {24, "j   "}})}}, {"periodical"}},
        {"serial: database, run, conference", kSerial, {{"008", F008({{21, "d"}, {24, "zjba"}, {29, "1"}})}},
         {"database", "abstract or summary", "bibliography", "treaty", "conference publication"}},
        {"serial: looseleaf", kSerial, {{"008", F008({{21, "l"}})}}, {"looseleaf"}},
        {"serial: series", kSerial, {{"008", F008({{21, "m"}})}}, {"series"}},
        {"serial: newspaper", kSerial, {{"008", F008({{21, "n"}})}}, {"newspaper"}},
        {"serial: web site; no book tests of 30, 33, 34", kSerial,
         {{"008", F008({{21, "w"}, {30, "1"}, {33, "1"}, {34, "a"}})}}, {"web site"}},
        // Music: literary text, "k" between "h" and "i".
        {"music: k then h", kMusic, {{"008", F008({{30, "kh"}})}}, {"history", "humor, satire"}},
        {"music: i then k, k first", kMusic, {{"008", F008({{30, "ik"}})}}, {"humor, satire", "instruction"}},
        {"music: ba", kMusic, {{"008", F008({{30, "ba"}})}}, {"autobiography", "biography"}},
        {"music: dc", kMusic, {{"008", F008({{30, "dc"}})}}, {"conference publication", "drama"}},
        {"music: fe", kMusic, {{"008", F008({{30, "fe"}})}}, {"essay", "fiction"}},
        {"music: ig", kMusic, {{"008", F008({{30, "ig"}})}}, {"reporting", "instruction"}},
        {"music: mj", kMusic, {{"008", F008({{30, "mj"}})}}, {"language instruction", "memoir"}},
        {"music: po", kMusic, {{"008", F008({{30, "po"}})}}, {"folktale", "poetry"}},
        {"music: sr", kMusic, {{"008", F008({{30, "sr"}})}}, {"rehearsal", "speech"}},
        {"music: t twice; the book positions say nothing", kMusic,
         {{"008", F008({{24, "b"}, {29, "1"}, {33, "1"}, {30, "tt"}})}}, {"interview"}},
        {"music: n and l are no codes", kMusic, {{"008", F008({{30, "nl"}})}}, {}},
        // Maps: 008/25, else every 007 in field order.
        {"map: a whatever the 007s", kMap, {{"007", "aj canzn"}, {"007", "ad canzn"}, {"008", F008({{25, "a"}})}},
         {"map"}},
        {"map: b", kMap, {{"008", F008({{25, "b"}})}}, {"map"}},
        {"map: c", kMap, {{"008", F008({{25, "c"}})}}, {"map"}},
        {"map: d", kMap, {{"008", F008({{25, "d"}})}}, {"globe"}},
        {"map: e", kMap, {{"008", F008({{25, "e"}})}}, {"atlas"}},
        {"map: f, 007 aj then ad", kMap, {{"007", "aj canzn"}, {"007", "ad canzn"}, {"008", F008({{25, "f"}})}},
         {"map", "atlas"}},
        {"map: fill, 007 aq, ar, others", kMap,
         {{"007", "aq"}, {"007", "ax canzn"}, {"007", "cr"}, {"007", "a"}, {"007", "ar canzn"},
          {"008", F008({{25, "|"}})}},
         {"model", "remote sensing image"}},
        {"map: no 008, an 007 atlas", kMap, {{"007", "ad canzn"}}, {"atlas"}},
        {"map: u and no 007", kMap, {{"008", F008({{25, "u"}})}}, {}},
        // Visual materials, 008/33.
        {"visual: a", kVisual, {{"008", F008({{33, "a"}})}}, {"art original"}},
        {"visual: b", kVisual, {{"008", F008({{33, "b"}})}}, {"kit/graphic"}},
        {"visual: c", kVisual, {{"008", F008({{33, "c"}})}}, {"art reproduction"}},
        {"visual: d", kVisual, {{"008", F008({{33, "d"}})}}, {"diorama"}},
        {"visual: f", kVisual, {{"008", F008({{33, "f"}})}}, {"filmstrip"}},
        {"visual: i", kVisual, {{"008", F008({{33, "i"}})}}, {"picture"}},
        {"visual: k", kVisual, {{"008", F008({{33, "k"}})}}, {"graphic"}},
        {"visual: l", kVisual, {{"008", F008({{33, "l"}})}}, {"technical drawing"}},
        {"visual: m", kVisual, {{"008", F008({{33, "m"}})}}, {"motion picture"}},
        {"visual: n", kVisual, {{"008", F008({{33, "n"}})}}, {"chart"}},
        {"visual: o", kVisual, {{"008", F008({{33, "o"}})}}, {"flash card"}},
        {"visual: p", kVisual, {{"008", F008({{33, "p"}})}}, {"microscope slide"}},
        {"visual: q", kVisual, {{"008", F008({{33, "q"}})}}, {"model"}},
        {"visual: r", kVisual, {{"008", F008({{33, "r"}})}}, {"realia"}},
        {"visual: s", kVisual, {{"008", F008({{33, "s"}})}}, {"slide"}},
        {"visual: t", kVisual, {{"008", F008({{33, "t"}})}}, {"transparency"}},
        {"visual: v", kVisual, {{"008", F008({{33, "v"}})}}, {"videorecording"}},
        {"visual: w", kVisual, {{"008", F008({{33, "w"}})}}, {"toy"}},
        {"visual: e and z are no codes", kVisual, {{"008", F008({{33, "e"}})}}, {}},
        // Computer files, 008/26.
        {"computer: a", kComputer, {{"008", F008({{26, "a"}})}}, {"numeric data"}},
        {"computer: e", kComputer, {{"008", F008({{26, "e"}})}}, {"database"}},
        {"computer: f", kComputer, {{"008", F008({{26, "f"}})}}, {"font"}},
        {"computer: g", kComputer, {{"008", F008({{26, "g"}})}}, {"game"}},
        {"computer: h", kComputer, {{"008", F008({{26, "h"}})}}, {"sound"}},
        {"computer: m is no code", kComputer, {{"008", F008({{26, "m"}})}}, {}},
        // Mixed materials have no table.
        {"mixed", kMixed, {{"008", F008({{24, "abcd"}, {25, "a"}, {26, "a"}, {30, "ab"}, {33, "1"}})}}, {}},
    };
    const std::string kOpen = "\r\n\t\t<genre authority=\"marcgt\">";
    for (const CodedCase& c : cases) {
        SCOPED_TRACE(c.what);
        Utf8MarcRecordClass record;
        std::vector<TaggedField> fields = {{"001", "genre"}};
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        Load(record, c.leader, fields);

        // The public member on its own: exact lines appended to what was there.
        std::string expected = "head";
        for (const std::string& term : c.terms) expected += kOpen + term + "</genre>";
        std::string sOut = "head";
        EXPECT_EQ(record.XmlRecordOutGenreSection(sOut, "\r\n\t\t"), expected);
        EXPECT_EQ(sOut, expected);

        // The whole document: the same terms, right after typeOfResource.
        const std::string sDocument = record.XMLRecordOut(1);
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        ASSERT_TRUE(doc);
        EXPECT_EQ(GenreLines(doc.get()), Marcgt(c.terms));
    }
}

TEST(XmlModsGenre, CursorMovesOnlyForTheMapScan) {
    struct Case {
        const char* what;
        std::string leader, f008;
        bool moves;
    };
    const std::vector<Case> cases = {
        {"book", kBib, F008({{24, "b"}}), false},
        {"map coded in the 008", kMap, F008({{25, "a"}}), false},
        {"map read from its 007s", kMap, F008({{25, "f"}}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Utf8MarcRecordClass record;
        Load(record, c.leader, {{"001", "x"}, {"007", "aj canzn"}, {"008", c.f008}, {"245", D("10$aT$bsub")}});
        ASSERT_TRUE(record.FldFindFirst("245", ""));
        ASSERT_TRUE(record.SfdFindFirst("b", ""));
        const int16_t iField = record.FldPointer(), iSubfield = record.SfdPointer();
        std::string sOut;
        record.XmlRecordOutGenreSection(sOut, "\r\n\t\t");
        EXPECT_FALSE(sOut.empty());
        EXPECT_EQ(record.FldPointer(), c.moves ? -1 : iField);
        if (!c.moves) {
            EXPECT_EQ(record.SfdPointer(), iSubfield);
        }
    }
}

// A text the caller's last find saved does not filter the document's walks:
// the 007s of a map and the 655 headings all come out.
TEST(XmlModsGenre, CallersSavedSearchTextFiltersNothing) {
    Utf8MarcRecordClass record;
    Load(record, kMap,
         {{"001", "x"}, {"007", "aj canzn"}, {"008", F008({{25, "f"}})}, {"245", D("10$aT")},
          {"650", D(" 0$aFrance")}, {"655", D(" 7$aRelief maps.$2lcgft")}});
    ASSERT_TRUE(record.FldFindFirst("650", "France"));
    const std::string sDocument = record.XMLRecordOut(1);
    xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, "after a find with text");
    ASSERT_TRUE(doc);
    EXPECT_EQ(GenreLines(doc.get()), (std::vector<std::string>{"authority=marcgt : map", "authority=lcgft : Relief maps."}))
        << sDocument;
}

// ---------------------------------------------------------------- 655 headings

struct HeadingCase {
    const char* what;
    std::string leader;
    std::vector<TaggedField> fields;  // besides the 001
    std::vector<std::string> genres;  // as GenreLines gives them
    std::string layout;               // a run the document holds, "" for none
};

TEST(XmlModsGenre, HeadingsFrom655) {
    const std::string q = "\"";
    const std::vector<HeadingCase> cases = {
        {"second indicator 0: $a and $v joined by \" - \"", kBib, {{"655", D(" 0$aFantasy fiction.$vJuvenile.")}},
         {"authority=lcsh : Fantasy fiction. - Juvenile."},
         "\r\n\t\t<genre authority=\"lcsh\">Fantasy fiction. - Juvenile.</genre>"},
        {"each coded source, in field order", kBib,
         {{"655", D(" 1$aA")}, {"655", D(" 2$aB")}, {"655", D(" 3$aC")}, {"655", D(" 5$aE")}, {"655", D(" 6$aF")}},
         {"authority=lcshac : A", "authority=mesh : B", "authority=nal : C", "authority=csh : E", "authority=rvm : F"},
         ""},
        {"7 with $2 last", kBib, {{"655", D(" 7$aDetective stories.$2gsafd")}},
         {"authority=gsafd : Detective stories."}, "\r\n\t\t<genre authority=\"gsafd\">Detective stories.</genre>"},
        {"7 with $2 first", kBib, {{"655", D(" 7$2gsafd$aDetective stories.")}},
         {"authority=gsafd : Detective stories."}, "\r\n\t\t<genre authority=\"gsafd\">Detective stories.</genre>"},
        {"7 with two $2: the first", kBib, {{"655", D(" 7$aT$2one$2two")}}, {"authority=one : T"}, ""},
        {"7 without $2", kBib, {{"655", D(" 7$aT")}}, {": T"}, "\r\n\t\t<genre>T</genre>"},
        {"7 with a $2 that needs escaping", kBib, {{"655", D(" 7$aT$2a\"b<c&d'e>")}},
         {"authority=a\"b<c&d'e> : T"}, "<genre authority=\"a&quot;b&lt;c&amp;d&apos;e&gt;\">T</genre>"},
        {"4, blank and an undefined indicator: no source", kBib,
         {{"655", D(" 4$aA")}, {"655", D("  $aB")}, {"655", D("09$aC")}}, {": A", ": B", ": C"}, ""},
        {"the codes taken; others passed over", kBib,
         {{"655", D(" 0$3part$aA$bB$cC$vV$xX$yY$zZ$5DLC$2x")}}, {"authority=lcsh : A - B - V - X - Y - Z"}, ""},
        {"an empty first $a adds no separator", kBib, {{"655", D(" 0$a$vV")}}, {"authority=lcsh : V"}, ""},
        {"only $2 and $5: no line", kBib, {{"655", D(" 7$2gsafd$5DLC")}}, {},
         ""},
        {"a TAB label becomes displayLabel; the content escaped", kBib,
         {{"655", D(" 0$aA & B\tForm & genre")}}, {"authority=lcsh label=Form & genre : A & B"},
         "\r\n\t\t<genre authority=\"lcsh\" displayLabel=\"Form &amp; genre\">A &amp; B</genre>"},
        {"the label of the last taken subfield", kBib, {{"655", D(" 0$aA\tL1$vV")}}, {"authority=lcsh : A - V"}, ""},
        {"hostile text: specials, C0, malformed UTF-8, Greek, CJK", kBib,
         {{"655", D(" 4$a<x> & \"q\" 'a'\x01$v\xC3(\xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97")}},
         {": <x> & \"q\" 'a'" + kFffd + " - " + kFffd + "(\xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97"}, ""},
        {"mixed materials: no coded term, the headings still", kMixed,
         {{"008", F008({{33, "1"}})}, {"655", D(" 0$aA")}}, {"authority=lcsh : A"}, ""},
        {"coded terms first, then the headings in field order", kBib,
         {{"008", F008({{24, "b"}, {33, "1"}})}, {"655", D(" 0$aA")}, {"655", D(" 7$aB$2gsafd")}},
         {"authority=marcgt : bibliography", "authority=marcgt : fiction", "authority=lcsh : A",
          "authority=gsafd : B"},
         "\r\n\t\t<genre authority=\"marcgt\">fiction</genre>\r\n\t\t<genre authority=\"lcsh\">A</genre>"
         "\r\n\t\t<genre authority=\"gsafd\">B</genre>\r\n"},
    };
    for (const HeadingCase& c : cases) {
        SCOPED_TRACE(c.what);
        Utf8MarcRecordClass record;
        std::vector<TaggedField> fields = {{"001", "genre"}, {"245", D("10$aTitle.")}};
        fields.insert(fields.end(), c.fields.begin(), c.fields.end());
        Load(record, c.leader, fields);
        const std::string sDocument = record.XMLRecordOut(1);
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, c.what);
        ASSERT_TRUE(doc);
        EXPECT_EQ(GenreLines(doc.get()), c.genres);
        if (!c.layout.empty()) {
            EXPECT_NE(sDocument.find(c.layout), std::string::npos) << sDocument;
        }
        // The section changes nothing in the record, and the local profile
        // changes nothing in it.
        EXPECT_EQ(record.XMLRecordOut(1), sDocument);
        xml_test::XmlDoc local = xml_test::Parse(record.XMLRecordOut(5));
        ASSERT_TRUE(local);
        EXPECT_EQ(GenreLines(local.get()), c.genres);
    }
}

TEST(XmlModsGenre, Marc8HeadingComesOutInUtf8) {
    Utf8MarcRecordClass record;
    // MARC-8: the acute (0xE2) stands before its letter; MARC-8 has no TAB,
    // so the record read into UTF-8 holds a marker there and no label.
    Load(record, "00000nam  2200000 a 4500",
         {{"001", "m8"}, {"008", F008({{33, "1"}})}, {"655", D(" 7$aCaf\xE2" "e & bar\tL\xE2" "e$2src\xE2" "e")}},
         "M");
    const std::string sDocument = record.XMLRecordOut(1);
    xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument);
    ASSERT_TRUE(doc);
    EXPECT_EQ(GenreLines(doc.get()),
              (std::vector<std::string>{"authority=marcgt : fiction",
                                        "authority=srce\xCC\x81 : Cafe\xCC\x81 & bar[MARC+09]Le\xCC\x81"}));
    EXPECT_EQ(record.CharacterSetOut(), "M");
}

// ---------------------------------------------------------------- sample records

// Every record of a file of records, loaded.
std::vector<std::unique_ptr<Utf8MarcRecordClass>> Records(const std::string& path) {
    std::vector<std::unique_ptr<Utf8MarcRecordClass>> records;
    Utf8MarcFileClass reader;
    reader.OpenFile(path);
    std::string sRecord;
    while (reader.ReadNextRecord(sRecord)) {
        auto record = std::make_unique<Utf8MarcRecordClass>();
        try {
            record->MarcRecordIn(sRecord);
        } catch (const RaisedError&) {
            continue;
        }
        if (!record->MarcRecordIn().empty()) records.push_back(std::move(record));
    }
    return records;
}

TEST(XmlModsGenre, MicrolifSampleRecords) {
    // Fiction throughout, but for one biography and four records without a
    // coded form; two genre headings with the source code "gsafd".
    const std::map<std::string, std::vector<std::string>> kNotable = {
        {"97051141", {"authority=marcgt : fiction", "authority=gsafd : Detective and mystery stories."}},
        {"97034305 //r98", {"authority=marcgt : fiction", "authority=gsafd : Black humor (Literature)"}},
        {"97017318", {"authority=marcgt : biography"}},
        {"98018543", {}},
        {"bk 03123430", {}},
        {"bk 03123431", {}},
        {"87014817 /AC/r94", {}},
    };
    const auto records = Records(std::string(EXITDESK_SOURCE_DIR) + "/testdata/records/microlif.mrc");
    ASSERT_EQ(records.size(), 18u);
    for (const auto& record : records) {
        ASSERT_TRUE(record->FldFindFirst("001", ""));
        std::string s001 = record->FldText();
        s001.erase(0, s001.find_first_not_of(' '));
        while (!s001.empty() && s001.back() == ' ') s001.pop_back();
        SCOPED_TRACE(s001);
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(record->XMLRecordOut(1), s001);
        ASSERT_TRUE(doc);
        const auto found = kNotable.find(s001);
        EXPECT_EQ(GenreLines(doc.get()),
                  found != kNotable.end() ? found->second : Marcgt({"fiction"}));
    }
}

// A music recording and a computer file whose codes name no term.
TEST(XmlModsGenre, MusicRecordingAndComputerFileSamples) {
    const std::string gz = "/usr/share/doc/idzebra-2.0/examples/marcxml/collection-2.xml.gz";
    if (!std::filesystem::exists(gz)) GTEST_SKIP() << "idzebra-2.0-examples is not installed";
    if (xml_test::Shell("command -v yaz-marcdump > /dev/null") != 0) GTEST_SKIP() << "yaz is not installed";
    const std::string path = ::testing::TempDir() + "genre_collection2_" + std::to_string(getpid()) + ".mrc";
    ASSERT_EQ(xml_test::Shell("zcat '" + gz + "' | yaz-marcdump -i marcxml -o marc -l 9=97 /dev/stdin > '" + path +
                              "' 2>/dev/null"),
              0);
    const auto others = Records(path);
    std::remove(path.c_str());
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(others[0]->MarcRecordFormat(), "M");
    EXPECT_EQ(others[1]->MarcRecordFormat(), "D");
    for (const auto& record : others) {
        SCOPED_TRACE(record->MarcRecordFormat());
        xml_test::XmlDoc doc = xml_test::ExpectModsStructure(record->XMLRecordOut(1));
        ASSERT_TRUE(doc);
        EXPECT_EQ(GenreLines(doc.get()), std::vector<std::string>{});
    }
}

}  // namespace
