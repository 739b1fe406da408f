// The series treatment policies on authority records loaded from ISO 2709
// text, UTF-8 and MARC-8: the institution tests, the series-authority test,
// the ranking of local codes, the fallbacks and the cursor put back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using record_test::D;
using record_test::Iso2709;
using record_test::TaggedField;

using Policy = std::string (Utf8MarcRecordClass::*)(int32_t&);

constexpr int32_t kPassed = 777;  // lReturnFieldPointer as the caller passes it
const std::string kKept = "(kept)";
const std::string kZero = "(0)";

using C = Utf8MarcRecordClass;

// One question to the loaded record, Nuc set first unless empty.
struct Case {
    const char* name;
    Policy policy;
    std::string nuc;
    std::string answer;
    std::string where;  // kKept, kZero, or tag, blank and field text
};

struct Authority {
    std::string s008_12;  // "" for a record without 008
    bool b010 = true;
    std::vector<TaggedField> fields;
};

class SeriesPolicies : public ::testing::TestWithParam<bool> {
protected:
    // A series authority record; a MARC-8 one (leader/09 blank) kept in "M".
    Utf8MarcRecordClass& Load(const Authority& a) {
        const bool bUtf8 = GetParam();
        record = std::make_unique<Utf8MarcRecordClass>();
        if (!bUtf8) {
            record->CharacterSetIn("M");
            record->CharacterSetOut("M");
        }
        std::vector<TaggedField> all;
        if (!a.s008_12.empty()) {
            std::string s008(40, ' ');
            s008[12] = a.s008_12[0];
            all.push_back({"008", s008});
        }
        if (a.b010) all.push_back({"010", D("  $an  79021234 ")});
        all.push_back({"130", D(" 0$aSample series.")});
        all.insert(all.end(), a.fields.begin(), a.fields.end());
        record->MarcRecordIn(Iso2709(bUtf8 ? "00000nz  a2200000n  4500" : "00000nz   2200000n  4500", all));
        EXPECT_FALSE(record->MarcRecordIn().empty()) << record->IsMarcErrorText();
        return *record;
    }

    // The answer and where lReturnFieldPointer went: kKept, kZero or the
    // text of the field it names. The cursor must stand where it stood.
    std::pair<std::string, std::string> Ask(Policy policy) {
        Utf8MarcRecordClass& r = *record;
        r.FldPointer(1);
        r.SfdMoveFirst();
        const int16_t iFld = r.FldPointer(), iSfd = r.SfdPointer();
        int32_t lPointer = kPassed;
        const std::string sAnswer = (r.*policy)(lPointer);
        EXPECT_EQ(r.FldPointer(), iFld);
        EXPECT_EQ(r.SfdPointer(), iSfd);
        if (lPointer == kPassed) return {sAnswer, kKept};
        if (lPointer == 0) return {sAnswer, kZero};
        r.FldPointer(static_cast<int16_t>(lPointer));
        std::string sWhere = r.FldTag() + " " + r.FldText();
        r.FldPointer(iFld);
        return {sAnswer, sWhere};
    }

    void ExpectAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            if (!c.nuc.empty()) record->Nuc(c.nuc);
            const auto [sAnswer, sWhere] = Ask(c.policy);
            EXPECT_EQ(sAnswer, c.answer) << c.name;
            EXPECT_EQ(sWhere, D(c.where)) << c.name;
        }
    }

    testsupport::TempSettingsFolder folder;
    std::unique_ptr<Utf8MarcRecordClass> record;
};

const std::vector<TaggedField> kLcAndPcc = {
    {"642", D("  $av. 1$5DLC")},   {"642", D("  $ano. 1$5DPCC")}, {"644", D("  $af$5DLC")},
    {"645", D("  $at$5DLC")},      {"645", D("  $an$5DPCC")},     {"646", D("  $5DLC$as")},
    {"646", D("  $ac$5DLCX")},
};

