// Appending N lines to a multi-line EDIT control through WM_GETTEXTLENGTH, EM_SETSEL,
// EM_SCROLLCARET and EM_REPLACESEL (ANSI byte positions, CRLF line breaks), against
// QPlainTextEdit::appendPlainText of the same lines. The "ratio" counter is the control's
// time over the baseline's. The argument is the number of lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "windows.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> Lines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back("http://www.site" + std::to_string(i) + ".example.com/\r\n");
    return lines;
}

double ViaEditControl(const std::vector<std::string> &lines) {
    HWND edit = CreateWindowExA(0, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_POPUP, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    auto start = Clock::now();
    for (const std::string &line : lines) {
        LRESULT n = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
        SendMessageA(edit, EM_SETSEL, WPARAM(n), LPARAM(n));
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
        SendMessageA(edit, EM_REPLACESEL, FALSE, LPARAM(line.c_str()));
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    DestroyWindow(edit);
    return seconds;
}

double ViaQt(const std::vector<std::string> &lines) {
    QPlainTextEdit box;
    auto start = Clock::now();
    for (const std::string &line : lines) {
        box.moveCursor(QTextCursor::End);
        box.insertPlainText(QString::fromLatin1(line.c_str(), int(line.size()) - 2) + '\n');
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void AppendLines(benchmark::State &state) {
    std::vector<std::string> lines = Lines(int(state.range(0)));
    double control = 0, baseline = 0;
    for (auto _ : state) {
        control += ViaEditControl(lines);
        baseline += ViaQt(lines);
        state.SetIterationTime(control);
    }
    state.counters["ratio"] = baseline > 0 ? control / baseline : 0;
}

BENCHMARK(AppendLines)->Arg(1000)->Arg(5000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    GetSystemMetrics(SM_CXSCREEN); // the application exists before the first window
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
