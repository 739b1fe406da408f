#pragma once
// The exit-check window's events: start-up, the check button, the barcode
// box's changes, the reset timer, resizing and closing. Plain C++ behind the
// view interface; the Qt window (trestle_window.h) forwards its events here.

#include <functional>
#include <string>

#include "app/trestle_common_routines.h"
#include "app/trestle_my_code.h"
#include "app/trestle_view.h"

class frmTrestleMain {
public:
    // sArguments: the command line after the program's name (command_line.h).
    frmTrestleMain(TrestleView& view, std::string sArguments);

    TrestleCommonRoutines Common;
    TrestleMyCode MyCode;

    void Form_Load();
    void Command1_Click();
    void txtBarcode_Change();
    void Timer1_Timer();
    void Form_Resize();
    void Form_Unload();

    // True once the program has ended (a test's view returns from EndProgram).
    bool Ended() const { return ended_; }

    // The least outer size of the window, in twips.
    static constexpr double kMinimumWidth = 5340;
    static constexpr double kMinimumHeight = 3045;

private:
    // Runs one event handler: an error that nothing caught is shown with the
    // platform's error message and ends the program.
    void RunEvent(const std::function<void()>& handler);

    TrestleView& view_;
    std::string arguments_;
    bool inResize_ = false;
    int eventDepth_ = 0;
    bool ended_ = false;
};

// The platform's message for an error that nothing caught.
std::string UncaughtErrorText(int32_t number, const std::string& description);
