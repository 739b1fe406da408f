#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/runtime.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using display_test::Hex;
using display_test::T;
using test_octets::O;
using test_octets::U;

struct ToCp1252Case {
    const char* sets;
    std::vector<int32_t> flavours;
    const char* in;
    const char* out;
};

// Records held in each output set.
class Windows1252 : public ::testing::Test, protected display_test::RecordsBySet {
protected:
    // Each case in each of its sets and flavours.
    void ExpectDisplays(const std::vector<ToCp1252Case>& cases) {
        for (const ToCp1252Case& k : cases)
            for (const char* set = k.sets; *set; ++set)
                for (int32_t flavour : k.flavours)
                    EXPECT_EQ(display_test::Hex(In(std::string(1, *set)).Marc2MsoftAscii(display_test::T(k.in), flavour)),
                              display_test::Hex(display_test::T(k.out)))
                        << k.in << " in " << *set << ", flavour " << flavour;
    }
};

// One line of the capture of Python's Windows-1252 codec.
struct CapturedOctet {
    unsigned Octet;
    int Ucs;            // -1 where the codec has no character
    std::string Nfd;    // UTF-8 of the canonical decomposition
};

std::vector<CapturedOctet> ReadCapture() {
    std::ifstream in(std::string(EXITDESK_SOURCE_DIR) + "/testdata/cp1252_nfd.tsv");
    std::vector<CapturedOctet> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string octet, ucs, nfd;
        std::getline(fields, octet, '\t');
        std::getline(fields, ucs, '\t');
        std::getline(fields, nfd);
        rows.push_back({static_cast<unsigned>(std::stoi(octet, nullptr, 16)),
                        ucs == "-" ? -1 : std::stoi(ucs, nullptr, 16), nfd == "-" ? "" : O(nfd)});
    }
    return rows;
}

// A captured decomposition of an ASCII letter and one combining mark.
bool IsLetterWithMark(const CapturedOctet& row) {
    const std::string& d = row.Nfd;
    return d.size() == 3 && static_cast<unsigned char>(d[0]) < 0x80 &&
           static_cast<unsigned char>(d[1]) == 0xCC;
}

std::string Octet(unsigned v) { return std::string(1, static_cast<char>(v)); }

using Getter = OctetString (Utf8MarcRecordClass::*)();

// ---------------------------------------------------------------- MsoftAscii2Marc

// The letters with a diacritic: in UTF-8 exactly Python's decomposition, in
// MARC-8 the same mark (as the record names it) before the letter.
TEST_F(Windows1252, LettersWithADiacriticFollowTheCapturedDecomposition) {
    const std::vector<Getter> marks = {&Utf8MarcRecordClass::MarcGrave,  &Utf8MarcRecordClass::MarcAcute,
                                       &Utf8MarcRecordClass::MarcCircumflex, &Utf8MarcRecordClass::MarcTilde,
                                       &Utf8MarcRecordClass::MarcUmlaut, &Utf8MarcRecordClass::MarcHacek,
                                       &Utf8MarcRecordClass::MarcAngstrom, &Utf8MarcRecordClass::MarcCedilla};
    std::map<std::string, std::string> marc8Of;  // UTF-8 mark to MARC-8 mark
    for (Getter mark : marks) marc8Of[(In("U").*mark)()] = (In("M").*mark)();
    int letters = 0;
    for (const CapturedOctet& row : ReadCapture()) {
        if (!IsLetterWithMark(row)) continue;
        ++letters;
        const std::string letter = row.Nfd.substr(0, 1), mark = row.Nfd.substr(1);
        ASSERT_EQ(marc8Of.count(mark), 1u) << Hex(Octet(row.Octet));
        EXPECT_EQ(In("U").MsoftAscii2Marc(Octet(row.Octet)), row.Nfd) << Hex(Octet(row.Octet));
        for (const char* set : {"M", "O", "V", "L"})
            EXPECT_EQ(In(set).MsoftAscii2Marc(Octet(row.Octet)), marc8Of[mark] + letter)
                << Hex(Octet(row.Octet)) << " in " << set;
    }
    EXPECT_EQ(letters, 58);
}

