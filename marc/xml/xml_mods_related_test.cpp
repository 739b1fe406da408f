// The MODS document's related sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
