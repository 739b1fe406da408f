// The fixed-field blocks against golden strings written out by hand: a leader
// and an 008 text whose characters all differ, so that every label and every
// position shows.
#include "marc/text/fixed_field_block.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr int32_t kMnemonic = 0;
constexpr int32_t kLabelled = 1;
constexpr int32_t kAligned = 2;
const std::string kCrLf = "\r\n";
const std::string kPar = "\\par ";

// 40 characters, none of them in the leaders below.
const std::string k008 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ<=>@[]^_`~!#$%";

// An ordinary book record.
const std::string kBookLeader = "00714cam a2200205 a 4500";
const std::string kBook008 = "850101s1985    nyu           000 0 eng d";

std::string WithTypeAndLevel(std::string sLeader, char cType, char cLevel) {
    sLeader[6] = cType;
    sLeader[7] = cLevel;
    return sLeader;
}

TEST(FixedFieldBlock, BookRecordInTheThreeStyles) {
    struct Case {
        int32_t Style;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {kLabelled,
         "Rec stat: c Entered: 850101 Char: a\r\n"
         "Type: a ELvl:   Srce: d Audn:   Ctrl:   Lang: eng\r\n"
         "BLvl: m Form:   Conf: 0 Biog:   MRec:   Ctry: nyu\r\n"
         "Cont:      GPub:   LitF: 0 Indx: 0\r\n"
         "Desc: a Ills:      Fest: 0 DtSt: s Dates: 1985,    \r\n"},
        {kAligned,
         "Rec stat: c  Entered: 850101  Char:    a\r\n"
         "Type: a  ELvl:       Srce: d  Audn:    Ctrl:    Lang: eng\r\n"
         "BLvl: m  Form:       Conf: 0  Biog:    MRec:    Ctry: nyu\r\n"
         "         Cont:       GPub:    LitF: 0  Indx: 0\r\n"
         "Desc: a  Ills:       Fest: 0  DtSt: s  Dates: 1985,    \r\n"},
        {kMnemonic,
         "FMT B  RT a BL m STAT c E/LVL   DCF a CHAR a\r\n"
         "SRC d PLACE nyu LANG eng MOD   T/AUD   REPRO   D/CODE s DT/1 1985 DT/2     \r\n"
         "CONT      ILLUS      GOVT   BIOG   FEST 0 CONF 0 LITF 0 INDX 0\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedFieldBlock(c.Style, "B", kBookLeader, kBook008, kCrLf, false), c.Expected) << c.Style;
}

TEST(FixedFieldBlock, EveryBlockShowsEveryLabelAndPosition) {
    struct Case {
        std::vector<int32_t> Styles;  // the styles that give this very block
        std::string RecordFormat;
        std::string Leader;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {{1}, "A", "012345am6789&'()*+-.;hln", // authority
         "Rec stat: 5 Entered: ABCDEF Char: 7\r\n"
         "Type: a Upd status: ] Enc lvl: + Source: %\r\n"
         "Roman: H Ref status: @ Mod rec: $ Name use: O\r\n"
         "Govt agn: > Auth status: _ Subj: L Subj use: P\r\n"
         "Series: M Auth/ref: J Geo subd: G Ser use: Q\r\n"
         "Ser num: N Name: ^ Subdiv tp: R Rules: K\r\n"},
        {{1}, "B", "012345am6789&'()*+-.;hln", // books
         "Rec stat: 5 Entered: ABCDEF Char: 7\r\n"
         "Type: a ELvl: + Srce: % Audn: W Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m Form: X Conf: @ Biog: ` MRec: $ Ctry: PQR\r\n"
         "Cont: YZ<= GPub: > LitF: _ Indx: ]\r\n"
         "Desc: - Ills: STUV Fest: [ DtSt: G Dates: HIJK,LMNO\r\n"},
        {{1, 2}, "D", "012345am6789&'()*+-.;hln", // computer files
         "Rec stat: 5 Entered: ABCDEF\r\n"
         "Type: a ELvl: + Srce: % Audn:  W Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m File: < GPub: > MRec:  $ Ctry:  PQR\r\n"
         "Desc: - DtSt: G Dates: HIJK,LMNO\r\n"},
        {{1}, "F", "012345am6789&'()*+-.;hln", // visual materials
         "Rec stat: 5 Entered: ABCDEF\r\n"
         "Type: a ELvl: + Srce: % Audn:  W Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m Form: @ GPub: > Time: STU MRec: $ Ctry: PQR\r\n"
         "Desc: - TMat: _ Tech:  ` DtSt: G Dates: HIJK,LMNO\r\n"},
        {{0, 1, 2}, "H", "012345am6789&'()*+-.;hln", // holdings: no line end after the last line
         "FMT H RT a STAT 5 E/LVL + CHAR 7\r\n"
         "R/STAT G MTHD H DT/CAN IJKL G/RTN M S/RTN NOP CMPLT Q LEND U REPOL V LAN WXY\r\n"
         "SEP/COMP Z RPT/DT <=>@[]"},
        {{1}, "M", "012345am6789&'()*+-.;hln", // music
         "Rec stat: 5 Entered: ABCDEF\r\n"
         "Type: a ELvl: + Srce: % Audn:  W Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m Form: X Comp:  ST AccM: YZ<=>@ MRec: $ Ctry: PQR\r\n"
         "Desc: - FMus: U LTxt: [] DtSt: G Dates: HIJK,LMNO\r\n"},
        {{1}, "P", "012345am6789&'()*+-.;hln", // maps
         "Rec stat: 5 Entered: ABCDEF\r\n"
         "Type: a ELvl: + Srce: % Relf: STUV Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m Form: @ GPub: > SpFm:  _` MRec: $ Ctry: PQR\r\n"
         "CrTp: Z Indx: ] Proj: WX DtSt: G Dates: HIJK,LMNO\r\n"
         "Desc: -\r\n"},
        {{1}, "S", "012345am6789&'()*+-.;hln", // serials
         "Rec stat: 5 Entered: ABCDEF\r\n"
         "Type: a ELvl: + Srce: % GPub: > Ctrl: 6 Lang: ~!#\r\n"
         "BLvl: m Form: X Conf: @ Freq:  S MRec: $ Ctry: PQR\r\n"
         "S/L: ` Orig: W EntW: Y Regl: T ISSN: U Alph: _\r\n"
         "Desc: - SrTp: V Cont: Z<= DtSt: G Dates: HIJK,LMNO\r\n"},
        {{1, 2}, "U", "012345am6789&'()*+-.;hln", // mixed materials
         "FMT U  SRC % PLACE PQR LANG ~!# MOD $ REPRO X D/CODE G DT/1 HIJK DT/2 LMNO\r\n"},
        {{2}, "A", "012345am6789&'()*+-.;hln", // authority
         "Rec stat: 5  Entered: ABCDEF Char:      7\r\n"
         "Type:     a  Upd status:  ]  Enc lvl:   +  Source:   %\r\n"
         "Roman:    H  Ref status:  @  Mod rec:   $  Name use: O\r\n"
         "Govt agn: >  Auth status: _  Subj:      L  Subj use: P\r\n"
         "Series:   M  Auth/ref:    J  Geo subd:  G  Ser use:  Q\r\n"
         "Ser num:  N  Name:        ^  Subdiv tp: R  Rules:    K\r\n"},
        {{2}, "B", "012345am6789&'()*+-.;hln", // books
         "Rec stat: 5  Entered: ABCDEF  Char:    7\r\n"
         "Type: a  ELvl: +     Srce: %  Audn: W  Ctrl: 6  Lang: ~!#\r\n"
         "BLvl: m  Form: X     Conf: @  Biog: `  MRec: $  Ctry: PQR\r\n"
         "         Cont: YZ<=  GPub: >  LitF: _  Indx: ]\r\n"
         "Desc: -  Ills: STUV  Fest: [  DtSt: G  Dates: HIJK,LMNO\r\n"},
        {{2}, "F", "012345am6789&'()*+-.;hln", // visual materials
         "Rec stat: 5  Entered: ABCDEF  Char:    7\r\n"
         "Type: a  ELvl: +  Srce: %  Audn: W    Ctrl: 6  Lang: ~!#\r\n"
         "BLvl: m  Form: @  GPub: >  Time: STU  MRec: $  Ctry: PQR\r\n"
         "Desc: -  TMat: _  Tech: `  DtSt: G    Dates: HIJK,LMNO\r\n"},
        {{2}, "M", "012345am6789&'()*+-.;hln", // music
         "Rec stat: 5  Entered: ABCDEF  Char:    7\r\n"
         "Type: a  ELvl: +  Srce: %   Audn: W       Ctrl: 6  Lang: ~!#\r\n"
         "BLvl: m  Form: X  Comp: ST  AccM: YZ<=>@  MRec: $  Ctry: PQR\r\n"
         "         Part: V  TrAr: _\r\n"
         "Desc: -  FMus: U  LTxt: []  DtSt: G       Dates: HIJK,LMNO\r\n"},
        {{2}, "P", "012345am6789&'()*+-.;hln", // maps
         "Rec stat: 5  Entered: ABCDEF  Char:    7\r\n"
         "Type: a  ELvl: +  Srce: %   Relf: STUV  Ctrl: 6  Lang: ~!#\r\n"
         "BLvl: m  Form: @  GPub: >   SpFm: _`    MRec: $  Ctry: PQR\r\n"
         "CrTp: Z  Indx: ]  Proj: WX  DtSt: G     Dates: HIJK,LMNO\r\n"},
        {{2}, "S", "012345am6789&'()*+-.;hln", // serials: no ISSN item
         "Rec stat: 5  Entered: ABCDEF  Char:    7\r\n"
         "Type: a  ELvl: +  Srce: %    GPub: >  Ctrl: 6  Lang: ~!#\r\n"
         "BLvl: m  Form: X  Conf: @    Freq: S  MRec: $  Ctry: PQR\r\n"
         "S/L:  `  Orig: W  EntW: Y    Regl: T  Alph: _\r\n"
         "Desc: -  SrTp: V  Cont: Z<=  DtSt: G  Dates: HIJK,LMNO\r\n"},
        {{0}, "A", "012345zn6789&'()*+-.;hln", // authority
         "RT z STAT 5 E/LVL + CHAR 7 FMT A  LANG I SUBD R\r\n"
         "SRC % ROM H MOD $ UNIQUE ^ GOVT > S/SYS L D/I G NUM N S/TYP M\r\n"
         "NAME O SUBJ P SER Q KIND J H/ESTAB _ T/EVAL @ IP ] RULES K"},
        {{0}, "S", "012345as6789&'()*+-.;hln", // serial
         "FMT S  RT a BL s STAT 5 E/LVL + DCF - CHAR 7\r\n"
         "SRC % PLACE PQR LANG ~!# MOD $ OA _ REPRO X D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "CONT YZ<= S/T V FREQ S REG T MED W GOVT > ISDS U CONF @ SLE `\r\n"},
        {{0}, "B", "012345tx6789&'()*+-.;hln", // book
         "FMT B  RT t BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         "SRC % PLACE PQR LANG ~!# MOD $ T/AUD W REPRO X D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "CONT YZ<= ILLUS STUV GOVT > BIOG ` FEST [ CONF @ LITF _ INDX ]\r\n"},
        {{0}, "D", "012345mx6789&'()*+-.;hln", // computer file
         "FMT D  RT m BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         "SRC % PLACE PQR LANG ~!# MOD $ T/AUD W D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "DF/TYP < GOVT >"},
        {{0}, "F", "012345kx6789&'()*+-.;hln", // visual materials
         "FMT F  RT k BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         "SRC % PLACE PQR LANG ~!# MOD $ T/AUD W D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "T/MAT _ TECH ` GOVT > A/MAT XYZ<= R/TIME STU"},
        {{0}, "M", "012345jx6789&'()*+-.;hln", // music
         "FMT M  RT j BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         " SRC % PLACE PQR LANG ~!# MOD $ T/AUD W REPRO X D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "F/COMP ST SCORE U A/MAT YZ<=>@ L/TEXT []"},
        {{0}, "P", "012345fx6789&'()*+-.;hln", // map
         "FMT P  RT f BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         " SRC % PLACE PQR LANG ~!# MOD $ CM/TYP Z D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "BME WXY RELIEF STUV SP/FORM _` GOVT > INDX ]"},
        {{0}, "U", "012345px6789&'()*+-.;hln", // mixed materials
         "FMT U  RT p BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"
         " SRC % PLACE PQR LANG ~!# MOD $ REPRO X D/CODE G DT/1 HIJK DT/2 LMNO\r\n"},
        {{0}, "B", "012345zx6789&'()*+-.;hln", // no known type: the leader codes alone
         " RT z BL x STAT 5 E/LVL + DCF - CHAR 7\r\n"},
    };
    for (const auto& c : cases)
        for (const int32_t iStyle : c.Styles)
            EXPECT_EQ(FixedFieldBlock(iStyle, c.RecordFormat, c.Leader, k008, kCrLf, false), c.Expected)
                << "style " << iStyle << ", code " << c.RecordFormat << ", leader " << c.Leader;
}

TEST(FixedFieldBlock, ShortSourcesGiveWhatExistsBehindTheLabels) {
    struct Case {
        int32_t Style;
        std::string RecordFormat, Leader, Text008, Expected;
    };
    const std::vector<Case> cases = {
        {1, "B", "012345am6", "ABCDEFGHIJKLMNOPQRST",
         "Rec stat: 5 Entered: ABCDEF Char: \r\n"
         "Type: a ELvl:  Srce:  Audn:  Ctrl: 6 Lang: \r\n"
         "BLvl: m Form:  Conf:  Biog:  MRec:  Ctry: PQR\r\n"
         "Cont:  GPub:  LitF:  Indx: \r\n"
         "Desc:  Ills: ST Fest:  DtSt: G Dates: HIJK,LMNO\r\n"},
        {2, "M", "012345am6", "ABCDEFGHIJKLMNOPQRST",
         "Rec stat: 5  Entered: ABCDEF  Char:    \r\n"
         "Type: a  ELvl:   Srce:    Audn:        Ctrl: 6  Lang: \r\n"
         "BLvl: m  Form:   Comp: ST  AccM:   MRec:   Ctry: PQR\r\n"
         "         Part:   TrAr: \r\n"
         "Desc:   FMus:   LTxt:   DtSt: G       Dates: HIJK,LMNO\r\n"},
        {1, "H", "012345am6", "ABCDEFGHIJKLMNOPQRST",
         "FMT H RT a STAT 5 E/LVL  CHAR \r\n"
         "R/STAT G MTHD H DT/CAN IJKL G/RTN M S/RTN NOP CMPLT Q LEND  REPOL  LAN \r\n"
         "SEP/COMP  RPT/DT "},
        {0, "B", "012345am6", "ABCDEFGHIJKLMNOPQRST",
         "FMT B  RT a BL m STAT 5 E/LVL  DCF  CHAR \r\n"
         "SRC  PLACE PQR LANG  MOD  T/AUD  REPRO  D/CODE G DT/1 HIJK DT/2 LMNO\r\n"
         "CONT  ILLUS ST GOVT  BIOG  FEST  CONF  LITF  INDX \r\n"},
        {1, "S", "", "",
         "Rec stat:  Entered: \r\n"
         "Type:  ELvl:  Srce:  GPub:  Ctrl:  Lang: \r\n"
         "BLvl:  Form:  Conf:  Freq:   MRec:  Ctry: \r\n"
         "S/L:  Orig:  EntW:  Regl:  ISSN:  Alph: \r\n"
         "Desc:  SrTp:  Cont:  DtSt:  Dates: ,\r\n"},
        {0, "A", "", "",
         "RT  STAT  E/LVL  CHAR  FMT A  LANG  SUBD \r\n"
         "SRC  ROM  MOD  UNIQUE  GOVT  S/SYS  D/I  NUM  S/TYP \r\n"
         "NAME  SUBJ  SER  KIND  H/ESTAB  T/EVAL  IP  RULES "},
        {0, "U", "", "",
         " RT  BL  STAT  E/LVL  DCF  CHAR \r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedFieldBlock(c.Style, c.RecordFormat, c.Leader, c.Text008, kCrLf, false), c.Expected)
            << "style " << c.Style << ", code " << c.RecordFormat << ", leader " << c.Leader;
}

TEST(FixedFieldBlock, MnemonicBibliographicBlockFollowsLeaderType) {
    // The format code only says that the record is bibliographic; leader/06
    // (and leader/07 for a serial) picks the block.
    struct Case {
        std::string RecordFormat;
        char Type, Level;
        std::string FirstLine;
    };
    const std::vector<Case> cases = {
        {"B", 'a', 's', "FMT S  RT a BL s STAT c E/LVL   DCF a CHAR a\r\n"},
        {"D", 'a', 'b', "FMT S  RT a BL b "},
        {"U", 'a', 'i', "FMT S  RT a BL i "},
        {"S", 'a', 'm', "FMT B  RT a BL m "},
        {"S", 'a', 'c', "FMT B  RT a BL c "},
        {"S", 't', 's', "FMT B  RT t BL s "},
        {"B", 'm', 'm', "FMT D  RT m "},
        {"M", 'g', 'm', "FMT F  RT g "},
        {"B", 'k', 'm', "FMT F  RT k "},
        {"P", 'o', 'm', "FMT F  RT o "},
        {"B", 'r', 'm', "FMT F  RT r "},
        {"B", 'c', 'm', "FMT M  RT c "},
        {"F", 'd', 'm', "FMT M  RT d "},
        {"B", 'i', 'm', "FMT M  RT i "},
        {"B", 'j', 'm', "FMT M  RT j "},
        {"B", 'e', 'm', "FMT P  RT e "},
        {"S", 'f', 'm', "FMT P  RT f "},
        {"B", 'b', 'm', "FMT U  RT b "},
        {"M", 'p', 'm', "FMT U  RT p "},
        {"B", 'z', 'm', " RT z BL m STAT c E/LVL   DCF a CHAR a\r\n"},
        {"P", 'A', 'm', " RT A BL m STAT c E/LVL   DCF a CHAR a\r\n"},
        {"U", 'u', 'm', " RT u BL m STAT c E/LVL   DCF a CHAR a\r\n"},
    };
    for (const auto& c : cases) {
        const std::string sBlock = FixedFieldBlock(kMnemonic, c.RecordFormat, WithTypeAndLevel(kBookLeader, c.Type, c.Level),
                                                   kBook008, kCrLf, false);
        EXPECT_EQ(sBlock.substr(0, c.FirstLine.size()), c.FirstLine)
            << "code " << c.RecordFormat << ", leader/06-07 " << c.Type << c.Level;
    }
    // With no type known the leader codes are the whole block.
    EXPECT_EQ(FixedFieldBlock(kMnemonic, "B", WithTypeAndLevel(kBookLeader, 'z', 'm'), kBook008, kCrLf, false),
              " RT z BL m STAT c E/LVL   DCF a CHAR a\r\n");
}

TEST(FixedFieldBlock, CodesWithoutABlockGiveThe008TextAlone) {
    const std::string sLabelled = kCrLf + kCrLf + k008 + kCrLf;
    const std::string sMnemonic = kCrLf + "\n" + k008;
    for (const std::string sCode : {"Q", "W", "?", "b", "a", "h", "", "BB", " B"}) {
        const std::string sLeader = "012345am6789&'()*+-.;hln";
        EXPECT_EQ(FixedFieldBlock(kLabelled, sCode, sLeader, k008, kCrLf, false), sLabelled) << sCode;
        EXPECT_EQ(FixedFieldBlock(kAligned, sCode, sLeader, k008, kCrLf, false), sLabelled) << sCode;
        EXPECT_EQ(FixedFieldBlock(kMnemonic, sCode, sLeader, k008, kCrLf, false), sMnemonic) << sCode;
    }
}

TEST(FixedFieldBlock, OtherStylesGiveNoBlock) {
    for (const int32_t iStyle : {3, -1, 100, INT32_MIN, INT32_MAX})
        for (const std::string sCode : {"A", "B", "H", "Q"})
            EXPECT_EQ(FixedFieldBlock(iStyle, sCode, kBookLeader, kBook008, kCrLf, true), "") << iStyle << sCode;
}

TEST(FixedFieldBlock, RtfLineEndsEscapeValuesButNotLabels) {
    // Leader/05, /09 and /17 and 008/00, /06 and /39 hold the three
    // characters that RTF reserves.
    const std::string sLeader = "01234\\am6{89&'()*}-.;hln";
    const std::string s008 = "{BCDEF}HIJKLMNOPQRSTUVWXYZ<=>@[]^_`~!#$\\";
    const std::string sEscaped008 = "\\u123?BCDEF\\u125?HIJKLMNOPQRSTUVWXYZ<=>@[]^_`~!#$\\u92?";
    const std::string sAuthorityLeader = "01234\\zm6{89&'()*}-.;hln";
    struct Case {
        int32_t Style;
        std::string RecordFormat, Leader, LineEnd;
        bool RtfFlag;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {kLabelled, "A", sLeader, kPar, true,
         "Rec stat: \\u92? Entered: \\u123?BCDEF Char: \\u123?\\par "
         "Type: a Upd status: ] Enc lvl: \\u125? Source: \\u92?\\par "
         "Roman: H Ref status: @ Mod rec: $ Name use: O\\par "
         "Govt agn: > Auth status: _ Subj: L Subj use: P\\par "
         "Series: M Auth/ref: J Geo subd: \\u125? Ser use: Q\\par "
         "Ser num: N Name: ^ Subdiv tp: R Rules: K\\par "},
        // With CR LF the values stay as they are.
        {kLabelled, "A", sLeader, kCrLf, false,
         "Rec stat: \\ Entered: {BCDEF Char: {\r\n"
         "Type: a Upd status: ] Enc lvl: } Source: \\\r\n"
         "Roman: H Ref status: @ Mod rec: $ Name use: O\r\n"
         "Govt agn: > Auth status: _ Subj: L Subj use: P\r\n"
         "Series: M Auth/ref: J Geo subd: } Ser use: Q\r\n"
         "Ser num: N Name: ^ Subdiv tp: R Rules: K\r\n"},
        // The whole document around the block: the authority block starts in font 1.
        {kMnemonic, "A", sAuthorityLeader, kPar, true,
         "\\f1RT z STAT \\u92? E/LVL \\u125? CHAR \\u123? FMT A  LANG I SUBD R\\par "
         "SRC \\u92? ROM H MOD $ UNIQUE ^ GOVT > S/SYS L D/I \\u125? NUM N S/TYP M\\par "
         "NAME O SUBJ P SER Q KIND J H/ESTAB _ T/EVAL @ IP ] RULES K"},
        {kMnemonic, "A", sAuthorityLeader, kPar, false,
         "RT z STAT \\u92? E/LVL \\u125? CHAR \\u123? FMT A  LANG I SUBD R\\par "
         "SRC \\u92? ROM H MOD $ UNIQUE ^ GOVT > S/SYS L D/I \\u125? NUM N S/TYP M\\par "
         "NAME O SUBJ P SER Q KIND J H/ESTAB _ T/EVAL @ IP ] RULES K"},
        {kAligned, "Q", sLeader, kPar, true, "\\par \\par " + sEscaped008 + "\\par "},
        {kMnemonic, "W", sLeader, kPar, true, "\\par \n" + sEscaped008},
        {kMnemonic, "W", sLeader, kCrLf, false, "\r\n\n" + s008},
        {kMnemonic, "B", WithTypeAndLevel(sLeader, 'q', '}'), kPar, true,
         " RT q BL \\u125? STAT \\u92? E/LVL \\u125? DCF - CHAR \\u123?\\par "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedFieldBlock(c.Style, c.RecordFormat, c.Leader, s008, c.LineEnd, c.RtfFlag), c.Expected)
            << "style " << c.Style << ", code " << c.RecordFormat << ", rtf " << c.RtfFlag;
}

TEST(FixedFieldBlock, EscapeRtfReserved) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"plain text 0123", "plain text 0123"},
        {"C:\\{x}", "C:\\u92?\\u123?x\\u125?"},
        {"}}{{\\\\", "\\u125?\\u125?\\u123?\\u123?\\u92?\\u92?"},
        {"\\par \xC3\xA9\x1F", "\\u92?par \xC3\xA9\x1F"},
    };
    for (const auto& [sIn, sOut] : cases) EXPECT_EQ(EscapeRtfReserved(sIn), sOut) << sIn;
}

}  // namespace
