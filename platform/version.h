#pragma once
// The program's own version number (major, minor, revision).

#include <cstdint>

namespace platform {

struct ProgramVersion {
    int16_t Major = EXITDESK_VERSION_MAJOR;
    int16_t Minor = EXITDESK_VERSION_MINOR;
    int16_t Revision = EXITDESK_VERSION_REVISION;
};

}  // namespace platform
