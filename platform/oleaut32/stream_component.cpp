// "Adodb.Stream": a byte stream in memory with text access through named charsets.
#include <cstring>

#include "automation_type.h"
#include "builtin_classes.h"
#include "charset_codec.h"

namespace ole {

namespace {

enum StreamType : LONG { kBinary = 1, kText = 2 };
const LONG kReadAll = -1, kReadLine = -2, kWriteLine = 1;

const OLECHAR kSource[] = u"Stream";
const SCODE kInvalidArgument = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3001);
const SCODE kIllegalOperation = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3219);
const SCODE kObjectClosed = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3704);
const SCODE kObjectOpen = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 3705);

HRESULT Fail(MemberCall &call, SCODE code) {
    const OLECHAR *text = code == kInvalidArgument ? u"Arguments are of the wrong type, out of range or in conflict"
                          : code == kIllegalOperation ? u"Operation is not allowed in this context"
                          : code == kObjectClosed    ? u"Operation is not allowed when the object is closed"
                                                     : u"Operation is not allowed when the object is open";
    return RaiseException(call.error, code, kSource, text);
}

class StreamObject final : public AutomationObject {
public:
    StreamObject();
    bool open = false;
    LONG type = kText;
    LONG mode = 0;
    LONG lineSeparator = -1;
    std::u16string charsetName = u"Unicode";
    Charset charset;
    std::string data;
    size_t position = 0;

    void WriteBytes(const std::string &bytes) {
        if (position + bytes.size() > data.size()) data.resize(position + bytes.size());
        data.replace(position, bytes.size(), bytes);
        position += bytes.size();
    }
    std::u16string LineBreak() const { return lineSeparator == 13 ? u"\r" : lineSeparator == 10 ? u"\n" : u"\r\n"; }
};

StreamObject &Self(AutomationObject &self) { return static_cast<StreamObject &>(self); }

// Data members need an open stream; text and byte members need the matching type.
HRESULT Require(StreamObject &s, MemberCall &call, LONG type = 0) {
    if (!s.open) return Fail(call, kObjectClosed);
    if (type && s.type != type) return Fail(call, kIllegalOperation);
    return S_OK;
}

HRESULT SizeProperty(AutomationObject &self, MemberCall &call) {
    HRESULT hr = Require(Self(self), call);
    return FAILED(hr) ? hr : ReturnLong(call, LONG(Self(self).data.size()));
}

HRESULT EosProperty(AutomationObject &self, MemberCall &call) {
    HRESULT hr = Require(Self(self), call);
    return FAILED(hr) ? hr : ReturnBool(call, Self(self).position >= Self(self).data.size());
}

HRESULT PositionProperty(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call);
    if (FAILED(hr)) return hr;
    if (!IsPut(call)) return ReturnLong(call, LONG(s.position));
    LONG to = call.args[0].lVal;
    if (to < 0 || size_t(to) > s.data.size()) return Fail(call, kInvalidArgument);
    s.position = size_t(to);
    return S_OK;
}

HRESULT TypeProperty(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    if (!IsPut(call)) return ReturnLong(call, s.type);
    LONG to = call.args[0].lVal;
    if (to != kBinary && to != kText) return Fail(call, kInvalidArgument);
    if (s.open && s.position != 0) return Fail(call, kIllegalOperation);
    s.type = to;
    return S_OK;
}

HRESULT CharsetProperty(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    if (!IsPut(call)) return ReturnText(call, s.charsetName);
    std::u16string name = TextOf(call.args[0]);
    Charset found;
    if (!FindCharset(name, found)) return Fail(call, kInvalidArgument);
    if (s.open && s.position != 0) return Fail(call, kIllegalOperation);
    s.charsetName = name;
    s.charset = found;
    return S_OK;
}

HRESULT LineSeparatorProperty(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    if (!IsPut(call)) return ReturnLong(call, s.lineSeparator);
    LONG to = call.args[0].lVal;
    if (to != -1 && to != 10 && to != 13) return Fail(call, kInvalidArgument);
    s.lineSeparator = to;
    return S_OK;
}

HRESULT StateProperty(AutomationObject &self, MemberCall &call) { return ReturnLong(call, Self(self).open ? 1 : 0); }

