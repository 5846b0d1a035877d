#include "window_set_format.h"

namespace units {
namespace {

void PutWord(std::string &out, uint32_t word) {
    for (int i = 0; i < 4; ++i) out += char((word >> (8 * i)) & 0xFF);
}

void PutCounted(std::string &out, const std::string &bytes) {
    PutWord(out, uint32_t(bytes.size()));
    out += bytes;
}

void PutTerminated(std::string &out, const std::string &text) {
    out += text;
    out += '\0';
}

template <size_t N> void PutBytes(std::string &out, const std::array<uint8_t, N> &bytes) {
    out.append(reinterpret_cast<const char *>(bytes.data()), N);
}

void PutMenuItem(std::string &out, const UnitRecord &r) {
    PutWord(out, r.menuWords[0]);
    PutWord(out, r.menuWords[1]);
    PutWord(out, r.state);
    PutTerminated(out, r.caption);
    PutWord(out, uint32_t(r.menuHandler));
}

void PutUnit(std::string &out, const UnitRecord &r) {
    PutWord(out, 0); // live object
    for (int32_t v : {r.left, r.top, r.width, r.height}) PutWord(out, uint32_t(v));
    PutWord(out, 0); // cursor
    PutWord(out, r.container);
    PutWord(out, uint32_t(r.contained.size()));
    for (uint32_t id : r.contained) PutWord(out, id);
    PutCounted(out, r.pointerData);
    PutTerminated(out, r.tag);
    PutWord(out, r.reserved2);
    PutWord(out, r.state);
    PutWord(out, uint32_t(r.tabOrder));
    PutWord(out, uint32_t(r.bindings.size()));
    for (const EventBinding &b : r.bindings) {
        PutWord(out, uint32_t(b.event));
        PutWord(out, uint32_t(b.handler));
    }
    PutBytes(out, r.reserved3);
    out += r.propertyData;
}

} // namespace

std::string WriteUnitRecord(const UnitRecord &r) {
    std::string out;
    PutWord(out, r.type);
    PutWord(out, r.eventSource);
    PutBytes(out, r.reserved1);
    PutTerminated(out, r.name);
    PutTerminated(out, r.secondName);
    if (r.IsMenuItem()) PutMenuItem(out, r);
    else PutUnit(out, r);
    return out;
}

std::string WriteUnitList(const std::vector<UnitEntry> &units) {
    std::string ids, offsets, records;
    for (const UnitEntry &u : units) {
        PutWord(ids, u.id);
        PutWord(offsets, uint32_t(records.size()));
        PutCounted(records, WriteUnitRecord(u.record));
    }
    std::string out;
    PutWord(out, uint32_t(units.size()));
    PutWord(out, uint32_t(ids.size() + offsets.size() + records.size()));
    return out + ids + offsets + records;
}

std::string WriteWindowSet(const std::vector<WindowTemplate> &windows) {
    std::string keys, placeholders, body;
    for (const WindowTemplate &w : windows) {
        PutWord(keys, w.id);
        PutWord(placeholders, 0);
        PutWord(body, w.words[0]);
        PutWord(body, w.words[1]);
        PutCounted(body, w.texts[0]);
        PutCounted(body, w.texts[1]);
        body += WriteUnitList(w.units);
    }
    std::string out;
    PutWord(out, uint32_t(keys.size() + placeholders.size()));
    return out + keys + placeholders + body;
}

} // namespace units
