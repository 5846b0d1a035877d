// PlaySoundA as Win32 documents it: one sound at a time, asynchronous and looping
// sounds, stopping, SND_NOSTOP; and the reading of RIFF WAVE images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "sound_recorder.h"
#include "temp_folder.h"
#include "wave_data.h"
#include "windows.h"

using testsupport::SoundRecorder;

namespace {

using testsupport::PutLittleEndian;
using testsupport::RiffImage;
using testsupport::WaveChunk;
using testsupport::WaveFormatBody;

std::string Wave(const std::string &samples) { return testsupport::MonoWave(samples); }

BOOL PlayMemory(const std::string &image, DWORD flags) { return PlaySoundA(image.data(), nullptr, SND_MEMORY | flags); }

} // namespace

TEST(WaveData, ReadsTheFormatAndFindsTheSamplesPastOtherChunks) {
    std::string samples = "\x01\x02\x03\x04\x05\x06\x07\x08";
    // An odd-sized chunk first: chunks are padded to even sizes.
    std::string image =
        RiffImage(WaveChunk("LIST", "odd") + WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 2, 44100, 16)) +
                  WaveChunk("data", samples));
    auto wave = platform::ReadWave(reinterpret_cast<const uint8_t *>(image.data()), image.size());
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format.encoding, platform::SampleEncoding::Signed16);
    EXPECT_EQ(wave->format.channels, 2);
    EXPECT_EQ(wave->format.framesPerSecond, 44100u);
    EXPECT_EQ(wave->format.bytesPerFrame, 4);
    EXPECT_EQ(wave->frameCount, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(wave->samples), 8), samples);
    EXPECT_EQ(platform::WaveImageSize(reinterpret_cast<const uint8_t *>(image.data())), image.size());
}

TEST(WaveData, KnowsEveryEncodingItCanPlay) {
    struct Case {
        uint16_t tag, bits;
        platform::SampleEncoding encoding;
    } cases[] = {{WAVE_FORMAT_PCM, 8, platform::SampleEncoding::Unsigned8},
                 {WAVE_FORMAT_PCM, 24, platform::SampleEncoding::Signed24},
                 {WAVE_FORMAT_PCM, 32, platform::SampleEncoding::Signed32},
                 {WAVE_FORMAT_IEEE_FLOAT, 32, platform::SampleEncoding::Float32},
                 {WAVE_FORMAT_IEEE_FLOAT, 64, platform::SampleEncoding::Float64}};
    for (const Case &c : cases) {
        std::string image = RiffImage(WaveChunk("fmt ", WaveFormatBody(c.tag, 1, 8000, c.bits)) +
                                      WaveChunk("data", std::string(16, '\0')));
        auto wave = platform::ReadWave(reinterpret_cast<const uint8_t *>(image.data()), image.size());
        ASSERT_TRUE(wave) << c.tag << "/" << c.bits;
        EXPECT_EQ(wave->format.encoding, c.encoding);
        EXPECT_EQ(wave->frameCount, 16u / (c.bits / 8));
    }
    // The extensible form: the encoding is in its sub-format.
    std::string extensible = WaveFormatBody(WAVE_FORMAT_EXTENSIBLE, 1, 8000, 32);
    PutLittleEndian(extensible, 22, 2), PutLittleEndian(extensible, 32, 2), PutLittleEndian(extensible, 4, 4),
        PutLittleEndian(extensible, WAVE_FORMAT_IEEE_FLOAT, 2);
    extensible += std::string(14, '\x11');
    std::string image = RiffImage(WaveChunk("fmt ", extensible) + WaveChunk("data", std::string(8, '\0')));
    auto wave = platform::ReadWave(reinterpret_cast<const uint8_t *>(image.data()), image.size());
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format.encoding, platform::SampleEncoding::Float32);
}

TEST(WaveData, RefusesWhatItCannotPlayAndPlaysCutShortDataAsFarAsItGoes) {
    auto read = [](const std::string &image) {
        return platform::ReadWave(reinterpret_cast<const uint8_t *>(image.data()), image.size());
    };
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read("RIFF\x04\0\0\0WAVX"));
    EXPECT_FALSE(
        read(RiffImage(WaveChunk("data", "ab") + WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 1, 8000, 8)))));
    EXPECT_FALSE(read(RiffImage(WaveChunk("fmt ", WaveFormatBody(2, 1, 8000, 4)) + WaveChunk("data", "ab")))); // ADPCM
    EXPECT_FALSE(
        read(RiffImage(WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 0, 8000, 8)) + WaveChunk("data", "ab"))));
    EXPECT_FALSE(
        read(RiffImage(WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 1, 0, 8)) + WaveChunk("data", "ab"))));
    EXPECT_FALSE(
        read(RiffImage(WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 1, 8000, 12)) + WaveChunk("data", "ab"))));
    std::string lying = WaveFormatBody(WAVE_FORMAT_PCM, 2, 8000, 16);
    lying[12] = 3; // bytes per frame that do not match two 16-bit channels
    EXPECT_FALSE(read(RiffImage(WaveChunk("fmt ", lying) + WaveChunk("data", "abcd"))));
    EXPECT_FALSE(read(RiffImage(WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 1, 8000, 8)))));
    EXPECT_FALSE(read(RiffImage(WaveChunk("fmt ", "short"))));

    // 7 bytes of 16-bit stereo: one whole frame.
    std::string cut = RiffImage(WaveChunk("fmt ", WaveFormatBody(WAVE_FORMAT_PCM, 2, 8000, 16)) +
                                WaveChunk("data", std::string(100, 'x')));
    cut.resize(cut.size() - 93);
    auto wave = read(cut);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->frameCount, 1u);
}

