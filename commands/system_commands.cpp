#include "system_commands.h"

#include "command_arguments.h"
#include "gbk.h"
#include "memory.h"
#include "message_text.h"
#include "windows.h"

namespace cmd {

uint32_t MessageBoxStyle(int32_t flags) {
    uint32_t style = uint32_t(flags);
    return (style & MB_SYSTEMMODAL) ? style : style | MB_TASKMODAL;
}

int32_t PressedButtonIndex(int id) {
    switch (id) {
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return 0;
    }
}

// No messages are processed while the thread sleeps.
void Delay(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    int32_t ms = IntegerArgument(count, args, 0);
    ::Sleep(DWORD(ms < 0 ? 0 : ms));
}

void MessageBox(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    char *text = count > 0 ? MessageText(args[0]) : nullptr;
    const char *caption = ArgumentGiven(count, args, 2) ? TextArgument(count, args, 2) : rt::GbkLiteral("信息：");
    int id = ::MessageBoxA(nullptr, text ? text : "", caption, MessageBoxStyle(IntegerArgument(count, args, 1)));
    rt::FreeMemory(text);
    *result = rt::MakeInteger(PressedButtonIndex(id));
}

const CommandEntry kSystemCommands[] = {
    {"Delay", Delay, 1},
    {"MessageBox", MessageBox, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
