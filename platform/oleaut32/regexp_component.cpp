// "VBScript.RegExp": the regular-expression object with its match collection, match and
// sub-match objects, all described by type information.
#include <memory>

#include "automation_type.h"
#include "builtin_classes.h"
#include "regexp_engine.h"

namespace ole {

namespace {

const OLECHAR kSource[] = u"RegExp";
const SCODE kInvalidCall = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5);
const SCODE kSyntaxError = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5017);
const SCODE kEngineError = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5020);

HRESULT InvalidCall(MemberCall &call) {
    return RaiseException(call.error, kInvalidCall, kSource, u"Invalid procedure call or argument");
}

// ---- sub-matches of one match ----

class SubMatchesObject final : public AutomationObject {
public:
    SubMatchesObject(std::shared_ptr<const MatchSet> set, size_t index);
    const MatchRecord &record() const { return set_->matches[index_]; }
    const std::u16string &subject() const { return set_->subject; }

private:
    std::shared_ptr<const MatchSet> set_;
    size_t index_;
};

HRESULT SubMatchItem(AutomationObject &self, MemberCall &call) {
    auto &s = static_cast<SubMatchesObject &>(self);
    LONG i = call.args[0].lVal;
    if (i < 0 || size_t(i) >= s.record().groups.size()) return InvalidCall(call);
    const TextSpan &span = s.record().groups[size_t(i)];
    if (!span.matched) return S_OK; // a group that took no part gives an empty variant
    return ReturnText(call, s.subject().substr(size_t(span.start), size_t(span.length)));
}

HRESULT SubMatchCount(AutomationObject &self, MemberCall &call) {
    return ReturnLong(call, LONG(static_cast<SubMatchesObject &>(self).record().groups.size()));
}

ITypeInfo *SubMatchesType() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"ISubMatches",
        {0x3F4DACB3, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}},
        TKIND_DISPATCH,
        {PropertyGet(u"Item", DISPID_VALUE, Type(VT_VARIANT), SubMatchItem, {{u"index", Type(VT_I4)}}),
         PropertyGet(u"Count", 1, Type(VT_I4), SubMatchCount)}});
    return type;
}

SubMatchesObject::SubMatchesObject(std::shared_ptr<const MatchSet> set, size_t index)
    : AutomationObject(SubMatchesType()), set_(std::move(set)), index_(index) {}

// ---- one match ----

class MatchObject final : public AutomationObject {
public:
    MatchObject(std::shared_ptr<const MatchSet> set, size_t index);
    const MatchRecord &record() const { return set_->matches[index_]; }
    const std::u16string &subject() const { return set_->subject; }
    IDispatch *NewSubMatches() const { return new SubMatchesObject(set_, index_); }

private:
    std::shared_ptr<const MatchSet> set_;
    size_t index_;
};

HRESULT MatchValue(AutomationObject &self, MemberCall &call) {
    auto &m = static_cast<MatchObject &>(self);
    return ReturnText(call, m.subject().substr(size_t(m.record().whole.start), size_t(m.record().whole.length)));
}

HRESULT MatchFirstIndex(AutomationObject &self, MemberCall &call) {
    return ReturnLong(call, LONG(static_cast<MatchObject &>(self).record().whole.start));
}

HRESULT MatchLength(AutomationObject &self, MemberCall &call) {
    return ReturnLong(call, LONG(static_cast<MatchObject &>(self).record().whole.length));
}

HRESULT MatchSubMatches(AutomationObject &self, MemberCall &call) {
    return ReturnObject(call, static_cast<MatchObject &>(self).NewSubMatches());
}

ITypeInfo *MatchType() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"IMatch2",
        {0x3F4DACB2, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}},
        TKIND_DISPATCH,
        {PropertyGet(u"Value", DISPID_VALUE, Type(VT_BSTR), MatchValue),
         PropertyGet(u"FirstIndex", 10001, Type(VT_I4), MatchFirstIndex),
         PropertyGet(u"Length", 10002, Type(VT_I4), MatchLength),
         PropertyGet(u"SubMatches", 10003, Type(VT_DISPATCH), MatchSubMatches)}});
    return type;
}

MatchObject::MatchObject(std::shared_ptr<const MatchSet> set, size_t index)
    : AutomationObject(MatchType()), set_(std::move(set)), index_(index) {}

// ---- the match collection ----

class MatchCollectionObject final : public AutomationObject {
public:
    explicit MatchCollectionObject(std::shared_ptr<const MatchSet> set);
    size_t count() const { return set_->matches.size(); }
    IDispatch *NewMatch(size_t index) const { return new MatchObject(set_, index); }

private:
    std::shared_ptr<const MatchSet> set_;
};

HRESULT CollectionItem(AutomationObject &self, MemberCall &call) {
    auto &c = static_cast<MatchCollectionObject &>(self);
    LONG i = call.args[0].lVal;
    if (i < 0 || size_t(i) >= c.count()) return InvalidCall(call);
    return ReturnObject(call, c.NewMatch(size_t(i)));
}

HRESULT CollectionCount(AutomationObject &self, MemberCall &call) {
    return ReturnLong(call, LONG(static_cast<MatchCollectionObject &>(self).count()));
}

ITypeInfo *MatchCollectionType() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"IMatchCollection2",
        {0x3F4DACB1, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}},
        TKIND_DISPATCH,
        {PropertyGet(u"Item", DISPID_VALUE, Type(VT_DISPATCH), CollectionItem, {{u"index", Type(VT_I4)}}),
         PropertyGet(u"Count", 1, Type(VT_I4), CollectionCount)}});
    return type;
}

