#pragma once
// Sound, synchronous: a sound file is decoded (libsndfile) and played on the
// sound device (ALSA); the call returns when the sound has ended, and nothing
// else runs meanwhile. A file that is missing or cannot be decoded plays a
// short built-in tone instead. No sound device is not an error: nothing plays.
//
// The device is ALSA's "default", or the one named by $EXITDESK_SOUND_DEVICE
// (for example "null", or "file:FILE=/tmp/out.raw,FORMAT=raw" to capture what
// is played).

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Plays the file and returns when it has ended. Windows paths are mapped as
// everywhere (paths.h). Returns false when no sound device could be opened or
// the device refused the sound; never raises.
bool PlaySoundSync(const std::string& fileName);

// The built-in tone: 16-bit mono samples at kToneRate frames a second.
inline constexpr int kToneRate = 22050;
const std::vector<int16_t>& BuiltInTone();

}  // namespace platform
