#include "marc8/marc8_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "chars/utf8_char.h"

namespace {

std::string Octets(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// An EACC entry in the text form " 212320:E38080".
std::string EntryText(const marc8::EaccEntry& entry) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %06X:%X", entry.eacc, entry.utf8);
    return buffer;
}

TEST(EaccTable, CountOrderAndChunks) {
    ASSERT_EQ(marc8::kEaccEntryCount, 15739u);
    for (std::size_t i = 0; i < marc8::kEaccEntryCount; ++i) {
        const auto& entry = marc8::EaccTable[i];
        for (int shift : {16, 8, 0}) {
            const auto octet = (entry.eacc >> shift) & 0xFF;
            ASSERT_TRUE(octet >= 0x20 && octet <= 0x7E) << EntryText(entry);
        }
        if (i > 0) {
            ASSERT_LT(marc8::EaccTable[i - 1].eacc, entry.eacc) << EntryText(entry);
        }
    }
    std::size_t total = 0;
    for (int16_t chunk = 1; chunk <= 44; ++chunk) {
        EXPECT_EQ(marc8::EaccChunk(chunk).size(), chunk < 44 ? 360u : 259u) << chunk;
        total += marc8::EaccChunk(chunk).size();
    }
    EXPECT_EQ(total, 15739u);
    EXPECT_TRUE(marc8::EaccChunk(0).empty());
    EXPECT_TRUE(marc8::EaccChunk(45).empty());
}

TEST(EaccTable, BoundaryKeysAreTheFirstCodesOfTheNextChunks) {
    const uint32_t keys[43] = {
        0x213351, 0x213754, 0x213B51, 0x213F57, 0x21434F, 0x214750, 0x214B4A, 0x214F42,
        0x215337, 0x215730, 0x215B27, 0x215F24, 0x216275, 0x217032, 0x217C25, 0x222D77,
        0x223B77, 0x224752, 0x225347, 0x225F7B, 0x226D47, 0x227B2E, 0x232A74, 0x23392B,
        0x23436F, 0x235031, 0x235E7A, 0x27423B, 0x27514A, 0x275A40, 0x276145, 0x29247D,
        0x295C28, 0x2D5476, 0x33512E, 0x4B3E2A, 0x4D4176, 0x6F2465, 0x6F4C4C, 0x6F5045,
        0x6F543F, 0x6F5835, 0x6F5C3B,
    };
    for (int16_t chunk = 1; chunk <= 43; ++chunk) {
        EXPECT_EQ(marc8::EaccChunkKey(chunk), keys[chunk - 1]) << chunk;
        EXPECT_EQ(marc8::EaccChunk(static_cast<int16_t>(chunk + 1)).front().eacc, keys[chunk - 1]) << chunk;
    }
}

TEST(EaccTable, TellingEntriesAndTargets) {
    EXPECT_EQ(EntryText(marc8::EaccTable[0]), " 212320:E38080");
    EXPECT_EQ(EntryText(marc8::EaccTable[marc8::kEaccEntryCount - 1]), " 707771:E9BBA2");
    std::map<uint32_t, uint32_t> byCode;
    std::map<uint32_t, int> codesPerTarget;
    for (const auto& entry : marc8::EaccTable) {
        byCode[entry.eacc] = entry.utf8;
        ++codesPerTarget[entry.utf8];
    }
    EXPECT_EQ(byCode.at(0x213021), 0xE4B880u);  // U+4E00
    EXPECT_EQ(byCode.at(0x212A21), 0xEEA390u);  // U+E8D0, private use
    EXPECT_EQ(byCode.at(0x213350), 0xE58881u);
    EXPECT_EQ(byCode.at(0x213351), 0xE58883u);

    int shared = 0;
    std::set<uint32_t> privateUse;
    for (const auto& [utf8, count] : codesPerTarget) {
        if (count > 1) ++shared;
        if (utf8 >= 0xEEA2B0 && utf8 <= 0xEEA3B2) privateUse.insert(utf8);  // U+E8B0 to U+E8F2
    }
    EXPECT_EQ(shared, 216);
    int privateUseEntries = 0;
    for (const auto& entry : marc8::EaccTable) {
        if (!privateUse.count(entry.utf8)) continue;
        ++privateUseEntries;
        const uint32_t lead = entry.eacc >> 8;
        EXPECT_TRUE((entry.eacc >= 0x212A21 && entry.eacc <= 0x212A45) || lead == 0x6F76 || lead == 0x6F77)
            << EntryText(entry);
    }
    EXPECT_EQ(privateUseEntries, 61);
}

TEST(EaccTable, ChunkChoice) {
    struct Case {
        std::string sEacc;
        int16_t iChunk;
    };
    const Case cases[] = {
        {Octets({0x21, 0x23, 0x20}), 1},
        {Octets({0x21, 0x30, 0x21}), 1},
        {Octets({0x21, 0x33, 0x50}), 1},  // last entry of chunk 1
        {Octets({0x21, 0x33, 0x51}), 2},  // equal to the key of chunk 1
        {Octets({0x6F, 0x5C, 0x3B}), 44},
        {Octets({0x70, 0x77, 0x71}), 44},
        {"A", 36},                        // the first key greater than "A" is 4B 3E 2A
        {"", 1},
        {Octets({0x21, 0x33, 0x51, 0x00}), 2},
    };
    for (const auto& c : cases) EXPECT_EQ(marc8::EaccChunkOf(c.sEacc), c.iChunk) << c.sEacc;
}

TEST(EaccTable, ReverseLookUpGivesTheLowestCode) {
    EXPECT_EQ(marc8::Utf8ToEacc("\xE3\x80\x80"), Octets({0x21, 0x23, 0x20}));  // also 21 23 21
    EXPECT_EQ(marc8::Utf8ToEacc("\xE4\xB8\x80"), Octets({0x21, 0x30, 0x21}));
    EXPECT_EQ(marc8::Utf8ToEacc("\xF0\xA1\x8B\x84"), Octets({0x21, 0x75, 0x59}));  // beyond the basic plane
    EXPECT_EQ(marc8::Utf8ToEacc("A"), std::nullopt);
    EXPECT_EQ(marc8::Utf8ToEacc(""), std::nullopt);
    EXPECT_EQ(marc8::Utf8ToEacc(std::string("\0\xE4\xB8\x80", 4)), std::nullopt);
    EXPECT_EQ(marc8::Utf8ToEacc("\xE4\xB8\x80\x80\x80"), std::nullopt);
    // Every entry: the reverse look-up finds a code of the same character, never a higher one.
    for (const auto& entry : marc8::EaccTable) {
        const auto sCode = marc8::Utf8ToEacc(marc8::UnpackOctets(entry.utf8));
        ASSERT_TRUE(sCode.has_value()) << EntryText(entry);
        const uint32_t lCode = (static_cast<unsigned char>((*sCode)[0]) << 16) |
                               (static_cast<unsigned char>((*sCode)[1]) << 8) | static_cast<unsigned char>((*sCode)[2]);
        ASSERT_LE(lCode, entry.eacc) << EntryText(entry);
    }
}

// ---- UTF-8 to MARC-8 ----

std::vector<std::string> Entries(const std::string& sText) {
    std::vector<std::string> entries;
    std::size_t p = sText.find(' ');
    while (p != std::string::npos) {
        const std::size_t next = sText.find(' ', p + 1);
        const std::string entry = sText.substr(p, next == std::string::npos ? std::string::npos : next - p);
        if (entry.size() > 1) entries.push_back(entry);
        p = next;
    }
    return entries;
}

TEST(Utf82MarcTable, TextFormCountAndOrder) {
    const std::string& sText = Utf8CharClass::Utf82MarcTable();
    EXPECT_EQ(sText.size(), 4884u);
    const auto entries = Entries(sText);
    ASSERT_EQ(entries.size(), 480u);
    int fourDigits = 0;
    int sixDigits = 0;
    for (const auto& entry : entries) {
        const std::size_t colon = entry.find(':');
        (colon == 5 ? fourDigits : sixDigits) += 1;
        EXPECT_TRUE(colon == 5 || colon == 7) << entry;
        EXPECT_EQ(entry.size(), colon + 5) << entry;
    }
    EXPECT_EQ(fourDigits, 438);
    EXPECT_EQ(sixDigits, 42);
    EXPECT_EQ(entries.front(), " C298:88:1");
    EXPECT_EQ(entries[478], " EFB8A0:EB:1");
    EXPECT_EQ(entries[479], " EFAC9E:4E:5");

    // Ascending by key, the X keys standing where their C keys sort.
    for (std::size_t i = 1; i < 478; ++i) {
        auto key = [](std::string e) {
            e = e.substr(1, e.find(':') - 1);
            if (e[0] == 'X') e[0] = 'C';
            return e;
        };
        EXPECT_LE(key(entries[i - 1]), key(entries[i])) << entries[i];
    }
    const std::size_t alpha = sText.find(" XEB1:61:2");
    ASSERT_NE(alpha, std::string::npos);
    EXPECT_EQ(sText.substr(alpha, 40), " XEB1:61:2 CEB1:61:8 XEB2:62:2 CEB2:62:8");

    for (const char* telling : {" C29C:89:1", " E2808D:8D:1", " CC89:E0:1", " C2B2:32:4", " E28280:30:3", " D790:60:5",
                                " D090:61:6", " D290:E0:6", " DBBD:A1:7", " CEB1:61:8", " CABE:AE:1", " E280A0:BB:1",
                                " E28493:C1:1", " C2B0:C0:1", " E281B9:39:4", " E28289:39:3", " CFA1:7E:8", " D1AA:F3:6"}) {
        EXPECT_NE(sText.find(std::string(telling) + ' '), std::string::npos) << telling;
    }
    // The octets of this system's own in the Latin set have no entry of set "1".
    for (const char* absent : {" CEB1:AF:1", " CEB3:BF:1", " E281B9:C9:1", " E28280:D0:1", " E28493:BE:1"}) {
        EXPECT_EQ(sText.find(absent), std::string::npos) << absent;
    }
}

TEST(Utf82MarcTable, DuplicateKeysListTheWinnerFirst) {
    const std::string& sText = Utf8CharClass::Utf82MarcTable();
    const std::pair<const char*, const char*> pairs[] = {
        {" CC80:E1:1", " CC80:21:8"}, {" CC81:E2:1", " CC81:22:8"}, {" CC88:E8:1", " CC88:23:8"},
        {" CC93:FE:1", " CC93:25:8"}, {" CC86:E6:1", " CC86:FD:7"}, {" CC8C:E9:1", " CC8C:FE:7"},
        {" E2809C:7A:7", " E2809C:32:8"}, {" E2809D:79:7", " E2809D:33:8"},
    };
    int keysWithTwoEntries = 0;
    std::map<std::string, int> perKey;
    for (const auto& entry : Entries(sText)) ++perKey[entry.substr(0, entry.find(':'))];
    for (const auto& [key, count] : perKey) keysWithTwoEntries += count == 2;
    EXPECT_EQ(keysWithTwoEntries, 8);
    for (const auto& [first, second] : pairs) {
        const std::size_t a = sText.find(first);
        const std::size_t b = sText.find(second);
        ASSERT_NE(a, std::string::npos) << first;
        ASSERT_NE(b, std::string::npos) << second;
        EXPECT_LT(a, b) << first;
    }
}

TEST(Utf82MarcTable, VariantTables) {
    const std::string& sV = Utf8CharClass::Utf82MarcTableV();
    EXPECT_EQ(sV.size(), 446u);
    EXPECT_EQ(sV.back(), ' ');
    const auto entries = Entries(sV);
    ASSERT_EQ(entries.size(), 38u);
    for (const auto& entry : entries) EXPECT_EQ(entry.back(), '1') << entry;
    EXPECT_EQ(entries.front(), " E281B0:C0:1");
    EXPECT_NE(sV.find(" E281BD:CC:1 E281BE:CD:1 E281BA:CA:1 E281BB:CB:1"), std::string::npos);
    EXPECT_NE(sV.find(" E2828D:DC:1 E2828E:DD:1 E2828A:DA:1 E2828B:DB:1"), std::string::npos);
    EXPECT_NE(sV.find(" C2A9:93:1 E299AF:94:1 C2BF:95:1 C2A1:96:1"), std::string::npos);
    EXPECT_NE(sV.find(" E28497:92:1 E28493:A0:1 C2B0:90:1"), std::string::npos);
    EXPECT_NE(sV.find(" CEB1:AF:1 CEB2:BE:1 CEB3:BF:1 "), std::string::npos);
    EXPECT_EQ(sV.find("    "), std::string::npos);
    EXPECT_EQ(Utf8CharClass::Utf82MarcTableO(), " E28493:BE:1");
}

TEST(Utf82MarcTable, LookUp) {
    struct Case {
        std::string sUtf8;
        std::string sSetOut;
        int octet;  // -1: no entry
        char code;
    };
    const Case cases[] = {
        {"\xE2\x80\x9C", "M", 0x7A, '7'},  // first of two entries
        {"\xCE\xB1", "M", 0x61, '8'},      // alpha: the Greek set, never the Greek symbols
        {"\xCE\xB1", "V", 0xAF, '1'},
        {"\xE2\x84\x93", "M", 0xC1, '1'},  // script small l
        {"\xE2\x84\x93", "O", 0xBE, '1'},
        {"\xE2\x84\x93", "V", 0xA0, '1'},
        {"\xE2\x84\x93", "v", 0xC1, '1'},
        {"\xE2\x81\xB9", "M", 0x39, '4'},  // superscript nine
        {"\xE2\x81\xB9", "V", 0xC9, '1'},
        {"\xE2\x82\x89", "M", 0x39, '3'},  // subscript nine
        {"\xC2\xB2", "O", 0x32, '4'},
        {"\xCC\x8C", "M", 0xE9, '1'},
        {"\xD2\x90", "M", 0xE0, '6'},
        {"\xE2\x80\xA0", "M", 0xBB, '1'},  // dagger
        {"\xCA\xBE", "M", 0xAE, '1'},
        {"A", "M", -1, 0},
        {"", "M", -1, 0},
        {"\xE4\xB8\x80", "M", -1, 0},      // an EACC character
        {"\xCE\xB1\x61", "M", -1, 0},
    };
    for (const auto& c : cases) {
        const auto* found = marc8::FindUtf82Marc(c.sUtf8, c.sSetOut);
        if (c.octet < 0) {
            EXPECT_EQ(found, nullptr) << c.sUtf8;
            continue;
        }
        ASSERT_NE(found, nullptr) << c.sUtf8 << " " << c.sSetOut;
        EXPECT_EQ(found->octet, c.octet) << c.sUtf8 << " " << c.sSetOut;
        EXPECT_EQ(found->code, c.code) << c.sUtf8 << " " << c.sSetOut;
    }
}

TEST(Utf82MarcTable, EveryEntryTranslatesBack) {
    Utf8CharClass chars;
    auto check = [&](const marc8::Utf82MarcEntry& entry, const std::string& sSetIn) {
        if (entry.sKey[0] == 'X' || entry.sKey == "CABE") return;  // never found / an alternative form
        std::string sDesignation(1, entry.code);
        if (entry.code == '6' && entry.octet >= 0x80) sDesignation = ":";
        if (entry.code == '7' && entry.octet >= 0x80) sDesignation = ";";
        std::string sUtf8;
        bool bChanged = false;
        bool bError = false;
        chars.TranslateMarc2Utf8OneCharacter(sSetIn, sDesignation, std::string(1, static_cast<char>(entry.octet)), sUtf8,
                                             bChanged, bError);
        EXPECT_FALSE(bError) << entry.sKey;
        std::string sHex;
        for (char octet : sUtf8) sHex += chars.Char2Hex(std::string(1, octet));
        EXPECT_EQ(sHex, entry.sKey) << sSetIn << " " << sDesignation << " " << int(entry.octet);
    };
    for (const auto& entry : marc8::Utf82MarcEntries()) check(entry, "M");
    for (const auto& entry : marc8::Utf82MarcEntriesV()) check(entry, "V");
    for (const auto& entry : marc8::Utf82MarcEntriesO()) check(entry, "O");
}

}  // namespace
