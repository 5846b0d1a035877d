#include "core_unit_types.h"

#include <initializer_list>
#include <vector>

#include "gbk.h"

namespace units {
namespace {

constexpr uint16_t kCommonState = 0xe000;
constexpr uint16_t kStoredState = 0x8000;
constexpr uint16_t kRunTimeState = 0x8002;

struct PropertyTable {
    std::vector<PropertyInfo> entries;

    // The eight common properties, then one entry per unit-specific value type.
    explicit PropertyTable(std::initializer_list<uint16_t> specific, int runTimeOnly = -1) {
        for (uint16_t type : {kValuePixels, kValuePixels, kValuePixels, kValuePixels, kValueText, kValueLogical,
                              kValueLogical, kValuePointer})
            entries.push_back({nullptr, nullptr, nullptr, type, kCommonState, nullptr});
        for (uint16_t type : specific) {
            uint16_t state = int(entries.size()) == runTimeOnly ? kRunTimeState : kStoredState;
            entries.push_back({nullptr, nullptr, nullptr, type, state, nullptr});
        }
    }
};

const PropertyTable &WindowProperties() {
    static const PropertyTable t({1005, 1006, 1017, 1009, 1006, 1012, 1006, 1003, 1003, 1003, 1006, 1003,
                                  1010, 1003, 1003, 1003, 1016, 1001, 1003, 1003, 1006, 1003, 1003, 1005});
    return t;
}
const PropertyTable &EditBoxProperties() {
    static const PropertyTable t({1005, 1006, 1014, 1017, 1013, 1003, 1001, 1003, 1006, 1006, 1006, 1005, 1006,
                                  1006, 1001, 1001, 1001, 1001, 1005, 1018, 1020},
                                 26);
    return t;
}
const PropertyTable &LabelProperties() {
    static const PropertyTable t({1005, 1006, 1006, 1001, 1015, 1015, 1015, 1013, 1014, 1017, 1009, 1006, 1006,
                                  1015, 1015, 1015, 1006, 1003, 1006, 1018, 1020});
    return t;
}
const PropertyTable &ButtonProperties() {
    static const PropertyTable t({1009, 1006, 1005, 1006, 1006, 1013});
    return t;
}
const PropertyTable &CommonDialogProperties() {
    static const PropertyTable t({1006, 1005, 1005, 1005, 1001, 1005, 1005, 1003, 1003, 1003, 1003, 1003, 1014,
                                  1003, 1003, 1003, 1003, 1005, 1001, 1005, 1006, 1001});
    return t;
}

struct TypeEntry {
    uint32_t code;
    const char *name;
    const char *englishName;
    uint32_t flags;
    const PropertyTable *properties;
    UnitInterface CoreUnitInterfaces::*routine;
};

void Fill(rt::DataTypeInfo &info, const TypeEntry &e, const CoreUnitInterfaces &interfaces) {
    info = rt::DataTypeInfo{};
    info.name = e.name;
    info.englishName = e.englishName;
    info.flags = e.flags;
    if (e.properties) {
        info.propertyCount = uint32_t(e.properties->entries.size());
        info.properties = e.properties->entries.data();
    }
    if (e.routine) info.unitInterface = reinterpret_cast<const void *>(interfaces.*e.routine);
}

const std::vector<TypeEntry> &Entries() {
    static const std::vector<TypeEntry> entries = {
        {kTypeWindow, rt::GbkLiteral("窗口"), "window", 0x800000d0, &WindowProperties(), &CoreUnitInterfaces::window},
        {kTypeMenuItem, nullptr, nullptr, 0x80000004, nullptr, &CoreUnitInterfaces::menuItem},
        {kTypeEditBox, rt::GbkLiteral("编辑框"), "EditBox", 0x80000040, &EditBoxProperties(),
         &CoreUnitInterfaces::editBox},
        {kTypeLabel, rt::GbkLiteral("标签"), "Label", 0x84012040, &LabelProperties(), &CoreUnitInterfaces::label},
        {kTypeButton, rt::GbkLiteral("按钮"), "Button", 0x80000840, &ButtonProperties(), &CoreUnitInterfaces::button},
        {kTypeCommonDialog, rt::GbkLiteral("通用对话框"), "CommonDlg", 0x80008040, &CommonDialogProperties(),
         &CoreUnitInterfaces::commonDialog},
        {kTypeObject, rt::GbkLiteral("对象"), "ComObject", 0x80000000, nullptr, nullptr},
        {kTypeVariant, rt::GbkLiteral("变体型"), "Variant", 0x80000000, nullptr, nullptr},
    };
    return entries;
}

} // namespace

void FillCoreDataTypes(rt::DataTypeInfo *table, const CoreUnitInterfaces &interfaces) {
    for (const TypeEntry &e : Entries()) Fill(table[(e.code & 0xFFFF) - 1], e, interfaces);
}

const PropertyInfo *PropertiesOf(uint32_t typeCode, uint32_t &count) {
    for (const TypeEntry &e : Entries())
        if (e.code == typeCode && e.properties) {
            count = uint32_t(e.properties->entries.size());
            return e.properties->entries.data();
        }
    count = 0;
    return nullptr;
}

} // namespace units
