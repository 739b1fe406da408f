// The subfield cursor: assignment, moves with their edges, finds and tests.
#include <gtest/gtest.h>

#include "marc/record/subfield_test_support.h"
