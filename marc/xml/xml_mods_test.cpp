// The MODS document's frame: the root over four lines, the mods element, and
// the same document from forms 1 and 3 whatever the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::kBib;

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

}  // namespace
