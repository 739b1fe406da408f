#include "app/command_line.h"

#include "common/runtime.h"

namespace TrestleCommandLine {

std::string ArgumentsText(int argc, const char* const* argv) {
    std::string sText;
    for (int i = 1; i < argc; ++i) {
        std::string sArgument = argv[i];
        if (i > 1) sText += " ";
        if (rt::InStr(sArgument, " ") > 0) sArgument = "\"" + sArgument + "\"";
        sText += sArgument;
    }
    return sText;
}

std::string SettingsFileName(const std::string& sArguments, const std::string& sCurrent) {
    if (sArguments.empty()) return sCurrent;
    std::string sLine = " " + sArguments;
    int32_t iSwitch = rt::InStr(sLine, " -i");
    if (iSwitch == 0) return sCurrent;
    std::string sName = rt::Trim(rt::Mid(sLine, iSwitch + 3));
    if (rt::Left(sName, 1) == "\"") {
        sName = rt::Mid(sName, 2);
        int32_t iQuote = rt::InStr(sName, "\"");
        if (iQuote > 0) sName = rt::Left(sName, iQuote - 1);
    }
    int32_t iDash = rt::InStr(sName, "-");
    if (iDash > 0) sName = rt::Trim(rt::Left(sName, iDash - 1));
    return sName;
}

}  // namespace TrestleCommandLine
