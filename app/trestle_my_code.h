#pragma once
// The exit check's behaviour and text settings, the check of one barcode and
// the display of its verdict.

#include <cstdint>
#include <functional>
#include <string>

#include "app/trestle_common_routines.h"
#include "app/trestle_view.h"
#include "common/runtime.h"

class TrestleMyCode {
public:
    TrestleMyCode(TrestleView& view, TrestleCommonRoutines& common);

    std::string GoodSound;
    std::string BadSound;
    int16_t SecondsBeforeReset = 0;
    // The excluded patron groups, each between two blanks and without leading zeros (" 3 7 12 ").
    std::string PatronGroupsExcluded;
    std::string MessageBarcodeNotInVoyager;
    std::string MessageItemIsNotCheckedOut;
    std::string MessageItemChargedToACarrel;
    std::string MessageBarcodeNotInExpectedForm;
    std::string MessageOkToLeaveTheBuilding;
    std::string ProgramDisplayTitle;
    // True while the program itself writes the barcode box.
    bool IgnoreChange = false;
    // After this moment a verdict is cleared; zero before the first check.
    rt::DateTime ResetTime{};

    // Plays a sound file synchronously; the platform's player unless a test replaces it.
    std::function<void(const std::string&)> PlaySound;

    // Reads the sounds, the display time, the excluded groups, the texts and the title.
    void ReadBehaviorSettings();
    // Checks one scanned barcode and shows exactly one verdict.
    void CheckBarcode(const std::string& sBarcode);
    // Shows a verdict: text, panel colour, a yield, selection, timer, sound.
    void ShowVerdict(const std::string& sText, int32_t lColor, const std::string& sSoundFile);

    // Writes the barcode box with IgnoreChange set, so that its change handler does nothing.
    void SetBoxText(const std::string& sText);

    static constexpr const char* kNoBarcodeMessage = "No barcode supplied";

private:
    struct Verdict {
        std::string text;
        int32_t color = 0;
        std::string sound;
    };
    // The verdict for a barcode that is not empty: the look-up and the circulation query.
    Verdict Decide(const std::string& sBarcode);

    // Counts the checks begun, so that a check can tell that another one ran at a yield.
    int64_t checksBegun_ = 0;
    TrestleView& view_;
    TrestleCommonRoutines& common_;
};
