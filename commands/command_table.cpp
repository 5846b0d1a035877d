#include "command_table.h"

#include <cstring>
#include <vector>

#include "text_commands.h"
#include "unit_commands.h"

namespace cmd {

extern const CommandEntry kNumberCommands[];
extern const CommandEntry kConversionCommands[];
extern const CommandEntry kDateTimeCommands[];
extern const CommandEntry kFileCommands[];
extern const CommandEntry kSystemCommands[];
extern const CommandEntry kUnitCommands[];
extern const CommandEntry kMultithreadingCommands[];
extern const CommandEntry kObjectCommands[];
extern const CommandEntry kVariantCommands[];

namespace {

// Each command family lists its commands; the table is their union.
const std::vector<CommandEntry> &Table() {
    static const std::vector<CommandEntry> table = [] {
        std::vector<CommandEntry> all;
        for (const CommandEntry *family :
             {kTextCommands, kNumberCommands, kConversionCommands, kDateTimeCommands, kFileCommands, kSystemCommands,
              kUnitCommands, kFocusCommands, kMultithreadingCommands, kObjectCommands, kVariantCommands}) {
            for (const CommandEntry *e = family; e && e->name; ++e) all.push_back(*e);
        }
        all.push_back({nullptr, nullptr, 0});
        return all;
    }();
    return table;
}

} // namespace

const CommandEntry *AllCommands() { return Table().data(); }

const CommandEntry *FindCommand(const char *name) {
    for (const CommandEntry *e = AllCommands(); e->name; ++e)
        if (std::strcmp(e->name, name) == 0) return e;
    return nullptr;
}

} // namespace cmd
