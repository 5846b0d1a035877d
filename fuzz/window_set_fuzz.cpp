// The window set as the image holds it: the templates, their unit records, the handler
// relocation, and each record's property data through every type's property reader.
#include <cstddef>
#include <cstdint>

#include "common_dialog_data.h"
#include "edit_box_data.h"
#include "window_set_reader.h"
#include "window_unit.h"
#include "window_unit_store.h"

namespace {

int NoRoutine(const uint64_t *, int32_t, uint64_t *) { return 0; }
const rt::EventRoutine kRoutines[] = {NoRoutine, nullptr, NoRoutine, NoRoutine};
const rt::EventRoutineTable kTable = {4, kRoutines};

void ReadProperties(const std::string &data) {
    auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    uint32_t size = uint32_t(data.size());
    units::StoredProperties stored;
    units::ReadPropertyData(units::WindowDataLayout(), bytes, size, stored);
    units::EditBoxProperties edit;
    units::ReadEditBoxData(bytes, size, edit);
    units::CommonDialogProperties dialog;
    units::ReadCommonDialogData(bytes, size, dialog);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<units::WindowTemplate> windows;
    if (!units::ReadWindowSet(data, size, windows)) return 0;
    for (const units::WindowTemplate &w : windows)
        for (const units::UnitEntry &u : w.units) ReadProperties(u.record.propertyData);
    units::RelocateHandlers(windows, &kTable);
    return 0;
}
