// The MODS document's frame: the root over four lines, the mods element, and
// the same document from forms 1 and 3 whatever the record.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/marc_file.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;
using xml_test::TaggedField;

TEST(XmlModsFrame, RootAndFormsOneAndThree) {
    Utf8MarcRecordClass record;
    xml_test::Load(record, kBib, {{"001", "frame1"}, {"245", D("10$aTitle.")}});
    const std::string sDocument = record.XMLRecordOut(1);
    const std::string kStart =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
        "\r\n<modsCollection xmlns:xlink=\"http://www.w3.org/1999/xlink\""
        "\r\n     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        "\r\n     xmlns=\"http://www.loc.gov/mods/v3\""
        "\r\n     xsi:schemaLocation=\"http://www.loc.gov/mods/v3 "
        "http://www.loc.gov/standards/mods/v3/mods-3-2.xsd\">"
        "\r\n\t<mods>";
    const std::string kEnd = "\r\n\t</mods>\r\n</modsCollection>";
    EXPECT_EQ(sDocument.substr(0, kStart.size()), kStart);
    ASSERT_GE(sDocument.size(), kEnd.size());
    EXPECT_EQ(sDocument.substr(sDocument.size() - kEnd.size()), kEnd);
    xml_test::ExpectModsStructure(sDocument);
    EXPECT_EQ(record.XMLRecordOut(3), sDocument);
}

// What holds for every MODS document, whatever the record and its sections:
// nesting of titles, roles, urls and the parts of recordInfo, attribute
// values from fixed lists, and no invented attributes.
void ExpectModsInvariants(xmlDoc* doc, const std::string& what, int form) {
    const std::pair<const char*, double> checks[] = {
        {"count(//mods:title[not(parent::mods:titleInfo)])", 0},
        {"count(//mods:relatedItem//mods:title[not(parent::mods:titleInfo)])", 0},
        {"count(//mods:titleInfo/mods:titleInfo)", 0},
        {"count(//mods:titleInfo/*[self::mods:physicalDescription or self::mods:identifier])", 0},
        {"count(//mods:relatedItem/mods:internetMediaType)", 0},
        {"count(//mods:name[text()[normalize-space()]])", 0},
        {"count(//mods:roleTerm[not(parent::mods:role)])", 0},
        {"count(//mods:role[not(mods:roleTerm)])", 0},
        {"count(//mods:namePart[@type='code'])", 0},
        {"count(//@*[local-name()='simplelink' or local-name()='simpleLink'])", 0},
        {"count(//mods:url[not(parent::mods:location)])", 0},
        {"count(//mods:url[@usage and @usage!='primary display'])", 0},
        {"count(/mods:modsCollection/mods:mods/mods:location/mods:url[@usage])", form == 5 ? -1 : 0},
        {"count(//mods:physicalLocation[not(parent::mods:location)])", 0},
        {"count(/mods:modsCollection/mods:mods/mods:accessCondition"
         "[not(@type='restrictionOnAccess' or @type='useAndReproduction')])",
         0},
        {"count(/mods:modsCollection/mods:mods/mods:identifier[not(@type)])", 0},
        {"count(//mods:identifier[@invalid and @invalid!='yes'])", 0},
        {"count(/mods:modsCollection/mods:mods/mods:recordInfo)", 1},
        {"count(//mods:recordInfo/mods:recordCreationDate)", 1},
        {"count(//mods:recordInfo/*[not(self::mods:recordContentSource or self::mods:recordCreationDate or "
         "self::mods:recordChangeDate or self::mods:recordIdentifier or self::mods:languageOfCataloging)])",
         0},
        {"count(//mods:recordInfo/mods:languageOfCataloging)", form == 5 ? 1 : -1},
        {"count(//mods:recordInfo/mods:languageOfCataloging[count(mods:languageTerm)!=1])", 0},
        {"count(//mods:relatedItem[@type and not(@type='preceding' or @type='succeeding' or @type='original' or "
         "@type='host' or @type='constituent' or @type='series' or @type='otherVersion' or "
         "@type='otherFormat' or @type='isReferencedBy')])",
         0},
        {"count(//mods:subject/*[not(self::mods:topic or self::mods:geographic or self::mods:temporal or "
         "self::mods:titleInfo or self::mods:name or self::mods:genre or self::mods:hierarchicalGeographic or "
         "self::mods:cartographics or self::mods:geographicCode or self::mods:occupation or self::mods:role)])",
         0},
        {"count(//mods:cartographics[not(parent::mods:subject)])", 0},
        {"count(//mods:hierarchicalGeographic[not(parent::mods:subject)])", 0},
    };
    for (const auto& [expression, want] : checks) {
        if (want < 0) continue;  // depends on the record under this form
        EXPECT_EQ(xml_test::XPathNumber(doc, expression), want) << what << ": " << expression;
    }
}

