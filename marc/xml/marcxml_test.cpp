// The MARCXML document: golden documents, the hostile table read back with
// libxml2, the schema check with xmllint and the comparison with yaz.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
