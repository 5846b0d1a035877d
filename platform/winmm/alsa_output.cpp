// The sound card through ALSA. A machine without one simply has no output: the
// library's own complaints about missing cards are silenced.
#include <alsa/asoundlib.h>

#include <cstdlib>

#include "sound_output.h"

namespace platform {
namespace {

constexpr unsigned kLatencyMicroseconds = 100000; // how far a stop lags behind

snd_pcm_format_t AlsaFormat(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Unsigned8: return SND_PCM_FORMAT_U8;
    case SampleEncoding::Signed16: return SND_PCM_FORMAT_S16_LE;
    case SampleEncoding::Signed24: return SND_PCM_FORMAT_S24_3LE;
    case SampleEncoding::Signed32: return SND_PCM_FORMAT_S32_LE;
    case SampleEncoding::Float32: return SND_PCM_FORMAT_FLOAT_LE;
    case SampleEncoding::Float64: return SND_PCM_FORMAT_FLOAT64_LE;
    }
    return SND_PCM_FORMAT_UNKNOWN;
}

void Quiet(const char *, int, const char *, int, const char *, ...) {}

class AlsaOutput final : public SoundOutput {
public:
    explicit AlsaOutput(snd_pcm_t *pcm, size_t bytesPerFrame) : pcm_(pcm), bytesPerFrame_(bytesPerFrame) {}
    ~AlsaOutput() override {
        snd_pcm_drop(pcm_);
        snd_pcm_close(pcm_);
    }

    bool Write(const uint8_t *frames, size_t frameCount) override {
        while (frameCount > 0) {
            snd_pcm_sframes_t written = snd_pcm_writei(pcm_, frames, frameCount);
            if (written < 0) written = snd_pcm_recover(pcm_, int(written), 1);
            if (written < 0) return false;
            frames += size_t(written) * bytesPerFrame_;
            frameCount -= size_t(written);
        }
        return true;
    }

    void Drain() override { snd_pcm_drain(pcm_); }

private:
    snd_pcm_t *pcm_;
    size_t bytesPerFrame_;
};

} // namespace

std::unique_ptr<SoundOutput> OpenSoundCard(const WaveFormat &format) {
    static const bool silenced = (snd_lib_error_set_handler(Quiet), true);
    (void)silenced;
    const char *device = std::getenv("SORVEL_SOUND_DEVICE");
    snd_pcm_t *pcm = nullptr;
    if (snd_pcm_open(&pcm, device && *device ? device : "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
    if (snd_pcm_set_params(pcm, AlsaFormat(format.encoding), SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                           format.framesPerSecond, 1, kLatencyMicroseconds) < 0) {
        snd_pcm_close(pcm);
        return nullptr;
    }
    return std::make_unique<AlsaOutput>(pcm, format.bytesPerFrame);
}

} // namespace platform