MatchCollectionObject::MatchCollectionObject(std::shared_ptr<const MatchSet> set)
    : AutomationObject(MatchCollectionType()), set_(std::move(set)) {}

// ---- the expression ----

class RegExpObject final : public AutomationObject {
public:
    RegExpObject();
    std::u16string pattern;
    RegexOptions options;

    // The compiled pattern for the current settings; recompiled only when they change.
    std::shared_ptr<CompiledPattern> Compiled() {
        bool same = compiled_ && compiledPattern_ == pattern && compiledOptions_.ignoreCase == options.ignoreCase &&
                    compiledOptions_.multiline == options.multiline;
        if (!same) {
            compiled_ = CompilePattern(pattern, options);
            compiledPattern_ = pattern;
            compiledOptions_ = options;
        }
        return compiled_;
    }

private:
    std::shared_ptr<CompiledPattern> compiled_;
    std::u16string compiledPattern_;
    RegexOptions compiledOptions_;
};

RegExpObject &Self(AutomationObject &self) { return static_cast<RegExpObject &>(self); }

HRESULT PatternProperty(AutomationObject &self, MemberCall &call) {
    if (IsPut(call)) return Self(self).pattern = TextOf(call.args[0]), S_OK;
    return ReturnText(call, Self(self).pattern);
}

HRESULT FlagProperty(MemberCall &call, bool &flag) {
    if (IsPut(call)) return flag = call.args[0].boolVal != VARIANT_FALSE, S_OK;
    return ReturnBool(call, flag);
}

HRESULT IgnoreCaseProperty(AutomationObject &self, MemberCall &call) { return FlagProperty(call, Self(self).options.ignoreCase); }
HRESULT GlobalProperty(AutomationObject &self, MemberCall &call) { return FlagProperty(call, Self(self).options.global); }
HRESULT MultilineProperty(AutomationObject &self, MemberCall &call) { return FlagProperty(call, Self(self).options.multiline); }

// Runs the expression over the call's first argument.
HRESULT Run(RegExpObject &re, MemberCall &call, bool global, std::shared_ptr<MatchSet> &set) {
    std::shared_ptr<CompiledPattern> compiled = re.Compiled();
    if (!compiled) return RaiseException(call.error, kSyntaxError, kSource, u"Syntax error in regular expression");
    set = std::make_shared<MatchSet>();
    set->subject = TextOf(call.args[0]);
    if (!FindMatches(*compiled, set->subject, global, set->matches))
        return RaiseException(call.error, kEngineError, kSource, u"The regular expression could not be matched");
    return S_OK;
}

HRESULT ExecuteMethod(AutomationObject &self, MemberCall &call) {
    std::shared_ptr<MatchSet> set;
    HRESULT hr = Run(Self(self), call, Self(self).options.global, set);
    if (FAILED(hr)) return hr;
    return ReturnObject(call, new MatchCollectionObject(std::move(set)));
}

HRESULT TestMethod(AutomationObject &self, MemberCall &call) {
    std::shared_ptr<MatchSet> set;
    HRESULT hr = Run(Self(self), call, false, set);
    if (FAILED(hr)) return hr;
    return ReturnBool(call, !set->matches.empty());
}

HRESULT ReplaceMethod(AutomationObject &self, MemberCall &call) {
    VARIANT replacement;
    VariantInit(&replacement);
    if (FAILED(VariantChangeType(&replacement, &call.args[1], 0, VT_BSTR))) return InvalidCall(call);
    std::u16string with = TextOf(replacement);
    VariantClear(&replacement);
    std::shared_ptr<MatchSet> set;
    HRESULT hr = Run(Self(self), call, Self(self).options.global, set);
    if (FAILED(hr)) return hr;
    return ReturnText(call, ReplaceMatches(set->subject, set->matches, with));
}

ITypeInfo *RegExpType() {
    static ITypeInfo *type = CreateTypeInfo(TypeTable{
        u"IRegExp2",
        {0x3F4DACB0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}},
        TKIND_DISPATCH,
        {PropertyGet(u"Pattern", 10001, Type(VT_BSTR), PatternProperty),
         PropertyPut(u"Pattern", 10001, Type(VT_BSTR), PatternProperty),
         PropertyGet(u"IgnoreCase", 10002, Type(VT_BOOL), IgnoreCaseProperty),
         PropertyPut(u"IgnoreCase", 10002, Type(VT_BOOL), IgnoreCaseProperty),
         PropertyGet(u"Global", 10003, Type(VT_BOOL), GlobalProperty),
         PropertyPut(u"Global", 10003, Type(VT_BOOL), GlobalProperty),
         PropertyGet(u"Multiline", 10004, Type(VT_BOOL), MultilineProperty),
         PropertyPut(u"Multiline", 10004, Type(VT_BOOL), MultilineProperty),
         Method(u"Execute", 10005, Type(VT_DISPATCH), {{u"sourceString", Type(VT_BSTR)}}, ExecuteMethod),
         Method(u"Test", 10006, Type(VT_BOOL), {{u"sourceString", Type(VT_BSTR)}}, TestMethod),
         Method(u"Replace", 10007, Type(VT_BSTR),
                {{u"sourceString", Type(VT_BSTR)}, {u"replaceVar", Type(VT_VARIANT)}}, ReplaceMethod)}});
    return type;
}

RegExpObject::RegExpObject() : AutomationObject(RegExpType()) {}

} // namespace

HRESULT CreateRegExpObject(REFIID riid, void **object) {
    RegExpObject *re = new RegExpObject();
    HRESULT hr = re->QueryInterface(riid, object);
    re->Release();
    return hr;
}

} // namespace ole
