// Runs arbitrary $d and $y texts through the date keys, in a UTF-8 record
// and in a MARC-8 record, and a field built from them through the field
// sorting form. A name-date key is always digits with one era letter; no
// text raises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "marc/record/marc_record.h"

namespace {

void Check(bool bHolds) {
    if (!bHolds) std::abort();
}

// Digits, one "C" or "D", digits: 13 to 26 characters.
bool IsNameDateKey(const std::string& key) {
    if (key.size() < 13 || key.size() > 26) return false;
    int eras = 0;
    for (char c : key) {
        if (c == 'C' || c == 'D')
            ++eras;
        else if (c < '0' || c > '9')
            return false;
    }
    return eras == 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;
    static const char* const kTags[] = {"100", "600", "110", "111", "650", "651", "245"};
    FuzzInput in(data, size);
    const uint8_t choice = in.Byte();
    Utf8MarcRecordClass& record = (choice & 0x80) ? marc8 : utf8;
    const std::string sD = in.Text(2048);
    const std::string sY = in.Text(2048);

    Check(IsNameDateKey(record.SfdSortingFormD(sD)));
    record.SfdSortingFormY(sY);
    record.SfdSortingFormY(sD);
    record.SfdSortingFormD(sY);
    record.SfdSortingFormDExtension(sD);

    // A heading built from the texts; the delimiter stays out of them.
    std::string d = sD;
    std::string y = sY;
    for (std::string* s : {&d, &y})
        for (char& c : *s)
            if (c == '\x1F' || c == '\x1E' || c == '\x1D') c = ' ';
    record.NewRecord("a", "m");
    record.FldAdd(kTags[(choice & 0x7F) % (sizeof kTags / sizeof kTags[0])], "10",
                  "\x1F" "aSmith, J.\x1F" "q(J.)\x1F" "cSir\x1F" "d" + d + "\x1F" "y" + y + "\x1F" "tT\x1F" "kK",
                  false);
    record.SfdMoveFirst();
    const int16_t iCursor = record.SfdPointer();
    record.FldSortingForm((choice & 1) != 0);
    Check(record.SfdPointer() == iCursor);
    return 0;
}
