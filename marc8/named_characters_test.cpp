#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "chars/utf8_char.h"

namespace {

using test_octets::O;
using test_octets::U;

TEST(NamedCharacters, SetDependentFormsCompareTheSetExactly) {
    const Utf8CharClass c;
    for (const char* set : {"v", "O", "M", "", "U", "VV"}) EXPECT_EQ(c.Marc8Degree(set), O("C0")) << set;
    EXPECT_EQ(c.Marc8Degree("V"), O("90"));
    EXPECT_EQ(c.Marc8LScript("V"), O("A0"));
    EXPECT_EQ(c.Marc8LScript("O"), O("BE"));
    for (const char* set : {"M", "U", "o", ""}) EXPECT_EQ(c.Marc8LScript(set), O("C1")) << set;
    EXPECT_EQ(c.Marc8Alpha("M"), O("1B 67 61 1B 73"));
    EXPECT_EQ(c.Marc8Alpha("O"), O("1B 67 61 1B 73"));
    EXPECT_EQ(c.Marc8Alpha("V"), O("AF"));
    EXPECT_EQ(c.Marc8Superscript1("V"), c.Marc8LScript("M"));
    EXPECT_EQ(c.Marc8SubscriptParensRight("M"), O("1B 62 29 1B 73"));
    EXPECT_EQ(c.Marc8SubscriptParensRight("V"), O("DD"));
    EXPECT_EQ(c.Marc8SuperscriptMinus("M"), O("1B 70 2D 1B 73"));
    EXPECT_EQ(c.Marc8ExclamationInverted("V"), O("96"));
    EXPECT_EQ(c.Marc8ExclamationInverted("O"), O("C6"));
    EXPECT_EQ(c.Marc8Copyright("V"), O("93"));
    EXPECT_EQ(c.Marc8Pressing("V"), O("92"));
    EXPECT_EQ(c.Marc8Sharp("V"), O("94"));
    EXPECT_EQ(c.Marc8QuestionInverted("V"), O("95"));
}

TEST(NamedCharacters, FixedFormsAndUtf8Forms) {
    const Utf8CharClass c;
    EXPECT_EQ(c.Marc8Umlaut(), O("E8"));
    EXPECT_EQ(c.Utf8Umlaut(), O("CC 88"));
    EXPECT_EQ(c.Utf8LigatureLeft(), O("EF B8 A0"));
    EXPECT_EQ(c.Marc8CommaHighCentered(), O("FE"));
    EXPECT_EQ(c.Marc8JoinerZeroWidth(), O("8D"));
    EXPECT_EQ(c.Utf8NonJoinerZeroWidth(), U(0x200C));
    EXPECT_EQ(c.Marc8TvyerdiZnak(), O("B7"));
    EXPECT_EQ(c.Utf8TvyerdiZnak(), U(0x2BA));
    EXPECT_EQ(c.Utf8Superscript1(), O("C2 B9"));
    EXPECT_EQ(c.Utf8Superscript2(), O("C2 B2"));
    EXPECT_EQ(c.Utf8Superscript3(), O("C2 B3"));
    EXPECT_EQ(c.Utf8Superscript0(), U(0x2070));
    EXPECT_EQ(c.Utf8Superscript4(), U(0x2074));
    EXPECT_EQ(c.Utf8SubscriptParensLeft(), U(0x208D));
    EXPECT_EQ(c.Utf8LScript(), U(0x2113));
    EXPECT_EQ(c.Utf8Flat(), U(0x266D));
}

// Every row of the table: a MARC-8 form of one octet (or a five-octet escape
// run), a "V" form of one octet, and a UTF-8 form of two or three octets; no
// getter touches the current character.
TEST(NamedCharacters, EveryRowHasWellFormedForms) {
    Utf8CharClass c;
    c.Utf8Char(U(0x263A));
    int fixed = 0, bySet = 0;
#define EXITDESK_NAMED_FIXED(X, marc8, ucs)                  \
    ++fixed;                                                 \
    EXPECT_EQ(c.Marc8##X(), std::string(1, char(marc8))) << #X; \
    EXPECT_EQ(c.Utf8##X(), c.UcsHex2Utf8(ucs)) << #X;
#define EXITDESK_NAMED_BY_SET(X, marc8, v, o, ucs)                      \
    ++bySet;                                                           \
    EXPECT_EQ(c.Marc8##X("M"), std::string(1, char(marc8))) << #X;     \
    EXPECT_EQ(c.Marc8##X("V"), std::string(1, char(v))) << #X;         \
    EXPECT_EQ(c.Utf8##X(), c.UcsHex2Utf8(ucs)) << #X;
#define EXITDESK_NAMED_RUN(X, set, octet, v, ucs)                                        \
    ++bySet;                                                                             \
    EXPECT_EQ(c.Marc8##X("M"), (std::string{'\x1B', set, octet, '\x1B', 's'})) << #X;    \
    EXPECT_EQ(c.Marc8##X("V"), std::string(1, char(v))) << #X;                           \
    EXPECT_EQ(c.Utf8##X(), c.UcsHex2Utf8(ucs)) << #X;                                    \
    EXPECT_GE(c.Utf8##X().size(), 2u) << #X;
#include "marc8/named_characters.def"
#undef EXITDESK_NAMED_FIXED
#undef EXITDESK_NAMED_BY_SET
#undef EXITDESK_NAMED_RUN
    EXPECT_EQ(fixed, 58);
    EXPECT_EQ(bySet, 38);
    EXPECT_EQ(c.Utf8Char(), U(0x263A));
}

}  // namespace
