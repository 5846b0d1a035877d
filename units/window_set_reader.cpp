#include "window_set_reader.h"

#include "memory_archive.h"

namespace units {
namespace {

template <size_t N> void ReadArray(fw::MemoryArchive &in, std::array<uint8_t, N> &out) { in.ReadBytes(out.data(), N); }

void ReadMenuItem(fw::MemoryArchive &in, UnitRecord &r) {
    r.menuWords[0] = in.ReadUInt32();
    r.menuWords[1] = in.ReadUInt32();
    r.state = in.ReadUInt32();
    r.caption = in.ReadTerminatedText();
    r.menuHandler = in.ReadUInt32();
}

void ReadUnitFields(fw::MemoryArchive &in, UnitRecord &r) {
    in.ReadUInt32(); // live object: 0 in the file
    r.left = in.ReadInt32();
    r.top = in.ReadInt32();
    r.width = in.ReadInt32();
    r.height = in.ReadInt32();
    in.ReadUInt32(); // cursor
    r.container = in.ReadUInt32();
    uint32_t count = in.ReadUInt32();
    if (count > in.Remaining() / 4) return (void)in.Skip(in.Remaining() + 1);
    for (uint32_t i = 0; i < count; ++i) r.contained.push_back(in.ReadUInt32());
    r.pointerData = in.ReadCountedText();
    r.tag = in.ReadTerminatedText();
    r.reserved2 = in.ReadUInt32();
    r.state = in.ReadUInt32();
    r.tabOrder = in.ReadInt32();
    count = in.ReadUInt32();
    if (count > in.Remaining() / 8) return (void)in.Skip(in.Remaining() + 1);
    for (uint32_t i = 0; i < count; ++i) {
        int32_t event = in.ReadInt32();
        r.bindings.push_back({event, in.ReadUInt32()});
    }
    ReadArray(in, r.reserved3);
    if (in.Failed()) return;
    size_t rest = in.Remaining();
    r.propertyData.assign(reinterpret_cast<const char *>(in.Borrow(rest)), rest);
}

bool ReadUnitList(fw::MemoryArchive &in, std::vector<UnitEntry> &units) {
    uint32_t count = in.ReadUInt32(), length = in.ReadUInt32();
    const uint8_t *block = in.Borrow(length);
    if (!block || count == 0 || count > length / 12) return false;
    fw::MemoryArchive list(block, length);
    units.resize(count);
    for (UnitEntry &u : units) u.id = list.ReadUInt32();
    std::vector<uint32_t> offsets(count);
    for (uint32_t &o : offsets) o = list.ReadUInt32();
    size_t recordsStart = list.Position();
    for (uint32_t i = 0; i < count; ++i) {
        if (offsets[i] > length - recordsStart) return false;
        fw::MemoryArchive at(block + recordsStart + offsets[i], length - recordsStart - offsets[i]);
        uint32_t size = at.ReadUInt32();
        const uint8_t *data = at.Borrow(size);
        if (!data || !IsValidIdentifier(units[i].id) || !ReadUnitRecord(data, size, units[i].record)) return false;
    }
    return !units[0].record.IsMenuItem();
}

bool ReadWindow(fw::MemoryArchive &in, WindowTemplate &w) {
    w.words[0] = in.ReadUInt32();
    w.words[1] = in.ReadUInt32();
    w.texts[0] = in.ReadCountedText();
    w.texts[1] = in.ReadCountedText();
    return !in.Failed() && ReadUnitList(in, w.units);
}

bool RelocateOne(uintptr_t &handler, const EventRoutineTable *table) {
    uint32_t offset = uint32_t(handler);
    if (offset == kNoHandler) {
        handler = 0;
        return true;
    }
    if (!table || offset >= table->count) return false;
    handler = reinterpret_cast<uintptr_t>(table->routines[offset]);
    return true;
}

} // namespace

bool ReadUnitRecord(const uint8_t *data, size_t size, UnitRecord &r) {
    fw::MemoryArchive in(data, size);
    r.type = in.ReadUInt32();
    r.eventSource = in.ReadUInt32();
    ReadArray(in, r.reserved1);
    r.name = in.ReadTerminatedText();
    r.secondName = in.ReadTerminatedText();
    if (r.IsMenuItem()) ReadMenuItem(in, r);
    else ReadUnitFields(in, r);
    return !in.Failed();
}

bool ReadWindowSet(const uint8_t *data, size_t size, std::vector<WindowTemplate> &windows) {
    fw::MemoryArchive in(data, size);
    uint32_t keyBytes = in.ReadUInt32();
    if (in.Failed() || keyBytes % 8 || keyBytes > in.Remaining()) return false;
    windows.assign(keyBytes / 8, WindowTemplate{});
    for (WindowTemplate &w : windows) w.id = in.ReadUInt32();
    in.Skip(keyBytes / 2); // run-time placeholders
    for (WindowTemplate &w : windows)
        if (!IsValidIdentifier(w.id) || !ReadWindow(in, w)) return false;
    return !in.Failed();
}

bool RelocateHandlers(std::vector<WindowTemplate> &windows, const EventRoutineTable *table) {
    for (WindowTemplate &w : windows)
        for (UnitEntry &u : w.units) {
            if (u.record.IsMenuItem() && !RelocateOne(u.record.menuHandler, table)) return false;
            for (EventBinding &b : u.record.bindings)
                if (!RelocateOne(b.handler, table)) return false;
        }
    return true;
}

} // namespace units
