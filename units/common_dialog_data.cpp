#include "common_dialog_data.h"

#include <vector>

#include "memory_archive.h"

namespace units {
namespace {

std::vector<int32_t *> Words(CommonDialogProperties &p) {
    return {&p.kind,      &p.filterIndex, &p.createPrompt, &p.fileMustExist, &p.overwritePrompt,
            &p.pathMustExist, &p.noChangeDir, reinterpret_cast<int32_t *>(&p.colour), &p.bold, &p.italic,
            &p.strikeout, &p.underline, &p.pointSize, &p.helpCommand, &p.helpTopic};
}

std::vector<std::string *> Texts(CommonDialogProperties &p) {
    return {&p.title, &p.fileName, &p.filter, &p.initialDir, &p.defaultExt, &p.faceName, &p.helpFile};
}

void PutWord(std::string &out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xff);
}

} // namespace

bool ReadCommonDialogData(const uint8_t *data, uint32_t size, CommonDialogProperties &p) {
    if (!data || size == 0) return true;
    fw::MemoryArchive in(data, size);
    uint32_t version = in.ReadUInt32();
    if (in.Failed() || version > kCommonDialogDataVersion) return false;
    CommonDialogProperties read = p;
    for (int32_t *w : Words(read)) *w = in.ReadInt32();
    for (std::string *t : Texts(read)) *t = in.ReadCountedText();
    if (in.Failed()) return false;
    p = read;
    return true;
}

std::string WriteCommonDialogData(const CommonDialogProperties &p) {
    CommonDialogProperties copy = p;
    std::string out;
    PutWord(out, kCommonDialogDataVersion);
    for (int32_t *w : Words(copy)) PutWord(out, uint32_t(*w));
    for (std::string *t : Texts(copy)) {
        PutWord(out, uint32_t(t->size()));
        out += *t;
    }
    return out;
}

} // namespace units