TEST_P(SeriesPolicies, NationalAndCooperativeFieldsAnswerEachForItsOwn) {
    Load({"a", true, kLcAndPcc});
    const std::vector<Case> cases = {
        {"tracing DLC", &C::SeriesTracingPolicyDlc, "", "t", "645 $at$5DLC"},
        {"tracing DPCC", &C::SeriesTracingPolicyDpcc, "", "n", "645 $an$5DPCC"},
        {"analysis DLC", &C::SeriesAnalysisPolicyDlc, "", "f", "644 $af$5DLC"},
        // A $5 before the first subfield is not looked at; "DLCX" begins with DLC.
        {"classification DLC", &C::SeriesClassificationPolicyDlc, "", "c", "646 $ac$5DLCX"},
        {"numbering DLC", &C::SeriesNumberingPatternDlc, "", "v. 1", "642 $av. 1$5DLC"},
        {"numbering DPCC", &C::SeriesNumberingPatternDpcc, "", "no. 1", "642 $ano. 1$5DPCC"},
        {"analysis DPCC", &C::SeriesAnalysisPolicyDpcc, "", "", "(0)"},
        {"classification DPCC", &C::SeriesClassificationPolicyDpcc, "", "", "(0)"},
        {"no local code yet", &C::SeriesTracingPolicyLocal, "", "", "(kept)"},
        {"local DLC", &C::SeriesTracingPolicyLocal, "DLC", "t", "645 $at$5DLC"},
    };
    ExpectAll(cases);
}

TEST_P(SeriesPolicies, OnlyASeriesWithAnLcControlNumberHasNationalPolicies) {
    struct Record {
        const char* name;
        Authority authority;
        std::string tracingDlc;  // "" means: nothing, pointer kept
    };
    const Record records[] = {
        {"without 010", {"a", false, kLcAndPcc}, ""},
        {"008/12 n", {"n", true, kLcAndPcc}, ""},
        {"008/12 b", {"b", true, kLcAndPcc}, "t"},
        {"008/12 z", {"z", true, kLcAndPcc}, "t"},
        {"008/12 c", {"c", true, kLcAndPcc}, "t"},
        {"no 008", {"", true, kLcAndPcc}, "t"},
    };
    for (const Record& rec : records) {
        Utf8MarcRecordClass& r = Load(rec.authority);
        const bool bAnswers = !rec.tracingDlc.empty();
        for (Policy p : {&C::SeriesAnalysisPolicyDlc, &C::SeriesTracingPolicyDlc, &C::SeriesClassificationPolicyDlc,
                         &C::SeriesNumberingPatternDlc, &C::SeriesTracingPolicyDpcc, &C::SeriesNumberingPatternDpcc}) {
            const auto [sAnswer, sWhere] = Ask(p);
            EXPECT_EQ(sAnswer.empty(), !bAnswers) << rec.name;
            EXPECT_EQ(sWhere == kKept, !bAnswers) << rec.name;
        }
        // The local properties make no such test.
        r.Nuc("DLC");
        EXPECT_EQ(Ask(&C::SeriesTracingPolicyLocal), std::make_pair(std::string("t"), D("645 $at$5DLC"))) << rec.name;
        EXPECT_EQ(Ask(&C::SeriesAnalysisPolicyLocal), std::make_pair(std::string("f"), D("644 $af$5DLC"))) << rec.name;
    }
}

