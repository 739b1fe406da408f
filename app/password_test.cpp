#include "app/password.h"

#include <gtest/gtest.h>

#include "common/raised_error.h"

namespace {

TEST(DescramblePassword, DecodesTheStoredNumbers) {
    struct Case {
        std::string stored;
        std::string password;
    };
    const Case cases[] = {
        // x y a b, length 2: the last two characters.
        {"125 116 102 93 72", "ab"},
        {"  125 116 102 93 72  ", "ab"},
        // Length 9 of a shorter text: the whole text.
        {"125 116 102 93 79", "xyab"},
        // Length 10 or more: the whole decoded text, whatever its length.
        {"125 116 102 93 80 110", "xyabs"},
        {"125 116 102 93 99 110 104", "xyabsc"},
        // Fewer than five numbers: empty.
        {"125 116 102 93", ""},
        {"125 116", ""},
        // Length 0: empty.
        {"125 116 102 93 70 110", ""},
        // Two blanks give an empty number (0), which stands for code 5 at an even place.
        {"105  107 108 75 111", std::string("d\x05" "fqt")},
        // Halves round to the even neighbour: 96.5 -> 96, 97.5 -> 98.
        {"101.5 92.5 102 93 72", "ab"},
        {"101.5 92.5 102 93 74", "`bab"},
        // Numbers are decimal: a token that begins with "&H" or "&O" is 0 (code 5 at an even place).
        {"&H7D 116 102 93 72", "&H7D 116 102 93 72"},
        {"125 116 102 &H58 72", std::string("a\x05")},
        {"125 116 102 &O135 72", std::string("a\x05")},
        {"125 116 102 &h5D 72", std::string("a\x05")},
        // A fraction, an exponent, a sign and text after the number, as decimal numbers are read.
        {"125 116 1.02E2 9.3e1 7.2D1", "ab"},
        {"125 116 +102 93x 72", "ab"},
        {"125 116 102 0093 072", "ab"},
        // Used unchanged: no blank, or not beginning and ending with a digit.
        {"secret", "secret"},
        {"12345", "12345"},
        {"  pass word  ", "  pass word  "},
        {"a1 2 3 4 5", "a1 2 3 4 5"},
        {"1 2 3 4 5x", "1 2 3 4 5x"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(Password::DescramblePassword(c.stored), c.password);
    }
}

TEST(DescramblePassword, NumbersOutOfRangeRaise) {
    struct Case {
        std::string stored;
        int32_t number;
    };
    const Case cases[] = {
        {"125 116 102 93 60", ErrorNumber::InvalidProcedureCall},  // length -10
        {"3 116 102 93 72", ErrorNumber::InvalidProcedureCall},    // code -2
        {"125 251 102 93 72", ErrorNumber::InvalidProcedureCall},  // code 256
        {"99999 116 102 93 72", ErrorNumber::Overflow},
        {"125 116 102 93 99999", ErrorNumber::Overflow},
        {"125 116 &H66 93 72", ErrorNumber::InvalidProcedureCall},  // &H66 is 0: code -5
        {"125 116 102 93 &H48", ErrorNumber::InvalidProcedureCall},  // &H48 is 0: length -70
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        try {
            Password::DescramblePassword(c.stored);
            ADD_FAILURE() << "no error";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), c.number);
        }
    }
}

}  // namespace
