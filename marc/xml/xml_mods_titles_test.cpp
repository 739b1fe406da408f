// The MODS document's titles sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
