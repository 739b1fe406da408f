#include "db/sql_text.h"

#include <algorithm>

#include "common/runtime.h"

std::string SqlQuoted(const std::string& sValue) {
    std::string quoted;
    quoted.reserve(sValue.size() + 2);
    quoted += '\'';
    for (char c : sValue) {
        if (c == '\'') quoted += '\'';
        quoted += c;
    }
    quoted += '\'';
    return quoted;
}

std::string SqlNumberText(const std::string& sValue) {
    if (!sValue.empty() && std::all_of(sValue.begin(), sValue.end(), rt::IsAsciiDigit)) return sValue;
    return SqlQuoted(sValue);
}
