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
    case VT_BOOL: n.i = v.boolVal; return true;
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

// How a conversion reads and writes text.
struct Conversion {
    USHORT flags;
    LCID lcid;
};

HRESULT BoolToText(VARIANT_BOOL value, const Conversion &c, VARIANT &out) {
    if (!(c.flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))) return StoreText(FormatInteger(value), out);
    const TextLocale &words = c.flags & VARIANT_LOCALBOOL ? LocaleOf(c.lcid) : EnglishLocale();
    return StoreText(value == VARIANT_FALSE ? words.falseText : words.trueText, out);
}

HRESULT NumberToText(const VARIANT &v, const Conversion &c, VARIANT &out) {
    switch (v.vt) {
    case VT_EMPTY: return StoreText(u"", out);
    case VT_BOOL: return BoolToText(v.boolVal, c, out);
    case VT_R4: return StoreText(FormatReal(v.fltVal, 7), out);
    case VT_R8: return StoreText(FormatReal(v.dblVal, 15), out);
    case VT_DECIMAL: return StoreText(FormatReal(DecimalToDouble(v.decVal), 15), out);
    case VT_DATE:
        if (!(v.date > kMinDate - 1 && v.date < kMaxDate)) return E_INVALIDARG; // no text for such a day
        return StoreText(FormatDate(v.date, LocaleOf(c.lcid)), out);
    case VT_CY: return StoreText(FormatCurrency(v.cyVal.int64), out);
    case VT_UI8: return StoreText(FormatUnsigned(v.ullVal), out);
    default: {
        Number n;
        if (!ReadNumber(v, n)) return DISP_E_TYPEMISMATCH;
        return StoreText(FormatInteger(n.i), out);
    }
    }
}

