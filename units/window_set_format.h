// The window set's records as they are serialized in the image, and the writer that
// produces that form. Plain standard C++ so that build tools can use it too.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace units {

constexpr uint32_t kNoHandler = 0xFFFFFFFF;
constexpr uint32_t kMenuItemType = 0x10003;

// Identifier kinds (top byte).
enum IdentifierKind : uint32_t {
    kKindWindow = 0x52,
    kKindWindowUnit = 0x06,
    kKindUnit = 0x16,
    kKindMenuItem = 0x26,
};

inline bool IsValidIdentifier(uint32_t id) { return (id & 0xFFFFFF) != 0 && ((id >> 24) & 0xF) != 0; }
inline bool IsMenuItemIdentifier(uint32_t id) { return ((id >> 24) & 0xF) == 6 && (id >> 28) == 2; }

struct EventBinding {
    int32_t event;
    uintptr_t handler; // the offset in the image; the routine once relocated (0 = none)
};

// One unit record. Menu items use the fields up to secondName and the menu fields.
struct UnitRecord {
    uint32_t type = 0;
    uint32_t eventSource = 0;
    std::array<uint8_t, 16> reserved1{};
    std::string name;
    std::string secondName;
    uintptr_t liveObject = 0; // run time: the unit's window object
    int32_t left = 0, top = 0, width = 0, height = 0;
    uintptr_t cursor = 0;     // run time: the cursor made from the pointer data
    uint32_t container = 0;
    std::vector<uint32_t> contained;
    std::string pointerData;
    std::string tag;
    uint32_t reserved2 = 0;
    uint32_t state = 0;
    int32_t tabOrder = 0;
    std::vector<EventBinding> bindings;
    std::array<uint8_t, 20> reserved3{};
    std::string propertyData;
    // Menu items.
    uint32_t menuWords[2] = {0, 0};
    std::string caption;
    uintptr_t menuHandler = kNoHandler;

    bool IsMenuItem() const { return type == kMenuItemType; }
};

// State flags of a unit record.
enum : uint32_t {
    kStateVisible = 0x1,
    kStateDisabled = 0x2,
    kStateTabStop = 0x4,
};

struct UnitEntry {
    uint32_t id = 0;
    UnitRecord record;
};

struct WindowTemplate {
    uint32_t id = 0;
    uint32_t words[2] = {0, 0};
    std::string texts[2];
    std::vector<UnitEntry> units;
};

// Serializes one unit record's data (without its length word). Handlers are written
// as they are held, so a set read but not relocated writes back unchanged.
std::string WriteUnitRecord(const UnitRecord &record);
std::string WriteUnitList(const std::vector<UnitEntry> &units);
std::string WriteWindowSet(const std::vector<WindowTemplate> &windows);

} // namespace units
