// The MODS document's identifier sections.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