TEST(PlaySound, SynchronousSoundPlaysEveryFrameOnceThenReturns) {
    SoundRecorder recorder;
    std::string samples(1000, 'a');
    samples[999] = 'z';
    ASSERT_TRUE(PlayMemory(Wave(samples), SND_SYNC));
    ASSERT_EQ(recorder.SoundCount(), 1u);
    auto sound = recorder.Sound(0);
    EXPECT_EQ(sound.bytes, samples);
    EXPECT_TRUE(sound.drained);
    EXPECT_EQ(sound.format.framesPerSecond, 8000u);
}

TEST(PlaySound, ALoopRepeatsUntilANullSoundStopsIt) {
    SoundRecorder recorder;
    std::string samples = "abcdefgh";
    {
        // The caller's image may go as soon as the call returns.
        auto image = std::make_unique<std::string>(Wave(samples));
        ASSERT_TRUE(PlaySoundA(image->data(), nullptr, SND_MEMORY | SND_ASYNC | SND_LOOP));
    }
    ASSERT_TRUE(SoundRecorder::WaitFor([&] { return recorder.Sound(0).bytes.size() >= 5 * samples.size(); }));
    ASSERT_TRUE(PlaySoundA(nullptr, nullptr, 0));
    auto stopped = recorder.Sound(0);
    EXPECT_TRUE(stopped.closed);
    EXPECT_FALSE(stopped.drained); // stopped sounds are dropped, not played out
    ASSERT_EQ(stopped.bytes.size() % samples.size(), 0u);
    for (size_t at = 0; at < stopped.bytes.size(); at += samples.size())
        EXPECT_EQ(stopped.bytes.substr(at, samples.size()), samples);
    Sleep(20);
    EXPECT_EQ(recorder.Sound(0).bytes.size(), stopped.bytes.size());
}

TEST(PlaySound, ANewSoundReplacesThePlayingOneAndNoStopKeepsIt) {
    SoundRecorder recorder;
    ASSERT_TRUE(PlayMemory(Wave("first"), SND_ASYNC | SND_LOOP));
    EXPECT_FALSE(PlayMemory(Wave("other"), SND_ASYNC | SND_NOSTOP));
    EXPECT_EQ(recorder.SoundCount(), 1u);
    ASSERT_TRUE(PlayMemory(Wave("second"), SND_SYNC));
    ASSERT_EQ(recorder.SoundCount(), 2u);
    EXPECT_TRUE(recorder.Sound(0).closed);
    EXPECT_EQ(recorder.Sound(1).bytes, "second");
    // Nothing plays now, so SND_NOSTOP does not hold a sound back.
    EXPECT_TRUE(PlayMemory(Wave("third"), SND_SYNC | SND_NOSTOP));
    EXPECT_EQ(recorder.Sound(2).bytes, "third");
}

TEST(PlaySound, RefusesALoopThatWouldNeverReturnAndSoundsItCannotPlay) {
    SoundRecorder recorder;
    EXPECT_FALSE(PlayMemory(Wave("abc"), SND_SYNC | SND_LOOP));
    EXPECT_FALSE(PlayMemory("RIFF\x04\0\0\0WAVE", SND_ASYNC));
    EXPECT_FALSE(PlayMemory("not a wave image", SND_ASYNC));
    EXPECT_FALSE(PlaySoundA("SystemAsterisk", nullptr, SND_ALIAS | SND_ASYNC)); // no system sounds here
    EXPECT_EQ(recorder.SoundCount(), 0u);
    recorder.refuseOpen = true; // no device
    EXPECT_FALSE(PlayMemory(Wave("abc"), SND_ASYNC));
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0)); // stopping nothing is fine
}

TEST(PlaySound, AFailingDeviceEndsTheSound) {
    SoundRecorder recorder;
    recorder.failWrites = true;
    ASSERT_TRUE(PlayMemory(Wave("abcd"), SND_ASYNC | SND_LOOP));
    // Ended by the failure, it no longer counts as playing.
    ASSERT_TRUE(SoundRecorder::WaitFor([] {
        std::string probe = Wave("x");
        return PlaySoundA(probe.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NOSTOP) != FALSE;
    }));
    PlaySoundA(nullptr, nullptr, 0);
}

TEST(PlaySound, PlaysAFileByItsDosName) {
    SoundRecorder recorder;
    testsupport::TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    std::ofstream(folder.Host("ding.wav"), std::ios::binary) << Wave("ding");
    ASSERT_TRUE(PlaySoundA(folder.Dos("ding.wav").c_str(), nullptr, SND_FILENAME | SND_SYNC));
    EXPECT_EQ(recorder.Sound(0).bytes, "ding");
    // Without a kind, a name that is no alias is a file name.
    ASSERT_TRUE(sndPlaySoundA(folder.Dos("ding.wav").c_str(), SND_SYNC));
    EXPECT_EQ(recorder.Sound(1).bytes, "ding");
    EXPECT_FALSE(PlaySoundA(folder.Dos("missing.wav").c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT));
}

// The real output path through ALSA's null device, which takes every frame.
TEST(PlaySound, TheSoundCardPathPlaysThroughTheNamedDevice) {
    setenv("SORVEL_SOUND_DEVICE", "null", 1);
    EXPECT_TRUE(PlayMemory(Wave(std::string(800, '\x80')), SND_SYNC));
    ASSERT_TRUE(PlayMemory(Wave(std::string(800, '\x80')), SND_ASYNC | SND_LOOP));
    Sleep(30);
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
    setenv("SORVEL_SOUND_DEVICE", "no_such_device", 1);
    EXPECT_FALSE(PlayMemory(Wave("abc"), SND_SYNC));
    unsetenv("SORVEL_SOUND_DEVICE");
}
