#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_test::Hex;
using display_test::T;

class RtfText : public ::testing::Test, protected display_test::RecordsBySet {};

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial Unicode "
    "MS;}}\\viewkind4\\uc1\\pard\\f0\\fs";

// Record text ("<..>" octets in hex, "$" the delimiter) and its RTF text.
TEST_F(RtfText, Marc2RtfEscapesEveryCharacterOutsideAscii) {
    ExpectInEachSet(
        {
            {"U", "", ""},
            {"U", "$aCaf<C3 A9>$bx", "\\u8225?aCaf\\u233?\\u8225?bx"},
            {"U", "C:\\{x}", "C:\\u92?\\u123?x\\u125?"},
            {"U", "x$", "x\\u8225?"},
            {"U", "<1E><01> ~", "<1E><01> ~"},
            {"U", "<E2 80 A1>", "\\u8225?"},
            {"U", "<EF BC 81>", "\\u65281?"},
            // Beyond U+FFFF: the two surrogates.
            {"U", "<F0 9F 98 80>", "\\u55357?\\u56832?"},
            // The subfield code is written like any other character.
            {"U", "${", "\\u8225?\\u123?"},
            {"U", "$<C3 A9>x", "\\u8225?\\u233?x"},
            // Malformed octets are one character each and take nothing with them.
            {"U", "<C3>A", "\\u195?A"},
            {"U", "<A9>x", "\\u169?x"},
            {"U", "x<E2 80>", "x\\u226?\\u128?"},
            {"U", "<F8 80 80 80>", "\\u248?\\u128?\\u128?\\u128?"},
            // 8-bit text goes through UTF-8, marks after their letters.
            {"MV", "<E2>e", "e\\u769?"},
            {"M", "$a<A1>{", "\\u8225?a\\u321?\\u123?"},
        },
        [](Utf8MarcRecordClass& r, const std::string& s) { return r.TranslateMarc2RTF(s, false, 10); });
}

TEST_F(RtfText, Marc2RtfWrapperAndItsSize) {
    Utf8MarcRecordClass& r = In("U");
    EXPECT_EQ(r.TranslateMarc2RTF("", true, 10), kHead + "20 \\par}");
    EXPECT_EQ(r.TranslateMarc2RTF("a{", true, 12), kHead + "24 a\\u123?\\par}");
    EXPECT_EQ(r.TranslateMarc2RTF("a", true, 0), kHead + "0 a\\par}");
    EXPECT_EQ(r.TranslateMarc2RTF("a", true, -3), kHead + "-6 a\\par}");
    EXPECT_EQ(r.TranslateMarc2RTF("a", true, 16383), kHead + "32766 a\\par}");
    EXPECT_EQ(r.TranslateMarc2RTF("a", false, 20000), "a");
    for (int16_t size : {16384, -16385}) {
        try {
            r.TranslateMarc2RTF("a", true, size);
            ADD_FAILURE() << size;
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        }
    }
}

// RTF text and the record text it gives in a UTF-8 record.
TEST_F(RtfText, Rtf2MarcInUtf8Record) {
    ExpectInEachSet(
        {
            {"U", "\\u233?", "<C3 A9>"},
            {"U", "\\u233 x", "<C3 A9>x"},
            {"U", "\\u8225?b", "$b"},
            {"U", "\\u92?", "\\"},
            {"U", "\\u0065?\\u123?", "A{"},
            // Decoded text is never read again.
            {"U", "\\u92?u233?", "\\u233?"},
            {"U", "\\u92?'e9", "\\'e9"},
            // Only digits make an escape: control words stay.
            {"U", "\\ul x\\uc1 y\\u-z", "\\ul x\\uc1 y\\u-z"},
            // Negative numbers count from 65,536; the number is its digits only.
            {"U", "\\u-4064?", "<EF 80 A0>"},
            {"U", "\\u-3?", "<EF BF BD>"},
            {"U", "\\u1E3?", "<01>"},
            {"U", "\\u65281?", "<EF BC 81>"},
            // Surrogates: a pair is one character, a lone half U+FFFD.
            {"U", "\\u55357?\\u56832?", "<F0 9F 98 80>"},
            {"U", "\\u55357?x", "<EF BF BD>x"},
            {"U", "\\u56832?\\u55357?", "<EF BF BD><EF BF BD>"},
            // No terminator within 20 octets.
            {"U", "\\u1234567890123456789", "?u1234567890123456789"},
            // "\'hh" is read through Windows-1252.
            {"U", "\\'93\\'e9\\'81", "<E2 80 9C><C3 A9><C2 81>"},
            {"U", "\\'zz\\'9", "\\'zz\\'9"},
            // The cuts: after the first size with its blank, before the last "\par".
            {"U", "{\\fonttbl\\fswiss a}\\pard\\fs24 x \\u233? \\par}", "x <C3 A9> "},
            {"U", "\\fs20x", "fs20x"},
            {"U", "a\\pard b\\par}", "a\\pard b"},
            // No escape is read in an 8-bit record.
            {"MOV", "\\u233?\\'e9", "\\u233?\\'e9"},
            {"MOV", "{\\fs20  \\u233? \\par}", "\\u233? "},
        },
        [](Utf8MarcRecordClass& r, const std::string& s) { return r.TranslateRTF2Marc(s); });
}

TEST_F(RtfText, Rtf2MarcRefusesNumbersOutsideSixteenBits) {
    for (const char* s : {"\\u65536?", "\\u-32769?", "\\u99999999999?"}) {
        try {
            In("U").TranslateRTF2Marc(s);
            ADD_FAILURE() << s;
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::InvalidProcedureCall) << s;
        }
    }
}

TEST_F(RtfText, WrappedTextReadsBack) {
    Utf8MarcRecordClass& r = In("U");
    for (const char* s : {"$aCaf<C3 A9> {1}\\$b<F0 9F 98 80><D7 90><CE B1>", "", " par \\par x ", "a<C3>b"}) {
        const std::string text = T(s);
        const std::string back = r.TranslateRTF2Marc(r.TranslateMarc2RTF(text, true, 10));
        // A malformed octet comes back as the character of its value.
        EXPECT_EQ(Hex(back), Hex(text == T("a<C3>b") ? T("a<C3 83>b") : rt::LTrim(text))) << s;
    }
}

}  // namespace