TEST_P(SeriesPolicies, CooperativeFallbacks) {
    struct Row {
        const char* name;
        Authority authority;
        Policy policy;
        std::string nuc;
        std::string answer, where;
    };
    const std::vector<TaggedField> kTraced = {{"645", D("  $at (all)$5CtY-BR")}};
    const std::vector<TaggedField> kNumbering = {{"642", D("  $av. 1$5DLC")},
                                                 {"642", D("  $ano. 2$5MH/x")},
                                                 {"642", D("  $aBd. 1$5DE-101")},
                                                 {"642", D("  $ano. 3$5CtY")}};
    const Row rows[] = {
        {"series-like phrase", {"c", true, kTraced}, &C::SeriesTracingPolicyDpcc, "", "n", kZero},
        {"traced, Nuc empty: the whole first subfield", {"a", true, kTraced}, &C::SeriesTracingPolicyDpcc, "",
         "t (all)", "645 $at (all)$5CtY-BR"},
        {"traced by a local library", {"a", true, kTraced}, &C::SeriesTracingPolicyDpcc, "CtY", "", kZero},
        {"local code begun by the $5", {"a", true, kTraced}, &C::SeriesTracingPolicyDpcc, "CtYX", "", kZero},
        {"not traced", {"a", true, {{"645", D("  $an$5CtY")}}}, &C::SeriesTracingPolicyDpcc, "", "", kZero},
        {"no 645", {"a", true, {}}, &C::SeriesTracingPolicyDpcc, "", "", kZero},
        {"DLC and local passed over", {"a", true, kNumbering}, &C::SeriesNumberingPatternDpcc, "MH DE", "no. 3",
         "642 $ano. 3$5CtY"},
        {"first non-DLC non-local", {"a", true, kNumbering}, &C::SeriesNumberingPatternDpcc, "", "no. 2",
         "642 $ano. 2$5MH/x"},
        {"all local", {"a", true, kNumbering}, &C::SeriesNumberingPatternDpcc, "MH DE CtY", "", kZero},
        {"DPCC 642 without $a", {"a", true, {{"642", D("  $5DPCC$5DLC")}}}, &C::SeriesNumberingPatternDpcc, "", "",
         kZero},
    };
    for (const Row& row : rows) {
        Utf8MarcRecordClass& r = Load(row.authority);
        if (!row.nuc.empty()) r.Nuc(row.nuc);
        const auto [sAnswer, sWhere] = Ask(row.policy);
        EXPECT_EQ(sAnswer, row.answer) << row.name;
        EXPECT_EQ(sWhere, D(row.where)) << row.name;
    }
}

TEST_P(SeriesPolicies, LocalCodes) {
    const std::vector<TaggedField> fields = {
        {"644", D("  $ap$5CtY")}, {"644", D("  $af$5MH")},  {"645", D("  $an$5CtY")},     {"645", D("  $at$5MH")},
        {"646", D("  $as$5Ct")},  {"646", D("  $am$5MH")},  {"642", D("  $5MH$av. 1")}, {"642", D("  $aNo. 1$5MH-L")},
    };
    Utf8MarcRecordClass& r = Load({"a", true, fields});
    const std::vector<Case> cases = {
        {"nothing before Nuc", &C::SeriesAnalysisPolicyLocal, "", "", kKept},
        // The first local code wins over an earlier field of the second.
        {"tracing ranks", &C::SeriesTracingPolicyLocal, "MH CtY", "t", "645 $at$5MH"},
        {"tracing, the other order", &C::SeriesTracingPolicyLocal, "CtY MH", "n", "645 $an$5CtY"},
        {"analysis takes the first", &C::SeriesAnalysisPolicyLocal, "MH CtY", "p", "644 $ap$5CtY"},
        // A $5 that begins a local code passes.
        {"a code's beginning", &C::SeriesClassificationPolicyLocal, "CtY", "s", "646 $as$5Ct"},
        // The $5 must follow the first $a; "-L" is cut off.
        {"numbering", &C::SeriesNumberingPatternLocal, "MH", "No. 1", "642 $aNo. 1$5MH-L"},
        {"no such code", &C::SeriesNumberingPatternLocal, "DLC", "", kKept},
    };
    ExpectAll(cases);

    // Setting Nuc to "" keeps the old $5 list for the local properties, while
    // the cooperative fallback sees no local code.
    r.Nuc("MH");
    r.Nuc("");
    EXPECT_EQ(Ask(&C::SeriesTracingPolicyLocal), std::make_pair(std::string("t"), D("645 $at$5MH")));
    EXPECT_EQ(Ask(&C::SeriesTracingPolicyDpcc), std::make_pair(std::string("t"), D("645 $at$5MH")));
}

