#pragma once
// Helpers of the XML tests: a document read back with libxml2, and records
// loaded from fields given with "$" for the subfield delimiter.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
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

}  // namespace xml_test
