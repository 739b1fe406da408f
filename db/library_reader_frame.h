#pragma once
// Internal to the reader: the frame of its own look-ups and small helpers
// that its implementation files share.

#include <string>

#include "db/library_reader.h"

// The reader's look-ups run on the session's retrieval statement (result set
// 0) in retrieval mode. The frame saves the caller's result set, selects set 0
// and switches retrieval mode on; Close (or, on an error, the destructor)
// restores the saved set and the retrieval mode that was in force before, so
// that no look-up leaves result set 0 current or a saved set on the stack.
class VgerReaderClass7::RetrievalFrame {
public:
    explicit RetrievalFrame(VgerReaderClass7& reader);
    ~RetrievalFrame();
    RetrievalFrame(const RetrievalFrame&) = delete;
    RetrievalFrame& operator=(const RetrievalFrame&) = delete;
    // The normal way out; errors of the restoring reach the caller.
    void Close();

private:
    VgerReaderClass7& Reader;
    bool SavedRetrieval = false;
    bool Open = false;
};

namespace readerdetail {
// "True" or "False", as trace lines show flags.
inline std::string TrueFalse(bool b) { return b ? "True" : "False"; }
}  // namespace readerdetail