TEST_P(SeriesPolicies, LocalTracingRemembersAFieldInSlotZero) {
    // Without 008, 010 and 130 the 645 of the second code is the first field.
    record = std::make_unique<Utf8MarcRecordClass>();
    if (!GetParam()) {
        record->CharacterSetIn("M");
        record->CharacterSetOut("M");
    }
    record->MarcRecordIn(Iso2709(GetParam() ? "00000nz  a2200000n  4500" : "00000nz   2200000n  4500",
                                 {{"645", D("  $an$5CtY")}, {"645", D("  $at$5DLC")}}));
    record->Nuc("MH CtY");
    int32_t lPointer = kPassed;
    EXPECT_EQ(record->SeriesTracingPolicyLocal(lPointer), "n");
    EXPECT_EQ(lPointer, 0);
}

TEST_P(SeriesPolicies, LocalWalkIgnoresTheCallersTextFilter) {
    Utf8MarcRecordClass& r = Load({"a", true, {{"644", D("  $af$5MH")}, {"645", D("  $at$5MH")}}});
    r.Nuc("MH");
    for (Policy p : {&C::SeriesAnalysisPolicyLocal, &C::SeriesTracingPolicyLocal}) {
        // A search for a text no 64X field begins with, left saved.
        EXPECT_FALSE(r.FldFindFirst("130", "Other series"));
        int32_t lPointer = kPassed;
        EXPECT_NE((r.*p)(lPointer), "");
        EXPECT_NE(lPointer, kPassed);
    }
    // The walks leave their own searches saved.
    EXPECT_EQ(RecordTestAccess::State(r).FldSearchTags, "645");
    EXPECT_EQ(RecordTestAccess::State(r).FldSearchText, "");
    EXPECT_EQ(RecordTestAccess::State(r).SfdSearchCodes, "5");
}

TEST_P(SeriesPolicies, CursorComesBackWhenTheWalkIsInterrupted) {
    Utf8MarcRecordClass& r = Load({"a", true, {{"645", D("  $an$5DLC")}, {"645", D("  $at$5MH")}}});
    r.Nuc("MH");
    // A deleted field makes the local walk yield too.
    r.FldFindFirst("645", "");
    r.FldDelete();
    for (Policy p : {&C::SeriesTracingPolicyDlc, &C::SeriesTracingPolicyDpcc, &C::SeriesNumberingPatternDpcc,
                     &C::SeriesTracingPolicyLocal, &C::SeriesAnalysisPolicyLocal}) {
        r.FldFindFirst("645", "");  // the live one, on its $5
        r.SfdMoveFirst();
        r.SfdMoveNext();
        const int16_t iFld = r.FldPointer(), iSfd = r.SfdPointer();
        ASSERT_GE(iSfd, 0);
        platform::ScopedEventPump pump([] { throw RaisedError(5, "test", "stopped"); });
        int32_t lPointer = kPassed;
        EXPECT_THROW((r.*p)(lPointer), RaisedError);
        EXPECT_EQ(lPointer, kPassed);
        EXPECT_EQ(r.FldPointer(), iFld);
        EXPECT_EQ(r.SfdPointer(), iSfd);
    }
}

TEST_P(SeriesPolicies, AnswerIsTheWholeFirstCharacter) {
    // A letter of two octets in UTF-8 ("ø": the load decomposes "é"), the
    // combining acute (0xE2) before its letter in MARC-8.
    const std::string sE = GetParam() ? "\xC3\xB8" : "\xE2";
    Utf8MarcRecordClass& r = Load({"a", true, {{"645", D("  $a" + sE + "x$5DLC")}}});
    int32_t lPointer = kPassed;
    EXPECT_EQ(r.SeriesTracingPolicyDlc(lPointer), sE);
}

INSTANTIATE_TEST_SUITE_P(Sets, SeriesPolicies, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? std::string("Utf8") : std::string("Marc8"); });

}  // namespace
