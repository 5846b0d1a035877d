// Object and variant variables as the compiled application holds them, argument
// builders, and the command calls the tests make.
#pragma once

#include <ole2.h>

#include <string>

#include "com_blocks.h"
#include "gbk.h"
#include "memory.h"
#include "runtime_fixture.h"
#include "value.h"

namespace objtest {

// An object variable: it holds the pointer to its block.
struct ObjectVar {
    cmd::ObjectBlock *block = cmd::NewObjectBlock(nullptr);
    ObjectVar() = default;
    explicit ObjectVar(cmd::ObjectBlock *b) : block(b) {}
    ~ObjectVar() {
        cmd::EmptyObjectBlock(block);
        rt::FreeMemory(block);
    }
    ObjectVar(const ObjectVar &) = delete;
    ObjectVar &operator=(const ObjectVar &) = delete;
    rt::TypedValue Arg() const {
        rt::TypedValue v{0, 0, rt::kTypeComObject};
        v.SetPointer(block);
        return v;
    }
    // Passed by address (bit 29), as the compiled caller passes variables.
    rt::TypedValue Ref() {
        rt::TypedValue v{0, 0, uint32_t(rt::kTypeComObject) | rt::kIndirectFlag};
        v.SetPointer(&block);
        return v;
    }
    bool Empty() const { return !block || !block->object; }
};

// A variant variable: the pointer to its VARIANT block.
struct VariantVar {
    VARIANT *block = cmd::NewVariantBlock();
    VariantVar() = default;
    explicit VariantVar(VARIANT *b) : block(b) {}
    ~VariantVar() {
        cmd::EmptyVariant(block);
        rt::FreeMemory(block);
    }
    VariantVar(const VariantVar &) = delete;
    VariantVar &operator=(const VariantVar &) = delete;
    rt::TypedValue Arg() const {
        rt::TypedValue v{0, 0, rt::kTypeVariant};
        v.SetPointer(block);
        return v;
    }
    rt::TypedValue Ref() {
        rt::TypedValue v{0, 0, uint32_t(rt::kTypeVariant) | rt::kIndirectFlag};
        v.SetPointer(&block);
        return v;
    }
    VARIANT &operator*() { return *block; }
    VARIANT *operator->() { return block; }
};

inline rt::TypedValue Int(int32_t v) { return rt::MakeInteger(v); }
inline rt::TypedValue Dbl(double v) { return rt::MakeDouble(v); }
inline rt::TypedValue Bool(bool v) { return rt::MakeBoolean(v); }
inline rt::TypedValue Name(const char *ascii) { return testsupport::TextArg(ascii); }
inline rt::TypedValue U8(const char *utf8) { return testsupport::Utf8TextArg(utf8); }
inline rt::TypedValue Address(uint32_t type, void *variable) {
    rt::TypedValue v{0, 0, type | rt::kIndirectFlag};
    v.SetPointer(variable);
    return v;
}

// Takes an object result into a variable that owns it.
inline cmd::ObjectBlock *ObjectOf(const rt::TypedValue &result) { return result.Pointer<cmd::ObjectBlock>(); }
inline VARIANT *VariantOf(const rt::TypedValue &result) { return result.Pointer<VARIANT>(); }

// Starts the runtime (OLE on this thread included) once per process.
inline void Start() { testsupport::StartTestRuntime(); }

} // namespace objtest
