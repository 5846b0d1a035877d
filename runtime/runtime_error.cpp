#include "runtime_error.h"

#include <iterator>
#include <string>

#include "gbk.h"
#include "runtime_app.h"

namespace rt {
namespace {

const char *const kErrorTable[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

} // namespace

const char *RuntimeErrorMessage(int32_t number) {
    if (number < 1 || number > int32_t(std::size(kErrorTable))) return nullptr;
    return GbkLiteral(kErrorTable[number - 1]);
}

std::string BuildReportText(const char *message, int32_t code) {
    std::string text = ToGbk("运行时出错!\r\n\r\n");
    if (code != 0) text += ToGbk("错误代码：") + std::to_string(code) + "\r\n\r\n";
    if (message && *message) text += ToGbk("错误信息：") + message + "\r\n";
    return text;
}

void ReportRuntimeError(const char *message, int32_t code) {
    RuntimeApp &app = App();
    // A worker still running after the last window closed (a job appending to a box
    // that is gone) ends quietly: the main thread is already ending the program.
    if (app.programEnding && GetCurrentThreadId() != app.mainThreadId) ExitThread(0);
    ++app.eventSuppression;
    std::string text = BuildReportText(message, code);
    MessageBoxA(nullptr, text.c_str(), GbkLiteral("错误"), MB_OK | MB_ICONERROR);
    app.cleanUpRoutine = nullptr;
    ExitProgram(-1);
}

// A number outside the table is reported with its code and no text.
void ReportRuntimeErrorNumber(int32_t number) { ReportRuntimeError(RuntimeErrorMessage(number), number); }

} // namespace rt
