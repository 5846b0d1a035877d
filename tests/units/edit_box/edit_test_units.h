// A runtime with the real edit box and common dialog units in a small window set
// (edit_windows.txt), a plain stand-in for the window unit, and handlers that note
// the events they receive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window_object.h"

namespace edittest {

enum : uint32_t {
    kMain = 0x52000001,
    kResultBox = 0x16000002, // multi-line, the 82-byte example
    kLineBox = 0x16000003,   // single-line, "abc"
    kAutoBox = 0x16000004,   // automatic adjuster 0 … 100, "100"
    kManualBox = 0x16000005, // manual adjuster -5 … 5, version 0 data
    kPlainDialog = 0x16000006,
    kSaveDialog = 0x16000007,
    kNoDataBox = 0x16000008,
    kBadWindow = 0x52000010,
};

// "changed UNIT", "adjuster UNIT ARG", "focus UNIT", "lost UNIT".
std::vector<std::string> &Events();
int CountEvents(const std::string &line);
std::string Hex(uint32_t v);

void StartRuntime();
bool Load(uint32_t window);
void Close(uint32_t window);
void Pump();

fw::WindowObject *Object(uint32_t window, uint32_t unit);
HWND Handle(uint32_t unit);
// The EDIT control inside an edit box unit's window.
HWND EditOf(uint32_t unit);

uint64_t Read(uint32_t unit, int32_t property);
void Write(uint32_t unit, int32_t property, uint64_t value);
std::string ReadText(uint32_t unit, int32_t property);
void WriteText(uint32_t unit, int32_t property, const std::string &text);
// The unit's current property data (request 5).
std::string Serialized(uint32_t unit);

} // namespace edittest
