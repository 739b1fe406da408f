// The fixed-field blocks of the three styles as constant tables, the choice of
// a block for a record, and the writing of a block.
#include "marc/text/fixed_field_block.h"

#include <initializer_list>
#include <span>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/leader_rules.h"

namespace {

enum class Source : uint8_t { Leader, Fixed008 };
constexpr Source kLeader = Source::Leader;
constexpr Source k008 = Source::Fixed008;

// One item of a block: its label, then the value cut from the leader or the
// 008 text at a 0-based position. Items are listed in output order; a change
// of line number starts a new line.
struct Item {
    uint8_t Line;
    std::string_view Label;
    Source From;
    uint8_t Position;
    uint8_t Length;
};

// ---- labelled style ----

// Authority
constexpr Item kLabelledA[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {1, " Char: ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, " Upd status: ", k008, 31, 1},
    {2, " Enc lvl: ", kLeader, 17, 1},
    {2, " Source: ", k008, 39, 1},
    {3, "Roman: ", k008, 7, 1},
    {3, " Ref status: ", k008, 29, 1},
    {3, " Mod rec: ", k008, 38, 1},
    {3, " Name use: ", k008, 14, 1},
    {4, "Govt agn: ", k008, 28, 1},
    {4, " Auth status: ", k008, 33, 1},
    {4, " Subj: ", k008, 11, 1},
    {4, " Subj use: ", k008, 15, 1},
    {5, "Series: ", k008, 12, 1},
    {5, " Auth/ref: ", k008, 9, 1},
    {5, " Geo subd: ", k008, 6, 1},
    {5, " Ser use: ", k008, 16, 1},
    {6, "Ser num: ", k008, 13, 1},
    {6, " Name: ", k008, 32, 1},
    {6, " Subdiv tp: ", k008, 17, 1},
    {6, " Rules: ", k008, 10, 1},
};

// Books
constexpr Item kLabelledB[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {1, " Char: ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " Audn: ", k008, 22, 1},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " Form: ", k008, 23, 1},
    {3, " Conf: ", k008, 29, 1},
    {3, " Biog: ", k008, 34, 1},
    {3, " MRec: ", k008, 38, 1},
    {3, " Ctry: ", k008, 15, 3},
    {4, "Cont: ", k008, 24, 4},
    {4, " GPub: ", k008, 28, 1},
    {4, " LitF: ", k008, 33, 1},
    {4, " Indx: ", k008, 31, 1},
    {5, "Desc: ", kLeader, 18, 1},
    {5, " Ills: ", k008, 18, 4},
    {5, " Fest: ", k008, 30, 1},
    {5, " DtSt: ", k008, 6, 1},
    {5, " Dates: ", k008, 7, 4},
    {5, ",", k008, 11, 4},
};

// Computer files
constexpr Item kLabelledD[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " Audn:  ", k008, 22, 1},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " File: ", k008, 26, 1},
    {3, " GPub: ", k008, 28, 1},
    {3, " MRec:  ", k008, 38, 1},
    {3, " Ctry:  ", k008, 15, 3},
    {4, "Desc: ", kLeader, 18, 1},
    {4, " DtSt: ", k008, 6, 1},
    {4, " Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
};

// Visual materials
constexpr Item kLabelledF[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " Audn:  ", k008, 22, 1},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " Form: ", k008, 29, 1},
    {3, " GPub: ", k008, 28, 1},
    {3, " Time: ", k008, 18, 3},
    {3, " MRec: ", k008, 38, 1},
    {3, " Ctry: ", k008, 15, 3},
    {4, "Desc: ", kLeader, 18, 1},
    {4, " TMat: ", k008, 33, 1},
    {4, " Tech:  ", k008, 34, 1},
    {4, " DtSt: ", k008, 6, 1},
    {4, " Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
};

// Holdings, in upper-case mnemonics; no line end after the last line (the mnemonic style uses it too)
constexpr Item kLabelledH[] = {
    {1, "FMT H RT ", kLeader, 6, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, "R/STAT ", k008, 6, 1},
    {2, " MTHD ", k008, 7, 1},
    {2, " DT/CAN ", k008, 8, 4},
    {2, " G/RTN ", k008, 12, 1},
    {2, " S/RTN ", k008, 13, 3},
    {2, " CMPLT ", k008, 16, 1},
    {2, " LEND ", k008, 20, 1},
    {2, " REPOL ", k008, 21, 1},
    {2, " LAN ", k008, 22, 3},
    {3, "SEP/COMP ", k008, 25, 1},
    {3, " RPT/DT ", k008, 26, 6},
};

// Music
constexpr Item kLabelledM[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " Audn:  ", k008, 22, 1},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " Form: ", k008, 23, 1},
    {3, " Comp:  ", k008, 18, 2},
    {3, " AccM: ", k008, 24, 6},
    {3, " MRec: ", k008, 38, 1},
    {3, " Ctry: ", k008, 15, 3},
    {4, "Desc: ", kLeader, 18, 1},
    {4, " FMus: ", k008, 20, 1},
    {4, " LTxt: ", k008, 30, 2},
    {4, " DtSt: ", k008, 6, 1},
    {4, " Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
};

