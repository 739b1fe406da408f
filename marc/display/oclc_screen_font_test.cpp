#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using display_test::B;
using display_test::Hex;

class OclcScreenFont : public ::testing::Test, protected display_test::RecordsBySet {};

// "{..}" are octets in hexadecimal, "$" is the delimiter.
TEST_F(OclcScreenFont, RecordTextToScreenFont) {
    ExpectInEachSet(
        {
            // UTF-8 and Windows-1252 text is never taken apart.
            {"UL", "{E2}e{AF}$a{C3 A9}", "{E2}e{AF}$a{C3 A9}"},
            {"MOV", "", ""},
            {"V", "$aText$b", "{DF}aText{DF}b"},
            {"V", "{AF}", "[alpha]"},
            {"V", "{BE}{BF}", "[beta][gamma]"},
            {"V", "{92}{93}{94}{95}{96}", "(p)(c)#?!"},
            {"V", "{90}", "{80}"},
            {"V", "x{80}y", "xy"},
            {"V", "{C1}{C9}{C0}{CA}{CB}{CC}{CD}", "{81 89 80 8C 8D 8A 8B}"},
            {"V", "{D1}{D0}{DA}{DB}{DC}{DD}", "{91 90 9D 9C 9A 9B}"},
            {"V", "{A0}", "{BE}"},
            {"V", "a|b", "a|b"},
            {"V", "{88}x{89}", "{88}x{89}"},
            // Marks go after their character, above marks first, each group reversed.
            {"V", "{E2}eb", "e{E2}b"},
            {"V", "ab{E2}", "ab{E2}"},
            {"V", "{E3 E2}e", "e{E2 E3}"},
            {"V", "{E2 F2}e", "e{E2 F2}"},
            {"V", "{F2 E2}e", "e{E2 F2}"},
            {"V", "a{E1 F0 E2 F2}", "a{E2 E1 F2 F0}"},
            {"V", "{E1 F0 E2 F2}", "{E2 E1 F2 F0}"},
            {"V", "{E2}{C1}x", "{81 E2}x"},
            {"V", "{E2}$a", "{DF E2}a"},
            // After the whole label of a sign, and past a sign that vanishes.
            {"V", "{E2}{AF}x", "[alpha]{E2}x"},
            {"V", "x{E2}{93}", "x(c){E2}"},
            {"V", "{E2}{80}x", "x{E2}"},
            // Sets "M" and "O" go through set "V" first.
            {"MO", "{C0}", "{80}"},
            {"M", "{C1}", "{BE}"},
            {"O", "{BE}", "{BE}"},
            {"MO", "{1B}p1{1B}s{1B}b2{1B}s", "{81 92}"},
            {"MO", "{1B}ga{1B}s", "[alpha]"},
            {"MO", "M{E8}unchen :$bH{E3 E2}ohe", "Mu{E8}nchen :{DF}bHo{E2 E3}he"},
        },
        [](Utf8MarcRecordClass& record, const std::string& text) { return record.Marc2OclcScreenFont(text); }, B);
}

TEST_F(OclcScreenFont, ScreenFontToRecordText) {
    ExpectInEachSet(
        {
            {"UL", "e{E2}{DF}a{81}", "e{E2}{DF}a{81}"},
            {"MOV", "", ""},
            {"V", "{DF}a", "$a"},
            {"V", "{C1}{C2}{C4}", "{AF BE BF}"},
            {"V", "{81}{90}{9D}{8C}", "{C1 D0 DA CA}"},
            {"V", "{BE}", "{A0}"},
            {"V", "{02}", "{AE}"},
            {"V", "[alpha](c)", "[alpha](c)"},
            {"V", "{88}{89}", "{C8 C9}"},
            // Marks go back before their character, each group in its order.
            {"V", "e{E2}", "{E2}e"},
            {"V", "a{FC}", "{FC}a"},
            {"V", "e{E2 F2}", "{F2 E2}e"},
            {"V", "e{F2 E2}", "{F2 E2}e"},
            {"V", "{C1 E2 F2}", "{E2 F2 AF}"},
            {"V", "{C1 F2 E2}", "{E2 F2 AF}"},
            {"V", "e{E3 E2}x", "{E3 E2}ex"},
            // Marks waiting behind 0x02 go before the alif as before an ASCII character.
            {"V", "{02 E2 F2}", "{F2 E2 AE}"},
            // Marks before every character stay at the front, other marks first.
            {"V", "{E2}e", "{E2}e"},
            {"V", "{E2 F2}e", "{F2 E2}e"},
            // Back into sets "M" and "O".
            {"M", "{81}", "{1B}p1{1B}s"},
            {"M", "{C1}", "{1B}ga{1B}s"},
            {"M", "{BE}", "{C1}"},
            {"M", "{90}", "{1B}b0{1B}s"},
            {"O", "{BE}", "{BE}"},
            {"MO", "Mu{E8}nchen :{DF}bHo{E2 E3}he", "M{E8}unchen :$bH{E2 E3}ohe"},
        },
        [](Utf8MarcRecordClass& record, const std::string& text) { return record.OclcScreenFont2Marc(text); }, B);
}

// The translation mode put in force stays; the walk into the screen font
// yields once per octet of the text in set "V", the way back never.
TEST_F(OclcScreenFont, ModeAndYields) {
    const std::vector<std::pair<std::string, std::string>> modes = {{"M", "V2M"}, {"O", "V2O"}};
    for (const auto& [set, back] : modes) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        int yields = 0;
        platform::ScopedEventPump pump([&yields] { ++yields; });
        record.Marc2OclcScreenFont(B("ab{1B}p1{1B}sc"));
        EXPECT_EQ(yields, 4) << set;
        EXPECT_EQ(RecordTestAccess::State(record).TranslationTableName, set + "2V");
        yields = 0;
        record.OclcScreenFont2Marc(B("ab{81}c"));
        EXPECT_EQ(yields, 0) << set;
        EXPECT_EQ(RecordTestAccess::State(record).TranslationTableName, back);
    }
}

TEST_F(OclcScreenFont, LongTexts) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("V");
    EXPECT_EQ(record.OclcScreenFont2Marc(std::string(32767, 'a')), std::string(32767, 'a'));
    try {
        record.OclcScreenFont2Marc(std::string(32768, 'a'));
        ADD_FAILURE() << "32,768 octets were accepted";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
    // The way into the screen font has no limit of its own.
    std::string text;
    for (int i = 0; i < 20000; ++i) text += B("{E2}e");
    std::string expected;
    for (int i = 0; i < 20000; ++i) expected += B("e{E2}");
    EXPECT_EQ(record.Marc2OclcScreenFont(text), expected);
    record.CharacterSetOut("U");
    EXPECT_EQ(record.OclcScreenFont2Marc(text), text);
}

}  // namespace
