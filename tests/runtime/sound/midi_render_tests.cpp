// The MIDI player's rendering: pitch and length of notes, tempo, running status,
// time-code divisions, percussion, and data that are cut short or no MIDI at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "midi_render.h"
#include "runtime_fixture.h"
#include "runtime_interface.h"
#include "sound_player.h"
#include "sound_recorder.h"

using namespace rt;

namespace {

std::string BigEndian(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += char(v >> (8 * i));
    return out;
}

std::string Track(const std::string &events) { return "MTrk" + BigEndian(uint32_t(events.size()), 4) + events; }

std::string Song(uint16_t format, uint16_t division, const std::vector<std::string> &tracks) {
    std::string out = "MThd" + BigEndian(6, 4) + BigEndian(format, 2) + BigEndian(uint16_t(tracks.size()), 2) +
                      BigEndian(division, 2);
    for (const std::string &t : tracks) out += t;
    return out;
}

const std::string kEnd("\x00\xff\x2f\x00", 4);

struct Rendered {
    uint32_t framesPerSecond = 0;
    uint16_t channels = 0, bits = 0;
    std::vector<int16_t> samples;

    // Sign changes between two times: twice the frequency per second of a tone.
    int Crossings(double from, double to) const {
        int n = 0;
        for (size_t i = size_t(from * framesPerSecond) + 1; i < size_t(to * framesPerSecond); ++i)
            n += (samples[i - 1] < 0) != (samples[i] < 0);
        return n;
    }
    double Seconds() const { return double(samples.size()) / framesPerSecond; }
};

std::optional<Rendered> Render(const std::string &song) {
    auto image = RenderMidi(reinterpret_cast<const uint8_t *>(song.data()), song.size());
    if (!image) return std::nullopt;
    const uint8_t *p = image->data();
    auto word = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | p[at + size_t(i)];
        return v;
    };
    Rendered r;
    r.channels = uint16_t(word(22, 2));
    r.framesPerSecond = word(24, 4);
    r.bits = uint16_t(word(34, 2));
    size_t count = word(40, 4) / 2;
    EXPECT_EQ(image->size(), 44 + count * 2);
    for (size_t i = 0; i < count; ++i) r.samples.push_back(int16_t(word(44 + i * 2, 2)));
    return r;
}

} // namespace

TEST(MidiRender, OneNoteSoundsAtItsPitchForItsLength) {
    // A4 for one beat at the default 120 beats a minute, 96 ticks a beat.
    auto r = Render(Song(0, 96, {Track(std::string("\x00\x90\x45\x64\x60\x80\x45\x00", 8) + kEnd)}));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->framesPerSecond, kMidiFramesPerSecond);
    EXPECT_EQ(r->channels, 1);
    EXPECT_EQ(r->bits, 16);
    EXPECT_NEAR(r->Seconds(), 0.55, 0.001); // the note and its release
    EXPECT_NEAR(r->Crossings(0.01, 0.49), 2 * 440 * 0.48, 4);
}

TEST(MidiRender, TempoChangesRunningStatusAndSilentNoteOnsEndNotes) {
    // A tempo track at twice the speed and a note track: C5 ended by a note-on of
    // velocity 0 in running status, then E5 likewise.
    std::string tempo = std::string("\x00\xff\x51\x03\x03\xd0\x90", 7) + kEnd;
    std::string notes = std::string("\x00\x90\x48\x64\x60\x48\x00\x00\x4c\x64\x60\x4c\x00", 13) + kEnd;
    auto r = Render(Song(1, 96, {Track(tempo), Track(notes)}));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->Seconds(), 0.55, 0.001);
    EXPECT_NEAR(r->Crossings(0.01, 0.24), 2 * 523.25 * 0.23, 4);
    EXPECT_NEAR(r->Crossings(0.26, 0.49), 2 * 659.26 * 0.23, 4);
}

