#pragma once
// The program's command line as one text, and the choice of the application
// settings file from it (the switch " -i" followed by a file name).

#include <string>

namespace TrestleCommandLine {

// The arguments after the program's name as one text, separated by single
// blanks; an argument that holds a blank is put in double quotes, as the
// command line showed it.
std::string ArgumentsText(int argc, const char* const* argv);

// The settings file that the arguments name, or sCurrent when they name none:
// " -i" (exact case) is sought in the arguments with one blank put in front;
// the name after it is trimmed, loses an opening double quote and everything
// from a closing one, then ends before its first "-" and is trimmed again. The
// name found is returned even when it is empty.
std::string SettingsFileName(const std::string& sArguments, const std::string& sCurrent);

}  // namespace TrestleCommandLine
