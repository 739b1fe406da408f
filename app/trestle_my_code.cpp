#include "app/trestle_my_code.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "common/ini.h"
#include "common/raised_error.h"
#include "db/library_reader.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"
#include "platform/sound.h"

namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), rt::IsAsciiDigit);
}

// A run of digits as its value's text: leading zeros dropped ("0" for zeros
// alone), so that numbers of any length compare by value as texts.
std::string NumberValueText(std::string_view digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? "0" : std::string(digits.substr(first));
}

// The numbers in a settings value: its runs of ASCII digits, whatever stands
// between them (commas, blanks, tabs, no-break spaces, brackets ...), each as
// its value's text, separated by single blanks; "" when it holds no digit.
std::string NumberList(std::string_view value) {
    std::string list;
    for (size_t i = 0; i < value.size();) {
        if (!rt::IsAsciiDigit(value[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < value.size() && rt::IsAsciiDigit(value[end])) ++end;
        if (!list.empty()) list += ' ';
        list += NumberValueText(value.substr(i, end - i));
        i = end;
    }
    return list;
}

}  // namespace

TrestleMyCode::TrestleMyCode(TrestleView& view, TrestleCommonRoutines& common)
    : PlaySound([](const std::string& sFile) { platform::PlaySoundSync(sFile); }), view_(view), common_(common) {}

void TrestleMyCode::ReadBehaviorSettings() {
    const std::string& sIni = common_.IniFileName;
    GoodSound = INI::ReadIniValueOrEmpty(sIni, "Behavior", "Good", 1000);
    BadSound = INI::ReadIniValueOrEmpty(sIni, "Behavior", "Bad", 1000);

    try {
        int16_t iSeconds = rt::CInt(rt::Val(INI::ReadIniValue(sIni, "Behavior", "SecondsBeforeReset", "2", 10)));
        SecondsBeforeReset = iSeconds > 30 ? int16_t{10} : iSeconds;
    } catch (const RaisedError&) {
        SecondsBeforeReset = 2;
    }

    std::string sGroups = INI::ReadIniValueOrEmpty(sIni, "Circulation", "PatronGroupsExcluded", 1000);
    // The application's record object is made here, on its first use, and
    // reads its own settings file then.
    if (!common_.MarcRecord) common_.MarcRecord = std::make_unique<Utf8MarcRecordClass>();
    // The group numbers are the runs of digits, whatever separates them: a
    // normal form would join numbers that a tab or a bracket keeps apart.
    sGroups = NumberList(sGroups);
    if (sGroups.empty()) common_.EndNotConfigured();
    PatronGroupsExcluded = " " + sGroups + " ";

    MessageBarcodeNotInVoyager =
        INI::ReadIniValue(sIni, "Texts", "MessageBarcodeNotInVoyager", "Barcode not in Voyager", 100);
    MessageItemIsNotCheckedOut =
        INI::ReadIniValue(sIni, "Texts", "MessageItemIsNotCheckedOut", "Item not checked out", 100);
    MessageItemChargedToACarrel = INI::ReadIniValue(sIni, "Texts", "MessageItemChargedToACarrel",
                                                    "Carrel charge; may not leave building", 100);
    MessageBarcodeNotInExpectedForm =
        INI::ReadIniValue(sIni, "Texts", "MessageBarcodeNotInExpectedForm", "Item barcode not acceptable", 100);
    MessageOkToLeaveTheBuilding =
        INI::ReadIniValue(sIni, "Texts", "MessageOkToLeaveTheBuilding", "Item OK to leave building", 100);
    ProgramDisplayTitle = INI::ReadIniValue(sIni, "Texts", "ProgramDisplayTitle", "Cleared for exit?", 500);
}

void TrestleMyCode::CheckBarcode(const std::string& sBarcode) {
    if (TrestleColor::ShowsVerdict(view_.Frame2BackColor())) view_.Frame2BackColor(TrestleColor::ButtonFace);
    if (sBarcode.empty()) {
        ShowVerdict(kNoBarcodeMessage, TrestleColor::Red, BadSound);
        return;
    }
    // A check that runs at one of the reader's yields (a second scan) replaces
    // the reader's current item under this one; this barcode is then looked up
    // again, so that its verdict is never another item's.
    Verdict verdict;
    int64_t iBegun;
    do {
        iBegun = ++checksBegun_;
        verdict = Decide(sBarcode);
    } while (iBegun != checksBegun_);
    ShowVerdict(verdict.text, verdict.color, verdict.sound);
}

TrestleMyCode::Verdict TrestleMyCode::Decide(const std::string& sBarcode) {
    // Any error of the look-up means the barcode is not acceptable: not all
    // digits, no connection, missing connection data, a failed query.
    try {
        if (!common_.Reader) RaiseRuntimeError(ErrorNumber::ObjectNotSet);
        std::string sItemBarcode = sBarcode;
        common_.Reader->RetrieveItemRecordByBarcode(sItemBarcode);
    } catch (const std::exception&) {
        return {MessageBarcodeNotInExpectedForm, TrestleColor::Red, BadSound};
    }

    // From here an error is not caught: it ends the program with its message.
    VgerReaderClass7& reader = *common_.Reader;
    std::string sItemId = reader.ItemRecordNumber();
    if (sItemId.empty()) return {MessageBarcodeNotInVoyager, TrestleColor::Red, BadSound};
    // The number goes into the statement without quotes, so it must be digits.
    for (char c : sItemId)
        if (!rt::IsAsciiDigit(c)) RaiseRuntimeError(ErrorNumber::TypeMismatch);
    std::string sSql =
        "SELECT PATRON_GROUP_ID FROM " + reader.TableNamePrefix() + "CIRC_TRANSACTIONS WHERE ITEM_ID = " + sItemId;
    reader.ExecuteSQL(sSql, common_.CirculationResultSet);
    if (!reader.GetNextRow(common_.CirculationResultSet))
        return {MessageItemIsNotCheckedOut, TrestleColor::Red, BadSound};
    // A group number compares by its value, as the excluded list holds them.
    std::string sGroup = reader.CurrentRow(1, -1);
    if (IsDigits(sGroup)) sGroup = NumberValueText(sGroup);
    if (rt::InStr(PatronGroupsExcluded, " " + sGroup + " ") > 0)
        return {MessageItemChargedToACarrel, TrestleColor::Red, BadSound};
    return {MessageOkToLeaveTheBuilding, TrestleColor::Green, GoodSound};
}

void TrestleMyCode::SetBoxText(const std::string& sText) {
    IgnoreChange = true;
    view_.txtBarcodeText(sText);
    IgnoreChange = false;
}

void TrestleMyCode::ShowVerdict(const std::string& sText, int32_t lColor, const std::string& sSoundFile) {
    SetBoxText(sText);
    view_.Frame2BackColor(lColor);
    platform::DoEvents();
    view_.txtBarcodeSelStart(0);
    view_.txtBarcodeSelLength(static_cast<int32_t>(sText.size()));
    view_.Timer1Enabled(true);
    if (!sSoundFile.empty()) PlaySound(sSoundFile);
}
