// The MODS document's genre sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
