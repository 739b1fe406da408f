// The exit check without a display: start-up, every verdict through the real
// reader, the ODBC driver manager and a SQLite library database, the reset
// timer on a test clock, typing during a verdict, nested checks at the yields,
// resizing and closing.

#include "app/frm_trestle_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "app/fake_trestle_view.h"
#include "common/test_support.h"
#include "db/test_database.h"
#include "platform/clock.h"
#include "platform/events.h"

namespace {

const std::string kNotConfigured = "This program is not properly configured.";
const std::string kTitle = "Cleared for exit?";
const std::string kOk = "Item OK to leave building";
const std::string kCarrel = "Carrel charge; may not leave building";
const std::string kNotCheckedOut = "Item not checked out";
const std::string kNotInVoyager = "Barcode not in Voyager";
const std::string kNotAcceptable = "Item barcode not acceptable";

std::string FixtureSql() { return std::string(EXITDESK_SOURCE_DIR) + "/testdata/exit_check_items.sql"; }

// "uzaeexitdesk" with the length 8 hidden at the fifth place: the password "exitdesk".
const std::string kScrambledPassword = "122 117 102 96 78 96 125 100 121 95 106 110 112";

std::string SettingsText(const std::string& dsn, int secondsBeforeReset = 2, const std::string& extra = "") {
    return "[Connection]\r\nDSN=" + dsn + "\r\nTNP=main\r\n[Read]\r\nUID=circread\r\nPWD=" + kScrambledPassword +
           "\r\n[Behavior]\r\nGood=good.wav\r\nBad=bad.wav\r\nSecondsBeforeReset=" + std::to_string(secondsBeforeReset) +
           "\r\n[Circulation]\r\nPatronGroupsExcluded=1,5, 15\r\n" + extra;
}

// A settings folder, the library database, a view and the window's events.
class ExitCheck : public ::testing::Test {
protected:
    testsupport::TempSettingsFolder settings;
    testsupport::LibraryTestDatabase database{{FixtureSql()}};
    FakeTrestleView view;
    std::unique_ptr<frmTrestleMain> form;
    std::vector<std::string> sounds;

