// The six support libraries this image was built against, in library-number order.
#include "libraries.h"

#include <vector>

#include "command_table.h"
#include "button_unit.h"
#include "common_dialog.h"
#include "core_library.h"
#include "core_unit_types.h"
#include "edit_box.h"
#include "label_unit.h"
#include "window_unit.h"
#include "multithreading_library.h"
#include "unavailable_command.h"

namespace image {
namespace {

constexpr uint32_t kCoreDataTypeCount = 51;
constexpr uint32_t kSystemInterfaceDataTypeCount = 11;

// Types the application does not use keep all-zero records; the unit types fill theirs.
rt::DataTypeInfo coreDataTypes[kCoreDataTypeCount] = {};
rt::DataTypeInfo systemInterfaceDataTypes[kSystemInterfaceDataTypeCount] = {};

rt::LibraryInfo MakeLibrary(const char *id, const char *name, uint32_t major, uint32_t minor, uint32_t build,
                            uint32_t flags) {
    rt::LibraryInfo info{};
    info.marker = rt::kLibraryRecordMarker;
    info.identifier = id;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    info.name = name;
    info.one = 1;
    info.flags = flags;
    return info;
}

// The command address table of a library: the commands the image knows, by library.
// Libraries 2, 3, 4 and 6 list one command each that is not built here.
std::vector<const void *> CommandAddresses(int32_t library) {
    std::vector<const void *> addresses;
    for (const cmd::CommandEntry *e = cmd::AllCommands(); e->name; ++e)
        if (e->library == library) addresses.push_back(reinterpret_cast<const void *>(e->routine));
    if (addresses.empty() && library != 1) addresses.push_back(reinterpret_cast<const void *>(&cmd::UnavailableCommand));
    return addresses;
}

struct LibraryList {
    rt::LibraryInfo records[6];
    std::vector<const void *> commands[6];
    const rt::LibraryInfo *pointers[6];

    LibraryList() {
        records[0] = MakeLibrary("4E3A1B5C7D9E0F21A3B4C5D6E7F80912", "core", 5, 0, 64, 0xC0000001);
        records[0].furtherVersions[0] = 3;
        records[0].furtherVersions[1] = 7;
        records[0].furtherVersions[2] = 3;
        records[0].furtherVersions[3] = 7;
        records[0].dataTypeCount = kCoreDataTypeCount;
        units::CoreUnitInterfaces interfaces;
        interfaces.window = units::WindowUnitInterface;
        interfaces.editBox = units::EditBoxInterface();
        interfaces.label = units::LabelUnitInterface;
        interfaces.button = units::ButtonUnitInterface;
        interfaces.commonDialog = units::CommonDialogInterface();
        units::FillCoreDataTypes(coreDataTypes, interfaces);
        records[0].dataTypes = coreDataTypes;
        records[0].notify = cmd::CoreLibraryNotify;
        records[1] = MakeLibrary("A1C3E5072B4D6F8091A2B3C4D5E6F708", "special functions", 3, 0, 0, 0xC0000000);
        records[2] = MakeLibrary("B2D4F6183C5E7A9012B3C4D5E6F70819", "internet transfer", 2, 0, 0, 0xC0000000);
        records[3] = MakeLibrary("C3E5071A4D6F8B2123C4D5E6F708192A", "data operations", 2, 0, 50, 0xC0000000);
        records[4] = MakeLibrary("D4F6182B5E7A9C3234D5E6F708192A3B", "multithreading", 2, 0, 3, 0xC0000000);
        records[4].notify = cmd::MultithreadingNotify;
        records[5] = MakeLibrary("E5071A3C6F8BAD4345E6F708192A3B4C", "system interface", 3, 0, 0, 0);
        records[5].dataTypeCount = kSystemInterfaceDataTypeCount;
        records[5].dataTypes = systemInterfaceDataTypes;
        for (int i = 0; i < 6; ++i) {
            commands[i] = CommandAddresses(i + 1);
            records[i].commandCount = uint32_t(commands[i].size());
            records[i].commands = commands[i].data();
            pointers[i] = &records[i];
        }
    }
};

} // namespace

const rt::LibraryInfo *const *LibraryPointers() {
    static LibraryList list;
    return list.pointers;
}

rt::DataTypeInfo *CoreDataTypes() { return coreDataTypes; }

} // namespace image
