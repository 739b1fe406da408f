// Field order keys, subfield-order rules at work, loads that order fields and
// subfields, the local institution codes, summaries and order files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>
#include <string>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/field_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using field_test::Dollar;
using field_test::ListOrder;
using field_test::TagOrder;

// "$" stands for the subfield delimiter.
std::string D(std::string s) {
    for (char& c : s)
        if (c == '$') c = '\x1F';
    return s;
}

Utf8MarcRecordState& St(Utf8MarcRecordClass& record) { return RecordTestAccess::MutableState(record); }

std::string Key(Utf8MarcRecordClass& record, const std::string& sTag, const std::string& sInd,
                const std::string& sText) {
    return Dollar(RecordTestAccess::FldOrderKey(record, sTag, sInd, D(sText)));
}

// An ISO 2709 record of the given leader/05-09 and fields ("tag" + content,
// "$" for the delimiter; control fields have no indicators).
std::string Iso2709(const std::string& sLeaderMiddle, const std::vector<std::string>& fields) {
    std::string sDirectory, sData;
    for (const std::string& f : fields) {
        const std::string sContent = D(f.substr(3)) + "\x1E";
        char entry[13];
        std::snprintf(entry, sizeof entry, "%s%04zu%05zu", f.substr(0, 3).c_str(), sContent.size(), sData.size());
        sDirectory += entry;
        sData += sContent;
    }
    sDirectory += "\x1E";
    const size_t base = 24 + sDirectory.size();
    const size_t length = base + sData.size() + 1;
    char leader[25];
    std::snprintf(leader, sizeof leader, "%05zu%s22%05zu   4500", length, sLeaderMiddle.c_str(), base);
    return std::string(leader) + sDirectory + sData + "\x1D";
}

TEST(FldOrderKey, KeysUnderTheDefaultTables) {
    struct Case {
        const char* format;
        const char* tag;
        const char* ind;
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"B", "650", " 0", "$aTopic", "0030"},
        {"B", "650", " 7", "$aTopic$2fast", "0037fast"},
        {"B", "650", " 7", "$aTopic$2lcshac$2mesh", "00371"},
        {"B", "654", " 4", "$aTopic$2nal", "00343"},
        {"B", "653", "  ", "$aTerm", "0039"},
        {"B", "700", "1 ", "$aName$tTitle", "0057T"},
        {"B", "700", "1 ", "$aName", "0057 "},
        {"B", "245", "10", "$aTitle", "001245"},
        {"B", "705", "1 ", "$aName", "0107"},  // in no range: the last rule
        {"B", "880", "10", "$aNo linkage", "0108"},
        {"B", "245", "10", "$6880-01$aTitle", "001245$6001"},
        {"B", "880", "10", "$6245-01$aTitle", "001245$6001 G"},
        {"B", "880", "10", "$6245-00$aTitle", "001245$6000"},
        {"B", "880", "10", "$6245-1234$aTitle", "001245$6234 G"},
        {"B", "880", "10", "$6245-07/r$aTitle", "001245$6007 G"},
        {"B", "880", "10", "$6245-99999999999999999999999$a", "001245$6999 G"},
        {"B", "880", "10", "$6245-1E3$aTitle", "001245$6001 G"},  // no exponent form
        {"B", "880", "10", "$6245$aTitle", "001245"},             // no occurrence: no suffix
        {"H", "853", "  ", "$81.2$av.", "002001.2853"},
        {"H", "853", "  ", "$8 1 $av.", "002001"},
        {"H", "853", "  ", "$av.", "002000"},
        {"H", "866", "  ", "$812345$av.", "00212345"},
        {"A", "400", "1 ", "$wa$aSmith, J.$5DLC", "0024aSMITH J"},
        {"A", "500", "1 ", "$aSmith$wnnaa", "0035nSMITH"},
        {"A", "400", "1 ", "$aJones", "0024nJONES"},
        {"A", "710", "2 ", "$aBody", "011\xFF"},
        {"O", "000", "  ", "$ax", "0030"},  // after every field of 001-999
        {"O", "005", "", "x", "001005"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        const std::string sFormat = c.format;
        if (sFormat == "A") record.SetDefaultFldOrderAuth();
        else if (sFormat == "B") record.SetDefaultFldOrderBib();
        else if (sFormat == "H") record.SetDefaultFldOrderHold();
        else RecordTestAccess::FldOrderInstall(record, sFormat);
        St(record).MarcRecordFormat = sFormat;
        EXPECT_EQ(Key(record, c.tag, c.ind, c.text), c.key) << c.format << " " << c.tag << " " << c.text;
    }
}