// Forms 1 and 5 of the loaded record: well-formed for libxml2 and xmllint,
// the MODS structure and the invariants; a record without TAB labels gives
// the same document a second time.
void CheckModsDocuments(Utf8MarcRecordClass& record, const std::string& what, bool bTabLabels) {
    for (int form : {1, 5}) {
        const std::string sDocument = record.XMLRecordOut(form);
        const std::string name = what + " form " + std::to_string(form);
        const xml_test::XmlDoc doc = xml_test::ExpectModsStructure(sDocument, name);
        if (!doc) continue;
        ExpectModsInvariants(doc.get(), name, form);
        if (!bTabLabels) {
            EXPECT_EQ(record.XMLRecordOut(form), sDocument) << name << ": second call";
        }
    }
}

// The subfield codes every hostile field carries, each holding the value.
constexpr const char* kHostileCodes = "abcdefghiklmnopqrstuvwxyz0234569";

// Every field some MODS section reads, with indicators that send it down
// the section's branches.
const std::vector<std::pair<std::string, std::string>>& HostileFields() {
    static const std::vector<std::pair<std::string, std::string>> fields = {
        {"010", "  "}, {"020", "  "}, {"022", "0 "}, {"024", "0 "}, {"024", "1 "}, {"024", "2 "}, {"024", "4 "},
        {"028", "02"}, {"028", "42"}, {"034", "1 "}, {"037", "  "}, {"040", "  "}, {"041", "1 "}, {"043", "  "},
        {"045", "0 "}, {"045", "2 "}, {"050", "00"}, {"082", "00"}, {"084", "  "}, {"086", "0 "}, {"086", "  "},
        {"100", "1 "}, {"110", "2 "}, {"111", "2 "}, {"130", "0 "}, {"210", "0 "}, {"222", " 0"}, {"240", "10"},
        {"242", "10"}, {"245", "14"}, {"246", "31"}, {"250", "  "}, {"254", "  "}, {"255", "  "}, {"256", "  "},
        {"260", "  "}, {"264", " 1"}, {"300", "  "}, {"310", "  "}, {"321", "  "}, {"362", "0 "}, {"440", " 0"},
        {"490", "1 "}, {"500", "  "}, {"502", "  "}, {"504", "  "}, {"505", "0 "}, {"506", "  "}, {"508", "  "},
        {"510", "0 "}, {"511", "0 "}, {"518", "  "}, {"520", "  "}, {"521", "  "}, {"530", "  "}, {"533", "  "},
        {"534", "  "}, {"538", "  "}, {"540", "  "}, {"546", "  "}, {"600", "10"}, {"610", "20"}, {"611", "20"},
        {"630", "00"}, {"650", " 0"}, {"651", " 0"}, {"653", "  "}, {"655", " 7"}, {"656", " 7"}, {"700", "1 "},
        {"700", "12"}, {"710", "2 "}, {"711", "2 "}, {"720", "  "}, {"730", "0 "}, {"740", "02"}, {"752", "  "},
        {"760", "0 "}, {"762", "0 "}, {"765", "0 "}, {"767", "0 "}, {"770", "0 "}, {"772", "0 "}, {"773", "0 "},
        {"774", "0 "}, {"775", "0 "}, {"776", "0 "}, {"777", "0 "}, {"780", "00"}, {"785", "00"}, {"786", "0 "},
        {"787", "0 "}, {"800", "1 "}, {"810", "2 "}, {"811", "2 "}, {"830", " 0"}, {"852", "0 "}, {"856", "40"},
        {"856", "42"}, {"856", "41"}};
    return fields;
}

struct Hostile {
    const char* name;
    std::string value;
    const char* set;  // the record's input and output set
    bool bTabs;       // the value holds a TAB label
    const char* indicators = nullptr;  // in place of every field's own
};

