// The frame of XMLRecordOut and its helpers AddQuotes, XmlTags and XmlConditionText.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/xml/xml_test_support.h"
#include "platform/events.h"

namespace {

using record_test::Iso2709;
using xml_test::D;
using xml_test::TaggedField;

using xml_test::kAuth;
using xml_test::kBib;
using xml_test::kHold;
using xml_test::kFffd;

class XmlFrame : public ::testing::Test {
protected:
    // A record loaded from its fields; one of an 8-bit set (leader/09 blank)
    // is read and held in that set.
    void Load(std::string sLeader, const std::vector<TaggedField>& fields, const char* sSet = "U") {
        if (std::string(sSet) != "U") {
            sLeader[9] = ' ';
            record.CharacterSetIn(sSet);
            record.CharacterSetOut(sSet);
        }
        record.MarcRecordIn(Iso2709(sLeader, fields));
        ASSERT_FALSE(record.MarcRecordIn().empty()) << record.IsMarcErrorText();
    }
    // Puts the cursor on the 245's second subfield.
    void PlaceCursor() {
        record.FldFindFirst("245", "");
        record.SfdMoveFirst();
        record.SfdMoveNext();
    }
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
};

const std::vector<TaggedField> kFields = {{"001", "ocm1"},
                                          {"008", std::string(40, ' ')},
                                          {"245", D("10$aTitle :$bsub.")},
                                          {"650", D(" 0$aCats.")}};

TEST_F(XmlFrame, ConditionTextInUtf8AndIn8BitText) {
    struct Case {
        std::string in;
        std::string utf8;   // in a UTF-8 record
        std::string octet;  // in an 8-bit record
    };
    const std::vector<Case> cases = {
        {"", "", ""},
        {"a<b>c&d\"e'f", "a&lt;b&gt;c&amp;d&quot;e&apos;f", "a&lt;b&gt;c&amp;d&quot;e&apos;f"},
        {"&amp;&#x41;", "&amp;amp;&amp;#x41;", "&amp;amp;&amp;#x41;"},
        // TAB and LF stay, CR becomes a reference (a reader would give it
        // back as LF); every other C0 control is replaced or dropped.
        {std::string("\x01\tA\n\r\x1F", 6) + std::string(1, '\0') + "B",
         kFffd + "\tA\n&#13;" + kFffd + kFffd + "B", "\tA\n&#13;B"},
        {"\xCE\xB1\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xCE\xB1\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80",
         "\xCE\xB1\xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80"},
        // Malformed UTF-8: stray, truncated, overlong, surrogate, past U+10FFFF;
        // 8-bit text keeps its octets.
        {"a\x80z", "a" + kFffd + "z", "a\x80z"},
        {"\xE2\x82<", kFffd + "&lt;", "\xE2\x82&lt;"},
        {"\xE2\x82", kFffd, "\xE2\x82"},
        {"\xC0\xAF", kFffd + kFffd, "\xC0\xAF"},
        {"\xE0\x80\xAF", kFffd + kFffd + kFffd, "\xE0\x80\xAF"},
        {"\xED\xA0\x80", kFffd + kFffd + kFffd, "\xED\xA0\x80"},
        {"\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd, "\xF4\x90\x80\x80"},
        {"\xF0\x9F\x98", kFffd, "\xF0\x9F\x98"},
        // U+FFFE and U+FFFF are no characters of XML; U+FFFD and U+10FFFF are.
        {"\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF", kFffd + kFffd + kFffd + "\xF4\x8F\xBF\xBF",
         "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF"},
    };
    for (const Case& c : cases) EXPECT_EQ(record.XmlConditionText(c.in), c.utf8) << c.in;
    record.CharacterSetOut("M");
    for (const Case& c : cases) EXPECT_EQ(record.XmlConditionText(c.in), c.octet) << c.in;
}

TEST_F(XmlFrame, ConditionTextOfLongTextsIsLinearWithoutOverflow) {
    const std::string sText(1'000'000, '<');
    const auto start = std::chrono::steady_clock::now();
    const std::string sOut = record.XmlConditionText(sText);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(sOut.size(), 4'000'000u);
    EXPECT_EQ(sOut.substr(3'999'996), "&lt;");
    EXPECT_LT(seconds, 1.0);
}

TEST_F(XmlFrame, TagsAndQuotes) {
    struct Case {
        std::string tag, text, expected;
    };
    const std::vector<Case> cases = {
        {"dc:subject", "Cats", "<dc:subject>Cats</dc:subject>"},
        {"dc:subject", "", "<dc:subject></dc:subject>"},
        {"marc:subfield code=\"a\"", "x", "<marc:subfield code=\"a\">x</marc:subfield>"},
        {"title ", "T", "<title >T</title>"},
    };
    for (const Case& c : cases) EXPECT_EQ(record.XmlTags(c.tag, c.text), c.expected);
    EXPECT_EQ(record.AddQuotes(""), "\"\"");
    EXPECT_EQ(record.AddQuotes("a<\"b"), "\"a<\"b\"");
    // An attribute reader makes a blank of a raw TAB, LF or CR.
    EXPECT_EQ(record.AddQuotes("a\tb\nc\rd"), "\"a&#9;b&#10;c&#13;d\"");
}

TEST_F(XmlFrame, FormsByRecordKind) {
    // "" where the form has no document for the kind (cursor untouched);
    // error 5 where the document is not built yet; MARCXML for every kind.
    struct Case {
        std::string leader;
        std::string forms;  // per form 0 to 5: "X" MARCXML, "D" Dublin Core, "M" MODS, "A" MADS, "-" "", "5" error 5
    };
    const std::vector<Case> cases = {{kBib, "XMDMDM"}, {kAuth, "XA-A-A"}, {kHold, "X-----"}};
    for (const Case& c : cases) {
        std::vector<TaggedField> fields = kFields;
        fields.push_back({"150", D(" 0$aCats.")});
        Load(c.leader, fields);
        for (int32_t form = 0; form <= 5; ++form) {
            PlaceCursor();
            const char expected = c.forms[static_cast<size_t>(form)];
            std::string sDocument = "unset";
            try {
                sDocument = record.XMLRecordOut(form);
                EXPECT_NE(expected, '5') << c.leader << " form " << form;
            } catch (const RaisedError& e) {
                EXPECT_EQ(expected, '5') << c.leader << " form " << form;
                EXPECT_EQ(e.Number(), 5);
                EXPECT_EQ(e.Source(), "MarcClass");
                EXPECT_EQ(e.Description(), "No XML document of form " + std::to_string(form) + " is available");
            }
            if (expected == 'X') {
                EXPECT_NE(sDocument.find("<marc:record>"), std::string::npos);
            } else if (expected == 'D') {
                EXPECT_NE(sDocument.find("<dc:title>"), std::string::npos) << form;
            } else if (expected == 'M') {
                xml_test::ExpectModsStructure(sDocument, "form " + std::to_string(form));
            } else if (expected == 'A') {
                xml_test::ExpectMadsStructure(sDocument, "form " + std::to_string(form));
                EXPECT_EQ(sDocument, record.XMLRecordOut(1)) << "form " << form;
            } else if (expected == '-') {
                EXPECT_EQ(sDocument, "");
            }
            EXPECT_EQ(record.FldTag(), "245");
            EXPECT_EQ(record.SfdCode(), "b");
        }
    }
    for (int32_t form : {-1, 6, 1000}) EXPECT_EQ(record.XMLRecordOut(form), "");
}

TEST_F(XmlFrame, CursorAndSetComeBackAfterAnErrorInsideTheDocument) {
    Load(kBib, {{"001", "ocm1"}, {"245", D("10$aTitle :$bsub.")}, {"500", D("  $aNote.")}, {"650", D(" 0$aCats.")}});
    record.FldFindFirst("500", "");
    record.FldDelete();
    PlaceCursor();
    platform::ScopedEventPump pump([] { throw RaisedError(ErrorNumber::Overflow, "Test", "pump"); });
    EXPECT_THROW(record.XMLRecordOut(0), RaisedError);
    EXPECT_EQ(record.FldTag(), "245");
    EXPECT_EQ(record.SfdCode(), "b");
    EXPECT_EQ(record.CharacterSetOut(), "U");
}

TEST_F(XmlFrame, SetLIsRefusedBeforeAnythingChanges) {
    Load(kBib, kFields, "L");
    PlaceCursor();
    for (int32_t form : {0, 1, 2}) {
        try {
            record.XMLRecordOut(form);
            ADD_FAILURE() << "form " << form;
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), 5);
            EXPECT_EQ(e.Source(), "MarcClass");
            EXPECT_EQ(e.Description(), "No record translation from UTF-8 to Windows-1252 is available");
        }
        EXPECT_EQ(record.CharacterSetOut(), "L");
        EXPECT_EQ(record.SfdCode(), "b");
    }
    EXPECT_EQ(record.XMLRecordOut(3 + 4), "");
}

