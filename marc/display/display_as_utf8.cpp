// The display members' way with a record held in an 8-bit set: a record has
// one reading, so they show its text as they show the same record loaded into
// UTF-8. The text is read into UTF-8 as the record's set gives it (Windows-1252
// by its chart; "M", "O" and "V" by the one MARC-8 reader, which every load
// into UTF-8 goes through), and the display runs on it with the record taken
// as UTF-8 for the call.
#include <string>

#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"

std::string Utf8MarcRecordClass::TextReadAsUtf8(const std::string& sText) {
    if (m.RecordIsUtf8) return sText;
    if (RecordHeldInWindows1252()) return display_text::Windows1252ToUtf8(sText);
    // Read as a field of the current field's tag is read on its way into
    // UTF-8 (an 880 reads marks in every set); the indicators are a copy.
    std::string sOut = sText;
    std::string sIndicators = FldInd();
    bool bChanged = false;
    bool bError = false;
    TranslateMarc2Utf8OneField(m.MarcRecordFormat, FldTag(), sIndicators, sOut, bChanged, bError);
    return sOut;
}

std::string Utf8MarcRecordClass::DisplayAsUtf8(const std::string& sText,
                                               const std::function<std::string(const std::string&)>& display) {
    std::string sUtf8 = TextReadAsUtf8(sText);
    // The record counts as UTF-8 for the time of the display only; its text
    // is not touched.
    struct Restore {
        Utf8MarcRecordState& state;
        bool bUtf8;
        std::string sSet;
        ~Restore() {
            state.RecordIsUtf8 = bUtf8;
            state.CharacterSetOut = sSet;
        }
    } restore{m, m.RecordIsUtf8, m.CharacterSetOut};
    m.RecordIsUtf8 = true;
    m.CharacterSetOut.assign(1, 'U');
    return display(sUtf8);
}
