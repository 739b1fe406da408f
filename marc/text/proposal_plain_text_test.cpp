#include <gtest/gtest.h>

#include <string>

#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

class ProposalAndPlainText : public ::testing::Test, protected display_test::RecordsBySet {};

// Texts: "<..>" octets in hex, "$" the delimiter; "<24>" a real dollar sign.
TEST_F(ProposalAndPlainText, Marc2SacoProposal) {
    ExpectInEachSet(
        {
            {"UMV", "", ""},
            {"UMV", "   ", ""},
            {"UMV", "$aBerlin (Germany)$xHistory", "Berlin {(}Germany{)} <24>x History"},
            {"MV", "<A1 E2>od<E2>z", "{(}slash L{)}{(}acute{)}od{(}acute{)}z"},
            {"U", "<C5 81>o<CC 81>dz<CC 81>", "{(}slash L{)}{(}acute{)}od{(}acute{)}z"},
            {"M", "45<C0>30<A7> N", "45deg. 30min. N"},
            {"M", "a<A7>b<B7>1<B7>", "a{(}miagkii znak{)}b{(}tvyerdi znak{)}1sec."},
            {"V", "5<C0>x a<C0> <C0><C2>", "5deg. x a0 02"},
            // A mark with no letter after it in MARC-8 stays behind the last one.
            {"M", "<C2><C1><EA>", "{(}p{)}degl"},
            {"U", "<CE B2><CE B1><CE B3>", "beta alpha gamma"},
            {"U", "x<C2 B2> 1<C2 B0>", "x2 1deg."},
            {"U", "a<D0 96><D7 90>b", "ab"},
            {"M", "<B9>x<EF>", "x"},
            {"UM", "$Ax", "<24>A x"},
            {"UM", "$bx", "<24>b x"},
            {"UM", "$aTitle  x", "Title x"},
            // Marks with no letter before them go to the front.
            {"U", "<CC 81>e", "{(}acute{)}e"},
            {"U", "<CC 81>", "{(}acute{)}"},
            {"U", "Stra<C3 9F>e <E2 82 AC>5", "Strasse euro5"},
            // Control octets pass; malformed octets are one octet each, dropped.
            {"U", "a<01>b", "a<01>b"},
            {"U", "<C3>x<A9>y<E2 80>", "xy"},
            // Precomposed letters are taken as their decomposition; the click
            // letter, whose substitute is the delimiter, is left out.
            {"U", "Soci<C3 A9>t<C3 A9> <C7 82>x", "Soci{(}acute{)}et{(}acute{)}e x"},
            {"U", "<C3 BC>", "{(}umlaut{)}u"},
        },
        [](Utf8MarcRecordClass& r, const std::string& s) { return r.Marc2SacoProposal(s); });
}

TEST_F(ProposalAndPlainText, Marc2PlainText) {
    ExpectInEachSet(
        {
            {"UMV", "", ""},
            {"UMV", "   ", ""},
            {"MV", "<A1 E2>od<E2>z", "Lodz"},
            {"U", "<C5 81>o<CC 81>dz<CC 81>", "Lodz"},
            {"MV", "<A5>sop <B4>orn <AB>", "Aesop thorn +/-"},
            {"M", "45<C0>30<A7> N <B7>", "45deg. 30' N \""},
            {"V", "<C0> 5<C0> <BE>x", "0 50 beta x"},
            {"M", "<BE>", "l"},
            {"U", "<CE B1><CE B2><CE B3>", "alpha beta gamma"},
            {"U", "x<C2 B2><D0 96>", "x2"},
            {"UMV", "(a)$b", "(a)$b"},
            {"UMV", "<24>ax", "x"},
            {"UMV", "<24>Ax", "<24>Ax"},
            {"U", "<CC 81>e Stra<C3 9F>e <E2 82 AC>", "e Strasse euro"},
            {"U", "a<01><C3>", "a<01>"},
            {"U", "Soci<C3 A9>t<C3 A9> <C5 81><C3 B3>d<C5 BA> <C7 82>", "Societe Lodz"},
        },
        [](Utf8MarcRecordClass& r, const std::string& s) { return r.Marc2PlainText(s); });
}

}  // namespace