// Maps
constexpr Item kLabelledP[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " Relf: ", k008, 18, 4},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " Form: ", k008, 29, 1},
    {3, " GPub: ", k008, 28, 1},
    {3, " SpFm:  ", k008, 33, 2},
    {3, " MRec: ", k008, 38, 1},
    {3, " Ctry: ", k008, 15, 3},
    {4, "CrTp: ", k008, 25, 1},
    {4, " Indx: ", k008, 31, 1},
    {4, " Proj: ", k008, 22, 2},
    {4, " DtSt: ", k008, 6, 1},
    {4, " Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
    {5, "Desc: ", kLeader, 18, 1},
};

// Serials
constexpr Item kLabelledS[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, " Entered: ", k008, 0, 6},
    {2, "Type: ", kLeader, 6, 1},
    {2, " ELvl: ", kLeader, 17, 1},
    {2, " Srce: ", k008, 39, 1},
    {2, " GPub: ", k008, 28, 1},
    {2, " Ctrl: ", kLeader, 8, 1},
    {2, " Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, " Form: ", k008, 23, 1},
    {3, " Conf: ", k008, 29, 1},
    {3, " Freq:  ", k008, 18, 1},
    {3, " MRec: ", k008, 38, 1},
    {3, " Ctry: ", k008, 15, 3},
    {4, "S/L: ", k008, 34, 1},
    {4, " Orig: ", k008, 22, 1},
    {4, " EntW: ", k008, 24, 1},
    {4, " Regl: ", k008, 19, 1},
    {4, " ISSN: ", k008, 20, 1},
    {4, " Alph: ", k008, 33, 1},
    {5, "Desc: ", kLeader, 18, 1},
    {5, " SrTp: ", k008, 21, 1},
    {5, " Cont: ", k008, 25, 3},
    {5, " DtSt: ", k008, 6, 1},
    {5, " Dates: ", k008, 7, 4},
    {5, ",", k008, 11, 4},
};

// Mixed materials, in upper-case mnemonics
constexpr Item kLabelledU[] = {
    {1, "FMT U  SRC ", k008, 39, 1},
    {1, " PLACE ", k008, 15, 3},
    {1, " LANG ", k008, 35, 3},
    {1, " MOD ", k008, 38, 1},
    {1, " REPRO ", k008, 23, 1},
    {1, " D/CODE ", k008, 6, 1},
    {1, " DT/1 ", k008, 7, 4},
    {1, " DT/2 ", k008, 11, 4},
};

// ---- aligned style: own blocks for "A", "B", "F", "M", "P", "S" ----

