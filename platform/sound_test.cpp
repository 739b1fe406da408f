#include "platform/sound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/test_support.h"

namespace {

// Points the player at ALSA's null device through its "tee" plugin, which
// writes every sample played to a raw file.
class CapturedSound {
public:
    explicit CapturedSound(const std::string& folder) : path_(folder + "/played.raw") {
        setenv("EXITDESK_SOUND_DEVICE", ("tee:null,'" + path_ + "',raw").c_str(), 1);
    }
    ~CapturedSound() { unsetenv("EXITDESK_SOUND_DEVICE"); }
    std::vector<int16_t> Samples() const {
        std::string bytes = testsupport::ReadFile(path_);
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

private:
    std::string path_;
};

void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_writef_short(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
}

TEST(Sound, PlaysTheFileOrElseTheBuiltInTone) {
    testsupport::TempSettingsFolder folder;
    std::vector<int16_t> stereo;
    for (int i = 0; i < 3000; ++i) stereo.push_back(static_cast<int16_t>(i * 7 - 9000));
    WriteWav(folder.File("good.wav"), stereo, 2, 11025);
    testsupport::WriteFile(folder.File("garbage.wav"), "RIFF this is no sound at all");

    struct Case {
        std::string file;
        std::vector<int16_t> expected;
    };
    const std::vector<Case> cases = {
        {folder.File("good.wav"), stereo},
        {folder.File("missing.wav"), platform::BuiltInTone()},
        {folder.File("garbage.wav"), platform::BuiltInTone()},
        {"", platform::BuiltInTone()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CapturedSound captured(folder.Path());
        EXPECT_TRUE(platform::PlaySoundSync(c.file));
        EXPECT_EQ(captured.Samples(), c.expected);
    }
}

TEST(Sound, BuiltInToneIsAShortAudibleSound) {
    const std::vector<int16_t>& tone = platform::BuiltInTone();
    EXPECT_EQ(tone.size(), static_cast<size_t>(platform::kToneRate / 4));
    int16_t peak = 0;
    for (int16_t s : tone) peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
    EXPECT_GT(peak, 5000);
}

TEST(Sound, NoDeviceIsNoError) {
    testsupport::TempSettingsFolder folder;
    WriteWav(folder.File("good.wav"), std::vector<int16_t>(500, 100), 1, 8000);
    setenv("EXITDESK_SOUND_DEVICE", "no_such_device_here", 1);
    EXPECT_FALSE(platform::PlaySoundSync(folder.File("good.wav")));
    EXPECT_FALSE(platform::PlaySoundSync(folder.File("missing.wav")));
    unsetenv("EXITDESK_SOUND_DEVICE");
}

}  // namespace