TEST(FldOrderKey, MethodsSwitchesAndEmptyTables) {
    struct Case {
        int16_t method;
        const char* tag;
        const char* ind;
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {9, "245", "10", "$6880-01$aTitle", "*"},
        {11, "600", "14", "$aX", "0011"},
        {12, "336", "  ", "$atext$3Volume 1", "001VOLUME 1336"},
        {12, "336", "  ", "$atext", "001*336"},
        {13, "852", "  ", "$b x$c Shelf 2$hQA", "001 Shelf 2"},
        {13, "852", "  ", "$bx", "00100000000"},
        {7, "863", "  ", "$81234.5$av.", "0011234.5863"},
        {7, "863", "  ", "$8.5", "001000.5863"},
        {99, "245", "10", "$aT", "001"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.ClearFldOrder("B");
        record.SetFldOrder("B", "001", "999", c.method);
        record.SetFldOrder("B", "880", "880", 8);
        EXPECT_EQ(Key(record, c.tag, c.ind, c.text), c.key) << c.method << " " << c.text;
    }

    // A fresh record keeps the order of addition; 880 fields are not paired.
    Utf8MarcRecordClass fresh;
    EXPECT_EQ(Key(fresh, "245", "10", "$6880-01$aT"), "*");
    EXPECT_EQ(Key(fresh, "880", "10", "$6245-01$aT"), "*");

    // An emptied table of any family gives the suffix alone.
    for (const char* family : {"A", "B", "H", "O"}) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = family;
        record.SetFldOrder(family, "880", "880", 8);
        record.ClearFldOrder(family);
        record.SetFldOrder(family, "880", "880", 8);
        EXPECT_EQ(Key(record, "245", "10", "$6880-02$aT"), "$6002") << family;
        EXPECT_EQ(Key(record, "650", " 0", "$aT"), "") << family;
    }

    // The LC variant gives a paired 6XX with second indicator 4 the indicator 0.
    Utf8MarcRecordClass lc;
    lc.SetDefaultFldOrderBib();
    lc.SetFldOrder("B", "880", "880", 10);
    EXPECT_EQ(Key(lc, "880", "14", "$6650-03$aT"), "0030$6003 G");
    EXPECT_EQ(Key(lc, "880", "14", "$6245-03$aT"), "001245$6003 G");

    // Rule numbers keep their last three digits; method 8 on another range is generic.
    Utf8MarcRecordClass many;
    many.ClearFldOrder("B");
    for (int i = 0; i < 1000; ++i) many.SetFldOrder("B", "900", "900", 6);
    many.SetFldOrder("B", "245", "246", 8);
    EXPECT_EQ(Key(many, "245", "10", "$aT"), "0012");
    EXPECT_EQ(many.SummarizeFieldOrderInstructions("B").substr(0, 21), "900-900 by tag\r\n900-9");
}

TEST(FldOrderKey, TheRuleFoundForATagFollowsEveryChangeOfTheTables) {
    Utf8MarcRecordClass record;
    St(record).MarcRecordFormat = "B";
    record.SetDefaultFldOrderBib();
    struct Step {
        const char* action;  // what changes before the keys are read
        const char* key245;
        const char* key650;
    };
    const Step steps[] = {
        {"default tables", "001245", "0030"},
        {"cleared, 200-299 by tag's first digit", "0012", "0016"},  // 650 in no range: the last rule
        {"600-699 by tag and 001-999 generic added", "0012", "002650"},
        {"holdings table read meanwhile", "0012", "002650"},
    };
    for (const Step& step : steps) {
        const std::string sAction = step.action;
        if (sAction.rfind("cleared", 0) == 0) {
            record.ClearFldOrder("B");
            record.SetFldOrder("B", "200", "299", 2);
        } else if (sAction.rfind("600-699", 0) == 0) {
            record.SetFldOrder("B", "600", "699", 6);
            record.SetFldOrder("B", "001", "999", 2);
        } else if (sAction.rfind("holdings", 0) == 0) {
            St(record).MarcRecordFormat = "H";
            record.SetDefaultFldOrderHold();
            EXPECT_EQ(Key(record, "853", "  ", "$av."), "002000");
            St(record).MarcRecordFormat = "B";
        }
        // Read twice: the second look-up is the remembered one.
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(Key(record, "245", "10", "$aT"), step.key245) << sAction;
            EXPECT_EQ(Key(record, "650", " 0", "$aT"), step.key650) << sAction;
        }
    }
}

