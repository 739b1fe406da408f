#pragma once
// Helpers of the XML tests: a document read back with libxml2, and records
// loaded from fields given with "$" for the subfield delimiter.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_file.h"
#include "marc/record/marc_record.h"

namespace xml_test {

using record_test::TaggedField;

// Leaders of a bibliographic, an authority and a holdings record in UTF-8.
inline const std::string kBib = "00000nam a2200000 a 4500";
inline const std::string kAuth = "00000nz  a2200000n  4500";
inline const std::string kHold = "00000nx  a2200000   4500";
// U+FFFD, the replacement character.
inline const std::string kFffd = "\xEF\xBF\xBD";

// "$" stands for the subfield delimiter.
inline std::string D(std::string s) {
    for (char& c : s)
        if (c == '$') c = '\x1F';
    return s;
}

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

// The document parsed by libxml2 with no network and no recovery; null when
// it is not well-formed.
inline XmlDoc Parse(const std::string& sDocument) {
    return XmlDoc(xmlReadMemory(sDocument.data(), static_cast<int>(sDocument.size()), "record.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

inline std::string Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

inline std::string Content(xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    std::string out = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return out;
}

inline bool Named(xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// One MARCXML record as libxml2 read it: the leader, then one line per field
// ("001 text", "245 10 $atext$btext"), "$" before each subfield code.
struct ParsedRecord {
    std::string leader;
    std::vector<std::string> fields;
};

// Every record element of a parsed MARCXML document, in document order.
inline std::vector<ParsedRecord> MarcxmlRecords(xmlDoc* doc) {
    std::vector<ParsedRecord> records;
    xmlNode* root = xmlDocGetRootElement(doc);
    if (!root) return records;
    for (xmlNode* rec = root->children; rec; rec = rec->next) {
        if (!Named(rec, "record")) continue;
        ParsedRecord parsed;
        for (xmlNode* f = rec->children; f; f = f->next) {
            if (Named(f, "leader")) {
                parsed.leader = Content(f);
            } else if (Named(f, "controlfield")) {
                parsed.fields.push_back(Attribute(f, "tag") + " " + Content(f));
            } else if (Named(f, "datafield")) {
                std::string line = Attribute(f, "tag") + " " + Attribute(f, "ind1") + Attribute(f, "ind2") + " ";
                for (xmlNode* s = f->children; s; s = s->next)
                    if (Named(s, "subfield")) line += "$" + Attribute(s, "code") + Content(s);
                parsed.fields.push_back(line);
            }
        }
        records.push_back(parsed);
    }
    return records;
}

// The exit status of a shell command, -1 when it did not exit.
inline int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Loads the fields under the leader; a set other than "U" is both the input
// and the output set of the record.
inline void Load(Utf8MarcRecordClass& record, const std::string& leader, const std::vector<TaggedField>& fields,
                 const char* sSet = "U") {
    if (std::string(sSet) != "U") {
        record.CharacterSetIn(sSet);
        record.CharacterSetOut(sSet);
    }
    record.MarcRecordIn(record_test::Iso2709(leader, fields));
    ASSERT_FALSE(record.MarcRecordIn().empty()) << record.IsMarcErrorText();
}

// The prefixes XPath expressions of the tests use.
inline void RegisterNamespaces(xmlXPathContext* context) {
    const std::pair<const char*, const char*> namespaces[] = {
        {"rdf", "http://www.w3.org/1999/02/22-rdf-syntax-ns#"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"dcq", "http://purl.org/dc/qualifiers/1.0/"},
        {"oai_dc", "http://www.openarchives.org/OAI/2.0/oai_dc/"},
        {"mads", "http://www.loc.gov/mads/"},
        {"mods", "http://www.loc.gov/mods/v3"},
        {"xlink", "http://www.w3.org/1999/xlink"},
        {"xsi", "http://www.w3.org/2001/XMLSchema-instance"}};
    for (const auto& [prefix, uri] : namespaces)
        xmlXPathRegisterNs(context, reinterpret_cast<const xmlChar*>(prefix), reinterpret_cast<const xmlChar*>(uri));
}

// The number of nodes an XPath expression finds (or its number value).
inline double XPathNumber(xmlDoc* doc, const std::string& expression) {
    xmlXPathContext* context = xmlXPathNewContext(doc);
    RegisterNamespaces(context);
    xmlXPathObject* result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context);
    double value = -1;
    if (result) value = xmlXPathCastToNumber(result);
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return value;
}

// The text of each node an XPath expression finds, in document order.
inline std::vector<std::string> XPathTexts(xmlDoc* doc, const std::string& expression) {
    std::vector<std::string> texts;
    xmlXPathContext* context = xmlXPathNewContext(doc);
    RegisterNamespaces(context);
    xmlXPathObject* result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context);
    if (result && result->type == XPATH_NODESET && result->nodesetval)
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) texts.push_back(Content(result->nodesetval->nodeTab[i]));
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return texts;
}

// The document is well-formed for xmllint, reading nothing from the network.
// Each check writes a file of its own, so that test programs running side
// by side never read each other's documents.
inline bool XmllintWellFormed(const std::string& sDocument) {
    std::string path = ::testing::TempDir() + "xmllint_check_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) return false;
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(path.c_str());
        return false;
    }
    std::fwrite(sDocument.data(), 1, sDocument.size(), file);
    std::fclose(file);
    const bool bWellFormed = Shell("xmllint --noout --nonet '" + path + "' 2>/dev/null") == 0;
    std::remove(path.c_str());
    return bWellFormed;
}

// What every MODS document holds, whatever the record: a modsCollection root
// in the MODS namespace holding one mods element, whose children stand in the
// order of the document's sections; well-formed for libxml2 and xmllint.
// Returns the parsed document (null after a failure).
inline XmlDoc ExpectModsStructure(const std::string& sDocument, const std::string& what = "") {
    XmlDoc doc = Parse(sDocument);
    EXPECT_TRUE(doc) << what << "\n" << sDocument;
    EXPECT_TRUE(XmllintWellFormed(sDocument)) << what;
    if (!doc) return doc;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mods:modsCollection)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mods:modsCollection/*)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mods:modsCollection/mods:mods)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(//*[namespace-uri() != 'http://www.loc.gov/mods/v3'])"), 0) << what;
    static const std::map<std::string, int> kSection = {
        {"titleInfo", 1},  {"name", 2},           {"typeOfResource", 3},   {"genre", 4},
        {"originInfo", 5}, {"language", 6},       {"physicalDescription", 7}, {"abstract", 8},
        {"tableOfContents", 9}, {"targetAudience", 10}, {"note", 11},     {"subject", 12},
        {"classification", 13}, {"relatedItem", 14}, {"identifier", 15}, {"location", 16},
        {"accessCondition", 17}, {"recordInfo", 18}};
    int previous = 0;
    xmlNode* root = xmlDocGetRootElement(doc.get());
    for (xmlNode* mods = root ? root->children : nullptr; mods; mods = mods->next) {
        if (!Named(mods, "mods")) continue;
        for (xmlNode* child = mods->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE) continue;
            const std::string name = reinterpret_cast<const char*>(child->name);
            const auto found = kSection.find(name);
            if (found == kSection.end()) {
                ADD_FAILURE() << what << ": no section writes <" << name << "> into mods";
                continue;
            }
            EXPECT_GE(found->second, previous) << what << ": <" << name << "> out of the sections' order";
            previous = found->second;
        }
    }
    return doc;
}

// What every MADS document holds: a madsCollection root in the MADS
// namespace holding one mads element, which holds one authority with one
// heading element; every element in the MADS namespace; well-formed for
// libxml2 and xmllint. Returns the parsed document (null after a failure).
inline XmlDoc ExpectMadsStructure(const std::string& sDocument, const std::string& what = "") {
    XmlDoc doc = Parse(sDocument);
    EXPECT_TRUE(doc) << what << "\n" << sDocument;
    EXPECT_TRUE(XmllintWellFormed(sDocument)) << what;
    if (!doc) return doc;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mads:madsCollection)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mads:madsCollection/*)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mads:madsCollection/mads:mads)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mads:madsCollection/mads:mads/mads:authority)"), 1) << what;
    EXPECT_GE(XPathNumber(doc.get(), "count(/mads:madsCollection/mads:mads/mads:authority/*)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(/mads:madsCollection/mads:mads/mads:recordInfo)"), 1) << what;
    EXPECT_EQ(XPathNumber(doc.get(), "count(//*[namespace-uri() != 'http://www.loc.gov/mads/'])"), 0) << what;
    return doc;
}

// Calls visit with every record of an ISO 2709 file that loads (one the
// load rejects or leaves empty is passed over) and the octets it was read
// from; returns how many were visited. prepare, when given, sets up each
// record object before its load (its character sets, for example).
inline int ForEachLoadedRecord(const std::string& path,
                               const std::function<void(Utf8MarcRecordClass&, const std::string&)>& visit,
                               const std::function<void(Utf8MarcRecordClass&)>& prepare = nullptr) {
    Utf8MarcFileClass reader;
    reader.OpenFile(path);
    std::string sRecord;
    int visited = 0;
    while (reader.ReadNextRecord(sRecord)) {
        Utf8MarcRecordClass record;
        try {
            if (prepare) prepare(record);
            record.MarcRecordIn(sRecord);
        } catch (const RaisedError&) {
            continue;
        }
        if (record.MarcRecordIn().empty()) continue;
        ++visited;
        visit(record, sRecord);
    }
    reader.CloseFile();
    return visited;
}

}  // namespace xml_test
