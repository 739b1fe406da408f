// The demo library that the README's run command makes: every demo barcode
// gives the verdict that demo-barcodes.txt names, through the settings files,
// the data source and the scrambled password that the generator wrote; and
// with the database file gone, the red verdict.

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/fake_trestle_view.h"
#include "app/frm_trestle_main.h"
#include "db/test_database.h"

namespace {

std::string DriverLibrary() {
    std::ifstream in(testsupport::OdbcSetupFolder() + "/odbcinst.ini");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Driver=", 0) == 0) return line.substr(7);
    return "";
}

TEST(DemoLibrary, EachDemoBarcodeGivesItsVerdict) {
    const std::string folder = std::string(EXITDESK_BINARY_DIR) + "/testdb/demo-" + std::to_string(getpid());
    const std::string command = "python3 " + std::string(EXITDESK_SOURCE_DIR) + "/tools/demo/make_demo.py --schema " +
                                testsupport::LibrarySchemaFile() + " --driver " + DriverLibrary() + " --extension " +
                                testsupport::CompatExtensionFile() + " --out " + folder + " --items 400 --normal-forms " + EXITDESK_NORMAL_FORMS + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    // As the test database does: the driver manager's installer library stays
    // loaded, so that what it never frees keeps a name in leak reports.
    static void* const installer = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    (void)installer;
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder + "/odbc.ini").c_str(), 1);
    setenv("EXITDESK_SETTINGS_DIR", (folder + "/settings").c_str(), 1);

    FakeTrestleView view;
    frmTrestleMain form(view, "");
    view.Form = &form;
    std::vector<std::string> sounds;
    form.MyCode.PlaySound = [&](const std::string& file) { sounds.push_back(file); };
    form.Form_Load();
    ASSERT_FALSE(form.Ended());
    EXPECT_EQ(view.caption, "Cleared for exit? (demo library)");
    EXPECT_EQ(form.Common.ConfiguredPwd, "exitdesk");

    const std::vector<std::string> verdictTexts = {
        "Item OK to leave building", "Carrel charge; may not leave building", "Item not checked out",
        "Barcode not in Voyager", "Item barcode not acceptable", "No barcode supplied"};
    std::ifstream list(folder + "/demo-barcodes.txt");
    int checked = 0, green = 0;
    std::string firstGreen;
    for (std::string line; std::getline(list, line);) {
        std::istringstream words(line);
        std::string barcode, color;
        words >> barcode >> color;
        if (color != "green" && color != "red") continue;
        SCOPED_TRACE(line);
        if (barcode == "(empty)") {
            view.txtBarcodeText("");  // the box emptied, then Enter
            form.Command1_Click();
        } else {
            view.Scan(barcode);
        }
        EXPECT_EQ(view.frame2Color, color == "green" ? TrestleColor::Green : TrestleColor::Red);
        EXPECT_EQ(sounds.back(), folder + (color == "green" ? "/sounds/good.wav" : "/sounds/bad.wav"));
        for (const std::string& text : verdictTexts) {
            if (line.find(text) != std::string::npos) {
                EXPECT_EQ(view.text, text);
            }
        }
        ++checked;
        green += color == "green";
        if (color == "green" && firstGreen.empty()) firstGreen = barcode;
    }
    EXPECT_GE(checked, 15);
    EXPECT_GE(green, 3);
    EXPECT_TRUE(std::filesystem::file_size(folder + "/sounds/good.wav") > 1000);

    // The data source never makes a database: with the file gone, a green
    // barcode gives the red verdict and the file stays missing.
    std::filesystem::remove(folder + "/library.db");
    FakeTrestleView second;
    frmTrestleMain without(second, "");
    second.Form = &without;
    without.MyCode.PlaySound = [](const std::string&) {};
    without.Form_Load();
    ASSERT_FALSE(without.Ended());
    second.Scan(firstGreen);
    EXPECT_EQ(second.text, "Item barcode not acceptable");
    EXPECT_EQ(second.frame2Color, TrestleColor::Red);
    EXPECT_FALSE(std::filesystem::exists(folder + "/library.db"));
    std::filesystem::remove_all(folder);
}

}  // namespace