TEST(FldOrderKey, LocalFiveFirstReadsNucAndItsFiveList) {
    struct Case {
        const char* nuc;
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"", "$aX$5CaOONL", "001645"},
        {"(CaOONL)", "$aX$5CaOONL", "0016455"},
        {"(CaOONL)", "$aX$5DLC$5 CaOONL ", "0016455"},  // the last $5, trimmed
        {"(DLC) CaOONL", "$aX$5CaOONL-B", "0016456"},   // the code before "-" is in the $5 list
        {"(CaOONL)", "$aX$5DLC", "0016459"},
        {"(CaOONL)", "$aX", "0016459"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = "A";
        record.ClearFldOrder("A");
        record.SetFldOrder("A", "600", "699", 4);
        record.Nuc(c.nuc);
        EXPECT_EQ(Key(record, "645", "  ", c.text), c.key) << c.nuc << " " << c.text;
    }
}

TEST(Nuc, TrimsReducesBlanksAndBuildsTheFiveList) {
    Utf8MarcRecordClass record;
    record.Nuc("  (CaOONL)   (OCoLC)  ");
    EXPECT_EQ(record.Nuc(), "(CaOONL) (OCoLC)");
    EXPECT_EQ(Dollar(St(record).NucSubfield5List), "$5(CaOONL) $5(OCoLC)");
    record.Nuc("   ");
    EXPECT_EQ(record.Nuc(), "");
    EXPECT_EQ(Dollar(St(record).NucSubfield5List), "$5(CaOONL) $5(OCoLC)");
}

TEST(SfdAdd, ALocalFiveMovesAnAuthorityFieldAheadOfTheOthers) {
    Utf8MarcRecordClass record;
    record.Nuc("(CaOONL)");
    St(record).MarcRecordFormat = "A";
    record.SetDefaultFldOrderAuth();
    record.FldAdd("645", "  ", D("$at$5DLC"), false);
    record.FldAdd("645", "  ", D("$an"), false);
    EXPECT_EQ(ListOrder(record), "645/  =$at$5DLC 645/  =$an");
    record.SfdAdd("5", "CaOONL");
    EXPECT_EQ(ListOrder(record), "645/  =$an$5CaOONL 645/  =$at$5DLC -645/  =$an$5CaOONL");
}

// A rewrite in place orders the new text's subfields by its new tag's rule,
// also when the key's search for a local $5 yields to a pump that sets the
// field pointer again (which loads the rule of the field's old tag).
TEST(FldChange, TheNewTagsRuleOrdersTheTextWhenThePumpMovesTheCursor) {
    for (const bool bPump : {false, true}) {
        SCOPED_TRACE(bPump ? "pump" : "no pump");
        Utf8MarcRecordClass record;
        record.Nuc("(CaOONL)");
        record.SetDefaultFldOrderAuth();
        record.SetSfdOrder("A", "100", "6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}5");
        record.MarcRecordIn(Iso2709("nz  a", {"001a1", "10010$aName$dDate"}));
        ASSERT_EQ(record.MarcRecordFormat(), "A");
        ASSERT_TRUE(record.FldFindFirst("100", ""));
        int iYields = 0;
        if (bPump)
            platform::SetEventPump([&] {
                ++iYields;
                record.FldPointer(record.FldPointer());
            });
        record.FldChange("645", "  ", D("$5DLC$aX$dY"));
        platform::SetEventPump(nullptr);
        EXPECT_EQ(bPump, iYields > 0);
        EXPECT_EQ(Dollar(record.FldText()), "$5DLC$aX$dY");
        EXPECT_FALSE(record.SfdOrderChanged());
        EXPECT_EQ(record.FldsWithSfdsOutOfOrder(), "");
    }
}