// Every character that becomes one named character (or a mark alone) gives
// what the record's getter of that character gives, in every set.
TEST_F(Windows1252, NamedCharactersAreTheRecordsOwn) {
    const std::vector<std::pair<unsigned, Getter>> rows = {
        {0x88, &Utf8MarcRecordClass::MarcCircumflex},      {0x8C, &Utf8MarcRecordClass::MarcOEUpper},
        {0x91, &Utf8MarcRecordClass::MarcGrave},           {0x92, &Utf8MarcRecordClass::MarcMiagkiiZnak},
        {0x94, &Utf8MarcRecordClass::MarcTverdiiZnak},     {0x98, &Utf8MarcRecordClass::MarcTilde},
        {0x9C, &Utf8MarcRecordClass::MarcOELower},         {0xA1, &Utf8MarcRecordClass::MarcExclamationInverted},
        {0xA3, &Utf8MarcRecordClass::MarcBritishPound},    {0xA8, &Utf8MarcRecordClass::MarcUmlaut},
        {0xA9, &Utf8MarcRecordClass::MarcCopyright},       {0xAE, &Utf8MarcRecordClass::MarcRegistered},
        {0xB0, &Utf8MarcRecordClass::MarcDegree},          {0xB1, &Utf8MarcRecordClass::MarcPlusMinus},
        {0xB2, &Utf8MarcRecordClass::MarcSuperscript2},    {0xB3, &Utf8MarcRecordClass::MarcSuperscript3},
        {0xB4, &Utf8MarcRecordClass::MarcAcute},           {0xB8, &Utf8MarcRecordClass::MarcHookLeft},
        {0xB9, &Utf8MarcRecordClass::MarcSuperscript1},    {0xBA, &Utf8MarcRecordClass::MarcSuperscript0},
        {0xBF, &Utf8MarcRecordClass::MarcQuestionInverted}, {0xC6, &Utf8MarcRecordClass::MarcAEUpper},
        {0xD0, &Utf8MarcRecordClass::MarcDSlashUpper},     {0xD8, &Utf8MarcRecordClass::MarcOSlashUpper},
        {0xDE, &Utf8MarcRecordClass::MarcThornUpper},      {0xE6, &Utf8MarcRecordClass::MarcAELower},
        {0xF0, &Utf8MarcRecordClass::MarcEth},             {0xF8, &Utf8MarcRecordClass::MarcOSlashLower},
        {0xFE, &Utf8MarcRecordClass::MarcThornLower},
    };
    for (const char* set : {"U", "M", "O", "V"}) {
        Utf8MarcRecordClass& record = In(set);
        for (const auto& [octet, getter] : rows)
            EXPECT_EQ(record.MsoftAscii2Marc(Octet(octet)), (record.*getter)()) << Hex(Octet(octet)) << " in " << set;
        // ß is carried by beta in UTF-8 and spelled out in MARC-8.
        EXPECT_EQ(record.MsoftAscii2Marc("\xDF"), std::string(set) == "U" ? record.MarcBeta() : "ss") << set;
    }
}