HRESULT ModeProperty(AutomationObject &self, MemberCall &call) {
    if (IsPut(call)) return Self(self).mode = call.args[0].lVal, S_OK;
    return ReturnLong(call, Self(self).mode);
}

bool GivesSource(const VARIANT &source) {
    if (IsMissing(source) || source.vt == VT_EMPTY || source.vt == VT_NULL) return false;
    return !(source.vt == VT_BSTR && SysStringLen(source.bstrVal) == 0);
}

HRESULT OpenMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    if (s.open) return Fail(call, kObjectOpen);
    // Only the in-memory stream is offered: opening a URL or record source is not.
    if (GivesSource(call.args[0])) return Fail(call, kInvalidArgument);
    s.open = true;
    s.data.clear();
    s.position = 0;
    return S_OK;
}

HRESULT CloseMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call);
    if (FAILED(hr)) return hr;
    s.open = false;
    s.data.clear();
    s.position = 0;
    return S_OK;
}

HRESULT WriteMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call, kBinary);
    if (FAILED(hr)) return hr;
    const VARIANT &buffer = call.args[0];
    if ((buffer.vt != (VT_ARRAY | VT_UI1) && buffer.vt != (VT_ARRAY | VT_I1)) || !buffer.parray ||
        buffer.parray->cDims != 1)
        return Fail(call, kInvalidArgument);
    const SAFEARRAY *array = buffer.parray;
    s.WriteBytes(std::string(static_cast<const char *>(array->pvData), array->rgsabound[0].cElements));
    return S_OK;
}

HRESULT ReadMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call, kBinary);
    if (FAILED(hr)) return hr;
    LONG wanted = call.args[0].lVal;
    if (wanted < kReadAll) return Fail(call, kInvalidArgument);
    size_t left = s.data.size() - s.position;
    size_t count = wanted == kReadAll || size_t(wanted) > left ? left : size_t(wanted);
    if (count == 0) {
        call.result->vt = VT_NULL; // reading at the end gives Null
        return S_OK;
    }
    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, ULONG(count));
    if (!array) return E_OUTOFMEMORY;
    std::memcpy(array->pvData, s.data.data() + s.position, count);
    s.position += count;
    call.result->vt = VT_ARRAY | VT_UI1;
    call.result->parray = array;
    return S_OK;
}

HRESULT WriteTextMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call, kText);
    if (FAILED(hr)) return hr;
    std::u16string text = TextOf(call.args[0]);
    if (call.args[1].lVal == kWriteLine) text += s.LineBreak();
    // Text written at the start of the stream is preceded by the charset's byte-order mark.
    std::string bytes = s.position == 0 ? s.charset.byteOrderMark : std::string();
    s.WriteBytes(bytes + EncodeText(s.charset, text));
    return S_OK;
}

HRESULT ReadTextMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call, kText);
    if (FAILED(hr)) return hr;
    LONG wanted = call.args[0].lVal;
    if (wanted < kReadLine) return Fail(call, kInvalidArgument);
    size_t from = s.position;
    const std::string &bom = s.charset.byteOrderMark;
    if (from == 0 && !bom.empty() && s.data.compare(0, bom.size(), bom) == 0) from = bom.size();
    std::u16string text = DecodeText(s.charset, s.data.substr(from));
    if (wanted == kReadAll) {
        s.position = s.data.size();
        return ReturnText(call, text);
    }
    size_t take = size_t(wanted), skip = 0;
    if (wanted == kReadLine) {
        std::u16string lineBreak = s.LineBreak();
        take = text.find(lineBreak);
        skip = take == std::u16string::npos ? 0 : lineBreak.size();
    }
    if (take > text.size()) take = text.size();
    s.position = from + EncodeText(s.charset, text.substr(0, take + skip)).size();
    if (s.position > s.data.size()) s.position = s.data.size();
    return ReturnText(call, text.substr(0, take));
}

HRESULT SetEosMethod(AutomationObject &self, MemberCall &call) {
    StreamObject &s = Self(self);
    HRESULT hr = Require(s, call);
    if (FAILED(hr)) return hr;
    s.data.resize(s.position);
    return S_OK;
}

