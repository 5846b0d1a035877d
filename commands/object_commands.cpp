#include "object_commands.h"

#include <windows.h>
#include <ole2.h>

#include <string>

#include "bstr_text.h"
#include "com_blocks.h"
#include "invoke_member.h"
#include "object_error.h"

namespace cmd {
namespace {

constexpr DWORD kAnyServer = 0x17;  // in-process server and handler, local and remote server
constexpr DWORD kNearServer = 0x07; // the same without remote server

const char *TextArgument(int32_t count, const rt::TypedValue *args, int32_t index) {
    if (index >= count) return nullptr;
    rt::TypedValue value = ValueBehind(args[index]);
    return value.type == rt::kTypeText ? value.Pointer<const char>() : nullptr;
}

// The one type of the library's given name, asked for IUnknown.
IUnknown *InstanceFromLibrary(ITypeLib *library, OleText &name, bool registerIt, OleText &path) {
    ITypeInfo *type = nullptr;
    MEMBERID member = 0;
    USHORT found = 1;
    ULONG hash = LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), name.c_str());
    IUnknown *object = nullptr;
    if (SUCCEEDED(library->FindName(name.data(), hash, &type, &member, &found)) && found == 1 && type) {
        if (FAILED(type->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void **>(&object)))) object = nullptr;
        if (object && registerIt) RegisterTypeLib(library, path.data(), nullptr);
    }
    if (type) type->Release();
    return object;
}

IUnknown *CreateFromTypeLibrary(const char *className, const char *file) {
    OleText path = WideOf(file);
    ITypeLib *library = nullptr;
    if (FAILED(LoadTypeLib(path.c_str(), &library)) || !library) return nullptr;
    OleText name = WideOf(className);
    bool hasBackslash = std::string(file).find('\\') != std::string::npos;
    IUnknown *object = InstanceFromLibrary(library, name, hasBackslash, path);
    library->Release();
    return object;
}

IUnknown *CreateFromClass(const char *className) {
    OleText text = WideOf(className);
    CLSID clsid;
    HRESULT hr = className[0] == '{' ? CLSIDFromString(text.c_str(), &clsid) : CLSIDFromProgID(text.c_str(), &clsid);
    if (FAILED(hr)) return nullptr;
    IUnknown *object = nullptr;
    hr = CoCreateInstance(clsid, nullptr, kAnyServer, IID_IUnknown, reinterpret_cast<void **>(&object));
    if (hr == E_INVALIDARG) hr = CoCreateInstance(clsid, nullptr, kNearServer, IID_IUnknown, reinterpret_cast<void **>(&object));
    return SUCCEEDED(hr) ? object : nullptr;
}

IUnknown *NewInstance(int32_t count, const rt::TypedValue *args) {
    const char *className = TextArgument(count, args, 1);
    if (!className || !*className) return nullptr;
    const char *file = TextArgument(count, args, 2);
    IUnknown *object = nullptr;
    if (className[0] != '{' && count > 2 && file && *file) object = CreateFromTypeLibrary(className, file);
    if (!object) object = CreateFromClass(className);
    if (object && FAILED(OleRun(object))) {
        object->Release();
        object = nullptr;
    }
    return object;
}

void Invoke(rt::TypedValue *result, int32_t count, rt::TypedValue *args, uint32_t type, CallKind kind) {
    *result = rt::TypedValue{0, 0, type};
    InvokeMember(result, count, args, kind);
}

} // namespace

void CreateObject(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    *result = rt::MakeBoolean(false);
    ObjectBlock *block = count > 0 ? ObjectBlockOf(args[0]) : nullptr;
    if (!block) return;
    IUnknown *object = NewInstance(count, args);
    if (!object) return;
    EmptyObjectBlock(block);
    block->object = object;
    *result = rt::MakeBoolean(true);
}

void ClearObject(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    if (count > 0) EmptyObjectBlock(ObjectBlockOf(args[0]));
}

void ObjectIsEmpty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    const ObjectBlock *block = count > 0 ? ObjectBlockOf(args[0]) : nullptr;
    *result = rt::MakeBoolean(!block || !block->object);
}

// The target is a fresh block: what it held before is not released.
void CopyObject(rt::TypedValue *, int32_t count, rt::TypedValue *args) {
    ObjectBlock *target = count > 0 ? ObjectBlockOf(args[0]) : nullptr;
    if (!target) return;
    const ObjectBlock *source = count > 1 ? ObjectBlockOf(args[1]) : nullptr;
    target->object = source ? source->object : nullptr;
    target->record = nullptr;
    if (target->object) target->object->AddRef();
}

void ReadTextProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeText, CallKind::kRead);
}
void ReadNumberProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeDouble, CallKind::kRead);
}
void ReadObjectProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeComObject, CallKind::kRead);
}
void ReadProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeVariant, CallKind::kRead);
}
void WriteProperty(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeNone, CallKind::kWrite);
    *result = rt::MakeBoolean(LastObjectError() == kObjectOk);
}
void CallMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeNone, CallKind::kMethod);
}
void CallVariantMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeVariant, CallKind::kMethod);
}
void CallTextMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeText, CallKind::kMethod);
}
void CallObjectMethod(rt::TypedValue *result, int32_t count, rt::TypedValue *args) {
    Invoke(result, count, args, rt::kTypeComObject, CallKind::kMethod);
}

const CommandEntry kObjectCommands[] = {
    {"CreateObject", CreateObject, 1},
    {"ClearObject", ClearObject, 1},
    {"ObjectIsEmpty", ObjectIsEmpty, 1},
    {"CopyObject", CopyObject, 1},
    {"ReadTextProperty", ReadTextProperty, 1},
    {"ReadNumberProperty", ReadNumberProperty, 1},
    {"ReadObjectProperty", ReadObjectProperty, 1},
    {"ReadProperty", ReadProperty, 1},
    {"WriteProperty", WriteProperty, 1},
    {"CallMethod", CallMethod, 1},
    {"CallVariantMethod", CallVariantMethod, 1},
    {"CallTextMethod", CallTextMethod, 1},
    {"CallObjectMethod", CallObjectMethod, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
