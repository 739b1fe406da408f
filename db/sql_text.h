#pragma once
// Values placed into SQL text. Every value that goes between apostrophes goes
// through SqlQuoted; a value placed without apostrophes goes through
// SqlNumberText, which lets only digits through bare.

#include <string>

// The value as an SQL character literal: between apostrophes, with each of
// its own apostrophes doubled.
std::string SqlQuoted(const std::string& sValue);

// The value as it is when it consists of the digits 0 to 9 only; otherwise
// (empty text included) the quoted literal, so that no text can end the
// statement's own syntax.
std::string SqlNumberText(const std::string& sValue);
