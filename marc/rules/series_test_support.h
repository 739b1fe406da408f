#pragma once
// The fixture of the series-numbering tests: a UTF-8 and a MARC-8 record
// that must give the same result for ASCII text.

#include <gtest/gtest.h>

#include <string>

#include "marc/record/record_test_access.h"

namespace series_test {

class BothRecords : public record_test::TwoRecords {
protected:
    template <typename F>
    void ExpectBoth(const std::string& sExpected, F f) {
        EXPECT_EQ(f(utf8), sExpected) << "UTF-8";
        EXPECT_EQ(f(marc8), sExpected) << "MARC-8";
    }
};

}  // namespace series_test
