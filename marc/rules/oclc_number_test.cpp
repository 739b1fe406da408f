// Recognising OCLC numbers.
#include <gtest/gtest.h>

#include "marc/record/record_test_access.h"
