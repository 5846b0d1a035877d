#include "edit_box_data.h"

#include <initializer_list>

#include "memory_archive.h"

namespace units {
namespace {

void PutWord(std::string &out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xff);
}

void PutCounted(std::string &out, const std::string &bytes) {
    PutWord(out, uint32_t(bytes.size()));
    out += bytes;
}

void ReadWords(fw::MemoryArchive &in, std::initializer_list<int32_t *> fields) {
    for (int32_t *f : fields) *f = in.ReadInt32();
}

} // namespace

bool ReadEditBoxData(const uint8_t *data, uint32_t size, EditBoxProperties &p) {
    if (!data || size == 0) return true;
    fw::MemoryArchive in(data, size);
    uint32_t version = in.ReadUInt32();
    if (in.Failed() || version > kEditBoxDataVersion) return false;
    ReadWords(in, {&p.border});
    p.textColour = in.ReadUInt32();
    p.background = in.ReadUInt32();
    ReadWords(in, {&p.hideSelection, &p.maxLength, &p.multiLine, &p.scrollBars, &p.alignment, &p.inputMode});
    uint8_t pc[2] = {0, 0};
    in.ReadBytes(pc, 2);
    p.passwordChar = uint16_t(pc[0] | (pc[1] << 8));
    ReadWords(in, {&p.caseMode, &p.adjuster, &p.bound1, &p.bound2, &p.selStart, &p.selLength});
    p.font = in.ReadCountedText();
    p.content = in.ReadCountedText();
    if (version >= 2) {
        p.dataSource = in.ReadCountedText();
        p.dataColumn = in.ReadCountedText();
    }
    return !in.Failed();
}

std::string WriteEditBoxData(const EditBoxProperties &p) {
    std::string out;
    for (uint32_t v : {kEditBoxDataVersion, uint32_t(p.border), p.textColour, p.background, uint32_t(p.hideSelection),
                       uint32_t(p.maxLength), uint32_t(p.multiLine), uint32_t(p.scrollBars), uint32_t(p.alignment),
                       uint32_t(p.inputMode)})
        PutWord(out, v);
    out += char(p.passwordChar & 0xff);
    out += char(p.passwordChar >> 8);
    for (int32_t v : {p.caseMode, p.adjuster, p.bound1, p.bound2, p.selStart, p.selLength}) PutWord(out, uint32_t(v));
    PutCounted(out, p.font);
    PutCounted(out, p.content);
    PutCounted(out, p.dataSource);
    PutCounted(out, p.dataColumn);
    return out;
}

} // namespace units
