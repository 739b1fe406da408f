#include "app/frm_trestle_main.h"

#include <cmath>
#include <exception>

#include "app/command_line.h"
#include "common/raised_error.h"
#include "common/runtime.h"
#include "platform/clock.h"

std::string UncaughtErrorText(int32_t number, const std::string& description) {
    std::string sNumber = rt::Str(number);
    // Object errors show their number in hexadecimal as well.
    if (number < 0) sNumber += " (" + rt::Hex(static_cast<uint32_t>(number)) + ")";
    return "Run-time error '" + sNumber + "':\r\n\r\n" + description;
}

frmTrestleMain::frmTrestleMain(TrestleView& view, std::string sArguments)
    : Common(view), MyCode(view, Common), view_(view), arguments_(std::move(sArguments)) {}

void frmTrestleMain::RunEvent(const std::function<void()>& handler) {
    if (ended_) return;
    ++eventDepth_;
    try {
        try {
            handler();
        } catch (const ProgramEnded&) {
            throw;
        } catch (const RaisedError& e) {
            view_.MessageBox(UncaughtErrorText(e.Number(), e.Description()), TrestleCommonRoutines::kProgramTitle);
            EndTheProgram(view_);
        } catch (const std::exception& e) {
            view_.MessageBox(UncaughtErrorText(ErrorNumber::InvalidProcedureCall, e.what()),
                             TrestleCommonRoutines::kProgramTitle);
            EndTheProgram(view_);
        }
    } catch (const ProgramEnded&) {
        ended_ = true;
        --eventDepth_;
        // An event that ran inside another one's yield ends that one too.
        if (eventDepth_ > 0) throw;
        return;
    }
    --eventDepth_;
}

void frmTrestleMain::Form_Load() {
    RunEvent([this] {
        view_.Frame2Top(0);
        view_.Frame2Left(0);
        Common.NewReader();
        view_.Left((view_.ScreenWidth() - view_.Width()) / 2);
        view_.Top((view_.ScreenHeight() - view_.Height()) / 2);
        view_.Caption(TrestleCommonRoutines::kProgramTitle);
        Common.IniFileName = TrestleCommonRoutines::kDefaultIniFileName;
        Common.IniFileName = TrestleCommandLine::SettingsFileName(arguments_, Common.IniFileName);
        Common.ReadConnectionSettings();
        Common.SetUpReader();
        MyCode.SetBoxText("");
        MyCode.ReadBehaviorSettings();
        view_.Timer1Interval(1000);
        view_.Show();
        view_.txtBarcodeSetFocus();
        view_.Caption(MyCode.ProgramDisplayTitle);
    });
}

void frmTrestleMain::Command1_Click() {
    RunEvent([this] {
        MyCode.ResetTime = platform::Now().AddSeconds(MyCode.SecondsBeforeReset);
        MyCode.CheckBarcode(view_.txtBarcodeText());
        view_.txtBarcodeSetFocus();
    });
}

namespace {
// Moments compared to the whole second, as the clock gives them.
int64_t WholeSeconds(rt::DateTime when) { return std::llround(when.Serial * 86400.0); }
}  // namespace

void frmTrestleMain::txtBarcode_Change() {
    RunEvent([this] {
        if (MyCode.IgnoreChange) return;
        if (TrestleColor::ShowsVerdict(view_.Frame2BackColor())) view_.Frame2BackColor(TrestleColor::ButtonFace);
    });
}

void frmTrestleMain::Timer1_Timer() {
    RunEvent([this] {
        if (WholeSeconds(MyCode.ResetTime) >= WholeSeconds(platform::Now())) return;
        if (TrestleColor::ShowsVerdict(view_.Frame2BackColor())) {
            view_.Frame2BackColor(TrestleColor::ButtonFace);
            MyCode.SetBoxText("");
        }
        view_.Timer1Enabled(false);
    });
}

void frmTrestleMain::Form_Resize() {
    RunEvent([this] {
        if (inResize_) return;
        inResize_ = true;
        struct Clear {
            bool& flag;
            ~Clear() { flag = false; }
        } clear{inResize_};
        if (view_.Width() < kMinimumWidth) view_.Width(kMinimumWidth);
        if (view_.Height() < kMinimumHeight) view_.Height(kMinimumHeight);
        view_.Frame2Height(view_.Height());
        view_.Frame2Width(view_.Width());
        view_.Frame1Left((view_.Width() - view_.Frame1Width()) / 2);
        view_.Frame1Top((view_.Height() - 500 - view_.Frame1Height()) / 2);
    });
}

void frmTrestleMain::Form_Unload() {
    RunEvent([this] { EndTheProgram(view_); });
}
