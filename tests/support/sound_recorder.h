// Stands in for the sound card while it lives: every sound PlaySoundA opens is kept
// with its format and the bytes it was given, so a test can see what was played.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound_output.h"
#include "wave_image.h"

namespace testsupport {

struct RecordedSound {
    platform::WaveFormat format;
    std::string bytes; // every frame written, in order
    bool drained = false;
    bool closed = false;
};

class SoundRecorder {
public:
    SoundRecorder();
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder &) = delete;
    SoundRecorder &operator=(const SoundRecorder &) = delete;

    size_t SoundCount();
    RecordedSound Sound(size_t index);
    // Polls until `condition` holds; false after `timeoutMs`.
    static bool WaitFor(const std::function<bool()> &condition, int timeoutMs = 5000);

    std::atomic<bool> refuseOpen{false}, failWrites{false};

private:
    friend class RecordingOutput;
    std::mutex lock_;
    std::vector<RecordedSound> sounds_;
};

} // namespace testsupport
