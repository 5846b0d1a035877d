// PlaySoundA: one waveform sound at a time for the whole process, as in Win32. A new
// sound or a null name stops the one playing. The sound's bytes are copied, so a
// caller may free its memory image as soon as the call returns.
#include <atomic>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "dos_path.h"
#include "sound_output.h"
#include "windows.h"

namespace platform {
namespace {

constexpr uint32_t kChunkMilliseconds = 20;      // how often a stop request is seen
constexpr size_t kMaxImageBytes = size_t(1) << 30; // beyond this a RIFF size is garbage

struct Playback {
    std::vector<uint8_t> image; // the samples point into it
    WaveData wave;
    bool loop = false;
    std::unique_ptr<SoundOutput> output;
    std::atomic<bool> stop{false}, finished{false};
    std::thread thread; // none for a synchronous sound
};

void Play(Playback &p) {
    const size_t chunk = std::max<size_t>(1, p.wave.format.framesPerSecond * kChunkMilliseconds / 1000);
    const size_t frameBytes = p.wave.format.bytesPerFrame;
    bool failed = false;
    do {
        for (size_t at = 0; at < p.wave.frameCount && !p.stop && !failed;) {
            size_t n = std::min(chunk, p.wave.frameCount - at);
            failed = !p.output->Write(p.wave.samples + at * frameBytes, n);
            at += n;
        }
    } while (p.loop && p.wave.frameCount > 0 && !p.stop && !failed);
    if (!p.stop && !failed) p.output->Drain();
    p.finished = true;
}

class Player {
public:
    ~Player() { Stop(); }

    bool Playing() {
        std::lock_guard guard(control_);
        return current_ && !current_->finished;
    }

    void Stop() {
        std::lock_guard guard(control_);
        StopLocked();
    }

    // Replaces the current sound; a synchronous one plays on the caller's thread.
    void Start(std::shared_ptr<Playback> p, bool async) {
        {
            std::lock_guard guard(control_);
            StopLocked();
            current_ = p;
            if (async) {
                p->thread = std::thread([p] { Play(*p); });
                return;
            }
        }
        Play(*p);
        std::lock_guard guard(control_);
        if (current_ == p) current_.reset();
    }

private:
    void StopLocked() {
        std::shared_ptr<Playback> p = std::move(current_);
        if (!p) return;
        p->stop = true;
        if (p->thread.joinable()) p->thread.join();
    }

    std::mutex control_;
    std::shared_ptr<Playback> current_;
};

Player &ThePlayer() {
    static Player player;
    return player;
}

SoundOutputFactory &Factory() {
    static SoundOutputFactory factory;
    return factory;
}

std::vector<uint8_t> MemoryImage(const uint8_t *header) {
    size_t size = WaveImageSize(header);
    if (size == 0 || size > kMaxImageBytes) return {};
    return std::vector<uint8_t>(header, header + size); // the caller vouches for the size
}

std::vector<uint8_t> ResourceImage(HMODULE module, LPCSTR name) {
    HRSRC found = FindResourceA(module, name, "WAVE");
    const auto *bytes = found ? static_cast<const uint8_t *>(LockResource(LoadResource(module, found))) : nullptr;
    if (!bytes) return {};
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

std::vector<uint8_t> FileImage(LPCSTR name) {
    std::optional<std::string> host = DosToHostPath(name);
    std::ifstream file;
    if (host) file.open(*host, std::ios::binary | std::ios::ate);
    if (!file) return {};
    std::streamoff size = file.tellg();
    if (size <= 0 || size_t(size) > kMaxImageBytes) return {};
    std::vector<uint8_t> image(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char *>(image.data()), size)) return {};
    return image;
}

// There is no registry of system sounds here, so an alias never names one.
std::vector<uint8_t> SoundImage(LPCSTR sound, HMODULE module, DWORD flags) {
    if ((flags & SND_RESOURCE) == SND_RESOURCE) return ResourceImage(module, sound);
    if (flags & SND_MEMORY) return MemoryImage(reinterpret_cast<const uint8_t *>(sound));
    if (flags & SND_ALIAS) return {};
    return FileImage(sound);
}

std::unique_ptr<SoundOutput> OpenOutput(const WaveFormat &format) {
    return Factory() ? Factory()(format) : OpenSoundCard(format);
}

} // namespace

void SetSoundOutputFactory(SoundOutputFactory factory) {
    ThePlayer().Stop();
    Factory() = std::move(factory);
}

} // namespace platform

extern "C" BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
    using namespace platform;
    if (!sound || (flags & SND_PURGE)) {
        ThePlayer().Stop();
        return TRUE;
    }
    // A synchronous loop would never return.
    if ((flags & SND_LOOP) && !(flags & SND_ASYNC)) return FALSE;
    if ((flags & SND_NOSTOP) && ThePlayer().Playing()) return FALSE;
    auto p = std::make_shared<Playback>();
    p->image = SoundImage(sound, module, flags);
    std::optional<WaveData> wave = ReadWave(p->image.data(), p->image.size());
    if (!wave) return FALSE; // and no default sound to play instead
    ThePlayer().Stop();      // the card may only take one stream
    p->wave = *wave;
    p->loop = (flags & SND_LOOP) != 0;
    p->output = OpenOutput(wave->format);
    if (!p->output) return FALSE;
    ThePlayer().Start(std::move(p), (flags & SND_ASYNC) != 0);
    return TRUE;
}

extern "C" BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags) { return PlaySoundA(sound, nullptr, flags); }
