#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chars/utf8_char.h"

namespace {

// Octets from hexadecimal digits, blanks ignored: "E2 65" gives two octets.
std::string Hex(const std::string& sDigits) {
    std::string sOctets;
    std::string sPair;
    for (char c : sDigits) {
        if (c == ' ') continue;
        sPair += c;
        if (sPair.size() == 2) {
            sOctets += static_cast<char>(std::stoi(sPair, nullptr, 16));
            sPair.clear();
        }
    }
    return sOctets;
}

std::string HexOf(const std::string& sOctets) {
    static const Utf8CharClass chars;
    std::string sHex;
    for (char octet : sOctets) sHex += chars.Char2Hex(std::string(1, octet));
    return sHex;
}

struct Translation {
    std::string sUtf8;
    bool bChanged = false;
    bool bError = false;
};

Translation Translate(const Utf8CharClass& chars, const std::string& sSetIn, const std::string& sDesignation,
                      const std::string& sMarc8) {
    Translation t;
    t.sUtf8 = "left over";
    t.bChanged = true;
    t.bError = true;
    chars.TranslateMarc2Utf8OneCharacter(sSetIn, sDesignation, sMarc8, t.sUtf8, t.bChanged, t.bError);
    return t;
}

TEST(TranslateMarc2Utf8OneCharacter, Cases) {
    struct Case {
        std::string sSetIn;
        std::string sDesignation;
        std::string sMarc8;   // hexadecimal
        std::string sUtf8;    // hexadecimal; "error" for the character error
        bool bChanged;
    };
    const Case cases[] = {
        {"M", "1", "41", "41", false},
        {"M", "s", "41", "41", false},
        {"M", "(B", "41", "41", false},
        {"M", "1", "E1", "CC80", true},
        {"M", "1", "C0", "C2B0", true},
        {"O", "1", "C0", "C2B0", true},
        {"V", "1", "C0", "E281B0", true},
        {"M", "1", "BE", "E28493", true},
        {"O", "1", "BE", "E28493", true},
        {"V", "1", "BE", "CEB2", true},
        {"M", "1", "C1", "E28493", true},
        {"V", "1", "C1", "C2B9", true},
        {"v", "1", "C1", "E28493", true},
        {"M", "1", "C7", "C39F", true},
        {"M", "1", "C8", "E282AC", true},
        {"V", "1", "C7", "E281B7", true},
        {"M", "1", "90", "error", false},
        {"V", "1", "90", "C2B0", true},
        {"V", "1", "A0", "E28493", true},
        {"M", "1", "A0", "error", false},
        {"M", "1", "C9", "E281B9", true},
        {"V", "1", "C9", "E281B9", true},
        {"M", "1", "D5", "E28285", true},
        {"M", "1", "DD", "E2828E", true},
        {"M", "1", "AF", "CEB1", true},
        {"M", "1", "BF", "CEB3", true},
        {"M", "1", "89", "C29C", true},
        {"M", "1", "8D", "E2808D", true},
        {"M", "1", "BB", "E280A0", true},  // dagger
        {"V", "1", "BB", "E280A0", true},
        {"M", "1", "1B", "1B", false},
        {"M", "1", "1D", "1D", false},
        {"M", "1", "00", "error", false},
        {"M", "1", "7F", "error", false},
        {"M", "1", "CE", "error", false},
        {"M", "1", "FF", "error", false},
        {"M", "(!E", "41", "E28493", true},
        {"V", "(!E", "41", "C2B9", true},
        {"M", "(!E", "E1", "CC80", true},
        {"M", "(!E", "20", "error", false},
        {"M", "(!E", "4142", "E28493", true},  // only the raised first octet is kept
        {"M", ")!E", "E1", "CC80", true},
        {"M", ")2", "E0", "D790", true},
        {"M", ")2", "60", "D790", true},
        {"M", ")2", "A0", "20", false},  // lowered to the space
        {"M", "(2", "E0", "error", false},
        {"M", "5", "39", "39", false},
        {"M", "4", "39", "E281B9", true},
        {"M", "p", "31", "C2B9", true},
        {"M", "3", "39", "E28289", true},
        {"M", "b", "2B", "E2828A", true},
        {"M", "g", "62", "CEB2", true},
        {"M", "2", "20", "error", false},
        {"M", "3", "20", "error", false},
        {"M", "4", "20", "error", false},
        {"M", "5", "20", "20", false},
        {"M", "(N", "20", "20", false},
        {"M", ":", "20", "20", false},
        {"M", "7", "20", "20", false},
        {"M", ";", "20", "20", false},
        {"M", "8", "20", "20", false},
        {"M", "6", "61", "D090", true},  // the table code of basic Cyrillic selects it
        {"M", "6", "40", "D18E", true},
        {"M", "(N", "7E", "D0A7", true},
        {"M", ")N", "E1", "D090", true},
        {"M", "(Q", "40", "D291", true},
        {"M", ";", "F3", "DB8B", true},
        {"M", ":", "F3", "D1AA", true},
        {"M", ")Q", "EF", "D0AA", true},
        {"M", "(3", "7A", "E2809C", true},
        {"M", ")3", "C1", "D8A1", true},
        {"M", "(4", "21", "DBBD", true},
        {"M", "8", "7E", "CFA1", true},
        {"M", "8", "5E", "CFA0", true},
        {"M", ")S", "E1", "CEB1", true},
        {"M", "$1", "213021", "E4B880", true},
        {"M", "9", "213021", "E4B880", true},
        {"M", "$1", "212320", "E38080", true},
        {"M", "$1", "213351", "E58883", true},
        {"M", "$1", "213350", "E58881", true},
        {"M", "$1", "707771", "E9BBA2", true},
        {"M", "$1", "213028", "error", false},
        {"M", "$1", "A1B0A1", "error", false},  // EACC octets are never lowered
        {"M", "$1", "41", "error", false},
        {"M", "$1", "", "error", false},
        {"M", "1", "4142", "error", false},
        {"M", "1", "", "error", false},
        {"M", "?", "41", "error", false},
        {"M", "", "41", "error", false},
        {"M", ")B", "41", "error", false},
        {"M", "$)1", "213021", "error", false},
        {"M", "S", "41", "error", false},  // letter case counts
        {"M", "(N", "1B", "error", false},
    };
    const Utf8CharClass chars;
    for (const auto& c : cases) {
        const Translation t = Translate(chars, c.sSetIn, c.sDesignation, Hex(c.sMarc8));
        const std::string where = c.sSetIn + " " + c.sDesignation + " " + c.sMarc8;
        if (c.sUtf8 == "error") {
            EXPECT_TRUE(t.bError) << where;
            EXPECT_EQ(t.sUtf8, "") << where;
        } else {
            EXPECT_FALSE(t.bError) << where;
            EXPECT_EQ(HexOf(t.sUtf8), c.sUtf8) << where;
        }
        EXPECT_EQ(t.bChanged, c.bChanged) << where;
    }
}

TEST(TranslateMarc2Utf8OneCharacter, TableCodesReadLikeTheirEscapes) {
    const std::pair<const char*, const char*> pairs[] = {
        {"1", "s"}, {"1", "(B"}, {"1", ")!E"}, {"2", "g"}, {"3", "b"}, {"4", "p"}, {"5", "(2"}, {"6", "(N"},
        {":", ")Q"}, {"7", "(3"}, {";", ")4"}, {"8", "(S"},
    };
    const Utf8CharClass chars;
    for (const auto& [code, escape] : pairs) {
        for (const char* sSetIn : {"M", "V"}) {
            for (int octet = 0; octet < 256; ++octet) {
                const std::string sChar(1, static_cast<char>(octet));
                const Translation a = Translate(chars, sSetIn, code, sChar);
                const Translation b = Translate(chars, sSetIn, escape, sChar);
                EXPECT_EQ(a.sUtf8, b.sUtf8) << code << " " << escape << " " << octet;
                EXPECT_EQ(a.bError, b.bError) << code << " " << escape << " " << octet;
            }
        }
    }
}

TEST(TranslateMarc2Utf8OneCharacter, LeavesTheCurrentCharacter) {
    Utf8CharClass chars;
    chars.Utf8Char("\xC3\xA9");
    Translate(chars, "M", "1", "\xE1");
    Translate(chars, "M", "$1", Hex("213021"));
    chars.Marc82Utf8("\xE2" "e", "M");
    EXPECT_EQ(chars.Utf8Char(), "\xC3\xA9");
    EXPECT_EQ(chars.UcsHex(), "00E9");
}

// The single-octet sets against yaz-iconv's MARC-8 reading (fixture captured by
// tools/capture_marc8_yaz.pl). Octets of this system's own in the Latin set read otherwise on
// purpose: alpha, gamma, the script small l at 0xBE, the superscripts from nine on, the subscripts,
// and the dagger at 0xBB. yaz-iconv also writes the halves of the ligature and of the double tilde
// (0xEB, 0xEC, 0xFA, 0xFB) as whole double marks, where the translation keeps U+FE20 to U+FE23.
TEST(TranslateMarc2Utf8OneCharacter, AgreesWithYazIconv) {
    std::ifstream in(std::string(EXITDESK_SOURCE_DIR) + "/testdata/marc8_yaz.tsv");
    ASSERT_TRUE(in) << "testdata/marc8_yaz.tsv";
    const Utf8CharClass chars;
    auto isLatin = [](const std::string& d) { return d == "1" || d == "s" || d == "(B" || d == ")!E" || d == "(!E"; };
    auto readsOtherwise = [](int octet) {
        return octet == 0xAF || octet == 0xBB || octet == 0xBE || octet == 0xBF || (octet >= 0xC9 && octet <= 0xCD) ||
               (octet >= 0xD0 && octet <= 0xDD) || octet == 0xEB || octet == 0xEC || octet == 0xFA || octet == 0xFB;
    };
    int compared = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string sDesignation, sOctet, sYaz;
        std::getline(fields, sDesignation, '\t');
        std::getline(fields, sOctet, '\t');
        std::getline(fields, sYaz, '\t');
        int octet = std::stoi(sOctet, nullptr, 16);
        if (sDesignation == "(!E" && octet < 0x80) octet += 0x80;
        if (isLatin(sDesignation) && readsOtherwise(octet)) continue;
        const Translation t = Translate(chars, "M", sDesignation, Hex(sOctet));
        EXPECT_EQ(t.bError ? "-" : HexOf(t.sUtf8), sYaz) << sDesignation << " " << sOctet;
        ++compared;
    }
    EXPECT_GT(compared, 1900);
}