TEST(SfdOrderRules, CompiledStepsAndCompletion) {
    struct Case {
        const char* pattern;
        const char* steps;  // type:codes per step
        const char* repeated;
        const char* leads;
    };
    const Case cases[] = {
        {"6a{#bcfghknps}", "0:6 0:a 1:bcfghknps", "", ""},
        {"6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}", "0:6 0:a 1:qbcdek 0:u4 2:tkfghlmnoprs 1:vxyz", "k", "t"},
        {"{6}{w}{a}{#bcdgkn}", "0:6 0:w 0:a 1:bcdgkn", "", ""},
        {"", "0:", "", ""},
        {"{#}x{^", "1:x", "", ""},          // a typed group without codes passes its type on
        {"a{@bc}{@cd}", "0:a 5:bc 5:cd", "c", ""},  // the last "@" group holding each lead code
        {"ab}{!", "0:a 0:b", "", ""},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.ClearSfdOrder("O");
        record.SetSfdOrder("O", "245", c.pattern);
        const SubfieldOrderRule& rule = St(record).SfdOrderOther[1];
        std::string steps;
        for (int16_t s = 0; s <= rule.StepTop; ++s)
            steps += (s ? " " : "") + std::to_string(rule.Steps[static_cast<size_t>(s)].StepType) + ":" +
                     rule.Steps[static_cast<size_t>(s)].Codes;
        EXPECT_EQ(steps, c.steps) << c.pattern;
        EXPECT_EQ(rule.RepeatedCodes, c.repeated) << c.pattern;
        EXPECT_EQ(rule.LeadCodes, c.leads) << c.pattern;
    }

    // Completion: the "#" group of all codes on every rule, then "XXX".
    Utf8MarcRecordClass record;
    RecordTestAccess::SfdOrderInstall(record, "B");
    const Utf8MarcRecordState& st = St(record);
    ASSERT_EQ(st.SfdOrderBibCount, 169);
    const SubfieldOrderRule& r891 = st.SfdOrderBib[static_cast<size_t>(st.SfdOrderBibCount - 1)];
    EXPECT_EQ(r891.Tag, "891");
    EXPECT_EQ(r891.Steps[static_cast<size_t>(r891.StepTop)].Codes, "abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(st.SfdOrderBib[169].Tag, "XXX");
    RecordTestAccess::SfdOrderInstall(record, "B");  // completes once
    EXPECT_EQ(st.SfdOrderBibCount, 169);
    EXPECT_EQ(st.SfdOrderAuthCount, 67);
    // Another family's table, not completed: an unlisted tag meets its last rule.
    St(record).MarcRecordFormat = "A";
    RecordTestAccess::SfdOrderLoad(record, "245");
    EXPECT_EQ(st.SfdOrderCurrent->Rule.Tag, "788");
}

// The table of a compiled rule gives for every octet what the rule gives
// for it as a code, over the installed tables of every family and patterns
// of every kind of step (repeated codes, title steps, codes twice in a step).
TEST(SfdOrderRules, CompiledCodesAnswerAsTheRuleDoes) {
    auto same = [](const SubfieldOrderCodePlace& a, const SubfieldOrderCodePlace& b) {
        return a.Step == b.Step && a.StepType == b.StepType && a.Place == b.Place && a.Lead == b.Lead;
    };
    auto check = [&](const SubfieldOrderRule& rule) {
        const auto compiled = CompiledSubfieldOrderRule::Compile(rule);
        for (int c = 0; c < 256; ++c) {
            const std::string sCode(1, static_cast<char>(c));
            const SubfieldOrderCode& got = compiled->Code(static_cast<char>(c));
            const SubfieldOrderCode want = CompiledSubfieldOrderRule::CodeOf(rule, sCode);
            const bool bSame = same(got.Plain, want.Plain) && same(got.Title, want.Title) &&
                               got.Position == want.Position && got.MatchCount == want.MatchCount &&
                               got.TitlePosition == want.TitlePosition &&
                               got.TitleMatchCount == want.TitleMatchCount && got.Repeated == want.Repeated;
            EXPECT_TRUE(bSame) << rule.Tag << " code " << c;
            if (!bSame) return;
        }
    };
    Utf8MarcRecordClass record;
    for (const char* sFamily : {"A", "B", "H", "O"}) RecordTestAccess::SfdOrderInstall(record, sFamily);
    const Utf8MarcRecordState& st = St(record);
    for (const auto* table : {&st.SfdOrderAuth, &st.SfdOrderBib, &st.SfdOrderHold, &st.SfdOrderOther})
        for (const SubfieldOrderRule& rule : *table) check(rule);
    const char* patterns[] = {"", "aa{#tab}{!tka}{kt}{@kz}{@kzt}", "{#ab}{#ab}", "t{!ttk}k{^kx}", "{#\xC3\xA9" "a}b"};
    for (const char* sPattern : patterns) {
        record.ClearSfdOrder("O");
        record.SetSfdOrder("O", sPattern, sPattern);
        RecordTestAccess::SfdOrderInstall(record, "O");
        for (const SubfieldOrderRule& rule : st.SfdOrderOther) check(rule);
    }
    check(SubfieldOrderRule{});
}

// A rule table changed while a field is current leaves that field's rule in
// force until the next rule is loaded.
TEST(SfdOrderRules, TheCurrentRuleOutlivesAChangeOfTheTables) {
    Utf8MarcRecordClass record;
    record.ClearSfdOrder("B");
    record.SetSfdOrder("B", "245", "abc");
    record.MarcRecordIn(Iso2709("nam a", {"001x", "24510$aA$cC"}));
    ASSERT_TRUE(record.FldFindFirst("245", ""));
    record.ClearSfdOrder("B");
    record.SfdMoveLast();
    record.SfdInsertAfter("b", "B");
    EXPECT_EQ(Dollar(record.FldText()), "$aA$bB$cC");
    // The next load of the rule finds the emptied table: one group of all codes.
    record.FldPointer(record.FldPointer());
    record.SfdMoveLast();
    record.SfdInsertAfter("a", "A2");
    EXPECT_EQ(Dollar(record.FldText()), "$aA$bB$cC$aA2");
}

// SfdOrderTest of the subfield at a place of a field, with the cursor on it.
TEST(SfdOrderTest, NameTitlePatternsAndTheTitleSwitch) {
    struct Case {
        const char* format;
        const char* tag;
        const char* field;
        int16_t place;  // 0-based place in the field
        int16_t verdict;
    };
    const Case cases[] = {
        {"A", "100", "$aA$kK$tT", 1, 0},   // $k with the name
        {"A", "100", "$aA$tT$kK", 2, 0},   // $k with the title
        {"A", "100", "$aA$fF$tT", 2, -1},  // the title's lead code goes first
        {"A", "100", "$aA$tT$fF", 1, 0},
        {"A", "100", "$aA$vV$kK", 2, -1},  // $k before the subdivisions
        {"A", "100", "$aA$kK$vV", 1, 0},
        {"A", "100", "$kK$aA", 0, 1},
        {"B", "245", "$aA$zZ$bB", 1, 1},   // an unlisted code: the last group, after the listed ones
        {"B", "245", "$bB$aA", 1, -1},
        {"B", "245", "$aA$aB", 1, 0},      // two of a code side by side
        {"B", "066", "$cC$aA", 0, 0},      // a plain group at step 0 is not tested within
        {"B", "040", "$aA$dD$cC", 2, -1},
        {"B", "245", "$aA", 0, 0},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = c.format;
        RecordTestAccess::SfdOrderInstall(record, c.format);
        record.IgnoreSfdOrder(true);
        record.FldAdd(c.tag, "1 ", D(c.field), false);
        record.IgnoreSfdOrder(false);
        int16_t slot = St(record).Fields[0].FirstSubfield;
        for (int i = 0; i < c.place; ++i) slot = St(record).Fields[0].Subfields[static_cast<size_t>(slot)].NextSubfield;
        record.SfdPointer(slot);
        EXPECT_EQ(RecordTestAccess::SfdOrderTest(record, slot), c.verdict) << c.tag << " " << c.field << " " << c.place;
        EXPECT_EQ(record.SfdPointer(), slot);
    }
    Utf8MarcRecordClass ignoring;
    ignoring.IgnoreSfdOrder(true);
    ignoring.FldAdd("245", "10", D("$bB$aA"), false);
    EXPECT_EQ(RecordTestAccess::SfdOrderTest(ignoring, 1), 0);
}

TEST(MarcRecordIn, LoadsOrderFieldsAndSubfieldsByTheRules) {
    struct Case {
        const char* label;
        std::vector<std::string> fields;
        const char* tags;
        bool modified;
        bool sfdChanged;
        const char* withSfds;
    };
    const Case cases[] = {
        {"in order", {"001x", "24510$aT$cC", "650 0$aS"}, "001 245 650", false, false, ""},
        {"a field moved", {"001x", "650 0$aS", "24510$aT"}, "001 245 650", true, false, ""},
        {"a subfield moved", {"001x", "24510$cC$aT"}, "001 245", true, true, "245"},
        {"a later subfield moved", {"001x", "24510$6880-01$bB$aT"}, "001 245", true, true, "245"},
        {"paired 880", {"24510$6880-01$aT", "880 0$6650-01$aS", "88010$6245-01$aT", "650 0$6880-01$aS"},
         "245 880 650 880", true, false, ""},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.SetDefaultFldOrderBib();
        record.MarcRecordIn(Iso2709("nam a", c.fields));
        EXPECT_EQ(TagOrder(record), c.tags) << c.label;
        EXPECT_EQ(record.MarcRecordModified(), c.modified) << c.label;
        EXPECT_EQ(record.SfdOrderChanged(), c.sfdChanged) << c.label;
        EXPECT_EQ(record.FldsWithSfdsOutOfOrder(), c.withSfds) << c.label;
        EXPECT_EQ(record.FldOrderChanged(), c.modified && !c.sfdChanged) << c.label;
    }
}

// Fields with equal order keys keep the order given, under every way 880
// pairing is switched on: a load of such a record moves nothing, and load,
// output, load is a fixpoint.
TEST(MarcRecordIn, EqualKeysKeepTheirOrderSoThatALoadIsAFixpoint) {
    testsupport::TempSettingsFolder folder;
    testsupport::WriteFile(folder.File("bibsup.cfg"), "[ExtendedFieldOrder]\na=001-999 TAG\nb=880 PAIRED\n");
    struct Setup {
        const char* label;
        const char* leader;  // leader/05-09
        bool orderFile;
        bool bibDefaults;
    };
    const Setup setups[] = {
        {"bibliographic defaults", "nam a", false, true},
        {"an order file with PAIRED", "nam a", true, false},
        {"construction defaults of a format that pairs", "nqm a", false, false},
    };
    struct Record {
        const char* label;
        std::vector<std::string> fields;
    };
    const Record records[] = {
        {"unlinked 880s, occurrence 00",
         {"001x", "24510$aTitle", "88010$6245-00/(N$aA", "88010$6245-00/(2/r$aB", "88010$6245-00$aC",
          "650 0$aSubject"}},
        {"two 880s of one partner",
         {"001x", "24510$6880-01$aTitle", "88010$6245-01/(N$aA", "88010$6245-01/(2/r$aB", "650 0$aSubject"}},
        {"a partner's key run", {"001x", "24510$6880-01$aA", "24510$6880-01$aB", "88010$6245-01$aC"}},
        {"880s without linkage", {"001x", "24510$aTitle", "880  $aA", "880  $aB", "880  $aC"}},
    };
    for (const Setup& setup : setups) {
        for (const Record& r : records) {
            for (const bool bNoChange : {false, true}) {
                SCOPED_TRACE(std::string(setup.label) + ", " + r.label + (bNoChange ? ", no change" : ""));
                Utf8MarcRecordClass record;
                if (setup.orderFile) record.FldOrderFolder(folder.Path());
                if (setup.bibDefaults) record.SetDefaultFldOrderBib();
                record.MakeNoChange(bNoChange);
                std::string sGiven;
                for (const std::string& f : r.fields) {
                    if (!sGiven.empty()) sGiven += ' ';
                    sGiven += f.substr(0, 3) + (f.compare(0, 2, "00") == 0 ? "=" : "/" + f.substr(3, 2) + "=") +
                              f.substr(f.compare(0, 2, "00") == 0 ? 3 : 5);
                }
                record.MarcRecordIn(Iso2709(setup.leader, r.fields));
                EXPECT_EQ(record.IsMarcErrorText(), "");
                EXPECT_TRUE(St(record).FldOrderPairedBib || St(record).FldOrderPairedHold);
                EXPECT_EQ(ListOrder(record), sGiven);
                EXPECT_FALSE(record.MarcRecordModified());
                const std::string sOut = record.MarcRecordOut();
                record.MarcRecordIn(sOut);
                EXPECT_EQ(ListOrder(record), sGiven);
                EXPECT_FALSE(record.MarcRecordModified());
                EXPECT_EQ(record.MarcRecordOut(), sOut);
            }
        }
    }
}

// Limits of the timed tests: they leave room for a loaded machine, and
// sanitizers slow the load itself about tenfold.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kLimit = 30.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double kLimit = 30.0;
#else
constexpr double kLimit = 5.0;
#endif
#else
constexpr double kLimit = 5.0;
#endif

template <class Work>
double Seconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Placement costs no walk of the field per subfield, nor of the record per
// field, where the rules allow it: each of these would take the square of
// its size in steps, tens of seconds.
TEST(FldAdd, ALongFieldAndManyFieldsArePlacedInLinearTime) {
    // 16,000 $2 and then 16,000 $a, every $a before every $2.
    Utf8MarcRecordClass record;
    record.SetDefaultFldOrderBib();
    record.MarcRecordIn(Iso2709("nam a", {"001x"}));
    std::string sField;
    for (int i = 0; i < 16000; ++i) sField += D("$2x");
    for (int i = 0; i < 16000; ++i) sField += D("$ay");
    EXPECT_LT(Seconds([&] { record.FldAdd("650", " 0", sField, false); }), kLimit);
    const std::string sText = Dollar(record.FldText());
    EXPECT_EQ(sText.substr(0, 6), "$ay$ay");
    EXPECT_EQ(sText.substr(sText.size() - 6), "$2x$2x");
    EXPECT_EQ(sText.substr(3 * 16000 - 3, 6), "$ay$2x");
    EXPECT_TRUE(record.SfdOrderChanged());
    EXPECT_EQ(record.FldsWithSfdsOutOfOrder(), "650");

    // 32,765 fields of one long key, each after all the others.
    Utf8MarcRecordClass many;
    St(many).FldOrderKeyForTests = [](const std::string&, const std::string&, const std::string&) {
        return std::string(400, 'k');
    };
    EXPECT_LT(Seconds([&] {
                  for (int i = 0; i < 32765; ++i) many.FldAdd("500", "  ", std::to_string(i), false);
              }),
              kLimit);
    EXPECT_EQ(St(many).FldCount, 32765);
    EXPECT_TRUE(many.FldMoveFirst(true));
    EXPECT_EQ(many.FldText(), D("$a0"));
    EXPECT_TRUE(many.FldMoveLast(true));
    EXPECT_EQ(many.FldText(), D("$a32764"));
    EXPECT_FALSE(many.MarcRecordModified());
    // The 32,768th field is refused, as ever.
    many.FldAdd("500", "  ", "x", false);
    many.FldAdd("500", "  ", "x", false);
    EXPECT_THROW(many.FldAdd("500", "  ", "x", false), RaisedError);
    EXPECT_EQ(St(many).FldCount, 32767);
}

TEST(MarcRecordIn, ATitleSwitchOnALongFieldCostsNoWalkPerTest) {
    // Every $k moves left past every $v: about 2 million tests.
    std::string sField = "1001 $aX";
    for (int i = 0; i < 1500; ++i) sField += "$vA";
    for (int i = 0; i < 1500; ++i) sField += "$kB";
    Utf8MarcRecordClass record;
    const auto start = std::chrono::steady_clock::now();
    record.MarcRecordIn(Iso2709("nz  a", {"001x", sField}));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // A walk of the field per test would take minutes.
    EXPECT_LT(seconds, 2 * kLimit);
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    const std::string sText = Dollar(record.FldText());
    EXPECT_EQ(sText.substr(0, 9), "$aX$kB$kB");
    EXPECT_EQ(sText.substr(sText.size() - 6), "$vA$vA");
    EXPECT_TRUE(record.SfdOrderChanged());
}

TEST(SummarizeFieldOrderInstructions, DefaultTables) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("A"), "000-999 in generic order");
    record.SetDefaultFldOrderBib();
    record.SetDefaultFldOrderHold();
    const std::string sBib = record.SummarizeFieldOrderInstructions("B");
    EXPECT_EQ(sBib.substr(0, 17), "001-399 by tag\r\n4");
    EXPECT_EQ(sBib.substr(sBib.size() - 24), "850-999 in generic order");
    EXPECT_EQ(std::count(sBib.begin(), sBib.end(), '\n'), 9);
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("H"),
              "001-852 by tag\r\n853-869 in generic order\r\n870-999 by tag");
    record.SetDefaultFldOrderAuth();
    const std::string sAuth = record.SummarizeFieldOrderInstructions("A");
    for (const char* phrase : {"400-499 in reference order", "642-642 local $5 comes first", "700-799 by second indicator"})
        EXPECT_NE(sAuth.find(phrase), std::string::npos) << phrase;
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("M"), "");
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("b"), "");
}

