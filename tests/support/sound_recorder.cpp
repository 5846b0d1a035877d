#include "sound_recorder.h"

#include <chrono>
#include <thread>

namespace testsupport {

// Takes about a millisecond per write, as a device would, so loops do not race ahead.
class RecordingOutput final : public platform::SoundOutput {
public:
    RecordingOutput(SoundRecorder &recorder, size_t index) : recorder_(recorder), index_(index) {}
    ~RecordingOutput() override {
        std::lock_guard guard(recorder_.lock_);
        recorder_.sounds_[index_].closed = true;
    }
    bool Write(const uint8_t *frames, size_t frameCount) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (recorder_.failWrites) return false;
        std::lock_guard guard(recorder_.lock_);
        RecordedSound &sound = recorder_.sounds_[index_];
        sound.bytes.append(reinterpret_cast<const char *>(frames), frameCount * sound.format.bytesPerFrame);
        return true;
    }
    void Drain() override {
        std::lock_guard guard(recorder_.lock_);
        recorder_.sounds_[index_].drained = true;
    }

private:
    SoundRecorder &recorder_;
    size_t index_;
};

SoundRecorder::SoundRecorder() {
    using platform::SoundOutput;
    platform::SetSoundOutputFactory([this](const platform::WaveFormat &format) -> std::unique_ptr<SoundOutput> {
        if (refuseOpen) return nullptr;
        std::lock_guard guard(lock_);
        sounds_.push_back(RecordedSound{format, {}, false, false});
        return std::make_unique<RecordingOutput>(*this, sounds_.size() - 1);
    });
}

SoundRecorder::~SoundRecorder() { platform::SetSoundOutputFactory(nullptr); }

size_t SoundRecorder::SoundCount() {
    std::lock_guard guard(lock_);
    return sounds_.size();
}

RecordedSound SoundRecorder::Sound(size_t index) {
    std::lock_guard guard(lock_);
    return index < sounds_.size() ? sounds_[index] : RecordedSound{};
}

bool SoundRecorder::WaitFor(const std::function<bool()> &condition, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace testsupport