TEST(XmlModsDocument, HostileValuesInEveryField) {
    const std::vector<Hostile> rows = {
        {"XML specials", "a<b>c&d\"e'f &amp; ]]> <!-- x", "U", false},
        {"TAB labels", "text\tlabel <&\"'>", "U", true},
        {"C0 controls", "a\x01" "b\x08" "c\x0B" "d\x0C" "e\x1B" "f\x7F", "U", false},
        {"malformed UTF-8", "a\xC3(b\xE2\x82" "c\xFF" "d\xED\xA0\x80" "e\xF4\x90\x80\x80" "f\xC0\xAF", "U", false},
        {"Greek and CJK", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC "
                          "\xE4\xB8\xAD\xE6\x96\x87 & <\xF0\x9F\x93\x9A>",
         "U", false},
        {"doi and handle prefixes", "doi:<x>&hdl'urn:hdl\"", "U", false},
        {"MARC-8 under output set M", "Cr\xE2" "eme & <br\xFB> \x1B" "b2\x1B" "s \xA2", "M", false},
        {"hostile indicators", "plain <text> & more", "U", false, "<&"},
    };
    for (const Hostile& row : rows) {
        std::vector<TaggedField> control = {{"001", row.value}, {"003", row.value}, {"005", row.value}};
        std::string sFixed = row.value;
        while (sFixed.size() < 40) sFixed += row.value;
        control.push_back({"007", "a" + sFixed.substr(0, 22)});
        control.push_back({"008", sFixed.substr(0, 40)});
        // The fields in as many records as keep each within ISO 2709's length.
        std::vector<std::vector<TaggedField>> records = {control};
        size_t size = 0;
        for (const auto& [tag, indicators] : HostileFields()) {
            std::string sField = row.indicators ? row.indicators : indicators;
            for (const char* code = kHostileCodes; *code; ++code) sField += std::string("\x1F") + *code + row.value;
            if (size + sField.size() > 60000) {
                records.push_back(control);
                size = 0;
            }
            records.back().push_back({tag, sField});
            size += sField.size() + 12;
        }
        for (const char* leader : {"00000nam a2200000 a 4500", "00000cas a2200000 a 4500",
                                   "00000cem a2200000 a 4500", "00000ccm a2200000 a 4500"}) {
            for (size_t i = 0; i < records.size(); ++i) {
                std::string sLeader = leader;
                if (std::string(row.set) != "U") sLeader[9] = ' ';
                Utf8MarcRecordClass record;
                record.LocalHandlePrefix("https://h.example.org/?a=1&b=");
                xml_test::Load(record, sLeader, records[i], row.set);
                CheckModsDocuments(record, std::string(row.name) + " " + sLeader.substr(6, 2) + " part " +
                                               std::to_string(i + 1), row.bTabs);
                EXPECT_EQ(record.CharacterSetOut(), row.set) << row.name;
            }
        }
    }
}

// ---------------------------------------------------------------- Debian's sample records

// The sample files as ISO 2709 in the folder; "" for a package not installed.
std::vector<std::pair<std::string, std::string>> SampleFiles(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* name : {"microlif.001", "specials.001"}) {
        const std::string path = std::string("/usr/share/doc/libmarc-perl/examples/") + name;
        files.push_back({name, std::filesystem::exists(path) ? path : ""});
    }
    const std::string kZebra = "/usr/share/doc/idzebra-2.0/examples/";
    std::string sample = folder + "/sample-marc.mrc";
    if (!std::filesystem::exists(kZebra + "marc21/sample-marc.gz") ||
        xml_test::Shell("zcat '" + kZebra + "marc21/sample-marc.gz' > '" + sample + "'") != 0)
        sample.clear();
    files.push_back({"sample-marc", sample});
    // The MARCXML collection made ISO 2709 by yaz-marcdump, its leaders
    // marked UTF-8.
    std::string collection = folder + "/collection-2.mrc";
    if (!std::filesystem::exists(kZebra + "marcxml/collection-2.xml.gz") ||
        xml_test::Shell("command -v yaz-marcdump > /dev/null") != 0 ||
        xml_test::Shell("zcat '" + kZebra + "marcxml/collection-2.xml.gz' > '" + folder +
                        "/collection-2.xml' && yaz-marcdump -i marcxml -o marc -l 9=97 '" + folder +
                        "/collection-2.xml' > '" + collection + "' 2>/dev/null") != 0)
        collection.clear();
    files.push_back({"collection-2", collection});
    return files;
}

TEST(XmlModsDocument, DebianSampleRecords) {
    const std::string folder = ::testing::TempDir() + "mods_samples_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    for (const auto& [name, path] : SampleFiles(folder)) {
        if (path.empty()) {
            ADD_FAILURE() << name << ": the sample file is missing (Debian libmarc-perl, idzebra-2.0-examples, yaz)";
            continue;
        }
        int number = 0, documents = 0;
        const std::string sName = name;  // lambdas capture no structured bindings in every compiler we build with
        xml_test::ForEachLoadedRecord(path, [&](Utf8MarcRecordClass& record, const std::string& sRecord) {
            ++number;
            if (std::string("BDFMPSU").find(record.MarcRecordFormat()) == std::string::npos) return;
            const bool bTabs = sRecord.find('\t') != std::string::npos;
            CheckModsDocuments(record, sName + " record " + std::to_string(number), bTabs);
            ++documents;
        });
        EXPECT_GT(documents, 0) << name;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
