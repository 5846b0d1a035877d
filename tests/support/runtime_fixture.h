// Starts the runtime in a test process the way the program does (handler 6), with a
// small test image whose library 1 is the core library, so commands reach the runtime
// through their real service entry.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime_interface.h"
#include "value.h"

namespace testsupport {

// Idempotent; call at the start of every test that calls commands.
void StartTestRuntime();

// Calls a command through helper slot 3 with the given arguments.
rt::TypedValue CallCommand(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args);

// The test image's shared empty text and empty byte set: image-owned, never freed.
const char *EmptyText();
const void *EmptyByteSet();

// Argument builders (test_arguments.cpp): texts and byte sets are never null as
// arguments. Their blocks live until the end of the test that built them.
rt::TypedValue TextArg(std::string_view bytes);     // bytes as they are (GBK)
rt::TypedValue Utf8TextArg(std::string_view utf8);  // converted to GBK
rt::TypedValue ByteSetArg(std::string_view bytes);
rt::TypedValue Omitted();

// Reads a text or byte-set result (null reads as empty) and frees it.
std::string TakeText(rt::TypedValue &result);
std::string TakeByteSet(rt::TypedValue &result);

} // namespace testsupport