    void WriteSettings(const std::string& text, const std::string& name = "ClearedForExit.INI") {
        testsupport::WriteFile(settings.File(name), text);
    }
    void Load(const std::string& arguments = "") {
        form = std::make_unique<frmTrestleMain>(view, arguments);
        view.Form = form.get();
        form->MyCode.PlaySound = [this](const std::string& file) { sounds.push_back(file); };
        form->Form_Load();
    }
    void LoadWith(const std::string& text) {
        WriteSettings(text);
        Load();
    }
};

TEST_F(ExitCheck, StartUpRunsItsStepsInOrder) {
    // The first reader is made before the window is centred.
    struct ObservingView : FakeTrestleView {
        bool readerAtCentring = false;
        void Left(double v) override {
            readerAtCentring = Form->Common.ReaderExists;
            FakeTrestleView::Left(v);
        }
    } observing;
    WriteSettings(SettingsText(database.Dsn(), 7, "[Texts]\r\nProgramDisplayTitle=Exit desk 2\r\n"));
    frmTrestleMain main(observing, "");
    observing.Form = &main;
    main.Form_Load();

    const std::vector<std::string> expected = {
        "Frame2Top 0",       "Frame2Left 0",    "Left 6015",        "Top 5737.5", "Caption Cleared for exit?",
        "txtBarcode ",       "Timer1Interval 1000", "Show",         "SetFocus",   "Caption Exit desk 2",
    };
    EXPECT_EQ(observing.log, expected);
    EXPECT_TRUE(observing.readerAtCentring);
    EXPECT_FALSE(main.Ended());
    EXPECT_TRUE(observing.messages.empty());
    EXPECT_EQ(main.Common.IniFileName, "ClearedForExit.INI");
    EXPECT_EQ(main.Common.ConfiguredDsn, database.Dsn());
    EXPECT_EQ(main.Common.ConfiguredTableNamePrefix, "main");
    EXPECT_EQ(main.Common.ConfiguredUid, "circread");
    EXPECT_EQ(main.Common.ConfiguredPwd, "exitdesk");
    EXPECT_EQ(main.Common.CirculationResultSet, 0);
    EXPECT_EQ(main.MyCode.GoodSound, "good.wav");
    EXPECT_EQ(main.MyCode.BadSound, "bad.wav");
    EXPECT_EQ(main.MyCode.SecondsBeforeReset, 7);
    EXPECT_EQ(main.MyCode.PatronGroupsExcluded, " 1 5 15 ");
    EXPECT_EQ(main.MyCode.MessageOkToLeaveTheBuilding, kOk);
    EXPECT_EQ(main.MyCode.MessageItemChargedToACarrel, kCarrel);
    EXPECT_EQ(main.MyCode.MessageItemIsNotCheckedOut, kNotCheckedOut);
    EXPECT_EQ(main.MyCode.MessageBarcodeNotInVoyager, kNotInVoyager);
    EXPECT_EQ(main.MyCode.MessageBarcodeNotInExpectedForm, kNotAcceptable);
}

TEST_F(ExitCheck, CommandLineNamesTheSettingsFile) {
    WriteSettings(SettingsText(database.Dsn(), 2, "[Texts]\r\nProgramDisplayTitle=Front desk\r\n"), "front.ini");
    Load("-i \"front.ini\" -q");
    EXPECT_EQ(form->Common.IniFileName, "front.ini");
    EXPECT_EQ(view.caption, "Front desk");
    EXPECT_TRUE(view.shown);
}

TEST_F(ExitCheck, EachMissingSettingGivesTheConfigurationMessage) {
    const std::string groups = "[Circulation]\r\nPatronGroupsExcluded=5\r\n";
    auto settingsWith = [&](const std::string& dsn, const std::string& tnp, const std::string& uid,
                            const std::string& pwd, const std::string& circulation) {
        return "[Connection]\r\n" + dsn + "\r\n" + tnp + "\r\n[Read]\r\n" + uid + "\r\n" + pwd + "\r\n" + circulation;
    };
    const std::string dsn = "DSN=" + database.Dsn(), tnp = "TNP=main", uid = "UID=circread",
                      pwd = "PWD=" + kScrambledPassword;
    struct Case {
        std::string what;
        std::optional<std::string> file;  // none: no settings file at all
    };
    const std::vector<Case> cases = {
        {"no settings file", std::nullopt},
        {"no DSN", settingsWith("", tnp, uid, pwd, groups)},
        {"empty DSN", settingsWith("DSN=", tnp, uid, pwd, groups)},
        {"no TNP", settingsWith(dsn, "", uid, pwd, groups)},
        {"no UID", settingsWith(dsn, tnp, "", pwd, groups)},
        {"no PWD", settingsWith(dsn, tnp, uid, "", groups)},
        {"PWD of fewer than five numbers", settingsWith(dsn, tnp, uid, "PWD=120 121 122 123", groups)},
        {"PWD of length 0", settingsWith(dsn, tnp, uid, "PWD=120 121 122 123 70 99", groups)},
        {"PWD of a negative length", settingsWith(dsn, tnp, uid, "PWD=120 121 122 123 60 99", groups)},
        {"PWD with a code below 0", settingsWith(dsn, tnp, uid, "PWD=3 121 122 123 72", groups)},
        {"PWD with a code above 255", settingsWith(dsn, tnp, uid, "PWD=300 121 122 123 72", groups)},
        {"PWD beyond 16 bits", settingsWith(dsn, tnp, uid, "PWD=120 121 122 123 99999", groups)},
        {"no excluded groups", settingsWith(dsn, tnp, uid, pwd, "")},
        {"empty excluded groups", settingsWith(dsn, tnp, uid, pwd, "[Circulation]\r\nPatronGroupsExcluded=\r\n")},
        {"only commas and blanks", settingsWith(dsn, tnp, uid, pwd, "[Circulation]\r\nPatronGroupsExcluded= , ,,\r\n")},
        {"excluded groups without a digit",
         settingsWith(dsn, tnp, uid, pwd, "[Circulation]\r\nPatronGroupsExcluded=carrels|none\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(settings.File("ClearedForExit.INI"));
        if (c.file) WriteSettings(*c.file);
        FakeTrestleView fresh;
        frmTrestleMain main(fresh, "");
        fresh.Form = &main;
        main.Form_Load();
        ASSERT_EQ(fresh.messages.size(), 1u);
        EXPECT_EQ(fresh.messages[0].first, kNotConfigured);
        EXPECT_EQ(fresh.messages[0].second, kTitle);
        EXPECT_TRUE(fresh.ended);
        EXPECT_TRUE(main.Ended());
        EXPECT_FALSE(fresh.shown);
        // Nothing after the message: the box is not emptied and the timer keeps its design-time interval.
        EXPECT_EQ(fresh.log.back(), "End");
        EXPECT_EQ(fresh.timerInterval, 0);
    }
}

TEST_F(ExitCheck, BehaviourSettings) {
    struct Case {
        std::string line;
        int16_t seconds;
    };
    const Case cases[] = {
        {"", 2},    {"SecondsBeforeReset=45", 10}, {"SecondsBeforeReset=31", 10}, {"SecondsBeforeReset=30", 30},
        {"SecondsBeforeReset=1", 1}, {"SecondsBeforeReset=0", 0}, {"SecondsBeforeReset=", 0},
        {"SecondsBeforeReset=soon", 0}, {"SecondsBeforeReset=-3", -3}, {"SecondsBeforeReset=99999", 2},
        {"SecondsBeforeReset=2.5", 2}, {"SecondsBeforeReset=3.5 s", 4},
    };
    const std::string base = "[Connection]\r\nDSN=" + database.Dsn() + "\r\nTNP=main\r\n[Read]\r\nUID=u\r\nPWD=p\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        WriteSettings(base + "[Behavior]\r\n" + c.line + "\r\n[Circulation]\r\nPatronGroupsExcluded=3,7, 12 ,\r\n" +
                      "[Texts]\r\nMessageItemIsNotCheckedOut=\r\nMessageBarcodeNotInVoyager=Nicht im System\r\n");
        FakeTrestleView fresh;
        frmTrestleMain main(fresh, "");
        fresh.Form = &main;
        main.Form_Load();
        ASSERT_FALSE(main.Ended());
        EXPECT_EQ(main.MyCode.SecondsBeforeReset, c.seconds);
        EXPECT_EQ(main.MyCode.PatronGroupsExcluded, " 3 7 12 ");
        EXPECT_EQ(main.MyCode.GoodSound, "");
        EXPECT_EQ(main.MyCode.MessageItemIsNotCheckedOut, "");
        EXPECT_EQ(main.MyCode.MessageBarcodeNotInVoyager, "Nicht im System");
        EXPECT_EQ(main.MyCode.ProgramDisplayTitle, kTitle);
        EXPECT_EQ(main.Common.ConfiguredPwd, "p");  // a password with no blank is used as it is
    }
}

TEST_F(ExitCheck, EveryVerdict) {
    LoadWith(SettingsText(database.Dsn()));
    ASSERT_FALSE(form->Ended());
    struct Case {
        std::string scanned;
        std::string text;
        int32_t color;
        std::string sound;
    };
    const Case cases[] = {
        {"", "No barcode supplied", TrestleColor::Red, "bad.wav"},
        {"3123400000001A", kNotAcceptable, TrestleColor::Red, "bad.wav"},
        {"3123400 0000016", kNotAcceptable, TrestleColor::Red, "bad.wav"},
        {"99999999999999", kNotInVoyager, TrestleColor::Red, "bad.wav"},
        {"31234000000032", kNotCheckedOut, TrestleColor::Red, "bad.wav"},
        {"31234000000057", kNotCheckedOut, TrestleColor::Red, "bad.wav"},   // a charge without a group
        {"31234000000024", kCarrel, TrestleColor::Red, "bad.wav"},          // group 5
        {"31234000000065", kCarrel, TrestleColor::Red, "bad.wav"},          // group 15
        {"31234000000016", kOk, TrestleColor::Green, "good.wav"},           // group 3
        {"  31234000000016 ", kOk, TrestleColor::Green, "good.wav"},        // the reader trims the blanks
        {"31234000000990", kOk, TrestleColor::Green, "good.wav"},           // the item's earlier barcode
        {"31234000000040", kOk, TrestleColor::Green, "good.wav"},           // group 11 while 1 is excluded
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("scanned \"" + c.scanned + "\"");
        // The previous verdict is selected, so the scan replaces it.
        view.Scan(c.scanned);
        EXPECT_EQ(view.text, c.text);
        EXPECT_EQ(view.frame2Color, c.color);
        ASSERT_FALSE(sounds.empty());
        EXPECT_EQ(sounds.back(), c.sound);
        EXPECT_EQ(view.selStart, 0);
        EXPECT_EQ(view.selLength, static_cast<int32_t>(c.text.size()));
        EXPECT_TRUE(view.timerEnabled);
        EXPECT_TRUE(view.focused);
        EXPECT_TRUE(view.messages.empty());
    }
    EXPECT_EQ(sounds.size(), std::size(cases));
    // The circulation query made its result set once and reuses it.
    EXPECT_GT(form->Common.CirculationResultSet, 0);
}

// The excluded groups are the runs of digits in the value, whatever stands
// between them, each compared by its value: leading zeros do not count, and a
// run of any length is compared without overflow.
TEST_F(ExitCheck, ExcludedGroupsAreTheNumbersInTheValue) {
    struct Case {
        std::string value;
        std::string list;
        std::set<int> carrel;  // of the groups 3, 5, 11 and 15 that the items are charged to
    };
    const Case cases[] = {
        {"5\t15", " 5 15 ", {5, 15}},
        {"5\xC2\xA0" "15", " 5 15 ", {5, 15}},  // no-break space in UTF-8
        {"5\xA0" "15", " 5 15 ", {5, 15}},      // and in an 8-bit set
        {"5|15", " 5 15 ", {5, 15}},
        {"5'15", " 5 15 ", {5, 15}},
        {"(5)[15]", " 5 15 ", {5, 15}},
        {"{5}<15>", " 5 15 ", {5, 15}},
        {"0005;015", " 5 15 ", {5, 15}},
        {"1,5, 15", " 1 5 15 ", {5, 15}},  // 11 is not 1
        {"11 000000000000000000000000000000003 99999999999999999999999999999",
         " 11 3 99999999999999999999999999999 ", {3, 11}},
        {"group 15, not group 0", " 15 0 ", {15}},
    };
    const std::pair<int, std::string> items[] = {
        {3, "31234000000016"}, {5, "31234000000024"}, {11, "31234000000040"}, {15, "31234000000065"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        LoadWith("[Connection]\r\nDSN=" + database.Dsn() + "\r\nTNP=main\r\n[Read]\r\nUID=u\r\nPWD=p\r\n" +
                 "[Circulation]\r\nPatronGroupsExcluded=" + c.value + "\r\n");
        ASSERT_FALSE(form->Ended());
        EXPECT_EQ(form->MyCode.PatronGroupsExcluded, c.list);
        for (const auto& [group, barcode] : items) {
            SCOPED_TRACE(group);
            view.Scan(barcode);
            EXPECT_EQ(view.text, c.carrel.count(group) ? kCarrel : kOk);
        }
    }
}

// The price step fails the look-up when the base currency has more than nine
// decimals, so the verdict is red; 0 or fewer decimals keep the price as read.
TEST_F(ExitCheck, CurrencyDecimalsAboveNineGiveTheRedVerdict) {
    struct Case {
        std::string decimals;
        std::string text;
        int32_t color;
    };
    const Case cases[] = {
        {"2", kOk, TrestleColor::Green},
        {"9", kOk, TrestleColor::Green},
        {"0", kOk, TrestleColor::Green},
        {"-4", kOk, TrestleColor::Green},
        {"10", kNotAcceptable, TrestleColor::Red},
        {"30000000", kNotAcceptable, TrestleColor::Red},
        {"3000000000", kNotAcceptable, TrestleColor::Red},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decimals);
        database.Execute("DELETE FROM BASE_CURRENCY; INSERT INTO BASE_CURRENCY VALUES ('X', 'XXX', 'Xs', " +
                         c.decimals + ", '.')");
        LoadWith(SettingsText(database.Dsn()));
        view.Scan("31234000000016");  // priced 1250, charged to group 3
        EXPECT_EQ(view.text, c.text);
        EXPECT_EQ(view.frame2Color, c.color);
        EXPECT_TRUE(view.messages.empty());
    }
}

// The desk only reads: a configured database file that is missing stays
// missing, and the look-up fails.
TEST_F(ExitCheck, AMissingDatabaseFileStaysMissingAndGivesTheRedVerdict) {
    LoadWith(SettingsText(database.Dsn()));
    std::filesystem::remove(database.DatabasePath());
    view.Scan("31234000000016");
    EXPECT_EQ(view.text, kNotAcceptable);
    EXPECT_EQ(view.frame2Color, TrestleColor::Red);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(database.DatabasePath()));
}

