#include "midi_render.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>

namespace rt {
namespace {

constexpr size_t kMaxNotes = 100000;
// Notes sounding at once; a note beyond them ends the oldest. Without this limit a
// small file holding thousands of notes to the end of a long song takes minutes to render.
constexpr size_t kMaxVoices = 16;
constexpr double kAttackSeconds = 0.005, kReleaseSeconds = 0.05, kDrumSeconds = 0.15;
constexpr uint8_t kPercussionChannel = 9;
constexpr uint32_t kDefaultTempo = 500000; // microseconds per quarter note

class Reader {
public:
    Reader(const uint8_t *p, size_t size) : p_(p), end_(p + size) {}
    bool AtEnd() const { return p_ >= end_; }
    size_t Left() const { return size_t(end_ - p_); }
    uint8_t Byte() { return p_ < end_ ? *p_++ : (ok_ = false, 0); }
    uint32_t BigEndian(int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | Byte();
        return v;
    }
    uint32_t VariableLength() { // at most four bytes of seven bits
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = Byte();
            v = v << 7 | (b & 0x7F);
            if (!(b & 0x80)) return v;
        }
        ok_ = false;
        return v;
    }
    void Skip(size_t n) { p_ += std::min(n, Left()); }
    bool Ok() const { return ok_; }
    const uint8_t *Here() const { return p_; }

private:
    const uint8_t *p_, *end_;
    bool ok_ = true;
};

enum class EventKind : uint8_t { Tempo, NoteOn, NoteOff, TrackEnd };

struct Event {
    uint64_t tick;
    EventKind kind;
    uint8_t channel, key, velocity;
    uint32_t tempo;
};

struct Note {
    double start, end;
    uint8_t channel, key, velocity;
};

// The events of one track; returns the tick the track ends at (where it was cut off).
uint64_t ReadEvents(Reader &track, std::vector<Event> &events) {
    uint64_t tick = 0;
    uint8_t status = 0;
    while (!track.AtEnd() && track.Ok() && events.size() < kMaxNotes * 2) {
        tick += track.VariableLength();
        uint8_t first = track.Byte();
        if (first & 0x80)
            status = first;
        else if (!status)
            return tick; // running status with nothing to run on
        if (status == 0xFF) {
            uint8_t type = track.Byte();
            uint32_t length = track.VariableLength();
            if (type == 0x2F) return tick;
            if (type == 0x51 && length == 3)
                events.push_back({tick, EventKind::Tempo, 0, 0, 0, track.BigEndian(3)});
            else
                track.Skip(length);
            status = 0; // meta and system events cancel running status
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            track.Skip(track.VariableLength());
            status = 0;
            continue;
        }
        uint8_t kind = status & 0xF0, channel = status & 0x0F;
        uint8_t data1 = (first & 0x80) ? track.Byte() : first;
        if (kind == 0xC0 || kind == 0xD0) continue;
        uint8_t data2 = track.Byte();
        if (!track.Ok()) return tick;
        if (kind == 0x90 && data2 > 0)
            events.push_back({tick, EventKind::NoteOn, channel, data1, data2, 0});
        else if (kind == 0x80 || kind == 0x90)
            events.push_back({tick, EventKind::NoteOff, channel, data1, 0, 0});
    }
    return tick;
}

void ReadTrack(Reader track, std::vector<Event> &events) {
    uint64_t end = ReadEvents(track, events);
    events.push_back({end, EventKind::TrackEnd, 0, 0, 0, 0});
}

void EndNote(std::vector<Note> &notes, std::vector<Note> &open, std::vector<Note>::iterator note, double now) {
    note->end = now;
    notes.push_back(*note);
    open.erase(note);
}

// Ticks become seconds through the tempo map; SMPTE divisions count real time.
std::vector<Note> NotesOf(std::vector<Event> &events, uint16_t division) {
    // Stable: events at one tick keep their order in the file.
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) { return a.tick < b.tick; });
    bool smpte = division & 0x8000;
    double ticksPerSecond = smpte ? double(256 - (division >> 8)) * double(division & 0xFF) : 0;
    double secondsPerTick = smpte ? 1 / ticksPerSecond : kDefaultTempo / 1e6 / division;
    std::vector<Note> notes, open;
    double now = 0;
    uint64_t lastTick = 0;
    for (const Event &e : events) {
        now += double(e.tick - lastTick) * secondsPerTick;
        lastTick = e.tick;
        if (now > kMidiLongestSeconds) break;
        if (e.kind == EventKind::Tempo) {
            if (!smpte && e.tempo > 0) secondsPerTick = e.tempo / 1e6 / division;
        } else if (e.kind == EventKind::TrackEnd) {
            continue;
        } else if (e.kind == EventKind::NoteOn) {
            if (open.size() == kMaxVoices) EndNote(notes, open, open.begin(), now);
            open.push_back({now, now, e.channel, e.key, e.velocity});
        } else {
            auto it = std::find_if(open.begin(), open.end(),
                                   [&](const Note &n) { return n.channel == e.channel && n.key == e.key; });
            if (it != open.end()) EndNote(notes, open, it, now);
        }
    }
    for (Note &n : open) { // never released: held to the end of the song
        n.end = std::min(now, kMidiLongestSeconds);
        notes.push_back(n);
    }
    return notes;
}

