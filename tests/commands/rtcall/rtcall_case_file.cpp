#include "rtcall_case_file.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "c_library_texts.h"
#include "gbk.h"

namespace rtcalltest {
namespace {

std::string Trim(const std::string &s) {
    size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<std::string> Split(const std::string &s, const std::string &separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = s.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(Trim(s.substr(start, at - start)));
    parts.push_back(Trim(s.substr(start)));
    return parts;
}

std::string HexOf(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

// "clib:-nan" is the text the tool's C library writes for that non-finite value, named as
// glibc writes it; RTCALL_C_LIBRARY=msvcrt says the tool is the Windows build.
std::string CLibraryText(const std::string &glibcName) {
    const char *library = std::getenv("RTCALL_C_LIBRARY");
    const testsupport::NonFiniteTexts &from = testsupport::kGlibcNonFinite;
    const testsupport::NonFiniteTexts &to =
        library && std::string(library) == "msvcrt" ? testsupport::kMsvcrtNonFinite : from;
    if (glibcName == from.infinity) return to.infinity;
    if (glibcName == from.negativeInfinity) return to.negativeInfinity;
    if (glibcName == from.nan) return to.nan;
    if (glibcName == from.negativeNan) return to.negativeNan;
    return "(not a non-finite name: " + glibcName + ")";
}

void AddExpectation(Case &c, const std::string &item) {
    if (item.rfind("exit ", 0) == 0) c.expectedExit = std::atoi(item.c_str() + 5);
    else if (item.rfind("stderr ", 0) == 0) c.expectedStderr = item.substr(7);
    else if (item.rfind("u:", 0) == 0) c.expectedLines.push_back("t:" + HexOf(rt::ToGbk(item.substr(2))));
    else if (item.rfind("clib:", 0) == 0) c.expectedLines.push_back("t:" + HexOf(CLibraryText(item.substr(5))));
    else c.expectedLines.push_back(item);
}

void ReadFile(const std::filesystem::path &path, std::vector<Case> &cases) {
    std::ifstream in(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        size_t arrow = line.find(" => ");
        Case c;
        c.name = path.stem().string() + "_line" + std::to_string(number);
        std::istringstream words(line.substr(0, arrow));
        for (std::string w; words >> w;) c.arguments.push_back(w);
        if (arrow != std::string::npos)
            for (const std::string &item : Split(line.substr(arrow + 4), " ; ")) AddExpectation(c, item);
        cases.push_back(c);
    }
}

std::string Quote(const std::string &s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(std::FILE *f) {
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    return out;
}

// RTCALL_COMMAND, when set, runs another build of the tool (the Windows one under
// Wine) through the same cases.
std::string ProgramCommand() {
    const char *command = std::getenv("RTCALL_COMMAND");
    return command && *command ? std::string(command) : Quote(RTCALL_PATH);
}

} // namespace

std::vector<Case> ReadCases(const std::string &directory) {
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(directory))
        if (entry.path().extension() == ".cases") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Case> cases;
    for (const auto &f : files) ReadFile(f, cases);
    return cases;
}

Outcome RunRtcall(const std::vector<std::string> &arguments) {
    char errPath[] = "/tmp/rtcall_stderr_XXXXXX";
    int fd = mkstemp(errPath);
    close(fd);
    std::string command = ProgramCommand();
    for (const std::string &a : arguments) command += " " + Quote(a);
    command += " 2>" + Quote(errPath);
    Outcome outcome;
    std::FILE *pipe = popen(command.c_str(), "r");
    outcome.out = Slurp(pipe);
    int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::FILE *err = std::fopen(errPath, "rb")) {
        outcome.err = Slurp(err);
        std::fclose(err);
    }
    std::remove(errPath);
    return outcome;
}

bool LineMatches(const std::string &expected, const std::string &actual) {
    if (!expected.empty() && expected.back() == '*')
        return actual.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    return expected == actual;
}

} // namespace rtcalltest