TEST_F(ExitCheck, EmptySoundNamesPlayNothing) {
    WriteSettings("[Connection]\r\nDSN=" + database.Dsn() + "\r\nTNP=main\r\n[Read]\r\nUID=u\r\nPWD=p\r\n" +
                  "[Circulation]\r\nPatronGroupsExcluded=5\r\n");
    Load();
    view.Scan("31234000000016");
    view.Scan("31234000000032");
    EXPECT_EQ(view.text, kNotCheckedOut);
    EXPECT_TRUE(sounds.empty());
}

TEST_F(ExitCheck, ALookUpThatCannotConnectGivesTheRedVerdict) {
    LoadWith(SettingsText("NO_SUCH_DATA_SOURCE"));
    view.Scan("31234000000016");
    EXPECT_EQ(view.text, kNotAcceptable);
    EXPECT_EQ(view.frame2Color, TrestleColor::Red);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(form->Ended());
}

TEST_F(ExitCheck, AnErrorAfterTheLookUpIsShownAndEndsTheProgram) {
    LoadWith(SettingsText(database.Dsn()));
    view.Scan("31234000000016");
    ASSERT_EQ(view.frame2Color, TrestleColor::Green);
    database.Execute("DROP TABLE CIRC_TRANSACTIONS");
    view.Scan("31234000000016");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first.rfind("Run-time error '", 0), 0u) << view.messages[0].first;
    EXPECT_EQ(view.messages[0].second, kTitle);
    EXPECT_TRUE(view.ended);
    EXPECT_NE(view.frame2Color, TrestleColor::Green);
    // After the end no event runs.
    view.Scan("31234000000016");
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(ExitCheck, ResetTimerClearsTheVerdictAfterTheDisplayTime) {
    platform::ManualClock clock(rt::DateTime::FromParts(2024, 3, 1, 10, 0, 0));
    LoadWith(SettingsText(database.Dsn(), 2));
    // The timer runs from start-up; its first tick, with no verdict pending, stops it.
    EXPECT_TRUE(view.timerEnabled);
    clock.Advance(1);
    form->Timer1_Timer();
    EXPECT_FALSE(view.timerEnabled);

    view.Scan("31234000000016");
    ASSERT_EQ(view.frame2Color, TrestleColor::Green);
    for (int second = 1; second <= 2; ++second) {
        clock.Advance(1);
        form->Timer1_Timer();
        EXPECT_EQ(view.frame2Color, TrestleColor::Green) << second;
        EXPECT_EQ(view.text, kOk);
        EXPECT_TRUE(view.timerEnabled);
    }
    clock.Advance(1);
    form->Timer1_Timer();
    EXPECT_EQ(view.frame2Color, TrestleColor::ButtonFace);
    EXPECT_EQ(view.text, "");
    EXPECT_FALSE(view.timerEnabled);

    // A display time of 0: the verdict goes at the first tick.
    form->MyCode.SecondsBeforeReset = 0;
    view.Scan("31234000000032");
    ASSERT_EQ(view.frame2Color, TrestleColor::Red);
    clock.Advance(1);
    form->Timer1_Timer();
    EXPECT_EQ(view.frame2Color, TrestleColor::ButtonFace);
    EXPECT_EQ(view.text, "");
}

