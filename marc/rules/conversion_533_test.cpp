// The 533 $7 and the 539 field, each way and back again.
#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;

class Conversion533 : public ::testing::Test {
protected:
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
};

TEST_F(Conversion533, Subfield7To539) {
    const std::pair<const char*, const char*> cases[] = {
        {"s19851990nyuuun", "$as$b1985$c1990$dnyu$eu$fu$gn"},
        {"$7s19851990nyuuun", "$as$b1985$c1990$dnyu$eu$fu$gn"},
        {"$7s19851990nyuuun   ", "$as$b1985$c1990$dnyu$eu$fu$gn"},
        // $c blank and left out; $e to $g beyond the end.
        {"s1985    nyu", "$as$b1985$dnyu"},
        // A date shorter than four characters once trimmed is left out.
        {"s198 1990", "$as$c1990"},
        {"s19uu", "$as$b19uu"},
        {"|||||||||||||||", "$a|$b||||$c||||$d|||$e|$f|$g|"},
        // Leading blanks count: the elements move.
        {" s1985", "$bs198"},
        // Place codes of two letters and a blank are whole codes.
        {"s19851990fr uun", "$as$b1985$c1990$dfr$eu$fu$gn"},
        {"s19851990xx |||", "$as$b1985$c1990$dxx$e|$f|$g|"},
        {"s19851990x  uun", "$as$b1985$c1990$eu$fu$gn"},
        {"", ""},
        {"$7", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(record.Convert533Sfd7To539(D(in)), D(out)) << in;
}

TEST_F(Conversion533, Field539To533Subfield7) {
    const std::pair<const char*, const char*> cases[] = {
        {"$as$b1985$c1990$dnyu$eu$fu$gn", "s19851990nyuuun"},
        {"$as$b1985$dnyu", "s1985    nyu   "},
        {"$b198", " 198|          "},
        {"$dxx", "         xx    "},
        {"$dfr  ", "         fr    "},
        {"$dx", "         x||   "},
        {"$c", "     ||||      "},
        {"s$b1985", "s1985          "},
        {"$as$h[microform]$61$b1985", "s1985          "},
        {"$as$b", "s              "},
        {"$as$b1985$b1986", "s1986          "},
        {"$as$b$c1990", "s||||1990      "},
        {"", "|              "},
        {"$", "               "},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(record.Convert539To533Sfd7(D(in)), out) << in;
}

TEST_F(Conversion533, RoundTripOfCompleteSubfields7) {
    const char* cases[] = {"s19851990nyuuun", "m19001999fr |||", "|||||||||||||||", "d1850uuuuxx ukr",
                           "r20002001enkmra"};
    for (const char* s7 : cases) {
        const std::string s539 = record.Convert533Sfd7To539(s7);
        EXPECT_EQ(record.Convert539To533Sfd7(s539), s7) << s7;
        EXPECT_EQ(record.Convert533Sfd7To539(D("$7") + record.Convert539To533Sfd7(s539)), s539) << s7;
    }
}

TEST_F(Conversion533, LongTextsRaiseNothing) {
    const std::string sLong539 = D("$as$b") + std::string(40000, '1') + D("$dnyu");
    EXPECT_EQ(record.Convert539To533Sfd7(sLong539), "s1111    nyu   ");
    EXPECT_EQ(record.Convert533Sfd7To539(std::string(40000, 'x')), D("$ax$bxxxx$cxxxx$dxxx$ex$fx$gx"));
}

}  // namespace
