// Calling the text commands from tests: every text result that reads as empty must
// be the null pointer, and every array element likewise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory.h"
#include "runtime_fixture.h"
#include "text_commands.h"
#include "value.h"

namespace texttest {

using testsupport::ByteSetArg;
using testsupport::Omitted;
using testsupport::TextArg;
using testsupport::Utf8TextArg;
using rt::MakeBoolean;
using rt::MakeInteger;

class TextCommands : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartTestRuntime(); }
};

inline std::string CallText(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = testsupport::CallCommand(command, args);
    EXPECT_EQ(r.type, rt::kTypeText);
    const char *text = r.Pointer<const char>();
    EXPECT_TRUE(text == nullptr || *text != '\0') << "empty text result must be null";
    return testsupport::TakeText(r);
}

inline std::string CallByteSet(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = testsupport::CallCommand(command, args);
    EXPECT_EQ(r.type, rt::kTypeByteSet);
    const uint8_t *block = r.Pointer<const uint8_t>();
    EXPECT_TRUE(block == nullptr || rt::ByteSetSize(block) != 0) << "empty byte set result must be null";
    return testsupport::TakeByteSet(r);
}

inline int32_t CallInteger(rt::CommandRoutine command, std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = testsupport::CallCommand(command, args);
    EXPECT_EQ(r.type, rt::kTypeInteger);
    return r.AsInteger();
}

inline std::vector<std::string> CallSplit(std::initializer_list<rt::TypedValue> args) {
    rt::TypedValue r = testsupport::CallCommand(cmd::SplitText, args);
    EXPECT_EQ(r.type, cmd::kTypeTextArray);
    void *array = r.Pointer<void>();
    EXPECT_NE(array, nullptr);
    std::vector<std::string> parts;
    rt::ArrayElements e = rt::ArrayElementsOf(array);
    for (uint32_t i = 0; i < e.count; ++i) {
        auto *text = static_cast<const char *>(rt::PointerElement(e.first, i));
        EXPECT_TRUE(text == nullptr || *text != '\0') << "empty element must be null";
        parts.push_back(text ? text : "");
    }
    rt::FreeArray(rt::kTypeText, array);
    return parts;
}

} // namespace texttest
