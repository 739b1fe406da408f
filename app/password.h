#pragma once
// The stored form of the database password: decimal numbers separated by
// blanks, one per character of a decoded text, each offset from its character
// code by its place, with the password's length hidden at the fifth place.

#include <string>

namespace Password {

// The real password for a stored value. A value that, trimmed, does not begin
// and end with a digit or holds no blank is the password itself, returned as
// given. The numbers are read as decimal numbers (a fraction and an exponent
// allowed); a token that begins with none, "&H46" among them, is 0. Raises error 5 when the numbers give a negative length or a character
// code outside 0 to 255, and error 6 when a number is beyond 16 bits.
std::string DescramblePassword(const std::string& sStored);

}  // namespace Password