TEST_F(ExitCheck, TypingDuringAVerdictClearsTheColourAndKeepsTheText) {
    platform::ManualClock clock(rt::DateTime::FromParts(2024, 3, 1, 10, 0, 0));
    LoadWith(SettingsText(database.Dsn(), 2));
    view.Scan("31234000000024");
    ASSERT_EQ(view.frame2Color, TrestleColor::Red);
    view.Type("312");
    EXPECT_EQ(view.frame2Color, TrestleColor::ButtonFace);
    EXPECT_EQ(view.text, "312");
    // The tick after the reset time leaves the new scan alone and stops.
    clock.Advance(3);
    form->Timer1_Timer();
    EXPECT_EQ(view.text, "312");
    EXPECT_FALSE(view.timerEnabled);
    // The rest of the scan and Enter check it.
    view.Scan("34000000016");
    EXPECT_EQ(view.text, kOk);
}

// Runs a scan at one yield of the event loop that the given condition picks.
class ScanAtYield {
public:
    ScanAtYield(FakeTrestleView& view, std::function<bool()> when, std::string barcode)
        : pump_([this, &view, when = std::move(when), barcode = std::move(barcode)] {
              if (done_ || !armed_ || !when()) return;
              done_ = true;
              // The staff member selects the box's text and scans the next item.
              view.selStart = 0;
              view.selLength = static_cast<int32_t>(view.text.size());
              view.Scan(barcode);
          }) {}
    void Arm() { armed_ = true; }
    bool Done() const { return done_; }

private:
    bool armed_ = false;
    bool done_ = false;
    platform::ScopedEventPump pump_;
};

