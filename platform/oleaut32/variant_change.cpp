// VariantChangeType: the OLE coercion rules between the automation types.
#include <oleauto.h>

#include <cfloat>
#include <cmath>
#include <cstring>

#include "variant_support.h"
#include "variant_text.h"

namespace ole {

namespace {

bool IsIntegerType(VARTYPE vt) {
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
    case VT_I8: case VT_UI8:
        return true;
    default:
        return false;
    }
}

bool IsNumericType(VARTYPE vt) {
    return IsIntegerType(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE || vt == VT_BOOL ||
           vt == VT_DECIMAL;
}

double DecimalToDouble(const DECIMAL &d) {
    double value = double(d.Hi32) * 18446744073709551616.0 + double(d.Lo64);
    value /= std::pow(10.0, d.scale);
    return d.sign & 0x80 ? -value : value;
}

// The value of a numeric, boolean, date or empty variant.
bool ReadNumber(const VARIANT &v, Number &n) {
    n = Number{};
    switch (v.vt) {
    case VT_EMPTY: n.i = 0; return true;
    case VT_I1: n.i = v.cVal; return true;
    case VT_UI1: n.i = v.bVal; return true;
    case VT_I2: n.i = v.iVal; return true;
    case VT_UI2: n.i = v.uiVal; return true;
    case VT_I4: n.i = v.lVal; return true;
    case VT_UI4: n.i = v.ulVal; return true;
    case VT_INT: n.i = v.intVal; return true;
    case VT_UINT: n.i = v.uintVal; return true;
    case VT_I8: n.i = v.llVal; return true;
    case VT_UI8: n.kind = Number::UInt, n.u = v.ullVal; return true;
    case VT_BOOL: n.i = v.boolVal ? -1 : 0; return true;
    case VT_R4: n.kind = Number::Real, n.d = v.fltVal; return true;
    case VT_R8: n.kind = Number::Real, n.d = v.dblVal; return true;
    case VT_DATE: n.kind = Number::Real, n.d = v.date; return true;
    case VT_CY: n.kind = Number::Currency, n.i = v.cyVal.int64; return true;
    case VT_DECIMAL: n.kind = Number::Real, n.d = DecimalToDouble(v.decVal); return true;
    default: return false;
    }
}

double AsDouble(const Number &n) {
    switch (n.kind) {
    case Number::Int: return double(n.i);
    case Number::UInt: return double(n.u);
    case Number::Currency: return double(n.i) / 10000.0;
    default: return n.d;
    }
}

// Rounds half to even, as OLE does when a fraction meets an integer type.
double BankersRound(double d) {
    double r = std::round(d);
    if (std::fabs(d - std::trunc(d)) == 0.5) r = 2.0 * std::round(d / 2.0);
    return r;
}

// The number as a 128-bit-safe pair: false on overflow of the wider integer range.
HRESULT ToInteger(const Number &n, bool &negative, uint64_t &magnitude) {
    switch (n.kind) {
    case Number::Int:
        negative = n.i < 0;
        magnitude = negative ? uint64_t(0) - uint64_t(n.i) : uint64_t(n.i);
        return S_OK;
    case Number::UInt:
        negative = false;
        magnitude = n.u;
        return S_OK;
    case Number::Currency: {
        int64_t whole = n.i / 10000, rest = n.i % 10000;
        if (rest > 5000 || (rest == 5000 && (whole & 1))) ++whole;
        if (rest < -5000 || (rest == -5000 && (whole & 1))) --whole;
        negative = whole < 0;
        magnitude = negative ? uint64_t(0) - uint64_t(whole) : uint64_t(whole);
        return S_OK;
    }
    default: {
        double r = BankersRound(n.d);
        if (!(r > -18446744073709551616.0 && r < 18446744073709551616.0)) return DISP_E_OVERFLOW;
        negative = r < 0;
        magnitude = uint64_t(std::fabs(r));
        return S_OK;
    }
    }
}

HRESULT StoreInteger(const Number &n, VARTYPE vt, VARIANT &out) {
    bool negative;
    uint64_t m;
    HRESULT hr = ToInteger(n, negative, m);
    if (FAILED(hr)) return hr;
    bool isSigned = vt == VT_I1 || vt == VT_I2 || vt == VT_I4 || vt == VT_INT || vt == VT_I8;
    int bits = vt == VT_I1 || vt == VT_UI1 ? 8 : vt == VT_I2 || vt == VT_UI2 ? 16 : vt == VT_I8 || vt == VT_UI8 ? 64 : 32;
    uint64_t maxPositive = isSigned ? (uint64_t(1) << (bits - 1)) - 1 : bits == 64 ? UINT64_MAX : (uint64_t(1) << bits) - 1;
    uint64_t maxNegative = isSigned ? uint64_t(1) << (bits - 1) : 0;
    if (m != 0 && (negative ? m > maxNegative : m > maxPositive)) return DISP_E_OVERFLOW;
    uint64_t bitsValue = negative ? uint64_t(0) - m : m;
    out.llVal = 0;
    std::memcpy(&out.llVal, &bitsValue, ValueSize(vt)); // little-endian: the low bytes
    out.vt = vt;
    return S_OK;
}

HRESULT StoreNumber(const Number &n, VARTYPE vt, VARIANT &out) {
    if (IsIntegerType(vt)) return StoreInteger(n, vt, out);
    double d = AsDouble(n);
    switch (vt) {
    case VT_R8:
        if (!std::isfinite(d)) return DISP_E_OVERFLOW;
        out.dblVal = d;
        break;
    case VT_R4:
        if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
        out.fltVal = float(d);
        break;
    case VT_DATE:
        if (!(d > kMinDate - 1 && d < kMaxDate)) return DISP_E_OVERFLOW;
        out.date = d;
        break;
    case VT_BOOL:
        out.boolVal = (n.kind == Number::Real ? d != 0 : (n.i != 0 || n.u != 0)) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_CY: {
        if (n.kind == Number::Currency) {
            out.cyVal.int64 = n.i;
            break;
        }
        double scaled = BankersRound(d * 10000.0);
        if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) return DISP_E_OVERFLOW;
        out.cyVal.int64 = n.kind == Number::Int && n.i > -922337203685477 && n.i < 922337203685477 ? n.i * 10000
                                                                                                   : int64_t(scaled);
        break;
    }
    case VT_DECIMAL: {
        bool negative;
        uint64_t m;
        Number whole = n;
        if (n.kind == Number::Real && d != std::trunc(d)) return DISP_E_TYPEMISMATCH;
        HRESULT hr = ToInteger(whole, negative, m);
        if (FAILED(hr)) return hr;
        std::memset(&out.decVal, 0, sizeof(DECIMAL));
        out.decVal.sign = negative ? 0x80 : 0;
        out.decVal.Lo64 = m;
        break;
    }
    default:
        return DISP_E_TYPEMISMATCH;
    }
    out.vt = vt;
    return S_OK;
}

HRESULT StoreText(const std::u16string &text, VARIANT &out) {
    out.bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    if (!out.bstrVal) return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    return S_OK;
}

HRESULT NumberToText(const VARIANT &v, USHORT flags, VARIANT &out) {
    switch (v.vt) {
    case VT_EMPTY: return StoreText(u"", out);
    case VT_BOOL:
        if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) return StoreText(v.boolVal ? u"True" : u"False", out);
        return StoreText(v.boolVal ? u"-1" : u"0", out);
    case VT_R4: return StoreText(FormatReal(v.fltVal, 7), out);
    case VT_R8: return StoreText(FormatReal(v.dblVal, 15), out);
    case VT_DECIMAL: return StoreText(FormatReal(DecimalToDouble(v.decVal), 15), out);
    case VT_DATE:
        if (!(v.date > kMinDate - 1 && v.date < kMaxDate)) return E_INVALIDARG; // no text for such a day
        return StoreText(FormatDate(v.date), out);
    case VT_CY: return StoreText(FormatCurrency(v.cyVal.int64), out);
    case VT_UI8: return StoreText(FormatUnsigned(v.ullVal), out);
    default: {
        Number n;
        if (!ReadNumber(v, n)) return DISP_E_TYPEMISMATCH;
        return StoreText(FormatInteger(n.i), out);
    }
    }
}

