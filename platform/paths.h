#pragma once
// Where files named the Windows way end up on this machine.

#include <string>

namespace platform {

// The settings folder: $EXITDESK_SETTINGS_DIR when set, else $XDG_CONFIG_HOME/exitdesk,
// else ~/.config/exitdesk.
std::string SettingsFolder();

// The temporary folder ($TMPDIR, else /tmp), without a trailing slash.
std::string TempFolder();

// A path written the Windows way becomes a path here: a drive-letter path
// ("c:\temp\VrDebug.txt") is placed in the temporary folder, keeping its
// folders below the drive ("<tmp>/VrDebug.txt" for "c:\temp\...", since the
// drive's temp folder is the temporary folder); backslashes become slashes.
std::string MapWindowsPath(const std::string& path);

// A settings file name: a bare name (no folder) resolves in the settings folder,
// an exact-case match first, then one that differs only in ASCII case, else the
// exact name there (where a write would create it); other names go through
// MapWindowsPath.
std::string ResolveSettingsPath(const std::string& name);

}  // namespace platform