TEST_F(ExitCheck, ANestedCheckDuringTheLookUpLeavesTheOuterVerdictLast) {
    LoadWith(SettingsText(database.Dsn()));
    view.Scan("31234000000032");  // connects and warms the reader
    ScanAtYield nested(view, [] { return true; }, "31234000000016");
    view.txtBarcodeText("");
    nested.Arm();
    sounds.clear();
    view.Scan("31234000000024");
    ASSERT_TRUE(nested.Done());
    // The nested scan (an item that may leave) showed its verdict first; the
    // outer one, a carrel charge, comes last and stays: the outer item is
    // looked up again, because the nested check replaced the reader's item.
    EXPECT_EQ(view.text, kCarrel);
    EXPECT_EQ(view.frame2Color, TrestleColor::Red);
    EXPECT_EQ(sounds, (std::vector<std::string>{"good.wav", "bad.wav"}));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ExitCheck, ANestedCheckAtTheVerdictsYieldStays) {
    LoadWith(SettingsText(database.Dsn()));
    ScanAtYield nested(view, [this] { return view.frame2Color != TrestleColor::ButtonFace; }, "31234000000024");
    nested.Arm();
    view.Scan("31234000000016");
    ASSERT_TRUE(nested.Done());
    // The outer verdict was painted, the nested check ran to its end, and the
    // outer one then only adds its selection length, the timer and its sound.
    EXPECT_EQ(view.text, kCarrel);
    EXPECT_EQ(view.frame2Color, TrestleColor::Red);
    EXPECT_EQ(view.selStart, 0);
    EXPECT_EQ(view.selLength, static_cast<int32_t>(kOk.size()));
    EXPECT_TRUE(view.timerEnabled);
    EXPECT_EQ(sounds, (std::vector<std::string>{"bad.wav", "good.wav"}));
}

