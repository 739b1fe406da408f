#include "platform/sound.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "platform/paths.h"

namespace platform {
namespace {

// ALSA reports a missing card on stderr by itself; that is no error here.
void SilentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

std::string DeviceName() {
    const char* name = std::getenv("EXITDESK_SOUND_DEVICE");
    return (name && *name) ? name : "default";
}

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SndfileCloser>;

// Opens the device for 16-bit interleaved samples; null when there is none.
Pcm OpenDevice(int channels, int rate) {
    static const bool silenced = [] {
        snd_lib_error_set_handler(&SilentAlsaErrors);
        return true;
    }();
    (void)silenced;
    snd_pcm_t* raw = nullptr;
    // Opened without waiting: a device that another program holds must not
    // freeze the desk. Writes then block as usual, so the call still returns
    // when the sound has ended.
    if (snd_pcm_open(&raw, DeviceName().c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return nullptr;
    Pcm pcm(raw);
    if (snd_pcm_nonblock(raw, 0) < 0) return nullptr;
    if (snd_pcm_set_params(raw, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(channels),
                           static_cast<unsigned>(rate), 1, 100000) < 0)
        return nullptr;
    return pcm;
}

// Writes whole frames, recovering from an underrun; false when the device fails.
bool WriteFrames(snd_pcm_t* pcm, const int16_t* samples, snd_pcm_uframes_t frames, int channels) {
    while (frames > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, samples, frames);
        if (written < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) return false;
            continue;
        }
        samples += static_cast<size_t>(written) * static_cast<size_t>(channels);
        frames -= static_cast<snd_pcm_uframes_t>(written);
    }
    return true;
}

bool PlayTone() {
    Pcm pcm = OpenDevice(1, kToneRate);
    if (!pcm) return false;
    const std::vector<int16_t>& tone = BuiltInTone();
    bool ok = WriteFrames(pcm.get(), tone.data(), tone.size(), 1);
    snd_pcm_drain(pcm.get());
    return ok;
}

}  // namespace

const std::vector<int16_t>& BuiltInTone() {
    // A quarter-second ding: 880 Hz with its octave, fading out.
    static const std::vector<int16_t> tone = [] {
        const int frames = kToneRate / 4;
        std::vector<int16_t> samples(static_cast<size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            double t = static_cast<double>(i) / kToneRate;
            double envelope = std::exp(-12.0 * t) * std::min(1.0, i / 64.0);
            double wave = 0.7 * std::sin(2 * std::numbers::pi * 880.0 * t) + 0.3 * std::sin(2 * std::numbers::pi * 1760.0 * t);
            samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(12000.0 * envelope * wave));
        }
        return samples;
    }();
    return tone;
}

bool PlaySoundSync(const std::string& fileName) {
    SF_INFO info{};
    SoundFile file(fileName.empty() ? nullptr : sf_open(MapWindowsPath(fileName).c_str(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.samplerate < 1) return PlayTone();

    Pcm pcm = OpenDevice(info.channels, info.samplerate);
    // A device that takes no sound of this form gets the tone; no device at all plays nothing.
    if (!pcm) return PlayTone();
    // Streamed in pieces of a tenth of a second, so that a long file needs no memory of its size.
    const sf_count_t chunk = std::max(1, info.samplerate / 10);
    std::vector<int16_t> buffer(static_cast<size_t>(chunk * info.channels));
    bool ok = true;
    for (;;) {
        sf_count_t frames = sf_readf_short(file.get(), buffer.data(), chunk);
        if (frames <= 0) break;
        if (!WriteFrames(pcm.get(), buffer.data(), static_cast<snd_pcm_uframes_t>(frames), info.channels)) {
            ok = false;
            break;
        }
    }
    if (ok) snd_pcm_drain(pcm.get());
    return ok;
}

}  // namespace platform
