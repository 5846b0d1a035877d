// VARIANT coercion: a VARIANT of any plain type with arbitrary contents changed into
// every type the commands ask for, and into every runtime value type.
#include <oleauto.h>

#include <cstring>

#include "fuzz_input.h"
#include "runtime_fixture.h"
#include "variant_conversion.h"

namespace {

const VARTYPE kSourceTypes[] = {VT_EMPTY, VT_NULL, VT_I2,  VT_I4,  VT_R4,  VT_R8,  VT_CY,  VT_DATE,
                                VT_BSTR,  VT_ERROR, VT_BOOL, VT_DECIMAL, VT_I1, VT_UI1, VT_UI2, VT_UI4,
                                VT_I8,    VT_UI8,  VT_INT, VT_UINT};
// What the variant commands, member arguments and value conversion change into.
const VARTYPE kTargetTypes[] = {VT_I4,  VT_BSTR, VT_BOOL, VT_DATE, VT_ERROR, VT_I2, VT_UI1, VT_R4,
                                VT_R8,  VT_CY,   VT_I8,   VT_UI4,  VT_DECIMAL, VT_VARIANT, VT_EMPTY, VT_NULL,
                                VT_ARRAY | VT_I4, VT_ARRAY | VT_BSTR, VT_ARRAY | VT_VARIANT};
const uint32_t kValueTypes[] = {rt::kTypeByte,   rt::kTypeShortInteger, rt::kTypeInteger, rt::kTypeLongInteger,
                                rt::kTypeFloat,  rt::kTypeDouble,       rt::kTypeBoolean, rt::kTypeDateTime,
                                rt::kTypeText,   rt::kTypeByteSet};

VARIANT SourceFrom(fuzz::FuzzReader &in) {
    VARIANT v;
    VariantInit(&v);
    VARTYPE vt = kSourceTypes[in.Byte() % (sizeof kSourceTypes / sizeof kSourceTypes[0])];
    if (vt == VT_BSTR) {
        std::string bytes = in.Rest();
        v.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(bytes.data()), UINT(bytes.size() / 2));
    } else if (vt == VT_DECIMAL) {
        std::string bytes = in.Rest();
        std::memcpy(&v, bytes.data(), std::min(bytes.size(), sizeof v));
    } else {
        std::string bytes = in.Rest();
        std::memcpy(&v.llVal, bytes.data(), std::min(bytes.size(), sizeof v.llVal));
    }
    v.vt = vt;
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    testsupport::StartTestRuntime();
    fuzz::FuzzReader in(data, size);
    VARIANT source = SourceFrom(in);
    for (VARTYPE target : kTargetTypes) {
        VARIANT out;
        VariantInit(&out);
        VariantChangeType(&out, &source, 0, target);
        VariantClear(&out);
    }
    for (uint32_t type : kValueTypes) {
        rt::TypedValue value{};
        if (cmd::VariantToValue(source, type, value)) rt::FreeValue(value);
    }
    VariantClear(&source);
    return 0;
}
