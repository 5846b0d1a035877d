#include "unavailable_command.h"

#include "core_library.h"
#include "gbk.h"

namespace cmd {

void UnavailableCommand(rt::TypedValue *, int32_t, rt::TypedValue *) {
    ReportProblem(rt::GbkLiteral("所调用的支持库命令在本程序中不可用"));
}

} // namespace cmd