TEST(FldOrderMethodFromKeyword, Keywords) {
    Utf8MarcRecordClass record;
    struct Case {
        const char* keyword;
        int16_t method;
    };
    const Case cases[] = {
        {"tag", 6},     {"T", 6},        {"7", 1},           {"Indic1", 11}, {"2", 3},  {"nuc", 4},
        {"SFD8", 7},    {"ref", 5},      {"Pair", 8},        {"p lc", 10},   {"PAIREDLC", 10},
        {"rda33x", 12}, {"SubfieldC", 13}, {"Generic", 2},   {"", 2},        {" TAG", 2},
        {"TAG ", 2},    {"\xC3\xA9", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordTestAccess::FldOrderMethodFromKeyword(record, c.keyword), c.method) << c.keyword;
}

TEST(FldOrderFolder, ReadsTheThreeOrderFiles) {
    testsupport::TempSettingsFolder folder;
    testsupport::WriteFile(folder.File("bibsup.cfg"),
                           "[ExtendedFieldOrder]\n; comment\na=100-199 TAG\nb=245 ref\nc=880 PAIRED\n"
                           "d=600-699 PAIRED LC\n\n[FieldOrder]\n0XX=TAG\n"
                           "[SubfieldOrder]\n245=6a{#bcfghknps}\n650=63a{#bcde}{#vxyz}2\n2450=ab\n");
    testsupport::WriteFile(folder.File("holdsup.cfg"), "[SubfieldOrder]\r\n852=ba\r\n");
    testsupport::WriteFile(folder.File("authsup.cfg"),
                           "[FieldOrder]\n0XX=TAG\n6XX=IND2\n7XX=7\n8XX= TAG\n x=TAG\n");
    Utf8MarcRecordClass record;
    record.FldOrderFolder(folder.Path());
    EXPECT_EQ(record.FldOrderFolder(), folder.Path() + "\\");
    const Utf8MarcRecordState& st = St(record);
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("B"),
              "100-199 by tag\r\n245-245 in reference order\r\n600-699 in generic order\r\n001-999 in generic order");
    EXPECT_TRUE(st.FldOrderPairedBib);
    EXPECT_TRUE(st.FldOrderPairedLcBib);
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("H"), "001-999 in generic order");
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("A"),
              "001-009 by tag\r\n010-099 by tag\r\n600-699 by second indicator\r\n700-799 by LCRI 21.30J\r\n"
              "800-899 in generic order\r\n001-999 in generic order");
    ASSERT_EQ(st.SfdOrderBibCount, 2);
    EXPECT_EQ(st.SfdOrderBib[1].Tag, "245");
    EXPECT_EQ(st.SfdOrderBib[2].Tag, "650");
    ASSERT_EQ(st.SfdOrderHoldCount, 1);
    EXPECT_EQ(st.SfdOrderHold[1].Steps[0].Codes, "b");
    EXPECT_EQ(st.SfdOrderAuthCount, 0);
    EXPECT_TRUE(st.OrderSetupPending);

    // The same folder again reads nothing; the files' changes wait.
    testsupport::WriteFile(folder.File("holdsup.cfg"), "[ExtendedFieldOrder]\na=001-999 TAG\n");
    record.FldOrderFolder(folder.Path() + "\\");
    EXPECT_EQ(record.SummarizeFieldOrderInstructions("H"), "001-999 in generic order");

    // A load completes the loaded family; 245 has a rule before 001's, and
    // the subfields follow the file's pattern.
    record.MarcRecordIn(Iso2709("nam a", {"001x", "24510$cC$aT$6880-01"}));
    EXPECT_EQ(ListOrder(record), "245/10=$6880-01$aT$cC 001=x");
    EXPECT_EQ(st.SfdOrderBib[3].Tag, "XXX");

    // "" brings the default field orders back and keeps the subfield tables.
    record.NewRecord("a", "m");
    record.FldOrderFolder("");  // a record with fields: ignored
    EXPECT_EQ(record.FldOrderFolder(), folder.Path() + "\\");
    Utf8MarcRecordClass second;
    second.FldOrderFolder(folder.Path());
    second.FldOrderFolder("");
    EXPECT_EQ(second.FldOrderFolder(), "");
    EXPECT_EQ(second.SummarizeFieldOrderInstructions("H"), "001-852 by tag\r\n853-869 in generic order\r\n870-999 by tag");
    EXPECT_EQ(St(second).SfdOrderBibCount, 2);
}

}  // namespace
