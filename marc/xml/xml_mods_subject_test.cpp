// The MODS document's subject sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
