// The window's background sound: started at creation, restarted by writes of
// properties 13 and 14, stopped with its window and not with another.
#include <gtest/gtest.h>

#include <string>

#include "runtime_app.h"
#include "runtime_interface.h"
#include "sound_recorder.h"
#include "unit_properties.h"
#include "window_unit.h"
#include "winunit_image.h"

using namespace winunit_test;
using testsupport::SoundRecorder;

namespace {

class WindowSound : public testing::Test {
protected:
    void SetUp() override { StartRuntime(); }
    void TearDown() override { CloseAll(); }

    bool Repeated(size_t sound, const std::string &samples, size_t times) {
        return SoundRecorder::WaitFor([&] { return recorder.Sound(sound).bytes.size() >= samples.size() * times; }) &&
               recorder.Sound(sound).bytes.substr(0, samples.size() * times) == [&] {
                   std::string all;
                   for (size_t i = 0; i < times; ++i) all += samples;
                   return all;
               }();
    }

    void Close(uint32_t window) {
        PostMessageA(HandleOf(window), WM_CLOSE, 0, 0);
        Pump();
    }

    SoundRecorder recorder;
};

} // namespace

TEST_F(WindowSound, RepeatsFromCreationUntilItsWindowGoesButNotWithAnother) {
    ASSERT_EQ(Load(kSoundWindow), 0);
    ASSERT_EQ(recorder.SoundCount(), 1u);
    EXPECT_TRUE(Repeated(0, "abcd", 3));
    ASSERT_EQ(Load(kSecond), 0);
    Close(kSecond);
    EXPECT_FALSE(recorder.Sound(0).closed);
    size_t before = recorder.Sound(0).bytes.size();
    EXPECT_TRUE(SoundRecorder::WaitFor([&] { return recorder.Sound(0).bytes.size() > before; }));
    Close(kSoundWindow);
    EXPECT_TRUE(recorder.Sound(0).closed);
}

TEST_F(WindowSound, WritesOfDataAndModeRestartTheSound) {
    ASSERT_EQ(Load(kSoundWindow), 0);
    units::WriteProperty(kSoundWindow, 0, units::kWinSoundMode, -1, 1, 0); // once
    ASSERT_EQ(recorder.SoundCount(), 2u);
    EXPECT_TRUE(recorder.Sound(0).closed);
    ASSERT_TRUE(SoundRecorder::WaitFor([&] { return recorder.Sound(1).drained; }));
    EXPECT_EQ(recorder.Sound(1).bytes, "abcd");

    std::string wave = testsupport::MonoWave("wxyz");
    auto write = units::Request<units::WritePropertyRoutine>(units::kTypeWindow, units::kRequestWriteProperty);
    units::PropertyValue value{reinterpret_cast<uintptr_t>(wave.data()), wave.size()};
    write(reinterpret_cast<fw::WindowObject *>(rt::RuntimeService(rt::kServiceUnitObject, kSoundWindow, 0)),
          units::kWinSound - 8, &value, nullptr);
    ASSERT_EQ(recorder.SoundCount(), 3u);
    ASSERT_TRUE(SoundRecorder::WaitFor([&] { return recorder.Sound(2).drained; }));
    EXPECT_EQ(recorder.Sound(2).bytes, "wxyz");

    units::WriteProperty(kSoundWindow, 0, units::kWinSoundMode, -1, 0, 0); // repeat
    EXPECT_TRUE(Repeated(3, "wxyz", 2));
    units::WriteProperty(kSoundWindow, 0, units::kWinSoundMode, -1, 2, 0); // do not play
    EXPECT_TRUE(recorder.Sound(3).closed);
    EXPECT_EQ(recorder.SoundCount(), 4u);
}