void AddTone(std::vector<float> &mix, const Note &n) {
    const double frequency = 440.0 * std::pow(2.0, (n.key - 69) / 12.0);
    const double amplitude = 0.25 * n.velocity / 127.0;
    size_t first = size_t(n.start * kMidiFramesPerSecond);
    size_t last = std::min(mix.size(), size_t((n.end + kReleaseSeconds) * kMidiFramesPerSecond));
    for (size_t i = first; i < last; ++i) {
        double t = double(i) / kMidiFramesPerSecond - n.start;
        double envelope = std::min(1.0, t / kAttackSeconds);
        if (t > n.end - n.start) envelope *= std::max(0.0, 1 - (t - (n.end - n.start)) / kReleaseSeconds);
        double phase = 2 * std::numbers::pi * frequency * t;
        mix[i] += float(amplitude * envelope * (std::sin(phase) + 0.3 * std::sin(2 * phase)));
    }
}

void AddDrum(std::vector<float> &mix, const Note &n) {
    const double amplitude = 0.25 * n.velocity / 127.0;
    uint32_t noise = 0x12345678u ^ n.key;
    size_t first = size_t(n.start * kMidiFramesPerSecond);
    size_t last = std::min(mix.size(), first + size_t(kDrumSeconds * kMidiFramesPerSecond));
    for (size_t i = first; i < last; ++i) {
        noise = noise * 1664525u + 1013904223u;
        double t = double(i - first) / kMidiFramesPerSecond;
        mix[i] += float(amplitude * std::exp(-t * 30) * (double(noise >> 8) / double(1 << 23) - 1));
    }
}

void Put(std::vector<uint8_t> &out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> WaveImage(const std::vector<float> &mix) {
    float peak = 1;
    for (float s : mix) peak = std::max(peak, std::fabs(s));
    uint32_t dataBytes = uint32_t(mix.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(out, 16, 4), Put(out, 1, 2), Put(out, 1, 2), Put(out, kMidiFramesPerSecond, 4);
    Put(out, kMidiFramesPerSecond * 2, 4), Put(out, 2, 2), Put(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, dataBytes, 4);
    for (float s : mix) Put(out, uint32_t(int16_t(std::lround(s / peak * 32767))), 2);
    return out;
}

} // namespace

bool IsMidi(const uint8_t *bytes, size_t sizeBytes) {
    return bytes && sizeBytes >= 14 && std::memcmp(bytes, "MThd", 4) == 0;
}

std::optional<std::vector<uint8_t>> RenderMidi(const uint8_t *bytes, size_t sizeBytes) {
    if (!IsMidi(bytes, sizeBytes)) return std::nullopt;
    Reader file(bytes, sizeBytes);
    file.Skip(4);
    uint32_t headerBytes = file.BigEndian(4);
    uint16_t format = uint16_t(file.BigEndian(2)), trackCount = uint16_t(file.BigEndian(2)),
             division = uint16_t(file.BigEndian(2));
    if (headerBytes < 6 || format > 2 || division == 0 || (division & 0x8000 && (division & 0xFF) == 0))
        return std::nullopt;
    file.Skip(headerBytes - 6);
    std::vector<Event> events;
    for (uint16_t tracks = 0; tracks < trackCount && file.Left() >= 8;) {
        bool isTrack = std::memcmp(file.Here(), "MTrk", 4) == 0; // other chunks are skipped
        file.Skip(4);
        uint32_t length = file.BigEndian(4);
        size_t available = std::min<size_t>(length, file.Left());
        if (isTrack) ReadTrack(Reader(file.Here(), available), events), ++tracks;
        file.Skip(available);
    }
    std::vector<Note> notes = NotesOf(events, division);
    if (notes.empty()) return std::nullopt;
    double end = 0;
    for (const Note &n : notes)
        end = std::max(end, n.channel == kPercussionChannel ? n.start + kDrumSeconds : n.end + kReleaseSeconds);
    std::vector<float> mix(size_t(std::min(end, kMidiLongestSeconds) * kMidiFramesPerSecond) + 1, 0.0f);
    for (const Note &n : notes) n.channel == kPercussionChannel ? AddDrum(mix, n) : AddTone(mix, n);
    return WaveImage(mix);
}

} // namespace rt