HRESULT TextToValue(const VARIANT &v, VARTYPE vt, VARIANT &out) {
    std::u16string_view text(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
    if (vt == VT_DATE) {
        double date;
        if (!ParseDateText(text, date)) return DISP_E_TYPEMISMATCH;
        out.date = date;
        out.vt = VT_DATE;
        return S_OK;
    }
    bool flag;
    if (vt == VT_BOOL && ParseBoolText(text, flag)) {
        out.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
        out.vt = VT_BOOL;
        return S_OK;
    }
    Number n;
    if (!ParseNumberText(text, n)) return DISP_E_TYPEMISMATCH;
    return StoreNumber(n, vt, out);
}

HRESULT TextToBytes(const VARIANT &v, VARIANT &out) {
    UINT bytes = SysStringByteLen(v.bstrVal);
    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, bytes);
    if (!array) return E_OUTOFMEMORY;
    if (bytes) std::memcpy(array->pvData, v.bstrVal, bytes);
    out.parray = array;
    out.vt = VT_ARRAY | VT_UI1;
    return S_OK;
}

HRESULT BytesToText(const VARIANT &v, VARIANT &out) {
    SAFEARRAY *array = v.parray;
    if (!array || array->cDims != 1) return DISP_E_TYPEMISMATCH;
    UINT bytes = array->rgsabound[0].cElements;
    out.bstrVal = SysAllocStringByteLen(static_cast<LPCSTR>(array->pvData), bytes);
    if (!out.bstrVal) return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    return S_OK;
}