HRESULT TextToValue(const VARIANT &v, const Conversion &c, VARTYPE vt, VARIANT &out) {
    std::u16string_view text(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
    const TextLocale &locale = LocaleOf(c.lcid);
    if (vt == VT_DATE) {
        double date;
        if (!ParseDateText(text, locale, date)) return DISP_E_TYPEMISMATCH;
        out.date = date;
        out.vt = VT_DATE;
        return S_OK;
    }
    bool flag;
    if (vt == VT_BOOL && ParseBoolText(text, c.flags & VARIANT_LOCALBOOL ? locale : EnglishLocale(), flag)) {
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

// Between the two interface types; an empty source is a mismatch, as in Win32.
HRESULT ToInterface(const VARIANT &v, VARTYPE vt, VARIANT &out) {
    if (v.vt != VT_UNKNOWN && v.vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    out.punkVal = nullptr;
    out.vt = vt;
    if (!v.punkVal) return S_OK;
    HRESULT hr = v.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, (void **)&out.punkVal);
    if (FAILED(hr)) {
        out.vt = VT_EMPTY;
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

HRESULT Coerce(const VARIANT &in, const Conversion &c, VARTYPE vt, VARIANT &out);

// A dispatch object meets a value type through its default (DISPID_VALUE) property.
HRESULT ObjectValue(const VARIANT &in, const Conversion &c, VARTYPE vt, VARIANT &out) {
    if (!in.pdispVal) return DISP_E_TYPEMISMATCH;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    HRESULT hr =
        in.pdispVal->Invoke(DISPID_VALUE, IID_NULL, c.lcid, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    VARIANT plain;
    if (!DereferenceView(&value, &plain)) {
        VariantClear(&value);
        return DISP_E_TYPEMISMATCH;
    }
    // The value's own value property is not fetched again.
    hr = Coerce(plain, Conversion{USHORT(c.flags | VARIANT_NOVALUEPROP), c.lcid}, vt, out);
    VariantClear(&value);
    return hr;
}

// VT_INT and VT_UINT convert as VT_I4 and VT_UI4.
VARTYPE Canonical(VARTYPE vt) { return vt == VT_INT ? VARTYPE(VT_I4) : vt == VT_UINT ? VARTYPE(VT_UI4) : vt; }

bool IsSigned(VARTYPE vt) { return vt == VT_I1 || vt == VT_I2 || vt == VT_I4 || vt == VT_INT || vt == VT_I8; }

// Between a signed and an unsigned integer of one width the bits are kept as they are,
// and so is a Boolean's 16-bit value, cut or sign-extended to the integer's width.
bool KeepsBits(VARTYPE from, VARTYPE vt) {
    if (!IsIntegerType(vt)) return false;
    if (from == VT_BOOL) return true;
    return IsIntegerType(from) && ValueSize(from) == ValueSize(vt) && IsSigned(from) != IsSigned(vt);
}

HRESULT CopyBits(const VARIANT &in, VARTYPE vt, VARIANT &out) {
    int64_t value = in.vt == VT_BOOL ? int64_t(in.boolVal) : in.llVal;
    out.llVal = 0;
    std::memcpy(&out.llVal, &value, ValueSize(vt)); // little-endian: the low bytes
    out.vt = vt;
    return S_OK;
}

// To VT_EMPTY or VT_NULL: any simple type, but never an error, and never NULL to EMPTY.
HRESULT ToNothing(VARTYPE from, VARTYPE vt, VARIANT &out) {
    bool simple = from <= VT_UINT && from != 15 && from != VT_ERROR;
    if (!simple || (from == VT_NULL && vt == VT_EMPTY)) return DISP_E_TYPEMISMATCH;
    out.vt = vt;
    return S_OK;
}

// Types that take part in value conversions (numbers, dates, Booleans, text).
bool IsValueType(VARTYPE vt) { return vt == VT_EMPTY || vt == VT_BSTR || IsNumericType(vt); }

HRESULT ToValue(const VARIANT &in, const Conversion &c, VARTYPE vt, VARIANT &out) {
    if (!IsValueType(vt) || !IsValueType(in.vt)) return DISP_E_TYPEMISMATCH;
    if (vt == VT_BSTR) return NumberToText(in, c, out);
    if (in.vt == VT_BSTR) return TextToValue(in, c, vt, out);
    if (KeepsBits(in.vt, vt)) return CopyBits(in, vt, out);
    if (in.vt == VT_BOOL && vt == VT_DECIMAL) return StoreNumber(Number{Number::Int, in.boolVal ? 1 : 0}, vt, out);
    Number n;
    if (!ReadNumber(in, n)) return DISP_E_TYPEMISMATCH;
    return StoreNumber(n, vt, out);
}

// Arrays convert only to their own type, and between text and bytes.
HRESULT CoerceArray(const VARIANT &in, VARTYPE vt, VARIANT &out) {
    if (vt == (VT_ARRAY | VT_UI1) && in.vt == VT_BSTR) return TextToBytes(in, out);
    if (vt == VT_BSTR && in.vt == (VT_ARRAY | VT_UI1)) return BytesToText(in, out);
    if (in.vt == vt) return VariantCopy(&out, &in);
    return DISP_E_TYPEMISMATCH;
}

HRESULT Coerce(const VARIANT &in, const Conversion &c, VARTYPE vt, VARIANT &out) {
    if ((in.vt & VT_ARRAY) || (vt & VT_ARRAY)) return CoerceArray(in, vt, out);
    if (Canonical(in.vt) == Canonical(vt)) {
        HRESULT hr = VariantCopy(&out, &in);
        if (SUCCEEDED(hr)) out.vt = vt;
        return hr;
    }
    if ((c.flags & VARIANT_NOVALUEPROP) && in.vt == VT_DISPATCH && vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
    if (vt == VT_EMPTY || vt == VT_NULL) return ToNothing(in.vt, vt, out);
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) return ToInterface(in, vt, out);
    if (in.vt == VT_DISPATCH) return ObjectValue(in, c, vt, out);
    return ToValue(in, c, vt, out);
}

// VT_VARIANT passes as a target and then matches nothing; so does a by-reference type.
bool IsValidTarget(VARTYPE vt) {
    if (vt == VT_EMPTY || vt == VT_NULL || vt == VT_VARIANT) return true;
    return IsValidVariantType(vt);
}

} // namespace

} // namespace ole

namespace {
const LCID kUserDefaultLocale = 0x0400; // LOCALE_USER_DEFAULT
}

extern "C" {

HRESULT WINAPI VariantChangeTypeEx(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, LCID lcid, USHORT wFlags,
                                   VARTYPE vt) {
    if (!pvargDest || !pvarSrc) return E_INVALIDARG;
    if (!ole::IsValidVariantType(pvarSrc->vt) || !ole::IsValidTarget(vt)) return DISP_E_BADVARTYPE;
    if ((pvarSrc->vt & VT_BYREF) && !pvarSrc->byref) return DISP_E_TYPEMISMATCH;
    if (vt & VT_BYREF) return DISP_E_TYPEMISMATCH; // a value cannot become a reference
    VARIANT view;
    if (!ole::DereferenceView(pvarSrc, &view)) return DISP_E_BADVARTYPE;
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = ole::Coerce(view, ole::Conversion{wFlags, lcid}, vt, result);
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
    return VariantChangeTypeEx(pvargDest, pvarSrc, kUserDefaultLocale, wFlags, vt);
}

} // extern "C"