TEST(MidiRender, TimeCodeDivisionsCountRealTime) {
    // 25 frames a second of 40 ticks: 1000 ticks a second, a note of 500.
    auto r = Render(Song(0, 0xE728, {Track(std::string("\x00\x90\x45\x64\x83\x74\x80\x45\x00", 9) + kEnd)}));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->Seconds(), 0.55, 0.001);
}

TEST(MidiRender, ThePercussionChannelGivesAShortBurst) {
    auto r = Render(Song(0, 96, {Track(std::string("\x00\x99\x26\x7f\x00\x89\x26\x00", 8) + kEnd)}));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->Seconds(), 0.15, 0.001);
    int loud = 0;
    for (size_t i = 0; i < 500; ++i) loud += std::abs(r->samples[i]) > 1000;
    EXPECT_GT(loud, 100);
}

TEST(MidiRender, DataThatAreNoSongGiveNothing) {
    EXPECT_FALSE(Render("not a song at all"));
    EXPECT_FALSE(Render("MThd\x00\x00"));
    EXPECT_FALSE(Render(Song(0, 0, {Track(std::string("\x00\x90\x45\x64\x60\x80\x45\x00", 8) + kEnd)})));
    EXPECT_FALSE(Render(Song(3, 96, {Track(std::string("\x00\x90\x45\x64\x60\x80\x45\x00", 8) + kEnd)})));
    EXPECT_FALSE(Render(Song(0, 96, {Track(kEnd)}))); // no note
    EXPECT_FALSE(Render(Song(0, 96, {Track(std::string("\x00\x45\x64", 3))}))); // running status on nothing
}

TEST(MidiRender, TracksCutShortPlayAsFarAsTheyGo) {
    // An unknown chunk first; then a track that claims more than there is, with a
    // controller one beat in, cut off in the note-off two beats in: the note is held
    // to where the track ends.
    std::string track = Track(std::string("\x00\x90\x45\x64\x60\xb0\x07\x64\x60\x80", 10));
    track[7] = char(0xFF);
    auto r = Render(Song(0, 96, {"XTRA" + BigEndian(2, 4) + "ab", track}));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->Seconds(), 1.05, 0.001);
}

TEST(MidiRender, LongAndCrowdedSongsAreCutOff) {
    // A note held for 2^28 - 1 beats at one tick a beat.
    auto r = Render(Song(0, 1, {Track(std::string("\x00\x90\x45\x64\xff\xff\xff\x7f\x80\x45\x00", 11) + kEnd)}));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->samples.size(), size_t(kMidiLongestSeconds * kMidiFramesPerSecond) + 1);

    // A4, then half a second later 16 faint notes more than the 16 voices hold: A4
    // ends there. (Found by fuzzing: held notes without a limit made a small file
    // take minutes to render.)
    std::string crowd("\x00\x90\x45\x64\x60\x90\x00\x01", 8);
    for (int i = 1; i < 16; ++i) crowd += std::string("\x00\x00\x01", 3);
    r = Render(Song(0, 96, {Track(crowd + std::string("\x60\xff\x2f\x00", 4))}));
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->Crossings(0.05, 0.45), 2 * 440 * 0.4, 8);
    EXPECT_LT(r->Crossings(0.6, 0.95), 40);
}

TEST(MidiRender, TheSoundServicePlaysMidiData) {
    testsupport::StartTestRuntime();
    testsupport::SoundRecorder recorder;
    std::string song = Song(0, 96, {Track(std::string("\x00\x90\x45\x64\x0c\x80\x45\x00", 8) + kEnd)});
    SoundData data{reinterpret_cast<const uint8_t *>(song.data()), uint32_t(song.size())};
    ASSERT_EQ(RuntimeService(kServicePlaySound, reinterpret_cast<intptr_t>(&data), kSoundOnce), 1);
    ASSERT_TRUE(testsupport::SoundRecorder::WaitFor([&] { return recorder.Sound(0).drained; }));
    EXPECT_EQ(recorder.Sound(0).format.framesPerSecond, kMidiFramesPerSecond);
    EXPECT_EQ(recorder.Sound(0).bytes.size(), 2 * (size_t((0.0625 + 0.05) * kMidiFramesPerSecond) + 1));
}