HRESULT FlushMethod(AutomationObject &self, MemberCall &call) { return Require(Self(self), call); }

VARIANT LongValue(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

ITypeInfo *StreamTypeEnum() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"StreamTypeEnum",
        {0x0000057A, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}},
        TKIND_ENUM,
        {MemberEntry{u"adTypeBinary", 1, MemberKind::Constant, INVOKE_FUNC, Type(VT_I4), {}, 0, nullptr, 0, kBinary},
         MemberEntry{u"adTypeText", 2, MemberKind::Constant, INVOKE_FUNC, Type(VT_I4), {}, 0, nullptr, 0, kText}}});
    return type;
}

ITypeInfo *StreamType() {
    static const VARIANT readAll = LongValue(kReadAll);
    static const VARIANT zero = LongValue(0);
    static const VARIANT emptyText = [] {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = nullptr;
        return v;
    }();
    const USHORT optional = PARAMFLAG_FIN | PARAMFLAG_FOPT;
    const USHORT defaulted = PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
    const TYPEDESC streamType = UserDefined(0);
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"_Stream",
        {0x00000565, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}},
        TKIND_DISPATCH,
        {PropertyGet(u"Size", 1, Type(VT_I4), SizeProperty),
         PropertyGet(u"EOS", 2, Type(VT_BOOL), EosProperty),
         PropertyGet(u"Position", 3, Type(VT_I4), PositionProperty),
         PropertyPut(u"Position", 3, Type(VT_I4), PositionProperty),
         PropertyGet(u"Type", 4, streamType, TypeProperty),
         PropertyPut(u"Type", 4, streamType, TypeProperty),
         PropertyGet(u"LineSeparator", 5, Type(VT_I4), LineSeparatorProperty),
         PropertyPut(u"LineSeparator", 5, Type(VT_I4), LineSeparatorProperty),
         PropertyGet(u"State", 6, Type(VT_I4), StateProperty),
         PropertyGet(u"Mode", 7, Type(VT_I4), ModeProperty),
         PropertyPut(u"Mode", 7, Type(VT_I4), ModeProperty),
         PropertyGet(u"Charset", 8, Type(VT_BSTR), CharsetProperty),
         PropertyPut(u"Charset", 8, Type(VT_BSTR), CharsetProperty),
         Method(u"Read", 9, Type(VT_VARIANT), {{u"NumBytes", Type(VT_I4), defaulted, &readAll}}, ReadMethod, 1),
         Method(u"Open", 10, Type(VT_VOID),
                {{u"Source", Type(VT_VARIANT), optional},
                 {u"Mode", Type(VT_I4), defaulted, &zero},
                 {u"Options", Type(VT_I4), defaulted, &readAll},
                 {u"UserName", Type(VT_BSTR), defaulted, &emptyText},
                 {u"Password", Type(VT_BSTR), defaulted, &emptyText}},
                OpenMethod, 5),
         Method(u"Close", 11, Type(VT_VOID), {}, CloseMethod),
         Method(u"Write", 13, Type(VT_VOID), {{u"Buffer", Type(VT_VARIANT)}}, WriteMethod),
         Method(u"SetEOS", 14, Type(VT_VOID), {}, SetEosMethod),
         Method(u"Flush", 16, Type(VT_VOID), {}, FlushMethod),
         Method(u"ReadText", 19, Type(VT_BSTR), {{u"NumChars", Type(VT_I4), defaulted, &readAll}}, ReadTextMethod, 1),
         Method(u"WriteText", 20, Type(VT_VOID),
                {{u"Data", Type(VT_BSTR)}, {u"Options", Type(VT_I4), defaulted, &zero}}, WriteTextMethod, 1)},
        {StreamTypeEnum()}});
    return type;
}

StreamObject::StreamObject() : AutomationObject(StreamType()) { FindCharset(charsetName, charset); }

} // namespace

HRESULT CreateStreamObject(REFIID riid, void **object) {
    StreamObject *stream = new StreamObject();
    HRESULT hr = stream->QueryInterface(riid, object);
    stream->Release();
    return hr;
}

} // namespace ole