TEST_F(XmlFrame, Marc8RecordGivesUtf8AndKeepsItsSet) {
    // 245 $a "Ce\xE2" with a MARC-8 acute before the e.
    Load(kBib, {{"001", "ocm1"}, {"245", D("10$aCaf\xE2" "e.")}}, "M");
    const std::string sRecordBefore = record.MarcRecordOut();
    PlaceCursor();
    // Whether the record object has its way back from "U" to "M".
    bool bWayBack = true;
    {
        Utf8MarcRecordClass probe;
        probe.CharacterSetIn("M");
        probe.CharacterSetOut("M");
        probe.MarcRecordIn(record.MarcRecordOut());
        probe.CharacterSetOut("U");
        try {
            probe.CharacterSetOut("M");
        } catch (const RaisedError&) {
            bWayBack = false;
        }
    }
    std::string sDocument;
    try {
        sDocument = record.XMLRecordOut(0);
        EXPECT_TRUE(bWayBack);
        EXPECT_NE(sDocument.find("Cafe\xCC\x81."), std::string::npos);
        EXPECT_TRUE(xml_test::Parse(sDocument));
    } catch (const RaisedError& e) {
        EXPECT_FALSE(bWayBack);
        EXPECT_EQ(e.Number(), 5);
        EXPECT_EQ(e.Description(), "No record translation from UTF-8 to MARC-8 is available");
    }
    EXPECT_EQ(record.CharacterSetOut(), "M");
    EXPECT_EQ(record.MarcRecordOut(), sRecordBefore);
}

