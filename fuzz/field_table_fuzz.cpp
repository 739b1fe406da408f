// Runs a sequence of field operations taken from the input (adds, insertions,
// rewrites, deletions, shifts, cursor moves, finds, 008 changes, new records)
// on one record, and after each one walks the list both ways: the walks must
// end, meet the same number of fields, and agree with the cursor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "marc/record/marc_record.h"

namespace {

// Octets from the front of the input: one at a time, or a short text that
// ends at octet 0x00, the input's end, or a length limit.
class Octets {
public:
    Octets(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string Text(size_t limit) {
        std::string text;
        while (pos_ < size_ && data_[pos_] != 0 && text.size() < limit) {
            const char c = static_cast<char>(data_[pos_++]);
            text += c == '$' ? '\x1F' : c;  // "$" stands for the delimiter
        }
        if (pos_ < size_ && data_[pos_] == 0) ++pos_;
        return text;
    }
    // A tag: mostly one of a few real ones, sometimes any short text.
    std::string Tag() {
        static const char* const kTags[] = {"001", "005", "008", "100", "245", "650", "880", "700", "24", "2x5"};
        const uint8_t pick = Next();
        return pick < 200 ? kTags[pick % 10] : Text(4);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Both walks end within the number of entries that can exist and meet the
// same fields; every walk puts the cursor back.
void CheckList(Utf8MarcRecordClass& r, int32_t iMaxEntries) {
    const int16_t iPointer = r.FldPointer();
    int32_t forward = 0, backward = 0;
    for (bool bOn = r.FldMoveFirst(false); bOn; bOn = r.FldMoveNext(false))
        if (++forward > iMaxEntries) std::abort();
    for (bool bOn = r.FldMoveLast(false); bOn; bOn = r.FldMovePrev(false))
        if (++backward > iMaxEntries) std::abort();
    if (forward != backward) std::abort();
    r.FldPointer(iPointer);
    if (r.FldPointer() != iPointer && r.FldPointer() != -1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Octets in(data, size);
    Utf8MarcRecordClass r;
    int32_t iMaxEntries = 0;
    for (int step = 0; step < 200 && in.More(); ++step) {
        const uint8_t op = in.Next();
        switch (op % 20) {
            case 0: {
                const std::string tag = in.Tag(), ind = in.Text(3);
                r.FldAdd(tag, ind, in.Text(60), (op & 0x20) != 0);
                ++iMaxEntries;
                break;
            }
            case 1: {
                const std::string tag = in.Tag(), ind = in.Text(3);
                r.FldInsertBefore(tag, ind, in.Text(60));
                ++iMaxEntries;
                break;
            }
            case 2: {
                const std::string tag = in.Tag(), ind = in.Text(3);
                r.FldInsertAfter(tag, ind, in.Text(60));
                ++iMaxEntries;
                break;
            }
            case 3: {
                const std::string tag = (op & 0x20) ? std::string() : in.Tag(), ind = in.Text(3);
                r.FldChange(tag, ind, in.Text(60));
                ++iMaxEntries;
                break;
            }
            case 4:
                r.FldText(in.Text(60));
                ++iMaxEntries;
                break;
            case 5:
                r.FldTag(in.Tag());
                ++iMaxEntries;
                break;
            case 6:
                if (op & 0x20) r.FldInd1(in.Text(2));
                else r.FldInd2(in.Text(2));
                ++iMaxEntries;
                break;
            case 7: r.FldDelete(); break;
            case 8: r.FldPointer(static_cast<int16_t>(static_cast<int8_t>(in.Next()) % 40)); break;
            case 9: r.FldMoveNext((op & 0x20) != 0); break;
            case 10: r.FldMovePrev((op & 0x20) != 0); break;
            case 11: (op & 0x20) ? r.FldMoveTop() : r.FldMoveBottom(); break;
            case 12: {
                const std::string tags = in.Text(12);
                const std::string text = in.Text(12);
                switch (in.Next() % 4) {
                    case 0: r.FldFindFirst(tags, text); break;
                    case 1: r.FldFindNext(tags, text); break;
                    case 2: r.FldFindLast(tags, text); break;
                    default: r.FldFindPrev(tags, text); break;
                }
                break;
            }
            case 13: (op & 0x20) ? r.FldTestNext(in.Text(8)) : r.FldTestPrev(in.Text(8)); break;
            case 14: (op & 0x20) ? r.FldShiftUp() : r.FldShiftDown(); break;
            case 15: r.Change008Value(static_cast<int16_t>(static_cast<int8_t>(in.Next())), in.Text(45)); break;
            case 16:
                r.NewRecord(in.Text(1), in.Text(1));
                iMaxEntries = 2;
                break;
            case 17: r.PreserveLeadingNumericSubfields(!r.PreserveLeadingNumericSubfields()); break;
            case 18:
                r.TestFieldOrder((op & 0x20) != 0);
                r.MakeNoChange((op & 0x40) != 0);
                break;
            default: r.FldChangedClearAll(); break;
        }
        r.FldText();
        r.FldTextWithOnlyCertainSubfields(in.Text(3), "");
        r.FldNextTag();
        r.FldPrevTag();
        CheckList(r, iMaxEntries);
    }
    return 0;
}
