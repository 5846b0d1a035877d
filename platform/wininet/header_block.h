// Checking what a caller wants on the wire: host, verb, path and header lines.
// Nothing holding CR, LF or NUL reaches a request line or a header line.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace platform::wininet {

bool IsValidHostName(const char *host);
bool IsToken(const std::string &text);
// The request target as sent: empty becomes "/", a relative path gets its "/",
// spaces and control bytes are percent-encoded. False when it holds CR or LF.
bool RequestTargetFromPath(const char *path, std::string &target);
// Splits a caller's header block (length (DWORD)-1 = NUL-terminated) into "Name: value"
// lines, in order, skipping empty lines. Returns 0 or the error for a malformed block.
DWORD ParseHeaderBlock(const char *text, DWORD length, std::vector<std::string> &lines);
bool HasHeader(const std::vector<std::string> &lines, const char *name);
// The value of the first line with that name (case ignored), trimmed; false when absent.
bool HeaderValue(const std::vector<std::string> &lines, const char *name, std::string &value);

}  // namespace platform::wininet
