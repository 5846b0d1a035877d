#include "mouse_pointer.h"

#include <cstring>
#include <vector>

namespace units {
namespace {

constexpr int32_t kCursorCodes[15] = {0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                      32646, 32643, 32645, 32642, 32644, 32516, 32649};
constexpr int32_t kHandCode = 32649;
constexpr int kHandResource = 1032;

int32_t FirstWord(const std::string &data) {
    int32_t word;
    std::memcpy(&word, data.data(), 4);
    return word;
}

std::string WithFirstWord(std::string data, int32_t word) {
    std::memcpy(data.data(), &word, 4);
    return data;
}

uint32_t At32(const std::string &s, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

uint16_t At16(const std::string &s, size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, s.data() + at, 2);
    return v;
}

// A cursor file: its first image with the hot spot of its directory entry.
HCURSOR CursorFromFile(const std::string &file) {
    if (file.size() < 22 || At16(file, 0) != 0 || At16(file, 2) != 2 || At16(file, 4) == 0) return nullptr;
    uint32_t size = At32(file, 14), offset = At32(file, 18);
    if (offset > file.size() || size > file.size() - offset || size == 0) return nullptr;
    std::vector<BYTE> bits(4 + size);
    uint16_t hotspot[2] = {At16(file, 10), At16(file, 12)};
    std::memcpy(bits.data(), hotspot, 4);
    std::memcpy(bits.data() + 4, file.data() + offset, size);
    return CreateIconFromResourceEx(bits.data(), DWORD(bits.size()), FALSE, 0x00030000, 0, 0, 0);
}

HCURSOR SystemCursor(int32_t code) {
    if (code == 0) return nullptr;
    if (code == kHandCode) {
        if (HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandResource))) return own;
    }
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(code));
}

} // namespace

int32_t PointerNumberToCursorCode(int32_t number) {
    return number >= 0 && number < 15 ? kCursorCodes[number] : number;
}

int32_t CursorCodeToPointerNumber(int32_t code) {
    for (int32_t n = 0; n < 15; ++n)
        if (kCursorCodes[n] == code) return n;
    return code;
}

std::string PointerDataToStored(const std::string &data) {
    return data.size() < 4 ? data : WithFirstWord(data, PointerNumberToCursorCode(FirstWord(data)));
}

std::string PointerDataToPublic(const std::string &data) {
    return data.size() < 4 ? data : WithFirstWord(data, CursorCodeToPointerNumber(FirstWord(data)));
}

HCURSOR MakeCursor(const std::string &stored) {
    if (stored.empty()) return nullptr;
    if (stored.size() < 4) return SystemCursor(PointerNumberToCursorCode(uint8_t(stored[0])));
    int32_t first = FirstWord(stored);
    if (first == -1) return CursorFromFile(stored.substr(4));
    if (stored.size() > 10)
        if (HCURSOR file = CursorFromFile(stored)) return file;
    return SystemCursor(first);
}

} // namespace units