HRESULT ToInterface(const VARIANT &v, VARTYPE vt, VARIANT &out) {
    out.punkVal = nullptr;
    out.vt = vt;
    if (v.vt == VT_EMPTY) return S_OK;
    if (v.vt != VT_UNKNOWN && v.vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    if (!v.punkVal) return S_OK;
    HRESULT hr = v.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, (void **)&out.punkVal);
    if (FAILED(hr)) {
        out.vt = VT_EMPTY;
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT Coerce(const VARIANT &in, USHORT flags, VARTYPE vt, VARIANT &out);

// An object meets a value type through its default (DISPID_VALUE) property.
HRESULT ObjectValue(const VARIANT &in, USHORT flags, VARTYPE vt, VARIANT &out) {
    if ((flags & VARIANT_NOVALUEPROP) || !in.punkVal) return DISP_E_TYPEMISMATCH;
    IDispatch *dispatch = nullptr;
    if (FAILED(in.punkVal->QueryInterface(IID_IDispatch, (void **)&dispatch))) return DISP_E_TYPEMISMATCH;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    dispatch->Release();
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    VARIANT plain;
    if (!DereferenceView(&value, &plain)) {
        VariantClear(&value);
        return DISP_E_TYPEMISMATCH;
    }
    hr = Coerce(plain, flags | VARIANT_NOVALUEPROP, vt, out);
    VariantClear(&value);
    return hr;
}

HRESULT Coerce(const VARIANT &in, USHORT flags, VARTYPE vt, VARIANT &out) {
    if (in.vt == vt) return VariantCopy(&out, &in);
    if (vt == VT_EMPTY) return S_OK;
    if (vt == VT_NULL) {
        if (in.vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    }
    if (vt == VT_VARIANT) return VariantCopy(&out, &in);
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) return ToInterface(in, vt, out);
    if (in.vt == VT_UNKNOWN || in.vt == VT_DISPATCH) return ObjectValue(in, flags, vt, out);
    if (vt == (VT_ARRAY | VT_UI1) && in.vt == VT_BSTR) return TextToBytes(in, out);
    if (vt == VT_BSTR && in.vt == (VT_ARRAY | VT_UI1)) return BytesToText(in, out);
    if ((vt & VT_ARRAY) || (in.vt & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
    if (vt == VT_ERROR) {
        if (in.vt != VT_I4 && in.vt != VT_UI4 && in.vt != VT_INT && in.vt != VT_UINT) return DISP_E_TYPEMISMATCH;
        out.scode = in.lVal;
        out.vt = VT_ERROR;
        return S_OK;
    }
    if (in.vt == VT_ERROR) {
        if (vt != VT_I4 && vt != VT_UI4) return DISP_E_TYPEMISMATCH;
        out.lVal = in.scode;
        out.vt = vt;
        return S_OK;
    }
    if (vt == VT_BSTR) return NumberToText(in, flags, out);
    if (in.vt == VT_BSTR) return TextToValue(in, vt, out);
    Number n;
    if (!IsNumericType(vt) || !ReadNumber(in, n)) return DISP_E_TYPEMISMATCH;
    return StoreNumber(n, vt, out);
}

bool IsValidTarget(VARTYPE vt) {
    if (vt & VT_BYREF) return false;
    if (vt == VT_EMPTY || vt == VT_NULL || vt == VT_VARIANT) return true;
    return IsValidVariantType(vt);
}

} // namespace

} // namespace ole

extern "C" {

HRESULT WINAPI VariantChangeTypeEx(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, LCID, USHORT wFlags,
                                   VARTYPE vt) {
    if (!pvargDest || !pvarSrc) return E_INVALIDARG;
    if (!ole::IsValidVariantType(pvarSrc->vt) || !ole::IsValidTarget(vt)) return DISP_E_BADVARTYPE;
    VARIANT view;
    if (!ole::DereferenceView(pvarSrc, &view)) return DISP_E_BADVARTYPE;
    if (view.vt == VT_RECORD && vt != VT_RECORD) return DISP_E_TYPEMISMATCH;
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = ole::Coerce(view, wFlags, vt, result);
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    // The result is complete before the destination (which may be the source) is cleared.
    hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    std::memcpy(pvargDest, &result, sizeof(VARIANT));
    return S_OK;
}

HRESULT WINAPI VariantChangeType(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, USHORT wFlags, VARTYPE vt) {
    return VariantChangeTypeEx(pvargDest, pvarSrc, 0, wFlags, vt);
}

} // extern "C"