// Authority
constexpr Item kAlignedA[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, " Char:      ", kLeader, 9, 1},
    {2, "Type:     ", kLeader, 6, 1},
    {2, "  Upd status:  ", k008, 31, 1},
    {2, "  Enc lvl:   ", kLeader, 17, 1},
    {2, "  Source:   ", k008, 39, 1},
    {3, "Roman:    ", k008, 7, 1},
    {3, "  Ref status:  ", k008, 29, 1},
    {3, "  Mod rec:   ", k008, 38, 1},
    {3, "  Name use: ", k008, 14, 1},
    {4, "Govt agn: ", k008, 28, 1},
    {4, "  Auth status: ", k008, 33, 1},
    {4, "  Subj:      ", k008, 11, 1},
    {4, "  Subj use: ", k008, 15, 1},
    {5, "Series:   ", k008, 12, 1},
    {5, "  Auth/ref:    ", k008, 9, 1},
    {5, "  Geo subd:  ", k008, 6, 1},
    {5, "  Ser use:  ", k008, 16, 1},
    {6, "Ser num:  ", k008, 13, 1},
    {6, "  Name:        ", k008, 32, 1},
    {6, "  Subdiv tp: ", k008, 17, 1},
    {6, "  Rules:    ", k008, 10, 1},
};