TEST(Marc82Utf8, Cases) {
    struct Case {
        std::string sIn;   // hexadecimal
        std::string sSet;
        std::string sOut;  // hexadecimal
    };
    const Case cases[] = {
        {"", "M", ""},
        {"", "V", ""},
        {"41 42 1D 1E 1F 00 7F", "M", "41 42 1D 1E 1F 00 7F"},
        {"E2 65", "M", "65 CC81"},
        {"E2 E3 61", "M", "61 CC81 CC82"},
        {"61 E2", "M", "61 CC81"},
        {"E2", "M", "CC81"},
        {"E2 A0 61", "M", "CC81 61"},       // the dropped 0xA0 flushes the mark
        {"E2 1B 73 61", "M", "61 CC81"},    // the escape back to Latin flushes nothing
        {"E2 FC 61", "M", "61 CC81"},
        {"1B 70 32 1B 73", "M", "C2B2"},
        {"1B 62 32 1B 73", "M", "E28282"},
        {"1B 67 63 1B 73", "M", "CEB3"},
        {"1B 70 31 32 33 1B 73", "M", "C2B9 C2B2 C2B3"},
        {"1B 70 31", "M", "C2B9"},
        {"1B 70 28 2B 2D 29 1B 73", "M", "E281BD E281BA E281BB E281BE"},
        {"1B 62 28 2B 2D 29 1B 73", "M", "E2828D E2828A E2828B E2828E"},
        {"1B 70 41 61 1B 73", "M", ""},     // nothing that the run's set does not list
        {"E2 1B 70 32 1B 73", "M", "C2B2 CC81"},
        {"E2 1B 70 41 1B 73 61", "M", "CC81 61"},
        {"1B 28 42 61 62", "M", ""},        // a designation's run is dropped up to the next escape
        {"1B 28 42 61 1B 73 62", "M", "62"},
        {"E2 1B 28 42 61", "M", "CC81"},
        {"1B", "M", ""},
        {"61 1B", "M", "61"},
        {"C0", "V", "E281B0"},
        {"C0", "M", "C2B0"},
        {"C0", "v", "C2B0"},
        {"C0", "", "C2B0"},
        {"C6", "M", "C2A1"},
        {"C6", "V", "E281B6"},
        {"C7 C8", "M", "C39F E282AC"},      // eszett and euro
        {"C7 C8", "O", "C39F E282AC"},
        {"C7 C8", "V", "E281B7 E281B8"},
        {"C9 CA CB CC CD", "M", "E281B9 E281BA E281BB E281BD E281BE"},
        {"D0 D9 DA DB DC DD", "V", "E28280 E28289 E2828A E2828B E2828D E2828E"},
        {"BE", "M", "E28493"},
        {"BE", "O", "E28493"},
        {"A1 AE B0 BA BC BD", "M", "C581 CABC CABB C3B0 C6A1 C6B0"},
        {"88 41 89", "M", "C298 41 C29C"},
        {"8D 8E 90 A0 AF BB BF CE CF DE DF FC FD FF", "M", ""},
        // The 8-bit variant's own octets read as that set holds them: the symbols it moved
        // below 0xA1, the script small l, and alpha, beta and gamma.
        {"90 92 93 94 95 96", "V", "C2B0 E28497 C2A9 E299AF C2BF C2A1"},
        {"A0 AF BE BF", "V", "E28493 CEB1 CEB2 CEB3"},
        {"E2 93 31 39 39 39", "V", "C2A9 CC81 31 39 39 39"},
        {"91 97 9F BB", "V", ""},
        {"90 92 96 A0", "M", ""},
        {"E0 FB FE 61", "M", "61 CC89 EFB8A3 CC93"},
    };
    const Utf8CharClass chars;
    for (const auto& c : cases) {
        std::string sOut = c.sOut;
        std::erase(sOut, ' ');
        EXPECT_EQ(HexOf(chars.Marc82Utf8(Hex(c.sIn), c.sSet)), sOut) << c.sIn << " (" << c.sSet << ")";
    }
}

}  // namespace
