// Edits the subfields of a record's fields with operations taken from the
// input: splitting through field adds and rewrites, adds, insertions,
// changes, deletions, shifts, moves, finds and tests, in a UTF-8 or an 8-bit
// record. After every operation a walk of the current field's subfields in
// both directions must end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/raised_error.h"
#include "fuzz/fuzz_input.h"
#include "marc/record/marc_record.h"

namespace {

using Input = FuzzInput;

// Both walks of the current field end within the field's possible size.
void CheckWalks(Utf8MarcRecordClass& record) {
    const int16_t iPointer = record.SfdPointer();
    int32_t steps = 0;
    record.SfdMoveTop();
    while (record.SfdMoveNext())
        if (++steps > 40000) __builtin_trap();
    steps = 0;
    record.SfdMoveBottom();
    while (record.SfdMovePrev())
        if (++steps > 40000) __builtin_trap();
    record.SfdPointer(iPointer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    Utf8MarcRecordClass record;
    if (in.Byte() & 1) record.CharacterSetOut("M");
    static const char* const kTags[] = {"245", "010", "035", "853", "001", "100", "880", "830"};
    int operations = 0;
    while (in.More() && ++operations < 200) {
        const uint8_t op = in.Byte();
        try {
            switch (op % 24) {
                case 0: record.FldAdd(kTags[in.Byte() % 8], "00", in.Text(), false); break;
                case 1: record.SfdAdd(in.Text(), in.Text()); break;
                case 2: record.SfdInsertAfter(in.Text(), in.Text()); break;
                case 3: record.SfdInsertBefore(in.Text(), in.Text()); break;
                case 4: record.SfdChange(in.Text(), in.Text()); break;
                case 5: record.SfdDelete(in.Byte() & 1); break;
                case 6: record.SfdUndelete(); break;
                case 7: record.SfdShiftLeft(); break;
                case 8: record.SfdShiftRight(); break;
                case 9: record.SfdMoveNext(); break;
                case 10: record.SfdMovePrev(); break;
                case 11: record.SfdMoveTop(); break;
                case 12: record.SfdMoveBottom(); break;
                case 13: record.SfdFindFirst(in.Text(), in.Text()); break;
                case 14: record.SfdFindNext(in.Text(), in.Text()); break;
                case 15: record.Sfdfindprev(in.Text(), in.Text()); break;
                case 16: record.SfdFindLast(in.Text(), in.Text()); break;
                case 17: record.SfdTestNext(in.Text()); break;
                case 18: record.SfdPointer(static_cast<int16_t>(static_cast<int8_t>(in.Byte()))); break;
                case 19: record.SfdText(in.Text()); break;
                case 20: record.SfdCode(in.Text()); break;
                case 21: record.FldText(in.Text()); break;
                case 22: record.FldPointer(static_cast<int16_t>(in.Byte() % 8)); break;
                default: {
                    std::string sCode = in.Text(), sText = in.Text();
                    record.SfdMake(sCode, sText);
                    record.SfdBoolean1(true);
                    break;
                }
            }
        } catch (const RaisedError&) {
            // An 8-bit text too long for its comparison form; the record stays usable.
        }
        CheckWalks(record);
    }
    return 0;
}