// Books
constexpr Item kAlignedB[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, "  Char:    ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, "  ELvl: ", kLeader, 17, 1},
    {2, "     Srce: ", k008, 39, 1},
    {2, "  Audn: ", k008, 22, 1},
    {2, "  Ctrl: ", kLeader, 8, 1},
    {2, "  Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, "  Form: ", k008, 23, 1},
    {3, "     Conf: ", k008, 29, 1},
    {3, "  Biog: ", k008, 34, 1},
    {3, "  MRec: ", k008, 38, 1},
    {3, "  Ctry: ", k008, 15, 3},
    {4, "         Cont: ", k008, 24, 4},
    {4, "  GPub: ", k008, 28, 1},
    {4, "  LitF: ", k008, 33, 1},
    {4, "  Indx: ", k008, 31, 1},
    {5, "Desc: ", kLeader, 18, 1},
    {5, "  Ills: ", k008, 18, 4},
    {5, "  Fest: ", k008, 30, 1},
    {5, "  DtSt: ", k008, 6, 1},
    {5, "  Dates: ", k008, 7, 4},
    {5, ",", k008, 11, 4},
};

// Visual materials
constexpr Item kAlignedF[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, "  Char:    ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, "  ELvl: ", kLeader, 17, 1},
    {2, "  Srce: ", k008, 39, 1},
    {2, "  Audn: ", k008, 22, 1},
    {2, "    Ctrl: ", kLeader, 8, 1},
    {2, "  Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, "  Form: ", k008, 29, 1},
    {3, "  GPub: ", k008, 28, 1},
    {3, "  Time: ", k008, 18, 3},
    {3, "  MRec: ", k008, 38, 1},
    {3, "  Ctry: ", k008, 15, 3},
    {4, "Desc: ", kLeader, 18, 1},
    {4, "  TMat: ", k008, 33, 1},
    {4, "  Tech: ", k008, 34, 1},
    {4, "  DtSt: ", k008, 6, 1},
    {4, "    Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
};

// Music; the fourth line holds parts and transposition
constexpr Item kAlignedM[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, "  Char:    ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, "  ELvl: ", kLeader, 17, 1},
    {2, "  Srce: ", k008, 39, 1},
    {2, "   Audn: ", k008, 22, 1},
    {2, "       Ctrl: ", kLeader, 8, 1},
    {2, "  Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, "  Form: ", k008, 23, 1},
    {3, "  Comp: ", k008, 18, 2},
    {3, "  AccM: ", k008, 24, 6},
    {3, "  MRec: ", k008, 38, 1},
    {3, "  Ctry: ", k008, 15, 3},
    {4, "         Part: ", k008, 21, 1},
    {4, "  TrAr: ", k008, 33, 1},
    {5, "Desc: ", kLeader, 18, 1},
    {5, "  FMus: ", k008, 20, 1},
    {5, "  LTxt: ", k008, 30, 2},
    {5, "  DtSt: ", k008, 6, 1},
    {5, "       Dates: ", k008, 7, 4},
    {5, ",", k008, 11, 4},
};

// Maps
constexpr Item kAlignedP[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, "  Char:    ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, "  ELvl: ", kLeader, 17, 1},
    {2, "  Srce: ", k008, 39, 1},
    {2, "   Relf: ", k008, 18, 4},
    {2, "  Ctrl: ", kLeader, 8, 1},
    {2, "  Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, "  Form: ", k008, 29, 1},
    {3, "  GPub: ", k008, 28, 1},
    {3, "   SpFm: ", k008, 33, 2},
    {3, "    MRec: ", k008, 38, 1},
    {3, "  Ctry: ", k008, 15, 3},
    {4, "CrTp: ", k008, 25, 1},
    {4, "  Indx: ", k008, 31, 1},
    {4, "  Proj: ", k008, 22, 2},
    {4, "  DtSt: ", k008, 6, 1},
    {4, "     Dates: ", k008, 7, 4},
    {4, ",", k008, 11, 4},
};

// Serials (no ISSN item)
constexpr Item kAlignedS[] = {
    {1, "Rec stat: ", kLeader, 5, 1},
    {1, "  Entered: ", k008, 0, 6},
    {1, "  Char:    ", kLeader, 9, 1},
    {2, "Type: ", kLeader, 6, 1},
    {2, "  ELvl: ", kLeader, 17, 1},
    {2, "  Srce: ", k008, 39, 1},
    {2, "    GPub: ", k008, 28, 1},
    {2, "  Ctrl: ", kLeader, 8, 1},
    {2, "  Lang: ", k008, 35, 3},
    {3, "BLvl: ", kLeader, 7, 1},
    {3, "  Form: ", k008, 23, 1},
    {3, "  Conf: ", k008, 29, 1},
    {3, "    Freq: ", k008, 18, 1},
    {3, "  MRec: ", k008, 38, 1},
    {3, "  Ctry: ", k008, 15, 3},
    {4, "S/L:  ", k008, 34, 1},
    {4, "  Orig: ", k008, 22, 1},
    {4, "  EntW: ", k008, 24, 1},
    {4, "    Regl: ", k008, 19, 1},
    {4, "  Alph: ", k008, 33, 1},
    {5, "Desc: ", kLeader, 18, 1},
    {5, "  SrTp: ", k008, 21, 1},
    {5, "  Cont: ", k008, 25, 3},
    {5, "  DtSt: ", k008, 6, 1},
    {5, "  Dates: ", k008, 7, 4},
    {5, ",", k008, 11, 4},
};

// ---- mnemonic style ----

// The leader codes alone: the first line of every bibliographic block after its
// format tag, and the whole block when leader/06 names no known type.
constexpr Item kMnemonicLeaderCodes[] = {
    {1, " RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
};

// Authority; no line end after the last line
constexpr Item kMnemonicA[] = {
    {1, "RT ", kLeader, 6, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {1, " FMT A  LANG ", k008, 8, 1},
    {1, " SUBD ", k008, 17, 1},
    {2, "SRC ", k008, 39, 1},
    {2, " ROM ", k008, 7, 1},
    {2, " MOD ", k008, 38, 1},
    {2, " UNIQUE ", k008, 32, 1},
    {2, " GOVT ", k008, 28, 1},
    {2, " S/SYS ", k008, 11, 1},
    {2, " D/I ", k008, 6, 1},
    {2, " NUM ", k008, 13, 1},
    {2, " S/TYP ", k008, 12, 1},
    {3, "NAME ", k008, 14, 1},
    {3, " SUBJ ", k008, 15, 1},
    {3, " SER ", k008, 16, 1},
    {3, " KIND ", k008, 9, 1},
    {3, " H/ESTAB ", k008, 33, 1},
    {3, " T/EVAL ", k008, 29, 1},
    {3, " IP ", k008, 31, 1},
    {3, " RULES ", k008, 10, 1},
};

// Serials (leader/06 "a" or "t", serial)
constexpr Item kMnemonicSerial[] = {
    {1, "FMT S  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, "SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " OA ", k008, 33, 1},
    {2, " REPRO ", k008, 23, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "CONT ", k008, 24, 4},
    {3, " S/T ", k008, 21, 1},
    {3, " FREQ ", k008, 18, 1},
    {3, " REG ", k008, 19, 1},
    {3, " MED ", k008, 22, 1},
    {3, " GOVT ", k008, 28, 1},
    {3, " ISDS ", k008, 20, 1},
    {3, " CONF ", k008, 29, 1},
    {3, " SLE ", k008, 34, 1},
};

// Books (leader/06 "a" or "t", not serial)
constexpr Item kMnemonicBook[] = {
    {1, "FMT B  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, "SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " T/AUD ", k008, 22, 1},
    {2, " REPRO ", k008, 23, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "CONT ", k008, 24, 4},
    {3, " ILLUS ", k008, 18, 4},
    {3, " GOVT ", k008, 28, 1},
    {3, " BIOG ", k008, 34, 1},
    {3, " FEST ", k008, 30, 1},
    {3, " CONF ", k008, 29, 1},
    {3, " LITF ", k008, 33, 1},
    {3, " INDX ", k008, 31, 1},
};

// Computer files (leader/06 "m"); no line end after the last line
constexpr Item kMnemonicComputerFile[] = {
    {1, "FMT D  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, "SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " T/AUD ", k008, 22, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "DF/TYP ", k008, 26, 1},
    {3, " GOVT ", k008, 28, 1},
};

// Visual materials (leader/06 "g", "k", "o", "r"); no line end after the last line
constexpr Item kMnemonicVisual[] = {
    {1, "FMT F  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, "SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " T/AUD ", k008, 22, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "T/MAT ", k008, 33, 1},
    {3, " TECH ", k008, 34, 1},
    {3, " GOVT ", k008, 28, 1},
    // The five accompanying-matter codes of visual materials; 008/22, the
    // target audience, stands already behind T/AUD.
    {3, " A/MAT ", k008, 23, 5},
    {3, " R/TIME ", k008, 18, 3},
};

// Music (leader/06 "c", "d", "i", "j"); no line end after the last line
constexpr Item kMnemonicMusic[] = {
    {1, "FMT M  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, " SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " T/AUD ", k008, 22, 1},
    {2, " REPRO ", k008, 23, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "F/COMP ", k008, 18, 2},
    {3, " SCORE ", k008, 20, 1},
    {3, " A/MAT ", k008, 24, 6},
    {3, " L/TEXT ", k008, 30, 2},
};

// Maps (leader/06 "e", "f"); no line end after the last line
constexpr Item kMnemonicMap[] = {
    {1, "FMT P  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, " SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " CM/TYP ", k008, 25, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
    {3, "BME ", k008, 22, 3},
    {3, " RELIEF ", k008, 18, 4},
    {3, " SP/FORM ", k008, 33, 2},
    {3, " GOVT ", k008, 28, 1},
    {3, " INDX ", k008, 31, 1},
};

// Mixed materials (leader/06 "b", "p")
constexpr Item kMnemonicMixed[] = {
    {1, "FMT U  RT ", kLeader, 6, 1},
    {1, " BL ", kLeader, 7, 1},
    {1, " STAT ", kLeader, 5, 1},
    {1, " E/LVL ", kLeader, 17, 1},
    {1, " DCF ", kLeader, 18, 1},
    {1, " CHAR ", kLeader, 9, 1},
    {2, " SRC ", k008, 39, 1},
    {2, " PLACE ", k008, 15, 3},
    {2, " LANG ", k008, 35, 3},
    {2, " MOD ", k008, 38, 1},
    {2, " REPRO ", k008, 23, 1},
    {2, " D/CODE ", k008, 6, 1},
    {2, " DT/1 ", k008, 7, 4},
    {2, " DT/2 ", k008, 11, 4},
};

// ---- the blocks ----

struct Block {
    std::span<const Item> Items;
    bool LastLineHasLineEnd = true;
};

constexpr bool LinesInOrder(std::span<const Item> items) {
    if (items.empty() || items.front().Line != 1) return false;
    for (size_t i = 1; i < items.size(); ++i) {
        const int step = items[i].Line - items[i - 1].Line;
        if (step != 0 && step != 1) return false;
    }
    return true;
}

constexpr size_t CountItems(std::initializer_list<std::span<const Item>> blocks) {
    size_t n = 0;
    for (const auto& items : blocks) n += items.size();
    return n;
}

// Every table starts on line 1 and moves on one line at a time.
static_assert(LinesInOrder(kLabelledA) && LinesInOrder(kLabelledB) && LinesInOrder(kLabelledD) &&
              LinesInOrder(kLabelledF) && LinesInOrder(kLabelledH) && LinesInOrder(kLabelledM) &&
              LinesInOrder(kLabelledP) && LinesInOrder(kLabelledS) && LinesInOrder(kLabelledU));
static_assert(LinesInOrder(kAlignedA) && LinesInOrder(kAlignedB) && LinesInOrder(kAlignedF) &&
              LinesInOrder(kAlignedM) && LinesInOrder(kAlignedP) && LinesInOrder(kAlignedS));
static_assert(LinesInOrder(kMnemonicLeaderCodes) && LinesInOrder(kMnemonicA) && LinesInOrder(kMnemonicSerial) &&
              LinesInOrder(kMnemonicBook) && LinesInOrder(kMnemonicComputerFile) && LinesInOrder(kMnemonicVisual) &&
              LinesInOrder(kMnemonicMusic) && LinesInOrder(kMnemonicMap) && LinesInOrder(kMnemonicMixed));
static_assert(CountItems({kLabelledA, kLabelledB, kLabelledD, kLabelledF, kLabelledH, kLabelledM, kLabelledP,
                          kLabelledS, kLabelledU}) == 175);
static_assert(CountItems({kAlignedA, kAlignedB, kAlignedF, kAlignedM, kAlignedP, kAlignedS}) == 139);
static_assert(CountItems({kMnemonicA, kMnemonicSerial, kMnemonicBook, kMnemonicComputerFile, kMnemonicVisual,
                          kMnemonicMusic, kMnemonicMap, kMnemonicMixed}) == 157);

struct CodedBlock {
    std::string_view Code;
    Block Shape;
};

constexpr CodedBlock kLabelledBlocks[] = {
    {"A", {kLabelledA}}, {"B", {kLabelledB}}, {"D", {kLabelledD}},
    {"F", {kLabelledF}}, {"H", {kLabelledH, false}}, {"M", {kLabelledM}},
    {"P", {kLabelledP}}, {"S", {kLabelledS}}, {"U", {kLabelledU}},
};

// The aligned style has no blocks of its own for "D", "H" and "U": those take
// the labelled style's.
constexpr CodedBlock kAlignedBlocks[] = {
    {"A", {kAlignedA}}, {"B", {kAlignedB}}, {"F", {kAlignedF}},
    {"M", {kAlignedM}}, {"P", {kAlignedP}}, {"S", {kAlignedS}},
};

constexpr Block kMnemonicAuthority{kMnemonicA, false};
constexpr Block kMnemonicHoldings{kLabelledH, false};
constexpr Block kMnemonicLeaderCodeLine{kMnemonicLeaderCodes};

// The mnemonic bibliographic blocks, by the type of record in leader/06.
struct TypedBlock {
    std::string_view Types;
    Block Shape;
};

constexpr TypedBlock kMnemonicBibliographic[] = {
    {"m", {kMnemonicComputerFile, false}},
    {"gkor", {kMnemonicVisual, false}},
    {"cdij", {kMnemonicMusic, false}},
    {"ef", {kMnemonicMap, false}},
    {"bp", {kMnemonicMixed}},
};

constexpr std::string_view kBibliographicCodes[] = {"B", "D", "F", "M", "P", "S", "U"};

const Block* FindBlock(std::span<const CodedBlock> blocks, const std::string& sRecordFormat) {
    for (const auto& entry : blocks)
        if (entry.Code == sRecordFormat) return &entry.Shape;
    return nullptr;
}

// ---- writing ----

class BlockWriter {
public:
    BlockWriter(const std::string& sLeader, const std::string& s008Text, const std::string& sLineEnd)
        : sLeader_(sLeader), s008Text_(s008Text), sLineEnd_(sLineEnd), bEscape_(sLineEnd == "\\par ") {}

    // A value of the leader or the 008 text as the block writes it.
    std::string Value(const std::string& sValue) const { return bEscape_ ? EscapeRtfReserved(sValue) : sValue; }

    std::string Write(const Block& block) const {
        std::string sOut;
        uint8_t iLine = block.Items.front().Line;
        for (const Item& item : block.Items) {
            if (item.Line != iLine) {
                sOut += sLineEnd_;
                iLine = item.Line;
            }
            sOut += item.Label;
            const std::string& sSource = item.From == Source::Leader ? sLeader_ : s008Text_;
            sOut += Value(rt::Mid(sSource, item.Position + 1, item.Length));
        }
        if (block.LastLineHasLineEnd) sOut += sLineEnd_;
        return sOut;
    }

    const std::string& LineEnd() const { return sLineEnd_; }
    const std::string& Text008() const { return s008Text_; }

private:
    const std::string& sLeader_;
    const std::string& s008Text_;
    const std::string& sLineEnd_;
    bool bEscape_;
};

std::string LabelledBlock(const BlockWriter& writer, const std::string& sRecordFormat) {
    if (const Block* block = FindBlock(kLabelledBlocks, sRecordFormat)) return writer.Write(*block);
    // No block for this kind of record: the 008 text alone, after an empty line.
    return writer.LineEnd() + writer.LineEnd() + writer.Value(writer.Text008()) + writer.LineEnd();
}

std::string AlignedBlock(const BlockWriter& writer, const std::string& sRecordFormat) {
    if (const Block* block = FindBlock(kAlignedBlocks, sRecordFormat)) return writer.Write(*block);
    return LabelledBlock(writer, sRecordFormat);
}

std::string MnemonicBlock(const BlockWriter& writer, const std::string& sRecordFormat, const std::string& sLeader,
                          bool bRtfFlag) {
    if (sRecordFormat == "A") return (bRtfFlag ? "\\f1" : "") + writer.Write(kMnemonicAuthority);
    if (sRecordFormat == "H") return writer.Write(kMnemonicHoldings);

    bool bBibliographic = false;
    for (const auto code : kBibliographicCodes) bBibliographic = bBibliographic || code == sRecordFormat;
    if (!bBibliographic) return writer.LineEnd() + "\n" + writer.Value(writer.Text008());

    if (sLeader.size() < 7) return writer.Write(kMnemonicLeaderCodeLine);
    const char cType = sLeader[6];
    if (cType == 'a' || cType == 't')
        return writer.Write(SerialBibliographicLeader(sLeader) ? Block{kMnemonicSerial} : Block{kMnemonicBook});
    for (const auto& entry : kMnemonicBibliographic)
        if (entry.Types.find(cType) != std::string_view::npos) return writer.Write(entry.Shape);
    return writer.Write(kMnemonicLeaderCodeLine);
}

}  // namespace

std::string FixedFieldBlock(int32_t iFixedFieldFormat, const std::string& sRecordFormat, const std::string& sLeader,
                            const std::string& s008Text, const std::string& sLineEnd, bool bRtfFlag) {
    const BlockWriter writer(sLeader, s008Text, sLineEnd);
    switch (iFixedFieldFormat) {
        case 0: return MnemonicBlock(writer, sRecordFormat, sLeader, bRtfFlag);
        case 1: return LabelledBlock(writer, sRecordFormat);
        case 2: return AlignedBlock(writer, sRecordFormat);
        default: return "";
    }
}

void AppendRtfReserved(std::string& sOut, char c) {
    switch (c) {
        case '\\': sOut += "\\u92?"; break;
        case '{': sOut += "\\u123?"; break;
        case '}': sOut += "\\u125?"; break;
        default: sOut += c;
    }
}

std::string EscapeRtfReserved(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    for (const char c : sText) AppendRtfReserved(sOut, c);
    return sOut;
}
