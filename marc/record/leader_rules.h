#pragma once
// Rules read from a leader alone, shared by the record object and by code that
// works on a leader text without a record (the fixed-field displays).

#include <string>

// True for a serial: leader/06 "a" with leader/07 "b", "i" or "s". The two
// characters are leader/06-07 of a text longer than six characters, or the
// text itself when it has exactly two; any other text gives false. A text of
// exactly seven characters has no leader/07 and counts as a serial when
// leader/06 is "a", as an empty level is found in every list of levels.
bool SerialBibliographicLeader(const std::string& sLeader);