// TAB, LF and CR in text and in attribute values read back by libxml2 as the
// record holds them, in every form.
TEST_F(XmlFrame, LineEndsAndTabsReadBackAsHeld) {
    const std::string kTitle = "Main\rtitle\n2";
    const std::string kLabel = "Lab\tel\rx\ny";
    struct Case {
        std::string leader;
        int32_t form;
        std::vector<std::string> xpaths;  // each must find one node
    };
    const std::string kText = "//*[text()='" + kTitle + "']";
    const std::vector<Case> cases = {
        // MARCXML keeps the label in the text; its attributes are checked
        // with the hostile values of the MARCXML tests.
        {kBib, 0, {"//*[text()='" + kTitle + "\t" + kLabel + "']", "//*[text()='Note\r\nend']"}},
        {kBib, 1, {"//*[local-name()='title' and text()='" + kTitle + "']", "//*[@displayLabel='" + kLabel + "']"}},
        {kBib, 2, {kText}},
        {kBib, 4, {kText}},
        {kBib, 5, {"//*[@displayLabel='" + kLabel + "']"}},
        {kAuth, 1, {kText}},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass fresh;
        std::vector<TaggedField> fields = {{"001", "x"},
                                           {"008", std::string(40, ' ')},
                                           {"245", D("10$a" + kTitle + "\t" + kLabel)},
                                           {"500", D("  $aNote\r\nend")}};
        if (c.leader == kAuth) fields[2] = {"100", D("1 $a" + kTitle)};
        fresh.MarcRecordIn(Iso2709(c.leader, fields));
        ASSERT_FALSE(fresh.MarcRecordIn().empty()) << fresh.IsMarcErrorText();
        const std::string sDocument = fresh.XMLRecordOut(c.form);
        const xml_test::XmlDoc doc = xml_test::Parse(sDocument);
        ASSERT_TRUE(doc) << c.form << "\n" << sDocument;
        for (const std::string& xpath : c.xpaths)
            EXPECT_EQ(xml_test::XPathNumber(doc.get(), "count(" + xpath + ")"), 1)
                << "form " << c.form << ": " << xpath << "\n" << sDocument;
    }
}

// Every record of the sample files, held in each output set: no document of
// any form changes what MarcRecordOut writes.
TEST(XmlDocuments, NoFormChangesTheRecordOfTheSampleFiles) {
    testsupport::TempSettingsFolder folder;
    const std::string kSource = EXITDESK_SOURCE_DIR;
    const std::vector<std::string> files = {"records/bib-marc8.mrc", "records/bib-utf8.mrc", "records/auth-marc8.mrc",
                                            "records/auth-utf8.mrc", "records/microlif.mrc",
                                            "iso2709/utf8_records.mrc"};
    for (const std::string& file : files) {
        // A UTF-8 record has no way into set "L": under it only 8-bit files load.
        int loaded = 0;
        for (const char* sSet : {"M", "O", "V", "U", "L"}) {
            int changed = 0;
            loaded += xml_test::ForEachLoadedRecord(
                kSource + "/testdata/" + file,
                [&](Utf8MarcRecordClass& record, const std::string&) {
                    const std::string sBefore = record.MarcRecordOut();
                    for (int32_t form = 0; form <= 5; ++form) {
                        try {
                            record.XMLRecordOut(form);
                        } catch (const RaisedError&) {
                            // A set without a way to UTF-8 is refused before anything changes.
                        }
                        const std::string sAfter = record.MarcRecordOut();
                        if (sAfter != sBefore) {
                            ++changed;
                            ADD_FAILURE() << file << " set " << sSet << " form " << form << ": record changed";
                            return;
                        }
                    }
                },
                [&](Utf8MarcRecordClass& record) {
                    if (std::string(sSet) == "L") record.CharacterSetIn("L");
                    record.CharacterSetOut(sSet);
                });
            EXPECT_EQ(changed, 0) << file << " set " << sSet;
        }
        EXPECT_GT(loaded, 0) << file;
    }
}

TEST_F(XmlFrame, SuperscriptZeroBecomesTheDegreeSign) {
    Load(kBib, {{"001", "ocm1"}, {"500", D("  $a20\xE2\x81\xB0 and 20\xC2\xB0.")}});
    const std::string sDocument = record.XMLRecordOut(0);
    EXPECT_NE(sDocument.find("20\xC2\xB0 and 20\xC2\xB0."), std::string::npos);
    EXPECT_EQ(sDocument.find("\xE2\x81\xB0"), std::string::npos);
}

}  // namespace