// Tables 1 to 4 by what they do: a mark and a letter; a named character; the
// same ASCII in both encodings; nothing.
TEST_F(Windows1252, EveryOctetFallsUnderExactlyOneKind) {
    int letters = 0, named = 0, spelled = 0, removed = 0;
    for (unsigned v = 0x80; v <= 0xFF; ++v) {
        const std::string u = In("U").MsoftAscii2Marc(Octet(v)), m = In("M").MsoftAscii2Marc(Octet(v));
        const bool ascii = std::all_of(m.begin(), m.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (u.empty() && m.empty()) ++removed;
        else if (u == m && ascii) ++spelled;
        else if (m.size() == 2 && static_cast<unsigned char>(m[0]) >= 0xE0 && rt::IsAsciiLetter(m[1])) ++letters;
        else ++named;
    }
    EXPECT_EQ(letters, 58);
    EXPECT_EQ(named, 30);
    EXPECT_EQ(spelled, 21);
    EXPECT_EQ(removed, 19);
}

// What the record's translation of Windows-1252 records relies on, for all
// 256 octets in every set: the argument is untouched, octets below 0x80 pass,
// every other octet is replaced by something else; and a text of all of them
// converts as its octets one by one.
TEST_F(Windows1252, EveryOctetPassesOrIsReplacedInEverySet) {
    for (const char* set : {"U", "M", "O", "V", "L"}) {
        Utf8MarcRecordClass& record = In(set);
        std::string all, expected;
        for (unsigned v = 0; v <= 0xFF; ++v) {
            const std::string text = "a" + Octet(v) + "b";
            const std::string copy = text;
            const std::string result = record.MsoftAscii2Marc(text);
            EXPECT_EQ(text, copy);
            ASSERT_GE(result.size(), 2u);
            EXPECT_EQ(result.front(), 'a');
            EXPECT_EQ(result.back(), 'b');
            const std::string middle = result.substr(1, result.size() - 2);
            if (v < 0x80) EXPECT_EQ(result, text) << v << " in " << set;
            else EXPECT_NE(middle, Octet(v)) << v << " in " << set;
            all += Octet(v);
            expected += middle;
        }
        EXPECT_EQ(record.MsoftAscii2Marc(all), expected) << set;
    }
}

TEST_F(Windows1252, MsoftAscii2MarcEdgeCases) {
    ExpectInEachSet({
        {"UMOV", "", ""},
        {"UMOV", "ab$c<1E>d<1D>", "ab$c<1E>d<1D>"},
        {"U", "Soci<E9>t<E9>", "Socie<CC 81>te<CC 81>"},
        {"MOV", "Soci<E9>t<E9>", "Soci<E2>et<E2>e"},
        {"U", "<DF>", "<CE B2>"},
        {"MOV", "<DF>", "ss"},
        {"MO", "<B2>", "<1B>p2<1B>s"},
        {"V", "<B2>", "<C2>"},
        {"U", "<B2>", "<C2 B2>"},
        {"UMOV", "one<A0>two", "onetwo"},
        {"MOV", "<B4>e", "<E2>e"},
        {"U", "<B4>e", "<CC 81>e"},
        {"U", "<C3 A9>", "A<CC 83><C2 A9>"},
        {"U", "<C0><C9><CE>", "A<CC 80>E<CC 81>I<CC 82>"},
        {"MOV", "<C0><C9><CE>", "<E1>A<E2>E<E3>I"},
        {"UMOV", "<80> <85> <97> <99> <BD>", "euro ... -- (TM) 1/2"},
        {"UMOV", "<81><82><83><84><86><87><8D><8F><90><95><9D><A4><A6><A7><AC><AF><B6><F7>", ""},
        {"U", "<92><94><BA>", "<CA B9><CA BA><E2 81 B0>"},
        {"MO", "<A1><A9><B0><BF><BA>", "<C6><C3><C0><C5><1B>p0<1B>s"},
        {"V", "<A1><A9><B0><BF><BA><B9><B3>", "<96><93><90><95><C0><C1><C3>"},
        {"U", "<91>a<B8>", "<CC 80>a<CC A6>"},
    }, [](Utf8MarcRecordClass& record, const std::string& text) { return record.MsoftAscii2Marc(text); });
}

// A record whose character object went missing makes it again.
TEST_F(Windows1252, MakesTheCharacterObjectWhenItIsMissing) {
    RecordTestAccess::MutableState(In("U")).MyUtf8Char.reset();
    EXPECT_EQ(In("U").MsoftAscii2Marc("\xE9"), T("e<CC 81>"));
    EXPECT_NE(RecordTestAccess::State(In("U")).MyUtf8Char, nullptr);
    RecordTestAccess::MutableState(In("M")).MyUtf8Char.reset();
    EXPECT_EQ(In("M").Marc2MsoftAscii("\xE2" "e", 1), "\xE9");
    EXPECT_NE(RecordTestAccess::State(In("M")).MyUtf8Char, nullptr);
}

// ---------------------------------------------------------------- Marc2MsoftAscii



// 8-bit text of a record held in "M", "O" or "V": as the same record loaded
// into UTF-8 reads it (escape runs, references, each set's own octets, marks
// after their letter, markers for octets that are no character), then shown
// as UTF-8 text is. A record held in Windows-1252 ("L") is shown by the Windows-1252 chart,
// never as MARC-8 (windows_1252_chart_test.cpp).
TEST_F(Windows1252, EightBitTextToWindows1252) {
    const std::vector<int32_t> all = {0, 1, 2, 7, 9, -3};
    const std::vector<ToCp1252Case> cases = {
        {"MOV", all, "", ""},
        {"MOV", {0, 2, 7, -3}, "abc xyz|<1B>p2<1B>s<1E>", "abc xyz|<C2><B2><1E>"},
        {"MOV", {1, 9}, "abc xyz|<1B>p2<1B>s<1E>", "abc xyz|<B2><1E>"},
        {"MOV", {0, 2, 7, -3}, "<E2>e<E9>s<E9>Z<EA>A<F0>c<E8>y<E8>Y<E4>N<E3>u<E1>a", "<C3><A9>sZ<C3><85><C3><A7><C3><BF>Y<C3><91><C3><BB><C3><A0>"},
        {"MOV", {1}, "<E2>e<E9>s<E9>Z<EA>A<F0>c<E8>y<E8>Y<E4>N<E3>u<E1>a", "<E9><9A><8E><C5><E7><FF><9F><D1><FB><E0>"},
        {"MOV", {9}, "<E2>e<E9>s<E9>Z<EA>A<F0>c<E8>y<E8>Y<E4>N<E3>u<E1>a", "e<95>s<95>Z<95>A<95>c<95>y<95>Y<95>N<95>u<95>a<95>"},
        {"MOV", {0, 7}, "e<E2> <E2>1 <E5>a <E2>E<E2>y <E9>c", "e 1 a <C3><89><C3><BD> c"},
        {"MOV", {1}, "e<E2> <E2>1 <E5>a <E2>E<E2>y <E9>c", "e 1 a <C9><FD> c"},
        {"MOV", {2}, "e<E2> <E2>1 <E5>a <E9>c", "e <C2><95>1<C2><95> a<C2><95> c<C2><95>"},
        {"MOV", {9}, "e<E2> <E2>1 <E5>a <E9>c", "e <95>1<95> a<95> c<95>"},
        {"MOV", {1}, "<E2><F2>e <E8><E2>e", "e <EB>"},
        {"MOV", {2}, "<E2><F2>e <E8><E2>e", "e<C2><95><C2><95> <C3><AB><C2><95>"},
        {"MOV", {0, 1, 7, -3}, "<E8><B8>", "i"},
        {"MOV", {2}, "<E8><B8>", "i<C2><95>"},
        {"MOV", {9}, "<E8><B8>", "i<95>"},
        {"MOV", {0, 1, 7}, "<E2><A1> <E2><F6>", "L "},
        {"MOV", {2}, "<E2><A1> <E2><F6>", "L<C2><95> <C2><95><C2><95>"},
        {"MOV", {0, 2, 7, -3}, "<A1><A2><A3><A4><A5><A6><A7><A9><AA><AB><AC><AD><AE><B0>", "L<C3><98><C3><90><C3><9E><C3><86>OE'flat<C2><AE><C2><B1>OU''"},
        {"MOV", {1, 9}, "<A1><A2><A3><A4><A5><A6><A7><A9><AA><AB><AC><AD><AE><B0>", "L<D8><D0><DE><C6><8C><92>flat<AE><B1>OU''"},
        {"MOV", {0, 7, -3}, "<B1><B2><B3><B4><B5><B6><B7><B8><B9>5<BA><BC><BD><F6>a", "l<C3><B8><C3><B0><C3><BE><C3><A6>oe\"i<C2><A3>5<C3><B0>oua"},
        {"MOV", {1}, "<B1><B2><B3><B4><B5><B6><B7><B8><B9>5<BA><BC><BD><F6>a", "l<F8><F0><FE><E6><9C><94>i<A3>5<F0>oua"},
        {"MOV", {2}, "<B1><B2><B3><B4><B5><B6><B7><B8><B9>5<BA><BC><BD><F6>a", "l<C3><B8><C3><B0><C3><BE><C3><A6>oe\"i<C2><A3>5<C3><B0>oua<C2><95>"},
        {"MOV", {9}, "<B1><B2><B3><B4><B5><B6><B7><B8><B9>5<BA><BC><BD><F6>a", "l<F8><F0><FE><E6><9C><94>i<A3>5<F0>oua<95>"},
        {"MOV", all, "<AF>x<BF>", "alphaxgamma"},
        {"MO", all, "<90><91><92><93><94><95><96><A0>", "[MARC+90][MARC+91][MARC+92][MARC+93][MARC+94][MARC+95][MARC+96][MARC+A0]"},
        {"V", {0, 2, 7, -3}, "<90><91><92><93><94><95><96><A0>", "<C2><B0>[MARC+91](p)<C2><A9>#<C2><BF><C2><A1>l"},
        {"V", {1, 9}, "<90><91><92><93><94><95><96><A0>", "<B0>[MARC+91](p)<A9>#<BF><A1>l"},
        {"MOV", all, "<C9><CA><CB><CC><CD><D0><D9><DA><DB><DC><DD>", "9+-()09+-()"},
        {"V", {0, 2, 7, -3}, "<C0><C1><C2><C3><C4><C5><C6><C7><C8><BE>", "0<C2><B9><C2><B2><C2><B3>45678beta"},
        {"V", {1, 9}, "<C0><C1><C2><C3><C4><C5><C6><C7><C8><BE>", "<BA><B9><B2><B3>45678<DF>"},
        {"MO", {0, 7, -3}, "<C0><C1><C2><C3><C4><C5><C6><C7><C8><BE>", "<C2><B0>l(p)<C2><A9>#<C2><BF><C2><A1><C3><9F>l"},
        {"MO", {1, 9}, "<C0><C1><C2><C3><C4><C5><C6><C7><C8><BE>", "<B0>l(p)<A9>#<BF><A1><DF><80>l"},
        {"MO", {2}, "<C0><C1><C2><C3><C4><C5><C6><C7><C8><BE>", "<C2><B0>l(p)<C2><A9>#<C2><BF><C2><A1><C3><9F><C2><95>l"},
        {"MOV", {0, 7}, "<88>x<89><8D><8E><A8><BB><CE><CF><DE><DF><E0><E5><E7><EB><EF><F1><F5><F7><FF>", "x<C2><B7>[MARC+CE][MARC+CF][MARC+DE][MARC+DF][MARC+FF]"},
        {"MOV", {1}, "<88>x<89><8D><8E><A8><BB><CE><CF><DE><DF><E0><E5><E7><EB><EF><F1><F5><F7><FF>", "x<B7><86>[MARC+CE][MARC+CF][MARC+DE][MARC+DF][MARC+FF]"},
        {"MOV", {2}, "<88>x<89><A8><E0><FF>", "<C2><95>x<C2><95><C2><B7>[MARC+FF]<C2><95>"},
        {"MOV", {9}, "<88>x<89><A8><E0><FF>", "<95>x<95><B7>[MARC+FF]<95>"},
        {"MOV", all, "x$abc", "x |a bc"},
        {"MOV", all, "$ab", "|a b"},
        {"MOV", all, "x$a", "x |a "},
        {"MOV", all, "$", "| "},
        {"MOV", all, "x $a bc", "x |a bc"},
        {"MOV", {1}, "$<E2>e<E1>a", "|<E9> <E0>"},
    };
    ExpectDisplays(cases);
}

// UTF-8 text: flavours 1 and 9 give Windows-1252, the others UTF-8 limited
// to U+0000-U+00FF; flavour 9 merges no mark.
TEST_F(Windows1252, Utf8TextToWindows1252AndLatin1) {
    const std::vector<int32_t> all = {0, 1, 2, 7, 9, -3};
    const std::vector<ToCp1252Case> cases = {
        {"U", all, "", ""},
        {"U", all, "abc xyz|<1B>p2<1B>s<1E>", "abc xyz|<1B>p2<1B>s<1E>"},
        {"U", {1}, "e<CC 81>", "<E9>"},
        {"U", {2, 0, 7}, "e<CC 81>", "<C3 A9>"},
        {"U", {9}, "e<CC 81>", "e<95>"},
        {"U", {1, 9}, "<C3 A9>", "<E9>"},
        {"U", {2, 0}, "<C3 A9>", "<C3 A9>"},
        {"U", {1}, "e<CC 81><CC A3>", "<E9>"},
        {"U", {2}, "e<CC 81><CC A3>", "<C3 A9><C2 95>"},
        {"U", {1}, "<CC 81>e <C3 A9><CC 81> <C4 81>", "e <E9> a"},
        {"U", {0}, "<CC 81>e <C3 A9><CC 81> <C4 81>", "e <C3 A9> a"},
        {"U", {2}, "<CC 81>e <C3 A9><CC 81> <C4 81>", "<C2 95>e <C3 A9><C2 95> a<C2 95>"},
        {"U", {9}, "<CC 81>e", "<95>e"},
        // A precomposed letter that neither form holds shows as its decomposition.
        {"U", {1}, "Mu<E1 B8 A5>ammad, Vi<E1 BB 87>t", "Muhammad, Viet"},
        {"U", {2}, "Mu<E1 B8 A5>ammad, Vi<E1 BB 87>t", "Muh<C2 95>ammad, Vie<C2 95><C2 95>t"},
        {"U", {9}, "Mu<E1 B8 A5>ammad, Vi<E1 BB 87>t", "Muh<95>ammad, Vie<95><95>t"},
        {"U", {1}, "<C7 98><E1 BB 9D>", "<FC>o"},
        {"U", {1}, "s<CC 8C>Z<CC 8C>c<CC 8C>Y<CC 88>A<CC 8A>c<CC A7>", "<9A><8E>c<9F><C5><E7>"},
        {"U", {2}, "s<CC 8C>Z<CC 8C>c<CC 8C>Y<CC 88>A<CC 8A>c<CC A7>", "sZc<C2 95>Y<C3 85><C3 A7>"},
        {"U", {1, 9}, "<C3 BE><C3 9E><C2 A3><C3 B0><C2 A0><C3 97><C3 B7><C3 9F>", "<FE><DE><A3><F0><A0><D7><F7><DF>"},
        {"U", {2, 0}, "<C3 BE><C3 9E><C2 A3><C3 B0><C2 A0><C3 97><C3 B7><C3 9F>",
         "<C3 BE><C3 9E><C2 A3><C3 B0><C2 A0><C3 97><C3 B7><C3 9F>"},
        {"U", {1}, "<C5 92><CE B2><CA B9><CA BA><E2 81 B0><C4 91>", "<8C><DF><92><94><BA><F0>"},
        {"U", {2}, "<C5 92><CE B2><CA B9><CA BA><E2 81 B0><C4 91>", "OEbeta'\"0<C3 B0>"},
        {"U", {1}, "<CC B2>x", "x"},
        {"U", {2}, "<CC B2>x", "<C2 95>x"},
        {"U", {9}, "<CC B2>x", "<95>x"},
        // Windows-1252's own characters at 0x80-0x9F.
        {"U", {1, 9}, "<C5 A0><C5 A1><C5 BD><C5 BE><C5 B8>", "<8A><9A><8E><9E><9F>"},
        {"U", {2, 0}, "<C5 A0><C5 A1><C5 BD><C5 BE><C5 B8>", "SsZzY"},
        {"U", {1, 9}, "<E2 82 AC><E2 80 94><E2 80 9C><E2 80 A6><CB 86><E2 84 A2>", "<80><97><93><85><88><99>"},
        {"U", {2}, "<E2 82 AC><E2 80 94><E2 80 9C><E2 80 A6><CB 86><E2 84 A2>",
         "<C2 95><C2 95><C2 95><C2 95><C2 95><C2 95>"},
        {"U", {0, 7}, "<E2 82 AC><E2 80 94>", ""},
        // Nonsort markers and other scripts.
        {"U", {1}, "<C2 98>a<C2 9C><D0 96><F0 9F 98 80>", "a"},
        {"U", {2}, "<C2 98>a<C2 9C><D0 96><F0 9F 98 80>", "<C2 95>a<C2 95><C2 95><C2 95>"},
        // Octets of no well-formed character, each alone.
        {"U", {2}, "<C3>A <A9>B <E2 82> <C3 A9 A9> <C1 A9> <F0 9F 98>",
         "<C2 95>A <C2 95>B <C2 95><C2 95> <C3 A9><C2 95> <C2 95> <C2 95><C2 95><C2 95>"},
        {"U", {1}, "<C3>A <E2 82>", "A "},
        // Delimiters.
        {"U", all, "x$abc", "x |a bc"},
        {"U", all, "$ab", "|a b"},
        {"U", all, "x$a", "x |a "},
        {"U", all, "$", "| "},
        {"U", {1}, "x<C3 A9>$a", "x<E9> |a "},
        // A code shown in two octets of the Latin-1 form stays whole.
        {"U", {1, 9}, "x$<C3 A9>bc", "x |<E9> bc"},
        {"U", {2, 0}, "x$<C3 A9>bc $e<CC 81>", "x |<C3 A9> bc |<C3 A9> "},
        {"U", {2}, "$<CC 81>b $<DE B1>", "|<C2 95> b |<C2 95> "},
    };
    ExpectDisplays(cases);
}


// The named characters of UTF-8 text, each as the record's getter gives it.
TEST_F(Windows1252, NamedUtf8CharactersInBothForms) {
    struct Named {
        Getter getter;
        const char* cp1252;
        const char* latin1;
    };
    const std::vector<Named> rows = {
        {&Utf8MarcRecordClass::MarcDSlashUpper, "<D0>", "<C3 90>"}, {&Utf8MarcRecordClass::MarcDSlashLower, "<F0>", "<C3 B0>"},
        {&Utf8MarcRecordClass::MarcIDotless, "i", "i"},           {&Utf8MarcRecordClass::MarcLSlashUpper, "L", "L"},
        {&Utf8MarcRecordClass::MarcLSlashLower, "l", "l"},        {&Utf8MarcRecordClass::MarcOEUpper, "<8C>", "OE"},
        {&Utf8MarcRecordClass::MarcOELower, "<9C>", "oe"},        {&Utf8MarcRecordClass::MarcOHookUpper, "O", "O"},
        {&Utf8MarcRecordClass::MarcOHookLower, "o", "o"},         {&Utf8MarcRecordClass::MarcUHookUpper, "U", "U"},
        {&Utf8MarcRecordClass::MarcUHookLower, "u", "u"},         {&Utf8MarcRecordClass::MarcMiagkiiZnak, "<92>", "'"},
        {&Utf8MarcRecordClass::MarcTverdiiZnak, "<94>", "\""},     {&Utf8MarcRecordClass::MarcAyn, "'", "'"},
        {&Utf8MarcRecordClass::MarcAlif, "'", "'"},               {&Utf8MarcRecordClass::MarcAlpha, "alpha", "alpha"},
        {&Utf8MarcRecordClass::MarcBeta, "<DF>", "beta"},         {&Utf8MarcRecordClass::MarcGamma, "gamma", "gamma"},
        {&Utf8MarcRecordClass::MarcSuperscript0, "<BA>", "0"},    {&Utf8MarcRecordClass::MarcSuperscript1, "<B9>", "<C2 B9>"},
        {&Utf8MarcRecordClass::MarcSuperscript2, "<B2>", "<C2 B2>"}, {&Utf8MarcRecordClass::MarcSuperscript3, "<B3>", "<C2 B3>"},
        {&Utf8MarcRecordClass::MarcSuperscript4, "4", "4"},       {&Utf8MarcRecordClass::MarcSuperscript9, "9", "9"},
        {&Utf8MarcRecordClass::MarcSuperscriptPlus, "+", "+"},    {&Utf8MarcRecordClass::MarcSuperscriptMinus, "-", "-"},
        {&Utf8MarcRecordClass::MarcSuperscriptParensLeft, "(", "("}, {&Utf8MarcRecordClass::MarcSuperscriptParensRight, ")", ")"},
        {&Utf8MarcRecordClass::MarcSubscript0, "0", "0"},         {&Utf8MarcRecordClass::MarcSubscript5, "5", "5"},
        {&Utf8MarcRecordClass::MarcSubscript9, "9", "9"},         {&Utf8MarcRecordClass::MarcSubscriptPlus, "+", "+"},
        {&Utf8MarcRecordClass::MarcSubscriptMinus, "-", "-"},     {&Utf8MarcRecordClass::MarcSubscriptParensLeft, "(", "("},
        {&Utf8MarcRecordClass::MarcSubscriptParensRight, ")", ")"}, {&Utf8MarcRecordClass::MarcFlat, "flat", "flat"},
        {&Utf8MarcRecordClass::MarcSharp, "#", "#"},              {&Utf8MarcRecordClass::MarcPressing, "(p)", "(p)"},
        {&Utf8MarcRecordClass::MarcLScript, "l", "l"},            {&Utf8MarcRecordClass::MarcDegree, "<B0>", "<C2 B0>"},
        {&Utf8MarcRecordClass::MarcCopyright, "<A9>", "<C2 A9>"}, {&Utf8MarcRecordClass::MarcThornUpper, "<DE>", "<C3 9E>"},
        {&Utf8MarcRecordClass::MarcQuestionInverted, "<BF>", "<C2 BF>"},
        {&Utf8MarcRecordClass::MarcExclamationInverted, "<A1>", "<C2 A1>"},
    };
    Utf8MarcRecordClass& record = In("U");
    for (const Named& k : rows) {
        const std::string c = (record.*k.getter)();
        EXPECT_EQ(Hex(record.Marc2MsoftAscii(c, 1)), Hex(T(k.cp1252))) << Hex(c);
        EXPECT_EQ(Hex(record.Marc2MsoftAscii(c, 9)), Hex(T(k.cp1252))) << Hex(c);
        EXPECT_EQ(Hex(record.Marc2MsoftAscii(c, 2)), Hex(T(k.latin1))) << Hex(c);
    }
}

// Every Windows-1252 character of UTF-8 text shows as its own octet in
// flavours 1 and 9; in the other flavours Latin-1 stays and the rest of
// 0x80-0x9F becomes the replacement or its plain letter.
TEST_F(Windows1252, EveryWindows1252CharacterShowsAsItsOctet) {
    Utf8MarcRecordClass& record = In("U");
    int shown = 0;
    for (const CapturedOctet& row : ReadCapture()) {
        if (row.Ucs < 0) continue;
        const std::string c = U(static_cast<uint32_t>(row.Ucs));
        EXPECT_EQ(record.Marc2MsoftAscii(c, 1), Octet(row.Octet)) << Hex(c);
        EXPECT_EQ(record.Marc2MsoftAscii(c, 9), Octet(row.Octet)) << Hex(c);
        if (row.Octet >= 0xA0) {
            EXPECT_EQ(record.Marc2MsoftAscii(c, 2), c) << Hex(c);
        }
        ++shown;
    }
    EXPECT_EQ(shown, 123);
}

// The letters with a diacritic come back from either encoding; the four
// characters that UTF-8 carries by others come back from UTF-8, and the
// MARC-8 symbols of "M" and "O" from those sets.
TEST_F(Windows1252, TextComesBackFromTheRecord) {
    for (const CapturedOctet& row : ReadCapture()) {
        if (!IsLetterWithMark(row)) continue;
        for (const char* set : {"U", "M", "O", "V"})
            EXPECT_EQ(In(set).Marc2MsoftAscii(In(set).MsoftAscii2Marc(Octet(row.Octet)), 1), Octet(row.Octet))
                << Hex(Octet(row.Octet)) << " in " << set;
    }
    const std::string carried = T("<DF><92><94><BA><8C><9C><C6><D0><D8><DE><E6><F0><F8><FE><A1><A3><A9><AE><B0><B1><B2><BF>");
    EXPECT_EQ(Hex(In("U").Marc2MsoftAscii(In("U").MsoftAscii2Marc(carried), 1)), Hex(carried));
    const std::string symbols = T("<A1><A9><B0><BF><A3><AE><B1>");
    for (const char* set : {"M", "O", "V"})
        EXPECT_EQ(Hex(In(set).Marc2MsoftAscii(In(set).MsoftAscii2Marc(symbols), 1)), Hex(symbols)) << set;
}

// UTF-8 outside flavours 1 and 9 stays well-formed UTF-8 of U+0000-U+00FF
// whatever the input.
TEST_F(Windows1252, TheLatin1FormIsAlwaysLatin1Utf8) {
    std::string text;
    for (uint32_t cp = 1; cp < 0x3000; cp += (cp < 0x400 ? 1 : 7)) text += (cp % 5 == 0 ? "\x1F" : "") + U(cp);
    for (unsigned v = 0x80; v <= 0xFF; ++v) text += Octet(v) + (v % 3 == 0 ? "\x1F" : "x");
    text += T("<C3><E2 82><F0 9F 98>");
    for (int32_t flavour : {0, 2, 7, -1}) {
        const std::string out = In("U").Marc2MsoftAscii(text, flavour);
        for (size_t i = 0; i < out.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(out[i]);
            if (c < 0x80) continue;
            ASSERT_TRUE((c == 0xC2 || c == 0xC3) && i + 1 < out.size() &&
                        (static_cast<unsigned char>(out[i + 1]) & 0xC0) == 0x80)
                << "flavour " << flavour << " at " << i;
            ++i;
        }
    }
}

}  // namespace