TEST_F(ExitCheck, ResizeKeepsTheLeastSizeAndCentresTheInnerPanel) {
    LoadWith(SettingsText(database.Dsn()));
    view.resizeOnSize = true;  // each size change raises the resize event again, as the window does
    struct Case {
        double width, height, expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {1000, 800, 5340, 3045},
        {5339, 3044, 5340, 3045},
        {5340, 3045, 5340, 3045},
        {12001, 9000, 12001, 9000},
        {7170, 2925, 7170, 3045},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        view.width = c.width;
        view.height = c.height;
        view.log.clear();
        form->Form_Resize();
        EXPECT_EQ(view.width, c.expectedWidth);
        EXPECT_EQ(view.height, c.expectedHeight);
        EXPECT_EQ(view.frame2Width, c.expectedWidth);
        EXPECT_EQ(view.frame2Height, c.expectedHeight);
        // Centred, 250 twips above the middle, without rounding.
        EXPECT_DOUBLE_EQ(view.frame1Left, (c.expectedWidth - 6495) / 2);
        EXPECT_DOUBLE_EQ(view.frame1Top, (c.expectedHeight - 500 - 2175) / 2);
        // The nested resize events did nothing: each size was set at most once.
        EXPECT_LE(std::count_if(view.log.begin(), view.log.end(),
                                [](const std::string& s) { return s.rfind("Width", 0) == 0; }),
                  1);
    }
}

TEST_F(ExitCheck, ClosingEndsTheProgramEvenDuringAVerdict) {
    LoadWith(SettingsText(database.Dsn()));
    view.Scan("31234000000016");
    ASSERT_EQ(view.frame2Color, TrestleColor::Green);
    form->Form_Unload();
    EXPECT_TRUE(view.ended);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(form->Ended());
}

TEST(UncaughtError, TextGivesTheNumberAndTheDescription) {
    EXPECT_EQ(UncaughtErrorText(6, "Overflow"), "Run-time error '6':\r\n\r\nOverflow");
    EXPECT_EQ(UncaughtErrorText(static_cast<int32_t>(0x80040000u + 1061), "No TableNamePrefix supplied"),
              "Run-time error '-2147220443 (80040425)':\r\n\r\nNo TableNamePrefix supplied");
}

}  // namespace
