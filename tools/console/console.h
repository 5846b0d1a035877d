// What differs between a shell on Linux and a console on Windows, for programs run
// from a shell or a test: rtcall and the Windows test programs.
#pragma once

#include <string>
#include <vector>

namespace console {

// The command line's arguments (after the program name) in UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char **argv);

// A shell program: a runtime error report or any message box goes to stderr as
// "caption: text" and takes its default button, instead of waiting for a person; output
// lines end in a bare line feed.
void SetUpConsole();

} // namespace console
