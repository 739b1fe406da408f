// The MODS document's physical sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
